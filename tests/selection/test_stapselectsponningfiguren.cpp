// The groove-figure step (15) without a window: the sources it reads, the
// required figures (only with library options; kinds by a substring test on
// the chosen types, the sill kind always), the four groove kinds in the group
// selector, the status texts, Next, and the preview of a clicked or ticked
// figure (from the first source that holds it, once per batch, quietly kept
// when nothing yields it); with scripted readers, and once with the
// program's readers on work-preparation databases (SQLite and Jet stand-in),
// a library and a database written by hand that cannot give an outline.

#include "selection/stapselectsponningfiguren.h"

#include "fixtures/jetstandin.h"
#include "fixtures/profilefixtures.h"
#include "selection/clsprofile.h"
#include "selectiestaptest.h"

#include <QSignalSpy>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;
using namespace supplink::test;

namespace {

std::shared_ptr<clsItem> figuur(const QString& code, qint32 type)
{
    auto result = item(code);
    result->Groep = type;
    return result;
}

// Answers from a script and remembers every question.
class ScriptLezers final : public SponningFiguurLezers
{
public:
    bool Figuren(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        vragen << QStringLiteral("Figuren ") + pad + QLatin1Char(' ') + types;
        for (const auto& voorbeeld : figuren.value(pad))
            alle << std::make_shared<clsItem>(*voorbeeld);
        return true;
    }
    bool SponningFigurenVerplicht(const QString& pad, const ItemCollection& gekozen, qint32 soort,
                                  VerplichtCollectie& verplicht) override
    {
        vragen << QStringLiteral("Verplicht %1 ").arg(soort) + pad + QLatin1Char(' ') + codes(gekozen).join(',');
        if (!verplicht)
            verplicht = std::make_shared<ItemCollection>();
        for (const QString& code : verplichtPerSoort.value(soort))
            *verplicht << item(code);
        return true;
    }
    std::shared_ptr<clsProfile> Profiel(const QString& pad, const QString& code) override
    {
        profielVragen << pad + QLatin1Char(' ') + code;
        if (!profielen.value(pad).contains(code))
            return nullptr;
        auto profiel = std::make_shared<clsProfile>();
        profiel->ProfileName = code + QStringLiteral(" uit ") + pad;
        return profiel;
    }

    QStringList vragen;
    QStringList profielVragen;
    QHash<QString, ItemCollection> figuren;
    QHash<qint32, QStringList> verplichtPerSoort;
    QHash<QString, QStringList> profielen; // per path: the codes it has an outline of
};

const QString kWkv = QStringLiteral("/bronnen/wkv.mdb");
const QString kWkv2 = QStringLiteral("/bronnen/wkv2.sqlite");

void zetOpties(bool bibliotheek)
{
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenShapes = true;
    opties->ImporterenNeuten = bibliotheek;
    globals().gImportOpties = opties;
}

QString profielNaam(const InformatiePaneel& paneel)
{
    return paneel.Profiel() ? paneel.Profiel()->ProfileName : QString();
}

} // namespace

class TestStapSelectSponningFiguren : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsWorkPreparationDatabasesOnly();
    void requiredKindsByTheChosenTypes_data();
    void requiredKindsByTheChosenTypes();
    void requiredFiguresAreTickedAndLocked();
    void fourGrooveKindsAsGroups();
    void statusTextsAndNext();
    void previewFromTheFirstSourceThatHoldsTheFigure();
    void batchDrawsOnce();
    void programReaders();

private:
    void betreed(StapSelectSponningFiguren& stap)
    {
        stap.setLezers(m_lezers);
        stap.Init();
    }

    std::unique_ptr<StapOmgeving> m_omgeving;
    std::shared_ptr<ScriptLezers> m_lezers;
};

void TestStapSelectSponningFiguren::init()
{
    m_omgeving = std::make_unique<StapOmgeving>();
    m_lezers = std::make_shared<ScriptLezers>();
}

void TestStapSelectSponningFiguren::cleanup()
{
    m_omgeving.reset();
}

void TestStapSelectSponningFiguren::readsWorkPreparationDatabasesOnly()
{
    auto jet = bron("wkv.mdb", BronSoort::WKV, Opslag::Jet);
    jet->TypeSelectie = QStringLiteral("1;3");
    globals().gBronnenGeselecteerd = {jet, bron("wkv2.sqlite", BronSoort::WKV, Opslag::SQLite),
                                      bron("wkv.csv", BronSoort::WKV, Opslag::Bestand),
                                      bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet)};
    m_lezers->figuren[kWkv] = {figuur("S1", 1)};
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    zetOpties(false);
    betreed(stap);
    QCOMPARE(m_lezers->vragen, (QStringList{"Figuren " + kWkv + " 1;3", "Figuren " + kWkv2 + " "}));
    QCOMPARE(historie.markeringen, (QList<std::pair<qint32, QStringList>>{{4, {"S1"}}}));
    QCOMPARE(stap.sjabloon().lijst().lijst().LijstNaam(), QStringLiteral("Sponningfiguren"));
    QVERIFY(stap.sjabloon().paneel().IsPreview());
}

void TestStapSelectSponningFiguren::requiredKindsByTheChosenTypes_data()
{
    QTest::addColumn<bool>("bibliotheek");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("vragen");

    const QString sqlite = QStringLiteral(" /bronnen/bib.sqlite ");
    const QString jet = QStringLiteral(" /bronnen/bib.mdb ");
    // Library options off: nothing is asked (and nothing required).
    QTest::newRow("library options off") << false << "1;2;3" << QStringList{};
    // A plain substring test: "12" is both 1 and 2; the sill kind (4) is asked always.
    QTest::newRow("12") << true << "12"
                        << QStringList{"Verplicht 1" + sqlite + "VS", "Verplicht 2" + sqlite + "RS",
                                       "Verplicht 4" + sqlite + "LR", "Verplicht 1" + jet + "VS",
                                       "Verplicht 2" + jet + "RS", "Verplicht 4" + jet + "LR"};
    QTest::newRow("3") << true << "3"
                       << QStringList{"Verplicht 3" + sqlite + "ES", "Verplicht 4" + sqlite + "LR",
                                      "Verplicht 3" + jet + "ES", "Verplicht 4" + jet + "LR"};
    QTest::newRow("none") << true << "" << QStringList{"Verplicht 4" + sqlite + "LR", "Verplicht 4" + jet + "LR"};
}

void TestStapSelectSponningFiguren::requiredKindsByTheChosenTypes()
{
    QFETCH(bool, bibliotheek);
    QFETCH(QString, types);
    auto sqlite = bron("bib.sqlite", BronSoort::Bibliotheek, Opslag::SQLite);
    auto jet = bron("bib.mdb", BronSoort::Bibliotheek, Opslag::Jet);
    auto bestand = bron("bib.csv", BronSoort::Bibliotheek, Opslag::Bestand);
    for (const auto& b : {sqlite, jet, bestand})
        b->TypeSelectie = types;
    globals().gBronnenGeselecteerd = {sqlite, jet, bestand};
    globals().gColVaksponningenGeselecteerd = gekozen({"VS"});
    globals().gColRandsponningenGeselecteerd = gekozen({"RS"});
    globals().gColElementsponningenGeselecteerd = gekozen({"ES"});
    globals().gColLaagreliefGeselecteerd = gekozen({"LR"});
    zetOpties(bibliotheek);
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    QTEST(m_lezers->vragen, "vragen");
}

void TestStapSelectSponningFiguren::requiredFiguresAreTickedAndLocked()
{
    auto wkv = bron("wkv.mdb", BronSoort::WKV, Opslag::Jet);
    globals().gBronnenGeselecteerd = {wkv, bron("bib.mdb", BronSoort::Bibliotheek, Opslag::Jet)};
    auto vooraf = figuur("S1", 1);
    vooraf->Selected = true;
    m_lezers->figuren[kWkv] = {vooraf, figuur("S2", 2), figuur("S3", 3)};
    m_lezers->verplichtPerSoort[4] = QStringList{"s2"};
    zetOpties(true);
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    bool verplichtVoorHistorie = false;
    historie.bijMarkering = [&](qint32, const ItemCollection& items) { verplichtVoorHistorie = items.at(1)->Required; };
    betreed(stap);
    const ItemCollection& alle = globals().gColSponningfiguren;
    QVERIFY(!alle.at(0)->Selected && !alle.at(0)->Required);
    QVERIFY(alle.at(1)->Selected && alle.at(1)->Required);
    QVERIFY(!alle.at(2)->Selected);
    QVERIFY(verplichtVoorHistorie);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    const int rij = rijVan(stap.sjabloon(), "S2");
    QCOMPARE(lijst.Rij(rij).Kleur.rgba(), LijstKleur::Verplicht);
    lijst.ZetVinkje(rij, false);
    QVERIFY(lijst.Rij(rij).Aangevinkt);

    // With the library options off the same selections require nothing; the reader's own tick stays.
    globals().gColSponningfiguren.clear();
    zetOpties(false);
    StapSelectSponningFiguren zonder;
    Historie historie2(zonder.sjabloon());
    betreed(zonder);
    QVERIFY(globals().gColSponningfiguren.at(0)->Selected);
    QVERIFY(!globals().gColSponningfiguren.at(1)->Required);
}

void TestStapSelectSponningFiguren::fourGrooveKindsAsGroups()
{
    globals().gBronnenGeselecteerd = {bron("wkv.mdb", BronSoort::WKV, Opslag::Jet)};
    m_lezers->figuren[kWkv] = {figuur("S1", 1), figuur("S2", 2), figuur("S3", 3), figuur("S4", 4), figuur("S5", 3)};
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    GroepenLijst& lijst = stap.sjabloon().lijst();
    QCOMPARE(lijst.Groepen().size(), 11);
    const QStringList namen = {"Vaksponningen", "Elementsponningen", "Randsponningen", "Muursponningen"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(lijst.Groepen().at(7 + i).Omschrijving, namen.at(i));
        QCOMPARE(lijst.Groepen().at(7 + i).Nummer, i + 1);
    }
    lijst.KiesGroep(9); // "Randsponningen", number 3
    QCOMPARE(rijCodes(stap.sjabloon()), (QStringList{"S3", "S5"}));
    QCOMPARE(lijst.InfoTekst(), QStringLiteral("In groep (2) - "));
}

void TestStapSelectSponningFiguren::statusTextsAndNext()
{
    globals().gBronnenGeselecteerd = {bron("wkv.mdb", BronSoort::WKV, Opslag::Jet)};
    m_lezers->figuren[kWkv] = {figuur("S1", 1), figuur("S2", 1)};
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    QSignalSpy status(&stap, &Stap::StatusTekst);
    QSignalSpy verder(&stap, &Stap::KanVerder);
    betreed(stap);
    QCOMPARE(teksten(status), (QStringList{"Inlezen bestand wkv.mdb", "", "Controle verplichte sponningfiguren", "",
                                           "Controle historische gegevens", ""}));
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.last().at(0).toBool(), false);
    // A click does not evaluate Next; a tick does.
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    lijst.Klik(1);
    QCOMPARE(verder.size(), 1);
    lijst.ZetVinkje(1, true);
    QCOMPARE(verder.size(), 2);
    QCOMPARE(verder.last().at(0).toBool(), true);

    // Entering again shows the kept list and switches the panel to the preview again.
    QSignalSpy preview(&stap.sjabloon().paneel(), &InformatiePaneel::PreviewGekozen);
    stap.Init();
    QCOMPARE(preview.size(), 1);
    QCOMPARE(m_lezers->vragen.size(), 1);
}

void TestStapSelectSponningFiguren::previewFromTheFirstSourceThatHoldsTheFigure()
{
    const QString wkv3 = QStringLiteral("/bronnen/wkv3.sqlite");
    globals().gBronnenGeselecteerd = {bron("wkv.mdb", BronSoort::WKV, Opslag::Jet),
                                      bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet),
                                      bron("wkv2.sqlite", BronSoort::WKV, Opslag::SQLite),
                                      bron("wkv3.sqlite", BronSoort::WKV, Opslag::SQLite)};
    m_lezers->figuren[kWkv] = {figuur("S1", 1), figuur("S2", 1), figuur("S3", 1)};
    m_lezers->profielen[kWkv] = QStringList{"S1"};
    m_lezers->profielen[kWkv2] = QStringList{"S1", "S2"};
    m_lezers->profielen[wkv3] = QStringList{"S2"};
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    InformatiePaneel& paneel = stap.sjabloon().paneel();
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();

    m_lezers->profielVragen.clear();
    lijst.Klik(rijVan(stap.sjabloon(), "S2"));
    QCOMPARE(m_lezers->profielVragen, (QStringList{kWkv + " S2", kWkv2 + " S2"}));
    QCOMPARE(profielNaam(paneel), "S2 uit " + kWkv2);
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Omschrijving S2"));

    lijst.ZetVinkje(rijVan(stap.sjabloon(), "S1"), true);
    QCOMPARE(profielNaam(paneel), "S1 uit " + kWkv);

    // A figure no source yields leaves the drawing as it was; its description shows.
    m_lezers->profielVragen.clear();
    lijst.Klik(rijVan(stap.sjabloon(), "S3"));
    QCOMPARE(m_lezers->profielVragen.size(), 3);
    QCOMPARE(profielNaam(paneel), "S1 uit " + kWkv);
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Omschrijving S3"));
    QVERIFY(m_omgeving->ui.messages.isEmpty() && m_omgeving->ui.errors.isEmpty());
}

void TestStapSelectSponningFiguren::batchDrawsOnce()
{
    globals().gBronnenGeselecteerd = {bron("wkv.mdb", BronSoort::WKV, Opslag::Jet)};
    for (int i = 0; i < 10; ++i) {
        m_lezers->figuren[kWkv] << figuur(QStringLiteral("S%1").arg(i), 1);
        m_lezers->profielen[kWkv] << QStringLiteral("S%1").arg(i);
    }
    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    lijst.Klik(4);
    QSignalSpy getekend(&stap.sjabloon().paneel(), &InformatiePaneel::ProfielGewijzigd);
    QSignalSpy verder(&stap, &Stap::KanVerder);
    m_lezers->profielVragen.clear();
    lijst.AllesSelecteren();
    // Once, for the row the batch left current.
    QCOMPARE(m_lezers->profielVragen, QStringList{kWkv + QLatin1Char(' ') + lijst.Rij(lijst.HuidigeRij()).Code});
    QCOMPARE(getekend.size(), 1);
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.at(0).at(0).toBool(), true);
}

void TestStapSelectSponningFiguren::programReaders()
{
    using fixtures::fixedNode;
    using fixtures::formulaNode;
    // Two work-preparation databases that both hold S1 (the first one 20 mm wide, the second 30 mm), the
    // second behind the Jet stand-in.
    const QString wkv1 = m_omgeving->env.path(QStringLiteral("wkv1.sqlite"));
    QVERIFY(fixtures::makeWorkPreparation(wkv1));
    {
        fixtures::FixtureDb db(wkv1);
        fixtures::addGrooveShape(db, "S1", 200, 150, {fixedNode(0, 0.005), formulaNode(0.004, "r")}, 0, 1);
        fixtures::addGrooveShape(db, "S'2", 100, 100, {fixedNode(0, 0.01)}, 0, 3);
    }
    const QString wkv2Db = m_omgeving->env.path(QStringLiteral("wkv2.db"));
    QVERIFY(fixtures::makeJetDatabase(wkv2Db, fixtures::Kind::WorkPreparation, {3, 40}));
    {
        fixtures::FixtureDb db(wkv2Db);
        fixtures::addGrooveShape(db, "S1", 300, 150, {fixedNode(0, 0.005)}, 0, 1);
        fixtures::addGrooveShape(db, "S9", 300, 150, {fixedNode(0, 0.005)}, 0, 4);
    }
    // A library whose pane-groove table VT1 uses S1 and whose sill combination LR1 uses S'2.
    const QString bib = m_omgeving->env.path(QStringLiteral("bib.sqlite"));
    QVERIFY(fixtures::makeDatabase(bib, fixtures::Kind::Library, {3, 40}));
    {
        fixtures::FixtureDb db(bib);
        const qint64 vt = db.insert("PaneGrooveTable", {{"Code", "VT1"}, {"Description", "Vak"}});
        db.insert("PaneGroove", {{"fkPaneGrooveTable", vt}, {"GrooveShape", "S1"}});
        db.insert("TreshHoldCombi", {{"Code", "LR1"}, {"Description", "Dorpel"}, {"PaneGrooveShape", "S'2"}});
    }
    fixtures::JetStandIns jet;
    const QString wkv2 = jet.add(wkv2Db);
    auto bron1 = bron("wkv1.sqlite", BronSoort::WKV, Opslag::SQLite, wkv1);
    bron1->TypeSelectie = QStringLiteral("1;3");
    auto bron2 = bron("wkv2.mdb", BronSoort::WKV, Opslag::Jet, wkv2);
    bron2->TypeSelectie = QStringLiteral("1;4");
    auto bibBron = bron("bib.sqlite", BronSoort::Bibliotheek, Opslag::SQLite, bib);
    bibBron->TypeSelectie = QStringLiteral("1");
    globals().gBronnenGeselecteerd = {bron1, bron2, bibBron};
    globals().gColVaksponningenGeselecteerd = gekozen({"VT1"});
    globals().gColLaagreliefGeselecteerd = gekozen({"LR1"});
    zetOpties(true);

    StapSelectSponningFiguren stap;
    Historie historie(stap.sjabloon());
    stap.Init();
    QCOMPARE(rijCodes(stap.sjabloon()), (QStringList{"S'2", "S1", "S9"}));
    QStringList verplicht;
    for (const auto& f : std::as_const(globals().gColSponningfiguren)) {
        if (f->Required && f->Selected)
            verplicht << f->Code;
    }
    QCOMPARE(verplicht, (QStringList{"S'2", "S1", "S1"}));

    // The preview of S1 comes from the first database; S9 only the second holds.
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    InformatiePaneel& paneel = stap.sjabloon().paneel();
    lijst.Klik(rijVan(stap.sjabloon(), "S1"));
    QVERIFY(paneel.Profiel());
    QCOMPARE(paneel.Profiel()->Width, 20.0);
    QCOMPARE(paneel.Profiel()->Y(1), 15.0); // the formula node takes the height the fixed step leaves
    lijst.Klik(rijVan(stap.sjabloon(), "S9"));
    QCOMPARE(paneel.Profiel()->Width, 30.0);
    QCOMPARE(paneel.Profiel()->ProfileName.left(2), QStringLiteral("S9"));

    // Sources that cannot give an outline come first now: one that no longer exists and a database
    // without node rows (its query fails). Both are passed over without a message.
    const QString kapot = m_omgeving->env.path(QStringLiteral("kapot.sqlite"));
    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(kapot).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "CREATE TABLE GrooveShape (ID INTEGER PRIMARY KEY, Code TEXT);", nullptr, nullptr,
                              nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
    }
    globals().gBronnenGeselecteerd = {bron("weg.sqlite", BronSoort::WKV, Opslag::SQLite, m_omgeving->env.path("weg.sqlite")),
                                      bron("kapot.sqlite", BronSoort::WKV, Opslag::SQLite, kapot), bron1, bron2};
    lijst.Klik(rijVan(stap.sjabloon(), "S'2"));
    QCOMPARE(paneel.Profiel()->Width, 10.0);
    QVERIFY(!QFile::exists(m_omgeving->env.path("weg.sqlite")));
    QVERIFY(m_omgeving->ui.messages.isEmpty());
    QVERIFY2(m_omgeving->ui.errors.isEmpty(), m_omgeving->ui.errors.isEmpty() ? "" : qPrintable(m_omgeving->ui.errors.first().details));
}

QTEST_MAIN(TestStapSelectSponningFiguren)
#include "test_stapselectsponningfiguren.moc"
