// The hardware import into a Jet options database of the older format (on
// the Jet stand-in): hardware tables with their grid of width and height
// cells, one combination per distinct range with its article rows, ranges
// that share a combination, the selection, and re-imports that replace a
// table and its combinations with everything hanging from them.

#include "hangsluittestsupport.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

Q_DECLARE_METATYPE(supplink::test::Lijn)

namespace {

Lijn lijn(const QString& code, qint32 bv, qint32 bt, qint32 hv, qint32 ht, const QString& artikel = "ART-1")
{
    return Lijn{code, QStringLiteral("Tabel ") + code}.metMaten(bv, bt, hv, ht).metArtikel(artikel);
}

// The cells as "combination code: MaxWidth x MaxHeight", in the order written.
QStringList cellen(const Doel& doel)
{
    return rijen(
        doel, "SELECT c.Code || ': ' || CAST(t.MaxWidth AS INTEGER) || ' x ' || CAST(t.MaxHeight AS INTEGER) "
              "FROM LocksHingesType t JOIN LocksHingesCombi c ON c.ID = t.fkLocksHingesCombi ORDER BY t.ID");
}

} // namespace

class TestHangSluitOudFormaat : public QObject
{
    Q_OBJECT

private slots:
    // The grid cuts every line's range at every boundary of its table and writes the cells inside it.
    void grid_data()
    {
        QTest::addColumn<QList<Lijn>>("lijnen");
        QTest::addColumn<QStringList>("verwacht");
        QTest::newRow("one range") << QList<Lijn>{lijn("T1", 0, 1000, 0, 2000)}
                                   << QStringList{"T101: 10000 x 20000"};
        QTest::newRow("side by side")
            << QList<Lijn>{lijn("T1", 0, 1000, 0, 2000), lijn("T1", 1001, 2000, 0, 2000)}
            << QStringList{"T101: 10000 x 20000", "T102: 20000 x 20000"};
        QTest::newRow("overlapping") << QList<Lijn>{lijn("T1", 0, 1000, 0, 2000),
                                                    lijn("T1", 500, 1500, 0, 2000)}
                                     << QStringList{"T101: 4990 x 20000", "T101: 10000 x 20000",
                                                    "T102: 15000 x 20000", "T102: 10000 x 20000"};
        QTest::newRow("widths and heights")
            << QList<Lijn>{lijn("T1", 0, 1000, 0, 1000), lijn("T1", 0, 1000, 1001, 2000)}
            << QStringList{"T101: 10000 x 10000", "T102: 10000 x 20000"};
    }
    void grid()
    {
        QFETCH(QList<Lijn>, lijnen);
        QFETCH(QStringList, verwacht);
        HangSluitProef p;
        p.combinaties(lijnen);
        const Doel doel = p.doel(DoelSoort::JetOud);
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QCOMPARE(cellen(doel), verwacht);
        QCOMPARE(rijen(doel, "SELECT DISTINCT fkLocksHingesTable FROM LocksHingesType"),
                 rijen(doel, "SELECT ID FROM LocksHingesTable"));
    }

    // Lines of one table with the same range share one combination: the later line adds its pieces, and
    // no cells. The combination codes count on per table.
    void sharedRangeReusesTheCombination()
    {
        HangSluitProef p;
        p.combinaties({lijn("T1", 0, 1000, 0, 2000, "SCHARNIER"), lijn("T1", 1001, 2000, 0, 2000, "SLOT"),
                       lijn("T1", 0, 1000, 0, 2000, "KRUK"), lijn("T2", 0, 1000, 0, 2000, "SLOT")});
        const Doel doel = p.doel(DoelSoort::JetOud);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM LocksHingesCombi ORDER BY ID"),
                 (QStringList{"T101|T101 (0-1000, 0-2000)", "T102|T102 (1001-2000, 0-2000)",
                              "T201|T201 (0-1000, 0-2000)"}));
        QCOMPARE(cellen(doel),
                 (QStringList{"T101: 10000 x 20000", "T102: 20000 x 20000", "T201: 10000 x 20000"}));
        QCOMPARE(
            rijen(doel,
                  "SELECT c.Code || ' ' || a.fkArticle FROM LocksHingesArticle a JOIN LocksHingesCombi c "
                  "ON c.ID = a.fkLocksHingesCombi ORDER BY a.ID"),
            (QStringList{"T101 SCHARNIER", "T102 SLOT", "T101 KRUK", "T201 SLOT"}));
        QCOMPARE(p.log.startingWith("Nieuwe "),
                 (QStringList{"Nieuwe tabel 'T1 - Tabel T1'", "Nieuwe combi 'T101 (0-1000, 0-2000)'",
                              "Nieuwe combi 'T102 (1001-2000, 0-2000)'", "Nieuwe tabel 'T2 - Tabel T2'",
                              "Nieuwe combi 'T201 (0-1000, 0-2000)'"}));
        QCOMPARE(p.log.nieuw, (QList<qint32>{1, 2, 3, 4, 5}));
    }

    // Three pieces give three article rows; none gives none, but the combination and its cell are made.
    void piecesByCount()
    {
        HangSluitProef p;
        Lijn drie = lijn("T1", 0, 1000, 0, 2000).metArtikel("DRIE", 3);
        drie.calc = QStringLiteral("1200");
        drie.y = QStringLiteral("2,5");
        p.combinaties({drie, lijn("T1", 1001, 2000, 0, 2000).metArtikel("NUL", 0)});
        const Doel doel = p.doel(DoelSoort::JetOud);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(
            rijen(doel,
                  "SELECT fkArticle, RelativeTo, Side, Origin, CR_X, Y, RealLength, DrawLength, DrawWidth "
                  "FROM LocksHingesArticle ORDER BY ID"),
            QStringList(3, "DRIE|1|1|0|10|25|1200|<null>|<null>"));
        QCOMPARE(doel.db().count("LocksHingesCombi"), 2);
        QCOMPARE(cellen(doel).size(), 2);
    }

    // A table without a description takes its code; codes keep 25 characters, descriptions 50.
    void tableDescriptions()
    {
        HangSluitProef p;
        const QString lang = QStringLiteral("TABEL-MET-EEN-HEEL-LANGE-CODE");
        p.combinaties({Lijn{QStringLiteral("T1"), QString()}, Lijn{lang, QString(60, QLatin1Char('o'))}});
        const Doel doel = p.doel(DoelSoort::JetOud);
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM LocksHingesTable ORDER BY ID"),
                 (QStringList{"T1|T1", lang.left(25) + "|" + QString(50, QLatin1Char('o'))}));
    }

    // A table the selection lacks is passed over with its description; an empty selection writes all.
    void selection()
    {
        HangSluitProef p;
        p.combinaties({lijn("T1", 0, 1000, 0, 2000), lijn("T2", 0, 1000, 0, 2000)});
        const Doel doel = p.doel(DoelSoort::JetOud);
        QVERIFY(p.overzetten(doel, {"T2"}));
        QCOMPARE(p.log.startingWith("Overgeslagen : "), QStringList{"Overgeslagen : Tabel T1"});
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesTable"), QStringList{"T2"});
        QCOMPARE(p.log.huidig, (QList<qint32>{1, 2}));
    }

    // Importing a table again replaces it with its cells, and its combinations with their article rows and
    // cells: nothing is left behind for a new row to take over.
    void reimportLeavesNoOrphans()
    {
        HangSluitProef p;
        const Doel doel = p.doel(DoelSoort::JetOud);
        p.combinaties({lijn("T1", 0, 1000, 0, 2000, "A"), lijn("T1", 1001, 2000, 0, 2000, "B"),
                       lijn("T2", 0, 1000, 0, 2000, "C")});
        QVERIFY(p.overzetten(doel));
        p.combinaties({lijn("t1", 0, 3000, 0, 2000, "NIEUW")});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesTable ORDER BY ID"), (QStringList{"T2", "t1"}));
        // t101 replaced T101; T102 of the first import stays (no line of this import makes it again).
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi ORDER BY ID"),
                 (QStringList{"T102", "T201", "t101"}));
        QCOMPARE(cellen(doel), (QStringList{"T201: 10000 x 20000", "t101: 30000 x 20000"}));
        QCOMPARE(
            rijen(doel,
                  "SELECT c.Code || ' ' || a.fkArticle FROM LocksHingesArticle a JOIN LocksHingesCombi c "
                  "ON c.ID = a.fkLocksHingesCombi ORDER BY a.ID"),
            (QStringList{"T102 B", "T201 C", "t101 NIEUW"}));
        QCOMPARE(rijen(doel,
                       "SELECT count(*) FROM LocksHingesArticle WHERE fkLocksHingesCombi NOT IN (SELECT ID "
                       "FROM LocksHingesCombi)"),
                 QStringList{"0"});
        QCOMPARE(rijen(doel,
                       "SELECT count(*) FROM LocksHingesType WHERE fkLocksHingesTable NOT IN (SELECT ID FROM "
                       "LocksHingesTable) OR fkLocksHingesCombi NOT IN (SELECT ID FROM LocksHingesCombi)"),
                 QStringList{"0"});
    }

    // Codes with quotes are bound in every delete and lookup.
    void codeWithAQuote()
    {
        HangSluitProef p;
        const Doel doel = p.doel(DoelSoort::JetOud);
        p.combinaties({lijn("T'1", 0, 1000, 0, 2000)});
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.overzetten(doel));
        QVERIFY(p.log.fouten.isEmpty());
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesTable"), QStringList{"T'1"});
        QCOMPARE(rijen(doel, "SELECT Code FROM LocksHingesCombi"), QStringList{"T'101"});
        QCOMPARE(cellen(doel), QStringList{"T'101: 10000 x 20000"});
        for (const QString& sql : p.jet.last->executed)
            QVERIFY2(!sql.contains("T'1"), qPrintable(sql));
    }

    // A line that fails is skipped with a counted error; no cell or article row is written for a table or
    // combination that was not made, and the run writes nothing.
    void failingLineIsSkipped()
    {
        HangSluitProef p;
        Lijn overloop = lijn("T1", 2001, 300000000, 0, 2000);
        p.combinaties({lijn("T1", 0, 1000, 0, 2000), overloop, lijn("T2", 0, 1000, 0, 2000)});
        const Doel doel = p.doel(DoelSoort::JetOud);
        const QByteArray voor = doel.inhoud();
        QVERIFY(!p.overzetten(doel));
        QCOMPARE(p.log.fouten, QList<qint32>{1});
        QCOMPARE(p.ui.errors.size(), 1);
        QVERIFY(p.log.lines.contains("Nieuwe tabel 'T2 - Tabel T2'"));
        QCOMPARE(doel.inhoud(), voor);
    }
};

QTEST_GUILESS_MAIN(TestHangSluitOudFormaat)
#include "test_hangsluitoudformaat.moc"
