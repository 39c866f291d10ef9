// The options and library handles: opening as SQLite or as Jet, the two
// failure messages, and the new-format test of hardware combinations from
// the version record.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/clsopt.h"
#include "database/databaseroutines.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace supplink;

namespace {

struct OpenersGuard
{
    ~OpenersGuard() { resetBackendOpeners(); }
};

// A Jet database as the program sees it: a connection of kind Jet over SQLite tables.
class JetStandIn : public SqliteBackend
{
public:
    static std::shared_ptr<JetStandIn> open(const QString& path)
    {
        return std::shared_ptr<JetStandIn>(new JetStandIn(openHandle(path, SqliteOpenOptions()), path));
    }
    Kind kind() const override { return Kind::Jet; }

private:
    JetStandIn(sqlite3* db, const QString& path) : SqliteBackend(db, path) {}
};

// A file that only the Jet opener understands: the opener reads the tables of `tables` in its place.
QString jetFile(const test::TestEnvironment& env, const QString& tables, OpenersGuard&)
{
    const QString path = env.path(QStringLiteral("opt.mdb"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("Jet");
    backendOpeners().jet = [tables](const QString&, const QString&) -> DbConnection {
        return JetStandIn::open(tables);
    };
    return path;
}

QString textFile(const test::TestEnvironment& env)
{
    const QString path = env.path(QStringLiteral("tekst.mdb"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("geen database");
    return path;
}

} // namespace

class TestClsOpt : public QObject
{
    Q_OBJECT

private slots:
    void versionRule_data();
    void versionRule();
    void versionText();
    void sqliteOptionsDatabase();
    void jetOptionsDatabase_data();
    void jetOptionsDatabase();
    void jetWithoutVersionRecord_data();
    void jetWithoutVersionRecord();
    void realJetFileWithoutVersionRecord();
    void neitherJetNorSqlite();
    void fileOnlySqliteOpensCountsAsSqlite();
    void disconnectWithoutConnect();
};

void TestClsOpt::versionRule_data()
{
    QTest::addColumn<QString>("appType");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("newFormat");
    QTest::newRow("3.0") << "VELMORA" << 3 << 0 << false;
    QTest::newRow("3.5") << "VELMORA" << 3 << 5 << true;
    QTest::newRow("3.40") << "VELMORA" << 3 << 40 << true;
    QTest::newRow("4.0") << "VELMORA" << 4 << 0 << true;
    QTest::newRow("2.9") << "VELMORA" << 2 << 9 << false;
    QTest::newRow("lower case") << "velmora" << 3 << 0 << false;
    QTest::newRow("other application") << "QUENTARO" << 1 << 0 << true;
    QTest::newRow("no application") << "" << 2 << 0 << true;
}

void TestClsOpt::versionRule()
{
    QFETCH(QString, appType);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, newFormat);
    QCOMPARE(NieuweFormaatCombiesVoorVersie(appType, major, minor), newFormat);
}

void TestClsOpt::versionText()
{
    QCOMPARE(VersieTekst(3, 40), QStringLiteral("3.40"));
    QCOMPARE(VersieTekst(QStringLiteral(" 3 "), QStringLiteral("5 ")), QStringLiteral("3.5"));
    QCOMPARE(SysDBInfo::VanSoort(QStringLiteral("OPTIONS")),
             QStringLiteral("SELECT * FROM SysDBInfo WHERE DBTYPE='OPTIONS'"));
}

void TestClsOpt::sqliteOptionsDatabase()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("opt.db"));
    QVERIFY(fixtures::makeDatabase(path, fixtures::Kind::Options, {3, 0}));
    fixtures::FixtureDb(path).exec(QStringLiteral("DROP TABLE SysDBInfo"));
    clsOPT opt;
    QVERIFY(opt.Connect(path));
    QVERIFY(opt.DatabaseIsSQLiteFormat());
    QVERIFY(opt.cnOPT && opt.cnOPT->isSQLite());
    QVERIFY(opt.NieuweFormaatCombies()); // SQLite: without reading the version record
    opt.Disconnect();
    QVERIFY(!opt.cnOPT);

    clsLIB lib;
    QVERIFY(lib.Connect(path));
    QVERIFY(lib.DatabaseIsSQLiteFormat());
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestClsOpt::jetOptionsDatabase_data()
{
    QTest::addColumn<QString>("appType");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("newFormat");
    QTest::newRow("3.0") << "VELMORA" << 3 << 0 << false;
    QTest::newRow("3.30") << "VELMORA" << 3 << 30 << true;
    QTest::newRow("2.9") << "VELMORA" << 2 << 9 << false;
    QTest::newRow("other application") << "QUENTARO" << 2 << 0 << true;
}

void TestClsOpt::jetOptionsDatabase()
{
    QFETCH(QString, appType);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, newFormat);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersGuard guard;
    const QString tables = env.path(QStringLiteral("tabellen.db"));
    QVERIFY(fixtures::makeDatabase(tables, fixtures::Kind::Options, {major, minor}, appType));
    // Only the first row counts.
    fixtures::FixtureDb(tables).addVersionRow(QStringLiteral("VELMORA"), QStringLiteral("OPTIONS"),
                                              newFormat ? 2 : 4, 0);
    clsOPT opt;
    QVERIFY(opt.Connect(jetFile(env, tables, guard)));
    QVERIFY(!opt.DatabaseIsSQLiteFormat());
    QVERIFY(opt.cnOPT->IsJet());
    QCOMPARE(opt.NieuweFormaatCombies(), newFormat);
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestClsOpt::jetWithoutVersionRecord_data()
{
    QTest::addColumn<bool>("emptyTable");
    QTest::newRow("no table") << false;
    QTest::newRow("no row") << true;
}

void TestClsOpt::jetWithoutVersionRecord()
{
    QFETCH(bool, emptyTable);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersGuard guard;
    const QString tables = env.path(QStringLiteral("tabellen.db"));
    QVERIFY(fixtures::makeDatabase(tables, fixtures::Kind::Options, {3, 30}));
    fixtures::FixtureDb(tables).exec(emptyTable ? QStringLiteral("DELETE FROM SysDBInfo")
                                                : QStringLiteral("DROP TABLE SysDBInfo"));
    clsOPT opt;
    QVERIFY(opt.Connect(jetFile(env, tables, guard)));
    QVERIFY(!opt.NieuweFormaatCombies());
    QCOMPARE(ui.errors.size(), 1);
    if (emptyTable) // a missing table is a statement error, whose report names no routine
        QVERIFY(ui.errors.first().details.contains(QStringLiteral("Procedure = NieuweFormaatCombies")));
}

void TestClsOpt::realJetFileWithoutVersionRecord()
{
    const QString folder = test::testDataFolder();
    const QString corpus = QDir(folder).filePath(QStringLiteral("mdb/Monitor.mdb"));
    if (folder.isEmpty() || !QFile::exists(corpus))
        QSKIP("public Jet corpus not present");
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("Monitor.mdb"));
    QVERIFY(QFile::copy(corpus, path));
    clsOPT opt;
    QVERIFY(opt.Connect(path));
    QVERIFY(!opt.DatabaseIsSQLiteFormat());
    QVERIFY(opt.cnOPT->IsJet());
    QVERIFY(!opt.NieuweFormaatCombies());
    QCOMPARE(ui.errors.size(), 1);
    opt.Disconnect();
    QVERIFY(QDir(env.path(QStringLiteral("tmp"))).isEmpty()); // the mirror is gone
}

void TestClsOpt::neitherJetNorSqlite()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    clsOPT opt;
    QVERIFY(!opt.Connect(textFile(env)));
    QVERIFY(!opt.cnOPT);
    QCOMPARE(ui.messages.size(), 2); // the connection object's "Verbindingfout: ...", then the handle's
    QVERIFY(ui.messages.first().text.startsWith(QStringLiteral("Verbindingfout: ")));
    QCOMPARE(ui.messages.last().text, QStringLiteral("Openen Onderhouds database is mislukt!"));

    ui.messages.clear();
    clsLIB lib;
    QVERIFY(!lib.Connect(textFile(env)));
    QVERIFY(!lib.cnLIB);
    QCOMPARE(ui.messages.last().text, QStringLiteral("Openen Bibliotheek database is mislukt!"));
}

void TestClsOpt::fileOnlySqliteOpensCountsAsSqlite()
{
    // An SQLite file that fails the database check still opens as SQLite through the Jet attempt; it is an
    // SQLite database all the same, and its version record is not read.
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString path = env.path(QStringLiteral("opt.db"));
    QVERIFY(fixtures::makeDatabase(path, fixtures::Kind::Options, {3, 0}));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        QVERIFY(size > 8192);
        file.seek(4096); // every page after the first
        file.write(QByteArray(int(size - 4096), '\xA5'));
    }
    QVERIFY(!IsSQLiteBestand(path));
    clsOPT opt;
    QVERIFY(opt.Connect(path));
    QVERIFY(opt.cnOPT->isSQLite());
    QVERIFY(opt.DatabaseIsSQLiteFormat());
    QVERIFY(opt.NieuweFormaatCombies());
}

void TestClsOpt::disconnectWithoutConnect()
{
    test::RecordingUiServices ui;
    clsOPT opt;
    opt.Disconnect();
    clsLIB lib;
    lib.Disconnect();
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestClsOpt)
#include "test_clsopt.moc"
