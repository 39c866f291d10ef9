// The list of groove figures that the work-preparation engine reads from a
// source for the groove-figure step: the items of every storage and layout,
// the collection they are appended to, and what a failed reading answers.

#include "fixtures/copierfixtures.h"
#include "shapesfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncshapes.h"

#include <QtTest>

using namespace supplink;
using test::Opslag;
using test::WkvPaar;

namespace {

// Code, description, group and ID of every item, in order.
QStringList beschrijf(const ItemCollection& items)
{
    QStringList regels;
    for (const std::shared_ptr<clsItem>& item : items)
        regels << QStringLiteral("%1|%2|%3|%4")
                      .arg(item->Code, item->Description)
                      .arg(item->Groep)
                      .arg(item->ID);
    return regels;
}

} // namespace

class TestClsSyncShapesLezen : public QObject
{
    Q_OBJECT

private slots:
    void itemsByLayout_data();
    void itemsByLayout();
    void emptyTypesReadNothing();
    void sourceWithoutRows();
    void appendsToTheCallersCollection();
    void sourceThatDoesNotOpen();
    void readErrorAnswersFalse_data();
    void readErrorAnswersFalse();
    void shapeWithoutDescriptionIsListed();
};

void TestClsSyncShapesLezen::itemsByLayout_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("verwacht");
    // The source holds (ID: code, description, type) 1: B2 "Beta" 2, 2: A1 "Gamma" 1, 3: C3 "Alfa" 3,
    // 4: D1 "Delta" 1 with a quote in its code.
    const QStringList een{QStringLiteral("D'1|Delta 'x'|1|4"), QStringLiteral("A1|Gamma|1|2")};
    const QStringList eenDrie{QStringLiteral("C3|Alfa|3|3"), QStringLiteral("D'1|Delta 'x'|1|4"),
                              QStringLiteral("A1|Gamma|1|2")};
    QTest::newRow("jet 3.10, type 1") << int(Opslag::Jet) << 10 << QStringLiteral("1") << een;
    QTest::newRow("jet 3.0, types 3 and 1") << int(Opslag::Jet) << 0 << QStringLiteral("3;1") << eenDrie;
    QTest::newRow("sqlite 3.40, types 3 and 1")
        << int(Opslag::SQLite) << 40 << QStringLiteral("1;3") << eenDrie;
    QTest::newRow("sqlite 3.50, types 1 to 4")
        << int(Opslag::SQLite) << 50 << QStringLiteral("1;2;3;4")
        << QStringList{QStringLiteral("C3|Alfa|3|3"), QStringLiteral("B2|Beta|2|1"),
                       QStringLiteral("D'1|Delta 'x'|1|4"), QStringLiteral("A1|Gamma|1|2")};
    QTest::newRow("sqlite 3.40, type 4") << int(Opslag::SQLite) << 40 << QStringLiteral("4") << QStringList{};
}

void TestClsSyncShapesLezen::itemsByLayout()
{
    QFETCH(int, opslag);
    QFETCH(int, minor);
    QFETCH(QString, types);
    QFETCH(QStringList, verwacht);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag(opslag), {3, minor}, Opslag::SQLite, {3, 40});
    const QList<std::tuple<QString, QString, int>> vormen{
        {QStringLiteral("B2"), QStringLiteral("Beta"), 2},
        {QStringLiteral("A1"), QStringLiteral("Gamma"), 1},
        {QStringLiteral("C3"), QStringLiteral("Alfa"), 3},
        {QStringLiteral("D'1"), QStringLiteral("Delta 'x'"), 1}};
    for (const auto& [code, omschrijving, type] : vormen)
        paar.src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), code},
                                                         {QStringLiteral("Description"), omschrijving},
                                                         {QStringLiteral("Type"), type}});
    fixtures::EventLog log;
    clsSyncSHAPES lezer;
    lezer.SetOntvanger(&log);
    QVERIFY(lezer.InlezenBestand(paar.bron, types));
    QVERIFY(lezer.ColItemsDistinct());
    QCOMPARE(beschrijf(*lezer.ColItemsDistinct()), verwacht);
    QCOMPARE(log.hoofdActies, QStringList{QStringLiteral("Openen bron werkvoorbereidings beheer")});
    QCOMPARE(log.hoofdActiesDone, 1);
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron));
    QVERIFY(log.fouten.isEmpty());
    QVERIFY(ui.errors.isEmpty());
}

void TestClsSyncShapesLezen::emptyTypesReadNothing()
{
    test::TestEnvironment env;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    fixtures::EventLog log;
    clsSyncSHAPES lezer;
    lezer.SetOntvanger(&log);
    QVERIFY(!lezer.InlezenBestand(paar.bron, QString()));
    QVERIFY(!lezer.ColItemsDistinct());
    QVERIFY(log.lines.isEmpty());
    QVERIFY(log.hoofdActies.isEmpty());
    QCOMPARE(log.hoofdActiesDone, 0);
}

void TestClsSyncShapesLezen::sourceWithoutRows()
{
    test::TestEnvironment env;
    WkvPaar paar(env, Opslag::Jet, {3, 10}, Opslag::SQLite, {3, 40});
    clsSyncSHAPES lezer;
    QVERIFY(lezer.InlezenBestand(paar.bron, QStringLiteral("1")));
    QVERIFY(lezer.ColItemsDistinct());
    QVERIFY(lezer.ColItemsDistinct()->isEmpty());
}

// The reader appends to the collection it was given (the same object), and a second reading appends again.
void TestClsSyncShapesLezen::appendsToTheCallersCollection()
{
    test::TestEnvironment env;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    auto alle = std::make_shared<ItemCollection>(fixtures::items({QStringLiteral("EERDER")}));
    clsSyncSHAPES lezer;
    lezer.SetColItemsDistinct(alle);
    QVERIFY(lezer.InlezenBestand(paar.bron, QStringLiteral("1")));
    QVERIFY(lezer.InlezenBestand(paar.bron, QStringLiteral("1")));
    QCOMPARE(lezer.ColItemsDistinct(), alle);
    QCOMPARE(alle->size(), 3);
    QCOMPARE(alle->at(0)->Code, QStringLiteral("EERDER"));
    QCOMPARE(alle->at(2)->Code, QStringLiteral("S1"));
}

void TestClsSyncShapesLezen::sourceThatDoesNotOpen()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    fixtures::EventLog log;
    clsSyncSHAPES lezer;
    lezer.SetOntvanger(&log);
    QVERIFY(!lezer.InlezenBestand(env.path(QStringLiteral("bestaat-niet.db")), QStringLiteral("1")));
    QVERIFY(!lezer.ColItemsDistinct());
    QCOMPARE(log.hoofdActiesDone, 1);
}

void TestClsSyncShapesLezen::readErrorAnswersFalse_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("wijziging"); // made to the source after its two shapes
    QTest::addColumn<QString>("types");
    QTest::addColumn<int>("items"); // appended before the error
    QTest::newRow("jet, no shape table")
        << int(Opslag::Jet) << QStringLiteral("DROP TABLE GrooveShape") << QStringLiteral("1") << 0;
    QTest::newRow("sqlite, a code that is Null")
        << int(Opslag::SQLite) << QStringLiteral("UPDATE GrooveShape SET Code = NULL WHERE Description = 'Z'")
        << QStringLiteral("1") << 1;
    QTest::newRow("a type that is no number")
        << int(Opslag::SQLite) << QString() << QStringLiteral("1;x") << 0;
}

// A list that could not be read whole is never offered as complete: False, with the error shown.
void TestClsSyncShapesLezen::readErrorAnswersFalse()
{
    QFETCH(int, opslag);
    QFETCH(QString, wijziging);
    QFETCH(QString, types);
    QFETCH(int, items);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag(opslag), {3, 40}, Opslag::SQLite, {3, 40});
    paar.src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), QStringLiteral("A")},
                                                     {QStringLiteral("Description"), QStringLiteral("A")},
                                                     {QStringLiteral("Type"), 1}});
    paar.src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), QStringLiteral("Z")},
                                                     {QStringLiteral("Description"), QStringLiteral("Z")},
                                                     {QStringLiteral("Type"), 1}});
    if (!wijziging.isEmpty())
        paar.src->exec(wijziging);
    clsSyncSHAPES lezer;
    QVERIFY(!lezer.InlezenBestand(paar.bron, types));
    QCOMPARE(ui.errors.size(), 1);
    QCOMPARE(lezer.ColItemsDistinct() ? int(lezer.ColItemsDistinct()->size()) : 0, items);
}

// A shape without a description is listed with an empty one, as the other readers list such parts: one
// such row must not hide every shape of the source from the step.
void TestClsSyncShapesLezen::shapeWithoutDescriptionIsListed()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    paar.src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), QStringLiteral("A")},
                                                     {QStringLiteral("Description"), QVariant()},
                                                     {QStringLiteral("Type"), 1}});
    paar.src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), QStringLiteral("Z")},
                                                     {QStringLiteral("Description"), QStringLiteral("Z")},
                                                     {QStringLiteral("Type"), 1}});
    clsSyncSHAPES lezer;
    QVERIFY(lezer.InlezenBestand(paar.bron, QStringLiteral("1")));
    QVERIFY(ui.errors.isEmpty());
    QCOMPARE(lezer.ColItemsDistinct()->size(), 2);
    QCOMPARE(lezer.ColItemsDistinct()->at(0)->Code, QStringLiteral("A"));
    QCOMPARE(lezer.ColItemsDistinct()->at(0)->Description, QString());
}

QTEST_GUILESS_MAIN(TestClsSyncShapesLezen)
#include "test_clssyncshapes_lezen.moc"
