#include "start/errors.h"
#include "json/cstringbuilder.h"

#include <QTest>

#include <functional>

using supplink::AppError;
using supplink::cStringBuilder;

namespace {

cStringBuilder holding(const QString& text)
{
    cStringBuilder b;
    b.Append(text);
    return b;
}

int errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestStringBuilder : public QObject
{
    Q_OBJECT

private slots:
    void newBufferIsEmpty()
    {
        cStringBuilder b;
        QCOMPARE(b.Length(), 0);
        QCOMPARE(b.Capacity(), 0);
        QCOMPARE(b.ChunkSize(), 8192);
        QCOMPARE(b.toString(), QString());
    }

    void growthIsInWholeChunks_data()
    {
        QTest::addColumn<int>("chunk"); // 0: default
        QTest::addColumn<int>("appended");
        QTest::addColumn<int>("capacity");
        QTest::newRow("one character") << 0 << 1 << 8192;
        QTest::newRow("exactly one chunk") << 0 << 8192 << 8192;
        QTest::newRow("one past a chunk") << 0 << 8193 << 16384;
        QTest::newRow("20000 characters in one growth") << 0 << 20000 << 24576;
        QTest::newRow("empty text") << 0 << 0 << 0;
        QTest::newRow("chunk of 100, 150 characters") << 100 << 150 << 200;
    }
    void growthIsInWholeChunks()
    {
        QFETCH(int, chunk);
        QFETCH(int, appended);
        QFETCH(int, capacity);
        cStringBuilder b;
        if (chunk > 0)
            b.ChunkSize(chunk);
        b.Append(QString(appended, QLatin1Char('x')));
        QCOMPARE(b.Capacity(), capacity);
        QCOMPARE(b.Length(), appended);
    }

    void manySmallAppendsKeepTheText()
    {
        cStringBuilder b;
        b.ChunkSize(3);
        QString expected;
        for (int i = 0; i < 1000; ++i) {
            const QString piece = QString::number(i);
            b.Append(piece);
            expected += piece;
        }
        QCOMPARE(b.toString(), expected);
        QCOMPARE(b.Capacity() % 3, 0);
        QVERIFY(b.Capacity() >= b.Length() && b.Capacity() - b.Length() < 3);
    }

    void insert_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result"); // empty: error 9
        QTest::newRow("front") << 0 << "ab"
                               << "abcd";
        QTest::newRow("end") << 2 << "x"
                             << "cdx";
        QTest::newRow("middle") << 1 << "x"
                                << "cxd";
        QTest::newRow("past the end") << 3 << "x"
                                      << "";
        QTest::newRow("negative") << -1 << "x"
                                  << "";
    }
    void insert()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, result);
        cStringBuilder b = holding(QStringLiteral("cd"));
        const int error = errorNumberOf([&] { b.Insert(index, text); });
        if (result.isEmpty()) {
            QCOMPARE(error, 9);
            QCOMPARE(b.toString(), QStringLiteral("cd"));
        } else {
            QCOMPARE(error, 0);
            QCOMPARE(b.toString(), result);
        }
    }

    void remove_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("result"); // empty: error 9
        QTest::newRow("two from index 1") << 1 << 2 << "ad";
        QTest::newRow("runs past the end") << 3 << 2 << "";
        QTest::newRow("nothing at the end") << 4 << 0 << "abcd";
        QTest::newRow("index past the end") << 5 << 0 << "";
        QTest::newRow("negative count") << 1 << -1 << "";
    }
    void remove()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(QString, result);
        cStringBuilder b = holding(QStringLiteral("abcd"));
        const int capacity = b.Capacity();
        const int error = errorNumberOf([&] { b.Remove(index, count); });
        QCOMPARE(b.Capacity(), capacity);
        if (result.isEmpty()) {
            QCOMPARE(error, 9);
            QCOMPARE(b.toString(), QStringLiteral("abcd"));
        } else {
            QCOMPARE(error, 0);
            QCOMPARE(b.toString(), result);
        }
    }

    void heapMinimizeKeepsOneChunk()
    {
        cStringBuilder b;
        b.Append(QString(20000, QLatin1Char('x')));
        QCOMPARE(b.Capacity(), 24576);
        b.Remove(10, 19990);
        b.HeapMinimize();
        QCOMPARE(b.Capacity(), 8192);
        QCOMPARE(b.Length(), 10);
    }

    void theString()
    {
        cStringBuilder b = holding(QStringLiteral("abcdef"));
        b.TheString(u"xyz");
        QCOMPARE(b.toString(), QStringLiteral("xyz"));
        QCOMPARE(b.Capacity(), 8192);
        b.TheString(u"");
        QCOMPARE(b.Capacity(), 0);
        QCOMPARE(b.Length(), 0);
        b.TheString(QString(9000, QLatin1Char('y')));
        QCOMPARE(b.Capacity(), 16384);
    }

    void clearKeepsTheChunkSize()
    {
        cStringBuilder b;
        b.ChunkSize(10);
        b.Append(u"abc");
        b.Clear();
        QCOMPARE(b.Capacity(), 0);
        QCOMPARE(b.ChunkSize(), 10);
        QCOMPARE(b.toString(), QString());
    }

    void appendNL()
    {
        cStringBuilder b;
        b.AppendNL(u"x");
        QCOMPARE(b.Length(), 3);
        QCOMPARE(b.toString(), QStringLiteral("x\r\n"));
    }

    void badChunkSizeIsRefused()
    {
        cStringBuilder b;
        QCOMPARE(errorNumberOf([&] { b.ChunkSize(0); }), 5);
        QCOMPARE(errorNumberOf([&] { b.ChunkSize(-4); }), 5);
        QCOMPARE(b.ChunkSize(), 8192);
    }

    void find_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("textCompare");
        QTest::addColumn<int>("position");
        // The buffer holds "abcabc" with spare room behind it.
        QTest::newRow("first") << "bc" << 1 << false << 2;
        QTest::newRow("from a later start") << "bc" << 3 << false << 5;
        QTest::newRow("start below 1") << "a" << -5 << false << 1;
        QTest::newRow("last character") << "c" << 4 << false << 6;
        QTest::newRow("runs into the spare room") << "c " << 1 << false << 0;
        QTest::newRow("spare room only") << " " << 1 << false << 0;
        QTest::newRow("binary is exact") << "BC" << 1 << false << 0;
        QTest::newRow("text ignores case") << "BC" << 1 << true << 2;
        QTest::newRow("start past the text") << "a" << 7 << false << 0;
        QTest::newRow("empty needle") << "" << 1 << false << 0;
    }
    void find()
    {
        QFETCH(QString, needle);
        QFETCH(int, start);
        QFETCH(bool, textCompare);
        QFETCH(int, position);
        cStringBuilder b = holding(QStringLiteral("abcabc"));
        const auto mode =
            textCompare ? cStringBuilder::CompareMode::Text : cStringBuilder::CompareMode::Binary;
        QCOMPARE(b.Find(needle, start, mode), position);
    }
};

QTEST_GUILESS_MAIN(TestStringBuilder)
#include "test_stringbuilder.moc"
