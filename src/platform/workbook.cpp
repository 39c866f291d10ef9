#include "platform/workbook.h"

#include "platform/isolatedread.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <bit>
#include <cmath>

namespace supplink {

namespace {

constexpr int kMaxTableColumns = 255;
constexpr quint32 kGuessRows = 1000;
constexpr int kTextSize = 255;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString cellText(const WorkbookCell& cell, const QStringList& strings)
{
    switch (cell.kind) {
    case CellKind::Text:
        return strings.value(cell.text);
    case CellKind::Number:
        return workbookNumberText(cell.number);
    case CellKind::Date:
        return workbookDateText(cell.number);
    case CellKind::Boolean:
        return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case CellKind::Error:
        break;
    }
    return {};
}

ColumnKind kindOf(CellKind kind)
{
    switch (kind) {
    case CellKind::Number:
        return ColumnKind::Number;
    case CellKind::Date:
        return ColumnKind::Date;
    case CellKind::Boolean:
        return ColumnKind::Boolean;
    default:
        return ColumnKind::Text;
    }
}

MirrorColumn mirrorColumn(const QString& name, ColumnKind kind)
{
    MirrorColumn column;
    column.name = name;
    switch (kind) {
    case ColumnKind::Text:
        column.declaredType = mirrorTextDeclaration(kTextSize);
        column.jetType = JetType::Text;
        column.adoType = adType::VarWChar;
        column.definedSize = kTextSize;
        break;
    case ColumnKind::Memo:
        column.declaredType = mirrorMemoDeclaration();
        column.jetType = JetType::Memo;
        column.adoType = adType::LongVarWChar;
        column.definedSize = kMemoDefinedSize;
        break;
    case ColumnKind::Number:
        column.declaredType = QStringLiteral("DOUBLE");
        column.jetType = JetType::Double;
        column.adoType = adType::Double;
        column.definedSize = 8;
        break;
    case ColumnKind::Date:
        column.declaredType = QStringLiteral("DATETIME");
        column.jetType = JetType::DateTime;
        column.adoType = adType::Date;
        column.definedSize = 8;
        break;
    case ColumnKind::Boolean:
        column.declaredType = QStringLiteral("BIT");
        column.jetType = JetType::Boolean;
        column.adoType = adType::Boolean;
        column.definedSize = 2;
        break;
    }
    return column;
}

QString problemText(WorkbookProblem problem, const QString& path)
{
    switch (problem) {
    case WorkbookProblem::NotAWorkbook:
        return QStringLiteral("Het bestand '%1' is geen Excel-werkmap.").arg(shown(path));
    case WorkbookProblem::Protected:
        return QStringLiteral(
                   "De Excel-werkmap '%1' is beveiligd met een wachtwoord en kan niet worden gelezen.")
            .arg(shown(path));
    case WorkbookProblem::Damaged:
        return QStringLiteral("De Excel-werkmap '%1' is beschadigd en kan niet worden gelezen.")
            .arg(shown(path));
    case WorkbookProblem::TooLarge:
        return QStringLiteral("De Excel-werkmap '%1' is te groot om te kunnen worden gelezen.")
            .arg(shown(path));
    case WorkbookProblem::None:
        break;
    }
    return {};
}

} // namespace

QString workbookNumberText(double value)
{
    // Codes of up to sixteen digits are common in supplier lists: every whole
    // number a double holds exactly reads as its digits.
    constexpr double kExactWholeNumbers = 9007199254740992.0; // 2^53
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) <= kExactWholeNumbers)
        return QString::number(qint64(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString workbookDateText(double days)
{
    QString text = QString::fromLatin1(oleDateText(days));
    if (text.endsWith(QLatin1String(" 00:00:00")))
        text.chop(9);
    return text;
}

namespace {

const QByteArray kCompoundFileSignature = QByteArray::fromHex("D0CF11E0A1B11AE1");

} // namespace

WorkbookRead readWorkbookFile(const QString& path)
{
    WorkbookRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = WorkbookProblem::Damaged;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return readXlsx(bytes);
    if (bytes.startsWith(kCompoundFileSignature)) {
        // Excel keeps a password-protected .xlsx encrypted inside a compound file.
        const QByteArray encrypted =
            QByteArray::fromRawData(reinterpret_cast<const char*>(u"EncryptedPackage"), 32);
        if (bytes.contains(encrypted)) {
            result.problem = WorkbookProblem::Protected;
            return result;
        }
        return readXls(bytes);
    }
    result.problem = WorkbookProblem::NotAWorkbook;
    return result;
}

SheetTable shapeSheet(WorkbookSheet& sheet, const QStringList& strings, bool headerRow)
{
    SheetTable table;
    table.tableName = sheet.name + QLatin1Char('$');
    std::vector<WorkbookCell>& cells = sheet.cells;
    std::stable_sort(cells.begin(), cells.end(), [](const WorkbookCell& a, const WorkbookCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    // A later cell at the same position replaces an earlier one.
    std::vector<WorkbookCell> unique;
    unique.reserve(cells.size());
    for (const WorkbookCell& cell : cells) {
        if (!unique.empty() && unique.back().row == cell.row && unique.back().column == cell.column)
            unique.back() = cell;
        else
            unique.push_back(cell);
    }
    cells.swap(unique);

    if (cells.empty()) {
        table.columnNames << QStringLiteral("F1");
        table.kinds << ColumnKind::Text;
        return table;
    }
    quint32 firstColumn = cells.front().column;
    quint32 lastColumn = firstColumn;
    for (const WorkbookCell& cell : cells) {
        firstColumn = std::min(firstColumn, cell.column);
        lastColumn = std::max(lastColumn, cell.column);
    }
    const int count = int(std::min<quint32>(lastColumn - firstColumn + 1, kMaxTableColumns));
    const quint32 firstRow = cells.front().row;
    const quint32 lastRow = cells.back().row;
    table.firstColumn = firstColumn;
    table.firstDataRow = headerRow ? firstRow + 1 : firstRow;
    table.rowCount = headerRow ? lastRow - firstRow : lastRow - firstRow + 1;

    QStringList headings(count);
    if (headerRow) {
        for (const WorkbookCell& cell : cells) {
            if (cell.row != firstRow)
                break;
            if (cell.column - firstColumn < quint32(count))
                headings[int(cell.column - firstColumn)] = cellText(cell, strings);
        }
    }
    QSet<QString> used;
    for (int c = 0; c < count; ++c) {
        const QString base = headings[c].trimmed().isEmpty() ? QStringLiteral("F%1").arg(c + 1) : headings[c];
        QString name = base;
        for (int n = 1; used.contains(name.toLower()); ++n)
            name = base + QString::number(n);
        used.insert(name.toLower());
        table.columnNames << name;
    }

    // The kinds of the first data rows decide; a mix reads as text, and so
    // does a column whose later rows bring another kind.
    std::vector<unsigned> seen(count, 0);
    std::vector<bool> laterOther(count, false);
    std::vector<qsizetype> longest(count, 0);
    for (const WorkbookCell& cell : cells) {
        if (cell.row < table.firstDataRow || cell.column - firstColumn >= quint32(count) ||
            cell.kind == CellKind::Error)
            continue;
        const int c = int(cell.column - firstColumn);
        const unsigned bit = 1u << unsigned(kindOf(cell.kind));
        if (cell.row - table.firstDataRow < kGuessRows)
            seen[c] |= bit;
        else if (!(seen[c] & bit))
            laterOther[c] = true;
        if (cell.kind == CellKind::Text)
            longest[c] = std::max(longest[c], strings.value(cell.text).size());
    }
    for (int c = 0; c < count; ++c) {
        ColumnKind kind = ColumnKind::Text;
        if (seen[c] != 0 && (seen[c] & (seen[c] - 1)) == 0 && !laterOther[c])
            kind = ColumnKind(std::countr_zero(seen[c]));
        if (seen[c] == 0 && laterOther[c]) {
            // Only later rows hold values: one kind of them decides as well.
            unsigned later = 0;
            for (const WorkbookCell& cell : cells)
                if (cell.row >= table.firstDataRow && cell.column - firstColumn == quint32(c) &&
                    cell.kind != CellKind::Error)
                    later |= 1u << unsigned(kindOf(cell.kind));
            if ((later & (later - 1)) == 0)
                kind = ColumnKind(std::countr_zero(later));
        }
        if (kind == ColumnKind::Text && longest[c] > kTextSize)
            kind = ColumnKind::Memo;
        table.kinds << kind;
    }
    return table;
}

void bindCell(MirrorWriter& writer, int column, const WorkbookCell* cell, ColumnKind kind,
              const QStringList& strings)
{
    if (!cell || cell->kind == CellKind::Error) {
        writer.bindNull(column);
        return;
    }
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo:
        writer.bindText(column, cellText(*cell, strings));
        return;
    case ColumnKind::Number:
        if (cell->kind == CellKind::Number)
            writer.bindDouble(column, cell->number);
        else
            writer.bindNull(column);
        return;
    case ColumnKind::Date:
        if (const QByteArray text = oleDateText(cell->number);
            cell->kind == CellKind::Date && !text.isEmpty())
            writer.bindText(column, text);
        else
            writer.bindNull(column);
        return;
    case ColumnKind::Boolean:
        if (cell->kind == CellKind::Boolean)
            writer.bindInteger(column, cell->number != 0 ? -1 : 0);
        else
            writer.bindNull(column);
        return;
    }
}

namespace {

bool isCompoundFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == kCompoundFileSignature;
}

// Reads the workbook and writes its mirror at workPath; beat() is called as
// the work goes on.
MirrorResult readAndMirror(const QString& workbookPath, const QString& sqlitePath, const QString& workPath,
                           bool headerRow, const Heartbeat& beat)
{
    MirrorResult result;
    WorkbookRead read = readWorkbookFile(workbookPath);
    if (read.problem != WorkbookProblem::None) {
        result.error = problemText(read.problem, workbookPath);
        return result;
    }
    beat();
    WorkbookContent& content = read.content;
    if (content.sheets.isEmpty()) {
        result.error = QStringLiteral("De Excel-werkmap '%1' bevat geen werkblad.").arg(shown(workbookPath));
        return result;
    }
    if (std::all_of(content.sheets.begin(), content.sheets.end(),
                    [](const WorkbookSheet& sheet) { return sheet.cells.empty(); })) {
        result.error = QStringLiteral("De Excel-werkmap '%1' bevat geen gegevens.").arg(shown(workbookPath));
        return result;
    }

    MirrorWriter writer(sqlitePath, workPath);
    const auto failed = [&writer, &result] {
        result.error = writer.error();
        return result;
    };
    if (!writer.open() ||
        !writer.exec(QStringLiteral("CREATE TABLE %1 (ordinal INTEGER PRIMARY KEY, sheetname TEXT NOT NULL, "
                                    "tablename TEXT NOT NULL COLLATE NOCASE)")
                         .arg(QLatin1String(kMirrorSheetsTable))))
        return failed();

    int ordinal = 0;
    for (WorkbookSheet& sheet : content.sheets) {
        const SheetTable table = shapeSheet(sheet, content.strings, headerRow);
        QList<MirrorColumn> columns;
        for (int c = 0; c < table.columnNames.size(); ++c)
            columns << mirrorColumn(table.columnNames[c], table.kinds[c]);
        const int count = int(columns.size());
        if (!writer.createTable(table.tableName, columns) || !writer.beginRows(table.tableName, count))
            return failed();

        std::vector<const WorkbookCell*> row(count);
        auto next = sheet.cells.cbegin();
        const auto end = sheet.cells.cend();
        while (next != end && next->row < table.firstDataRow)
            ++next;
        for (quint32 r = 0; r < table.rowCount; ++r) {
            const quint32 rowNumber = table.firstDataRow + r;
            std::fill(row.begin(), row.end(), nullptr);
            for (; next != end && next->row == rowNumber; ++next)
                if (next->column >= table.firstColumn && next->column - table.firstColumn < quint32(count))
                    row[next->column - table.firstColumn] = &*next;
            for (int c = 0; c < count; ++c)
                bindCell(writer, c, row[c], table.kinds[c], content.strings);
            if (!writer.insertRow())
                return failed();
            if ((r + 1) % 1000 == 0)
                beat();
        }
        writer.endRows();
        if (!writer.beginRows(QLatin1String(kMirrorSheetsTable), 3))
            return failed();
        writer.bindInteger(0, ++ordinal);
        writer.bindText(1, sheet.name);
        writer.bindText(2, table.tableName);
        if (!writer.insertRow())
            return failed();
    }
    if (!writer.finish())
        return failed();
    result.ok = true;
    return result;
}

} // namespace

MirrorResult mirrorWorkbook(const QString& workbookPath, const QString& sqlitePath, bool headerRow)
{
    const QFileInfo info(workbookPath);
    if (!info.exists() || !info.isFile()) {
        MirrorResult result;
        result.error = QStringLiteral("Het bestand '%1' bestaat niet.").arg(shown(workbookPath));
        return result;
    }
    const auto read = [&](const QString& workPath, const Heartbeat& beat) {
        return readAndMirror(workbookPath, sqlitePath, workPath, headerRow, beat);
    };
    if (isCompoundFile(workbookPath))
        return mirrorIsolated(sqlitePath, problemText(WorkbookProblem::Damaged, workbookPath), read);
    return read(MirrorWriter::workPathFor(sqlitePath), [] {});
}

} // namespace supplink
