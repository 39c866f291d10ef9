// The connection object: SQLite files, the Jet fallback, SQL Server through a
// scripted back-end, the members without a back-end on this system, and the
// Excel engine's type-guess setting.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "fixtures/scriptedbackend.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;
using fixtures::ScriptedBackend;

namespace {

const QString kExcelKey = QStringLiteral("SOFTWARE\\Microsoft\\Jet\\4.0\\Engines\\Excel");

// Puts the program's openers back when a test ends.
struct OpenersGuard
{
    ~OpenersGuard() { resetBackendOpeners(); }
};

// A Jet file as the program sees it once read into its private SQLite database.
class JetMirror : public SqliteBackend
{
public:
    static std::shared_ptr<JetMirror> open(const QString& path)
    {
        return std::shared_ptr<JetMirror>(new JetMirror(openHandle(path, SqliteOpenOptions()), path));
    }
    Kind kind() const override { return Kind::Jet; }

private:
    JetMirror(sqlite3* db, const QString& path) : SqliteBackend(db, path) {}
};

QString makeSqlite(const test::TestEnvironment& env, const QString& name = QStringLiteral("opt.db"))
{
    const QString path = env.path(name);
    fixtures::makeDatabase(path, fixtures::Kind::Options, {3, 40});
    return path;
}

QString makeText(const test::TestEnvironment& env)
{
    const QString path = env.path(QStringLiteral("notes.mdb"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("dit is geen database");
    return path;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::shared_ptr<ScriptedBackend> serverAnswering(const QString& productVersion,
                                                 const QString& fullVersion = {})
{
    auto server = std::make_shared<ScriptedBackend>();
    if (!productVersion.isNull())
        server->answer(QStringLiteral("SELECT SERVERPROPERTY('ProductVersion')"), {QString()},
                       {{productVersion}});
    if (!fullVersion.isNull())
        server->answer(QStringLiteral("SELECT @@VERSION"), {QString()}, {{fullVersion}});
    return server;
}

} // namespace

class TestConnectie : public QObject
{
    Q_OBJECT

private slots:
    void sqliteFileOpensAsSqlite();
    void sqliteFailures_data();
    void sqliteFailures();
    void jetConnectionFallsBackToSqlite();
    void jetConnectionFailureShowsBothMessages();
    void jetDiagnosticsFollowTheMessage();
    void jetBackendCountsAsJet();
    void jetOrSqliteChoosesByFile();
    void executeOnSqlite();
    void executeSilentSaysNothing();
    void lockedDatabaseIsReported();
    void closeReleasesAndClosesTheFile();
    void secondOpenClosesTheFirst();
    void serverVersion_data();
    void serverVersion();
    void loginSettings();
    void serverLoginRefused();
    void serverUnreachable();
    void serverNotAvailable();
    void serverDiagnosticsInErrorWindow();
    void sqlServerFlagFollowsTheConnection();
    void serverPresence_data();
    void serverPresence();
    void showErrorsWithoutDiagnosticsShowsNothing();
    void excelWithoutBackendFailsQuietly();
    void typeGuessRows_data();
    void typeGuessRows();
    void serverHelpers();
};

void TestConnectie::sqliteFileOpensAsSqlite()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    QVERIFY(cn.isSQLite());
    QVERIFY(!cn.IsJet());
    QVERIFY(!cn.IsSQLServer);
    QCOMPARE(cn.Connection(), cn.SQLiteConnectie);
    QCOMPARE(cn.Connection()->kind(), DatabaseBackend::Kind::SQLite);
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    cn.SluitenConnectie();
}

void TestConnectie::sqliteFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("text") << "text";
    QTest::newRow("empty") << "empty";
}

void TestConnectie::sqliteFailures()
{
    QFETCH(QString, kind);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    QString path = env.path(QStringLiteral("missing.db"));
    if (kind == u"text")
        path = makeText(env);
    if (kind == u"empty")
        QFile(path).open(QIODevice::WriteOnly);
    const QByteArray before = contentOf(path);
    clsConnectie cn;
    QVERIFY(!cn.MakenSQLiteConnectie(path, false));
    QVERIFY(!cn.isSQLite() && !cn.Connection());
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("MakenSQLiteConnectie")));
    QCOMPARE(QFile::exists(path), kind != u"missing");
    QCOMPARE(contentOf(path), before);
    ui.clear();
    QVERIFY(!cn.MakenSQLiteConnectie(path, true));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::jetConnectionFallsBackToSqlite()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(makeSqlite(env), QString()));
    QVERIFY(cn.isSQLite());
    QVERIFY(!cn.IsJet());
    QVERIFY(!cn.ADOConnectie);
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::jetConnectionFailureShowsBothMessages()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(!cn.MakenJetConnectie(makeText(env), QString()));
    QVERIFY(!cn.Connection());
    QCOMPARE(ui.errors.size(), 1); // the SQLite attempt
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages.first().text.startsWith(QStringLiteral("Verbindingfout: ")));
    QVERIFY(ui.messages.first().text.contains(QStringLiteral("geen Access-database")));
    QCOMPARE(MsgBox::icon(ui.messages.first().style), int(MsgBox::Critical));
    QCOMPARE(ui.messages.first().title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
}

void TestConnectie::jetDiagnosticsFollowTheMessage()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().jet = [](const QString&, const QString&) -> DbConnection {
        throw ProviderFailure(DbErrorNumber::Unspecified, QStringLiteral("Onbekend bestandsformaat."),
                              {{QStringLiteral("Onbekend bestandsformaat."), 1, QStringLiteral("libmdb"),
                                QStringLiteral("HY000"), 0}});
    };
    clsConnectie cn;
    QVERIFY(!cn.MakenJetConnectie(makeText(env), QString()));
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text, QStringLiteral("Verbindingfout: Onbekend bestandsformaat."));
    QCOMPARE(ui.errors.size(), 2); // the SQLite attempt, then the provider's diagnostics
    QVERIFY(ui.errors.at(1).details.contains(QStringLiteral("Source = libmdb")));
}

void TestConnectie::jetBackendCountsAsJet()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().jet = [](const QString& path, const QString&) -> DbConnection {
        return JetMirror::open(path);
    };
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(makeSqlite(env), QString()));
    QVERIFY(cn.IsJet());
    QVERIFY(!cn.isSQLite());
    QCOMPARE(cn.Connection(), cn.ADOConnectie);
    const RecordsetPtr rows = cn.Execute(QStringLiteral("SELECT DBTYPE FROM SysDBInfo"));
    QVERIFY(rows);
    QCOMPARE(rows->value(0).toString(), QStringLiteral("OPTIONS"));
    QVERIFY(!cn.Execute(QStringLiteral("DELETE FROM LocksHingesTable")));
    QVERIFY(ui.errors.isEmpty());
}

void TestConnectie::jetOrSqliteChoosesByFile()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersGuard guard;
    int jetOpens = 0;
    backendOpeners().jet = [&](const QString& path, const QString&) -> DbConnection {
        ++jetOpens;
        return JetMirror::open(path);
    };
    clsConnectie cn;
    QVERIFY(cn.MakenJetorSQLiteConnectie(makeSqlite(env), QString()));
    QVERIFY(cn.isSQLite());
    QCOMPARE(jetOpens, 0);
    QVERIFY(!cn.MakenJetorSQLiteConnectie(makeText(env), QString()));
    QCOMPARE(jetOpens, 1);
}

void TestConnectie::executeOnSqlite()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    QVERIFY(!cn.Execute(QStringLiteral("INSERT INTO LocksHingesTable (Code) VALUES ('T1')")));
    QVERIFY(!cn.Execute(QStringLiteral("SELECT * FROM LocksHingesTable"))); // SQLite answers no recordset
    QVERIFY(ui.errors.isEmpty());
    QCOMPARE(cn.ExecuteSilent(QStringLiteral("SELECT Code FROM LocksHingesTable"))->value(0).toString(),
             QStringLiteral("T1"));
    QVERIFY(!cn.Execute(QStringLiteral("INSERT INTO Missing VALUES (1)")));
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().message.startsWith(QStringLiteral("Invoer onjuist!")));

    clsConnectie none;
    ui.clear();
    QVERIFY(!none.Execute(QStringLiteral("SELECT 1")));
    QCOMPARE(ui.errors.size(), 1);
}

void TestConnectie::executeSilentSaysNothing()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(!cn.ExecuteSilent(QStringLiteral("SELECT 1")));
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    QVERIFY(!cn.ExecuteSilent(QStringLiteral("SELECT * FROM Missing")));
    QVERIFY(!cn.ExecuteSilent(QStringLiteral("DELETE FROM LocksHingesTable")));
    const RecordsetPtr empty = cn.ExecuteSilent(QStringLiteral("SELECT * FROM LocksHingesTable WHERE 1=0"));
    QVERIFY(empty);
    QVERIFY(empty->eof());
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::lockedDatabaseIsReported()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = makeSqlite(env);
    const auto holder = SqliteBackend::open(path);
    holder->execute(QStringLiteral("BEGIN IMMEDIATE")); // another program is writing
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    sqlite3_busy_timeout(std::static_pointer_cast<SqliteBackend>(cn.SQLiteConnectie)->handle(), 50);
    QVERIFY(!cn.Execute(QStringLiteral("INSERT INTO LocksHingesTable (Code) VALUES ('x')")));
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("in gebruik")));
    holder->execute(QStringLiteral("ROLLBACK"));
    QCOMPARE(cn.ExecuteSilent(QStringLiteral("SELECT count(*) FROM LocksHingesTable"))->value(0).toInt(), 0);
}

void TestConnectie::closeReleasesAndClosesTheFile()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    const DbConnection db = cn.Connection();
    const RecordsetPtr rows = db->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo"));
    cn.SluitenConnectie();
    QVERIFY(!cn.Connection());
    QVERIFY(!cn.isSQLite());
    QVERIFY(!db->isOpen());
    QCOMPARE(rows->value(QStringLiteral("AppType")).toString(), QStringLiteral("VELMORA"));
    cn.SluitenConnectie(); // a second close is harmless
    QVERIFY(ui.errors.isEmpty());
}

void TestConnectie::secondOpenClosesTheFirst()
{
    test::TestEnvironment env;
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    const DbConnection first = cn.Connection();
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env, QStringLiteral("other.db"))));
    QVERIFY(!first->isOpen());
    QVERIFY(cn.Connection()->isOpen());
}

void TestConnectie::serverVersion_data()
{
    QTest::addColumn<QString>("productVersion"); // null: the server does not know SERVERPROPERTY
    QTest::addColumn<QString>("fullVersion");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("2000") << "8.00.194" << QString() << 8 << "8.00.194";
    QTest::newRow("2005") << "9.00.1399.06" << QString() << 9 << "9.00.1399.06";
    QTest::newRow("2008 R2") << "10.50.1600.1" << QString() << 10 << "10.50.1600.1";
    QTest::newRow("2012") << "11.0.2100.60" << QString() << 11 << "11.0.2100.60";
    QTest::newRow("2014") << "12.0.2000.8"
                          << "Microsoft SQL Server 2014" << 0 << "Microsoft SQL Server 2014";
    QTest::newRow("7 without serverproperty")
        << QString() << "Microsoft SQL Server  7.00.623" << 7 << "Microsoft SQL Server  7.00.623";
}

void TestConnectie::serverVersion()
{
    QFETCH(QString, productVersion);
    QFETCH(QString, fullVersion);
    QFETCH(int, version);
    QFETCH(QString, text);
    test::RecordingUiServices ui;
    OpenersGuard guard;
    const auto server = serverAnswering(productVersion, fullVersion);
    if (productVersion.isNull())
        server->fail(
            QStringLiteral("SELECT SERVERPROPERTY('ProductVersion')"),
            AppError(DbErrorNumber::CommandError, QStringLiteral("'SERVERPROPERTY' is not a function")));
    backendOpeners().sqlServer = [server](const SqlServerLogin&) -> DbConnection { return server; };
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("pw"),
                              QStringLiteral("Produkten"), true));
    QVERIFY(cn.IsSQLServer);
    QVERIFY(!cn.IsJet());
    QCOMPARE(cn.Connection(), cn.ADOConnectie);
    QCOMPARE(cn.ServerVersie, version);
    QCOMPARE(cn.ServerVersieTekst, text);
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::loginSettings()
{
    OpenersGuard guard;
    QList<SqlServerLogin> logins;
    backendOpeners().sqlServer = [&](const SqlServerLogin& login) -> DbConnection {
        logins.append(login);
        return serverAnswering(QStringLiteral("10.0"));
    };
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                              QStringLiteral("db"), true));
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                              QStringLiteral("db"), false));
    QCOMPARE(logins.size(), 2);
    QVERIFY(!logins.at(0).integratedSecurity);
    QCOMPARE(logins.at(0).user, QStringLiteral("sa"));
    QCOMPARE(logins.at(0).password, QStringLiteral("geheim"));
    QCOMPARE(logins.at(0).database, QStringLiteral("db"));
    QCOMPARE(logins.at(0).applicationName, QStringLiteral("VeRozozizuRezuva"));
    QVERIFY(logins.at(1).integratedSecurity);
    QVERIFY(logins.at(1).user.isEmpty() && logins.at(1).password.isEmpty());
}

void TestConnectie::serverLoginRefused()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        throw AppError(DbErrorNumber::LoginFailed, QStringLiteral("Login failed for user 'sa'."));
    };
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("x"),
                               QStringLiteral("db"), true));
    QVERIFY(cn.InlogGeweigerd && !cn.VerbindingMislukt && !cn.AndereFout);
    QVERIFY(!cn.IsSQLServer && !cn.ADOConnectie);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(
        ui.messages.first().text,
        QStringLiteral("Gebruikersnaam niet gevonden of combinatie Gebruikersnaam/Wachtwoord niet in orde!"));
}

void TestConnectie::serverUnreachable()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Server does not exist"));
    };
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QString(), QString(), QStringLiteral("db"), false));
    QVERIFY(cn.VerbindingMislukt && !cn.InlogGeweigerd);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text,
             QStringLiteral("U kunt niet inloggen op  sqlserver 'srv' of catalog 'db'!"));
}

void TestConnectie::serverNotAvailable()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        throw AppError(DbErrorNumber::NotAvailable,
                       QStringLiteral("Er is geen ODBC-stuurprogramma voor SQL Server geïnstalleerd."));
    };
    backendOpeners().odbc = [](const QString&) -> DbConnection {
        throw AppError(DbErrorNumber::NotAvailable, QStringLiteral("Geen ODBC-gegevensbronnen."));
    };
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QString(), QString(), QStringLiteral("db"), false));
    QVERIFY(!cn.InlogGeweigerd && !cn.VerbindingMislukt);
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages.first().text.contains(QStringLiteral("SQL Server")));
    QVERIFY(ui.errors.isEmpty());
    QVERIFY(!cn.MakenODBCConnectie(QStringLiteral("DSN=x")));
    QCOMPARE(ui.errors.size(), 1); // reported, not silent
}

void TestConnectie::serverDiagnosticsInErrorWindow()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        throw ProviderFailure(
            17, QStringLiteral("SSL fout"),
            {{QStringLiteral("SSL fout"), 17, QStringLiteral("ODBC"), QStringLiteral("08001"), 20},
             {QStringLiteral("Tweede"), 18, QStringLiteral("TDS"), QStringLiteral("HY000"), 0}});
    };
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QString(), QString(), QStringLiteral("db"), false));
    QCOMPARE(ui.errors.size(), 1);
    const ErrorWindowContent& window = ui.errors.first();
    QCOMPARE(
        window.message,
        QStringLiteral(
            "Er is een fout opgetreden tijdens het opvragen of bewerken van gegevens op de SQL-server!"));
    QCOMPARE(window.details, QStringLiteral("SSL fout  [17]\r\n\r\nSource = ODBC\r\nSQLState = 08001\r\n"
                                            "NativeError = 20\r\nTweede  [18]\r\n\r\nSource = TDS\r\n"
                                            "SQLState = HY000\r\nNativeError = 0\r\n"));
    QCOMPARE(window.picture, 1);
}

void TestConnectie::sqlServerFlagFollowsTheConnection()
{
    test::TestEnvironment env;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        return serverAnswering(QStringLiteral("10.0"));
    };
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QString(), QString(), QStringLiteral("db"), false));
    QVERIFY(cn.IsSQLServer);
    cn.SluitenConnectie();
    QVERIFY(cn.IsSQLServer); // closing keeps it
    QVERIFY(cn.MakenSQLiteConnectie(makeSqlite(env)));
    QVERIFY(!cn.IsSQLServer); // an SQLite connection is no SQL Server connection
}

void TestConnectie::serverPresence_data()
{
    QTest::addColumn<int>("failure"); // 0: the server answers
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("messages");
    QTest::newRow("answers") << 0 << true << 0;
    QTest::newRow("refuses the login") << int(DbErrorNumber::LoginFailed) << true << 0;
    QTest::newRow("not reachable") << int(DbErrorNumber::Unspecified) << false << 1;
}

void TestConnectie::serverPresence()
{
    QFETCH(int, failure);
    QFETCH(bool, present);
    QFETCH(int, messages);
    test::RecordingUiServices ui;
    OpenersGuard guard;
    std::shared_ptr<ScriptedBackend> server;
    SqlServerLogin asked;
    backendOpeners().sqlServer = [&](const SqlServerLogin& login) -> DbConnection {
        asked = login;
        if (failure)
            throw AppError(failure, QStringLiteral("fout"));
        server = std::make_shared<ScriptedBackend>();
        return server;
    };
    clsConnectie cn;
    QCOMPARE(cn.IsSQLServerAanwezig(QStringLiteral("srv"), false, QStringLiteral("sa"), QString()), present);
    QCOMPARE(ui.messages.size(), messages);
    if (messages)
        QVERIFY(ui.messages.first().text.startsWith(
            QStringLiteral("Er is een fout opgetreden bij het verbinden met de SQLServer!\r\n\r\nfout")));
    QVERIFY(asked.database.isEmpty());
    QCOMPARE(asked.user, QStringLiteral("sa"));
    if (server)
        QVERIFY(!server->isOpen()); // the probe is closed again
    QVERIFY(!cn.ADOConnectie);
}

void TestConnectie::showErrorsWithoutDiagnosticsShowsNothing()
{
    test::RecordingUiServices ui;
    clsConnectie cn;
    cn.ShowErrors();
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::excelWithoutBackendFailsQuietly()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsConnectie cn;
    QVERIFY(!cn.MakenExcelConnectie(env.path(QStringLiteral("prijzen.xls")), true));
    QVERIFY(!cn.CheckExcelConnectie(env.path(QStringLiteral("prijzen.xls")), false));
    QVERIFY(!cn.Connection());
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestConnectie::typeGuessRows_data()
{
    QTest::addColumn<int>("before"); // -1: no value
    QTest::addColumn<int>("during");
    QTest::newRow("changed and put back") << 8 << 1000;
    QTest::newRow("already right") << 1000 << 1000;
    QTest::newRow("absent stays absent") << -1 << -1;
}

void TestConnectie::typeGuessRows()
{
    QFETCH(int, before);
    QFETCH(int, during);
    test::TestEnvironment env;
    const auto read = [] {
        return fGetLong(HKEY_LOCAL_MACHINE, kExcelKey, QStringLiteral("TypeGuessRows")).value_or(-1);
    };
    if (before >= 0)
        fSaveLong(HKEY_LOCAL_MACHINE, kExcelKey, QStringLiteral("TypeGuessRows"), before);
    OpenersGuard guard;
    int attempts = 0;
    backendOpeners().excel = [&](const QString&, bool, ExcelProvider) -> DbConnection {
        ++attempts;
        throw AppError(DbErrorNumber::NotAvailable, QStringLiteral("geen werkmap"));
    };
    {
        clsConnectie cn;
        QVERIFY(!cn.MakenExcelConnectie(env.path(QStringLiteral("a.xls")), true)); // both providers tried
        QCOMPARE(attempts, 2);
        QCOMPARE(read(), during);
    }
    QCOMPARE(read(), before);
}

void TestConnectie::serverHelpers()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    const auto server = serverAnswering(QStringLiteral("8.00.194"));
    server->answer(QStringLiteral("SELECT SYSTEM_USER"), {QString()}, {{QStringLiteral("sa")}});
    server->answer(QStringLiteral("SELECT GETDATE() AS [DateTime]"), {QStringLiteral("DateTime")},
                   {{QDateTime::currentDateTime().addSecs(-3600)}});
    backendOpeners().sqlServer = [server](const SqlServerLogin&) -> DbConnection { return server; };
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QString(), QString(), QStringLiteral("db"), false));
    QCOMPARE(cn.OpvragenGebruikersNaam(), QStringLiteral("sa"));
    QCOMPARE(
        cn.HandleReturnValue({{QStringLiteral("@RETURN_VALUE"), 5}, {QStringLiteral("RETURN_VALUE"), 7}}),
        QVariant(5));
    ui.messageAnswers.enqueue(MsgBox::No); // never touch this machine's clock
    cn.CheckServerDateTime();
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages.first().text.startsWith(
        QStringLiteral("De tijd op uw pc en de databaseserver verschillen meer dan 5 minuten!")));
    QCOMPARE(ui.messages.first().style, MsgBox::YesNo | MsgBox::Critical);
}

QTEST_GUILESS_MAIN(TestConnectie)
#include "test_connectie.moc"
