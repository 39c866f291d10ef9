// The choice writers of the hardware import, into an SQLite options database
// and a newer-format Jet options database: one CustomLHCombi row per choice
// with a CustomLH row per member line, members the target lacks reported,
// re-imports that store the choice anew without leaving its old links, codes
// with quotes, and descriptions.

#include "hangsluittestsupport.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

Q_DECLARE_METATYPE(supplink::test::DoelSoort)

namespace {

void keuzeDoelen()
{
    QTest::addColumn<DoelSoort>("soort");
    for (const DoelSoort s : {DoelSoort::SQLiteOpties, DoelSoort::JetNieuw})
        QTest::newRow(naam(s)) << s;
}

// The target with the combinations of the codes (IDs 1, 2, ...).
Doel metCombinaties(HangSluitProef& p, DoelSoort soort, const QStringList& codes)
{
    const Doel doel = p.doel(soort);
    fixtures::FixtureDb db = doel.db();
    for (const QString& code : codes)
        db.insert("LocksHingesCombi", {{"Code", code}, {"Description", "Combinatie " + code}});
    return doel;
}

// The links as "choice code > combination code", in the order written.
QStringList koppelingen(const Doel& doel)
{
    return rijen(doel,
                 "SELECT k.Code || ' > ' || c.Code FROM CustomLH l JOIN CustomLHCombi k ON k.ID = "
                 "l.fkCustomLHCombi JOIN LocksHingesCombi c ON c.ID = l.fkLockHingeCombi ORDER BY l.ID");
}

} // namespace

class TestHangSluitKeuzes : public QObject
{
    Q_OBJECT

private slots:
    // A choice that names the same combination twice gets two links; a member the target lacks is said and
    // left out, the choice keeps its others.
    void choicesWithTheirMembers_data() { keuzeDoelen(); }
    void choicesWithTheirMembers()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = metCombinaties(p, soort, {"K1", "K2"});
        p.keuzes({{"KZ1", "Draaikiep", "K1"},
                  {"KZ1", "Draaikiep", "k2"},
                  {"KZ1", "Draaikiep", "K1"},
                  {"KZ1", "Draaikiep", "K9"},
                  {"KZ2", "Stolp", "K2"}});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM CustomLHCombi ORDER BY ID"),
                 (QStringList{"KZ1|Draaikiep", "KZ2|Stolp"}));
        QCOMPARE(koppelingen(doel), (QStringList{"KZ1 > K1", "KZ1 > K2", "KZ1 > K1", "KZ2 > K2"}));
        QCOMPARE(p.log.lines.filter("niet gevonden"),
                 QStringList{"Hang en Sluitwerk Combi niet gevonden : K9"});
        QCOMPARE(p.log.startingWith("Nieuwe Hang en Sluitwerk Keuze '"),
                 (QStringList{"Nieuwe Hang en Sluitwerk Keuze 'KZ1 - Draaikiep'",
                              "Nieuwe Hang en Sluitwerk Keuze 'KZ2 - Stolp'"}));
        QCOMPARE(p.log.nieuw, (QList<qint32>{1, 2}));
        QCOMPARE(p.log.totaal, QList<qint32>{2});
        QCOMPARE(p.log.huidig, (QList<qint32>{1, 2}));
        QVERIFY(p.log.fouten.isEmpty());
    }

    // Importing a choice again stores it anew: its old row goes with its links, and the new links point at
    // the new row.
    void reimportReplacesTheChoice_data() { keuzeDoelen(); }
    void reimportReplacesTheChoice()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = metCombinaties(p, soort, {"K1", "K2", "K3"});
        p.keuzes({{"KZ1", "Oud", "K1"}, {"KZ1", "Oud", "K2"}, {"KZ2", "Blijft", "K3"}});
        QVERIFY(p.overzetten(doel));
        p.keuzes({{"kz1", "Nieuw", "K3"}});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM CustomLHCombi ORDER BY ID"),
                 (QStringList{"KZ2|Blijft", "kz1|Nieuw"}));
        QCOMPARE(koppelingen(doel), (QStringList{"KZ2 > K3", "kz1 > K3"}));
        QCOMPARE(
            rijen(
                doel,
                "SELECT count(*) FROM CustomLH WHERE fkCustomLHCombi NOT IN (SELECT ID FROM CustomLHCombi)"),
            QStringList{"0"});
    }

    // A choice the selection lacks is passed over with its description.
    void unselectedChoice_data() { keuzeDoelen(); }
    void unselectedChoice()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = metCombinaties(p, soort, {"K1"});
        p.keuzes({{"KZ1", "Draaikiep", "K1"}, {"KZ2", "Stolp", "K1"}});
        QVERIFY(p.overzetten(doel, {"KZ2"}));
        QCOMPARE(p.log.startingWith("Overgeslagen : "), QStringList{"Overgeslagen : Draaikiep"});
        QCOMPARE(koppelingen(doel), QStringList{"KZ2 > K1"});
    }

    // Codes with quotes, of choices and of members, are bound: found and written as they are.
    void codesWithQuotes_data() { keuzeDoelen(); }
    void codesWithQuotes()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = metCombinaties(p, soort, {"K'1", "K''2"});
        p.keuzes({{"KZ'1", "Keuze", "K'1"}, {"KZ'1", "Keuze", "K''2"}});
        QVERIFY(p.overzetten(doel));
        p.keuzes({{"KZ'1", "Keuze", "K''2"}});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(koppelingen(doel), QStringList{"KZ'1 > K''2"});
        QVERIFY(p.log.fouten.isEmpty());
    }

    // Without a description the choice takes its code; codes keep their first 25 characters and descriptions
    // their first 50, and a long code is found again by what was stored.
    void descriptionsAndLengths_data() { keuzeDoelen(); }
    void descriptionsAndLengths()
    {
        QFETCH(DoelSoort, soort);
        HangSluitProef p;
        const Doel doel = metCombinaties(p, soort, {"K1"});
        const QString lang = QStringLiteral("KEUZE-MET-EEN-HEEL-LANGE-CODE-1");
        const QString omschrijving(60, QLatin1Char('o'));
        p.keuzes({{"KZ1", "", "K1"}, {lang, omschrijving, "K1"}});
        QVERIFY(p.overzetten(doel));
        p.keuzes({{lang, omschrijving, "K1"}});
        QVERIFY(p.overzetten(doel));
        QCOMPARE(rijen(doel, "SELECT Code, Description FROM CustomLHCombi ORDER BY ID"),
                 (QStringList{"KZ1|KZ1", lang.left(25) + "|" + omschrijving.left(50)}));
        QCOMPARE(koppelingen(doel), (QStringList{"KZ1 > K1", lang.left(25) + " > K1"}));
    }
};

QTEST_GUILESS_MAIN(TestHangSluitKeuzes)
#include "test_hangsluitkeuzes.moc"
