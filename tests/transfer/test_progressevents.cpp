// The relay through which an engine passes its copiers' events on as its own.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "support/testenvironment.h"
#include "transfer/clsimporttabelnaartabel.h"

#include <QtTest>

using namespace supplink;
using fixtures::EventLog;

class TestProgressEvents : public QObject
{
    Q_OBJECT

private slots:
    void copiersInTurnKeepTheRowCountRunning();
    void relayPassesEventsUnchanged();
};

void TestProgressEvents::copiersInTurnKeepTheRowCountRunning()
{
    test::TestEnvironment env;
    const QString srcPath = env.path(QStringLiteral("bron.db"));
    const QString dstPath = env.path(QStringLiteral("doel.db"));
    fixtures::makeDatabase(srcPath, fixtures::Kind::ProductTable, {3, 20});
    fixtures::makeDatabase(dstPath, fixtures::Kind::ProductTable, {3, 20});
    fixtures::FixtureDb src(srcPath);
    for (const char* code : {"A", "B"}) {
        src.insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QString::fromLatin1(code)}});
        src.insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    }
    const auto srcCn = fixtures::openSqlite(srcPath);
    const auto dstCn = fixtures::openSqlite(dstPath);

    // The engine: its listener, its row counter and one relay for its copier member.
    EventLog driver;
    VoortgangOntvanger* listener = nullptr;
    qint32 rows = 0;
    VoortgangDoorgever relay(listener, rows);
    listener = &driver; // set after the relay was made

    for (const QString& table : {QStringLiteral("Supplier"), QStringLiteral("ArtGroup")}) {
        clsImportTabelNaarTabel copier;
        copier.SetOntvanger(&relay);
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.strKeyField = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
        copier.OverzettenRecordSet(
            srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM ") + table),
            dstCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM ") + table), *srcCn, *dstCn);
    }
    QCOMPARE(driver.nieuw, (QList<qint32>{1, 2, 1, 2}));
    QCOMPARE(driver.huidig, (QList<qint32>{1, 2, 3, 4}));
    QCOMPARE(driver.plus1, 0);
    QCOMPARE(rows, 4);
    QVERIFY(driver.lines.contains(QStringLiteral("Nieuw onderdeel : B")));
}

void TestProgressEvents::relayPassesEventsUnchanged()
{
    EventLog driver;
    VoortgangOntvanger* listener = &driver;
    qint32 rows = 10;
    int engineErrors = 0;
    VoortgangDoorgever relay(listener, rows);
    relay.RijenTellen = false;
    relay.BijFout = [&engineErrors] { ++engineErrors; };

    qint32 count = 3;
    relay.Voortgang(QStringLiteral("Update"), QStringLiteral("Code(a->b)"));
    relay.BestaandOnderdeel(count);
    relay.FoutOpgetreden(count);
    relay.FoutOpgetreden(count);
    relay.VoortgangPlus1();
    QCOMPARE(driver.lines, QStringList{QStringLiteral("Update: Code(a->b)")});
    QCOMPARE(driver.bestaand, QList<qint32>{3});
    QCOMPARE(driver.fouten, (QList<qint32>{3, 3}));
    QCOMPARE(engineErrors, 2);
    QVERIFY(driver.huidig.isEmpty());
    QCOMPARE(rows, 10);

    listener = nullptr; // an engine without a listener raises to nobody
    relay.RijenTellen = true;
    relay.VoortgangPlus1();
    QCOMPARE(rows, 11);
}

QTEST_GUILESS_MAIN(TestProgressEvents)
#include "test_progressevents.moc"
