#pragma once
// How the synchronisation engines compare codes (shape, article, group and
// combination codes): without regard to case, for every letter, as Jet
// compares text. The rule lives here alone, so that every statement and every
// lookup of a run follows the same one and a change is made in one place:
//
//     const QString on = CodesGelijkSql(*db, "GrooveShape.Code", "tmpSelected.CodeSelected");
//     QHash<QString, qint64> ids;
//     ids.insert(CodeSleutel(code), id);        // found again by any spelling of the code
//
// In statements on SQLite databases (SQLite files and Jet mirrors) the
// condition names SQLite's NOCASE collation, which folds the ASCII letters
// only; the collation that folds every letter takes its place once the
// program's SQLite connections register it. Other databases (Jet through its
// driver, SQL Server) compare with their own collation, which ignores case
// already, so their condition is the plain comparison.

#include <QString>

namespace supplink {

class DatabaseBackend;

// The condition that the two code expressions are equal, for a statement that runs on db.
QString CodesGelijkSql(const DatabaseBackend& db, const QString& links, const QString& rechts);

// The form of a code under which equal codes meet in the program's own lookups (hash keys, sets).
QString CodeSleutel(const QString& code);

// The two codes are equal.
inline bool CodesGelijk(const QString& a, const QString& b)
{
    return CodeSleutel(a) == CodeSleutel(b);
}

} // namespace supplink
