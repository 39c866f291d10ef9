// Reading a supplier's article workbook: the first or a named sheet, the
// title row, the Holonite and Deceuninck layouts, rows that fail, and
// workbooks that cannot be read.

#include "leestestsupport.h"

#include "import/bronbestandlezer.h"

#include "database/clsconnectie.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QTest>
#include <QVariant>

#include <xlsxwriter.h>

using namespace supplink;
using namespace supplink::test;

namespace {

struct Blad
{
    const char* naam;
    QList<QVariantList> rijen; // a QString or a double per cell; an invalid QVariant leaves the cell empty
};

bool schrijfWerkmap(const QString& path, const QList<Blad>& bladen)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return false;
    for (const Blad& blad : bladen) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, blad.naam);
        for (int r = 0; r < blad.rijen.size(); ++r) {
            for (int c = 0; c < blad.rijen.at(r).size(); ++c) {
                const QVariant& v = blad.rijen.at(r).at(c);
                if (v.typeId() == QMetaType::Double)
                    worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), v.toDouble(), nullptr);
                else if (v.isValid())
                    worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                           v.toString().toUtf8().constData(), nullptr);
            }
        }
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

struct Bron
{
    clsBron2 bron;
    explicit Bron(const QString& path, QList<qint32> kolommen = {})
    {
        bron.BronPad = path;
        bron.IsExcel = true;
        bron.KolomSoorten = std::move(kolommen);
    }
};

} // namespace

class TestLeesExcelBestand : public QObject
{
    Q_OBJECT

    TestEnvironment* m_env = nullptr;

    QString werkmap(const QString& naam, const QList<Blad>& bladen)
    {
        const QString path = m_env->path(naam);
        if (!schrijfWerkmap(path, bladen))
            qFatal("workbook not written");
        return path;
    }

private slots:
    void init()
    {
        m_env = new TestEnvironment;
        globals().gLeverancierPrefix.clear();
        // The tests need the workbook reader behind the connection object: when it cannot open a
        // plain workbook, every test fails here with the reason.
        RecordingUiServices ui;
        const QString proef = werkmap("proef.xlsx", {{"Blad1", {{QStringLiteral("x")}}}});
        clsConnectie cn;
        const bool geopend = cn.MakenExcelConnectie(proef, false);
        const QString reden = !ui.errors.isEmpty()     ? ui.errors.first().message
                              : !ui.messages.isEmpty() ? ui.messages.first().text
                                                       : QString();
        QVERIFY2(geopend, qPrintable(QStringLiteral("the workbook reader refused a plain workbook: ") + reden));
        cn.SluitenConnectie();
    }

    void cleanup()
    {
        delete m_env;
        m_env = nullptr;
        globals().gLeverancierPrefix.clear();
    }

    void firstSheet()
    {
        RecordingUiServices ui;
        const QString path =
            werkmap("artikelen.xlsx",
                    {{"Artikelen",
                      {{QStringLiteral("Code"), QStringLiteral("Omschrijving"), QStringLiteral("Prijs")},
                       {QStringLiteral(" A1 "), QString::fromUtf8("Drempel één"), 12.5},
                       {QStringLiteral("B2"), QStringLiteral("Neut"), 7.0}}},
                     {"Tweede", {{QStringLiteral("Z")}}}});
        Bron b(path, {1, 2, 10});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels(),
                 (QList<QStringList>{{"A1", QString::fromUtf8("Drempel één"), "12.5"}, {"B2", "Neut", "7"}}));
        QCOMPARE(opnemer.totalen, QList<qint32>{4});
        QVERIFY(opnemer.fouten.isEmpty());
        QVERIFY(ui.messages.isEmpty());
    }

    void titleRowOnly()
    {
        RecordingUiServices ui;
        const QString path =
            werkmap("titel.xlsx", {{"Blad1", {{QStringLiteral("Code"), QStringLiteral("Omschr")}}}});
        Bron b(path, {1, 2});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, QStringLiteral("Geen artikelen aangetroffen in ") + path + " !");
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void rowsWithoutCodesInListMode()
    {
        RecordingUiServices ui;
        const QString path = werkmap("leeg.xlsx", {{"Blad1",
                                                    {{QStringLiteral("Code"), QStringLiteral("Omschr")},
                                                     {QVariant(), QStringLiteral("Een")},
                                                     {QVariant(), QStringLiteral("Twee")}}}});
        Bron b(path, {1, 2});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(lezer.InlezenBestand(b.bron, true));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, QStringLiteral("Geen artikelen aangetroffen in ") + path + " !");
        QVERIFY(opnemer.fouten.isEmpty());
    }

    void failingRowsAreCountedAndTheReadingGoesOn()
    {
        RecordingUiServices ui;
        const QString path = werkmap("smal.xlsx", {{"Blad1",
                                                    {{QStringLiteral("Code"), QStringLiteral("Omschr")},
                                                     {QStringLiteral("A"), QStringLiteral("Een")},
                                                     {QStringLiteral("B"), QStringLiteral("Twee")}}}});
        Bron b(path, {1, 2, 0, 4}); // the group column lies beyond the sheet's columns
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        lezer.InlezenBestandArtikelGroepen(b.bron, true);
        QCOMPARE(ui.errors.size(), 2);
        QCOMPARE(opnemer.fouten, (QList<qint32>{1, 2}));
        QVERIFY(lezer.ColItemsDistinct()->isEmpty());
    }

    void holonite()
    {
        RecordingUiServices ui;
        globals().gLeverancierPrefix = QStringLiteral("ROTO_");
        const QVariantList titel = {QStringLiteral("Type"), QStringLiteral("Code"), QStringLiteral("Omschr")};
        // Sheets in another order than they are read.
        const QString path =
            werkmap("holonite.xlsx",
                    {{"neuten", {titel, {1.0, QStringLiteral("N1"), QStringLiteral("Neut")}}},
                     {"dorpels", {titel, {2.0, QStringLiteral("D1"), QStringLiteral("Dorpel")}}},
                     {"bewerkingen", {titel, {3.0, QStringLiteral("B1"), QStringLiteral("Boring")}}}});
        Bron b(path, {1});
        b.bron.AantalSheets = 3;
        b.bron.SheetNamen = QStringLiteral("|neuten|dorpels|bewerkingen");
        QVERIFY(b.bron.Holonite());
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(b.bron.GetColumnFor(1), 2); // the workbook's own column map
        QCOMPARE(lezer.GelezenRegels(),
                 (QList<QStringList>{
                     {"2", "ROTO_D1", "Dorpel"}, {"1", "ROTO_N1", "Neut"}, {"3", "ROTO_B1", "Boring"}}));
    }

    void holoniteWithoutAllSheets()
    {
        RecordingUiServices ui;
        const QVariantList rij = {1.0, QStringLiteral("D1"), QStringLiteral("Dorpel")};
        const QString path = werkmap("half.xlsx", {{"dorpels", {rij, rij}}, {"neuten", {rij, rij}}});
        Bron b(path);
        b.bron.AantalSheets = 3;
        b.bron.SheetNamen = QStringLiteral("|dorpels|neuten|bewerkingenoud");
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void deceuninckEanLayout()
    {
        RecordingUiServices ui;
        globals().gLeverancierPrefix = QStringLiteral("ROTO_"); // the layout replaces the code instead
        const QString path =
            werkmap("deceuninck.xlsx", {{"Prijzen",
                                         {{QStringLiteral("Artikel"), QStringLiteral("Kleur"), "c", "d", "e",
                                           QStringLiteral("EAN code"), QStringLiteral("Omschr")},
                                          {QStringLiteral("X100"), QStringLiteral("Wit"), "", "", "",
                                           QStringLiteral("5410"), QStringLiteral("Profiel")}}}});
        Bron b(path, {1, 2});
        b.bron.KolomKoppen = QStringLiteral("|Artikel|Kleur|c|d|e|EAN code|Omschr");
        QCOMPARE(b.bron.DeceuninckType(), 6);
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels().size(), 1);
        const QStringList regel = lezer.GelezenRegels().first();
        QCOMPARE(regel.first(), QStringLiteral("5410"));
        QCOMPARE(regel.at(1), QStringLiteral("Wit"));
        QCOMPARE(regel.at(5), QStringLiteral("5410"));
    }

    void sharedReader_data()
    {
        QTest::addColumn<bool>("trimmen");
        QTest::addColumn<bool>("stoppen");
        QTest::addColumn<int>("uitkomst");
        QTest::addColumn<QList<QStringList>>("rijen");
        QTest::newRow("trimmed, a refused row passed over")
            << true << false << int(BronBestandLezer::Uitkomst::Voltooid)
            << QList<QStringList>{{"A", "1"}, {"X", "2"}, {"B", "3"}};
        QTest::newRow("as written, a refused row stops")
            << false << true << int(BronBestandLezer::Uitkomst::Afgebroken)
            << QList<QStringList>{{" A ", "1"}, {"X", "2"}};
    }

    // The shared row reader on a worksheet, by the rules another file import sets.
    void sharedReader()
    {
        QFETCH(bool, trimmen);
        QFETCH(bool, stoppen);
        QFETCH(int, uitkomst);
        QFETCH(QList<QStringList>, rijen);
        const QString path = werkmap("rijen.xlsx", {{"Blad1",
                                                     {{QStringLiteral("Code"), QStringLiteral("N")},
                                                      {QStringLiteral(" A "), 1.0},
                                                      {QStringLiteral("X"), 2.0},
                                                      {QStringLiteral("B"), 3.0}}}});
        RijOpnemer beleid;
        BronBestandLezer::Regels regels;
        regels.eersteRijOverslaan = true;
        regels.excelCellenTrimmen = trimmen;
        regels.excelRijFoutStopt = stoppen;
        BronBestandLezer lezer(beleid, regels);
        beleid.lezer = &lezer;
        QCOMPARE(int(lezer.LeesExcel(path)), uitkomst);
        QCOMPARE(beleid.rijen, rijen);
        QCOMPARE(beleid.regelNummers.last(), qint32(rijen.size()));
        QCOMPARE(beleid.meldingen, QStringList{"begin"});
    }

    void sharedReaderWorkbookFailures()
    {
        RecordingUiServices ui;
        const QString kapot = m_env->path("kapot.xlsx");
        schrijf(kapot, "dit is geen werkmap");
        const QString leeg = werkmap("leeg.xlsx", {{"Blad1", {{QStringLiteral("x")}}}, {"Leeg", {}}});

        RijOpnemer beleid;
        BronBestandLezer lezer(beleid, {});
        beleid.lezer = &lezer;
        QCOMPARE(lezer.LeesExcel(m_env->path("weg.xlsx")), BronBestandLezer::Uitkomst::Afgebroken);
        QCOMPARE(lezer.LeesExcel(kapot), BronBestandLezer::Uitkomst::Afgebroken);
        QCOMPARE(lezer.LeesExcel(leeg, QStringLiteral("Anders$")), BronBestandLezer::Uitkomst::Afgebroken);
        // A sheet without a row gives no row at all; the policy hears which sheet.
        QCOMPARE(lezer.LeesExcel(leeg, QStringLiteral("Leeg$")), BronBestandLezer::Uitkomst::Leeg);
        QCOMPARE(beleid.meldingen, (QStringList{"begin", "niet gevonden", "begin", "openen mislukt", "begin",
                                                "leesfout", "begin", "geen rijen Leeg$"}));
        QVERIFY(beleid.rijen.isEmpty());

        // A policy that does not have the workbook looked for hears of a missing one as one that does not
        // open.
        RijOpnemer zonderZoeken;
        BronBestandLezer::Regels regels;
        regels.excelZoeken = false;
        BronBestandLezer lezer2(zonderZoeken, regels);
        zonderZoeken.lezer = &lezer2;
        QCOMPARE(lezer2.LeesExcel(m_env->path("weg.xlsx")), BronBestandLezer::Uitkomst::Afgebroken);
        QCOMPARE(zonderZoeken.meldingen, (QStringList{"begin", "openen mislukt"}));
    }

    void unreadableWorkbook()
    {
        RecordingUiServices ui;
        const QString path = m_env->path("kapot.xlsx");
        schrijf(path, "dit is geen werkmap");
        Bron b(path, {1});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, QStringLiteral("Openen bestand mislukt!\r\n\r\n") + path);
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void missingWorkbook()
    {
        RecordingUiServices ui;
        const QString path = m_env->path("weg.xlsx");
        Bron b(path, {1});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QCOMPARE(ui.messages.first().text, QStringLiteral("Bestand '") + path + "' niet gevonden!");
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }
};

QTEST_GUILESS_MAIN(TestLeesExcelBestand)
#include "test_leesexcelbestand.moc"
