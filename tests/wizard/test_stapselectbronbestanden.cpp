// Step 2, the source files, without a window: adding files (the same file
// twice, refused files with their reason, the fixed workbook layouts, the
// database kinds and their type dialogs, a product table with untyped
// articles), Next only with a checked row, deleting rows, the supplier's
// saved definitions (written whole, a vanished source dropped, no
// application-data folder, a supplier code that is no safe folder name), the
// report of a source's facts and the column widths. The dialogs are a fake
// that counts types as the real type dialog does.

#include "fixtures/designdatabases.h"
#include "sources/bronnentestutil.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapselectbronbestanden.h"

#include <QDir>
#include <QQueue>
#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;
using fixtures::Kind;

namespace {

using Bladen = QList<QPair<QString, QList<QStringList>>>;

// The set-up dialogs: the column mapping answers from a queue (accepted when empty), the type dialogs
// count as the real one does and, when they would be shown, accept with every type ticked or cancel.
class NepVensters : public BronVensters
{
public:
    bool ToonKolomWizard(clsBron2& bron) override
    {
        log << QStringLiteral("kolom ") + bron.BestandsNaam;
        return kolomAntwoorden.isEmpty() || kolomAntwoorden.dequeue();
    }
    bool ToonTypeWizard(TypeSelectieSoort soort, clsBron2& bron, bool tonen) override
    {
        TypeSelectieModel model(soort);
        model.SetFile(bron);
        const bool getoond = model.Tonen || tonen;
        log << QStringLiteral("type %1%2%3").arg(TypeSelectieModel::TitelVoorvoegsel(soort), bron.BestandsNaam,
                                                  getoond ? QStringLiteral(" getoond") : QString());
        if (!getoond)
            return model.Geaccepteerd;
        if (!typeAccepteren)
            return false;
        for (int i = 0; i < model.rijen.size(); ++i)
            model.ZetVinkje(i, true);
        model.UpdateBron(bron);
        return true;
    }
    void ToonRapport(const QString& titel, const QStringList& regels) override
    {
        rapportTitel = titel;
        rapportRegels = regels;
    }

    QStringList log;
    QQueue<bool> kolomAntwoorden;
    bool typeAccepteren = true;
    QString rapportTitel;
    QStringList rapportRegels;
};

bool laatste(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

QStringList kolom(const StapSelectBronBestanden& stap, int k)
{
    QStringList uit;
    for (const StapSelectBronBestanden::Rij& rij : stap.rijen())
        uit << (k == 0 ? rij.bestand : k == 1 ? rij.map : rij.type);
    return uit;
}

} // namespace

class StapSelectBronBestandenTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void toevoegenEnNogmaals();
    void geweigerd_data();
    void geweigerd();
    void vasteIndelingen_data();
    void vasteIndelingen();
    void databases();
    void artikelenZonderType();
    void annulerenLaatWeg();
    void verwijderenEnOpslaan();
    void verdwenenBron();
    void nietsAangevinkt();
    void eigenschappen_data();
    void eigenschappen();
    void geenProgrammaGegevensMap();
    void onveiligeLeveranciersCode();
    void kolombreedtes();

private:
    // A file in the test's folder.
    QString bestand(const QString& naam, const QByteArray& inhoud)
    {
        const QString pad = m_env->path(naam);
        QDir().mkpath(QFileInfo(pad).absolutePath());
        if (!schrijfBestand(pad, inhoud))
            qFatal("test file not written");
        return pad;
    }
    QString csv(const QString& naam)
    {
        return bestand(naam, "Code;Omschrijving;Prijs\r\nA1;Deur;12,50\r\nA2;Raam;8,00\r\n");
    }
    QString database(const QString& naam, Kind kind, const QList<QVariant>& typen = {})
    {
        const QString pad = m_env->path(naam);
        if (!fixtures::makeDatabase(pad, kind, {3, 40}))
            qFatal("fixture database not made");
        fixtures::FixtureDb db(pad);
        int i = 0;
        for (const QVariant& type : typen) {
            ++i;
            if (kind == Kind::ProductTable)
                db.insert(QStringLiteral("Article"),
                          {{"Code", QStringLiteral("A%1").arg(i)}, {"Description", "x"}, {"fkType", type}});
            else if (kind == Kind::WorkPreparation)
                db.insert(QStringLiteral("GrooveShape"),
                          {{"Code", QStringLiteral("G%1").arg(i)}, {"Description", "x"}, {"Type", type}});
            else if (kind == Kind::Library)
                db.insert(QStringLiteral("PaneGrooveTable"),
                          {{"Code", QStringLiteral("P%1").arg(i)}, {"Description", "x"}});
        }
        return pad;
    }
    // Chooses the files in the open dialog of "&Toevoegen".
    void voegToe(StapSelectBronBestanden& stap, const QStringList& paden)
    {
        m_ui->fileAnswers << paden;
        stap.cmdBlader_Click();
    }
    // Three source files added and saved as the supplier's definitions by a step that is then left.
    QStringList bewaardeBronnen()
    {
        const QStringList paden{csv(QStringLiteral("a.csv")), csv(QStringLiteral("b.csv")),
                                csv(QStringLiteral("c.csv"))};
        StapSelectBronBestanden stap;
        stap.setVensters(&m_vensters);
        stap.Init();
        voegToe(stap, paden);
        stap.Finish();
        return paden;
    }
    QString definitieMap() const { return BronDefinitieMap(globals().gLeverancier->Code); }
    QStringList definities() const
    {
        return QDir(definitieMap()).entryList({QStringLiteral("File*")}, QDir::Files, QDir::Name);
    }
    QString eersteRegel(const QString& naam) const
    {
        return QString::fromUtf8(leesBestand(QDir(definitieMap()).filePath(naam))).section(QLatin1String("\r\n"), 0, 0);
    }
    // The step entered anew, as after Back past it: the sources are forgotten and loaded again.
    void opnieuw(StapSelectBronBestanden& stap)
    {
        globals().gBronnen.clear();
        globals().gBronnenGeselecteerd.clear();
        stap.Init();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingUiServices> m_ui;
    NepVensters m_vensters;
};

void StapSelectBronBestandenTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_ui = std::make_unique<RecordingUiServices>();
    m_vensters = NepVensters();
    ProgramState& g = globals();
    g.gBronnen.clear();
    g.gBronnenGeselecteerd.clear();
    g.gLeverancier = std::make_shared<clsLeverancier>();
    g.gLeverancier->Code = QStringLiteral("LEV1");
    VulVeldCatalogus();
}

void StapSelectBronBestandenTest::cleanup()
{
    globals().gLeverancier.reset();
    globals().gBronnen.clear();
    globals().gBronnenGeselecteerd.clear();
    m_ui.reset();
    m_env.reset();
}

void StapSelectBronBestandenTest::toevoegenEnNogmaals()
{
    const QString pad = csv(QStringLiteral("bron/prijzen.csv"));
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QVERIFY(stap.rijen().isEmpty());
    QVERIFY(!laatste(kanVerder));

    voegToe(stap, {pad});
    QCOMPARE(m_ui->fileDialogs.size(), 1);
    QCOMPARE(m_ui->fileDialogs.at(0).title, QStringLiteral("Selecteer het leveranciers bron bestand"));
    QCOMPARE(m_ui->fileDialogs.at(0).filter, QStringLiteral("Zuzedavezive bestanden (*.*)|*.*"));
    QVERIFY(m_ui->fileDialogs.at(0).multiSelect);
    QCOMPARE(m_vensters.log, QStringList{QStringLiteral("kolom prijzen.csv")});
    QCOMPARE(kolom(stap, 0), QStringList{QStringLiteral("prijzen.csv")});
    QCOMPARE(kolom(stap, 1), QStringList{pad});
    QCOMPARE(kolom(stap, 2), QStringList{QStringLiteral("CSV")});
    QVERIFY(stap.rijen().at(0).aangevinkt);
    QVERIFY(stap.rijen().at(0).geselecteerd);
    QCOMPARE(stap.huidigeRij(), 0);
    QVERIFY(stap.SetupAan());
    QVERIFY(laatste(kanVerder));
    QCOMPARE(globals().gBronnen.size(), 1);

    // The same file by another way of writing its path, or through a link: nothing added, nothing shown.
    const QString omweg = m_env->path(QStringLiteral("bron/../bron/./prijzen.csv"));
    const QString link = m_env->path(QStringLiteral("koppeling.csv"));
    QVERIFY(QFile::link(pad, link));
    voegToe(stap, {omweg, link, pad});
    QCOMPARE(stap.rijen().size(), 1);
    QCOMPARE(m_vensters.log.size(), 1);
    QVERIFY(m_ui->messages.isEmpty());
    QCOMPARE(globals().gBronnen.size(), 1);

    // A cancelled open dialog changes nothing.
    stap.cmdBlader_Click();
    QCOMPARE(stap.rijen().size(), 1);
}

void StapSelectBronBestandenTest::geweigerd_data()
{
    QTest::addColumn<QString>("naam");
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<QString>("reden");
    QTest::newRow("xlsx dat geen werkmap is") << "kapot.xlsx" << QByteArray("PK\x03\x04 geen werkmap\x01\x02", 20)
                                              << "Excel 2007 bestandsformaat";
    QTest::newRow("XLSX in hoofdletters") << "KAPOT.XLSX" << QByteArray("\x01\x02\x03\x04\x05\x06", 6)
                                          << "Excel 2007 bestandsformaat";
    QTest::newRow("leeg bestand") << "leeg.csv" << QByteArray() << "Onbekend bestandsformaat";
    QTest::newRow("onbekend binair") << "plaatje.bin" << QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x01", 11)
                                     << "Onbekend bestandsformaat";
}

void StapSelectBronBestandenTest::geweigerd()
{
    QFETCH(QString, naam);
    QFETCH(QByteArray, inhoud);
    QFETCH(QString, reden);
    const QString pad = bestand(naam, inhoud);
    const QString goed = csv(QStringLiteral("goed.csv"));
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    voegToe(stap, {pad, goed});

    QVERIFY(!m_ui->messages.isEmpty());
    const RecordingUiServices::Message& melding = m_ui->messages.last();
    QCOMPARE(melding.title, QStringLiteral("Onbekend bestandsformaat"));
    QCOMPARE(melding.text, reden + QStringLiteral("\r\n\r\nHet geselecteerde bestand kan niet worden gebruikt als "
                                                  "leveranciers bronbestand.\r\n\r\n") +
                               pad);
    QCOMPARE(melding.style, MsgBox::OkOnly | MsgBox::Critical);
    // The other chosen file is still taken.
    QCOMPARE(kolom(stap, 0), QStringList{QStringLiteral("goed.csv")});
    QCOMPARE(stap.huidigeRij(), 0);
}

void StapSelectBronBestandenTest::vasteIndelingen_data()
{
    QTest::addColumn<Bladen>("bladen");
    QTest::addColumn<QString>("melding");
    const QList<QStringList> rijen{{"Code", "Omschrijving"}, {"D1", "Dorpel"}};
    QTest::newRow("Holonite") << Bladen{{"Dorpels", rijen},
                                                                           {"Neuten", rijen},
                                                                           {"Bewerkingen", rijen}}
                              << "Holonite Artikel Import Bestand met sheets: Dorpels, Neuten en Bewerkingen.";
    QTest::newRow("Deceuninck") << Bladen{
                                       {"Prijzen", {{"Artikel", "Kleur", "EAN code", "Omschrijving", "Prijs"},
                                                    {"A1", "Wit", "871", "Profiel", "12,50"}}}}
                                << "Deceuninck artikelen bestand voor prijsupdate via EAN/Bestelcode.";
}

void StapSelectBronBestandenTest::vasteIndelingen()
{
    QFETCH(Bladen, bladen);
    QFETCH(QString, melding);
    const QString pad = m_env->path(QStringLiteral("werkmap.xlsx"));
    QVERIFY(schrijfXlsx(pad, bladen));
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    voegToe(stap, {pad});
    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(m_ui->messages.at(0).text, melding);
    QCOMPARE(m_ui->messages.at(0).title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
    QCOMPARE(m_ui->messages.at(0).style, MsgBox::OkOnly | MsgBox::Information);
    QVERIFY(m_vensters.log.isEmpty()); // no column mapping
    QCOMPARE(kolom(stap, 2), QStringList{QStringLiteral("XLS")});
    QVERIFY(stap.rijen().at(0).aangevinkt);
}

void StapSelectBronBestandenTest::databases()
{
    const QString opties = database(QStringLiteral("opties.sqlite"), Kind::Options);
    const QString pt = database(QStringLiteral("pt.sqlite"), Kind::ProductTable, {4, 4});
    const QString wkv = database(QStringLiteral("wkv.sqlite"), Kind::WorkPreparation, {1, 2});
    const QString lib = database(QStringLiteral("lib.sqlite"), Kind::Library, {1});
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();

    // An options database needs no set-up: no dialog, and its set-up button is off.
    voegToe(stap, {opties});
    QVERIFY(m_vensters.log.isEmpty());
    QCOMPARE(kolom(stap, 2), QStringList{QStringLiteral("Bvq")});
    QVERIFY(!stap.SetupAan());
    stap.cmdSetup_Click();
    QVERIFY(m_vensters.log.isEmpty());

    // A product table of one article type is taken with that type without showing its dialog; the
    // work-preparation database with two kinds and the library show theirs.
    voegToe(stap, {pt, wkv, lib});
    QCOMPARE(m_vensters.log, (QStringList{QStringLiteral("type Artikeltype Selectie : pt.sqlite"),
                                          QStringLiteral("type Sponningfiguur Selectie : wkv.sqlite getoond"),
                                          QStringLiteral("type Bibliotheek Selectie : lib.sqlite getoond")}));
    QCOMPARE(kolom(stap, 0), (QStringList{"opties.sqlite", "pt.sqlite", "wkv.sqlite", "lib.sqlite"}));
    QCOMPARE(globals().gBronnen.at(1)->TypeSelectie, QStringLiteral("4"));
    QCOMPARE(globals().gBronnen.at(2)->TypeSelectie, QStringLiteral("1;2"));
    QCOMPARE(stap.huidigeRij(), 3);
    QVERIFY(stap.SetupAan());

    // Set up again: the article-type dialog is shown even without a choice to make; the others only with
    // one, and the result leaves the row where it is.
    m_vensters.log.clear();
    m_vensters.typeAccepteren = false;
    stap.ZetSelectie({1}, 1);
    QVERIFY(stap.SetupAan());
    stap.cmdSetup_Click();
    QCOMPARE(m_vensters.log, QStringList{QStringLiteral("type Artikeltype Selectie : pt.sqlite getoond")});
    QCOMPARE(stap.rijen().size(), 4);
    QCOMPARE(globals().gBronnen.at(1)->TypeSelectie, QStringLiteral("4"));
    stap.ZetSelectie({0}, 0);
    QVERIFY(!stap.SetupAan());
    QVERIFY(m_ui->messages.isEmpty());
    QVERIFY(m_ui->errors.isEmpty());
}

void StapSelectBronBestandenTest::artikelenZonderType()
{
    // Articles without a type are a counting error of the type dialog: reported, the source is not taken,
    // and the other files chosen with it are.
    const QString pt = database(QStringLiteral("pt.sqlite"), Kind::ProductTable, {2, QVariant()});
    const QString goed = csv(QStringLiteral("goed.csv"));
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    voegToe(stap, {pt, goed});
    QCOMPARE(m_ui->errors.size(), 1);
    QVERIFY(m_ui->errors.at(0).details.startsWith(QStringLiteral("Procedure = cmdBlader_Click\r\nError = 94: ")));
    QVERIFY(m_ui->errors.at(0).details.contains(QStringLiteral("zonder artikeltype")));
    QCOMPARE(kolom(stap, 0), QStringList{QStringLiteral("goed.csv")});
    QCOMPARE(globals().gBronnen.size(), 1);
}

void StapSelectBronBestandenTest::annulerenLaatWeg()
{
    const QString eerste = csv(QStringLiteral("een.csv"));
    const QString tweede = csv(QStringLiteral("twee.csv"));
    const QString pt = database(QStringLiteral("pt.sqlite"), Kind::ProductTable, {1, 2});
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    m_vensters.kolomAntwoorden << false << true;
    m_vensters.typeAccepteren = false;
    voegToe(stap, {eerste, tweede, pt});
    QCOMPARE(kolom(stap, 0), QStringList{QStringLiteral("twee.csv")});
    QVERIFY(m_ui->messages.isEmpty());
    QCOMPARE(globals().gBronnen.size(), 1);
}

void StapSelectBronBestandenTest::verwijderenEnOpslaan()
{
    const QStringList paden = bewaardeBronnen();
    QCOMPARE(definities(), (QStringList{"File1", "File2", "File3"}));
    QCOMPARE(eersteRegel(QStringLiteral("File3")), paden.at(2));

    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    opnieuw(stap);
    QCOMPARE(kolom(stap, 1), paden);
    QCOMPARE(stap.huidigeRij(), 0);

    // Delete with Shift, or with no row selected, removes nothing.
    stap.ZetSelectie({1}, 1);
    stap.ToetsInLijst(Qt::Key_Delete, Qt::ShiftModifier);
    stap.ToetsInLijst(Qt::Key_Backspace, Qt::NoModifier);
    QCOMPARE(stap.rijen().size(), 3);
    stap.ToetsInLijst(Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(kolom(stap, 1), (QStringList{paden.at(0), paden.at(2)}));
    QVERIFY(laatste(kanVerder));
    QCOMPARE(globals().gBronnen.size(), 3); // the description stays known
    stap.ToetsInLijst(Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(stap.rijen().size(), 2);

    stap.Finish();
    QCOMPARE(definities(), (QStringList{"File1", "File2"}));
    QCOMPARE(eersteRegel(QStringLiteral("File1")), paden.at(0));
    QCOMPARE(eersteRegel(QStringLiteral("File2")), paden.at(2));
    QCOMPARE(globals().gBronnenGeselecteerd.size(), 2);
    QCOMPARE(globals().gBronnenGeselecteerd.at(1)->BronPad, paden.at(2));
    // The new set is in place of the old one: nothing else is left in the folder.
    QCOMPARE(QDir(definitieMap()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"File1", "File2"}));

    // Several selected rows go at once.
    opnieuw(stap);
    stap.ZetSelectie({0, 1}, 1);
    stap.ToetsInLijst(Qt::Key_Delete, Qt::NoModifier);
    QVERIFY(stap.rijen().isEmpty());
    QVERIFY(!laatste(kanVerder));
}

void StapSelectBronBestandenTest::verdwenenBron()
{
    const QStringList paden = bewaardeBronnen();
    QVERIFY(QFile::remove(paden.at(1)));

    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    opnieuw(stap);
    QCOMPARE(kolom(stap, 1), (QStringList{paden.at(0), paden.at(2)}));
    QVERIFY(m_ui->messages.isEmpty());
    // Its definition stays until the next save, which no longer writes it.
    QCOMPARE(definities().size(), 3);
    stap.Finish();
    QCOMPARE(definities(), (QStringList{"File1", "File2"}));
    QCOMPARE(eersteRegel(QStringLiteral("File2")), paden.at(2));
}

void StapSelectBronBestandenTest::nietsAangevinkt()
{
    const QStringList paden{csv(QStringLiteral("a.csv")), csv(QStringLiteral("b.csv"))};
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    voegToe(stap, paden);
    QVERIFY(laatste(kanVerder));
    stap.VinkRij(0, false);
    QVERIFY(laatste(kanVerder));
    stap.VinkRij(1, false);
    QVERIFY(!laatste(kanVerder));
    stap.VinkRij(1, true);
    QVERIFY(laatste(kanVerder));

    stap.Finish();
    QCOMPARE(globals().gBronnenGeselecteerd.size(), 1);
    QCOMPARE(globals().gBronnenGeselecteerd.at(0)->BronPad, paden.at(1));
    QVERIFY(!globals().gBronnen.at(0)->Geselecteerd);

    // The unchecked source is saved too, and comes back unchecked.
    opnieuw(stap);
    QCOMPARE(stap.rijen().size(), 2);
    QVERIFY(!stap.rijen().at(0).aangevinkt);
    QVERIFY(stap.rijen().at(1).aangevinkt);
    QVERIFY(laatste(kanVerder));

    // Entering again without going back keeps the list as it is.
    stap.VinkRij(1, false);
    stap.Init();
    QVERIFY(!stap.rijen().at(1).aangevinkt);
    QVERIFY(!laatste(kanVerder));
}

void StapSelectBronBestandenTest::eigenschappen_data()
{
    QTest::addColumn<int>("soort");
    QTest::addColumn<QStringList>("regels");
    QTest::newRow("Holonite werkmap met definitie")
        << 0
        << QStringList{"Bestand: /data/Holonite prijzen.xlsx",
                       "Type: XLS",
                       "Sheets: 3",
                       "Sheetnamen: |Dorpels$|Neuten$|Bewerkingen$",
                       "Holonite: Ja",
                       "Kolommen: 14",
                       "Duplicaten: Ja",
                       "Scheidingsteken: ",
                       "Quotes: Nee",
                       "Applicatie: ",
                       "Databasetype: ",
                       "Versie: 0.0",
                       "Omschrijving: Artikelen",
                       "Grootte: 12345",
                       "Laatste wijziging: 05-03-2024 14:07:09",
                       "Geselecteerd: Waar",
                       "Artikeltype: 3",
                       "Combitype: -1",
                       "Importdefinitie:",
                       "\t1:24",
                       "\t2:1",
                       "\t3:0"};
    QTest::newRow("database zonder definitie")
        << 1
        << QStringList{"Bestand: /data/opties.mdb",  "Type: Bvq",          "Kolommen: 0",
                       "Duplicaten: Nee",            "Scheidingsteken: ;", "Quotes: Ja",
                       "Applicatie: VELMORA",        "Databasetype: OPTIONS", "Versie: 3.40",
                       "Omschrijving: Tabellen/Combies", "Grootte: 2048", "Laatste wijziging: 31-12-2023 23:59:00",
                       "Geselecteerd: Onwaar",       "Artikeltype: 0",     "Combitype: 0",
                       "Importdefinitie:\t\tNiet aanwezig"};
}

void StapSelectBronBestandenTest::eigenschappen()
{
    QFETCH(int, soort);
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    clsBron2 bron;
    if (soort == 0) {
        bron.BronPad = QStringLiteral("/data/Holonite prijzen.xlsx");
        bron.BestandsNaam = QStringLiteral("Holonite prijzen.xlsx");
        bron.IsExcel = true;
        bron.AantalSheets = 3;
        bron.SheetNamen = QStringLiteral("|Dorpels$|Neuten$|Bewerkingen$");
        bron.AantalKolommen = 14;
        bron.EersteKolomHerhaald = true;
        bron.Soort = BronSoort::Artikelen;
        bron.Grootte = 12345;
        bron.LaatstGewijzigd = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
        bron.ArtikelType = 3;
        bron.CombiType = -1;
        bron.KolomSoorten = {24, 1, 0};
    } else {
        bron.BronPad = QStringLiteral("/data/opties.mdb");
        bron.IsJetDatabase = true;
        bron.Scheidingsteken = QStringLiteral(";");
        bron.MetAanhalingstekens = true;
        bron.AppType = QStringLiteral("VELMORA");
        bron.DBType = QStringLiteral("OPTIONS");
        bron.VerMajor = 3;
        bron.VerMinor = 40;
        bron.Soort = BronSoort::TabellenCombies;
        bron.Grootte = QStringLiteral("2048"); // as a template gives it back
        bron.LaatstGewijzigd = QDateTime(QDate(2023, 12, 31), QTime(23, 59, 0));
        bron.Geselecteerd = false;
    }
    QTEST(StapSelectBronBestanden::Eigenschappen(bron), "regels");
    QLocale::setDefault(QLocale::system());
}

void StapSelectBronBestandenTest::geenProgrammaGegevensMap()
{
    // Saved once where the application-data folder is.
    const QStringList paden{csv(QStringLiteral("a.csv")), csv(QStringLiteral("b.csv"))};
    StapSelectBronBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    voegToe(stap, paden);
    stap.Finish();
    QCOMPARE(definities().size(), 2);
    const QString map = definitieMap();

    // Without an application-data folder nothing is deleted, not even "File" files of the current folder,
    // and the user is told.
    const QString hier = bestand(QStringLiteral("werkmap/File1"), "van iemand anders");
    const QString vorige = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QFileInfo(hier).absolutePath()));
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (bestand(QStringLiteral("geen-map"), "x") + QStringLiteral("/sub")).toUtf8());
    m_ui->clear();
    stap.ToetsInLijst(Qt::Key_Delete, Qt::NoModifier);
    stap.Finish();
    qputenv("XDG_DATA_HOME", dataHome);
    QDir::setCurrent(vorige);

    QVERIFY(!m_ui->messages.isEmpty());
    QCOMPARE(m_ui->messages.last().text,
             QStringLiteral("De brondefinities van deze leverancier zijn niet opgeslagen: er is geen map voor de "
                            "gegevens van het programma.\r\nDe eerder opgeslagen brondefinities zijn ongewijzigd."));
    QCOMPARE(leesBestand(hier), QByteArray("van iemand anders"));
    QCOMPARE(QDir(map).entryList({QStringLiteral("File*")}, QDir::Files, QDir::Name),
             (QStringList{"File1", "File2"}));
}

void StapSelectBronBestandenTest::onveiligeLeveranciersCode()
{
    // A supplier code is one folder below the template folder, whatever it holds.
    const QString basis = BronDefinitieMap(QStringLiteral("X"));
    const QString boven = QFileInfo(basis).absolutePath();
    const QStringList codes{QStringLiteral("../../Ander"), QStringLiteral(".."), QStringLiteral("a/b\\c:d*e"),
                            QStringLiteral("CON"), QStringLiteral("Acme Kozijnen")};
    QStringList mappen;
    for (const QString& code : codes) {
        globals().gBronnen.clear();
        globals().gLeverancier->Code = code;
        const QString pad = csv(QStringLiteral("bron%1.csv").arg(mappen.size()));
        StapSelectBronBestanden stap;
        stap.setVensters(&m_vensters);
        stap.Init();
        voegToe(stap, {pad});
        stap.Finish();
        const QString map = definitieMap();
        QCOMPARE(QFileInfo(map).absolutePath(), boven);
        QVERIFY(QFileInfo(map).isDir());
        QCOMPARE(definities(), QStringList{QStringLiteral("File1")});
        mappen << QFileInfo(map).fileName();
        // The same code finds its definitions again.
        opnieuw(stap);
        QCOMPARE(kolom(stap, 1), QStringList{pad});
    }
    QCOMPARE(mappen.last(), QStringLiteral("Acme Kozijnen"));
    QCOMPARE(QDir(boven).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), codes.size());
    // Nothing was written above the template folder.
    QCOMPARE(QDir(QFileInfo(boven).absolutePath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("4.00")});
}

void StapSelectBronBestandenTest::kolombreedtes()
{
    {
        StapSelectBronBestanden stap;
        stap.Init();
        // The list's width is not known yet: no column is sized.
        QCOMPARE(stap.kolomBreedtes(), (QList<int>{-1, -1, -1}));
        stap.ZetLijstBreedte(6060);
        QCOMPARE(stap.kolomBreedtes(), (QList<int>{2400, 3000, 600}));
        stap.ZetKolomBreedte(1, 4500);
        stap.Finish();
    }
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("bronbestanden2width"), {}),
             QStringLiteral("4500"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("bronbestanden3width"), {}),
             QStringLiteral("600"));

    // Stored widths hold on the next first entry; a stored value that is no number gives the share.
    CurrentUser_BrengWeg(QStringLiteral("Columns"), QStringLiteral("bronbestanden3width"), QStringLiteral("breed"));
    globals().gBronnen.clear();
    StapSelectBronBestanden stap;
    stap.ZetLijstBreedte(3060);
    stap.Init();
    QCOMPARE(stap.kolomBreedtes(), (QList<int>{2400, 4500, 300}));
}

QTEST_GUILESS_MAIN(StapSelectBronBestandenTest)
#include "test_stapselectbronbestanden.moc"
