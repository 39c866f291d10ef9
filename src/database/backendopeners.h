#pragma once
// Opening the kinds of database that need a provider beyond SQLite: Jet files,
// Excel workbooks, SQL Server and other ODBC sources. The connection object
// opens them only through these hooks, so a test can put a stand-in in place
// (see tests/fixtures) without touching the connection object. A hook throws
// AppError when it cannot open (ProviderFailure to hand over the provider's
// diagnostics), DbErrorNumber::NotAvailable when this system lacks what the
// kind needs.
//
// The hooks in place:
//   jet        with an ODBC driver for Access installed, the file through that
//              driver (read and written); otherwise read into a private mirror
//              (mirrorbackend.h), which is never written back
//   excel      the workbook read into a private mirror; the Jet 4.0 attempt
//              reads .xls and .xlsx alike, so the ACE 12.0 attempt is refused
//              as not available
//   sqlServer  QODBC with the installed SQL Server driver (odbcbackend.h)
//   odbc       QODBC with the connection string

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
// Puts back the hooks described above.
void resetBackendOpeners();

// Why a database file cannot be a target of this program here, for the user; empty when it can. A Jet file
// can be written only through an ODBC driver for Access, which only Windows has: without one the
// transfer refuses such a target before it writes anything. SQLite files and SQL Server paths ("*...")
// are always accepted.
QString jetTargetRefusal(const QString& path);

} // namespace supplink
