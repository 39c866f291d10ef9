#pragma once
// The recordset model: the rows of one query, held client-side, with
// navigation, search, filter and writing back by key. One class serves every
// back-end (SQLite, the Jet mirror, Excel, SQL Server).
//
// ---------------------------------------------------------------------------
// Developer note: working with a connection and a recordset
// ---------------------------------------------------------------------------
// Open a database through a connection object and take its live connection:
//
//     clsConnectie cn;
//     if (!cn.MakenJetorSQLiteConnectie(path, QString()))   // reports its own failure
//         return false;
//     DbConnection db = cn.Connection();                    // shared_ptr<DatabaseBackend>
//
// Read rows. openRecordset throws AppError (catch it and ShowError it, as the
// routine's error handler would). A new recordset stands on its first row;
// an empty one is at bof() and eof() at once.
//
//     RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM Article WHERE fkType = ?"), {type});
//     const int code = rs->fieldIndex(QStringLiteral("Code"));     // look a name up once for long loops
//     for (; !rs->eof(); rs->moveNext())
//         use(rs->value(code), rs->value(QStringLiteral("Description")));
//
// Fields are found by name without regard to case ("CODE" finds Code), and a
// column of a joined query also by "Table.Column". value() gives QVariant; an
// invalid QVariant is a database null (NzString / NzLong read it). field(name)
// gives name(), type() (adType numbers: 3 integer, 5 double, 202 text, ...)
// and definedSize() ("TEXT(50)" gives 50).
//
// Search and filter take the criteria of criteria.h ("Code = 'A''B'", "ID=5",
// "Code LIKE 'X*' AND Type = 2"); text compares as codes compare (without regard
// to case, for every letter: platform/codecompare.h):
//     rs->findFirst(crit)    search from the first row; true when found
//     rs->find(crit)         search forward from the current row; at eof() when not found
//     rs->setFilter(crit)    only matching rows are visible (empty text: all rows again)
// Quote text values with SQLQuotes, or better: bind values as "?" parameters
// in the statement itself.
//
// Change rows. Writes go to the one table the query reads (it must hold the
// table's primary key or be a plain single-table SELECT, so the row can be
// found again; SQLite uses its rowid then):
//     rs->addNew();  rs->setValue("Code", code);  rs->update();   // insert; an auto-number ID is filled in
//     rs->setValue("Price", 12.5);  rs->update();                 // change the current row
//     rs->cancelUpdate();                                         // forget the pending changes
//     rs->deleteCurrent();                                        // delete the current row
// A query over joined tables or of computed columns reads only. An added row
// keeps the values that were set (defaults of the table are not read back;
// an auto-number ID is). Values are converted to the field's type on setValue
// (a text that is no number for a number field throws TypeMismatch). Moving, searching or
// filtering with pending changes writes them first; closing or destroying the
// recordset forgets them. updateBatch() is update() (every row is written at once).
//
// Many writes belong in one transaction, which makes them all-or-nothing and
// fast (a commit per row costs a disk flush):
//     Transaction transaction(db);        // begins
//     ... rs->addNew() / update() in a loop ...
//     transaction.commit();               // without it, leaving the scope rolls back
// or db->beginTrans() / commitTrans() / rollbackTrans() directly; they nest.
//
// Statements without rows: db->execute(sql, params) throws on error;
// cn.Execute(sql) reports through the error window; cn.ExecuteSilent(sql) says
// nothing. For a statement run many times, db->prepare(sql) gives a Statement
// to bind() and execute() again and again.
//
// Close with cn.SluitenConnectie(): the file is closed even while recordsets
// live; they keep their rows for reading, but can no longer write.
//
// ADO names: MoveFirst/MoveNext/MovePrevious/MoveLast, EOF/BOF, RecordCount,
// Find, Filter, AddNew, Update, UpdateBatch, CancelUpdate, Delete, Requery,
// Fields(name).Value/.Type/.DefinedSize/.Name, Source map onto the members below.
// ---------------------------------------------------------------------------

#include "database/databasebackend.h"

#include <QByteArray>
#include <QHash>
#include <map>

namespace supplink {

class Criteria;
class Recordset;

// One field of the current row; a light handle, valid while its recordset lives.
class Field
{
public:
    Field(Recordset* recordset, int index) : m_recordset(recordset), m_index(index) {}

    int index() const { return m_index; }
    const QString& name() const;
    int type() const;
    int definedSize() const;
    QVariant value() const;
    void setValue(const QVariant& value) const;

private:
    Recordset* m_recordset;
    int m_index;
};

class Recordset
{
public:
    enum class EditMode
    {
        None,
        Edit,
        Add
    };

    // Made by DatabaseBackend::openRecordset.
    Recordset(DbConnection db, QString source, QVariantList params, ResultData data);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // The statement the rows come from.
    const QString& source() const { return m_source; }
    const DbConnection& connection() const { return m_db; }
    bool isOpen() const { return m_open; }
    // Forgets pending changes and the rows.
    void close();

    // Fields.
    int fieldCount() const { return int(m_columns.size()); }
    const ColumnInfo& column(int index) const;
    // The field's position (case-insensitive; "Table.Column" for a joined column), -1 when absent.
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // The field, or throws ItemNotFound.
    Field field(const QString& name) { return Field(this, requireIndex(name)); }
    Field field(int index);
    QVariant value(int index) const;
    QVariant value(const QString& name) const { return value(requireIndex(name)); }
    void setValue(int index, const QVariant& value);
    void setValue(const QString& name, const QVariant& value) { setValue(requireIndex(name), value); }

    // Position.
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    // The number of visible rows (after the filter).
    qsizetype recordCount() const { return m_live; }

    // Search and filter.
    bool find(const QString& criteria);
    // The same with a criterion made in code (Criteria::equalTo); its field names are looked up here.
    bool find(Criteria criteria);
    bool findFirst(const QString& criteria);
    // The same from the first row with a criterion made in code.
    bool findFirst(Criteria criteria);
    void setFilter(const QString& criteria);
    const QString& filter() const { return m_filterText; }

    // Changes.
    void addNew();
    void update();
    void updateBatch() { update(); }
    void cancelUpdate();
    void deleteCurrent();
    EditMode editMode() const { return m_mode; }
    // Reads the rows again from the database (the filter stays); stands on the first row.
    void requery();

private:
    // Rows by a hash of their text as the comparison of codes sees it (codeHash). Texts that share a hash
    // share a list; a search checks every row it takes from the list against its criterion.
    struct TextIndex
    {
        QHash<quint64, std::vector<qsizetype>> rows;
    };
    struct NumberIndex
    {
        QHash<double, std::vector<qsizetype>> rows;
    };

    void load(ResultData data);
    int requireIndex(const QString& name) const;
    void requireOpen() const;
    qsizetype visibleCount() const;
    qsizetype storageRow(qsizetype position) const
    {
        return m_filtered ? m_visible[size_t(position)] : position;
    }
    bool isDeleted(qsizetype row) const { return !m_deleted.empty() && m_deleted[size_t(row)]; }
    const QVariant& cell(qsizetype row, int column) const { return m_data.row(row)[column]; }
    qsizetype currentRow() const; // throws NoCurrentRecord
    void skipDeletedForward();
    void skipDeletedBackward();
    void writePending();
    void resetEdit();
    // The criterion parsed and its fields found; the last one is kept for the next call.
    const Criteria& compile(const QString& text);
    bool matches(qsizetype row, const Criteria& criteria) const;
    qsizetype search(qsizetype fromPosition, const Criteria& criteria);
    const std::vector<qsizetype>* indexedRows(const Criteria& criteria, int& term);
    void indexAdd(int column, qsizetype row, bool text, bool number);
    void indexRemove(int column, qsizetype row);
    void requireWritable() const;
    QString tableName() const;
    QString keyCondition() const;
    void bindKey(Statement& statement, int first, qsizetype row) const;
    void insertRow();
    void updateRow();
    QVariant coerce(const QVariant& value, const ColumnInfo& column) const;

    DbConnection m_db; // first: statements below go before their database
    QString m_source;
    QVariantList m_params;
    bool m_open = true;

    QList<ColumnInfo> m_columns;
    int m_width = 0;
    qsizetype m_rows = 0;
    RowStore m_data;
    bool m_rowLocators = false;
    std::vector<qint64> m_rowids;
    std::vector<char> m_deleted; // empty until the first delete
    QString m_schema;
    QString m_table;
    QList<int> m_keyColumns;
    // Field names found without regard to case, without building a folded copy of the name.
    struct NameKey
    {
        QString name;
        bool operator==(const NameKey& other) const
        {
            return name.compare(other.name, Qt::CaseInsensitive) == 0;
        }
    };
    friend size_t qHash(const NameKey& key, size_t seed) noexcept;
    QHash<NameKey, int> m_names;
    struct NameCacheEntry
    {
        QString name;
        int index = -1;
    };
    mutable NameCacheEntry m_nameCache[16];

    bool m_filtered = false;
    std::vector<qsizetype> m_visible;
    QString m_filterText;
    qsizetype m_position = 0;
    qsizetype m_live = 0;

    EditMode m_mode = EditMode::None;
    std::vector<QVariant> m_edit;
    std::vector<char> m_changed;
    qsizetype m_positionBeforeAdd = 0;

    QByteArray m_mask;
    QHash<QByteArray, std::shared_ptr<Statement>> m_inserts;
    QHash<QByteArray, std::shared_ptr<Statement>> m_updates;
    std::unique_ptr<Statement> m_delete;

    QString m_compiledText;
    std::unique_ptr<Criteria> m_compiled;

    std::map<int, TextIndex> m_textIndexes;
    std::map<int, NumberIndex> m_numberIndexes;
};

} // namespace supplink
