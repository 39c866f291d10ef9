// The step sequence without a window, over fake steps and scripted
// predicates: the skip rule forward and backward, the order in which the
// conditions ask the predicates, what going back empties, the generic step's
// arguments and pair, the supplier line and article-code prefix, the pairs
// emptied after a changed source, target or option, the transfer step, and
// closing.

#include "database/doelbestand.h"
#include "platform/runcontext.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapbesturing.h"
#include "wizard/stapnabootsingen.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

using Verzameling = ItemCollection ProgramState::*;

// The program-wide variables a step may empty, by name.
const QList<QPair<QString, Verzameling>>& Paren()
{
    static const QList<QPair<QString, Verzameling>> lijst = {
        {QStringLiteral("Laagrelief"), &ProgramState::gColLaagrelief},
        {QStringLiteral("LaagreliefGeselecteerd"), &ProgramState::gColLaagreliefGeselecteerd},
        {QStringLiteral("Neuten"), &ProgramState::gColNeuten},
        {QStringLiteral("NeutenGeselecteerd"), &ProgramState::gColNeutenGeselecteerd},
        {QStringLiteral("HSTabellen"), &ProgramState::gColHSTabellen},
        {QStringLiteral("HSTabellenGeselecteerd"), &ProgramState::gColHSTabellenGeselecteerd},
        {QStringLiteral("HSKeuzes"), &ProgramState::gColHSKeuzes},
        {QStringLiteral("HSKeuzesGeselecteerd"), &ProgramState::gColHSKeuzesGeselecteerd},
        {QStringLiteral("HSCombies"), &ProgramState::gColHSCombies},
        {QStringLiteral("HSCombiesGeselecteerd"), &ProgramState::gColHSCombiesGeselecteerd},
        {QStringLiteral("ArtikelGroepen"), &ProgramState::gColArtikelGroepen},
        {QStringLiteral("ArtikelGroepenGeselecteerd"), &ProgramState::gColArtikelGroepenGeselecteerd},
        {QStringLiteral("Artikelen"), &ProgramState::gColArtikelen},
        {QStringLiteral("ArtikelenGeselecteerd"), &ProgramState::gColArtikelenGeselecteerd},
        {QStringLiteral("Vaksponningen"), &ProgramState::gColVaksponningen},
        {QStringLiteral("VaksponningenGeselecteerd"), &ProgramState::gColVaksponningenGeselecteerd},
        {QStringLiteral("Randsponningen"), &ProgramState::gColRandsponningen},
        {QStringLiteral("RandsponningenGeselecteerd"), &ProgramState::gColRandsponningenGeselecteerd},
        {QStringLiteral("Elementsponningen"), &ProgramState::gColElementsponningen},
        {QStringLiteral("ElementsponningenGeselecteerd"), &ProgramState::gColElementsponningenGeselecteerd},
        {QStringLiteral("Sponningfiguren"), &ProgramState::gColSponningfiguren},
        {QStringLiteral("SponningfigurenGeselecteerd"), &ProgramState::gColSponningfigurenGeselecteerd},
    };
    return lijst;
}

std::shared_ptr<clsItem> Item(const QString& code)
{
    auto item = std::make_shared<clsItem>();
    item->Code = code;
    item->Selected = true;
    return item;
}

// Every variable that going back may empty holds something.
void VulAlles()
{
    ProgramState& g = globals();
    for (const auto& [naam, paar] : Paren())
        g.*paar = {Item(naam)};
    g.gBronnen = {std::make_shared<clsBron2>()};
    g.gBronnenGeselecteerd = g.gBronnen;
    auto doel = std::make_shared<clsDoelBestand>();
    doel->setPath(QStringLiteral("/doelen/opt.db"));
    g.gDoelBestanden = {doel};
    g.gBibliotheekModus = true;
}

// The names of the variables that are empty (library mode off counts as empty).
QStringList Leeg()
{
    const ProgramState& g = globals();
    QStringList leeg;
    for (const auto& [naam, paar] : Paren()) {
        if ((g.*paar).isEmpty())
            leeg << naam;
    }
    if (g.gBronnen.isEmpty())
        leeg << QStringLiteral("Bronnen");
    if (g.gBronnenGeselecteerd.isEmpty())
        leeg << QStringLiteral("BronnenGeselecteerd");
    if (g.gDoelBestanden.isEmpty())
        leeg << QStringLiteral("Doelbestanden");
    if (!g.gBibliotheekModus)
        leeg << QStringLiteral("BibliotheekModus");
    if (!g.gImportOpties)
        leeg << QStringLiteral("ImportOpties");
    return leeg;
}

// Options with the named flags on.
std::shared_ptr<clsImportOpties> Opties(const QStringList& vlaggen)
{
    if (vlaggen == QStringList{QStringLiteral("-")})
        return nullptr;
    auto o = std::make_shared<clsImportOpties>();
    const QHash<QString, bool clsImportOpties::*> namen = {
        {QStringLiteral("Artikelen"), &clsImportOpties::ImporterenArtikelen},
        {QStringLiteral("Tabellen"), &clsImportOpties::ImporterenTabellen},
        {QStringLiteral("HSKeuzes"), &clsImportOpties::ImporterenHSKeuzes},
        {QStringLiteral("Shapes"), &clsImportOpties::ImporterenShapes},
        {QStringLiteral("Vaksponningen"), &clsImportOpties::ImporterenVaksponningen},
        {QStringLiteral("Randsponningen"), &clsImportOpties::ImporterenRandsponningen},
        {QStringLiteral("Elementsponningen"), &clsImportOpties::ImporterenElementsponningen},
        {QStringLiteral("Laagrelief"), &clsImportOpties::ImporterenLaagrelief},
        {QStringLiteral("Neuten"), &clsImportOpties::ImporterenNeuten},
        {QStringLiteral("LIBHSCombies"), &clsImportOpties::ImporterenLIBHSCombies},
        {QStringLiteral("LIBHSKeuzes"), &clsImportOpties::ImporterenLIBHSKeuzes},
    };
    for (const QString& vlag : vlaggen)
        (*o).*(namen.value(vlag)) = true;
    return o;
}

// A sequence over fake steps, entered at step 1.
struct Opstelling
{
    NepStappen nep;
    StapBesturing besturing;
    std::shared_ptr<ScriptVoorwaarden> voorwaarden = std::make_shared<ScriptVoorwaarden>();

    // What a test sets on the steps before step 1 is entered.
    explicit Opstelling(const std::function<void(NepStappen&)>& vooraf = {})
    {
        if (vooraf)
            vooraf(nep);
        nep.zetIn(besturing);
        besturing.setVoorwaarden(voorwaarden);
        besturing.Start();
    }
    // Next until the step is reached; false when the walk passes it.
    bool GaNaar(int stap)
    {
        while (besturing.HuidigeStap() < stap) {
            const int voor = besturing.HuidigeStap();
            besturing.Volgende();
            if (besturing.HuidigeStap() == voor)
                return false;
        }
        return besturing.HuidigeStap() == stap;
    }
};

} // namespace

class TestStapBesturing : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    void stappenCompleet();
    void overslaan_data();
    void overslaan();
    void volgordeVanDeVoorwaarden();
    void terugLeegt_data();
    void terugLeegt();
    void algemeneStap();
    void leverancierEnPrefix_data();
    void leverancierEnPrefix();
    void gewijzigdeKeuzeLeegtDeSelecties_data();
    void gewijzigdeKeuzeLeegtDeSelecties();
    void volgendeAlleenAlsDeStapHetToestaat();
    void gaVerderDruktOpVolgende();
    void transferStap();
    void sluiten();
    void sluitenVerwijdertDeTijdelijkeMap();
};

void TestStapBesturing::stappenCompleet()
{
    NepStappen nep;
    StapBesturing besturing;
    QCOMPARE(besturing.ControleerStappen().size(), 18);
    nep.zetIn(besturing);
    QVERIFY(besturing.ControleerStappen().isEmpty());
    besturing.ZetStap(12, &nep[1]);
    besturing.ZetStap(17, &nep[2]);
    QCOMPARE(besturing.ControleerStappen(),
             (QStringList{QStringLiteral("Stap 12 moet de algemene selectiestap zijn."),
                          QStringLiteral("Stap 17 moet de transferstap zijn.")}));
    QCOMPARE(StapBesturing::StapTitel(5), QString::fromUtf8("Selecteer Laagreliëf Dorpel Combi's"));
    QCOMPARE(StapBesturing::StapTitel(18), QStringLiteral("Resultaat"));
}

void TestStapBesturing::overslaan_data()
{
    QTest::addColumn<QStringList>("opties"); // "-": no import options at all
    QTest::addColumn<bool>("nieuwFormaat");
    QTest::addColumn<bool>("hangSluitKeuzes");
    QTest::addColumn<bool>("artikelGroepen");
    QTest::addColumn<QList<int>>("vooruit"); // the steps Next reaches from step 4
    QTest::addColumn<QList<int>>("terug");   // the steps Back reaches from step 16

    const QStringList artikelen{QStringLiteral("Artikelen")};
    QTest::newRow("articles, groups possible") << artikelen << false << false << true << QList<int>{10, 11, 16}
                                               << QList<int>{11, 10, 4};
    QTest::newRow("articles, no groups") << artikelen << false << false << false << QList<int>{11, 16}
                                         << QList<int>{11, 4};
    QTest::newRow("groove figures only") << QStringList{QStringLiteral("Shapes")} << false << false << false
                                         << QList<int>{15, 16} << QList<int>{15, 4};
    QTest::newRow("no options") << QStringList{QStringLiteral("-")} << true << true << true << QList<int>{16}
                                << QList<int>{4};
    QTest::newRow("nothing ticked") << QStringList{} << true << true << true << QList<int>{16} << QList<int>{4};
    QTest::newRow("hardware tables, older format") << QStringList{QStringLiteral("Tabellen")} << false << false
                                                   << false << QList<int>{7, 16} << QList<int>{7, 4};
    QTest::newRow("hardware tables, new format, choices possible")
        << QStringList{QStringLiteral("Tabellen")} << true << true << false << QList<int>{9, 16} << QList<int>{9, 4};
    QTest::newRow("hardware choices possible") << QStringList{QStringLiteral("HSKeuzes")} << false << true << false
                                               << QList<int>{8, 16} << QList<int>{8, 4};
    QTest::newRow("hardware choices not possible") << QStringList{QStringLiteral("HSKeuzes")} << false << false
                                                   << false << QList<int>{16} << QList<int>{4};
    QTest::newRow("library")
        << QStringList{QStringLiteral("Laagrelief"), QStringLiteral("Neuten"), QStringLiteral("Vaksponningen"),
                       QStringLiteral("Randsponningen"), QStringLiteral("Elementsponningen"),
                       QStringLiteral("LIBHSCombies"), QStringLiteral("LIBHSKeuzes")}
        << true << false << false << QList<int>{5, 6, 8, 9, 12, 13, 14, 16} << QList<int>{14, 13, 12, 9, 8, 6, 5, 4};
    QTest::newRow("everything")
        << QStringList{QStringLiteral("Artikelen"),      QStringLiteral("Tabellen"),
                       QStringLiteral("HSKeuzes"),       QStringLiteral("Shapes"),
                       QStringLiteral("Vaksponningen"),  QStringLiteral("Randsponningen"),
                       QStringLiteral("Elementsponningen"), QStringLiteral("Laagrelief"),
                       QStringLiteral("Neuten"),         QStringLiteral("LIBHSCombies"),
                       QStringLiteral("LIBHSKeuzes")}
        << false << true << true << QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}
        << QList<int>{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
}

void TestStapBesturing::overslaan()
{
    QFETCH(QStringList, opties);
    QFETCH(bool, nieuwFormaat);
    QFETCH(bool, hangSluitKeuzes);
    QFETCH(bool, artikelGroepen);
    QFETCH(QList<int>, vooruit);
    QFETCH(QList<int>, terug);
    Opstelling o;
    o.voorwaarden->nieuwFormaat = nieuwFormaat;
    o.voorwaarden->hangSluitKeuzes = hangSluitKeuzes;
    o.voorwaarden->artikelGroepen = artikelGroepen;
    QVERIFY(o.GaNaar(4));
    globals().gImportOpties = Opties(opties);

    QList<int> bereikt;
    while (o.besturing.HuidigeStap() < 16) {
        o.besturing.Volgende();
        bereikt << o.besturing.HuidigeStap();
    }
    QCOMPARE(bereikt, vooruit);
    bereikt.clear();
    while (o.besturing.HuidigeStap() > 4) {
        o.besturing.Vorige();
        bereikt << o.besturing.HuidigeStap();
    }
    QCOMPARE(bereikt, terug);
}

// Step 7 asks its predicate before the field, steps 8 and 9 test the library field first, step 10
// asks both; every time the walk reaches the step.
void TestStapBesturing::volgordeVanDeVoorwaarden()
{
    Opstelling o;
    QVERIFY(o.GaNaar(4));
    globals().gImportOpties = Opties({});
    QVERIFY(o.GaNaar(16));
    QCOMPARE(o.voorwaarden->aanroepen, (QStringList{QStringLiteral("IsDoelNieuweFormaatCombies"),
                                                     QStringLiteral("IsArtikelGroepSelectieMogelijk")}));
    o.voorwaarden->aanroepen.clear();
    o.besturing.Vorige();
    QCOMPARE(o.besturing.HuidigeStap(), 4);
    QCOMPARE(o.voorwaarden->aanroepen, (QStringList{QStringLiteral("IsArtikelGroepSelectieMogelijk"),
                                                     QStringLiteral("IsDoelNieuweFormaatCombies")}));

    o.voorwaarden->aanroepen.clear();
    globals().gImportOpties =
        Opties({QStringLiteral("LIBHSKeuzes"), QStringLiteral("LIBHSCombies"), QStringLiteral("HSKeuzes")});
    o.voorwaarden->nieuwFormaat = true;
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 8);
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 9);
    QCOMPARE(o.voorwaarden->aanroepen, QStringList{QStringLiteral("IsDoelNieuweFormaatCombies")});
}

void TestStapBesturing::terugLeegt_data()
{
    QTest::addColumn<int>("stap");
    QTest::addColumn<QStringList>("geleegd");
    QTest::newRow("2") << 2 << QStringList{QStringLiteral("Bronnen"), QStringLiteral("BronnenGeselecteerd")};
    QTest::newRow("3") << 3 << QStringList{QStringLiteral("Doelbestanden"), QStringLiteral("BibliotheekModus")};
    QTest::newRow("4") << 4 << QStringList{QStringLiteral("ImportOpties")};
    QTest::newRow("5") << 5 << QStringList{};
    QTest::newRow("6") << 6 << QStringList{};
    QTest::newRow("7") << 7 << QStringList{QStringLiteral("HSTabellen"), QStringLiteral("HSTabellenGeselecteerd")};
    QTest::newRow("8") << 8 << QStringList{QStringLiteral("HSKeuzes"), QStringLiteral("HSKeuzesGeselecteerd")};
    QTest::newRow("9") << 9 << QStringList{QStringLiteral("HSCombies"), QStringLiteral("HSCombiesGeselecteerd")};
    QTest::newRow("10") << 10
                        << QStringList{QStringLiteral("ArtikelGroepen"), QStringLiteral("ArtikelGroepenGeselecteerd")};
    QTest::newRow("11") << 11 << QStringList{QStringLiteral("Artikelen"), QStringLiteral("ArtikelenGeselecteerd")};
    QTest::newRow("12") << 12 << QStringList{};
    QTest::newRow("13") << 13 << QStringList{};
    QTest::newRow("14") << 14 << QStringList{};
    QTest::newRow("15") << 15
                        << QStringList{QStringLiteral("Sponningfiguren"), QStringLiteral("SponningfigurenGeselecteerd")};
    QTest::newRow("16") << 16 << QStringList{};
}

void TestStapBesturing::terugLeegt()
{
    QFETCH(int, stap);
    QFETCH(QStringList, geleegd);
    Opstelling o;
    o.voorwaarden->hangSluitKeuzes = true;
    o.voorwaarden->artikelGroepen = true;
    globals().gImportOpties = AlleOpties();
    QVERIFY(o.GaNaar(stap));
    VulAlles();
    o.besturing.Vorige();
    QCOMPARE(o.besturing.HuidigeStap(), stap - 1);
    QStringList leeg = Leeg();
    leeg.sort();
    geleegd.sort();
    QCOMPARE(leeg, geleegd);
}

void TestStapBesturing::algemeneStap()
{
    Opstelling o;
    QVERIFY(o.GaNaar(4));
    globals().gImportOpties = AlleOpties();
    o.voorwaarden->nieuwFormaat = true; // step 7 not shown
    o.voorwaarden->artikelGroepen = true;
    const auto oud = Item(QStringLiteral("oud"));
    globals().gColLaagrelief = {oud};
    // What the step puts in place of the pair it is given is the program's pair at once.
    o.nep.algemeen.bijInit = [](ItemCollection& alle, ItemCollection&) { alle << Item(QStringLiteral("L1")); };
    o.nep.algemeen.bijFinish = [](ItemCollection& alle, ItemCollection& geselecteerd) {
        if (!alle.isEmpty())
            geselecteerd = {alle.last()};
    };
    o.nep.log.clear();
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 5);
    QCOMPARE(globals().gColLaagrelief.size(), 2);
    QCOMPARE(o.besturing.GetoondeStap(), &o.nep.algemeen);
    o.nep.algemeen.bijInit = nullptr;
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 6);
    // Leaving 5: the window takes both collections over.
    QCOMPARE(globals().gColLaagreliefGeselecteerd.size(), 1);
    QCOMPARE(globals().gColLaagreliefGeselecteerd.first()->Code, QStringLiteral("L1"));
    QVERIFY(o.GaNaar(12));
    QCOMPARE(o.nep.log,
             (QStringList{QStringLiteral("Stap4.Finish"),
                          QStringLiteral("Algemeen.Init(8, SELECT DISTINCT ID, Code, Description FROM TreshHoldCombi, 2, "
                                         "Laagrelief)"),
                          QStringLiteral("Algemeen.Finish"),
                          QStringLiteral("Algemeen.Init(9, SELECT DISTINCT ID, Code, Description FROM TreshHoldCombiExt, "
                                         "2, Neuten)"),
                          QStringLiteral("Algemeen.Finish"), QStringLiteral("Stap8.Init"), QStringLiteral("Stap8.Finish"),
                          QStringLiteral("Stap9.Init"), QStringLiteral("Stap9.Finish"), QStringLiteral("Stap10.Init"),
                          QStringLiteral("Stap10.Finish"), QStringLiteral("Stap11.Init"), QStringLiteral("Stap11.Finish"),
                          QStringLiteral("Algemeen.Clear"),
                          QStringLiteral("Algemeen.Init(5, SELECT DISTINCT ID, Code, Description FROM PaneGrooveTable, 2, "
                                         "Vaksponningen)")}));
    o.nep.log.clear();
    o.besturing.Volgende();
    o.besturing.Volgende();
    QCOMPARE(o.nep.log,
             (QStringList{QStringLiteral("Algemeen.Finish"), QStringLiteral("Algemeen.Clear"),
                          QStringLiteral("Algemeen.Init(6, SELECT DISTINCT ID, Code, Description FROM EdgeGroove, 2, "
                                         "Randsponningen)"),
                          QStringLiteral("Algemeen.Finish"), QStringLiteral("Algemeen.Clear"),
                          QStringLiteral("Algemeen.Init(7, SELECT DISTINCT ID, Code, Description FROM OuterGrooveTable, 2, "
                                         "Elementsponningen)")}));
    // Back from a generic step empties nothing and calls no Clear of its own.
    o.nep.log.clear();
    o.besturing.Vorige();
    QCOMPARE(o.besturing.HuidigeStap(), 13);
    QCOMPARE(o.nep.log, (QStringList{QStringLiteral("Algemeen.Clear"),
                                     QStringLiteral("Algemeen.Init(6, SELECT DISTINCT ID, Code, Description FROM "
                                                    "EdgeGroove, 2, Randsponningen)")}));
    QCOMPARE(globals().gColLaagrelief.size(), 2);
}

void TestStapBesturing::leverancierEnPrefix_data()
{
    QTest::addColumn<QString>("naam");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("ROTO") << QStringLiteral("ROTO") << QStringLiteral("ROTO_");
    QTest::newRow("roto") << QStringLiteral("roto") << QString();
    QTest::newRow("ROTO with a blank") << QStringLiteral("ROTO ") << QString();
    QTest::newRow("another") << QStringLiteral("Voorbeeld") << QString();
}

void TestStapBesturing::leverancierEnPrefix()
{
    QFETCH(QString, naam);
    QFETCH(QString, prefix);
    Opstelling o;
    QCOMPARE(o.besturing.HuidigeStap(), 1);
    QCOMPARE(o.besturing.Titel(), QStringLiteral("Selecteer de gewenste Leverancier"));
    QVERIFY(o.besturing.SubTitel().isEmpty());
    QVERIFY(o.besturing.UpdateAan());
    globals().gLeverancierPrefix = QStringLiteral("oud_");
    o.nep[1].bijFinish = [naam] {
        auto leverancier = std::make_shared<clsLeverancier>();
        leverancier->Code = QStringLiteral("LEV");
        leverancier->Omschrijving = naam;
        globals().gLeverancier = leverancier;
    };
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 2);
    QCOMPARE(globals().gLeverancierPrefix, prefix);
    QCOMPARE(o.besturing.SubTitel(), QStringLiteral("Huidige leverancier is ") + naam + QLatin1Char('.'));
    QVERIFY(!o.besturing.UpdateAan());
    o.besturing.Vorige();
    QCOMPARE(o.besturing.HuidigeStap(), 1);
    QVERIFY(o.besturing.SubTitel().isEmpty());
    QVERIFY(o.besturing.UpdateAan());
}

void TestStapBesturing::gewijzigdeKeuzeLeegtDeSelecties_data()
{
    QTest::addColumn<int>("terugNaar");
    QTest::addColumn<QString>("wijziging");
    QTest::addColumn<bool>("geleegd");
    QTest::newRow("sources unchanged") << 2 << QString() << false;
    QTest::newRow("another source") << 2 << QStringLiteral("bron") << true;
    QTest::newRow("mapping changed on the same source") << 2 << QStringLiteral("kolommen") << true;
    QTest::newRow("source unticked") << 2 << QStringLiteral("vinkje") << true;
    QTest::newRow("targets chosen again alike") << 3 << QString() << false;
    QTest::newRow("another target") << 3 << QStringLiteral("doel") << true;
    QTest::newRow("library mode") << 3 << QStringLiteral("bibliotheek") << true;
    QTest::newRow("options made anew alike") << 4 << QString() << false;
    QTest::newRow("another option") << 4 << QStringLiteral("optie") << true;
}

// The fake steps 2, 3 and 4 write their result as their steps do (step 3 and 4 anew each time, from
// the choices below); after going back and leaving forward again the pairs are kept or emptied.
void TestStapBesturing::gewijzigdeKeuzeLeegtDeSelecties()
{
    QFETCH(int, terugNaar);
    QFETCH(QString, wijziging);
    QFETCH(bool, geleegd);
    Opstelling o;
    auto bron = std::make_shared<clsBron2>();
    bron->BronPad = QStringLiteral("/bronnen/bibliotheek.db");
    bron->Soort = BronSoort::Bibliotheek;
    bron->IsSQLite = true;
    QString doelPad = QStringLiteral("/doelen/bibliotheek.db");
    bool bibliotheekModus = false;
    QStringList optieVlaggen{QStringLiteral("Laagrelief")};
    o.nep[2].bijFinish = [&bron] { globals().gBronnenGeselecteerd = {bron}; };
    o.nep[3].bijFinish = [&doelPad, &bibliotheekModus] {
        auto doel = std::make_shared<clsDoelBestand>();
        doel->Soort = 2;
        doel->setPath(doelPad);
        doel->Geselecteerd = true;
        globals().gDoelBestanden = {doel};
        globals().gBibliotheekModus = bibliotheekModus;
    };
    o.nep[4].bijFinish = [&optieVlaggen] { globals().gImportOpties = Opties(optieVlaggen); };
    QVERIFY(o.GaNaar(5));
    VulAlles();
    globals().gBibliotheekModus = bibliotheekModus;
    globals().gBronnenGeselecteerd = {bron};
    while (o.besturing.HuidigeStap() > terugNaar)
        o.besturing.Vorige();

    if (wijziging == QLatin1String("bron")) {
        bron = std::make_shared<clsBron2>();
        bron->BronPad = QStringLiteral("/bronnen/andere.db");
        bron->Soort = BronSoort::Bibliotheek;
    } else if (wijziging == QLatin1String("kolommen")) {
        bron->KolomSoorten = {1, 2};
    } else if (wijziging == QLatin1String("vinkje")) {
        bron->Geselecteerd = false;
    } else if (wijziging == QLatin1String("doel")) {
        doelPad = QStringLiteral("/doelen/andere.db");
    } else if (wijziging == QLatin1String("bibliotheek")) {
        bibliotheekModus = true;
    } else if (wijziging == QLatin1String("optie")) {
        optieVlaggen << QStringLiteral("Neuten");
    }
    QVERIFY(o.GaNaar(5));
    const QStringList leeg = Leeg();
    for (const auto& [naam, paar] : Paren())
        QCOMPARE(leeg.contains(naam), geleegd);
}

void TestStapBesturing::volgendeAlleenAlsDeStapHetToestaat()
{
    Opstelling o;
    o.nep[2].verderBijInit = false;
    QVERIFY(o.GaNaar(2));
    QVERIFY(!o.besturing.VolgendeAan());
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 2);
    // A step that is not shown says nothing about Next.
    emit o.nep[1].KanVerder(true);
    QVERIFY(!o.besturing.VolgendeAan());
    emit o.nep[2].KanVerder(true);
    QVERIFY(o.besturing.VolgendeAan());
    emit o.nep[2].KanVerder(false);
    QVERIFY(!o.besturing.VolgendeAan());
    emit o.nep[2].KanVerder(true);
    o.besturing.Volgende();
    QCOMPARE(o.besturing.HuidigeStap(), 3);
    // The status texts of the shown step reach the status line.
    emit o.nep[3].StatusTekst(QStringLiteral("Inlezen bestand a.csv"));
    QCOMPARE(o.besturing.StatusRegel(), QStringLiteral("Inlezen bestand a.csv"));
    emit o.nep[3].StatusTekst(QString());
    QVERIFY(o.besturing.StatusRegel().isEmpty());
}

void TestStapBesturing::gaVerderDruktOpVolgende()
{
    Opstelling o([](NepStappen& nep) { nep[1].verderBijInit = false; });
    o.besturing.Vorige(); // nothing before step 1
    QCOMPARE(o.besturing.HuidigeStap(), 1);
    emit o.nep[1].GaVerder(); // Next is disabled: nothing
    QCOMPARE(o.besturing.HuidigeStap(), 1);
    emit o.nep[1].KanVerder(true);
    emit o.nep[1].GaVerder();
    QCOMPARE(o.besturing.HuidigeStap(), 2);
}

void TestStapBesturing::transferStap()
{
    test::RecordingUiServices ui;
    Opstelling o;
    int tijdens = 0;
    o.nep.transfer.tijdensTransfer = [&] {
        ++tijdens;
        QCOMPARE(o.besturing.HuidigeStap(), 17);
        QCOMPARE(o.besturing.GetoondeStap(), &o.nep.transfer);
        QCOMPARE(o.besturing.Titel(), QStringLiteral("Importeren gegevens"));
        QCOMPARE(o.besturing.SubTitel(), QStringLiteral("Overzetten leveranciersgegevens naar Brevanto"));
        QVERIFY(o.besturing.TransferLoopt());
        QVERIFY(!o.besturing.VorigeAan());
        QVERIFY(!o.besturing.AfsluitenAan());
        QVERIFY(!o.besturing.Bezig());
        // A click that arrives while the transfer yields is dropped.
        emit o.nep.transfer.KanVerder(true);
        o.besturing.Volgende();
        o.besturing.Vorige();
        QCOMPARE(o.besturing.HuidigeStap(), 17);
        // Closing goes to the transfer's cancel question.
        QVERIFY(!o.besturing.MagSluiten());
        QVERIFY(!o.besturing.VraagAfsluiten());
    };
    QVERIFY(o.GaNaar(16));
    o.nep.log.clear();
    o.besturing.Volgende();
    QCOMPARE(tijdens, 1);
    QCOMPARE(o.nep.log, (QStringList{QStringLiteral("Transfer.StartTransfer"), QStringLiteral("Transfer.Annuleren"),
                                     QStringLiteral("Transfer.Annuleren"), QStringLiteral("Stap18.Init")}));
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(o.besturing.HuidigeStap(), 18);
    QCOMPARE(o.besturing.SubTitel(), QStringLiteral("Overzicht geimporteerde gegevens."));
    QVERIFY(!o.besturing.TransferLoopt());
    QVERIFY(!o.besturing.VolgendeAan());
    QVERIFY(!o.besturing.VorigeAan());
    QVERIFY(o.besturing.AfsluitenAan());
    // Step 18 is never left, and its own KanVerder enables nothing.
    emit o.nep[18].KanVerder(true);
    QVERIFY(!o.besturing.VolgendeAan());
    o.besturing.Volgende();
    o.besturing.Vorige();
    QCOMPARE(o.besturing.HuidigeStap(), 18);
}

void TestStapBesturing::sluiten()
{
    test::RecordingUiServices ui;
    Opstelling o;
    ui.messageAnswers << MsgBox::No << MsgBox::Yes;
    QVERIFY(!o.besturing.VraagAfsluiten());
    QVERIFY(o.besturing.VraagAfsluiten());
    QCOMPARE(ui.messages.size(), 2);
    QCOMPARE(ui.messages.at(0).text, QStringLiteral("Brevanto Vededuzuduzu Davudi afsluiten?"));
    QCOMPARE(ui.messages.at(0).title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
    QCOMPARE(ui.messages.at(0).style, MsgBox::YesNo | MsgBox::Question);
    // Any other way of closing asks nothing.
    QVERIFY(o.besturing.MagSluiten());
    QCOMPARE(ui.messages.size(), 2);
    // A live run refuses every way of closing, and says why.
    RunContext run;
    {
        const RunScope scope(run);
        QVERIFY(!o.besturing.MagSluiten());
        QVERIFY(!o.besturing.VraagAfsluiten());
        QCOMPARE(ui.messages.size(), 4);
        QCOMPARE(ui.messages.at(3).text,
                 QStringLiteral("Er wordt nog gewerkt. Wacht tot het overzetten klaar is of annuleer het eerst."));
    }
    // On step 18 the close button asks nothing either.
    QVERIFY(o.GaNaar(18));
    ui.clear();
    QVERIFY(o.besturing.VraagAfsluiten());
    QVERIFY(ui.messages.isEmpty());
}

void TestStapBesturing::sluitenVerwijdertDeTijdelijkeMap()
{
    test::TestEnvironment env;
    const QString map = env.path(QStringLiteral("temp"));
    QVERIFY(QDir().mkpath(map + QStringLiteral("/pakket/alleen-lezen")));
    for (const QString& naam : {QStringLiteral("/welkom.html"), QStringLiteral("/pakket/alleen-lezen/logo.jpg")}) {
        QFile bestand(map + naam);
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.write("x");
        bestand.close();
        QVERIFY(bestand.setPermissions(QFile::ReadOwner));
    }
    QVERIFY(QFile::setPermissions(map + QStringLiteral("/pakket/alleen-lezen"), QFile::ReadOwner | QFile::ExeOwner));
    globals().gWelkomMap = map;

    Opstelling o;
    QVERIFY(o.GaNaar(18));
    o.nep.log.clear();
    o.besturing.Afsluiten();
    QVERIFY(!QFileInfo::exists(map));
    // Closing leaves the result step.
    QCOMPARE(o.nep.log, QStringList{QStringLiteral("Stap18.Finish")});
    o.besturing.Afsluiten();
    QCOMPARE(o.nep.log.size(), 1);
}

QTEST_GUILESS_MAIN(TestStapBesturing)
#include "test_stapbesturing.moc"
