// Workbook reading from untrusted bytes: the .xlsx package reader and the
// .xls record pass, with the shaping of their sheets into tables.

#include "platform/workbook.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    supplink::WorkbookRead read = bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))
                                      ? supplink::readXls(bytes)
                                      : supplink::readXlsx(bytes);
    bool header = size % 2 == 0;
    for (supplink::WorkbookSheet& sheet : read.content.sheets) {
        const supplink::SheetTable table = supplink::shapeSheet(sheet, read.content.strings, header);
        if (table.columnNames.size() != table.kinds.size() || table.columnNames.isEmpty())
            __builtin_trap();
        for (const supplink::WorkbookCell& cell : sheet.cells)
            if (cell.kind == supplink::CellKind::Text &&
                (cell.text < 0 || cell.text >= read.content.strings.size()))
                __builtin_trap();
        header = !header;
    }
    return 0;
}
