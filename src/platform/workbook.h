#pragma once
// Reads an Excel workbook (.xls and .xlsx, each through a reader of our own)
// into a private SQLite mirror (see sqlitemirror.h), where each worksheet is
// a table named "<sheet>$", as the Jet Excel driver names them.
//
// The table of a sheet spans the sheet's used range: from the first to the
// last row and column that hold a value (at most 255 columns, as with Jet).
// With the header-row option its first row gives the column names (an empty
// heading gives F<n>, a repeated one gets a number appended); without it the
// columns are F1..Fn and the first row is data. An empty sheet gives one
// column F1 and no rows.
//
// Each column has one kind, guessed from its first 1000 data rows: numbers
// (DOUBLE), dates (DATETIME, text 'yyyy-mm-dd hh:mm:ss'), Booleans (BIT,
// -1/0) or text (TEXT(255), or LONGTEXT when a value is longer). A column
// whose values mix kinds reads as text; so does one whose later rows bring a
// kind its first rows did not have, so that no value is lost. Numbers in a
// text column read with a "." as decimal sign: a whole number up to 2^53 as
// its digits, any other number in the shortest form that reads back as the
// same number; dates read as 'yyyy-mm-dd' (with ' hh:mm:ss' when they hold a
// time), Booleans as TRUE or FALSE. Error cells read as Null.
//
// Besides __supplink_columns, a workbook mirror holds the side table
//   __supplink_sheets(ordinal, sheetname, tablename)
// with the worksheets in workbook order (ordinal 1 is the first sheet).
//
// What a file holds decides how it is read, not its extension. A workbook
// with no worksheet, or whose worksheets hold no value at all, is refused as
// unreadable. A compound file (.xls) is read in isolation (see
// isolatedread.h): a read that fails to finish gives the message for a
// damaged workbook.

#include "platform/sqlitemirror.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace supplink {

inline constexpr char kMirrorSheetsTable[] = "__supplink_sheets";

MirrorResult mirrorWorkbook(const QString& workbookPath, const QString& sqlitePath, bool headerRow);

// The reading steps, for tests and fuzzing.

enum class CellKind : quint8
{
    Number,
    Text,
    Boolean,
    Date,
    Error
};

struct WorkbookCell
{
    quint32 row = 0;    // 0-based
    quint32 column = 0; // 0-based
    CellKind kind = CellKind::Number;
    double number = 0; // Number; Boolean 1/0; Date as days since 1899-12-30 (time as the fraction)
    qint32 text = -1;  // Text: index in WorkbookContent::strings
};

struct WorkbookSheet
{
    QString name;
    std::vector<WorkbookCell> cells;
};

struct WorkbookContent
{
    QList<WorkbookSheet> sheets; // worksheets only, in workbook order
    QStringList strings;
};

enum class WorkbookProblem
{
    None,
    NotAWorkbook,
    Protected,
    Damaged,
    TooLarge
};

struct WorkbookRead
{
    WorkbookProblem problem = WorkbookProblem::None;
    WorkbookContent content;
};

// How the readers end a read that meets a problem: they throw this, and
// readXlsx and readXls give its problem in their result.
struct WorkbookReadFailure
{
    WorkbookProblem problem;
};
[[noreturn]] inline void workbookDamaged()
{
    throw WorkbookReadFailure{WorkbookProblem::Damaged};
}
// The content a reader's work gives, or the problem it met.
template <typename Work> WorkbookRead workbookReadOf(Work&& work)
{
    WorkbookRead result;
    try {
        result.content = work();
    } catch (const WorkbookReadFailure& failure) {
        result.problem = failure.problem;
    }
    return result;
}

WorkbookRead readXlsx(const QByteArray& fileBytes);
// An .xls file (BIFF8 or BIFF5/7 in a compound file), read by our own pass
// over its records.
WorkbookRead readXls(const QByteArray& fileBytes);
// Reads by content: an Office Open XML package, a compound file (.xls, or a
// password-protected .xlsx), or neither.
WorkbookRead readWorkbookFile(const QString& path);

// A number format shows a date or time: with no custom code the built-in
// formats 14-22 and 45-47; a custom code when its first section holds d, m,
// y, h or s outside quoted text, escapes and [colour]/[$-locale] brackets
// ([h], [mm], [ss] count: elapsed time).
bool isDateNumberFormat(int id, const QString& customCode);
// An Excel date serial as days since 1899-12-30; the 1900 date system counts
// a 29 February 1900 that never was.
double excelSerialToDays(double serial, bool date1904);

enum class ColumnKind
{
    Text,
    Memo,
    Number,
    Date,
    Boolean
};

// A sheet as a table: names and kinds of its columns and where its data rows lie.
struct SheetTable
{
    QString tableName;
    QStringList columnNames;
    QList<ColumnKind> kinds;
    quint32 firstColumn = 0;
    quint32 firstDataRow = 0;
    quint32 rowCount = 0; // data rows, empty rows between included
};

// Sorts the sheet's cells by position (a later cell at the same position
// wins) and shapes the table.
SheetTable shapeSheet(WorkbookSheet& sheet, const QStringList& strings, bool headerRow);

// The value of a cell in a column of the given kind: written into the mirror
// through the writer's bind calls.
void bindCell(MirrorWriter& writer, int column, const WorkbookCell* cell, ColumnKind kind,
              const QStringList& strings);

// Text forms used for values in text columns and for headings.
QString workbookNumberText(double value);
QString workbookDateText(double days);

} // namespace supplink
