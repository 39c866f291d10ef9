// The selection readers of the options engine: the lists of hardware tables,
// combinations and choices a source holds, the combinations that chosen
// tables and choices require, and the articles that chosen combinations
// require (through the article table of a Jet source, through the Data of an
// SQLite source), on every layout.

#include "optfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncopt.h"

#include <QtTest>
#include <algorithm>

using namespace supplink;
using test::Opslag;
using test::OptLog;
using test::OptPaar;

namespace {

enum Lezer
{
    Tabellen,
    Combies,
    Keuzes
};

// "ID|Code|Description" of every item, in order.
QStringList beschrijf(const ItemCollection& items)
{
    QStringList regels;
    for (const std::shared_ptr<clsItem>& item : items)
        regels << QStringLiteral("%1|%2|%3").arg(item->ID).arg(item->Code, item->Description);
    return regels;
}

QStringList codes(const ItemCollection& items, bool gesorteerd = true)
{
    QStringList lijst;
    for (const std::shared_ptr<clsItem>& item : items)
        lijst << item->Code;
    if (gesorteerd)
        lijst.sort();
    return lijst;
}

// Items with codes and Selected flags: "A" selected, "-B" not selected.
ItemCollection keuze(const QStringList& codes)
{
    ItemCollection items;
    for (const QString& code : codes) {
        auto item = std::make_shared<clsItem>();
        item->Selected = !code.startsWith(QLatin1Char('-'));
        item->Code = item->Selected ? code : code.mid(1);
        items << item;
    }
    return items;
}

// The Data of an options combination with these articles (the options form: lists held in texts, each
// article an object held in a text).
QString optData(const QStringList& artikelen)
{
    QStringList elementen;
    for (const QString& a : artikelen)
        elementen << QStringLiteral("\\\"{\\\\\\\"fkArticle\\\\\\\":\\\\\\\"%1\\\\\\\","
                                    "\\\\\\\"Position\\\\\\\":\\\\\\\"1\\\\\\\"}\\\"")
                         .arg(a);
    return QStringLiteral(
               "{\"RefUsages\":\"[]\",\"ArtUsages\":\"[]\",\"ActUsages\":\"[]\",\"LHArticles\":\"[%1]\"}")
        .arg(elementen.join(QLatin1Char(',')));
}

// A source with three hardware tables, three combinations and two choices (those from 3.10), each a part
// without description; dimensions and choice rows link them.
void vul(OptPaar& paar)
{
    fixtures::FixtureDb& db = *paar.src;
    const qint64 t1 = paar.tabel(db, QStringLiteral("T1"));
    db.exec(QStringLiteral("UPDATE LocksHingesTable SET Description = 'Beta' WHERE ID = ?"), {t1});
    const qint64 t2 = paar.tabel(db, QStringLiteral("T2"));
    db.exec(QStringLiteral("UPDATE LocksHingesTable SET Description = 'Alpha' WHERE ID = ?"), {t2});
    const qint64 t3 = paar.tabel(db, QStringLiteral("T'3"));
    db.exec(QStringLiteral("UPDATE LocksHingesTable SET Description = NULL WHERE ID = ?"), {t3});
    const qint64 c1 =
        paar.combi(db, QStringLiteral("C1"), {{QStringLiteral("Description"), QStringLiteral("Zeta")}});
    const qint64 c2 =
        paar.combi(db, QStringLiteral("C2"), {{QStringLiteral("Description"), QStringLiteral("Alfa")}});
    const qint64 c3 = paar.combi(db, QStringLiteral("C'3"), {{QStringLiteral("Description"), QVariant()}});
    paar.dimensie(db, t1, c1, 1);
    paar.dimensie(db, t1, c1, 2);
    paar.dimensie(db, t1, c2, 3);
    paar.dimensie(db, t2, c2, 4);
    paar.dimensie(db, t3, c3, 5);
    if (paar.bronLayout >= 310) {
        const qint64 k1 = paar.keuze(db, QStringLiteral("K1"));
        const qint64 k2 = paar.keuze(db, QStringLiteral("K2"));
        db.exec(QStringLiteral("UPDATE CustomLHCombi SET Description = NULL WHERE ID = ?"), {k2});
        paar.keuzeRij(db, k1, c1);
        paar.keuzeRij(db, k1, c3);
        paar.keuzeRij(db, k2, c2);
    }
    if (paar.bronLayout < 340) {
        paar.artikel(db, c1, QStringLiteral("A1"));
        paar.artikel(db, c1, QStringLiteral("A2"));
        paar.artikel(db, c2, QStringLiteral("A2"));
        paar.artikel(db, c3, QStringLiteral("A'3"));
    }
}

bool lees(clsSyncOpt& engine, Lezer lezer, const QString& pad)
{
    switch (lezer) {
    case Tabellen:
        return engine.InlezenBestandTabellen(pad);
    case Combies:
        return engine.InlezenBestandCombies(pad);
    case Keuzes:
        return engine.CustomLHCombiDistinct(pad);
    }
    return false;
}

} // namespace

class TestClsSyncOptLezers : public QObject
{
    Q_OBJECT

private slots:
    void listReaders_data();
    void listReaders();
    void unopenedSource_data();
    void unopenedSource();
    void readersAppendToTheCallersCollection();
    void nullCodeEndsTheList();
    void requiredCombinations_data();
    void requiredCombinations();
    void requiredCombinationsNeedCollectionAndSource();
    void requiredArticlesJet_data();
    void requiredArticlesJet();
    void requiredArticlesSqlite_data();
    void requiredArticlesSqlite();
    void requiredArticlesWithoutCollection();
};

void TestClsSyncOptLezers::listReaders_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<int>("lezer");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("klaar");

    // IDs in the order of filling; listed by description, a part without one first.
    const QStringList tabellen{QStringLiteral("3|T'3|"), QStringLiteral("2|T2|Alpha"),
                               QStringLiteral("1|T1|Beta")};
    const QStringList combies{QStringLiteral("3|C'3|"), QStringLiteral("2|C2|Alfa"),
                              QStringLiteral("1|C1|Zeta")};
    const QStringList keuzes{QStringLiteral("2|K2|"), QStringLiteral("1|K1|Keuze K1")};
    const int jet = int(Opslag::Jet);
    const int sqlite = int(Opslag::SQLite);
    QTest::newRow("tables, older jet") << jet << "3.0" << int(Tabellen) << tabellen << 1;
    QTest::newRow("tables, newer jet") << jet << "3.20" << int(Tabellen) << tabellen << 1;
    QTest::newRow("tables, sqlite") << sqlite << "3.40" << int(Tabellen) << tabellen << 1;
    QTest::newRow("combinations, older jet") << jet << "3.0" << int(Combies) << combies << 1;
    QTest::newRow("combinations, newer jet") << jet << "3.20" << int(Combies) << combies << 1;
    QTest::newRow("combinations, sqlite") << sqlite << "3.40" << int(Combies) << combies << 1;
    QTest::newRow("choices, newer jet") << jet << "3.20" << int(Keuzes) << keuzes << 0;
    QTest::newRow("choices, sqlite") << sqlite << "3.40" << int(Keuzes) << keuzes << 0;
    QTest::newRow("choices, quentaro") << jet << "2.10" << int(Keuzes) << keuzes << 0;
}

void TestClsSyncOptLezers::listReaders()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    QFETCH(int, lezer);
    QFETCH(QStringList, items);
    QFETCH(int, klaar);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version v = test::versie(versieTekst);
    const QString app = v.code() < 230 ? QStringLiteral("QUENTARO") : QStringLiteral("VELMORA");
    OptPaar paar(env, Opslag(opslag), v, v, app, app);
    vul(paar);
    clsSyncOpt engine;
    OptLog log;
    engine.SetOntvanger(&log);
    QVERIFY(lees(engine, Lezer(lezer), paar.bron));
    QVERIFY(engine.ColItemsDistinct());
    QCOMPARE(beschrijf(*engine.ColItemsDistinct()), items);
    QCOMPARE(log.hoofdActiesDone, klaar);
    QVERIFY(log.hoofdActies.contains(QStringLiteral("Openen bron onderhoud")));
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron));
    QVERIFY(ui.errors.isEmpty());
    QVERIFY(log.fouten.isEmpty());

    // A source without rows: true, and nothing listed.
    test::TestEnvironment leeg;
    OptPaar niets(leeg, Opslag(opslag), v, v, app, app);
    clsSyncOpt tweede;
    QVERIFY(lees(tweede, Lezer(lezer), niets.bron));
    QVERIFY(tweede.ColItemsDistinct() && tweede.ColItemsDistinct()->isEmpty());
}

void TestClsSyncOptLezers::unopenedSource_data()
{
    QTest::addColumn<int>("lezer");
    QTest::addColumn<QString>("bestand");
    QTest::addColumn<int>("klaar");
    QTest::addColumn<int>("foutvensters");
    QTest::newRow("tables, missing file") << int(Tabellen) << "weg" << 1 << 1;
    QTest::newRow("combinations, missing file") << int(Combies) << "weg" << 1 << 1;
    QTest::newRow("choices, missing file") << int(Keuzes) << "weg" << 0 << 1;
    // An older Jet file has no choices; an SQLite file may have no hardware tables: read errors.
    QTest::newRow("choices, older jet") << int(Keuzes) << "oud" << 0 << 1;
    QTest::newRow("tables, sqlite without them") << int(Tabellen) << "zonder" << 1 << 1;
}

// A source that does not open, or a table the source lacks: False, shown once, nothing listed.
void TestClsSyncOptLezers::unopenedSource()
{
    QFETCH(int, lezer);
    QFETCH(QString, bestand);
    QFETCH(int, klaar);
    QFETCH(int, foutvensters);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const bool oud = bestand == QLatin1String("oud");
    OptPaar paar(env, oud ? Opslag::Jet : Opslag::SQLite,
                 oud ? fixtures::Version{3, 0} : fixtures::Version{3, 40},
                 oud ? fixtures::Version{3, 0} : fixtures::Version{3, 40});
    if (bestand == QLatin1String("zonder"))
        paar.src->exec(QStringLiteral("DROP TABLE LocksHingesTable"));
    const QString pad = bestand == QLatin1String("weg") ? env.path(QStringLiteral("weg.db")) : paar.bron;
    clsSyncOpt engine;
    OptLog log;
    engine.SetOntvanger(&log);
    QVERIFY(!lees(engine, Lezer(lezer), pad));
    QCOMPARE(log.hoofdActiesDone, klaar);
    QCOMPARE(ui.errors.size(), foutvensters);
    QVERIFY(!engine.ColItemsDistinct() || engine.ColItemsDistinct()->isEmpty());
}

// The readers append to the collection the caller set, in query order; a second call appends again.
void TestClsSyncOptLezers::readersAppendToTheCallersCollection()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    vul(paar);
    auto eigen = std::make_shared<ItemCollection>(keuze({QStringLiteral("AL")}));
    clsSyncOpt engine;
    engine.SetColItemsDistinct(eigen);
    QVERIFY(engine.InlezenBestandCombies(paar.bron));
    QVERIFY(engine.InlezenBestandCombies(paar.bron));
    QCOMPARE(engine.ColItemsDistinct(), eigen);
    QCOMPARE(codes(*eigen, false), (QStringList{"AL", "C'3", "C2", "C1", "C'3", "C2", "C1"}));
}

// A combination without code stops the list with the error window: False, the rows before it stay.
void TestClsSyncOptLezers::nullCodeEndsTheList()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, {3, 20}, {3, 20});
    vul(paar);
    paar.src->exec(QStringLiteral("UPDATE LocksHingesCombi SET Code = NULL WHERE Code = 'C1'"));
    clsSyncOpt engine;
    QVERIFY(!engine.LocksHingesCombiDistinct(paar.bron));
    QCOMPARE(codes(*engine.ColItemsDistinct(), false), (QStringList{"C'3", "C2"}));
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY2(ui.errors[0].details.startsWith(
                 QStringLiteral("Procedure = BuildDistinct\r\nSELECT DISTINCT ID, Code, "
                                "Description FROM LocksHingesCombi")),
             qPrintable(ui.errors[0].details));
}

void TestClsSyncOptLezers::requiredCombinations_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<bool>("keuzes"); // the choices' reader, else the tables'
    QTest::addColumn<QStringList>("gekozen");
    QTest::addColumn<QStringList>("verwacht"); // "ID|Code|Description", by code

    const int jet = int(Opslag::Jet);
    const int sqlite = int(Opslag::SQLite);
    const QString c1 = QStringLiteral("1|C1|Zeta");
    const QString c2 = QStringLiteral("2|C2|Alfa");
    const QString c3 = QStringLiteral("3|C'3|");
    for (const auto& [opslag, versie, naam] :
         {std::tuple{jet, "3.0", "older jet"}, std::tuple{jet, "3.20", "newer jet"},
          std::tuple{sqlite, "3.40", "sqlite"}}) {
        QTest::addRow("tables, %s: one table, each combination once", naam)
            << opslag << versie << false << QStringList{"T1", "-T2"} << QStringList{c1, c2};
        QTest::addRow("tables, %s: two tables", naam)
            << opslag << versie << false << QStringList{"T1", "T2"} << QStringList{c1, c2};
        QTest::addRow("tables, %s: code with a quote", naam)
            << opslag << versie << false << QStringList{"T'3"} << QStringList{c3};
        QTest::addRow("tables, %s: code in other case", naam)
            << opslag << versie << false << QStringList{"t1"} << QStringList{c1, c2};
        QTest::addRow("tables, %s: none selected", naam)
            << opslag << versie << false << QStringList{"-T1"} << QStringList();
    }
    for (const auto& [opslag, versie, naam] :
         {std::tuple{jet, "3.20", "newer jet"}, std::tuple{sqlite, "3.40", "sqlite"}}) {
        QTest::addRow("choices, %s", naam)
            << opslag << versie << true << QStringList{"K1"} << QStringList{c1, c3};
        QTest::addRow("choices, %s: two choices", naam)
            << opslag << versie << true << QStringList{"K1", "K2"} << QStringList{c1, c2, c3};
        QTest::addRow("choices, %s: none selected", naam)
            << opslag << versie << true << QStringList{"-K1", "-K2"} << QStringList();
    }
}

// The combinations chosen tables or choices require, as a new collection; the one set before is left alone.
void TestClsSyncOptLezers::requiredCombinations()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    QFETCH(bool, keuzes);
    QFETCH(QStringList, gekozen);
    QFETCH(QStringList, verwacht);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version v = test::versie(versieTekst);
    OptPaar paar(env, Opslag(opslag), v, v);
    vul(paar);
    auto lijst = std::make_shared<ItemCollection>();
    clsSyncOpt engine;
    engine.SetColItemsDistinct(lijst);
    QVERIFY(engine.LocksHingesCombiDistinct(paar.bron)); // opens the source the required readers read
    QCOMPARE(lijst->size(), 3);

    const ItemCollection items = keuze(gekozen);
    QVERIFY(keuzes ? engine.CustomLHCombiVerplichtDistinct(&items)
                   : engine.LocksHingesCombiVerplichtDistinct(&items));
    QVERIFY2(ui.errors.isEmpty(), qPrintable(ui.errors.value(0).details));
    QVERIFY(engine.ColItemsDistinct() != lijst);
    QCOMPARE(lijst->size(), 3);
    QStringList gelezen = beschrijf(*engine.ColItemsDistinct());
    std::sort(gelezen.begin(), gelezen.end(),
              [](const QString& a, const QString& b) { return a.section('|', 1, 1) < b.section('|', 1, 1); });
    std::sort(verwacht.begin(), verwacht.end(),
              [](const QString& a, const QString& b) { return a.section('|', 1, 1) < b.section('|', 1, 1); });
    QCOMPARE(gelezen, verwacht);
}

// Without a collection the combination readers answer False and change nothing; without a source opened by
// a list reader they fail with the error window.
void TestClsSyncOptLezers::requiredCombinationsNeedCollectionAndSource()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, {3, 20}, {3, 20});
    vul(paar);
    auto lijst = std::make_shared<ItemCollection>();
    clsSyncOpt engine;
    engine.SetColItemsDistinct(lijst);
    QVERIFY(!engine.LocksHingesCombiVerplichtDistinct(nullptr));
    QVERIFY(!engine.CustomLHCombiVerplichtDistinct(nullptr));
    QCOMPARE(engine.ColItemsDistinct(), lijst);
    QVERIFY(ui.errors.isEmpty());

    const ItemCollection items = keuze({QStringLiteral("T1")});
    QVERIFY(!engine.LocksHingesCombiVerplichtDistinct(&items));
    QCOMPARE(ui.errors.size(), 1);
    QCOMPARE(engine.ColItemsDistinct(), lijst);
}

void TestClsSyncOptLezers::requiredArticlesJet_data()
{
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<int>("doelFormaat"); // -1: not told, 0: older, 1: newer
    QTest::addColumn<QStringList>("gekozen");
    QTest::addColumn<QStringList>("verwacht");
    QTest::addColumn<bool>("gelukt");

    QTest::newRow("older format") << "3.0" << 0 << QStringList{"C1", "C2"} << QStringList{"A1", "A2"} << true;
    QTest::newRow("newer format") << "3.20" << 1 << QStringList{"C1", "C2"} << QStringList{"A1", "A2"}
                                  << true;
    QTest::newRow("format of the source")
        << "3.0" << -1 << QStringList{"C1"} << QStringList{"A1", "A2"} << true;
    QTest::newRow("not selected, quote, other case")
        << "3.20" << 1 << QStringList{"-C1", "c'3"} << QStringList{"A'3"} << true;
    QTest::newRow("none selected") << "3.20" << 1 << QStringList{"-C1"} << QStringList() << true;
    // A target of the other format than the source: the source has no such link column.
    QTest::newRow("target of the other format") << "3.0" << 1 << QStringList{"C1"} << QStringList() << false;
}

// Jet: the articles of the selected combinations, each once per reading, appended to the collection set.
void TestClsSyncOptLezers::requiredArticlesJet()
{
    QFETCH(QString, versieTekst);
    QFETCH(int, doelFormaat);
    QFETCH(QStringList, gekozen);
    QFETCH(QStringList, verwacht);
    QFETCH(bool, gelukt);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version v = test::versie(versieTekst);
    OptPaar paar(env, Opslag::Jet, v, v);
    vul(paar);
    auto lijst = std::make_shared<ItemCollection>(keuze({QStringLiteral("EERDER")}));
    clsSyncOpt engine;
    if (doelFormaat >= 0)
        engine.IsDoelNieuweFormaatCombies = [doelFormaat] { return doelFormaat == 1; };
    engine.SetColItemsDistinct(lijst);
    const ItemCollection items = keuze(gekozen);
    QCOMPARE(engine.LocksHingesArtikelVerplichtDistinct(paar.bron, &items), gelukt);
    QCOMPARE(engine.ColItemsDistinct(), lijst);
    QCOMPARE(lijst->first()->Code, QStringLiteral("EERDER"));
    QCOMPARE(codes(lijst->mid(1)), verwacht);
    QCOMPARE(ui.errors.size(), gelukt ? 0 : 1);
}

void TestClsSyncOptLezers::requiredArticlesSqlite_data()
{
    QTest::addColumn<QStringList>("gekozen");
    QTest::addColumn<QStringList>("verwacht");
    QTest::addColumn<int>("boxen");

    // C1: A1, A2; C2: A2, a'3; C3: blank Data; C4: no Data; C5: a Data the parser complains about; C6: a
    // list of articles that does not parse.
    QTest::newRow("two combinations sharing an article")
        << QStringList{"C1", "C2"} << QStringList{"A1", "A2", "a'3"} << 0;
    QTest::newRow("not selected items count as well") << QStringList{"-C1"} << QStringList{"A1", "A2"} << 0;
    QTest::newRow("code in other case") << QStringList{"c1"} << QStringList{"A1", "A2"} << 0;
    QTest::newRow("blank and missing data") << QStringList{"C3", "C4"} << QStringList() << 0;
    QTest::newRow("a parse error, the walk goes on")
        << QStringList{"C5", "C2", "C6"} << QStringList{"A2", "a'3"} << 2;
    QTest::newRow("empty collection: every combination")
        << QStringList() << QStringList{"A1", "A2", "a'3"} << 2;
    QTest::newRow("no such combination") << QStringList{"GEEN"} << QStringList() << 0;
}

// SQLite: the articles in the Data of the chosen combinations, each once.
void TestClsSyncOptLezers::requiredArticlesSqlite()
{
    QFETCH(QStringList, gekozen);
    QFETCH(QStringList, verwacht);
    QFETCH(int, boxen);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    fixtures::FixtureDb& db = *paar.src;
    paar.combi(db, QStringLiteral("C1"), {{QStringLiteral("Data"), optData({"A1", "A2"})}});
    paar.combi(db, QStringLiteral("C2"), {{QStringLiteral("Data"), optData({"A2", "a'3"})}});
    paar.combi(db, QStringLiteral("C3"), {{QStringLiteral("Data"), QStringLiteral("  ")}});
    paar.combi(db, QStringLiteral("C4"));
    paar.combi(db, QStringLiteral("C5"),
               {{QStringLiteral("Data"), QStringLiteral("{\"LHArticles\": [\"A9\"")}});
    paar.combi(
        db, QStringLiteral("C6"),
        {{QStringLiteral("Data"), QStringLiteral("{\"RefUsages\":\"[]\",\"LHArticles\":\"[{fkArticle:\"}")}});
    const ItemCollection items = keuze(gekozen);
    clsSyncOpt engine;
    QVERIFY(engine.LocksHingesArtikelVerplichtDistinct(paar.bron, &items));
    QVERIFY(engine.ColItemsDistinct());
    QCOMPARE(codes(*engine.ColItemsDistinct()), verwacht);
    QCOMPARE(ui.messages.size(), boxen);
    for (const auto& box : std::as_const(ui.messages)) {
        QCOMPARE(box.title, QStringLiteral("Parsing Error(s) occured"));
        QCOMPARE(box.style, int(MsgBox::OkOnly | MsgBox::Information));
        QVERIFY(!box.text.isEmpty());
    }
    QVERIFY(ui.errors.isEmpty());
}

// Without a collection the article reader answers True and adds nothing, without opening the source; a
// source that does not open answers False.
void TestClsSyncOptLezers::requiredArticlesWithoutCollection()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    paar.combi(*paar.src, QStringLiteral("C1"), {{QStringLiteral("Data"), optData({"A1"})}});
    clsSyncOpt engine;
    OptLog log;
    engine.SetOntvanger(&log);
    QVERIFY(engine.LocksHingesArtikelVerplichtDistinct(paar.bron, nullptr));
    QVERIFY(!engine.ColItemsDistinct());
    QVERIFY(log.hoofdActies.isEmpty());
    const ItemCollection items = keuze({QStringLiteral("C1")});
    QVERIFY(!engine.LocksHingesArtikelVerplichtDistinct(env.path(QStringLiteral("weg.db")), &items));
    QVERIFY(!engine.ColItemsDistinct());
}

QTEST_GUILESS_MAIN(TestClsSyncOptLezers)
#include "test_clssyncopt_lezers.moc"
