// Reading a supplier's CSV article file: decoding, title and blank lines, the
// supplier's code prefix, list-only mode for articles and article groups, and
// the failures with their messages and error counts.

#include "leestestsupport.h"

#include "import/artikelbestandlezer.h"
#include "import/bronbestandlezer.h"
#include "import/importmelder.h"

#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// Dutch letters, a quoted field with a separator, blank lines and a line of spaces.
const QString kInhoud = QString::fromUtf8("Code;Omschrijving;Prijs\r\n"
                                          "A1;Drempel \"één\";12,50\r\n"
                                          "\r\n"
                                          "   \r\n"
                                          "B2;\"Neut; ijzerhard\";3\r\n"
                                          "C3;Café ëxtra;\n");

const QList<QStringList> kRegels = {
    {"A1", QString::fromUtf8("Drempel één"), "12,50"},
    {"B2", "Neut; ijzerhard", "3"},
    {"C3", QString::fromUtf8("Café ëxtra"), ""},
};

struct Bron
{
    clsBron2 bron;
    explicit Bron(const QString& path, QList<qint32> kolommen, bool eersteRij = false)
    {
        bron.BronPad = path;
        bron.IsCSV = true;
        bron.KolomSoorten = std::move(kolommen);
        bron.EersteRijImporteren = eersteRij;
    }
};

QStringList codes(const ItemCollection& items)
{
    QStringList result;
    for (const auto& i : items)
        result << i->Code;
    return result;
}

} // namespace

class TestLeesCsvBestand : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals().gLeverancierPrefix.clear(); }
    void cleanup() { globals().gLeverancierPrefix.clear(); }

    void transferLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("utf-8") << kInhoud.toUtf8();
        QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF") + kInhoud.toUtf8();
        QTest::newRow("windows-1252") << kInhoud.toLatin1();
    }

    void transferLines()
    {
        QFETCH(QByteArray, bytes);
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("artikelen.csv");
        schrijf(path, bytes);
        Bron b(path, {1, 2, 10});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);

        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels(), kRegels);
        QVERIFY(lezer.ColItemsDistinct()->isEmpty());
        QCOMPARE(opnemer.totalen, QList<qint32>{6});
        QCOMPARE(opnemer.hoofdActies,
                 (QStringList{"Inlezen bestand leverancier", "Sluiten bestand leverancier"}));
        QCOMPARE(opnemer.regels.first(), qMakePair(QStringLiteral("Bron bestand"), path));
        QVERIFY(opnemer.fouten.isEmpty());
        QVERIFY(ui.messages.isEmpty());
    }

    void firstLineAsData()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("a.csv");
        schrijf(path, "X1;Een\nX2;Twee\n");
        Bron b(path, {1, 2}, true);
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels().size(), 2);
        QCOMPARE(lezer.GelezenRegels().first().first(), QStringLiteral("X1"));
    }

    void windows1252Letters()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("cp1252.csv");
        schrijf(path, "T\nE1;Prijs \x80 5 \x96 \x93ge\xEBrfd\x94\n");
        Bron b(path, {1, 2});
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels().first().at(1),
                 QString::fromUtf8("Prijs \u20AC 5 \u2013 \u201Cge\u00EBrfd\u201D"));
    }

    void titleLineOnly()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("leeg.csv");
        schrijf(path, "Code;Omschrijving\r\n");
        Bron b(path, {1, 2});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, QStringLiteral("Geen artikelen aangetroffen in ") + path + " !");
        QCOMPARE(ui.messages.first().style, int(MsgBox::OkOnly));
        // The driver sees the failed reading.
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void missingFile()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("weg.csv");
        Bron b(path, {1});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, false));
        QVERIFY(opnemer.regels.contains(qMakePair(QStringLiteral("Niet gevonden"), path)));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, QStringLiteral("Bestand '") + path + "' niet gevonden!");
        QCOMPARE(MsgBox::icon(ui.messages.first().style), int(MsgBox::Critical));
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void tooFewColumnsStopsTheReading()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("kort.csv");
        schrijf(path, "Titel\nA;Een;Groep1\n   \nB;Twee\nC;Drie;Groep2\n");
        Bron b(path, {1, 2, 4});
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(b.bron, true));
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.first().details.startsWith(QStringLiteral(
            "Procedure = Het bronbestand bevat te weinig kolommen op regel (4)\r\nB;Twee\r\n\r\n")));
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
        QCOMPARE(codes(*lezer.ColItemsDistinct()), QStringList{"A"}); // C is not read
    }

    void supplierPrefix()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        globals().gLeverancierPrefix = QStringLiteral("ROTO_");
        const QString path = env.path("roto.csv");
        schrijf(path, "T\nA1;Een;B1\n;Leeg;\nA2;Twee;A1\n");
        Bron b(path, {1, 2, 7});
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, false));
        QCOMPARE(lezer.GelezenRegels(),
                 (QList<QStringList>{
                     {"ROTO_A1", "Een", "ROTO_B1"}, {"", "Leeg", ""}, {"ROTO_A2", "Twee", "ROTO_A1"}}));
    }

    void listArticles()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("lijst.csv");
        // Codes compare without regard to case; a code holding bars is a code like any other.
        schrijf(path, "T\nab;Een;G1;M1\nAB;Dubbel;G1;M2\nA;x;G2;\nB;y;G2;\na||b;z;G3;\n;geen code;G4;\n");
        Bron b(path, {1, 2, 4, 7});
        ImportMelder melder;
        ArtikelBestandLezer lezer(melder);
        ItemCollection items;
        QVERIFY(lezer.Lees(b.bron, ArtikelBestandLezer::Modus::LijstArtikelen, items));
        QVERIFY(lezer.GelezenRegels().isEmpty());
        QCOMPARE(codes(items), (QStringList{"ab", "A", "B", "a||b"}));
        QCOMPARE(items.first()->Description, QStringLiteral("Een"));
        QCOMPARE(items.first()->CodeGespiegeld, QStringLiteral("M1"));
        QCOMPARE(items.first()->GroepOmschrijving, QStringLiteral("G1"));
        QVERIFY(lezer.ZitIncolItemsDistinct(QStringLiteral("A||B")));
        QVERIFY(!lezer.ZitIncolItemsDistinct(QStringLiteral("b|")));
    }

    void listArticlesDescriptionFallback()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("lijst31.csv");
        schrijf(path, "T\nA;Beide\n");
        Bron b(path, {1, 31});
        Lezer lezer;
        QVERIFY(lezer.InlezenBestand(b.bron, true));
        QCOMPARE(lezer.ColItemsDistinct()->first()->Description, QStringLiteral("Beide"));
        QVERIFY(lezer.ColItemsDistinct()->first()->GroepOmschrijving.isEmpty());

        // Only a code column: the codes are listed without a description.
        Bron alleenCode(path, {1});
        Lezer lezer2;
        QVERIFY(lezer2.InlezenBestand(alleenCode.bron, true));
        QCOMPARE(codes(*lezer2.ColItemsDistinct()), QStringList{"A"});
        QVERIFY(lezer2.ColItemsDistinct()->first()->Description.isEmpty());
        QVERIFY(ui.errors.isEmpty());
    }

    void listGroups()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("groepen.csv");
        schrijf(path, "T\nA;Een;Kozijn\nB;Twee;kozijn\nC;Drie;\nD;Vier;Deur\n");
        Bron b(path, {1, 2, 4});
        Lezer lezer;
        QVERIFY(lezer.InlezenBestandArtikelGroepen(b.bron, true));
        const ItemCollection& items = *lezer.ColItemsDistinct();
        QCOMPARE(codes(items), (QStringList{"Kozijn", "Deur"}));
        QCOMPARE(items.at(1)->Description, QStringLiteral("Deur"));
    }

    void listGroupsWithoutGroupColumn()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString path = env.path("geengroep.csv");
        schrijf(path, "T\nA;Een\nB;Twee\n");

        Bron metCode(path, {1, 2});
        Lezer lezer;
        QVERIFY(lezer.InlezenBestandArtikelGroepen(metCode.bron, true));
        QCOMPARE(codes(*lezer.ColItemsDistinct()), (QStringList{"A", "B"}));

        // Neither a group nor a code column: every line reports it.
        Bron zonderCode(path, {0, 2});
        Lezer lezer2;
        Opnemer opnemer;
        lezer2.SetOntvanger(&opnemer);
        QVERIFY(!lezer2.InlezenBestandArtikelGroepen(zonderCode.bron, true));
        QCOMPARE(opnemer.regels.count(
                     qMakePair(QStringLiteral("Geen veld artikelgroepcode aanwezig in bestand."), QString())),
                 2);
        QCOMPARE(opnemer.fouten, (QList<qint32>{1, 2, 3})); // two lines, then the empty reading

        // Into a collection that already holds items, the reading succeeds.
        Lezer lezer3;
        auto alle = std::make_shared<ItemCollection>();
        alle->append(std::make_shared<clsItem>());
        lezer3.SetColItemsDistinct(alle);
        QVERIFY(lezer3.InlezenBestand(zonderCode.bron, true));
        QCOMPARE(lezer3.ColItemsDistinct().get(), alle.get());
        QCOMPARE(lezer3.AantalFouten(), 2);
    }

    void correctForSupplier_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("koppen");
        QTest::addColumn<QList<qint32>>("kolommen");
        QTest::addColumn<QStringList>("regel");
        QTest::addColumn<QStringList>("verwacht");

        const QStringList negen = {"A", "b", "c", "d", "e", "f", "g", "h", "K9"};
        QTest::newRow("no prefix") << QString() << QString() << QList<qint32>{1, 2, 7}
                                   << QStringList{"A", "b", "M"} << QStringList{"A", "b", "M"};
        QTest::newRow("prefix on code and mirror")
            << QStringLiteral("ROTO_") << QString() << QList<qint32>{2, 1, 7}
            << QStringList{"oms", "A1", "B1"} << QStringList{"oms", "ROTO_A1", "ROTO_B1"};
        QTest::newRow("empty code stays empty") << QStringLiteral("ROTO_") << QString() << QList<qint32>{1, 7}
                                                << QStringList{"", ""} << QStringList{"", ""};
        QTest::newRow("deceuninck divisie layout")
            << QStringLiteral("ROTO_") << QStringLiteral("|Artikel|Kleur|Divisie") << QList<qint32>{1}
            << negen << (QStringList{"K9"} << negen.mid(1));
        QTest::newRow("deceuninck, code not in column 1 stays")
            << QString() << QStringLiteral("|Artikel|Kleur|EAN code") << QList<qint32>{2, 1}
            << QStringList{"a", "b", "c", "d", "e", "E6"} << QStringList{"a", "b", "c", "d", "e", "E6"};
    }

    void correctForSupplier()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, koppen);
        QFETCH(QList<qint32>, kolommen);
        QFETCH(QStringList, regel);
        QFETCH(QStringList, verwacht);
        globals().gLeverancierPrefix = prefix;
        clsBron2 bron;
        bron.IsExcel = !koppen.isEmpty();
        bron.IsCSV = koppen.isEmpty();
        bron.KolomKoppen = koppen;
        bron.KolomSoorten = kolommen;
        QCOMPARE(ArtikelBestandLezer::CorrectForSupplier(bron, regel), verwacht);
    }

    void correctForSupplierMissingDeceuninckColumn()
    {
        clsBron2 bron;
        bron.IsExcel = true;
        bron.KolomKoppen = QStringLiteral("|Artikel|Kleur|EAN code");
        bron.KolomSoorten = {1};
        QVERIFY_THROWS_EXCEPTION(AppError, ArtikelBestandLezer::CorrectForSupplier(bron, {"a", "b"}));
    }

    // The shared row reader as another file import uses it: the stop rules and the messages are the
    // policy's, the walking (title line, blank lines, line numbers) the reader's.
    void sharedReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("titel");
        QTest::addColumn<int>("uitkomst");
        QTest::addColumn<QList<QStringList>>("rijen");
        QTest::addColumn<QList<qint32>>("nummers");
        QTest::addColumn<QStringList>("meldingen");
        const int voltooid = int(BronBestandLezer::Uitkomst::Voltooid);
        const int leeg = int(BronBestandLezer::Uitkomst::Leeg);
        const int afgebroken = int(BronBestandLezer::Uitkomst::Afgebroken);
        QTest::newRow("title and blank lines passed over")
            << QByteArray("T;t\r\nA;1\r\n\r\n  \r\nB;\"2;3\"\r\n") << true << voltooid
            << QList<QStringList>{{"A", "1"}, {"B", "2;3"}} << QList<qint32>{2, 5} << QStringList{"begin"};
        QTest::newRow("first line as data")
            << QByteArray("T;t\nA;1\n") << false << voltooid << QList<QStringList>{{"T", "t"}, {"A", "1"}}
            << QList<qint32>{1, 2} << QStringList{"begin"};
        QTest::newRow("a refused line stops the reading")
            << QByteArray("A;1\nX;2\nB;3\n") << false << afgebroken
            << QList<QStringList>{{"A", "1"}, {"X", "2"}} << QList<qint32>{1, 2} << QStringList{"begin"};
        QTest::newRow("empty file") << QByteArray() << true << leeg << QList<QStringList>{} << QList<qint32>{}
                                    << QStringList{"begin"};
        QTest::newRow("byte-order mark only")
            << QByteArray("\xEF\xBB\xBF") << true << leeg << QList<QStringList>{} << QList<qint32>{}
            << QStringList{"begin"};
    }

    void sharedReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, titel);
        QFETCH(int, uitkomst);
        QFETCH(QList<QStringList>, rijen);
        QFETCH(QList<qint32>, nummers);
        QFETCH(QStringList, meldingen);
        TestEnvironment env;
        const QString path = env.path("rijen.csv");
        schrijf(path, bytes);
        RijOpnemer beleid;
        BronBestandLezer::Regels regels;
        regels.eersteRijOverslaan = titel;
        BronBestandLezer lezer(beleid, regels);
        beleid.lezer = &lezer;
        QCOMPARE(int(lezer.LeesCSV(path)), uitkomst);
        QCOMPARE(beleid.rijen, rijen);
        QCOMPARE(beleid.regelNummers, nummers);
        QCOMPARE(beleid.meldingen, meldingen);
        // The line in hand is the file's own text, while its row is handled.
        if (!rijen.isEmpty())
            QCOMPARE(beleid.huidigeRegels.first(), rijen.first().join(u';'));
        QVERIFY(lezer.HuidigeRegel().isEmpty());
    }

    void sharedReaderMissingFileAndCancel()
    {
        TestEnvironment env;
        RijOpnemer beleid;
        BronBestandLezer ontbrekend(beleid, {});
        beleid.lezer = &ontbrekend;
        QCOMPARE(ontbrekend.LeesCSV(env.path("weg.csv")), BronBestandLezer::Uitkomst::Afgebroken);
        QCOMPARE(beleid.meldingen, (QStringList{"begin", "niet gevonden"}));

        // A cancel from inside a row stops the reading after that row, without a message.
        const QString path = env.path("drie.csv");
        schrijf(path, "A\nB\nC\n");
        auto run = std::make_shared<RunContext>();
        RijOpnemer annuleer;
        annuleer.bijRij = [&run] { run->cancel(); };
        BronBestandLezer lezer(annuleer, {}, run);
        annuleer.lezer = &lezer;
        QCOMPARE(lezer.LeesCSV(path), BronBestandLezer::Uitkomst::Afgebroken);
        QCOMPARE(annuleer.rijen, QList<QStringList>{{"A"}});
        QCOMPARE(annuleer.meldingen, QStringList{"begin"});
    }

    void refusedKinds_data()
    {
        QTest::addColumn<int>("soort");
        QTest::addColumn<QString>("tekst");
        QTest::newRow("jet") << 0 << QStringLiteral("Bestandstype Jet fout voor CSV import");
        QTest::newRow("sqlite") << 1 << QStringLiteral("Bestandstype SQLite fout voor CSV import");
        QTest::newRow("none") << 2 << QStringLiteral("Bestandstype niet vastgesteld");
    }

    void refusedKinds()
    {
        QFETCH(int, soort);
        QFETCH(QString, tekst);
        RecordingUiServices ui;
        clsBron2 bron;
        bron.BronPad = QStringLiteral("/tmp/bron.db");
        bron.IsJetDatabase = soort == 0;
        bron.IsSQLite = soort == 1;
        Lezer lezer;
        Opnemer opnemer;
        lezer.SetOntvanger(&opnemer);
        QVERIFY(!lezer.InlezenBestand(bron, false));
        QCOMPARE(opnemer.regels, (QList<QPair<QString, QString>>{{tekst, bron.BronPad}}));
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }
};

QTEST_GUILESS_MAIN(TestLeesCsvBestand)
#include "test_leescsvbestand.moc"
