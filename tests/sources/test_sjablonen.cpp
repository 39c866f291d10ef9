// The template files of source descriptions: their layout line by line, the
// reading of short, odd and foreign files, the lookup when a file is added,
// and the supplier's folder of templates.

#include "bronnentestutil.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
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

const QString kLeverancier = QStringLiteral("Acme Kozijnen");

// The 27 lines of a template with a distinct value on each, then the reserved lines and three kinds.
QStringList volledigeRegels()
{
    QStringList regels{
        QStringLiteral("/data/lev/Prijzen \u00e9\u00e9n.csv"), // 1 BronPad
        QStringLiteral("123456"),                              // 2 Grootte
        QStringLiteral("2023-05-17 14:03:09"),                 // 3 LaatstGewijzigd
        QStringLiteral("Prijzen \u00e9\u00e9n.csv"),           // 4 BestandsNaam
        QStringLiteral("2"),                                   // 5 Soort
        QStringLiteral("-1"),                                  // 6 IsOnbekend
        QStringLiteral("-1"),                                  // 7 IsJetDatabase
        QStringLiteral("0"),                                   // 8 IsExcel
        QStringLiteral("-1"),                                  // 9 IsCSV
        QStringLiteral(","),                                   // 10 Scheidingsteken
        QStringLiteral("-1"),                                  // 11 MetAanhalingstekens
        QStringLiteral("14"),                                  // 12 AantalKolommen
        QStringLiteral("-1"),                                  // 13 EersteKolomHerhaald
        QStringLiteral("VELMORA|QUENTARO"),                    // 14 AppType
        QStringLiteral("LIBRARY"),                             // 15 DBType
        QStringLiteral("3"),                                   // 16 VerMajor
        QStringLiteral("50"),                                  // 17 VerMinor
        QStringLiteral("-1"),                                  // 18 EersteRijImporteren
        QStringLiteral("-1"),                                  // 19 ArtikelType
        QStringLiteral("0"),                                   // 20 Geselecteerd
        QStringLiteral("3;7;12"),                              // 21 TypeSelectie
        QStringLiteral("1"),                                   // 22 CombiType
        QStringLiteral("-1"),                                  // 23 IsXML
        QStringLiteral("4"),                                   // 24 AantalSheets
        QStringLiteral("|Blad1$|Blad2$"),                      // 25 SheetNamen
        QStringLiteral("|Kleur|Artikel"),                      // 26 KolomKoppen
        QStringLiteral("-1"),                                  // 27 IsSQLite
    };
    for (int i = 28; i <= 69; ++i)
        regels << QStringLiteral("-2");
    regels << QStringLiteral("1") << QStringLiteral("0") << QStringLiteral("110");
    return regels;
}

QByteArray alsBestand(const QStringList& regels)
{
    QByteArray inhoud;
    for (const QString& regel : regels)
        inhoud += regel.toUtf8() + "\r\n";
    return inhoud;
}

QStringList regelsVan(const QString& pad)
{
    QString tekst = QString::fromUtf8(leesBestand(pad));
    if (!tekst.endsWith(QLatin1String("\r\n")))
        return {QStringLiteral("<geen CRLF aan het eind>")};
    tekst.chop(2);
    return tekst.split(QLatin1String("\r\n"));
}

QStringList inhoudVanMap(const QString& map)
{
    QStringList namen = QDir(map).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    namen.sort();
    return namen;
}

std::shared_ptr<clsBron2> bronVoor(const QString& pad, qint32 soort)
{
    auto bron = std::make_shared<clsBron2>();
    bron->BronPad = pad;
    bron->Soort = soort;
    return bron;
}

// Sets the current supplier for the length of a test.
struct Leverancier
{
    explicit Leverancier(const QString& naam)
    {
        globals().gLeverancier = std::make_shared<clsLeverancier>();
        globals().gLeverancier->Code = naam;
    }
    ~Leverancier() { globals().gLeverancier.reset(); }
};

} // namespace

class SjablonenTest : public QObject
{
    Q_OBJECT

private slots:
    void ladenEnOpslaanIedereRegel()
    {
        TestEnvironment env;
        const QString sjabloon = env.path(QStringLiteral("File1"));
        QVERIFY(schrijfBestand(sjabloon, alsBestand(volledigeRegels())));
        clsBron2 bron;
        bron.Load(sjabloon);
        QCOMPARE(bron.BronPad, QStringLiteral("/data/lev/Prijzen \u00e9\u00e9n.csv"));
        QCOMPARE(bron.Grootte, QVariant(QStringLiteral("123456")));
        QCOMPARE(bron.LaatstGewijzigd, QDateTime(QDate(2023, 5, 17), QTime(14, 3, 9)));
        QCOMPARE(bron.BestandsNaam, QStringLiteral("Prijzen \u00e9\u00e9n.csv"));
        QCOMPARE(bron.Soort, 2);
        QVERIFY(bron.IsOnbekend);
        QVERIFY(bron.IsJetDatabase);
        QVERIFY(!bron.IsExcel);
        QVERIFY(bron.IsCSV);
        QCOMPARE(bron.Scheidingsteken, QStringLiteral(","));
        QVERIFY(bron.MetAanhalingstekens);
        QCOMPARE(bron.AantalKolommen, 14);
        QVERIFY(bron.EersteKolomHerhaald);
        QCOMPARE(bron.AppType, QStringLiteral("VELMORA|QUENTARO"));
        QCOMPARE(bron.DBType, QStringLiteral("LIBRARY"));
        QCOMPARE(bron.VerMajor, 3);
        QCOMPARE(bron.VerMinor, 50);
        QVERIFY(bron.EersteRijImporteren);
        QCOMPARE(bron.ArtikelType, -1);
        QVERIFY(!bron.Geselecteerd);
        QCOMPARE(bron.TypeSelectie, QStringLiteral("3;7;12"));
        QCOMPARE(bron.CombiType, 1);
        QCOMPARE(bron.AantalSheets, 4);
        QCOMPARE(bron.SheetNamen, QStringLiteral("|Blad1$|Blad2$"));
        QCOMPARE(bron.KolomKoppen, QStringLiteral("|Kleur|Artikel"));
        QVERIFY(bron.IsSQLite);
        QCOMPARE(bron.KolomSoorten, (QList<qint32>{1, 0, 110}));

        // Written back, line for line the same (IsXML, line 23, included).
        const QString terug = env.path(QStringLiteral("File2"));
        QVERIFY(bron.Save(terug));
        QCOMPARE(regelsVan(terug), volledigeRegels());
    }

    void opslaanEnLadenVanVelden()
    {
        TestEnvironment env;
        clsBron2 bron;
        bron.Geselecteerd = false;
        bron.Grootte = qint64(987654321);
        bron.LaatstGewijzigd = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6));
        bron.BestandsNaam = QStringLiteral("b.xls");
        bron.Soort = 3;
        bron.IsExcel = true;
        bron.Scheidingsteken = QStringLiteral(";");
        bron.AantalKolommen = -1;
        bron.KolomKoppen = QStringLiteral("|A|\"B\"|C;D");
        bron.AantalSheets = 2;
        bron.SheetNamen = QStringLiteral("|x$|y$");
        bron.AppType = QStringLiteral("RUVEZEVORER");
        bron.DBType = QStringLiteral("SHAPES");
        bron.VerMajor = -3;
        bron.VerMinor = 2147483647;
        bron.EersteRijImporteren = true;
        bron.KolomSoorten = {24, 1, 2, 0, 0, -5, 118};
        bron.ArtikelType = 22;
        bron.TypeSelectie = QStringLiteral("1;2");
        bron.CombiType = -1;
        bron.BronPad = QStringLiteral("/tmp/b.xls");
        bron.Extensie = QStringLiteral("xls");
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(bron.Save(pad));
        QCOMPARE(regelsVan(pad).size(), 69 + 7);

        clsBron2 terug;
        terug.Extensie = QStringLiteral("blijft");
        terug.Load(pad);
        QCOMPARE(terug.Geselecteerd, false);
        QCOMPARE(terug.Grootte.toString(), QStringLiteral("987654321"));
        QCOMPARE(terug.LaatstGewijzigd, bron.LaatstGewijzigd);
        QCOMPARE(terug.BestandsNaam, bron.BestandsNaam);
        QCOMPARE(terug.Soort, 3);
        QVERIFY(terug.IsExcel && !terug.IsCSV && !terug.IsOnbekend && !terug.IsSQLite &&
                !terug.IsJetDatabase);
        QCOMPARE(terug.FormatDescription(), QStringLiteral("XLS"));
        QCOMPARE(terug.Scheidingsteken, bron.Scheidingsteken);
        QCOMPARE(terug.AantalKolommen, -1);
        QCOMPARE(terug.KolomKoppen, bron.KolomKoppen);
        QCOMPARE(terug.AantalSheets, 2);
        QCOMPARE(terug.SheetNamen, bron.SheetNamen);
        QCOMPARE(terug.AppType, bron.AppType);
        QCOMPARE(terug.DBType, bron.DBType);
        QCOMPARE(terug.VerMajor, -3);
        QCOMPARE(terug.VerMinor, 2147483647);
        QVERIFY(terug.EersteRijImporteren);
        QCOMPARE(terug.KolomSoorten, bron.KolomSoorten);
        QCOMPARE(terug.ArtikelType, 22);
        QCOMPARE(terug.TypeSelectie, bron.TypeSelectie);
        QCOMPARE(terug.CombiType, -1);
        QCOMPARE(terug.BronPad, bron.BronPad);
        // The extension is no part of a template.
        QCOMPARE(terug.Extensie, QStringLiteral("blijft"));
    }

    void indelingVanEenNieuweBeschrijving()
    {
        TestEnvironment env;
        clsBron2 bron;
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(bron.Save(pad));
        QStringList verwacht{QString(), QString(), QStringLiteral("1899-12-30 00:00:00"), QString(),
                             QStringLiteral("-1")};
        for (int i = 6; i <= 9; ++i)
            verwacht << QStringLiteral("0");
        verwacht << QString() << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0")
                 << QString() << QString() << QStringLiteral("0") << QStringLiteral("0")
                 << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("-1") << QString()
                 << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0") << QString()
                 << QString() << QStringLiteral("0");
        for (int i = 28; i <= 69; ++i)
            verwacht << QStringLiteral("-2");
        QCOMPARE(regelsVan(pad), verwacht);
    }

    void bijzondereRegels_data()
    {
        QTest::addColumn<int>("regel");
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("veld");
        QTest::addColumn<QVariant>("waarde");

        QTest::newRow("lege regel 6 is waar") << 6 << QString() << "IsOnbekend" << QVariant(true);
        QTest::newRow("regel 6 onzin is waar") << 6 << QStringLiteral("ja") << "IsOnbekend" << QVariant(true);
        QTest::newRow("regel 6 nul") << 6 << QStringLiteral("0") << "IsOnbekend" << QVariant(false);
        QTest::newRow("lege regel 23 is onwaar") << 23 << QString() << "IsXML" << QVariant(false);
        QTest::newRow("regel 23 1 is onwaar") << 23 << QStringLiteral("1") << "IsXML" << QVariant(false);
        QTest::newRow("regel 23 -1") << 23 << QStringLiteral("-1") << "IsXML" << QVariant(true);
        QTest::newRow("regel 21 -2") << 21 << QStringLiteral("-2") << "TypeSelectie" << QVariant(QString());
        QTest::newRow("regel 21 tekst")
            << 21 << QStringLiteral("5") << "TypeSelectie" << QVariant(QStringLiteral("5"));
        QTest::newRow("regel 22 -2") << 22 << QStringLiteral("-2") << "CombiType" << QVariant(0);
        QTest::newRow("regel 22 -1") << 22 << QStringLiteral("-1") << "CombiType" << QVariant(-1);
        QTest::newRow("regel 22 onzin") << 22 << QStringLiteral("x") << "CombiType" << QVariant(7);
        QTest::newRow("regel 5 onzin") << 5 << QStringLiteral("twee") << "Soort" << QVariant(7);
        QTest::newRow("regel 5 te groot") << 5 << QStringLiteral("99999999999") << "Soort" << QVariant(7);
        QTest::newRow("regel 5 spaties") << 5 << QStringLiteral(" 3 ") << "Soort" << QVariant(3);
        QTest::newRow("regel 3 geen datum") << 3 << QStringLiteral("gisteren") << "LaatstGewijzigd"
                                            << QVariant(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    }
    void bijzondereRegels()
    {
        QFETCH(int, regel);
        QFETCH(QString, tekst);
        QFETCH(QString, veld);
        QFETCH(QVariant, waarde);
        TestEnvironment env;
        QStringList regels = volledigeRegels();
        // Nothing but the line under test says XML.
        regels[6] = regels[7] = regels[26] = QStringLiteral("0");
        regels[8] = QStringLiteral("0");
        regels[regel - 1] = tekst;
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(schrijfBestand(pad, alsBestand(regels)));
        clsBron2 bron;
        bron.Soort = 7;
        bron.CombiType = 7;
        bron.LaatstGewijzigd = QDateTime(QDate(2020, 1, 1), QTime(0, 0));
        bron.Load(pad);
        if (veld == QLatin1String("IsOnbekend"))
            QCOMPARE(QVariant(bron.IsOnbekend), waarde);
        else if (veld == QLatin1String("IsXML"))
            QCOMPARE(bron.FormatDescription() == QLatin1String("XML"), waarde.toBool());
        else if (veld == QLatin1String("TypeSelectie"))
            QCOMPARE(QVariant(bron.TypeSelectie), waarde);
        else if (veld == QLatin1String("CombiType"))
            QCOMPARE(QVariant(bron.CombiType), waarde);
        else if (veld == QLatin1String("Soort"))
            QCOMPARE(QVariant(bron.Soort), waarde);
        else if (veld == QLatin1String("LaatstGewijzigd"))
            QCOMPARE(QVariant(bron.LaatstGewijzigd), waarde);
        else
            QFAIL("unknown field");
    }

    void afgebrokenSjabloon()
    {
        TestEnvironment env;
        // Ends after line 27: every field read so far, no column kinds.
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(schrijfBestand(pad, alsBestand(volledigeRegels().mid(0, 27))));
        clsBron2 bron;
        bron.KolomSoorten = {1, 2};
        bron.Load(pad);
        QVERIFY(bron.IsSQLite);
        QCOMPARE(bron.KolomKoppen, QStringLiteral("|Kleur|Artikel"));
        QVERIFY(bron.KolomSoorten.isEmpty());

        // Ends after line 10, without a final line end: the later fields keep their values.
        QByteArray kort = alsBestand(volledigeRegels().mid(0, 10));
        kort.chop(2);
        QVERIFY(schrijfBestand(pad, kort));
        clsBron2 half;
        half.AantalKolommen = 42;
        half.Geselecteerd = true;
        half.Load(pad);
        QCOMPARE(half.Scheidingsteken, QStringLiteral(","));
        QCOMPARE(half.AantalKolommen, 42);
        QVERIFY(half.Geselecteerd);
        QCOMPARE(half.Soort, 2);

        // A template that does not exist changes nothing.
        clsBron2 niets;
        niets.KolomSoorten = {3};
        niets.Load(env.path(QStringLiteral("weg")));
        QCOMPARE(niets.KolomSoorten, QList<qint32>{3});
        QCOMPARE(niets.Soort, -1);
    }

    void onbekendeKolomRegels()
    {
        // A column line that is no number keeps its place as a column that is not imported.
        TestEnvironment env;
        QStringList regels = volledigeRegels().mid(0, 69);
        regels << QStringLiteral("1") << QStringLiteral("x") << QString() << QStringLiteral(" 9 ")
               << QStringLiteral("2.0");
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(schrijfBestand(pad, alsBestand(regels)));
        clsBron2 bron;
        bron.Load(pad);
        QCOMPARE(bron.KolomSoorten, (QList<qint32>{1, 0, 0, 9, 2}));
        QCOMPARE(bron.GetColumnFor(9), 4);
    }

    void coderingen()
    {
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("File1"));
        // Windows-1252, LF line ends.
        QVERIFY(schrijfBestand(pad, "C:\\Leveranciers\\Caf\xE9\\prijzen \x80.csv\n1\n"));
        clsBron2 bron;
        bron.Load(pad);
        QCOMPARE(bron.BronPad, QStringLiteral("C:\\Leveranciers\\Caf\u00e9\\prijzen \u20ac.csv"));
        // UTF-8 with a byte-order mark.
        QVERIFY(schrijfBestand(pad, "\xEF\xBB\xBF/data/Caf\xC3\xA9.csv\r\n"));
        bron.Load(pad);
        QCOMPARE(bron.BronPad, QStringLiteral("/data/Caf\u00e9.csv"));
    }

    void regeleindenInWaarden()
    {
        // A value with a line break cannot shift the lines after it.
        TestEnvironment env;
        clsBron2 bron;
        bron.KolomKoppen = QStringLiteral("|EAN\r\ncode|Kleur\nRAL");
        bron.SheetNamen = QStringLiteral("|a\rb$");
        bron.KolomSoorten = {1, 2};
        const QString pad = env.path(QStringLiteral("File1"));
        QVERIFY(bron.Save(pad));
        QCOMPARE(regelsVan(pad).size(), 71);
        clsBron2 terug;
        terug.Load(pad);
        QCOMPARE(terug.KolomKoppen, QStringLiteral("|EAN code|Kleur RAL"));
        QCOMPARE(terug.SheetNamen, QStringLiteral("|a b$"));
        QCOMPARE(terug.KolomSoorten, (QList<qint32>{1, 2}));
        QVERIFY(terug.IsSQLite == false);
    }

    void opslaanMislukt()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        clsBron2 bron;
        QVERIFY(!bron.Save(env.path(QStringLiteral("geen/map/File1"))));
        QVERIFY(!bron.Save(env.root()));
        QCOMPARE(ui.errors.size(), 2);
        QVERIFY(ui.errors.first().details.contains(QStringLiteral("clsBron.Save")));
    }

    void sjabloonMap()
    {
        TestEnvironment env;
        const QString map = BronDefinitieMap(kLeverancier);
        QCOMPARE(QDir::fromNativeSeparators(map),
                 env.path(QStringLiteral("appdata/Tavrin Software/Bvq/Import/4.00/Acme Kozijnen")));
        QVERIFY(BronDefinitieMap(QString()).isEmpty());
    }

    void sjabloonGevondenBijToevoegen()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        Leverancier leverancier(kLeverancier);
        const QString bronPad = env.path(QStringLiteral("Prijzen.csv"));
        QByteArray veertien;
        for (int i = 0; i < 14; ++i)
            veertien += "k" + QByteArray::number(i) + ";";
        QVERIFY(schrijfBestand(bronPad, veertien + "\r\n"));

        // Inspected, the file is a hardware file (14 columns).
        clsBron2 nieuw;
        QVERIFY(nieuw.AddBestand(bronPad));
        QCOMPARE(nieuw.Soort, 1);

        const QString map = BronDefinitieMap(kLeverancier);
        QVERIFY(QDir().mkpath(map));
        auto opgeslagen = bronVoor(bronPad, 2);
        opgeslagen->KolomSoorten = {1, 2, 10};
        opgeslagen->TypeSelectie = QStringLiteral("4");
        opgeslagen->IsCSV = true;
        QVERIFY(opgeslagen->Save(map + QStringLiteral("/File1")));
        auto ander = bronVoor(bronPad, 3);
        QVERIFY(ander->Save(map + QStringLiteral("/File2")));

        clsBron2 bron;
        QVERIFY(bron.AddBestand(bronPad));
        QCOMPARE(bron.Soort, 2); // the first template listed
        QCOMPARE(bron.KolomSoorten, (QList<qint32>{1, 2, 10}));
        QCOMPARE(bron.TypeSelectie, QStringLiteral("4"));
        QCOMPARE(bron.Extensie, QStringLiteral("csv"));
        QCOMPARE(bron.AantalKolommen, 0); // the template's facts, not the file's

        // A path that differs in letter case only is another file.
        const QString anderPad = env.path(QStringLiteral("prijzen.csv"));
        QVERIFY(schrijfBestand(anderPad, veertien + "\r\n"));
        clsBron2 hoofdletters;
        QVERIFY(hoofdletters.AddBestand(anderPad));
        QCOMPARE(hoofdletters.Soort, 1);

        // Without a current supplier no template is looked for.
        globals().gLeverancier.reset();
        clsBron2 zonder;
        QVERIFY(zonder.AddBestand(bronPad));
        QCOMPARE(zonder.Soort, 1);
        QVERIFY(ui.errors.isEmpty());
    }

    // The lookup reads a template as loading does: a hand-edited template with a Windows-1252 byte
    // further down is decoded whole, so the source path it is found by is the one it loads.
    void opzoekenDecodeertAlsLaden()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        Leverancier leverancier(kLeverancier);
        // The first line alone is valid UTF-8 ("\u00e9"); the whole file is Windows-1252 ("\u00c3\u00a9").
        const QString utf8Pad = env.path(QStringLiteral("Caf\u00e9.csv"));
        const QString ansiPad = env.path(QStringLiteral("Caf\u00c3\u00a9.csv"));
        QVERIFY(schrijfBestand(utf8Pad, "x;y;z\r\n"));
        QVERIFY(schrijfBestand(ansiPad, "x;y;z\r\n"));
        const QString map = BronDefinitieMap(kLeverancier);
        QVERIFY(QDir().mkpath(map));
        QStringList regels = volledigeRegels();
        regels[0] = QStringLiteral("@PAD@");
        regels[3] = QStringLiteral("@NAAM@");
        QByteArray inhoud = alsBestand(regels);
        inhoud.replace("@PAD@", utf8Pad.toUtf8());
        inhoud.replace("@NAAM@", "Caf\x92s prijzen"); // a Windows-1252 right quote
        QVERIFY(schrijfBestand(map + QStringLiteral("/File1"), inhoud));

        clsBron2 geladen;
        geladen.Load(map + QStringLiteral("/File1"));
        QCOMPARE(geladen.BronPad, ansiPad);

        // The file the template's first bytes seemed to name is inspected, not described by it.
        clsBron2 utf8;
        QVERIFY(utf8.AddBestand(utf8Pad));
        QCOMPARE(utf8.BronPad, utf8Pad);
        QCOMPARE(utf8.Soort, 1); // three columns: a hardware file
        // The file it names when read whole takes the template.
        clsBron2 ansi;
        QVERIFY(ansi.AddBestand(ansiPad));
        QCOMPARE(ansi.BronPad, ansiPad);
        QCOMPARE(ansi.Soort, 2);
        QCOMPARE(ansi.BestandsNaam, QStringLiteral("Caf\u2019s prijzen"));
        QVERIFY(ui.errors.isEmpty());
    }

    // Every reader of the folder takes the templates in the order of their numbers: File2 before File12.
    void sjablonenOpNummer()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        Leverancier leverancier(kLeverancier);
        const QString bronPad = env.path(QStringLiteral("a.csv"));
        QVERIFY(schrijfBestand(bronPad, "x;y;z\r\n"));
        const QString map = BronDefinitieMap(kLeverancier);
        QVERIFY(QDir().mkpath(map));
        QVERIFY(bronVoor(bronPad, 3)->Save(map + QStringLiteral("/File12")));
        QVERIFY(bronVoor(bronPad, 2)->Save(map + QStringLiteral("/File2")));
        QVERIFY(schrijfBestand(map + QStringLiteral("/Aantekening"), "niets\r\n"));

        QCOMPARE(SjabloonBestanden(map), (QStringList{"File2", "File12"}));
        QCOMPARE(SjabloonBestanden(map, false), (QStringList{"File2", "File12", "Aantekening"}));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(bronPad));
        QCOMPARE(bron.Soort, 2);
        const QList<std::shared_ptr<clsBron2>> bronnen = LaadBronDefinities(kLeverancier);
        QCOMPARE(bronnen.size(), 2);
        QCOMPARE(bronnen[0]->Soort, 2);
        QCOMPARE(bronnen[1]->Soort, 3);
        QVERIFY(ui.errors.isEmpty());
    }

    void legeSjabloonMeldtFout()
    {
        // An empty file in the folder is reported, and the file is inspected instead.
        RecordingUiServices ui;
        TestEnvironment env;
        Leverancier leverancier(kLeverancier);
        const QString bronPad = env.path(QStringLiteral("a.csv"));
        QVERIFY(schrijfBestand(bronPad, "x;y;z\r\n"));
        const QString map = BronDefinitieMap(kLeverancier);
        QVERIFY(QDir().mkpath(map));
        QVERIFY(schrijfBestand(map + QStringLiteral("/File0"), QByteArray()));
        QVERIFY(bronVoor(bronPad, 2)->Save(map + QStringLiteral("/File1")));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(bronPad));
        QCOMPARE(bron.Soort, 1);
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.first().details.contains(QStringLiteral("CheckForTemplate")));
    }

    void ladenSlaatVerdwenenBronnenOver()
    {
        TestEnvironment env;
        const QString map = BronDefinitieMap(kLeverancier);
        QVERIFY(QDir().mkpath(map));
        const QString a = env.path(QStringLiteral("a.csv"));
        const QString c = env.path(QStringLiteral("c.csv"));
        QVERIFY(schrijfBestand(a, "1;2;3\r\n"));
        QVERIFY(schrijfBestand(c, "1;2;3\r\n"));
        QVERIFY(bronVoor(a, 0)->Save(map + QStringLiteral("/File1")));
        QVERIFY(bronVoor(env.path(QStringLiteral("weg.csv")), 1)->Save(map + QStringLiteral("/File2")));
        QVERIFY(bronVoor(c, 2)->Save(map + QStringLiteral("/File10")));
        QVERIFY(bronVoor(c, 3)->Save(map + QStringLiteral("/Notities.txt")));
        QVERIFY(schrijfBestand(map + QStringLiteral("/File3"), "kort"));

        const QList<std::shared_ptr<clsBron2>> bronnen = LaadBronDefinities(kLeverancier);
        QCOMPARE(bronnen.size(), 2);
        QCOMPARE(bronnen[0]->BronPad, a);
        QCOMPARE(bronnen[1]->BronPad, c);
        QCOMPARE(bronnen[1]->Soort, 2);
        // The template of the missing file stays until the next save.
        QVERIFY(QFile::exists(map + QStringLiteral("/File2")));

        QVERIFY(LaadBronDefinities(QStringLiteral("Onbekend")).isEmpty());
        QVERIFY(LaadBronDefinities(QString()).isEmpty());
    }

    void opslaanNummertInLijstvolgorde()
    {
        TestEnvironment env;
        const QString map = BronDefinitieMap(kLeverancier);
        const QString a = env.path(QStringLiteral("a.csv"));
        const QString b = env.path(QStringLiteral("b.csv"));
        QVERIFY(schrijfBestand(a, "1;2;3\r\n"));
        QVERIFY(schrijfBestand(b, "1;2;3\r\n"));
        auto bronB = bronVoor(b, 1);
        bronB->Geselecteerd = false;
        QVERIFY(OpslaanBronDefinities(kLeverancier, {bronB, bronVoor(a, 0)}));
        QCOMPARE(inhoudVanMap(map), (QStringList{QStringLiteral("File1"), QStringLiteral("File2")}));
        QCOMPARE(regelsVan(map + QStringLiteral("/File1")).first(), b);
        QCOMPARE(regelsVan(map + QStringLiteral("/File2")).first(), a);

        const QList<std::shared_ptr<clsBron2>> geladen = LaadBronDefinities(kLeverancier);
        QCOMPARE(geladen.size(), 2);
        QCOMPARE(geladen[0]->BronPad, b);
        QVERIFY(!geladen[0]->Geselecteerd);

        // A later save of A alone leaves only File1, holding A; other files stay.
        QVERIFY(schrijfBestand(map + QStringLiteral("/leesmij.txt"), "x"));
        QVERIFY(OpslaanBronDefinities(kLeverancier, {bronVoor(a, 0)}));
        QCOMPARE(inhoudVanMap(map), (QStringList{QStringLiteral("File1"), QStringLiteral("leesmij.txt")}));
        QCOMPARE(regelsVan(map + QStringLiteral("/File1")).first(), a);

        // An empty list clears the templates.
        QVERIFY(OpslaanBronDefinities(kLeverancier, {}));
        QCOMPARE(inhoudVanMap(map), QStringList{QStringLiteral("leesmij.txt")});
    }

    void mislukkendOpslaanBewaartOudeSjablonen()
    {
#ifdef Q_OS_LINUX
        RecordingUiServices ui;
        TestEnvironment env;
        const QString map = BronDefinitieMap(kLeverancier);
        const QString a = env.path(QStringLiteral("a.csv"));
        QVERIFY(schrijfBestand(a, "1;2;3\r\n"));
        QVERIFY(OpslaanBronDefinities(kLeverancier, {bronVoor(a, 0), bronVoor(a, 1)}));
        const QByteArray file1 = leesBestand(map + QStringLiteral("/File1"));
        const QByteArray file2 = leesBestand(map + QStringLiteral("/File2"));

        // No file may grow beyond 64 bytes while saving: a template does not fit.
        auto lang = bronVoor(a, 3);
        lang->KolomSoorten = QList<qint32>(50, 1);
        const auto oudSignaal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit oud{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &oud), 0);
        rlimit klein = oud;
        klein.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &klein), 0);
        const bool gelukt = OpslaanBronDefinities(kLeverancier, {lang});
        setrlimit(RLIMIT_FSIZE, &oud);
        std::signal(SIGXFSZ, oudSignaal);

        QVERIFY(!gelukt);
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.first().details.contains(QStringLiteral("clsBron.Save")));
        QCOMPARE(inhoudVanMap(map), (QStringList{QStringLiteral("File1"), QStringLiteral("File2")}));
        QCOMPARE(leesBestand(map + QStringLiteral("/File1")), file1);
        QCOMPARE(leesBestand(map + QStringLiteral("/File2")), file2);
#else
        QSKIP("needs a file-size limit");
#endif
    }

    void geenLeverancierGeenOpslag()
    {
        TestEnvironment env;
        QVERIFY(!OpslaanBronDefinities(QString(), {bronVoor(QStringLiteral("/x"), 0)}));
    }
};

QTEST_GUILESS_MAIN(SjablonenTest)
#include "test_sjablonen.moc"
