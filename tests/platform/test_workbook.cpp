// The workbook reader: .xlsx files written with libxlsxwriter or put
// together part by part, .xls files written record by record (biffwriter.h)
// and the fixtures of data/, and broken files that must give a Dutch message,
// no crash and no mirror.

#include "platform/workbook.h"

#include "biffwriter.h"
#include "mirrorquery.h"
#include "support/testenvironment.h"
#include "support/zipwriter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <xlsxwriter.h>

#include <functional>

using namespace supplink;
using supplink::test::BiffBook;
using supplink::test::biffRecord;
using supplink::test::compoundFile;
using supplink::test::filesIn;
using supplink::test::SqliteFile;
using supplink::test::writeZip;

namespace {

// Writes an .xlsx with libxlsxwriter; fill adds the sheets.
bool writeXlsx(const QString& path, const std::function<void(lxw_workbook*)>& fill)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return false;
    fill(book);
    return workbook_close(book) == LXW_NO_ERROR;
}

lxw_datetime dateTime(int year, int month, int day, int hour = 0, int minute = 0, double second = 0)
{
    return lxw_datetime{year, month, day, hour, minute, second};
}

const char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRel[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

struct PackageSheet
{
    QString name;
    QByteArray sheetData; // the inside of <sheetData>, or a whole part when kind is "chartsheet"
    QString kind = QStringLiteral("worksheet");
};

// The parts of a minimal workbook package.
QList<QPair<QString, QByteArray>>
packageParts(const QList<PackageSheet>& sheets, const QByteArray& sharedStrings = {},
             const QByteArray& styles = {}, const QByteArray& workbookPr = {}, bool absoluteTargets = false)
{
    QList<QPair<QString, QByteArray>> parts;
    parts << qMakePair(
        QStringLiteral("[Content_Types].xml"),
        QByteArray("<?xml version=\"1.0\"?><Types "
                   "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"));
    parts << qMakePair(QStringLiteral("_rels/.rels"),
                       QByteArray("<?xml version=\"1.0\"?><Relationships "
                                  "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                  "<Relationship Id=\"rId1\" Type=\"") +
                           kRel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    QByteArray book = QByteArray("<?xml version=\"1.0\"?><workbook xmlns=\"") + kMain + "\" xmlns:r=\"" +
                      kRel + "\">" + workbookPr + "<sheets>";
    QByteArray rels("<?xml version=\"1.0\"?><Relationships "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (int i = 0; i < sheets.size(); ++i) {
        const QByteArray id = "rId" + QByteArray::number(i + 10);
        const QByteArray file = sheets[i].kind.toUtf8() + "s/sheet" + QByteArray::number(i + 1) + ".xml";
        book += "<sheet name=\"" + sheets[i].name.toHtmlEscaped().toUtf8() + "\" sheetId=\"" +
                QByteArray::number(i + 1) + "\" r:id=\"" + id + "\"/>";
        rels += "<Relationship Id=\"" + id + "\" Type=\"" + kRel + "/" + sheets[i].kind.toUtf8() +
                "\" Target=\"" + (absoluteTargets ? "/xl/" : "") + file + "\"/>";
        const QByteArray body = sheets[i].kind == QLatin1String("worksheet")
                                    ? QByteArray("<?xml version=\"1.0\"?><worksheet xmlns=\"") + kMain +
                                          "\"><sheetData>" + sheets[i].sheetData + "</sheetData></worksheet>"
                                    : sheets[i].sheetData;
        parts << qMakePair(QStringLiteral("xl/") + QString::fromUtf8(file), body);
    }
    if (!sharedStrings.isEmpty()) {
        rels += QByteArray("<Relationship Id=\"rId2\" Type=\"") + kRel +
                "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        parts << qMakePair(QStringLiteral("xl/sharedStrings.xml"),
                           QByteArray("<?xml version=\"1.0\"?><sst xmlns=\"") + kMain + "\">" +
                               sharedStrings + "</sst>");
    }
    if (!styles.isEmpty()) {
        rels += QByteArray("<Relationship Id=\"rId3\" Type=\"") + kRel + "/styles\" Target=\"styles.xml\"/>";
        parts << qMakePair(QStringLiteral("xl/styles.xml"),
                           QByteArray("<?xml version=\"1.0\"?><styleSheet xmlns=\"") + kMain + "\">" +
                               styles + "</styleSheet>");
    }
    book += "</sheets></workbook>";
    rels += "</Relationships>";
    parts << qMakePair(QStringLiteral("xl/workbook.xml"), book);
    parts << qMakePair(QStringLiteral("xl/_rels/workbook.xml.rels"), rels);
    return parts;
}

QList<QVariantList> columnFacts(SqliteFile& db, const QString& table)
{
    return db.rows(
        QStringLiteral("SELECT columnname, jettype, adotype, definedsize FROM __supplink_columns WHERE "
                       "tablename = '%1' ORDER BY ordinal")
            .arg(table));
}

} // namespace

Q_DECLARE_METATYPE(PackageSheet)

class WorkbookTest : public QObject
{
    Q_OBJECT

private:
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The supplier list most tests read: three sheets, the last one empty.
    void writeSupplierList(const QString& path)
    {
        QVERIFY(writeXlsx(path, [](lxw_workbook* book) {
            lxw_worksheet* sheet = workbook_add_worksheet(book, "Artikelen");
            lxw_format* date = workbook_add_format(book);
            format_set_num_format(date, "dd-mm-yyyy");
            lxw_format* stamp = workbook_add_format(book);
            format_set_num_format_index(stamp, 22);
            const char* headings[] = {"Kleur",      "Artikel", "Divisie", "Prijs",
                                      "Leverdatum", "Actief",  "Formule", "Tekst"};
            for (int c = 0; c < 8; ++c)
                worksheet_write_string(sheet, 0, lxw_col_t(c), headings[c], nullptr);
            const char* colours[] = {"Wit", "Zwart", "Grijs"};
            for (int r = 1; r <= 3; ++r) {
                worksheet_write_string(sheet, lxw_row_t(r), 0, colours[r - 1], nullptr);
                worksheet_write_string(sheet, lxw_row_t(r), 1,
                                       QByteArray("K" + QByteArray::number(r * 100)).constData(), nullptr);
                worksheet_write_string(sheet, lxw_row_t(r), 2, r == 2 ? "Deuren" : "Ramen", nullptr);
            }
            worksheet_write_number(sheet, 1, 3, 12.5, nullptr);
            worksheet_write_number(sheet, 2, 3, 7, nullptr);
            lxw_datetime first = dateTime(2020, 1, 31);
            lxw_datetime second = dateTime(2021, 2, 1, 18, 30, 15);
            worksheet_write_datetime(sheet, 1, 4, &first, date);
            worksheet_write_datetime(sheet, 2, 4, &second, stamp);
            worksheet_write_boolean(sheet, 1, 5, 1, nullptr);
            worksheet_write_boolean(sheet, 2, 5, 0, nullptr);
            worksheet_write_formula_num(sheet, 1, 6, "=D2*2", nullptr, 25);
            worksheet_write_formula_num(sheet, 2, 6, "=D3*2", nullptr, 14);
            worksheet_write_formula_str(sheet, 1, 7, "=A2&B2", nullptr, "WitK100");

            lxw_worksheet* prices = workbook_add_worksheet(book, "Prijzen");
            for (int r = 2; r <= 4; ++r)
                for (int c = 1; c <= 2; ++c)
                    worksheet_write_number(prices, lxw_row_t(r), lxw_col_t(c), r * 10 + c, nullptr);
            workbook_add_worksheet(book, "Leeg");
        }));
    }

private slots:
    void xlsxWithHeaderRow()
    {
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("leverancier.xlsx"));
        writeSupplierList(book);
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, true);
        QVERIFY2(result.ok, qPrintable(result.error));

        SqliteFile db(target);
        QCOMPARE(db.rows(QStringLiteral(
                     "SELECT ordinal, sheetname, tablename FROM __supplink_sheets ORDER BY ordinal")),
                 (QList<QVariantList>{{1, QStringLiteral("Artikelen"), QStringLiteral("Artikelen$")},
                                      {2, QStringLiteral("Prijzen"), QStringLiteral("Prijzen$")},
                                      {3, QStringLiteral("Leeg"), QStringLiteral("Leeg$")}}));
        const QList<QVariantList> rows = db.rows(QStringLiteral("SELECT * FROM [Artikelen$]"));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0],
                 (QVariantList{QStringLiteral("Wit"), QStringLiteral("K100"), QStringLiteral("Ramen"), 12.5,
                               QStringLiteral("2020-01-31 00:00:00"), -1, 25.0, QStringLiteral("WitK100")}));
        QCOMPARE(rows[1],
                 (QVariantList{QStringLiteral("Zwart"), QStringLiteral("K200"), QStringLiteral("Deuren"), 7.0,
                               QStringLiteral("2021-02-01 18:30:15"), 0, 14.0, QVariant()}));
        QCOMPARE(rows[2],
                 (QVariantList{QStringLiteral("Grijs"), QStringLiteral("K300"), QStringLiteral("Ramen"),
                               QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}));

        QCOMPARE(columnFacts(db, QStringLiteral("Artikelen$")),
                 (QList<QVariantList>{{QStringLiteral("Kleur"), 10, 202, 255},
                                      {QStringLiteral("Artikel"), 10, 202, 255},
                                      {QStringLiteral("Divisie"), 10, 202, 255},
                                      {QStringLiteral("Prijs"), 7, 5, 8},
                                      {QStringLiteral("Leverdatum"), 8, 7, 8},
                                      {QStringLiteral("Actief"), 1, 11, 2},
                                      {QStringLiteral("Formule"), 7, 5, 8},
                                      {QStringLiteral("Tekst"), 10, 202, 255}}));
        // Texts compare without regard to case, as through the Jet driver.
        QCOMPARE(
            db.value(QStringLiteral("SELECT COUNT(*) FROM [Artikelen$] WHERE Divisie = 'RAMEN'")).toInt(), 2);

        // The used range of the second sheet starts at B3.
        QCOMPARE(db.rows(QStringLiteral("SELECT * FROM [Prijzen$]")),
                 (QList<QVariantList>{{31.0, 32.0}, {41.0, 42.0}}));
        QCOMPARE(columnFacts(db, QStringLiteral("Prijzen$")).first().first().toString(),
                 QStringLiteral("21"));
        // An empty sheet is a table with one column and no rows.
        QCOMPARE(columnFacts(db, QStringLiteral("Leeg$")),
                 (QList<QVariantList>{{QStringLiteral("F1"), 10, 202, 255}}));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM [Leeg$]")).toInt(), 0);
    }

    // Without the header row the first row is data and the columns are F1..Fn.
    void xlsxWithoutHeaderRow()
    {
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("leverancier.xlsx"));
        writeSupplierList(book);
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        QVERIFY(mirrorWorkbook(book, target, false).ok);
        SqliteFile db(target);
        const QList<QVariantList> rows =
            db.rows(QStringLiteral("SELECT F1, F2, F3, F4, F6 FROM [Artikelen$]"));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0],
                 (QVariantList{QStringLiteral("Kleur"), QStringLiteral("Artikel"), QStringLiteral("Divisie"),
                               QStringLiteral("Prijs"), QStringLiteral("Actief")}));
        // The headings make every column a text column: values as text.
        QCOMPARE(rows[1],
                 (QVariantList{QStringLiteral("Wit"), QStringLiteral("K100"), QStringLiteral("Ramen"),
                               QStringLiteral("12.5"), QStringLiteral("TRUE")}));
        QCOMPARE(db.value(QStringLiteral("SELECT F5 FROM [Artikelen$] WHERE F1 = 'zwart'")).toString(),
                 QStringLiteral("2021-02-01 18:30:15"));
        QCOMPARE(db.value(QStringLiteral("SELECT F5 FROM [Artikelen$] WHERE F1 = 'wit'")).toString(),
                 QStringLiteral("2020-01-31"));
        QCOMPARE(db.rows(QStringLiteral("SELECT * FROM [Prijzen$]")),
                 (QList<QVariantList>{{21.0, 22.0}, {31.0, 32.0}, {41.0, 42.0}}));
    }

    void columnKinds()
    {
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("soorten.xlsx"));
        const QString longText(300, QLatin1Char('x'));
        QVERIFY(writeXlsx(book, [&longText](lxw_workbook* workbook) {
            lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Blad1");
            const char* headings[] = {"Gemengd", "Laat", "Lang", "Prijs", "", "Prijs", "Leeg"};
            for (int c = 0; c < 7; ++c)
                worksheet_write_string(sheet, 0, lxw_col_t(c), headings[c], nullptr);
            worksheet_write_number(sheet, 1, 0, 12.5, nullptr);
            worksheet_write_string(sheet, 2, 0, "abc", nullptr);
            worksheet_write_number(sheet, 3, 0, 1e-7, nullptr);
            for (int r = 1; r <= 1000; ++r)
                worksheet_write_number(sheet, lxw_row_t(r), 1, r, nullptr);
            worksheet_write_string(sheet, 1500, 1, "laat", nullptr);
            worksheet_write_string(sheet, 1, 2, longText.toUtf8().constData(), nullptr);
            worksheet_write_number(sheet, 1, 3, 1, nullptr);
            worksheet_write_number(sheet, 1, 5, 2, nullptr);
            worksheet_write_number(sheet, 1, 4, 3, nullptr);
        }));
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, true);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QCOMPARE(columnFacts(db, QStringLiteral("Blad1$")),
                 (QList<QVariantList>{{QStringLiteral("Gemengd"), 10, 202, 255},
                                      {QStringLiteral("Laat"), 10, 202, 255},
                                      {QStringLiteral("Lang"), 12, 203, kMemoDefinedSize},
                                      {QStringLiteral("Prijs"), 7, 5, 8},
                                      {QStringLiteral("F5"), 7, 5, 8},
                                      {QStringLiteral("Prijs1"), 7, 5, 8},
                                      {QStringLiteral("Leeg"), 10, 202, 255}}));
        QCOMPARE(db.rows(QStringLiteral("SELECT Gemengd FROM [Blad1$] WHERE Gemengd IS NOT NULL")),
                 (QList<QVariantList>{
                     {QStringLiteral("12.5")}, {QStringLiteral("abc")}, {QStringLiteral("1e-07")}}));
        // A kind that only later rows bring keeps every value, as text.
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM [Blad1$] WHERE Laat IS NOT NULL")).toInt(),
                 1001);
        QCOMPARE(db.value(QStringLiteral("SELECT Laat FROM [Blad1$] WHERE rowid = 1500")).toString(),
                 QStringLiteral("laat"));
        QCOMPARE(db.value(QStringLiteral("SELECT Laat FROM [Blad1$] WHERE rowid = 1000")).toString(),
                 QStringLiteral("1000"));
        QCOMPARE(db.value(QStringLiteral("SELECT Lang FROM [Blad1$] WHERE rowid = 1")).toString(), longText);
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM [Blad1$]")).toInt(), 1500);
    }

    void numberFormats_data()
    {
        QTest::addColumn<QByteArray>("styles");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QByteArray& numFmts, int id, const char* expected) {
            QTest::newRow(name) << numFmts + "<cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"" +
                                       QByteArray::number(id) + "\"/></cellXfs>"
                                << QString::fromUtf8(expected);
        };
        row("built-in date", {}, 14, "2020-01-31 12:00:00");
        row("built-in date time", {}, 22, "2020-01-31 12:00:00");
        row("built-in time", {}, 46, "2020-01-31 12:00:00");
        row("built-in number", {}, 4, "43861.5");
        row("custom date", "<numFmts><numFmt numFmtId=\"164\" formatCode=\"dd-mm-yyyy\"/></numFmts>", 164,
            "2020-01-31 12:00:00");
        row("custom locale date",
            "<numFmts><numFmt numFmtId=\"165\" formatCode=\"[$-413]d mmmm yyyy;@\"/></numFmts>", 165,
            "2020-01-31 12:00:00");
        row("elapsed hours", "<numFmts><numFmt numFmtId=\"166\" formatCode=\"[h]:mm\"/></numFmts>", 166,
            "2020-01-31 12:00:00");
        row("custom number", "<numFmts><numFmt numFmtId=\"167\" formatCode=\"#,##0.00 [Red]\"/></numFmts>",
            167, "43861.5");
        row("quoted letters",
            "<numFmts><numFmt numFmtId=\"168\" formatCode=\"0.0 &quot;dm&quot;\"/></numFmts>", 168,
            "43861.5");
        row("escaped letter", "<numFmts><numFmt numFmtId=\"169\" formatCode=\"0\\d\"/></numFmts>", 169,
            "43861.5");
    }

    void numberFormats()
    {
        QFETCH(QByteArray, styles);
        QFETCH(QString, expected);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("formaat.xlsx"));
        QVERIFY(writeZip(book, packageParts({{QStringLiteral("Blad1"),
                                              "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>43861.5</v></c>"
                                              "<c r=\"B1\"><v>1</v></c></row>"}},
                                            {}, styles)));
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QCOMPARE(db.value(QStringLiteral("SELECT CAST(F1 AS TEXT) FROM [Blad1$]")).toString(), expected);
    }

    // Package details Excel and other writers produce.
    void handMadePackage()
    {
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("hand.xlsx"));
        const QByteArray shared =
            "<si><t>Gedeeld</t></si><si><r><t>Rijk</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\"> "
            "opgemaakt</t></r>"
            "<rPh sb=\"0\" "
            "eb=\"1\"><t>fonetisch</t></rPh></si><si><t>Regel_x000D_einde</t></si><si><t/></si>";
        const QByteArray data =
            "<row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c "
            "t=\"inlineStr\"><is><t>Inline</t></is></c>"
            "<c t=\"str\"><f>A1&amp;B1</f><v>Formuletekst</v></c><c "
            "t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"
            "<row><c t=\"s\"><v>2</v></c><c t=\"b\"><v>1</v></c><c t=\"d\"><v>2020-01-31T10:15:00</v></c>"
            "<c t=\"s\"><v>3</v></c><c><f>1+1</f><v>2</v></c></row>"
            "<row r=\"4\"><c r=\"B4\"><v>44197</v></c><c r=\"A4\" s=\"1\"><v>0</v></c></row>";
        const QByteArray styles = "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>";
        QVERIFY(writeZip(
            book, packageParts({{QStringLiteral("Gegevens"), data},
                                {QStringLiteral("Grafiek"), "<chartsheet/>", QStringLiteral("chartsheet")}},
                               shared, styles, "<workbookPr date1904=\"1\"/>", true)));
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        // The chart sheet has no table.
        QCOMPARE(db.rows(QStringLiteral("SELECT tablename FROM __supplink_sheets")),
                 (QList<QVariantList>{{QStringLiteral("Gegevens$")}}));
        const QList<QVariantList> rows = db.rows(QStringLiteral("SELECT * FROM [Gegevens$]"));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0],
                 (QVariantList{QStringLiteral("Gedeeld"), QStringLiteral("Rijk opgemaakt"),
                               QStringLiteral("Inline"), QStringLiteral("Formuletekst"), QVariant()}));
        QCOMPARE(rows[1], (QVariantList{QStringLiteral("Regel\reinde"), QStringLiteral("TRUE"),
                                        QStringLiteral("2020-01-31 10:15:00"), QVariant(), 2.0}));
        QCOMPARE(rows[2], (QVariantList{QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}));
        // 1904 dates: day 0 is 1 January 1904.
        QCOMPARE(rows[3], (QVariantList{QStringLiteral("1904-01-01"), QStringLiteral("44197"), QVariant(),
                                        QVariant(), QVariant()}));
    }

    void xlsFixture()
    {
        const QString book = QFINDTESTDATA("data/sample.xls");
        QVERIFY(!book.isEmpty());
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, true);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QCOMPARE(db.rows(QStringLiteral("SELECT tablename FROM __supplink_sheets ORDER BY ordinal")),
                 (QList<QVariantList>{{QStringLiteral("Artikelen$")},
                                      {QStringLiteral("Prijzen$")},
                                      {QStringLiteral("Leeg$")},
                                      {QStringLiteral("Formules$")}}));
        const QList<QVariantList> rows = db.rows(QStringLiteral("SELECT * FROM [Artikelen$]"));
        QCOMPARE(rows.size(), 3);
        // A Boolean reads as -1 or 0 in a Boolean column; formula cells give
        // their cached results (a number and a text here: mixed, so text).
        QCOMPARE(rows[0],
                 (QVariantList{QStringLiteral("Wit"), QStringLiteral("K100"), QStringLiteral("Ramen"), 12.5,
                               QStringLiteral("2020-01-01 00:00:00"), -1, QStringLiteral("42")}));
        QCOMPARE(rows[1],
                 (QVariantList{QStringLiteral("Zwart"), QStringLiteral("K200"), QStringLiteral("Deuren"), 7.0,
                               QStringLiteral("2020-01-02 18:00:00"), 0, QStringLiteral("tekst")}));
        QCOMPARE(rows[2][4].toString(), QStringLiteral("2021-01-01 00:00:00"));
        QCOMPARE(db.rows(QStringLiteral("SELECT * FROM [Prijzen$]")),
                 (QList<QVariantList>{{21.0, 22.0}, {31.0, 32.0}}));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM [Artikelen$] WHERE Kleur = 'GRIJS'")).toInt(),
                 1);

        // Date and Boolean formula results, in a workbook stream of full sectors.
        const QString plain = env.path(QStringLiteral("plain.sqlite"));
        QVERIFY(mirrorWorkbook(book, plain, false).ok);
        SqliteFile second(plain);
        QCOMPARE(second.rows(QStringLiteral("SELECT F1, F2 FROM [Formules$] LIMIT 2")),
                 (QList<QVariantList>{{QStringLiteral("2020-01-01 12:00:00"), -1},
                                      {QStringLiteral("1"), QVariant()}}));
        QCOMPARE(second.value(QStringLiteral("SELECT COUNT(*) FROM [Formules$]")).toInt(), 301);
    }

    void unreadableWorkbooks_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("csv") << QByteArray("Kleur;Artikel;Divisie\nWit;K100;Ramen\n")
                             << QStringLiteral("is geen Excel-werkmap");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("is geen Excel-werkmap");
        QTest::newRow("protected xlsx") << readFile(QFINDTESTDATA("data/protected.xlsx"))
                                        << QStringLiteral("beveiligd met een wachtwoord");
        QTest::newRow("protected xls") << readFile(QFINDTESTDATA("data/protected.xls"))
                                       << QStringLiteral("beveiligd met een wachtwoord");
        const QByteArray xls = readFile(QFINDTESTDATA("data/sample.xls"));
        QTest::newRow("truncated xls") << xls.left(1500) << QStringLiteral("beschadigd");
        QByteArray scrambled = xls;
        for (int i = 512; i < scrambled.size(); i += 3)
            scrambled[i] = char(i * 7);
        QTest::newRow("scrambled xls") << scrambled << QString();
    }

    void unreadableWorkbooks()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("bron.xlsx"));
        writeFile(book, content);
        const MirrorResult result = mirrorWorkbook(book, env.path(QStringLiteral("mirror.sqlite")), true);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("bron.xlsx")), qPrintable(result.error));
        if (!message.isEmpty())
            QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("bron.xlsx")});
    }

    void brokenPackages_data()
    {
        QTest::addColumn<QList<PackageSheet>>("sheets");
        QTest::addColumn<QByteArray>("shared");
        QTest::addColumn<QString>("message");
        QTest::newRow("no sheets") << QList<PackageSheet>{} << QByteArray()
                                   << QStringLiteral("bevat geen werkblad");
        QTest::newRow("chart sheets only")
            << QList<PackageSheet>{{QStringLiteral("G"), "<chartsheet/>", QStringLiteral("chartsheet")}}
            << QByteArray() << QStringLiteral("bevat geen werkblad");
        QTest::newRow("empty sheets")
            << QList<PackageSheet>{{QStringLiteral("Blad1"), ""}, {QStringLiteral("Blad2"), ""}}
            << QByteArray() << QStringLiteral("bevat geen gegevens");
        QTest::newRow("bad xml") << QList<PackageSheet>{{QStringLiteral("Blad1"), "<row><c><v>1</v></row>"}}
                                 << QByteArray() << QStringLiteral("beschadigd");
        QTest::newRow("shared string out of range")
            << QList<PackageSheet>{{QStringLiteral("Blad1"), "<row><c t=\"s\"><v>5</v></c></row>"}}
            << QByteArray("<si><t>a</t></si>") << QStringLiteral("beschadigd");
        QTest::newRow("bad reference")
            << QList<PackageSheet>{{QStringLiteral("Blad1"), "<row><c r=\"ZZZZ1\"><v>1</v></c></row>"}}
            << QByteArray() << QStringLiteral("beschadigd");
        QTest::newRow("bad number") << QList<PackageSheet>{{QStringLiteral("Blad1"),
                                                            "<row><c><v>1,5</v></c></row>"}}
                                    << QByteArray() << QStringLiteral("beschadigd");
    }

    void brokenPackages()
    {
        QFETCH(QList<PackageSheet>, sheets);
        QFETCH(QByteArray, shared);
        QFETCH(QString, message);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("bron.xlsx"));
        QVERIFY(writeZip(book, packageParts(sheets, shared)));
        const MirrorResult result = mirrorWorkbook(book, env.path(QStringLiteral("mirror.sqlite")), true);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("bron.xlsx")});
    }

    void otherZipFiles()
    {
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("bron.xlsx"));
        QVERIFY(writeZip(book, {{QStringLiteral("readme.txt"), "geen werkmap"}}));
        MirrorResult result = mirrorWorkbook(book, env.path(QStringLiteral("m.sqlite")), true);
        QVERIFY2(result.error.contains(QStringLiteral("is geen Excel-werkmap")), qPrintable(result.error));

        // A real workbook cut short, and one whose compressed data is damaged.
        writeSupplierList(book);
        const QByteArray whole = readFile(book);
        writeFile(book, whole.left(whole.size() / 2));
        result = mirrorWorkbook(book, env.path(QStringLiteral("m.sqlite")), true);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("beschadigd")), qPrintable(result.error));
        QByteArray damaged = whole;
        for (int i = 200; i < damaged.size() - 1000; i += 97)
            damaged[i] = char(damaged[i] ^ 0x5A);
        writeFile(book, damaged);
        result = mirrorWorkbook(book, env.path(QStringLiteral("m.sqlite")), true);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("beschadigd")), qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("bron.xlsx")});

        result =
            mirrorWorkbook(env.path(QStringLiteral("weg.xlsx")), env.path(QStringLiteral("m.sqlite")), true);
        QVERIFY2(result.error.contains(QStringLiteral("bestaat niet")), qPrintable(result.error));
    }

    // .xls files as Excel, LibreOffice and xlwt write them, record by record:
    // every kind of cell reads as it does from an .xlsx.
    void xlsCells_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("jetTypes");
        QTest::addColumn<QList<QVariantList>>("rows");
        const QString sheet = QStringLiteral("Blad1");
        const QVariant null;
        QString longText;
        while (longText.size() < 10000)
            longText += QStringLiteral("Kozijn € 12,50; ");
        longText.truncate(10000);

        BiffBook booleans(8);
        booleans.sheet(sheet) += booleans.boolErr(0, 0, 1, false) + booleans.boolErr(1, 0, 0, false);
        QTest::newRow("Boolean cells") << booleans.file() << QList<int>{1} << QList<QVariantList>{{-1}, {0}};

        BiffBook errors(8);
        errors.sheet(sheet) +=
            errors.number(0, 0, 5) + errors.boolErr(1, 0, 0x07, true) + errors.number(2, 0, 6);
        QTest::newRow("error cells") << errors.file() << QList<int>{7}
                                     << QList<QVariantList>{{5.0}, {null}, {6.0}};

        BiffBook formulas(8);
        formulas.sheet(sheet) += formulas.formulaSpecial(0, 0, 1, 1) + formulas.formulaSpecial(1, 0, 1, 0) +
                                 formulas.formulaSpecial(2, 0, 2, 0x07) + formulas.formulaSpecial(3, 0, 3);
        QTest::newRow("Boolean and error results of formulas")
            << formulas.file() << QList<int>{1} << QList<QVariantList>{{-1}, {0}, {null}};

        BiffBook shared(8);
        shared.setSharedStrings({longText, QStringLiteral("kort")});
        shared.sheet(sheet) += shared.labelSst(0, 0, 0) + shared.labelSst(1, 0, 1) + shared.labelSst(2, 0, 0);
        QTest::newRow("10,000 characters with € in the shared strings")
            << shared.file() << QList<int>{12}
            << QList<QVariantList>{{longText}, {QStringLiteral("kort")}, {longText}};

        BiffBook formulaText(8);
        formulaText.sheet(sheet) +=
            formulaText.formulaText(0, 0, longText) + formulaText.label(1, 0, QStringLiteral("Maße"));
        QTest::newRow("10,000 characters as the text of a formula")
            << formulaText.file() << QList<int>{12}
            << QList<QVariantList>{{longText}, {QStringLiteral("Maße")}};

        BiffBook numbers(8);
        numbers.addFormat(164, QStringLiteral("dd-mm-yyyy"));
        const int dateXf = numbers.addXf(164);
        const int timeXf = numbers.addXf(20); // built-in h:mm
        numbers.sheet(sheet) += numbers.rk(0, 0, 100 << 2 | 2) + numbers.number(0, 1, 43861, dateXf) +
                                numbers.mulRk(0, 2, {1 << 2 | 2, 2 << 2 | 2}) +
                                numbers.rk(1, 0, 1234 << 2 | 3) + numbers.number(1, 1, 0.25, timeXf) +
                                numbers.rk(2, 0, 0x3FE00000u) + numbers.rk(3, 0, quint32(-3 * 4 | 2));
        QTest::newRow("numbers, dates and times")
            << numbers.file() << QList<int>{7, 8, 7, 7}
            << QList<QVariantList>{{100.0, QStringLiteral("2020-01-31 00:00:00"), 1.0, 2.0},
                                   {12.34, QStringLiteral("1899-12-30 06:00:00"), null, null},
                                   {0.5, null, null, null},
                                   {-3.0, null, null, null}};

        BiffBook code(8);
        code.sheet(sheet) += code.label(0, 0, QStringLiteral("Code")) + code.number(1, 0, 1234567890123456.0);
        QTest::newRow("a 16-digit code among texts")
            << code.file() << QList<int>{10}
            << QList<QVariantList>{{QStringLiteral("Code")}, {QStringLiteral("1234567890123456")}};

        BiffBook biff5(5);
        biff5.addFormat(164, QStringLiteral("dd-mm-yyyy"));
        const int biff5Date = biff5.addXf(164);
        biff5.sheet(sheet) += biff5.label(0, 0, QStringLiteral("Maße € 5")) +
                              biff5.number(0, 1, 43861, biff5Date) + biff5.boolErr(0, 2, 1, false) +
                              biff5.rk(0, 3, 5 << 2 | 2) + biff5.formulaText(0, 4, QStringLiteral("Größe"));
        QTest::newRow("Excel 95: texts in the code page")
            << biff5.file() << QList<int>{10, 8, 1, 7, 10}
            << QList<QVariantList>{{QStringLiteral("Maße € 5"), QStringLiteral("2020-01-31 00:00:00"), -1,
                                    5.0, QStringLiteral("Größe")}};

        BiffBook centralEurope(5, 1250);
        centralEurope.sheet(sheet) += centralEurope.label(0, 0, QStringLiteral("Łódź"));
        QTest::newRow("Excel 95: another code page")
            << centralEurope.file() << QList<int>{10} << QList<QVariantList>{{QStringLiteral("Łódź")}};
    }

    void xlsCells()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, jetTypes);
        QFETCH(QList<QVariantList>, rows);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("lijst.xls"));
        writeFile(book, file);
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QList<int> types;
        for (const QVariantList& facts : columnFacts(db, QStringLiteral("Blad1$")))
            types << facts[1].toInt();
        QCOMPARE(types, jetTypes);
        QCOMPARE(db.rows(QStringLiteral("SELECT * FROM [Blad1$]")), rows);
    }

    // Every length is checked against its record: a file that does not hold
    // together gives a Dutch message and no mirror.
    void damagedXls_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QString sheet = QStringLiteral("Blad1");
        const QString damaged = QStringLiteral("is beschadigd");

        QTest::newRow("no workbook stream")
            << compoundFile(QStringLiteral("WordDocument"), QByteArray(600, 'x'))
            << QStringLiteral("is geen Excel-werkmap");
        QByteArray oldBof;
        test::putU16(oldBof, 0x0400);
        test::putU16(oldBof, 0x0005);
        QTest::newRow("unknown version")
            << compoundFile(QStringLiteral("Workbook"), biffRecord(0x0809, oldBof) + biffRecord(0x000A, {}))
            << damaged;

        BiffBook outOfRange(8);
        outOfRange.setSharedStrings({QStringLiteral("a")});
        outOfRange.sheet(sheet) += outOfRange.labelSst(0, 0, 3);
        QTest::newRow("shared string out of range") << outOfRange.file() << damaged;

        BiffBook cutShort(8);
        QByteArray sst;
        test::putU32(sst, 1);
        test::putU32(sst, 1);
        test::putU16(sst, 100);
        sst += QByteArray("\0abc", 4);
        cutShort.addGlobalRecord(biffRecord(0x00FC, sst));
        cutShort.sheet(sheet) += cutShort.labelSst(0, 0, 0);
        QTest::newRow("shared string longer than its records") << cutShort.file() << damaged;

        BiffBook pastTheEnd(8);
        pastTheEnd.sheet(sheet) += QByteArray("\x03\x02\xFF\xFF", 4) + QByteArray(14, '\0');
        QTest::newRow("record longer than the stream") << pastTheEnd.file() << damaged;

        BiffBook shortNumber(8);
        shortNumber.sheet(sheet) += biffRecord(0x0203, QByteArray(6, '\0'));
        QTest::newRow("number record too short") << shortNumber.file() << damaged;

        BiffBook badMulRk(8);
        badMulRk.sheet(sheet) += biffRecord(0x00BD, QByteArray(9, '\0'));
        QTest::newRow("MULRK of a broken length") << badMulRk.file() << damaged;

        BiffBook longLabel(8);
        QByteArray label(6, '\0');
        test::putU16(label, 50);
        label += QByteArray("\0abc", 4);
        longLabel.sheet(sheet) += biffRecord(0x0204, label);
        QTest::newRow("text longer than its record") << longLabel.file() << damaged;
    }

    void damagedXls()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QVERIFY(readXls(file).problem != WorkbookProblem::None);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("bron.xls"));
        writeFile(book, file);
        const MirrorResult result = mirrorWorkbook(book, env.path(QStringLiteral("mirror.sqlite")), true);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("bron.xls")) && result.error.contains(message),
                 qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("bron.xls")});
    }

    // Random damage to a workbook of every record kind: the record pass reads
    // it or refuses it, in this process, without reading out of bounds.
    void randomlyDamagedXls()
    {
        QString longText;
        while (longText.size() < 9000)
            longText += QStringLiteral("Größe € 3; ");
        BiffBook book(8);
        book.addFormat(164, QStringLiteral("dd-mm-yyyy"));
        const int dateXf = book.addXf(164);
        book.setSharedStrings({QStringLiteral("Code"), longText, QStringLiteral("Prijs")});
        QByteArray& cells = book.sheet(QStringLiteral("Artikelen"));
        cells += book.labelSst(0, 0, 0) + book.labelSst(0, 1, 2) + book.label(0, 2, QStringLiteral("Datum"));
        for (int r = 1; r < 40; ++r)
            cells += book.labelSst(r, 0, r % 3) + book.rk(r, 1, quint32(r) << 2 | 2) +
                     book.number(r, 2, 43861 + r, dateXf) + book.boolErr(r, 3, r % 2, r % 5 == 0) +
                     book.mulRk(r, 4, {5 << 2 | 2, 0x3FE00000u}) +
                     book.formulaText(r, 6, QStringLiteral("t"));
        const QByteArray whole = book.file();
        QCOMPARE(readXls(whole).problem, WorkbookProblem::None);

        int refused = 0;
        for (quint32 seed = 1; seed <= 300; ++seed) {
            QRandomGenerator random(seed);
            QByteArray bytes = whole;
            if (seed % 4 == 0)
                bytes.truncate(512 + random.bounded(qint64(bytes.size()) - 512));
            const int count = 1 + random.bounded(seed % 3 == 0 ? 200 : 8);
            for (int i = 0; i < count; ++i)
                bytes[512 + random.bounded(qint64(bytes.size()) - 512)] = char(random.bounded(256));
            const WorkbookRead read = readXls(bytes);
            if (read.problem != WorkbookProblem::None) {
                ++refused;
                continue;
            }
            for (const WorkbookSheet& sheet : read.content.sheets)
                for (const WorkbookCell& cell : sheet.cells)
                    QVERIFY(cell.kind != CellKind::Text ||
                            (cell.text >= 0 && cell.text < read.content.strings.size()));
        }
        QVERIFY(refused > 0);
    }

    // A date cell (type "d") holds an ISO 8601 date, date and time, or time of
    // day, as openpyxl writes them.
    void xlsxDateCells_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("expected"); // empty: the workbook is damaged
        QTest::newRow("time of day") << QByteArray("06:30:00") << QStringLiteral("1899-12-30 06:30:00");
        QTest::newRow("time with microseconds")
            << QByteArray("06:30:00.250000") << QStringLiteral("1899-12-30 06:30:00");
        QTest::newRow("time without seconds")
            << QByteArray("T18:05") << QStringLiteral("1899-12-30 18:05:00");
        QTest::newRow("date") << QByteArray("2020-01-31") << QStringLiteral("2020-01-31 00:00:00");
        QTest::newRow("date and time")
            << QByteArray("2020-01-31T10:15:00") << QStringLiteral("2020-01-31 10:15:00");
        QTest::newRow("no date") << QByteArray("morgen") << QString();
        QTest::newRow("no time of day") << QByteArray("25:00:00") << QString();
    }

    void xlsxDateCells()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, expected);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("tijden.xlsx"));
        QVERIFY(
            writeZip(book, packageParts({{QStringLiteral("Blad1"), "<row r=\"1\"><c r=\"A1\" t=\"d\"><v>" +
                                                                       value + "</v></c></row>"}})));
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, false);
        if (expected.isEmpty()) {
            QVERIFY(!result.ok);
            QVERIFY2(result.error.contains(QStringLiteral("beschadigd")), qPrintable(result.error));
            return;
        }
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QCOMPARE(columnFacts(db, QStringLiteral("Blad1$")).first()[1].toInt(), 8);
        QCOMPARE(db.value(QStringLiteral("SELECT F1 FROM [Blad1$]")).toString(), expected);
    }

    // Numbers in a text column: whole numbers up to 2^53 as their digits,
    // others in the shortest form that reads back as the same number.
    void numbersInTextColumns_data()
    {
        QTest::addColumn<QByteArray>("number");  // as the workbook holds it
        QTest::addColumn<bool>("libxlsxwriter"); // else a package made part by part
        QTest::addColumn<QString>("expected");
        QTest::newRow("16-digit code")
            << QByteArray("1234567890123456") << true << QStringLiteral("1234567890123456");
        QTest::newRow("2^53") << QByteArray("9007199254740992") << true << QStringLiteral("9007199254740992");
        QTest::newRow("negative whole number") << QByteArray("-42") << true << QStringLiteral("-42");
        QTest::newRow("fraction") << QByteArray("12.5") << true << QStringLiteral("12.5");
        QTest::newRow("17 significant digits")
            << QByteArray("0.30000000000000004") << false << QStringLiteral("0.30000000000000004");
        QTest::newRow("16 significant digits")
            << QByteArray("1234567.890123456") << false << QStringLiteral("1234567.890123456");
        QTest::newRow("beyond 2^53") << QByteArray("1e20") << false << QStringLiteral("1e+20");
        QTest::newRow("small") << QByteArray("1E-7") << false << QStringLiteral("1e-07");
    }

    void numbersInTextColumns()
    {
        QFETCH(QByteArray, number);
        QFETCH(bool, libxlsxwriter);
        QFETCH(QString, expected);
        test::TestEnvironment env;
        const QString book = env.path(QStringLiteral("codes.xlsx"));
        if (libxlsxwriter) {
            QVERIFY(writeXlsx(book, [&number](lxw_workbook* workbook) {
                lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Blad1");
                worksheet_write_string(sheet, 0, 0, "Code", nullptr);
                worksheet_write_number(sheet, 1, 0, number.toDouble(), nullptr);
            }));
        } else {
            QVERIFY(writeZip(
                book, packageParts({{QStringLiteral("Blad1"),
                                     "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Code</t></is></c>"
                                     "</row><row r=\"2\"><c r=\"A2\"><v>" +
                                         number + "</v></c></row>"}})));
        }
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorWorkbook(book, target, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        SqliteFile db(target);
        QCOMPARE(db.rows(QStringLiteral("SELECT F1 FROM [Blad1$]")),
                 (QList<QVariantList>{{QStringLiteral("Code")}, {expected}}));
        QCOMPARE(expected.toDouble(), number.toDouble());
    }

    void existingTargetIsReplacedOnlyOnSuccess()
    {
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        writeFile(target, "old");
        const QString csv = env.path(QStringLiteral("lijst.xlsx"));
        writeFile(csv, "a;b;c\n");
        QVERIFY(!mirrorWorkbook(csv, target, true).ok);
        QCOMPARE(readFile(target), QByteArray("old"));
        const QString book = env.path(QStringLiteral("goed.xlsx"));
        writeSupplierList(book);
        QVERIFY(mirrorWorkbook(book, target, true).ok);
        QCOMPARE(
            SqliteFile(target).tables(),
            (QStringList{QStringLiteral("Artikelen$"), QStringLiteral("Prijzen$"), QStringLiteral("Leeg$")}));
    }
};

QTEST_GUILESS_MAIN(WorkbookTest)
#include "test_workbook.moc"
