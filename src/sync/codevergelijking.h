#pragma once
// How the synchronisation engines compare codes (of combinations, choices,
// tables, articles...): without regard to case, as Jet compares text ("ÄÖ"
// equals "äö"). One place for it, in code and in statements, so that every
// match of the engines follows the same rule.
//
//     if (CodesGelijk(item->Code, code)) ...
//     const QString sql = "SELECT ... WHERE " + CodeInLijst("Combi.Code", codes.size(), *db);
//     db->openRecordset(sql, codes);      // one parameter per code

#include "database/databasebackend.h"

#include <QString>
#include <QStringList>

namespace supplink {

inline bool CodesGelijk(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The condition "<field> IN (?, ?, ...)" with `aantal` parameters (at least one), comparing codes as
// CodesGelijk does where the statement must say so: on an SQLite file through a case-insensitive collation
// (SQLite's own NOCASE folds ASCII letters only). Jet and its mirror compare text without regard to case
// themselves, and their statements keep the Jet form.
inline QString CodeInLijst(const QString& veld, qsizetype aantal, const DatabaseBackend& db)
{
    QStringList tekens;
    for (qsizetype i = 0; i < qMax<qsizetype>(aantal, 1); ++i)
        tekens << QStringLiteral("?");
    const QString collatie =
        db.kind() == DatabaseBackend::Kind::SQLite ? QStringLiteral(" COLLATE NOCASE") : QString();
    return veld + collatie + QStringLiteral(" IN (") + tekens.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace supplink
