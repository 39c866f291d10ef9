// How codes compare: without regard to case for every letter, the same in the
// program (folding, comparing, hashing) and in SQLite (the collation that
// every connection registers), so that a code found in one step is found in
// the next.

#include "platform/codecompare.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <sqlite3.h>

using namespace supplink;

namespace {

// An SQLite database in memory with the collation registered.
class Memory
{
public:
    Memory()
    {
        sqlite3_open(":memory:", &m_db);
        m_registered = registerCodeCollation(m_db);
    }
    ~Memory() { sqlite3_close(m_db); }
    int registered() const { return m_registered; }

    // The first column of the first row as an integer; -999 when the statement fails.
    int number(const QString& sql, const QStringList& texts = {})
    {
        sqlite3_stmt* statement = nullptr;
        int result = -999;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), -1, &statement, nullptr) == SQLITE_OK) {
            for (int i = 0; i < texts.size(); ++i) {
                const QByteArray value = texts.at(i).toUtf8();
                sqlite3_bind_text(statement, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            }
            if (sqlite3_step(statement) == SQLITE_ROW)
                result = sqlite3_column_int(statement, 0);
        }
        sqlite3_finalize(statement);
        return result;
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    int m_registered = -1;
};

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

class TestCodeCompare : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("ASCII case") << QStringLiteral("VUL-4010") << QStringLiteral("vul-4010") << true;
        QTest::newRow("umlauts") << QStringLiteral("ÄÖ") << QStringLiteral("äö") << true;
        QTest::newRow("accents") << QStringLiteral("ÉÉN") << QStringLiteral("één") << true;
        QTest::newRow("accent is no case") << QStringLiteral("een") << QStringLiteral("één") << false;
        QTest::newRow("Greek final sigma") << QStringLiteral("ΟΔΟΣ") << QStringLiteral("οδος") << true;
        QTest::newRow("Kelvin sign") << QStringLiteral("\u212A1") << QStringLiteral("k1") << true;
        QTest::newRow("beyond the BMP")
            << QStringLiteral("\U00010400x") << QStringLiteral("\U00010428X") << true;
        QTest::newRow("sharp s is one letter")
            << QStringLiteral("STRASSE") << QStringLiteral("straße") << false;
        QTest::newRow("quote and blank") << QStringLiteral("O'Neil 1") << QStringLiteral("o'NEIL 1") << true;
        QTest::newRow("longer") << QStringLiteral("ab") << QStringLiteral("ABC") << false;
        QTest::newRow("empty") << QString() << QStringLiteral("") << true;
    }

    void pairs()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, equal);
        QCOMPARE(codesEqual(a, b), equal);
        QCOMPARE(compareCodes(a, b) == 0, equal);
        QCOMPARE(sign(compareCodes(a, b)), -sign(compareCodes(b, a)));
        QCOMPARE(foldCode(a) == foldCode(b), equal);
        if (equal)
            QCOMPARE(codeHash(a), codeHash(b));

        // SQLite, in a statement with the collation, compares the same way.
        Memory db;
        QCOMPARE(db.registered(), SQLITE_OK);
        QCOMPARE(db.number(QStringLiteral("SELECT ?1 = ?2 COLLATE JETNOCASE"), {a, b}), equal ? 1 : 0);
        QCOMPARE(db.number(QStringLiteral("SELECT CASE WHEN ?1 < ?2 COLLATE JETNOCASE THEN -1 WHEN ?1 > ?2 "
                                          "COLLATE JETNOCASE THEN 1 ELSE 0 END"),
                           {a, b}),
                 sign(compareCodes(a, b)));
    }

    void orderAgreesWithSqlite()
    {
        // Random codes of letters from several scripts, sorted by SQLite with the collation and by the
        // program: the same order, ties included.
        QRandomGenerator random(16);
        QStringList letters;
        for (const QString& letter : {QStringLiteral("aAbBzZäÄöÖßéÉøØσΣςkK-' 09"), QStringLiteral("\u212A")})
            for (const QChar c : letter)
                letters << QString(c);
        letters << QStringLiteral("\U00010400") << QStringLiteral("\U00010428");
        QList<QString> codes;
        for (int i = 0; i < 400; ++i) {
            QString code;
            const int length = random.bounded(0, 6);
            for (int j = 0; j < length; ++j)
                code += letters.at(random.bounded(int(letters.size())));
            codes << code;
        }
        Memory db;
        QCOMPARE(
            sqlite3_exec(db.handle(), "CREATE TABLE c (n INTEGER, code TEXT)", nullptr, nullptr, nullptr),
            SQLITE_OK);
        for (int i = 0; i < codes.size(); ++i)
            db.number(QStringLiteral("INSERT INTO c VALUES (%1, ?1)").arg(i), {codes.at(i)});
        QList<int> bySqlite;
        sqlite3_stmt* statement = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db.handle(), "SELECT n FROM c ORDER BY code COLLATE JETNOCASE, n", -1,
                                    &statement, nullptr),
                 SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW)
            bySqlite << sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);

        QList<int> byProgram;
        for (int i = 0; i < codes.size(); ++i)
            byProgram << i;
        std::stable_sort(byProgram.begin(), byProgram.end(),
                         [&](int x, int y) { return compareCodes(codes.at(x), codes.at(y)) < 0; });
        QCOMPARE(bySqlite, byProgram);
    }

    void collationIndexFindsEveryCase()
    {
        // An index of the collation (as a private mirror declares its text columns) finds the code in
        // any case, and a unique one refuses the same code in other letters.
        Memory db;
        QCOMPARE(
            sqlite3_exec(db.handle(),
                         "CREATE TABLE t (code TEXT COLLATE JETNOCASE); CREATE UNIQUE INDEX u ON t (code);"
                         "INSERT INTO t VALUES ('ÄÖ-1'), ('abc');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        QCOMPARE(
            db.number(QStringLiteral("SELECT count(*) FROM t WHERE code = ?1"), {QStringLiteral("äö-1")}), 1);
        QCOMPARE(db.number(QStringLiteral("SELECT count(*) FROM t WHERE code = 'ABC'")), 1);
        QVERIFY(sqlite3_exec(db.handle(), "INSERT INTO t VALUES ('ABC')", nullptr, nullptr, nullptr) !=
                SQLITE_OK);
    }

    void brokenTextComparesAlike()
    {
        // Bytes that are no UTF-8 still compare the same way every time (and equal themselves).
        Memory db;
        QCOMPARE(db.number(QStringLiteral("SELECT CAST(x'41FF42' AS TEXT) = CAST(x'61FF62' AS TEXT) COLLATE "
                                          "JETNOCASE")),
                 1);
        QCOMPARE(
            db.number(QStringLiteral("SELECT CAST(x'C3' AS TEXT) < CAST(x'C4' AS TEXT) COLLATE JETNOCASE")),
            1);
        QCOMPARE(db.number(QStringLiteral("SELECT CAST(x'E282' AS TEXT) = 'x' COLLATE JETNOCASE")), 0);
    }
};

QTEST_GUILESS_MAIN(TestCodeCompare)
#include "test_codecompare.moc"
