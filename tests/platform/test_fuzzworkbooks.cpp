// Workbooks that made a reader misbehave under the fuzz target fuzz_xls
// (fuzz/), each read as the program reads it: the read gives its result or the
// Dutch message for a damaged workbook, never a crash, and leaves no mirror
// behind when it fails. Under the sanitizer build (scripts/test.sh) a memory
// error of the reader, also in a child process, fails the test.
//
// data/fuzz-xls-*      .xls files, made from data/sample.xls by fuzz_xls

#include "platform/workbook.h"

#include "mirrorquery.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QTest>

using namespace supplink;
using supplink::test::filesIn;
using supplink::test::SqliteFile;

class FuzzWorkbooksTest : public QObject
{
    Q_OBJECT

private slots:
    void workbooks_data()
    {
        QTest::addColumn<QString>("name");
        // Opening it, freexl handed iconv a text longer than its stack buffer (a stack over-read).
        QTest::newRow("xls iconv over-read") << QStringLiteral("fuzz-xls-iconv-overread.xls");
    }

    void workbooks()
    {
        QFETCH(QString, name);
        const QString original = QFINDTESTDATA(QStringLiteral("data/") + name);
        QVERIFY(!original.isEmpty());
        test::TestEnvironment env;
        const QString source = env.path(QStringLiteral("prijzen.xls"));
        QVERIFY(QFile::copy(original, source));

        const WorkbookRead read = readWorkbookFile(source);
        if (read.problem == WorkbookProblem::None)
            QVERIFY(!read.content.sheets.isEmpty());

        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(source, target, true);
        if (result.ok) {
            QVERIFY(SqliteFile(target).isOpen());
            QCOMPARE(filesIn(env.root()),
                     (QStringList{QStringLiteral("mirror.sqlite"), QStringLiteral("prijzen.xls")}));
        } else {
            QVERIFY2(result.error.contains(QStringLiteral("prijzen.xls")), qPrintable(result.error));
            QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("prijzen.xls")});
        }
    }
};

QTEST_GUILESS_MAIN(FuzzWorkbooksTest)
#include "test_fuzzworkbooks.moc"
