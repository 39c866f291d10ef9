#pragma once
// How the generic selection step (steps 5, 6, 12, 13 and 14) reads the rows
// of one library table from a chosen library source: the step's table query
// ("SELECT DISTINCT ID, Code, Description FROM TreshHoldCombi" and the like)
// run on the source file, one list item (ID, Code, Description) appended per
// row, in the order of the rows; a code that is already in the collection is
// appended again (the list shows one row per code). The step reaches the
// reader only through this interface, so that tests script it.
//
//     std::shared_ptr<BibliotheekLezer> lezer = MaakBibliotheekLezer();
//     if (bron.IsJetDatabase)
//         lezer->LeesJet(bron.Path(), query, alle);
//     else if (bron.IsSQLite)
//         lezer->LeesSQLite(bron.Path(), query, alle);
//
// A source that cannot be opened adds nothing; an error while reading is
// reported ("GetColItemsDistinct", "GetColItemsDistinctSQLite") and keeps the
// items appended before it.

#include "start/items.h"

#include <QString>
#include <memory>

namespace supplink {

class BibliotheekLezer
{
public:
    virtual ~BibliotheekLezer() = default;
    // A Jet library source (GetColItemsDistinct); true when the rows were read.
    virtual bool LeesJet(const QString& pad, const QString& query, ItemCollection& alle) = 0;
    // An SQLite library source (GetColItemsDistinctSQLite); true when the rows were read.
    virtual bool LeesSQLite(const QString& pad, const QString& query, ItemCollection& alle) = 0;
};

// The program's reader: opens the source through the connection object and runs the query.
std::shared_ptr<BibliotheekLezer> MaakBibliotheekLezer();

} // namespace supplink
