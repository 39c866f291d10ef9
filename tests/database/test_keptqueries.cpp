// Kept queries of the SQLite back-end: a query run again after the schema changed
// (through the same connection or another one), after an attached file went, with the
// row locator, with too few values, and closing with queries kept.
#include "database/recordset.h"
#include "database/sqlitebackend.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;

class TestKeptQueries : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::shared_ptr<SqliteBackend> make(const QString& name)
    {
        SqliteOpenOptions o;
        o.create = true;
        auto db = SqliteBackend::open(dir.filePath(name), o);
        db->execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, Code TEXT(10), Qty INTEGER)");
        db->execute("INSERT INTO T (Code, Qty) VALUES ('A', 1), ('B', 2)");
        return db;
    }
    static void otherConnection(const QString& path, const char* sql)
    {
        sqlite3* h = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &h), SQLITE_OK);
        QCOMPARE(sqlite3_exec(h, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(h);
    }

private slots:
    void sameConnectionAlter()
    {
        auto db = make("a.db");
        const QString q = "SELECT * FROM T WHERE Code = ?";
        QCOMPARE(db->openRecordset(q, {"A"})->fieldCount(), 3);
        QCOMPARE(db->openRecordset(q, {"B"})->value("Qty").toInt(), 2);
        db->execute("ALTER TABLE T ADD COLUMN Extra TEXT(20)");
        auto rs = db->openRecordset(q, {"B"});
        QCOMPARE(rs->fieldCount(), 4);
        QCOMPARE(rs->column(3).definedSize, 20);
        rs->setValue("Extra", "x");
        rs->update();
        QCOMPARE(db->run("SELECT Extra FROM T WHERE Code='B'")->firstValue().toString(), QString("x"));
    }
    void otherConnectionAlter()
    {
        auto db = make("b.db");
        const QString q = "SELECT * FROM T WHERE Code = ?";
        QCOMPARE(db->openRecordset(q, {"A"})->fieldCount(), 3);
        otherConnection(dir.filePath("b.db"), "ALTER TABLE T ADD COLUMN Other REAL");
        auto rs = db->openRecordset(q, {"A"});
        QCOMPARE(rs->fieldCount(), 4);
        QCOMPARE(rs->column(3).name, QString("Other"));
        QCOMPARE(rs->value("Qty").toInt(), 1);
        // and again, now kept with the new shape
        QCOMPARE(db->openRecordset(q, {"A"})->fieldCount(), 4);
    }
    void otherConnectionDrop()
    {
        auto db = make("c.db");
        const QString q = "SELECT * FROM T";
        QCOMPARE(db->openRecordset(q)->recordCount(), 2);
        otherConnection(dir.filePath("c.db"), "DROP TABLE T");
        bool threw = false;
        try {
            db->openRecordset(q);
        } catch (const AppError& e) {
            threw = true;
            QVERIFY2(e.description().contains("no such table"), qPrintable(e.description()));
        }
        QVERIFY(threw);
        otherConnection(dir.filePath("c.db"), "CREATE TABLE T (X TEXT); INSERT INTO T VALUES ('z')");
        auto rs = db->openRecordset(q);
        QCOMPARE(rs->fieldCount(), 1);
        QCOMPARE(rs->value(0).toString(), QString("z"));
    }
    void rowLocator()
    {
        auto db = make("d.db");
        const QString q = "SELECT Code, Qty FROM T WHERE Qty > ?";
        for (int i = 0; i < 3; ++i) {
            auto rs = db->openRecordset(q, {0});
            QCOMPARE(rs->recordCount(), 2);
            rs->moveLast();
            rs->setValue("Qty", 10 + i);
            rs->update();
        }
        QCOMPARE(db->run("SELECT Qty FROM T WHERE Code='B'")->firstValue().toInt(), 12);
    }
    void tooFewValues()
    {
        auto db = make("e.db");
        const QString q = "SELECT * FROM T WHERE Code = ? AND Qty = ?";
        QCOMPARE(db->openRecordset(q, {"A", 1})->recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(AppError, db->openRecordset(q, {"A"}));
        QCOMPARE(db->openRecordset(q, {"B", 2})->recordCount(), 1);
        QCOMPARE(db->openRecordset(q, {"B", 3})->recordCount(), 0);
    }
    void boundValuesDoNotLinger()
    {
        auto db = make("f.db");
        const QString q = "SELECT count(*) FROM T WHERE Code = ? OR ? IS NULL";
        QCOMPARE(db->run(q, {"A", 1})->firstValue().toInt(), 1);
        QCOMPARE(db->run(q, {"A", QVariant()})->firstValue().toInt(), 2);
    }
    void attachDetach()
    {
        auto main = make("g.db");
        auto other = make("h.db");
        other->execute("INSERT INTO T (Code, Qty) VALUES ('C', 3)");
        other->close();
        main->execute("ATTACH DATABASE ? AS o", {dir.filePath("h.db")});
        QCOMPARE(main->run("SELECT count(*) FROM o.T")->firstValue().toInt(), 3);
        main->execute("DETACH DATABASE o");
        QVERIFY_THROWS_EXCEPTION(AppError, main->run("SELECT count(*) FROM o.T"));
        main->execute("ATTACH DATABASE ? AS o", {dir.filePath("h.db")});
        QCOMPARE(main->run("SELECT count(*) FROM o.T")->firstValue().toInt(), 3);
        main->execute("DETACH DATABASE o");
    }
    void expressionTypesPerRun()
    {
        auto db = make("i.db");
        const QString q = "SELECT CASE WHEN ? THEN 1.5 ELSE 'x' END AS v";
        QCOMPARE(db->openRecordset(q, {1})->column(0).type, int(adType::Double));
        QCOMPARE(db->openRecordset(q, {0})->column(0).type, int(adType::VarWChar));
    }
    void transactionRollback()
    {
        auto db = make("j.db");
        const QString q = "SELECT count(*) FROM T";
        db->beginTrans();
        db->execute("INSERT INTO T (Code) VALUES ('Z')");
        QCOMPARE(db->run(q)->firstValue().toInt(), 3);
        db->rollbackTrans();
        QCOMPARE(db->run(q)->firstValue().toInt(), 2);
        db->beginTrans();
        db->execute("CREATE TABLE U (A)");
        QCOMPARE(db->run("SELECT count(*) FROM U")->firstValue().toInt(), 0);
        db->rollbackTrans();
        QVERIFY_THROWS_EXCEPTION(AppError, db->run("SELECT count(*) FROM U"));
    }
    void closeWithKeptQueries()
    {
        auto db = make("k.db");
        for (int i = 0; i < 40; ++i)
            db->run(QString("SELECT %1 FROM T").arg(i));
        db->close();
        QVERIFY(!db->isOpen());
        QVERIFY(QFile::remove(dir.filePath("k.db")));
    }
};

QTEST_GUILESS_MAIN(TestKeptQueries)
#include "test_keptqueries.moc"
