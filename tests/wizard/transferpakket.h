#pragma once
// The demo content package (tools/voorbeeld) as the kill test and the
// transfer benchmark run whole transfers on it: the package written at a
// chosen scale, the user's targets as copies of its folder "voorbeeld/doelen",
// and the program-wide state a full walk through the wizard leaves.
//
//     TestEnvironment env;                                  // private settings: the walk saves some
//     const TransferPakket pakket = SchrijfTransferPakket(map, 8);   // 2,000 articles
//     const QString fout = KiesTransferPakket(pakket);      // steps 1 to 15, every source and part
//     StapTransfer stap; stap.StartTransfer();
//     HerstelDoelen(pakket);                                // the targets as the package wrote them
//
// KiesTransferPakket walks the program's own window-free steps with the
// step sequence (StapBesturing) as the main window does: the welcome step
// unpacks "voorbeeld.dat" and takes the supplier VOORBEELD; the source step
// adds the sources of "voorbeeld/bronnen" (every kind: the four databases,
// the article CSV, workbook and XML export, the hardware combination CSV and
// workbook, the hardware choice CSV), each set up as its dialog proposes
// (column mapping by the titles, every type ticked); the target step takes
// the copies; the options step ticks every box and takes prices and new
// articles; each selection step the walk reaches ticks every row. Only the
// answers a user gives in dialogs are scripted here.

#include "fixtures/designdatabases.h"
#include "wizard/transferdoelen.h"

#include <QString>
#include <QStringList>

namespace supplink::test {

// The short code of a kind in logs and tests: "opt", "pt", "wkv", "lib".
inline QString SoortCode(DoelSoort soort)
{
    static const char* codes[] = {"opt", "pt", "wkv", "lib"};
    return QString::fromLatin1(codes[int(soort)]);
}

// The file name of a kind's database in the scripted transfers (transferopstelling.h): "opties.db",
// "producten.db", "werkvoorbereiding.db", "bibliotheek.db".
inline QString DatabaseNaam(DoelSoort soort)
{
    static const char* namen[] = {"opties.db", "producten.db", "werkvoorbereiding.db", "bibliotheek.db"};
    return QString::fromLatin1(namen[int(soort)]);
}
// The fixture layout of a kind's database.
inline fixtures::Kind FixtureSoort(DoelSoort soort)
{
    static const fixtures::Kind soorten[] = {fixtures::Kind::Options, fixtures::Kind::ProductTable,
                                             fixtures::Kind::WorkPreparation, fixtures::Kind::Library};
    return soorten[int(soort)];
}

struct TransferPakket
{
    QString map;    // the folder the package was written into ("voorbeeld.dat", "voorbeeld", "doelen")
    int schaal = 1; // 1: 250 articles, 80: 20,000

    // A file of the folder "voorbeeld" by its path relative to the supplier folder
    // (voorbeeld::kBronProducten ...).
    QString voorbeeldPad(const char* relatief) const;
    // The source database of a kind in "voorbeeld/bronnen".
    QString bron(DoelSoort soort) const;
    // The target of a kind: a copy in <map>/doelen of the package's own in "voorbeeld/doelen".
    QString doel(DoelSoort soort) const;
    QString origineel(DoelSoort soort) const;
};

// Writes the package into the folder and copies its targets; on failure the reason is in fout and the
// package's map is empty.
TransferPakket SchrijfTransferPakket(const QString& map, int schaal, QString* fout = nullptr);
// Puts the package's own targets back over the copies; false when a copy could not be made.
bool HerstelDoelen(const TransferPakket& pakket);

enum class PakketBronnen
{
    Alle,           // every source kind of the package
    AlleenDatabases // the four databases: the passes a plain SQL script can do too
};

// Walks steps 1 to 15 (see the header note), leaving globals() as the walk does when it reaches the
// backup step. Empty when it got there; otherwise what stopped it (an error window, a step that does
// not let go).
QString KiesTransferPakket(const TransferPakket& pakket, PakketBronnen bronnen = PakketBronnen::Alle);

} // namespace supplink::test
