#pragma once
// Opening the kinds of database that need a provider beyond SQLite: Jet files,
// Excel workbooks, SQL Server and other ODBC sources. The connection object
// opens them only through these hooks, so a provider is plugged in (or, in a
// test, replaced by a stand-in) without touching the connection object. A hook
// throws AppError when it cannot open (ProviderFailure to hand over the
// provider's diagnostics); the hooks in place until a provider is installed
// refuse with DbErrorNumber::NotAvailable and a Dutch description.

#include "database/databasebackend.h"

#include <functional>

namespace supplink {

struct SqlServerLogin
{
    QString server;
    QString database; // empty: the login's default database
    bool integratedSecurity = false;
    QString user;
    QString password;
    QString applicationName;
};

enum class ExcelProvider
{
    Jet40,
    Ace120
};

struct BackendOpeners
{
    std::function<DbConnection(const QString& path, const QString& password)> jet;
    std::function<DbConnection(const QString& path, bool headerRow, ExcelProvider provider)> excel;
    // Failures: DbErrorNumber::LoginFailed when the server refused the login,
    // DbErrorNumber::Unspecified when the server or the database was not reachable.
    std::function<DbConnection(const SqlServerLogin& login)> sqlServer;
    std::function<DbConnection(const QString& connectionString)> odbc;
};

// The program-wide hooks.
BackendOpeners& backendOpeners();
// Puts back the hooks that refuse every open.
void resetBackendOpeners();

} // namespace supplink
