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
//     copier.SetOntvanger(&relay);                 // receives the progress events
//     copier.SkipFieldsCollection << "ID";
//     copier.strKeyField = "Code"; copier.strIDField = "ID"; copier.strFieldOnderdeelFilter = "Code";
//     copier.colFilter = selectedItems;           // std::nullopt: no row is wanted
//     copier.NieuweOnderdelenToevoegen = true;
//     copier.OverzettenRecordSet(source, "SELECT * FROM GrooveShape", "WHERE Code=", sourceCn, targetCn);
//
// Writes on an SQLite target are grouped in one transaction per call, which
// is committed at the end of the call, also when the call ends on an error or
// a cancel: a row once written stays, as with a commit per row. The work of an
// existing row (deleting its child rows, writing its fields) is undone as a
// whole when one of its fields cannot be written.

#include "database/recordset.h"
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

    // Field names never written into a new row ("ID").
    QStringList SkipFieldsCollection;
    // Fields that receive a generated number on a new row, and the base value of each (same position):
    // a new row gets the base plus the copier's running count of numbered values.
    QStringList OphoogFieldsCollection;
    QList<qint32> OphoogFieldValuesCollection;
    // Foreign keys to translate, and per key (same position) the referenced table in the source and in
    // the target, the field that identifies a referenced row in both ("Code") and its ID field ("ID").
    QStringList OpzoekFieldsCollection;
    QList<RecordsetPtr> OpzoekRecsetSourceCollection;
    QList<RecordsetPtr> OpzoekRecsetTargetCollection;
    QStringList OpzoekMatchFieldCollection;
    QStringList OpzoekIDFieldCollection;
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
    // The source field compared with the Code of the selected items.
    QString strFieldOnderdeelFilter;
    // The user's selection. No collection (std::nullopt) wants no row; what an empty collection means
    // depends on the copier.
    std::optional<ItemCollection> colFilter = ItemCollection();
    // Add source rows the target lacks.
    bool NieuweOnderdelenToevoegen = false;
    // Write onto rows the target already holds.
    bool WijzigingenDoorvoeren = false;

    // Stops the copy after the row in hand; may be called from inside an event.
    void Cancel() { m_cancel = true; }
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
    static QString AlgemeneDatum();

private:
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
    VoortgangOntvanger* m_ontvanger = nullptr;
    bool m_cancel = false;
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
    std::shared_ptr<clsItem> m_item; // the selected item of the row in hand
    QHash<QString, std::shared_ptr<clsItem>> m_selectie;
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
