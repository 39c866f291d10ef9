// The item-status query: candidates marked against the target table and the
// import history, on SQLite targets, a Jet stand-in and the SQL Server forms.

#include "database/itemstatus.h"

#include "database/doelbestand.h"
#include "database/history.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "historystandins.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;

namespace {

std::shared_ptr<clsItem> item(const QString& code, bool selected = false, bool required = false)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Selected = selected;
    result->Required = required;
    return result;
}

std::shared_ptr<clsDoelBestand> target(qint32 kind, const QString& path)
{
    auto result = std::make_shared<clsDoelBestand>();
    result->Soort = kind;
    result->setPath(path);
    result->Geselecteerd = true;
    return result;
}

// What a test reads back of an item.
struct Marks
{
    bool existing = false;
    bool selected = false;
    bool unwanted = false;
    bool inLatestRun = false;
    bool priceModified = false;
    bool operator==(const Marks&) const = default;
};

Marks marksOf(const clsItem& item)
{
    return Marks{item.Existing, item.Selected, item.Unwanted(), item.InLatestRun, item.PriceDataModfied};
}

char* toString(const Marks& marks)
{
    return qstrdup(QStringLiteral("existing %1 selected %2 unwanted %3 inLatestRun %4 priceModified %5")
                       .arg(marks.existing)
                       .arg(marks.selected)
                       .arg(marks.unwanted)
                       .arg(marks.inLatestRun)
                       .arg(marks.priceModified)
                       .toUtf8()
                       .constData());
}

void addHistory(fixtures::FixtureDb& db, qint32 type, const QString& code, bool selected)
{
    db.exec(QStringLiteral("INSERT INTO ImportHistoryDetails (Type, fkCode, Selected, Existing, InLatestRun, "
                           "Unwanted, PriceDataModified, Required) VALUES (?, ?, ?, -1, -1, 0, -1, 0)"),
            {type, code, selected ? -1 : 0});
}

bool hasScratchTable(const QString& path)
{
    fixtures::FixtureDb db(path);
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'tmpLevImportItems'"))
               .toInt() > 0;
}

} // namespace

class TestItemStatus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void foundInTargetWithoutHistory();
    void marks_data();
    void marks();
    void historyOfOtherTypesDoesNotCount();
    void duplicateCodesDoNotShiftMarks();
    void savedTicksComeBack();
    void codesMatchWithoutCase();
    void itemsStayWithoutTargetOrHistory();
    void targetFileIsOnlyRead();
    void failingStatementIsReported();
    void jetTargetAnswersAsSqlite();
    void sqlServerForms();

private:
    // A product table with history tables and the given article codes.
    QString productTable(const QString& name, const QStringList& articles);

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
};

void TestItemStatus::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    globals() = ProgramState();
}

void TestItemStatus::cleanup()
{
    globals() = ProgramState();
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

QString TestItemStatus::productTable(const QString& name, const QStringList& articles)
{
    const QString path = m_env->path(name);
    fixtures::makeDatabase(path, fixtures::Kind::ProductTable, {3, 50});
    CreateImportHistoryTables(path);
    fixtures::FixtureDb db(path);
    for (const QString& code : articles)
        db.insert(QStringLiteral("Article"), {{QStringLiteral("Code"), code}});
    return path;
}

void TestItemStatus::foundInTargetWithoutHistory()
{
    const QString path = productTable(QStringLiteral("pt.db"), {QStringLiteral("O'Neil")});
    globals().gDoelBestanden = {target(0, path)};
    const ItemCollection items{item(QStringLiteral("A1"), true), item(QStringLiteral("O'Neil")),
                               item(QStringLiteral("A3"), true)};
    for (const auto& candidate : items) {
        candidate->InLatestRun = true;
        candidate->PriceDataModfied = true;
        candidate->setUnwanted(true);
    }
    UpdateItemsUitDoel(0, items);

    QCOMPARE(marksOf(*items.at(0)), (Marks{false, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), (Marks{true, false, false, false, false}));
    QCOMPARE(marksOf(*items.at(2)), (Marks{false, true, false, false, false}));
    QVERIFY(items.at(0)->IsNew());
    QVERIFY(!items.at(1)->IsNew());
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(!hasScratchTable(path));
}

void TestItemStatus::marks_data()
{
    QTest::addColumn<bool>("inTarget");
    QTest::addColumn<bool>("inHistory");
    QTest::addColumn<bool>("historySelected");
    QTest::addColumn<bool>("required");
    QTest::addColumn<bool>("selectedBefore");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("unwanted");
    QTest::addColumn<bool>("isNew");

    // clang-format off
    //                                          target  history ticked  required before  exists  selected unwanted new
    QTest::newRow("new part")                   << false << false << false << false << true  << false << true  << false << true;
    QTest::newRow("in target, no history")      << true  << false << false << false << false << true  << false << false << false;
    QTest::newRow("in target, unticked before") << true  << true  << false << false << true  << true  << false << false << false;
    QTest::newRow("in target, ticked before")   << true  << true  << true  << false << false << true  << true  << false << false;
    QTest::newRow("required, unticked before")  << true  << true  << false << true  << false << true  << true  << false << false;
    QTest::newRow("left the target")            << false << true  << true  << false << true  << false << false << true  << false;
    QTest::newRow("required, left the target")  << false << true  << false << true  << false << false << true  << false << true;
    // clang-format on
}

void TestItemStatus::marks()
{
    QFETCH(bool, inTarget);
    QFETCH(bool, inHistory);
    QFETCH(bool, historySelected);
    QFETCH(bool, required);
    QFETCH(bool, selectedBefore);

    const QString path =
        productTable(QStringLiteral("pt.db"),
                     inTarget ? QStringList{QStringLiteral("P-1")} : QStringList{QStringLiteral("ander")});
    if (inHistory) {
        fixtures::FixtureDb db(path);
        addHistory(db, 0, QStringLiteral("P-1"), historySelected);
    }
    globals().gDoelBestanden = {target(0, path)};
    const ItemCollection items{item(QStringLiteral("P-1"), selectedBefore, required)};
    UpdateItemsUitDoel(0, items);

    QTEST(items.at(0)->Existing, "existing");
    QTEST(items.at(0)->Selected, "selected");
    QTEST(items.at(0)->Unwanted(), "unwanted");
    QTEST(items.at(0)->IsNew(), "isNew");
    QVERIFY(m_ui->errors.isEmpty());
}

void TestItemStatus::historyOfOtherTypesDoesNotCount()
{
    const QString path = productTable(QStringLiteral("pt.db"), {QStringLiteral("G1")});
    {
        fixtures::FixtureDb db(path);
        addHistory(db, 1, QStringLiteral("G1"), false); // an article group of that code
        addHistory(db, 1, QStringLiteral("G2"), true);
    }
    globals().gDoelBestanden = {target(0, path)};
    const ItemCollection items{item(QStringLiteral("G1"), true), item(QStringLiteral("G2"))};
    items.at(1)->setUnwanted(true);
    UpdateItemsUitDoel(0, items);
    QCOMPARE(marksOf(*items.at(0)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), (Marks{false, false, false, false, false}));
}

void TestItemStatus::duplicateCodesDoNotShiftMarks()
{
    // "D" twice in the target table and "E" twice in the details give more rows than items.
    const QString path = productTable(QStringLiteral("pt.db"), {QStringLiteral("D"), QStringLiteral("D"),
                                                                QStringLiteral("E"), QStringLiteral("G")});
    {
        fixtures::FixtureDb db(path);
        addHistory(db, 0, QStringLiteral("E"), true);
        addHistory(db, 0, QStringLiteral("E"), true);
        addHistory(db, 0, QStringLiteral("F"), true);
        addHistory(db, 0, QStringLiteral("G"), false);
    }
    globals().gDoelBestanden = {target(0, path)};
    const ItemCollection items{item(QStringLiteral("D")),       item(QStringLiteral("E")),
                               item(QStringLiteral("F"), true), item(QStringLiteral("G"), true),
                               item(QStringLiteral("H"), true), item(QStringLiteral("F"), true)};
    UpdateItemsUitDoel(0, items);
    QVERIFY(m_ui->errors.isEmpty());
    QCOMPARE(marksOf(*items.at(0)), (Marks{true, false, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(2)), (Marks{false, false, true, false, false})); // left the target
    QCOMPARE(marksOf(*items.at(3)), (Marks{true, false, false, false, false})); // unticked last time
    QCOMPARE(marksOf(*items.at(4)), (Marks{false, true, false, false, false})); // new
    QCOMPARE(marksOf(*items.at(5)), marksOf(*items.at(2)));                     // the same code twice
}

void TestItemStatus::savedTicksComeBack()
{
    const QString path = productTable(QStringLiteral("pt.db"), {QStringLiteral("K1"), QStringLiteral("K2")});
    globals().gDoelBestanden = {target(0, path)};
    globals().gColArtikelen = {item(QStringLiteral("K1"), true), item(QStringLiteral("K2"), false),
                               item(QStringLiteral("K3"), true)};
    SaveImportHistoryForDoel(path, 0, {});

    // K3 was offered and ticked, but is not in the target: it was removed since.
    const ItemCollection next{item(QStringLiteral("K1")), item(QStringLiteral("K2"), true),
                              item(QStringLiteral("K3"), true), item(QStringLiteral("K4"), true)};
    UpdateItemsUitDoel(0, next);
    QVERIFY(next.at(0)->Selected);
    QVERIFY(!next.at(1)->Selected);
    QVERIFY(!next.at(2)->Selected && next.at(2)->Unwanted());
    QVERIFY(next.at(3)->Selected && next.at(3)->IsNew());
    QVERIFY(m_ui->errors.isEmpty());
}

void TestItemStatus::codesMatchWithoutCase()
{
    // A target written by hand (not the fixture builder), whose article codes compare exactly in SQLite.
    const QString path = m_env->path(QStringLiteral("eigen.db"));
    {
        SqliteOpenOptions options;
        options.create = true;
        const auto db = SqliteBackend::open(path, options);
        db->execute(QStringLiteral("CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code VARCHAR(50) NOT NULL, "
                                   "Description VARCHAR(255))"));
        db->execute(QStringLiteral("CREATE UNIQUE INDEX ArticleCode ON Article (Code)"));
        db->execute(QStringLiteral("INSERT INTO Article (Code) VALUES ('abc'), ('ÄÖ'), ('Weg')"));
    }
    QVERIFY(CreateImportHistoryTables(path));
    globals().gDoelBestanden = {target(0, path)};
    // One run saves the ticks of its candidates: the history matches codes without regard to case.
    globals().gColArtikelen = {item(QStringLiteral("ABC"), true), item(QStringLiteral("äö"), true),
                               item(QStringLiteral("xyz"), true), item(QStringLiteral("WEG"), false)};
    SaveImportHistoryForDoel(path, 0, {});
    globals().gColArtikelen = {item(QStringLiteral("Abc"), false)};
    SaveImportHistoryForDoel(path, 0, {}); // the same code: its row is updated, not doubled
    QCOMPARE(
        fixtures::FixtureDb(path).scalar(QStringLiteral("SELECT count(*) FROM ImportHistoryDetails")).toInt(),
        4);

    // The status query matches the same way: every spelling of a code gets that code's marks.
    const ItemCollection items{item(QStringLiteral("ABC")),       item(QStringLiteral("abc")),
                               item(QStringLiteral("äö")),        item(QStringLiteral("ÄÖ")),
                               item(QStringLiteral("XYZ"), true), item(QStringLiteral("weg"), true)};
    UpdateItemsUitDoel(0, items);
    QVERIFY(m_ui->errors.isEmpty());
    QCOMPARE(marksOf(*items.at(0)), (Marks{true, false, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), marksOf(*items.at(0)));
    QCOMPARE(marksOf(*items.at(2)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(3)), marksOf(*items.at(2)));
    QCOMPARE(marksOf(*items.at(4)), (Marks{false, false, true, false, false})); // saved, since gone
    QCOMPARE(marksOf(*items.at(5)), (Marks{true, false, false, false, false}));
    for (const auto& i : items)
        QVERIFY(!i->IsNew());

    // The target's schema never names the program's collation.
    QCOMPARE(fixtures::FixtureDb(path)
                 .scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%JETNOCASE%'"))
                 .toInt(),
             0);
    QVERIFY(!hasScratchTable(path));
}

void TestItemStatus::itemsStayWithoutTargetOrHistory()
{
    const ItemCollection items{item(QStringLiteral("X"), true)};
    items.at(0)->InLatestRun = true;
    const Marks before = marksOf(*items.at(0));

    UpdateItemsUitDoel(0, items); // no target at all
    QCOMPARE(marksOf(*items.at(0)), before);

    const QString path = m_env->path(QStringLiteral("kaal.db"));
    fixtures::makeDatabase(path, fixtures::Kind::ProductTable, {3, 50});
    {
        fixtures::FixtureDb db(path);
        db.insert(QStringLiteral("Article"), {{QStringLiteral("Code"), QStringLiteral("X")}});
    }
    globals().gDoelBestanden = {target(0, path)};
    UpdateItemsUitDoel(0, items); // a target without history tables
    QCOMPARE(marksOf(*items.at(0)), before);
    QVERIFY(!hasScratchTable(path));

    UpdateItemsUitDoel(0, {});     // nothing to mark
    UpdateItemsUitDoel(13, items); // a type without a target
    QCOMPARE(marksOf(*items.at(0)), before);
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());
}

// The marks come from a target file without a byte of it changing: another workstation's transfer may be
// replacing it meanwhile.
void TestItemStatus::targetFileIsOnlyRead()
{
    const QString path = productTable(QStringLiteral("pt.db"), {QStringLiteral("R1"), QStringLiteral("r2")});
    {
        fixtures::FixtureDb db(path);
        addHistory(db, 0, QStringLiteral("R2"), true);
        addHistory(db, 0, QStringLiteral("R3"), false);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QDateTime modified = QFileInfo(path).lastModified();
    globals().gDoelBestanden = {target(0, path)};
    const ItemCollection items{item(QStringLiteral("R1"), true), item(QStringLiteral("R2")),
                               item(QStringLiteral("R3"), true), item(QStringLiteral("R4"), true)};
    UpdateItemsUitDoel(0, items);
    QVERIFY(m_ui->errors.isEmpty());
    QCOMPARE(marksOf(*items.at(0)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(2)), (Marks{false, false, true, false, false}));
    QCOMPARE(marksOf(*items.at(3)), (Marks{false, true, false, false, false}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    const QStringList files = QDir(m_env->root()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files, QStringList{QStringLiteral("pt.db")});
}

void TestItemStatus::failingStatementIsReported()
{
    // A library target with history tables but without the pane-groove table.
    const QString path = m_env->path(QStringLiteral("lib.db"));
    QVERIFY(fixtures::makeDatabase(path, fixtures::Kind::Library, {3, 50}));
    fixtures::FixtureDb(path).exec(QStringLiteral("DROP TABLE IF EXISTS PaneGrooveTable"));
    QVERIFY(CreateImportHistoryTables(path));
    globals().gDoelBestanden = {target(2, path)};
    const ItemCollection items{item(QStringLiteral("V1"), true)};
    UpdateItemsUitDoel(5, items);
    QCOMPARE(m_ui->errors.size(), 1);
    QVERIFY(items.at(0)->Selected && !items.at(0)->Existing);
    QVERIFY(!hasScratchTable(path));
}

void TestItemStatus::jetTargetAnswersAsSqlite()
{
    test::OpenersGuard guard;
    const QStringList codes{QStringLiteral("J1"), QStringLiteral("J'2")};
    const QString sqlitePath = productTable(QStringLiteral("pt.db"), codes);
    const QString mirror = productTable(QStringLiteral("mirror.db"), codes);
    for (const QString& path : {sqlitePath, mirror}) {
        fixtures::FixtureDb db(path);
        addHistory(db, 0, QStringLiteral("J1"), false);
        addHistory(db, 0, QStringLiteral("J3"), true);
    }
    const QString mdb = test::makeDummyMdb(m_env->path(QStringLiteral("pt.mdb")));
    test::installJetFiles({{mdb, mirror}});

    const auto candidates = [] {
        return ItemCollection{item(QStringLiteral("J1"), true), item(QStringLiteral("J'2")),
                              item(QStringLiteral("J3"), true), item(QStringLiteral("J4"))};
    };
    const ItemCollection onSqlite = candidates();
    globals().gDoelBestanden = {target(0, sqlitePath)};
    UpdateItemsUitDoel(0, onSqlite);
    const ItemCollection onJet = candidates();
    globals().gDoelBestanden = {target(0, mdb)};
    UpdateItemsUitDoel(0, onJet);

    QVERIFY(m_ui->errors.isEmpty());
    for (int i = 0; i < onSqlite.size(); ++i)
        QCOMPARE(marksOf(*onJet.at(i)), marksOf(*onSqlite.at(i)));
    QCOMPARE(marksOf(*onJet.at(0)), (Marks{true, false, false, false, false}));
    QCOMPARE(marksOf(*onJet.at(2)), (Marks{false, false, true, false, false}));
    QVERIFY(!hasScratchTable(mirror));
}

void TestItemStatus::sqlServerForms()
{
    test::OpenersGuard guard;
    const QString file = productTable(QStringLiteral("pt.db"), {QStringLiteral("S1"), QStringLiteral("S2")});
    {
        fixtures::FixtureDb db(file);
        db.exec(QStringLiteral("CREATE TABLE tmpLevImportItems (ID INTEGER NOT NULL, Code TEXT(50))"));
        addHistory(db, 0, QStringLiteral("S2"), true);
        addHistory(db, 0, QStringLiteral("S3"), true);
    }
    fixtures::StandInServer standIn(file, m_env->path(QStringLiteral("crm.db")));
    standIn.databases = {QStringLiteral("Producten")};
    backendOpeners().sqlServer = standIn.opener();
    const QString server =
        QStringLiteral("*") + QStringList{QStringLiteral("BOUW01"), QStringLiteral("Producten"),
                                          QStringLiteral("eSQLSecurity"), QStringLiteral("sa"),
                                          QStringLiteral("geheim")}
                                  .join(QChar(8));
    globals().gDoelBestanden = {target(0, server)};
    const ItemCollection items{item(QStringLiteral("S1")), item(QStringLiteral("S2")),
                               item(QStringLiteral("S3"), true), item(QStringLiteral("S4"))};
    UpdateItemsUitDoel(0, items);
    QVERIFY(m_ui->errors.isEmpty());
    QCOMPARE(marksOf(*items.at(0)), (Marks{true, false, false, false, false}));
    QCOMPARE(marksOf(*items.at(1)), (Marks{true, true, false, false, false}));
    QCOMPARE(marksOf(*items.at(2)), (Marks{false, false, true, false, false}));
    QCOMPARE(marksOf(*items.at(3)), (Marks{false, false, false, false, false}));
    // The scratch table stays on the server, empty.
    QCOMPARE(fixtures::FixtureDb(file).count(QStringLiteral("tmpLevImportItems")), 0);
}

QTEST_GUILESS_MAIN(TestItemStatus)
#include "test_itemstatus.moc"
