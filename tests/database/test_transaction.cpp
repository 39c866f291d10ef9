// The transaction guard: what it keeps and undoes on a real SQLite file, and
// how a database that refuses to begin, commit or roll back is reported.

#include "database/sqlitebackend.h"
#include "fixtures/scriptedbackend.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;

namespace {

std::shared_ptr<SqliteBackend> memoryDatabase()
{
    SqliteOpenOptions options;
    options.create = true;
    auto db = SqliteBackend::open(QStringLiteral(":memory:"), options);
    db->execute(QStringLiteral("CREATE TABLE T (Code TEXT)"));
    return db;
}

qint64 rows(const DbConnection& db)
{
    return db->run(QStringLiteral("SELECT COUNT(*) FROM T"))->rows.row(0)[0].toLongLong();
}

} // namespace

class TestTransaction : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatIsCommittedAndUndoesTheRest_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("commit") << 0 << qint64(1);
        QTest::newRow("scope left uncommitted") << 1 << qint64(0);
        QTest::newRow("exception through the scope") << 2 << qint64(0);
        QTest::newRow("explicit rollback") << 3 << qint64(0);
    }
    void keepsWhatIsCommittedAndUndoesTheRest()
    {
        QFETCH(int, ending);
        QFETCH(qint64, expected);
        const DbConnection db = memoryDatabase();
        try {
            Transaction t(db);
            QVERIFY(t.active());
            db->execute(QStringLiteral("INSERT INTO T VALUES ('a')"));
            if (ending == 0)
                t.commit();
            else if (ending == 2)
                throw AppError(ErrorNumber::General, QStringLiteral("mislukt"));
            else if (ending == 3)
                t.rollback();
        } catch (const AppError&) {
            QCOMPARE(ending, 2);
        }
        QCOMPARE(rows(db), expected);
        QCOMPARE(db->transactionDepth(), 0);
    }

    void innerGuardUndoesOnlyItsOwnWork()
    {
        const DbConnection db = memoryDatabase();
        Transaction outer(db);
        db->execute(QStringLiteral("INSERT INTO T VALUES ('a')"));
        {
            Transaction inner(db);
            db->execute(QStringLiteral("INSERT INTO T VALUES ('b')"));
        }
        outer.commit();
        QCOMPARE(rows(db), qint64(1));
    }

    void guardNotAskedToBeginDoesNothing()
    {
        auto db = std::make_shared<fixtures::ScriptedBackend>();
        {
            Transaction t(db, false);
            QVERIFY(!t.active());
            t.commit();
        }
        QVERIFY(db->executed.isEmpty());
    }

    void refusedBeginIsReportedWithTheReason()
    {
        auto db = std::make_shared<fixtures::ScriptedBackend>();
        db->fail(QStringLiteral("BEGIN"), AppError(-2147467259, QStringLiteral("De database is vergrendeld.")));
        try {
            Transaction t(db);
            QFAIL("a guard whose begin failed must not exist");
        } catch (const AppError& e) {
            QCOMPARE(e.description(), QStringLiteral("De database is vergrendeld."));
        }
        // Nothing to undo: a transaction that never began is not rolled back.
        QCOMPARE(db->executed, QStringList{QStringLiteral("BEGIN")});
    }

    void guardWithoutConnectionIsReported()
    {
        QVERIFY_THROWS_EXCEPTION(AppError, Transaction t{DbConnection()});
    }

    void refusedCommitIsReportedAndRolledBack()
    {
        auto db = std::make_shared<fixtures::ScriptedBackend>();
        db->fail(QStringLiteral("COMMIT"), AppError(-2147467259, QStringLiteral("Schijf vol.")));
        {
            Transaction t(db);
            QVERIFY_THROWS_EXCEPTION(AppError, t.commit());
            QVERIFY(t.active());
        }
        QCOMPARE(db->executed,
                 (QStringList{QStringLiteral("BEGIN"), QStringLiteral("COMMIT"), QStringLiteral("ROLLBACK")}));
    }

    void refusedRollbackInTheDestructorDoesNotThrow()
    {
        auto db = std::make_shared<fixtures::ScriptedBackend>();
        db->fail(QStringLiteral("ROLLBACK"), AppError(-2147467259, QStringLiteral("Verbinding verbroken.")));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("Terugdraaien.*mislukt")));
        {
            Transaction t(db);
        }
        QCOMPARE(db->executed.last(), QStringLiteral("ROLLBACK"));
    }
};

QTEST_GUILESS_MAIN(TestTransaction)
#include "test_transaction.moc"
