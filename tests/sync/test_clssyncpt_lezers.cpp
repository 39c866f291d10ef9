// The product-table engine's readers for the selection steps: the article
// groups and the articles of chosen types, from SQLite product tables and
// from Jet ones (a file of the Jet layout opened as a Jet file, its statements
// in the Jet dialect), with the mirrored article joined by ID or by code as
// the source's version says, the list handed in and taken back, and the
// answers when nothing can or may be read.

#include "database/historystandins.h"
#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "sync/clssyncpt.h"

#include <QtTest>

using namespace supplink;

namespace {

// A source written by hand: a product table of the given version, its text columns declared as a Jet
// file's mirror declares them when it stands for a Jet file. Mirrored articles are linked by ID up to 3.10
// and by code after that; the codes of the links are spelt in other letters than the articles'.
//   groups   10 G1 "Deuren", 20 G2 "Airco", 30 G3 "Zonder artikelen", 40 G4 "Ramen"
//   articles 1 A-1 "Bravo" type 4 group 10 (mirror A-2), 2 A-2 "Alfa" type 4 group 20 (mirror A-1),
//            3 O'Neil "Charlie" type 8 group 10, 4 X-9 "Delta" type 9 group 40
QString makeSource(const QString& path, bool jet, int major, int minor, bool versionRow = true)
{
    const QString text = jet ? QStringLiteral("TEXT(50) COLLATE JETNOCASE") : QStringLiteral("VARCHAR(50)");
    const bool byCode = major > 3 || (major == 3 && minor > 10);
    SqliteOpenOptions options;
    options.create = true;
    const auto db = SqliteBackend::open(path, options);
    db->execute(
        QStringLiteral("CREATE TABLE SysDBInfo (AppType %1, DBTYPE %1, VerMajor INTEGER, VerMinor INTEGER)")
            .arg(text));
    db->execute(
        QStringLiteral("CREATE TABLE ArtGroup (ID INTEGER PRIMARY KEY, Code %1, Description %1, OrderNr "
                       "INTEGER)")
            .arg(text));
    db->execute(
        QStringLiteral("CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code %1, Description %1, fkType "
                       "INTEGER, fkGroup INTEGER, fkMirroredArticle %2)")
            .arg(text, byCode ? text : QStringLiteral("INTEGER")));
    if (versionRow)
        db->execute(QStringLiteral("INSERT INTO SysDBInfo VALUES ('VELMORA', 'PT', ?, ?)"), {major, minor});
    db->execute(QStringLiteral("INSERT INTO ArtGroup (ID, Code, Description) VALUES (10, 'G1', 'Deuren'), "
                               "(20, 'G2', 'Airco'), (30, 'G3', 'Zonder artikelen'), (40, 'G4', 'Ramen')"));
    const QVariant mirror1 = byCode ? QVariant(QStringLiteral("a-2")) : QVariant(2);
    const QVariant mirror2 = byCode ? QVariant(QStringLiteral("A-1")) : QVariant(1);
    db->execute(
        QStringLiteral("INSERT INTO Article VALUES (1, 'A-1', 'Bravo', 4, 10, ?), (2, 'A-2', 'Alfa', 4, "
                       "20, ?), (3, 'O''Neil', 'Charlie', 8, 10, NULL), (4, 'X-9', 'Delta', 9, 40, NULL)"),
        {mirror1, mirror2});
    db->close();
    return path;
}

// An item as the tests compare it.
QString line(const clsItem& item, bool article)
{
    QString text = QStringLiteral("%1|%2|%3").arg(item.ID).arg(item.Code, item.Description);
    if (article)
        text += QStringLiteral("|%1|%2").arg(item.Groep).arg(item.CodeGespiegeld);
    return text;
}

QStringList lines(const ItemCollection& items, bool article)
{
    QStringList result;
    for (const auto& item : items)
        result << line(*item, article);
    return result;
}

// A source file, and where the engine is to open it: its own path for SQLite, a Jet file's path that opens
// as that file in the Jet dialect otherwise.
struct Source
{
    test::TestEnvironment env;
    test::OpenersGuard guard;
    QString file;
    QString path;

    Source(bool jet, int major, int minor, bool versionRow = true)
    {
        file = makeSource(env.path(QStringLiteral("bron.db")), jet, major, minor, versionRow);
        path = file;
        if (jet) {
            path = test::makeDummyMdb(env.path(QStringLiteral("bron.mdb")));
            test::installJetFiles({{path, file}});
        }
    }
};

} // namespace

class TestClsSyncPTLezers : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    void articles_data();
    void articles();
    void articleGroups_data();
    void articleGroups();
    void emptyTypesReadNothing();
    void noRowsIsAnAnswer();
    void callersListIsFilledAndKept();
    void sourceThatDoesNotOpen();
    void readErrorAnswersFalse_data();
    void readErrorAnswersFalse();
};

void TestClsSyncPTLezers::articles_data()
{
    QTest::addColumn<bool>("jet");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("versionRow");
    QTest::addColumn<bool>("mirrorsFound");
    QTest::newRow("Jet 3.10 links by ID") << true << 3 << 10 << true << true;
    QTest::newRow("Jet 3.20 links by code") << true << 3 << 20 << true << true;
    QTest::newRow("Jet 4.0 links by code") << true << 4 << 0 << true << true;
    // Without a version the source counts as 0.0, whose links are IDs: codes find nothing.
    QTest::newRow("Jet without version, codes") << true << 3 << 40 << false << false;
    QTest::newRow("SQLite 3.40 links by code") << false << 3 << 40 << true << true;
    // An SQLite source is always joined on the code: IDs find nothing.
    QTest::newRow("SQLite 3.10, IDs") << false << 3 << 10 << true << false;
}

void TestClsSyncPTLezers::articles()
{
    QFETCH(bool, jet);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, versionRow);
    QFETCH(bool, mirrorsFound);
    test::RecordingUiServices ui;
    Source source(jet, major, minor, versionRow);
    fixtures::EventLog log;
    clsSyncPT reader;
    reader.SetOntvanger(&log);
    QVERIFY(reader.InlezenBestandArtikelen(source.path, QStringLiteral("4;8")));
    QVERIFY(ui.errors.isEmpty());
    QVERIFY(reader.ColItemsDistinct());
    // By description; the mirrored article's code as the mirrored article spells it.
    QCOMPARE(
        lines(*reader.ColItemsDistinct(), true),
        (QStringList{QStringLiteral("2|A-2|Alfa|20|") + (mirrorsFound ? QStringLiteral("A-1") : QString()),
                     QStringLiteral("1|A-1|Bravo|10|") + (mirrorsFound ? QStringLiteral("A-2") : QString()),
                     QStringLiteral("3|O'Neil|Charlie|10|")}));
    QCOMPARE(log.hoofdActies, QStringList{QStringLiteral("Openen bron productentabel")});
    QCOMPARE(log.hoofdActiesDone, 1);
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + source.path));
    for (const auto& item : *reader.ColItemsDistinct())
        QVERIFY(!item->Selected && !item->Required && item->GroepOmschrijving.isEmpty());
}

void TestClsSyncPTLezers::articleGroups_data()
{
    QTest::addColumn<bool>("jet");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("groups");
    const QStringList vierEnAcht{QStringLiteral("20|G2|Airco"), QStringLiteral("10|G1|Deuren")};
    QTest::newRow("Jet, types 4 and 8") << true << QStringLiteral("4;8") << vierEnAcht;
    QTest::newRow("SQLite, types 4 and 8") << false << QStringLiteral("4;8") << vierEnAcht;
    QTest::newRow("SQLite, type 9") << false << QStringLiteral("9")
                                    << QStringList{QStringLiteral("40|G4|Ramen")};
    QTest::newRow("Jet, a type without articles") << true << QStringLiteral("5") << QStringList();
}

void TestClsSyncPTLezers::articleGroups()
{
    // The groups used by the articles of the types, each once, by description; on SQLite sources as well.
    QFETCH(bool, jet);
    QFETCH(QString, types);
    QFETCH(QStringList, groups);
    test::RecordingUiServices ui;
    Source source(jet, 3, 40);
    fixtures::EventLog log;
    clsSyncPT reader;
    reader.SetOntvanger(&log);
    QVERIFY(reader.InlezenBestandArtikelGroepen(source.path, QStringLiteral("True"), types));
    QVERIFY(ui.errors.isEmpty());
    QCOMPARE(lines(*reader.ColItemsDistinct(), false), groups);
    QCOMPARE(log.hoofdActiesDone, 1);
}

void TestClsSyncPTLezers::emptyTypesReadNothing()
{
    Source source(false, 3, 40);
    auto list = std::make_shared<ItemCollection>();
    fixtures::EventLog log;
    clsSyncPT reader;
    reader.SetOntvanger(&log);
    reader.SetColItemsDistinct(list);
    QVERIFY(!reader.InlezenBestandArtikelen(source.path, QString()));
    QVERIFY(!reader.InlezenBestandArtikelGroepen(source.path, QStringLiteral("True"), QString()));
    QVERIFY(list->isEmpty());
    QVERIFY(log.hoofdActies.isEmpty() && log.lines.isEmpty() && log.hoofdActiesDone == 0);
}

void TestClsSyncPTLezers::noRowsIsAnAnswer()
{
    // A source without articles of the types: True, and the list is there, empty.
    Source source(true, 3, 40);
    clsSyncPT reader;
    QVERIFY(reader.InlezenBestandArtikelen(source.path, QStringLiteral("5;6")));
    QVERIFY(reader.ColItemsDistinct());
    QVERIFY(reader.ColItemsDistinct()->isEmpty());
}

void TestClsSyncPTLezers::callersListIsFilledAndKept()
{
    // The reader appends to the caller's own list; a second reading appends again.
    Source source(false, 3, 40);
    const ItemCollection before = fixtures::items({QStringLiteral("EERDER")});
    auto list = std::make_shared<ItemCollection>(before);
    clsSyncPT reader;
    reader.SetColItemsDistinct(list);
    QVERIFY(reader.InlezenBestandArtikelen(source.path, QStringLiteral("9")));
    QCOMPARE(reader.ColItemsDistinct(), list);
    QVERIFY(reader.InlezenBestandArtikelen(source.path, QStringLiteral("9")));
    QCOMPARE(list->size(), 3);
    QCOMPARE(list->first(), before.first());
    QCOMPARE(line(*list->at(1), true), QStringLiteral("4|X-9|Delta|40|"));
    QCOMPARE(line(*list->at(2), true), line(*list->at(1), true));
}

void TestClsSyncPTLezers::sourceThatDoesNotOpen()
{
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    auto list = std::make_shared<ItemCollection>();
    fixtures::EventLog log;
    clsSyncPT reader;
    reader.SetOntvanger(&log);
    reader.SetColItemsDistinct(list);
    QVERIFY(!reader.InlezenBestandArtikelen(env.path(QStringLiteral("weg.db")), QStringLiteral("4")));
    QVERIFY(!reader.InlezenBestandArtikelGroepen(env.path(QStringLiteral("weg.db")), QString(),
                                                 QStringLiteral("4")));
    QVERIFY(list->isEmpty());
    // The main step still ends, once per reading.
    QCOMPARE(log.hoofdActiesDone, 2);
}

void TestClsSyncPTLezers::readErrorAnswersFalse_data()
{
    QTest::addColumn<bool>("jet");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("types");
    QTest::addColumn<bool>("groups");
    QTest::addColumn<QString>("shown"); // what the error window says
    QTest::addColumn<int>("kept");
    QTest::newRow("article without code, SQLite")
        << false << QStringLiteral("UPDATE Article SET Code = NULL WHERE ID = 3") << QStringLiteral("4;8")
        << false << QStringLiteral("Procedure = ArtikelenDistinctSQLite") << 2;
    QTest::newRow("article without group, Jet")
        << true << QStringLiteral("UPDATE Article SET fkGroup = NULL WHERE ID = 2") << QStringLiteral("4")
        << false << QStringLiteral("Procedure = ArtikelenDistinctJET") << 0;
    QTest::newRow("no group table") << false << QStringLiteral("DROP TABLE ArtGroup") << QStringLiteral("4")
                                    << true << QStringLiteral("no such table: ArtGroup") << 0;
    QTest::newRow("a type that is no number") << true << QString() << QStringLiteral("4;1) OR (1=1") << false
                                              << QStringLiteral("Procedure = ArtikelenDistinctJET") << 0;
}

void TestClsSyncPTLezers::readErrorAnswersFalse()
{
    // A list read in part is never shown as complete: the reader answers False after the error window.
    QFETCH(bool, jet);
    QFETCH(QString, damage);
    QFETCH(QString, types);
    QFETCH(bool, groups);
    QFETCH(QString, shown);
    QFETCH(int, kept);
    test::RecordingUiServices ui;
    Source source(jet, 3, 40);
    if (!damage.isEmpty())
        fixtures::FixtureDb(source.file).exec(damage);
    clsSyncPT reader;
    const bool answer = groups ? reader.InlezenBestandArtikelGroepen(source.path, QString(), types)
                               : reader.InlezenBestandArtikelen(source.path, types);
    QVERIFY(!answer);
    QCOMPARE(ui.errors.size(), 1);
    const QString window = ui.errors.first().message + QLatin1Char('\n') + ui.errors.first().details;
    QVERIFY2(window.contains(shown), qPrintable(window));
    // What was read before the error stays in the list.
    QCOMPARE(reader.ColItemsDistinct() ? reader.ColItemsDistinct()->size() : 0, kept);
}

QTEST_GUILESS_MAIN(TestClsSyncPTLezers)
#include "test_clssyncpt_lezers.moc"
