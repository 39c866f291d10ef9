// Excel workbooks through the connection object: .xlsx files written here
// with libxlsxwriter and the .xls fixture of the reader tests, with and
// without a header row, the table list the source inspection reads, writes
// refused, and broken files that fail quietly with a Dutch reason.

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/mirrorbackend.h"
#include "database/recordset.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <xlsxwriter.h>

#include <functional>

using namespace supplink;

namespace {

bool writeXlsx(const QString& path, const std::function<void(lxw_workbook*)>& fill)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return false;
    fill(book);
    return workbook_close(book) == LXW_NO_ERROR;
}

// Two sheets, the later one first in the workbook: "Zomer" (one row) and "Artikelen" (a header row and
// three rows of a text, a number, a date and a Boolean).
QString priceBook(const test::TestEnvironment& env)
{
    const QString path = env.path(QStringLiteral("prijzen.xlsx"));
    const bool ok = writeXlsx(path, [](lxw_workbook* book) {
        lxw_format* date = workbook_add_format(book);
        format_set_num_format(date, "dd-mm-yyyy");
        lxw_worksheet* summer = workbook_add_worksheet(book, "Zomer");
        worksheet_write_string(summer, 0, 0, "Seizoen", nullptr);
        worksheet_write_string(summer, 1, 0, "zomer", nullptr);
        lxw_worksheet* articles = workbook_add_worksheet(book, "Artikelen");
        const char* headings[] = {"Code", "Prijs", "Datum", "Actief"};
        for (int c = 0; c < 4; ++c)
            worksheet_write_string(articles, 0, lxw_col_t(c), headings[c], nullptr);
        const char* codes[] = {"K100", "k200", "K'300"};
        for (int r = 1; r <= 3; ++r) {
            worksheet_write_string(articles, lxw_row_t(r), 0, codes[r - 1], nullptr);
            worksheet_write_number(articles, lxw_row_t(r), 1, 10.5 * r, nullptr);
            lxw_datetime when{2021, 3, r, 0, 0, 0};
            worksheet_write_datetime(articles, lxw_row_t(r), 2, &when, date);
            worksheet_write_boolean(articles, lxw_row_t(r), 3, r % 2, nullptr);
        }
    });
    return ok ? path : QString();
}

QStringList mirrorsIn(const test::TestEnvironment& env)
{
    return QDir(env.path(QStringLiteral("tmp"))).entryList(QDir::Files);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestExcelBackend : public QObject
{
    Q_OBJECT

private slots:
    void xlsxWithHeaderRow();
    void xlsxWithoutHeaderRow();
    void tableListAndFirstTable();
    void xlsFixture();
    void checkLeavesTheConnectionOpen();
    void writesAreRefused();
    void mirrorIsDeletedAtClose();
    void brokenWorkbooks_data();
    void brokenWorkbooks();
};

void TestExcelBackend::xlsxWithHeaderRow()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    QVERIFY(!book.isEmpty());
    clsConnectie cn;
    QVERIFY(cn.MakenExcelConnectie(book, true));
    QVERIFY(cn.IsJet()); // a workbook is read as the Jet provider did
    QCOMPARE(cn.Connection()->kind(), DatabaseBackend::Kind::Excel);
    QCOMPARE(cn.Connection()->path(), book);

    const RecordsetPtr rows = cn.Execute(QStringLiteral("SELECT * FROM [Artikelen$]"));
    QVERIFY(rows);
    QCOMPARE(rows->recordCount(), 3);
    QCOMPARE(rows->column(0).name, QStringLiteral("Code"));
    QCOMPARE(rows->field(QStringLiteral("code")).type(), adType::VarWChar);
    QCOMPARE(rows->field(QStringLiteral("Prijs")).type(), adType::Double);
    QCOMPARE(rows->field(QStringLiteral("Datum")).type(), adType::Date);
    QCOMPARE(rows->field(QStringLiteral("Actief")).type(), adType::Boolean);
    QCOMPARE(rows->value(QStringLiteral("Code")).toString(), QStringLiteral("K100"));
    QCOMPARE(rows->value(QStringLiteral("Prijs")).toDouble(), 10.5);
    QCOMPARE(rows->value(QStringLiteral("Datum")).toString(), QStringLiteral("2021-03-01 00:00:00"));
    QCOMPARE(rows->value(QStringLiteral("Actief")).toInt(), -1);

    // Text compares without regard to case; the Jet forms work on sheets too.
    QVERIFY(rows->findFirst(QStringLiteral("Code = 'K200'")));
    QCOMPARE(rows->value(QStringLiteral("Prijs")).toDouble(), 21.0);
    const RecordsetPtr top =
        cn.Execute(QStringLiteral("SELECT TOP 1 Code & '-' & Prijs AS x FROM [Artikelen$] "
                                  "WHERE Actief = True ORDER BY Prijs DESC"));
    QCOMPARE(top->value(0).toString(), QStringLiteral("K'300-31.5"));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestExcelBackend::xlsxWithoutHeaderRow()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    clsConnectie cn;
    QVERIFY(cn.MakenExcelConnectie(book, false));
    const RecordsetPtr rows = cn.Execute(QStringLiteral("SELECT * FROM [Artikelen$]"));
    QCOMPARE(rows->recordCount(), 4);
    QCOMPARE(rows->fieldCount(), 4);
    QCOMPARE(rows->column(0).name, QStringLiteral("F1"));
    QCOMPARE(rows->column(3).name, QStringLiteral("F4"));
    QCOMPARE(rows->value(QStringLiteral("F1")).toString(), QStringLiteral("Code")); // the first row is data
    QCOMPARE(rows->value(QStringLiteral("F2")).toString(), QStringLiteral("Prijs"));
}

void TestExcelBackend::tableListAndFirstTable()
{
    // As the source inspection reads a workbook: no header row, the table list, the first table's rows.
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    clsConnectie cn;
    QVERIFY(cn.CheckExcelConnectie(book, false));
    const QStringList tables = cn.Connection()->tableNames();
    QCOMPARE(tables, (QStringList{QStringLiteral("Artikelen$"), QStringLiteral("Zomer$")}));
    const RecordsetPtr rows = cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [") +
                                                             tables.first() + QStringLiteral("]"));
    QCOMPARE(rows->value(0).toString(), QStringLiteral("Code"));
    QVERIFY(!cn.Connection()->tableSchema(QStringLiteral("__supplink_sheets")));
    cn.SluitenConnectie();
}

void TestExcelBackend::xlsFixture()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString fixture = QFINDTESTDATA("../platform/data/sample.xls");
    QVERIFY(!fixture.isEmpty());
    // The reader goes by content: the extension does not matter.
    const QString book = env.path(QStringLiteral("leverancier.XLS"));
    QVERIFY(QFile::copy(fixture, book));
    clsConnectie cn;
    QVERIFY(cn.MakenExcelConnectie(book, true));
    QCOMPARE(cn.Connection()->tableNames(),
             (QStringList{QStringLiteral("Artikelen$"), QStringLiteral("Formules$"), QStringLiteral("Leeg$"),
                          QStringLiteral("Prijzen$")}));
    const RecordsetPtr rows = cn.Execute(QStringLiteral("SELECT * FROM [Artikelen$] ORDER BY Artikel"));
    QCOMPARE(rows->recordCount(), 3);
    QStringList names;
    for (int i = 0; i < rows->fieldCount(); ++i)
        names << rows->column(i).name;
    QCOMPARE(names,
             (QStringList{QStringLiteral("Kleur"), QStringLiteral("Artikel"), QStringLiteral("Divisie"),
                          QStringLiteral("Prijs"), QStringLiteral("Leverdatum"), QStringLiteral("Actief"),
                          QStringLiteral("Formule")}));
    QCOMPARE(rows->value(QStringLiteral("Kleur")).toString(), QStringLiteral("Wit"));
    QCOMPARE(rows->value(QStringLiteral("Prijs")).toDouble(), 12.5);
    QCOMPARE(rows->value(QStringLiteral("Formule")).toString(),
             QStringLiteral("42")); // mixed kinds read as text
    rows->moveLast();
    QVERIFY(!rows->value(QStringLiteral("Prijs")).isValid()); // an empty cell is Null

    const RecordsetPtr empty = cn.Execute(QStringLiteral("SELECT * FROM [Leeg$]"));
    QVERIFY(empty->eof() && empty->bof());
    QCOMPARE(empty->column(0).name, QStringLiteral("F1"));
}

void TestExcelBackend::checkLeavesTheConnectionOpen()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    clsConnectie cn;
    QVERIFY(cn.CheckExcelConnectie(book, true));
    QVERIFY(cn.ADOConnectie && cn.ADOConnectie->isOpen());
    QVERIFY(!cn.CheckExcelConnectie(env.path(QStringLiteral("weg.xlsx")), true));
    QVERIFY(!cn.ADOConnectie);
    QVERIFY(cn.lastOpenError().contains(QStringLiteral("bestaat niet")));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
}

void TestExcelBackend::writesAreRefused()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    const QByteArray before = readBytes(book);
    clsConnectie cn;
    QVERIFY(cn.MakenExcelConnectie(book, true));
    for (const char* sql : {"UPDATE [Artikelen$] SET Prijs = 1", "DELETE * FROM [Artikelen$]",
                            "CREATE TABLE tmpSelected (CodeSelected TEXT(255))"}) {
        try {
            cn.Connection()->execute(QString::fromLatin1(sql));
            QFAIL(sql);
        } catch (const AppError& error) {
            QCOMPARE(error.number(), DbErrorNumber::ReadOnlyDatabase);
            QVERIFY(error.description().contains(QStringLiteral("alleen worden gelezen")));
        }
    }
    const RecordsetPtr rows = cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [Artikelen$]"));
    rows->setValue(QStringLiteral("Prijs"), 1);
    QVERIFY_THROWS_EXCEPTION(AppError, rows->update());
    cn.SluitenConnectie();
    QVERIFY(readBytes(book) == before);
}

void TestExcelBackend::mirrorIsDeletedAtClose()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString book = priceBook(env);
    clsConnectie cn;
    QVERIFY(cn.MakenExcelConnectie(book, true));
    QCOMPARE(mirrorsIn(env).size(), 1);
    cn.SluitenConnectie();
    QVERIFY(mirrorsIn(env).isEmpty());
}

void TestExcelBackend::brokenWorkbooks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("truncated xlsx") << "truncated xlsx"
                                    << "prijzen.xlsx";
    QTest::newRow("truncated xls") << "truncated xls"
                                   << "prijzen.xls";
    QTest::newRow("csv named xlsx") << "csv"
                                    << "geen Excel-werkmap";
    QTest::newRow("empty workbook") << "empty"
                                    << "bevat geen gegevens";
    QTest::newRow("empty file") << "zero"
                                << "geen Excel-werkmap";
    QTest::newRow("protected xlsx") << "protected xlsx"
                                    << "prijzen.xlsx";
    QTest::newRow("protected xls") << "protected xls"
                                   << "prijzen.xls";
}

void TestExcelBackend::brokenWorkbooks()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    QString path;
    if (kind == QLatin1String("truncated xlsx")) {
        const QByteArray whole = readBytes(priceBook(env));
        path = env.path(QStringLiteral("prijzen.xlsx"));
        writeBytes(path, whole.left(whole.size() / 2));
    } else if (kind == QLatin1String("truncated xls")) {
        path = env.path(QStringLiteral("prijzen.xls"));
        writeBytes(path, readBytes(QFINDTESTDATA("../platform/data/sample.xls")).left(1500));
    } else if (kind == QLatin1String("csv")) {
        path = env.path(QStringLiteral("prijzen.xlsx"));
        writeBytes(path, "Code;Prijs\r\nK100;10,5\r\n");
    } else if (kind == QLatin1String("empty")) {
        path = env.path(QStringLiteral("prijzen.xlsx"));
        QVERIFY(writeXlsx(path, [](lxw_workbook* book) { workbook_add_worksheet(book, "Blad1"); }));
    } else if (kind == QLatin1String("zero")) {
        path = env.path(QStringLiteral("prijzen.xlsx"));
        writeBytes(path, QByteArray());
    } else if (kind == QLatin1String("protected xlsx")) {
        path = env.path(QStringLiteral("prijzen.xlsx"));
        writeBytes(path, readBytes(QFINDTESTDATA("../platform/data/protected.xlsx")));
    } else {
        path = env.path(QStringLiteral("prijzen.xls"));
        writeBytes(path, readBytes(QFINDTESTDATA("../platform/data/protected.xls")));
    }
    clsConnectie cn;
    QVERIFY(!cn.MakenExcelConnectie(path, true));
    QVERIFY(!cn.CheckExcelConnectie(path, false));
    QVERIFY(!cn.Connection());
    QVERIFY2(cn.lastOpenError().contains(reason), qPrintable(cn.lastOpenError()));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty()); // the callers report
    QVERIFY(mirrorsIn(env).isEmpty());
}

QTEST_GUILESS_MAIN(TestExcelBackend)
#include "test_excelbackend.moc"
