#pragma once
// The library synchronisation engine: copies the library parts the user
// selected (pane-groove tables, edge grooves, element-groove tables, low-relief
// sill combinations, post combinations, and between libraries of the 3.50
// layout also hardware combinations and hardware choices) from a supplier's
// library (the transfer driver's work copy of it) into the user's library.
//
//     clsSyncLIB engine;
//     engine.SetOntvanger(&driver);
//     engine.Sync(sourceCopy, targetWorkCopy, true, "1;3;4");   // family codes, in the driver's order
//
// Family codes: 1 pane grooves, 2 edge grooves, 3 element grooves, 4 low-relief
// combinations, 5 post combinations, 6 hardware combinations, 7 hardware
// choices (6 and 7 only between 3.50 libraries, and only with their import
// option). Each family copies the program-wide selection of its step.
//
// Three paths, chosen by the pair of files:
//   - Jet (either file not SQLite): the main rows through the recordset copier,
//     then the children of the rows this run added by one INSERT ... SELECT on
//     the target that joins the source (attached for the statement) and the
//     codes written into tmpSelected in the source work copy;
//   - SQLite: the main rows through the SQLite copier, then the children of
//     selected rows that have none in the target;
//   - SQLite 3.50: the main rows only (that layout keeps no child tables), and
//     the hardware combinations (their Data merged as JSON) and choices.
// Main rows the target holds are counted as existing and left as they are;
// hardware combinations and choices of 3.50 libraries are brought up to date.
//
// Every failure is counted and raised as FoutOpgetreden, so the driver never
// keeps a work copy in which parent rows lack their children. A Jet file that
// cannot be written on this system is refused as a target before it is opened.
//
// The same class reads for the wizard's selection steps (itemlijst.h): the
// hardware combinations and choices a 3.50 library holds, and what chosen
// parts require (groove shapes, articles). A reader opens the source itself
// (or reads on the source a reader before it opened), appends to
// ColItemsDistinct and answers whether the list is complete; a failure is
// shown in the error window and answers False.
//
//     clsSyncLIB lezer;
//     lezer.SetColItemsDistinct(vereist);
//     if (lezer.LaagreliefArtikelenVerplichtDistinct(pad, gekozenDorpels))
//         vereist = lezer.ColItemsDistinct();

#include "start/items.h"
#include "start/itemlijst.h"
#include "sync/syncengine.h"

#include <QSet>
#include <QString>
#include <memory>
#include <optional>

namespace supplink {

class clsConnectie;
class clsImportTabelNaarTabel;
class clsImportSQLiteTabelNaarSQLiteT;
// One family of library parts (defined with the engine).
struct BibliotheekFamilie;

class clsSyncLIB : public SyncEngine, public ItemLijst
{
public:
    clsSyncLIB();
    // Closes whatever connection is still held.
    ~clsSyncLIB() override;

    // Source path (the work copy), target path, whether the version records must match, and the family
    // codes as ";"-separated numbers. An empty text does nothing. The outcome is reported through the
    // events.
    void Sync(const QString& bronPad, const QString& doelPad, bool versieControle, const QString& families);

    // The Jet path over the open files (called by Sync). Throws AppError, before anything is copied, when a
    // family code is no number.
    void SyncJET(const QString& families);

    // Set by the SQLite version check: both libraries are of version 3.50.
    bool Formaat35() const { return m_formaat35; }
    // The versions read by the Jet version check ("3.30"), empty until then.
    QString BronVersie() const { return m_bronVersie; }
    QString DoelVersie() const { return m_doelVersie; }

    // ---- Selection readers ----
    // The hardware choices (CustomLHCombi) or combinations (LocksHingesCombi) of a library source, in the
    // order of their descriptions: ID, Code and Description (empty when it has none), one item per code (a
    // code already in the collection is not added again).
    bool CustomLHCombiDistinct(const QString& strBronPath);
    bool LocksHingesCombiDistinct(const QString& strBronPath);

    // ---- Required-items readers ----
    // The groove shapes the chosen parts use (one item per shape, its code), by the kind of the parts: 1 pane
    // groove tables, 2 edge grooves, 3 element groove tables, 4 low-relief sill combinations (their pane and
    // edge groove shapes). The items of xCol whose Selected flag is set count; no collection: False.
    bool SponningFigurenVerplichtDistinct(const QString& strBronPath,
                                          const std::optional<ItemCollection>& xCol, qint32 soort);
    // The articles the chosen low-relief sill or post combinations use: their own article and the articles of
    // their usage rows (one item per article code). The source is read as it is, without a version check.
    bool LaagreliefArtikelenVerplichtDistinct(const QString& strBronPath,
                                              const std::optional<ItemCollection>& xCol);
    bool NeutArtikelenVerplichtDistinct(const QString& strBronPath,
                                        const std::optional<ItemCollection>& xCol);
    // The post articles read on the source a reader opened before.
    bool NeutArtikelenVerplichtDistinctJET(const std::optional<ItemCollection>& xCol);
    bool NeutArtikelenVerplichtDistinctSQLite(const std::optional<ItemCollection>& xCol);
    // A library holds no combinations that hardware tables require: an empty collection (False without xCol).
    bool LocksHingesCombiVerplichtDistinct(const std::optional<ItemCollection>& xCol);

private:
    using Familie = BibliotheekFamilie;

    bool ConnectBron(const QString& pad);
    bool ConnectDoel(const QString& pad);
    bool OpenenEnControleren(const QString& bronPad, const QString& doelPad, bool versieControle);
    void Sluiten();
    bool VersionCheck();
    bool VersionCheckSQLite();
    void VersieMeldingBox(const QString& melding);

    void SyncSQLite(const QString& families);
    void SyncSQLite35(const QString& families);

    // The family's selection with this run's marks cleared; on the Jet path an empty selection becomes the
    // list of every code of the source's main table (see the source). Throws AppError when the source
    // cannot be read.
    ItemCollection Selectie(const Familie& familie, bool legeSelectieIsAlles);
    // Writes the codes the copier added or updated into tmpSelected in the source. False when that failed
    // (counted).
    bool SchrijfTmpSelected(const ItemCollection& selectie);

    void SyncSponningFiguren(const ItemCollection& selectie, const QString& tabel, const QString& deleteSql);
    void SyncSponningFigurenSQLite(const ItemCollection& selectie, const QString& tabel,
                                   const QString& deleteSql);
    void SyncLinkedTabel(const QString& bronTabel, const QString& bronKind, const QString& bronVelden,
                         const QString& doelTabel, const QString& doelKind, const QString& doelVelden,
                         const QString& ouderSleutel, const QString& koppeling);
    void SyncLinkedTabelSQLitePaneGrooveTable();
    void SyncLinkedTabelSQLiteOuterGrooveTable();
    void SyncLinkedTabelSQLiteTreshHoldArticleUsage();
    void SyncLinkedTabelSQLiteTreshHoldExtArticleUsage();
    void SyncLinkedTabelSQLite(const Familie& familie, const QString& routine);
    void LocksHingesCombiSQLite();
    void CustomLHCombiSQLite();
    void HangSluitwerkSQLite(const Familie& familie, bool combinaties);

    // Readers.
    bool BuildDistinctSQLite(const QString& pad, const QString& sql);
    void ToevoegenUniekItem(QSet<QString>& aanwezig, qint32 id, const QString& code,
                            const QString& omschrijving);
    // Appends the column Code of every row of the statement on the open source (rows without a code are
    // skipped). False, after the error window, when it could not be read.
    bool LeesCodes(const QString& routine, const QString& sql);
    bool LaagreliefArtikelenVerplichtDistinctJET(const ItemCollection& xCol);
    bool LaagreliefArtikelenVerplichtDistinctSQLite(const ItemCollection& xCol);
    // A required-articles reader on the open source (low-relief sills, or posts): the combinations' own
    // articles and those of their usage rows.
    bool ArtikelenVerplicht(const QString& routine, bool neuten, const std::optional<ItemCollection>& xCol);

    clsImportTabelNaarTabel& nieuweKopieerder();
    clsImportSQLiteTabelNaarSQLiteT& nieuweSQLiteKopieerder();
    // Shows the error in the error window and counts it (FoutOpgetreden with 1).
    void Fout(const QString& routine, const std::exception& e);
    // A check or open that failed: its line and FoutOpgetreden with 1.
    void Mislukt(const QString& actie, const QString& tekst);

    std::unique_ptr<clsConnectie> m_bron;
    std::unique_ptr<clsConnectie> m_doel;
    std::unique_ptr<clsImportTabelNaarTabel> x;
    std::unique_ptr<clsImportSQLiteTabelNaarSQLiteT> xSQLitetoSQLite;
    VoortgangDoorgever m_relayX;
    VoortgangDoorgever m_relaySQLite;
    bool m_formaat35 = false;
    QString m_bronVersie;
    QString m_doelVersie;
};

} // namespace supplink
