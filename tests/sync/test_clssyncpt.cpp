// The product-table synchronisation run on SQLite product tables: opening,
// versions, suppliers, groups, the article passes, the selected-codes table
// and the price tables, with the events the transfer driver sees.

#include "ptfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncpt.h"

#include <QtTest>

using namespace supplink;
using test::PtLog;
using test::PtPaar;

namespace {

void run(PtPaar& paar, PtLog& log, const QString& types, bool versies = true, clsSyncPT* engine = nullptr)
{
    clsSyncPT eigen;
    clsSyncPT& e = engine ? *engine : eigen;
    e.SetOntvanger(&log);
    e.Sync(paar.bron, paar.doel, {}, versies, types);
}

} // namespace

class TestClsSyncPT : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::zetOpties(true, true); }

    void emptyTypesDoesNothing();
    void copiesEverythingWithKeysByCode();
    void stepsAndCaptions();
    void groupsSharedAndNumbered();
    void articleModes_data();
    void articleModes();
    void existingPricesReplacedExactly();
    void skipListByVersionPair_data();
    void skipListByVersionPair();
    void mirrorKey_data();
    void mirrorKey();
    void mirrorLinksInNewOnlyMode();
    void linksPassMakesNoStubArticles();
    void selectionLimitsArticlesAndPrices();
    void codesWithQuotes();
    void missingVersionRecord_data();
    void missingVersionRecord();
    void nonNumericTypeEndsRun();
    void priceErrorIsCounted();
    void copierErrorsRaiseTheErrorCounter();
    void cancelAfterSuppliers();
    void cancelReachesRunningCopier();
    void runContextSharedWithCopiers();
};

void TestClsSyncPT::emptyTypesDoesNothing()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    run(paar, log, QString());
    QVERIFY(log.volgorde.isEmpty());
    QVERIFY(log.totaal.isEmpty());
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 1);
}

void TestClsSyncPT::copiesEverythingWithKeysByCode()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    run(paar, log, QStringLiteral("4;8"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));

    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 4);
    const qint64 lev = paar.doelId(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 g1 = paar.doelId(QStringLiteral("ArtGroup"), QStringLiteral("G1"));
    const qint64 g2 = paar.doelId(QStringLiteral("ArtGroup"), QStringLiteral("G2"));
    const qint64 k1 = paar.doelId(QStringLiteral("CalculationGroup"), QStringLiteral("K1"));
    QVERIFY(lev > 1 && g1 > 1 && g2 > 1 && k1 > 1);
    const QString art = QStringLiteral("SELECT %1 FROM Article WHERE Code = ?");
    QCOMPARE(paar.doelWaarde(art.arg("fkSupplier"), {"A4"}).toLongLong(), lev);
    QCOMPARE(paar.doelWaarde(art.arg("fkGroup"), {"A4"}).toLongLong(), g2);
    QCOMPARE(paar.doelWaarde(art.arg("fkGroup"), {"B8"}).toLongLong(), g1);
    QCOMPARE(paar.doelWaarde(art.arg("fkCalcGroup"), {"B8"}).toLongLong(), k1);
    QCOMPARE(paar.doelWaarde(art.arg("OrderCode"), {"B8"}).toString(), QStringLiteral("OC-B8"));

    const qint64 a4 = paar.doelId(QStringLiteral("Article"), QStringLiteral("A4"));
    const qint64 b8 = paar.doelId(QStringLiteral("Article"), QStringLiteral("B8"));
    QCOMPARE(
        paar.doelWaarde(QStringLiteral("SELECT COUNT(*) FROM PriceData2D WHERE fkArticle = ?"), {a4}).toInt(),
        2);
    QCOMPARE(
        paar.doelWaarde(QStringLiteral("SELECT Price FROM PriceData2D WHERE fkArticle = ? AND H = 300"), {a4})
            .toDouble(),
        13.5);
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT SUM(Price) FROM PriceData1D WHERE fkArticle = ?"), {b8})
                 .toDouble(),
             17.0);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), 3);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData1D")), 2);
}

void TestClsSyncPT::stepsAndCaptions()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    run(paar, log, QStringLiteral("4;8"));
    QCOMPARE(log.hoofdActies, (QStringList{"Openen bron productentabel", "Openen doel productentabel",
                                           "Overzetten Artikelen", "Overzetten Artikelen",
                                           "Overzetten Prijstabellen m1", "Overzetten Prijstabellen m2"}));
    QCOMPARE(log.hoofdActiesDone, 1);
    QCOMPARE(log.volgorde.indexOf(QStringLiteral("D")),
             log.volgorde.indexOf(QStringLiteral("H:Overzetten Prijstabellen m1")) - 1);
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron));
    QVERIFY(log.lines.contains(QStringLiteral("Doel bestand: ") + paar.doel));
    for (const QString& regel : std::as_const(log.lines))
        QVERIFY2(!regel.contains(QStringLiteral("Transactie")), qPrintable(regel));
    // The total counts the articles of types 4, 6, 7 and 8, whatever was chosen.
    QCOMPARE(log.totaal, QList<qint32>{3});
    // The row counter runs on over all copiers.
    QVERIFY(!log.huidig.isEmpty());
    for (int i = 0; i < log.huidig.size(); ++i)
        QCOMPARE(log.huidig.at(i), i + 1);
    // 2D price rows are logged only on SQL Server; a file target reports no rows.
    QVERIFY(!log.lines.contains(QStringLiteral("100,200,12.5")));

    // Only the chosen type: no 1D prices, no 1D caption.
    test::TestEnvironment env2;
    PtPaar paar2(env2);
    paar2.standaard();
    PtLog log2;
    run(paar2, log2, QStringLiteral("4"));
    QVERIFY(!log2.hoofdActies.contains(QStringLiteral("Overzetten Prijstabellen m1")));
    QCOMPARE(paar2.dst->count(QStringLiteral("PriceData1D")), 0);
    QCOMPARE(paar2.dst->count(QStringLiteral("Article")), 3);
}

void TestClsSyncPT::groupsSharedAndNumbered()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    run(paar, log, QStringLiteral("4;8"));
    // Target's highest OrderNr is 5: the groups of type 4 follow in source order; G1 is not added again
    // for 8.
    const int g1 = paar.doelWaarde(QStringLiteral("SELECT OrderNr FROM ArtGroup WHERE Code = 'G1'")).toInt();
    const int g2 = paar.doelWaarde(QStringLiteral("SELECT OrderNr FROM ArtGroup WHERE Code = 'G2'")).toInt();
    QCOMPARE(qMin(g1, g2), 6);
    QCOMPARE(qMax(g1, g2), 7);
    QCOMPARE(
        paar.doelWaarde(QStringLiteral("SELECT OrderNr FROM CalculationGroup WHERE Code = 'K1'")).toInt(), 3);
    QCOMPARE(paar.dst->count(QStringLiteral("ArtGroup")), 3);
    QVERIFY2(log.lines.contains(QStringLiteral("Overgeslagen bestaand onderdeel : G1")),
             qPrintable(log.lines.mid(qMax(0, log.lines.size() - 25)).join(QLatin1Char('\n'))));
}

void TestClsSyncPT::articleModes_data()
{
    QTest::addColumn<bool>("nieuw");
    QTest::addColumn<bool>("prijzen");
    QTest::newRow("both") << true << true;
    QTest::newRow("new only") << true << false;
    QTest::newRow("prices only") << false << true;
    QTest::newRow("neither") << false << false;
}

void TestClsSyncPT::articleModes()
{
    QFETCH(bool, nieuw);
    QFETCH(bool, prijzen);
    test::zetOpties(nieuw, prijzen);
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    // A4 exists in the target with old order data and old prices.
    const qint64 oud =
        paar.dst->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("A4")},
                                                     {QStringLiteral("Description"), QStringLiteral("Eigen")},
                                                     {QStringLiteral("OrderCode"), QStringLiteral("OUD")},
                                                     {QStringLiteral("fkType"), 4}});
    paar.prijs2(*paar.dst, oud, 1, 1, 99.0);
    // Its supplier and groups are known to the target already.
    paar.dst->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("LEV")}});
    paar.dst->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G2")}});
    paar.dst->insert(QStringLiteral("CalculationGroup"), {{QStringLiteral("Code"), QStringLiteral("K1")}});
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));

    QVERIFY2(paar.doelWaarde(QStringLiteral("SELECT OrderCode FROM Article WHERE Code = 'A4'")).toString() ==
                 (prijzen ? QStringLiteral("OC-A4") : QStringLiteral("OUD")),
             qPrintable(log.lines.mid(qMax(0, log.lines.size() - 25)).join(QLatin1Char('\n'))));
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT OrderCode FROM Article WHERE Code = 'A4'")).toString(),
             prijzen ? QStringLiteral("OC-A4") : QStringLiteral("OUD"));
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT Description FROM Article WHERE Code = 'A4'")).toString(),
             QStringLiteral("Eigen"));
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT COUNT(*) FROM PriceData2D WHERE fkArticle = ?"), {oud})
                 .toInt(),
             prijzen ? 2 : 1);
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT COUNT(*) FROM PriceData2D WHERE Price = 99")).toInt(),
             prijzen ? 0 : 1);
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), nieuw ? 3 : 2);
    QCOMPARE(paar.dst->count(QStringLiteral("Supplier")), 2);
    QCOMPARE(paar.dst->count(QStringLiteral("ArtGroup")), nieuw ? 3 : 2);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), (prijzen ? 2 : 1) + (nieuw ? 1 : 0));
    if (prijzen)
        QCOMPARE(
            paar.doelWaarde(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'A4'")).toLongLong(),
            paar.doelId(QStringLiteral("ArtGroup"), QStringLiteral("G2")));
}

void TestClsSyncPT::existingPricesReplacedExactly()
{
    // Twice the same run: the second replaces the price rows instead of adding to them.
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    run(paar, log, QStringLiteral("4;8"));
    PtLog log2;
    run(paar, log2, QStringLiteral("4;8"));
    QVERIFY(log2.fouten.isEmpty());
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 4);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), 3);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData1D")), 2);
    QVERIFY(!log2.bestaand.isEmpty());
}

void TestClsSyncPT::skipListByVersionPair_data()
{
    QTest::addColumn<int>("bronMinor");
    QTest::addColumn<int>("doelMajor");
    QTest::addColumn<int>("doelMinor");
    QTest::addColumn<bool>("kolomGekopieerd");
    QTest::newRow("3.0 to 2.40") << 0 << 2 << 40 << false;
    QTest::newRow("3.0 to 3.0") << 0 << 3 << 0 << true;
    QTest::newRow("3.40 to 3.40") << 40 << 3 << 40 << true;
}

void TestClsSyncPT::skipListByVersionPair()
{
    QFETCH(int, bronMinor);
    QFETCH(int, doelMajor);
    QFETCH(int, doelMinor);
    QFETCH(bool, kolomGekopieerd);
    test::TestEnvironment env;
    PtPaar paar(env, {3, bronMinor}, {doelMajor, doelMinor});
    paar.standaard();
    paar.src->exec(QStringLiteral("UPDATE Article SET DisplayDescription = 'Tonen', fkPriceCorrection = 7, "
                                  "fkCentralPriceTable = 3"));
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 3);
    if (kolomGekopieerd)
        QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT DisplayDescription FROM Article WHERE Code = 'A4'"))
                     .toString(),
                 QStringLiteral("Tonen"));
    QVERIFY(
        paar.doelWaarde(QStringLiteral("SELECT fkPriceCorrection FROM Article WHERE Code = 'A4'")).isNull());
    QVERIFY(paar.doelWaarde(QStringLiteral("SELECT fkCentralPriceTable FROM Article WHERE Code = 'A4'"))
                .isNull());
}

void TestClsSyncPT::mirrorKey_data()
{
    QTest::addColumn<int>("bronMinor");
    QTest::newRow("3.10 holds an ID") << 10;
    QTest::newRow("3.11 holds a code") << 11;
}

void TestClsSyncPT::mirrorKey()
{
    QFETCH(int, bronMinor);
    test::TestEnvironment env;
    PtPaar paar(env, {3, bronMinor}, {3, 10});
    paar.standaard();
    const qint64 a4 =
        paar.src->scalar(QStringLiteral("SELECT ID FROM Article WHERE Code = 'A4'")).toLongLong();
    if (bronMinor == 10)
        paar.src->exec(QStringLiteral("UPDATE Article SET fkMirroredArticle = ? WHERE Code = 'A4b'"), {a4});
    else
        paar.src->exec(QStringLiteral("UPDATE Article SET fkMirroredArticle = 'A4' WHERE Code = 'A4b'"));
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));
    const QVariant link =
        paar.doelWaarde(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'A4b'"));
    const qint64 doelA4 = paar.doelId(QStringLiteral("Article"), QStringLiteral("A4"));
    QVERIFY(doelA4 != a4);
    // Either way the link holds the target ID of the mirrored article.
    QCOMPARE(link.toLongLong(), doelA4);
}

void TestClsSyncPT::mirrorLinksInNewOnlyMode()
{
    test::zetOpties(true, false);
    test::TestEnvironment env;
    PtPaar paar(env, {3, 10}, {3, 10});
    paar.standaard();
    const qint64 a4 =
        paar.src->scalar(QStringLiteral("SELECT ID FROM Article WHERE Code = 'A4'")).toLongLong();
    paar.src->exec(QStringLiteral("UPDATE Article SET fkMirroredArticle = ? WHERE Code IN ('A4b', 'EIGEN')"),
                   {a4});
    paar.bronArtikel(QStringLiteral("EIGEN"), 4, 0, 0, 0);
    paar.src->exec(QStringLiteral("UPDATE Article SET fkMirroredArticle = ? WHERE Code = 'EIGEN'"), {a4});
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));
    // The article added in this run is linked; the existing one is left alone.
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'A4b'"))
                 .toLongLong(),
             paar.doelId(QStringLiteral("Article"), QStringLiteral("A4")));
    QVERIFY(paar.doelWaarde(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'EIGEN'"))
                .isNull());
}

void TestClsSyncPT::linksPassMakesNoStubArticles()
{
    // With adding off, a linked article that the target lacks is not made by the links pass.
    test::zetOpties(false, true);
    test::TestEnvironment env;
    PtPaar paar(env, {3, 11}, {3, 40});
    paar.standaard();
    paar.src->exec(QStringLiteral("UPDATE Article SET fkMirroredArticle = 'A4' WHERE Code = 'A4b'"));
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 1);
}

void TestClsSyncPT::selectionLimitsArticlesAndPrices()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    // A selected code missing from the source gets no row in tmpSelected.
    globals().gColArtikelenGeselecteerd = fixtures::items({QStringLiteral("A4"), QStringLiteral("ONBEKEND")});
    for (auto& item : globals().gColArtikelenGeselecteerd)
        item->Selected = true;
    PtLog log;
    run(paar, log, QStringLiteral("4;8"));
    QVERIFY(log.fouten.isEmpty());
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 2);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), 2);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData1D")), 0);
    QCOMPARE(paar.src->count(QStringLiteral("tmpSelected")), 1);
    QCOMPARE(paar.src->scalar(QStringLiteral("SELECT CodeSelected FROM tmpSelected")).toString(),
             QStringLiteral("A4"));
    QVERIFY(globals().gColArtikelenGeselecteerd.first()->RunActie_Toegevoegd);
    globals().gColArtikelenGeselecteerd.clear();
}

void TestClsSyncPT::codesWithQuotes()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    const qint64 g =
        paar.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G'1")}});
    const qint64 a = paar.bronArtikel(QStringLiteral("O'Neil; \"x\""), 4, g, 0, 0);
    paar.prijs2(*paar.src, a, 10, 20, 3.5);
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(),
             qPrintable(log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'))));
    const qint64 doel = paar.doelId(QStringLiteral("Article"), QStringLiteral("O'Neil; \"x\""));
    QVERIFY(doel > 0);
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT fkGroup FROM Article WHERE ID = ?"), {doel}).toLongLong(),
             paar.doelId(QStringLiteral("ArtGroup"), QStringLiteral("G'1")));
    QCOMPARE(paar.doelWaarde(QStringLiteral("SELECT Price FROM PriceData2D WHERE fkArticle = ?"), {doel})
                 .toDouble(),
             3.5);
}

void TestClsSyncPT::missingVersionRecord_data()
{
    QTest::addColumn<bool>("versies");
    QTest::newRow("version flag set") << true;
    QTest::newRow("version flag clear") << false;
}

void TestClsSyncPT::missingVersionRecord()
{
    QFETCH(bool, versies);
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    paar.src->exec(QStringLiteral("DELETE FROM SysDBInfo"));
    PtLog log;
    clsSyncPT engine;
    run(paar, log, QStringLiteral("4"), versies, &engine);
    QVERIFY(log.lines.contains(
        QStringLiteral("Controle bronbestand: Bronbestand bevat geen juiste gegevens in SYSDBINFO.")));
    QVERIFY(engine.Fouten() >= 1);
    QCOMPARE(log.fouten.first(), 1);
    if (versies) {
        QCOMPARE(log.hoofdActies.last(), QStringLiteral("Openen doel productentabel"));
        QCOMPARE(paar.dst->count(QStringLiteral("Article")), 1);
    } else {
        QVERIFY(log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")));
    }
}

void TestClsSyncPT::nonNumericTypeEndsRun()
{
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    PtLog log;
    clsSyncPT engine;
    run(paar, log, QStringLiteral("4;x"), true, &engine);
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("Procedure = clsSyncPT.PT")));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    // Nothing was written: the entries are checked before the first step.
    QCOMPARE(paar.dst->count(QStringLiteral("Supplier")), 1);
}

void TestClsSyncPT::priceErrorIsCounted()
{
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    // A target that refuses the price rows.
    paar.dst->exec(QStringLiteral("DROP TABLE PriceData1D"));
    paar.dst->exec(
        QStringLiteral("CREATE TABLE PriceData1D (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkArticle INTEGER, "
                       "W INTEGER, Price REAL CHECK (Price < 0))"));
    PtLog log;
    clsSyncPT engine;
    run(paar, log, QStringLiteral("4;8"), true, &engine);
    QVERIFY2(ui.errors.size() == 1,
             qPrintable(log.lines.mid(qMax(0, log.lines.size() - 25)).join(QLatin1Char('\n'))));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    // The run goes on with the 2D prices.
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), 3);
}

void TestClsSyncPT::copierErrorsRaiseTheErrorCounter()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    // A target that refuses new articles of types 4 and 8: one error in each of two copiers.
    paar.dst->exec(QStringLiteral("CREATE TRIGGER weiger BEFORE INSERT ON Article WHEN NEW.fkType IN (4, 8) "
                                  "BEGIN SELECT RAISE(ABORT, 'geweigerd'); END"));
    PtLog log;
    clsSyncPT engine;
    run(paar, log, QStringLiteral("4;8"), true, &engine);
    // The copier passes its own running count; the engine counts every one of them.
    QCOMPARE(log.fouten.count(1), 2);
    QCOMPARE(log.fouten.size(), 2);
    QCOMPARE(engine.Fouten(), 2);
    // Counts restart with every copier; the row counter runs on.
    QVERIFY(log.nieuw.count(1) >= 3);
    QCOMPARE(log.huidig.last(), log.huidig.size());
    // Their prices do not arrive.
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData2D")), 0);
    QCOMPARE(paar.dst->count(QStringLiteral("PriceData1D")), 0);
}

void TestClsSyncPT::cancelAfterSuppliers()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    paar.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("LEV2")}});
    PtLog log;
    clsSyncPT engine;
    log.bijNieuw = [&] {
        engine.Cancel();
        engine.Cancel();
    };
    run(paar, log, QStringLiteral("4;8"), true, &engine);
    QVERIFY(engine.Geannuleerd());
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")));
    // The copier stopped after the row in hand.
    QCOMPARE(log.nieuw, QList<qint32>{1});
    QCOMPARE(paar.dst->count(QStringLiteral("Supplier")), 2);
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 1);
}

void TestClsSyncPT::cancelReachesRunningCopier()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();
    clsSyncPT engine;
    // The first new article of type 4 cancels: the article copier stops after that row.
    class Arm : public PtLog
    {
    public:
        clsSyncPT* e = nullptr;
        bool inArtikelen = false;
        void HuidigeHoofdActie(const QString& a) override
        {
            PtLog::HuidigeHoofdActie(a);
            inArtikelen = a == QLatin1String("Overzetten Artikelen");
        }
        void Voortgang(const QString& a, const QString& d) override
        {
            PtLog::Voortgang(a, d);
            if (inArtikelen && a.startsWith(QLatin1String("Nieuw onderdeel : A4")))
                e->Cancel();
        }
    } arm;
    arm.e = &engine;
    engine.SetOntvanger(&arm);
    engine.Sync(paar.bron, paar.doel, {}, true, QStringLiteral("4;8"));
    QCOMPARE(paar.dst->count(QStringLiteral("Article")), 2);
    QCOMPARE(arm.hoofdActies.count(QStringLiteral("Overzetten Artikelen")), 1);
    QCOMPARE(arm.hoofdActiesDone, 0);
    QCOMPARE(paar.src->scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'tmpSelected'"))
                 .toInt(),
             0);
}

void TestClsSyncPT::runContextSharedWithCopiers()
{
    test::TestEnvironment env;
    PtPaar paar(env);
    paar.standaard();

    // A context given by the caller: the copiers yield through it, and the run is live while they do.
    {
        auto context = std::make_shared<RunContext>();
        context->setYieldInterval(std::chrono::milliseconds(0));
        int beurten = 0;
        bool steedsLive = true;
        context->setYieldFunction([&] {
            ++beurten;
            steedsLive = steedsLive && context->live() && RunContext::anyLive();
        });
        PtLog log;
        clsSyncPT engine;
        engine.SetRunContext(context);
        run(paar, log, QStringLiteral("4;8"), true, &engine);
        QVERIFY(log.fouten.isEmpty());
        QVERIFY(beurten >= log.plus1); // every copied row, and the price rows
        QVERIFY(steedsLive);
        QVERIFY(!context->live());
        QVERIFY(!RunContext::anyLive());
    }

    // A cancel through the context, from inside a yield of a copier of the first type's step, stops the
    // engine as its own Cancel does: each copier of the step still handles the row in hand, the articles
    // copier its first article.
    {
        test::TestEnvironment env2;
        PtPaar tweede(env2);
        tweede.standaard();
        PtLog log;
        clsSyncPT engine;
        engine.runContext()->setYieldFunction([&] {
            if (log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")))
                engine.runContext()->cancel();
        });
        engine.runContext()->setYieldInterval(std::chrono::milliseconds(0));
        run(tweede, log, QStringLiteral("4;8"), true, &engine);
        QVERIFY(engine.Geannuleerd());
        QCOMPARE(log.hoofdActies.count(QStringLiteral("Overzetten Artikelen")), 1);
        QCOMPARE(tweede.dst->count(QStringLiteral("Article")), 2);
    }
}

QTEST_GUILESS_MAIN(TestClsSyncPT)
#include "test_clssyncpt.moc"
