#pragma once
// The options synchronisation engine: copies the hardware data the user chose
// (hardware tables with their dimensions, hardware combinations with their
// articles, hardware choices with their rows) from a supplier's options
// database into the user's options database (the transfer driver's work copy).
//
//     clsSyncOpt engine;
//     engine.SetOntvanger(&driver);
//     engine.Sync(sourcePath, workCopyPath, true);   // true: check the versions of the pair
//     if (engine.Fouten() > 0) ...                  // the events have said so already
//
// A run opens both files, checks (when asked) that their versions belong
// together, and takes one of three paths: two SQLite files (combinations,
// choices and their rows, the combinations' Data merged as JSON), the older
// Jet format (VELMORA 2.30, 2.40 and 3.0: combinations and their articles,
// hardware tables and their dimensions) or the newer Jet format (combinations
// and their articles, choices and their rows). Each path is a fixed sequence of
// table steps; every step copies one table through a table copier and the
// engine closes and reopens both files between steps. Rows are matched on
// Code, never on ID; an existing parent loses its child rows and gets the
// chosen source parent's children instead.
//
// What the run chooses is taken from the program-wide selections of hardware
// tables, combinations and choices and from the import options (hardware
// tables and combinations; hardware choices). Everything the run does reaches
// the listener through the progress events; every failure is counted and
// raised as FoutOpgetreden, so a run that copied nothing never looks like a
// success. A real Jet target is refused before it is opened (it cannot be
// written on this system); Jet files are read through their mirror.
//
// The same class reads the lists the selection steps show (the readers below
// ColItemsDistinct); they use the engine's source connection.

#include "start/items.h"
#include "start/itemlijst.h"
#include "sync/syncengine.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace supplink {

class clsConnectie;
class clsImportTabelNaarTabel;
class clsImportSQLiteTabelNaarSQLiteT;

class clsSyncOpt : public SyncEngine, public ItemLijst
{
public:
    clsSyncOpt();
    // Closes both connections.
    ~clsSyncOpt() override;

    // Source file, target file (the work copy) and whether the versions of the two must belong together.
    // The outcome is reported through the events.
    void Sync(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies);

    // Errors counted in the last run (the engine's own and those its copiers raised).
    qint32 Fouten() const { return m_fouten; }
    // The version texts of the last check ("3.10"); empty until a check has read them.
    const QString& BronVersie() const { return m_bronVersie; }
    const QString& DoelVersie() const { return m_doelVersie; }

    // ---- Selection readers ----------------------------------------------------------------------------
    // The readers list what a source holds for the selection steps: create an engine, hand it the step's
    // collection (SetColItemsDistinct), call one reader and, when it answers True, take ColItemsDistinct
    // back. A reader that could not read everything answers False (the items appended before the failure
    // stay, but the list is not complete); the failure has been shown in the error window.

    // The collection the readers fill (SetColItemsDistinct, ColItemsDistinct: start/itemlijst.h). Some
    // required-items readers replace it with a new one.

    // The hardware tables of the source (ID, Code, Description; by description). Raises
    // HuidigeHoofdActieDone at the end, also when the source does not open.
    bool InlezenBestandTabellen(const QString& strBronPath);
    // The hardware combinations of the source, as LocksHingesCombiDistinct; raises HuidigeHoofdActieDone at
    // the end, also when the source does not open.
    bool InlezenBestandCombies(const QString& strBronPath);
    // The hardware combinations and the hardware choices of the source (ID, Code, Description; by
    // description; a choice or combination without description gets an empty one).
    bool LocksHingesCombiDistinct(const QString& strBronPath);
    bool CustomLHCombiDistinct(const QString& strBronPath);

    // Required items, on the source a list reader of this engine opened. ColItemsDistinct becomes a new
    // collection with the combinations that the selected choices (items whose Selected is set) reach
    // through their rows, or that the selected hardware tables reach through their dimensions. False
    // without a collection.
    bool CustomLHCombiVerplichtDistinct(const ItemCollection* xCol);
    bool LocksHingesCombiVerplichtDistinct(const ItemCollection* xCol);
    // Appends to ColItemsDistinct (made when none is set) the codes of the articles of the chosen
    // combinations, each once. A Jet source: the combinations of selected items, through the article table
    // of the format DoelNieuweFormaatCombies names. An SQLite source: the articles in the Data of every
    // combination some item names (every combination when the collection is empty; Selected is not
    // consulted); a Data text that does not parse shows the parser's complaint once and adds nothing.
    // True with nothing added without a collection.
    bool LocksHingesArtikelVerplichtDistinct(const QString& strBronPath, const ItemCollection* xCol);

    // Whether the chosen options target keeps the articles of a combination in the newer format (link
    // column fkCombi): the wizard's answer. Without one the source's own version record decides, which
    // comes to the same for every pair the transfer accepts.
    std::function<bool()> IsDoelNieuweFormaatCombies;

    // False when there is no collection; true for an empty one; otherwise whether an item has the code.
    static bool OnderdeelGeselecteerd(const QString& code, const ItemCollection* items);
    // Appends an item with the code to ColItemsDistinct (made when none is set), unless an item has it.
    void ToevoegenUniekItem(const QString& code);

private:
    struct StapRegels;
    struct Stap;

    // Opening and closing.
    bool ConnectBron(const QString& pad);
    bool ConnectDoel(const QString& pad);
    bool ConnectBronDoel(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies);
    void DisconnectBronDoel();

    // The version check and the source's application type.
    bool VersionCheck();
    bool LeesVersie(clsConnectie& cn, bool bron, QString& appType);
    void WeigerCombinatie(const QString& melding);
    // gemeld: set when the type could not be read (the failure has been reported and counted).
    QString BronAppType(clsConnectie& cn, bool* gemeld = nullptr);
    QString BronAppTypeSQLite(clsConnectie& cn, bool* gemeld);
    QString BronAppTypeJET(clsConnectie& cn, bool* gemeld);
    QString leesAppType(clsConnectie& cn, bool* gemeld);

    // Progress totals of the three paths.
    void TelTotaalOudFormaat();
    void TelTotaalNieuwFormaat();
    void TelTotaalSQLite();
    void TelTotaal(const QStringList& tabellen);

    // The three paths.
    void SyncJETOudFormaat(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies);
    void SyncJETNieuwFormaat(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies);
    void SyncSQLite(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies);
    // The step protocol. foutBeeindigtRun: a failing step ends the run (older format) instead of only itself.
    void DoorloopPad(const QList<Stap>& stappen, const QString& strBronPath, const QString& strDoelPath,
                     bool bMatchVersies, bool foutBeeindigtRun);

    // The eleven table steps of the three paths: their rules, and the two ways they run.
    static const StapRegels& Regels(int stap);
    void JetStap(const StapRegels& regels);
    void SQLiteStap(const StapRegels& regels);

    // The readers behind the public ones.
    bool LocksHingesTableDistinct();
    bool BuildDistinct(const QString& strBronPath, const QString& sql);
    bool BuildVerplichtDistinct(const QString& kop, const QString& veld, const ItemCollection* xCol);
    bool LocksHingesArtikelVerplichtDistinctJET(const ItemCollection& xCol);
    bool LocksHingesArtikelVerplichtDistinctSQLite(const ItemCollection& xCol);
    // Adds the articles of one combination's Data; false after an error it has shown.
    bool HandleJSONData(const QString& data);
    // Appends one item per row of the statement on the open source (ID, Code, Description).
    void VoegItemsToe(const QString& sql, const QVariantList& params, ItemCollection& doel);
    ItemCollection& Items();
    bool BronNieuweFormaatCombies();

    // Counts an error of the engine itself: the run's count and FoutOpgetreden with 1.
    void TelFout();
    // Reports a line and counts it.
    void MeldFout(const QString& actie, const QString& omschrijving);

    std::unique_ptr<clsConnectie> m_bron;
    std::unique_ptr<clsConnectie> m_doel;
    // The copiers of the running Jet and SQLite steps; rows of x do not move the progress bar.
    std::unique_ptr<clsImportTabelNaarTabel> x;
    std::unique_ptr<clsImportSQLiteTabelNaarSQLiteT> xSQLitetoSQLite;
    VoortgangDoorgever m_relayX;
    VoortgangDoorgever m_relaySQLite;
    qint32 m_fouten = 0;

    QString m_bronVersie;
    QString m_doelVersie;
};

} // namespace supplink
