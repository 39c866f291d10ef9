// The copier between two SQLite databases: its selection rule, the JSON data
// of hardware combinations merged on existing rows, foreign keys on new rows
// only, and the copy of child rows of selected parents (SyncLinkedTable).

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "transfer/clsimportsqlitetabelnaarsqlitet.h"
#include "transfer/jsonmerge.h"

#include <QtTest>

using namespace supplink;
using fixtures::EventLog;
using fixtures::FixtureDb;
using fixtures::Kind;

namespace {

const QString kStored = QStringLiteral(
    "{\"Polygon\":9,\"Lim_min_W\":9,\"Lim_min_H\":9,\"Lim_min_A\":9,\"Lim_max_W\":9,\"Lim_max_H\":9,"
    "\"Lim_max_A\":9,\"ArtUsages\":[{\"a\":1}],\"ActUsages\":[2],\"RefUsages\":[\"r\"],"
    "\"LHArticles\":[{\"fkArticle\":\"OLD\"}]}");
const QString kIncoming = QStringLiteral(
    "{\"Polygon\":1,\"Lim_min_W\":0,\"Lim_min_H\":12.5,\"Lim_min_A\":0,\"Lim_max_W\":1000,\"Lim_max_H\":2000,"
    "\"Lim_max_A\":5,\"ArtUsages\":[],\"ActUsages\":[],\"RefUsages\":[],\"LHArticles\":[{\"fkArticle\":"
    "\"K1\"}]}");

struct Pair
{
    test::TestEnvironment env;
    std::unique_ptr<FixtureDb> src, dst;
    std::unique_ptr<clsConnectie> srcCn, dstCn;
    EventLog log;
    clsImportSQLiteTabelNaarSQLiteT copier;

    explicit Pair(Kind kind, fixtures::Version version = {3, 40})
    {
        const QString srcPath = env.path(QStringLiteral("bron.db"));
        const QString dstPath = env.path(QStringLiteral("doel.db"));
        fixtures::makeDatabase(srcPath, kind, version);
        fixtures::makeDatabase(dstPath, kind, version);
        src = std::make_unique<FixtureDb>(srcPath);
        dst = std::make_unique<FixtureDb>(dstPath);
        srcCn = fixtures::openSqlite(srcPath);
        dstCn = fixtures::openSqlite(dstPath);
        copier.SetOntvanger(&log);
        // As the options and library engines set it up.
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.strKeyField = QStringLiteral("Code");
        copier.strIDField = QStringLiteral("ID");
        copier.strFieldOnderdeelFilter = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
    }

    void run(const QString& table)
    {
        copier.OverzettenRecordSet(
            srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM ") + table),
            QStringLiteral("SELECT * FROM ") + table, QStringLiteral("WHERE Code="), *srcCn, *dstCn);
    }
    QVariant value(const QString& sql, const QVariantList& params = {}) { return dst->scalar(sql, params); }
};

QVariantMap combi(const QString& code, const QVariant& data, const QVariant& limit = 100)
{
    return {
        {QStringLiteral("Code"), code}, {QStringLiteral("Data"), data}, {QStringLiteral("Lim_min_W"), limit}};
}

// Groove shapes with names for SyncLinkedTable.
struct Names : Pair
{
    Names() : Pair(Kind::WorkPreparation, {3, 40}) {}

    void sourceShape(const QString& code, const QStringList& names)
    {
        const qint64 id = src->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), code}});
        double width = 10;
        for (const QString& name : names)
            src->insert(QStringLiteral("GrooveShapeNames"), {{QStringLiteral("fkGrooveShape"), id},
                                                             {QStringLiteral("Width"), width++},
                                                             {QStringLiteral("Name"), name}});
    }
    qint64 targetShape(const QString& code, const QStringList& names = {})
    {
        const qint64 id = dst->insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), code}});
        for (const QString& name : names)
            dst->insert(QStringLiteral("GrooveShapeNames"),
                        {{QStringLiteral("fkGrooveShape"), id}, {QStringLiteral("Name"), name}});
        return id;
    }
    void sync(const ItemCollection& selected, const QString& qrySource = QString())
    {
        const QStringList fields{QStringLiteral("Width"), QStringLiteral("Name")};
        copier.SyncLinkedTable(
            *srcCn, *dstCn,
            qrySource.isEmpty()
                ? QStringLiteral("SELECT GrooveShape.Code AS TheCode, GrooveShapeNames.Width, "
                                 "GrooveShapeNames.Name FROM GrooveShape INNER JOIN GrooveShapeNames "
                                 "ON GrooveShape.ID = GrooveShapeNames.fkGrooveShape")
                : qrySource,
            QStringLiteral("SELECT * FROM GrooveShapeNames"),
            QStringLiteral(
                "SELECT UPPER(GrooveShape.Code) AS TheCode, GrooveShapeNames.ID FROM GrooveShape INNER "
                "JOIN GrooveShapeNames ON GrooveShape.ID = GrooveShapeNames.fkGrooveShape"),
            QStringLiteral(
                "SELECT UPPER(GrooveShape.Code) AS TheCode, GrooveShape.ID AS TheID FROM GrooveShape"),
            selected, QStringLiteral("TheID"), QStringLiteral("fkGrooveShape"), fields, fields);
    }
    QStringList targetNames(qint64 parent)
    {
        const auto rs = dstCn->Connection()->openRecordset(
            QStringLiteral("SELECT Name, Width FROM GrooveShapeNames WHERE fkGrooveShape = ? ORDER BY ID"),
            {parent});
        QStringList names;
        for (; !rs->eof(); rs->moveNext())
            names.append(rs->value(0).toString() + QLatin1Char('@') + NzString(rs->value(1)));
        return names;
    }
};

} // namespace

class TestSqliteNaarSqlite : public QObject
{
    Q_OBJECT

private slots:
    void selectionRule_data();
    void selectionRule();
    void jsonData_data();
    void jsonData();
    void foreignKeysOnNewRowsOnly();
    void keyTwiceInSourceFindsTheRowJustAdded();
    void keyMatchedAsCodesCompare_data();
    void keyMatchedAsCodesCompare();
    void updatedFieldWrittenWhenItsTextDiffers_data();
    void updatedFieldWrittenWhenItsTextDiffers();
    void syncLinkedTable();
    void syncLinkedTableWithoutSelectionAddsNothing();
    void syncLinkedTableErrorIsShownAndCounted();
    void writtenRowsStayWhenTheCallEnds_data();
    void writtenRowsStayWhenTheCallEnds();
    void refusedTransactionBeginIsAnError_data();
    void refusedTransactionBeginIsAnError();
};

void TestSqliteNaarSqlite::selectionRule_data()
{
    QTest::addColumn<bool>("none");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("filterField");
    QTest::addColumn<int>("added");
    QTest::newRow("no collection") << true << QStringList() << "Code" << 0;
    QTest::newRow("empty collection") << false << QStringList() << "Code" << 0;
    QTest::newRow("one item") << false << QStringList{"B"} << "Code" << 1;
    QTest::newRow("items, no filter field") << false << QStringList{"Z"} << "" << 3;
}

void TestSqliteNaarSqlite::selectionRule()
{
    QFETCH(bool, none);
    QFETCH(QStringList, codes);
    QFETCH(QString, filterField);
    QFETCH(int, added);
    Pair pair(Kind::Options);
    for (const char* code : {"A", "B", "C"})
        pair.src->insert(QStringLiteral("LocksHingesTable"),
                         {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    if (none)
        pair.copier.colFilter = std::nullopt;
    else
        pair.copier.colFilter = fixtures::items(codes);
    pair.copier.strFieldOnderdeelFilter = filterField;
    pair.run(QStringLiteral("LocksHingesTable"));

    QCOMPARE(pair.dst->count(QStringLiteral("LocksHingesTable")), qint64(added));
    QCOMPARE(pair.log.startingWith(QStringLiteral("Overgeslagen : ")).size(), 3 - added);
    QVERIFY(pair.log.lines.first().startsWith(
        QStringLiteral("Source = SQLite, Target = SQLite, Key = Code Start = ")));
    if (added == 0)
        QCOMPARE(pair.log.startingWith(QStringLiteral("Overgeslagen : ")).first(),
                 QStringLiteral("Overgeslagen : A"));
}

void TestSqliteNaarSqlite::jsonData_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("incoming");
    QTest::addColumn<QVariant>("result");
    QTest::addColumn<bool>("mergeLine");
    QTest::addColumn<bool>("error");
    QString error;
    const QString merged = MergeJSONFieldLibrary(kStored, kIncoming, error);
    QVERIFY(error.isEmpty() && !merged.isEmpty());
    QTest::newRow("equal") << QVariant(kStored) << QVariant(kStored) << QVariant(kStored) << false << false;
    QTest::newRow("merged") << QVariant(kStored) << QVariant(kIncoming) << QVariant(merged) << true << false;
    QTest::newRow("nothing stored") << QVariant() << QVariant(kIncoming) << QVariant(kIncoming) << true
                                    << false;
    QTest::newRow("nothing incoming")
        << QVariant(kStored) << QVariant() << QVariant(kStored) << true << false;
    QTest::newRow("both empty") << QVariant(QString()) << QVariant() << QVariant(QString()) << false << false;
    QTest::newRow("broken incoming") << QVariant(kStored) << QVariant(QStringLiteral("{\"Lim_min_H\":"))
                                     << QVariant(kStored) << true << true;
}

void TestSqliteNaarSqlite::jsonData()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, incoming);
    QFETCH(QVariant, result);
    QFETCH(bool, mergeLine);
    QFETCH(bool, error);
    Pair pair(Kind::Options);
    pair.src->insert(QStringLiteral("LocksHingesCombi"), combi(QStringLiteral("C1"), incoming, 250));
    pair.dst->insert(QStringLiteral("LocksHingesCombi"), combi(QStringLiteral("X"), QVariant()));
    pair.dst->insert(QStringLiteral("LocksHingesCombi"), combi(QStringLiteral("C1"), stored));
    const ItemCollection selected = fixtures::items({"C1"});
    pair.copier.colFilter = selected;
    pair.copier.WijzigingenDoorvoeren = true;
    pair.copier.UpdateFieldsCollection << QStringLiteral("Polygon") << QStringLiteral("Lim_min_W");
    pair.copier.UpdateJSONFieldsCollection << QStringLiteral("Data");
    pair.run(QStringLiteral("LocksHingesCombi"));

    const QVariant data = pair.value(QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE Code = 'C1'"));
    QCOMPARE(NzString(data), NzString(result));
    QCOMPARE(pair.log.indexOf(QStringLiteral("JSON Merge: Data([Data]->[Data])")) >= 0, mergeLine);
    // The row is stored also when its data could not be merged.
    QCOMPARE(pair.value(QStringLiteral("SELECT Lim_min_W FROM LocksHingesCombi WHERE Code = 'C1'")).toInt(),
             250);
    QVERIFY(pair.log.indexOf(QStringLiteral("Update: Lim_min_W(100->250)")) >= 0);
    QVERIFY(selected.first()->RunActie_Aangepast);
    if (error) {
        QCOMPARE(pair.log.fouten, QList<qint32>{1});
        const int at =
            pair.log.indexOf(QStringLiteral("Error (clsImportTabelNaarSQLiteTabel.TransferField): 0-"));
        QVERIFY(at >= 0);
        QVERIFY(pair.log.lines.at(at + 1).startsWith(
            QStringLiteral("clsImportTabelNaarSQLiteTabel.MergeJSONFieldLibrary")));
    } else {
        QVERIFY(pair.log.fouten.isEmpty());
    }
}

void TestSqliteNaarSqlite::foreignKeysOnNewRowsOnly()
{
    Pair pair(Kind::Options);
    for (FixtureDb* db : {pair.src.get(), pair.dst.get()})
        db->exec(QStringLiteral("CREATE TABLE Keuze (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50), "
                                "fkLocksHingesTable INTEGER, Note TEXT(50))"));
    pair.src->insert(QStringLiteral("LocksHingesTable"), {{QStringLiteral("Code"), QStringLiteral("T1")}});
    pair.src->insert(QStringLiteral("LocksHingesTable"), {{QStringLiteral("Code"), QStringLiteral("T2")}});
    pair.dst->insert(QStringLiteral("LocksHingesTable"), {{QStringLiteral("Code"), QStringLiteral("T2")}});
    pair.dst->insert(QStringLiteral("LocksHingesTable"), {{QStringLiteral("Code"), QStringLiteral("T1")}});
    pair.src->insert(QStringLiteral("Keuze"), {{QStringLiteral("Code"), QStringLiteral("K1")},
                                               {QStringLiteral("fkLocksHingesTable"), 1},
                                               {QStringLiteral("Note"), QStringLiteral("n")}});
    pair.src->insert(QStringLiteral("Keuze"), {{QStringLiteral("Code"), QStringLiteral("K2")},
                                               {QStringLiteral("fkLocksHingesTable"), 1},
                                               {QStringLiteral("Note"), QStringLiteral("n")}});
    pair.dst->insert(QStringLiteral("Keuze"), {{QStringLiteral("Code"), QStringLiteral("K2")},
                                               {QStringLiteral("fkLocksHingesTable"), 77},
                                               {QStringLiteral("Note"), QStringLiteral("o")}});

    pair.copier.colFilter = fixtures::items({"K1", "K2"});
    pair.copier.WijzigingenDoorvoeren = true;
    pair.copier.UpdateFieldsCollection << QStringLiteral("Note");
    pair.copier.VoegOpzoekingToe(
        QStringLiteral("fkLocksHingesTable"),
        pair.srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM LocksHingesTable")),
        pair.dstCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM LocksHingesTable")));
    pair.run(QStringLiteral("Keuze"));

    QCOMPARE(pair.value(QStringLiteral("SELECT fkLocksHingesTable FROM Keuze WHERE Code = 'K1'")).toInt(), 2);
    QCOMPARE(pair.value(QStringLiteral("SELECT fkLocksHingesTable || Note FROM Keuze WHERE Code = 'K2'"))
                 .toString(),
             QStringLiteral("77n"));
}

void TestSqliteNaarSqlite::keyTwiceInSourceFindsTheRowJustAdded()
{
    Pair pair(Kind::Options);
    pair.dst->insert(QStringLiteral("LocksHingesTable"), {{QStringLiteral("Code"), QStringLiteral("A")}});
    pair.src->insert(QStringLiteral("LocksHingesTable"),
                     {{QStringLiteral("Code"), QStringLiteral("D")},
                      {QStringLiteral("Description"), QStringLiteral("een")}});
    pair.src->insert(QStringLiteral("LocksHingesTable"),
                     {{QStringLiteral("Code"), QStringLiteral("A")},
                      {QStringLiteral("Description"), QStringLiteral("a")}});
    pair.src->insert(QStringLiteral("LocksHingesTable"),
                     {{QStringLiteral("Code"), QStringLiteral("D")},
                      {QStringLiteral("Description"), QStringLiteral("twee")}});
    pair.copier.colFilter = fixtures::items({"A", "D"});
    pair.copier.WijzigingenDoorvoeren = true;
    pair.copier.UpdateFieldsCollection << QStringLiteral("Description");
    pair.run(QStringLiteral("LocksHingesTable"));

    QCOMPARE(pair.log.nieuw, QList<qint32>{1});
    QCOMPARE(pair.log.bestaand, (QList<qint32>{1, 2}));
    QVERIFY(pair.log.indexOf(QStringLiteral("Update: Description(een->twee)")) >= 0);
    QCOMPARE(pair.dst->count(QStringLiteral("LocksHingesTable")), 2);
    QCOMPARE(
        pair.value(QStringLiteral("SELECT Description FROM LocksHingesTable WHERE Code = 'D'")).toString(),
        QStringLiteral("twee"));
}

void TestSqliteNaarSqlite::updatedFieldWrittenWhenItsTextDiffers_data()
{
    // The field's value in the target and in the source, in a column that keeps every value as it was
    // bound, and the update line expected (none when the two read as the same text).
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("incoming");
    QTest::addColumn<QString>("update");
    const QVariant null;
    QTest::newRow("equal texts") << QVariant("abc") << QVariant("abc") << "";
    QTest::newRow("texts in another case") << QVariant("abc") << QVariant("ABC") << "Val(abc->ABC)";
    QTest::newRow("other text") << QVariant("abc") << QVariant("abd") << "Val(abc->abd)";
    QTest::newRow("equal whole numbers") << QVariant(qint64(5)) << QVariant(qint64(5)) << "";
    QTest::newRow("other whole number") << QVariant(qint64(5)) << QVariant(qint64(6)) << "Val(5->6)";
    QTest::newRow("whole number and its real") << QVariant(qint64(5)) << QVariant(5.0) << "";
    QTest::newRow("number and its text") << QVariant("5") << QVariant(qint64(5)) << "";
    QTest::newRow("real and a longer text") << QVariant("2.50") << QVariant(2.5) << "Val(2.50->2.5)";
    QTest::newRow("equal reals") << QVariant(2.5) << QVariant(2.5) << "";
    QTest::newRow("reals one bit apart")
        << QVariant(0.1 + 0.2) << QVariant(0.3) << "Val(0.30000000000000004->0.3)";
    QTest::newRow("large equal reals") << QVariant(1e300) << QVariant(1e300) << "";
    QTest::newRow("negative real and its text") << QVariant("-2.5") << QVariant(-2.5) << "";
    QTest::newRow("negative real and its number") << QVariant(-2.5) << QVariant(2.5) << "Val(-2.5->2.5)";
    QTest::newRow("null and empty text") << null << QVariant("") << "";
    QTest::newRow("two nulls") << null << null << "";
    QTest::newRow("text and null") << QVariant("x") << null << "Val(x->)";
    QTest::newRow("null and text") << null << QVariant("x") << "Val(->x)";
}

void TestSqliteNaarSqlite::updatedFieldWrittenWhenItsTextDiffers()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, incoming);
    QFETCH(QString, update);
    test::TestEnvironment env;
    const auto make = [&](const QString& name, const QVariant& value) {
        SqliteOpenOptions options;
        options.create = true;
        const auto db = SqliteBackend::open(env.path(name), options);
        db->execute(QStringLiteral("CREATE TABLE Item (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50), "
                                   "Val BLOB)"));
        db->execute(QStringLiteral("INSERT INTO Item (Code, Val) VALUES ('A', ?)"), {value});
        db->close();
        return fixtures::openSqlite(env.path(name));
    };
    const auto srcCn = make(QStringLiteral("bron.db"), incoming);
    const auto dstCn = make(QStringLiteral("doel.db"), stored);
    EventLog log;
    clsImportSQLiteTabelNaarSQLiteT copier;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.strFieldOnderdeelFilter = QStringLiteral("Code");
    copier.colFilter = fixtures::items({"A"});
    copier.WijzigingenDoorvoeren = true;
    copier.UpdateFieldsCollection << QStringLiteral("Val");
    copier.OverzettenRecordSet(srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM Item")),
                               QStringLiteral("SELECT * FROM Item"), QStringLiteral("WHERE Code="), *srcCn,
                               *dstCn);

    QCOMPARE(log.fouten, QList<qint32>());
    QCOMPARE(log.bestaand, QList<qint32>{1});
    const QStringList updates = log.startingWith(QStringLiteral("Update"));
    QCOMPARE(updates, update.isEmpty() ? QStringList() : QStringList{QStringLiteral("Update: ") + update});
    // The value stays, or is the incoming one as it came.
    const QVariant expected = update.isEmpty() ? stored : incoming;
    const auto row = dstCn->Connection()->run(QStringLiteral("SELECT typeof(Val), quote(Val) FROM Item"));
    const auto want =
        dstCn->Connection()->run(QStringLiteral("SELECT typeof(?), quote(?)"), {expected, expected});
    QCOMPARE(row->rows.row(0)[0].toString(), want->rows.row(0)[0].toString());
    QCOMPARE(row->rows.row(0)[1].toString(), want->rows.row(0)[1].toString());
}

void TestSqliteNaarSqlite::keyMatchedAsCodesCompare_data()
{
    QTest::addColumn<QString>("declaration");
    QTest::newRow("column compares exactly") << QString();
    QTest::newRow("column compares ASCII without case") << QStringLiteral(" COLLATE NOCASE");
}

void TestSqliteNaarSqlite::keyMatchedAsCodesCompare()
{
    // A target table written by hand: the key is found whatever the case of its letters (ASCII or not),
    // whatever the column's own collation, and no second row of the same code is added.
    QFETCH(QString, declaration);
    Pair pair(Kind::Options);
    pair.dst->exec(QStringLiteral("DROP TABLE LocksHingesTable"));
    pair.dst->exec(QStringLiteral("CREATE TABLE LocksHingesTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code "
                                  "VARCHAR(50)%1 NOT NULL, Description VARCHAR(50))")
                       .arg(declaration));
    pair.dst->exec(QStringLiteral("CREATE UNIQUE INDEX LocksHingesTable_Code ON LocksHingesTable (Code)"));
    // The third code's first letter lies beyond the 16-bit range (a pair of UTF-16 units).
    for (const char* code : {"AB-1", "ÄÖ-2", "\U00010400X-3"})
        pair.dst->insert(QStringLiteral("LocksHingesTable"),
                         {{QStringLiteral("Code"), QString::fromUtf8(code)},
                          {QStringLiteral("Description"), QStringLiteral("oud")}});
    for (const char* code : {"ab-1", "äö-2", "\U00010428x-3", "Nieuw"})
        pair.src->insert(QStringLiteral("LocksHingesTable"),
                         {{QStringLiteral("Code"), QString::fromUtf8(code)},
                          {QStringLiteral("Description"), QStringLiteral("nieuw")}});
    // The selection names the codes in yet other letters.
    pair.copier.colFilter = fixtures::items({QStringLiteral("AB-1"), QStringLiteral("Äö-2"),
                                             QString::fromUtf8("\U00010428X-3"), QStringLiteral("NIEUW")});
    pair.copier.WijzigingenDoorvoeren = true;
    pair.copier.UpdateFieldsCollection << QStringLiteral("Description");
    pair.run(QStringLiteral("LocksHingesTable"));

    QVERIFY2(pair.log.fouten.isEmpty(), qPrintable(pair.log.lines.join(QLatin1Char('\n'))));
    QCOMPARE(pair.log.bestaand, (QList<qint32>{1, 2, 3}));
    QCOMPARE(pair.log.nieuw, QList<qint32>{1});
    QCOMPARE(pair.dst->count(QStringLiteral("LocksHingesTable")), 4);
    QCOMPARE(pair.value(QStringLiteral("SELECT count(*) FROM LocksHingesTable WHERE Description = 'nieuw'"))
                 .toInt(),
             4);
    // The target's codes keep their own letters.
    QCOMPARE(
        pair.value(QStringLiteral("SELECT count(*) FROM LocksHingesTable WHERE Code IN ('AB-1', 'ÄÖ-2')"))
            .toInt(),
        2);
    for (const auto& item : *pair.copier.colFilter)
        QVERIFY(item->RunActie_Aangepast || item->RunActie_Toegevoegd);
}

void TestSqliteNaarSqlite::syncLinkedTable()
{
    Names names;
    names.sourceShape(QStringLiteral("pv12"), {QStringLiteral("a"), QStringLiteral("b")});
    names.sourceShape(QStringLiteral("O'Neil"), {QStringLiteral("q")});
    names.sourceShape(QStringLiteral("HAS"), {QStringLiteral("new")});
    names.sourceShape(QStringLiteral("NOTSEL"), {QStringLiteral("x")});
    names.sourceShape(QStringLiteral("MISSING"), {QStringLiteral("m")});
    names.sourceShape(QStringLiteral("Caps"), {QStringLiteral("c")});
    names.sourceShape(QStringLiteral("äö"), {QStringLiteral("u")});
    const qint64 pv12 = names.targetShape(QStringLiteral("PV12"));
    const qint64 oneil = names.targetShape(QStringLiteral("o'neil"));
    const qint64 has = names.targetShape(QStringLiteral("HAS"), {QStringLiteral("old")});
    const qint64 notsel = names.targetShape(QStringLiteral("NOTSEL"));
    const qint64 caps = names.targetShape(QStringLiteral("CAPS"));
    const qint64 umlaut = names.targetShape(QStringLiteral("ÄÖ"));

    names.sync(fixtures::items({"pv12", "O'Neil", "HAS", "MISSING", "CAPS", "ÄÖ"}));

    QCOMPARE(names.targetNames(pv12), (QStringList{QStringLiteral("a@10"), QStringLiteral("b@11")}));
    QCOMPARE(names.targetNames(oneil), QStringList{QStringLiteral("q@10")});
    QCOMPARE(names.targetNames(has), QStringList{QStringLiteral("old@")});
    QVERIFY(names.targetNames(notsel).isEmpty());
    // The selection compares as codes compare: "Caps" is "CAPS", "äö" is "ÄÖ".
    QCOMPARE(names.targetNames(caps), QStringList{QStringLiteral("c@10")});
    QCOMPARE(names.targetNames(umlaut), QStringList{QStringLiteral("u@10")});
    QCOMPARE(names.dst->count(QStringLiteral("GrooveShapeNames")), 6);
    QVERIFY(names.log.lines.isEmpty());
    QVERIFY(names.log.fouten.isEmpty());
}

void TestSqliteNaarSqlite::syncLinkedTableWithoutSelectionAddsNothing()
{
    Names names;
    names.sourceShape(QStringLiteral("PV12"), {QStringLiteral("a")});
    names.targetShape(QStringLiteral("PV12"));
    names.sync({});
    QCOMPARE(names.dst->count(QStringLiteral("GrooveShapeNames")), 0);
}

void TestSqliteNaarSqlite::syncLinkedTableErrorIsShownAndCounted()
{
    test::RecordingUiServices ui;
    Names names;
    names.sourceShape(QStringLiteral("PV12"), {QStringLiteral("a")});
    names.targetShape(QStringLiteral("PV12"));
    names.sync(fixtures::items({"PV12"}), QStringLiteral("SELECT Code AS Naam FROM GrooveShape"));
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.first().details.contains(QStringLiteral("Procedure = SQLITE:SyncLinkedTable")));
    QCOMPARE(names.log.fouten, QList<qint32>{1});
    QCOMPARE(names.dst->count(QStringLiteral("GrooveShapeNames")), 0);
}

void TestSqliteNaarSqlite::writtenRowsStayWhenTheCallEnds_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("on an error") << false;
    QTest::newRow("on a cancel") << true;
}

void TestSqliteNaarSqlite::writtenRowsStayWhenTheCallEnds()
{
    QFETCH(bool, cancel);
    Names names;
    for (const char* code : {"A", "B", "C"})
        names.sourceShape(QString::fromLatin1(code), {});
    // The target refuses shape B; on a cancel the copy stops after A.
    names.dst->exec(QStringLiteral("CREATE TRIGGER weiger BEFORE INSERT ON GrooveShape WHEN NEW.Code = 'B' "
                                   "BEGIN SELECT RAISE(ABORT, 'geweigerd'); END"));
    if (cancel)
        names.log.onPlus1 = [&names](int) { names.copier.Cancel(); };
    names.copier.colFilter = fixtures::items({"A", "B", "C"});
    names.run(QStringLiteral("GrooveShape"));

    // Read through another connection: A was committed with the call.
    QCOMPARE(names.dst->count(QStringLiteral("GrooveShape")), 1);
    QCOMPARE(names.value(QStringLiteral("SELECT Code FROM GrooveShape")).toString(), QStringLiteral("A"));
    QCOMPARE(names.log.fouten.size(), cancel ? 0 : 1);
    QCOMPARE(names.log.startingWith(QStringLiteral("End = ")).size(), cancel ? 1 : 0);
    QVERIFY(names.dstCn->Connection()->transactionDepth() == 0);
}

void TestSqliteNaarSqlite::refusedTransactionBeginIsAnError_data()
{
    QTest::addColumn<bool>("linked");
    QTest::newRow("row copy") << false;
    QTest::newRow("linked child rows") << true;
}

void TestSqliteNaarSqlite::refusedTransactionBeginIsAnError()
{
    QFETCH(bool, linked);
    test::RecordingUiServices ui;
    Names names;
    names.sourceShape(QStringLiteral("PV12"), {QStringLiteral("a")});
    if (linked)
        names.targetShape(QStringLiteral("PV12"));
    // A transaction opened outside the connection's own bookkeeping: SQLite refuses to begin another.
    const DbConnection target = names.dstCn->Connection();
    target->execute(QStringLiteral("BEGIN"));
    names.copier.colFilter = fixtures::items({"PV12"});
    if (linked)
        names.sync(fixtures::items({"PV12"}));
    else
        names.run(QStringLiteral("GrooveShape"));

    QCOMPARE(names.log.fouten, QList<qint32>{1});
    if (linked) {
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(names.log.startingWith(QStringLiteral("Error (SQLITE:SyncLinkedTable): ")).size(), 1);
        QCOMPARE(target->run(QStringLiteral("SELECT count(*) FROM GrooveShapeNames"))->firstValue().toInt(),
                 0);
    } else {
        QCOMPARE(
            names.log
                .startingWith(QStringLiteral("Error (clsImportTabelNaarSQLiteTabel.OverzettenRecordSet): "))
                .size(),
            1);
        QCOMPARE(names.log.plus1, 0);
        QVERIFY(names.log.startingWith(QStringLiteral("End = ")).isEmpty());
        QCOMPARE(target->run(QStringLiteral("SELECT count(*) FROM GrooveShape"))->firstValue().toInt(), 0);
    }
    target->execute(QStringLiteral("ROLLBACK"));
}

QTEST_GUILESS_MAIN(TestSqliteNaarSqlite)
#include "test_sqlitenaarsqlite.moc"
