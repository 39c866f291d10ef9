// The product-table synchronisation into a product table on SQL Server, run
// on the test stand-in (SQLite with the product table attached as PT and the
// CRM tables as CRM): the transaction, the statement forms and the rollback.

#include "database/backendopeners.h"
#include "fixtures/sqlserverstandin.h"
#include "ptfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncpt.h"

#include <QtTest>

using namespace supplink;
using test::PtLog;
using test::PtPaar;

namespace {

// The user's product table as the server holds it: sort columns named SortOrder, suppliers keyed by oID.
void maakServerLayout(fixtures::FixtureDb& db)
{
    db.exec(QStringLiteral("ALTER TABLE ArtGroup RENAME COLUMN OrderNr TO SortOrder"));
    db.exec(QStringLiteral("ALTER TABLE CalculationGroup RENAME COLUMN OrderNr TO SortOrder"));
    db.exec(QStringLiteral("ALTER TABLE Supplier RENAME COLUMN ID TO oID"));
    // On a server the supplier list is read from the CRM tables, which the stand-in does not join: the
    // supplier is known to the target already.
    db.insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("LEV")}});
}

QString beschrijving(const QString& beveiliging = QStringLiteral("eSQLSecurity"), int velden = 5)
{
    QStringList delen{QStringLiteral("standin"), QStringLiteral("Velmora"), beveiliging, QStringLiteral("sa"),
                      QStringLiteral("geheim")};
    while (delen.size() > velden)
        delen.removeLast();
    if (velden > 5)
        delen << QStringLiteral("extra");
    return QStringLiteral("*") + delen.join(QChar(8));
}

struct Server
{
    fixtures::StandInServer server;
    Server(const QString& pt, const QString& crm) : server(pt, crm)
    {
        backendOpeners().sqlServer = server.opener();
        // The CRM tables a new supplier is written into.
        auto cn = fixtures::connectStandIn(server);
        Q_ASSERT(cn);
        cn->SluitenConnectie();
    }
    ~Server() { resetBackendOpeners(); }
};

} // namespace

class TestClsSyncPTSqlServer : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::zetOpties(true, true); }
    void runCommitsEverything();
    void oneErrorRollsBackEverything();
    void cancelRollsBack();
    void refusedBeginIsAnErrorAndWritesNothing();
    void descriptionWithoutFiveFields_data();
    void descriptionWithoutFiveFields();
};

void TestClsSyncPTSqlServer::runCommitsEverything()
{
    test::TestEnvironment env;
    PtPaar paar(env, {3, 40}, {3, 40}, true);
    paar.standaard();
    maakServerLayout(*paar.dst);
    paar.dst.reset();
    Server server(paar.doel, env.path(QStringLiteral("crm.db")));
    PtLog log;
    clsSyncPT engine;
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, beschrijving(), {}, true, QStringLiteral("4;8"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.lines.mid(qMax(0, log.lines.size() - 25)).join(QLatin1Char('\n'))));
    QVERIFY(log.hoofdActies.contains(QStringLiteral("Verbinden sqlserver")));
    QVERIFY(log.lines.contains(QStringLiteral("Begin Transactie")));
    QVERIFY(log.lines.contains(QStringLiteral("Commit Transactie")));
    QCOMPARE(log.hoofdActies.last(), QStringLiteral("Commit Transactie"));
    // Price rows are logged one by one with a decimal point.
    QVERIFY2(log.lines.contains(QStringLiteral("100,200,12.5")),
             qPrintable(log.lines.mid(qMax(0, log.lines.size() - 25)).join(QLatin1Char('\n'))));
    QVERIFY(log.lines.contains(QStringLiteral("1000,7.25")));

    fixtures::FixtureDb dst(paar.doel);
    QCOMPARE(dst.count(QStringLiteral("Article")), 4);
    QCOMPARE(dst.count(QStringLiteral("PriceData2D")), 3);
    QCOMPARE(dst.count(QStringLiteral("PriceData1D")), 2);
    const qint64 a4 = dst.scalar(QStringLiteral("SELECT ID FROM Article WHERE Code = 'A4'")).toLongLong();
    QCOMPARE(dst.scalar(QStringLiteral("SELECT COUNT(*) FROM PriceData2D WHERE fkArticle = ?"), {a4}).toInt(),
             2);
    QCOMPARE(dst.scalar(QStringLiteral("SELECT fkGroup FROM Article WHERE ID = ?"), {a4}).toLongLong(),
             dst.scalar(QStringLiteral("SELECT ID FROM ArtGroup WHERE Code = 'G2'")).toLongLong());
    // New groups are numbered after the highest sort number on the server too.
    QCOMPARE(dst.scalar(QStringLiteral("SELECT MAX(SortOrder) FROM ArtGroup")).toInt(), 7);
    QCOMPARE(dst.scalar(QStringLiteral("SELECT MIN(SortOrder) FROM ArtGroup WHERE Code <> 'EIGEN'")).toInt(),
             6);
    QCOMPARE(dst.scalar(QStringLiteral("SELECT fkSupplier FROM Article WHERE ID = ?"), {a4}).toLongLong(),
             dst.scalar(QStringLiteral("SELECT oID FROM Supplier WHERE Code = 'LEV'")).toLongLong());
}

void TestClsSyncPTSqlServer::oneErrorRollsBackEverything()
{
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    PtPaar paar(env, {3, 40}, {3, 40}, true);
    paar.standaard();
    maakServerLayout(*paar.dst);
    // A target that refuses the 1D price rows: the only error of the run.
    paar.dst->exec(QStringLiteral("DROP TABLE PriceData1D"));
    paar.dst->exec(
        QStringLiteral("CREATE TABLE PriceData1D (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkArticle INTEGER, "
                       "W INTEGER, Price REAL CHECK (Price < 0))"));
    paar.dst.reset();
    Server server(paar.doel, env.path(QStringLiteral("crm.db")));
    PtLog log;
    clsSyncPT engine;
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, beschrijving(), {}, true, QStringLiteral("4;8"));
    QCOMPARE(engine.Fouten(), 1);
    QVERIFY(log.lines.contains(QStringLiteral("Rollback Transactie")));
    QVERIFY(!log.lines.contains(QStringLiteral("Commit Transactie")));

    fixtures::FixtureDb dst(paar.doel);
    QCOMPARE(dst.count(QStringLiteral("Article")), 1);
    QCOMPARE(dst.count(QStringLiteral("Supplier")), 2);
    QCOMPARE(dst.count(QStringLiteral("ArtGroup")), 1);
    QCOMPARE(dst.count(QStringLiteral("PriceData2D")), 0);
}

void TestClsSyncPTSqlServer::cancelRollsBack()
{
    test::TestEnvironment env;
    PtPaar paar(env, {3, 40}, {3, 40}, true);
    paar.standaard();
    maakServerLayout(*paar.dst);
    paar.dst.reset();
    Server server(paar.doel, env.path(QStringLiteral("crm.db")));
    PtLog log;
    clsSyncPT engine;
    // Cancelled while the first type's articles are copied.
    log.bijNieuw = [&] {
        if (log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")))
            engine.Cancel();
    };
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, beschrijving(), {}, true, QStringLiteral("4;8"));
    QVERIFY(engine.Geannuleerd());
    QVERIFY(!log.lines.contains(QStringLiteral("Commit Transactie")));
    fixtures::FixtureDb dst(paar.doel);
    QCOMPARE(dst.count(QStringLiteral("Article")), 1);
    QCOMPARE(dst.count(QStringLiteral("ArtGroup")), 1);
}

void TestClsSyncPTSqlServer::refusedBeginIsAnErrorAndWritesNothing()
{
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    PtPaar paar(env, {3, 40}, {3, 40}, true);
    paar.standaard();
    maakServerLayout(*paar.dst);
    paar.dst.reset();
    Server server(paar.doel, env.path(QStringLiteral("crm.db")));
    server.server.refuseBegin = AppError(3246, QStringLiteral("Transactie geweigerd door de server."));
    PtLog log;
    clsSyncPT engine;
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, beschrijving(), {}, true, QStringLiteral("4;8"));

    // Shown, counted as the run's error, and no success reported.
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("Procedure = clsSyncPT.PT")));
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("Transactie geweigerd door de server.")));
    QVERIFY(log.lines.contains(QStringLiteral("Begin Transactie")));
    QVERIFY(!log.lines.contains(QStringLiteral("Commit Transactie")));
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")));
    // Nothing was written outside a transaction.
    QVERIFY(!server.server.last->executed.join(QLatin1Char('\n')).contains(QStringLiteral("INSERT")));
    fixtures::FixtureDb dst(paar.doel);
    QCOMPARE(dst.count(QStringLiteral("Article")), 1);
    QCOMPARE(dst.count(QStringLiteral("Supplier")), 2);
    QCOMPARE(dst.count(QStringLiteral("ArtGroup")), 1);
}

void TestClsSyncPTSqlServer::descriptionWithoutFiveFields_data()
{
    QTest::addColumn<int>("velden");
    QTest::newRow("four") << 4;
    QTest::newRow("six") << 6;
}

void TestClsSyncPTSqlServer::descriptionWithoutFiveFields()
{
    QFETCH(int, velden);
    test::TestEnvironment env;
    PtPaar paar(env, {3, 40}, {3, 40}, true);
    paar.standaard();
    paar.dst.reset();
    Server server(paar.doel, env.path(QStringLiteral("crm.db")));
    PtLog log;
    clsSyncPT engine;
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, beschrijving(QStringLiteral("eSQLSecurity"), velden), {}, true,
                QStringLiteral("4"));
    QCOMPARE(log.hoofdActies.last(),
             QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens."));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(server.server.logins.isEmpty() || server.server.logins.size() == 1);
    fixtures::FixtureDb dst(paar.doel);
    QCOMPARE(dst.count(QStringLiteral("Article")), 1);
}

QTEST_GUILESS_MAIN(TestClsSyncPTSqlServer)
#include "test_clssyncpt_sqlserver.moc"
