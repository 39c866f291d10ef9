#include "database/codevergelijking.h"

#include "database/sqlitebackend.h"

#include <QStringList>

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

QString CodeInLijstOp(const DatabaseBackend& db, const QString& kolom, const QString& lijst)
{
    const QString collatie =
        dynamic_cast<const SqliteBackend*>(&db) ? QStringLiteral(" COLLATE NOCASE") : QString();
    return kolom + collatie + QStringLiteral(" In (") + lijst + QLatin1Char(')');
}

QString CodeInLijst(const QString& kolom, qsizetype aantal, const DatabaseBackend& db)
{
    QStringList tekens;
    for (qsizetype i = 0; i < qMax<qsizetype>(aantal, 1); ++i)
        tekens << QStringLiteral("?");
    return CodeInLijstOp(db, kolom, tekens.join(QStringLiteral(", ")));
}

bool ZelfdeCode(const QString& a, const QString& b)
{
    return a == b || CodeSleutel(a) == CodeSleutel(b);
}

QString CodeSleutel(const QString& code)
{
    return code.toCaseFolded();
}

} // namespace supplink
