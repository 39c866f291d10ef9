#pragma once
// The supplier's documentation of a selection list: one workbook per list in
// the current supplier's folder, named after the list ("Artikelen.xls" for the
// list "Artikelen"), read through the workbook reader (its first sheet, the
// first row giving the column names). Columns by position: 0 "CODE", 1 the
// description, 2 and 3 the name and target of the first link, 4 and 5 of the
// second, 6 and 7 of the third; an empty cell is empty text.
//
// Each step keeps one DocumentatieStaat for its list and passes it to every
// ShowInfo call: the workbook is read at the first call and kept open for the
// step's lifetime; a workbook that is missing or cannot be read is never
// tried again (and a missing one is no error: nothing is said).
//
//     if (!ShowInfo(rij.Code, QStringLiteral("Artikelen"), m_documentatie, paneel))
//         paneel.SetOmschrijvingTekst(rij.Omschrijving);   // no entry for the code

#include "database/databasebackend.h"

#include <QString>
#include <memory>

namespace supplink {

class clsConnectie;
class InformatiePaneel;

struct DocumentatieStaat
{
    bool NietBeschikbaar = false; // missing or unreadable: no further attempt
    bool Geladen = false;         // read; the recordset is held
    RecordsetPtr Recordset;
    std::shared_ptr<clsConnectie> Connectie;
    QString Map; // the folder of the workbook

    DocumentatieStaat() = default;
    // Closes the recordset and the connection.
    ~DocumentatieStaat();
    DocumentatieStaat(const DocumentatieStaat&) = delete;
    DocumentatieStaat& operator=(const DocumentatieStaat&) = delete;

    // Closes the recordset and the connection and clears both flags.
    void Sluiten();
};

// The workbook of a list in the current supplier's folder (the exact name first, else a file whose name
// differs only in case); empty when there is no supplier or no such file.
QString DocumentatieBestand(const QString& lijstNaam);

// Fills the panel for one code (the links, and the description when the workbook has the code); true when
// the workbook has a row for the code. The panel is left as it was when the workbook is not available.
bool ShowInfo(const QString& code, const QString& lijstNaam, DocumentatieStaat& staat, InformatiePaneel& paneel);

// Opens the workbook and its first sheet; true when the sheet has at least one row and a column "CODE".
bool ReadInfo(const QString& path, RecordsetPtr& recordset, std::shared_ptr<clsConnectie>& connectie);

} // namespace supplink
