#pragma once
// The SQLite back-end, straight on the sqlite3 C API. A database file is
// opened only when it exists and starts as an SQLite file; nothing is created
// unless the caller asks for it.

#include "database/databasebackend.h"

#include <QHash>
#include <unordered_set>

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

    void backupTo(const QString& targetPath) override;

    // The database check: exactly "ok" for a sound file, else the first problem found.
    QString check();
    // True when the file could only be opened for reading.
    bool isReadOnly() const;
    sqlite3* handle() const { return m_db; }

protected:
    SqliteBackend(sqlite3* db, QString path);
    // Opens the handle as open() does; for back-ends built on a private SQLite database.
    static sqlite3* openHandle(const QString& path, OpenOptions options);

private:
    friend class SqliteStatement;

    sqlite3* db() const; // the open handle, or throws ObjectClosed
    // describe: find the table rows are written back to (false for the back-end's own queries).
    std::optional<ResultData> runStatements(const QString& sql, const QVariantList& params, bool describe);
    std::optional<ResultData> readResult(sqlite3_stmt* statement, const QString& segment,
                                         const QVariantList& segmentParams, bool describe);
    void forget(SqliteStatement* statement) { m_statements.erase(statement); }
    void schemaMayHaveChanged(const QString& segment);

    sqlite3* m_db = nullptr;
    QString m_path;
    int m_depth = 0;
    QHash<QString, std::optional<TableSchema>> m_schemas;
    std::unordered_set<SqliteStatement*> m_statements;
};

// An AppError for a failed sqlite3 call, with a Dutch description; the statement text is added for SQL
// errors.
AppError SqliteError(sqlite3* db, int code, const QString& sql = QString());

} // namespace supplink
