// The product-table synchronisation on product tables written here by hand
// from the column lists of the product table (not by the fixture builder):
// codes that differ only in the case of their letters (ASCII and beyond),
// price rows that must end equal to the source's (never doubled), databases
// that do not open, chosen types without articles, and a second identical run
// that changes nothing. The target file never learns of the program's
// collation of codes.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "sync/clssyncpt.h"

#include <QFile>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;

namespace {

// A product table as a design product of version 3.40 keeps it (mirrored articles by code), with an
// index on the article code and the price rows' article.
const char* const kProductTable[] = {
    "CREATE TABLE SysDBInfo (AppType VARCHAR(50), DBTYPE VARCHAR(50), VerMajor INTEGER, VerMinor INTEGER)",
    "CREATE TABLE Supplier (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(50), Description "
    "VARCHAR(255))",
    "CREATE TABLE ArtGroup (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(50), Description "
    "VARCHAR(255), OrderNr INTEGER, fkBitmap INTEGER, fkPriceCorrection INTEGER, fkTimeCorrection INTEGER)",
    "CREATE TABLE CalculationGroup (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(50), Description "
    "VARCHAR(255), OrderNr INTEGER)",
    "CREATE TABLE ArtType (ID INTEGER PRIMARY KEY, Type VARCHAR(50), Description VARCHAR(255))",
    "CREATE TABLE Article (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code VARCHAR(50) NOT NULL, Description "
    "VARCHAR(255), fkType INTEGER, fkGroup INTEGER, fkCalcGroup INTEGER, fkSupplier INTEGER, "
    "fkMirroredArticle VARCHAR(50), OrderCode VARCHAR(50), PriceOrder DOUBLE, PriceUnit DOUBLE, "
    "fkPriceCorrection INTEGER, fkRefCombie1 INTEGER, fkRefCombie2 INTEGER, fkRefCombie3 INTEGER, "
    "fkCentralPriceTable INTEGER)",
    "CREATE UNIQUE INDEX Article_Code ON Article (Code)",
    "CREATE TABLE PriceData1D (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkArticle INTEGER NOT NULL, W INTEGER, "
    "Price DOUBLE)",
    "CREATE INDEX PriceData1D_fkArticle ON PriceData1D (fkArticle)",
    "CREATE TABLE PriceData2D (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkArticle INTEGER NOT NULL, W INTEGER, "
    "H INTEGER, Price DOUBLE)",
    "CREATE INDEX PriceData2D_fkArticle ON PriceData2D (fkArticle)",
    "INSERT INTO SysDBInfo VALUES ('VELMORA', 'PT', 3, 40)",
    "INSERT INTO ArtType VALUES (1, 'T1', 'een'), (4, 'T4', 'm2'), (5, 'T5', 'vijf'), (8, 'T8', 'm1'), "
    "(9, 'T9', 'm2 spiegel')",
};

// A hand-written product table in a file.
class ProductTable
{
public:
    explicit ProductTable(const QString& path) : path(path)
    {
        SqliteOpenOptions options;
        options.create = true;
        const std::shared_ptr<SqliteBackend> db = SqliteBackend::open(path, options);
        for (const char* statement : kProductTable)
            db->execute(QString::fromUtf8(statement));
        db->close();
        m_db = std::make_unique<fixtures::FixtureDb>(path);
    }

    qint64 row(const QString& table, const QString& code, const QVariantMap& extra = {})
    {
        QVariantMap values = extra;
        values[QStringLiteral("Code")] = code;
        return m_db->insert(table, values);
    }
    qint64 article(const QString& code, int type, qint64 group, qint64 supplier,
                   const QVariantMap& extra = {})
    {
        QVariantMap values = extra;
        values[QStringLiteral("Description")] = QStringLiteral("Artikel ") + code;
        values[QStringLiteral("fkType")] = type;
        values[QStringLiteral("fkGroup")] = group;
        values[QStringLiteral("fkSupplier")] = supplier;
        values[QStringLiteral("OrderCode")] = QStringLiteral("B-") + code;
        return row(QStringLiteral("Article"), code, values);
    }
    void price1(qint64 article, int w, double price)
    {
        m_db->insert(QStringLiteral("PriceData1D"), {{QStringLiteral("fkArticle"), article},
                                                     {QStringLiteral("W"), w},
                                                     {QStringLiteral("Price"), price}});
    }
    void price2(qint64 article, int w, int h, double price)
    {
        m_db->insert(QStringLiteral("PriceData2D"), {{QStringLiteral("fkArticle"), article},
                                                     {QStringLiteral("W"), w},
                                                     {QStringLiteral("H"), h},
                                                     {QStringLiteral("Price"), price}});
    }
    QVariant value(const QString& sql, const QVariantList& params = {}) { return m_db->scalar(sql, params); }
    void exec(const QString& sql, const QVariantList& params = {}) { m_db->exec(sql, params); }

    // The price rows of an article by its code, as "W,H=price" (1D: "W=price"), sorted.
    QStringList prices(const QString& code, bool twoD)
    {
        const QString sql =
            twoD ? QStringLiteral(
                       "SELECT p.W || ',' || p.H || '=' || p.Price FROM PriceData2D p JOIN Article a "
                       "ON a.ID = p.fkArticle WHERE a.Code = ? ORDER BY 1")
                 : QStringLiteral("SELECT p.W || '=' || p.Price FROM PriceData1D p JOIN Article a ON a.ID = "
                                  "p.fkArticle WHERE a.Code = ? ORDER BY 1");
        QStringList rows;
        const RecordsetPtr rs = m_db->connection()->openRecordset(sql, {code});
        for (; !rs->eof(); rs->moveNext())
            rows << rs->value(0).toString();
        return rows;
    }

    // Everything a run may change, row by row; price rows by their article's code (their own IDs are
    // new after every replacement).
    QStringList content()
    {
        QStringList lines;
        const auto dump = [&](const QString& sql) {
            const RecordsetPtr rs = m_db->connection()->openRecordset(sql);
            for (; !rs->eof(); rs->moveNext()) {
                QStringList fields;
                for (int i = 0; i < rs->fieldCount(); ++i)
                    fields << NzString(rs->value(i));
                lines << fields.join(QLatin1Char('|'));
            }
        };
        for (const char* table : {"Supplier", "ArtGroup", "CalculationGroup", "Article"})
            dump(QStringLiteral("SELECT '%1', * FROM %1 ORDER BY ID").arg(QLatin1String(table)));
        dump(QStringLiteral(
            "SELECT '1D', a.Code, p.W, p.Price FROM PriceData1D p LEFT JOIN Article a ON a.ID = "
            "p.fkArticle ORDER BY 2, 3, 4"));
        dump(
            QStringLiteral("SELECT '2D', a.Code, p.W, p.H, p.Price FROM PriceData2D p LEFT JOIN Article a ON "
                           "a.ID = p.fkArticle ORDER BY 2, 3, 4, 5"));
        return lines;
    }

    void close() { m_db.reset(); }

    QString path;

private:
    std::unique_ptr<fixtures::FixtureDb> m_db;
};

// A source and a target product table in a folder of the test's own.
struct Files
{
    test::TestEnvironment env;
    ProductTable source{env.path(QStringLiteral("bron.db"))};
    ProductTable target{env.path(QStringLiteral("doel.db"))};
};

void setOptions(bool addNew, bool updatePrices)
{
    auto options = std::make_shared<clsImportOpties>();
    options->ImporterenArtikelen = true;
    options->NieuweArtikelenToevoegen = addNew;
    options->DoorvoerenPrijsWijzigingen = updatePrices;
    globals().gImportOpties = options;
    globals().gColArtikelenGeselecteerd.clear();
}

struct Run
{
    fixtures::EventLog log;
    qint32 errors = 0;
    QStringList errorLines() const { return log.startingWith(QStringLiteral("Error")); }
};

Run sync(const QString& source, const QString& target, const QString& types)
{
    Run run;
    clsSyncPT engine;
    engine.SetOntvanger(&run.log);
    engine.Sync(source, target, {}, true, types);
    run.errors = engine.Fouten();
    return run;
}

// The schema of a file as an SQLite without the program's collation reads it, and its check.
QString plainCheck(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return QStringLiteral("not opened");
    }
    QString result;
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT count(*) FROM sqlite_master WHERE sql LIKE '%JETNOCASE%'";
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) != 0)
        result = QStringLiteral("schema names the collation");
    sqlite3_finalize(statement);
    if (result.isEmpty() &&
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

} // namespace

class TestClsSyncPTCodes : public QObject
{
    Q_OBJECT

private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    void droppedArticleKeepsItsPrices();
    void codesDifferingInCase_data();
    void codesDifferingInCase();
    void databaseThatDoesNotOpenCounts_data();
    void databaseThatDoesNotOpenCounts();
    void typesWithoutArticlesTouchNothing();
    void secondIdenticalRunChangesNothing();
};

void TestClsSyncPTCodes::droppedArticleKeepsItsPrices()
{
    // Prices on, adding off: P2's group is not in the target, so the article pass drops P2 (and puts back
    // the price rows it deleted); the links pass still links P2 to its mirrored article. Its prices must
    // not be copied on top of the old ones.
    setOptions(false, true);
    Files files;
    ProductTable& source = files.source;
    ProductTable& target = files.target;
    const qint64 lev = source.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 g1 = source.row(QStringLiteral("ArtGroup"), QStringLiteral("G1"));
    const qint64 gx = source.row(QStringLiteral("ArtGroup"), QStringLiteral("GX"));
    const qint64 p1 = source.article(QStringLiteral("P1"), 4, g1, lev, {{"fkMirroredArticle", "P2"}});
    const qint64 p2 = source.article(QStringLiteral("P2"), 4, gx, lev, {{"fkMirroredArticle", "P1"}});
    source.price2(p1, 100, 200, 10.5);
    source.price2(p1, 100, 300, 11.5);
    source.price2(p2, 100, 200, 20.5);
    source.price2(p2, 200, 200, 21.5);

    const qint64 dLev = target.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 dG1 = target.row(QStringLiteral("ArtGroup"), QStringLiteral("G1"));
    const qint64 d1 = target.article(QStringLiteral("P1"), 4, dG1, dLev);
    const qint64 d2 = target.article(QStringLiteral("P2"), 4, dG1, dLev);
    target.price2(d1, 1, 1, 99);
    target.price2(d2, 1, 1, 98);
    target.price2(d2, 2, 2, 97);
    target.price2(d2, 3, 3, 96);

    const Run run = sync(source.path, target.path, QStringLiteral("4"));
    QVERIFY2(run.log.fouten.isEmpty(), qPrintable(run.errorLines().join(QLatin1Char('\n'))));
    QCOMPARE(target.prices(QStringLiteral("P1"), true),
             (QStringList{QStringLiteral("100,200=10.5"), QStringLiteral("100,300=11.5")}));
    QCOMPARE(
        target.prices(QStringLiteral("P2"), true),
        (QStringList{QStringLiteral("1,1=98.0"), QStringLiteral("2,2=97.0"), QStringLiteral("3,3=96.0")}));
    QVERIFY(run.log.indexOf(QStringLiteral("Overgeslagen sub onderdeel: fkGroup")) >= 0);
    // P2 itself is as it was: its group and order code.
    QCOMPARE(target.value(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'P2'")).toLongLong(), dG1);
    QCOMPARE(target.value(QStringLiteral("SELECT OrderCode FROM Article WHERE Code = 'P1'")).toString(),
             QStringLiteral("B-P1"));
    QCOMPARE(target.value(QStringLiteral("SELECT count(*) FROM Article")).toInt(), 2);
}

void TestClsSyncPTCodes::codesDifferingInCase_data()
{
    QTest::addColumn<QString>("sourceCode");
    QTest::addColumn<QString>("targetCode");
    QTest::newRow("ASCII") << QStringLiteral("VUL-4010") << QStringLiteral("vul-4010");
    QTest::newRow("beyond ASCII") << QStringLiteral("ÄÖ-Ø1") << QStringLiteral("äö-ø1");
    QTest::newRow("quote") << QStringLiteral("O'NEIL; 2") << QStringLiteral("o'neil; 2");
}

void TestClsSyncPTCodes::codesDifferingInCase()
{
    // The article pass finds the target's article whatever the case of its letters and deletes its price
    // rows; the price rows then follow it: the target ends with exactly the source's rows.
    QFETCH(QString, sourceCode);
    QFETCH(QString, targetCode);
    setOptions(true, true);
    Files files;
    ProductTable& source = files.source;
    ProductTable& target = files.target;
    const qint64 lev = source.row(QStringLiteral("Supplier"), QStringLiteral("Lev"));
    const qint64 group = source.row(QStringLiteral("ArtGroup"), QStringLiteral("grp"));
    const qint64 twoD = source.article(sourceCode, 4, group, lev);
    const qint64 oneD = source.article(sourceCode + QStringLiteral("-M"), 8, group, lev);
    source.price2(twoD, 100, 200, 12.5);
    source.price2(twoD, 100, 300, 13.5);
    source.price1(oneD, 1000, 7.25);
    source.price1(oneD, 2000, 9.75);

    // The target spells the supplier, the group and the articles in the other case.
    const qint64 dLev = target.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 dGroup = target.row(QStringLiteral("ArtGroup"), QStringLiteral("GRP"));
    const qint64 d2 = target.article(targetCode, 4, dGroup, dLev);
    const qint64 d1 = target.article(targetCode + QStringLiteral("-m"), 8, dGroup, dLev);
    target.price2(d2, 1, 1, 99);
    target.price1(d1, 1, 98);

    const Run run = sync(source.path, target.path, QStringLiteral("4;8"));
    QVERIFY2(run.log.fouten.isEmpty(), qPrintable(run.errorLines().join(QLatin1Char('\n'))));
    QCOMPARE(run.errors, 0);
    QCOMPARE(target.value(QStringLiteral("SELECT count(*) FROM Article")).toInt(), 2);
    QCOMPARE(target.value(QStringLiteral("SELECT count(*) FROM Supplier")).toInt(), 1);
    QCOMPARE(target.value(QStringLiteral("SELECT count(*) FROM ArtGroup")).toInt(), 1);
    QCOMPARE(target.prices(targetCode, true),
             (QStringList{QStringLiteral("100,200=12.5"), QStringLiteral("100,300=13.5")}));
    QCOMPARE(target.prices(targetCode + QStringLiteral("-m"), false),
             (QStringList{QStringLiteral("1000=7.25"), QStringLiteral("2000=9.75")}));
    QCOMPARE(target.value(QStringLiteral("SELECT OrderCode FROM Article WHERE ID = ?"), {d2}).toString(),
             QStringLiteral("B-") + sourceCode);
    target.close();
    QCOMPARE(plainCheck(target.path), QStringLiteral("ok"));
}

void TestClsSyncPTCodes::databaseThatDoesNotOpenCounts_data()
{
    QTest::addColumn<QString>("broken");     // "source" or "target"
    QTest::addColumn<QByteArray>("content"); // the file's content; empty: no file at all
    QTest::newRow("source missing") << QStringLiteral("source") << QByteArray();
    QTest::newRow("source is a text file")
        << QStringLiteral("source") << QByteArray("Code;Omschrijving\r\nA;B\r\n");
    QTest::newRow("target missing") << QStringLiteral("target") << QByteArray();
    QTest::newRow("target is a text file") << QStringLiteral("target") << QByteArray("geen database\n");
}

void TestClsSyncPTCodes::databaseThatDoesNotOpenCounts()
{
    QFETCH(QString, broken);
    QFETCH(QByteArray, content);
    setOptions(true, true);
    test::RecordingUiServices ui;
    test::TestEnvironment env;
    ProductTable good(env.path(QStringLiteral("goed.db")));
    good.article(QStringLiteral("A"), 4, 0, 0);
    good.close();
    const QString bad = env.path(QStringLiteral("kapot.db"));
    if (!content.isEmpty()) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const bool sourceBroken = broken == QLatin1String("source");
    const QByteArray before = [&] {
        QFile file(good.path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    const Run run = sync(sourceBroken ? bad : good.path, sourceBroken ? good.path : bad, QStringLiteral("4"));
    QCOMPARE(run.log.fouten, QList<qint32>{1});
    QCOMPARE(run.errors, 1);
    QVERIFY(!ui.errors.isEmpty() || !ui.messages.isEmpty()); // the user has been told why
    QVERIFY(!run.log.hoofdActies.contains(QStringLiteral("Overzetten Artikelen")));
    QFile file(good.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestClsSyncPTCodes::typesWithoutArticlesTouchNothing()
{
    // Type 5 holds no source article and nothing is selected: that is no article at all, never "every
    // article" (the links pass would otherwise rewrite the links of types 1, 8 and 9).
    setOptions(true, true);
    Files files;
    ProductTable& source = files.source;
    ProductTable& target = files.target;
    const qint64 lev = source.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 group = source.row(QStringLiteral("ArtGroup"), QStringLiteral("G"));
    for (const auto& [code, type, mirror] : std::initializer_list<std::tuple<const char*, int, const char*>>{
             {"T1", 1, "T8"}, {"T8", 8, "T9"}, {"T9", 9, "T1"}}) {
        const qint64 id = source.article(QString::fromUtf8(code), type, group, lev,
                                         {{"fkMirroredArticle", QString::fromUtf8(mirror)}});
        source.price1(id, 10, 1.5);
    }
    const qint64 dLev = target.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 dGroup = target.row(QStringLiteral("ArtGroup"), QStringLiteral("G"));
    for (const auto& [code, type] :
         std::initializer_list<std::pair<const char*, int>>{{"T1", 1}, {"T8", 8}, {"T9", 9}})
        target.article(QString::fromUtf8(code), type, dGroup, dLev, {{"fkMirroredArticle", "EIGEN"}});
    const QStringList before = target.content();

    const Run run = sync(source.path, target.path, QStringLiteral("5"));
    QVERIFY2(run.log.fouten.isEmpty(), qPrintable(run.errorLines().join(QLatin1Char('\n'))));
    QCOMPARE(target.content(), before);
    QVERIFY(run.log.startingWith(QStringLiteral("Bestaand onderdeel : T")).isEmpty());
    QCOMPARE(run.log.hoofdActies.count(QStringLiteral("Overzetten Artikelen")), 1);
}

void TestClsSyncPTCodes::secondIdenticalRunChangesNothing()
{
    setOptions(true, true);
    Files files;
    ProductTable& source = files.source;
    ProductTable& target = files.target;
    const qint64 lev = source.row(QStringLiteral("Supplier"), QStringLiteral("LEV"));
    const qint64 g1 = source.row(QStringLiteral("ArtGroup"), QStringLiteral("G1"), {{"OrderNr", 3}});
    const qint64 g2 = source.row(QStringLiteral("ArtGroup"), QStringLiteral("Ä-Groep"), {{"OrderNr", 4}});
    const qint64 k = source.row(QStringLiteral("CalculationGroup"), QStringLiteral("K"));
    const qint64 a =
        source.article(QStringLiteral("A-1"), 4, g1, lev, {{"fkMirroredArticle", "a-2"}, {"fkCalcGroup", k}});
    const qint64 b = source.article(QStringLiteral("A-2"), 9, g2, lev, {{"fkMirroredArticle", "A-1"}});
    const qint64 c = source.article(QStringLiteral("Öl 3"), 8, g2, lev);
    source.price2(a, 10, 20, 1.25);
    source.price2(b, 10, 20, 2.25);
    source.price2(b, 20, 20, 2.5);
    source.price1(c, 1000, 3.75);
    // The target holds one of them already, in other letters, with old prices.
    const qint64 old = target.article(QStringLiteral("öL 3"), 8, 0, 0);
    target.price1(old, 1, 1);

    const Run first = sync(source.path, target.path, QStringLiteral("4;8;9"));
    QVERIFY2(first.log.fouten.isEmpty(), qPrintable(first.errorLines().join(QLatin1Char('\n'))));
    const QStringList afterFirst = target.content();
    QCOMPARE(target.prices(QStringLiteral("öL 3"), false), QStringList{QStringLiteral("1000=3.75")});
    QCOMPARE(target.prices(QStringLiteral("A-2"), true),
             (QStringList{QStringLiteral("10,20=2.25"), QStringLiteral("20,20=2.5")}));
    // The mirrored link found its article by code, whatever the case ("a-2"), and holds the target's code
    // (the link column of this layout is a code).
    QCOMPARE(
        target.value(QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'A-1'")).toString(),
        QStringLiteral("A-2"));

    const Run second = sync(source.path, target.path, QStringLiteral("4;8;9"));
    QVERIFY2(second.log.fouten.isEmpty(), qPrintable(second.errorLines().join(QLatin1Char('\n'))));
    QCOMPARE(target.content(), afterFirst);
    QVERIFY(second.log.startingWith(QStringLiteral("Nieuw onderdeel : ")).isEmpty());
    target.close();
    QCOMPARE(plainCheck(target.path), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(TestClsSyncPTCodes)
#include "test_clssyncpt_codes.moc"
