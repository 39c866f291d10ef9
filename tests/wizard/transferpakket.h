#pragma once
// A supplier delivery for whole transfers with the real engines: SQLite
// sources of the four database kinds (product table, options, library, work
// preparation, version 3.40) and full targets of the same kinds, written into
// a folder at a chosen size, and the program-wide state of a transfer that
// takes all of it (every option, every part selected). The kill test and the
// transfer benchmark run the driver on it.
//
//     const TransferPakket pakket = SchrijfTransferPakket(map, PakketMaten::Geschaald(0.1));
//     KiesTransferPakket(pakket);           // sources, targets, options, selections
//     StapTransfer stap; stap.StartTransfer();
//
// The targets hold about half of the source's parts already (other prices,
// other hardware data, their own children) and parts of their own, so that a
// run adds, updates, replaces price rows and merges; they have no indexes
// beyond the design product's layout (tests/fixtures/designdatabases.*).
//
// Seam for the demo content package (D13): once the build writes the demo
// package with a scale factor, SchrijfTransferPakket is to take its sources and
// targets from there; the sizes below are the benchmark's.

#include "fixtures/designdatabases.h"
#include "wizard/transferdoelen.h"

#include <QString>

namespace supplink::test {

// The short code of a kind in logs and tests: "opt", "pt", "wkv", "lib".
inline QString SoortCode(DoelSoort soort)
{
    static const char* codes[] = {"opt", "pt", "wkv", "lib"};
    return QString::fromLatin1(codes[int(soort)]);
}
// The file name of a kind's database: "opties.db", "producten.db", "werkvoorbereiding.db", "bibliotheek.db".
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

struct PakketMaten
{
    int artikelen = 20000;       // half with 2D, half with 1D price rows
    int combies = 5000;          // hardware combinations, each with 10 articles in its Data
    int keuzes = 1000;           // hardware choices of three combinations each
    int bibliotheekRijen = 2000; // main rows per library family (five families)
    int vormen = 2000;           // groove shapes with two geometries of six nodes and two names

    // The benchmark's sizes times the factor (at least one of each).
    static PakketMaten Geschaald(double factor);
};

struct TransferPakket
{
    QString map;
    PakketMaten maten;
    QString bron(DoelSoort soort) const;
    QString doel(DoelSoort soort) const;
};

// Writes the sources into <map>/bronnen and the targets into <map>/doelen (both made when missing).
TransferPakket SchrijfTransferPakket(const QString& map, const PakketMaten& maten);
// The program-wide state of a transfer of the whole package (globals() is replaced).
void KiesTransferPakket(const TransferPakket& pakket);

} // namespace supplink::test
