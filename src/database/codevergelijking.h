#pragma once
// How the statements of the engines and file imports compare codes (article,
// group, combination, shape and list codes): one code is the same code
// whatever the case of its letters, in every match, lookup and join of a run. A statement that matches
// codes builds its comparison here, so that every engine compares them one way
// and the rule lives in one place.
//
//     sql += QStringLiteral(" ON ") + CodesGelijkOp(*db, "Target.Code", "Article.Code");
//     sql += QStringLiteral(" WHERE ") + CodeInLijstOp(*db, "Combi.Code", MaakInLijst(items));
//     db->openRecordset("SELECT ... WHERE " + CodeInLijst("Combi.Code", codes.size(), *db), codes);
//     if (ZelfdeCode(item->Code, code)) ...
//
// The rule itself is platform/codecompare.h: on SQLite-based connections (SQLite
// files, Jet mirrors, a Jet statement run through the translator) the clause
// names the program's collation for every letter (in the statement only, never
// in a file's schema); a Jet database reached through its own driver and SQL
// Server compare text without regard to case by themselves and get the plain
// comparison.

#include "database/databasebackend.h"

#include <QString>

namespace supplink {

// "<left> = <right>" comparing codes, for a statement that SQLite runs (an SQLite file, a Jet mirror, a Jet
// statement run through the translator).
QString CodesGelijk(const QString& links, const QString& rechts);

// The same for a statement that runs on this connection: the SQLite clause on every back-end that runs its
// statements in SQLite, the plain comparison on the others.
QString CodesGelijkOp(const DatabaseBackend& db, const QString& links, const QString& rechts);

// "<column> In (<list>)" comparing codes, for a statement that runs on this connection; the list as
// MaakInLijst gives it.
QString CodeInLijstOp(const DatabaseBackend& db, const QString& kolom, const QString& lijst);
// "<column> IN (?, ?, ...)" with `aantal` parameters (at least one) comparing codes, for a statement that
// runs on this connection; the codes are bound in order.
QString CodeInLijst(const QString& kolom, qsizetype aantal, const DatabaseBackend& db);

// Two codes compared in the program itself (lists, lookups): the same code when they differ only in case.
bool ZelfdeCode(const QString& a, const QString& b);
// The form of a code under which equal codes (ZelfdeCode) are one key of a set or a hash.
QString CodeSleutel(const QString& code);

} // namespace supplink
