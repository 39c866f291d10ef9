#include "database/clsopt.h"

#include "database/clsconnectie.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

namespace supplink {

namespace {

// Opens the handle's file. The connection object stays in the field after an SQLite failure, as it
// reported that failure itself; after a Jet failure it is released.
bool connectHandle(std::shared_ptr<clsConnectie>& connection, bool& sqlite, const QString& path,
                   const QString& failureMessage)
{
    try {
        connection = std::make_shared<clsConnectie>();
        // A held or damaged SQLite file goes the SQLite way too: its own reason is shown, not Jet's.
        if (IsSQLiteBestand(path) || startsAsSqliteFile(path)) {
            sqlite = true;
            return connection->MakenSQLiteConnectie(path, false);
        }
        if (!connection->MakenJetConnectie(path, QString())) {
            ToonFout(failureMessage);
            connection.reset();
            return false;
        }
        // A file that only SQLite could open is an SQLite database all the same.
        if (connection->isSQLite())
            sqlite = true;
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

void disconnectHandle(std::shared_ptr<clsConnectie>& connection)
{
    try {
        if (connection)
            connection->SluitenConnectie();
    } catch (...) {
        // Closing only releases the handle; a handle that fails to close is dropped just the same.
    }
    connection.reset();
}

} // namespace

namespace SysDBInfo {

QString AlleRijen()
{
    return QStringLiteral("SELECT * FROM SysDBInfo");
}

QString AppTypes()
{
    return QStringLiteral("SELECT AppType FROM SysDBINFO");
}

QString VanSoort(const QString& dbType)
{
    return QStringLiteral("SELECT * FROM SysDBInfo WHERE DBTYPE='") + SQLQuotes(dbType) + QLatin1Char('\'');
}

QString HoogsteVersie(bool sqlServer)
{
    if (sqlServer)
        return QStringLiteral("SELECT TOP 1 * From [PT].[SysDBInfo] Where ((([PT].[SysDBInfo].[AppType]) = "
                              "'Velmora')) ORDER BY "
                              "[PT].[SysDBInfo].[VerMajor] DESC , [PT].[SysDBInfo].[VerMinor] DESC");
    return QStringLiteral("SELECT TOP 1 * From SysDBInfo Where (((SysDBInfo.AppType) = 'Velmora')) ORDER BY "
                          "SysDBInfo.VerMajor DESC , SysDBInfo.VerMinor DESC");
}

} // namespace SysDBInfo

QString VersieTekst(const QVariant& verMajor, const QVariant& verMinor)
{
    return NzString(verMajor).trimmed() + QLatin1Char('.') + NzString(verMinor).trimmed();
}

bool NieuweFormaatCombiesVoorVersie(const QString& appType, qint32 verMajor, qint32 verMinor)
{
    if (appType.toUpper() != QLatin1String("VELMORA"))
        return true;
    if (verMajor > 3)
        return true;
    if (verMajor < 3)
        return false;
    return verMinor != 0;
}

clsOPT::~clsOPT()
{
    Disconnect();
}

bool clsOPT::Connect(const QString& path)
{
    return connectHandle(cnOPT, m_sqlite, path, QStringLiteral("Openen Onderhouds database is mislukt!"));
}

void clsOPT::Disconnect()
{
    disconnectHandle(cnOPT);
}

bool clsOPT::NieuweFormaatCombies()
{
    if (m_sqlite)
        return true;
    try {
        const DbConnection db = cnOPT ? cnOPT->Connection() : DbConnection();
        if (!db)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met een database."));
        const RecordsetPtr rows = db->openRecordset(SysDBInfo::AlleRijen());
        const QString appType = NzString(rows->value(QStringLiteral("AppType")));
        const qint32 verMajor = NzLong(rows->value(QStringLiteral("VerMajor")));
        const qint32 verMinor = NzLong(rows->value(QStringLiteral("VerMinor")));
        rows->close();
        return NieuweFormaatCombiesVoorVersie(appType, verMajor, verMinor);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("NieuweFormaatCombies"), error);
    }
    return false;
}

clsLIB::~clsLIB()
{
    Disconnect();
}

bool clsLIB::Connect(const QString& path)
{
    return connectHandle(cnLIB, m_sqlite, path, QStringLiteral("Openen Bibliotheek database is mislukt!"));
}

void clsLIB::Disconnect()
{
    disconnectHandle(cnLIB);
}

} // namespace supplink
