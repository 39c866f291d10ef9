#pragma once
// The writers of the demo package's files, each from the one content
// description (voorbeeldinhoud.h). Each throws std::runtime_error with a
// Dutch reason when it cannot write its file. voorbeeldpakket.cpp calls them.
//
// Databases (voorbeelddatabases.cpp): the supplier's four databases and the
// user's four, SQLite of version 3.40, by the fixture builders.
// Files (voorbeeldbestanden.cpp): price lists, hardware files, the XML export,
// information workbooks, the pages, the logo and the readme.

#include "voorbeeld/voorbeeldinhoud.h"

#include <QString>

namespace supplink::voorbeeld {

// The supplier's product table, options, library and work-preparation databases.
void SchrijfBronProducten(const Inhoud& inhoud, const QString& pad);
void SchrijfBronOnderhoud(const Inhoud& inhoud, const QString& pad);
void SchrijfBronBibliotheek(const Inhoud& inhoud, const QString& pad);
void SchrijfBronWerkvoorbereiding(const Inhoud& inhoud, const QString& pad);
// The user's own databases: part of the supplier's content in an older form, and their own.
void SchrijfDoelProducten(const Inhoud& inhoud, const QString& pad);
void SchrijfDoelOnderhoud(const Inhoud& inhoud, const QString& pad);
void SchrijfDoelBibliotheek(const Inhoud& inhoud, const QString& pad);
void SchrijfDoelWerkvoorbereiding(const Inhoud& inhoud, const QString& pad);

// The supplier's files. The price lists give widths, heights, thicknesses and trade lengths in
// centimetres, as the article import reads those columns (it writes them times ten, in millimetres).
void SchrijfArtikelCsv(const Inhoud& inhoud, const QString& pad);
void SchrijfArtikelWerkmap(const Inhoud& inhoud, const QString& pad);
void SchrijfHangSluitCombiCsv(const Inhoud& inhoud, const QString& pad);
void SchrijfHangSluitCombiWerkmap(const Inhoud& inhoud, const QString& pad);
void SchrijfHangSluitKeuzeCsv(const Inhoud& inhoud, const QString& pad);
void SchrijfMaterialenXml(const Inhoud& inhoud, const QString& pad);
// The information workbooks of the lists "Artikelen", "ArtikelGroepen" and "Vaksponningen" in the folder.
void SchrijfInformatieWerkmappen(const Inhoud& inhoud, const QString& map);
// `index`, "leverancier.xml" with "leverancier.xsl", and "logo.jpg" in the supplier folder.
void SchrijfLeverancierBestanden(const Inhoud& inhoud, const QString& map);
// The default page, left open for the welcome step's logo table.
void SchrijfWelkomPagina(const QString& pad);
// What the folder with the sources and targets holds.
void SchrijfLeesMij(const Inhoud& inhoud, const QString& pad);

} // namespace supplink::voorbeeld
