#pragma once
// Reading a supplier's article file for the article import: the file's kind
// decides the reading (a CSV file, an Excel workbook, the three sheets of a
// Holonite workbook, a Deceuninck workbook with its own column map; database
// files are refused), every line is corrected for the supplier (the code
// prefix, the Deceuninck code column) and then either kept for the transfer
// or, in list-only mode, turned into one list item per distinct code for a
// selection step (articles, or article groups).
//
// Usage:
//
//     ImportMelder melder;                          // receives the messages and counts the errors
//     ArtikelBestandLezer lezer(melder);
//     lezer.SetRunContext(run);                     // a cancel stops the reading
//     auto items = std::make_shared<ItemCollection>();
//     if (lezer.Lees(bron, ArtikelBestandLezer::Modus::Overzetten, *items))
//         ... lezer.GelezenRegels() ...
//
// Lines read for the transfer accumulate over the readings of one reader (the
// three sheets of a Holonite workbook go into one list); the distinct codes of
// list-only mode do too, so one reader lists each code once over several
// sources. The CSV and workbook walking is BronBestandLezer's.

#include "import/bronbestandlezer.h"
#include "import/importmelder.h"
#include "platform/runcontext.h"
#include "start/items.h"

#include <QList>
#include <QSet>

namespace supplink {

class clsBron2;

class ArtikelBestandLezer : private BronBestandLezer::Beleid
{
public:
    enum class Modus
    {
        Overzetten,          // keep every line for the transfer
        LijstArtikelen,      // one item per distinct article code
        LijstArtikelGroepen, // one item per distinct group code (articles when the file has no group column)
    };

    explicit ArtikelBestandLezer(ImportMelder& melder);
    ArtikelBestandLezer(const ArtikelBestandLezer&) = delete;
    ArtikelBestandLezer& operator=(const ArtikelBestandLezer&) = delete;

    // The context whose cancel stops the reading and through which it yields; none: one of its own.
    void SetRunContext(RunContextPtr run);

    // Reads the source by its kind; list-only items are appended to `lijst`. False when the reading failed
    // or found nothing; what went wrong has been reported. The source's column map may be set here (the
    // Holonite and Deceuninck layouts).
    bool Lees(clsBron2& bron, Modus modus, ItemCollection& lijst);

    // The lines read for the transfer, in file order.
    const QList<ArtikelRegel>& GelezenRegels() const { return m_gelezenRegels; }
    // Whether the code has been listed already by this reader (without regard to case).
    bool ZitIncolItemsDistinct(const QString& code) const;

    // The line with the supplier's corrections: the program's code prefix before a non-empty code and
    // mirrored code, or, for a Deceuninck workbook, the code in column 1 taken from the layout's code
    // column. A line that needs none is returned as it is. Throws AppError 9 when a column the
    // correction reads is missing.
    static ArtikelRegel CorrectForSupplier(const clsBron2& bron, const ArtikelRegel& regel);

private:
    bool leesExcel(const QString& path, const QString& blad);
    bool leesCSV(const QString& path);
    // After a reading: true when anything was found, else the no-articles message.
    bool afsluiten(const QString& path, bool gelezen);
    // Keeps the line or lists its item; false after an error, which is reported and counted.
    bool AfhandelenArtikelRegel(const ArtikelRegel& regel);
    void voegToeAanLijst(const std::shared_ptr<clsItem>& item);

    // The policy of the row walking.
    void Begin(const QString& path) override;
    void NietGevonden(const QString& path) override;
    void OpenenMislukt(const QString& path) override;
    void GeenBladen(const QString& path) override;
    void GeenRijen(const QString& blad) override;
    bool SplitsFout(QStringView regel, const QString& fout) override;
    void LeesFout(const std::exception& fout) override;
    bool Rij(const QStringList& velden) override;

    ImportMelder& m_melder;
    RunContextPtr m_run;
    clsBron2* m_bron = nullptr;
    Modus m_modus = Modus::Overzetten;
    ItemCollection* m_lijst = nullptr;
    const BronBestandLezer* m_lezer = nullptr; // the reading in hand
    QList<ArtikelRegel> m_gelezenRegels;
    QSet<QString> m_distinctCodes; // folded as codes compare (platform/codecompare.h)
};

} // namespace supplink
