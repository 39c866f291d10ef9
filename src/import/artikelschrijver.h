#pragma once
// The article records of an article import run: finding the existing article
// of a line of the supplier's file, adding a new article record by the import
// plan and updating an existing one. Each column goes into the field its VELD
// line names, as the field's type wants it: numbers by the plan's decimal
// sign, centimetres as whole millimetres (times ten), dates as dates, texts
// cut to the field's size or appended ("+field"); texts that name rows of
// other tables become their keys through the key resolution.
//
// One object serves one run, on the article table that the run holds open as
// the product table's current recordset:
//
//     ArtikelSleutels sleutels(pt, plan, melder);
//     ArtikelSchrijver schrijver(pt, plan, bron, sleutels, melder);
//     if (!schrijver.ZoekArtikel(regel, false))
//         schrijver.VoegArtikelToe(regel, -1, -1);
//     else
//         schrijver.BijwerkenArtikel(regel);         // the article found, then ZoekVolgendArtikel
//
// A record that fails is never half saved: it is dropped, the failure is shown
// and logged, and the run stops after the line (ImportMelder::Stop); the
// caller counts the failed line as an error.

#include "import/artikelimportplan.h"
#include "import/importmelder.h"

#include <QDate>
#include <QString>
#include <optional>

namespace supplink {

class clsBron2;
class clsPT;
class Recordset;
class ArtikelSleutels;

class ArtikelSchrijver
{
public:
    // Everything given outlives this object.
    ArtikelSchrijver(clsPT& pt, const ArtikelImportPlan& plan, const clsBron2& bron,
                     ArtikelSleutels& sleutels, ImportMelder& melder);
    ArtikelSchrijver(const ArtikelSchrijver&) = delete;
    ArtikelSchrijver& operator=(const ArtikelSchrijver&) = delete;

    // Finds the existing article of the line (by the plan's key fields, or by the whole line under
    // UNIEKEREGEL) and leaves the table on it; vanafVolgende searches on from the article in hand.
    bool ZoekArtikel(const ArtikelRegel& regel, bool vanafVolgende);
    bool ZoekVolgendArtikel(const ArtikelRegel& regel) { return ZoekArtikel(regel, true); }
    // Writes the line's update fields into the article in hand; false after an error.
    bool BijwerkenArtikel(const ArtikelRegel& regel);
    // Adds the line as a new article; groepId and leverancierId, when not -1, are the group and supplier
    // the user chose. True also when the article is left out for a missing generic profile.
    bool VoegArtikelToe(const ArtikelRegel& regel, qint32 groepId, qint32 leverancierId);

    // "YYYY/M/D" of a number of eight digits (20240305 gives 2024/3/5), "YYYY/MM/DD" of a date text in
    // the forms files and workbooks give, with or without a time ("2024-03-05 10:00:00", "05.03.2024",
    // "5 maart 2024"); empty when it is no date. A date field receives the day as a date.
    static QString DatumTekst(const QString& waarde);
    // The day of a text of DatumTekst; none when there is no such day ("2024/2/31").
    static std::optional<QDate> Datum(const QString& datumTekst);

private:
    // Writes a centimetre column (times ten) or a date column and returns true; false for any other
    // column, which the caller writes.
    bool schrijfMaatOfDatum(Recordset& rs, const PlanVeld& veld, const QString& waarde);
    // The failure report of a record write: the field in hand, its position and every column.
    void MeldRegelFout(const QString& veldNaam, qint32 positie, const ArtikelRegel& regel);

    clsPT& m_pt;
    const ArtikelImportPlan& m_plan;
    const clsBron2& m_bron;
    ArtikelSleutels& m_sleutels;
    ImportMelder& m_melder;
};

} // namespace supplink
