// The import history: creating the tables, recording runs and details,
// listing and deleting runs, the scratch table, on SQLite targets, on a Jet
// stand-in and on the SQL Server statement forms.

#include "database/history.h"

#include "database/clsconnectie.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/scriptedbackend.h"
#include "fixtures/sqlserverstandin.h"
#include "historystandins.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;

namespace {

std::shared_ptr<clsItem> item(const QString& code, bool selected = false, bool existing = false)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Selected = selected;
    result->Existing = existing;
    return result;
}

std::shared_ptr<clsDoelBestand> target(qint32 kind, const QString& path, bool selected = true)
{
    auto result = std::make_shared<clsDoelBestand>();
    result->Soort = kind;
    result->setPath(path);
    result->Geselecteerd = selected;
    return result;
}

QString sqlServerPath(const QString& security = QStringLiteral("eNTSecurity"))
{
    return QStringLiteral("*") + QStringList{QStringLiteral("BOUW01"), QStringLiteral("Producten"), security,
                                             QStringLiteral("sa"), QStringLiteral("geheim")}
                                     .join(QChar(8));
}

struct DetailRow
{
    qint32 type = 0;
    bool selected = false;
    bool existing = false;
    bool inLatestRun = false;
    bool unwanted = false;
    bool priceModified = false;
    bool required = false;
};

// The details rows of a file, by type and code.
QMap<QPair<qint32, QString>, DetailRow> details(const QString& path)
{
    QMap<QPair<qint32, QString>, DetailRow> result;
    fixtures::FixtureDb db(path);
    const RecordsetPtr rows =
        db.connection()->openRecordset(QStringLiteral("SELECT * FROM ImportHistoryDetails"));
    for (; !rows->eof(); rows->moveNext()) {
        DetailRow row;
        row.type = rows->value(QStringLiteral("Type")).toInt();
        const auto flag = [&](const char* name) {
            return rows->value(QString::fromLatin1(name)).toInt() != 0;
        };
        row.selected = flag("Selected");
        row.existing = flag("Existing");
        row.inLatestRun = flag("InLatestRun");
        row.unwanted = flag("Unwanted");
        row.priceModified = flag("PriceDataModified");
        row.required = flag("Required");
        result.insert({row.type, rows->value(QStringLiteral("fkCode")).toString()}, row);
    }
    return result;
}

bool tableExists(const QString& path, const QString& table)
{
    fixtures::FixtureDb db(path);
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"),
                     {table})
               .toInt() == 1;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void historyTypes();
    void doelPathFromHistoryType();
    void runDescriptionAndInfo();
    void createsTablesInSqliteTargets();
    void createsOnlyTheMissingTable();
    void jetTargetGetsTheJetTables();
    void recordsRunsAndDetails();
    void laterRunUpdatesDetailsInPlace();
    void codesRoundTrip_data();
    void codesRoundTrip();
    void emptyCollectionRecordsRunOnly();
    void historyOfTargetWithoutTables();
    void deletesRuns();
    void deleteFailureIsReported();
    void scratchTableFillsAndGoes();
    void scratchIndexNameDoesNotClash();
    void sqlServerForms();
    void sqlServerWithoutTablesRecordsNothing();

private:
    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
    QString ptPath();
};

void TestHistory::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    globals() = ProgramState();
    auto supplier = std::make_shared<clsLeverancier>();
    supplier->Code = QStringLiteral("ROTO");
    supplier->Omschrijving = QStringLiteral("Roto Frank");
    globals().gLeverancier = supplier;
}

void TestHistory::cleanup()
{
    globals() = ProgramState();
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

QString TestHistory::ptPath()
{
    const QString path = m_env->path(QStringLiteral("pt.db"));
    if (!QFile::exists(path))
        fixtures::makeDatabase(path, fixtures::Kind::ProductTable, {3, 50});
    return path;
}

void TestHistory::historyTypes()
{
    QCOMPARE(HistoryTabel(3), QStringLiteral("LocksHingesCombi"));
    QCOMPARE(HistoryTabel(11), QStringLiteral("LocksHingesCombi"));
    QCOMPARE(HistoryTabel(12), QStringLiteral("CustomLHCombi"));
    QVERIFY(HistoryTabel(13).isEmpty());
    QVERIFY(HistoryTabel(-1).isEmpty());
    QCOMPARE(HistoryDoelSoort(4), 3);
    QCOMPARE(HistoryDoelSoort(10), 1);
    QCOMPARE(HistoryDoelSoort(11), 2);
    QCOMPARE(HistoryDoelSoort(13), -1);
    QCOMPARE(HistoryTypesVanDoel(2), (QList<qint32>{5, 6, 7, 8, 9}));
    QVERIFY(HistoryTypesVanDoel(4).isEmpty());
    QCOMPARE(HistoryItems(4), &globals().gColSponningfiguren);
    QCOMPARE(HistoryItems(9), &globals().gColNeuten);
    QCOMPARE(HistoryItems(10), &globals().gColHSKeuzes);
    QVERIFY(!HistoryItems(11));
}

void TestHistory::doelPathFromHistoryType()
{
    globals().gDoelBestanden = {
        target(0, QStringLiteral("/d/pt.db")), target(1, QStringLiteral("/d/opt.db"), false),
        target(2, QStringLiteral("/d/lib.db")), target(2, QStringLiteral("/d/lib2.db"))};
    QCOMPARE(GetDoelPathFromHistoryType(0), QStringLiteral("/d/pt.db"));
    QCOMPARE(GetDoelPathFromHistoryType(11), QStringLiteral("/d/lib.db"));
    QCOMPARE(GetDoelPathFromHistoryType(2), QString()); // the options target is not in use
    QCOMPARE(GetDoelPathFromHistoryType(4), QString()); // no work-preparation target
    QCOMPARE(GetDoelPathFromHistoryType(13), QString());
}

void TestHistory::runDescriptionAndInfo()
{
    const QDateTime moment(QDate(2024, 3, 5), QTime(9, 7, 31));
    QCOMPARE(MaakHistoryDescription(QStringLiteral("Roto Frank"), moment, QLocale(QLocale::Dutch)),
             QStringLiteral("Leverancier Roto Frank op  5 maart 2024  om 09:07."));
    QCOMPARE(MaakHistoryDescription(QStringLiteral("X"), QDateTime(QDate(2023, 12, 25), QTime(23, 59)),
                                    QLocale(QLocale::Dutch)),
             QStringLiteral("Leverancier X op  25 december 2023  om 23:59."));
    QVERIFY(GetHistoryDescription().startsWith(QStringLiteral("Leverancier Roto Frank op  ")));

    QCOMPARE(GetHistoryInfo({}), QStringLiteral("Bronbestanden:"));
    QCOMPARE(GetHistoryInfo({QStringLiteral("/data/prijzen.csv"), QStringLiteral("C:\\lev\\beslag.mdb")}),
             QStringLiteral("Bronbestanden:\r\n\t/data/prijzen.csv\r\n\tC:\\lev\\beslag.mdb"));
}

void TestHistory::createsTablesInSqliteTargets()
{
    const QString path = ptPath();
    QVERIFY(!ImportHistoryTablesExist(path));
    QVERIFY(OpvragenHistory(path).isEmpty());
    QVERIFY(CreateImportHistoryTables(path));
    QVERIFY(ImportHistoryTablesExist(path));
    QVERIFY(CreateImportHistoryTables(path)); // there already

    // The columns of the Jet definition.
    fixtures::FixtureDb db(path);
    const std::optional<TableSchema> history = db.connection()->tableSchema(QStringLiteral("ImportHistory"));
    QVERIFY(history);
    QCOMPARE(history->columns.size(), 3);
    QVERIFY(history->columns.at(0).autoNumber);
    QCOMPARE(history->columns.at(1).definedSize, 255);
    QCOMPARE(history->columns.at(2).type, adType::LongVarWChar);
    const std::optional<TableSchema> details =
        db.connection()->tableSchema(QStringLiteral("ImportHistoryDetails"));
    QVERIFY(details);
    QStringList names;
    for (const TableColumn& column : details->columns)
        names.append(column.name);
    QCOMPARE(names, (QStringList{"ID", "Type", "fkCode", "Selected", "Existing", "InLatestRun", "Unwanted",
                                 "PriceDataModified", "Required"}));
    QVERIFY(details->columns.at(1).notNull);
    QVERIFY(details->columns.at(2).notNull);
    QCOMPARE(details->columns.at(3).type, adType::Boolean);
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());
}

void TestHistory::createsOnlyTheMissingTable()
{
    const QString path = ptPath();
    {
        fixtures::FixtureDb db(path);
        db.exec(QStringLiteral(
            "CREATE TABLE ImportHistory (ID INTEGER PRIMARY KEY, Description TEXT(255), Info TEXT)"));
        db.exec(
            QStringLiteral("INSERT INTO ImportHistory (Description, Info) VALUES ('oud', 'Bronbestanden:')"));
    }
    QVERIFY(CreateImportHistoryTables(path));
    QVERIFY(tableExists(path, QStringLiteral("ImportHistoryDetails")));
    QCOMPARE(OpvragenHistory(path), QStringList{QStringLiteral("oud|Bronbestanden:")});
}

void TestHistory::jetTargetGetsTheJetTables()
{
    test::OpenersGuard guard;
    // Every connection gets a scripted Jet database of its own; each records what it runs.
    auto opened = std::make_shared<QList<std::shared_ptr<fixtures::ScriptedBackend>>>();
    const QString mdb = test::makeDummyMdb(m_env->path(QStringLiteral("doel.mdb")));
    backendOpeners().jet = [opened](const QString& path, const QString&) -> DbConnection {
        opened->append(std::make_shared<fixtures::ScriptedBackend>(DatabaseBackend::Kind::Jet, path));
        return opened->last();
    };

    QVERIFY(CreateImportHistoryTables(mdb));
    QVERIFY(m_ui->errors.isEmpty());
    QStringList executed;
    for (const auto& db : *opened)
        executed += db->executed;
    const QStringList ddl = executed.filter(QStringLiteral("CREATE"));
    QCOMPARE(ddl,
             (QStringList{
                 "CREATE TABLE ImportHistory ( ID COUNTER, Description TEXT(255), Info MEMO)",
                 "CREATE UNIQUE INDEX ID ON ImportHistory (ID) WITH PRIMARY",
                 "CREATE TABLE ImportHistoryDetails ( ID COUNTER, Type LONG NOT NULL, fkCode TEXT(255) NOT "
                 "NULL, Selected BIT, Existing BIT, InLatestRun BIT, Unwanted BIT, PriceDataModified BIT, "
                 "Required BIT)",
                 "CREATE UNIQUE INDEX ID ON ImportHistoryDetails (ID) WITH PRIMARY"}));
}

void TestHistory::recordsRunsAndDetails()
{
    const QString path = ptPath();
    auto required = item(QStringLiteral("B2"), true, true);
    required->Required = true;
    required->setUnwanted(true); // a required part is never unwanted
    auto unwanted = item(QStringLiteral("B3"));
    unwanted->setUnwanted(true);
    unwanted->InLatestRun = true;
    unwanted->PriceDataModfied = true;
    globals().gColArtikelen = {item(QStringLiteral("B1"), true, true), required, unwanted};
    globals().gColArtikelGroepen = {item(QStringLiteral("B1"))};
    globals().gColHSTabellen = {item(QStringLiteral("T1"))}; // another kind: not saved into a product table

    SaveImportHistoryForDoel(path, 0, {QStringLiteral("/bron/a.csv")});
    QVERIFY(m_ui->errors.isEmpty());

    const QStringList runs = OpvragenHistory(path);
    QCOMPARE(runs.size(), 1);
    QVERIFY(runs.at(0).startsWith(QStringLiteral("Leverancier Roto Frank op  ")));
    QVERIFY(runs.at(0).endsWith(QStringLiteral(".|Bronbestanden:\r\n\t/bron/a.csv")));

    const auto rows = details(path);
    QCOMPARE(rows.size(), 4); // B1 under two types
    const DetailRow b1 = rows.value({0, QStringLiteral("B1")});
    QVERIFY(b1.selected && b1.existing && !b1.unwanted && !b1.required);
    const DetailRow b2 = rows.value({0, QStringLiteral("B2")});
    QVERIFY(b2.required && b2.selected && !b2.unwanted);
    const DetailRow b3 = rows.value({0, QStringLiteral("B3")});
    QVERIFY(b3.unwanted && b3.inLatestRun && b3.priceModified && !b3.selected && !b3.existing);
    QVERIFY(rows.contains({1, QStringLiteral("B1")}));

    // A second run is listed first.
    SaveImportHistoryForDoel(path, 0, {});
    const QStringList both = OpvragenHistory(path);
    QCOMPARE(both.size(), 2);
    QVERIFY(both.at(0).endsWith(QStringLiteral(".|Bronbestanden:")));
    QCOMPARE(both.at(1), runs.at(0));
}

void TestHistory::laterRunUpdatesDetailsInPlace()
{
    const QString path = ptPath();
    const auto first = item(QStringLiteral("C1"), true);
    globals().gColHSTabellen = {first, item(QStringLiteral("C2"))};
    SaveImportHistoryForDoel(path, 1, {});
    first->Selected = false;
    first->InLatestRun = true;
    SaveImportHistoryForDoel(path, 1, {});

    const auto rows = details(path);
    QCOMPARE(rows.size(), 2);
    QVERIFY(!rows.value({2, QStringLiteral("C1")}).selected);
    QVERIFY(rows.value({2, QStringLiteral("C1")}).inLatestRun);
    QCOMPARE(OpvragenHistory(path).size(), 2);
}

void TestHistory::codesRoundTrip_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil-12");
    QTest::newRow("two quotes") << QStringLiteral("''x''");
    QTest::newRow("semicolon") << QStringLiteral("A;B");
    QTest::newRow("statement") << QStringLiteral("x'; DROP TABLE Article; --");
    QTest::newRow("letters") << QStringLiteral("Überhöhe-ß");
    QTest::newRow("double quote") << QStringLiteral("12\" scharnier");
}

void TestHistory::codesRoundTrip()
{
    QFETCH(QString, code);
    const QString path = ptPath();
    const auto candidate = item(code, true);
    globals().gColArtikelen = {candidate, item(QStringLiteral("gewoon"))};
    SaveImportHistoryForDoel(path, 0, {code});
    candidate->Selected = false;
    SaveImportHistoryForDoel(path, 0, {code});
    QVERIFY(m_ui->errors.isEmpty());

    const auto rows = details(path);
    QCOMPARE(rows.size(), 2); // found again: not added twice
    QVERIFY(rows.contains({0, code}));
    QVERIFY(!rows.value({0, code}).selected);
    QVERIFY(tableExists(path, QStringLiteral("Article")));
    QCOMPARE(OpvragenHistory(path).size(), 2);
    QVERIFY(OpvragenHistory(path).at(0).endsWith(code));
}

void TestHistory::emptyCollectionRecordsRunOnly()
{
    const QString path = ptPath();
    SaveImportHistoryForDoel(path, 2, {});
    QCOMPARE(OpvragenHistory(path).size(), 1);
    QVERIFY(details(path).isEmpty());
    // A kind without history types records the run row only.
    SaveImportHistoryForDoel(path, 7, {});
    QCOMPARE(OpvragenHistory(path).size(), 2);
    QVERIFY(m_ui->errors.isEmpty());
}

void TestHistory::historyOfTargetWithoutTables()
{
    const QString path = ptPath();
    QVERIFY(OpvragenHistory(path).isEmpty());
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());
    // Rows with a null description or info are not listed.
    QVERIFY(CreateImportHistoryTables(path));
    {
        fixtures::FixtureDb db(path);
        db.exec(
            QStringLiteral("INSERT INTO ImportHistory (Description, Info) VALUES ('a', NULL), (NULL, 'b'), "
                           "('c', 'd')"));
    }
    QCOMPARE(OpvragenHistory(path), QStringList{QStringLiteral("c|d")});
}

void TestHistory::deletesRuns()
{
    const QString path = ptPath();
    QVERIFY(CreateImportHistoryTables(path));
    {
        fixtures::FixtureDb db(path);
        db.exec(QStringLiteral("INSERT INTO ImportHistory (Description, Info) VALUES (?, ?), (?, ?), (?, ?)"),
                {QStringLiteral("Leverancier O'Brien op  1 mei 2024  om 10:00."),
                 QStringLiteral("Bronbestanden:"), QStringLiteral("run twee"),
                 QStringLiteral("Bronbestanden:\r\n\tb.csv"), QStringLiteral("run drie"),
                 QStringLiteral("Bronbestanden:")});
        db.exec(QStringLiteral("INSERT INTO ImportHistoryDetails (Type, fkCode) VALUES (0, 'X')"));
    }
    const QStringList entries = OpvragenHistory(path);
    QCOMPARE(entries.size(), 3);

    // The list entry as the step hands it over.
    QVERIFY(VerwijderenImportHistory(path, entries.at(1)));
    QCOMPARE(OpvragenHistory(path), (QStringList{entries.at(0), entries.at(2)}));
    // The bare description, with a quote in it.
    QVERIFY(VerwijderenImportHistory(path, QStringLiteral("Leverancier O'Brien op  1 mei 2024  om 10:00.")));
    QCOMPARE(OpvragenHistory(path), QStringList{entries.at(0)});
    // Nothing matches: nothing goes, and the caller hears so.
    QVERIFY(!VerwijderenImportHistory(path, QStringLiteral("run drie|anders")));
    QVERIFY(!VerwijderenImportHistory(path, QStringLiteral("' OR '1'='1")));
    QCOMPARE(OpvragenHistory(path).size(), 1);
    QCOMPARE(details(path).size(), 1); // details stay
    QVERIFY(m_ui->errors.isEmpty());
}

void TestHistory::deleteFailureIsReported()
{
    const QString path = ptPath(); // no history tables
    QVERIFY(!VerwijderenImportHistory(path, QStringLiteral("run")));
    QCOMPARE(m_ui->errors.size(), 1);
}

void TestHistory::scratchTableFillsAndGoes()
{
    const QString path = ptPath();
    globals().gDoelBestanden = {target(0, path)};
    ToevoegenTMPArtikelen(
        0, {item(QStringLiteral("A'1")), item(QStringLiteral("B")), item(QStringLiteral("A'1"))});
    {
        fixtures::FixtureDb db(path);
        const RecordsetPtr rows = db.connection()->openRecordset(
            QStringLiteral("SELECT ID, Code FROM tmpLevImportItems ORDER BY ID"));
        QCOMPARE(rows->recordCount(), 3);
        QCOMPARE(rows->value(0).toInt(), 1);
        QCOMPARE(rows->value(1).toString(), QStringLiteral("A'1"));
        rows->moveLast();
        QCOMPARE(rows->value(0).toInt(), 3);
    }
    // A second fill starts afresh.
    ToevoegenTMPArtikelen(0, {item(QStringLiteral("Z"))});
    QCOMPARE(fixtures::FixtureDb(path).count(QStringLiteral("tmpLevImportItems")), 1);
    VerwijderenTMPArtikelen(0);
    QVERIFY(!tableExists(path, QStringLiteral("tmpLevImportItems")));
    VerwijderenTMPArtikelen(0); // nothing left to drop: still quiet
    QVERIFY(m_ui->errors.isEmpty());

    // No target of the type's kind: nothing happens.
    ToevoegenTMPArtikelen(2, {item(QStringLiteral("Z"))});
    QVERIFY(!tableExists(path, QStringLiteral("tmpLevImportItems")));
}

void TestHistory::scratchIndexNameDoesNotClash()
{
    const QString path = ptPath();
    {
        fixtures::FixtureDb db(path);
        db.exec(QStringLiteral("CREATE INDEX Code ON Article(Code)"));
    }
    globals().gDoelBestanden = {target(0, path)};
    ToevoegenTMPArtikelen(0, {item(QStringLiteral("A"))});
    QVERIFY(m_ui->errors.isEmpty());
    QCOMPARE(fixtures::FixtureDb(path).count(QStringLiteral("tmpLevImportItems")), 1);
}

void TestHistory::sqlServerForms()
{
    test::OpenersGuard guard;
    const QString file = ptPath();
    QVERIFY(CreateImportHistoryTables(file));
    {
        fixtures::FixtureDb db(file);
        db.exec(QStringLiteral("CREATE TABLE tmpLevImportItems (ID INTEGER NOT NULL, Code TEXT(50))"));
    }
    fixtures::StandInServer standIn(file, m_env->path(QStringLiteral("crm.db")));
    standIn.databases = {QStringLiteral("Producten")};
    backendOpeners().sqlServer = standIn.opener();
    const QString server = sqlServerPath();
    globals().gDoelBestanden = {target(0, server)};
    globals().gColArtikelen = {item(QStringLiteral("S'1"), true), item(QStringLiteral("S2"))};

    QVERIFY(ImportHistoryTablesExist(server));
    QVERIFY(CreateImportHistoryTables(server));
    SaveImportHistoryForDoel(server, 0, {QStringLiteral("a.xls")});
    QVERIFY(m_ui->errors.isEmpty());
    const QStringList runs = OpvragenHistory(server);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(details(file).size(), 2);
    QVERIFY(VerwijderenImportHistory(server, runs.at(0)));
    QVERIFY(OpvragenHistory(server).isEmpty());

    // The scratch table is emptied, not dropped.
    ToevoegenTMPArtikelen(0, globals().gColArtikelen);
    QCOMPARE(fixtures::FixtureDb(file).count(QStringLiteral("tmpLevImportItems")), 2);
    VerwijderenTMPArtikelen(0);
    QVERIFY(tableExists(file, QStringLiteral("tmpLevImportItems")));
    QCOMPARE(fixtures::FixtureDb(file).count(QStringLiteral("tmpLevImportItems")), 0);

    // A description without five fields connects to nothing.
    const QString shortPath = QStringLiteral("*BOUW01") + QChar(8) + QStringLiteral("Producten");
    QVERIFY(!ImportHistoryTablesExist(shortPath));
    QVERIFY(OpvragenHistory(shortPath).isEmpty());
    QVERIFY(m_ui->errors.isEmpty());
}

void TestHistory::sqlServerWithoutTablesRecordsNothing()
{
    test::OpenersGuard guard;
    const QString file = ptPath();
    fixtures::StandInServer standIn(file, m_env->path(QStringLiteral("crm.db")));
    standIn.databases = {QStringLiteral("Producten")};
    backendOpeners().sqlServer = standIn.opener();
    const QString server = sqlServerPath(QStringLiteral("eSQLSecurity"));
    globals().gColArtikelen = {item(QStringLiteral("S1"))};
    QVERIFY(!CreateImportHistoryTables(server)); // nothing is created on a server
    SaveImportHistoryForDoel(server, 0, {});
    QVERIFY(!tableExists(file, QStringLiteral("ImportHistory")));
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
