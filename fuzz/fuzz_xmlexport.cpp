// Reads any bytes as an XML material export, in full and as a preview, and
// checks what the titles, rows and CSV lines must satisfy.
#include "sources/clsxmlhelper.h"

#include <QString>
#include <QTextStream>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace supplink;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// One CSV line: exactly one line end, at its end.
void checkLine(const QVariantList& values)
{
    QString line;
    {
        QTextStream stream(&line);
        SchrijfCSVRegel(stream, values);
    }
    check(line.endsWith(QLatin1String("\r\n")));
    check(line.count(QLatin1Char('\n')) == 1 && line.count(QLatin1Char('\r')) == 1);
    check(line.count(QLatin1Char(';')) >= values.size() - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray document = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    qint32 fullRows = -1;
    for (const bool loadAll : {true, false}) {
        clsXMLHelper helper;
        const bool loaded = helper.LoadData(document, loadAll, QStringLiteral("fuzz.xml"));
        check(loaded == helper.Foutmelding().isEmpty());
        if (!loaded) {
            check(helper.RowCount() == 0);
            continue;
        }
        // Rows exist only under titles, and every row ends in its article type.
        check(helper.RowCount() == 0 || helper.ColumnCount() > 0);
        check(!helper.GetRowCollection(0) && !helper.GetRowCollection(helper.RowCount() + 1));
        QVariantList titles;
        for (const QString& title : helper.GetColumnCollection())
            titles.append(title);
        checkLine(titles);
        for (qint32 r = 1; r <= helper.RowCount(); ++r) {
            const std::optional<QVariantList> row = helper.GetRowCollection(r);
            check(row.has_value() && row->size() >= 2);
            const QString type = row->last().toString();
            check(type == QLatin1String("19") || type == QLatin1String("18") || type == QLatin1String("10") ||
                  type == QLatin1String("12"));
            check(!row->first().toString().isEmpty());
            checkLine(*row);
        }
        if (loadAll)
            fullRows = helper.RowCount();
        else
            check(helper.RowCount() <= fullRows && helper.RowCount() <= 100);
    }
    return 0;
}
