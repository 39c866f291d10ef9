// Numbers and dates of a Dutch supplier's price list: decimal commas and
// grouping points in prices, centimetre columns times ten, date columns in
// every common form, and one whole import of a Windows-1252 CSV list with a
// title row and of the same list as a workbook; an XML material export,
// whose lengths are millimetres already. CTest runs this program under
// C.UTF-8 and under nl_NL.UTF-8; every expected value is the same in both.

#include "leestestsupport.h"
#include "werkmaptestsupport.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "import/standaardimportplan.h"
#include "start/leverancier.h"
#include "start/sharedroutines.h"
#include "start/taalomgeving.h"

#include <QDate>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// Code, description, a price by the default plan's template, and a centimetre, a whole-number
// centimetre and a date column; all but the code and description are written on update too.
const QStringList kPlan = {
    "TABEL ( Article )",
    "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
    "VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Nee ; Nee ; Nee )",
    "VELD ( Ja  ; PriceUnit          ; Numeriek     ; Nee ; Nee ; Ja  ; Nee ; Nee ; . )",
    "VELD ( Ja ; HWork ; Numeriek ; Nee ; Nee ; Ja ; Ja ; Nee ; . )",
    "VELD ( Ja ; PositionGLVG ; Numeriek ; Nee ; Nee ; Ja ; Ja ; Nee ; . )",
    "VELD ( Ja ; LastModified ; Datum ; Nee ; Nee ; Ja ; Nee ; Nee )",
};

// Column kinds of the price list: code, description, group, unit price, width, last change, piece price.
const QList<qint32> kKolommen = {1, 2, 4, 10, 13, 16, 23};

// The price list as a supplier writes it: a title row, decimal commas, grouping points, euro signs,
// Windows-1252 ("\x80" is the euro sign, "\xe9" e acute, "\x96" an en dash).
const QByteArray kPrijslijst = "Code;Omschrijving;Artikelgroep;Prijs;Breedte;Gewijzigd;Stukprijs\r\n"
                               "HS-100;Dorpel hardsteen 100 mm;Dorpels hardsteen;12,50;6,7;05-03-2024;"
                               "\x80 1.234,56\r\n"
                               "HS-120;Dorpel hardsteen 120 mm \x96 grijs;Dorpels hardsteen;1.234,56;12,5;"
                               "2024-03-05 10:00:00;7,25 EUR\r\n"
                               "NT-01;Neut caf\xe9;Neuten;\x80 3,75;10;20240305;0,5\r\n";

// The rows the price list leaves in the product table, whatever its form and the locale: code,
// description, group, unit price, width, day of the last change, piece price.
const QStringList kVerwacht = {
    // An existing article: its description and width stay, its prices and date are updated.
    "HS-100|Bestaand|Neuten|12.5|500|2024-03-05|1234.56",
    "HS-120|Dorpel hardsteen 120 mm \u2013 grijs|Dorpels hardsteen|1234.56|125|2024-03-05|7.25",
    "NT-01|Neut caf\u00e9|Neuten|3.75|100|2024-03-05|0.5",
};

QString getalTekst(const QVariant& waarde)
{
    return waarde.isNull() ? QStringLiteral("NULL") : QString::number(waarde.toDouble(), 'g', 15);
}

QStringList artikelRijen(const QString& pad)
{
    fixtures::FixtureDb db(pad);
    const RecordsetPtr rs = db.connection()->openRecordset(
        "SELECT a.Code, a.Description, g.Description AS Groep, a.PriceUnit, a.w, date(a.LastModified) AS "
        "Dag, "
        "a.PriceOrder FROM Article a LEFT JOIN ArtGroup g ON g.ID = a.fkGroup ORDER BY a.Code");
    QStringList rijen;
    for (; !rs->eof(); rs->moveNext()) {
        rijen << QStringList{NzString(rs->value("Code")),        NzString(rs->value("Description")),
                             NzString(rs->value("Groep")),       getalTekst(rs->value("PriceUnit")),
                             getalTekst(rs->value("w")),         NzString(rs->value("Dag")),
                             getalTekst(rs->value("PriceOrder"))}
                     .join('|');
    }
    return rijen;
}

// A product table with the group "Neuten" and the article HS-100.
void vulProductentabel(const QString& pad)
{
    fixtures::FixtureDb db(pad);
    const qint64 neuten = db.insert("ArtGroup", {{"Code", "NT"}, {"Description", "Neuten"}, {"OrderNr", 1}});
    db.insert("Article", {{"Code", "HS-100"},
                          {"Description", "Bestaand"},
                          {"fkGroup", neuten},
                          {"PriceUnit", 10.0},
                          {"w", 500},
                          {"PriceOrder", 1.0},
                          {"LastModified", "2020-01-01 00:00:00"}});
}

QDateTime moment(int uur = 0)
{
    return QDateTime(QDate(2024, 3, 5), QTime(uur, 0));
}

// The price list as a workbook: numbers as number cells, the dates as date cells.
bool schrijfPrijslijst(const QString& pad, bool titelRij)
{
    QList<QVariantList> rijen;
    if (titelRij)
        rijen << QVariantList{"Code", "Omschrijving", "Artikelgroep", "Prijs", "Breedte", "Gewijzigd", "Stukprijs"};
    rijen << QVariantList{"HS-100", "Dorpel hardsteen 100 mm", "Dorpels hardsteen", 12.5, 6.7, moment(), 1234.56};
    rijen << QVariantList{"HS-120",   "Dorpel hardsteen 120 mm \u2013 grijs", "Dorpels hardsteen", 1234.56, 12.5,
                          moment(10), "7,25 EUR"};
    rijen << QVariantList{"NT-01", "Neut caf\u00e9", "Neuten", "\u20ac 3,75", 10.0, moment(), 0.5};
    return schrijfWerkmap(pad, {{"Prijslijst", rijen}});
}

// A material export of two profiles, 6.5 and 7 metres long, as the supplier's system writes it.
const QByteArray kMateriaalExport =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<rfc:ZVXI_RFC_OUT_JOPPS xmlns:rfc=\"urn:sap-com:document:sap:rfc:functions\"><RFCDATA><MATERIALS>\n"
    "<item><MAKTX_NL>Kozijnprofiel 70 mm</MAKTX_NL><NETPRICE>12.50</NETPRICE><PRODH1>P-1001</PRODH1>"
    "<LENGTH>6.5</LENGTH><COLOR>124130</COLOR><BISMT>1001</BISMT></item>\n"
    "<item><MAKTX_NL>Vleugelprofiel 76 mm</MAKTX_NL><NETPRICE>9.75</NETPRICE><PRODH1>P-5002</PRODH1>"
    "<LENGTH>7</LENGTH><COLOR>100000</COLOR><BISMT>5002</BISMT></item>\n"
    "</MATERIALS></RFCDATA></rfc:ZVXI_RFC_OUT_JOPPS>\n";

// The columns of its conversion as the column mapping offers them by title: description, price per
// unit, profile code, trade length, the three colours, code, order code, article type.
const QList<qint32> kMateriaalKolommen = {2, 10, 0, 32, 0, 0, 0, 1, 9, 24};

} // namespace

class TestPrijslijst : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(TaalOmgevingKlopt(), qPrintable(TaalOmgevingFout())); }

    // Prices, centimetres and dates, on insert and on update alike.
    void waardenBijToevoegenEnBijwerken_data()
    {
        QTest::addColumn<QString>("prijs");
        QTest::addColumn<QString>("maat");
        QTest::addColumn<QString>("datum");
        QTest::addColumn<double>("prijsGetal");
        QTest::addColumn<double>("maatGetal");
        QTest::addColumn<int>("heleMaat"); // the same column into a field of whole numbers
        QTest::newRow("Dutch") << "12,50"
                               << "6,7"
                               << "20240305" << 12.5 << 67.0 << 67;
        QTest::newRow("points") << "12.50"
                                << "6.7"
                                << "2024-03-05" << 12.5 << 67.0 << 67;
        QTest::newRow("euro before") << "\u20ac 12,50"
                                     << "12,5"
                                     << "2024-03-05 10:00:00" << 12.5 << 125.0 << 125;
        QTest::newRow("EUR after") << "12,50 EUR"
                                   << "12.5"
                                   << "2024-03-05T10:00:00" << 12.5 << 125.0 << 125;
        QTest::newRow("grouped") << "1.234,56"
                                 << "1,25"
                                 << "05.03.2024" << 1234.56 << 12.5 << 12;
        QTest::newRow("day first") << "0,5"
                                   << "1,26"
                                   << "5-3-2024 10:00" << 0.5 << 12.6 << 13;
        QTest::newRow("month name") << "3"
                                    << "0,1"
                                    << "5 maart 2024" << 3.0 << 1.0 << 1;
        QTest::newRow("year first slashes") << "3,0"
                                            << "1,15"
                                            << "2024/3/5" << 3.0 << 11.5 << 12;
    }

    void waardenBijToevoegenEnBijwerken()
    {
        QFETCH(QString, prijs);
        QFETCH(QString, maat);
        QFETCH(QString, datum);
        QFETCH(double, prijsGetal);
        QFETCH(double, maatGetal);
        QFETCH(int, heleMaat);
        ImportOmgeving o({1, 2, 10, 13, 13, 16});
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "BEST"}, {"Description", "b"}, {"PriceUnit", 1.0}, {"HWork", 1}});
        }
        ImportProef imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"NIEUW", "n", prijs, maat, maat, datum}, {"BEST", "b", prijs, maat, maat, datum}},
                kPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 0);
        QCOMPARE(imp.AantalNieuw(), 1);
        QCOMPARE(imp.AantalBestaand(), 1);

        fixtures::FixtureDb db(o.pad);
        for (const char* code : {"NIEUW", "BEST"}) {
            const QVariantList waar{QString::fromLatin1(code)};
            QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = ?", waar).toDouble(), prijsGetal);
            QCOMPARE(db.scalar("SELECT HWork FROM Article WHERE Code = ?", waar).toDouble(), maatGetal);
            QCOMPARE(db.scalar("SELECT PositionGLVG FROM Article WHERE Code = ?", waar).toInt(), heleMaat);
            // The date is a date: SQLite's date() reads it, and so does the recordset.
            QCOMPARE(db.scalar("SELECT date(LastModified) FROM Article WHERE Code = ?", waar).toString(),
                     QStringLiteral("2024-03-05"));
            const RecordsetPtr rs = db.connection()->openRecordset(
                QStringLiteral("SELECT LastModified FROM Article WHERE Code = '%1'").arg(code));
            QVERIFY(!rs->eof());
            QCOMPARE(NzDatum(rs->value("LastModified")).date(), QDate(2024, 3, 5));
        }
    }

    // A value that is no number or no date stops the run with the line's error; nothing of the line is
    // written, never a price of 0.
    void foutieveWaarden_data()
    {
        QTest::addColumn<QString>("prijs");
        QTest::addColumn<QString>("maat");
        QTest::addColumn<QString>("datum");
        QTest::newRow("price without a number") << "abc"
                                                << "1"
                                                << "";
        QTest::newRow("price with English grouping") << "1,234.56"
                                                     << "1"
                                                     << "";
        QTest::newRow("centimetres in words") << "1"
                                              << "zes"
                                              << "";
        QTest::newRow("centimetres with a unit") << "1"
                                                 << "12,5 cm"
                                                 << "";
        QTest::newRow("too large for a whole number") << "1"
                                                      << "999999999"
                                                      << "";
        QTest::newRow("no such day") << "1"
                                     << "1"
                                     << "20240231";
    }

    void foutieveWaarden()
    {
        QFETCH(QString, prijs);
        QFETCH(QString, maat);
        QFETCH(QString, datum);
        ImportOmgeving o({1, 2, 10, 13, 13, 16});
        ImportProef imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a", prijs, maat, maat, datum}, {"B", "b", "1", "1", "1", ""}}, kPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(!imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 1);
        QCOMPARE(o.ui.errors.size(), 1);
        QVERIFY(opnemer.heeftActie("Veldnaam"));
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 0);
    }

    // The whole price list, as a CSV file and as a workbook with and without its title row, through the
    // default plan: the same rows every time, under every locale.
    void helePrijslijst_data()
    {
        QTest::addColumn<QString>("vorm");
        QTest::newRow("csv") << "csv";
        QTest::newRow("workbook with title row") << "xlsx";
        QTest::newRow("workbook without title row") << "xlsx zonder titel";
    }

    void helePrijslijst()
    {
        QFETCH(QString, vorm);
        ImportOmgeving o(kKolommen);
        vulProductentabel(o.pad);
        if (vorm == "csv") {
            o.bron.BronPad = o.env.path("prijslijst.csv");
            schrijf(o.bron.BronPad, kPrijslijst);
            o.bron.IsCSV = true;
            o.bron.EersteRijImporteren = false;
        } else {
            const bool titelRij = vorm == "xlsx";
            o.bron.BronPad = o.env.path("prijslijst.xlsx");
            QVERIFY(schrijfPrijslijst(o.bron.BronPad, titelRij));
            o.bron.IsExcel = true;
            o.bron.EersteRijImporteren = !titelRij;
        }
        clsImportBestand engine;
        Opnemer opnemer;
        engine.SetOntvanger(&opnemer);
        engine.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        // The new group's code: its first seven letters and three drawn digits.
        QList<int> cijfers{1, 2, 3};
        engine.SetCijferBron([cijfers, i = 0]() mutable { return cijfers.value(i++, 0); });
        QVERIFY(engine.OverzettenBestand(o.bron, o.pad));
        QCOMPARE(engine.AantalFouten(), 0);
        QCOMPARE(engine.AantalNieuw(), 2);
        QCOMPARE(engine.AantalBestaand(), 1);
        QVERIFY(o.ui.errors.isEmpty());
        QVERIFY(o.ui.messages.isEmpty());

        QCOMPARE(artikelRijen(o.pad), kVerwacht);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT Code FROM ArtGroup WHERE Description = 'Dorpels hardsteen'").toString(),
                 QStringLiteral("Dorpels123"));
        QCOMPARE(db.count("ArtGroup"), 2);
    }

    // The reader of a material export gives its lengths in millimetres (metres times 1000): the trade length
    // arrives as it stands, where a price list's centimetres are multiplied by ten. An existing article's
    // length is left as it was.
    void materiaalExport()
    {
        ImportOmgeving o({});
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "5002"}, {"Description", "Bestaand"}, {"TradeLength", 6000}});
        }
        globals().gLeverancier = std::make_shared<clsLeverancier>();
        globals().gLeverancier->Code = QStringLiteral("KUNSTOF");
        const QString pad = o.env.path("materialen.xml");
        schrijf(pad, kMateriaalExport);
        QVERIFY(o.bron.AddBestand(pad));
        QCOMPARE(o.bron.FormatDescription(), QStringLiteral("XML"));
        o.bron.KolomSoorten = kMateriaalKolommen;
        o.bron.ArtikelType = 0;

        clsImportBestand engine;
        Opnemer opnemer;
        engine.SetOntvanger(&opnemer);
        engine.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        QVERIFY(engine.OverzettenBestand(o.bron, o.pad));
        QCOMPARE(engine.AantalFouten(), 0);
        QCOMPARE(engine.AantalNieuw(), 1);
        QCOMPARE(engine.AantalBestaand(), 1);
        QVERIFY(o.ui.errors.isEmpty());

        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT TradeLength FROM Article WHERE Code = '1001'").toDouble(), 6500.0);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = '1001'").toDouble(), 12.5);
        QCOMPARE(db.scalar("SELECT TradeLength FROM Article WHERE Code = '5002'").toDouble(), 6000.0);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = '5002'").toDouble(), 9.75);
    }
};

QTEST_MAIN(TestPrijslijst)
#include "test_prijslijst.moc"
