#pragma once
// The hardware file import: a supplier's own CSV file or Excel workbook of
// hardware (locks and hinges: combinations of hardware articles with their
// positions and dimensions, or choices that group combinations), read into
// hardware lines (clsHangSluitRegel) by the source's column map. The selection
// steps use the engine to list what a file holds; the transfer reads the file
// and writes the selected parts into an options database or the library.
//
// Listing, as a selection step does it:
//
//     clsImportBestandHangSluit engine;
//     engine.SetOntvanger(&listener);
//     engine.SetColItemsDistinct(allItems);                 // a selection step
//     if (engine.InlezenBestand(bron, true)) ... allItems ...
//     engine.LocksHingesArtikelVerplichtDistinct(bron, chosenCombinations);   // the article selection
//
// The transfer, as the transfer driver does it:
//
//     clsImportBestandHangSluit engine;
//     engine.SetOntvanger(&driver);
//     engine.SetRunContext(run);            // shared with the driver: its Cancel stops the run
//     engine.ColItemsGeselecteerd = bron.CombiType != 0 ? selectedChoices
//                                   : !selectedTables.isEmpty() ? selectedTables : selectedCombinations;
//     const bool ok = engine.OverzettenBestand(bron, globals().gBibliotheekModus ? libWorkCopy :
//     optWorkCopy);
//
// OverzettenBestand reads the file, opens the target and writes by the target's
// kind and the source's CombiType (0 combinations, 1 choices):
//   - library mode (globals().gBibliotheekModus): combinations into the
//     library's LocksHingesCombi (library JSON data); choices are refused with
//     a message box;
//   - an SQLite options database: combinations into LocksHingesCombi (options
//     JSON data), choices into CustomLHCombi with their CustomLH links;
//   - a Jet options database of the newer format: combinations into
//     LocksHingesCombi with their LocksHingesArticle rows, choices as above;
//   - a Jet options database of the older format: hardware tables with their
//     grid of LocksHingesType cells, combinations and article rows, whatever
//     the CombiType.
// A Jet file that this system can only read is refused before anything is
// opened. The selected parts are written in one transaction, committed only
// when every part went well: a cancel, or any error of the run, leaves the
// target as it was and answers False (each error is reported and counted
// through FoutOpgetreden). Every part reports through the engine's
// ImportMelder, so the listener sees one stream of events.
//
// The writers live in their own files: hangsluitcombies.cpp (combinations),
// hangsluitkeuzes.cpp (choices) and hangsluitoudformaat.cpp (the older
// options format). The run is live on its run context (RunScope) while a
// reading or a transfer runs.

#include "import/clshangsluitregel.h"
#include "import/hangsluitbestandlezer.h"
#include "import/importmelder.h"
#include "platform/runcontext.h"
#include "start/itemlijst.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace supplink {

class AppError;
class clsBron2;
class clsConnectie;
class clsLIB;
class clsOPT;
class DatabaseBackend;
struct HangSluitOnderdelen;

class clsImportBestandHangSluit : public ItemLijst
{
public:
    clsImportBestandHangSluit();
    ~clsImportBestandHangSluit();
    clsImportBestandHangSluit(const clsImportBestandHangSluit&) = delete;
    clsImportBestandHangSluit& operator=(const clsImportBestandHangSluit&) = delete;

    // The parts the user selected (hardware tables, combinations or choices); none until the transfer
    // driver sets them. None selects nothing, an empty collection everything.
    std::shared_ptr<ItemCollection> ColItemsGeselecteerd;

    // The listener of the progress events (may be none).
    void SetOntvanger(VoortgangOntvanger* ontvanger);
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

    // The transfer: reads the source (always into hardware lines, whatever an earlier listing set) and
    // writes the selected parts into the target at doelPad, the library in library mode and the options
    // database otherwise (see the top of this file). True only when reading, opening and writing all went
    // well; every failure has been reported and counted. The source must outlive the call.
    bool OverzettenBestand(clsBron2& bron, const QString& doelPad);

    // The hardware lines of the last reading, in file order.
    const QList<HangSluitRegelPtr>& HangSluitRegels() const { return m_lezer.HangSluitRegels(); }

    // Errors of the run: those counted through MeldFout and the writers' error handlers, and those of
    // MeldFoutNummer, which keeps a count of its own.
    qint32 AantalFouten() const { return m_melder.AantalFouten() + m_foutNummers; }
    qint32 AantalNieuw() const { return m_melder.AantalNieuw(); }
    qint32 AantalBestaand() const { return m_melder.AantalBestaand(); }

    // The selection test of every writer: no selection selects nothing, an empty one everything, else the
    // code must be one of the selected codes (compared as codes compare, without regard to case).
    bool OnderdeelGeselecteerd(const QString& code) const;

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
    // ---- Reading and the run (clsimportbestandhangsluit.cpp) ----
    bool InlezenBronBestand(HangSluitBestandLezer::Modus modus);
    bool BronHeeft9of10() const;
    void FixBron();

    bool OverzettenBibliotheek(const QString& pad);
    bool OverzettenOpties(const QString& pad);
    // The caption "Openen onderhoud" / "Openen bibliotheek", the target line and the handle; a failure is
    // reported and counted. A Jet file this system can only read is refused before it is opened.
    bool ConnectOPT(const QString& pad);
    bool ConnectLIB(const QString& pad);
    void SluitenOPT();
    void SluitenLIB();
    // What both open steps share: the caption, the target line, the refusal of a Jet file this system can
    // only read, and the counted failure "<mislukt><pad>'" when `openen` does not open the handle.
    bool OpenenDoel(const QString& pad, const QString& kop, const QString& mislukt,
                    const std::function<bool()>& openen);
    // False, with a counted message, for a CombiType other than 0 (combinations) or 1 (choices).
    bool OnbekendCombiType();
    // True when the target has the tables (and columns: "Table.Column") the writer needs; otherwise a
    // counted message naming the first one missing.
    bool HeeftTabellen(DatabaseBackend& db, const QStringList& nodig);
    // Runs a writer in one transaction on db, committed only when it answers True without a new error and
    // without a cancel; otherwise rolled back (with a progress line saying so). Errors escaping the
    // writer are reported under `routine` and counted.
    bool InTransactie(const std::shared_ptr<DatabaseBackend>& db, const QString& routine,
                      const std::function<bool()>& schrijver);
    // A writer's error: shown in the error window under the routine's name and counted.
    void SchrijfFout(const QString& routine, const std::exception& fout);
    // Counts an error in the second count, raises FoutOpgetreden with it and writes
    // "Error (<name>): <number>-<description>" as a progress line.
    void MeldFoutNummer(const QString& naam, const AppError& fout);

    // ---- Combinations (hangsluitcombies.cpp) ----
    bool AanmakenCombiesInSQLiteOptions();
    bool AanmakenCombiesInOptPVC();
    bool AanmakenCombiesInLibrary();
    // The loop the three share: the distinct parts, their progress, the selection test ("Overgeslagen"),
    // one part written by `schrijf` (its errors reported under `routine`, counted, and the part skipped),
    // the yield and the cancel. True when the loop ran to its end.
    bool SchrijfCombinaties(const QString& routine,
                            const std::function<void(const HangSluitRegelPtr& deel,
                                                     const QList<HangSluitRegelPtr>& regels)>& schrijf);
    void AanmakenArtikelInOptPVC(DatabaseBackend& db, const clsHangSluitRegel& regel, qint64 combiId);

    // ---- Choices (hangsluitkeuzes.cpp) ----
    bool AanmakenKeuzesInSQLiteOptions();
    bool AanmakenKeuzesInOptPVC();
    bool AanmakenKeuzesInLibrary();
    // The loop of the two options writers; `keuze` writes the choice row and gives its ID, `combiId` finds
    // a member combination's ID (none when the target lacks it).
    bool SchrijfKeuzes(const std::function<qint64(const clsHangSluitRegel& deel)>& keuze,
                       const std::function<std::optional<qint64>(const QString& code)>& combiId);
    qint64 AanmakenKeuzeInOpt(const clsHangSluitRegel& deel);
    qint64 AanmakenKeuzeInSQLiteOptions(const clsHangSluitRegel& deel);
    // The one choice row of both: the row of the code deleted with its links, the row added.
    qint64 AanmakenKeuze(const clsHangSluitRegel& deel);

    // ---- The older options format (hangsluitoudformaat.cpp) ----
    bool OverzettenOPTOudFormaat();
    bool AanmakenCombiesInOptOud();
    qint64 AanmakenTabelInOpt(const clsHangSluitRegel& regel);
    qint64 AanmakenCombiInOptOud(const clsHangSluitRegel& regel, qint32& teller, bool& hergebruikt,
                                 QList<HangSluitRegelPtr>& gemaakt);

    // The connection the writers work on: the open options database or library.
    clsConnectie& Doel() const;

    RunContextPtr m_run;
    ImportMelder m_melder;
    VoortgangOntvanger* m_ontvanger = nullptr;
    HangSluitBestandLezer m_lezer;
    clsBron2* m_bron = nullptr;
    std::shared_ptr<ItemCollection> m_verplicht;
    bool m_distinctModus = false;
    bool m_verplichtModus = false;
    std::unique_ptr<clsOPT> m_opt;
    std::unique_ptr<clsLIB> m_lib;
    qint32 m_foutNummers = 0;
    // During a transfer: the selected codes as codes compare, and the collection they were taken from.
    QSet<QString> m_geselecteerd;
    std::shared_ptr<ItemCollection> m_geselecteerdVan;
};

} // namespace supplink
