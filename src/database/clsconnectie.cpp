#include "database/clsconnectie.h"

#include "database/backendopeners.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "start/globals.h"
#include "start/registryfuncties.h"
#include "start/sharedroutines.h"

#include <QDateTime>

namespace supplink {

namespace {

const QString kExcelEngineKey = QStringLiteral("SOFTWARE\\Microsoft\\Jet\\4.0\\Engines\\Excel");
const QString kTypeGuessRows = QStringLiteral("TypeGuessRows");
constexpr qint32 kWantedTypeGuessRows = 1000;

QString crlf()
{
    return QStringLiteral("\r\n");
}
QString programTitle()
{
    return QString::fromUtf8(kProgramTitle);
}

void closeQuietly(DbConnection& db)
{
    if (!db)
        return;
    try {
        db->close();
    } catch (...) {
        // The handle is released either way; nothing is written when a database closes.
    }
    db.reset();
}

RecordsetPtr recordsetOf(const DbConnection& db, const QString& sql, std::optional<ResultData> rows)
{
    if (!rows)
        return nullptr;
    return std::make_shared<Recordset>(db, sql, QVariantList(), std::move(*rows));
}

} // namespace

qint32 ServerVersieUitProductVersie(const QString& productVersion)
{
    if (productVersion.startsWith(QLatin1String("10")))
        return 10;
    if (productVersion.startsWith(QLatin1String("11")))
        return 11;
    if (productVersion.startsWith(QLatin1Char('8')))
        return 8;
    if (productVersion.startsWith(QLatin1Char('9')))
        return 9;
    return 0;
}

clsConnectie::~clsConnectie()
{
    HerstelTypeGuessRows();
}

bool clsConnectie::IsJet() const
{
    return ADOConnectie && ADOConnectie->kind() != DatabaseBackend::Kind::SqlServer;
}

bool clsConnectie::isSQLite() const
{
    return SQLiteConnectie != nullptr;
}

DbConnection clsConnectie::Connection() const
{
    return ADOConnectie ? ADOConnectie : SQLiteConnectie;
}

void clsConnectie::closeHeld()
{
    closeQuietly(ADOConnectie);
    closeQuietly(SQLiteConnectie);
    IsSQLServer = false;
    m_diagnostics.clear();
}

void clsConnectie::keepDiagnostics(const AppError& error)
{
    m_lastOpenError = error.description();
    if (const auto* failure = dynamic_cast<const ProviderFailure*>(&error))
        m_diagnostics = failure->records();
    else
        m_diagnostics.clear();
}

void clsConnectie::ZetInlogGeweigerd()
{
    InlogGeweigerd = true;
    VerbindingMislukt = false;
    AndereFout = false;
}

void clsConnectie::ZetVerbindingMislukt()
{
    InlogGeweigerd = false;
    VerbindingMislukt = true;
    AndereFout = false;
}

void clsConnectie::ZetAndereFout()
{
    InlogGeweigerd = false;
    VerbindingMislukt = false;
    AndereFout = true;
}

bool clsConnectie::MakenConnectie(const QString& server, const QString& user, const QString& password,
                                  const QString& database, bool sqlSecurity)
{
    closeHeld();
    SqlServerLogin login;
    login.server = server;
    login.database = database;
    login.integratedSecurity = !sqlSecurity;
    if (sqlSecurity) {
        login.user = user;
        login.password = password;
    }
    login.applicationName = QStringLiteral("VeRozozizuRezuva");
    try {
        ADOConnectie = backendOpeners().sqlServer(login);
        BepaalServerVersie();
        IsSQLServer = true;
        m_lastOpenError.clear();
        return true;
    } catch (const AppError& error) {
        keepDiagnostics(error);
        if (error.number() == DbErrorNumber::LoginFailed) {
            ZetInlogGeweigerd();
            ToonFout(
                QStringLiteral("Gebruikersnaam niet gevonden of combinatie Gebruikersnaam/Wachtwoord niet in "
                               "orde!"));
        } else if (error.number() == DbErrorNumber::Unspecified) {
            ZetVerbindingMislukt();
            ToonFout(QStringLiteral("U kunt niet inloggen op  sqlserver '") + server +
                     QStringLiteral("' of catalog '") + database + QStringLiteral("'!"));
        } else if (error.number() == DbErrorNumber::NotAvailable) {
            ToonFout(error.description());
        } else {
            ShowErrors();
            // A failure without diagnostics still gets reported.
            if (m_diagnostics.isEmpty())
                ShowError(QStringLiteral("clsConnectie.MakenConnectie"), error);
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("clsConnectie.MakenConnectie"), error);
    }
    closeQuietly(ADOConnectie);
    return false;
}

void clsConnectie::BepaalServerVersie()
{
    try {
        const RecordsetPtr rows =
            ADOConnectie->openRecordset(QStringLiteral("SELECT SERVERPROPERTY('ProductVersion')"));
        if (rows->eof())
            return;
        ServerVersieTekst = NzString(rows->value(0));
        ServerVersie = ServerVersieUitProductVersie(ServerVersieTekst);
        if (ServerVersie != 0)
            return;
    } catch (const std::exception&) {
        // Servers without SERVERPROPERTY answer @@VERSION below.
    }
    try {
        const std::optional<ResultData> rows = ADOConnectie->run(QStringLiteral("SELECT @@VERSION"));
        if (!rows) {
            ServerVersie = 0;
            return;
        }
        if (rows->rowCount() > 0) {
            ServerVersieTekst = NzString(rows->firstValue());
            ServerVersie = ServerVersieTekst.contains(QLatin1String("7.00.")) ? 7 : 0;
        }
    } catch (const std::exception&) {
        ServerVersie = 0;
    }
}

bool clsConnectie::MakenODBCConnectie(const QString& connectionString)
{
    closeHeld();
    try {
        ADOConnectie = backendOpeners().odbc(connectionString);
        m_lastOpenError.clear();
        return true;
    } catch (const AppError& error) {
        keepDiagnostics(error);
        ShowErrors();
        if (m_diagnostics.isEmpty())
            ShowError(QStringLiteral("clsConnectie.MakenODBCConnectie"), error);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("clsConnectie.MakenODBCConnectie"), error);
    }
    closeQuietly(ADOConnectie);
    return false;
}

bool clsConnectie::MakenJetorSQLiteConnectie(const QString& path, const QString& password)
{
    // A file that starts as an SQLite database but is held by another program or damaged fails the check
    // too; the Jet path would only add that it is no Access database. SQLite reports the real reason.
    if (IsSQLiteBestand(path) || startsAsSqliteFile(path))
        return MakenSQLiteConnectie(path, false);
    return MakenJetConnectie(path, password);
}

bool clsConnectie::MakenJetConnectie(const QString& path, const QString& password)
{
    closeHeld();
    QString description;
    try {
        ADOConnectie = backendOpeners().jet(path, password);
        m_lastOpenError.clear();
        return true;
    } catch (const AppError& error) {
        keepDiagnostics(error);
        description = error.description();
    } catch (const std::exception& error) {
        description = AppError::from(error).description();
    }
    closeQuietly(ADOConnectie);
    // A file that is no Jet database may still be an SQLite one.
    const QList<ProviderError> jetDiagnostics = m_diagnostics;
    if (MakenSQLiteConnectie(path, false))
        return true;
    m_diagnostics = jetDiagnostics;
    // An SQLite file that could not be opened (held by another program, damaged) has had its reason shown by
    // the SQLite attempt; that it is no Access database would only mislead.
    if (startsAsSqliteFile(path))
        return false;
    m_lastOpenError = description;
    ui().messageBox(QStringLiteral("Verbindingfout: ") + description, MsgBox::OkOnly | MsgBox::Critical,
                    programTitle());
    ShowErrors();
    return false;
}

bool clsConnectie::MakenSQLiteConnectie(const QString& path, bool silent)
{
    closeHeld();
    try {
        SQLiteConnectie = SqliteBackend::open(path);
        m_lastOpenError.clear();
        return true;
    } catch (const std::exception& error) {
        m_lastOpenError = AppError::from(error).description();
        if (!silent)
            ShowError(QStringLiteral("MakenSQLiteConnectie"), error);
    }
    SQLiteConnectie.reset();
    return false;
}

bool clsConnectie::openExcel(const QString& path, bool headerRow, int provider)
{
    closeHeld();
    try {
        ADOConnectie = backendOpeners().excel(path, headerRow, static_cast<ExcelProvider>(provider));
        if (ADOConnectie)
            m_lastOpenError.clear();
        return ADOConnectie != nullptr;
    } catch (const std::exception& error) {
        // The callers report a workbook that does not open; a provider that is not there leaves the
        // reason of the attempt before it.
        const AppError failure = AppError::from(error);
        if (failure.number() != DbErrorNumber::NotAvailable || m_lastOpenError.isEmpty())
            m_lastOpenError = failure.description();
    }
    ADOConnectie.reset();
    return false;
}

bool clsConnectie::MakenExcelConnectie(const QString& path, bool headerRow)
{
    return MakenExcelConnectieMSJETOLEDB40(path, headerRow) ||
           MakenExcelConnectieMSACEOLEDB120(path, headerRow);
}

bool clsConnectie::MakenExcelConnectieMSJETOLEDB40(const QString& path, bool headerRow)
{
    ForceerTypeGuessRows();
    return openExcel(path, headerRow, int(ExcelProvider::Jet40));
}

bool clsConnectie::MakenExcelConnectieMSACEOLEDB120(const QString& path, bool headerRow)
{
    ForceerTypeGuessRows();
    return openExcel(path, headerRow, int(ExcelProvider::Ace120));
}

bool clsConnectie::CheckExcelConnectie(const QString& path, bool headerRow)
{
    return CheckExcelConnectieMSJETOLEDB40(path, headerRow) ||
           CheckExcelConnectieMSACEOLEDB120(path, headerRow);
}

bool clsConnectie::CheckExcelConnectieMSJETOLEDB40(const QString& path, bool headerRow)
{
    return openExcel(path, headerRow, int(ExcelProvider::Jet40));
}

bool clsConnectie::CheckExcelConnectieMSACEOLEDB120(const QString& path, bool headerRow)
{
    return openExcel(path, headerRow, int(ExcelProvider::Ace120));
}

void clsConnectie::ForceerTypeGuessRows()
{
    try {
        // A machine without the value is left alone: there is nothing to force or to restore.
        const std::optional<qint32> current = fGetLong(HKEY_LOCAL_MACHINE, kExcelEngineKey, kTypeGuessRows);
        if (!current)
            return;
        if (!TypeGuessRowsGewijzigd)
            OudeTypeGuessRows = *current;
        if (*current == kWantedTypeGuessRows)
            return;
        TypeGuessRowsGewijzigd = true;
        fSaveLong(HKEY_LOCAL_MACHINE, kExcelEngineKey, kTypeGuessRows, kWantedTypeGuessRows);
    } catch (...) {
        // Writing machine-wide settings may be refused without administrator rights; the workbook still opens.
    }
}

void clsConnectie::HerstelTypeGuessRows()
{
    try {
        if (TypeGuessRowsGewijzigd)
            fSaveLong(HKEY_LOCAL_MACHINE, kExcelEngineKey, kTypeGuessRows, OudeTypeGuessRows);
    } catch (...) {
        // As when forcing it: a refused write leaves the engine setting as it was, nothing else depends on it.
    }
}

void clsConnectie::SluitenConnectie()
{
    closeQuietly(ADOConnectie);
    closeQuietly(SQLiteConnectie);
}

void clsConnectie::ShowErrors()
{
    try {
        QList<ProviderError> records = ADOConnectie ? ADOConnectie->errors() : QList<ProviderError>();
        if (records.isEmpty())
            records = m_diagnostics;
        if (records.isEmpty())
            return;
        ErrorWindowContent content;
        content.caption = programTitle();
        content.message = QStringLiteral(
            "Er is een fout opgetreden tijdens het opvragen of bewerken van gegevens op de SQL-server!");
        for (const ProviderError& record : records) {
            content.details += record.description + QStringLiteral("  [") + QString::number(record.number) +
                               QStringLiteral("]") + crlf() + crlf() + QStringLiteral("Source = ") +
                               record.source + crlf() + QStringLiteral("SQLState = ") + record.sqlState +
                               crlf() + QStringLiteral("NativeError = ") +
                               QString::number(record.nativeError) + crlf();
        }
        content.picture = 1;
        ui().showErrorWindow(content);
    } catch (const std::exception& error) {
        ToonFout(QStringLiteral("Error in module clsConnectie.ShowErrors: ") +
                 AppError::from(error).description());
    }
}

bool clsConnectie::IsSQLServerAanwezig(const QString& server, bool ntSecurity, const QString& user,
                                       const QString& password)
{
    SqlServerLogin login;
    login.server = server;
    login.integratedSecurity = ntSecurity;
    if (!ntSecurity) {
        login.user = user;
        login.password = password;
    }
    login.applicationName = QStringLiteral("VeRozozizuRezuva");
    try {
        DbConnection probe = backendOpeners().sqlServer(login);
        closeQuietly(probe);
        return true;
    } catch (const std::exception& error) {
        const AppError failure = AppError::from(error);
        if (failure.number() == DbErrorNumber::LoginFailed)
            return true; // the server answered: it is there
        ToonFout(QStringLiteral("Er is een fout opgetreden bij het verbinden met de SQLServer!") + crlf() +
                 crlf() + failure.description());
    }
    return false;
}

RecordsetPtr clsConnectie::Execute(const QString& sql)
{
    try {
        if (ADOConnectie)
            return recordsetOf(ADOConnectie, sql, ADOConnectie->run(sql));
        if (SQLiteConnectie) {
            SQLiteConnectie->execute(sql);
            return nullptr;
        }
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met een database."));
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return nullptr;
}

RecordsetPtr clsConnectie::ExecuteSilent(const QString& sql)
{
    try {
        const DbConnection db = Connection();
        if (db)
            return recordsetOf(db, sql, db->run(sql));
    } catch (...) {
        // The silent form answers no recordset on failure; its callers test for that and report themselves.
    }
    return nullptr;
}

QString clsConnectie::OpvragenGebruikersNaam()
{
    const RecordsetPtr rows = Execute(QStringLiteral("SELECT SYSTEM_USER"));
    if (!rows || rows->eof() || rows->fieldCount() == 0)
        return QString();
    return NzString(rows->value(0));
}

void clsConnectie::CheckServerDateTime()
{
    const auto serverTime = [this]() -> std::optional<QDateTime> {
        const RecordsetPtr rows = Execute(QStringLiteral("SELECT GETDATE() AS [DateTime]"));
        if (!rows || rows->eof())
            return std::nullopt;
        return NzDatum(rows->value(QStringLiteral("DateTime")));
    };
    const std::optional<QDateTime> server = serverTime();
    if (!server)
        return;
    if (std::abs(QDateTime::currentDateTime().secsTo(*server)) <= 5 * 60)
        return;
    const int answer = ui().messageBox(
        QStringLiteral("De tijd op uw pc en de databaseserver verschillen meer dan 5 minuten!") + crlf() +
            QStringLiteral("Dit kan een onjuiste werking van deze applicatie tot gevolg hebben.") + crlf() +
            crlf() + QStringLiteral("Wilt u de locale tijd op uw PC gelijkstellen met de databaseserver?"),
        MsgBox::YesNo | MsgBox::Critical, programTitle());
    if (answer != MsgBox::Yes)
        return;
    if (const std::optional<QDateTime> now = serverTime()) {
        const QDate date = now->date();
        const QTime time = now->time();
        ZetSysteemTijd(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second());
    }
}

QVariant clsConnectie::HandleReturnValue(const QVariantMap& parameters) const
{
    if (ServerVersie == 8)
        return parameters.value(QStringLiteral("@RETURN_VALUE"));
    if (ServerVersie == 7)
        return parameters.value(QStringLiteral("RETURN_VALUE"));
    return QVariant();
}

} // namespace supplink
