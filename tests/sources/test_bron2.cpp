// The source-file description: taking a file in (CSV, XML export, workbook,
// Jet and SQLite databases), its kind, the supplier layouts and the derived
// members.

#include "bronnentestutil.h"
#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

QByteArray csvRegel(int velden, const QByteArray& begin = "A")
{
    QByteArrayList delen{begin};
    for (int i = 1; i < velden; ++i)
        delen << "v" + QByteArray::number(i);
    return delen.join(';') + "\r\n";
}

const QByteArray kExport = "<?xml version=\"1.0\"?><RFCDATA><MATERIALS>"
                           "<item><MAKTX_NL>Kozijn</MAKTX_NL><NETPRICE>1.5</NETPRICE><PRODH1>P</PRODH1>"
                           "<LENGTH>6</LENGTH><COLOR>124130</COLOR><BISMT>1234</BISMT></item>"
                           "<item><MAKTX_NL>Raam</MAKTX_NL><NETPRICE>2</NETPRICE><PRODH1>P</PRODH1>"
                           "<LENGTH>6</LENGTH><COLOR>124130</COLOR><BISMT>1235</BISMT></item>"
                           "</MATERIALS></RFCDATA>";

QStringList bestandenIn(const QString& map)
{
    return QDir(map).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class Bron2Test : public QObject
{
    Q_OBJECT

private slots:
    void nieuweBeschrijving()
    {
        clsBron2 bron;
        QVERIFY(bron.Geselecteerd);
        QCOMPARE(bron.Soort, -1);
        QVERIFY(bron.KolomSoorten.isEmpty());
        QCOMPARE(bron.FormatDescription(), QString());
        QCOMPARE(bron.SoortDescription(), QStringLiteral("Onbekend"));
        QCOMPARE(bron.GetColumnFor(1), 0);
        QCOMPARE(bron.Path(), QString());
    }

    void csvBestand_data()
    {
        QTest::addColumn<int>("velden");
        QTest::addColumn<int>("soort");
        QTest::newRow("3 velden") << 3 << 1;
        QTest::newRow("13 velden") << 13 << 0;
        QTest::newRow("14 velden") << 14 << 1;
        QTest::newRow("15 velden") << 15 << 1;
        QTest::newRow("16 velden") << 16 << 0;
        QTest::newRow("6 velden") << 6 << 0;
    }
    void csvBestand()
    {
        QFETCH(int, velden);
        QFETCH(int, soort);
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("Prijzen.CSV"));
        const QByteArray inhoud = csvRegel(velden, "Code") + csvRegel(velden, "A1") + csvRegel(velden, "A1");
        QVERIFY(schrijfBestand(pad, inhoud));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QCOMPARE(bron.BronPad, pad);
        QCOMPARE(bron.Path(), pad);
        QCOMPARE(bron.BestandsNaam, QStringLiteral("Prijzen.CSV"));
        QCOMPARE(bron.Grootte.toLongLong(), qlonglong(inhoud.size()));
        QCOMPARE(bron.Extensie, QStringLiteral("CSV"));
        QCOMPARE(bron.LaatstGewijzigd.toSecsSinceEpoch(), QFileInfo(pad).lastModified().toSecsSinceEpoch());
        QVERIFY(bron.IsCSV);
        QVERIFY(!bron.IsOnbekend);
        QCOMPARE(bron.Scheidingsteken, QStringLiteral(";"));
        QCOMPARE(bron.AantalKolommen, velden);
        QVERIFY(bron.EersteKolomHerhaald);
        QCOMPARE(bron.Soort, soort);
        QCOMPARE(bron.FormatDescription(), QStringLiteral("CSV"));
        QCOMPARE(bron.SoortDescription(),
                 soort == 1 ? QStringLiteral("Tabellen/Combies") : QStringLiteral("Artikelen"));
    }

    void bestandBestaatNiet()
    {
        TestEnvironment env;
        clsBron2 bron;
        bron.BestandsNaam = QStringLiteral("oud");
        const QString pad = env.path(QStringLiteral("weg.csv"));
        QVERIFY(!bron.AddBestand(pad));
        QCOMPARE(bron.BronPad, pad);
        QCOMPARE(bron.BestandsNaam, QStringLiteral("oud"));
        QVERIFY(!bron.IsOnbekend);
        QCOMPARE(bron.Soort, -1);
        // A folder is no file either.
        QVERIFY(!bron.AddBestand(env.root()));
    }

    void onbekendBestand_data()
    {
        QTest::addColumn<QByteArray>("inhoud");
        QTest::newRow("leeg") << QByteArray();
        QTest::newRow("tekst zonder scheidingstekens") << QByteArray("Dit is een brief.\r\n");
        QTest::newRow("binair, geen werkmap") << QByteArray(200, '\x01');
    }
    void onbekendBestand()
    {
        QFETCH(QByteArray, inhoud);
        RecordingUiServices ui;
        OpenersTerug terug;
        backendOpeners().excel = [](const QString&, bool, ExcelProvider) -> DbConnection {
            throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Geen werkmap."));
        };
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("bestand.dat"));
        QVERIFY(schrijfBestand(pad, inhoud));
        clsBron2 bron;
        QVERIFY(!bron.AddBestand(pad));
        QVERIFY(bron.IsOnbekend);
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Onbekend"));
        QCOMPARE(bron.Soort, -1);
        QVERIFY(ui.errors.isEmpty());
    }

    void xmlExport()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("export.Xml"));
        QVERIFY(schrijfBestand(pad, kExport));
        QString csv;
        {
            clsBron2 bron;
            QVERIFY(bron.AddBestand(pad));
            QCOMPARE(bron.FormatDescription(), QStringLiteral("XML"));
            QVERIFY(bron.IsCSV);
            QCOMPARE(bron.Soort, 0);
            QCOMPARE(bron.Scheidingsteken, QStringLiteral(";"));
            QVERIFY(bron.MetAanhalingstekens);
            QCOMPARE(bron.AantalKolommen, 6);

            // The first Path converts, into the temporary folder, and looks at the CSV made.
            csv = bron.Path();
            QVERIFY(!csv.isEmpty());
            QVERIFY(csv != pad);
            QVERIFY(csv.startsWith(QDir::toNativeSeparators(QDir::tempPath())));
            QVERIFY(leesBestand(csv).startsWith("\"Omschrijving\";\"Prijs/Eenheid\""));
            QCOMPARE(bron.AantalKolommen, 10);
            QVERIFY(bron.MetAanhalingstekens);
            QVERIFY(!bron.EersteKolomHerhaald);

            // Later calls do not convert again.
            QVERIFY(schrijfBestand(csv, "\"anders\";\"x\";\"y\"\r\n"));
            QVERIFY(QFile::remove(pad));
            QCOMPARE(bron.Path(), csv);
            QCOMPARE(leesBestand(csv), QByteArray("\"anders\";\"x\";\"y\"\r\n"));
        }
        // The description takes its CSV file with it.
        QVERIFY(!QFile::exists(csv));
        QVERIFY(ui.messages.isEmpty());
    }

    void xmlOmzettingMislukt()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("kapot.xml"));
        QVERIFY(schrijfBestand(pad, "<RFCDATA><MATERIALS><item><MAKTX_NL>A</MAKTX_NL>"));
        const QStringList tijdelijkVoor = bestandenIn(QDir::tempPath());
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QCOMPARE(bron.Path(), QString());
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages.first().text.contains(QStringLiteral("kapot.xml")),
                 qPrintable(ui.messages.first().text));
        // Nothing is left that a later call could take for the conversion, and it is not tried again.
        QCOMPARE(bestandenIn(QDir::tempPath()), tijdelijkVoor);
        QVERIFY(schrijfBestand(pad, kExport));
        QCOMPARE(bron.Path(), QString());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(bron.AantalKolommen, 6);
    }

    void xmlBronVerdwenen()
    {
        // The export is gone before it is converted: a clear message and no path.
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("Prijzen \u00e9\u00e9n.xml"));
        QVERIFY(schrijfBestand(pad, kExport));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QVERIFY(QFile::remove(pad));
        QCOMPARE(bron.Path(), QString());
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(ui.messages.first().text.contains(QStringLiteral("kan niet worden geopend")));
        QVERIFY(ui.messages.first().text.contains(QStringLiteral("Prijzen \u00e9\u00e9n.xml")));
    }

    void sqliteDatabase_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("soort");
        QTest::newRow("productentabel") << int(fixtures::Kind::ProductTable) << 0;
        QTest::newRow("opties") << int(fixtures::Kind::Options) << 1;
        QTest::newRow("bibliotheek") << int(fixtures::Kind::Library) << 2;
        QTest::newRow("werkvoorbereiding") << int(fixtures::Kind::WorkPreparation) << 3;
    }
    void sqliteDatabase()
    {
        QFETCH(int, kind);
        QFETCH(int, soort);
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("bron.sqlite"));
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind(kind), {3, 50}));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QVERIFY(bron.IsSQLite);
        QVERIFY(!bron.IsJetDatabase && !bron.IsCSV && !bron.IsExcel && !bron.IsOnbekend);
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Bvq"));
        QCOMPARE(bron.DBType, fixtures::dbType(fixtures::Kind(kind)));
        QCOMPARE(bron.AppType, QStringLiteral("VELMORA"));
        QCOMPARE(bron.VerMajor, 3);
        QCOMPARE(bron.VerMinor, 50);
        QCOMPARE(bron.Soort, soort);
        QVERIFY(bron.Minimaal35Formaat());
        // Article groups are offered from Jet product tables and mapped columns only.
        QVERIFY(!bron.ArtikelGroepSelectieMogelijk());
    }

    void minimaal35Formaat_data()
    {
        QTest::addColumn<QString>("appType");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<bool>("extraRij");
        QTest::addColumn<bool>("resultaat");
        const QString v = QStringLiteral("VELMORA");
        QTest::newRow("3.50") << v << 3 << 50 << false << true;
        QTest::newRow("3.51") << v << 3 << 51 << false << false;
        QTest::newRow("3.40") << v << 3 << 40 << false << false;
        QTest::newRow("3.5") << v << 3 << 5 << false << false;
        QTest::newRow("4.0") << v << 4 << 0 << false << true;
        QTest::newRow("4.99") << v << 4 << 99 << false << true;
        QTest::newRow("2.60") << v << 2 << 60 << false << false;
        QTest::newRow("QUENTARO 3.50") << QStringLiteral("QUENTARO") << 3 << 50 << false << false;
        QTest::newRow("velmora in kleine letters") << QStringLiteral("velmora") << 4 << 0 << false << false;
        // Two version rows join their application types.
        QTest::newRow("twee rijen") << v << 4 << 0 << true << false;
    }
    void minimaal35Formaat()
    {
        QFETCH(QString, appType);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(bool, extraRij);
        QFETCH(bool, resultaat);
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("pt.sqlite"));
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::ProductTable, {major, minor}, appType));
        if (extraRij)
            fixtures::FixtureDb(pad).addVersionRow(appType, QStringLiteral("PT"), major, minor);
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QCOMPARE(bron.VerMajor, major);
        QCOMPARE(bron.VerMinor, minor);
        QCOMPARE(bron.Minimaal35Formaat(), resultaat);
    }

    void databaseZonderVersieRecord()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("kaal.db"));
        {
            auto db = SqliteBackend::open(pad, SqliteOpenOptions{true, false});
            db->execute(QStringLiteral("CREATE TABLE Iets (ID INTEGER)"));
            db->close();
        }
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QVERIFY(bron.IsSQLite);
        QCOMPARE(bron.Soort, -1);
        QCOMPARE(bron.SoortDescription(), QStringLiteral("Onbekend"));
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Bvq"));
        QVERIFY(ui.errors.isEmpty());

        // An unknown DBType leaves the kind unset as well.
        const QString ander = env.path(QStringLiteral("ander.db"));
        QVERIFY(fixtures::makeDatabase(ander, fixtures::Kind::Options, {3, 40}));
        fixtures::FixtureDb(ander).exec(QStringLiteral("UPDATE SysDBInfo SET DBTYPE = 'REPORTS'"));
        clsBron2 bron2;
        QVERIFY(bron2.AddBestand(ander));
        QCOMPARE(bron2.Soort, -1);
    }

    void jetDatabase()
    {
        // A file with a Jet header, read through the Jet opener (here handing over an SQLite copy).
        OpenersTerug terug;
        TestEnvironment env;
        const QString inhoud = env.path(QStringLiteral("inhoud.sqlite"));
        QVERIFY(fixtures::makeDatabase(inhoud, fixtures::Kind::ProductTable, {3, 20}));
        fixtures::FixtureDb(inhoud).exec(QStringLiteral("UPDATE SysDBInfo SET DBTYPE = 'pt'"));
        jetAlsSQLite(inhoud);
        const QString mdb = env.path(QStringLiteral("bron.mdb"));
        QVERIFY(schrijfBestand(mdb, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                        QByteArray(2000, '\0')));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(mdb));
        QVERIFY(bron.IsJetDatabase);
        QVERIFY(!bron.IsSQLite);
        QCOMPARE(bron.DBType, QStringLiteral("pt"));
        QCOMPARE(bron.Soort, 0);
        QCOMPARE(bron.VerMinor, 20);
        QVERIFY(bron.ArtikelGroepSelectieMogelijk());
        QVERIFY(!bron.Minimaal35Formaat());
    }

    void jetDatabaseZonderBackend()
    {
        // A Jet file that cannot be opened still counts as a Jet source, of no known kind.
        RecordingUiServices ui;
        OpenersTerug terug;
        backendOpeners().jet = [](const QString&, const QString&) -> DbConnection {
            throw AppError(DbErrorNumber::NotAvailable, QStringLiteral("Niet beschikbaar."));
        };
        TestEnvironment env;
        const QString mdb = env.path(QStringLiteral("bron.mdb"));
        QVERIFY(schrijfBestand(mdb, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                        QByteArray(2000, '\0')));
        clsBron2 bron;
        QVERIFY(bron.AddBestand(mdb));
        QVERIFY(bron.IsJetDatabase);
        QCOMPARE(bron.Soort, -1);
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Bvq"));
    }

    void jetEchtBestand()
    {
        const QString corpus = testDataFolder();
        const QString mdb = corpus + QStringLiteral("/mdb/testodbc.mdb");
        if (corpus.isEmpty() || !QFile::exists(mdb))
            QSKIP("public Jet corpus not present");
        RecordingUiServices ui;
        clsBron2 bron;
        QVERIFY(bron.AddBestand(mdb));
        QVERIFY(bron.IsJetDatabase);
        QCOMPARE(bron.Soort, -1);
        QCOMPARE(bron.DBType, QString());
        QVERIFY(ui.errors.isEmpty());
    }

    void werkmap_data()
    {
        QTest::addColumn<QStringList>("bladen");
        QTest::addColumn<QVariantList>("eersteRij");
        QTest::addColumn<int>("soort");
        QTest::addColumn<bool>("holonite");
        QTest::addColumn<int>("deceuninck");

        QVariantList veertien;
        for (int i = 1; i <= 14; ++i)
            veertien << QStringLiteral("k%1").arg(i);
        QTest::newRow("14 kolommen") << QStringList{QStringLiteral("Blad1$")} << veertien << 1 << false << 0;
        QTest::newRow("Holonite") << QStringList{QStringLiteral("Dorpels$"), QStringLiteral("Neuten$"),
                                                 QStringLiteral("Bewerkingen$")}
                                  << veertien << 0 << true << 0;
        QTest::newRow("twee Holonite-bladen")
            << QStringList{QStringLiteral("Dorpels$"), QStringLiteral("Neuten$")} << veertien << 1 << false
            << 0;
        QTest::newRow("Deceuninck 9") << QStringList{QStringLiteral("Blad1$")}
                                      << QVariantList{QStringLiteral("Kleur"), QStringLiteral("Artikel"),
                                                      QStringLiteral("Divisie"), QStringLiteral("EAN code")}
                                      << 0 << false << 9;
        QTest::newRow("Deceuninck 6")
            << QStringList{QStringLiteral("Blad1$")}
            << QVariantList{QStringLiteral("Kleur"), QStringLiteral("Artikel"), QStringLiteral("EAN code")}
            << 0 << false << 6;
        QTest::newRow("kleine letters")
            << QStringList{QStringLiteral("Blad1$")}
            << QVariantList{QStringLiteral("kleur"), QStringLiteral("artikel"), QStringLiteral("divisie")}
            << 1 << false << 0;
    }
    void werkmap()
    {
        QFETCH(QStringList, bladen);
        QFETCH(QVariantList, eersteRij);
        QFETCH(int, soort);
        QFETCH(bool, holonite);
        QFETCH(int, deceuninck);
        OpenersTerug terug;
        TestEnvironment env;
        const QString inhoud = env.path(QStringLiteral("werkmap.sqlite"));
        {
            auto db = SqliteBackend::open(inhoud, SqliteOpenOptions{true, false});
            for (const QString& blad : bladen) {
                QStringList kolommen, vragen;
                for (int i = 1; i <= eersteRij.size(); ++i) {
                    kolommen << QStringLiteral("F%1").arg(i);
                    vragen << QStringLiteral("?");
                }
                db->execute(
                    QStringLiteral("CREATE TABLE [%1] (%2)").arg(blad, kolommen.join(QLatin1Char(','))));
                db->execute(
                    QStringLiteral("INSERT INTO [%1] VALUES (%2)").arg(blad, vragen.join(QLatin1Char(','))),
                    eersteRij);
            }
            db->close();
        }
        excelAlsSQLite(inhoud);
        const QString pad = env.path(QStringLiteral("prijzen.xls"));
        QVERIFY(schrijfBestand(pad, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0')));
        clsBron2 bron;
        bron.EersteRijImporteren = true;
        QVERIFY(bron.AddBestand(pad));
        QVERIFY(bron.IsExcel);
        QCOMPARE(bron.FormatDescription(), QStringLiteral("XLS"));
        QCOMPARE(bron.AantalSheets, bladen.size());
        QCOMPARE(bron.AantalKolommen, eersteRij.size());
        QCOMPARE(bron.Holonite(), holonite);
        QCOMPARE(bron.DeceuninckType(), deceuninck);
        QCOMPARE(bron.AlleenPrijsUpdate(), deceuninck > 0);
        QCOMPARE(bron.MatchArtikelOpBestelcode(), deceuninck > 0);
        QCOMPARE(bron.Soort, soort);
        // The supplier layouts have their title row skipped.
        QCOMPARE(bron.EersteRijImporteren, !(holonite || deceuninck > 0));
    }

    void werkmapEcht()
    {
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("deceuninck.xlsx"));
        QVERIFY(schrijfXlsx(
            pad, {{QStringLiteral("Prijslijst"),
                   {{QStringLiteral("Artikel"), QStringLiteral("Kleur"), QStringLiteral("EAN code")},
                    {QStringLiteral("D1"), QStringLiteral("wit"), QStringLiteral("871")}}}}));
        RecordingUiServices ui;
        clsBron2 bron;
        QVERIFY(bron.AddBestand(pad));
        QVERIFY(bron.IsExcel);
        QCOMPARE(bron.KolomKoppen, QStringLiteral("|Artikel|Kleur|EAN code"));
        QCOMPARE(bron.SheetNamen, QStringLiteral("|Prijslijst$"));
        QCOMPARE(bron.AantalSheets, 1);
        QCOMPARE(bron.DeceuninckType(), 6);
        QCOMPARE(bron.Soort, 0);
        QVERIFY(ui.errors.isEmpty());
    }

    void leveranciersIndelingen_data()
    {
        QTest::addColumn<bool>("isExcel");
        QTest::addColumn<int>("aantalSheets");
        QTest::addColumn<QString>("sheetNamen");
        QTest::addColumn<QString>("kolomKoppen");
        QTest::addColumn<bool>("holonite");
        QTest::addColumn<int>("deceuninck");

        const QString holonite = QStringLiteral("|Dorpels$|Neuten$|Bewerkingen$");
        QTest::newRow("Holonite, hoofdletters") << true << 3 << holonite << QString() << true << 0;
        QTest::newRow("Holonite, minder dan 3 tabellen") << true << 2 << holonite << QString() << false << 0;
        QTest::newRow("Holonite, twee namen")
            << true << 3 << QStringLiteral("|Dorpels$|Neuten$|Blad3$") << QString() << false << 0;
        QTest::newRow("Divisie wint")
            << true << 1 << QString() << QStringLiteral("|Kleur|Artikel|Divisie|EAN code") << false << 9;
        QTest::newRow("EAN code") << true << 1 << QString() << QStringLiteral("|Artikel|EAN code|Kleur")
                                  << false << 6;
        QTest::newRow("kleine letters tellen niet")
            << true << 1 << QString() << QStringLiteral("|kleur|artikel|divisie") << false << 0;
        QTest::newRow("geen werkmap")
            << false << 1 << QString() << QStringLiteral("|Kleur|Artikel|Divisie") << false << 0;
        QTest::newRow("Kleur ontbreekt")
            << true << 1 << QString() << QStringLiteral("|Artikel|Divisie") << false << 0;
    }
    void leveranciersIndelingen()
    {
        QFETCH(bool, isExcel);
        QFETCH(int, aantalSheets);
        QFETCH(QString, sheetNamen);
        QFETCH(QString, kolomKoppen);
        QFETCH(bool, holonite);
        QFETCH(int, deceuninck);
        clsBron2 bron;
        bron.IsExcel = isExcel;
        bron.AantalSheets = aantalSheets;
        bron.SheetNamen = sheetNamen;
        bron.KolomKoppen = kolomKoppen;
        QCOMPARE(bron.Holonite(), holonite);
        QCOMPARE(bron.DeceuninckType(), deceuninck);
        QCOMPARE(bron.Deceuninck(), deceuninck > 0);

        bron.KolomSoorten = {5, 5};
        bron.DeceuninckColumns();
        if (deceuninck == 9)
            QCOMPARE(bron.KolomSoorten, (QList<qint32>{1, 0, 0, 0, 0, 0, 0, 0, 9, 2, 0, 0, 10}));
        else if (deceuninck == 6)
            QCOMPARE(bron.KolomSoorten, (QList<qint32>{1, 0, 0, 0, 0, 9, 2, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0}));
        else
            QVERIFY(bron.KolomSoorten.isEmpty());
        if (deceuninck > 0) {
            QCOMPARE(bron.GetColumnFor(9), deceuninck);
            QCOMPARE(bron.GetColumnFor(10), deceuninck == 9 ? 13 : 10);
        }
    }

    void holoniteKolommen()
    {
        clsBron2 bron;
        bron.HoloniteColumns();
        QCOMPARE(bron.KolomSoorten, (QList<qint32>{24, 1, 2, 11, 9, 10, 13, 0, 20, 33, 34, 14, 0, 0}));
        QCOMPARE(bron.GetColumnFor(0), 8);
        QCOMPARE(bron.GetColumnFor(34), 11);
    }

    void kolomVoor()
    {
        clsBron2 bron;
        bron.KolomSoorten = {0, 2, 1, 2, 1};
        QCOMPARE(bron.GetColumnFor(1), 3);
        QCOMPARE(bron.GetColumnFor(2), 2);
        QCOMPARE(bron.GetColumnFor(0), 1);
        QCOMPARE(bron.GetColumnFor(9), 0);
    }

    void artikelGroepSelectie_data()
    {
        QTest::addColumn<bool>("jet");
        QTest::addColumn<bool>("sqlite");
        QTest::addColumn<QString>("dbType");
        QTest::addColumn<QList<qint32>>("kolommen");
        QTest::addColumn<bool>("mogelijk");
        QTest::newRow("Jet PT") << true << false << QStringLiteral("PT") << QList<qint32>{} << true;
        QTest::newRow("Jet pt") << true << false << QStringLiteral("pt") << QList<qint32>{} << true;
        QTest::newRow("Jet OPTIONS met kolom 4")
            << true << false << QStringLiteral("OPTIONS") << QList<qint32>{4} << false;
        QTest::newRow("SQLite PT") << false << true << QStringLiteral("PT") << QList<qint32>{} << false;
        QTest::newRow("CSV met artikelgroep") << false << false << QString() << QList<qint32>{1, 4} << true;
        QTest::newRow("CSV zonder artikelgroep")
            << false << false << QString() << QList<qint32>{1, 2} << false;
    }
    void artikelGroepSelectie()
    {
        QFETCH(bool, jet);
        QFETCH(bool, sqlite);
        QFETCH(QString, dbType);
        QFETCH(QList<qint32>, kolommen);
        QFETCH(bool, mogelijk);
        clsBron2 bron;
        bron.IsJetDatabase = jet;
        bron.IsSQLite = sqlite;
        bron.DBType = dbType;
        bron.KolomSoorten = kolommen;
        QCOMPARE(bron.ArtikelGroepSelectieMogelijk(), mogelijk);
    }

    void formaatOmschrijving()
    {
        clsBron2 bron;
        bron.IsOnbekend = true;
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Onbekend"));
        bron.IsCSV = true;
        QCOMPARE(bron.FormatDescription(), QStringLiteral("CSV"));
        bron.IsExcel = true;
        QCOMPARE(bron.FormatDescription(), QStringLiteral("XLS"));
        bron.IsSQLite = true;
        QCOMPARE(bron.FormatDescription(), QStringLiteral("Bvq"));
        for (int soort : {0, 1, 2, 3, 4, -1}) {
            bron.Soort = soort;
            const QStringList teksten{QStringLiteral("Artikelen"), QStringLiteral("Tabellen/Combies"),
                                      QStringLiteral("Bibliotheek"), QStringLiteral("WKV")};
            QCOMPARE(bron.SoortDescription(),
                     soort >= 0 && soort <= 3 ? teksten[soort] : QStringLiteral("Onbekend"));
        }
    }
};

QTEST_GUILESS_MAIN(Bron2Test)
#include "test_bron2.moc"
