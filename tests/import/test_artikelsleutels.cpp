// The article import's foreign keys, mirrored-article links and unique-row
// lookup on SQLite product tables, the whole run from a CSV file by the
// default plan, and the all-or-nothing run on the SQL Server stand-in.
#include "leestestsupport.h"

#include "import/artikelimportplan.h"
#include "import/artikelsleutels.h"
#include "import/importmelder.h"

#include "database/backendopeners.h"
#include "database/clspt.h"
#include "database/recordset.h"
#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

const QStringList kSleutels = {
    "FOREIGNKEYA ( ArtGroup ; Description ; ID ; fkGroup )",
    "FOREIGNKEYB ( Supplier ; Description ; ID ; fkSupplier )",
    "FOREIGNKEYC ( Genericprofile ; Code ; ID ; fkGenericProfile )",
    "FOREIGNKEYD ( Colors ; Code ; ID ; fkColor )",
    "FOREIGNKEYE ( Colors ; Code ; ID ; fkBackColor )",
};

// Columns: code, description, group, supplier, generic profile, colour, back colour.
const QStringList kSleutelPlan =
    QStringList{"TABEL ( Article )"} + kSleutels +
    QStringList{
        "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
        "VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Nee ; Nee ; Nee )",
        "VELD ( Ja ; fkGroup ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )",
        "VELD ( Ja ; fkSupplier ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )",
        "VELD ( Ja ; fkGenericProfile ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )",
        "VELD ( Ja ; fkColor ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )",
        "VELD ( Ja ; fkBackColor ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )",
    };

const QStringList kSpiegelPlan = {
    "TABEL ( Article )",
    "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
    "VELD ( Ja ; Description ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee )",
    "VELD ( Ja ; fkMirroredArticle ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Ja ; Code ; ID )",
};

// Every line selected.
class Importeur : public ImportProef
{
public:
    void zet(clsBron2& bron, const QList<ArtikelRegel>& regels, const QStringList& planRegels)
    {
        ImportProef::zet(bron, regels, planRegels);
        ColItemsGeselecteerd = std::make_shared<ItemCollection>();
    }
};

struct Omgeving : ImportOmgeving
{
    explicit Omgeving(fixtures::Version versie = {3, 40}) : ImportOmgeving({1, 2}, versie) {}
};

} // namespace

class TestArtikelSleutels : public QObject
{
    Q_OBJECT

private slots:
    void foreignKeysFoundAndMade()
    {
        Omgeving o;
        qint64 deuren = 0, ral = 0;
        {
            fixtures::FixtureDb db(o.pad);
            deuren = db.insert("ArtGroup", {{"Code", "DEUR"}, {"Description", "Deuren"}, {"OrderNr", 4}});
            db.insert("Genericprofile", {{"Code", "GP1"}});
            ral = db.insert("Colors", {{"Code", "RAL9010"}, {"Description", "Wit"}});
        }
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.cijfers({4, 2, 7, 0, 5, 1});
        imp.zet(o.bron,
                {{"A", "a", "Deuren", "Leverancier met lange naam", "GP1", "RAL9010", ""},
                 {"B", "b", "Nieuwe groep van O'Neil", "", "", "WIT", "WIT"},
                 {"C", "c", "Deuren", "", "ONBEKEND", "", ""},
                 {"D", "d", "", "", "", "WIT", ""}},
                kSleutelPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 0);
        QCOMPARE(imp.AantalNieuw(), 4);
        QVERIFY(o.ui.messages.isEmpty());

        fixtures::FixtureDb db(o.pad);
        const auto veld = [&db](const char* code, const char* veld) {
            return db.scalar(QStringLiteral("SELECT %1 FROM Article WHERE Code = ?").arg(veld), {code});
        };
        // Found rows give their keys; a long supplier name gets its first 7 characters and 3 digits.
        QCOMPARE(veld("A", "fkGroup").toLongLong(), deuren);
        QCOMPARE(veld("A", "fkColor").toLongLong(), ral);
        QVERIFY(!veld("A", "fkBackColor").isValid());
        QCOMPARE(veld("A", "fkSupplier"), db.scalar("SELECT ID FROM Supplier WHERE Code = 'Leveran427'"));
        QCOMPARE(db.scalar("SELECT Description FROM Supplier WHERE Code = 'Leveran427'").toString(),
                 QString("Leverancier met lange naam"));
        // A new group comes after the highest sort number, with bitmap 1.
        QCOMPARE(
            db.scalar("SELECT Description || '|' || OrderNr || '|' || fkBitmap FROM ArtGroup WHERE Code = "
                      "'Nieuwe 051'")
                .toString(),
            QString("Nieuwe groep van O'Neil|5|1"));
        QCOMPARE(veld("B", "fkGroup"), db.scalar("SELECT ID FROM ArtGroup WHERE Code = 'Nieuwe 051'"));
        // A short colour code is made once, with the code as its description, and found after that.
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Colors WHERE Code = 'WIT' AND Description = 'WIT'").toInt(),
                 1);
        const QVariant wit = db.scalar("SELECT ID FROM Colors WHERE Code = 'WIT'");
        QCOMPARE(veld("B", "fkColor"), wit);
        QCOMPARE(veld("B", "fkBackColor"), wit);
        QCOMPARE(veld("D", "fkColor"), wit);
        // An empty group text finds no group and makes none.
        QVERIFY(!veld("D", "fkGroup").isValid());
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtGroup").toInt(), 2);
        // A generic profile is never made: its article is left out and the log says why.
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article WHERE Code = 'C'").toInt(), 0);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Genericprofile").toInt(), 1);
        QVERIFY(opnemer.regels.contains(
            qMakePair(QString("Artikelen overgeslagen voor profielcode:"), QString("ONBEKEND"))));
    }

    void keysFoundWhateverTheCase()
    {
        // Texts find their rows as codes compare: without regard to case, for every letter; a row made by
        // one line is found by the next in other letters, and the selection matches the same way.
        Omgeving o;
        qint64 deuren = 0, gp = 0, ral = 0;
        {
            fixtures::FixtureDb db(o.pad);
            deuren = db.insert("ArtGroup", {{"Code", "DEUR"}, {"Description", "Deuren"}, {"OrderNr", 4}});
            gp = db.insert("Genericprofile", {{"Code", "GP-Ä1"}});
            ral = db.insert("Colors", {{"Code", "RAL9010"}, {"Description", "Wit"}});
        }
        Importeur imp;
        imp.zet(o.bron,
                {{"A", "a", "DEUREN", "", "gp-ä1", "ral9010", "Ral9010"},
                 {"B", "b", "deuren", "", "GP-ä1", "wit", ""},
                 {"Ö", "c", "", "", "", "WIT", "Wit"}},
                kSleutelPlan);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>(fixtures::items({"a", "b", "ö"}));
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 0);
        QCOMPARE(imp.AantalNieuw(), 3);

        fixtures::FixtureDb db(o.pad);
        const auto veld = [&db](const char* code, const char* veld) {
            return db.scalar(QStringLiteral("SELECT %1 FROM Article WHERE Code = ?").arg(veld), {code});
        };
        QCOMPARE(veld("A", "fkGroup").toLongLong(), deuren);
        QCOMPARE(veld("B", "fkGroup").toLongLong(), deuren);
        QCOMPARE(veld("A", "fkGenericProfile").toLongLong(), gp);
        QCOMPARE(veld("B", "fkGenericProfile").toLongLong(), gp);
        QCOMPARE(veld("A", "fkColor").toLongLong(), ral);
        QCOMPARE(veld("A", "fkBackColor").toLongLong(), ral);
        const QVariant wit = db.scalar("SELECT ID FROM Colors WHERE Code = 'wit'");
        QVERIFY(wit.isValid());
        QCOMPARE(veld("B", "fkColor"), wit);
        QCOMPARE(veld("Ö", "fkColor"), wit);
        QCOMPARE(veld("Ö", "fkBackColor"), wit);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Colors").toInt(), 2);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtGroup").toInt(), 1);
    }

    void drawnCodeThatExistsIsDrawnAgain()
    {
        Omgeving o;
        qint64 ander = 0;
        {
            fixtures::FixtureDb db(o.pad);
            ander = db.insert("ArtGroup", {{"Code", "Groepen000"}, {"Description", "iets anders"}});
        }
        Importeur imp;
        imp.cijfers({0, 0, 0, 1, 1, 1});
        imp.zet(o.bron, {{"A", "a", "Groepen voor ramen", "", "", "", ""}}, kSleutelPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        fixtures::FixtureDb db(o.pad);
        const QVariant nieuw = db.scalar("SELECT ID FROM ArtGroup WHERE Code = 'Groepen111'");
        QVERIFY(nieuw.isValid());
        QVERIFY(nieuw.toLongLong() != ander);
        QCOMPARE(db.scalar("SELECT fkGroup FROM Article WHERE Code = 'A'"), nieuw);
        QCOMPARE(db.scalar("SELECT Description FROM ArtGroup WHERE ID = ?", {ander}).toString(),
                 QString("iets anders"));
    }

    void supplierIdLineNamesTheGroup()
    {
        Omgeving o;
        globals().gLeverancier = std::make_shared<clsLeverancier>();
        globals().gLeverancier->Code = "O'Brien";
        Importeur imp;
        imp.zet(o.bron, {{"A", "a"}},
                QStringList{"TABEL ( Article )", "ID ( fkGroup ; [LEVERANCIER] )"} + kSleutels +
                    QStringList{"VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
                                "VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Nee ; Nee ; Nee )"});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        fixtures::FixtureDb db(o.pad);
        const QVariant groep =
            db.scalar("SELECT ID FROM ArtGroup WHERE Code = ? AND Description = ?", {"O'Brien", "O'Brien"});
        QVERIFY(groep.isValid());
        QCOMPARE(db.scalar("SELECT fkGroup FROM Article WHERE Code = 'A'"), groep);
    }

    void failedCreationIsCountedAndArticleKept()
    {
        Omgeving o;
        {
            // A group table that refuses new rows.
            fixtures::FixtureDb db(o.pad);
            db.exec("CREATE TRIGGER weiger BEFORE INSERT ON ArtGroup BEGIN SELECT RAISE(ABORT, 'nee'); END");
        }
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        o.ui.messageAnswers.enqueue(MsgBox::Ok);
        imp.zet(o.bron, {{"A", "a", "Nieuw", "", "", "", ""}}, kSleutelPlan);
        QVERIFY(imp.openen(o.pad));
        imp.overzetten();
        QVERIFY(imp.AantalFouten() > 0);
        QVERIFY(!o.ui.messages.isEmpty());
        QVERIFY(o.ui.messages.last().text.startsWith("Automatisch aanmaken foreign key niet gelukt!\r\n\r\n"
                                                     "ArtGroup-Description-ID-fkGroup-Nieuw"));
        fixtures::FixtureDb db(o.pad);
        QVERIFY(!db.scalar("SELECT fkGroup FROM Article WHERE Code = 'A'").isValid());
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 1);
    }

    void mirroredArticlesLinked_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<bool>("doorSleutel");
        QTest::newRow("integer field holds the key") << 10 << true;
        QTest::newRow("text field holds the code") << 40 << false;
    }

    void mirroredArticlesLinked()
    {
        QFETCH(int, minor);
        QFETCH(bool, doorSleutel);
        Omgeving o({3, minor});
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.zet(o.bron,
                {{"KL'1", "links", "KR'1"},
                 {"KR'1", "rechts", "KL'1"},
                 {"KX", "los", "ONTBREEKT"},
                 {"KY", "geen", ""}},
                kSpiegelPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 0);
        QVERIFY(opnemer.hoofdActies.contains("Links/Rechts verwijzingen aanmaken"));

        fixtures::FixtureDb db(o.pad);
        const auto spiegel = [&db](const char* code) {
            return db.scalar("SELECT fkMirroredArticle FROM Article WHERE Code = ?", {code});
        };
        const QVariant links = db.scalar("SELECT ID FROM Article WHERE Code = ?", {"KL'1"});
        const QVariant rechts = db.scalar("SELECT ID FROM Article WHERE Code = ?", {"KR'1"});
        if (doorSleutel) {
            QCOMPARE(spiegel("KL'1").toLongLong(), rechts.toLongLong());
            QCOMPARE(spiegel("KR'1").toLongLong(), links.toLongLong());
        } else {
            QCOMPARE(spiegel("KL'1").toString(), QString("KR'1"));
            QCOMPARE(spiegel("KR'1").toString(), QString("KL'1"));
        }
        QVERIFY(!spiegel("KX").isValid());
        QVERIFY(!spiegel("KY").isValid());
    }

    void uniekeRegelFilter_data()
    {
        QTest::addColumn<QStringList>("velden");
        QTest::addColumn<QStringList>("regel");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("melding");
        QTest::newRow("dimension times ten")
            << QStringList{"VELD ( Ja ; w ; Numeriek ; Nee ; Nee ; Nee ; Ja ; Nee ; . )"}
            << QStringList{"12.5"} << "w=125"
            << "";
        QTest::newRow("quoted text, price left out, Nee lines take part")
            << QStringList{"VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
                           "VELD ( Ja ; PriceUnit ; Numeriek ; Nee ; Nee ; Ja ; Nee ; Nee ; . )",
                           "VELD ( Nee ; fkType ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"}
            << QStringList{"O'Neil", "12", "4"} << "Code='O''Neil' AND fkType=4"
            << "";
        QTest::newRow("numeric text that is no number stays a text")
            << QStringList{"VELD ( Ja ; fkType ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"}
            << QStringList{"1 OR Code <> ''"} << "fkType='1 OR Code <> '''''"
            << "";
        QTest::newRow("foreign key resolved")
            << QStringList{"FOREIGNKEY ( ArtGroup ; Description ; ID ; fkGroup )",
                           "VELD ( Ja ; fkGroup ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"}
            << QStringList{"Deuren"} << "fkGroup=1"
            << "";
        QTest::newRow("foreign key in other letters")
            << QStringList{"FOREIGNKEY ( ArtGroup ; Description ; ID ; fkGroup )",
                           "VELD ( Ja ; fkGroup ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"}
            << QStringList{"DEUREN"} << "fkGroup=1"
            << "";
        QTest::newRow("foreign key not found")
            << QStringList{"FOREIGNKEY ( ArtGroup ; Description ; ID ; fkGroup )",
                           "VELD ( Ja ; fkGroup ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"}
            << QStringList{"Ramen"} << QString()
            << "Ramen niet gevonden via SELECT ID FROM ArtGroup WHERE "
               "Description='Ramen'";
        QTest::newRow("only price fields")
            << QStringList{"VELD ( Ja ; PriceUnit ; Numeriek ; Nee ; Nee ; Ja ; Nee ; Nee ; . )"}
            << QStringList{"3"} << QString() << "";
    }

    void uniekeRegelFilter()
    {
        QFETCH(QStringList, velden);
        QFETCH(QStringList, regel);
        QFETCH(QString, filter);
        QFETCH(QString, melding);
        Omgeving o;
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("ArtGroup", {{"Code", "DEUR"}, {"Description", "Deuren"}});
        }
        clsPT pt;
        QVERIFY(pt.Connect(o.pad));
        QVERIFY(pt.OpenTabel(QStringLiteral("Article")));
        ImportMelder melder;
        const ArtikelImportPlan plan(maakPlan(QStringList{"TABEL ( Article )"} + velden));
        ArtikelSleutels sleutels(pt, plan, melder);
        const std::optional<QString> gebouwd = sleutels.UniekeRegelFilter(regel);
        QCOMPARE(gebouwd.value_or(QString()), filter);
        QCOMPARE(gebouwd.has_value(), !filter.isEmpty());
        if (!melding.isEmpty()) {
            QCOMPARE(o.ui.messages.size(), 1);
            QCOMPARE(o.ui.messages.first().text, melding);
        }
    }

    void uniekeRegelUpdatesEveryMatchOnce()
    {
        Omgeving o;
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "A"}, {"Description", "zelfde"}, {"PriceUnit", 1.0}});
            db.insert("Article", {{"Code", "A"}, {"Description", "zelfde"}, {"PriceUnit", 1.0}});
            db.insert("Article", {{"Code", "A"}, {"Description", "anders"}, {"PriceUnit", 1.0}});
        }
        Importeur imp;
        imp.zet(o.bron, {{"A", "zelfde", "5"}, {"A", "nieuw", "6"}},
                {"TABEL ( Article )", "UNIEKEREGEL ( Ja )",
                 "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
                 "VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Nee ; Nee ; Nee )",
                 "VELD ( Ja ; PriceUnit ; Numeriek ; Nee ; Nee ; Ja ; Nee ; Nee ; . )"});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalBestaand(), 1);
        QCOMPARE(imp.AantalNieuw(), 1);
        QCOMPARE(imp.AantalFouten(), 0);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article WHERE PriceUnit = 5").toInt(), 2);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Description = 'anders'").toDouble(), 1.0);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Description = 'nieuw'").toDouble(), 6.0);
    }

    void unopenableTableIsAnError()
    {
        Omgeving o;
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.zet(o.bron, {{"A", "a"}},
                {"TABEL ( Artikelen )", "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )"});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(!imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 1);
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    // The whole run as the transfer makes it: a CSV file, the plan built from the column map.
    void defaultPlanFromCsvFile()
    {
        Omgeving o;
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("ArtGroup", {{"Code", "DEUR"}, {"Description", "Deuren"}, {"OrderNr", 1}});
            db.insert("Article", {{"Code", "BEST"}, {"Description", "Oud"}, {"PriceUnit", 1.0}});
        }
        const QString csv = o.env.path("artikelen.csv");
        schrijf(csv, "Code;Omschrijving;Groep;Prijs;Kleur;Spiegel\n"
                     "BEST;Bestaand;Deuren;7.50;;\n"
                     "L1;Links;Kozijnonderdelen extra;2.25;RAL9010;R1\n"
                     "R1;Rechts;Deuren;2.5;;L1\n");
        o.bron.BronPad = csv;
        o.bron.IsCSV = true;
        o.bron.Scheidingsteken = ";";
        o.bron.KolomSoorten = {1, 2, 4, 10, 28, 7};
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.cijfers({3, 3, 3});
        QVERIFY(imp.OverzettenBestand(o.bron, o.pad));
        QCOMPARE(imp.AantalNieuw(), 2);
        QCOMPARE(imp.AantalBestaand(), 1);
        QCOMPARE(imp.AantalFouten(), 0);

        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'BEST'").toDouble(), 7.5);
        QCOMPARE(db.scalar("SELECT Description FROM Article WHERE Code = 'BEST'").toString(), QString("Oud"));
        QCOMPARE(db.scalar("SELECT fkGroup FROM Article WHERE Code = 'R1'").toInt(), 1);
        QCOMPARE(db.scalar("SELECT fkGroup FROM Article WHERE Code = 'L1'"),
                 db.scalar("SELECT ID FROM ArtGroup WHERE Code = 'Kozijno333'"));
        QCOMPARE(db.scalar("SELECT fkColor FROM Article WHERE Code = 'L1'"),
                 db.scalar("SELECT ID FROM Colors WHERE Code = 'RAL9010'"));
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'L1'").toDouble(), 2.25);
        QCOMPARE(db.scalar("SELECT fkMirroredArticle FROM Article WHERE Code = 'L1'").toString(),
                 QString("R1"));
        QCOMPARE(db.scalar("SELECT fkMirroredArticle FROM Article WHERE Code = 'R1'").toString(),
                 QString("L1"));
    }

    void sqlServerRunIsAllOrNothing_data()
    {
        QTest::addColumn<bool>("annuleren");
        QTest::newRow("completed run is kept") << false;
        QTest::newRow("cancelled run leaves nothing") << true;
    }

    void sqlServerRunIsAllOrNothing()
    {
        QFETCH(bool, annuleren);
        Omgeving o;
        const QString pt = o.env.path("server-pt.db");
        fixtures::makeServerDatabase(pt, fixtures::Kind::ProductTable, {3, 40});
        {
            fixtures::FixtureDb db(pt);
            db.exec("ALTER TABLE ArtGroup ADD COLUMN SortOrder INTEGER");
            db.exec("ALTER TABLE Supplier ADD COLUMN Oid INTEGER");
            db.insert("Article", {{"Code", "BEST"}, {"PriceUnit", 1.0}});
        }
        fixtures::StandInServer server(pt, o.env.path("crm.db"));
        struct Herstel
        {
            ~Herstel() { resetBackendOpeners(); }
        } herstel;
        QVERIFY(fixtures::connectStandIn(server)); // makes the CRM tables
        const QString pad = QStringLiteral("*") +
                            QStringList{"standin", "Velmora", "eSQLSecurity", "sa", "geheim"}.join(QChar(8));

        Importeur imp;
        Annuleerder opnemer;
        opnemer.bijNieuw = 2;
        if (annuleren)
            opnemer.engine = &imp;
        imp.SetOntvanger(&opnemer);
        imp.cijfers({1, 2, 3});
        imp.zet(o.bron,
                {{"BEST", "b", "", "", "", "", ""},
                 {"N1", "een", "Groep een", "Leverancier van O'Neil", "", "", ""},
                 {"N2", "twee", "Groep een", "", "", "", ""}},
                kSleutelPlan);
        QVERIFY(imp.openen(pad));
        // On the server a supplier is an organisation with a vendor role; its view carries the key.
        server.last->execute("CREATE TEMP TRIGGER leverancier AFTER INSERT ON CRM.Vendor BEGIN "
                             "INSERT INTO Supplier (Oid, Code, Description) SELECT Oid, SearchName, Name "
                             "FROM Organization WHERE Oid = NEW.fkOrganization; END");
        QCOMPARE(imp.overzetten(), !annuleren);

        fixtures::FixtureDb db(pt);
        fixtures::FixtureDb crm(o.env.path("crm.db"));
        if (annuleren) {
            QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 1);
            QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'BEST'").toDouble(), 1.0);
            QCOMPARE(db.scalar("SELECT COUNT(*) FROM ArtGroup").toInt(), 0);
            QCOMPARE(crm.scalar("SELECT COUNT(*) FROM Organization").toInt(), 0);
            QVERIFY(opnemer.heeftActie("Wijzigingen in de productentabel teruggedraaid"));
            return;
        }
        QCOMPARE(imp.AantalFouten(), 0);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 3);
        QCOMPARE(db.scalar("SELECT SortOrder || '|' || fkBitmap || '|' || Code FROM ArtGroup").toString(),
                 QString("1|1|Groep een"));
        QCOMPARE(crm.scalar("SELECT SearchName || '|' || Name FROM Organization").toString(),
                 QString("Leveran123|Leverancier van O'Neil"));
        QCOMPARE(crm.scalar("SELECT COUNT(*) FROM Vendor WHERE eVendorType = 1").toInt(), 1);
        QCOMPARE(db.scalar("SELECT fkSupplier FROM Article WHERE Code = 'N1'"),
                 crm.scalar("SELECT Oid FROM Organization"));
    }
};

QTEST_MAIN(TestArtikelSleutels)
#include "test_artikelsleutels.moc"
