// Inspecting a source file: the kind from the first bytes, the layout of a
// delimited text, the facts of a workbook, and the version record of a
// database of the design product.

#include "bronnentestutil.h"
#include "fixtures/designdatabases.h"
#include "sources/bronbestandsinspectie.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// A database with the tables of a workbook as its mirror holds them (F1..Fn, first row as data).
void maakWerkboekDatabase(const QString& path, const QList<QPair<QString, QList<QVariantList>>>& bladen)
{
    auto db = SqliteBackend::open(path, SqliteOpenOptions{true, false});
    for (const auto& [naam, rijen] : bladen) {
        const int breedte = rijen.isEmpty() ? 1 : int(rijen.first().size());
        QStringList kolommen, vragen;
        for (int i = 1; i <= breedte; ++i) {
            kolommen << QStringLiteral("F%1 TEXT").arg(i);
            vragen << QStringLiteral("?");
        }
        db->execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(naam, kolommen.join(QLatin1Char(','))));
        for (const QVariantList& rij : rijen)
            db->execute(
                QStringLiteral("INSERT INTO [%1] VALUES (%2)").arg(naam, vragen.join(QLatin1Char(','))), rij);
    }
    db->close();
}

struct ExcelUitkomst
{
    bool isExcel = true;
    qint32 kolommen = 99;
    QString eersteRij = QStringLiteral("oud");
    bool herhaald = true;
    qint32 tabellen = 0;
    QString tabelNamen;
};

ExcelUitkomst leesExcel(const QString& path)
{
    ExcelUitkomst u;
    LeesExcelKolommen(path, u.isExcel, u.kolommen, u.eersteRij, u.herhaald, u.tabellen, u.tabelNamen);
    return u;
}

} // namespace

class InspectieTest : public QObject
{
    Q_OBJECT

private slots:
    void bestandsType_data()
    {
        QTest::addColumn<QByteArray>("inhoud");
        QTest::addColumn<int>("soort");

        QTest::newRow("leeg") << QByteArray() << -1;
        QTest::newRow("een leesbaar teken") << QByteArray("A") << 0;
        QTest::newRow("een stuurteken") << QByteArray("\x01", 1) << 1;
        QTest::newRow("30 stuur, 70 leesbaar") << (QByteArray(30, '\x02') + QByteArray(70, 'x')) << 0;
        QTest::newRow("50 stuur, 50 leesbaar") << (QByteArray(50, '\x02') + QByteArray(50, 'x')) << 0;
        QTest::newRow("51 stuur, 49 leesbaar") << (QByteArray(51, '\x02') + QByteArray(49, 'x')) << 1;
        // Only the first 100 bytes count.
        QTest::newRow("stuurtekens na byte 100") << (QByteArray(100, 'x') + QByteArray(500, '\0')) << 0;
        QTest::newRow("tekst met tabs en regeleinden") << QByteArray("Code;Omschrijving\r\nA1;Deur\r\n") << 0;
        QTest::newRow("Jet-kop") << (QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                     QByteArray(300, '\0'))
                                 << 2;
        QTest::newRow("SQLite-kop") << (QByteArray("SQLite format 3\0", 16) + QByteArray(300, '\0')) << 3;
        QTest::newRow("Jet-kop zonder nullen ervoor")
            << (QByteArray("Standard Jet DB") + QByteArray(300, '\0')) << 1;
        // A text that mentions the engines is still a text.
        QTest::newRow("tekst noemt SQLite") << QByteArray("Code;Omschrijving;SQLite-versie;Prijs\r\n") << 0;
        QTest::newRow("tekst noemt Jet") << QByteArray("    Standard Jet DB;x;y\r\n") << 0;
        // A workbook of Excel 2007 and later: a zip package whose compressed bytes look printable.
        QTest::newRow("zip-pakket") << (QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00") +
                                        QByteArray(90, 'x'))
                                    << 1;
        QTest::newRow("Windows-1252 tekst") << QByteArray("Caf\xE9;Cr\xE8me;Na\xEFve\r\n") << 0;
    }
    void bestandsType()
    {
        QFETCH(QByteArray, inhoud);
        QFETCH(int, soort);
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("bestand.dat"));
        QVERIFY(schrijfBestand(pad, inhoud));
        QCOMPARE(BepaalBestandsType(pad), soort);
    }

    void bestandsTypeVanEchteBestanden()
    {
        TestEnvironment env;
        const QString db = env.path(QStringLiteral("pt.sqlite"));
        QVERIFY(fixtures::makeDatabase(db, fixtures::Kind::ProductTable, {3, 50}));
        QCOMPARE(BepaalBestandsType(db), BestandsType::SQLite);
        // A file that cannot be opened counts as text.
        QCOMPARE(BepaalBestandsType(env.path(QStringLiteral("bestaat-niet.csv"))), BestandsType::Tekst);
        QCOMPARE(BepaalBestandsType(env.root()), BestandsType::Tekst);

        const QString corpus = testDataFolder();
        const QString mdb = corpus + QStringLiteral("/mdb/testodbc.mdb");
        if (corpus.isEmpty() || !QFile::exists(mdb))
            QSKIP("public Jet corpus not present");
        QCOMPARE(BepaalBestandsType(mdb), BestandsType::Jet);
    }

    void standaardCSV()
    {
        QString scheiding = QStringLiteral(",");
        bool quotes = false;
        qint32 kolommen = 0;
        bool herhaald = true;
        StandaardCSVInstellingen(QString(), scheiding, quotes, kolommen, herhaald);
        QCOMPARE(scheiding, QStringLiteral(";"));
        QVERIFY(quotes);
        QCOMPARE(kolommen, 6);
        QVERIFY(!herhaald);
    }

    void csvIndeling_data()
    {
        QTest::addColumn<QByteArray>("inhoud");
        QTest::addColumn<bool>("isCSV");
        QTest::addColumn<QString>("scheiding");
        QTest::addColumn<bool>("quotes");
        QTest::addColumn<int>("kolommen");
        QTest::addColumn<bool>("herhaald");

        const QString pk = QStringLiteral(";");
        const QString k = QStringLiteral(",");
        QTest::newRow("leeg bestand") << QByteArray() << false << QString() << false << -1 << false;
        QTest::newRow("lege eerste regel")
            << QByteArray("\r\na;b;c\r\n") << false << QString() << false << -1 << false;
        QTest::newRow("een puntkomma")
            << QByteArray("a;b\r\nc;d\r\n") << false << QString() << false << -1 << false;
        QTest::newRow("een van elk") << QByteArray("a;b,c\r\n") << false << QString() << false << -1 << false;
        QTest::newRow("twee puntkomma's, een komma")
            << QByteArray("a;b;c,d\r\nx;y;z\r\n") << true << pk << false << 3 << false;
        QTest::newRow("drie komma's, een puntkomma")
            << QByteArray("a,b,c,d;e\r\n") << true << k << false << 2 << false;
        QTest::newRow("twee van elk") << QByteArray("a,b;c,d;e\r\n") << true << pk << false << 3 << false;
        // The line splitter splits at ";" only.
        QTest::newRow("kommagescheiden")
            << QByteArray("a,b,c\r\n1,2,3\r\n") << true << k << false << 1 << false;
        QTest::newRow("vier aanhalingstekens")
            << QByteArray("\"a\";\"b\";c\r\n") << true << pk << true << 3 << false;
        QTest::newRow("drie aanhalingstekens")
            << QByteArray("\"a\";\"b;c\r\n") << true << pk << false << 3 << false;
        QTest::newRow("spaties om de regel")
            << QByteArray("   a;b;c   \r\n") << true << pk << false << 3 << false;
        QTest::newRow("regels 2 en 3 gelijk begin")
            << QByteArray("Code;Oms;Prijs\r\nA1;x;1\r\nA1;y;2\r\nB;z;3\r\n") << true << pk << false << 3
            << true;
        QTest::newRow("regels 2 en 4 gelijk begin")
            << QByteArray("Code;Oms;Prijs\r\nA1;x;1\r\nB;y;2\r\nA1;z;3\r\n") << true << pk << false << 3
            << false;
        QTest::newRow("regels 1 en 2 gelijk begin")
            << QByteArray("A1;Oms;Prijs\nA1;x;1\n") << true << pk << false << 3 << true;
        // A later empty line ends the search.
        QTest::newRow("lege regel stopt")
            << QByteArray("Code;Oms;Prijs\r\nA1;x;1\r\n\r\nA1;y;2\r\n") << true << pk << false << 3 << false;
        QTest::newRow("met aanhalingstekens herhaald")
            << QByteArray("\"C\";\"O\";\"P\"\r\n\"A;1\";\"x\";\"1\"\r\n\"A;1\";\"y\";\"2\"\r\n") << true << pk
            << true << 3 << true;
        QTest::newRow("alleen regeleinde LF")
            << QByteArray("a;b;c\nd;e;f\nd;g;h") << true << pk << false << 3 << true;
        QTest::newRow("Windows-1252 herhaald")
            << QByteArray("Code;Oms;Prijs\r\n\xE9\xE9n;x;1\r\n\xE9\xE9n;y;2\r\n") << true << pk << false << 3
            << true;
        QTest::newRow("UTF-8 herhaald")
            << QByteArray("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F"
                          "e;Oms;Prijs\r\n\xC3\xA9\xC3\xA9n;x;1\r\n\xC3\xA9\xC3\xA9n;y;2\r\n")
            << true << pk << false << 3 << true;
    }
    void csvIndeling()
    {
        QFETCH(QByteArray, inhoud);
        QFETCH(bool, isCSV);
        QFETCH(QString, scheiding);
        QFETCH(bool, quotes);
        QFETCH(int, kolommen);
        QFETCH(bool, herhaald);
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("bron.csv"));
        QVERIFY(schrijfBestand(pad, inhoud));

        // Every output starts anew, whatever it held.
        bool uitIsCSV = !isCSV;
        QString uitScheiding = QStringLiteral("x");
        bool uitQuotes = !quotes;
        qint32 uitKolommen = 77;
        bool uitHerhaald = !herhaald;
        BepaalCSVIndeling(pad, uitIsCSV, uitScheiding, uitQuotes, uitKolommen, uitHerhaald);
        QCOMPARE(uitIsCSV, isCSV);
        QCOMPARE(uitScheiding, scheiding);
        QCOMPARE(uitQuotes, quotes);
        QCOMPARE(uitKolommen, kolommen);
        QCOMPARE(uitHerhaald, herhaald);
    }

    void csvIndelingZonderBestand()
    {
        TestEnvironment env;
        bool isCSV = true;
        QString scheiding = QStringLiteral(";");
        bool quotes = true;
        qint32 kolommen = 5;
        bool herhaald = true;
        BepaalCSVIndeling(env.path(QStringLiteral("weg.csv")), isCSV, scheiding, quotes, kolommen, herhaald);
        QVERIFY(!isCSV);
        QVERIFY(scheiding.isEmpty());
        QVERIFY(!quotes);
        QCOMPARE(kolommen, -1);
        QVERIFY(!herhaald);
    }

    void dbInfoSQLite()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("lib.sqlite"));
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::Library, {3, 50}));
        bool geopend = false;
        QString appType, dbType;
        qint32 major = 0, minor = 0;
        LeesDBInfoSQLite(pad, geopend, appType, dbType, major, minor);
        QVERIFY(geopend);
        QCOMPARE(appType, QStringLiteral("VELMORA"));
        QCOMPARE(dbType, QStringLiteral("LIBRARY"));
        QCOMPARE(major, 3);
        QCOMPARE(minor, 50);
        QVERIFY(ui.errors.isEmpty());
    }

    void dbInfoTweeRijen()
    {
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("pt.sqlite"));
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::ProductTable, {3, 40}));
        fixtures::FixtureDb(pad).addVersionRow(QStringLiteral("QUENTARO"), QStringLiteral("OPTIONS"), 4, 10);
        bool geopend = false;
        QString appType, dbType;
        qint32 major = 0, minor = 0;
        LeesDBInfoSQLite(pad, geopend, appType, dbType, major, minor);
        QVERIFY(geopend);
        QCOMPARE(appType, QStringLiteral("VELMORA|QUENTARO"));
        QCOMPARE(dbType, QStringLiteral("PT"));
        QCOMPARE(major, 3);
        QCOMPARE(minor, 40);

        // An AppType that already holds text gets the rows appended behind a bar.
        appType = QStringLiteral("X");
        LeesDBInfoSQLite(pad, geopend, appType, dbType, major, minor);
        QCOMPARE(appType, QStringLiteral("X|VELMORA|QUENTARO"));
    }

    void dbInfoZonderVersieRecord()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("kaal.sqlite"));
        {
            auto db = SqliteBackend::open(pad, SqliteOpenOptions{true, false});
            db->execute(QStringLiteral("CREATE TABLE Iets (ID INTEGER)"));
            db->close();
        }
        bool geopend = true;
        QString appType = QStringLiteral("a"), dbType = QStringLiteral("b");
        qint32 major = 7, minor = 8;
        LeesDBInfoSQLite(pad, geopend, appType, dbType, major, minor);
        QCOMPARE(appType, QStringLiteral("a"));
        QCOMPARE(dbType, QStringLiteral("b"));
        QCOMPARE(major, 7);
        QCOMPARE(minor, 8);

        // A file that is no database, or none at all: not opened, quietly.
        const QString tekst = env.path(QStringLiteral("tekst.sqlite"));
        QVERIFY(schrijfBestand(tekst, "geen database"));
        for (const QString& pad2 : {tekst, env.path(QStringLiteral("weg.sqlite"))}) {
            geopend = true;
            LeesDBInfoSQLite(pad2, geopend, appType, dbType, major, minor);
            QVERIFY(!geopend);
            QCOMPARE(dbType, QStringLiteral("b"));
        }
        QVERIFY(ui.errors.isEmpty());
        QVERIFY(ui.messages.isEmpty());
    }

    void dbInfoJetLogica()
    {
        // The reading of the record, on a database that the Jet opener hands over.
        OpenersTerug terug;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("opt.sqlite"));
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::Options, {3, 30}, QStringLiteral("RUVEZEVORER")));
        fixtures::FixtureDb(pad).addVersionRow(QStringLiteral("VELMORA"), QStringLiteral("PT"), 5, 0);
        jetAlsSQLite(pad);
        bool geopend = false;
        QString appType, dbType;
        qint32 major = 0, minor = 0;
        LeesDBInfoJet(env.path(QStringLiteral("bron.mdb")), geopend, appType, dbType, major, minor);
        QVERIFY(geopend);
        QCOMPARE(appType, QStringLiteral("RUVEZEVORER|VELMORA"));
        QCOMPARE(dbType, QStringLiteral("OPTIONS"));
        QCOMPARE(major, 3);
        QCOMPARE(minor, 30);
    }

    void dbInfoJetEchtBestand()
    {
        const QString corpus = testDataFolder();
        const QString mdb = corpus + QStringLiteral("/mdb/testodbc.mdb");
        if (corpus.isEmpty() || !QFile::exists(mdb))
            QSKIP("public Jet corpus not present");
        RecordingUiServices ui;
        // A Jet database without a version record: the fields stay as they were.
        bool geopend = false;
        QString appType = QStringLiteral("a"), dbType = QStringLiteral("b");
        qint32 major = 7, minor = 8;
        LeesDBInfoJet(mdb, geopend, appType, dbType, major, minor);
        QCOMPARE(appType, QStringLiteral("a"));
        QCOMPARE(dbType, QStringLiteral("b"));
        QCOMPARE(major, 7);
        QCOMPARE(minor, 8);
        QVERIFY(ui.errors.isEmpty());
    }

    void excelLogica()
    {
        OpenersTerug terug;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("werkboek.sqlite"));
        maakWerkboekDatabase(
            pad,
            {{QStringLiteral("Neuten$"), {{QStringLiteral("n")}}},
             {QStringLiteral("Bewerkingen$"),
              {{QStringLiteral("Kleur"), QStringLiteral("Artikel"), QVariant(), QStringLiteral("EAN code")},
               {QStringLiteral("A1"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")},
               {QStringLiteral("A1"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}}},
             {QStringLiteral("dorpels$"), {{QStringLiteral("d")}}}});
        excelAlsSQLite(pad);
        const ExcelUitkomst u = leesExcel(env.path(QStringLiteral("prijzen.xls")));
        QVERIFY(u.isExcel);
        // The first table in name order, its first row as data, a null as empty text.
        QCOMPARE(u.kolommen, 4);
        QCOMPARE(u.eersteRij, QStringLiteral("|Kleur|Artikel||EAN code"));
        QVERIFY(u.herhaald);
        QCOMPARE(u.tabellen, 3);
        QCOMPARE(u.tabelNamen, QStringLiteral("|Bewerkingen$|dorpels$|Neuten$"));
    }

    void excelHerhaling_data()
    {
        QTest::addColumn<QVariantList>("eersteKolom");
        QTest::addColumn<bool>("herhaald");
        QTest::newRow("allemaal anders")
            << QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")} << false;
        QTest::newRow("twee na elkaar")
            << QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("b")} << true;
        // The value before the first row is empty text.
        QTest::newRow("lege eerste cel") << QVariantList{QVariant(), QStringLiteral("b")} << true;
        QTest::newRow("lege tekst eerste cel") << QVariantList{QString(), QStringLiteral("b")} << true;
    }
    void excelHerhaling()
    {
        QFETCH(QVariantList, eersteKolom);
        QFETCH(bool, herhaald);
        OpenersTerug terug;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("werkboek.sqlite"));
        QList<QVariantList> rijen;
        for (const QVariant& waarde : eersteKolom)
            rijen.append({waarde, QStringLiteral("x")});
        maakWerkboekDatabase(pad, {{QStringLiteral("Blad1$"), rijen}});
        excelAlsSQLite(pad);
        QCOMPARE(leesExcel(env.path(QStringLiteral("b.xls"))).herhaald, herhaald);
    }

    void excelLegeEersteTabel()
    {
        // A first table without rows still lets the tables be counted.
        OpenersTerug terug;
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("werkboek.sqlite"));
        maakWerkboekDatabase(pad,
                             {{QStringLiteral("A$"), {}}, {QStringLiteral("B$"), {{QStringLiteral("x")}}}});
        excelAlsSQLite(pad);
        const ExcelUitkomst u = leesExcel(env.path(QStringLiteral("b.xls")));
        QVERIFY(u.isExcel);
        QCOMPARE(u.kolommen, 1);
        QCOMPARE(u.eersteRij, QStringLiteral("oud"));
        QVERIFY(!u.herhaald);
        QCOMPARE(u.tabellen, 2);
        QCOMPARE(u.tabelNamen, QStringLiteral("|A$|B$"));
    }

    void excelOpentNiet()
    {
        RecordingUiServices ui;
        OpenersTerug terug;
        backendOpeners().excel = [](const QString&, bool, ExcelProvider) -> DbConnection {
            throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Onleesbare werkmap."));
        };
        TestEnvironment env;
        const ExcelUitkomst u = leesExcel(env.path(QStringLiteral("kapot.xls")));
        QVERIFY(!u.isExcel);
        QCOMPARE(u.kolommen, -1);
        QVERIFY(!u.herhaald);
        QCOMPARE(u.eersteRij, QStringLiteral("oud"));
        QCOMPARE(u.tabellen, 0);
        QVERIFY(ui.errors.isEmpty());
    }

    void excelEchteWerkmap()
    {
        TestEnvironment env;
        const QString pad = env.path(QStringLiteral("holonite.xlsx"));
        QVERIFY(schrijfXlsx(
            pad, {{QStringLiteral("Dorpels"), {{QStringLiteral("d1")}}},
                  {QStringLiteral("Neuten"), {{QStringLiteral("n1")}}},
                  {QStringLiteral("Bewerkingen"),
                   {{QStringLiteral("Kleur"), QStringLiteral("Artikel"), QStringLiteral("Divisie")},
                    {QStringLiteral("W1"), QStringLiteral("a"), QStringLiteral("b")},
                    {QStringLiteral("W1"), QStringLiteral("c"), QStringLiteral("d")}}}}));
        QCOMPARE(BepaalBestandsType(pad), BestandsType::Binair);
        const ExcelUitkomst u = leesExcel(pad);
        QVERIFY(u.isExcel);
        QCOMPARE(u.kolommen, 3);
        QCOMPARE(u.eersteRij, QStringLiteral("|Kleur|Artikel|Divisie"));
        QVERIFY(u.herhaald);
        QCOMPARE(u.tabellen, 3);
        QCOMPARE(u.tabelNamen, QStringLiteral("|Bewerkingen$|Dorpels$|Neuten$"));
    }
};

QTEST_GUILESS_MAIN(InspectieTest)
#include "test_inspectie.moc"
