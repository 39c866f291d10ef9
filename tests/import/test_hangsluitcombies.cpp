// The combination writers of the hardware import: SQLite options (the
// options document in Data), newer-format Jet options (LocksHingesArticle
// rows) and the library (the library document in Data): the shared loop with
// its selection test, article pieces by count, codes that differ in case,
// re-imports, descriptions, optional length columns, codes with quotes, and
// the library merge that refuses an unreadable stored document.

#include "hangsluittestsupport.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

Q_DECLARE_METATYPE(supplink::test::DoelSoort)

namespace {

void combinatieDoelen()
{
    QTest::addColumn<DoelSoort>("soort");
    for (const DoelSoort s : {DoelSoort::SQLiteOpties, DoelSoort::JetNieuw, DoelSoort::Bibliotheek})
        QTest::newRow(naam(s)) << s;
}

Lijn lijn(const QString& code, const QString& artikel = QStringLiteral("ART-1"), qint32 aantal = 1)
{
    return Lijn{code, QStringLiteral("Omschrijving ") + code}.metArtikel(artikel, aantal);
}

} // namespace

class TestHangSluitCombies : public QObject
{
    Q_OBJECT

private slots:
    // A line is written as many pieces as its count: none for 0, three for 3.
    void piecesByCount_data() { combinatieDoelen(); }
    void piecesByCount()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties({lijn("K1", "NUL", 0), lijn("K1", "DRIE", 3), lijn("K1", "EEN", 1)});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(artikelCodes(doel, "K1"), (QStringList{"DRIE", "DRIE", "DRIE", "EEN"}));
    }

    // a1 and A1 are two parts of the file; the target holds one combination for both, which the second
    // part updates.
    void codesDifferingInCase_data() { combinatieDoelen(); }
    void codesDifferingInCase()
    {
        // One code however it is spelled: both lines are one combination, written once under the
        // spelling of its first line, with the articles of both lines.
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties({lijn("a1", "KLEIN"), lijn("A1", "GROOT")});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(p.log.totaal, QList<qint32>{1});
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi"), QStringList{"a1"});
        QCOMPARE(p.log.startingWith("Bestaand onderdeel : "), QStringList());
        QStringList artikelen = artikelCodes(doel, "a1");
        artikelen.sort();
        QCOMPARE(artikelen, (QStringList{"GROOT", "KLEIN"}));
    }

    // A part the selection lacks is passed over with its code and description; only the library counts.
    void unselectedPart_data() { combinatieDoelen(); }
    void unselectedPart()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties({lijn("K1"), lijn("K2"), lijn("K3")});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel, {"k1", "K3"}));
        QCOMPARE(p.log.startingWith("Overgeslagen : "), QStringList{"Overgeslagen : K2:Omschrijving K2"});
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi ORDER BY ID"), (QStringList{"K1", "K3"}));
        QCOMPARE(p.log.huidig, (QList<qint32>{1, 2, 3}));
        if (soort == DoelSoort::Bibliotheek)
            QCOMPARE(p.log.nieuw, (QList<qint32>{1, 2}));
        else
            QVERIFY(p.log.nieuw.isEmpty());
    }

    // No selection at all selects nothing.
    void noSelection()
    {
        HangSluitProef p;
        p.combinaties({lijn("K1")});
        const Doel doel = p.doel(DoelSoort::SQLiteOpties);
        QVERIFY(p.overzetten(doel, {}, [](clsImportBestandHangSluit& e) { e.ColItemsGeselecteerd.reset(); }));
        QCOMPARE(p.log.startingWith("Overgeslagen : ").size(), 1);
        QCOMPARE(doel.db().count("LocksHingesCombi"), 0);
    }

    // Importing again replaces the article usages: rows in a newer Jet database, the "LHArticles" list in
    // Data; the library merges into its stored document and counts the combination as existing.
    void reimportReplacesArticles_data() { combinatieDoelen(); }
    void reimportReplacesArticles()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = p.doel(soort);
        p.combinaties({lijn("K1", "OUD-1"), lijn("K1", "OUD-2"), lijn("K2", "BLIJFT")});
        QVERIFY(p.overzetten(doel));
        p.combinaties({lijn("K1", "NIEUW", 2)});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(artikelCodes(doel, "K1"), (QStringList{"NIEUW", "NIEUW"}));
        QCOMPARE(artikelCodes(doel, "K2"), QStringList{"BLIJFT"});
        QCOMPARE(doel.db().count("LocksHingesCombi"), 2);
        if (soort == DoelSoort::JetNieuw)
            QCOMPARE(doel.db().count("LocksHingesArticle"), 3);
        if (soort == DoelSoort::Bibliotheek)
            QCOMPARE(p.log.bestaand, QList<qint32>{1});
        QVERIFY(p.log.fouten.isEmpty());
    }

    // An SQLite options database written by hand: a stored Data with usage lists of its own keeps them
    // (written in escaped form), and only "LHArticles" is replaced.
    void optionsKeepTheirOtherLists()
    {
        HangSluitProef p;
        const QString pad = p.env.path("opties.db");
        schrijfDatabase(
            pad, "CREATE TABLE SysDBInfo (AppType TEXT, DBTYPE TEXT, VerMajor INTEGER, VerMinor INTEGER);"
                 "INSERT INTO SysDBInfo VALUES ('VELMORA', 'OPTIONS', 3, 40);"
                 "CREATE TABLE LocksHingesCombi (ID INTEGER PRIMARY KEY, Code TEXT, Description TEXT, "
                 "Polygon TEXT, "
                 "Data TEXT);"
                 "CREATE TABLE CustomLHCombi (ID INTEGER PRIMARY KEY, Code TEXT, Description TEXT);"
                 "CREATE TABLE CustomLH (ID INTEGER PRIMARY KEY, fkCustomLHCombi INTEGER, fkLockHingeCombi "
                 "INTEGER)");
        fixtures::FixtureDb(pad).insert(
            "LocksHingesCombi",
            {{"Code", "k1"},
             {"Description", "Bestaand"},
             {"Polygon", "1"},
             {"Data", QStringLiteral(
                          "{\"ArtUsages\":\"[{\\\"a\\\":\\\"x\\\"}]\",\"ActUsages\":\"[]\","
                          "\"RefUsages\":\"[\\\"R1\\\",\\\"R2\\\"]\",\"LHArticles\":\"[\\\"{\\\\\\\"fkArticle"
                          "\\\\\\\":\\\\\\\"OUD\\\\\\\"}\\\"]\"}")}});
        const Doel doel{DoelSoort::SQLiteOpties, pad, pad};
        p.combinaties({lijn("K1", "NIEUW")});
        QVERIFY(p.overzetten(doel));
        const JsonValue data = leesJson(rijen(doel, "SELECT Data FROM LocksHingesCombi").value(0));
        QCOMPARE(data.toObject().keys(), (QStringList{"RefUsages", "ArtUsages", "ActUsages", "LHArticles"}));
        QCOMPARE(ToJson(leesJson(data[u"RefUsages"].toString())), QStringLiteral("[\"R1\",\"R2\"]"));
        QCOMPARE(ToJson(leesJson(data[u"ArtUsages"].toString())), QStringLiteral("[{\"a\":\"x\"}]"));
        QCOMPARE(artikelCodes(doel, "K1"), QStringList{"NIEUW"});
        QCOMPARE(rijen(doel, "SELECT Description FROM LocksHingesCombi"), QStringList{"Bestaand"});
    }

    // A stored options document that does not read is reported and counted; its row stays as it was.
    void optionsMergeErrorKeepsTheRow()
    {
        HangSluitProef p;
        const Doel doel = p.doel(DoelSoort::SQLiteOpties);
        doel.db().insert("LocksHingesCombi",
                         {{"Code", "K1"}, {"Description", "Kapot"}, {"Data", "{\"RefUsages\":\"[\" "}});
        const QByteArray voor = doel.inhoud();
        p.combinaties({lijn("K1"), lijn("K2")});
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.ui.errors.size(), 1);
        QCOMPARE(doel.inhoud(), voor);
    }

    // The library refuses to merge into a stored document that does not read: the error is counted in the
    // second count, said as a progress line, and the row is kept.
    void libraryMergeErrorKeepsTheRow()
    {
        HangSluitProef p;
        const Doel doel = p.doel(DoelSoort::Bibliotheek);
        const QString kapot = QStringLiteral("{\"Polygon\":1,\"LHArticles\":[{\"fkArticle\":\"OUD\"");
        doel.db().insert("LocksHingesCombi", {{"Code", "K1"}, {"Description", "Kapot"}, {"Data", kapot}});
        p.combinaties({lijn("K1")});
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.engine->AantalFouten(), 1);
        QCOMPARE(p.log.startingWith("Error (clsImportBestandHangSluit.AanmakenCombiInLibrary): 5-").size(),
                 1);
        QCOMPARE(p.log.bestaand, QList<qint32>{1});
        QCOMPARE(rijen(doel, "SELECT Data FROM LocksHingesCombi"), QStringList{kapot});
    }

    // The options keep the first 50 characters of a description, the library all of it.
    void longDescription_data() { combinatieDoelen(); }
    void longDescription()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const QString lang =
            QStringLiteral("Draaikiep beslag met verdekt liggende scharnieren, links en rechts");
        QVERIFY(lang.size() > 50);
        p.combinaties({Lijn{QStringLiteral("K1"), lang}});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Description FROM LocksHingesCombi"),
                 QStringList{soort == DoelSoort::Bibliotheek ? lang : lang.left(50)});
    }

    // The newer Jet article rows: type and dimensions, drawing data only when drawn, the length columns
    // only when given.
    void jetArticleRows()
    {
        HangSluitProef p;
        Lijn getekend = Lijn{QStringLiteral("K1"), QStringLiteral("D")}.metMaten(50, 120, 0, 0);
        getekend.artikel = QStringLiteral("ART-1  ");
        getekend.x = QStringLiteral("15");
        getekend.y = QStringLiteral("2,5");
        getekend.calc = QStringLiteral("1200");
        Lijn blind = Lijn{QStringLiteral("K1"), QStringLiteral("D")}.metMaten(0, 0, 100, 0);
        blind.x = QStringLiteral("  ");
        p.combinaties({getekend, blind});
        const Doel doel = p.doel(DoelSoort::JetNieuw);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel,
                       "SELECT fkArticle, Type, wFrom, wTo, hFrom, hTo, Position, Draw, Origin, YPos, CR_X, "
                       "Polygon, RealLength, DrawLength FROM LocksHingesArticle ORDER BY ID"),
                 (QStringList{"ART-1|1|500|1200|<null>|<null>|1|-1|0|25|15|1|1200|<null>",
                              "ART-1|2|<null>|<null>|1000|0|1|0|<null>|<null>|<null>|<null>|<null>|<null>"}));
    }

    // A newer Jet table written by hand without the length columns takes the rows without them.
    void jetWithoutLengthColumns()
    {
        HangSluitProef p;
        const QString bestand = p.env.path("zonder.db");
        schrijfDatabase(
            bestand,
            "CREATE TABLE SysDBInfo (AppType TEXT(50), DBTYPE TEXT(50), VerMajor INTEGER, VerMinor INTEGER);"
            "INSERT INTO SysDBInfo VALUES ('VELMORA', 'OPTIONS', 3, 10);"
            "CREATE TABLE LocksHingesCombi (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50) COLLATE "
            "NOCASE, "
            "Description TEXT(50), Polygon TEXT);"
            "CREATE TABLE LocksHingesArticle (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkCombi INTEGER, "
            "fkArticle TEXT(50), Type SMALLINT, wFrom REAL, wTo REAL, hFrom REAL, hTo REAL, Position "
            "TEXT(50), "
            "Draw BIT, Origin TEXT(50), YPos REAL, CR_X TEXT(50), Polygon TEXT)");
        const Doel doel{DoelSoort::JetNieuw, p.jet.add(bestand), bestand};
        Lijn l = lijn("K1");
        l.calc = QStringLiteral("1200");
        l.afdrLengte = QStringLiteral("800");
        p.combinaties({l});
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QCOMPARE(rijen(doel, "SELECT fkArticle, Type FROM LocksHingesArticle"), QStringList{"ART-1|0"});
    }

    // Codes with a quote are bound, never spliced into a statement: found again on a re-import.
    void codeWithAQuote_data() { combinatieDoelen(); }
    void codeWithAQuote()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = p.doel(soort);
        p.combinaties({lijn("K'1", "EERST")});
        QVERIFY(p.overzetten(doel, {"K'1"}));
        p.combinaties({lijn("K'1", "DAARNA"), lijn("L''2 OR 1=1", "B")});
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi ORDER BY ID"),
                 (QStringList{"K'1", "L''2 OR 1=1"}));
        QCOMPARE(artikelCodes(doel, "K'1"), QStringList{"DAARNA"});
        QCOMPARE(artikelCodes(doel, "L''2 OR 1=1"), QStringList{"B"});
        if (soort == DoelSoort::JetNieuw) {
            for (const QString& sql : p.jet.last->executed)
                QVERIFY2(!sql.contains("K'1") && !sql.contains("L''2"), qPrintable(sql));
        }
    }

    // An article code with a double quote (written quoted, as a CSV file does) or a backslash stays
    // readable JSON.
    void articleCodeInJson_data()
    {
        QTest::addColumn<DoelSoort>("soort");
        QTest::newRow(naam(DoelSoort::SQLiteOpties)) << DoelSoort::SQLiteOpties;
        QTest::newRow(naam(DoelSoort::Bibliotheek)) << DoelSoort::Bibliotheek;
    }
    void articleCodeInJson()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        p.combinaties({lijn("K1", "\"A\"B\\C\"")});
        const Doel doel = p.doel(soort);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(artikelCodes(doel, "K1"), QStringList{"A\"B\\C"});
    }

    // Library usages take only lines with an article code.
    void libraryTakesLinesWithAnArticle()
    {
        HangSluitProef p;
        p.combinaties({lijn("K1", "  "), lijn("K1", "ART-2")});
        const Doel doel = p.doel(DoelSoort::Bibliotheek);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(artikelCodes(doel, "K1"), QStringList{"ART-2"});
        const JsonValue data = leesJson(rijen(doel, "SELECT Data FROM LocksHingesCombi").value(0));
        QCOMPARE(data.toObject().keys(),
                 (QStringList{"Polygon", "Lim_min_W", "Lim_min_H", "Lim_min_A", "Lim_max_W", "Lim_max_H",
                              "Lim_max_A", "ArtUsages", "ActUsages", "RefUsages", "LHArticles"}));
    }
};

QTEST_GUILESS_MAIN(TestHangSluitCombies)
#include "test_hangsluitcombies.moc"
