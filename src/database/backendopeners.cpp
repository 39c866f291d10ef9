#include "database/backendopeners.h"

namespace supplink {

namespace {

[[noreturn]] void notAvailable(const QString& what)
{
    throw AppError(DbErrorNumber::NotAvailable,
                   what + QStringLiteral(" kunnen op dit systeem niet worden geopend."));
}

BackendOpeners refusingOpeners()
{
    BackendOpeners openers;
    openers.jet = [](const QString&, const QString&) -> DbConnection {
        notAvailable(QStringLiteral("Access-databases (Jet)"));
    };
    openers.excel = [](const QString&, bool, ExcelProvider) -> DbConnection {
        notAvailable(QStringLiteral("Excel-werkmappen"));
    };
    openers.sqlServer = [](const SqlServerLogin&) -> DbConnection {
        notAvailable(QStringLiteral("SQL Server-databases"));
    };
    openers.odbc = [](const QString&) -> DbConnection {
        notAvailable(QStringLiteral("ODBC-gegevensbronnen"));
    };
    return openers;
}

} // namespace

BackendOpeners& backendOpeners()
{
    static BackendOpeners openers = refusingOpeners();
    return openers;
}

void resetBackendOpeners()
{
    backendOpeners() = refusingOpeners();
}

} // namespace supplink
