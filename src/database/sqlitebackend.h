#pragma once
// The SQLite back-end, straight on the sqlite3 C API. A database file is
// opened only when it exists and starts as an SQLite file; nothing is created
// unless the caller asks for it. Every connection knows the collation of codes
// (platform/codecompare.h), for statements: codeCollate() gives the clause.

#include "database/databasebackend.h"

#include <QHash>
#include <memory>
#include <unordered_set>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace supplink {

class SqliteStatement;

struct SqliteOpenOptions
{
    bool create = false;   // make the file when it is missing (":memory:" for a database in memory)
    bool readOnly = false; // never write, not even a journal
};

class SqliteBackend : public DatabaseBackend
{
public:
    using OpenOptions = SqliteOpenOptions;

    // Opens a database file; throws AppError with a Dutch description when the
    // file is missing, is no SQLite database or cannot be opened.
    static std::shared_ptr<SqliteBackend> open(const QString& path, OpenOptions options = {});
    ~SqliteBackend() override;

    Kind kind() const override { return Kind::SQLite; }
    QString path() const override { return m_path; }
    bool isOpen() const override { return m_db != nullptr; }
    void close() override;

    void execute(const QString& sql, const QVariantList& params = {}) override;
    std::optional<ResultData> run(const QString& sql, const QVariantList& params = {}) override;
    std::unique_ptr<Statement> prepare(const QString& sql) override;

    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    int transactionDepth() const override { return m_depth; }

    QStringList tableNames() override;
    std::optional<TableSchema> tableSchema(const QString& table, const QString& schema = QString()) override;
    QString quoteIdentifier(const QString& name) const override;
    QString rowLocator() const override { return QStringLiteral("rowid"); }
    QString codeCollate() const override;

    void backupTo(const QString& targetPath) override;

    // Runs a statement written in the Jet dialect: translated for SQLite (see platform/jetsql.h), with
    // every database file it names by path ("[/data/bron.mdb].Article") attached for the
    // statement: an SQLite file as it is, a Jet file through a mirror (the one an open Jet connection
    // reads, so that its scratch tables are seen). Attachments made inside a transaction stay until
    // the transaction ends.
    std::optional<ResultData> runJet(const QString& jetSql, const QVariantList& params = {});
    void executeJet(const QString& jetSql, const QVariantList& params = {}) { runJet(jetSql, params); }

    // The database check: exactly "ok" for a sound file, else the first problem found.
    QString check();
    // True when the file could only be opened for reading.
    bool isReadOnly() const;
    sqlite3* handle() const { return m_db; }

protected:
    SqliteBackend(sqlite3* db, QString path);
    // Opens the handle as open() does; for back-ends built on a private SQLite database.
    static sqlite3* openHandle(const QString& path, OpenOptions options);

    // What a back-end built on a private SQLite database knows better than the declared types.
    struct KnownColumn
    {
        FieldType type;
        bool autoNumber = false;
    };
    virtual std::optional<KnownColumn> knownColumn(const QString& schema, const QString& table,
                                                   const QString& column) const
    {
        return std::nullopt;
    }
    // The error for a failed sqlite3 call on a statement (a back-end may explain refusals its own way).
    virtual AppError statementError(int code, const QString& sql) const;
    // Detaches the files attached for Jet statements once no transaction needs them.
    void detachIdle();

private:
    friend class SqliteStatement;

    sqlite3* db() const; // the open handle, or throws ObjectClosed
    // describe: find the table rows are written back to (false for the back-end's own queries).
    std::optional<ResultData> runStatements(const QString& sql, const QVariantList& params, bool describe);
    std::optional<ResultData> readResult(sqlite3_stmt* statement, const QString& segment,
                                         const QVariantList& segmentParams, bool describe);
    void forget(SqliteStatement* statement) { m_statements.erase(statement); }
    void schemaMayHaveChanged(const QString& segment);
    // The schema (or the set of attached files) changed: descriptions and kept queries are forgotten.
    void schemaChanged();

    // A query kept prepared, with the description of its result, for the next run of the same text.
    struct KeptQuery;
    struct ResultShape;
    ResultShape describeResult(sqlite3_stmt* statement, const QString& segment, bool describe,
                               sqlite3_stmt** rowidReader);
    std::optional<ResultData> readRows(sqlite3_stmt* reader, bool withRowids, const ResultShape& shape,
                                       const QString& segment);
    std::optional<ResultData> runKept(KeptQuery& query, const QVariantList& params, bool& current);
    std::unique_ptr<KeptQuery> takeKept(const QString& sql, bool describe);
    void keep(std::unique_ptr<KeptQuery> query);

    struct Attached
    {
        QString alias;
        QString path; // as the statement names it
        QString file; // the SQLite file attached
    };
    void attachForStatement(const QString& alias, const QString& path);

    sqlite3* m_db = nullptr;
    QString m_path;
    int m_depth = 0;
    QList<Attached> m_attached;
    QHash<QString, QString> m_ownMirrors; // Jet file -> the mirror made for statements (deleted at close)
    QHash<QString, std::optional<TableSchema>> m_schemas;
    std::unordered_set<SqliteStatement*> m_statements;
    std::vector<std::unique_ptr<KeptQuery>> m_kept; // most recently used first
    quint64 m_schemaGeneration = 0;
};

// An AppError for a failed sqlite3 call, with a Dutch description; the statement text is added for SQL
// errors.
AppError SqliteError(sqlite3* db, int code, const QString& sql = QString());

// The file starts as an SQLite database does: "SQLite format 3" and a zero byte. Reads 16 bytes; a file
// that cannot be read does not.
bool startsAsSqliteFile(const QString& path);

// What a reader finds in a file.
enum class SqliteFileState
{
    NotSqlite, // no SQLite database by its first bytes (or no file that can be read at all)
    Sound,     // opens, and the database check answers "ok"
    InUse,     // another program holds it: still busy or locked after the usual wait
    Damaged    // starts as an SQLite database, but it cannot be read or its check is not "ok"
};
// Opens the file as open() does (nothing is created), waits for another program's lock as every
// connection does, and runs the database check. Never throws and never reports.
SqliteFileState inspectSqliteFile(const QString& path);

} // namespace supplink
