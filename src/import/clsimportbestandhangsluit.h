#pragma once
// The hardware file import: a supplier's own CSV file or Excel workbook of
// hardware (locks and hinges: combinations of hardware articles with their
// positions and dimensions, or choices that group combinations), read into
// hardware lines (clsHangSluitRegel) by the source's column map. The selection
// steps use the engine to list what a file holds; the transfer reads the file
// and writes the selected parts into an options database or the library.
//
// This is the reading half with the JSON of the options database's
// combination data; the transfer run and its writers build on it:
//
//     clsImportBestandHangSluit engine;
//     engine.SetOntvanger(&listener);
//     engine.SetRunContext(run);                            // its cancel stops the reading
//     engine.SetColItemsDistinct(allItems);                 // a selection step
//     if (engine.InlezenBestand(bron, true)) ... allItems ...
//     engine.LocksHingesArtikelVerplichtDistinct(bron, chosenCombinations);   // the article selection
//
// and, for a transfer, InlezenBronBestand (distinct mode off) fills
// HangSluitRegels(), Fix_Bemating_30_31 renumbers their dimensioning codes, and
// GetArtikelJSON / MergeJSONFieldOptions build the Data text of an options
// combination. Every part reports through the engine's ImportMelder, so the
// listener sees one stream of events and one error count.
//
// The run is live on its run context (RunScope) while a reading runs.

#include "import/clshangsluitregel.h"
#include "import/hangsluitbestandlezer.h"
#include "import/importmelder.h"
#include "platform/runcontext.h"
#include "start/itemlijst.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QList>
#include <QString>
#include <memory>

namespace supplink {

class clsBron2;

class clsImportBestandHangSluit : public ItemLijst
{
public:
    clsImportBestandHangSluit();
    ~clsImportBestandHangSluit();
    clsImportBestandHangSluit(const clsImportBestandHangSluit&) = delete;
    clsImportBestandHangSluit& operator=(const clsImportBestandHangSluit&) = delete;

    // The parts the user selected (hardware tables, combinations or choices); none until the transfer
    // driver sets them.
    std::shared_ptr<ItemCollection> ColItemsGeselecteerd;

    // The listener of the progress events (may be none).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_melder.SetOntvanger(ontvanger); }
    // Stops the run after the part in hand; may be called from inside an event or a yield.
    void Cancel() { m_run->cancel(); }
    bool Geannuleerd() const { return m_melder.Gestopt() || m_run->cancelled(); }
    // The run context to share (a driver's, whose cancel then stops this run too); none: a new one.
    void SetRunContext(RunContextPtr run);
    const RunContextPtr& runContext() const { return m_run; }

    // Listing readings append to ColItemsDistinct (start/itemlijst.h), so one collection lists each code
    // once over several sources.

    // Reads the source; with distinct the distinct parts go to the distinct-items collection (one item
    // per code, compared without regard to case), otherwise the lines are kept for the transfer. The
    // source must outlive the engine's use of it.
    bool InlezenBestand(clsBron2& bron, bool distinct);
    // Lists the article codes of the given combinations (one item per line that uses one); false without
    // reading when there are none. Sets the distinct and required modes for the engine's life.
    bool LocksHingesArtikelVerplichtDistinct(clsBron2& bron, std::shared_ptr<ItemCollection> combinaties);

    // The hardware lines of the last reading, in file order.
    const QList<HangSluitRegelPtr>& HangSluitRegels() const { return m_lezer.HangSluitRegels(); }

    qint32 AantalFouten() const { return m_melder.AantalFouten(); }
    qint32 AantalNieuw() const { return m_melder.AantalNieuw(); }
    qint32 AantalBestaand() const { return m_melder.AantalBestaand(); }

    // Before writing into the library, a SQLite or a newer-format options database: when a line's
    // dimensioning code is 9 or 10, every line's code is renumbered 1 to 3, 2 to 0, 9 to 2 and 10 to 1.
    void Fix_Bemating_30_31();

    // One article usage of an options combination's data, written for its place inside the
    // "LHArticles" text: the usage object (every value a text, fixed key order), encoded as a JSON text
    // and that encoded once more. Throws AppError 6 on a dimension overflow.
    static QString GetArtikelJSON(const clsHangSluitRegel& regel);
    // The options data document with its "LHArticles" list replaced by the given entries (joined by ",")
    // and its other three lists kept; a document missing one of them, or an empty document, counts it as
    // "[]". An unreadable document is reported (routine "MergeJSONFieldOptions") and gives an empty text.
    static QString MergeJSONFieldOptions(const QString& document, const QString& artikelen);

private:
    // Reads the stored source in the engine's modes.
    bool InlezenBronBestand();
    bool BronHeeft9of10() const;
    void FixBron();

    RunContextPtr m_run;
    ImportMelder m_melder;
    HangSluitBestandLezer m_lezer;
    clsBron2* m_bron = nullptr;
    std::shared_ptr<ItemCollection> m_verplicht;
    bool m_distinctModus = false;
    bool m_verplichtModus = false;
};

} // namespace supplink
