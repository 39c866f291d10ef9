// The column mapping of a CSV or workbook source: preview, the proposal from
// the first line, the saved mapping, the checks of OK and writing back.

#include "bronnentestutil.h"
#include "sources/clsbron2.h"
#include "sources/kolomtoewijzing.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

const QString kNiet = QStringLiteral("(Niet importeren)");

// A source description of a CSV file with the given text.
std::unique_ptr<clsBron2> csvBron(const QString& map, const QByteArray& inhoud, qint32 soort = 0)
{
    static int volgnummer = 0;
    const QString pad = map + QStringLiteral("/bron%1.csv").arg(++volgnummer);
    schrijfBestand(pad, inhoud);
    auto bron = std::make_unique<clsBron2>();
    bron->BronPad = pad;
    bron->BestandsNaam = QFileInfo(pad).fileName();
    bron->IsCSV = true;
    bron->MetAanhalingstekens = true;
    bron->Soort = soort;
    bron->KolomSoorten.clear();
    return bron;
}

// The model as the dialog sets it up: preview, header row, file type from the source.
KolomToewijzing opgezet(clsBron2& bron)
{
    KolomToewijzing model;
    model.LeesBron(bron);
    model.KiesBestandType(bron.Soort == 1 ? 1 : 0, bron);
    return model;
}

} // namespace

class MappingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { VulVeldCatalogus(); }

    void voorbeeld();
    void voorbeeldAanhalingstekens();
    void kolomTitels();
    void voorstelExacteNamen();
    void voorstelZonderTreffers();
    void voorstelBevatNaam();
    void voorstelPrijs();
    void voorstelKleurKolommen();
    void voorstelLegeKopCel();
    void voorstelCombiType_data();
    void voorstelCombiType();
    void bewaardePlan();
    void kolomControle();
    void verplichteVelden();
    void legeBestandOK();
    void typeKolom_data();
    void typeKolom();
    void terugschrijven();
    void onbekendeKopHoudtPosities();
    void annulerenLaatBronOnveranderd();
    void werkboek();

private:
    QTemporaryDir m_dir;
    TestEnvironment m_env;
};

void MappingTest::voorbeeld()
{
    QByteArray inhoud;
    for (int i = 0; i < 60; ++i)
        inhoud += (i % 10 == 5) ? QByteArray("  \r\n") : "A" + QByteArray::number(i) + ";b;c\r\n";
    auto bron = csvBron(m_dir.path(), inhoud);
    KolomToewijzing model;
    model.LeesBron(*bron);
    QCOMPARE(model.kolomAantal, 3);
    QCOMPARE(model.rijen.size(), 45); // 50 lines read, five of them blank
    QCOMPARE(model.koppen.size(), 3);
    QCOMPARE(model.kopKleuren.first(), KolomKleur::KopLeeg);

    model.LeesGeheleBestand(*bron);
    QCOMPARE(model.rijen.size(), 54);
    QCOMPARE(model.kolomAantal, 3);

    auto leeg = csvBron(m_dir.path(), QByteArray());
    KolomToewijzing leegModel;
    leegModel.LeesBron(*leeg);
    QCOMPARE(leegModel.kolomAantal, -1);
    QVERIFY(!leegModel.heeftKopRegel);
}

void MappingTest::voorbeeldAanhalingstekens()
{
    auto bron = csvBron(m_dir.path(), "\"a;b\";c\r\n");
    KolomToewijzing met;
    met.LeesBron(*bron);
    QCOMPARE(met.kolomAantal, 2);
    bron->MetAanhalingstekens = false;
    KolomToewijzing zonder;
    zonder.LeesBron(*bron);
    QCOMPARE(zonder.kolomAantal, 3);
}

void MappingTest::kolomTitels()
{
    QCOMPARE(KolomToewijzing::KolomTitel(0), QStringLiteral("A"));
    QCOMPARE(KolomToewijzing::KolomTitel(25), QStringLiteral("Z"));
    QCOMPARE(KolomToewijzing::KolomTitel(26), QStringLiteral("["));
}

void MappingTest::voorstelExacteNamen()
{
    auto bron = csvBron(m_dir.path(), "code;OMSCHRIJVING;Prijs/eenheid\r\nA1;Deur;12\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen, QStringList({"Code", "Omschrijving", "Prijs/Eenheid"}));
    QCOMPARE(model.kopKleuren, QList<QRgb>(3, KolomKleur::KopGekozen));
    QVERIFY(model.nietEersteRijImporteren);
    QVERIFY(model.artikelTypeZichtbaar);
    QVERIFY(!model.combiTypeZichtbaar);
}

void MappingTest::voorstelZonderTreffers()
{
    auto bron = csvBron(m_dir.path(), "qq;ww;zz\r\nqq;;zz\r\n;;\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen, QStringList({"", kNiet, ""}));
    QCOMPARE(model.kopKleuren.at(1), KolomKleur::KopLeegVoorstel);
    QCOMPARE(model.kopKleuren.at(0), KolomKleur::KopLeeg);
    QVERIFY(!model.nietEersteRijImporteren);
}

void MappingTest::voorstelBevatNaam()
{
    // An earlier column that contains a name takes the field before a later exact one; a single
    // letter that is part of the first entry takes that entry.
    auto bron = csvBron(m_dir.path(), "Code artikel;Code;T\r\nA;B;C\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen.at(0), QStringLiteral("Code"));
    QCOMPARE(model.koppen.at(2), kNiet);
    QCOMPARE(model.kopKleuren.at(2), KolomKleur::KopGekozen);
    QVERIFY(model.koppen.at(1) != QStringLiteral("Code"));
}

void MappingTest::voorstelPrijs()
{
    auto bron = csvBron(m_dir.path(), "Prijs incl;Prijs excl\r\n1;2\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen.at(0), QStringLiteral("Prijs/Eenheid"));
    QCOMPARE(model.koppen.at(1), QString());
    QVERIFY(model.nietEersteRijImporteren);
}

void MappingTest::voorstelKleurKolommen()
{
    auto bron = csvBron(m_dir.path(), " Foly Buiten ;FOLY BUITEN;foly binnen;kleur massa\r\nr;r;r;r\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen, QStringList({"Kleur Voorzijde", "Kleur Voorzijde", "Kleur Achterzijde", kNiet}));
    QVERIFY(!model.nietEersteRijImporteren);

    // The hardware catalogue has no colour fields: once containment has given "Y" away, the next
    // colour column falls to the empty-column rule.
    auto hang = csvBron(m_dir.path(), "foly buiten;foly binnen;z\r\n;;z\r\n", 1);
    KolomToewijzing hangModel = opgezet(*hang);
    QCOMPARE(hangModel.koppen.at(0), QStringLiteral("Y"));
    QCOMPARE(hangModel.koppen.at(1), kNiet);
    QCOMPARE(hangModel.kopKleuren.at(1), KolomKleur::KopLeegVoorstel);
}

void MappingTest::voorstelLegeKopCel()
{
    auto bron = csvBron(m_dir.path(), ";Code\r\n;A\r\n");
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen.at(0), QString());
}

void MappingTest::voorstelCombiType_data()
{
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<int>("combiType");
    QTest::newRow("3 kolommen") << QByteArray("a;b;c\r\n") << 1;
    QTest::newRow("4 kolommen") << QByteArray("a;b;c;d\r\n") << 0;
}

void MappingTest::voorstelCombiType()
{
    QFETCH(QByteArray, inhoud);
    QFETCH(int, combiType);
    auto bron = csvBron(m_dir.path(), inhoud, 1);
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.bestandType, 1);
    QCOMPARE(model.combiType, combiType);
    QVERIFY(model.combiTypeZichtbaar);
    QVERIFY(!model.artikelTypeZichtbaar);
}

void MappingTest::bewaardePlan()
{
    auto bron = csvBron(m_dir.path(), "Code;Omschrijving;x\r\nA;B;C\r\n");
    bron->KolomSoorten = {2, 1};
    bron->EersteRijImporteren = true;
    bron->ArtikelType = -1;
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen, QStringList({"Omschrijving", "Code", ""}));
    QCOMPARE(model.kopKleuren.at(0), KolomKleur::KopGekozen);
    QCOMPARE(model.kopKleuren.at(2), KolomKleur::KopLeeg);
    QVERIFY(!model.nietEersteRijImporteren);
    QCOMPARE(model.artikelType, -1);

    bron->ArtikelType = 5;
    bron->EersteRijImporteren = false;
    KolomToewijzing tweede = opgezet(*bron);
    QCOMPARE(tweede.artikelType, 5);
    QVERIFY(tweede.nietEersteRijImporteren);
}

void MappingTest::kolomControle()
{
    KolomToewijzing model;
    model.KiesVeldCatalogus();
    model.koppen = {"Omschrijving", "Code", kNiet, kNiet, "Code", ""};
    QStringList regels;
    QVERIFY(!model.ColumnsOptionsSet(regels));
    QCOMPARE(regels, QStringList({"Kolom 5 is gelijk aan kolom 2", "Kolom 6 is leeg"}));

    model.koppen = {"Code", "Code", "Code"};
    regels.clear();
    QVERIFY(!model.ColumnsOptionsSet(regels));
    QCOMPARE(regels, QStringList({"Kolom 2 is gelijk aan kolom 1", "Kolom 3 is gelijk aan kolom 1",
                                  "Kolom 3 is gelijk aan kolom 2"}));
}

void MappingTest::verplichteVelden()
{
    KolomToewijzing model;
    model.KiesVeldCatalogus();
    model.koppen = {"Code", "Omschrijving + Offerte Omschrijving"};
    QStringList regels;
    QVERIFY(model.VerplichteVeldenSet(regels));
    model.koppen = {"Breedte"};
    QVERIFY(!model.VerplichteVeldenSet(regels));
    QCOMPARE(regels, QStringList({"Code", "Omschrijving"}));
}

void MappingTest::legeBestandOK()
{
    RecordingUiServices ui;
    auto bron = csvBron(m_dir.path(), QByteArray());
    bron->ArtikelType = -1;
    KolomToewijzing model = opgezet(*bron);
    QVERIFY(!model.Bevestig(*bron));
    QCOMPARE(ui.messages.last().text, QStringLiteral("Selecteer het gewenste artikeltype!"));
    QCOMPARE(ui.messages.last().style, int(MsgBox::Critical));
    QCOMPARE(ui.messages.last().title, QString::fromLatin1(kProgramTitle));
    model.artikelType = 3;
    QVERIFY(!model.Bevestig(*bron));
    QCOMPARE(ui.messages.last().text,
             QStringLiteral("Er is geen kolom geselecteerd voor: \r\n\r\nCode\r\nOmschrijving"));
    QCOMPARE(bron->ArtikelType, -1); // nothing written while a check fails
}

void MappingTest::typeKolom_data()
{
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<bool>("geldig");
    QTest::addColumn<int>("artikelType");
    QTest::addColumn<QString>("bericht");
    QTest::newRow("7 en 12") << QByteArray("q;7\r\nq;12\r\n") << true << 12 << QString();
    QTest::newRow("leeg is 0") << QByteArray("q;7\r\nq;\r\n") << true << 0 << QString();
    QTest::newRow("drie tekens") << QByteArray("q;7\r\nq;123\r\n") << false << 7
                                 << QStringLiteral("Deze kolom bevat geen geldige gegevens voor de kolom "
                                                   "artikeltype!\r\n\r\n123");
    QTest::newRow("30") << QByteArray("q;30\r\n") << false << -1 << QStringLiteral("Ongeldig type");
    QTest::newRow("negatief") << QByteArray("q;-1\r\n") << false << -1 << QStringLiteral("Ongeldig type");
}

void MappingTest::typeKolom()
{
    QFETCH(QByteArray, inhoud);
    QFETCH(bool, geldig);
    QFETCH(int, artikelType);
    QFETCH(QString, bericht);
    RecordingUiServices ui;
    auto bron = csvBron(m_dir.path(), inhoud);
    bron->ArtikelType = -1;
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.KopGewijzigd(1, QStringLiteral("(Artikeltype)")), geldig);
    QCOMPARE(model.artikelType, artikelType);
    if (geldig) {
        QCOMPARE(model.kopKleuren.at(1), KolomKleur::KopGekozen);
        QVERIFY(!model.artikelTypeZichtbaar);
        QVERIFY(ui.messages.isEmpty());
    } else {
        QCOMPARE(model.koppen.at(1), QString());
        QCOMPARE(model.kopKleuren.at(1), KolomKleur::KopLeeg);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, bericht);
        QCOMPARE(ui.messages.first().style, int(MsgBox::OkOnly));
    }
}

void MappingTest::terugschrijven()
{
    RecordingUiServices ui;
    auto bron = csvBron(m_dir.path(), "Code;Omschrijving;Type\r\nA;B;4\r\n");
    bron->ArtikelType = 2;
    bron->CombiType = 1;
    KolomToewijzing model = opgezet(*bron);
    QVERIFY(model.nietEersteRijImporteren);
    QVERIFY(model.KopGewijzigd(2, QStringLiteral("(Artikeltype)")));
    QVERIFY(model.Bevestig(*bron));
    QCOMPARE(bron->KolomSoorten, QList<qint32>({1, 2, 24}));
    QVERIFY(!bron->EersteRijImporteren);
    QCOMPARE(bron->Soort, 0);
    QCOMPARE(bron->ArtikelType, -1); // the type comes from the column
    QCOMPARE(bron->CombiType, -1);

    // Hardware tables, first line imported.
    auto hang = csvBron(m_dir.path(), "A1;Omschr;x;y\r\n", 1);
    KolomToewijzing hangModel = opgezet(*hang);
    hangModel.koppen = {"Code", "Omschrijving", "X", kNiet};
    hangModel.nietEersteRijImporteren = false;
    QVERIFY(hangModel.Bevestig(*hang));
    QCOMPARE(hang->KolomSoorten, QList<qint32>({1, 2, 111, 0}));
    QVERIFY(hang->EersteRijImporteren);
    QCOMPARE(hang->Soort, 1);
    QCOMPARE(hang->ArtikelType, -1);
    QCOMPARE(hang->CombiType, 0);
}

void MappingTest::onbekendeKopHoudtPosities()
{
    // A saved hardware mapping shown with the article catalogue: "X" names no article field.
    auto bron = csvBron(m_dir.path(), "a;b;c\r\n");
    bron->KolomSoorten = {111, 1, 2};
    bron->ArtikelType = 0;
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.koppen.first(), QStringLiteral("X"));
    QVERIFY(model.Bevestig(*bron));
    QCOMPARE(bron->KolomSoorten, QList<qint32>({0, 1, 2}));
}

void MappingTest::annulerenLaatBronOnveranderd()
{
    auto bron = csvBron(m_dir.path(), "Code;Omschrijving\r\n");
    bron->ArtikelType = 4;
    KolomToewijzing model = opgezet(*bron);
    model.koppen = {"Omschrijving", "Code"};
    // Nothing is written before OK.
    QVERIFY(bron->KolomSoorten.isEmpty());
    QCOMPARE(bron->ArtikelType, 4);
}

void MappingTest::werkboek()
{
    OpenersTerug terug;
    const QString pad = m_dir.filePath(QStringLiteral("lijst.xlsx"));
    {
        lxw_workbook* boek = workbook_new(pad.toLocal8Bit().constData());
        lxw_worksheet* blad = workbook_add_worksheet(boek, "Prijzen");
        worksheet_write_string(blad, 0, 0, "Code", nullptr);
        worksheet_write_string(blad, 0, 1, "Omschrijving", nullptr);
        for (int r = 1; r < 80; ++r) {
            worksheet_write_string(blad, r, 0, QByteArray("A" + QByteArray::number(r)).constData(), nullptr);
            worksheet_write_string(blad, r, 1, "Deur", nullptr);
        }
        QCOMPARE(workbook_close(boek), LXW_NO_ERROR);
    }
    auto bron = std::make_unique<clsBron2>();
    bron->BronPad = pad;
    bron->IsExcel = true;
    bron->Soort = 0;
    bron->KolomSoorten.clear();
    KolomToewijzing model = opgezet(*bron);
    QCOMPARE(model.kolomAantal, 2);
    QCOMPARE(model.rijen.size(), 49);
    QCOMPARE(model.rijen.first().first(), QStringLiteral("Code")); // the first row arrives as data
    QCOMPARE(model.koppen, QStringList({"Code", "Omschrijving"}));
    QVERIFY(model.nietEersteRijImporteren);
    model.LeesGeheleBestand(*bron);
    QCOMPARE(model.rijen.size(), 80);
}

QTEST_GUILESS_MAIN(MappingTest)
#include "test_mapping.moc"
