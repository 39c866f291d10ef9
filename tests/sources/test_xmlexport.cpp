// The reader of XML material exports and their conversion to CSV.

#include "bronnentestutil.h"
#include "sources/clsxmlhelper.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace supplink;
using namespace supplink::test;

namespace {

const QString kOmschrijving = QStringLiteral("Omschrijving");
const QString kPrijs = QStringLiteral("Prijs/Eenheid");
const QString kProfiel = QStringLiteral("Kunststof Profielcode");
const QString kLengte = QStringLiteral("Handelslengte");
const QString kCode = QStringLiteral("Code");
const QString kBestelcode = QStringLiteral("BestelCode");
const QString kType = QStringLiteral("(Artikeltype)");

// One item of an export, its child elements in the order given.
QByteArray item(const QList<QPair<QByteArray, QByteArray>>& kinderen)
{
    QByteArray xml("<item>");
    for (const auto& [naam, tekst] : kinderen)
        xml += "<" + naam + ">" + tekst + "</" + naam + ">";
    return xml + "</item>";
}

QByteArray artikel(const QByteArray& omschrijving, const QByteArray& bismt,
                   const QByteArray& kleur = "124130", const QByteArray& lengte = "6.5")
{
    return item({{"MAKTX_NL", omschrijving},
                 {"NETPRICE", "12.50"},
                 {"PRODH1", "P-" + bismt},
                 {"LENGTH", lengte},
                 {"COLOR", kleur},
                 {"BISMT", bismt}});
}

QByteArray export_(const QByteArray& items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<rfc:ZVXI_RFC_OUT_JOPPS xmlns:rfc=\"urn:sap-com:document:sap:rfc:functions\">\n"
           "  <RFCDATA>\n    <MATERIALS>\n" +
           items + "\n    </MATERIALS>\n  </RFCDATA>\n</rfc:ZVXI_RFC_OUT_JOPPS>\n";
}

QVariantList rij(const clsXMLHelper& helper, int nummer)
{
    const std::optional<QVariantList> cellen = helper.GetRowCollection(nummer);
    return cellen ? *cellen : QVariantList{QStringLiteral("<geen rij>")};
}

QStringList tekst(const QVariantList& cellen)
{
    QStringList uit;
    for (const QVariant& cel : cellen)
        uit.append(cel.typeId() == QMetaType::Double ? QString::number(cel.toDouble(), 'g', 15)
                                                     : cel.toString());
    return uit;
}

} // namespace

class XmlExportTest : public QObject
{
    Q_OBJECT

private slots:
    void titelsEnRij()
    {
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(artikel("Kozijnprofiel", "1234")), true));
        QCOMPARE(helper.GetColumnCollection(),
                 (QStringList{kOmschrijving, kPrijs, kProfiel, kLengte, QStringLiteral("Kleur massa"),
                              QStringLiteral("Foly Buiten"), QStringLiteral("Foly Binnen"), kCode,
                              kBestelcode, kType}));
        QCOMPARE(helper.ColumnCount(), 10);
        QCOMPARE(helper.RowCount(), 1);
        const QVariantList cellen = rij(helper, 1);
        QCOMPARE(cellen.value(3).typeId(), QMetaType::Double); // the length, a number
        QCOMPARE(tekst(cellen),
                 (QStringList{QStringLiteral("Kozijnprofiel"), QStringLiteral("12.50"),
                              QStringLiteral("P-1234"), QStringLiteral("6500"), QStringLiteral("BC"),
                              QStringLiteral("12"), QStringLiteral("30"), QStringLiteral("1234"),
                              QStringLiteral("1234"), QStringLiteral("19")}));
        QVERIFY(!helper.GetRowCollection(2));
        QVERIFY(!helper.GetRowCollection(0));
        QVERIFY(helper.Foutmelding().isEmpty());
    }

    void artikelType_data()
    {
        QTest::addColumn<QByteArray>("bismt");
        QTest::addColumn<QString>("type"); // empty: the row is dropped

        QTest::newRow("0") << QByteArray("0") << QStringLiteral("19");
        QTest::newRow("3999") << QByteArray("3999") << QStringLiteral("19");
        QTest::newRow("4000") << QByteArray("4000") << QString();
        QTest::newRow("4299") << QByteArray("4299") << QString();
        QTest::newRow("4350") << QByteArray("4350") << QStringLiteral("19");
        QTest::newRow("4400") << QByteArray("4400") << QString();
        QTest::newRow("5000") << QByteArray("5000") << QStringLiteral("18");
        QTest::newRow("5899") << QByteArray("5899") << QStringLiteral("18");
        QTest::newRow("5900") << QByteArray("5900") << QStringLiteral("10");
        QTest::newRow("6000") << QByteArray("6000") << QStringLiteral("12");
        QTest::newRow("6749") << QByteArray("6749") << QStringLiteral("12");
        QTest::newRow("6750") << QByteArray("6750") << QString();
        QTest::newRow("6998") << QByteArray("6998") << QStringLiteral("12");
        QTest::newRow("6999") << QByteArray("6999") << QString();
        QTest::newRow("negatief") << QByteArray("-5") << QString();
        // Five characters or more: typed by the first four.
        QTest::newRow("59123") << QByteArray("59123") << QStringLiteral("10");
        QTest::newRow("4299999") << QByteArray("4299999") << QString();
    }
    void artikelType()
    {
        QFETCH(QByteArray, bismt);
        QFETCH(QString, type);
        RecordingUiServices ui;
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(artikel("Profiel", bismt)), true));
        QVERIFY(ui.errors.isEmpty());
        if (type.isEmpty()) {
            QCOMPARE(helper.RowCount(), 0);
            return;
        }
        QCOMPARE(helper.RowCount(), 1);
        const QStringList cellen = tekst(rij(helper, 1));
        QCOMPARE(cellen.last(), type);
        // Code and order code hold the whole number.
        QCOMPARE(cellen.value(7), QString::fromLatin1(bismt));
        QCOMPARE(cellen.value(8), QString::fromLatin1(bismt));
        // Only profiles keep their profile code.
        QCOMPARE(cellen.value(2),
                 type == QLatin1String("19") ? QStringLiteral("P-") + QString::fromLatin1(bismt) : QString());
    }

    void ongeldigMateriaalnummer_data()
    {
        QTest::addColumn<QByteArray>("bismt");
        QTest::newRow("tekst") << QByteArray("AB12");
        QTest::newRow("leeg") << QByteArray("");
        QTest::newRow("decimaal") << QByteArray("59.5");
    }
    void ongeldigMateriaalnummer()
    {
        // An item that cannot be typed is reported under GetRow and left out; the others are read.
        QFETCH(QByteArray, bismt);
        RecordingUiServices ui;
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(
            export_(artikel("Eerste", "1000") + artikel("Fout", bismt) + artikel("Laatste", "5001")), true));
        QCOMPARE(helper.RowCount(), 2);
        QCOMPARE(rij(helper, 1).first().toString(), QStringLiteral("Eerste"));
        QCOMPARE(rij(helper, 2).first().toString(), QStringLiteral("Laatste"));
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.first().details.contains(QStringLiteral("GetRow")));
    }

    void zonderMateriaalnummer()
    {
        RecordingUiServices ui;
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(item({{"MAKTX_NL", "Los"}, {"NETPRICE", "1"}})), true));
        QCOMPARE(helper.RowCount(), 0);
        QCOMPARE(helper.GetColumnCollection(), (QStringList{kOmschrijving, kPrijs, kType}));
        QCOMPARE(ui.errors.size(), 1);
    }

    void kleur_data()
    {
        QTest::addColumn<QByteArray>("kleur");
        QTest::addColumn<QStringList>("cellen");
        QTest::newRow("folie buiten en binnen") << QByteArray("124130") << QStringList{"BC", "12", "30"};
        QTest::newRow("derde teken 1") << QByteArray("1214") << QStringList{"TON SABLE", "12", "TON SABLE"};
        QTest::newRow("derde teken 2") << QByteArray("2020") << QStringList{"BE", "20", "20"};
        QTest::newRow("derde teken 3") << QByteArray("3532") << QStringList{"BRV", "BRV", "35"};
        QTest::newRow("onbekende foliecode") << QByteArray("9923") << QStringList{"GRIJS", "GRIJS", "GRIJS"};
        QTest::newRow("derde teken 4, kort") << QByteArray("1245") << QStringList{"CARAMEL", "12", "CARAMEL"};
        QTest::newRow("recyclaat") << QByteArray("0008")
                                   << QStringList{"RECYCLAAT", "RECYCLAAT", "RECYCLAAT"};
        QTest::newRow("onbekende massa") << QByteArray("1219") << QStringList{"", "", ""};
        QTest::newRow("drie tekens") << QByteArray("121") << QStringList{"", "", ""};
        QTest::newRow("drie tekens en spaties") << QByteArray("121  ") << QStringList{"", "", ""};
        QTest::newRow("leeg") << QByteArray() << QStringList{"", "", ""};
    }
    void kleur()
    {
        QFETCH(QByteArray, kleur);
        QFETCH(QStringList, cellen);
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(artikel("Profiel", "1000", kleur)), true));
        QCOMPARE(helper.RowCount(), 1);
        QCOMPARE(tekst(rij(helper, 1)).mid(4, 3), cellen);
    }

    void lengte_data()
    {
        QTest::addColumn<QByteArray>("lengte");
        QTest::addColumn<QString>("cel");
        QTest::addColumn<bool>("getal");
        QTest::newRow("6.5") << QByteArray("6.5") << QStringLiteral("6500") << true;
        QTest::newRow("met eenheid") << QByteArray("6.5 m") << QStringLiteral("6500") << true;
        QTest::newRow("spaties") << QByteArray(" 6 . 5") << QStringLiteral("6500") << true;
        QTest::newRow("exponent") << QByteArray("1e-3") << QStringLiteral("1") << true;
        QTest::newRow("0") << QByteArray("0") << QStringLiteral("0") << false;
        QTest::newRow("leeg") << QByteArray() << QString() << false;
        QTest::newRow("negatief") << QByteArray("-2") << QStringLiteral("-2") << false;
        QTest::newRow("komma") << QByteArray("6,5") << QStringLiteral("6000") << true;
        QTest::newRow("tekst") << QByteArray("lang") << QStringLiteral("lang") << false;
    }
    void lengte()
    {
        QFETCH(QByteArray, lengte);
        QFETCH(QString, cel);
        QFETCH(bool, getal);
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(artikel("Profiel", "1000", "1241", lengte)), true));
        const QVariant waarde = rij(helper, 1).value(3);
        QCOMPARE(waarde.typeId() == QMetaType::Double, getal);
        QCOMPARE(tekst({waarde}).first(), cel);
    }

    void rijenVallenWeg()
    {
        clsXMLHelper helper;
        // An empty first element drops the item.
        QVERIFY(helper.LoadData(export_(artikel("", "1000") + artikel("Blijft", "1001")), true));
        QCOMPARE(helper.RowCount(), 1);
        QCOMPARE(rij(helper, 1).first().toString(), QStringLiteral("Blijft"));
    }

    void elementNamen()
    {
        // Other letter cases: copied as they are, with the element's own name as title; unknown elements give
        // no column; the titles come from the first item.
        clsXMLHelper helper;
        const QByteArray items = item({{"maktx_nl", "Klein"},
                                       {"Extra", "x"},
                                       {"netPrice", "3"},
                                       {"prodh1", "P"},
                                       {"length", "2"},
                                       {"color", "1241"},
                                       {"bismt", "5000"}}) +
                                 item({{"MAKTX_NL", "Groot"}, {"BISMT", "1000"}});
        QVERIFY(helper.LoadData(export_(items), true));
        QCOMPARE(
            helper.GetColumnCollection(),
            (QStringList{QStringLiteral("maktx_nl"), QStringLiteral("netPrice"), QStringLiteral("prodh1"),
                         kLengte, QStringLiteral("Kleur massa"), QStringLiteral("Foly Buiten"),
                         QStringLiteral("Foly Binnen"), kCode, kBestelcode, kType}));
        QCOMPARE(helper.RowCount(), 2);
        // "prodh1" is no profile-code title, so a type 18 row keeps it.
        QCOMPARE(tekst(rij(helper, 1)).value(2), QStringLiteral("P"));
        // Later items are not realigned to the titles.
        QCOMPARE(tekst(rij(helper, 2)), (QStringList{"Groot", "1000", "1000", "19"}));
    }

    void geneste()
    {
        // Text of child elements counts; comments do not; CDATA and entities do.
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(
            export_("<item><MAKTX_NL>Deur <b>links</b><!-- nee --> &amp; <![CDATA[<rechts>]]></MAKTX_NL>"
                    "<BISMT>1000</BISMT></item>"),
            true));
        QCOMPARE(rij(helper, 1).first().toString(), QStringLiteral("Deur links & <rechts>"));
    }

    void ingang_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("gelezen");
        QTest::addColumn<int>("rijen");
        const QByteArray m = "<MATERIALS>" + artikel("A", "1000") + "</MATERIALS>";
        QTest::newRow("MATERIALS bovenaan") << m << true << 1;
        QTest::newRow("alleen RFCDATA") << "<RFCDATA>" + m + "</RFCDATA>" << true << 1;
        QTest::newRow("prefix niet gedeclareerd")
            << "<rfc:ZVXI_RFC_OUT_JOPPS><RFCDATA>" + m + "</RFCDATA></rfc:ZVXI_RFC_OUT_JOPPS>" << true << 1;
        QTest::newRow("andere wortel") << "<root>" + m + "</root>" << false << 0;
        QTest::newRow("onder ander element") << "<RFCDATA><HEADER>" + m + "</HEADER></RFCDATA>" << false << 0;
        QTest::newRow("tweede wikkel")
            << "<RFCDATA><RFCDATA><X/></RFCDATA><RFCDATA>" + m + "</RFCDATA></RFCDATA>" << true << 1;
        QTest::newRow("alleen de eerste MATERIALS")
            << "<RFCDATA>" + m + "<MATERIALS>" + artikel("B", "1001") + artikel("C", "1002") +
                   "</MATERIALS></RFCDATA>"
            << true << 1;
        QTest::newRow("lege MATERIALS") << QByteArray("<RFCDATA><MATERIALS/></RFCDATA>") << true << 0;
        QTest::newRow("geen item") << QByteArray("<MATERIALS><ander>1</ander></MATERIALS>") << true << 0;
        QTest::newRow("geen MATERIALS") << QByteArray("<RFCDATA><X>1</X></RFCDATA>") << false << 0;
    }
    void ingang()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, gelezen);
        QFETCH(int, rijen);
        clsXMLHelper helper;
        QCOMPARE(helper.LoadData(document, true, QStringLiteral("export.xml")), gelezen);
        QCOMPARE(helper.RowCount(), rijen);
        if (!gelezen)
            QVERIFY(helper.Foutmelding().contains(QStringLiteral("MATERIALS")));
    }

    void foutief_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("melding");
        QTest::newRow("leeg") << QByteArray() << QStringLiteral("is leeg");
        QTest::newRow("alleen witruimte") << QByteArray(" \r\n\t") << QStringLiteral("is leeg");
        QTest::newRow("afgebroken") << export_(artikel("A", "1000")).left(120)
                                    << QStringLiteral("houdt voortijdig op");
        QTest::newRow("verkeerde sluittag")
            << QByteArray("<MATERIALS><item><BISMT>1</BISMTX></item></MATERIALS>")
            << QStringLiteral("geen geldig XML-document");
        // A fault after the data still makes the whole document unreadable.
        QTest::newRow("fout na de gegevens")
            << QByteArray("<RFCDATA><MATERIALS>" + artikel("A", "1000") + "</MATERIALS><X></RFCDATA>")
            << QStringLiteral("geen geldig XML-document");
        QTest::newRow("geen XML") << QByteArray("Code;Omschrijving\r\n")
                                  << QStringLiteral("geen geldig XML-document");
        QTest::newRow("binair") << QByteArray("\x00\x01\x02\x03", 4)
                                << QStringLiteral("geen geldig XML-document");
    }
    void foutief()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, melding);
        RecordingUiServices ui;
        clsXMLHelper helper;
        QVERIFY(!helper.LoadData(document, true, QStringLiteral("export.xml")));
        QCOMPARE(helper.RowCount(), 0);
        QVERIFY2(helper.Foutmelding().contains(melding), qPrintable(helper.Foutmelding()));
        QVERIFY(helper.Foutmelding().contains(QStringLiteral("'export.xml'")));
        QVERIFY(ui.errors.isEmpty());
    }

    void nietAllesLaden()
    {
        // Without loading everything, the first 100 children of MATERIALS are read, whatever they are.
        QByteArray items;
        for (int i = 0; i < 150; ++i)
            items += artikel("A" + QByteArray::number(i), QByteArray::number(1000 + i));
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(items), false));
        QCOMPARE(helper.RowCount(), 100);
        QVERIFY(helper.LoadData(export_("<!-- kop -->" + items), false));
        QCOMPARE(helper.RowCount(), 99);
        QVERIFY(helper.LoadData(export_(items), true));
        QCOMPARE(helper.RowCount(), 150);
    }

    void nietAsciiNamen()
    {
        // UTF-8 with and without a declaration, and Windows-1252 text without one.
        const QString verwacht = QStringLiteral("Dorpel \u00e9\u00e9n \u20ac \u00df");
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(export_(artikel(verwacht.toUtf8(), "1000")), true));
        QCOMPARE(rij(helper, 1).first().toString(), verwacht);

        const QByteArray cp1252 =
            "<MATERIALS>" + artikel("Dorpel \xE9\xE9n \x80 \xDF", "1000") + "</MATERIALS>";
        QVERIFY(helper.LoadData(cp1252, true));
        QCOMPARE(rij(helper, 1).first().toString(), verwacht);

        const QByteArray latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><MATERIALS>" +
                                  artikel("\xE9\xE9n", "1000") + "</MATERIALS>";
        QVERIFY(helper.LoadData(latin1, true));
        QCOMPARE(rij(helper, 1).first().toString(), QStringLiteral("\u00e9\u00e9n"));

        // Element names with letters beyond ASCII are simply other elements.
        QVERIFY(helper.LoadData("<MATERIALS><item><MAKTX_NL>A</MAKTX_NL><Gr\xC3\xB6\xC3\x9F"
                                "e>1</Gr\xC3\xB6\xC3\x9F"
                                "e><BISMT>1000</BISMT></item></MATERIALS>",
                                true));
        QCOMPARE(helper.GetColumnCollection(), (QStringList{kOmschrijving, kCode, kBestelcode, kType}));
    }

    void csvRegel()
    {
        QString uit;
        {
            QTextStream stream(&uit);
            SchrijfCSVRegel(stream, {QStringLiteral("a"), QVariant(), 6500.0, 0.5,
                                     QStringLiteral("zeg \"hoi\""), QStringLiteral("twee\r\nregels\nhier")});
            SchrijfCSVRegel(stream, {QStringLiteral("enkel")});
            SchrijfCSVRegel(stream, {});
        }
        QCOMPARE(uit, QStringLiteral("\"a\";\"\";\"6500\";\"0.5\";\"zeg \"hoi\"\";\"twee regels hier\"\r\n"
                                     "\"enkel\"\r\n\r\n"));
    }

    void dumpNaarCSV()
    {
        TestEnvironment env;
        const QString xml = env.path(QStringLiteral("export.xml"));
        const QString csv = env.path(QStringLiteral("export.csv"));
        QVERIFY(schrijfBestand(
            xml, export_(artikel("Kozijn \xC3\xA9\xC3\xA9n", "1234") + artikel("Glaslat", "5001"))));
        QString fout;
        QVERIFY(DumpXMLtoCSV(xml, csv, &fout));
        QVERIFY(fout.isEmpty());
        QCOMPARE(
            QString::fromUtf8(leesBestand(csv)),
            QStringLiteral(
                "\"Omschrijving\";\"Prijs/Eenheid\";\"Kunststof Profielcode\";\"Handelslengte\";"
                "\"Kleur massa\";\"Foly Buiten\";\"Foly Binnen\";\"Code\";\"BestelCode\";"
                "\"(Artikeltype)\"\r\n"
                "\"Kozijn \u00e9\u00e9n\";\"12.50\";\"P-1234\";\"6500\";\"BC\";\"12\";\"30\";\"1234\";"
                "\"1234\";\"19\"\r\n"
                "\"Glaslat\";\"12.50\";\"\";\"6500\";\"BC\";\"12\";\"30\";\"5001\";\"5001\";\"18\"\r\n"));
    }

    void dumpNietAsciiBestandsnamen()
    {
        TestEnvironment env;
        const QString xml = env.path(QStringLiteral("prijslijst \u00e9\u00e9n.xml"));
        const QString csv = env.path(QStringLiteral("uitvoer \u00df\u20ac.csv"));
        QVERIFY(schrijfBestand(xml, export_(artikel("A", "1000"))));
        QVERIFY(DumpXMLtoCSV(xml, csv));
        QVERIFY(leesBestand(csv).startsWith("\"Omschrijving\""));
    }

    void diepGenest()
    {
        // Deep nesting is read without recursion, in the wrappers and inside an item.
        const int diepte = 100000;
        QByteArray wikkels = QByteArray("<RFCDATA>").repeated(diepte) + "<MATERIALS>" + artikel("A", "1000") +
                             "</MATERIALS>" + QByteArray("</RFCDATA>").repeated(diepte);
        clsXMLHelper helper;
        QVERIFY(helper.LoadData(wikkels, true));
        QCOMPARE(helper.RowCount(), 1);

        const QByteArray binnen = "<MATERIALS><item><MAKTX_NL>" + QByteArray("<b>").repeated(diepte) + "x" +
                                  QByteArray("</b>").repeated(diepte) +
                                  "</MAKTX_NL><BISMT>1000</BISMT></item>" + "<overig>" +
                                  QByteArray("<c>").repeated(diepte) + QByteArray("</c>").repeated(diepte) +
                                  "</overig></MATERIALS>";
        QVERIFY(helper.LoadData(binnen, true));
        QCOMPARE(rij(helper, 1).first().toString(), QStringLiteral("x"));
    }

    void dumpLegeExport()
    {
        TestEnvironment env;
        const QString xml = env.path(QStringLiteral("leeg.xml"));
        const QString csv = env.path(QStringLiteral("leeg.csv"));
        QVERIFY(schrijfBestand(xml, "<RFCDATA><MATERIALS></MATERIALS></RFCDATA>"));
        QVERIFY(DumpXMLtoCSV(xml, csv));
        // No item, no titles: one empty line.
        QCOMPARE(leesBestand(csv), QByteArray("\r\n"));
    }

    void dumpMisluktLaatDoelStaan()
    {
        TestEnvironment env;
        const QString csv = env.path(QStringLiteral("doel.csv"));
        QVERIFY(schrijfBestand(csv, "oud"));
        const QString kapot = env.path(QStringLiteral("kapot.xml"));
        QVERIFY(schrijfBestand(kapot, "<MATERIALS><item>"));
        QString fout;
        QVERIFY(!DumpXMLtoCSV(kapot, csv, &fout));
        QVERIFY2(fout.contains(QStringLiteral("kapot.xml")), qPrintable(fout));
        QCOMPARE(leesBestand(csv), QByteArray("oud"));

        QVERIFY(!DumpXMLtoCSV(env.path(QStringLiteral("weg.xml")), csv, &fout));
        QVERIFY(fout.contains(QStringLiteral("kan niet worden geopend")));
        QCOMPARE(leesBestand(csv), QByteArray("oud"));

        // Writing into a folder that does not exist.
        const QString xml = env.path(QStringLiteral("goed.xml"));
        QVERIFY(schrijfBestand(xml, export_(artikel("A", "1000"))));
        QVERIFY(!DumpXMLtoCSV(xml, env.path(QStringLiteral("geen/map/doel.csv")), &fout));
        QVERIFY(fout.contains(QStringLiteral("doel.csv")));
    }

    void dumpSchrijffoutLaatGeenHalfBestand()
    {
#ifdef Q_OS_LINUX
        TestEnvironment env;
        const QString xml = env.path(QStringLiteral("groot.xml"));
        QByteArray items;
        for (int i = 0; i < 2000; ++i)
            items += artikel("Artikel " + QByteArray::number(i), QByteArray::number(1000 + i % 100));
        QVERIFY(schrijfBestand(xml, export_(items)));
        const QString csv = env.path(QStringLiteral("doel.csv"));
        QVERIFY(schrijfBestand(csv, "oud"));

        // Files may not grow beyond 4 KB while the conversion writes.
        const auto oudSignaal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit oud{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &oud), 0);
        rlimit klein = oud;
        klein.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &klein), 0);
        QString fout;
        const bool gelukt = DumpXMLtoCSV(xml, csv, &fout);
        setrlimit(RLIMIT_FSIZE, &oud);
        std::signal(SIGXFSZ, oudSignaal);

        QVERIFY(!gelukt);
        QVERIFY2(fout.contains(QStringLiteral("niet volledig")), qPrintable(fout));
        QCOMPARE(leesBestand(csv), QByteArray("oud"));
        QCOMPARE(QDir(env.root()).entryList(QDir::Files).size(), 2);
#else
        QSKIP("needs a file-size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(XmlExportTest)
#include "test_xmlexport.moc"
