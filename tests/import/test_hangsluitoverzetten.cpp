// The hardware import run: opening and closing the target (and its
// failures, a Jet file this system can only read among them), the choice of
// writer by target and combination type, the dimensioning fix on every
// target but the older Jet format, cancel before and during the run, and the
// rule that a run with an error or a cancel leaves the target as it was.

#include "hangsluittestsupport.h"
#include "werkmaptestsupport.h"

#include "database/backendopeners.h"

#include <QFileInfo>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

Q_DECLARE_METATYPE(supplink::test::DoelSoort)

namespace {

const QList<Lijn> kTweeCombinaties = {
    Lijn{QStringLiteral("K1"), QStringLiteral("Draaikiep")}.metMaten(50, 120, 0, 0),
    Lijn{QStringLiteral("K1"), QStringLiteral("Draaikiep")}.metArtikel(QStringLiteral("ART-2"), 2),
    Lijn{QStringLiteral("K2"), QStringLiteral("Stolp")}.metMaten(0, 0, 100, 200),
};

// A listener that cancels the run at the first line that starts with the text.
class AnnuleerBij : public fixtures::EventLog
{
public:
    QString bij;
    clsImportBestandHangSluit* engine = nullptr;
    void Voortgang(const QString& actie, const QString& omschrijving) override
    {
        EventLog::Voortgang(actie, omschrijving);
        if (engine && actie.startsWith(bij))
            engine->Cancel();
    }
};

void alleDoelen()
{
    QTest::addColumn<DoelSoort>("soort");
    for (const DoelSoort s :
         {DoelSoort::SQLiteOpties, DoelSoort::JetNieuw, DoelSoort::JetOud, DoelSoort::Bibliotheek})
        QTest::newRow(naam(s)) << s;
}

} // namespace

class TestHangSluitOverzetten : public QObject
{
    Q_OBJECT

private slots:
    void writesIntoEveryTarget_data() { alleDoelen(); }
    void writesIntoEveryTarget()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QVERIFY(p.ui.errors.isEmpty());
        const bool bibliotheek = soort == DoelSoort::Bibliotheek;
        QCOMPARE(p.log.hoofdActies.value(1),
                 bibliotheek ? QStringLiteral("Openen bibliotheek") : QStringLiteral("Openen onderhoud"));
        QCOMPARE(p.log.hoofdActies.last(),
                 bibliotheek ? QStringLiteral("Sluiten bibliotheek") : QStringLiteral("Sluiten onderhoud"));
        QCOMPARE(p.log.totaal, QList<qint32>{2});
        QCOMPARE(p.log.huidig, (QList<qint32>{1, 2}));
        if (soort == DoelSoort::JetOud) {
            // Two tables, one combination each.
            QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesTable ORDER BY ID"), (QStringList{"K1", "K2"}));
            QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi ORDER BY ID"),
                     (QStringList{"K101", "K102", "K201"}));
        } else {
            QCOMPARE(rijen(doel, "SELECT Code, Description FROM LocksHingesCombi ORDER BY ID"),
                     (QStringList{"K1|Draaikiep", "K2|Stolp"}));
            QCOMPARE(artikelCodes(doel, "K1"), (QStringList{"ART-1", "ART-2", "ART-2"}));
            QCOMPARE(artikelCodes(doel, "K2"), QStringList{"ART-1"});
        }
    }

    // The target is opened by its handle; one that does not open is one counted error, and the close step
    // still runs.
    void openFailure_data()
    {
        QTest::addColumn<bool>("bibliotheek");
        QTest::newRow("options") << false;
        QTest::newRow("library") << true;
    }
    void openFailure()
    {
        QFETCH(bool, bibliotheek);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        globals().gBibliotheekModus = bibliotheek;
        const Doel doel{DoelSoort::SQLiteOpties, p.env.path("bestaat-niet.db"), QString()};
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        const QString mislukt = bibliotheek ? QStringLiteral("Openen bibliotheekbestand mislukt! '")
                                            : QStringLiteral("Openen onderhoudsbestand mislukt! '");
        QVERIFY(p.log.lines.contains(mislukt + doel.pad + "'"));
        QVERIFY(p.log.lines.contains("Doel bestand: " + doel.pad));
        QCOMPARE(p.log.hoofdActies.last(),
                 bibliotheek ? QStringLiteral("Sluiten bibliotheek") : QStringLiteral("Sluiten onderhoud"));
        QVERIFY(!p.ui.errors.isEmpty() || !p.ui.messages.isEmpty());
        QVERIFY(!QFileInfo::exists(doel.pad));
    }

    // A Jet file this system can only read is refused before anything is opened or written.
    void jetTargetRefused_data()
    {
        QTest::addColumn<bool>("bibliotheek");
        QTest::newRow("options") << false;
        QTest::newRow("library") << true;
    }
    void jetTargetRefused()
    {
        QFETCH(bool, bibliotheek);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        globals().gBibliotheekModus = bibliotheek;
        const QString mdb = p.env.path("doel.mdb");
        QByteArray kop(4, '\0');
        kop += "Standard Jet DB";
        kop += QByteArray(200, '\0');
        {
            QFile f(mdb);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kop);
        }
        const QString weigering = jetTargetRefusal(mdb);
        if (weigering.isEmpty())
            QSKIP("This system writes Jet files through a driver: nothing to refuse.");
        QVERIFY(!p.overzetten(Doel{DoelSoort::JetNieuw, mdb, QString()}));
        const QString mislukt = bibliotheek ? QStringLiteral("Openen bibliotheekbestand mislukt! '")
                                            : QStringLiteral("Openen onderhoudsbestand mislukt! '");
        QVERIFY(p.log.lines.contains(mislukt + mdb + "': " + weigering));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.jet.opened, 0);
        QVERIFY(p.ui.errors.isEmpty());
        QFile f(mdb);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), kop);
    }

    // A combination type other than 0 or 1 writes nothing and says why; the target was opened and closed.
    // The older Jet format writes its tables whatever the type.
    void combiTypeNotChosen_data() { alleDoelen(); }
    void combiTypeNotChosen()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        p.bron.CombiType = -1;
        const Doel doel = p.doel(soort);
        const QByteArray voor = doel.inhoud();
        const bool ok = p.overzetten(doel);
        const bool bibliotheek = soort == DoelSoort::Bibliotheek;
        QCOMPARE(p.log.hoofdActies.last(),
                 bibliotheek ? QStringLiteral("Sluiten bibliotheek") : QStringLiteral("Sluiten onderhoud"));
        if (soort == DoelSoort::JetOud) {
            QVERIFY(ok);
            QCOMPARE(doel.db().count("LocksHingesTable"), 2);
            return;
        }
        QVERIFY(!ok);
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.log.startingWith("Onbekend soort hang- en sluitwerkbestand (-1)").size(), 1);
        QCOMPARE(doel.inhoud(), voor);
    }

    // Cancelled before the run: nothing is read on, nothing is written.
    void cancelBeforeTheRun_data() { alleDoelen(); }
    void cancelBeforeTheRun()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        const Doel doel = p.doel(soort);
        const QByteArray voor = doel.inhoud();
        QVERIFY(!p.overzetten(doel, {}, [](clsImportBestandHangSluit& e) { e.Cancel(); }));
        QVERIFY(p.engine->Geannuleerd());
        QCOMPARE(doel.inhoud(), voor);
        QVERIFY(p.log.startingWith("Nieuw").isEmpty());
        QVERIFY(p.log.fouten.isEmpty());
    }

    // Cancelled while the first part is written: the run stops after that part, answers False and leaves
    // the target as it was.
    void cancelDuringTheRun_data() { alleDoelen(); }
    void cancelDuringTheRun()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        const Doel doel = p.doel(soort);
        const QByteArray voor = doel.inhoud();
        AnnuleerBij annuleer;
        annuleer.bij = QStringLiteral("Nieuw");
        QVERIFY(!p.overzetten(doel, {}, [&](clsImportBestandHangSluit& e) {
            annuleer.engine = &e;
            e.SetOntvanger(&annuleer);
        }));
        QCOMPARE(annuleer.huidig, QList<qint32>{1});
        QVERIFY(annuleer.lines.contains("Wijzigingen in het doelbestand teruggedraaid"));
        QVERIFY(annuleer.startingWith("Nieuw").size() >= 1);
        QVERIFY(annuleer.startingWith("Nieuw onderdeel : K2").isEmpty());
        QVERIFY(annuleer.fouten.isEmpty());
        QCOMPARE(doel.inhoud(), voor);
    }

    // The dimensioning codes are renumbered on every target but the older Jet format, which takes the
    // file's own.
    void dimensioningFix_data() { alleDoelen(); }
    void dimensioningFix()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        Lijn a{QStringLiteral("K1"), QStringLiteral("Draaikiep")};
        Lijn b = a.metArtikel(QStringLiteral("ART-2"));
        b.bemating = 9;
        p.combinaties({a, b});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        if (soort == DoelSoort::JetOud)
            QCOMPARE(rijen(doel, "SELECT RelativeTo FROM LocksHingesArticle ORDER BY ID"),
                     (QStringList{"1", "9"}));
        else
            QCOMPARE(artikelCodes(doel, "K1", "Polygon"), (QStringList{"3", "2"}));
    }

    // A writer's error is shown and counted; the run goes on to the end, answers False and writes nothing.
    void errorLeavesTargetUnchanged_data() { alleDoelen(); }
    void errorLeavesTargetUnchanged()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        // A width that does not fit in 32 bits once multiplied by ten.
        p.combinaties({kTweeCombinaties.at(0),
                       Lijn{QStringLiteral("K2"), QStringLiteral("Stolp")}.metMaten(0, 300000000, 0, 100),
                       Lijn{QStringLiteral("K3"), QStringLiteral("Hef-schuif")}});
        const Doel doel = p.doel(soort);
        const QByteArray voor = doel.inhoud();
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.ui.errors.size(), 1);
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.log.huidig, (QList<qint32>{1, 2, 3}));
        QVERIFY(p.log.lines.contains("Wijzigingen in het doelbestand teruggedraaid"));
        QCOMPARE(doel.inhoud(), voor);
    }

    // A text that is no number in a whole-number column fails the reading: the run answers False with the
    // error counted, and the target is not even opened, so no combination with a limit of 0 is written.
    void textInWholeNumberColumn_data() { alleDoelen(); }
    void textInWholeNumberColumn()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        QStringList velden = kTweeCombinaties.at(2).csv().split(QLatin1Char(';'));
        velden[4] = QStringLiteral("breed"); // B <
        p.bestand({kTweeCombinaties.at(0).csv(), velden.join(QLatin1Char(';'))}, kCombiKolommen, 0);
        const Doel doel = p.doel(soort);
        const QByteArray voor = doel.inhoud();
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.ui.errors.size(), 1);
        QVERIFY(p.log.lines.contains("Fout in regel:\r\n\r\n" + velden.join(QLatin1Char(';')) +
                                     "\r\n\r\nImporteren afgebroken!"));
        QVERIFY(!p.log.hoofdActies.contains("Openen onderhoud"));
        QVERIFY(!p.log.hoofdActies.contains("Openen bibliotheek"));
        QCOMPARE(doel.inhoud(), voor);
    }

    // A target without the tables of its kind gets one message, not one per part.
    void targetWithoutTheTables()
    {
        HangSluitProef p;
        p.combinaties(kTweeCombinaties);
        // An SQLite options database of the Jet era's layout: no Data column.
        const QString pad = p.env.path("opt330.db");
        QVERIFY(fixtures::makeDatabase(pad, fixtures::Kind::Options, {3, 30}));
        const QByteArray voor = Doel{DoelSoort::SQLiteOpties, pad, pad}.inhoud();
        QVERIFY(!p.overzetten(Doel{DoelSoort::SQLiteOpties, pad, pad}));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.log.startingWith("De tabel 'LocksHingesCombi' van het doelbestand heeft geen kolom 'Data'")
                     .size(),
                 1);
        QVERIFY(p.ui.errors.isEmpty());
        QCOMPARE((Doel{DoelSoort::SQLiteOpties, pad, pad}.inhoud()), voor);
    }

    // Into the library every choice file is refused with a message box.
    void libraryRefusesChoices()
    {
        HangSluitProef p;
        p.keuzes({{"KZ1", "Keuze", "K1"}});
        const Doel doel = p.doel(DoelSoort::Bibliotheek);
        const QByteArray voor = doel.inhoud();
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.ui.messages.size(), 1);
        QCOMPARE(p.ui.messages.first().text,
                 QStringLiteral(
                     "Importeren Hang en Sluitwerk Keuzes naar versie 3.5 wordt nog niet ondersteund."));
        QCOMPARE(MsgBox::icon(p.ui.messages.first().style), int(MsgBox::Information));
        QCOMPARE(doel.inhoud(), voor);
    }

    // A workbook as a supplier's spreadsheet program writes it (numbers as number cells, a Dutch decimal
    // text in Y, empty cells) imports as its CSV form does.
    void workbookSource()
    {
        HangSluitProef p;
        p.bron.IsCSV = false;
        p.bron.IsExcel = true;
        p.bron.EersteRijImporteren = false;
        p.bron.KolomSoorten = kCombiKolommen.mid(0, 13);
        p.bron.CombiType = 0;
        p.bron.BronPad = p.env.path("hang.xlsx");
        QVERIFY(schrijfWerkmap(
            p.bron.BronPad,
            {{"Combinaties",
              {{"Code", "Omschrijving", "Artikel", "B>", "B<", "H>", "H<", "Aantal", "Positie", "Bemating",
                "Oorsprong", "X", "Y"},
               {"K1", "Draaikiep caf\u00e9", "ART-1", 50, 120, 0, 0, 2, 1, 1, 0, 10, "2,5"},
               {"K1", "Draaikiep caf\u00e9", "ART-2", 0, 0, 0, 150, 1, 2, 3, 0, QVariant(), QVariant()}}}}));
        const Doel doel = p.doel(DoelSoort::SQLiteOpties);
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM LocksHingesCombi"),
                 QStringList{QStringLiteral("K1|Draaikiep caf\u00e9")});
        QCOMPARE(artikelCodes(doel, "K1"), (QStringList{"ART-1", "ART-1", "ART-2"}));
        QCOMPARE(artikelCodes(doel, "K1", "YPos"), (QStringList{"25", "25", "0"}));
        QCOMPARE(artikelCodes(doel, "K1", "WTo"), (QStringList{"1200", "1200", ""}));
        QCOMPARE(artikelCodes(doel, "K1", "HTo"), (QStringList{"", "", "1500"}));
    }

    // A file that does not read: False without opening the target.
    void unreadableSource()
    {
        HangSluitProef p;
        p.bestand({}, kCombiKolommen, 0);
        const Doel doel = p.doel(DoelSoort::SQLiteOpties);
        QVERIFY(!p.overzetten(doel));
        QVERIFY(!p.log.hoofdActies.contains("Openen onderhoud"));
    }
};

QTEST_GUILESS_MAIN(TestHangSluitOverzetten)
#include "test_hangsluitoverzetten.moc"
