// Reading a supplier's hardware file: the kinds of file refused, the CSV and
// workbook readings with their messages and stop rules, the column mapping
// into hardware lines (the code prefix, numbers, Y by the program's number
// rules), the distinct and required listings, and the dimensioning fix.
// CTest runs this program under C.UTF-8 and under nl_NL.UTF-8.

#include "leestestsupport.h"
#include "werkmaptestsupport.h"

#include "import/clsimportbestandhangsluit.h"
#include "start/taalomgeving.h"
#include "start/veldcatalogus.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// Code, description, article code, B >, B <, H >, H <, count, position, dimensioning, origin, X, Y.
const QList<qint32> kKolommen = {1, 2, 101, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112};

// A hardware file of two combinations as a supplier writes it: Windows-1252 ("\xe9" e acute), a title
// line, Dutch decimals in Y.
const QByteArray kCombinaties =
    "Code;Omschrijving;Artikel;B>;B<;H>;H<;Aantal;Positie;Bemating;Oorsprong;X;Y\r\n"
    "K1;Draaikiep caf\xe9;ART-1;50;120;0;0;2;1;1;0;10;2,5\r\n"
    "K1;Draaikiep caf\xe9;ART-2;0;0;0;150;1;2;9;0;;\r\n"
    "k2;Stolp;ART-1;0;0;0;0;3;4;10;1;0;1.25\r\n";

struct Omgeving
{
    TestEnvironment env;
    RecordingUiServices ui;
    clsBron2 bron;
    clsImportBestandHangSluit engine;
    Opnemer opnemer;

    explicit Omgeving(QList<qint32> kolommen = kKolommen, bool eersteRij = false)
    {
        bron.KolomSoorten = std::move(kolommen);
        bron.EersteRijImporteren = eersteRij;
        engine.SetOntvanger(&opnemer);
        globals().gLeverancierPrefix.clear();
        globals().gBibliotheekModus = false;
    }
    ~Omgeving()
    {
        globals().gLeverancierPrefix.clear();
        globals().gBibliotheekModus = false;
    }

    void bestand(const QString& naam, const QByteArray& inhoud)
    {
        bron.BronPad = env.path(naam);
        schrijf(bron.BronPad, inhoud);
    }
    // The lines (fields separated by ";") as a file of the kind: "csv", or a workbook ("xlsx", "xls") whose
    // cells hold the whole numbers as number cells, the other fields as text and nothing for an empty one.
    bool bestandAls(const QString& vorm, const QStringList& regels)
    {
        if (vorm == QLatin1String("csv")) {
            bestand("hang.csv", (regels.join("\r\n") + "\r\n").toUtf8());
            return true;
        }
        QList<QVariantList> rijen;
        for (const QString& regel : regels) {
            QVariantList rij;
            for (const QString& veld : regel.split(';')) {
                bool getal = false;
                const int waarde = veld.toInt(&getal);
                rij << (getal ? QVariant(waarde) : veld.isEmpty() ? QVariant() : QVariant(veld));
            }
            rijen << rij;
        }
        bron.BronPad = env.path("hang." + vorm);
        return vorm == QLatin1String("xls") ? schrijfXlsWerkmap(bron.BronPad, {{"Blad1", rijen}})
                                            : schrijfWerkmap(bron.BronPad, {{"Blad1", rijen}});
    }
    // The hardware lines as text: code, description, article, the eight numbers, X and Y.
    QStringList regels() const
    {
        QStringList tekst;
        for (const HangSluitRegelPtr& r : engine.HangSluitRegels())
            tekst << QStringList{r->Code(),
                                 r->Omschrijving(),
                                 r->ArtikelCode,
                                 QString::number(r->BreedteVan),
                                 QString::number(r->BreedteTot),
                                 QString::number(r->HoogteVan),
                                 QString::number(r->HoogteTot),
                                 QString::number(r->AantalStuks),
                                 QString::number(r->Positie),
                                 QString::number(r->Bemating),
                                 QString::number(r->Oorsprong),
                                 r->X,
                                 r->Y}
                         .join('|');
        return tekst;
    }
};

const QStringList kVerwachteRegels = {
    "K1|Draaikiep caf\u00e9|ART-1|50|120|0|0|2|1|1|0|10|25",
    "K1|Draaikiep caf\u00e9|ART-2|0|0|0|150|1|2|9|0|0|0",
    "k2|Stolp|ART-1|0|0|0|0|3|4|10|1|0|12.5",
};

} // namespace

class TestHangSluitLezen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(TaalOmgevingKlopt(), qPrintable(TaalOmgevingFout())); }

    void csvIntoLines()
    {
        Omgeving o;
        o.bestand("hang.csv", kCombinaties);
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.regels(), kVerwachteRegels);
        QCOMPARE(o.opnemer.hoofdActies.value(0), QStringLiteral("Inlezen bestand leverancier"));
        QVERIFY(o.opnemer.regels.contains(qMakePair(QStringLiteral("Bronbestand"), o.bron.BronPad)));
        QVERIFY(o.opnemer.fouten.isEmpty());
        QVERIFY(o.ui.messages.isEmpty());
        QVERIFY(o.ui.errors.isEmpty());
    }

    void workbookIntoLines_data()
    {
        QTest::addColumn<bool>("titelRij");
        QTest::newRow("title row") << true;
        QTest::newRow("no title row") << false;
    }

    // The same file as a workbook: numbers as number cells, Y as a number and as a Dutch text.
    void workbookIntoLines()
    {
        QFETCH(bool, titelRij);
        Omgeving o(kKolommen, !titelRij);
        QList<QVariantList> rijen;
        if (titelRij)
            rijen << QVariantList{"Code",   "Omschrijving", "Artikel",  "B>",        "B<", "H>", "H<",
                                  "Aantal", "Positie",      "Bemating", "Oorsprong", "X",  "Y"};
        rijen << QVariantList{"K1", "Draaikiep caf\u00e9", "ART-1", 50, 120, 0, 0, 2, 1, 1, 0, 10, 2.5};
        rijen << QVariantList{"K1",      "Draaikiep caf\u00e9", "ART-2", 0, 0, 0, 150, 1, 2, 9, 0, QVariant(),
                              QVariant()};
        rijen << QVariantList{"k2", "Stolp", "ART-1", 0, 0, 0, 0, 3, 4, 10, 1, 0, "1,25"};
        o.bron.BronPad = o.env.path("hang.xlsx");
        QVERIFY(schrijfWerkmap(o.bron.BronPad, {{"Combinaties", rijen}}));
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.regels(), kVerwachteRegels);
        QCOMPARE(o.opnemer.hoofdActies.last(), QStringLiteral("Sluiten bestand leverancier"));
        QVERIFY(o.opnemer.fouten.isEmpty());
        QVERIFY(o.ui.errors.isEmpty());
    }

    void yColumn_data()
    {
        QTest::addColumn<QString>("y");
        QTest::addColumn<bool>("bibliotheek");
        QTest::addColumn<QString>("verwacht");
        QTest::newRow("Dutch decimal") << "2,5" << false << "25";
        QTest::newRow("decimal point") << "2.5" << false << "25";
        QTest::newRow("grouped") << "1.234,5" << false << "12345";
        QTest::newRow("negative") << "-0,75" << false << "-7.5";
        QTest::newRow("minus zero") << "-0" << false << "0";
        QTest::newRow("blank") << "  " << false << "0";
        QTest::newRow("empty") << "" << false << "0";
        QTest::newRow("no number") << "abc" << false << "0";
        QTest::newRow("single precision") << "1,23456789" << false << "12.34568";
        QTest::newRow("library keeps text") << "abc" << true << "abc";
        QTest::newRow("library keeps the number as written") << "2,5" << true << "2,5";
        QTest::newRow("library empty") << "" << true << "0";
    }

    void yColumn()
    {
        QFETCH(QString, y);
        QFETCH(bool, bibliotheek);
        QFETCH(QString, verwacht);
        Omgeving o({1, 112});
        globals().gBibliotheekModus = bibliotheek;
        o.bestand("y.csv", "titel;y\r\nK1;" + y.toUtf8() + "\r\n");
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.engine.HangSluitRegels().size(), 1);
        QCOMPARE(o.engine.HangSluitRegels().first()->Y, verwacht);
    }

    // A row the mapping cannot take stops the reading: a CSV reading with its message, a workbook
    // reading without; each shows the row's error and counts one.
    void rowErrorStops_data()
    {
        QTest::addColumn<QString>("vorm");
        QTest::addColumn<QString>("fout"); // the second row
        QTest::newRow("csv: row shorter than the mapping") << "csv"
                                                           << "K2;kort";
        QTest::newRow("csv: number too large") << "csv"
                                               << "K2;b;A;99999999999;0;0;0;1;1;1;0;0;0";
        QTest::newRow("csv: Y that is no number") << "csv"
                                                  << "K2;b;A;0;0;0;0;1;1;1;0;0;1,2,3";
        QTest::newRow("workbook: row shorter than the mapping") << "xlsx"
                                                                << "K2;kort";
        QTest::newRow("workbook: number too large") << "xlsx"
                                                    << "K2;b;A;99999999999;0;0;0;1;1;1;0;0;0";
    }

    void rowErrorStops()
    {
        QFETCH(QString, vorm);
        QFETCH(QString, fout);
        Omgeving o(kKolommen, true);
        const QString goed = "K1;a;A;0;0;0;0;1;1;1;0;0;0";
        const QString daarna = "K3;c;A;0;0;0;0;1;1;1;0;0;0";
        if (vorm == "csv") {
            o.bestand("fout.csv", (goed + "\r\n" + fout + "\r\n" + daarna + "\r\n").toUtf8());
        } else {
            // A sheet's rows all have its columns: a short row is a sheet narrower than the mapping.
            const qsizetype breedte = fout.count(';') + 1;
            QList<QVariantList> rijen;
            for (const QString& regel : {goed, fout, daarna}) {
                QVariantList rij;
                for (const QString& veld : regel.split(';').mid(0, breedte))
                    rij << veld;
                rijen << rij;
            }
            o.bron.BronPad = o.env.path("fout.xlsx");
            QVERIFY(schrijfWerkmap(o.bron.BronPad, {{"Blad1", rijen}}));
        }
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QVERIFY(o.engine.HangSluitRegels().isEmpty());
        QCOMPARE(o.opnemer.fouten, QList<qint32>{1});
        QCOMPARE(o.ui.errors.size(), 1);
        QVERIFY(o.ui.errors.first().details.contains("clsImportBestandHangSluit.VerwerkRegel"));
        const QString melding = "Fout in regel:\r\n\r\n" + fout + "\r\n\r\nImporteren afgebroken!";
        QCOMPARE(o.opnemer.heeftActie(melding), vorm == "csv");
    }

    // A whole-number column (the dimensions, count, position, dimensioning and origin) holding a text that
    // is no number is an error of its row, as a number too large is: the row's error is shown, the reading
    // stops (a CSV reading with its message), counts one error and keeps no line, so no limit or count of
    // 0 is written as data.
    void wholeNumberColumnNoNumber_data()
    {
        QTest::addColumn<QString>("vorm");
        QTest::addColumn<int>("kolom"); // the field in the lines, from 0
        QTest::addColumn<QString>("tekst");
        for (const char* vorm : {"csv", "xlsx", "xls"}) {
            for (int kolom = 3; kolom <= 10; ++kolom)
                QTest::addRow("%s: %s", vorm, qPrintable(VeldNaam(kKolommen.at(kolom))))
                    << QString::fromLatin1(vorm) << kolom << QStringLiteral("breed");
            QTest::addRow("%s: a number followed by text", vorm)
                << QString::fromLatin1(vorm) << 4 << "120 mm";
            QTest::addRow("%s: two decimal signs", vorm) << QString::fromLatin1(vorm) << 7 << "1,2,3";
        }
    }

    void wholeNumberColumnNoNumber()
    {
        QFETCH(QString, vorm);
        QFETCH(int, kolom);
        QFETCH(QString, tekst);
        Omgeving o(kKolommen, true);
        QStringList fout = QString("K2;b;A;50;120;100;200;1;1;1;0;0;0").split(';');
        fout[kolom] = tekst;
        const QString regel = fout.join(';');
        QVERIFY(
            o.bestandAls(vorm, {"K1;a;A;50;120;100;200;1;1;1;0;0;0", regel, "K3;c;A;0;0;0;0;1;1;1;0;0;0"}));
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QVERIFY(o.engine.HangSluitRegels().isEmpty());
        QCOMPARE(o.opnemer.fouten, QList<qint32>{1});
        QCOMPARE(o.ui.errors.size(), 1);
        QVERIFY(o.ui.errors.first().details.contains("clsImportBestandHangSluit.VerwerkRegel"));
        QVERIFY2(o.ui.errors.first().details.contains("13: ") && o.ui.errors.first().details.contains(tekst),
                 qPrintable(o.ui.errors.first().details));
        const QString melding = "Fout in regel:\r\n\r\n" + regel + "\r\n\r\nImporteren afgebroken!";
        QCOMPARE(o.opnemer.heeftActie(melding), vorm == "csv");
    }

    // An empty whole-number field (and one of blanks) is 0, in every kind of file.
    void wholeNumberColumnEmpty_data()
    {
        QTest::addColumn<QString>("vorm");
        QTest::addColumn<QString>("leeg");
        for (const char* vorm : {"csv", "xlsx", "xls"}) {
            QTest::addRow("%s: empty", vorm) << QString::fromLatin1(vorm) << "";
            QTest::addRow("%s: blanks", vorm) << QString::fromLatin1(vorm) << "  ";
        }
    }

    void wholeNumberColumnEmpty()
    {
        QFETCH(QString, vorm);
        QFETCH(QString, leeg);
        Omgeving o(kKolommen, true);
        QStringList velden = QString("K1;a;A;@;@;@;@;@;@;@;@;0;0").split(';');
        velden.replaceInStrings("@", leeg);
        QVERIFY(o.bestandAls(vorm, {velden.join(';'), "K2;b;A;50;120;100;200;2;3;1;1;0;0"}));
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.regels(),
                 (QStringList{"K1|a|A|0|0|0|0|0|0|0|0|0|0", "K2|b|A|50|120|100|200|2|3|1|1|0|0"}));
        QVERIFY(o.opnemer.fouten.isEmpty());
        QVERIFY(o.ui.errors.isEmpty());
    }

    void codePrefix()
    {
        Omgeving o({1, 2, 101});
        globals().gLeverancierPrefix = QStringLiteral("ROTO_");
        o.bestand("roto.csv", "titel\r\nK1;Kiep;A1\r\n;Leeg;\r\n");
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.engine.HangSluitRegels().size(), 2);
        QCOMPARE(o.engine.HangSluitRegels()[0]->Code(), QStringLiteral("ROTO_K1"));
        QCOMPARE(o.engine.HangSluitRegels()[0]->ArtikelCode, QStringLiteral("ROTO_A1"));
        QCOMPARE(o.engine.HangSluitRegels()[1]->Code(), QString());
        QCOMPARE(o.engine.HangSluitRegels()[1]->ArtikelCode, QString());
    }

    // A selection step lists each code once over its sources, compared without regard to case.
    void distinctListing()
    {
        Omgeving o;
        auto alle = std::make_shared<ItemCollection>();
        o.engine.SetColItemsDistinct(alle);
        o.bestand("hang.csv",
                  kCombinaties + "A1;eerste;X;0;0;0;0;1;0;0;0;0;0\r\na1;tweede;X;0;0;0;0;1;0;0;0;0;0\r\n");
        QVERIFY(o.engine.InlezenBestand(o.bron, true));
        QVERIFY(o.engine.HangSluitRegels().isEmpty());
        QStringList codes;
        for (const auto& item : *alle)
            codes << item->Code + '=' + item->Description;
        QCOMPARE(codes, (QStringList{"K1=Draaikiep caf\u00e9", "k2=Stolp", "A1=eerste"}));

        // A second source adds to the same list: K2 is k2.
        clsImportBestandHangSluit tweede;
        tweede.SetColItemsDistinct(alle);
        o.bestand("tweede.csv",
                  "titel\r\nK2;Stolp groot;X;0;0;0;0;1;0;0;0;0;0\r\nK9;nieuw;X;0;0;0;0;1;0;0;0;0;0\r\n");
        QVERIFY(tweede.InlezenBestand(o.bron, true));
        QCOMPARE(alle->size(), 4);
        QCOMPARE(alle->last()->Code, QStringLiteral("K9"));
    }

    // The article selection lists the articles of the combinations asked for, once per line (exact codes).
    void requiredListing()
    {
        Omgeving o;
        o.bestand("hang.csv", kCombinaties);
        QVERIFY(!o.engine.LocksHingesArtikelVerplichtDistinct(o.bron, nullptr));
        QVERIFY(!o.engine.LocksHingesArtikelVerplichtDistinct(o.bron, std::make_shared<ItemCollection>()));
        QVERIFY(o.opnemer.regels.isEmpty()); // nothing read

        auto gevraagd = std::make_shared<ItemCollection>();
        for (const char* code : {"K1", "K2"}) {
            gevraagd->append(std::make_shared<clsItem>());
            gevraagd->last()->Code = QString::fromLatin1(code);
        }
        QVERIFY(o.engine.LocksHingesArtikelVerplichtDistinct(o.bron, gevraagd));
        QStringList codes;
        for (const auto& item : *o.engine.ColItemsDistinct())
            codes << item->Code;
        QCOMPARE(codes, (QStringList{"ART-1", "ART-2"})); // k2 is not K2
    }

    void nothingToRead_data()
    {
        QTest::addColumn<QByteArray>("inhoud");
        QTest::addColumn<QString>("naam");
        QTest::addColumn<QString>("actie");   // the counted message; empty: none
        QTest::addColumn<QString>("venster"); // the message box; empty: none
        const QString geenGegevens =
            "Het ophalen van tabel gegevens uit het bronbestand is mislukt, het bestand "
            "bevat geen gegevens die omgezet kunnen worden naar een tabel.";
        QTest::newRow("title line only")
            << QByteArray("Code;Omschrijving\r\n") << "titel.csv" << geenGegevens << "";
        QTest::newRow("blank lines only")
            << QByteArray("titel\r\n  \r\n;;\r\n") << "leeg.csv" << geenGegevens << "";
        QTest::newRow("empty file") << QByteArray() << "leeg.csv"
                                    << "Bestandstype niet vastgesteld"
                                    << "";
        QTest::newRow("Jet database") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << "opties.mdb"
                                      << "Bestandstype Jet fout voor CSV import"
                                      << "";
        QTest::newRow("SQLite database")
            << QByteArray("SQLite format 3\x00", 16) + QByteArray(100, '\x01') << "opties.db"
            << "Bestandstype SQLite fout voor CSV import"
            << "";
        QTest::newRow("workbook that does not open")
            << QByteArray("PK\x03\x04\x00\x01\x02\xff\xfe", 9) << "kapot.xlsx"
            << "Openen bestand mislukt! '@'"
            << "";
    }

    void nothingToRead()
    {
        QFETCH(QByteArray, inhoud);
        QFETCH(QString, naam);
        QFETCH(QString, actie);
        QFETCH(QString, venster);
        Omgeving o;
        o.bestand(naam, inhoud);
        actie.replace('@', o.bron.BronPad);
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QVERIFY(o.engine.HangSluitRegels().isEmpty());
        QVERIFY2(o.opnemer.heeftActie(actie), qPrintable(actie));
        QCOMPARE(o.opnemer.fouten, QList<qint32>{1});
        QVERIFY(o.ui.messages.isEmpty());
    }

    void missingFile()
    {
        Omgeving o;
        o.bron.BronPad = o.env.path("weg.csv");
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QVERIFY(o.opnemer.regels.contains(qMakePair(QStringLiteral("Niet gevonden"), o.bron.BronPad)));
        QVERIFY(o.opnemer.heeftActie("Bestand '" + o.bron.BronPad + "' niet gevonden!"));
        QCOMPARE(o.opnemer.fouten, QList<qint32>{1});
    }

    // A workbook without rows (which the workbook reader takes as one that does not open), or whose only
    // row is its title row: a message each, counted, and false.
    void workbookWithoutData_data()
    {
        QTest::addColumn<QList<QVariantList>>("rijen");
        QTest::addColumn<QString>("actie");
        QTest::newRow("no rows") << QList<QVariantList>{} << "Openen bestand mislukt! '@'";
        QTest::newRow("title row only")
            << QList<QVariantList>{{"Code", "Omschrijving"}}
            << "Het ophalen van tabel gegevens uit het bronbestand is mislukt, het "
               "bestand bevat geen gegevens die omgezet kunnen worden naar een tabel.";
    }

    void workbookWithoutData()
    {
        QFETCH(QList<QVariantList>, rijen);
        QFETCH(QString, actie);
        Omgeving o({1, 2});
        o.bron.BronPad = o.env.path("leeg.xlsx");
        QVERIFY(schrijfWerkmap(o.bron.BronPad, {{"Leeg", rijen}}));
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        actie.replace('@', o.bron.BronPad);
        QVERIFY2(o.opnemer.heeftActie(actie), qPrintable(actie));
        QCOMPARE(o.opnemer.fouten, QList<qint32>{1});
    }

    // A text file without a single line (a byte-order mark alone): the message box, not counted.
    void emptyCsvShowsMessage()
    {
        Omgeving o;
        o.bestand("leeg.csv", "\xEF\xBB\xBF");
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QCOMPARE(o.ui.messages.size(), 1);
        QCOMPARE(o.ui.messages.first().text, "Geen onderdelen aangetroffen in " + o.bron.BronPad + " !");
        QCOMPARE(o.opnemer.hoofdActies.last(), QStringLiteral("Sluiten bestand leverancier"));
        QVERIFY(o.opnemer.fouten.isEmpty());
    }

    void bematingFix_data()
    {
        QTest::addColumn<QList<qint32>>("voor");
        QTest::addColumn<QList<qint32>>("na");
        QTest::newRow("no 9 or 10: unchanged") << QList<qint32>{1, 2, 3, 0} << QList<qint32>{1, 2, 3, 0};
        QTest::newRow("a 9 renumbers all") << QList<qint32>{1, 2, 3, 9, 0} << QList<qint32>{3, 0, 3, 2, 0};
        QTest::newRow("a 10 renumbers all") << QList<qint32>{10, 1, 2, 5} << QList<qint32>{1, 3, 0, 5};
    }

    void bematingFix()
    {
        QFETCH(QList<qint32>, voor);
        QFETCH(QList<qint32>, na);
        Omgeving o({1, 109});
        QByteArray inhoud = "titel\r\n";
        for (const qint32 b : voor)
            inhoud += "K;" + QByteArray::number(b) + "\r\n";
        o.bestand("bemating.csv", inhoud);
        QVERIFY(o.engine.InlezenBestand(o.bron, false));
        o.engine.Fix_Bemating_30_31();
        QList<qint32> uitkomst;
        for (const HangSluitRegelPtr& r : o.engine.HangSluitRegels())
            uitkomst << r->Bemating;
        QCOMPARE(uitkomst, na);
    }

    void cancelStopsReading()
    {
        Omgeving o;
        o.bestand("hang.csv", kCombinaties);
        o.engine.Cancel();
        QVERIFY(!o.engine.InlezenBestand(o.bron, false));
        QVERIFY(o.engine.HangSluitRegels().isEmpty());
    }
};

QTEST_MAIN(TestHangSluitLezen)
#include "test_hangsluitlezen.moc"
