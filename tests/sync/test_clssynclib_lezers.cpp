// The library engine's readers for the selection steps: the hardware
// combinations and choices a 3.50 library holds, and what chosen parts
// require (groove shapes by kind, the articles of low-relief sill and post
// combinations), on SQLite libraries and on Jet libraries (the Jet layout
// opened as Jet).

#include "libfixture.h"
#include "ptfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssynclib.h"

#include <QtTest>

using namespace supplink;
using test::LibPaar;

namespace {

struct Rij
{
    QString code;
    QVariant omschrijving; // invalid: Null
};

QStringList codesVan(const ItemCollection& items)
{
    QStringList codes;
    for (const std::shared_ptr<clsItem>& item : items)
        codes << item->Code;
    return codes;
}

QStringList gesorteerd(QStringList lijst)
{
    std::sort(lijst.begin(), lijst.end());
    return lijst;
}

// Items of the codes; the ones named in `nietGekozen` are in the collection without their Selected flag.
ItemCollection gekozen(const QStringList& codes, const QStringList& nietGekozen = {})
{
    ItemCollection items = fixtures::items(codes + nietGekozen);
    for (const std::shared_ptr<clsItem>& item : std::as_const(items))
        item->Selected = !nietGekozen.contains(item->Code);
    return items;
}

} // namespace

Q_DECLARE_METATYPE(QList<Rij>)

class TestClsSyncLIBLezers : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::libBeginToestand(); }

    void combinationsAndChoices_data();
    void combinationsAndChoices();
    void combinationReaderFailures_data();
    void combinationReaderFailures();
    void grooveShapesRequired_data();
    void grooveShapesRequired();
    void articlesRequired_data();
    void articlesRequired();
    void postArticlesOnTheOpenSource();
    void noCombinationsRequiredInALibrary();
};

void TestClsSyncLIBLezers::combinationsAndChoices_data()
{
    QTest::addColumn<bool>("keuzes");
    QTest::addColumn<QList<Rij>>("rijen");
    QTest::addColumn<QStringList>("vooraf"); // codes already in the collection
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("omschrijvingen");

    const QList<Rij> drie = {{"C2", "Beta"}, {"C1", "Alfa"}, {"C3", QVariant()}};
    for (const bool keuzes : {false, true}) {
        const QByteArray soort = keuzes ? "choices" : "combinations";
        // SQLite orders a missing description first; it is listed as empty.
        QTest::newRow((soort + ": in description order").constData())
            << keuzes << drie << QStringList{} << QStringList{"C3", "C1", "C2"}
            << QStringList{"", "Alfa", "Beta"};
        QTest::newRow((soort + ": one item per code").constData())
            << keuzes << QList<Rij>{{"C1", "Zeta"}, {"C1", "Alfa"}, {"C2", "Beta"}} << QStringList{}
            << QStringList{"C1", "C2"} << QStringList{"Alfa", "Beta"};
        QTest::newRow((soort + ": codes that differ only in case are one code").constData())
            << keuzes
            << QList<Rij>{{"c1", "Beta"},
                          {"C1", "Alfa"},
                          {QStringLiteral("äb"), "Gamma"},
                          {QStringLiteral("ÄB"), "Delta"}}
            << QStringList{} << QStringList{"C1", QStringLiteral("ÄB")} << QStringList{"Alfa", "Delta"};
        QTest::newRow((soort + ": a collection handed over is extended").constData())
            << keuzes << drie << QStringList{"C1", "X"} << QStringList{"C1", "X", "C3", "C2"}
            << QStringList{"", "", "", "Beta"};
        QTest::newRow((soort + ": no rows").constData())
            << keuzes << QList<Rij>{} << QStringList{"X"} << QStringList{"X"} << QStringList{""};
    }
}

void TestClsSyncLIBLezers::combinationsAndChoices()
{
    QFETCH(bool, keuzes);
    QFETCH(QList<Rij>, rijen);
    QFETCH(QStringList, vooraf);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, omschrijvingen);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, test::sqliteLib(50), test::sqliteLib(50));
    const QString tabel = keuzes ? QStringLiteral("CustomLHCombi") : QStringLiteral("LocksHingesCombi");
    QHash<QString, qint64> ids;
    for (const Rij& rij : std::as_const(rijen)) {
        const qint64 id =
            paar.bron.db->insert(tabel, {{"Code", rij.code}, {"Description", rij.omschrijving}});
        ids.insert(rij.code + rij.omschrijving.toString(), id);
    }
    clsSyncLIB lezer;
    test::PtLog log;
    lezer.SetOntvanger(&log);
    ItemCollection alle = fixtures::items(vooraf);
    lezer.SetColItemsDistinct(std::make_shared<ItemCollection>(alle));
    const bool ok =
        keuzes ? lezer.CustomLHCombiDistinct(paar.bron.pad) : lezer.LocksHingesCombiDistinct(paar.bron.pad);
    QVERIFY(ok);
    QVERIFY(ui.errors.isEmpty());
    alle = *lezer.ColItemsDistinct();
    QCOMPARE(codesVan(alle), codes);
    for (int i = 0; i < alle.size(); ++i) {
        QCOMPARE(alle.at(i)->Description, omschrijvingen.at(i));
        if (i >= vooraf.size())
            QCOMPARE(alle.at(i)->ID, qint32(ids.value(alle.at(i)->Code + alle.at(i)->Description)));
    }
    QCOMPARE(log.hoofdActies, QStringList{QStringLiteral("Openen bron bibliotheek")});
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron.pad));
}

void TestClsSyncLIBLezers::combinationReaderFailures_data()
{
    QTest::addColumn<QString>("bron"); // "jet": a Jet library, which has no such tables; "weg": no file
    QTest::newRow("jet library") << "jet";
    QTest::newRow("missing file") << "weg";
}

void TestClsSyncLIBLezers::combinationReaderFailures()
{
    QFETCH(QString, bron);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, test::jetLib(), test::jetLib());
    const QString pad = bron == QLatin1String("jet") ? paar.bron.pad : env.path(QStringLiteral("weg.db"));
    for (const bool keuzes : {false, true}) {
        ui.clear();
        clsSyncLIB lezer;
        lezer.SetColItemsDistinct(std::make_shared<ItemCollection>(fixtures::items({QStringLiteral("X")})));
        QVERIFY(!(keuzes ? lezer.CustomLHCombiDistinct(pad) : lezer.LocksHingesCombiDistinct(pad)));
        // Never a partial list shown as complete: the reader says it failed, and why.
        QVERIFY(!ui.errors.isEmpty() || !ui.messages.isEmpty());
        QCOMPARE(codesVan(*lezer.ColItemsDistinct()), QStringList{QStringLiteral("X")});
    }
}

void TestClsSyncLIBLezers::grooveShapesRequired_data()
{
    QTest::addColumn<test::LibSoort>("soort");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("kies");
    QTest::addColumn<QStringList>("nietGekozen");
    QTest::addColumn<bool>("resultaat");
    QTest::addColumn<QStringList>("figuren");

    for (const test::LibSoort& soort : {test::jetLib(), test::sqliteLib()}) {
        const QByteArray naam = soort.jet ? "jet, " : "sqlite, ";
        QTest::newRow((naam + "pane groove tables").constData())
            << soort << 1 << QStringList{"P1", "O'Neil"} << QStringList{"P2"} << true
            << QStringList{"GS-A", "GS-B", "GS-Q"};
        QTest::newRow((naam + "edge grooves").constData())
            << soort << 2 << QStringList{"E1", "E2"} << QStringList{} << true << QStringList{"GS-E"};
        QTest::newRow((naam + "element groove tables").constData())
            << soort << 3 << QStringList{"O1"} << QStringList{} << true << QStringList{"GS-O"};
        QTest::newRow((naam + "sills: pane and edge groove shape, none missing").constData())
            << soort << 4 << QStringList{"T1", "T2"} << QStringList{"T3"} << true
            << QStringList{"GS-E", "GS-P", "GS-Q"};
        QTest::newRow((naam + "a code chosen in other letter case").constData())
            << soort << 4 << QStringList{"t1"} << QStringList{} << true << QStringList{"GS-E", "GS-P"};
        QTest::newRow((naam + "nothing chosen").constData())
            << soort << 1 << QStringList{} << QStringList{"P1"} << true << QStringList{};
        QTest::newRow((naam + "a kind that does not exist").constData())
            << soort << 5 << QStringList{"P1"} << QStringList{} << false << QStringList{};
    }
}

void TestClsSyncLIBLezers::grooveShapesRequired()
{
    QFETCH(test::LibSoort, soort);
    QFETCH(int, kind);
    QFETCH(QStringList, kies);
    QFETCH(QStringList, nietGekozen);
    QFETCH(bool, resultaat);
    QFETCH(QStringList, figuren);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, soort, soort);
    fixtures::FixtureDb& db = *paar.bron.db;
    const auto paneel = [&](const QString& code, const QVariantList& vormen) {
        const qint64 id = db.insert(QStringLiteral("PaneGrooveTable"), {{"Code", code}});
        for (const QVariant& vorm : vormen)
            db.insert(QStringLiteral("PaneGroove"), {{"fkPaneGrooveTable", id}, {"GrooveShape", vorm}});
    };
    paneel(QStringLiteral("P1"), {"GS-A", "GS-B", QVariant(), "GS-A"});
    paneel(QStringLiteral("P2"), {"GS-C"});
    paneel(QStringLiteral("O'Neil"), {"GS-Q"});
    db.insert(QStringLiteral("EdgeGroove"), {{"Code", "E1"}, {"GrooveShape", "GS-E"}});
    db.insert(QStringLiteral("EdgeGroove"), {{"Code", "E2"}});
    const qint64 o1 = db.insert(QStringLiteral("OuterGrooveTable"), {{"Code", "O1"}});
    db.insert(QStringLiteral("OuterGroove"), {{"fkOuterGrooveTable", o1}, {"GrooveShape", "GS-O"}});
    db.insert(QStringLiteral("TreshHoldCombi"),
              {{"Code", "T1"}, {"PaneGrooveShape", "GS-P"}, {"EdgeGrooveShape", "GS-E"}});
    db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "T2"}, {"PaneGrooveShape", "GS-Q"}});
    db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "T3"}, {"PaneGrooveShape", "GS-X"}});

    clsSyncLIB lezer;
    lezer.SetColItemsDistinct(std::make_shared<ItemCollection>(fixtures::items({QStringLiteral("VOORAF")})));
    QCOMPARE(lezer.SponningFigurenVerplichtDistinct(paar.bron.pad, gekozen(kies, nietGekozen), kind),
             resultaat);
    QCOMPARE(ui.errors.isEmpty(), resultaat);
    const ItemCollection items = *lezer.ColItemsDistinct();
    QCOMPARE(items.first()->Code, QStringLiteral("VOORAF")); // extended, not replaced
    QCOMPARE(gesorteerd(codesVan(items.mid(1))), figuren);

    // No collection at all: nothing is read.
    QVERIFY(!lezer.SponningFigurenVerplichtDistinct(paar.bron.pad, std::nullopt, kind));
}

void TestClsSyncLIBLezers::articlesRequired_data()
{
    QTest::addColumn<test::LibSoort>("soort");
    QTest::addColumn<bool>("neuten");
    for (const test::LibSoort& soort : {test::jetLib(), test::sqliteLib(40)}) {
        for (const bool neuten : {false, true}) {
            QTest::newRow(
                (QByteArray(soort.jet ? "jet, " : "sqlite, ") + (neuten ? "posts" : "sills")).constData())
                << soort << neuten;
        }
    }
}

void TestClsSyncLIBLezers::articlesRequired()
{
    QFETCH(test::LibSoort, soort);
    QFETCH(bool, neuten);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, soort, soort);
    fixtures::FixtureDb& db = *paar.bron.db;
    const int familie = neuten ? 5 : 4;
    const QString tabel = test::libFamilie(familie).tabel;
    const QString gebruik = test::libFamilie(familie).kind;
    const auto combi = [&](const QString& code, const QVariant& artikel, const QStringList& artikelen) {
        const qint64 id = db.insert(tabel, {{"Code", code}, {"ArtCode", artikel}});
        for (const QString& a : artikelen)
            db.insert(gebruik, {{"fkCombi", id}, {"fkArtAct", a}, {"Count", 1}});
    };
    combi(QStringLiteral("T1"), QStringLiteral("ART-T1"), {"ART-1", "ART-2"});
    combi(QStringLiteral("T2"), QVariant(), {"ART-2", "ART-3"}); // no article of its own
    combi(QStringLiteral("O'Neil"), QStringLiteral("ART-Q"), {});
    combi(QStringLiteral("T3"), QStringLiteral("ART-9"), {"ART-8"}); // not chosen
    // The readers read the source as it is, without a version check.
    db.exec(QStringLiteral("DELETE FROM SysDBInfo"));

    const ItemCollection keuze = gekozen({"T1", "T2", "O'Neil"}, {"T3"});
    clsSyncLIB lezer;
    test::PtLog log;
    lezer.SetOntvanger(&log);
    lezer.SetColItemsDistinct(std::make_shared<ItemCollection>(fixtures::items({QStringLiteral("VOORAF")})));
    const bool ok = neuten ? lezer.NeutArtikelenVerplichtDistinct(paar.bron.pad, keuze)
                           : lezer.LaagreliefArtikelenVerplichtDistinct(paar.bron.pad, keuze);
    QVERIFY(ok);
    QVERIFY2(ui.errors.isEmpty(), qPrintable(ui.errors.value(0).message + ui.errors.value(0).details));
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(log.fouten.isEmpty());
    const ItemCollection items = *lezer.ColItemsDistinct();
    QCOMPARE(items.first()->Code, QStringLiteral("VOORAF"));
    QCOMPARE(gesorteerd(codesVan(items.mid(1))), (QStringList{"ART-1", "ART-2", "ART-3", "ART-Q", "ART-T1"}));

    // No collection: False, and the source is not even opened.
    clsSyncLIB ander;
    test::PtLog log2;
    ander.SetOntvanger(&log2);
    QVERIFY(!(neuten ? ander.NeutArtikelenVerplichtDistinct(paar.bron.pad, std::nullopt)
                     : ander.LaagreliefArtikelenVerplichtDistinct(paar.bron.pad, std::nullopt)));
    QVERIFY(log2.volgorde.isEmpty());
    // A source that does not open.
    QVERIFY(!(neuten
                  ? ander.NeutArtikelenVerplichtDistinct(env.path(QStringLiteral("weg.db")), keuze)
                  : ander.LaagreliefArtikelenVerplichtDistinct(env.path(QStringLiteral("weg.db")), keuze)));
    QVERIFY(!ander.ColItemsDistinct() || ander.ColItemsDistinct()->isEmpty());
}

void TestClsSyncLIBLezers::postArticlesOnTheOpenSource()
{
    // The Jet and SQLite forms of the post reader read on the source a reader before opened.
    for (const test::LibSoort& soort : {test::jetLib(), test::sqliteLib()}) {
        test::TestEnvironment env;
        test::RecordingUiServices ui;
        LibPaar paar(env, soort, soort);
        const qint64 id =
            paar.bron.db->insert(QStringLiteral("TreshHoldCombiExt"), {{"Code", "N1"}, {"ArtCode", "A"}});
        paar.bron.db->insert(QStringLiteral("TreshHoldExtArticleUsage"),
                             {{"fkCombi", id}, {"fkArtAct", "B"}});
        const ItemCollection keuze = gekozen({"N1"});

        clsSyncLIB zonderBron;
        QVERIFY(!zonderBron.NeutArtikelenVerplichtDistinctJET(keuze));
        QVERIFY(!zonderBron.NeutArtikelenVerplichtDistinctSQLite(keuze));
        QCOMPARE(ui.errors.size(), 2);

        clsSyncLIB lezer;
        QVERIFY(lezer.LaagreliefArtikelenVerplichtDistinct(paar.bron.pad, keuze)); // opens the source
        QVERIFY(!lezer.ColItemsDistinct() || lezer.ColItemsDistinct()->isEmpty());
        QVERIFY(soort.jet ? lezer.NeutArtikelenVerplichtDistinctJET(keuze)
                          : lezer.NeutArtikelenVerplichtDistinctSQLite(keuze));
        QCOMPARE(gesorteerd(codesVan(*lezer.ColItemsDistinct())), (QStringList{"A", "B"}));
        QVERIFY(!lezer.NeutArtikelenVerplichtDistinctJET(std::nullopt));
        QCOMPARE(ui.errors.size(), 2);
    }
}

void TestClsSyncLIBLezers::noCombinationsRequiredInALibrary()
{
    clsSyncLIB lezer;
    const ItemCollection eerder = fixtures::items({QStringLiteral("C1")});
    lezer.SetColItemsDistinct(std::make_shared<ItemCollection>(eerder));
    QVERIFY(!lezer.LocksHingesCombiVerplichtDistinct(std::nullopt));
    QCOMPARE(lezer.ColItemsDistinct()->size(), 1);
    QVERIFY(lezer.LocksHingesCombiVerplichtDistinct(fixtures::items({QStringLiteral("K1")})));
    QVERIFY(!lezer.ColItemsDistinct() || lezer.ColItemsDistinct()->isEmpty());
    QCOMPARE(eerder.size(), 1); // the caller's collection is left as it was
}

QTEST_GUILESS_MAIN(TestClsSyncLIBLezers)
#include "test_clssynclib_lezers.moc"
