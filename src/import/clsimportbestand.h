#pragma once
// The article file import: brings a supplier's own CSV file or Excel workbook
// of articles and prices into the product table, by the import plan built for
// the source. The selection steps use the same engine to list the articles or
// article groups that a file holds.
//
// A run reads the whole file first (ArtikelBestandLezer), opens the product
// table, and then walks the lines twice: new articles are added and existing
// ones updated as the article mode of the import options says (ArtikelSchrijver,
// with the keys of ArtikelSleutels), then mirrored articles are linked. What a
// column means is the import plan's (ArtikelImportPlan reads it once, at the
// start of the transfer). Every part reports through the engine's ImportMelder,
// so the listener sees one stream of events and one error count.
//
// Usage, as the transfer driver does it:
//
//     clsImportBestand engine;
//     engine.SetOntvanger(&listener);
//     engine.SetRunContext(run);                   // shared with the driver: its Cancel stops the run
//     engine.ColItemsGeselecteerd = selected;
//     engine.OverzettenBestand(bron, doelPad);     // a file path, or "*" + an SQL Server description
//
// and as a selection step does it:
//
//     engine.SetColItemsDistinct(allItems);
//     if (engine.InlezenBestand(bron, true)) ... engine.ColItemsDistinct() ...
//
// The run is live on its run context (RunScope) while InlezenBestand,
// InlezenBestandArtikelGroepen, OverzettenBestand or OverzettenArtikelen runs.

#include "import/artikelbestandlezer.h"
#include "import/clsscriptregel.h"
#include "import/importmelder.h"
#include "platform/runcontext.h"
#include "start/itemlijst.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace supplink {

class clsBron2;
class clsPT;
class ArtikelImportPlan;
class ArtikelSchrijver;
class ArtikelSleutels;

class clsImportBestand : public ItemLijst
{
public:
    clsImportBestand();
    ~clsImportBestand();
    clsImportBestand(const clsImportBestand&) = delete;
    clsImportBestand& operator=(const clsImportBestand&) = delete;

    // The import plan of the transfer (OverzettenBestand sets the source's own plan); none until set.
    const std::optional<ScriptBlok>& ImportPlan() const { return m_importPlan; }
    // Nothing derived from a plan outlives the transfer that read it, so the next transfer reads the plan
    // as it is then: a plan replaced here, or whose lines were changed in place, is never half used.
    void SetImportPlan(std::optional<ScriptBlok> plan);

    // The article items the user selected; none until the transfer driver sets them.
    std::shared_ptr<ItemCollection> ColItemsGeselecteerd;
    // List-only reading puts the items it finds in ColItemsDistinct (start/itemlijst.h).

    // The listener of the progress events (may be none).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_melder.SetOntvanger(ontvanger); }
    // Stops the run after the line in hand; may be called from inside an event or a yield.
    void Cancel() { m_run->cancel(); }
    // The run context to share (a driver's, whose cancel then stops this run too); none: a new one.
    void SetRunContext(RunContextPtr run);
    const RunContextPtr& runContext() const { return m_run; }

    // Reads the source's articles (InlezenBestand) or article groups (InlezenBestandArtikelGroepen);
    // with alleenLijst the items go to ColItemsDistinct, otherwise the lines are kept for the transfer.
    // The source must outlive the engine's use of it.
    bool InlezenBestand(clsBron2& bron, bool alleenLijst);
    bool InlezenBestandArtikelGroepen(clsBron2& bron, bool alleenLijst);

    // The lines read for the transfer, in file order.
    const QList<ArtikelRegel>& GelezenRegels() const { return m_lezer.GelezenRegels(); }
    qint32 AantalFouten() const { return m_melder.AantalFouten(); }
    qint32 AantalNieuw() const { return m_melder.AantalNieuw(); }
    qint32 AantalBestaand() const { return m_melder.AantalBestaand(); }

    // The run: builds the source's plan, reads the file, opens the product table at doelPad (a file path,
    // or "*" + an SQL Server description) and transfers the lines by the article mode of the import
    // options. True only when reading, opening and the transfer all succeeded.
    bool OverzettenBestand(clsBron2& bron, const QString& doelPad);
    // The transfer step of the run on its own: the lines into the product table that `pt` holds open, by
    // the plan as set (SetImportPlan) and the article mode of the import options.
    bool OverzettenArtikelen(const clsBron2& bron, clsPT& pt, const QList<ArtikelRegel>& regels);

    // "YYYY/M/D" of an eight-digit date (20240305) or of a date text; empty when it is no date.
    static QString DatumTekst(const QString& waarde);
    // The column texts of the line, each followed by " ; ".
    static QString RegelOmschrijving(const ArtikelRegel& regel)
    {
        return ImportMelder::RegelOmschrijving(regel);
    }
    // Whether the run has been cancelled or stopped by a failure.
    bool Geannuleerd() const { return m_melder.Gestopt() || m_run->cancelled(); }

    // Draws one digit (0-9) of a generated foreign-key code; random by default, fixed in tests.
    void SetCijferBron(std::function<int()> bron) { m_cijferBron = std::move(bron); }

private:
    // What the transfer step works with.
    struct Stap
    {
        const clsBron2& bron;
        clsPT& pt;
        const ArtikelImportPlan& plan;
        ArtikelSleutels& sleutels;
        ArtikelSchrijver& schrijver;
        const QList<ArtikelRegel>& regels;
    };

    bool inlezen(clsBron2& bron, bool alleenLijst, bool groepen);
    bool OpenenProductentabel(const QString& doelPad);
    void SluitenProductentabel();
    bool OnderdeelGeselecteerd(const QString& code) const;
    // Column count and required values; a failure is reported and stops the run.
    bool ControleerRegel(const Stap& stap, const ArtikelRegel& regel);
    bool overzetten(const Stap& stap);
    // The passes over the lines, in one transaction where the product table has them.
    bool overzettenInTransactie(const Stap& stap, qint32 groepId, qint32 leverancierId, bool prijzen,
                                bool nieuw);
    bool overzettenRegels(const Stap& stap, qint32 groepId, qint32 leverancierId, bool prijzen, bool nieuw);

    std::optional<ScriptBlok> m_importPlan;
    // The codes of ColItemsGeselecteerd, folded (platform/codecompare.h), for the step in hand.
    QSet<QString> m_geselecteerdeCodes;
    RunContextPtr m_run;
    ImportMelder m_melder;
    ArtikelBestandLezer m_lezer;
    std::function<int()> m_cijferBron;
    // The product table of a run (none before it is opened).
    std::unique_ptr<clsPT> m_pt;
};

} // namespace supplink
