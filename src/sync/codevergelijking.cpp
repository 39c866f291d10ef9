#include "sync/codevergelijking.h"

#include "database/sqlitebackend.h"

namespace supplink {

QString CodesGelijk(const QString& links, const QString& rechts)
{
    return links + QStringLiteral(" = ") + rechts + QStringLiteral(" COLLATE NOCASE");
}

QString CodesGelijkOp(const DatabaseBackend& db, const QString& links, const QString& rechts)
{
    if (dynamic_cast<const SqliteBackend*>(&db))
        return CodesGelijk(links, rechts);
    return links + QStringLiteral(" = ") + rechts;
}

} // namespace supplink
