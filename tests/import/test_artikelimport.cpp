// The transfer run of the article file import on an SQLite product table: the
// four article modes for new and existing lines, the line checks, updates of
// every matching article, quotes in codes, failed records and the date texts.
#include "leestestsupport.h"

#include "database/clspt.h"
#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

const QStringList kPlan = {
    "TABEL ( Article )",
    "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
    "VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Ja ; Nee ; Nee )",
    "VELD ( Ja ; PriceUnit ; Numeriek ; Nee ; Nee ; Ja ; Nee ; Nee ; , )",
    "VELD ( Ja ; HWork ; Numeriek ; Nee ; Nee ; Ja ; Ja ; Nee ; . )",
};

class Importeur : public ImportProef
{
public:
    void zet(clsBron2& bron, const QList<ArtikelRegel>& regels, const QStringList& planRegels = kPlan)
    {
        ImportProef::zet(bron, regels, planRegels);
    }
};

struct Omgeving : ImportOmgeving
{
    Omgeving() : ImportOmgeving({1, 2, 10, 0}) {}
};

} // namespace

class TestArtikelImport : public QObject
{
    Q_OBJECT

private slots:
    void modes_data()
    {
        QTest::addColumn<bool>("prijzen");
        QTest::addColumn<bool>("nieuw");
        QTest::addColumn<QString>("caption");
        QTest::newRow("both") << true << true
                              << "Productentabel, nieuwe artikelen toevoegen en prijswijzigingen doorvoeren";
        QTest::newRow("new only") << false << true << "Productentabel, nieuwe artikelen toevoegen";
        QTest::newRow("prices only") << true << false << "Productentabel, prijswijzigingen doorvoeren";
        QTest::newRow("neither") << false << false << "Productentabel, (Geen acties geselecteerd)";
    }

    void modes()
    {
        QFETCH(bool, prijzen);
        QFETCH(bool, nieuw);
        QFETCH(QString, caption);
        Omgeving o;
        o.opties(prijzen, nieuw);
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article",
                      {{"Code", "BEST"}, {"Description", "Oud"}, {"PriceUnit", 1.0}, {"HWork", 5}});
        }
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"NIEUW", "Nieuw artikel", "2,5", "1.6"}, {"BEST", "Bijgewerkt", "7,25", "3"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QVERIFY(opnemer.hoofdActies.contains(caption));
        QCOMPARE(imp.AantalNieuw(), 1);
        QCOMPARE(imp.AantalBestaand(), 1);
        QCOMPARE(imp.AantalFouten(), 0);
        QCOMPARE(opnemer.hoofdActies.contains("Links/Rechts verwijzingen aanmaken"), nieuw);

        fixtures::FixtureDb db(o.pad);
        const QVariant nieuwePrijs = db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'NIEUW'");
        QCOMPARE(nieuwePrijs.isValid(), nieuw);
        if (nieuw) {
            QCOMPARE(nieuwePrijs.toDouble(), 2.5);
            // The dimension goes in as centimetres times ten, exactly, as on update.
            QCOMPARE(db.scalar("SELECT HWork FROM Article WHERE Code = 'NIEUW'").toDouble(), 16.0);
        }
        QCOMPARE(db.scalar("SELECT Description FROM Article WHERE Code = 'BEST'").toString(),
                 prijzen ? QString("Bijgewerkt") : QString("Oud"));
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'BEST'").toDouble(),
                 prijzen ? 7.25 : 1.0);
        QCOMPARE(db.scalar("SELECT HWork FROM Article WHERE Code = 'BEST'").toDouble(), prijzen ? 30.0 : 5.0);
    }

    void everyMatchUpdatedCountedOnce()
    {
        Omgeving o;
        o.opties(true, false);
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "D'UB"}, {"Description", "een"}});
            db.insert("Article", {{"Code", "D'UB"}, {"Description", "twee"}});
        }
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"D'UB", "O'Neil; \"x\"", "1", ""}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalBestaand(), 1);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article WHERE Description = ?", {"O'Neil; \"x\""}).toInt(),
                 2);
    }

    void notSelectedSkipped()
    {
        Omgeving o;
        o.opties(true, true);
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.zet(o.bron, {{"A", "a", "1", "1"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QVERIFY(opnemer.heeftActie("Artikel overgeslagen (niet geselecteerd)"));
        QCOMPARE(imp.AantalNieuw(), 0);
    }

    void badLines_data()
    {
        QTest::addColumn<QStringList>("regel");
        QTest::addColumn<QString>("actie");
        QTest::newRow("too few columns")
            << QStringList{"A", "a", "1"} << "Het leveranciers bestand bevat te weinig kolommen (3)!";
        QTest::newRow("required empty")
            << QStringList{"A", "", "1", "1"} << "Verplicht veld niet ingevuld!Description";
    }

    void badLines()
    {
        QFETCH(QStringList, regel);
        QFETCH(QString, actie);
        Omgeving o;
        o.opties(true, true);
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {regel, {"B", "b", "1", "1"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(!imp.overzetten());
        QVERIFY(opnemer.heeftActie(actie));
        QCOMPARE(imp.AantalFouten(), 1);
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 0);
    }

    void nonNumericIsErrorAndNothingSaved()
    {
        Omgeving o;
        o.opties(true, true);
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a", "geen getal", "1"}, {"B", "b", "1", "1"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(!imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 1);
        QVERIFY(opnemer.heeftActie("Positie"));
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 0);
    }

    void numberFieldsTakeTheirType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("geschreven");
        QTest::addColumn<qint64>("waarde");
        QTest::newRow("whole number longer than the field's size") << "123456" << true << qint64(123456);
        QTest::newRow("no number") << "zes" << false << qint64(0);
        // Decimals by the program's number rules, rounded half to even into the whole-number field.
        QTest::newRow("decimal comma") << "2,5" << true << qint64(2);
        QTest::newRow("decimal point") << "3.5" << true << qint64(4);
        QTest::newRow("grouped") << "1.234.567" << true << qint64(1234567);
        QTest::newRow("beyond a double's digits") << "9007199254740993" << true << qint64(9007199254740993);
    }

    void numberFieldsTakeTheirType()
    {
        QFETCH(QString, type);
        QFETCH(bool, geschreven);
        QFETCH(qint64, waarde);
        Omgeving o;
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a", "1", "1", type}},
                kPlan + QStringList{"VELD ( Ja ; fkType ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee )"});
        QVERIFY(imp.openen(o.pad));
        QCOMPARE(imp.overzetten(), geschreven);
        QCOMPARE(imp.AantalFouten(), geschreven ? 0 : 1);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), geschreven ? 1 : 0);
        if (geschreven)
            QCOMPARE(db.scalar("SELECT fkType FROM Article").toLongLong(), waarde);
    }

    void tableWithoutBackColour()
    {
        Omgeving o;
        {
            fixtures::FixtureDb db(o.pad);
            db.exec("ALTER TABLE Article DROP COLUMN fkBackColor");
        }
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a", "1", "1"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalFouten(), 0);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 1);
    }

    void cancelMidFile()
    {
        Omgeving o;
        o.opties(true, true);
        Importeur imp;
        Annuleerder opnemer;
        opnemer.engine = &imp;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a", "1", "1"}, {"B", "b", "1", "1"}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(!imp.overzetten());
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 1);
    }

    void productTableCannotOpen()
    {
        Omgeving o;
        Importeur imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        const QString pad = o.env.path("ontbreekt/pt.db");
        // A file that reads well, for a product table that is not there.
        const QString csv = o.env.path("artikelen.csv");
        schrijf(csv, "Code;Omschrijving;Prijs;x\nA;a;1;1\n");
        o.bron.BronPad = csv;
        o.bron.IsCSV = true;
        QVERIFY(!imp.OverzettenBestand(o.bron, pad));
        QVERIFY(opnemer.heeftActie("Openen productentabel mislukt! '" + pad + "'"));
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
    }

    void deceuninckFindsOnOrderCode()
    {
        Omgeving o;
        o.opties(true, false);
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "X100"}, {"OrderCode", "5410"}, {"PriceUnit", 1.0}});
            db.insert("Article", {{"Code", "5410"}, {"OrderCode", "ANDERS"}, {"PriceUnit", 1.0}});
        }
        // A Deceuninck workbook: its EAN column is the code, matched on the order code.
        o.bron.IsExcel = true;
        o.bron.KolomKoppen = "|Artikel|Kleur|c|d|e|EAN code|Omschr";
        QVERIFY(o.bron.MatchArtikelOpBestelcode());
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"5410", "Profiel", "9,5", ""}});
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalBestaand(), 1);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = 'X100'").toDouble(), 9.5);
        QCOMPARE(db.scalar("SELECT PriceUnit FROM Article WHERE Code = '5410'").toDouble(), 1.0);
    }

    void chosenGroupAndSupplier_data()
    {
        QTest::addColumn<int>("keuze"); // the entry chosen in both lists, -1: Annuleren
        QTest::newRow("chosen") << 1;
        QTest::newRow("cancelled") << -1;
    }

    // The plan asks the user for the group and supplier of new articles; the choice overrides
    // what the line holds.
    void chosenGroupAndSupplier()
    {
        QFETCH(int, keuze);
        Omgeving o;
        o.opties(true, true);
        qint64 groep = 0, leverancier = 0;
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("ArtGroup", {{"Code", "A"}, {"Description", "Eerste"}, {"OrderNr", 1}});
            groep = db.insert("ArtGroup", {{"Code", "B"}, {"Description", "Tweede"}, {"OrderNr", 2}});
            leverancier = db.insert("Supplier", {{"Code", "LEV"}, {"Description", "Leverancier"}});
        }
        for (int lijst = 0; lijst < 2; ++lijst) // the group list, then the supplier list
            o.ui.pickOneAnswers.enqueue(keuze < 0 ? std::nullopt : std::optional<int>(keuze));
        Importeur imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"N", "nieuw", "1", "1", "77"}},
                kPlan + QStringList{"UISELECTEREN ( Ja ; Ja )",
                                    "VELD ( Ja ; fkGroup ; Numeriek ; Nee ; Nee ; Nee ; Nee ; Nee ; . )"});
        QVERIFY(imp.openen(o.pad));
        QCOMPARE(imp.overzetten(), keuze >= 0);
        fixtures::FixtureDb db(o.pad);
        if (keuze < 0) {
            QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 0);
            return;
        }
        QCOMPARE(db.scalar("SELECT fkGroup FROM Article WHERE Code = 'N'").toLongLong(), groep);
        QCOMPARE(db.scalar("SELECT fkSupplier FROM Article WHERE Code = 'N'").toLongLong(), leverancier);
    }

    void datumTekst_data()
    {
        QTest::addColumn<QString>("waarde");
        QTest::addColumn<QString>("verwacht");
        QTest::newRow("eight digits") << "20240305"
                                      << "2024/3/5";
        QTest::newRow("month 13") << "20241305"
                                  << "";
        QTest::newRow("day 0") << "20240300"
                               << "";
        QTest::newRow("four digits") << "2024"
                                     << "";
        QTest::newRow("date text") << "2024-03-05"
                                   << "2024/03/05";
        QTest::newRow("no date") << "morgen"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("eight digits, day 31 of a short month") << "20240231" << "2024/2/31";
        // Any other date text, read as a Dutch date reader reads it, with or without a time.
        QTest::newRow("iso with time") << "2024-03-05 10:00:00" << "2024/03/05";
        QTest::newRow("iso T and zone") << "2024-03-05T10:00:00Z" << "2024/03/05";
        QTest::newRow("workbook date cell") << "2024-03-05 00:00:00" << "2024/03/05";
        QTest::newRow("dotted") << "05.03.2024" << "2024/03/05";
        QTest::newRow("day first with time") << "5-3-2024 10:00" << "2024/03/05";
        QTest::newRow("two-digit year") << "5/3/24" << "2024/03/05";
        QTest::newRow("month name") << "5 maart 2024" << "2024/03/05";
        QTest::newRow("short month name") << "5-mrt-2024" << "2024/03/05";
        QTest::newRow("slashes") << "2024/3/5" << "2024/03/05";
        QTest::newRow("no such day") << "31-02-2024" << "";
        QTest::newRow("bad time") << "2024-03-05 25:00" << "";
    }

    void datumTekst()
    {
        QFETCH(QString, waarde);
        QFETCH(QString, verwacht);
        QCOMPARE(clsImportBestand::DatumTekst(waarde), verwacht);
    }

    void regelOmschrijving()
    {
        QCOMPARE(clsImportBestand::RegelOmschrijving({"a", "b"}), QString("a ; b ; "));
    }
};

QTEST_MAIN(TestArtikelImport)
#include "test_artikelimport.moc"
