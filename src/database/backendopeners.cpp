#include "database/backendopeners.h"

#include "database/databaseroutines.h"
#include "database/mirrorbackend.h"
#include "database/odbcbackend.h"
#include "platform/jetmirror.h"

namespace supplink {

namespace {

DbConnection openJet(const QString& path, const QString& password)
{
    const QString driver = jetWriterDriver();
    if (!driver.isEmpty() && hasJetSignature(path))
        return openJetThroughOdbc(path, password, driver);
    // The reader needs no password: a Jet database password guards only the provider's door.
    return MirrorBackend::openJet(path);
}

DbConnection openExcel(const QString& path, bool headerRow, ExcelProvider provider)
{
    if (provider == ExcelProvider::Ace120)
        throw AppError(DbErrorNumber::NotAvailable,
                       QStringLiteral("De ACE-provider is op dit systeem niet aanwezig; werkmappen worden "
                                      "door de eigen lezer gelezen."));
    return MirrorBackend::openWorkbook(path, headerRow);
}

BackendOpeners defaultOpeners()
{
    BackendOpeners openers;
    openers.jet = openJet;
    openers.excel = openExcel;
    openers.sqlServer = openSqlServer;
    openers.odbc = openOdbcSource;
    return openers;
}

} // namespace

BackendOpeners& backendOpeners()
{
    static BackendOpeners openers = defaultOpeners();
    return openers;
}

void resetBackendOpeners()
{
    backendOpeners() = defaultOpeners();
}

QString jetTargetRefusal(const QString& path)
{
    if (IsSQLServerPad(path) || !hasJetSignature(path) || IsSQLiteBestand(path))
        return QString();
    if (!jetWriterDriver().isEmpty())
        return QString();
    return JetAlleenLezenMelding(path);
}

} // namespace supplink
