// Splits any text as one CSV line, with quoting on and off, and checks what the
// fields must satisfy.
#include "start/csvsplit.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace supplink;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses UTF-8 or raw UTF-16 code units for the rest.
    const QString line =
        (data[0] & 1) ? QString(reinterpret_cast<const QChar*>(data + 1), qsizetype((size - 1) / 2))
                      : QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    bool ok = false;
    QString error;

    const auto quoted = SplitCSVRegel(line, ok, error, false);
    check(quoted.has_value() == ok && ok == !line.isEmpty());
    if (quoted) {
        check(!quoted->isEmpty());
        // Only quotes are dropped: the fields and separators never outgrow the line.
        qsizetype length = quoted->size() - 1;
        for (const QString& field : *quoted)
            length += field.size();
        check(length <= line.size());
        if (!line.contains(QLatin1Char('"')))
            check(quoted->join(QLatin1Char(';')) == line);
    }

    const auto unquoted = SplitCSVRegel(line, ok, error, true);
    check(unquoted.has_value() == ok && ok == !line.isEmpty());
    if (unquoted) {
        QString withoutQuotes = line;
        withoutQuotes.remove(QLatin1Char('"'));
        check(unquoted->join(QLatin1Char(';')) == withoutQuotes);
    }
    return 0;
}
