// The list with group selector without a window: which items each group
// shows, the counts text, the step's own groups and the pick of an entry.

#include "selection/groepenlijst.h"
#include "support/testenvironment.h"

#include <QSignalSpy>
#include <QtTest>

using namespace supplink;

namespace {

// Items with every combination of the flags that decide the fixed groups.
//   N  new (optional)                      E  existing, ticked
//   U  unwanted                            R  required, new
//   RE required, existing                  S  ticked, new
ItemCollection voorbeeld()
{
    const auto maak = [](const char* code, bool required, bool selected, bool existing, bool unwanted) {
        auto item = std::make_shared<clsItem>();
        item->Code = QString::fromLatin1(code);
        item->Required = required;
        item->Selected = selected;
        item->Existing = existing;
        item->setUnwanted(unwanted);
        return item;
    };
    return {maak("N", false, false, false, false), maak("E", false, true, true, false),
            maak("U", false, false, false, true),  maak("R", true, true, false, false),
            maak("RE", true, true, true, false),   maak("S", false, true, false, false)};
}

QStringList getoond(const GroepenLijst& lijst)
{
    QStringList codes;
    for (int rij = 0; rij < lijst.lijst().RijAantal(); ++rij)
        codes << lijst.lijst().Rij(rij).Code;
    return codes;
}

int index(const GroepenLijst& lijst, qint32 nummer)
{
    for (int i = 0; i < lijst.Groepen().size(); ++i) {
        if (lijst.Groepen().at(i).Nummer == nummer)
            return i;
    }
    return -1;
}

} // namespace

class TestGroepenLijst : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<test::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void fixedGroups_data();
    void fixedGroups();
    void stepGroupsByNumberAndCaption();
    void twoEntriesWithOneCaption();
    void emptyCollection();
    void pickingAnEntryRaisesGroupChange();
    void initEmptiesTheGroups();

private:
    std::unique_ptr<test::TestEnvironment> m_env;
};

void TestGroepenLijst::fixedGroups_data()
{
    QTest::addColumn<qint32>("groep");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("tekst");

    QTest::newRow("(Alle)") << Groep::Alle << QStringList{"E", "N", "R", "RE", "S", "U"} << "Alle (6) - ";
    QTest::newRow("(Verplicht)") << Groep::Verplicht << QStringList{"R", "RE"} << "Verplicht (2) - ";
    QTest::newRow("(Optioneel)") << Groep::Optioneel << QStringList{"E", "N", "S", "U"} << "Optioneel (4) - ";
    QTest::newRow("(Nieuw)") << Groep::Nieuw << QStringList{"N", "R", "S"} << "Nieuw (3) - ";
    QTest::newRow("(Bestaand)") << Groep::Bestaand << QStringList{"E", "RE"} << "Bestaand (2) - ";
    QTest::newRow("(Ongewenst)") << Groep::Ongewenst << QStringList{"U"} << "Ongewenst (1) - ";
    // Ticked and not required; the counts text stays empty.
    QTest::newRow("(Los geselecteerd)") << Groep::LosGeselecteerd << QStringList{"E", "S"} << "";
}

void TestGroepenLijst::fixedGroups()
{
    QFETCH(qint32, groep);
    QFETCH(QStringList, codes);
    QFETCH(QString, tekst);

    const ItemCollection items = voorbeeld();
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Laagrelief"), true);
    lijst.AddGroups();
    QCOMPARE(lijst.Groepen().size(), 7);
    QCOMPARE(lijst.GekozenGroep(), 0);
    QCOMPARE(lijst.Groepen().at(0).Omschrijving, QStringLiteral("(Alle)"));
    lijst.KiesGroep(index(lijst, groep));
    lijst.ToevoegenOnderdelen(items, groep);
    QCOMPARE(getoond(lijst), codes);
    QCOMPARE(lijst.InfoTekst(), tekst);
    // Every row points back at its item.
    for (int rij = 0; rij < lijst.lijst().RijAantal(); ++rij) {
        const LijstRij& r = lijst.lijst().Rij(rij);
        QCOMPARE(items.at(r.Tag - 1)->Code, r.Code);
    }
}

void TestGroepenLijst::stepGroupsByNumberAndCaption()
{
    ItemCollection items = voorbeeld();
    items.at(0)->Groep = 12;                                        // by number
    items.at(1)->GroepOmschrijving = QStringLiteral("Beslag");      // by caption
    items.at(2)->Groep = 13;                                        // another group
    items.at(2)->GroepOmschrijving = QStringLiteral("beslag");      // the caption differs in case
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), true);
    lijst.AddGroups();
    lijst.ToevoegenOnderdelen(items, Groep::Alle);
    lijst.AddGroup(12, QStringLiteral("B1"), QStringLiteral("Beslag"));
    QCOMPARE(lijst.Groepen().size(), 8);

    lijst.KiesGroep(7);
    lijst.ToevoegenOnderdelen(items, 12);
    QCOMPARE(getoond(lijst), (QStringList{QStringLiteral("E"), QStringLiteral("N")}));
    QCOMPARE(lijst.InfoTekst(), QStringLiteral("In groep (2) - "));
}

void TestGroepenLijst::twoEntriesWithOneCaption()
{
    ItemCollection items = voorbeeld();
    items.at(0)->GroepOmschrijving = QStringLiteral("Sloten");
    items.at(0)->Groep = 1;
    items.at(3)->GroepOmschrijving = QStringLiteral("Sloten");
    items.at(3)->Groep = 2;
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), true);
    lijst.AddGroups();
    lijst.AddGroup(1, {}, QStringLiteral("Sloten"));
    lijst.AddGroup(2, {}, QStringLiteral("Sloten"));
    for (const int entry : {7, 8}) {
        lijst.KiesGroep(entry);
        lijst.ToevoegenOnderdelen(items, lijst.Groepen().at(entry).Nummer);
        QCOMPARE(getoond(lijst), (QStringList{QStringLiteral("N"), QStringLiteral("R")}));
    }
}

void TestGroepenLijst::emptyCollection()
{
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Neuten"), true);
    lijst.AddGroups();
    lijst.ToevoegenOnderdelen({}, Groep::Alle);
    QCOMPARE(lijst.lijst().RijAantal(), 0);
    QCOMPARE(lijst.InfoTekst(), QStringLiteral("Alle (0) - "));

    // With no entry selected the caption is empty: items without a group caption match it.
    GroepenLijst zonder;
    zonder.Init(QStringLiteral("Neuten"), true);
    zonder.ToevoegenOnderdelen(voorbeeld(), 5);
    QCOMPARE(zonder.lijst().RijAantal(), 6);
    QCOMPARE(zonder.InfoTekst(), QString());
}

void TestGroepenLijst::pickingAnEntryRaisesGroupChange()
{
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Neuten"), true);
    lijst.AddGroups();
    lijst.ToevoegenOnderdelen(voorbeeld(), Groep::Alle);
    QSignalSpy groep(&lijst, &GroepenLijst::GroupChange);
    QSignalSpy tekst(&lijst, &GroepenLijst::InfoTekstGewijzigd);
    lijst.KiesGroep(1);
    QCOMPARE(groep.size(), 1);
    QCOMPARE(groep.at(0).at(0).value<qint32>(), Groep::Verplicht);
    // The host has not shown the group yet: the text counts the rows the list holds.
    QCOMPARE(tekst.last().at(0).toString(), QStringLiteral("Verplicht (6) - "));
    lijst.KiesGroep(42);
    QCOMPARE(groep.size(), 1);
}

void TestGroepenLijst::initEmptiesTheGroups()
{
    GroepenLijst lijst;
    lijst.Init(QStringLiteral("Neuten"), true);
    lijst.AddGroups();
    lijst.AddGroup(3, {}, QStringLiteral("Eigen"));
    lijst.Init(QStringLiteral("Laagrelief"), true);
    QVERIFY(lijst.Groepen().isEmpty());
    QCOMPARE(lijst.GekozenGroep(), -1);
    QCOMPARE(lijst.lijst().LijstNaam(), QStringLiteral("Laagrelief"));
}

QTEST_GUILESS_MAIN(TestGroepenLijst)
#include "test_groepenlijst.moc"
