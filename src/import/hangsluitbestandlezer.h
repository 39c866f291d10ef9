#pragma once
// Reading a supplier's hardware file (locks and hinges: combinations of
// hardware articles, or choices that group combinations) for the hardware
// import: the file's kind decides the reading (a CSV file, or the first sheet
// of a workbook; database files are refused), every row is corrected for the
// supplier (the code prefix), mapped by the source's column map into one
// hardware line (clsHangSluitRegel) and then either kept for the transfer,
// listed as one item per distinct code for a selection step, or, for the
// article selection, listed as the articles of the combinations asked for.
//
// Usage, as clsImportBestandHangSluit does it:
//
//     ImportMelder melder;                            // messages and the error count
//     HangSluitBestandLezer lezer(melder);
//     lezer.SetRunContext(run);                       // a cancel stops the reading
//     if (lezer.Lees(bron, HangSluitBestandLezer::Modus::Overzetten, distinct, verplicht))
//         ... lezer.HangSluitRegels() ...
//
// Each reading starts a new list of hardware lines (a failed reading leaves it
// empty); the distinct items are added to the caller's collection, so one
// collection lists each code once over several sources. Numbers of the file
// (the dimension, count and code columns, and Y) are read by LeesGetal, the
// same under every locale. The CSV and workbook walking is BronBestandLezer's;
// the messages and stop rules are the hardware reading's own ("Bronbestand",
// a row error stops a workbook reading too).

#include "import/bronbestandlezer.h"
#include "import/clshangsluitregel.h"
#include "import/importmelder.h"
#include "platform/runcontext.h"
#include "start/items.h"

#include <QList>
#include <QStringList>

namespace supplink {

class clsBron2;

class HangSluitBestandLezer : private BronBestandLezer::Beleid
{
public:
    enum class Modus
    {
        Overzetten, // keep every line for the transfer
        Distinct,   // one item per distinct code (compared without regard to case)
        Verplicht,  // one item per line of a combination asked for: its article code
    };

    explicit HangSluitBestandLezer(ImportMelder& melder);
    HangSluitBestandLezer(const HangSluitBestandLezer&) = delete;
    HangSluitBestandLezer& operator=(const HangSluitBestandLezer&) = delete;

    // The context whose cancel stops the reading and through which it yields; none: one of its own.
    void SetRunContext(RunContextPtr run);

    // InlezenBronBestand: reads the source by the kind of its first bytes. Items of the two listing
    // modes are appended to `distinct`; `verplicht` holds the combinations whose articles are asked for.
    // False when the reading failed or found nothing; what went wrong has been reported.
    bool Lees(clsBron2& bron, Modus modus, ItemCollection& distinct, const ItemCollection& verplicht);

    // The lines read for the transfer, in file order (the writers may change them: the dimension fix).
    const QList<HangSluitRegelPtr>& HangSluitRegels() const { return m_regels; }
    QList<HangSluitRegelPtr>& HangSluitRegels() { return m_regels; }

    // The row with the program's code prefix before a non-empty value of the code column (kind 1) and
    // the article code column (kind 101). A row that needs none is returned as it is.
    static QStringList CorrectForSupplier(const clsBron2& bron, const QStringList& rij);
    // Every field is empty after trimming.
    static bool IsLegeRegel(const QStringList& rij);
    // A trimmed, non-empty text of the characters "0123456789.,-+" only.
    static bool IsGetal(const QString& tekst);
    // The hardware line of a (corrected) row, column i by the i-th kind of the source's column map; in
    // library mode Y is taken as text, and an empty whole-number field is 0. Throws AppError: 9 for a row
    // with fewer fields than the map has columns, 6 for a number too large for its field, 13 for a text
    // that is no number in a whole-number column (the dimensions, count, position, dimensioning, origin)
    // or for a Y that reads as no number.
    static HangSluitRegelPtr MaakRegel(const clsBron2& bron, const QStringList& rij, bool bibliotheek);

private:
    bool InezelenCSVBestand(const QString& path);
    bool InlezenExcelBestand(const QString& path);
    // Maps and files one row; false after an error, which is shown (not counted: the caller counts).
    bool VerwerkRegel(const QStringList& rij);
    bool ZitIncolItemsDistinct(const QString& code) const;
    bool ZitInColItemsVerplicht(const QString& code) const;
    // True when lines or distinct items were found; otherwise the message and false.
    bool BevatGegevens();

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
    const clsBron2* m_bron = nullptr;
    Modus m_modus = Modus::Overzetten;
    ItemCollection* m_distinct = nullptr;
    const ItemCollection* m_verplicht = nullptr;
    const BronBestandLezer* m_lezer = nullptr; // the reading in hand
    bool m_excel = false;                      // the reading in hand is a workbook's
    QString m_routine;                         // the reading routine in hand, for its error reports
    QList<HangSluitRegelPtr> m_regels;
};

} // namespace supplink
