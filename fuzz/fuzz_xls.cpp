// Reads any bytes as an .xls workbook (a compound file) through the workbook
// reader's entry point, readWorkbookFile, which reads the cells of every
// worksheet in this process, and shapes each sheet into a table as the mirror
// does. Checks that every cell lies where a table can hold it and that every
// text cell names a text the read returned.
#include "platform/workbook.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace supplink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("prijzen.xls"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Other files are read elsewhere (fuzz_xlsx).
    if (!bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return 0;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    WorkbookRead read = readWorkbookFile(path);
    if (read.problem != WorkbookProblem::None)
        return 0;
    bool header = size % 2 == 0;
    for (WorkbookSheet& sheet : read.content.sheets) {
        for (const WorkbookCell& cell : sheet.cells) {
            if (cell.kind == CellKind::Text)
                FUZZ_CHECK(cell.text >= 0 && cell.text < read.content.strings.size());
        }
        const SheetTable table = shapeSheet(sheet, read.content.strings, header);
        FUZZ_CHECK(!table.columnNames.isEmpty() && table.columnNames.size() == table.kinds.size());
        FUZZ_CHECK(table.columnNames.size() <= 255);
        header = !header;
    }
    return 0;
}
