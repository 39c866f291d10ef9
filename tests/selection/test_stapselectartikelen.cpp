// The article-group step (10) and the article step (11) without a window:
// which source each reads with which reader (an SQLite product table in the
// group step: the message, no groups), Next, the required-article check (by
// code and by mirrored code, from hardware files, options databases and Jet
// libraries), the group rule, the article groups in the group selector, the
// status texts and the order "required, then history", batches and
// revisits; with scripted readers, and once with the program's readers on
// product tables (Jet stand-in and SQLite), a Jet library and a hardware
// file written here.

#include "selection/stapselectartikelen.h"

#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "selectiestaptest.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// An article as a reader lists it.
std::shared_ptr<clsItem> artikel(const QString& code, qint32 groep = 0, const QString& groepTekst = {},
                                 const QString& gespiegeld = {})
{
    auto result = item(code);
    result->Groep = groep;
    result->GroepOmschrijving = groepTekst;
    result->CodeGespiegeld = gespiegeld;
    return result;
}

std::shared_ptr<clsItem> groep(qint32 id, const QString& code, const QString& omschrijving, bool gekozen = true)
{
    auto result = item(code, gekozen);
    result->ID = id;
    result->Description = omschrijving;
    return result;
}

// Answers from a script and remembers every question.
class ScriptLezers final : public ArtikelLezers
{
public:
    bool PtArtikelGroepen(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("PtArtikelGroepen ") + pad + QLatin1Char(' ') + types, pad, alle);
    }
    bool PtArtikelen(const QString& pad, const QString& types, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("PtArtikelen ") + pad + QLatin1Char(' ') + types, pad, alle);
    }
    bool BestandArtikelGroepen(clsBron2& bron, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("BestandArtikelGroepen ") + bron.Path(), bron.Path(), alle);
    }
    bool BestandArtikelen(clsBron2& bron, ItemCollection& alle) override
    {
        return lijst(QStringLiteral("BestandArtikelen ") + bron.Path(), bron.Path(), alle);
    }
    bool HangSluitArtikelenVerplicht(clsBron2& bron, const ItemCollection& gekozen,
                                     VerplichtCollectie& verplicht) override
    {
        return vereist(QStringLiteral("HangSluit ") + bron.Path() + QLatin1Char(' ') + codes(gekozen).join(','),
                       bron.Path(), verplicht);
    }
    bool OptArtikelenVerplicht(const QString& pad, const ItemCollection* combinaties,
                               VerplichtCollectie& verplicht) override
    {
        return vereist(QStringLiteral("Opt ") + pad + QLatin1Char(' ') +
                           (combinaties ? codes(*combinaties).join(',') : QStringLiteral("(geen)")),
                       pad, verplicht);
    }
    bool LaagreliefArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                      VerplichtCollectie& verplicht) override
    {
        return vereist(QStringLiteral("Laagrelief ") + pad + QLatin1Char(' ') + codes(gekozen).join(','),
                       pad + QStringLiteral("#laagrelief"), verplicht);
    }
    bool NeutArtikelenVerplicht(const QString& pad, const ItemCollection& gekozen,
                                VerplichtCollectie& verplicht) override
    {
        return vereist(QStringLiteral("Neut ") + pad + QLatin1Char(' ') + codes(gekozen).join(','),
                       pad + QStringLiteral("#neut"), verplicht);
    }

    QStringList vragen;
    QHash<QString, ItemCollection> lijsten;        // per path: the items a listing reader appends (copies)
    QHash<QString, QStringList> verplichtePerBron; // per path (library: path#laagrelief, path#neut); absent: fails

private:
    bool lijst(const QString& vraag, const QString& pad, ItemCollection& alle)
    {
        vragen << vraag;
        for (const auto& voorbeeld : lijsten.value(pad))
            alle << std::make_shared<clsItem>(*voorbeeld);
        return true;
    }
    bool vereist(const QString& vraag, const QString& sleutel, VerplichtCollectie& verplicht)
    {
        vragen << vraag;
        if (!verplichtePerBron.contains(sleutel))
            return false;
        if (!verplicht)
            verplicht = std::make_shared<ItemCollection>();
        for (const QString& code : verplichtePerBron.value(sleutel))
            *verplicht << item(code);
        return true;
    }
};

const QString kPt = QStringLiteral("/bronnen/pt.mdb");

} // namespace

class TestStapSelectArtikelen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readersPerSource_data();
    void readersPerSource();
    void groupStepNextIsAlwaysEnabled();
    void requiredReadersPerSource();
    void requiredArticlesByCodeAndMirroredCode();
    void withoutRequiredCodesOnlyGroupsAndHistory();
    void groupRule_data();
    void groupRule();
    void statusTextsAndHistoryAfterTheRequiredCheck();
    void articleGroupsInTheGroupSelector();
    void nextOncePerBatch();
    void revisitingReadsAndChecksNothing();
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

void TestStapSelectArtikelen::init()
{
    m_omgeving = std::make_unique<StapOmgeving>();
    m_lezers = std::make_shared<ScriptLezers>();
}

void TestStapSelectArtikelen::cleanup()
{
    m_omgeving.reset();
}

void TestStapSelectArtikelen::readersPerSource_data()
{
    QTest::addColumn<QList<std::shared_ptr<clsBron2>>>("bronnen");
    QTest::addColumn<QStringList>("groepen");
    QTest::addColumn<int>("meldingen");
    QTest::addColumn<QStringList>("artikelen");

    auto metTypes = [](std::shared_ptr<clsBron2> b, const QString& types) {
        b->TypeSelectie = types;
        return b;
    };
    QTest::newRow("Jet product table") << QList{metTypes(bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet), "1;4")}
                                       << QStringList{"PtArtikelGroepen " + kPt + " 1;4"} << 0
                                       << QStringList{"PtArtikelen " + kPt + " 1;4"};
    // An SQLite product table: the message once per source and no groups, but its articles.
    QTest::newRow("two SQLite product tables")
        << QList{metTypes(bron("a.sqlite", BronSoort::Artikelen, Opslag::SQLite), "1"),
                 metTypes(bron("b.sqlite", BronSoort::Artikelen, Opslag::SQLite), "2")}
        << QStringList{} << 2
        << QStringList{"PtArtikelen /bronnen/a.sqlite 1", "PtArtikelen /bronnen/b.sqlite 2"};
    QTest::newRow("supplier file") << QList{bron("prijzen.csv", BronSoort::Artikelen, Opslag::Bestand)}
                                   << QStringList{"BestandArtikelGroepen /bronnen/prijzen.csv"} << 0
                                   << QStringList{"BestandArtikelen /bronnen/prijzen.csv"};
    QTest::newRow("other kinds") << QList{bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet),
                                          bron("bib.csv", BronSoort::Bibliotheek, Opslag::Bestand)}
                                 << QStringList{} << 0 << QStringList{};
}

void TestStapSelectArtikelen::readersPerSource()
{
    QFETCH(QList<std::shared_ptr<clsBron2>>, bronnen);
    QFETCH(int, meldingen);
    globals().gBronnenGeselecteerd = bronnen;
    StapSelectArtikelGroepen groepen;
    Historie historieGroepen(groepen.sjabloon());
    betreed(groepen);
    QTEST(m_lezers->vragen, "groepen");
    QCOMPARE(m_omgeving->ui.messages.size(), meldingen);
    for (const auto& melding : m_omgeving->ui.messages) {
        QCOMPARE(melding.text, QStringLiteral("OPTIONAL: SQLITE: ARTIKELGROEPEN: SOURCE=SQLITE: UNSUPPORTED"));
        QCOMPARE(melding.title, QString::fromUtf8(kProgramTitle));
    }
    QCOMPARE(historieGroepen.markeringen.value(0).first, 1);

    m_lezers->vragen.clear();
    StapSelectArtikelen artikelen;
    Historie historieArtikelen(artikelen.sjabloon());
    betreed(artikelen);
    QStringList gelezen;
    for (const QString& vraag : m_lezers->vragen) {
        if (vraag.startsWith(QLatin1String("PtArtikelen")) || vraag.startsWith(QLatin1String("BestandArtikelen")))
            gelezen << vraag;
    }
    QTEST(gelezen, "artikelen");
    QCOMPARE(historieArtikelen.markeringen.value(0).first, 0);
}

void TestStapSelectArtikelen::groupStepNextIsAlwaysEnabled()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet)};
    StapSelectArtikelGroepen leeg;
    Historie historieLeeg(leeg.sjabloon());
    QSignalSpy verderLeeg(&leeg, &Stap::KanVerder);
    betreed(leeg);
    QCOMPARE(verderLeeg.last().at(0).toBool(), true);

    m_lezers->lijsten[kPt] = {groep(1, "G1", "Beslag", false), groep(2, "G2", "Profielen", false)};
    globals().gColArtikelGroepen.clear();
    StapSelectArtikelGroepen stap;
    Historie historie(stap.sjabloon());
    QSignalSpy verder(&stap, &Stap::KanVerder);
    QSignalSpy status(&stap, &Stap::StatusTekst);
    betreed(stap);
    QCOMPARE(verder.last().at(0).toBool(), true);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    lijst.ZetVinkje(0, true);
    lijst.ZetVinkje(0, false);
    QCOMPARE(verder.last().at(0).toBool(), true);
    QVERIFY(status.isEmpty());
    stap.Finish();
    QVERIFY(globals().gColArtikelGroepenGeselecteerd.isEmpty());
}

void TestStapSelectArtikelen::requiredReadersPerSource()
{
    const QString hang = QStringLiteral("/bronnen/hang.csv");
    globals().gBronnenGeselecteerd = {bron("hang.csv", BronSoort::TabellenCombies, Opslag::Bestand),
                                      bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet),
                                      bron("bib.mdb", BronSoort::Bibliotheek, Opslag::Jet),
                                      bron("bib.sqlite", BronSoort::Bibliotheek, Opslag::SQLite),
                                      bron("bib.csv", BronSoort::Bibliotheek, Opslag::Bestand)};
    globals().gColHSCombiesGeselecteerd = gekozen({"K1"});
    globals().gColLaagreliefGeselecteerd = gekozen({"LR1"});
    globals().gColNeutenGeselecteerd = gekozen({"N1"});

    // Without chosen tables the hardware file is asked with the chosen combinations.
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    QCOMPARE(m_lezers->vragen, (QStringList{"HangSluit " + hang + " K1", "Opt /bronnen/opt.mdb K1",
                                            "Laagrelief /bronnen/bib.mdb LR1", "Neut /bronnen/bib.mdb N1"}));

    // With chosen tables the file is asked with those; no chosen combinations: the options database is
    // asked with none (nothing is required of it).
    globals().gColArtikelen.clear();
    globals().gColHSTabellenGeselecteerd = gekozen({"T1"});
    globals().gColHSCombiesGeselecteerd.clear();
    m_lezers->vragen.clear();
    StapSelectArtikelen tweede;
    Historie historie2(tweede.sjabloon());
    betreed(tweede);
    QCOMPARE(m_lezers->vragen.mid(0, 2), (QStringList{"HangSluit " + hang + " T1", "Opt /bronnen/opt.mdb (geen)"}));
}

void TestStapSelectArtikelen::requiredArticlesByCodeAndMirroredCode()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet),
                                      bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet),
                                      bron("bib.mdb", BronSoort::Bibliotheek, Opslag::Jet)};
    auto vooraf = artikel("A3");
    vooraf->Selected = true; // a reader's own flag
    m_lezers->lijsten[kPt] = {artikel("A1"), artikel("A2", 0, {}, "a1-links"), vooraf, artikel("A4", 0, {}, "")};
    m_lezers->verplichtePerBron["/bronnen/opt.mdb"] = QStringList{"a1"};
    // A failing reader leaves the collection built so far.
    m_lezers->verplichtePerBron["/bronnen/bib.mdb#neut"] = QStringList{"A1-LINKS"};
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    const ItemCollection& alle = globals().gColArtikelen;
    QCOMPARE(codes(alle), (QStringList{"A1", "A2", "A3", "A4"}));
    // Codes compare without regard to case; the mirrored code counts as the article's own.
    QVERIFY(alle.at(0)->Required && alle.at(0)->Selected);
    QVERIFY(alle.at(1)->Required && alle.at(1)->Selected);
    // Required codes exist: every other article is neither required nor ticked, whatever the reader set.
    QVERIFY(!alle.at(2)->Required && !alle.at(2)->Selected);
    QVERIFY(!alle.at(3)->Required && !alle.at(3)->Selected);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    QVERIFY(lijst.Rij(rijVan(stap.sjabloon(), "A2")).Verplicht);
}

void TestStapSelectArtikelen::withoutRequiredCodesOnlyGroupsAndHistory()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet),
                                      bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet)};
    auto vooraf = artikel("A1");
    vooraf->Selected = true;
    m_lezers->lijsten[kPt] = {vooraf, artikel("A2", 3, "Beslag"), artikel("A3")};
    // The options reader answers with no codes: the required rule changes nothing.
    m_lezers->verplichtePerBron["/bronnen/opt.mdb"] = QStringList{};
    globals().gColArtikelGroepenGeselecteerd = {groep(9, "G9", "Beslag")};
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    historie.bijMarkering = [](qint32, const ItemCollection& items) { items.at(2)->Selected = true; };
    betreed(stap);
    const ItemCollection& alle = globals().gColArtikelen;
    QVERIFY(alle.at(0)->Selected && !alle.at(0)->Required);
    QVERIFY(alle.at(1)->Selected && !alle.at(1)->Required);
    QVERIFY(alle.at(2)->Selected);
}

void TestStapSelectArtikelen::groupRule_data()
{
    QTest::addColumn<qint32>("artikelGroep");
    QTest::addColumn<QString>("artikelTekst");
    QTest::addColumn<qint32>("groepId");
    QTest::addColumn<QString>("groepTekst");
    QTest::addColumn<bool>("gekozen");

    QTest::newRow("same text") << 0 << "Beslag" << 7 << "Beslag" << true;
    QTest::newRow("same ID, other text") << 7 << "Iets anders" << 7 << "Beslag" << true;
    // An article without group (0) matches only by its text, also a group whose ID is 0.
    QTest::newRow("Groep 0, group ID 0, other text") << 0 << "Iets anders" << 0 << "Beslag" << false;
    QTest::newRow("Groep 0, group ID 0, same text") << 0 << "Beslag" << 0 << "Beslag" << true;
    QTest::newRow("text in another case") << 0 << "beslag" << 7 << "Beslag" << false;
    QTest::newRow("other ID, other text") << 8 << "Iets anders" << 7 << "Beslag" << false;
}

void TestStapSelectArtikelen::groupRule()
{
    QFETCH(qint32, artikelGroep);
    QFETCH(QString, artikelTekst);
    QFETCH(qint32, groepId);
    QFETCH(QString, groepTekst);
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet)};
    m_lezers->lijsten[kPt] = {artikel("A1", artikelGroep, artikelTekst)};
    globals().gColArtikelGroepenGeselecteerd = {groep(groepId, "G", groepTekst)};
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    QTEST(globals().gColArtikelen.at(0)->Selected, "gekozen");
    QVERIFY(!globals().gColArtikelen.at(0)->Required);
}

void TestStapSelectArtikelen::statusTextsAndHistoryAfterTheRequiredCheck()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet),
                                      bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet)};
    m_lezers->lijsten[kPt] = {artikel("A1"), artikel("A2")};
    m_lezers->verplichtePerBron["/bronnen/opt.mdb"] = QStringList{"A1"};
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    bool verplichtAlGezet = false;
    historie.bijMarkering = [&](qint32, const ItemCollection& items) {
        verplichtAlGezet = items.at(0)->Required;
        // The history's flags are applied last: it unticks what it recorded as unticked.
        items.at(0)->Selected = false;
    };
    QSignalSpy status(&stap, &Stap::StatusTekst);
    betreed(stap);
    QCOMPARE(teksten(status),
             (QStringList{"Inlezen bestand pt.mdb", "", "Inlezen bestand opt.mdb", "", "Controle verplichte artikelen",
                          "", "Controle historische gegevens", ""}));
    QVERIFY(verplichtAlGezet);
    QCOMPARE(historie.markeringen.size(), 1);
    QVERIFY(!globals().gColArtikelen.at(0)->Selected);
    // A required row stays ticked in the list.
    QVERIFY(stap.sjabloon().lijst().lijst().Rij(rijVan(stap.sjabloon(), "A1")).Aangevinkt);
}

void TestStapSelectArtikelen::articleGroupsInTheGroupSelector()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet)};
    m_lezers->lijsten[kPt] = {artikel("A1", 5), artikel("A2", 0, "Profielen"), artikel("A3", 6)};
    // Every article group of the group step, in its order, ticked or not.
    globals().gColArtikelGroepen = {groep(5, " G5 ", " Beslag ", false), groep(6, "G6", "Profielen", true)};
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    GroepenLijst& lijst = stap.sjabloon().lijst();
    QCOMPARE(lijst.Groepen().size(), 9);
    QCOMPARE(lijst.Groepen().at(7).Omschrijving, QStringLiteral("Beslag"));
    QCOMPARE(lijst.Groepen().at(7).Nummer, 5);
    QCOMPARE(lijst.Groepen().at(8).Omschrijving, QStringLiteral("Profielen"));
    lijst.KiesGroep(7);
    QCOMPARE(rijCodes(stap.sjabloon()), QStringList{"A1"});
    lijst.KiesGroep(8);
    QCOMPARE(rijCodes(stap.sjabloon()), (QStringList{"A2", "A3"}));
}

void TestStapSelectArtikelen::nextOncePerBatch()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet)};
    for (int i = 0; i < 20; ++i)
        m_lezers->lijsten[kPt] << artikel(QStringLiteral("A%1").arg(i));
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    QSignalSpy verder(&stap, &Stap::KanVerder);
    betreed(stap);
    QCOMPARE(verder.last().at(0).toBool(), false);
    verder.clear();
    stap.sjabloon().lijst().lijst().AllesSelecteren();
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.at(0).at(0).toBool(), true);
    verder.clear();
    stap.sjabloon().lijst().lijst().SelectieOmdraaien();
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.at(0).at(0).toBool(), false);
}

void TestStapSelectArtikelen::revisitingReadsAndChecksNothing()
{
    globals().gBronnenGeselecteerd = {bron("pt.mdb", BronSoort::Artikelen, Opslag::Jet),
                                      bron("opt.mdb", BronSoort::TabellenCombies, Opslag::Jet)};
    m_lezers->lijsten[kPt] = {artikel("A1"), artikel("A2")};
    m_lezers->verplichtePerBron["/bronnen/opt.mdb"] = QStringList{"A1"};
    globals().gColHSCombiesGeselecteerd = gekozen({"K1"});
    StapSelectArtikelen stap;
    Historie historie(stap.sjabloon());
    betreed(stap);
    stap.sjabloon().lijst().lijst().ZetVinkje(rijVan(stap.sjabloon(), "A2"), true);
    stap.Finish();
    QCOMPARE(codes(globals().gColArtikelenGeselecteerd), (QStringList{"A1", "A2"}));

    m_lezers->vragen.clear();
    // Another combination chosen in the meantime does not reach the kept list.
    globals().gColHSCombiesGeselecteerd = gekozen({"K2"});
    QSignalSpy status(&stap, &Stap::StatusTekst);
    stap.Init();
    QVERIFY(m_lezers->vragen.isEmpty());
    QVERIFY(status.isEmpty());
    QCOMPARE(historie.markeringen.size(), 1);
    QVERIFY(stap.sjabloon().lijst().lijst().Rij(rijVan(stap.sjabloon(), "A2")).Aangevinkt);
}

void TestStapSelectArtikelen::programReaders()
{
    // The same product table as a Jet file (stand-in) and as an SQLite file: two groups, articles of
    // types 1 and 2, one mirrored by code.
    const auto vulPt = [](fixtures::FixtureDb& db) {
        const qint64 g1 = db.insert("ArtGroup", {{"Code", "G1"}, {"Description", "Beslag"}});
        const qint64 g2 = db.insert("ArtGroup", {{"Code", "G2"}, {"Description", "Profielen"}});
        db.insert("Article", {{"Code", "A1"}, {"Description", "Scharnier"}, {"fkType", 1}, {"fkGroup", g1}});
        db.insert("Article", {{"Code", "A2"}, {"Description", "Profiel links"}, {"fkType", 1}, {"fkGroup", g2},
                              {"fkMirroredArticle", "ART-1"}});
        db.insert("Article", {{"Code", "ART-1"}, {"Description", "Profiel rechts"}, {"fkType", 1}, {"fkGroup", g2}});
        db.insert("Article", {{"Code", "LRA"}, {"Description", "Dorpel"}, {"fkType", 1}, {"fkGroup", g2}});
        db.insert("Article", {{"Code", "A4"}, {"Description", "Ander type"}, {"fkType", 2}, {"fkGroup", g2}});
    };
    const QString ptJet = m_omgeving->env.path(QStringLiteral("pt.db"));
    QVERIFY(fixtures::makeJetDatabase(ptJet, fixtures::Kind::ProductTable, {3, 40}));
    {
        fixtures::FixtureDb db(ptJet);
        vulPt(db);
    }
    const QString ptSQLite = m_omgeving->env.path(QStringLiteral("pt.sqlite"));
    QVERIFY(fixtures::makeDatabase(ptSQLite, fixtures::Kind::ProductTable, {3, 40}));
    {
        fixtures::FixtureDb db(ptSQLite);
        vulPt(db);
    }
    // A Jet library whose sill combination LR1 uses the article LRA.
    const QString bibDb = m_omgeving->env.path(QStringLiteral("bib.db"));
    QVERIFY(fixtures::makeJetDatabase(bibDb, fixtures::Kind::Library, {3, 40}));
    {
        fixtures::FixtureDb db(bibDb);
        db.insert("TreshHoldCombi", {{"Code", "LR1"}, {"Description", "Laagreliëf"}, {"ArtCode", "LRA"}});
    }
    fixtures::JetStandIns jet;
    const QString pt = jet.add(ptJet);
    const QString bib = jet.add(bibDb);
    // A supplier's hardware file whose combination K1 uses ART-1.
    const QString csv = m_omgeving->env.path(QStringLiteral("hang.csv"));
    {
        QFile bestand(csv);
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.write("Code;Omschrijving;Artikel\r\nK1;Draaikiep;ART-1\r\nK2;Stolp;A9\r\n");
    }
    auto ptBron = database("pt.mdb", BronSoort::Artikelen, Opslag::Jet, 40, pt);
    ptBron->TypeSelectie = QStringLiteral("1");
    auto sqliteBron = database("pt.sqlite", BronSoort::Artikelen, Opslag::SQLite, 40, ptSQLite);
    sqliteBron->TypeSelectie = QStringLiteral("1");
    auto zonderTypes = database("leeg.mdb", BronSoort::Artikelen, Opslag::Jet, 40, pt);
    auto hangBron = bron("hang.csv", BronSoort::TabellenCombies, Opslag::Bestand, csv);
    hangBron->Scheidingsteken = QStringLiteral(";");
    hangBron->KolomSoorten = {1, 2, 101};
    globals().gBronnenGeselecteerd = {ptBron, sqliteBron, zonderTypes, hangBron,
                                      database("bib.mdb", BronSoort::Bibliotheek, Opslag::Jet, 40, bib)};
    globals().gColHSCombiesGeselecteerd = gekozen({"K1"});
    globals().gColLaagreliefGeselecteerd = gekozen({"LR1"});

    // Step 10: the Jet table's groups; the SQLite table says it gives none; no types, no groups.
    StapSelectArtikelGroepen groepen;
    Historie h1(groepen.sjabloon());
    groepen.Init();
    QCOMPARE(codes(globals().gColArtikelGroepen), (QStringList{"G1", "G2"}));
    QCOMPARE(m_omgeving->ui.messages.size(), 1);
    groepen.sjabloon().lijst().lijst().ZetVinkje(rijVan(groepen.sjabloon(), "G1"), true);
    groepen.Finish();

    // Step 11: the articles of type 1 of both tables (one row per code); required by the hardware file
    // (ART-1, and A2 whose mirrored article it is) and by the library (LRA); A1 by its chosen group.
    StapSelectArtikelen artikelen;
    Historie h2(artikelen.sjabloon());
    QSignalSpy verder(&artikelen, &Stap::KanVerder);
    artikelen.Init();
    QCOMPARE(rijCodes(artikelen.sjabloon()), (QStringList{"A1", "A2", "ART-1", "LRA"}));
    QCOMPARE(globals().gColArtikelen.size(), 8);
    QStringList verplicht;
    QStringList aangevinkt;
    for (const auto& a : std::as_const(globals().gColArtikelen)) {
        if (a->Required)
            verplicht << a->Code;
        if (a->Selected)
            aangevinkt << a->Code;
    }
    // The readers list by description: Dorpel, Profiel links, Profiel rechts, Scharnier.
    QCOMPARE(verplicht, (QStringList{"LRA", "A2", "ART-1", "LRA", "A2", "ART-1"}));
    QCOMPARE(aangevinkt, (QStringList{"LRA", "A2", "ART-1", "A1", "LRA", "A2", "ART-1", "A1"}));
    QCOMPARE(verder.last().at(0).toBool(), true);
    // The groups of step 10 in the group selector.
    QCOMPARE(artikelen.sjabloon().lijst().Groepen().size(), 9);
    QVERIFY2(m_omgeving->ui.errors.isEmpty(), m_omgeving->ui.errors.isEmpty() ? "" : qPrintable(m_omgeving->ui.errors.first().details));
}

QTEST_MAIN(TestStapSelectArtikelen)
#include "test_stapselectartikelen.moc"
