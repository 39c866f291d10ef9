#pragma once
// What the three table copiers share: their configuration, their counters,
// the row loop that decides for every source row whether it is wanted,
// whether the target holds it already, and then adds it, brings the chosen
// fields of the existing row up to date, or passes it over; the field rules
// (numbered fields, foreign keys translated through their codes, skip list,
// update list, JSON data merged), the deletion of an existing row's child
// rows, and the log lines and events of all of it.
//
// The copiers differ only in where the target rows are found (a recordset the
// caller opened, or a query on an SQLite target), in a few rules (what an
// empty selection means, whether foreign keys are translated on existing
// rows, which fields hold JSON data) and in their log texts. Each public
// class sets those and hands its arguments to the row loop here.
//
// Usage, as an engine does it:
//
//     clsImportSQLiteTabelNaarSQLiteT copier;
//     copier.SetRunContext(m_run);                 // the engine's: its Cancel stops the copier as well
//     copier.SetOntvanger(&relay);                 // receives the progress events
//     copier.SkipFieldsCollection << "ID";
//     copier.VoegOpzoekingToe("fkLocksHingesTable",              // match "Code", ID field "ID"
//                             source->openRecordset("SELECT * FROM LocksHingesTable"),
//                             target->openRecordset("SELECT * FROM LocksHingesTable"));
//     copier.VoegOphogingToe("OrderNr", highestOrderNr); // new rows get highest + 1, + 2, ...
//     copier.strKeyField = "Code"; copier.strIDField = "ID"; copier.strFieldOnderdeelFilter = "Code";
//     copier.colFilter = selectedItems;           // std::nullopt: no row is wanted
//     copier.NieuweOnderdelenToevoegen = true;
//     copier.OverzettenRecordSet(source, "SELECT * FROM GrooveShape", "WHERE Code=", sourceCn, targetCn);
//
// The foreign keys and the numbered fields are records, added whole through
// VoegOpzoekingToe and VoegOphogingToe (a field, its lookup tables and its
// match and ID fields belong together, as a numbered field and its base
// value do); the other settings are plain values.
//
// The row loop tests the run context's cancel flag after each row and gives
// the event loop a turn through its throttled yield; a call is a live run
// (RunScope) for as long as it lasts.
//
// Writes on an SQLite target are grouped in one transaction per call, which
// is committed at the end of the call, also when the call ends on an error or
// a cancel: a row once written stays, as with a commit per row. A grouping
// that cannot begin, or a commit the database refuses, is an error of the
// call (counted, FoutOpgetreden). The work of an existing row (deleting its
// child rows, writing its fields) is undone as a whole when one of its fields
// cannot be written.

#include "database/recordset.h"
#include "platform/codecompare.h"
#include "platform/runcontext.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace supplink {

class clsConnectie;

class TabelKopieerder
{
public:
    virtual ~TabelKopieerder();
    TabelKopieerder(const TabelKopieerder&) = delete;
    TabelKopieerder& operator=(const TabelKopieerder&) = delete;

    // A foreign key translated through the code of the row it refers to (the source value is looked up
    // in the source's referenced table by its ID field, the code found there in the target's).
    struct Opzoeking
    {
        QString veld;      // the foreign-key field of the copied table ("fkGroup")
        RecordsetPtr bron; // the referenced table in the source
        RecordsetPtr doel; // the referenced table in the target
        QString matchVeld; // identifies a referenced row in both databases ("Code")
        QString idVeld;    // the referenced table's ID field ("ID")
    };
    // A field that receives a generated number on a new row: the base plus the copier's running count of
    // numbered values (shared by all numbered fields and all calls).
    struct Ophoging
    {
        QString veld;
        qint32 basis = 0;
    };

    // Adds a foreign key to translate. Throws AppError, and changes nothing, when the field is empty, a
    // lookup table is missing or the field has a lookup already.
    void VoegOpzoekingToe(const QString& veld, RecordsetPtr bron, RecordsetPtr doel,
                          const QString& matchVeld = QStringLiteral("Code"),
                          const QString& idVeld = QStringLiteral("ID"));
    const std::vector<Opzoeking>& Opzoekingen() const { return m_opzoekingen; }
    // Adds a numbered field. Throws AppError, and changes nothing, when the field is empty or numbered
    // already.
    void VoegOphogingToe(const QString& veld, qint32 basis);
    const std::vector<Ophoging>& Ophogingen() const { return m_ophogingen; }

    // Field names never written into a new row ("ID").
    QStringList SkipFieldsCollection;
    // Fields copied onto a row the target already holds.
    QStringList UpdateFieldsCollection;
    // Statements ending in "=" that delete the child rows of an existing row; the row's ID completes them.
    QStringList DeleteLinkedTablesSQL;
    // The field that matches a source row with a target row; empty: every wanted row is new.
    QString strKeyField;
    // The key is compared as a number.
    bool strKeyIsNumeriek = false;
    // The target row's ID field, whose value completes DeleteLinkedTablesSQL; empty: no child deletion.
    QString strIDField;
    // The source field compared with the Code of the selected items (as codes compare: without regard to
    // case, platform/codecompare.h, as the key and the foreign keys are matched too).
    QString strFieldOnderdeelFilter;
    // The user's selection. No collection (std::nullopt) wants no row; what an empty collection means
    // depends on the copier.
    std::optional<ItemCollection> colFilter = ItemCollection();
    // Add source rows the target lacks.
    bool NieuweOnderdelenToevoegen = false;
    // Write onto rows the target already holds.
    bool WijzigingenDoorvoeren = false;

    // Stops the copy after the row in hand; may be called from inside an event or a yield. Cancels the run
    // context, so every copier and engine that shares it stops as well.
    void Cancel() { m_run->cancel(); }
    // The run context of the copier's loops: its own until one is shared (a null pointer gives it a
    // fresh one of its own).
    void SetRunContext(RunContextPtr run);
    const RunContextPtr& runContext() const { return m_run; }
    // The listener of the progress events (none: the events go nowhere).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_ontvanger = ontvanger; }

    // The rules in which the copiers differ (each copier sets its own).
    struct Beleid
    {
        QString routine;                         // the class name in error lines: "<routine>.TransferField"
        bool legeSelectieIsAlles = true;         // an empty colFilter wants every row (else none)
        bool sleutelsOpBestaand = true;          // translate foreign keys on existing rows as well
        bool doelNaarEersteRij = true;           // move the target recordset to its first row before each row
        const QStringList* jsonVelden = nullptr; // JSON data fields merged on an existing row
    };

protected:
    // Where the target row of a source row is found and written.
    class Doel
    {
    public:
        virtual ~Doel() = default;
        virtual void voorRij() {}
        // The recordset to write into, standing on the target row of the key when `bestaat`.
        virtual Recordset& zoek(const QVariant& sleutel, bool& bestaat) = 0;
        // The recordset in hand (for the error lines), or none.
        virtual Recordset* inHand() const = 0;
        // Rises each time zoek hands out another recordset.
        virtual int generatie() const { return 0; }
        // A row was added to the recordset zoek handed out (it stands on that row).
        virtual void toegevoegd(Recordset& rs) { Q_UNUSED(rs); }
    };

    enum class Verwerking
    {
        Rijen,        // add and update rows
        Leveranciers, // add suppliers to an SQL Server product table
    };

    explicit TabelKopieerder(Beleid beleid);

    // The row loop. Returns normally also after an error, which it has reported.
    void kopieer(const RecordsetPtr& bron, Doel& doel, clsConnectie& bronCn, clsConnectie& doelCn,
                 const QStringList& startRegels, Verwerking verwerking = Verwerking::Rijen);

    // A recordset the caller opened (key match as its Find does it).
    std::unique_ptr<Doel> recordsetDoel(const RecordsetPtr& doel) const;
    // A query on the target connection ("SELECT ... FROM t" and "WHERE Code="), read once.
    std::unique_ptr<Doel> queryDoel(const DbConnection& db, const QString& query, const QString& where) const;

    void Log(const QString& tekst);
    void Voortgang(const QString& actie, const QString& omschrijving);
    // Counts an error, raises FoutOpgetreden and writes the error line.
    void LogFout(const QString& routine, const AppError& fout);
    // Commits the writes of a call that ends on an error as well: what was written stays. A commit the
    // database refuses is counted and logged (LogFout); the guard then rolls back.
    void schrijfVast(Transaction& transactie, const QString& routine);
    static QString AlgemeneDatum();

private:
    // A code as the key of a hash: keys are equal as codes compare (platform/codecompare.h) and are hashed
    // over their folded code points, so that a lookup makes no folded copy of the code.
    struct CodeSleutel
    {
        QString code;
        friend bool operator==(const CodeSleutel& a, const CodeSleutel& b)
        {
            return codesEqual(a.code, b.code);
        }
        friend size_t qHash(const CodeSleutel& sleutel, size_t seed = 0) noexcept
        {
            return qHash(codeHash(sleutel.code), seed);
        }
    };
    struct VeldPlan;
    class RecordsetDoel;
    class QueryDoel;

    void bereidVoor(Recordset& bron);
    const std::vector<VeldPlan>& planVoor(Recordset& doel, int generatie);
    void verwerkRij(Doel& doel, Verwerking verwerking);
    void nieuweRij(Recordset& doel, const std::vector<VeldPlan>& plan);
    void bestaandeRij(Recordset& doel, const std::vector<VeldPlan>& plan);
    void nieuweLeverancier();
    bool OnderdeelGeselecteerd();
    bool TransferField(Recordset& doel, const VeldPlan& veld, bool nieuw);
    bool VreemdeSleutel(Recordset& doel, const VeldPlan& veld);
    void DeleteLinkedTables(qint32 id);
    QString sleutelTekst();
    QString RijOmschrijving(Recordset& rs) const;
    void LogVelden(const Recordset* rs);
    void foutpad(const QString& routine, const AppError& fout, Recordset* doel);
    int bronIndex(const QString& naam);

    Beleid m_beleid;
    RunContextPtr m_run = std::make_shared<RunContext>();
    VoortgangOntvanger* m_ontvanger = nullptr;
    std::vector<Opzoeking> m_opzoekingen;
    std::vector<Ophoging> m_ophogingen;
    qint32 m_nieuw = 0;
    qint32 m_bestaand = 0;
    qint32 m_fouten = 0;
    qint32 m_overgeslagen = 0;
    qint32 m_ophoogTeller = 0;

    // State of the running call.
    RecordsetPtr m_bron;
    Doel* m_doel = nullptr;
    clsConnectie* m_bronCn = nullptr;
    clsConnectie* m_doelCn = nullptr;
    std::shared_ptr<clsItem> m_item;                         // the selected item of the row in hand
    QHash<CodeSleutel, std::shared_ptr<clsItem>> m_selectie; // by code
    int m_sleutelIndex = -1;
    int m_filterIndex = -1;
    bool m_fkTypeRegel = false;
    std::vector<VeldPlan> m_plan;
    const Recordset* m_planDoel = nullptr;
    int m_planGeneratie = -1;
    std::vector<std::unique_ptr<Statement>> m_deleteStatements;
    // Foreign keys translated in this call, per key: the source value's text and what it became.
    struct Vertaling
    {
        QString code;
        QVariant id;     // the referenced target row's "ID"
        QVariant idVeld; // its ID field
        QVariant matchVeld;
    };
    std::vector<QHash<QString, Vertaling>> m_vertalingen;
    std::unique_ptr<Statement> m_organisatie;
    std::unique_ptr<Statement> m_leverancier;
};

} // namespace supplink
