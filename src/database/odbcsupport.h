#pragma once
// The few ODBC calls the data layer makes itself, next to the Qt ODBC driver
// that runs the statements: the list of installed drivers, a login attempt
// that keeps the driver's diagnostic records (Qt's driver drops them when a
// login fails), the diagnostics of a statement handle, and the error numbers
// the program's messages go by, taken from the SQLSTATEs of those records.

#include "database/databasebackend.h"

#include <QString>
#include <QStringList>

namespace supplink {

// The ODBC drivers the driver manager knows, by name ("FreeTDS", "SQL Server", ...).
QStringList installedOdbcDrivers();

// The value of a connection-string keyword, in braces when it holds a character that would end it.
QString odbcConnectionValue(const QString& value);

// Connects with the connection string and disconnects again, waiting at most loginTimeoutSeconds for the
// login; on failure the driver's diagnostic records.
struct OdbcLoginResult
{
    bool ok = false;
    QList<ProviderError> records;
};
OdbcLoginResult tryOdbcLogin(const QString& connectionString, int loginTimeoutSeconds);

// The diagnostic records of an ODBC handle (SQL_HANDLE_STMT = 3, SQL_HANDLE_DBC = 2), in order.
QList<ProviderError> odbcDiagnostics(short handleType, void* handle);

// The error number of a failure with these records:
//   the login was refused (SQLSTATE 28000, or SQL Server's login messages)   DbErrorNumber::LoginFailed
//   the database named at login cannot be opened (SQL Server message 4060)  DbErrorNumber::Unspecified
//   the server cannot be reached (08xxx, HYT00, HYT01)                      DbErrorNumber::Unspecified
//   no such driver or data source (IMxxx)                                   DbErrorNumber::NotAvailable
//   a statement the server does not accept (42xxx, 37000)                   DbErrorNumber::CommandError
//   a constraint (23xxx)                                                    DbErrorNumber::IntegrityViolation
//   a value that does not fit (22xxx)                                       DbErrorNumber::TypeMismatch
//   anything else                                                           DbErrorNumber::Unspecified
qint32 odbcErrorNumber(const QList<ProviderError>& records);

// The failure as AppError with its records: the number above and the messages of the records.
ProviderFailure odbcFailure(const QList<ProviderError>& records, const QString& fallbackDescription);

} // namespace supplink
