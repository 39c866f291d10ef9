// The hardware selection steps (7 tables, 8 choices, 9 combinations) without a
// window: which source each step reads with which reader, the required
// combinations (ticked, silver, locked, under "(Verplicht)"), the history
// marks per step and per source, Next (also for a step with nothing to list)
// and batches; with scripted readers, and once with the program's readers on
// an options database behind the Jet stand-in, an SQLite library and a
// supplier's hardware file written here.

#include "selection/stapselecthangsluit.h"

#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "selectiestaptest.h"
#include "start/registryfuncties.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// Answers from a script and remembers every question ("<reader> <path>").
class ScriptLezers final : public HangSluitLezers
{
public:
    bool OptTabellen(const QString& pad, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("OptTabellen"), pad, alle);
    }
    bool OptKeuzes(const QString& pad, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("OptKeuzes"), pad, alle);
    }
    bool OptCombies(const QString& pad, const ItemCollection& tabellen, ItemCollection& alle,
                    std::optional<ItemCollection>& verplicht) override
    {
        meegegeven.append(tabellen);
        const bool gelezen = lijst(QStringLiteral("OptCombies"), pad, alle);
        vereist(pad, verplicht);
        return gelezen;
    }
    bool LibKeuzes(const QString& pad, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("LibKeuzes"), pad, alle);
    }
    bool LibCombies(const QString& pad, const ItemCollection& keuzes, ItemCollection& alle,
                    std::optional<ItemCollection>& verplicht) override
    {
        meegegeven.append(keuzes);
        const bool gelezen = lijst(QStringLiteral("LibCombies"), pad, alle);
        vereist(pad, verplicht);
        return gelezen;
    }
    bool Bestand(clsBron2& bron, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("Bestand"), bron.Path(), alle);
    }
    bool DoelNieuweFormaatCombies() override
    {
        vragen << QStringLiteral("DoelNieuweFormaatCombies");
        return nieuwFormaat;
    }

    QStringList vragen;
    QHash<QString, QStringList> codes;     // per path: the codes a listing reader appends
    QStringList onleesbaar;                // paths whose listing reader answers false (after appending)
    QHash<QString, QStringList> verplicht; // per path: the required codes; absent: the query fails
    QList<ItemCollection> meegegeven;      // the tables or choices handed to the required queries
    bool nieuwFormaat = false;

private:
    bool lijst(const QString& lezer, const QString& pad, ItemCollection& alle)
    {
        vragen << lezer + QLatin1Char(' ') + pad;
        for (const QString& code : codes.value(pad))
            alle << item(code);
        return !onleesbaar.contains(pad);
    }
    void vereist(const QString& pad, std::optional<ItemCollection>& uitkomst)
    {
        if (verplicht.contains(pad))
            uitkomst = gekozen(verplicht.value(pad));
    }
};

const QString kOpt = QStringLiteral("/bronnen/opt.mdb");
const QString kOptSQLite = QStringLiteral("/bronnen/opt.sqlite");
const QString kBestand = QStringLiteral("/bronnen/hang.csv");
const QString kBib = QStringLiteral("/bronnen/bib.sqlite");

} // namespace

class TestStapSelectHangSluit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readersPerSource_data();
    void readersPerSource();
    void historyTypesPerStep();
    void requiredCombinationIsTickedAndLocked();
    void sameRequiredCodeInTwoSources();
    void failedRequiredQuerySkipsTheMarksOfItsSource();
    void nextRules_data();
    void nextRules();
    void batchesEvaluateNext();
    void revisitingReadsNothing();
    void finishAndSplitterValues();
    void programReaders();

private:
    template <class Stap>
    void betreed(Stap& stap)
    {
        stap.setLezers(m_lezers);
        stap.Init();
    }

    std::unique_ptr<StapOmgeving> m_omgeving;
    std::shared_ptr<ScriptLezers> m_lezers;
};

void TestStapSelectHangSluit::init()
{
    m_omgeving = std::make_unique<StapOmgeving>();
    m_lezers = std::make_shared<ScriptLezers>();
}

void TestStapSelectHangSluit::cleanup()
{
    m_omgeving.reset();
}

void TestStapSelectHangSluit::readersPerSource_data()
{
    QTest::addColumn<QList<std::shared_ptr<clsBron2>>>("bronnen");
    QTest::addColumn<bool>("nieuwFormaat");
    QTest::addColumn<QStringList>("tabellen");
    QTest::addColumn<QStringList>("keuzes");
    QTest::addColumn<QStringList>("combies");

    auto hangBestand = [](qint32 combiType) {
        auto b = bron(QStringLiteral("hang.csv"), BronSoort::TabellenCombies, Opslag::Bestand);
        b->CombiType = combiType;
        return b;
    };
    const QStringList geen;
    QTest::newRow("Jet options database")
        << QList{database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)} << false
        << QStringList{"OptTabellen " + kOpt} << QStringList{"OptKeuzes " + kOpt} << QStringList{"OptCombies " + kOpt};
    // An SQLite options source adds nothing to the tables, but its choices and combinations.
    QTest::newRow("SQLite options database")
        << QList{database(QStringLiteral("opt.sqlite"), BronSoort::TabellenCombies, Opslag::SQLite, 40)} << false
        << geen << QStringList{"OptKeuzes " + kOptSQLite} << QStringList{"OptCombies " + kOptSQLite};
    // A hardware file of choices lists choices only; of combinations, combinations only and only for a
    // target of the new format. The tables step lists a hardware file of either kind.
    QTest::newRow("hardware file of choices") << QList{hangBestand(1)} << true << QStringList{"Bestand " + kBestand}
                                              << QStringList{"Bestand " + kBestand} << geen;
    QTest::newRow("hardware file of combinations, new format")
        << QList{hangBestand(0)} << true << QStringList{"Bestand " + kBestand} << geen
        << QStringList{"DoelNieuweFormaatCombies", "Bestand " + kBestand};
    QTest::newRow("hardware file of combinations, older format")
        << QList{hangBestand(0)} << false << QStringList{"Bestand " + kBestand} << geen
        << QStringList{"DoelNieuweFormaatCombies"};
    // A library below 3.5 adds nothing; a Jet library of 3.5 choices but no combinations.
    QTest::newRow("library 3.40") << QList{database(QStringLiteral("bib.sqlite"), BronSoort::Bibliotheek, Opslag::SQLite, 40)}
                                  << false << geen << geen << geen;
    QTest::newRow("SQLite library 3.50")
        << QList{database(QStringLiteral("bib.sqlite"), BronSoort::Bibliotheek, Opslag::SQLite, 50)} << false << geen
        << QStringList{"LibKeuzes " + kBib} << QStringList{"LibCombies " + kBib};
    QTest::newRow("Jet library 3.50")
        << QList{database(QStringLiteral("bib.mdb"), BronSoort::Bibliotheek, Opslag::Jet, 50)} << false << geen
        << QStringList{"LibKeuzes /bronnen/bib.mdb"} << geen;
    QTest::newRow("other kinds") << QList{database(QStringLiteral("pt.mdb"), BronSoort::Artikelen, Opslag::Jet, 50),
                                          database(QStringLiteral("wkv.mdb"), BronSoort::WKV, Opslag::Jet, 50)}
                                 << true << geen << geen << geen;
}

void TestStapSelectHangSluit::readersPerSource()
{
    QFETCH(QList<std::shared_ptr<clsBron2>>, bronnen);
    QFETCH(bool, nieuwFormaat);
    globals().gBronnenGeselecteerd = bronnen;
    m_lezers->nieuwFormaat = nieuwFormaat;

    StapSelectHSTabellen tabellen;
    betreed(tabellen);
    QTEST(m_lezers->vragen, "tabellen");
    m_lezers->vragen.clear();
    StapSelectHSKeuzes keuzes;
    betreed(keuzes);
    QTEST(m_lezers->vragen, "keuzes");
    m_lezers->vragen.clear();
    StapSelectHSCombies combies;
    betreed(combies);
    QTEST(m_lezers->vragen, "combies");
    QVERIFY(m_omgeving->ui.messages.isEmpty() && m_omgeving->ui.errors.isEmpty());
}

void TestStapSelectHangSluit::historyTypesPerStep()
{
    globals().gBronnenGeselecteerd = {
        database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20),
        database(QStringLiteral("bib.sqlite"), BronSoort::Bibliotheek, Opslag::SQLite, 50)};
    m_lezers->codes[kOpt] = QStringList{"A"};
    m_lezers->codes[kBib] = QStringList{"B"};
    m_lezers->verplicht[kOpt] = QStringList{};
    m_lezers->verplicht[kBib] = QStringList{};

    // Tables and choices: once, after every source; no status texts.
    StapSelectHSTabellen tabellen;
    Historie historieTabellen(tabellen.sjabloon());
    QSignalSpy status(&tabellen, &Stap::StatusTekst);
    betreed(tabellen);
    QCOMPARE(historieTabellen.markeringen, (QList<std::pair<qint32, QStringList>>{{2, {"A"}}}));
    QVERIFY(status.isEmpty());

    StapSelectHSKeuzes keuzes;
    Historie historieKeuzes(keuzes.sjabloon());
    betreed(keuzes);
    QCOMPARE(historieKeuzes.markeringen, (QList<std::pair<qint32, QStringList>>{{10, {"A", "B"}}}));

    // Combinations: after each source, 3 for an options source and 11 for a library.
    StapSelectHSCombies combies;
    Historie historieCombies(combies.sjabloon());
    QSignalSpy statusCombies(&combies, &Stap::StatusTekst);
    betreed(combies);
    QCOMPARE(historieCombies.markeringen, (QList<std::pair<qint32, QStringList>>{{3, {"A"}}, {11, {"A", "B"}}}));
    QVERIFY(statusCombies.isEmpty());
}

void TestStapSelectHangSluit::requiredCombinationIsTickedAndLocked()
{
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    globals().gColHSTabellen = {item("T1", true), item("T2")};
    m_lezers->codes[kOpt] = QStringList{"C1", "C2", "C3"};
    m_lezers->verplicht[kOpt] = QStringList{"C2", "ONBEKEND"};
    StapSelectHSCombies stap;
    Historie historie(stap.sjabloon());
    // The history does not change the mark (it never touches Required).
    historie.bijMarkering = [](qint32, const ItemCollection& items) { items.at(0)->Existing = true; };
    QSignalSpy verder(&stap, &Stap::KanVerder);
    betreed(stap);

    // The tables' all collection went to the required query (the engine takes the ticked ones).
    QCOMPARE(m_lezers->meegegeven.size(), 1);
    QCOMPARE(codes(m_lezers->meegegeven.at(0)), (QStringList{"T1", "T2"}));
    const ItemCollection& alle = globals().gColHSCombies;
    QCOMPARE(codes(alle), (QStringList{"C1", "C2", "C3"}));
    QVERIFY(alle.at(1)->Selected && alle.at(1)->Required);
    QVERIFY(!alle.at(0)->Required && !alle.at(2)->Selected);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    const int rij = rijVan(stap.sjabloon(), QStringLiteral("C2"));
    QVERIFY(lijst.Rij(rij).Aangevinkt && lijst.Rij(rij).Verplicht);
    QCOMPARE(lijst.Rij(rij).Kleur.rgba(), LijstKleur::Verplicht);
    QCOMPARE(lijst.Rij(rij).Tekst(2), QStringLiteral("*"));
    QCOMPARE(verder.last().at(0).toBool(), true);

    // It cannot be unticked, not even by "Niets Selecteren".
    lijst.ZetVinkje(rij, false);
    QVERIFY(lijst.Rij(rij).Aangevinkt && alle.at(1)->Selected);
    lijst.NietsSelecteren();
    QVERIFY(lijst.Rij(rij).Aangevinkt);
    QCOMPARE(verder.last().at(0).toBool(), true);

    // "(Verplicht)" shows it alone.
    stap.sjabloon().lijst().KiesGroep(1);
    QCOMPARE(rijCodes(stap.sjabloon()), QStringList{"C2"});
    stap.Finish();
    QCOMPARE(codes(globals().gColHSCombiesGeselecteerd), QStringList{"C2"});
}

void TestStapSelectHangSluit::sameRequiredCodeInTwoSources()
{
    const QString tweede = QStringLiteral("/bronnen/opt2.mdb");
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20),
                                      database(QStringLiteral("opt2.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    m_lezers->codes[kOpt] = QStringList{"C1"};
    m_lezers->codes[tweede] = QStringList{"c1", "C9"};
    m_lezers->verplicht[kOpt] = QStringList{"C1"};
    m_lezers->verplicht[tweede] = QStringList{"C1"};
    StapSelectHSCombies stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    const ItemCollection& alle = globals().gColHSCombies;
    QCOMPARE(codes(alle), (QStringList{"C1", "c1", "C9"}));
    // The marking goes to the first item with the code, both times.
    QVERIFY(alle.at(0)->Required && alle.at(0)->Selected);
    QVERIFY(!alle.at(1)->Required);
    // One row for the code; the second source's item follows its tick.
    QCOMPARE(rijCodes(stap.sjabloon()), (QStringList{"C1", "C9"}));
    stap.Finish();
    QCOMPARE(codes(globals().gColHSCombiesGeselecteerd), (QStringList{"C1", "c1"}));
}

void TestStapSelectHangSluit::failedRequiredQuerySkipsTheMarksOfItsSource()
{
    const QString tweede = QStringLiteral("/bronnen/opt2.mdb");
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20),
                                      database(QStringLiteral("opt2.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20),
                                      database(QStringLiteral("bib.sqlite"), BronSoort::Bibliotheek, Opslag::SQLite, 50)};
    m_lezers->codes[kOpt] = QStringList{"C1"};
    m_lezers->codes[tweede] = QStringList{"C2"};
    m_lezers->codes[kBib] = QStringList{"L1"};
    // The first source's required query fails, and so does the library's.
    m_lezers->verplicht[tweede] = QStringList{"C1", "C2"};
    StapSelectHSCombies stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    // No history after the first source; after the second; after the library whatever its query did.
    QCOMPARE(historie.markeringen,
             (QList<std::pair<qint32, QStringList>>{{3, {"C1", "C2"}}, {11, {"C1", "C2", "L1"}}}));
    // A later source's required codes mark earlier items too.
    QVERIFY(globals().gColHSCombies.at(0)->Required && globals().gColHSCombies.at(1)->Required);
    QVERIFY(!globals().gColHSCombies.at(2)->Required);
}

void TestStapSelectHangSluit::nextRules_data()
{
    QTest::addColumn<int>("stap");  // 7, 8 or 9
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<bool>("verder");

    for (int stap : {7, 8, 9}) {
        // A step with nothing to list can be left (the choices step as specified, the others as mended).
        QTest::addRow("step %d, nothing to list", stap) << stap << QStringList{} << true;
        QTest::addRow("step %d, nothing ticked", stap) << stap << QStringList{"X1", "X2"} << false;
    }
}

void TestStapSelectHangSluit::nextRules()
{
    QFETCH(int, stap);
    QFETCH(QStringList, codes);
    QFETCH(bool, verder);
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    m_lezers->codes[kOpt] = codes;
    m_lezers->verplicht[kOpt] = QStringList{};
    std::unique_ptr<HangSluitSelectieStap> model;
    if (stap == 7)
        model = std::make_unique<StapSelectHSTabellen>();
    else if (stap == 8)
        model = std::make_unique<StapSelectHSKeuzes>();
    else
        model = std::make_unique<StapSelectHSCombies>();
    Historie historie(model->sjabloon());
    QSignalSpy kanVerder(model.get(), &Stap::KanVerder);
    betreed(*model);
    QCOMPARE(kanVerder.last().at(0).toBool(), verder);
    if (codes.isEmpty())
        return;
    // Ticking a row enables Next, unticking it disables it again.
    SelectieLijst& lijst = model->sjabloon().lijst().lijst();
    lijst.ZetVinkje(1, true);
    QCOMPARE(kanVerder.last().at(0).toBool(), true);
    lijst.ZetVinkje(1, false);
    QCOMPARE(kanVerder.last().at(0).toBool(), false);
}

void TestStapSelectHangSluit::batchesEvaluateNext()
{
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    m_lezers->codes[kOpt] = QStringList{"A", "B", "C"};
    m_lezers->verplicht[kOpt] = QStringList{};

    // The tables step once, at the batch's end.
    StapSelectHSTabellen tabellen;
    Historie h1(tabellen.sjabloon());
    betreed(tabellen);
    QSignalSpy verderTabellen(&tabellen, &Stap::KanVerder);
    tabellen.sjabloon().lijst().lijst().AllesSelecteren();
    QCOMPARE(verderTabellen.size(), 1);
    QCOMPARE(verderTabellen.at(0).at(0).toBool(), true);

    // The choices and combinations steps on every row's tick, also during the batch.
    StapSelectHSKeuzes keuzes;
    Historie h2(keuzes.sjabloon());
    betreed(keuzes);
    QSignalSpy verderKeuzes(&keuzes, &Stap::KanVerder);
    keuzes.sjabloon().lijst().lijst().AllesSelecteren();
    QCOMPARE(verderKeuzes.size(), 3);
    QCOMPARE(verderKeuzes.at(0).at(0).toBool(), true);
    for (const auto& i : globals().gColHSKeuzes)
        QVERIFY(i->Selected);
    verderKeuzes.clear();
    keuzes.sjabloon().lijst().lijst().NietsSelecteren();
    QCOMPARE(verderKeuzes.size(), 3);
    QCOMPARE(verderKeuzes.last().at(0).toBool(), false);
}

void TestStapSelectHangSluit::revisitingReadsNothing()
{
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    m_lezers->codes[kOpt] = QStringList{"A", "B"};
    StapSelectHSTabellen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    stap.sjabloon().lijst().lijst().ZetVinkje(1, true);
    stap.Finish();
    m_lezers->vragen.clear();
    QSignalSpy verder(&stap, &Stap::KanVerder);
    stap.Init();
    QVERIFY(m_lezers->vragen.isEmpty());
    QCOMPARE(historie.markeringen.size(), 1);
    QVERIFY(stap.sjabloon().lijst().lijst().Rij(1).Aangevinkt);
    QCOMPARE(verder.last().at(0).toBool(), true);

    // Going back past the step empties its pair: the next entry reads again.
    globals().gColHSTabellen.clear();
    globals().gColHSTabellenGeselecteerd.clear();
    stap.Init();
    QCOMPARE(m_lezers->vragen, QStringList{"OptTabellen " + kOpt});
    QVERIFY(!stap.sjabloon().lijst().lijst().Rij(1).Aangevinkt);
}

void TestStapSelectHangSluit::finishAndSplitterValues()
{
    globals().gBronnenGeselecteerd = {database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20)};
    m_lezers->codes[kOpt] = QStringList{"A"};
    m_lezers->verplicht[kOpt] = QStringList{};
    StapSelectHSTabellen tabellen;
    StapSelectHSKeuzes keuzes;
    StapSelectHSCombies combies;
    struct Geval
    {
        HangSluitSelectieStap* stap;
        QString lijst;
        QString waarde;
    };
    const QList<Geval> gevallen = {{&tabellen, "HSTabellen", "hstabellensplitter1pos"},
                                   {&keuzes, "HSKeuzes", "hskeuzessplitter1pos"},
                                   {&combies, "HSCombies", "hscombiessplitter1pos"}};
    int positie = 3000;
    for (const Geval& geval : gevallen) {
        Historie historie(geval.stap->sjabloon());
        betreed(*geval.stap);
        QCOMPARE(geval.stap->sjabloon().lijst().lijst().LijstNaam(), geval.lijst);
        geval.stap->sjabloon().lijst().lijst().ZetVinkje(0, true);
        geval.stap->sjabloon().ZetSplitterPositie(positie);
        geval.stap->Finish();
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), geval.waarde, {}), QString::number(positie));
        positie += 100;
    }
    QCOMPARE(codes(globals().gColHSTabellenGeselecteerd), QStringList{"A"});
    QCOMPARE(codes(globals().gColHSKeuzesGeselecteerd), QStringList{"A"});
    QCOMPARE(codes(globals().gColHSCombiesGeselecteerd), QStringList{"A"});

    // A step made anew takes its splitter from its own value.
    globals().gColHSKeuzes.clear();
    StapSelectHSKeuzes opnieuw;
    Historie historie(opnieuw.sjabloon());
    betreed(opnieuw);
    QCOMPARE(opnieuw.sjabloon().SplitterPositie(), 3100);
}

void TestStapSelectHangSluit::programReaders()
{
    // An options database of the 3.20 layout (hardware tables linked to combinations through
    // LocksHingesType, and choices) behind the Jet stand-in.
    const QString optDb = m_omgeving->env.path(QStringLiteral("opt.db"));
    QVERIFY(fixtures::makeJetDatabase(optDb, fixtures::Kind::Options, {3, 20}));
    {
        fixtures::FixtureDb db(optDb);
        const qint64 t1 = db.insert("LocksHingesTable", {{"Code", "T1"}, {"Description", "Draaikiep"}});
        const qint64 t2 = db.insert("LocksHingesTable", {{"Code", "T2"}, {"Description", "Stolp"}});
        const qint64 c1 = db.insert("LocksHingesCombi", {{"Code", "C1"}, {"Description", "Combi een"}});
        const qint64 c2 = db.insert("LocksHingesCombi", {{"Code", "C'2"}, {"Description", "Combi twee"}});
        db.insert("LocksHingesType", {{"fkLocksHingesTable", t1}, {"fkLocksHingesCombi", c2}});
        db.insert("LocksHingesType", {{"fkLocksHingesTable", t2}, {"fkLocksHingesCombi", c1}});
        db.insert("CustomLHCombi", {{"Code", "K1"}, {"Description", "Keuze uit de database"}});
    }
    fixtures::JetStandIns jet;
    const QString opt = jet.add(optDb);
    // A supplier's hardware file of choices, as a supplier writes it (Windows-1252, ";", a title line).
    const QString csv = m_omgeving->env.path(QStringLiteral("keuzes.csv"));
    {
        QFile bestand(csv);
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.write("Code;Omschrijving;Artikel\r\n"
                      "HK1;Keuze caf\xe9;ART-1\r\n"
                      "HK1;Keuze caf\xe9;ART-2\r\n"
                      "hk2;Tweede keuze;ART-3\r\n");
    }
    auto optBron = database(QStringLiteral("opt.mdb"), BronSoort::TabellenCombies, Opslag::Jet, 20, opt);
    auto bestandBron = bron(QStringLiteral("keuzes.csv"), BronSoort::TabellenCombies, Opslag::Bestand, csv);
    bestandBron->Scheidingsteken = QStringLiteral(";");
    bestandBron->KolomSoorten = {1, 2, 101};
    bestandBron->CombiType = 1;
    globals().gBronnenGeselecteerd = {optBron, bestandBron};

    // Step 7: the database's tables (the file lists its codes too); tick T1.
    StapSelectHSTabellen tabellen;
    Historie h1(tabellen.sjabloon());
    tabellen.Init();
    QCOMPARE(codes(globals().gColHSTabellen), (QStringList{"T1", "T2", "HK1", "hk2"}));
    tabellen.sjabloon().lijst().lijst().ZetVinkje(rijVan(tabellen.sjabloon(), QStringLiteral("T1")), true);
    tabellen.Finish();
    QCOMPARE(codes(globals().gColHSTabellenGeselecteerd), QStringList{"T1"});

    // Step 8: the database's choice and the file's choices, each code once.
    StapSelectHSKeuzes keuzes;
    Historie h2(keuzes.sjabloon());
    keuzes.Init();
    QCOMPARE(codes(globals().gColHSKeuzes), (QStringList{"K1", "HK1", "hk2"}));
    QCOMPARE(globals().gColHSKeuzes.at(1)->Description, QStringLiteral("Keuze caf\u00e9"));

    // Step 9: the combinations; the one T1 requires (a code with a quote) ticked and locked, the
    // history marked after the source.
    StapSelectHSCombies combies;
    Historie h3(combies.sjabloon());
    QSignalSpy verder(&combies, &Stap::KanVerder);
    combies.Init();
    QCOMPARE(codes(globals().gColHSCombies), (QStringList{"C1", "C'2"}));
    QVERIFY(globals().gColHSCombies.at(1)->Required && globals().gColHSCombies.at(1)->Selected);
    QVERIFY(!globals().gColHSCombies.at(0)->Required);
    QCOMPARE(h3.markeringen.size(), 1);
    QCOMPARE(verder.last().at(0).toBool(), true);

    // With the tables step not shown (a target of the new format) there are no tables: the required
    // query still answers (nothing required) and the source is still marked.
    globals().gColHSTabellen.clear();
    globals().gColHSTabellenGeselecteerd.clear();
    globals().gColHSCombies.clear();
    StapSelectHSCombies zonderTabellen;
    Historie h4(zonderTabellen.sjabloon());
    zonderTabellen.Init();
    QCOMPARE(codes(globals().gColHSCombies), (QStringList{"C1", "C'2"}));
    QVERIFY(!globals().gColHSCombies.at(1)->Required);
    QCOMPARE(h4.markeringen.size(), 1);
    QVERIFY2(m_omgeving->ui.errors.isEmpty(), m_omgeving->ui.errors.isEmpty() ? "" : qPrintable(m_omgeving->ui.errors.first().details));
    QVERIFY(m_omgeving->ui.messages.isEmpty());
}

QTEST_MAIN(TestStapSelectHangSluit)
#include "test_stapselecthangsluit.moc"
