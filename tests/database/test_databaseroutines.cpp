// The shared database routines and the target-database descriptor.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/scriptedbackend.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QtTest>

using namespace supplink;

namespace {

const QChar kSep(8);

QString description(const QStringList& fields)
{
    return fields.join(kSep);
}

struct OpenersGuard
{
    ~OpenersGuard() { resetBackendOpeners(); }
};

std::shared_ptr<clsItem> item(const QString& code, bool selected)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Selected = selected;
    return result;
}

QString writeFile(const test::TestEnvironment& env, const QString& name, const QByteArray& content)
{
    const QString path = env.path(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

} // namespace

class TestDatabaseRoutines : public QObject
{
    Q_OBJECT

private slots:
    void telRecordsCounts();
    void telRecordsReportsErrors();
    void maakInLijst_data();
    void maakInLijst();
    void veldBestaatIgnoresCase();
    void tabelBestaatIsSilent();
    void sqlServerPaths_data();
    void sqlServerPaths();
    void sqlServerConnectionNeedsFiveFields();
    void sqlServerConnectionUsesTheFields();
    void sqlServerConnectionFailure();
    void isSqliteBestand_data();
    void isSqliteBestand();
    void doelBestandPath_data();
    void doelBestandPath();
    void doelBestandKeepsDescriptionBehindFilePath();
};

void TestDatabaseRoutines::telRecordsCounts()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("lib.db"));
    fixtures::makeDatabase(path, fixtures::Kind::Library, {3, 40});
    {
        fixtures::FixtureDb db(path);
        for (const char* code : {"P1", "P2", "P3"})
            db.insert(QStringLiteral("PaneGrooveTable"),
                      {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    }
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    QCOMPARE(TelRecords(cn, QStringLiteral("ID"), QStringLiteral("PaneGrooveTable"), QString()).toInt(), 3);
    QCOMPARE(TelRecords(cn, QStringLiteral("ID"), QStringLiteral("PaneGrooveTable"),
                        QStringLiteral("Code <> 'P2'"))
                 .toInt(),
             2);
    QCOMPARE(TelRecords(cn, QStringLiteral("*"), QStringLiteral("EdgeGroove"), QString()).toInt(), 0);
    QVERIFY(ui.errors.isEmpty());
}

void TestDatabaseRoutines::telRecordsReportsErrors()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("lib.db"));
    fixtures::makeDatabase(path, fixtures::Kind::Library, {3, 40});
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    QVERIFY(!TelRecords(cn, QStringLiteral("ID"), QStringLiteral("Missing"), QString()).isValid());
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().message.contains(QStringLiteral("SELECT Count(ID) AS Tot FROM Missing")));
    clsConnectie none;
    QVERIFY(!TelRecords(none, QStringLiteral("ID"), QStringLiteral("T"), QString()).isValid());
    QCOMPARE(ui.errors.size(), 2);
}

void TestDatabaseRoutines::maakInLijst_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QList<bool>>("selected");
    QTest::addColumn<QString>("list");
    QTest::newRow("second and third")
        << QStringList{"A", "B", "C", "D"} << QList<bool>{false, true, true, false} << "'B', 'C'";
    QTest::newRow("none selected") << QStringList{"A", "B"} << QList<bool>{false, false} << "''";
    QTest::newRow("empty") << QStringList{} << QList<bool>{} << "''";
    QTest::newRow("quotes doubled") << QStringList{"O'Brien", "x';--"} << QList<bool>{true, true}
                                    << "'O''Brien', 'x'';--'";
    QTest::newRow("non-ascii") << QStringList{QString::fromUtf8("Äpfel;ç")} << QList<bool>{true}
                               << QString::fromUtf8("'Äpfel;ç'");
}

void TestDatabaseRoutines::maakInLijst()
{
    QFETCH(QStringList, codes);
    QFETCH(QList<bool>, selected);
    QFETCH(QString, list);
    ItemCollection items;
    for (int i = 0; i < codes.size(); ++i)
        items.append(item(codes.at(i), selected.at(i)));
    QCOMPARE(MaakInLijst(items), list);
}

void TestDatabaseRoutines::veldBestaatIgnoresCase()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("opt.db"));
    fixtures::makeDatabase(path, fixtures::Kind::Options, {3, 40});
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    const RecordsetPtr rs = cn.ExecuteSilent(QStringLiteral("SELECT * FROM LocksHingesCombi"));
    QVERIFY(VeldBestaat(rs, QStringLiteral("lim_min_h")));
    QVERIFY(VeldBestaat(*rs, QStringLiteral("DATA")));
    QVERIFY(!VeldBestaat(rs, QStringLiteral("fkCombi")));
    QVERIFY(!VeldBestaat(RecordsetPtr(), QStringLiteral("Data")));
}

void TestDatabaseRoutines::tabelBestaatIsSilent()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("opt.db"));
    fixtures::makeDatabase(path, fixtures::Kind::Options, {3, 0});
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    QVERIFY(TabelBestaat(cn, QStringLiteral("LocksHingesArticle")));
    QVERIFY(!TabelBestaat(cn, QStringLiteral("CustomLHCombi")));
    QVERIFY(!TabelBestaat(cn, QStringLiteral("no such table; DROP TABLE SysDBInfo")));
    QVERIFY(TabelBestaat(cn, QStringLiteral("SysDBInfo")));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestDatabaseRoutines::sqlServerPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isServer");
    QTest::addColumn<QString>("shown");
    const QString five =
        QStringLiteral("*") + description({"srv\\SQL", "Produkten", "eSQLSecurity", "jan", "geheim"});
    const QString four = QStringLiteral("*") + description({"srv", "Produkten", "eNTSecurity", "jan"});
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("star only") << "*" << true << "* server=";
    QTest::newRow("file") << "/data/pt.db" << false << "/data/pt.db";
    QTest::newRow("five fields") << five << true << "* server=srv\\SQL  database=Produkten  gebruiker=jan";
    QTest::newRow("four fields") << four << true << "* server=srv";
    QTest::newRow("six fields, password inside")
        << QStringLiteral("*") + description({"srv", "Produkten", "eSQLSecurity", "jan", "geheim", "x"}) << true
        << "* server=srv";
}

void TestDatabaseRoutines::sqlServerPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, isServer);
    QFETCH(QString, shown);
    QCOMPARE(IsSQLServerPad(path), isServer);
    QCOMPARE(SQLServerOmschrijving(path), shown);
    QVERIFY(!SQLServerOmschrijving(path).contains(QStringLiteral("geheim")));
}

void TestDatabaseRoutines::sqlServerConnectionNeedsFiveFields()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    int opens = 0;
    backendOpeners().sqlServer = [&](const SqlServerLogin&) -> DbConnection {
        ++opens;
        return std::make_shared<fixtures::ScriptedBackend>();
    };
    QVERIFY(
        !sqlserverconnectionok(QStringLiteral("*") + description({"a", "b", "eNTSecurity", "d", "e", "f"})));
    QVERIFY(!sqlserverconnectionok(QStringLiteral("*") + description({"a", "b", "eNTSecurity", "d"})));
    QCOMPARE(opens, 0);
    QCOMPARE(ui.messages.size(), 2);
    QCOMPARE(ui.messages.first().text,
             QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens."));
}

void TestDatabaseRoutines::sqlServerConnectionUsesTheFields()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    QList<SqlServerLogin> logins;
    QList<std::shared_ptr<fixtures::ScriptedBackend>> servers;
    backendOpeners().sqlServer = [&](const SqlServerLogin& login) -> DbConnection {
        logins.append(login);
        servers.append(std::make_shared<fixtures::ScriptedBackend>());
        return servers.last();
    };
    QVERIFY(
        sqlserverconnectionok(QStringLiteral("*") + description({"srv", "db", "eSQLSecurity", "jan", "pw"})));
    QVERIFY(
        sqlserverconnectionok(QStringLiteral("*") + description({"srv", "db", "iets anders", "jan", "pw"})));
    QVERIFY(
        sqlserverconnectionok(QStringLiteral("*") + description({"srv", "db", "eNTSecurity", "jan", "pw"})));
    QCOMPARE(logins.size(), 3);
    QVERIFY(!logins.at(0).integratedSecurity);
    QCOMPARE(logins.at(0).user, QStringLiteral("jan"));
    QCOMPARE(logins.at(0).password, QStringLiteral("pw"));
    QCOMPARE(logins.at(0).database, QStringLiteral("db"));
    QVERIFY(!logins.at(1).integratedSecurity); // any word but eNTSecurity means an SQL Server login
    QVERIFY(logins.at(2).integratedSecurity);
    for (const auto& server : servers)
        QVERIFY(!server->isOpen()); // closed again
    QVERIFY(ui.messages.isEmpty() && ui.errors.isEmpty());
}

void TestDatabaseRoutines::sqlServerConnectionFailure()
{
    test::RecordingUiServices ui;
    OpenersGuard guard;
    backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
        throw AppError(DbErrorNumber::LoginFailed, QStringLiteral("Login failed"));
    };
    QVERIFY(
        !sqlserverconnectionok(QStringLiteral("*") + description({"srv", "db", "eSQLSecurity", "jan", "x"})));
    QCOMPARE(ui.messages.size(), 2);
    QCOMPARE(ui.messages.at(1).text, QStringLiteral("Verbinden met sqlserver is mislukt!"));
}

void TestDatabaseRoutines::isSqliteBestand_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("answer");
    QTest::newRow("database") << "database" << true;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("empty") << "empty" << false;
    QTest::newRow("text") << "text" << false;
    QTest::newRow("jet") << "jet" << false;
    QTest::newRow("damaged") << "damaged" << false;
}

void TestDatabaseRoutines::isSqliteBestand()
{
    QFETCH(QString, kind);
    QFETCH(bool, answer);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    QString path = env.path(QStringLiteral("missing.db"));
    if (kind == u"database" || kind == u"damaged") {
        path = env.path(QStringLiteral("pt.db"));
        fixtures::makeDatabase(path, fixtures::Kind::ProductTable, {3, 40});
    }
    if (kind == u"damaged") {
        // Keep the header, spoil the pages behind it.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        file.seek(100);
        file.write(QByteArray(int(size - 100), '\x5A'));
    }
    if (kind == u"empty")
        path = writeFile(env, QStringLiteral("empty.db"), QByteArray());
    if (kind == u"text")
        path = writeFile(env, QStringLiteral("text.db"), "SQLite format 2 is dit niet");
    if (kind == u"jet")
        path = writeFile(env, QStringLiteral("old.mdb"),
                         QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(4076, '\0'));
    const qint64 sizeBefore = QFile(path).size();
    QCOMPARE(IsSQLiteBestand(path), answer);
    QCOMPARE(QFile::exists(path), kind != u"missing");
    QCOMPARE(QFile(path).size(), sizeBefore);
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestDatabaseRoutines::doelBestandPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("sql");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("authentication");
    const QString five = description({"srv", "Produkten", "eNTSecurity", "", ""});
    QTest::newRow("file") << "/home/jan/Brevanto/Productentabel.db" << false << "Productentabel.db"
                          << "";
    QTest::newRow("windows file") << "C:\\Data\\Bibliotheek 3.mdb" << false << "Bibliotheek 3.mdb"
                                  << "";
    QTest::newRow("sql server") << QStringLiteral("*") + five << true << "" << five;
}

void TestDatabaseRoutines::doelBestandPath()
{
    QFETCH(QString, path);
    QFETCH(bool, sql);
    QFETCH(QString, fileName);
    QFETCH(QString, authentication);
    clsDoelBestand target;
    QVERIFY(!target.SQL());
    target.setPath(path);
    QCOMPARE(target.Path(), path);
    QCOMPARE(target.SQL(), sql);
    QCOMPARE(target.BestandsNaam, fileName);
    QCOMPARE(target.SQLAuthenticatie(), authentication);
}

void TestDatabaseRoutines::doelBestandKeepsDescriptionBehindFilePath()
{
    const QString first = description({"srv", "db", "eSQLSecurity", "jan", "pw"});
    clsDoelBestand target;
    target.setPath(QStringLiteral("/data/pt.db"));
    target.setSQLAuthenticatie(first);
    QVERIFY(target.SQL());
    QCOMPARE(target.Path(), QStringLiteral("*") + first);
    QCOMPARE(target.BestandsNaam, QStringLiteral("pt.db"));
    target.setPath(QStringLiteral("/data/ander.db"));
    QVERIFY(!target.SQL());
    QCOMPARE(target.Path(), QStringLiteral("/data/ander.db"));
    QCOMPARE(target.SQLAuthenticatie(), first);

    const auto fields = SqlServerVerbinding::Lees(first);
    QVERIFY(fields);
    QCOMPARE(fields->server, QStringLiteral("srv"));
    QCOMPARE(fields->wachtwoord, QStringLiteral("pw"));
    QVERIFY(!fields->NTBeveiliging());
    QCOMPARE(fields->Tekst(), first);
    QVERIFY(!SqlServerVerbinding::Lees(description({"a", "b", "c", "d"})));
    QVERIFY(!SqlServerVerbinding::UitPad(QString()));
}

QTEST_GUILESS_MAIN(TestDatabaseRoutines)
#include "test_databaseroutines.moc"
