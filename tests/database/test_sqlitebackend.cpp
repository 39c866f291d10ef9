// The SQLite back-end: opening without creating, bad files, locks, errors,
// transactions, statements and the copy into a new file.

#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;

namespace {

std::shared_ptr<SqliteBackend> createDatabase(const QString& path)
{
    SqliteOpenOptions options;
    options.create = true;
    auto db = SqliteBackend::open(path, options);
    db->execute(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY, Code TEXT(50) UNIQUE, Qty INTEGER)"));
    db->execute(QStringLiteral(
        "INSERT INTO T (Code, Qty) VALUES ('a', 1); INSERT INTO T (Code, Qty) VALUES ('b', 2)"));
    return db;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

AppError openError(const QString& path)
{
    try {
        SqliteBackend::open(path);
    } catch (const AppError& error) {
        return error;
    }
    return AppError(0, QString());
}

AppError errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error;
    }
    return AppError(0, QString());
}

qint64 count(const DbConnection& db, const QString& table = QStringLiteral("T"))
{
    return db->run(QStringLiteral("SELECT count(*) FROM ") + table)->firstValue().toLongLong();
}

} // namespace

class TestSqliteBackend : public QObject
{
    Q_OBJECT

private slots:
    void refusesMissingFileWithoutCreating();
    void refusesFilesThatAreNoDatabase_data();
    void refusesFilesThatAreNoDatabase();
    void createsOnlyWhenAsked();
    void readOnlyDatabaseRefusesWrites();
    void lockedDatabaseReportsTheLock();
    void sqlErrorsCarryProviderNumbers_data();
    void sqlErrorsCarryProviderNumbers();
    void bindsParametersInOrder();
    void preparedStatementRunsAgain();
    void boundTextOutlivesTheCallersValue();
    void transactionsNest();
    void transactionGuardRollsBack();
    void describesTables();
    void checkAnswersOk();
    void backupCopiesIntoNewFile();
    void backupReplacesAnExistingFile();
    void backupIntoMissingFolderLeavesNothing();
    void closeStopsStatements();
};

void TestSqliteBackend::refusesMissingFileWithoutCreating()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("missing.db"));
    const AppError error = openError(path);
    QCOMPARE(error.number(), DbErrorNumber::Unspecified);
    QVERIFY(error.description().contains(QStringLiteral("bestaat niet")));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QCOMPARE(openError(QString()).number(), DbErrorNumber::Unspecified);
    QCOMPARE(openError(QStringLiteral(":memory:")).number(), DbErrorNumber::Unspecified);
}

void TestSqliteBackend::refusesFilesThatAreNoDatabase_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("Code;Omschrijving\r\nA1;Profiel\r\n");
    QTest::newRow("jet") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\x11');
    QTest::newRow("damaged header") << QByteArray("SQLite format 3\x00", 16) + QByteArray(4000, '\xFF');
}

void TestSqliteBackend::refusesFilesThatAreNoDatabase()
{
    QFETCH(QByteArray, content);
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("file.db"));
    writeFile(path, content);
    QVERIFY(openError(path).number() != 0);
    QCOMPARE(readFile(path), content);
}

void TestSqliteBackend::createsOnlyWhenAsked()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("new.db"));
    SqliteOpenOptions options;
    options.create = true;
    SqliteBackend::open(path, options)->execute(QStringLiteral("CREATE TABLE X (A)"));
    QVERIFY(QFile::exists(path));
    QCOMPARE(SqliteBackend::open(path)->tableNames(), QStringList{QStringLiteral("X")});
    // An existing empty file may become a database when asked, never a file with other content.
    const QString empty = env.path(QStringLiteral("empty.db"));
    writeFile(empty, QByteArray());
    SqliteBackend::open(empty, options)->execute(QStringLiteral("CREATE TABLE Y (A)"));
    QVERIFY(QFile(empty).size() > 0);
    const QString text = env.path(QStringLiteral("text.db"));
    writeFile(text, "hello");
    QVERIFY(errorOf([&] { SqliteBackend::open(text, options); }).number() != 0);
    QCOMPARE(readFile(text), QByteArray("hello"));
}

void TestSqliteBackend::readOnlyDatabaseRefusesWrites()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("ro.db"));
    createDatabase(path)->close();
    const QByteArray before = readFile(path);
    SqliteOpenOptions options;
    options.readOnly = true;
    const auto db = SqliteBackend::open(path, options);
    QVERIFY(db->isReadOnly());
    QCOMPARE(count(db), 2);
    const AppError error = errorOf([&] { db->execute(QStringLiteral("DELETE FROM T")); });
    QCOMPARE(error.number(), DbErrorNumber::Unspecified);
    QVERIFY(error.description().contains(QStringLiteral("alleen-lezen")));
    const RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM T"));
    rs->setValue(QStringLiteral("Qty"), 5);
    QVERIFY(errorOf([&] { rs->update(); }).number() != 0);
    db->close();
    QCOMPARE(readFile(path), before);
}

void TestSqliteBackend::lockedDatabaseReportsTheLock()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("locked.db"));
    createDatabase(path)->close();
    const auto holder = SqliteBackend::open(path);
    // Others may still read, but no one else may write.
    holder->execute(QStringLiteral("BEGIN IMMEDIATE; INSERT INTO T (Code) VALUES ('held')"));
    const auto db = SqliteBackend::open(path);
    sqlite3_busy_timeout(db->handle(), 50); // do not wait the usual two seconds here
    const AppError error =
        errorOf([&] { db->execute(QStringLiteral("INSERT INTO T (Code) VALUES ('mine')")); });
    QCOMPARE(error.number(), DbErrorNumber::Unspecified);
    QVERIFY(error.description().contains(QStringLiteral("in gebruik")));
    holder->execute(QStringLiteral("ROLLBACK"));
    QCOMPARE(count(db), 2);
}

void TestSqliteBackend::sqlErrorsCarryProviderNumbers_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("number");
    QTest::newRow("syntax") << "SELEC * FROM T" << DbErrorNumber::CommandError;
    QTest::newRow("missing table") << "SELECT * FROM Missing" << DbErrorNumber::CommandError;
    QTest::newRow("unique") << "INSERT INTO T (Code) VALUES ('a')" << DbErrorNumber::IntegrityViolation;
    QTest::newRow("missing parameter") << "SELECT * FROM T WHERE Code = ?" << DbErrorNumber::CommandError;
}

void TestSqliteBackend::sqlErrorsCarryProviderNumbers()
{
    QFETCH(QString, sql);
    QFETCH(int, number);
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("e.db")));
    const AppError error = errorOf([&] { db->execute(sql); });
    QCOMPARE(error.number(), number);
    QVERIFY(error.description().contains(sql)); // the statement is named in the message
    QCOMPARE(count(db), 2);
}

void TestSqliteBackend::bindsParametersInOrder()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("p.db")));
    const QString code = QString::fromUtf8("x'; DROP TABLE T; --ü");
    db->execute(
        QStringLiteral("INSERT INTO T (Code, Qty) VALUES (?, ?); UPDATE T SET Qty = ? WHERE Code = ?"),
        {code, 3, 30, code});
    const RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT Qty FROM T WHERE Code = ?"), {code});
    QCOMPARE(rs->value(0).toInt(), 30);
    QCOMPARE(count(db), 3);
}

void TestSqliteBackend::preparedStatementRunsAgain()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("s.db")));
    const auto statement = db->prepare(QStringLiteral("INSERT INTO T (Code, Qty) VALUES (?, ?)"));
    for (int i = 0; i < 3; ++i) {
        statement->bind(0, QStringLiteral("c%1").arg(i));
        statement->bind(1, i);
        statement->execute();
        QCOMPARE(statement->changes(), 1);
        QCOMPARE(statement->lastInsertId(), 3 + i);
    }
    statement->bind(0, QStringLiteral("a")); // duplicate: fails, and the statement stays usable
    QCOMPARE(errorOf([&] { statement->execute(); }).number(), DbErrorNumber::IntegrityViolation);
    statement->bind(0, QStringLiteral("d"));
    statement->execute();
    QCOMPARE(count(db), 6);
}

void TestSqliteBackend::boundTextOutlivesTheCallersValue()
{
    // A text bound once serves every run until its parameter is bound again, also after the caller's
    // value has gone; an empty text stays a text, a null text a null.
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("t.db")));
    db->execute(QStringLiteral("CREATE TABLE U (ID INTEGER PRIMARY KEY, A TEXT, B TEXT)"));
    const auto statement = db->prepare(QStringLiteral("INSERT INTO U (A, B) VALUES (?, ?)"));
    {
        QVariant a(QString::fromUtf8("één ") + QString(300, QLatin1Char('x')));
        statement->bind(0, a);
        statement->bind(1, QVariant(QStringLiteral("b1")));
        a = QVariant(QStringLiteral("overwritten"));
    }
    statement->execute();
    statement->execute(); // the same texts again
    statement->bind(1, QVariant(QString(QLatin1String(""))));
    statement->execute();
    statement->bind(0, QVariant(qint64(7)));
    statement->bind(1, QVariant());
    statement->execute();
    statement->bind(1, QVariant(QStringLiteral("b2")));
    statement->execute();
    const auto rows = db->run(QStringLiteral("SELECT quote(A) || '/' || quote(B) FROM U ORDER BY ID"));
    QVERIFY(rows);
    QStringList got;
    for (qsizetype r = 0; r < rows->rowCount(); ++r)
        got << rows->rows.row(r)[0].toString();
    const QString first = QString::fromUtf8("'één ") + QString(300, QLatin1Char('x')) + QLatin1Char('\'');
    QCOMPARE(got, (QStringList{first + QStringLiteral("/'b1'"), first + QStringLiteral("/'b1'"),
                               first + QStringLiteral("/''"), QStringLiteral("'7'/NULL"),
                               QStringLiteral("'7'/'b2'")}));
}

void TestSqliteBackend::transactionsNest()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("t.db")));
    db->beginTrans();
    db->execute(QStringLiteral("INSERT INTO T (Code) VALUES ('outer')"));
    db->beginTrans();
    QCOMPARE(db->transactionDepth(), 2);
    db->execute(QStringLiteral("INSERT INTO T (Code) VALUES ('inner')"));
    db->rollbackTrans();
    db->commitTrans();
    QCOMPARE(db->transactionDepth(), 0);
    QCOMPARE(count(db), 3);
    QCOMPARE(db->run(QStringLiteral("SELECT count(*) FROM T WHERE Code = 'inner'"))->firstValue().toInt(), 0);
    QVERIFY(errorOf([&] { db->commitTrans(); }).number() != 0);
    QVERIFY(errorOf([&] { db->rollbackTrans(); }).number() != 0);
}

void TestSqliteBackend::transactionGuardRollsBack()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("g.db")));
    {
        Transaction transaction(db);
        db->execute(QStringLiteral("DELETE FROM T"));
    }
    QCOMPARE(count(db), 2);
    {
        Transaction transaction(db);
        db->execute(QStringLiteral("DELETE FROM T"));
        transaction.commit();
    }
    QCOMPARE(count(db), 0);
}

void TestSqliteBackend::describesTables()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("d.db")));
    db->execute(
        QStringLiteral("CREATE TABLE Pair (A TEXT, B LONG NOT NULL, PRIMARY KEY (B, A)) WITHOUT ROWID"));
    QCOMPARE(db->tableNames(), (QStringList{"Pair", "T"}));
    const auto t = db->tableSchema(QStringLiteral("t"));
    QVERIFY(t);
    QCOMPARE(t->name, QStringLiteral("T"));
    QCOMPARE(t->columns.size(), 3);
    QVERIFY(t->columns.at(0).autoNumber);
    QCOMPARE(t->columns.at(1).type, adType::VarWChar);
    QCOMPARE(t->columns.at(1).definedSize, 50);
    const auto pair = db->tableSchema(QStringLiteral("Pair"));
    QVERIFY(!pair->hasRowid);
    QCOMPARE(pair->columns.at(0).primaryKey, 2);
    QCOMPARE(pair->columns.at(1).primaryKey, 1);
    QVERIFY(pair->columns.at(1).notNull);
    QVERIFY(!db->tableSchema(QStringLiteral("Missing")));
    // The description follows changes of the schema.
    db->execute(QStringLiteral("ALTER TABLE T ADD COLUMN Extra REAL"));
    QCOMPARE(db->tableSchema(QStringLiteral("T"))->columns.size(), 4);
}

void TestSqliteBackend::checkAnswersOk()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("c.db")));
    QCOMPARE(db->check(), QStringLiteral("ok"));
}

void TestSqliteBackend::backupCopiesIntoNewFile()
{
    test::TestEnvironment env;
    const QString source = env.path(QStringLiteral("source.db"));
    const QString target = env.path(QStringLiteral("copy.db"));
    const auto db = createDatabase(source);
    db->backupTo(target);
    db->execute(QStringLiteral("INSERT INTO T (Code) VALUES ('after')")); // the copy is a snapshot
    const auto copy = SqliteBackend::open(target);
    QCOMPARE(count(copy), 2);
    QCOMPARE(copy->check(), QStringLiteral("ok"));
    QCOMPARE(count(db), 3);
    QCOMPARE(QDir(env.root()).entryList({QStringLiteral("*.part")}, QDir::Files), QStringList());
}

void TestSqliteBackend::backupReplacesAnExistingFile()
{
    test::TestEnvironment env;
    const QString target = env.path(QStringLiteral("work.tmp"));
    writeFile(target, QByteArray()); // as a new temporary file name leaves it
    const auto db = createDatabase(env.path(QStringLiteral("source.db")));
    db->backupTo(target);
    QCOMPARE(count(SqliteBackend::open(target)), 2);
    writeFile(target, "old content");
    db->backupTo(target);
    QCOMPARE(count(SqliteBackend::open(target)), 2);
}

void TestSqliteBackend::backupIntoMissingFolderLeavesNothing()
{
    test::TestEnvironment env;
    const auto db = createDatabase(env.path(QStringLiteral("source.db")));
    const QString target = env.path(QStringLiteral("nowhere/copy.db"));
    QVERIFY(errorOf([&] { db->backupTo(target); }).number() != 0);
    QVERIFY(!QFile::exists(target));
    QVERIFY(!QDir(env.path(QStringLiteral("nowhere"))).exists());
}

void TestSqliteBackend::closeStopsStatements()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("x.db"));
    const auto db = createDatabase(path);
    const auto statement = db->prepare(QStringLiteral("INSERT INTO T (Code) VALUES ('z')"));
    db->close();
    QVERIFY(!db->isOpen());
    QCOMPARE(errorOf([&] { statement->execute(); }).number(), DbErrorNumber::ObjectClosed);
    QCOMPARE(errorOf([&] { db->execute(QStringLiteral("SELECT 1")); }).number(), DbErrorNumber::ObjectClosed);
    QCOMPARE(count(SqliteBackend::open(path)), 2);
}

QTEST_GUILESS_MAIN(TestSqliteBackend)
#include "test_sqlitebackend.moc"
