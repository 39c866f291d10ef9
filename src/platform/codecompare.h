#pragma once
// How the program compares codes: article, group, supplier, combination,
// shape and list codes compare as Jet compares text, without regard to case,
// for every letter ("ÄÖ" equals "äö", "VUL-4010" equals "vul-4010"). Two codes
// are equal when their code points are equal after Unicode simple case
// folding; they are ordered by those folded code points.
//
// Every match, lookup, join and scratch list of codes uses these routines, so
// that one run never finds a code in one step and misses it in the next:
//
//     if (codesEqual(a, b)) ...
//     QSet<QString> seen; seen.insert(foldCode(code));      // a set or hash keyed by codes
//
// SQLite connections of the program register the same rule as the collation
// named kCodeCollation (registerCodeCollation, done by every connection the
// program opens). Use it in statements only, never in the schema of a file
// that is or becomes a user's file (the design product's own SQLite does not
// know it, and a table, index or view naming it would make the file
// unreadable there):
//
//     SELECT ID FROM Article WHERE Code = ? COLLATE JETNOCASE
//     ... INNER JOIN tmpSelected ON Article.Code = tmpSelected.CodeSelected COLLATE JETNOCASE
//
// An index of another collation does not serve such a comparison: a lookup
// row by row is matched in the program (a hash of foldCode), and a join is
// left to SQLite's automatic index, which takes the comparison's collation.

#include <QString>
#include <QStringView>

struct sqlite3;

namespace supplink {

// The name of the SQLite collation that compares as codes compare.
inline constexpr char kCodeCollation[] = "JETNOCASE";

// The code with every code point case-folded: equal codes give equal texts.
QString foldCode(QStringView code);
// Below 0, 0 or above 0 as a sorts before, with or after b.
int compareCodes(QStringView a, QStringView b);
inline bool codesEqual(QStringView a, QStringView b)
{
    return compareCodes(a, b) == 0;
}
// A hash over the folded code points (FNV-1a): equal codes give equal hashes.
quint64 codeHash(QStringView code);

// Registers the collation kCodeCollation on an SQLite connection; the SQLite result code.
int registerCodeCollation(sqlite3* db);

} // namespace supplink
