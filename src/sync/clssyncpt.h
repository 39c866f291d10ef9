#pragma once
// The product-table synchronisation engine: copies the articles of chosen
// article types, with their suppliers, article groups, calculation groups,
// mirrored-article links and price tables, from a supplier's product table
// (the transfer driver's work copy of it) into the user's product table: a
// file (SQLite, or Jet through its mirror) or a database on SQL Server.
//
//     clsSyncPT engine;
//     engine.SetOntvanger(&driver);
//     engine.Sync(workCopy, target, {}, true, "4;8");
//
// The same engine lists a source's article groups and articles for the
// selection steps (a new engine per reading):
//
//     clsSyncPT reader;
//     reader.SetColItemsDistinct(allItems);        // appended to; none: a new list
//     if (reader.InlezenBestandArtikelen(source, "4;8")) allItems = reader.ColItemsDistinct();
//
// A reader answers True only when it read its whole list: a source that does
// not open, an empty type list, a read error (shown in the error window) or a
// cancel answers False; items appended before an error stay in the list.
//
// Rows are matched on Code, never on ID; foreign keys are carried over by the
// code of the row they refer to. Codes compare without regard to case, for
// every letter (platform/codecompare.h), in the copiers and in the statements
// alike. The price rows of exactly the articles whose old rows the article
// pass deleted (and of the articles it added) are copied: never on top of
// rows that stayed. On SQL Server the whole run is one
// transaction, committed only when no error at all was counted; a cancel or
// an error that ends the run rolls it back. Every error is counted and raised
// as FoutOpgetreden, so the driver never keeps a work copy of a failed run.

#include "database/databasebackend.h"
#include "start/items.h"
#include "start/itemlijst.h"
#include "sync/syncengine.h"

#include <QList>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

namespace supplink {

class clsConnectie;
class clsImportTabelNaarTabel;
class TabelKopieerder;
class AppError;

class clsSyncPT : public SyncEngine, public ItemLijst
{
public:
    clsSyncPT();
    // Closes both connections (a transaction still open is not committed).
    ~clsSyncPT() override;

    // Source path (the work copy), target path (a file, or "*" and an SQL Server description), a collection
    // the engine does not use, whether both version records must be readable, and the article types as
    // ";"-separated numbers. The outcome is reported through the events.
    void Sync(const QString& bronPad, const QString& doelPad, const ItemCollection& genegeerd,
              bool versieControle, const QString& types);

    // The readers append to ColItemsDistinct (SetColItemsDistinct before a reading, take it back after:
    // start/itemlijst.h).
    // The article groups used by the articles of the types (";"-separated numbers), one item each (ID, Code,
    // Description), by description. The second argument is not used.
    bool InlezenBestandArtikelGroepen(const QString& strBronPath, const QString& ongebruikt,
                                      const QString& types);
    // The articles of the types, one item each (ID, Code, Description, CodeGespiegeld: the code of the
    // mirrored article or "", Groep: the group's ID), by description. Sources before version 3.11 link a
    // mirrored article by its ID, later ones (and every SQLite source) by its code.
    bool InlezenBestandArtikelen(const QString& strBronPath, const QString& types);

    // Errors counted in the last run.
    qint32 Fouten() const { return m_fouten; }
    QString BronVersie() const { return m_bronVersie; }
    QString DoelVersie() const { return m_doelVersie; }

private:
    bool ConnectBron(const QString& pad);
    // The readers' own queries on the open source; false after a read error (shown) or a cancel.
    bool ArtikelGroepenDistinct(const QList<qint32>& types);
    bool ArtikelenDistinctJET(const QList<qint32>& types);
    bool ArtikelenDistinctSQLite(const QList<qint32>& types);
    // Appends an item per row of the statement (ID, Code, Description; for articles also Groep from
    // fkGroup and CodeGespiegeld); the routine's name goes to the error window.
    bool LeesLijst(const QString& routine, const QString& sql, bool artikelen);
    // The list to append to (made when none is set).
    ItemCollection& teVullenLijst();
    bool ConnectDoel(const QString& pad);
    bool LeesVersies();
    bool LeesVersie(clsConnectie& cn, bool bron);
    qint32 TelArtikelen();

    void SyncSuppliers(qint32 supplier);
    void SyncArtGroepen(qint32 supplier, qint32 type);
    void SyncCalcGroepen(qint32 supplier, qint32 type);
    void SyncGroepen(const QString& tabel, const QString& sleutel, qint32 supplier, qint32 type);
    void SyncArtikelen(bool tweedePass, qint32 supplier, qint32 type);
    void VulSelectie();
    // After the first pass of a type: the articles it added or updated (not those marked before it).
    void NoteerGeschreven(qint32 type, const QSet<const clsItem*>& alGeschreven);
    // The items of the selection that are in the set, in selection order.
    ItemCollection geschrevenArtikelen(const QSet<const clsItem*>& artikelen) const;
    // Fills tmpSelected with these articles (when it does not hold them already); a failure is counted.
    void VulSelectieTabel(const ItemCollection& artikelen);
    bool TypeMetTabelGeselecteerd(const QList<qint32>& types, const QString& tabel);
    void SyncPriceData1D();
    void SyncPriceData2D();
    void SyncPriceData(bool tweeD);
    // Commits or rolls back the run's transaction on SQL Server (nothing without one); a failure is shown and
    // counted.
    void TransactieAfsluiten(bool vastleggen);

    // Runs the copier in x (row copy) on the two cursors.
    void kopieerderDraaien(const RecordsetPtr& rsBron, const RecordsetPtr& rsDoel);
    // A new copier in x, reporting through the relay.
    clsImportTabelNaarTabel& nieuweKopieerder();
    // Counts an error of the engine itself: the error counter and FoutOpgetreden with 1.
    void TelFout();
    // Shows the error and counts it.
    void Fout(const QString& routine, const std::exception& e);

    // Statement forms by connection: SQL Server, else the Jet form (translated for SQLite).
    QString doelSql(const QString& sqlServer, const QString& jet) const;
    QString bronSql(const QString& jet) const;
    bool doelIsServer() const;

    std::unique_ptr<clsConnectie> m_bron;
    std::unique_ptr<clsConnectie> m_doel;
    std::unique_ptr<clsImportTabelNaarTabel> x;
    VoortgangDoorgever m_relay;
    qint32 m_fouten = 0;
    // The run's transaction on an SQL Server target (none on a file).
    std::optional<Transaction> m_transactie;

    QString m_bronVersie;
    qint32 m_bronMajor = 0;
    qint32 m_bronMinor = 0;
    QString m_doelVersie;
    qint32 m_doelMajor = 0;
    qint32 m_doelMinor = 0;

    QList<qint32> m_types;
    // The articles this run may copy: the user's selection, or every article of the chosen types.
    ItemCollection m_selectie;
    // The articles the first pass wrote, and of those the ones whose 1D or 2D price rows are replaced: a new
    // article, or an existing one whose old rows of that table the pass deleted. The price steps copy the
    // rows of exactly these articles, so no article ends with old and new rows side by side.
    QSet<const clsItem*> m_geschreven;
    QSet<const clsItem*> m_prijzen1D;
    QSet<const clsItem*> m_prijzen2D;
    // The target's articles as the first pass reads them, opened once for all types of a run: every pass
    // of a type finds the articles the passes before it wrote (the recordset holds its own inserts with
    // their new IDs), and the whole table is not read again for every type.
    RecordsetPtr m_doelArtikelen;
    // What tmpSelected holds now (none: unknown).
    std::optional<ItemCollection> m_selectieTabel;
};

} // namespace supplink
