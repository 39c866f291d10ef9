// The Jet-to-SQLite statement translator on arbitrary text (and on its own
// output): it must end, never crash, and leave plain statements unchanged.

#include "platform/jetsql.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const supplink::JetTranslation once = supplink::translateJetStatement(sql);
    supplink::translateJetStatement(once.sql);
    // A statement without any of the Jet forms passes unchanged.
    static const QString quiet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789 ,=()'");
    bool plain = true;
    for (QChar c : sql)
        plain = plain && quiet.contains(c);
    if (plain && !sql.contains(QLatin1String("top"), Qt::CaseInsensitive) &&
        !sql.contains(QLatin1String("true"), Qt::CaseInsensitive) &&
        !sql.contains(QLatin1String("false"), Qt::CaseInsensitive) &&
        !sql.contains(QLatin1String("delete"), Qt::CaseInsensitive) &&
        !sql.contains(QLatin1String("in"), Qt::CaseInsensitive) && once.sql != sql)
        __builtin_trap();
    return 0;
}
