#pragma once
// The demo content package: a supplier "VOORBEELD" (category 6) to take
// through the whole wizard. The build runs maakvoorbeeld, which writes beside
// the program
//   - "voorbeeld.dat": the content package the welcome step unpacks (a zip
//     archive: a default "welkom.html", left open for the step to append its
//     logo table to, and the supplier folder VOORBEELD with `index`,
//     "leverancier.xml" with its stylesheet, "logo.jpg", information
//     workbooks "<list name>.xls", and the folders "bronnen" and "doelen");
//   - the folder "voorbeeld": the same "bronnen" and "doelen" unpacked, with
//     "LEESMIJ.txt", for steps 2 and 3 (the unpacked package itself lies in
//     the temporary folder, which is deleted when the program closes).
// "bronnen" holds a source file of every kind the wizard imports (an article
// price list as CSV in Windows-1252 with Dutch decimal commas, an article
// workbook, hardware combinations as CSV and as workbook, hardware choices as
// CSV, an XML material export, and the supplier's product table, options,
// library and work-preparation databases); "doelen" holds the user's own
// databases of every kind with part of that content in an older form and some
// of their own, so that a transfer both updates and adds. Databases are
// SQLite files of version 3.40, built with the fixture builders
// (fixtures/designdatabases.h).
//
// The end-to-end, kill and benchmark programs make their own copy:
//
//     QString fout;
//     if (!voorbeeld::SchrijfVoorbeeld(map, 80, &fout))   // 80: 20,000 articles
//         QFAIL(qPrintable(fout));
//     const QString doel = QDir(map).filePath(voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelProducten));
//
// Schaal 1 gives 250 articles; every count but the groups and the fixed
// tables grows with the scale.

#include <QString>
#include <QStringList>

namespace supplink::voorbeeld {

// The supplier.
inline constexpr char kLeverancierCode[] = "VOORBEELD";
inline constexpr char kLeverancierNaam[] = "Voorbeeld Leverancier";
inline constexpr char kLeverancierCategorie[] = "6";

// What the build writes beside the program.
inline constexpr char kPakketNaam[] = "voorbeeld.dat";
inline constexpr char kMapNaam[] = "voorbeeld";

// The files of "bronnen" and "doelen", relative to the supplier folder and to the folder "voorbeeld".
inline constexpr char kBronArtikelCsv[] = "bronnen/artikelen.csv";
inline constexpr char kBronArtikelWerkmap[] = "bronnen/artikelen.xlsx";
inline constexpr char kBronHangSluitCombiCsv[] = "bronnen/hangsluitwerk-combinaties.csv";
inline constexpr char kBronHangSluitCombiWerkmap[] = "bronnen/hangsluitwerk-combinaties.xlsx";
inline constexpr char kBronHangSluitKeuzeCsv[] = "bronnen/hangsluitwerk-keuzes.csv";
inline constexpr char kBronMaterialenXml[] = "bronnen/materialen.xml";
inline constexpr char kBronProducten[] = "bronnen/producten.pt";
inline constexpr char kBronOnderhoud[] = "bronnen/onderhoud.opt";
inline constexpr char kBronBibliotheek[] = "bronnen/bibliotheek.lib";
inline constexpr char kBronWerkvoorbereiding[] = "bronnen/werkvoorbereiding.wkv";
inline constexpr char kDoelProducten[] = "doelen/producten.pt";
inline constexpr char kDoelOnderhoud[] = "doelen/onderhoud.opt";
inline constexpr char kDoelBibliotheek[] = "doelen/bibliotheek.lib";
inline constexpr char kDoelWerkvoorbereiding[] = "doelen/werkvoorbereiding.wkv";
inline constexpr char kLeesMij[] = "LEESMIJ.txt";

// The relative path as a path of the folder "voorbeeld" ("voorbeeld/bronnen/artikelen.csv").
QString PadInVoorbeeldMap(const char* relatief);

// Writes "voorbeeld.dat" and the folder "voorbeeld" into the folder (made when missing). Each takes the
// place of an older one only once it is complete. False, with the reason in fout, when that failed; an
// older package and folder are then as they were.
bool SchrijfVoorbeeld(const QString& map, int schaal = 1, QString* fout = nullptr);

// Writes the package's content unpacked into an empty folder: "welkom.html" and the folder VOORBEELD.
bool SchrijfInhoud(const QString& map, int schaal, QString* fout = nullptr);

} // namespace supplink::voorbeeld
