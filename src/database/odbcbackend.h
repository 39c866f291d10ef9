#pragma once
// Databases reached through an ODBC driver, with Qt's ODBC driver (QODBC):
// SQL Server (FreeTDS on Linux, the SQL Server drivers on Windows), other
// ODBC data sources, and Jet files where an ODBC driver for Access is
// installed. Every login waits a few seconds at most.
//
// A query's rows are read at once (client-side, static). Rows are written
// back into the one table a plain single-table SELECT reads, found again by
// the table's primary key. Values arrive as the other back-ends give them:
// integers as qint64, Yes/No (bit) as -1/0, floating and exact numbers as
// double, dates as QDateTime, text as QString, a database Null as an invalid
// QVariant. Failures carry the driver's diagnostic records (errors()), with
// the error numbers of odbcsupport.h.

#include "database/backendopeners.h"
#include "database/databasebackend.h"

#include <QHash>
#include <unordered_set>

class QSqlQuery;

namespace supplink {

class OdbcStatement;

class OdbcBackend : public DatabaseBackend
{
public:
    static constexpr int kLoginTimeoutSeconds = 5;

    struct Settings
    {
        Kind kind = Kind::Odbc;
        QString path;             // what path() answers: the server, the Jet file, the data source
        QString connectionString; // the ODBC connection string
        int loginTimeoutSeconds = kLoginTimeoutSeconds;
    };

    // Logs in; throws ProviderFailure with the driver's records when that fails, AppError
    // DbErrorNumber::NotAvailable when Qt's ODBC driver is missing.
    static std::shared_ptr<OdbcBackend> open(const Settings& settings);
    ~OdbcBackend() override;

    Kind kind() const override { return m_settings.kind; }
    QString path() const override { return m_settings.path; }
    bool isOpen() const override { return m_open; }
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
    // [name] with "]" doubled.
    QString quoteIdentifier(const QString& name) const override;
    QList<ProviderError> errors() const override { return m_errors; }

private:
    friend class OdbcStatement;

    explicit OdbcBackend(Settings settings, QString connectionName);
    void requireOpen() const;
    // The failure of a statement, with its records; they are kept for errors().
    ProviderFailure failure(const QSqlQuery& query, const QString& sql);
    std::optional<ResultData> readResult(QSqlQuery& query, const QString& sql);
    void describeWriteBack(ResultData& data, const QSqlQuery& query, const QString& sql);
    qint64 lastIdentity();
    void forget(OdbcStatement* statement) { m_statements.erase(statement); }

    Settings m_settings;
    QString m_connectionName; // of Qt's database registry
    bool m_open = true;
    int m_depth = 0;
    QList<ProviderError> m_errors;
    QHash<QString, std::optional<TableSchema>> m_schemas;
    std::unordered_set<OdbcStatement*> m_statements;
};

// The ODBC driver for SQL Server: the first installed of the Microsoft drivers (newest first), "SQL Server"
// and "FreeTDS"; empty when none is installed.
QString sqlServerDriver(const QStringList& installedDrivers);
// The connection string for the login on that driver. A server "host,port" becomes SERVER=host;PORT=port
// for FreeTDS, "(local)" and "." the local machine.
QString sqlServerConnectionString(const SqlServerLogin& login, const QString& driver);
// The opener of SQL Server connections (backendOpeners().sqlServer).
DbConnection openSqlServer(const SqlServerLogin& login);
// The opener of ODBC data sources by connection string (backendOpeners().odbc).
DbConnection openOdbcSource(const QString& connectionString);

// The installed ODBC driver for Access databases that can write them ("Microsoft Access Driver (*.mdb)"
// and its successors); empty when there is none. Read-only drivers do not count.
QString jetWriterDriver();
// Opens a Jet file through that driver.
DbConnection openJetThroughOdbc(const QString& path, const QString& password, const QString& driver);

} // namespace supplink
