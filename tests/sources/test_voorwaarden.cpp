// The fourteen step and option predicates over the chosen sources, targets
// and library mode: a table of source situations against every predicate that
// reads the sources, and the format of the targets' hardware combinations
// from real options databases (SQLite, and a Jet file of the older format).

#include "database/doelbestand.h"
#include "fixtures/designdatabases.h"
#include "fixtures/profilefixtures.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "sources/voorwaarden.h"

#include <QFile>
#include <QtTest>

#include <functional>

using namespace supplink;

namespace {

// One source as the predicates see it.
struct Bron
{
    qint32 soort = BronSoort::Artikelen;
    enum Vorm { Bestand, Jet, SQLite } vorm = Bestand;
    QString dbType;
    qint32 combiType = 0;
    bool geselecteerd = true;
    bool alleenPrijzen = false;     // a Deceuninck price workbook
    bool groepSelectie = false;     // an article-group column mapped
    bool minimaal35 = false;        // version 3.50 of the design product
};
using Bronnen = QList<Bron>;

Bron Van(qint32 soort, Bron::Vorm vorm = Bron::Bestand, const QString& dbType = QString())
{
    Bron bron;
    bron.soort = soort;
    bron.vorm = vorm;
    bron.dbType = dbType;
    return bron;
}

std::shared_ptr<clsBron2> maakBron(const Bron& b)
{
    auto bron = std::make_shared<clsBron2>();
    bron->Soort = b.soort;
    bron->IsJetDatabase = b.vorm == Bron::Jet;
    bron->IsSQLite = b.vorm == Bron::SQLite;
    bron->IsCSV = b.vorm == Bron::Bestand && !b.alleenPrijzen;
    bron->DBType = b.dbType;
    bron->CombiType = b.combiType;
    bron->Geselecteerd = b.geselecteerd;
    if (b.alleenPrijzen) {
        bron->IsExcel = true;
        bron->KolomKoppen = QStringLiteral("|Kleur|Artikel|EAN code|Prijs");
    }
    if (b.groepSelectie)
        bron->KolomSoorten = {1, 2, 4};
    if (b.minimaal35) {
        bron->AppType = QStringLiteral("VELMORA");
        bron->VerMajor = 3;
        bron->VerMinor = 50;
    }
    return bron;
}

const QList<QPair<QString, std::function<bool()>>>& bronPredicaten()
{
    static const QList<QPair<QString, std::function<bool()>>> lijst = {
        {QStringLiteral("IsBronArtikelenGeselecteerd"), IsBronArtikelenGeselecteerd},
        {QStringLiteral("IsAlleenPrijsUpdate"), IsAlleenPrijsUpdate},
        {QStringLiteral("IsBronTabellenGeselecteerd"), IsBronTabellenGeselecteerd},
        {QStringLiteral("IsHSTabellenMogelijk"), IsHSTabellenMogelijk},
        {QStringLiteral("IsHSKeuzesMogelijk"), IsHSKeuzesMogelijk},
        {QStringLiteral("IsLibHSCombiesMogelijk"), IsLibHSCombiesMogelijk},
        {QStringLiteral("IsLibHSKeuzesMogelijk"), IsLibHSKeuzesMogelijk},
        {QStringLiteral("IsBronWKVGeselecteerd"), IsBronWKVGeselecteerd},
        {QStringLiteral("IsBronOptionsDatabaseGeselecteerd"), IsBronOptionsDatabaseGeselecteerd},
        {QStringLiteral("IsBronBibliotheekGeselecteerd"), IsBronBibliotheekGeselecteerd},
        {QStringLiteral("IsLibHangSluitwerkMogelijk"), IsLibHangSluitwerkMogelijk},
        {QStringLiteral("IsArtikelGroepSelectieMogelijk"), IsArtikelGroepSelectieMogelijk},
        {QStringLiteral("IsHangSluitKeuzesMogelijk"), IsHangSluitKeuzesMogelijk},
    };
    return lijst;
}

std::shared_ptr<clsDoelBestand> maakDoel(qint32 soort, const QString& pad)
{
    auto doel = std::make_shared<clsDoelBestand>();
    doel->Soort = soort;
    doel->setPath(pad);
    doel->Geselecteerd = true;
    return doel;
}

// A file the program takes for a Jet options database: the stand-in opener reads the tables of a
// fixture database of the given version in its place.
QString jetOptions(const test::TestEnvironment& env, fixtures::Version versie)
{
    const QString tabellen = env.path(QStringLiteral("jettabellen.db"));
    if (!fixtures::makeDatabase(tabellen, fixtures::Kind::Options, versie))
        return {};
    const QString pad = env.path(QStringLiteral("opties.mdb"));
    backendOpeners().jet = [tabellen, pad, echt = backendOpeners().jet](const QString& bestand,
                                                                        const QString& wachtwoord) -> DbConnection {
        if (bestand == pad)
            return fixtures::JetStandIn::open(tabellen);
        return echt(bestand, wachtwoord);
    };
    QFile bestand(pad);
    if (!bestand.open(QIODevice::WriteOnly) || bestand.write("Standard Jet DB") < 0)
        return {};
    return pad;
}

struct OpenersTerug
{
    ~OpenersTerug() { resetBackendOpeners(); }
};

} // namespace

Q_DECLARE_METATYPE(Bronnen)

class TestVoorwaarden : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    void bronnen_data();
    void bronnen();
    void nieuweFormaatCombies_data();
    void nieuweFormaatCombies();
    void hangSluitKeuzesVolgtHetFormaat();
    void afgevraagdBijElkeAanroep();
};

void TestVoorwaarden::bronnen_data()
{
    QTest::addColumn<Bronnen>("bronnen");
    QTest::addColumn<bool>("bibliotheekModus");
    QTest::addColumn<QStringList>("waar");

    const Bron artikelCsv;
    Bron prijzen;
    prijzen.alleenPrijzen = true;
    Bron hsKeuzes = Van(BronSoort::TabellenCombies);
    hsKeuzes.combiType = 1;
    const Bron hsCombies = Van(BronSoort::TabellenCombies);
    const Bron optionsJet = Van(BronSoort::TabellenCombies, Bron::Jet, QStringLiteral("OPTIONS"));
    const Bron optionsKleinSqlite = Van(BronSoort::TabellenCombies, Bron::SQLite, QStringLiteral("options"));
    Bron bibliotheekJet35 = Van(BronSoort::Bibliotheek, Bron::Jet, QStringLiteral("LIBRARY"));
    bibliotheekJet35.minimaal35 = true;
    const Bron bibliotheekSqlite = Van(BronSoort::Bibliotheek, Bron::SQLite, QStringLiteral("LIBRARY"));
    const Bron wkv = Van(BronSoort::WKV, Bron::SQLite, QStringLiteral("SHAPES"));
    const Bron ptJet = Van(BronSoort::Artikelen, Bron::Jet, QStringLiteral("PT"));
    Bron artikelMetGroepen;
    artikelMetGroepen.groepSelectie = true;
    Bron artikelNietGekozen;
    artikelNietGekozen.geselecteerd = false;
    Bron artikelWerkboekKeuzes; // an article workbook keeps the combination type it was made with
    artikelWerkboekKeuzes.combiType = 1;

    const QString artikelen = QStringLiteral("IsBronArtikelenGeselecteerd");
    const QString prijsUpdate = QStringLiteral("IsAlleenPrijsUpdate");
    QTest::newRow("no sources") << Bronnen{} << false << QStringList{prijsUpdate};
    QTest::newRow("article file, combination type 0 unset") << Bronnen{artikelCsv} << false
                                                            << QStringList{artikelen};
    QTest::newRow("article workbook, combination type 1") << Bronnen{artikelWerkboekKeuzes} << false
                                                          << QStringList{artikelen};
    QTest::newRow("price-only file") << Bronnen{prijzen} << false << QStringList{artikelen, prijsUpdate};
    QTest::newRow("price-only next to a full article file") << Bronnen{prijzen, artikelCsv} << false
                                                            << QStringList{artikelen};
    QTest::newRow("full article file not ticked") << Bronnen{prijzen, artikelNietGekozen} << false
                                                  << QStringList{artikelen, prijsUpdate};
    QTest::newRow("article group column") << Bronnen{artikelMetGroepen} << false
                                          << QStringList{artikelen, QStringLiteral("IsArtikelGroepSelectieMogelijk")};
    QTest::newRow("product table Jet") << Bronnen{ptJet} << false
                                       << QStringList{artikelen, QStringLiteral("IsArtikelGroepSelectieMogelijk")};
    QTest::newRow("hardware file of choices")
        << Bronnen{hsKeuzes} << false
        << QStringList{prijsUpdate, QStringLiteral("IsBronTabellenGeselecteerd"), QStringLiteral("IsHSKeuzesMogelijk"),
                       QStringLiteral("IsLibHSKeuzesMogelijk")};
    QTest::newRow("hardware file of combinations")
        << Bronnen{hsCombies} << false
        << QStringList{prijsUpdate, QStringLiteral("IsBronTabellenGeselecteerd"),
                       QStringLiteral("IsHSTabellenMogelijk"), QStringLiteral("IsLibHSCombiesMogelijk")};
    QTest::newRow("options database Jet")
        << Bronnen{optionsJet} << false
        << QStringList{prijsUpdate,
                       QStringLiteral("IsBronTabellenGeselecteerd"),
                       QStringLiteral("IsHSTabellenMogelijk"),
                       QStringLiteral("IsHSKeuzesMogelijk"),
                       QStringLiteral("IsBronOptionsDatabaseGeselecteerd"),
                       QStringLiteral("IsHangSluitKeuzesMogelijk")};
    QTest::newRow("options database SQLite, type in lower case")
        << Bronnen{optionsKleinSqlite} << false
        << QStringList{prijsUpdate, QStringLiteral("IsBronTabellenGeselecteerd"),
                       QStringLiteral("IsHSTabellenMogelijk"), QStringLiteral("IsHSKeuzesMogelijk")};
    QTest::newRow("library Jet 3.50")
        << Bronnen{bibliotheekJet35} << false
        << QStringList{prijsUpdate, QStringLiteral("IsBronBibliotheekGeselecteerd"),
                       QStringLiteral("IsLibHangSluitwerkMogelijk")};
    QTest::newRow("library SQLite before 3.50")
        << Bronnen{bibliotheekSqlite} << false
        << QStringList{prijsUpdate, QStringLiteral("IsBronBibliotheekGeselecteerd"),
                       QStringLiteral("IsLibHSCombiesMogelijk"), QStringLiteral("IsLibHSKeuzesMogelijk")};
    QTest::newRow("work preparation") << Bronnen{wkv} << false
                                      << QStringList{prijsUpdate, QStringLiteral("IsBronWKVGeselecteerd")};
    QTest::newRow("library mode, hardware file")
        << Bronnen{hsCombies} << true
        << QStringList{prijsUpdate, QStringLiteral("IsHSTabellenMogelijk"), QStringLiteral("IsLibHSCombiesMogelijk"),
                       QStringLiteral("IsLibHangSluitwerkMogelijk")};
    QTest::newRow("library mode, no sources") << Bronnen{} << true << QStringList{prijsUpdate};
    QTest::newRow("library mode, a source not ticked")
        << Bronnen{artikelNietGekozen} << true << QStringList{prijsUpdate, QStringLiteral("IsLibHangSluitwerkMogelijk")};
}

void TestVoorwaarden::bronnen()
{
    QFETCH(Bronnen, bronnen);
    QFETCH(bool, bibliotheekModus);
    QFETCH(QStringList, waar);
    test::RecordingUiServices ui;
    for (const Bron& b : bronnen)
        globals().gBronnenGeselecteerd << maakBron(b);
    globals().gBibliotheekModus = bibliotheekModus;

    QStringList gevonden;
    for (const auto& [naam, predicaat] : bronPredicaten()) {
        if (predicaat())
            gevonden << naam;
    }
    waar.sort();
    gevonden.sort();
    QCOMPARE(gevonden, waar);
    QVERIFY(ui.messages.isEmpty() && ui.errors.isEmpty());
}

void TestVoorwaarden::nieuweFormaatCombies_data()
{
    QTest::addColumn<QStringList>("doelen"); // kind:file in order; files: new, old, missing, library
    QTest::addColumn<bool>("bibliotheekModus");
    QTest::addColumn<bool>("nieuw");
    QTest::addColumn<int>("meldingen"); // "Openen Onderhouds database is mislukt!"

    QTest::newRow("no targets") << QStringList{} << false << false << 0;
    QTest::newRow("product table only") << QStringList{QStringLiteral("0:pt")} << false << false << 0;
    QTest::newRow("SQLite options") << QStringList{QStringLiteral("1:nieuw")} << false << true << 0;
    QTest::newRow("Jet options 3.0") << QStringList{QStringLiteral("1:oud")} << false << false << 0;
    QTest::newRow("options that cannot be opened") << QStringList{QStringLiteral("1:weg")} << false << false << 1;
    QTest::newRow("library target outside library mode") << QStringList{QStringLiteral("2:lib")} << false << false
                                                         << 0;
    QTest::newRow("library mode: the library target ends the walk")
        << QStringList{QStringLiteral("2:lib"), QStringLiteral("1:weg")} << true << true << 0;
    QTest::newRow("library mode after a failing options target")
        << QStringList{QStringLiteral("1:weg"), QStringLiteral("2:lib")} << true << true << 1;
    QTest::newRow("new then old options") << QStringList{QStringLiteral("1:nieuw"), QStringLiteral("1:oud")} << false
                                          << true << 0;
}

void TestVoorwaarden::nieuweFormaatCombies()
{
    QFETCH(QStringList, doelen);
    QFETCH(bool, bibliotheekModus);
    QFETCH(bool, nieuw);
    QFETCH(int, meldingen);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersTerug terug;
    const QString nieuwPad = env.path(QStringLiteral("opties.db"));
    QVERIFY(fixtures::makeDatabase(nieuwPad, fixtures::Kind::Options, {3, 40}));
    const QString oudPad = jetOptions(env, {3, 0});
    QVERIFY(!oudPad.isEmpty());
    const QString libPad = env.path(QStringLiteral("bibliotheek.db"));
    QVERIFY(fixtures::makeDatabase(libPad, fixtures::Kind::Library, {3, 50}));
    const QHash<QString, QString> paden = {{QStringLiteral("nieuw"), nieuwPad},
                                           {QStringLiteral("oud"), oudPad},
                                           {QStringLiteral("weg"), env.path(QStringLiteral("bestaat-niet.mdb"))},
                                           {QStringLiteral("lib"), libPad},
                                           {QStringLiteral("pt"), env.path(QStringLiteral("pt.db"))}};
    for (const QString& doel : doelen)
        globals().gDoelBestanden << maakDoel(doel.section(QLatin1Char(':'), 0, 0).toInt(),
                                             paden.value(doel.section(QLatin1Char(':'), 1)));
    globals().gBibliotheekModus = bibliotheekModus;

    QCOMPARE(IsDoelNieuweFormaatCombies(), nieuw);
    int mislukt = 0;
    for (const auto& melding : ui.messages) {
        if (melding.text == QLatin1String("Openen Onderhouds database is mislukt!"))
            ++mislukt;
    }
    QCOMPARE(mislukt, meldingen);
    // An options database that could not be opened is asked nothing more (the connection has said why).
    for (const auto& fout : ui.errors)
        QVERIFY2(!fout.details.contains(QStringLiteral("NieuweFormaatCombies")), qPrintable(fout.details));
    if (meldingen == 0)
        QVERIFY(ui.errors.isEmpty());
}

void TestVoorwaarden::hangSluitKeuzesVolgtHetFormaat()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    Bron hsBestand = Van(BronSoort::TabellenCombies);
    hsBestand.combiType = 1;
    globals().gBronnenGeselecteerd << maakBron(hsBestand);
    // Older format (no options target): only an options database offers choices.
    QVERIFY(!IsHangSluitKeuzesMogelijk());
    // New format: any hardware source.
    const QString pad = env.path(QStringLiteral("opties.db"));
    QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::Options, {3, 40}));
    globals().gDoelBestanden << maakDoel(1, pad);
    QVERIFY(IsHangSluitKeuzesMogelijk());
    globals().gBronnenGeselecteerd.first()->Geselecteerd = false;
    QVERIFY(!IsHangSluitKeuzesMogelijk());
}

// Nothing is remembered between calls: a changed target answers at once.
void TestVoorwaarden::afgevraagdBijElkeAanroep()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OpenersTerug terug;
    const QString oudPad = jetOptions(env, {3, 0});
    QVERIFY(!oudPad.isEmpty());
    globals().gDoelBestanden << maakDoel(1, oudPad);
    QVERIFY(!IsDoelNieuweFormaatCombies());
    const QString nieuwPad = env.path(QStringLiteral("opties.db"));
    QVERIFY(fixtures::makeDatabase(nieuwPad, fixtures::Kind::Options, {3, 40}));
    globals().gDoelBestanden.first()->setPath(nieuwPad);
    QVERIFY(IsDoelNieuweFormaatCombies());
    globals().gBibliotheekModus = true;
    globals().gDoelBestanden.first()->setPath(oudPad);
    QVERIFY(!IsDoelNieuweFormaatCombies());
    globals().gDoelBestanden << maakDoel(2, env.path(QStringLiteral("bibliotheek.db")));
    QVERIFY(IsDoelNieuweFormaatCombies());
}

QTEST_GUILESS_MAIN(TestVoorwaarden)
#include "test_voorwaarden.moc"
