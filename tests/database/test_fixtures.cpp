// The design-product fixture databases the tests of every subsystem build on.

#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;
using fixtures::Kind;

Q_DECLARE_METATYPE(fixtures::Kind)

namespace {

// Columns of a table in the file, or none when the table is missing.
QStringList columnsOf(const QString& path, const QString& table)
{
    const auto schema = SqliteBackend::open(path)->tableSchema(table);
    QStringList names;
    if (schema) {
        for (const TableColumn& column : schema->columns)
            names.append(column.name);
    }
    return names;
}

int typeOf(const QString& path, const QString& table, const QString& column)
{
    const auto schema = SqliteBackend::open(path)->tableSchema(table);
    return schema->columns.at(schema->columnIndex(column)).type;
}

} // namespace

class TestFixtures : public QObject
{
    Q_OBJECT

private slots:
    void makesEveryKind_data();
    void makesEveryKind();
    void layoutsFollowVersions_data();
    void layoutsFollowVersions();
    void typesFollowVersions();
    void fillsRows();
};

void TestFixtures::makesEveryKind_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("appType");
    QTest::addColumn<QString>("dbType");
    QTest::newRow("pt 2.40") << Kind::ProductTable << 2 << 40 << "VELMORA"
                             << "PT";
    QTest::newRow("pt 3.20") << Kind::ProductTable << 3 << 20 << "VELMORA"
                             << "PT";
    QTest::newRow("opt 2.30") << Kind::Options << 2 << 30 << "VELMORA"
                              << "OPTIONS";
    QTest::newRow("opt 3.30") << Kind::Options << 3 << 30 << "VELMORA"
                              << "OPTIONS";
    QTest::newRow("opt quentaro 2.10") << Kind::Options << 2 << 10 << "QUENTARO"
                                       << "OPTIONS";
    QTest::newRow("opt 3.40") << Kind::Options << 3 << 40 << "VELMORA"
                              << "OPTIONS";
    QTest::newRow("lib 3.40") << Kind::Library << 3 << 40 << "VELMORA"
                              << "LIBRARY";
    QTest::newRow("lib 3.50") << Kind::Library << 3 << 50 << "VELMORA"
                              << "LIBRARY";
    QTest::newRow("wkv 3.0") << Kind::WorkPreparation << 3 << 0 << "VELMORA"
                             << "SHAPES";
    QTest::newRow("wkv 3.50 lower case") << Kind::WorkPreparation << 3 << 50 << "Velmora"
                                         << "SHAPES";
}

void TestFixtures::makesEveryKind()
{
    QFETCH(Kind, kind);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, appType);
    QFETCH(QString, dbType);
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("db.sqlite"));
    QVERIFY(fixtures::makeDatabase(path, kind, {major, minor}, appType));
    QVERIFY(fixtures::makeDatabase(path, kind, {major, minor}, appType)); // an existing file is replaced
    const auto db = SqliteBackend::open(path);
    QStringList expected = fixtures::tableNames(kind, {major, minor}, appType);
    QStringList actual = db->tableNames();
    actual.removeAll(QStringLiteral("sqlite_sequence"));
    expected.sort(Qt::CaseInsensitive);
    actual.sort(Qt::CaseInsensitive);
    QCOMPARE(actual, expected);
    const RecordsetPtr info = db->openRecordset(QStringLiteral("SELECT * FROM SysDBINFO"));
    QCOMPARE(info->recordCount(), 1);
    QCOMPARE(info->value(QStringLiteral("AppType")).toString(), appType);
    QCOMPARE(info->value(QStringLiteral("DBType")).toString(), dbType);
    QCOMPARE(info->value(QStringLiteral("VerMajor")).toInt(), major);
    QCOMPARE(info->value(QStringLiteral("VerMinor")).toInt(), minor);
    QCOMPARE(db->check(), QStringLiteral("ok"));
}

void TestFixtures::layoutsFollowVersions_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("appType");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("opt old articles")
        << Kind::Options << 3 << 0 << "VELMORA"
        << "LocksHingesArticle" << QStringList{"fkLocksHingesCombi", "RelativeTo"} << QStringList{"fkCombi"};
    QTest::newRow("opt new articles") << Kind::Options << 3 << 20 << "VELMORA"
                                      << "LocksHingesArticle" << QStringList{"fkCombi", "wFrom", "Draw"}
                                      << QStringList{"fkLocksHingesCombi"};
    QTest::newRow("opt other application")
        << Kind::Options << 1 << 80 << "QUENTARO"
        << "LocksHingesArticle" << QStringList{"fkCombi"} << QStringList{"fkLocksHingesCombi"};
    QTest::newRow("opt sqlite combi")
        << Kind::Options << 3 << 40 << "VELMORA"
        << "LocksHingesCombi" << QStringList{"Data", "Lim_max_A", "Polygon"} << QStringList{};
    QTest::newRow("opt sqlite articles") << Kind::Options << 3 << 40 << "VELMORA"
                                         << "LocksHingesArticle" << QStringList{} << QStringList{"ID"};
    QTest::newRow("pt 2.40 article") << Kind::ProductTable << 2 << 40 << "VELMORA"
                                     << "Article" << QStringList{"Code", "PriceUnit", "fkMirroredArticle"}
                                     << QStringList{"TradeLengthCalc", "Limited"};
    QTest::newRow("pt 3.0 article") << Kind::ProductTable << 3 << 0 << "VELMORA"
                                    << "Article" << QStringList{"TradeLengthCalc", "Limited", "MORSVoorraad"}
                                    << QStringList{};
    QTest::newRow("lib 3.40 children")
        << Kind::Library << 3 << 40 << "VELMORA"
        << "TreshHoldArticleUsage" << QStringList{"fkCombi", "Count", "UsageDescription"} << QStringList{};
    QTest::newRow("lib 3.50 no children") << Kind::Library << 3 << 50 << "VELMORA"
                                          << "PaneGroove" << QStringList{} << QStringList{"ID"};
    QTest::newRow("lib 3.50 combis") << Kind::Library << 3 << 50 << "VELMORA"
                                     << "LocksHingesCombi" << QStringList{"Code", "Data"} << QStringList{};
    QTest::newRow("wkv 3.0 nodes") << Kind::WorkPreparation << 3 << 0 << "VELMORA"
                                   << "GrooveShapeNodes" << QStringList{"DeltaZFormula"}
                                   << QStringList{"Angle", "Reference"};
    QTest::newRow("wkv 3.10 nodes") << Kind::WorkPreparation << 3 << 10 << "VELMORA"
                                    << "GrooveShapeNodes" << QStringList{"Angle", "AngleRule", "Reference"}
                                    << QStringList{};
    QTest::newRow("wkv 3.50 shapes") << Kind::WorkPreparation << 3 << 50 << "VELMORA"
                                     << "GrooveShape" << QStringList{"Data", "Type"}
                                     << QStringList{"Priority", "fkCategory"};
}

void TestFixtures::layoutsFollowVersions()
{
    QFETCH(Kind, kind);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, appType);
    QFETCH(QString, table);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("db.sqlite"));
    QVERIFY(fixtures::makeDatabase(path, kind, {major, minor}, appType));
    const QStringList columns = columnsOf(path, table);
    for (const QString& column : present)
        QVERIFY2(columns.contains(column), qPrintable(column));
    for (const QString& column : absent)
        QVERIFY2(!columns.contains(column), qPrintable(column));
}

void TestFixtures::typesFollowVersions()
{
    test::TestEnvironment env;
    const QString old = env.path(QStringLiteral("old.db"));
    const QString newer = env.path(QStringLiteral("new.db"));
    QVERIFY(fixtures::makeDatabase(old, Kind::ProductTable, {3, 10}));
    QVERIFY(fixtures::makeDatabase(newer, Kind::ProductTable, {3, 20}));
    QCOMPARE(typeOf(old, QStringLiteral("Article"), QStringLiteral("fkMirroredArticle")), adType::Integer);
    QCOMPARE(typeOf(newer, QStringLiteral("Article"), QStringLiteral("fkMirroredArticle")), adType::VarWChar);
    QCOMPARE(typeOf(newer, QStringLiteral("Article"), QStringLiteral("PriceUnit")), adType::Currency);
    QCOMPARE(typeOf(newer, QStringLiteral("Article"), QStringLiteral("Deprecated")), adType::Boolean);
}

void TestFixtures::fillsRows()
{
    test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("wkv.db"));
    QVERIFY(fixtures::makeDatabase(path, Kind::WorkPreparation, {3, 40}));
    fixtures::FixtureDb db(path);
    const qint64 shape =
        db.insert(QStringLiteral("GrooveShape"),
                  {{QStringLiteral("Code"), QStringLiteral("VS'01")}, {QStringLiteral("Type"), 1}});
    QCOMPARE(shape, 1);
    const qint64 geometry =
        db.insert(QStringLiteral("GrooveShapeGeom"),
                  {{QStringLiteral("fkGrooveShape"), shape}, {QStringLiteral("bContra"), -1}});
    db.insert(QStringLiteral("GrooveShapeNodes"), {{QStringLiteral("fkGrooveShapeGeom"), geometry},
                                                   {QStringLiteral("OrderNr"), 1},
                                                   {QStringLiteral("DeltaZFormula"), QStringLiteral("d/2")}});
    db.addVersionRow(QStringLiteral("QUENTARO"), QStringLiteral("SHAPES"), 2, 0);
    QCOMPARE(db.count(QStringLiteral("GrooveShapeNodes")), 1);
    QCOMPARE(db.count(QStringLiteral("SysDBInfo")), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Code FROM GrooveShape WHERE ID = ?"), {shape}).toString(),
             QStringLiteral("VS'01"));
}

QTEST_GUILESS_MAIN(TestFixtures)
#include "test_fixtures.moc"
