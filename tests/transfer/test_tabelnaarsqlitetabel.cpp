// The copier from a Jet recordset into an SQLite table, as the
// work-preparation engine uses it for groove shapes: the target query and key
// condition, new and existing shapes, codes with quotes, the comparison of
// codes, another form of key condition, and the error path.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "support/testenvironment.h"
#include "transfer/clsimporttabelnaarsqlitetabel.h"

#include <QtTest>

using namespace supplink;
using fixtures::EventLog;
using fixtures::FixtureDb;
using fixtures::Kind;

namespace {

const QString kQuery =
    QStringLiteral("SELECT ID, Code, Description, Type, Priority, fkCategory FROM GrooveShape");
const QString kWhere = QStringLiteral("WHERE Code=");

// A Jet file as the program has it: read into an SQLite mirror, counted as Jet.
class JetMirror : public SqliteBackend
{
public:
    static std::shared_ptr<JetMirror> open(const QString& path)
    {
        return std::shared_ptr<JetMirror>(new JetMirror(openHandle(path, SqliteOpenOptions()), path));
    }
    Kind kind() const override { return Kind::Jet; }

private:
    JetMirror(sqlite3* db, const QString& path) : SqliteBackend(db, path) {}
};

struct Shapes
{
    test::TestEnvironment env;
    std::unique_ptr<FixtureDb> src, dst;
    clsConnectie srcCn;
    std::unique_ptr<clsConnectie> dstCn;
    EventLog log;
    clsImportTabelNaarSQliteTabel copier;

    Shapes()
    {
        const QString srcPath = env.path(QStringLiteral("wkv.mdb"));
        const QString dstPath = env.path(QStringLiteral("wkv.db"));
        fixtures::makeDatabase(srcPath, Kind::WorkPreparation, {3, 0});
        fixtures::makeDatabase(dstPath, Kind::WorkPreparation, {3, 40});
        src = std::make_unique<FixtureDb>(srcPath);
        dst = std::make_unique<FixtureDb>(dstPath);
        srcCn.ADOConnectie = JetMirror::open(srcPath);
        dstCn = fixtures::openSqlite(dstPath);
        // As the work-preparation engine sets it up.
        copier.SetOntvanger(&log);
        copier.SkipFieldsCollection << QStringLiteral("ID") << QStringLiteral("fkCategory");
        copier.DeleteLinkedTablesSQL << QStringLiteral("DELETE FROM GrooveShapeGeom WHERE fkGrooveShape=");
        copier.strKeyField = QStringLiteral("Code");
        copier.strIDField = QStringLiteral("ID");
        copier.strFieldOnderdeelFilter = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
    }

    qint64 addSource(const QString& code, int type = 1)
    {
        return src->insert(QStringLiteral("GrooveShape"),
                           {{QStringLiteral("Code"), code},
                            {QStringLiteral("Description"), QStringLiteral("Bron ") + code},
                            {QStringLiteral("Type"), type},
                            {QStringLiteral("Priority"), 7},
                            {QStringLiteral("fkCategory"), 12}});
    }
    qint64 addTarget(const QString& code, int type = 1)
    {
        const qint64 id = dst->insert(QStringLiteral("GrooveShape"),
                                      {{QStringLiteral("Code"), code},
                                       {QStringLiteral("Description"), QStringLiteral("Doel")},
                                       {QStringLiteral("Type"), type}});
        dst->insert(QStringLiteral("GrooveShapeGeom"), {{QStringLiteral("fkGrooveShape"), id}});
        return id;
    }
    void run(const QString& where = kWhere)
    {
        copier.OverzettenRecordSet(
            srcCn.Connection()->openRecordset(QStringLiteral("SELECT * FROM GrooveShape")), kQuery, where,
            srcCn, *dstCn);
    }
    QVariant value(const QString& sql, const QVariantList& params = {}) { return dst->scalar(sql, params); }
};

} // namespace

class TestTabelNaarSqliteTabel : public QObject
{
    Q_OBJECT

private slots:
    void newShapesAreAppended();
    void existingShapeIsPassedOver();
    void existingShapeIsUpdated();
    void codeWithQuoteIsFound();
    void codesCompareWithoutCase();
    void otherKeyCondition();
    void brokenTargetQueryEndsTheCall();
};

void TestTabelNaarSqliteTabel::newShapesAreAppended()
{
    Shapes shapes;
    shapes.addSource(QStringLiteral("GS1"));
    shapes.addSource(QStringLiteral("GS2"));
    shapes.addTarget(QStringLiteral("X"));
    shapes.run();

    QVERIFY(shapes.log.lines.first().startsWith(
        QStringLiteral("Source = SELECT * FROM GrooveShape, Target = SQLite, Key = Code, Start = ")));
    QCOMPARE(shapes.log.lines.size(), 4);
    QCOMPARE(shapes.log.lines.at(1), QStringLiteral("Nieuw onderdeel : GS1"));
    QCOMPARE(shapes.log.lines.at(2), QStringLiteral("Nieuw onderdeel : GS2"));
    QVERIFY(shapes.log.lines.at(3).startsWith(QStringLiteral("End = ")));
    QCOMPARE(shapes.log.nieuw, (QList<qint32>{1, 2}));
    QCOMPARE(shapes.value(QStringLiteral("SELECT count(*) FROM GrooveShape")).toInt(), 3);
    QCOMPARE(
        shapes
            .value(QStringLiteral("SELECT Description || '/' || Type || '/' || Priority FROM GrooveShape "
                                  "WHERE Code = 'GS2'"))
            .toString(),
        QStringLiteral("Bron GS2/1/7"));
    QVERIFY(shapes.value(QStringLiteral("SELECT fkCategory FROM GrooveShape WHERE Code = 'GS2'")).isNull());
    QCOMPARE(shapes.value(QStringLiteral("SELECT ID FROM GrooveShape WHERE Code = 'GS2'")).toInt(), 3);
}

void TestTabelNaarSqliteTabel::existingShapeIsPassedOver()
{
    Shapes shapes;
    shapes.addSource(QStringLiteral("GS1"));
    shapes.addTarget(QStringLiteral("GS1"));
    shapes.run();
    QCOMPARE(shapes.log.bestaand, QList<qint32>{1});
    QVERIFY(shapes.log.indexOf(QStringLiteral("Overgeslagen bestaand onderdeel : GS1")) >= 0);
    QCOMPARE(shapes.value(QStringLiteral("SELECT Description FROM GrooveShape")).toString(),
             QStringLiteral("Doel"));
    QCOMPARE(shapes.dst->count(QStringLiteral("GrooveShapeGeom")), 1);
}

void TestTabelNaarSqliteTabel::existingShapeIsUpdated()
{
    Shapes shapes;
    shapes.addSource(QStringLiteral("GS1"));
    const qint64 id = shapes.addTarget(QStringLiteral("GS1"));
    shapes.copier.WijzigingenDoorvoeren = true;
    shapes.copier.UpdateFieldsCollection << QStringLiteral("Description");
    const ItemCollection selected = fixtures::items({"GS1"});
    shapes.copier.colFilter = selected;
    shapes.run();
    QCOMPARE(shapes.log.lines.mid(1, 3),
             (QStringList{QStringLiteral("Bestaand onderdeel : GS1"),
                          QStringLiteral("Verwijderen: DELETE FROM GrooveShapeGeom WHERE fkGrooveShape=") +
                              QString::number(id),
                          QStringLiteral("Update: Description(Doel->Bron GS1)")}));
    QCOMPARE(shapes.value(QStringLiteral("SELECT Description FROM GrooveShape")).toString(),
             QStringLiteral("Bron GS1"));
    QCOMPARE(shapes.dst->count(QStringLiteral("GrooveShapeGeom")), 0);
    QVERIFY(selected.first()->RunActie_Aangepast);
}

void TestTabelNaarSqliteTabel::codeWithQuoteIsFound()
{
    Shapes shapes;
    shapes.addSource(QStringLiteral("O'Neil; 1=1 --"));
    shapes.addTarget(QStringLiteral("O'Neil; 1=1 --"));
    shapes.run();
    QCOMPARE(shapes.log.bestaand, QList<qint32>{1});
    QVERIFY(shapes.log.indexOf(QStringLiteral("Overgeslagen bestaand onderdeel : O'Neil; 1=1 --")) >= 0);
    QCOMPARE(shapes.dst->count(QStringLiteral("GrooveShape")), 1);
}

void TestTabelNaarSqliteTabel::codesCompareWithoutCase()
{
    // Codes are found whatever the case of their letters (also where the column compares exactly, and for
    // letters outside ASCII): no second row for a shape the target holds.
    Shapes shapes;
    shapes.addSource(QStringLiteral("gs1"));
    shapes.addSource(QStringLiteral("één"));
    shapes.addSource(QStringLiteral("GS2"));
    shapes.addTarget(QStringLiteral("GS1"));
    shapes.addTarget(QStringLiteral("ÉÉN"));
    shapes.run();
    QCOMPARE(shapes.log.nieuw, QList<qint32>{1});
    QCOMPARE(shapes.log.bestaand, (QList<qint32>{1, 2}));
    QCOMPARE(shapes.dst->count(QStringLiteral("GrooveShape")), 3);
}

void TestTabelNaarSqliteTabel::otherKeyCondition()
{
    // A condition that is not just "WHERE <key>=" is run as it is, with the code bound.
    Shapes shapes;
    shapes.addSource(QStringLiteral("GS1"));
    shapes.addSource(QStringLiteral("GS2"));
    shapes.addTarget(QStringLiteral("GS1"), 2);
    shapes.addTarget(QStringLiteral("GS2"), 1);
    shapes.run(QStringLiteral("WHERE Type = 1 AND Code ="));
    QCOMPARE(shapes.log.nieuw, QList<qint32>{1});
    QCOMPARE(shapes.log.bestaand, QList<qint32>{1});
    QVERIFY(shapes.log.indexOf(QStringLiteral("Nieuw onderdeel : GS1")) >= 0);
    QCOMPARE(shapes.value(QStringLiteral("SELECT count(*) FROM GrooveShape WHERE Code = 'GS1'")).toInt(), 2);
    QVERIFY(shapes.log.fouten.isEmpty());
}

void TestTabelNaarSqliteTabel::brokenTargetQueryEndsTheCall()
{
    Shapes shapes;
    shapes.addSource(QStringLiteral("GS1"));
    shapes.copier.OverzettenRecordSet(
        shapes.srcCn.Connection()->openRecordset(QStringLiteral("SELECT ID, Code FROM GrooveShape")),
        QStringLiteral("SELECT * FROM GeenTabel"), kWhere, shapes.srcCn, *shapes.dstCn);
    QCOMPARE(shapes.log.fouten, QList<qint32>{1});
    const QStringList& lines = shapes.log.lines;
    QVERIFY(lines.at(1).startsWith(
        QStringLiteral("Error (clsImportTabelNaarSQLiteTabel.OverzettenRecordSet): ")));
    QCOMPARE(lines.mid(2),
             (QStringList{"Key = Code", "ID = ID", "Source recordset:", "ID", "Code", "Target recordset:"}));
}

QTEST_GUILESS_MAIN(TestTabelNaarSqliteTabel)
#include "test_tabelnaarsqlitetabel.moc"
