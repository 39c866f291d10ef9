// The table copier between two recordsets: new and existing rows, skip and
// update lists, numbered fields, foreign keys translated through codes, child
// rows replaced, the selection, cancelling, the error lines and their count,
// the SQL Server type rule and the SQL Server supplier form.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "support/testenvironment.h"
#include "transfer/clsimporttabelnaartabel.h"

#include <QtTest>

using namespace supplink;
using fixtures::EventLog;
using fixtures::FixtureDb;
using fixtures::Kind;

namespace {

// A source and a target database of one kind, each with a connection object.
struct Pair
{
    test::TestEnvironment env;
    std::unique_ptr<FixtureDb> src, dst;
    std::unique_ptr<clsConnectie> srcCn, dstCn;

    explicit Pair(Kind kind, fixtures::Version srcVersion = {3, 20}, fixtures::Version dstVersion = {3, 20})
    {
        const QString srcPath = env.path(QStringLiteral("bron.db"));
        const QString dstPath = env.path(QStringLiteral("doel.db"));
        fixtures::makeDatabase(srcPath, kind, srcVersion);
        fixtures::makeDatabase(dstPath, kind, dstVersion);
        src = std::make_unique<FixtureDb>(srcPath);
        dst = std::make_unique<FixtureDb>(dstPath);
        srcCn = fixtures::openSqlite(srcPath);
        dstCn = fixtures::openSqlite(dstPath);
    }

    RecordsetPtr source(const QString& table) const
    {
        return srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM ") + table);
    }
    RecordsetPtr target(const QString& table) const
    {
        return dstCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM ") + table);
    }
    void copy(clsImportTabelNaarTabel& copier, const QString& table) const
    {
        copier.OverzettenRecordSet(source(table), target(table), *srcCn, *dstCn);
    }
    QVariant targetValue(const QString& sql, const QVariantList& params = {}) const
    {
        return dst->scalar(sql, params);
    }
};

// An article copier as the product-table engine sets it up, with fkGroup translated through ArtGroup.Code.
void configureArticles(clsImportTabelNaarTabel& copier, const Pair& pair)
{
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.UpdateFieldsCollection << QStringLiteral("OrderCode") << QStringLiteral("PriceOrder")
                                  << QStringLiteral("PriceUnit");
    copier.VoegOpzoekingToe(QStringLiteral("fkGroup"), pair.source(QStringLiteral("ArtGroup")),
                            pair.target(QStringLiteral("ArtGroup")), QStringLiteral("Code"),
                            QStringLiteral("ID"));
    copier.strKeyField = QStringLiteral("Code");
    copier.strIDField = QStringLiteral("ID");
    copier.strFieldOnderdeelFilter = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    copier.WijzigingenDoorvoeren = true;
}

QVariantMap article(const QString& code, const QVariant& group, const QString& orderCode = QString())
{
    return {{QStringLiteral("Code"), code},
            {QStringLiteral("Description"), QStringLiteral("Artikel ") + code},
            {QStringLiteral("fkGroup"), group},
            {QStringLiteral("OrderCode"), orderCode.isNull() ? QVariant() : QVariant(orderCode)},
            {QStringLiteral("PriceOrder"), 2.5}};
}

// An options pair with combination C1 in both (with different IDs) and hardware articles under it.
struct CombiPair : Pair
{
    qint64 srcC1 = 0, dstC1 = 0;
    CombiPair() : Pair(Kind::Options)
    {
        dst->insert(QStringLiteral("LocksHingesCombi"), {{QStringLiteral("Code"), QStringLiteral("X0")}});
        srcC1 = src->insert(QStringLiteral("LocksHingesCombi"),
                            {{QStringLiteral("Code"), QStringLiteral("C1")},
                             {QStringLiteral("Description"), QStringLiteral("Nieuw")},
                             {QStringLiteral("Lim_min_W"), 300}});
        dstC1 = dst->insert(QStringLiteral("LocksHingesCombi"),
                            {{QStringLiteral("Code"), QStringLiteral("C1")},
                             {QStringLiteral("Description"), QStringLiteral("Oud")},
                             {QStringLiteral("Lim_min_W"), 200}});
        for (const char* article : {"S1", "S2"})
            src->insert(QStringLiteral("LocksHingesArticle"),
                        {{QStringLiteral("fkCombi"), srcC1},
                         {QStringLiteral("fkArticle"), QString::fromLatin1(article)}});
        for (const char* article : {"T1", "T2", "T3"})
            dst->insert(QStringLiteral("LocksHingesArticle"),
                        {{QStringLiteral("fkCombi"), dstC1},
                         {QStringLiteral("fkArticle"), QString::fromLatin1(article)}});
    }

    void configureParent(clsImportTabelNaarTabel& copier) const
    {
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.UpdateFieldsCollection << QStringLiteral("Description") << QStringLiteral("Lim_min_W");
        copier.DeleteLinkedTablesSQL << QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkCombi=");
        copier.strKeyField = QStringLiteral("Code");
        copier.strIDField = QStringLiteral("ID");
        copier.strFieldOnderdeelFilter = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
        copier.WijzigingenDoorvoeren = true;
    }

    QStringList targetChildren() const
    {
        const auto rs = dstCn->Connection()->openRecordset(
            QStringLiteral("SELECT fkArticle FROM LocksHingesArticle WHERE fkCombi = ? ORDER BY fkArticle"),
            {dstC1});
        QStringList codes;
        for (; !rs->eof(); rs->moveNext())
            codes.append(rs->value(0).toString());
        return codes;
    }
};

} // namespace

class TestTabelNaarTabel : public QObject
{
    Q_OBJECT

private slots:
    void emptySourceLogsAndCountsNothing();
    void newAndExistingRows();
    void flagsPassRowsOverButCountThem();
    void numberedFieldsContinueOverCalls();
    void foreignKeyToItsOwnRowAndToACode();
    void childRowsAreReplaced();
    void childRowsStayWhenAFieldFails();
    void selection_data();
    void selection();
    void emptyKeyAppendsEveryRow();
    void keyWithQuoteMatches();
    void cancelStopsAfterTheRowInHand_data();
    void cancelStopsAfterTheRowInHand();
    void yieldsThroughTheRunContext_data();
    void yieldsThroughTheRunContext();
    void lookupsAndNumberedFieldsAreAddedWhole();
    void errorsAreCountedAndLogged();
    void deleteStatementFailureIsCountedAndRowStored();
    void errorEndsTheCallWithFieldLists();
    void sqlServerTypeRule_data();
    void sqlServerTypeRule();
    void sqlServerSuppliers();
    void sqlServerSupplierFailureLeavesNoHalfSupplier();
};

void TestTabelNaarTabel::emptySourceLogsAndCountsNothing()
{
    Pair pair(Kind::ProductTable);
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.strKeyField = QStringLiteral("Code");
    pair.copy(copier, QStringLiteral("Article"));

    QCOMPARE(log.lines.size(), 6);
    QCOMPARE(log.lines.at(0), QStringLiteral("Source = SELECT * FROM Article"));
    QCOMPARE(log.lines.at(1), QStringLiteral("Target = SELECT * FROM Article"));
    QCOMPARE(log.lines.at(2), QStringLiteral("Key = Code"));
    QVERIFY(log.lines.at(3).startsWith(QStringLiteral("Start = ")));
    QCOMPARE(log.lines.at(4), QStringLiteral("Geen records in source!"));
    QVERIFY(log.lines.at(5).startsWith(QStringLiteral("End = ")));
    QVERIFY(log.nieuw.isEmpty() && log.bestaand.isEmpty() && log.fouten.isEmpty());
    QCOMPARE(log.plus1, 0);
}

void TestTabelNaarTabel::newAndExistingRows()
{
    Pair pair(Kind::ProductTable);
    // The groups have other IDs in the target; G3 is missing there.
    pair.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G1")}});
    pair.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G2")}});
    pair.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G3")}});
    pair.dst->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G2")}});
    pair.dst->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G1")}});

    pair.src->insert(QStringLiteral("Article"), article(QStringLiteral("A1"), 1, QStringLiteral("B1")));
    pair.src->insert(QStringLiteral("Article"), article(QStringLiteral("A2"), 2, QStringLiteral("X")));
    pair.src->insert(QStringLiteral("Article"), article(QStringLiteral("A3"), 3));
    pair.src->insert(QStringLiteral("Article"), article(QStringLiteral("A4"), 99));
    QVariantMap existing = article(QStringLiteral("A2"), 2, QStringLiteral("Y"));
    existing.insert(QStringLiteral("Description"), QStringLiteral("Blijft"));
    existing.insert(QStringLiteral("PriceUnit"), QString()); // "" and null are equal as text
    pair.dst->insert(QStringLiteral("Article"), existing);

    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    configureArticles(copier, pair);
    const ItemCollection selected = fixtures::items({"A1", "A2", "A3", "A4"});
    copier.colFilter = selected;
    pair.copy(copier, QStringLiteral("Article"));

    // A1: added with every field but the ID, its group translated through the code.
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'A1'")).toInt(), 2);
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM Article WHERE Code = 'A1'")).toString(),
             QStringLiteral("Artikel A1"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT OrderCode FROM Article WHERE Code = 'A1'")).toString(),
             QStringLiteral("B1"));
    QVERIFY(log.indexOf(QStringLiteral("Nieuw onderdeel : A1")) >= 0);
    QVERIFY(selected.at(0)->RunActie_Toegevoegd);

    // A2: only the update fields that differ, and the foreign key.
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT OrderCode FROM Article WHERE Code = 'A2'")).toString(),
             QStringLiteral("X"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM Article WHERE Code = 'A2'")).toString(),
             QStringLiteral("Blijft"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'A2'")).toInt(), 1);
    const int bestaand = log.indexOf(QStringLiteral("Bestaand onderdeel : A2"));
    QVERIFY(bestaand >= 0);
    QCOMPARE(log.lines.at(bestaand + 1), QStringLiteral("Update: OrderCode(Y->X)"));
    QCOMPARE(log.startingWith(QStringLiteral("Update")).size(), 1); // PriceOrder and PriceUnit are equal
    QVERIFY(selected.at(1)->RunActie_Aangepast);
    QVERIFY(!selected.at(1)->RunActie_Toegevoegd);

    // A3: its group is not in the target, the row is abandoned.
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT count(*) FROM Article WHERE Code = 'A3'")).toInt(), 0);
    const int mislukt =
        log.indexOf(QStringLiteral("Veld overgeslagen, waarde niet aanwezig in doel: ID=fkGroup->Code=G3"));
    QVERIFY(mislukt >= 0);
    QCOMPARE(log.lines.at(mislukt + 1), QStringLiteral("Overgeslagen sub onderdeel: fkGroup"));
    QVERIFY(!selected.at(2)->RunActie_Toegevoegd);

    // A4: its group is not even in the source: the field stays empty and the row is stored.
    QVERIFY(log.indexOf(QStringLiteral("ID opzoeken mislukt in bronbestand voor fkGroup='99'")) >= 0);
    QVERIFY(pair.targetValue(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'A4'")).isNull());
    QVERIFY(selected.at(3)->RunActie_Toegevoegd);

    QCOMPARE(log.nieuw, (QList<qint32>{1, 2, 3}));
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QVERIFY(log.fouten.isEmpty());
    QCOMPARE(log.plus1, 4);
    QVERIFY(log.lines.last().startsWith(QStringLiteral("End = ")));
}

void TestTabelNaarTabel::flagsPassRowsOverButCountThem()
{
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("NEW")}});
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("OLD")},
                                                  {QStringLiteral("Description"), QStringLiteral("b")}});
    pair.dst->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("OLD")},
                                                  {QStringLiteral("Description"), QStringLiteral("a")}});

    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.UpdateFieldsCollection << QStringLiteral("Description");
    copier.strKeyField = QStringLiteral("Code");
    pair.copy(copier, QStringLiteral("Supplier"));

    QVERIFY(log.indexOf(QStringLiteral("Overgeslagen nieuw onderdeel : NEW")) >= 0);
    QVERIFY(log.indexOf(QStringLiteral("Overgeslagen bestaand onderdeel : OLD")) >= 0);
    QCOMPARE(log.nieuw, QList<qint32>{1});
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 1);
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM Supplier")).toString(),
             QStringLiteral("a"));
}

void TestTabelNaarTabel::numberedFieldsContinueOverCalls()
{
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("ArtGroup"),
                     {{QStringLiteral("Code"), QStringLiteral("G1")}, {QStringLiteral("OrderNr"), 1}});
    pair.src->insert(QStringLiteral("ArtGroup"),
                     {{QStringLiteral("Code"), QStringLiteral("G2")}, {QStringLiteral("OrderNr"), 2}});
    pair.dst->insert(QStringLiteral("ArtGroup"),
                     {{QStringLiteral("Code"), QStringLiteral("G0")}, {QStringLiteral("OrderNr"), 40}});

    clsImportTabelNaarTabel copier;
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.VoegOphogingToe(QStringLiteral("ordernr"), 40);
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    pair.copy(copier, QStringLiteral("ArtGroup"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT OrderNr FROM ArtGroup WHERE Code = 'G1'")).toInt(), 41);
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT OrderNr FROM ArtGroup WHERE Code = 'G2'")).toInt(), 42);

    pair.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G3")}});
    pair.copy(copier, QStringLiteral("ArtGroup"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT OrderNr FROM ArtGroup WHERE Code = 'G3'")).toInt(), 43);
    QCOMPARE(pair.dst->count(QStringLiteral("ArtGroup")), 4);
}

void TestTabelNaarTabel::foreignKeyToItsOwnRowAndToACode()
{
    // Up to 3.10 fkMirroredArticle is an integer: an article that mirrors itself keeps the field empty.
    {
        Pair pair(Kind::ProductTable, {3, 10}, {3, 10});
        pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("M1")},
                                                     {QStringLiteral("fkMirroredArticle"), 1}});
        pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("M2")},
                                                     {QStringLiteral("fkMirroredArticle"), 3}});
        pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("M0")}});
        pair.dst->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("X")}});
        pair.dst->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("M0")}});
        clsImportTabelNaarTabel copier;
        EventLog log;
        copier.SetOntvanger(&log);
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.VoegOpzoekingToe(QStringLiteral("fkMirroredArticle"), pair.source(QStringLiteral("Article")),
                                pair.target(QStringLiteral("Article")), QStringLiteral("Code"),
                                QStringLiteral("ID"));
        copier.strKeyField = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
        pair.copy(copier, QStringLiteral("Article"));
        QVERIFY(log.indexOf(QStringLiteral("M1 verwijst naar zichzelf.")) >= 0);
        QVERIFY(pair.targetValue(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'M1'"))
                    .isNull());
        QCOMPARE(pair.targetValue(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'M2'"))
                     .toInt(),
                 2);
    }
    // A text foreign key receives the code itself.
    {
        Pair pair(Kind::ProductTable);
        pair.src->exec(
            QStringLiteral("CREATE TABLE Link (ID INTEGER PRIMARY KEY, Code TEXT(50), fkGroup INTEGER)"));
        pair.dst->exec(
            QStringLiteral("CREATE TABLE Link (ID INTEGER PRIMARY KEY, Code TEXT(50), fkGroup TEXT(50))"));
        pair.src->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("G'1")}});
        pair.dst->insert(QStringLiteral("ArtGroup"), {{QStringLiteral("Code"), QStringLiteral("g'1")}});
        pair.src->insert(QStringLiteral("Link"),
                         {{QStringLiteral("Code"), QStringLiteral("L1")}, {QStringLiteral("fkGroup"), 1}});
        clsImportTabelNaarTabel copier;
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.VoegOpzoekingToe(QStringLiteral("fkGroup"), pair.source(QStringLiteral("ArtGroup")),
                                pair.target(QStringLiteral("ArtGroup")), QStringLiteral("Code"),
                                QStringLiteral("ID"));
        copier.strKeyField = QStringLiteral("Code");
        copier.NieuweOnderdelenToevoegen = true;
        pair.copy(copier, QStringLiteral("Link"));
        // The target's code, found without regard to case as the recordset search does.
        QCOMPARE(pair.targetValue(QStringLiteral("SELECT fkGroup FROM Link")).toString(),
                 QStringLiteral("g'1"));
    }
}

void TestTabelNaarTabel::childRowsAreReplaced()
{
    CombiPair pair;
    const qint64 srcC2 = pair.src->insert(QStringLiteral("LocksHingesCombi"),
                                          {{QStringLiteral("Code"), QStringLiteral("C2")}});
    pair.src->insert(
        QStringLiteral("LocksHingesArticle"),
        {{QStringLiteral("fkCombi"), srcC2}, {QStringLiteral("fkArticle"), QStringLiteral("N1")}});
    const ItemCollection selected = fixtures::items({"C1", "C2"});

    EventLog log;
    clsImportTabelNaarTabel parent;
    parent.SetOntvanger(&log);
    pair.configureParent(parent);
    parent.colFilter = selected;
    pair.copy(parent, QStringLiteral("LocksHingesCombi"));

    QVERIFY(pair.targetChildren().isEmpty());
    QVERIFY(log.indexOf(QStringLiteral("Verwijderen: DELETE * FROM LocksHingesArticle WHERE fkCombi=") +
                        QString::number(pair.dstC1)) >= 0);
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM LocksHingesCombi WHERE Code = 'C1'"))
                 .toString(),
             QStringLiteral("Nieuw"));
    QVERIFY(log.indexOf(QStringLiteral("Update: Lim_min_W(200->300)")) >= 0);

    // The children follow with an empty key: every wanted child row is appended, its parent translated.
    clsImportTabelNaarTabel children;
    children.SetOntvanger(&log);
    children.SkipFieldsCollection << QStringLiteral("ID");
    children.VoegOpzoekingToe(QStringLiteral("fkCombi"), pair.source(QStringLiteral("LocksHingesCombi")),
                              pair.target(QStringLiteral("LocksHingesCombi")), QStringLiteral("Code"),
                              QStringLiteral("ID"));
    children.NieuweOnderdelenToevoegen = true;
    children.WijzigingenDoorvoeren = true;
    pair.copy(children, QStringLiteral("LocksHingesArticle"));

    QCOMPARE(pair.targetChildren(), (QStringList{QStringLiteral("S1"), QStringLiteral("S2")}));
    QCOMPARE(
        pair.targetValue(QStringLiteral("SELECT count(*) FROM LocksHingesArticle a JOIN LocksHingesCombi c "
                                        "ON c.ID = a.fkCombi WHERE c.Code = 'C2' AND a.fkArticle = 'N1'"))
            .toInt(),
        1);
    QVERIFY(
        !log.startingWith(QStringLiteral("Nieuw onderdeel : ;")).isEmpty()); // the row text starts with ";"
}

void TestTabelNaarTabel::childRowsStayWhenAFieldFails()
{
    CombiPair pair;
    pair.src->exec(QStringLiteral("UPDATE LocksHingesCombi SET Lim_min_W = 'breed' WHERE Code = 'C1'"));
    EventLog log;
    clsImportTabelNaarTabel copier;
    copier.SetOntvanger(&log);
    pair.configureParent(copier);
    pair.copy(copier, QStringLiteral("LocksHingesCombi"));

    QVERIFY(log.indexOf(QStringLiteral("Overgeslagen sub onderdeel: Lim_min_W")) >= 0);
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(pair.targetChildren(),
             (QStringList{QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3")}));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM LocksHingesCombi WHERE Code = 'C1'"))
                 .toString(),
             QStringLiteral("Oud"));
}

void TestTabelNaarTabel::selection_data()
{
    QTest::addColumn<bool>("none");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("filterField");
    QTest::addColumn<QStringList>("copied");
    QTest::addColumn<int>("skipped");
    QTest::newRow("no collection") << true << QStringList() << "Code" << QStringList() << 3;
    QTest::newRow("empty collection") << false << QStringList() << "Code" << QStringList{"A", "B", "C"} << 0;
    QTest::newRow("two items") << false << QStringList{"C", "A", "Z"} << "Code" << QStringList{"A", "C"} << 1;
    QTest::newRow("case does not count") << false << QStringList{"b"} << "Code" << QStringList{"B"} << 2;
    QTest::newRow("no filter field") << false << QStringList{"Z"} << "" << QStringList{"A", "B", "C"} << 0;
}

void TestTabelNaarTabel::selection()
{
    QFETCH(bool, none);
    QFETCH(QStringList, codes);
    QFETCH(QString, filterField);
    QFETCH(QStringList, copied);
    QFETCH(int, skipped);
    Pair pair(Kind::ProductTable);
    for (const char* code : {"A", "B", "C"})
        pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.strFieldOnderdeelFilter = filterField;
    copier.NieuweOnderdelenToevoegen = true;
    if (none)
        copier.colFilter = std::nullopt;
    else
        copier.colFilter = fixtures::items(codes);
    pair.copy(copier, QStringLiteral("Supplier"));

    const auto rs = pair.target(QStringLiteral("Supplier ORDER BY Code"));
    QStringList inTarget;
    for (; !rs->eof(); rs->moveNext())
        inTarget.append(rs->value(QStringLiteral("Code")).toString());
    QCOMPARE(inTarget, copied);
    QCOMPARE(log.startingWith(QStringLiteral("Overgeslagen : ")).size(), skipped);
    QCOMPARE(log.plus1, 3);
}

void TestTabelNaarTabel::emptyKeyAppendsEveryRow()
{
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("A")},
                                                  {QStringLiteral("Description"), QStringLiteral(" Alfa ")}});
    pair.dst->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("A")}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.NieuweOnderdelenToevoegen = true;
    pair.copy(copier, QStringLiteral("Supplier"));
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 2);
    QCOMPARE(log.startingWith(QStringLiteral("Nieuw onderdeel : ")),
             QStringList{QStringLiteral("Nieuw onderdeel : ;1;A;Alfa")});
}

void TestTabelNaarTabel::keyWithQuoteMatches()
{
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("O'Neil")},
                                                  {QStringLiteral("Description"), QStringLiteral("nieuw")}});
    pair.dst->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("O'Neil")},
                                                  {QStringLiteral("Description"), QStringLiteral("oud")}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.UpdateFieldsCollection << QStringLiteral("Description");
    copier.strKeyField = QStringLiteral("Code");
    copier.colFilter = fixtures::items({"O'Neil"});
    copier.strFieldOnderdeelFilter = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    copier.WijzigingenDoorvoeren = true;
    pair.copy(copier, QStringLiteral("Supplier"));
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QVERIFY(log.indexOf(QStringLiteral("Update: Description(oud->nieuw)")) >= 0);
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 1);
}

void TestTabelNaarTabel::cancelStopsAfterTheRowInHand_data()
{
    QTest::addColumn<bool>("fromYield");
    QTest::newRow("from an event") << false;
    QTest::newRow("from the yield") << true;
}

void TestTabelNaarTabel::cancelStopsAfterTheRowInHand()
{
    QFETCH(bool, fromYield);
    Pair pair(Kind::ProductTable);
    for (const char* code : {"A", "B", "C"})
        pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    if (fromYield)
        copier.runContext()->setYieldFunction([&copier] { copier.Cancel(); });
    else
        log.onPlus1 = [&copier](int) { copier.Cancel(); };
    pair.copy(copier, QStringLiteral("Supplier"));
    copier.runContext()->setYieldFunction({});

    QCOMPARE(log.plus1, 1);
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 1);
    QVERIFY(log.lines.last().startsWith(QStringLiteral("End = ")));

    // A cancelled copier still handles the first row of a next call.
    log.onPlus1 = {};
    pair.copy(copier, QStringLiteral("Supplier"));
    QCOMPARE(log.plus1, 2);
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 1); // A exists now
    QCOMPARE(log.bestaand, QList<qint32>{1});
}

void TestTabelNaarTabel::yieldsThroughTheRunContext_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("turns");
    QTest::newRow("every row") << 0 << 3;
    QTest::newRow("throttled: the first row only") << 3600000 << 1;
}

void TestTabelNaarTabel::yieldsThroughTheRunContext()
{
    QFETCH(int, intervalMs);
    QFETCH(int, turns);
    Pair pair(Kind::ProductTable);
    for (const char* code : {"A", "B", "C"})
        pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QString::fromLatin1(code)}});
    clsImportTabelNaarTabel copier;
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    const RunContextPtr run = std::make_shared<RunContext>();
    run->setYieldInterval(std::chrono::milliseconds(intervalMs));
    int given = 0;
    bool live = true;
    run->setYieldFunction([&] {
        ++given;
        live = live && run->live() && RunContext::anyLive();
    });
    copier.SetRunContext(run);
    pair.copy(copier, QStringLiteral("Supplier"));

    QCOMPARE(given, turns);
    QVERIFY(live);
    QVERIFY(!run->live());
    QCOMPARE(pair.dst->count(QStringLiteral("Supplier")), 3);
}

void TestTabelNaarTabel::lookupsAndNumberedFieldsAreAddedWhole()
{
    Pair pair(Kind::ProductTable);
    clsImportTabelNaarTabel copier;
    const auto refused = [](const std::function<void()>& add) {
        try {
            add();
        } catch (const AppError&) {
            return true;
        }
        return false;
    };
    QVERIFY(refused([&] {
        copier.VoegOpzoekingToe(QString(), pair.source(QStringLiteral("ArtGroup")),
                                pair.target(QStringLiteral("ArtGroup")));
    }));
    QVERIFY(refused([&] {
        copier.VoegOpzoekingToe(QStringLiteral("fkGroup"), pair.source(QStringLiteral("ArtGroup")), nullptr);
    }));
    QVERIFY(refused([&] {
        copier.VoegOpzoekingToe(QStringLiteral("fkGroup"), pair.source(QStringLiteral("ArtGroup")),
                                pair.target(QStringLiteral("ArtGroup")), QString());
    }));
    QVERIFY(copier.Opzoekingen().empty());
    copier.VoegOpzoekingToe(QStringLiteral("fkGroup"), pair.source(QStringLiteral("ArtGroup")),
                            pair.target(QStringLiteral("ArtGroup")));
    // A second lookup for the same field (names compare without regard to case) would never be used.
    QVERIFY(refused([&] {
        copier.VoegOpzoekingToe(QStringLiteral("FKGROUP"), pair.source(QStringLiteral("Article")),
                                pair.target(QStringLiteral("Article")));
    }));
    QCOMPARE(copier.Opzoekingen().size(), size_t(1));
    QCOMPARE(copier.Opzoekingen().front().matchVeld, QStringLiteral("Code"));
    QCOMPARE(copier.Opzoekingen().front().idVeld, QStringLiteral("ID"));

    QVERIFY(refused([&] { copier.VoegOphogingToe(QString(), 4); }));
    copier.VoegOphogingToe(QStringLiteral("OrderNr"), 40);
    QVERIFY(refused([&] { copier.VoegOphogingToe(QStringLiteral("ordernr"), 50); }));
    QCOMPARE(copier.Ophogingen().size(), size_t(1));
    QCOMPARE(copier.Ophogingen().front().basis, 40);
}

void TestTabelNaarTabel::errorsAreCountedAndLogged()
{
    // The target (2.40) lacks article columns the source (3.20) has.
    Pair pair(Kind::ProductTable, {3, 20}, {2, 40});
    pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("A1")},
                                                 {QStringLiteral("TradeLengthCalc"), 6.5}});
    pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("A2")}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    pair.copy(copier, QStringLiteral("Article"));

    QCOMPARE(pair.dst->count(QStringLiteral("Article")), 0);
    QCOMPARE(log.fouten, (QList<qint32>{1, 2}));
    const int at = log.indexOf(QStringLiteral("Field=TradeLengthCalc"));
    QVERIFY(at > 0);
    QVERIFY(log.lines.at(at - 1).startsWith(
        QStringLiteral("Error (clsImportTabelNaarTabel.TransferField): 3265-")));
    QCOMPARE(log.lines.at(at + 1), QStringLiteral("New= True"));
    QCOMPARE(log.lines.at(at + 2), QStringLiteral("RecSetTarget.Fields(strName).Value = 6.5"));
    QCOMPARE(log.lines.at(at + 3), QStringLiteral("Overgeslagen sub onderdeel: TradeLengthCalc"));
    QVERIFY(log.lines.last().startsWith(QStringLiteral("End = ")));

    // A selection field the source lacks: an error per row, and no row is wanted.
    clsImportTabelNaarTabel other;
    EventLog otherLog;
    other.SetOntvanger(&otherLog);
    other.strKeyField = QStringLiteral("Code");
    other.strFieldOnderdeelFilter = QStringLiteral("Nope");
    other.colFilter = fixtures::items({"A1"});
    pair.copy(other, QStringLiteral("Article"));
    QCOMPARE(otherLog.fouten, (QList<qint32>{1, 2}));
    QCOMPARE(otherLog.startingWith(QStringLiteral("FieldOnderdeelFilter=Nope")).size(), 2);
    QCOMPARE(otherLog.startingWith(QStringLiteral("Overgeslagen : ")).size(), 2);
    QVERIFY(otherLog.startingWith(QStringLiteral("Error (clsImportTabelNaarTabel.OnderdeelGeselecteerd): "))
                .size() == 2);
}

void TestTabelNaarTabel::deleteStatementFailureIsCountedAndRowStored()
{
    CombiPair pair;
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    pair.configureParent(copier);
    copier.DeleteLinkedTablesSQL.prepend(QStringLiteral("DELETE FROM GeenTabel WHERE fk="));
    pair.copy(copier, QStringLiteral("LocksHingesCombi"));

    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(!log.startingWith(QStringLiteral("Error (DeleteLinkedTables): ")).isEmpty());
    QVERIFY(log.indexOf(QStringLiteral("DELETE FROM GeenTabel WHERE fk=") + QString::number(pair.dstC1)) >=
            0);
    // The statements after the failing one are not run; the row itself is still brought up to date.
    QCOMPARE(pair.targetChildren().size(), 3);
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT Description FROM LocksHingesCombi WHERE Code = 'C1'"))
                 .toString(),
             QStringLiteral("Nieuw"));
}

void TestTabelNaarTabel::errorEndsTheCallWithFieldLists()
{
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("A")}});
    pair.src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("B")}});
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    // A computed target cannot take new rows.
    const RecordsetPtr readOnly = pair.dstCn->Connection()->openRecordset(
        QStringLiteral("SELECT s.ID, s.Code, s.Description, g.Code AS Extra FROM Supplier s "
                       "LEFT JOIN ArtGroup g ON g.ID = s.ID"));
    copier.OverzettenRecordSet(pair.source(QStringLiteral("Supplier")), readOnly, *pair.srcCn, *pair.dstCn);

    QCOMPARE(log.plus1, 1);
    QCOMPARE(log.fouten, QList<qint32>{1});
    const int at = int(log.lines.indexOf(QStringLiteral("Key = Code"), 3));
    QVERIFY(log.lines.at(at - 1).startsWith(
        QStringLiteral("Error (clsImportTabelNaarTabel.OverzettenRecordSet): ")));
    const QStringList tail = log.lines.mid(at);
    QCOMPARE(tail, (QStringList{"Key = Code", "ID = ", "Source recordset:", "ID", "Code", "Description",
                                "Target recordset:", "ID", "Code", "Description", "Extra"}));
    QVERIFY(log.startingWith(QStringLiteral("End = ")).isEmpty());
}

void TestTabelNaarTabel::sqlServerTypeRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("position");
    QTest::addColumn<int>("stored");
    QTest::newRow("8 on the glass line") << 8 << QVariant(0) << 23;
    QTest::newRow("8 elsewhere") << 8 << QVariant(1) << 8;
    QTest::newRow("8 without position") << 8 << QVariant() << 8;
    QTest::newRow("other type") << 5 << QVariant(0) << 5;
}

void TestTabelNaarTabel::sqlServerTypeRule()
{
    QFETCH(int, type);
    QFETCH(QVariant, position);
    QFETCH(int, stored);
    Pair pair(Kind::ProductTable);
    pair.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("A")},
                                                 {QStringLiteral("fkType"), type},
                                                 {QStringLiteral("PositionGLVG"), position}});
    pair.dstCn->IsSQLServer = true;
    clsImportTabelNaarTabel copier;
    copier.SkipFieldsCollection << QStringLiteral("ID");
    copier.strKeyField = QStringLiteral("Code");
    copier.NieuweOnderdelenToevoegen = true;
    pair.copy(copier, QStringLiteral("Article"));
    QCOMPARE(pair.targetValue(QStringLiteral("SELECT fkType FROM Article")).toInt(), stored);

    // Between two databases of the same kind the type is copied as it is.
    Pair plain(Kind::ProductTable);
    plain.src->insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("A")},
                                                  {QStringLiteral("fkType"), type},
                                                  {QStringLiteral("PositionGLVG"), position}});
    clsImportTabelNaarTabel same;
    same.SkipFieldsCollection << QStringLiteral("ID");
    same.strKeyField = QStringLiteral("Code");
    same.NieuweOnderdelenToevoegen = true;
    plain.copy(same, QStringLiteral("Article"));
    QCOMPARE(plain.targetValue(QStringLiteral("SELECT fkType FROM Article")).toInt(), type);
}

namespace {

struct SupplierSetup
{
    test::TestEnvironment env;
    std::unique_ptr<FixtureDb> src;
    std::unique_ptr<clsConnectie> srcCn, server;
    std::unique_ptr<fixtures::StandInServer> standIn;
    ItemCollection selected = fixtures::items({"ALFA", "O'Neil", "BESTAAND", " "});

    SupplierSetup()
    {
        const QString srcPath = env.path(QStringLiteral("bron.db"));
        const QString ptPath = env.path(QStringLiteral("pt.db"));
        fixtures::makeDatabase(srcPath, Kind::ProductTable, {3, 20});
        fixtures::makeServerDatabase(ptPath, Kind::ProductTable, {3, 20});
        src = std::make_unique<FixtureDb>(srcPath);
        src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("ALFA")},
                                                 {QStringLiteral("Description"), QStringLiteral("Alfa BV")}});
        src->insert(QStringLiteral("Supplier"),
                    {{QStringLiteral("Code"), QStringLiteral("O'Neil")},
                     {QStringLiteral("Description"), QStringLiteral("O'Neil & Zn")}});
        src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("BESTAAND")}});
        src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral(" ")}});
        FixtureDb(ptPath).insert(QStringLiteral("Supplier"),
                                 {{QStringLiteral("Code"), QStringLiteral("bestaand")}});
        srcCn = fixtures::openSqlite(srcPath);
        standIn = std::make_unique<fixtures::StandInServer>(ptPath, env.path(QStringLiteral("crm.db")));
        server = fixtures::connectStandIn(*standIn);
    }
    ~SupplierSetup() { resetBackendOpeners(); }

    void run(clsImportTabelNaarTabel& copier)
    {
        copier.SkipFieldsCollection << QStringLiteral("ID");
        copier.strKeyField = QStringLiteral("Code");
        copier.strFieldOnderdeelFilter = QStringLiteral("Code");
        copier.colFilter = selected;
        copier.NieuweOnderdelenToevoegen = true;
        copier.OverzettenRecordSetSQLSuppliers(
            srcCn->Connection()->openRecordset(QStringLiteral("SELECT * FROM Supplier")),
            server->Connection()->openRecordset(QStringLiteral("SELECT * FROM [PT].Supplier")), *srcCn,
            *server);
    }

    QVariant value(const QString& sql) { return server->Connection()->run(sql)->firstValue(); }
};

} // namespace

void TestTabelNaarTabel::sqlServerSuppliers()
{
    SupplierSetup setup;
    QVERIFY(setup.server && setup.server->IsSQLServer);
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    setup.run(copier);

    QVERIFY(log.fouten.isEmpty());
    QCOMPARE(log.nieuw, (QList<qint32>{1, 2, 3}));
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QCOMPARE(setup.value(QStringLiteral("SELECT count(*) FROM CRM.Organization")).toInt(), 2);
    QCOMPARE(setup.value(QStringLiteral("SELECT Name FROM CRM.Organization WHERE SearchName = 'O''Neil'"))
                 .toString(),
             QStringLiteral("O'Neil & Zn"));
    QCOMPARE(setup
                 .value(QStringLiteral("SELECT count(*) FROM CRM.Vendor v JOIN CRM.Organization o ON o.Oid = "
                                       "v.fkOrganization WHERE v.eVendorType = 1"))
                 .toInt(),
             2);
    // The statements reach the server in its own dialect, the values bound.
    QVERIFY(setup.standIn->last->executed.contains(
        QStringLiteral("INSERT INTO [CRM].Organization ( [SearchName], [Name] )  VALUES (?, ?) ")));
    // The product table's own supplier table is not written.
    QCOMPARE(setup.value(QStringLiteral("SELECT count(*) FROM PT.Supplier")).toInt(), 1);
    QVERIFY(setup.selected.at(0)->RunActie_Toegevoegd);
    QVERIFY(setup.selected.at(1)->RunActie_Toegevoegd);
    QVERIFY(!setup.selected.at(2)->RunActie_Toegevoegd);
    QVERIFY(setup.selected.at(3)->RunActie_Toegevoegd); // a blank code is not written but still marked
    QVERIFY(log.indexOf(QStringLiteral("Nieuw onderdeel : O'Neil")) >= 0);
    QVERIFY(log.startingWith(QStringLiteral("Bestaand")).isEmpty());
    QVERIFY(log.lines.last().startsWith(QStringLiteral("End = ")));
}

void TestTabelNaarTabel::sqlServerSupplierFailureLeavesNoHalfSupplier()
{
    SupplierSetup setup;
    QVERIFY(setup.server && setup.server->IsSQLServer);
    setup.server->Connection()->execute(QStringLiteral("CREATE TRIGGER CRM.geenLeverancier BEFORE INSERT ON "
                                                       "Vendor BEGIN SELECT RAISE(ABORT, 'geweigerd'); END"));
    clsImportTabelNaarTabel copier;
    EventLog log;
    copier.SetOntvanger(&log);
    setup.run(copier);

    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(
        !log.startingWith(QStringLiteral("Error (clsImportTabelNaarTabel.OverzettenRecordSetSQLSuppliers): "))
             .isEmpty());
    QCOMPARE(setup.value(QStringLiteral("SELECT count(*) FROM CRM.Organization")).toInt(), 0);
    QVERIFY(!setup.selected.at(0)->RunActie_Toegevoegd);
    QVERIFY(log.startingWith(QStringLiteral("End = ")).isEmpty());
}

QTEST_GUILESS_MAIN(TestTabelNaarTabel)
#include "test_tabelnaartabel.moc"
