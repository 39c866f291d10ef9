#include "sync/codevergelijking.h"

#include "database/sqlitebackend.h"

namespace supplink {

QString CodesGelijkSql(const DatabaseBackend& db, const QString& links, const QString& rechts)
{
    if (dynamic_cast<const SqliteBackend*>(&db))
        return links + QStringLiteral(" = ") + rechts + QStringLiteral(" COLLATE NOCASE");
    return links + QStringLiteral(" = ") + rechts;
}

QString CodeSleutel(const QString& code)
{
    return code.toCaseFolded();
}

} // namespace supplink
