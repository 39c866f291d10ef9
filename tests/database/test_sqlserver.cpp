// SQL Server: the connection object's SQL Server paths against the stand-in
// of tests/fixtures (SQLite with PT and CRM attached), the real ODBC path
// against a closed port on this machine, the connection string, the choice
// of driver and the error numbers taken from the driver's SQLSTATEs.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/clsopt.h"
#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/odbcbackend.h"
#include "database/odbcsupport.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QSqlDatabase>
#include <QTcpServer>
#include <QtTest>

using namespace supplink;

namespace {

struct OpenersGuard
{
    ~OpenersGuard() { resetBackendOpeners(); }
};

// A port on this machine on which nothing listens.
quint16 closedPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

struct StandIn
{
    explicit StandIn(const test::TestEnvironment& env)
        : server(env.path(QStringLiteral("pt.db")), env.path(QStringLiteral("crm.db")))
    {
        fixtures::makeServerDatabase(server.ptFile, fixtures::Kind::ProductTable, {3, 40});
        backendOpeners().sqlServer = server.opener();
    }
    OpenersGuard guard;
    fixtures::StandInServer server;
};

ProviderError record(const char* state, qint32 native)
{
    ProviderError error;
    error.sqlState = QString::fromLatin1(state);
    error.nativeError = native;
    error.description = QStringLiteral("melding");
    return error;
}

} // namespace

class TestSqlServer : public QObject
{
    Q_OBJECT

private slots:
    void standInConnects();
    void statementFormsOnTheStandIn();
    void recordsetWritesBackOnTheStandIn();
    void loginRefused();
    void unknownCatalog();
    void serverPresence();
    void targetPathConnects();
    void closedPortFailsCleanly();
    void odbcSourceFailureShowsDiagnostics();
    void errorNumbers_data();
    void errorNumbers();
    void connectionStrings_data();
    void connectionStrings();
    void driverChoice();
};

void TestSqlServer::standInConnects()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                              QStringLiteral("Velmora"), true));
    QVERIFY(cn.IsSQLServer);
    QVERIFY(!cn.IsJet());
    QVERIFY(!cn.isSQLite());
    QCOMPARE(cn.ServerVersie, 10);
    QCOMPARE(cn.ServerVersieTekst, QStringLiteral("10.50.1600.1"));
    QCOMPARE(cn.Connection(), cn.ADOConnectie);
    QCOMPARE(cn.Connection()->kind(), DatabaseBackend::Kind::SqlServer);
    QCOMPARE(standIn.server.logins.size(), 1);
    QCOMPARE(standIn.server.logins.first().applicationName, QStringLiteral("VeRozozizuRezuva"));
    cn.CheckServerDateTime(); // the clocks agree: nothing to ask
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    cn.SluitenConnectie();
    QVERIFY(cn.IsSQLServer); // never set back
}

void TestSqlServer::statementFormsOnTheStandIn()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    fixtures::FixtureDb pt(standIn.server.ptFile);
    pt.addVersionRow(QStringLiteral("VELMORA"), QStringLiteral("PT"), 3, 50);
    pt.addVersionRow(QStringLiteral("QUENTARO"), QStringLiteral("PT"), 9, 0);
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                              QStringLiteral("Velmora"), true));
    const RecordsetPtr version = cn.Execute(SysDBInfo::HoogsteVersie(true));
    QVERIFY(version && !version->eof());
    QCOMPARE(
        VersieTekst(version->value(QStringLiteral("VerMajor")), version->value(QStringLiteral("VerMinor"))),
        QStringLiteral("3.50"));
    QVERIFY(TabelBestaat(cn, QStringLiteral("[PT].[Article]")));
    QVERIFY(!TabelBestaat(cn, QStringLiteral("[PT].[Bestaatniet]")));
    QCOMPARE(TelRecords(cn, QStringLiteral("*"), QStringLiteral("[PT].[SysDBInfo]"), QString()).toInt(), 3);
    cn.Execute(QStringLiteral("CREATE TABLE CRM.Vendor (oID INTEGER PRIMARY KEY, Code TEXT)"));
    cn.Execute(QStringLiteral("INSERT INTO [CRM].[Vendor] ([Code]) VALUES ('LEV')"));
    const RecordsetPtr found = cn.Execute(
        QStringLiteral("SELECT LEN([Code] + '  ') AS L, CHARINDEX('E', [Code]) AS P, GETDATE() AS D "
                       "FROM [CRM].[Vendor]"));
    QCOMPARE(found->value(QStringLiteral("P")).toInt(), 2);
    QVERIFY(NzDatum(found->value(QStringLiteral("D"))).isValid());
    QVERIFY(ui.errors.isEmpty());
}

void TestSqlServer::recordsetWritesBackOnTheStandIn()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    clsConnectie cn;
    QVERIFY(cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                              QStringLiteral("Velmora"), true));
    const RecordsetPtr articles =
        cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [PT].[Article]"));
    articles->addNew();
    articles->setValue(QStringLiteral("Code"), QStringLiteral("A'1"));
    articles->update();
    QVERIFY(articles->value(QStringLiteral("ID")).toLongLong() > 0);
    QCOMPARE(fixtures::FixtureDb(standIn.server.ptFile).count(QStringLiteral("Article")), 1);
}

void TestSqlServer::loginRefused()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("fout"),
                               QStringLiteral("Velmora"), true));
    QVERIFY(cn.InlogGeweigerd && !cn.VerbindingMislukt && !cn.AndereFout);
    QVERIFY(!cn.IsSQLServer && !cn.ADOConnectie);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(
        ui.messages.first().text,
        QStringLiteral("Gebruikersnaam niet gevonden of combinatie Gebruikersnaam/Wachtwoord niet in orde!"));
    // The driver's records stay for ShowErrors.
    cn.ShowErrors();
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("SQLState = 28000")));
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("NativeError = 18456")));
}

void TestSqlServer::unknownCatalog()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(QStringLiteral("srv"), QStringLiteral("sa"), QStringLiteral("geheim"),
                               QStringLiteral("Onbekend"), true));
    QVERIFY(cn.VerbindingMislukt && !cn.InlogGeweigerd);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text,
             QStringLiteral("U kunt niet inloggen op  sqlserver 'srv' of catalog 'Onbekend'!"));
}

void TestSqlServer::serverPresence()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    clsConnectie cn;
    QVERIFY(
        cn.IsSQLServerAanwezig(QStringLiteral("srv"), false, QStringLiteral("sa"), QStringLiteral("fout")));
    QVERIFY(cn.IsSQLServerAanwezig(QStringLiteral("srv"), true, QString(), QString()));
    QVERIFY(standIn.server.logins.last().database.isEmpty()); // no catalog named
    QVERIFY(ui.messages.isEmpty());
}

void TestSqlServer::targetPathConnects()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    StandIn standIn(env);
    const QChar s = SqlServerVerbinding::Scheiding;
    const QString path = QStringLiteral("*srv") + s + QStringLiteral("Velmora") + s +
                         QStringLiteral("eSQLSecurity") + s + QStringLiteral("sa") + s +
                         QStringLiteral("geheim");
    QVERIFY(sqlserverconnectionok(path));
    QVERIFY(jetTargetRefusal(path).isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TestSqlServer::closedPortFailsCleanly()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    resetBackendOpeners();
    QVERIFY(QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")));
    // scripts/install-deps.sh installs one (FreeTDS); without it this test cannot see the connection fail.
    QVERIFY2(!sqlServerDriver(installedOdbcDrivers()).isEmpty(), "no ODBC driver for SQL Server installed");
    const quint16 port = closedPort();
    QVERIFY(port != 0);
    const QString server = QStringLiteral("127.0.0.1,%1").arg(port);

    clsConnectie cn;
    QVERIFY(!cn.MakenConnectie(server, QStringLiteral("sa"), QStringLiteral("x"), QStringLiteral("Velmora"),
                               true));
    QVERIFY(cn.VerbindingMislukt && !cn.InlogGeweigerd);
    QVERIFY(!cn.ADOConnectie && !cn.IsSQLServer);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text,
             QStringLiteral("U kunt niet inloggen op  sqlserver '%1' of catalog 'Velmora'!").arg(server));
    QVERIFY(ui.errors.isEmpty());
    cn.ShowErrors(); // the driver's own records
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY2(ui.errors.first().details.contains(QStringLiteral("SQLState = 08")),
             qPrintable(ui.errors.first().details));

    ui.messages.clear();
    QVERIFY(!cn.IsSQLServerAanwezig(server, false, QStringLiteral("sa"), QStringLiteral("x")));
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(ui.messages.first().text.startsWith(
        QStringLiteral("Er is een fout opgetreden bij het verbinden met de SQLServer!\r\n\r\n")));
}

void TestSqlServer::odbcSourceFailureShowsDiagnostics()
{
    test::RecordingUiServices ui;
    resetBackendOpeners();
    clsConnectie cn;
    QVERIFY(!cn.MakenODBCConnectie(QStringLiteral("DSN=supplink-bestaat-niet")));
    QVERIFY(!cn.ADOConnectie);
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY2(ui.errors.first().details.contains(QStringLiteral("SQLState = IM002")),
             qPrintable(ui.errors.first().details));
}

void TestSqlServer::errorNumbers_data()
{
    QTest::addColumn<QList<ProviderError>>("records");
    QTest::addColumn<qint32>("number");
    QTest::newRow("login refused") << QList<ProviderError>{record("28000", 18456)}
                                   << DbErrorNumber::LoginFailed;
    QTest::newRow("login message without state")
        << QList<ProviderError>{record("42000", 18456)} << DbErrorNumber::LoginFailed;
    QTest::newRow("unknown catalog first")
        << QList<ProviderError>{record("42000", 4060), record("28000", 18456)} << DbErrorNumber::Unspecified;
    QTest::newRow("unreachable") << QList<ProviderError>{record("08001", 20009)}
                                 << DbErrorNumber::Unspecified;
    QTest::newRow("link lost") << QList<ProviderError>{record("08S01", 0)} << DbErrorNumber::Unspecified;
    QTest::newRow("timeout") << QList<ProviderError>{record("HYT00", 0)} << DbErrorNumber::Unspecified;
    QTest::newRow("no driver") << QList<ProviderError>{record("IM002", 0)} << DbErrorNumber::NotAvailable;
    QTest::newRow("syntax") << QList<ProviderError>{record("42000", 102)} << DbErrorNumber::CommandError;
    QTest::newRow("constraint") << QList<ProviderError>{record("23000", 2627)}
                                << DbErrorNumber::IntegrityViolation;
    QTest::newRow("value") << QList<ProviderError>{record("22001", 8152)} << DbErrorNumber::TypeMismatch;
    QTest::newRow("nothing said") << QList<ProviderError>{} << DbErrorNumber::Unspecified;
}

void TestSqlServer::errorNumbers()
{
    QFETCH(QList<ProviderError>, records);
    QFETCH(qint32, number);
    QCOMPARE(odbcErrorNumber(records), number);
    QCOMPARE(odbcFailure(records, QStringLiteral("x")).number(), number);
}

void TestSqlServer::connectionStrings_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");
    QTest::newRow("FreeTDS with port") << "FreeTDS"
                                       << "db.example.nl,1433" << false << "geheim"
                                       << "DRIVER={FreeTDS};SERVER=db.example.nl;PORT=1433;DATABASE=Velmora;"
                                          "UID=sa;PWD=geheim;APP=VeRozozizuRezuva;";
    QTest::newRow("FreeTDS local instance")
        << "FreeTDS"
        << "(local)\\SQLEXPRESS" << true << ""
        << "DRIVER={FreeTDS};SERVER=127.0.0.1\\SQLEXPRESS;DATABASE=Velmora;Trusted_Connection=Yes;"
           "APP=VeRozozizuRezuva;";
    QTest::newRow("password with separators")
        << "FreeTDS"
        << "srv" << false << "a;b}c"
        << "DRIVER={FreeTDS};SERVER=srv;DATABASE=Velmora;UID=sa;PWD={a;b}}c};APP=VeRozozizuRezuva;";
    QTest::newRow("Windows driver keeps host,port")
        << "SQL Server"
        << "srv,1433" << false << "pw"
        << "DRIVER={SQL Server};SERVER=srv,1433;DATABASE=Velmora;UID=sa;PWD=pw;APP=VeRozozizuRezuva;";
    QTest::newRow("newest Microsoft driver")
        << "ODBC Driver 18 for SQL Server"
        << "srv" << true << ""
        << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=srv;DATABASE=Velmora;Trusted_Connection=Yes;"
           "APP=VeRozozizuRezuva;Encrypt=no;";
}

void TestSqlServer::connectionStrings()
{
    QFETCH(QString, driver);
    QFETCH(QString, server);
    QFETCH(bool, integrated);
    QFETCH(QString, password);
    QFETCH(QString, expected);
    SqlServerLogin login;
    login.server = server;
    login.database = QStringLiteral("Velmora");
    login.integratedSecurity = integrated;
    login.user = integrated ? QString() : QStringLiteral("sa");
    login.password = password;
    login.applicationName = QStringLiteral("VeRozozizuRezuva");
    QCOMPARE(sqlServerConnectionString(login, driver), expected);
}

void TestSqlServer::driverChoice()
{
    QCOMPARE(sqlServerDriver({QStringLiteral("MDBTools"), QStringLiteral("FreeTDS")}),
             QStringLiteral("FreeTDS"));
    QCOMPARE(sqlServerDriver({QStringLiteral("FreeTDS"), QStringLiteral("SQL Server"),
                              QStringLiteral("ODBC Driver 17 for SQL Server")}),
             QStringLiteral("ODBC Driver 17 for SQL Server"));
    QVERIFY(sqlServerDriver({QStringLiteral("MDBTools")}).isEmpty());
    // A driver that only reads Jet files does not make Jet targets writable.
    if (installedOdbcDrivers().contains(QStringLiteral("MDBTools")))
        QVERIFY(jetWriterDriver().isEmpty());
}

QTEST_GUILESS_MAIN(TestSqlServer)
#include "test_sqlserver.moc"
