#pragma once
// The interface every kind of database sits behind: SQLite files, Jet files
// (read into a private SQLite mirror), Excel workbooks, SQL Server and other
// ODBC sources. A back-end runs statements, hands out the rows of a query in
// one piece (the recordset model keeps them client-side), prepares statements
// for repeated use, runs transactions and describes its tables.
//
// Every member reports failure by throwing AppError with the number the
// providers use (DbErrorNumber) and a description the error window can show.

#include "database/rowstore.h"
#include "platform/fieldtypes.h"
#include "start/errors.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace supplink {

// Whether a value of this type is a whole number (stored and bound as a 64-bit integer).
inline bool isIntegralType(int typeId)
{
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

// Error numbers of the data layer.
namespace DbErrorNumber {
constexpr qint32 Unspecified = -2147467259;                // 0x80004005: provider error, file, lock
constexpr qint32 LoginFailed = -2147217843;                // 0x80040E4D
constexpr qint32 CommandError = ErrorNumber::CommandError; // 0x80040E14: the statement is wrong
constexpr qint32 IntegrityViolation = ErrorNumber::IntegrityViolation; // 0x80040E2F: a constraint
constexpr qint32 TypeMismatch = -2147217887; // 0x80040E21: value does not fit the field
constexpr qint32 RowNotFound = -2147217864;  // 0x80040E38: row to update is gone
constexpr qint32 BadArguments = 3001;        // e.g. a criterion that does not parse
constexpr qint32 NoCurrentRecord = 3021;
constexpr qint32 ReadOnlyDatabase = 3027; // the database (a Jet file or workbook read here) is not written
constexpr qint32 NotUpdatable = 3251;
constexpr qint32 ItemNotFound = 3265; // no field of that name
constexpr qint32 ObjectClosed = 3704;
constexpr qint32 NotAvailable = 3706; // the kind of database cannot be opened on this system
} // namespace DbErrorNumber

// Types and sizes from a declared column type ("TEXT(50)", "LONG", "COUNTER", ...).
struct FieldType
{
    int type = adType::VarWChar;
    int definedSize = 0;
};
FieldType FieldTypeFromDeclaration(const QString& declaredType);

// One column of a query result.
struct ColumnInfo
{
    QString name;         // the name the result gives it (alias or column name)
    QString table;        // table it comes from; empty for an expression
    QString column;       // its name in that table
    QString declaredType; // empty for an expression
    int type = adType::VarWChar;
    int definedSize = 0;
    bool writable = false;   // a column of the table rows are written back to
    bool autoNumber = false; // filled by the database when a row is inserted
};

// One column of a table as the schema describes it.
struct TableColumn
{
    QString name;
    QString declaredType;
    int type = adType::VarWChar;
    int definedSize = 0;
    bool notNull = false;
    int primaryKey = 0; // position in the primary key (1-based), 0 when not part of it
    bool autoNumber = false;
};

struct TableSchema
{
    QString name;
    QList<TableColumn> columns;
    bool hasRowid = true;
    int columnIndex(const QString& name) const; // -1 when absent (case-insensitive)
};

// The rows of a query as a back-end reads them, with what a recordset needs
// to write rows back.
struct ResultData
{
    QList<ColumnInfo> columns;
    RowStore rows;
    QString schema;             // schema of the write-back table ("" for the main one)
    QString table;              // table rows are written back to; empty: read-only result
    QList<int> keyColumns;      // result columns that identify a row of that table
    bool rowLocators = false;   // rows are found again by their locator (rowids) instead of a key
    std::vector<qint64> rowids; // the row locators, one per row

    qsizetype rowCount() const { return rows.size(); }
    // The first value of the first row (invalid when there is none).
    QVariant firstValue() const { return rows.empty() || rows.width() == 0 ? QVariant() : rows.row(0)[0]; }
};

// A statement prepared once and run many times with new values.
class Statement
{
public:
    virtual ~Statement() = default;
    // Binds the value of parameter `index` (0-based); an invalid QVariant binds null.
    virtual void bind(int index, const QVariant& value) = 0;
    // Runs the statement to its end and makes it ready for the next values.
    virtual void execute() = 0;
    // The row locator (rowid or identity) of the row the last execute inserted.
    virtual qint64 lastInsertId() = 0;
    // The number of rows the last execute changed.
    virtual qint64 changes() = 0;
};

// A diagnostic record of a provider (SQL Server, ODBC), shown by ShowErrors.
struct ProviderError
{
    QString description;
    qint32 number = 0;
    QString source;
    QString sqlState;
    qint32 nativeError = 0;
};

// A failure of a provider that comes with its diagnostic records.
class ProviderFailure : public AppError
{
public:
    ProviderFailure(qint32 number, const QString& description, QList<ProviderError> records)
        : AppError(number, description), m_records(std::move(records))
    {
    }
    const QList<ProviderError>& records() const { return m_records; }

private:
    QList<ProviderError> m_records;
};

class DatabaseBackend : public std::enable_shared_from_this<DatabaseBackend>
{
public:
    enum class Kind
    {
        SQLite,
        Jet,
        Excel,
        SqlServer,
        Odbc
    };

    virtual ~DatabaseBackend() = default;

    virtual Kind kind() const = 0;
    // The data source: the file path, or the server for SQL Server.
    virtual QString path() const = 0;
    virtual bool isOpen() const = 0;
    // Closes the database; statements handed out stop working, recordsets keep their rows.
    virtual void close() = 0;

    // Runs one or more statements; parameters ("?") are bound in order of appearance.
    virtual void execute(const QString& sql, const QVariantList& params = {}) = 0;
    // Runs the statement(s); the rows of the last one that returns columns, or no value.
    virtual std::optional<ResultData> run(const QString& sql, const QVariantList& params = {}) = 0;
    virtual std::unique_ptr<Statement> prepare(const QString& sql) = 0;

    // Transactions nest: an inner begin marks a point an inner rollback returns to.
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;
    virtual int transactionDepth() const = 0;

    virtual QStringList tableNames() = 0;
    // The columns of a table (schema: "" for the main database); no value when there is no such table.
    virtual std::optional<TableSchema> tableSchema(const QString& table,
                                                   const QString& schema = QString()) = 0;
    virtual QString quoteIdentifier(const QString& name) const = 0;
    // The name of the hidden row locator in statements ("rowid"), empty when the back-end has none.
    virtual QString rowLocator() const { return QString(); }
    // What a statement puts after a comparison of codes so that it compares as codes compare
    // (platform/codecompare.h): " COLLATE JETNOCASE" on the program's SQLite connections; empty where the
    // database compares text by its own rule (SQL Server by its collation, Jet through its driver).
    //     "SELECT ID FROM Article WHERE Code = ?" + db->codeCollate()
    virtual QString codeCollate() const { return QString(); }

    // Copies the open database into a new file, which is replaced only when the copy is complete.
    virtual void backupTo(const QString& targetPath);

    // The provider's diagnostics of the last failure.
    virtual QList<ProviderError> errors() const { return {}; }

    // Opens a recordset on a statement that returns rows (throws AppError).
    RecordsetPtr openRecordset(const QString& sql, const QVariantList& params = {});
};

using DbConnection = std::shared_ptr<DatabaseBackend>;

// The one transaction guard of the program. The constructor begins a transaction on the connection,
// or throws AppError with the database's reason when it cannot begin (the caller reports it as any
// other failure). The guard rolls the transaction back when it leaves its scope uncommitted, also when
// an exception leaves the scope. Transactions nest (an inner guard marks a savepoint).
//
//     Transaction t(db);              // or Transaction t(db, wanted): only begins when wanted
//     ... statements ...
//     t.commit();                     // throws AppError when the database refuses; rolled back then
class Transaction
{
public:
    explicit Transaction(DbConnection db);
    // A guard that begins only when `begin` is true; without a transaction commit and rollback do nothing.
    Transaction(DbConnection db, bool begin);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the guard holds an open transaction.
    bool active() const { return m_open; }
    void commit();
    void rollback();

private:
    DbConnection m_db;
    bool m_open = false;
};

} // namespace supplink
