// Jet files through the connection object: the two public Jet corpus files
// read through their mirror (types, sizes, case-insensitive text, the Jet
// statement forms), writes refused before anything happens, the scratch
// tables, statements of other connections that name a Jet or SQLite file by
// its path, the Jet target test, and damaged files.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/mirrorbackend.h"
#include "database/odbcbackend.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "platform/isolatedread.h"
#include "platform/jetmirror.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace supplink;

namespace {

QString corpusFile(const QString& name)
{
    const QString folder = test::testDataFolder();
    if (folder.isEmpty())
        return {};
    const QString path = QDir(folder).filePath(QStringLiteral("mdb/") + name);
    return QFile::exists(path) ? path : QString();
}

// A private copy of a corpus file, so that nothing can touch the shared one.
QString copyOf(const test::TestEnvironment& env, const QString& name)
{
    const QString original = corpusFile(name);
    if (original.isEmpty())
        return {};
    const QString copy = env.path(name);
    QFile::copy(original, copy);
    QFile(copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return copy;
}

QStringList mirrorsIn(const test::TestEnvironment& env)
{
    return QDir(env.path(QStringLiteral("tmp"))).entryList(QDir::Files);
}

// The number of the AppError the call throws, 0 when it throws none.
template <typename Call> qint32 errorNumberOf(Call call)
{
    try {
        call();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

#define REQUIRE_CORPUS(path)                                                                                 \
    if ((path).isEmpty())                                                                                    \
        QSKIP("public Jet corpus not present");

} // namespace

class TestJetBackend : public QObject
{
    Q_OBJECT

private slots:
    void opensThroughTheConnectionObject();
    void fieldTypesAndSizes();
    void textComparesWithoutCase();
    void jetStatementForms_data();
    void jetStatementForms();
    void writesAreRefused_data();
    void writesAreRefused();
    void recordsetUpdateIsRefused();
    void scratchTablesLiveInTheMirror();
    void mirrorIsDeletedAtClose();
    void jetFormsOnAnSqliteCopy();
    void statementsNamingAJetFile();
    void statementsNamingAnSqliteFile();
    void attachmentsStayForTheTransaction();
    void jetTargetTest();
    void damagedFiles_data();
    void damagedFiles();
};

void TestJetBackend::opensThroughTheConnectionObject()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetorSQLiteConnectie(mdb, QString()));
    QVERIFY(cn.IsJet());
    QVERIFY(!cn.isSQLite());
    QVERIFY(!cn.IsSQLServer);
    const DbConnection db = cn.Connection();
    QCOMPARE(db->kind(), DatabaseBackend::Kind::Jet);
    QCOMPARE(db->path(), mdb); // the data source is the Jet file, not the mirror
    QCOMPARE(db->tableNames(), QStringList{QStringLiteral("FPdev")});
    QVERIFY(!db->tableSchema(QStringLiteral("__supplink_columns")));

    const RecordsetPtr rows = cn.Execute(QStringLiteral("SELECT * FROM FPdev ORDER BY id"));
    QVERIFY(rows);
    QCOMPARE(rows->recordCount(), 8);
    QCOMPARE(rows->fieldCount(), 3);
    QVERIFY(rows->findFirst(QStringLiteral("id = 7")));
    QCOMPARE(rows->value(QStringLiteral("USERNAME")).toString().toLower(), QStringLiteral("peter vreman"));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    cn.SluitenConnectie();
    QVERIFY(!cn.Connection());
}

void TestJetBackend::fieldTypesAndSizes()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("Monitor.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    const RecordsetPtr rows =
        cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM Monitor_Authenticate"));
    struct Expected
    {
        const char* name;
        int type;
        int size;
    };
    for (const Expected& expected :
         {Expected{"ID", adType::Integer, 4}, Expected{"LineNumber", adType::Numeric, 19},
          Expected{"LinePassword", adType::VarWChar, 8}, Expected{"Graph_Day", adType::Boolean, 2},
          Expected{"LastVisit", adType::Date, 8}, Expected{"Comment", adType::VarWChar, 255}}) {
        const Field field = rows->field(QString::fromLatin1(expected.name));
        QCOMPARE(field.type(), expected.type);
        QCOMPARE(field.definedSize(), expected.size);
    }
    QCOMPARE(rows->value(QStringLiteral("Graph_Day")).toInt(), -1); // True as Jet gives it
    // The schema answers the same, and knows the auto-number.
    const std::optional<TableSchema> schema =
        cn.Connection()->tableSchema(QStringLiteral("monitor_authenticate"));
    QVERIFY(schema);
    const TableColumn& id = schema->columns.at(schema->columnIndex(QStringLiteral("ID")));
    QVERIFY(id.autoNumber);
    QCOMPARE(schema->columns.at(schema->columnIndex(QStringLiteral("LinePassword"))).definedSize, 8);
}

void TestJetBackend::textComparesWithoutCase()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    const RecordsetPtr rows =
        cn.Execute(QStringLiteral("SELECT id FROM FPdev WHERE UserName = 'PETER VREMAN'"));
    QVERIFY(rows && !rows->eof());
    QCOMPARE(rows->value(0).toInt(), 7);
    const RecordsetPtr all = cn.Execute(QStringLiteral("SELECT * FROM FPdev"));
    QVERIFY(all->findFirst(QStringLiteral("UserName = 'peter VREMAN'")));
    QCOMPARE(all->value(QStringLiteral("id")).toInt(), 7);
}

void TestJetBackend::jetStatementForms_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("TOP n") << "SELECT TOP 1 id FROM FPdev ORDER BY id DESC" << QVariant(8);
    QTest::newRow("IIf") << "SELECT IIf(id > 4, 'hoog', 'laag') AS x FROM FPdev WHERE id = 7"
                         << QVariant(QStringLiteral("hoog"));
    QTest::newRow("&") << "SELECT 'id ' & id AS x FROM FPdev WHERE id = 3"
                       << QVariant(QStringLiteral("id 3"));
    QTest::newRow("True") << "SELECT Count(*) FROM FPdev WHERE (id > 0) = True" << QVariant(8);
    QTest::newRow("double quotes") << "SELECT Count(*) FROM FPdev WHERE UserName = \"peter vreman\""
                                   << QVariant(1);
    QTest::newRow("brackets") << "SELECT [FPdev].[id] FROM [FPdev] WHERE [FPdev].[id] = 2" << QVariant(2);
}

void TestJetBackend::jetStatementForms()
{
    QFETCH(QString, sql);
    QFETCH(QVariant, expected);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    const RecordsetPtr rows = cn.Execute(sql);
    QVERIFY2(rows, qPrintable(ui.errors.isEmpty() ? QString() : ui.errors.first().details));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toString(), expected.toString());
}

void TestJetBackend::writesAreRefused_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("DELETE *") << "DELETE * FROM FPdev";
    QTest::newRow("UPDATE") << "UPDATE FPdev SET UserName = 'x' WHERE id = 1";
    QTest::newRow("INSERT") << "INSERT INTO FPdev (id, UserName) VALUES (99, 'x')";
    QTest::newRow("CREATE") << "CREATE TABLE Nieuw (ID LONG)";
    QTest::newRow("DROP") << "DROP TABLE FPdev";
    QTest::newRow("ALTER") << "ALTER TABLE FPdev ADD COLUMN x TEXT(5)";
    QTest::newRow("INDEX") << "CREATE INDEX ix ON FPdev (UserName)";
}

void TestJetBackend::writesAreRefused()
{
    QFETCH(QString, sql);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    const DbConnection db = cn.Connection();
    try {
        db->execute(sql);
        QFAIL("the write was not refused");
    } catch (const AppError& error) {
        QCOMPARE(error.number(), DbErrorNumber::ReadOnlyDatabase);
        QVERIFY2(error.description().contains(QStringLiteral("SQLite-database")),
                 qPrintable(error.description()));
        QVERIFY(error.description().contains(QStringLiteral("testodbc.mdb")));
    }
    // Nothing changed, not even in the mirror.
    QCOMPARE(db->openRecordset(QStringLiteral("SELECT Count(*) FROM FPdev WHERE UserName <> 'x'"))
                 ->value(0)
                 .toInt(),
             8);
    QCOMPARE(db->tableNames(), QStringList{QStringLiteral("FPdev")});
    // Through the connection object the refusal reaches the error window.
    QVERIFY(!cn.Execute(sql));
    QCOMPARE(ui.errors.size(), 1);
}

void TestJetBackend::recordsetUpdateIsRefused()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    const RecordsetPtr rows =
        cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM FPdev WHERE id = 1"));
    rows->setValue(QStringLiteral("UserName"), QStringLiteral("Iemand anders"));
    QCOMPARE(errorNumberOf([&] { rows->update(); }), DbErrorNumber::ReadOnlyDatabase);
    rows->cancelUpdate();
    rows->addNew();
    rows->setValue(QStringLiteral("id"), 100);
    QCOMPARE(errorNumberOf([&] { rows->update(); }), DbErrorNumber::ReadOnlyDatabase);
    rows->cancelUpdate();
    QCOMPARE(errorNumberOf([&] { rows->deleteCurrent(); }), DbErrorNumber::ReadOnlyDatabase);
    QCOMPARE(cn.Execute(QStringLiteral("SELECT Count(*) FROM FPdev"))->value(0).toInt(), 8);
}

void TestJetBackend::scratchTablesLiveInTheMirror()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    const QByteArray before = [&] {
        QFile file(mdb);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(mdb, QString()));
    QVERIFY(!cn.ExecuteSilent(QStringLiteral("DROP TABLE tmpSelected"))); // none yet: silently nothing
    cn.ExecuteSilent(QStringLiteral(" CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )"));
    const RecordsetPtr scratch = cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM tmpSelected"));
    for (const char* code : {"A1", "B'2"}) {
        scratch->addNew();
        scratch->setValue(QStringLiteral("CodeSelected"), QString::fromUtf8(code));
        scratch->update();
    }
    QCOMPARE(cn.Execute(QStringLiteral("SELECT Count(*) FROM FPdev INNER JOIN tmpSelected ON 1 = 1"))
                 ->value(0)
                 .toInt(),
             16);
    QVERIFY(cn.Connection()->tableNames().contains(QStringLiteral("tmpSelected")));
    cn.Connection()->execute(QStringLiteral("DELETE * FROM tmpSelected"));
    cn.Connection()->execute(QStringLiteral("DROP TABLE tmpSelected"));
    cn.SluitenConnectie();
    QFile file(mdb);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before); // the Jet file itself never changed
}

void TestJetBackend::mirrorIsDeletedAtClose()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    {
        clsConnectie cn;
        QVERIFY(cn.MakenJetConnectie(mdb, QString()));
        const auto mirror = std::dynamic_pointer_cast<MirrorBackend>(cn.Connection());
        QVERIFY(mirror);
        QVERIFY(QFile::exists(mirror->mirrorPath()));
        QCOMPARE(liveJetMirror(mdb), mirror->mirrorPath());
        QCOMPARE(mirrorsIn(env).size(), 1);
        cn.SluitenConnectie();
        QVERIFY(mirrorsIn(env).isEmpty());
        QVERIFY(liveJetMirror(mdb).isEmpty());
    }
    {
        // A connection released without closing takes its mirror along.
        clsConnectie cn;
        QVERIFY(cn.MakenJetConnectie(mdb, QString()));
        QVERIFY(cn.MakenJetConnectie(mdb, QString())); // the first one is released
        QCOMPARE(mirrorsIn(env).size(), 1);
    }
    QVERIFY(mirrorsIn(env).isEmpty());
}

void TestJetBackend::jetFormsOnAnSqliteCopy()
{
    // Product tables kept as SQLite take the Jet forms too.
    test::TestEnvironment env;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    const QString copy = env.path(QStringLiteral("kopie.db"));
    QVERIFY(mirrorJetDatabase(mdb, copy).ok);
    const auto db = SqliteBackend::open(copy);
    db->executeJet(QStringLiteral("DELETE * FROM FPdev WHERE id > 6"));
    QCOMPARE(db->runJet(QStringLiteral("SELECT TOP 1 id FROM FPdev ORDER BY id DESC"))->firstValue().toInt(),
             6);
    db->executeJet(QStringLiteral("UPDATE FPdev SET UserName = UserName & '!' WHERE id = 1"));
    QVERIFY(db->runJet(QStringLiteral("SELECT UserName FROM FPdev WHERE id = 1"))
                ->firstValue()
                .toString()
                .endsWith(QLatin1Char('!')));
    db->executeJet(QStringLiteral("DELETE FPdev.* FROM FPdev"));
    QCOMPARE(db->run(QStringLiteral("SELECT Count(*) FROM FPdev"))->firstValue().toInt(), 0);
}

void TestJetBackend::statementsNamingAJetFile()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString mdb = copyOf(env, QStringLiteral("testodbc.mdb"));
    REQUIRE_CORPUS(mdb);
    const QString target = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(target, fixtures::Kind::Options, {3, 40}));
    const auto db = SqliteBackend::open(target);
    db->execute(QStringLiteral("CREATE TABLE Namen (Naam TEXT(255))"));

    // Without an open Jet connection the file is read for the statement.
    db->executeJet(
        QStringLiteral("INSERT INTO Namen ( Naam ) SELECT UserName FROM [%1].FPdev WHERE id <= 3").arg(mdb));
    QCOMPARE(db->run(QStringLiteral("SELECT Count(*) FROM Namen"))->firstValue().toInt(), 3);

    // With one open, its scratch tables are part of what the statement sees.
    clsConnectie source;
    QVERIFY(source.MakenJetConnectie(mdb, QString()));
    source.ExecuteSilent(QStringLiteral(" CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )"));
    source.Connection()->execute(QStringLiteral("INSERT INTO tmpSelected VALUES ('PETER VREMAN')"));
    const std::optional<ResultData> joined = db->runJet(
        QStringLiteral("SELECT FPdev.id FROM [%1].FPdev INNER JOIN [%1].tmpSelected ON FPdev.UserName = "
                       "tmpSelected.CodeSelected")
            .arg(mdb));
    QVERIFY(joined);
    QCOMPARE(joined->rowCount(), 1);
    QCOMPARE(joined->firstValue().toInt(), 7);
    source.SluitenConnectie();
    db->close();
    QVERIFY(mirrorsIn(env).isEmpty()); // the mirror made for the statement went with the connection
}

void TestJetBackend::statementsNamingAnSqliteFile()
{
    test::TestEnvironment env;
    const QString source = env.path(QStringLiteral("bron.db"));
    const QString target = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(source, fixtures::Kind::Options, {3, 40}));
    QVERIFY(fixtures::makeDatabase(target, fixtures::Kind::Options, {3, 40}));
    fixtures::FixtureDb(source).insert(QStringLiteral("LocksHingesTable"),
                                       {{QStringLiteral("Code"), QStringLiteral("T1")}});
    const auto db = SqliteBackend::open(target);
    db->executeJet(
        QStringLiteral("INSERT INTO LocksHingesTable ( Code ) SELECT Code FROM [%1].LocksHingesTable")
            .arg(source));
    QCOMPARE(db->run(QStringLiteral("SELECT Code FROM LocksHingesTable"))->firstValue().toString(),
             QStringLiteral("T1"));
    QVERIFY_THROWS_EXCEPTION(
        AppError,
        db->runJet(QStringLiteral("SELECT * FROM [%1].X").arg(env.path(QStringLiteral("weg.mdb")))));
}

void TestJetBackend::attachmentsStayForTheTransaction()
{
    test::TestEnvironment env;
    const QString source = env.path(QStringLiteral("bron.db"));
    const QString target = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(source, fixtures::Kind::Options, {3, 40}));
    QVERIFY(fixtures::makeDatabase(target, fixtures::Kind::Options, {3, 40}));
    const auto db = SqliteBackend::open(target);
    const QString statement =
        QStringLiteral("INSERT INTO LocksHingesTable ( Code ) SELECT DBType FROM [%1].SysDBInfo").arg(source);
    const auto attachedCount = [&db] { return db->run(QStringLiteral("PRAGMA database_list"))->rowCount(); };
    const qsizetype alone = attachedCount();
    {
        Transaction transaction(db);
        db->executeJet(statement);
        QCOMPARE(attachedCount(), alone + 1); // cannot be detached inside the transaction
        transaction.commit();
    }
    QCOMPARE(attachedCount(), alone);
    db->executeJet(statement);
    QCOMPARE(attachedCount(), alone);
    QCOMPARE(db->run(QStringLiteral("SELECT Count(*) FROM LocksHingesTable"))->firstValue().toInt(), 2);
}

void TestJetBackend::jetTargetTest()
{
    test::TestEnvironment env;
    const QString sqlite = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(sqlite, fixtures::Kind::ProductTable, {3, 40}));
    QVERIFY(jetTargetRefusal(sqlite).isEmpty());
    QVERIFY(jetTargetRefusal(QStringLiteral("*server\bdb\beSQLSecurity\bsa\bpw")).isEmpty());
    const QString mdb = copyOf(env, QStringLiteral("Monitor.mdb"));
    REQUIRE_CORPUS(mdb);
    const QString refusal = jetTargetRefusal(mdb);
    if (!jetWriterDriver().isEmpty()) {
        // A system with a driver that writes Jet files takes the Jet target.
        QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
        return;
    }
    QVERIFY(refusal.contains(QStringLiteral("Monitor.mdb")));
    QVERIFY(refusal.contains(QStringLiteral("alleen worden gelezen")));
    QVERIFY(refusal.contains(QStringLiteral("Kies een SQLite-database als doelbestand")));
}

void TestJetBackend::damagedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cut");
    QTest::newRow("Jet 4 cut short") << QStringLiteral("Monitor.mdb") << 3000;
    QTest::newRow("Jet 3 cut short") << QStringLiteral("testodbc.mdb") << 6000;
    QTest::newRow("only the signature") << QStringLiteral("Monitor.mdb") << 40;
    QTest::newRow("empty") << QString() << 0;
}

void TestJetBackend::damagedFiles()
{
    QFETCH(QString, name);
    QFETCH(int, cut);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    QByteArray bytes;
    if (!name.isEmpty()) {
        const QString original = corpusFile(name);
        REQUIRE_CORPUS(original);
        QFile file(original);
        QVERIFY(file.open(QIODevice::ReadOnly));
        bytes = file.read(cut);
    }
    const QString path = env.path(QStringLiteral("kapot.mdb"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    setIsolatedReadStallLimit(2000);
    const auto restore = qScopeGuard([] { setIsolatedReadStallLimit(0); });
    clsConnectie cn;
    QVERIFY(!cn.MakenJetorSQLiteConnectie(path, QString()));
    QVERIFY(!cn.Connection());
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY2(ui.messages.first().text.startsWith(QStringLiteral("Verbindingfout: ")),
             qPrintable(ui.messages.first().text));
    QVERIFY(ui.messages.first().text.contains(QStringLiteral("kapot.mdb")));
    QVERIFY(!cn.lastOpenError().isEmpty());
    QVERIFY(mirrorsIn(env).isEmpty());
}

QTEST_GUILESS_MAIN(TestJetBackend)
#include "test_jetbackend.moc"
