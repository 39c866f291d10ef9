// The demo content package as the program meets it: written into a program
// folder, unpacked by the welcome step with the suppliers-folder setting
// absent (so the suppliers come from the temporary folder), the supplier
// VOORBEELD under category 6 with its page and logo; every source of the
// folder "voorbeeld" recognised as the kind it is meant to be by the source
// description, every target a database of its kind and version, the
// information workbooks readable with their CODE column, the supplier
// files' columns all recognised by their titles and their lines read (texts
// in Windows-1252, Dutch numbers), the price lists naming article groups by
// description, price rows only for the article types that carry them, and each
// synchronisation engine taking its source into its target with no error,
// adding parts and finding parts the target already holds; and the groove
// shapes drawing as closed outlines inside their width and height.

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "import/artikelbestandlezer.h"
#include "import/hangsluitbestandlezer.h"
#include "selection/clsprofile.h"
#include "sources/clsbron2.h"
#include "sources/kolomtoewijzing.h"
#include "start/sharedroutines.h"
#include "start/veldcatalogus.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "sync/clssynclib.h"
#include "sync/clssyncopt.h"
#include "sync/clssyncpt.h"
#include "sync/clssyncshapes.h"
#include "voorbeeld/voorbeeldpakket.h"
#include "wizard/stapwelkom.h"
#include "wizard/welkompagina.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// Counts what an engine reports.
struct Tellingen : VoortgangOntvanger
{
    qint32 nieuw = 0, bestaand = 0, fouten = 0;
    QStringList meldingen;
    void NieuwOnderdeel(qint32&) override { ++nieuw; }
    void BestaandOnderdeel(qint32&) override { ++bestaand; }
    void FoutOpgetreden(qint32& aantal) override { fouten += aantal; }
    void Voortgang(const QString& actie, const QString& omschrijving) override
    {
        meldingen << actie + QStringLiteral(": ") + omschrijving;
    }
};

// Every code of a table of the database, as a selection.
ItemCollection alles(const QString& pad, const QString& tabel)
{
    fixtures::FixtureDb db(pad);
    QStringList codes;
    const std::optional<ResultData> rijen =
        db.connection()->run(QStringLiteral("SELECT Code FROM \"%1\" ORDER BY ID").arg(tabel));
    for (qsizetype i = 0; rijen && i < rijen->rows.size(); ++i)
        codes << rijen->rows.row(i)[0].toString();
    return fixtures::items(codes);
}

} // namespace

class VoorbeeldPakketTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QString fout;
        QVERIFY2(voorbeeld::SchrijfVoorbeeld(m_env.path(QStringLiteral("programma")), 1, &fout), qPrintable(fout));
    }
    void init()
    {
        globals() = ProgramState();
        VulVeldCatalogus();
    }
    void cleanup() { globals() = ProgramState(); }

    void pakketEnMap()
    {
        const QDir programma(m_env.path(QStringLiteral("programma")));
        QVERIFY(QFileInfo(programma.filePath(QStringLiteral("voorbeeld.dat"))).isFile());
        QVERIFY(QFileInfo(programma.filePath(QStringLiteral("voorbeeld/LEESMIJ.txt"))).isFile());
        // Nothing of the making is left behind.
        QCOMPARE(programma.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("voorbeeld"), QStringLiteral("voorbeeld.dat")}));
        // Written again over an older one.
        QString fout;
        QVERIFY2(voorbeeld::SchrijfVoorbeeld(programma.path(), 1, &fout), qPrintable(fout));
        QCOMPARE(programma.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
    }

    void welkomStap()
    {
        RecordingUiServices ui;
        StapWelkom stap;
        stap.setProgrammaMap(m_env.path(QStringLiteral("programma")));
        stap.Init();
        QVERIFY2(ui.errors.isEmpty(), ui.errors.isEmpty() ? "" : qPrintable(ui.errors.at(0).message));
        const WelkomCategorie& tavrin = stap.Boom().at(5);
        QCOMPARE(tavrin.sleutel, QStringLiteral("CAT6"));
        QCOMPARE(tavrin.leveranciers.size(), 1);
        QCOMPARE(tavrin.leveranciers.at(0)->Code, QStringLiteral("VOORBEELD"));
        QCOMPARE(tavrin.leveranciers.at(0)->Omschrijving, QStringLiteral("Voorbeeld Leverancier"));

        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.KnoopGeklikt(QStringLiteral("VOORBEELD"), false);
        QVERIFY(kanVerder.last().at(0).toBool());
        const QString map = QDir(globals().gWelkomMap).filePath(QStringLiteral("VOORBEELD"));
        QCOMPARE(globals().gLeverancier->MainFolder, QDir::toNativeSeparators(map));
        const WelkomPagina pagina = LaadWelkomPagina(stap.HuidigePagina());
        QVERIFY2(pagina.html.contains(QStringLiteral("<h2>Voorbeeld Leverancier</h2>")), qPrintable(pagina.html));
        QVERIFY(pagina.html.contains(QStringLiteral("bronnen/artikelen.csv")));
        QVERIFY(QFileInfo(QDir(map).filePath(QStringLiteral("logo.jpg"))).size() > 0);

        // The default page, closed by the step, with the supplier's logo.
        QFile welkom(QDir(globals().gWelkomMap).filePath(QStringLiteral("welkom.html")));
        QVERIFY(welkom.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(welkom.readAll());
        QVERIFY(html.contains(QUrl::fromLocalFile(QDir(map).filePath(QStringLiteral("logo.jpg"))).toString(
            QUrl::FullyEncoded)));
        QVERIFY(html.endsWith(QStringLiteral("</table></div></body></html>\r\n")));
    }

    // Each source as the source step would take it.
    void bronnen_data()
    {
        QTest::addColumn<QString>("bestand");
        QTest::addColumn<QString>("formaat");
        QTest::addColumn<int>("soort");
        QTest::addColumn<int>("kolommen"); // -1: not checked
        QTest::newRow("artikelen csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelCsv) << QStringLiteral("CSV")
                                       << BronSoort::Artikelen << 10;
        QTest::newRow("artikelen xlsx") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelWerkmap)
                                        << QStringLiteral("XLS") << BronSoort::Artikelen << 9;
        QTest::newRow("combinaties csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitCombiCsv)
                                         << QStringLiteral("CSV") << BronSoort::TabellenCombies << 15;
        QTest::newRow("combinaties xlsx") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitCombiWerkmap)
                                          << QStringLiteral("XLS") << BronSoort::TabellenCombies << 15;
        QTest::newRow("keuzes csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitKeuzeCsv) << QStringLiteral("CSV")
                                    << BronSoort::TabellenCombies << 3;
        QTest::newRow("materialen xml") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronMaterialenXml)
                                        << QStringLiteral("XML") << BronSoort::Artikelen << -1;
        QTest::newRow("productentabel") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronProducten) << QStringLiteral("Bvq")
                                        << BronSoort::Artikelen << -1;
        QTest::newRow("onderhoud") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronOnderhoud) << QStringLiteral("Bvq")
                                   << BronSoort::TabellenCombies << -1;
        QTest::newRow("bibliotheek") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronBibliotheek) << QStringLiteral("Bvq")
                                     << BronSoort::Bibliotheek << -1;
        QTest::newRow("werkvoorbereiding") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronWerkvoorbereiding)
                                           << QStringLiteral("Bvq") << BronSoort::WKV << -1;
        QTest::newRow("doel productentabel") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelProducten)
                                             << QStringLiteral("Bvq") << BronSoort::Artikelen << -1;
        QTest::newRow("doel onderhoud") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelOnderhoud) << QStringLiteral("Bvq")
                                        << BronSoort::TabellenCombies << -1;
        QTest::newRow("doel bibliotheek") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelBibliotheek)
                                          << QStringLiteral("Bvq") << BronSoort::Bibliotheek << -1;
        QTest::newRow("doel werkvoorbereiding") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelWerkvoorbereiding)
                                                << QStringLiteral("Bvq") << BronSoort::WKV << -1;
    }
    void bronnen()
    {
        QFETCH(QString, bestand);
        QFETCH(QString, formaat);
        QFETCH(int, soort);
        QFETCH(int, kolommen);
        RecordingUiServices ui;
        clsBron2 bron;
        QVERIFY(bron.AddBestand(QDir(m_env.path(QStringLiteral("programma"))).filePath(bestand)));
        QCOMPARE(bron.FormatDescription(), formaat);
        QCOMPARE(bron.Soort, soort);
        if (kolommen >= 0)
            QCOMPARE(bron.AantalKolommen, kolommen);
        if (formaat == QLatin1String("Bvq")) {
            QCOMPARE(bron.AppType, QStringLiteral("VELMORA"));
            QCOMPARE(bron.VerMajor, 3);
            QCOMPARE(bron.VerMinor, 40);
        }
        QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    }

    // The column mapping proposes a field for every column of the supplier's files from its title, and
    // the readers take the lines: prices in Dutch notation (also above a thousand), texts in Windows-1252,
    // the hardware Y in centimetres with a decimal comma.
    void kolomvoorstel_data()
    {
        QTest::addColumn<QString>("bestand");
        QTest::addColumn<bool>("lezen"); // also read the lines
        QTest::newRow("artikelen csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelCsv) << true;
        QTest::newRow("artikelen xlsx") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelWerkmap) << false;
        QTest::newRow("combinaties csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitCombiCsv) << true;
        QTest::newRow("combinaties xlsx") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitCombiWerkmap)
                                          << true;
        QTest::newRow("keuzes csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronHangSluitKeuzeCsv) << true;
    }
    void kolomvoorstel()
    {
        QFETCH(QString, bestand);
        QFETCH(bool, lezen);
        RecordingUiServices ui;
        const QString pad = QDir(m_env.path(QStringLiteral("programma"))).filePath(bestand);
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        KolomToewijzing model;
        model.LeesBron(bron);
        model.KiesBestandType(bron.Soort == BronSoort::TabellenCombies ? 1 : 0, bron);
        QVERIFY(model.nietEersteRijImporteren);
        QCOMPARE(model.koppen.size(), bron.AantalKolommen);
        QVERIFY2(!model.koppen.contains(QString()), qPrintable(model.koppen.join(QLatin1Char('|'))));
        model.UpdateBron(bron);
        QVERIFY(!bron.KolomSoorten.contains(0));
        if (!lezen)
            return;
        // A CSV text has one line per row after its title line.
        qsizetype regels = -1;
        if (bron.IsCSV) {
            QFile tekst(pad);
            QVERIFY(tekst.open(QIODevice::ReadOnly));
            regels = tekst.readAll().count("\r\n") - 1;
        }

        ImportMelder melder;
        if (bron.Soort == BronSoort::Artikelen) {
            ArtikelBestandLezer lezer(melder);
            ItemCollection lijst;
            QVERIFY(lezer.Lees(bron, ArtikelBestandLezer::Modus::Overzetten, lijst));
            QCOMPARE(lezer.GelezenRegels().size(), regels);
            const int prijs = int(bron.KolomSoorten.indexOf(10));
            int duur = 0;
            bool euro = false;
            for (const ArtikelRegel& regel : lezer.GelezenRegels()) {
                const std::optional<double> getal = LeesGetal(regel.at(prijs));
                QVERIFY2(getal && *getal > 0, qPrintable(regel.at(prijs)));
                duur += *getal > 1000 ? 1 : 0;
                euro = euro || regel.join(QLatin1Char(' ')).contains(QStringLiteral("€"));
            }
            QVERIFY(duur > 0 && euro);
        } else {
            HangSluitBestandLezer lezer(melder);
            ItemCollection distinct;
            QVERIFY(lezer.Lees(bron, HangSluitBestandLezer::Modus::Overzetten, distinct, {}));
            QVERIFY(!lezer.HangSluitRegels().isEmpty());
            if (regels >= 0)
                QCOMPARE(lezer.HangSluitRegels().size(), regels);
            for (const HangSluitRegelPtr& regel : lezer.HangSluitRegels())
                QVERIFY(!regel->Code().isEmpty());
            if (bron.AantalKolommen == 15) {
                const auto& tweede = lezer.HangSluitRegels().at(1);
                QVERIFY(!tweede->ArtikelCode.isEmpty());
                QCOMPARE(tweede->Y, QStringLiteral("25")); // 2,5 cm
                QVERIFY(tweede->BreedteTot > tweede->BreedteVan);
            }
        }
        QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    }

    // The price lists name each article's group by the description of one of the supplier's groups, as the
    // article import finds groups (never by a group code, which it would take for the name of a new group).
    void groepenOpOmschrijving_data()
    {
        QTest::addColumn<QString>("bestand");
        QTest::newRow("artikelen csv") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelCsv);
        QTest::newRow("artikelen xlsx") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronArtikelWerkmap);
    }
    void groepenOpOmschrijving()
    {
        QFETCH(QString, bestand);
        RecordingUiServices ui;
        const QDir programma(m_env.path(QStringLiteral("programma")));
        fixtures::FixtureDb producten(programma.filePath(voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronProducten)));
        const std::optional<ResultData> groepen = producten.connection()->run(QStringLiteral("SELECT Code, Description FROM ArtGroup"));
        QVERIFY(groepen && groepen->rows.size() > 0);
        QSet<QString> codes, omschrijvingen;
        for (qsizetype r = 0; r < groepen->rows.size(); ++r) {
            codes.insert(groepen->rows.row(r)[0].toString());
            omschrijvingen.insert(groepen->rows.row(r)[1].toString());
        }

        clsBron2 bron;
        QVERIFY(bron.AddBestand(programma.filePath(bestand)));
        KolomToewijzing model;
        model.LeesBron(bron);
        model.KiesBestandType(0, bron);
        model.UpdateBron(bron);
        const int groep = int(bron.KolomSoorten.indexOf(4));
        QVERIFY(groep >= 0);
        ImportMelder melder;
        ArtikelBestandLezer lezer(melder);
        ItemCollection lijst;
        QVERIFY(lezer.Lees(bron, ArtikelBestandLezer::Modus::Overzetten, lijst));
        QVERIFY(!lezer.GelezenRegels().isEmpty());
        for (const ArtikelRegel& regel : lezer.GelezenRegels()) {
            QVERIFY2(omschrijvingen.contains(regel.at(groep)), qPrintable(regel.join(QLatin1Char(';'))));
            QVERIFY(!codes.contains(regel.at(groep)));
        }
        QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    }

    // Price rows only for the article types whose rows the product-table synchronisation replaces
    // (PriceData2D for types 4 and 9, PriceData1D for 8 and 14), in the supplier's and the user's product
    // table alike: a run then leaves every transferred article with exactly the supplier's rows.
    void prijsRijenAlleenVoorPrijsTypen_data()
    {
        QTest::addColumn<QString>("bestand");
        QTest::addColumn<bool>("eenD"); // the table has one-dimensional price rows
        QTest::newRow("leverancier") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronProducten) << true;
        QTest::newRow("eigen") << voorbeeld::PadInVoorbeeldMap(voorbeeld::kDoelProducten) << false;
    }
    void prijsRijenAlleenVoorPrijsTypen()
    {
        QFETCH(QString, bestand);
        QFETCH(bool, eenD);
        fixtures::FixtureDb db(QDir(m_env.path(QStringLiteral("programma"))).filePath(bestand));
        const auto aantal = [&db](const char* tabel, const char* typen) {
            return db
                .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 p JOIN Article a ON a.ID = p.fkArticle WHERE "
                                       "a.fkType %2")
                            .arg(QLatin1String(tabel), QLatin1String(typen)))
                .toInt();
        };
        QCOMPARE(aantal("PriceData1D", "NOT IN (8, 14)"), 0);
        QCOMPARE(aantal("PriceData2D", "NOT IN (4, 9)"), 0);
        QCOMPARE(aantal("PriceData1D", "IN (8, 14)") > 0, eenD);
        QVERIFY(aantal("PriceData2D", "IN (4, 9)") > 0);
    }

    // The information workbooks (.xls) open as the information panel opens them, with the code first.
    void informatieWerkmappen_data()
    {
        QTest::addColumn<QString>("lijst");
        QTest::addColumn<QString>("code");
        QTest::newRow("Artikelen") << QStringLiteral("Artikelen") << QStringLiteral("VB-SCH-00002");
        QTest::newRow("ArtikelGroepen") << QStringLiteral("ArtikelGroepen") << QStringLiteral("VB-HRGLAS");
        QTest::newRow("Vaksponningen") << QStringLiteral("Vaksponningen") << QStringLiteral("VB-VS-003");
    }
    void informatieWerkmappen()
    {
        QFETCH(QString, lijst);
        QFETCH(QString, code);
        RecordingUiServices ui;
        StapWelkom stap;
        stap.setProgrammaMap(m_env.path(QStringLiteral("programma")));
        stap.Init();
        const QString pad =
            QDir(globals().gWelkomMap).filePath(QStringLiteral("VOORBEELD/") + lijst + QStringLiteral(".xls"));
        clsConnectie cn;
        QVERIFY2(cn.MakenExcelConnectie(pad, true), qPrintable(cn.lastOpenError()));
        const RecordsetPtr rs =
            cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [Blad1$] WHERE CODE = ?"), {code});
        QVERIFY(!rs->eof());
        QVERIFY(!rs->value(1).toString().isEmpty());
        QVERIFY(rs->value(3).toString().startsWith(QStringLiteral("https://")));
        cn.SluitenConnectie();
    }

    // Each engine on a copy of its source and target: no error, new parts added and existing ones met.
    void engines_data()
    {
        QTest::addColumn<QString>("soort");
        QTest::newRow("productentabel") << QStringLiteral("pt");
        QTest::newRow("onderhoud") << QStringLiteral("opt");
        QTest::newRow("bibliotheek") << QStringLiteral("lib");
        QTest::newRow("werkvoorbereiding") << QStringLiteral("wkv");
    }
    void engines()
    {
        QFETCH(QString, soort);
        RecordingUiServices ui;
        const QDir programma(m_env.path(QStringLiteral("programma")));
        const QHash<QString, QPair<const char*, const char*>> paren{
            {QStringLiteral("pt"), {voorbeeld::kBronProducten, voorbeeld::kDoelProducten}},
            {QStringLiteral("opt"), {voorbeeld::kBronOnderhoud, voorbeeld::kDoelOnderhoud}},
            {QStringLiteral("lib"), {voorbeeld::kBronBibliotheek, voorbeeld::kDoelBibliotheek}},
            {QStringLiteral("wkv"), {voorbeeld::kBronWerkvoorbereiding, voorbeeld::kDoelWerkvoorbereiding}}};
        const QString bron = m_env.path(soort + QStringLiteral("-bron"));
        const QString doel = m_env.path(soort + QStringLiteral("-doel"));
        QFile::remove(bron);
        QFile::remove(doel);
        QVERIFY(QFile::copy(programma.filePath(voorbeeld::PadInVoorbeeldMap(paren.value(soort).first)), bron));
        QVERIFY(QFile::copy(programma.filePath(voorbeeld::PadInVoorbeeldMap(paren.value(soort).second)), doel));

        Tellingen tellingen;
        ProgramState& g = globals();
        if (soort == QLatin1String("pt")) {
            clsSyncPT engine;
            engine.SetOntvanger(&tellingen);
            engine.Sync(bron, doel, {}, true, QStringLiteral("0;1;3;4;6;7;8;12;13;14;15"));
        } else if (soort == QLatin1String("opt")) {
            auto opties = std::make_shared<clsImportOpties>();
            opties->ImporterenTabellen = true;
            opties->ImporterenHSKeuzes = true;
            g.gImportOpties = opties;
            g.gColHSTabellenGeselecteerd = alles(bron, QStringLiteral("LocksHingesTable"));
            g.gColHSCombiesGeselecteerd = alles(bron, QStringLiteral("LocksHingesCombi"));
            g.gColHSKeuzesGeselecteerd = alles(bron, QStringLiteral("CustomLHCombi"));
            clsSyncOpt engine;
            engine.SetOntvanger(&tellingen);
            engine.Sync(bron, doel, true);
        } else if (soort == QLatin1String("lib")) {
            g.gColVaksponningenGeselecteerd = alles(bron, QStringLiteral("PaneGrooveTable"));
            g.gColRandsponningenGeselecteerd = alles(bron, QStringLiteral("EdgeGroove"));
            g.gColElementsponningenGeselecteerd = alles(bron, QStringLiteral("OuterGrooveTable"));
            g.gColLaagreliefGeselecteerd = alles(bron, QStringLiteral("TreshHoldCombi"));
            g.gColNeutenGeselecteerd = alles(bron, QStringLiteral("TreshHoldCombiExt"));
            clsSyncLIB engine;
            engine.SetOntvanger(&tellingen);
            engine.Sync(bron, doel, true, QStringLiteral("1;2;3;4;5"));
        } else {
            g.gColSponningfigurenGeselecteerd = alles(bron, QStringLiteral("GrooveShape"));
            clsSyncSHAPES engine;
            engine.SetOntvanger(&tellingen);
            engine.Sync(bron, doel, QStringLiteral("1;2;3;4"));
        }
        QVERIFY2(tellingen.fouten == 0, qPrintable(tellingen.meldingen.join(QLatin1Char('\n'))));
        QVERIFY2(ui.errors.isEmpty() && ui.messages.isEmpty(), qPrintable(tellingen.meldingen.join(QLatin1Char('\n'))));
        QVERIFY(tellingen.nieuw > 0);
        QVERIFY(tellingen.bestaand > 0);
    }

    // Every groove shape of the supplier has an outline as the groove-figure step draws it: closed, the
    // nodes and the formula steps inside the shape's width and reaching its top.
    void sponningfiguren()
    {
        RecordingUiServices ui;
        const QString pad =
            QDir(m_env.path(QStringLiteral("programma"))).filePath(voorbeeld::PadInVoorbeeldMap(voorbeeld::kBronWerkvoorbereiding));
        const ItemCollection vormen = alles(pad, QStringLiteral("GrooveShape"));
        QVERIFY(!vormen.isEmpty());
        clsConnectie cn;
        QVERIFY(cn.MakenJetorSQLiteConnectie(pad));
        for (const auto& vorm : vormen) {
            clsProfile profiel;
            profiel.Connectie = &cn;
            QVERIFY(profiel.GetProfileData(vorm->Code, QString(), false));
            const int laatste = profiel.CoorDinateCount();
            QVERIFY(laatste >= 5);
            QCOMPARE(profiel.x(laatste), profiel.x(0));
            QCOMPARE(profiel.Y(laatste), profiel.Y(0));
            double hoogste = 0;
            for (int i = 0; i <= laatste; ++i) {
                QVERIFY(qAbs(profiel.x(i)) <= profiel.Width / 2 + 1e-9);
                QVERIFY(profiel.Y(i) >= -1e-9 && profiel.Y(i) <= profiel.Height + 1e-9);
                hoogste = std::max(hoogste, profiel.Y(i));
            }
            QVERIFY(qAbs(hoogste - profiel.Height) < 1e-6);
        }
        cn.SluitenConnectie();
        QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    }

private:
    TestEnvironment m_env;
};

QTEST_GUILESS_MAIN(VoorbeeldPakketTest)
#include "test_voorbeeldpakket.moc"
