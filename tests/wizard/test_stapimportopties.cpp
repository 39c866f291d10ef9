// Step 4, the import options, without a window: which boxes the chosen
// sources enable and tick, the article mode (remembered per supplier, also a
// stored "2" with price-only sources), Next with nothing ticked, the library
// flags from the library sources' type choices and in library mode, and what
// going back and forth keeps.

#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapimportopties.h"

#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

using S = StapImportOpties;

// A chosen source by a short name, as the predicates see it.
std::shared_ptr<clsBron2> bron(const QString& naam)
{
    auto b = std::make_shared<clsBron2>();
    b->AppType = QStringLiteral("VELMORA");
    b->VerMajor = 3;
    b->VerMinor = 40;
    if (naam == QLatin1String("artikelen")) { // a supplier's article file
        b->Soort = BronSoort::Artikelen;
        b->IsCSV = true;
    } else if (naam == QLatin1String("prijzen")) { // a Deceuninck price workbook
        b->Soort = BronSoort::Artikelen;
        b->IsExcel = true;
        b->KolomKoppen = QStringLiteral("|Kleur|Artikel|EAN code|Prijs");
    } else if (naam == QLatin1String("opties")) { // an options database
        b->Soort = BronSoort::TabellenCombies;
        b->IsSQLite = true;
        b->DBType = QStringLiteral("OPTIONS");
    } else if (naam == QLatin1String("combies") || naam == QLatin1String("keuzes")) { // a hardware file
        b->Soort = BronSoort::TabellenCombies;
        b->IsCSV = true;
        b->CombiType = naam == QLatin1String("combies") ? 0 : 1;
    } else if (naam == QLatin1String("bibliotheek")) { // an SQLite library of 3.50
        b->Soort = BronSoort::Bibliotheek;
        b->IsSQLite = true;
        b->DBType = QStringLiteral("LIBRARY");
        b->VerMinor = 50;
        b->TypeSelectie = QStringLiteral("1;2;3;4;5;6;7");
    } else if (naam == QLatin1String("bibliotheekjet")) { // a Jet library of 3.50
        b->Soort = BronSoort::Bibliotheek;
        b->IsJetDatabase = true;
        b->DBType = QStringLiteral("LIBRARY");
        b->VerMinor = 50;
        b->TypeSelectie = QStringLiteral("1;2;3;4;5");
    } else if (naam == QLatin1String("wkv")) {
        b->Soort = BronSoort::WKV;
        b->IsSQLite = true;
        b->DBType = QStringLiteral("SHAPES");
    }
    return b;
}

void kiesBronnen(const QStringList& namen)
{
    globals().gBronnenGeselecteerd.clear();
    for (const QString& naam : namen)
        globals().gBronnenGeselecteerd << bron(naam);
}

// The eight boxes or three buttons as a row of "1" and "0".
QString vakken(const StapImportOpties& stap, bool ingeschakeld)
{
    QString uit;
    for (int v = 0; v < S::AantalVakken; ++v) {
        const S::Bediening& b = stap.vak(S::Vak(v));
        uit += (ingeschakeld ? b.aan : b.gekozen) ? u'1' : u'0';
    }
    return uit;
}
QString opties(const StapImportOpties& stap, bool ingeschakeld)
{
    QString uit;
    for (int o = 0; o < S::AantalOpties; ++o) {
        const S::Bediening& b = stap.optie(S::Optie(o));
        uit += (ingeschakeld ? b.aan : b.gekozen) ? u'1' : u'0';
    }
    return uit;
}

bool laatsteKanVerder(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

} // namespace

class StapImportOptiesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        ProgramState& g = globals();
        g.gBronnenGeselecteerd.clear();
        g.gImportOpties.reset();
        g.gBibliotheekModus = false;
        g.gLeverancier = std::make_shared<clsLeverancier>();
        g.gLeverancier->Code = QStringLiteral("LEV1");
    }
    void cleanup()
    {
        globals().gLeverancier.reset();
        m_env.reset();
    }

    void standaarden_data();
    void standaarden();
    void alleenPrijzen();
    void bewaardeModusTweeBijPrijzen();
    void modusPerLeverancier();
    void nietsAangevinkt();
    void bibliotheekTypen();
    void bibliotheekModus();
    void terugEnVerder();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void StapImportOptiesTest::standaarden_data()
{
    QTest::addColumn<QStringList>("bronnen");
    QTest::addColumn<bool>("bibliotheekModus");
    QTest::addColumn<QString>("ingeschakeld"); // the eight boxes: enabled
    QTest::addColumn<QString>("aangevinkt");   // ... and ticked
    QTest::addColumn<QString>("knoppenAan");   // the three option buttons: enabled
    QTest::addColumn<QString>("knopGekozen");  // ... and on
    QTest::addColumn<bool>("verder");

    QTest::newRow("geen bron") << QStringList() << false << "00000000" << "00000000" << "000" << "100" << false;
    QTest::newRow("artikelen") << QStringList{"artikelen"} << false << "10000000" << "10000000" << "111" << "001"
                               << true;
    QTest::newRow("prijzen") << QStringList{"prijzen"} << false << "10000000" << "10000000" << "100" << "100" << true;
    QTest::newRow("prijzen en artikelen") << QStringList{"prijzen", "artikelen"} << false << "10000000" << "10000000"
                                          << "111" << "001" << true;
    QTest::newRow("optiesdatabase") << QStringList{"opties"} << false << "01100000" << "01100000" << "000" << "100"
                                    << true;
    QTest::newRow("combinatiebestand") << QStringList{"combies"} << false << "01000000" << "01000000" << "000"
                                       << "100" << true;
    QTest::newRow("keuzebestand") << QStringList{"keuzes"} << false << "00100000" << "00100000" << "000" << "100"
                                  << true;
    QTest::newRow("keuzebestand bibliotheekmodus")
        << QStringList{"keuzes"} << true << "00000001" << "00000001" << "000" << "100" << true;
    QTest::newRow("bibliotheek sqlite") << QStringList{"bibliotheek"} << false << "00001111" << "00001111" << "000"
                                        << "100" << true;
    QTest::newRow("bibliotheek jet") << QStringList{"bibliotheekjet"} << false << "00001100" << "00001100" << "000"
                                     << "100" << true;
    QTest::newRow("werkvoorbereiding") << QStringList{"wkv"} << false << "00010000" << "00010000" << "000" << "100"
                                       << true;
    QTest::newRow("alles") << QStringList{"artikelen", "opties", "wkv", "bibliotheek"} << false << "11111111"
                           << "11111111" << "111" << "001" << true;
    // A source that is not chosen offers nothing.
    QTest::newRow("niet gekozen") << QStringList{"-artikelen"} << false << "00000000" << "00000000" << "000"
                                  << "100" << false;
}

void StapImportOptiesTest::standaarden()
{
    QFETCH(QStringList, bronnen);
    QFETCH(bool, bibliotheekModus);
    for (const QString& naam : bronnen) {
        auto b = bron(naam.startsWith(u'-') ? naam.mid(1) : naam);
        b->Geselecteerd = !naam.startsWith(u'-');
        globals().gBronnenGeselecteerd << b;
    }
    globals().gBibliotheekModus = bibliotheekModus;

    StapImportOpties stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QTEST(vakken(stap, true), "ingeschakeld");
    QTEST(vakken(stap, false), "aangevinkt");
    QTEST(opties(stap, true), "knoppenAan");
    QTEST(opties(stap, false), "knopGekozen");
    QTEST(laatsteKanVerder(kanVerder), "verder");
}

void StapImportOptiesTest::alleenPrijzen()
{
    kiesBronnen({"prijzen"});
    for (const QString& modus : {QStringLiteral("1"), QStringLiteral("3")}) {
        CurrentUser_BrengWeg(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"), modus);
        globals().gImportOpties.reset();
        StapImportOpties stap;
        stap.Init();
        QCOMPARE(opties(stap, true), QStringLiteral("100"));
        QCOMPARE(opties(stap, false), QStringLiteral("100"));
        // A disabled button cannot be switched on.
        stap.ZetOptie(S::ArtBeide);
        QCOMPARE(opties(stap, false), QStringLiteral("100"));
        stap.Finish();
        const auto& o = *globals().gImportOpties;
        QVERIFY(o.ImporterenArtikelen);
        QVERIFY(o.DoorvoerenPrijsWijzigingen);
        QVERIFY(!o.NieuweArtikelenToevoegen);
        QCOMPARE(CurrentUser_HaalOp(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"), {}),
                 QStringLiteral("1"));
    }
}

void StapImportOptiesTest::bewaardeModusTweeBijPrijzen()
{
    // The remembered "2" switches its button on although price-only sources keep it disabled.
    kiesBronnen({"prijzen"});
    CurrentUser_BrengWeg(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"),
                         QStringLiteral("2"));
    StapImportOpties stap;
    stap.Init();
    QCOMPARE(opties(stap, true), QStringLiteral("100"));
    QCOMPARE(opties(stap, false), QStringLiteral("010"));
    stap.Finish();
    const auto& o = *globals().gImportOpties;
    QVERIFY(o.NieuweArtikelenToevoegen);
    QVERIFY(!o.DoorvoerenPrijsWijzigingen);
    QCOMPARE(CurrentUser_HaalOp(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"), {}),
             QStringLiteral("2"));
}

void StapImportOptiesTest::modusPerLeverancier()
{
    kiesBronnen({"artikelen"});
    StapImportOpties stap;
    stap.Init();
    QCOMPARE(opties(stap, false), QStringLiteral("001")); // the default "3"
    stap.ZetOptie(S::AlleenNieuweArtikelen);
    stap.Finish();
    QCOMPARE(CurrentUser_HaalOp(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"), {}),
             QStringLiteral("2"));
    QVERIFY(globals().gImportOpties->NieuweArtikelenToevoegen);
    QVERIFY(!globals().gImportOpties->DoorvoerenPrijsWijzigingen);

    // Another supplier has its own mode; the first one's comes back.
    globals().gImportOpties.reset();
    globals().gLeverancier->Code = QStringLiteral("LEV2");
    stap.Init();
    QCOMPARE(opties(stap, false), QStringLiteral("001"));
    globals().gImportOpties.reset();
    globals().gLeverancier->Code = QStringLiteral("LEV1");
    stap.Init();
    QCOMPARE(opties(stap, false), QStringLiteral("010"));

    // A value that is no mode switches nothing on.
    CurrentUser_BrengWeg(S::OptiesSectie(QStringLiteral("LEV1")), QStringLiteral("artikelopties"),
                         QStringLiteral("9"));
    globals().gImportOpties.reset();
    stap.Init();
    QCOMPARE(opties(stap, false), QStringLiteral("000"));
}

void StapImportOptiesTest::nietsAangevinkt()
{
    kiesBronnen({"artikelen", "wkv"});
    StapImportOpties stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QVERIFY(laatsteKanVerder(kanVerder));
    stap.ZetVak(S::Artikelen, false);
    QVERIFY(laatsteKanVerder(kanVerder));
    QCOMPARE(opties(stap, true), QStringLiteral("000")); // the article mode goes with the article box
    stap.ZetVak(S::Shapes, false);
    QVERIFY(!laatsteKanVerder(kanVerder));
    // A box that is not offered cannot be ticked.
    stap.ZetVak(S::LibPane, true);
    QVERIFY(!stap.vak(S::LibPane).gekozen);
    QVERIFY(!laatsteKanVerder(kanVerder));
    stap.ZetVak(S::Shapes, true);
    QVERIFY(laatsteKanVerder(kanVerder));
    stap.ZetVak(S::Artikelen, true);
    QCOMPARE(opties(stap, true), QStringLiteral("111"));
}

void StapImportOptiesTest::bibliotheekTypen()
{
    kiesBronnen({"bibliotheek"});
    globals().gBronnenGeselecteerd.first()->TypeSelectie = QStringLiteral("1;4");
    // A library source that is not chosen adds nothing.
    auto overig = bron(QStringLiteral("bibliotheek"));
    overig->Geselecteerd = false;
    globals().gBronnenGeselecteerd << overig;

    StapImportOpties stap;
    stap.Init();
    stap.Finish();
    const auto& o = *globals().gImportOpties;
    QVERIFY(o.ImporterenVaksponningen);
    QVERIFY(o.ImporterenLaagrelief);
    QVERIFY(!o.ImporterenRandsponningen);
    QVERIFY(!o.ImporterenElementsponningen);
    QVERIFY(!o.ImporterenNeuten);
    QVERIFY(!o.ImporterenLIBHSCombies);
    QVERIFY(!o.ImporterenLIBHSKeuzes);
    QVERIFY(o.ImporterenLIB());
    QVERIFY(!o.ImporterenOpt());
    QVERIFY(!o.ImporterenArtikelen);
    QVERIFY(!o.DoorvoerenShapeWijzigingen);

    // Unticked boxes import nothing of their kinds.
    stap.ZetVak(S::LibPane, false);
    stap.Finish();
    QVERIFY(!globals().gImportOpties->ImporterenVaksponningen);
    QVERIFY(globals().gImportOpties->ImporterenLaagrelief);
}

void StapImportOptiesTest::bibliotheekModus()
{
    // In library mode the hardware of a supplier's file goes into the library: the library hardware
    // boxes set their flags without looking at any type choice.
    kiesBronnen({"combies", "keuzes"});
    globals().gBibliotheekModus = true;
    StapImportOpties stap;
    stap.Init();
    QCOMPARE(vakken(stap, false), QStringLiteral("00000011"));
    stap.Finish();
    const auto& o = *globals().gImportOpties;
    QVERIFY(o.ImporterenLIBHSCombies);
    QVERIFY(o.ImporterenLIBHSKeuzes);
    QVERIFY(!o.ImporterenTabellen);
    QVERIFY(!o.ImporterenHSKeuzes);

    // Out of library mode the same boxes follow the library sources' type choices.
    kiesBronnen({"bibliotheek"});
    globals().gBronnenGeselecteerd.first()->TypeSelectie = QStringLiteral("1;7");
    globals().gBibliotheekModus = false;
    globals().gImportOpties.reset();
    stap.Init();
    stap.Finish();
    QVERIFY(!globals().gImportOpties->ImporterenLIBHSCombies);
    QVERIFY(globals().gImportOpties->ImporterenLIBHSKeuzes);
}

void StapImportOptiesTest::terugEnVerder()
{
    kiesBronnen({"artikelen", "wkv", "bibliotheek"});
    StapImportOpties stap;
    stap.Init();
    stap.ZetVak(S::Shapes, false);
    stap.ZetOptie(S::AlleenPrijzen);
    stap.Finish();
    QVERIFY(!globals().gImportOpties->ImporterenShapes);

    // Back from a later step: the options object is kept, so are the user's ticks.
    stap.Init();
    QVERIFY(!stap.vak(S::Shapes).gekozen);
    QCOMPARE(opties(stap, false), QStringLiteral("100"));

    // Back from this step empties the options: the next entry starts from the sources again.
    globals().gImportOpties.reset();
    stap.Init();
    QVERIFY(stap.vak(S::Shapes).gekozen);

    // The groove-figure box of an earlier pass does not survive sources without work preparation.
    stap.Finish();
    QVERIFY(globals().gImportOpties->ImporterenShapes);
    kiesBronnen({"artikelen"});
    globals().gImportOpties.reset();
    stap.Init();
    QVERIFY(!stap.vak(S::Shapes).aan);
    QVERIFY(!stap.vak(S::Shapes).gekozen);
    stap.Finish();
    QVERIFY(!globals().gImportOpties->ImporterenShapes);
}

QTEST_GUILESS_MAIN(StapImportOptiesTest)
#include "test_stapimportopties.moc"
