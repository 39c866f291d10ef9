// The .xls reader: freexl reads the cells, and a small pass of our own over
// the workbook stream adds the cached results of formula cells, which freexl
// leaves empty.

#include "platform/workbook.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QTime>

#include <freexl.h>

#include <cmath>
#include <cstring>

namespace supplink {

namespace {

constexpr qint64 kMaxXlsCells = 16 * 1000 * 1000;
constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
constexpr quint32 kFreeSector = 0xFFFFFFFFu;

quint16 u16(const QByteArray& data, qsizetype at)
{
    return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8);
}

quint32 u32(const QByteArray& data, qsizetype at)
{
    return quint32(u16(data, at)) | quint32(u16(data, at + 2)) << 16;
}

// freexl gives dates as 'YYYY-MM-DD', 'YYYY-MM-DD HH:MM:SS' or 'HH:MM:SS'.
bool freexlDate(const char* text, double* days)
{
    const QString value = QString::fromUtf8(text).trimmed();
    QDate date(1899, 12, 30);
    QTime time(0, 0);
    if (value.size() >= 10 && value[4] == QLatin1Char('-')) {
        date = QDate::fromString(value.left(10), QStringLiteral("yyyy-MM-dd"));
        if (value.size() > 10)
            time = QTime::fromString(value.mid(11), QStringLiteral("HH:mm:ss"));
    } else {
        time = QTime::fromString(value, QStringLiteral("HH:mm:ss"));
    }
    if (!date.isValid() || !time.isValid())
        return false;
    *days = double(QDate(1899, 12, 30).daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0;
    return true;
}

// The streams of a compound file (the container of .xls files).
class CompoundFile
{
public:
    explicit CompoundFile(const QByteArray& bytes) : m_bytes(bytes)
    {
        if (bytes.size() < 512 || !bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
            return;
        const int shift = u16(bytes, 30);
        if ((shift != 9 && shift != 12) || u16(bytes, 32) != 6)
            return;
        m_sectorSize = 1 << shift;
        const qint64 sectors = (bytes.size() + m_sectorSize - 1) / m_sectorSize;

        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors.push_back(u32(bytes, 76 + 4 * i));
        quint32 difat = u32(bytes, 68);
        for (qint64 guard = 0; difat != kEndOfChain && difat != kFreeSector && guard < sectors; ++guard) {
            if (!sectorInRange(difat))
                return;
            const qsizetype at = offsetOf(difat);
            const int entries = m_sectorSize / 4 - 1;
            for (int i = 0; i < entries; ++i)
                fatSectors.push_back(u32(bytes, at + 4 * i));
            difat = u32(bytes, at + 4 * entries);
        }
        const quint32 fatCount = u32(bytes, 44);
        for (quint32 i = 0; i < fatCount && i < fatSectors.size(); ++i) {
            if (!sectorInRange(fatSectors[i]))
                return;
            const qsizetype at = offsetOf(fatSectors[i]);
            for (int k = 0; k < m_sectorSize / 4; ++k)
                m_fat.push_back(u32(bytes, at + 4 * k));
        }
        QByteArray directory;
        if (!chain(m_fat, u32(bytes, 48), -1, &directory))
            return;
        m_directory = directory;
        m_miniCutoff = u32(bytes, 56);
        QByteArray miniFat;
        const quint32 miniFatStart = u32(bytes, 60);
        if (miniFatStart != kEndOfChain && chain(m_fat, miniFatStart, -1, &miniFat))
            for (qsizetype at = 0; at + 4 <= miniFat.size(); at += 4)
                m_miniFat.push_back(u32(miniFat, at));
        m_valid = true;
    }

    bool stream(const QString& name, QByteArray* out) const
    {
        if (!m_valid)
            return false;
        QByteArray miniStream;
        bool haveMini = false;
        for (qsizetype at = 0; at + 128 <= m_directory.size(); at += 128) {
            const int nameBytes = std::min<int>(u16(m_directory, at + 64), 64);
            const int type = quint8(m_directory[at + 66]);
            const quint32 start = u32(m_directory, at + 116);
            const qint64 size = u32(m_directory, at + 120);
            if (type == 5 && !haveMini)
                haveMini = chain(m_fat, start, size, &miniStream);
            if (type != 2 || nameBytes < 2)
                continue;
            const QString entryName = QString::fromUtf16(
                reinterpret_cast<const char16_t*>(m_directory.constData() + at), nameBytes / 2 - 1);
            if (entryName.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (size >= m_miniCutoff)
                return chain(m_fat, start, size, out);
            // Small streams live in 64-byte pieces of the root's mini stream.
            if (!haveMini)
                return false;
            out->clear();
            quint32 piece = start;
            for (qint64 guard = 0; out->size() < size; ++guard) {
                if (piece >= m_miniFat.size() || guard > qint64(m_miniFat.size()) ||
                    qint64(piece) * 64 + 64 > miniStream.size())
                    return false;
                out->append(miniStream.constData() + qint64(piece) * 64, 64);
                piece = m_miniFat[piece];
            }
            out->truncate(size);
            return true;
        }
        return false;
    }

private:
    qsizetype offsetOf(quint32 sector) const { return qsizetype(sector + 1) * m_sectorSize; }
    bool sectorInRange(quint32 sector) const
    {
        return sector < 0xFFFFFFF0u && offsetOf(sector) + m_sectorSize <= m_bytes.size();
    }

    // The sectors of a chain; size -1 reads the whole chain.
    bool chain(const std::vector<quint32>& fat, quint32 start, qint64 size, QByteArray* out) const
    {
        out->clear();
        if (size > m_bytes.size())
            return false;
        quint32 sector = start;
        for (qint64 guard = 0; sector != kEndOfChain && (size < 0 || out->size() < size); ++guard) {
            if (guard > qint64(fat.size()) || sector >= fat.size() || !sectorInRange(sector))
                return false;
            out->append(m_bytes.constData() + offsetOf(sector), m_sectorSize);
            sector = fat[sector];
        }
        if (size >= 0) {
            if (out->size() < size)
                return false;
            out->truncate(size);
        }
        return true;
    }

    QByteArray m_bytes;
    int m_sectorSize = 512;
    std::vector<quint32> m_fat;
    std::vector<quint32> m_miniFat;
    QByteArray m_directory;
    qint64 m_miniCutoff = 4096;
    bool m_valid = false;
};

struct Record
{
    quint16 type = 0;
    QByteArray data;
};

// BIFF8 records from a position of the workbook stream.
class RecordReader
{
public:
    RecordReader(const QByteArray& stream, qsizetype at) : m_stream(stream), m_at(at) {}

    bool next(Record* record)
    {
        if (m_at < 0 || m_at + 4 > m_stream.size())
            return false;
        const quint16 length = u16(m_stream, m_at + 2);
        if (m_at + 4 + length > m_stream.size())
            return false;
        record->type = u16(m_stream, m_at);
        record->data = m_stream.mid(m_at + 4, length);
        m_at += 4 + length;
        return true;
    }

    // The type of the next record without reading it, or 0.
    quint16 peekType() const { return m_at + 4 <= m_stream.size() ? u16(m_stream, m_at) : 0; }

private:
    const QByteArray& m_stream;
    qsizetype m_at;
};

// A BIFF8 string of count characters from pieces (a record and the
// CONTINUE records after it): each piece after the first starts with a new
// flags byte; bit 0 set means two bytes a character.
QString biffText(const QList<QByteArray>& pieces, qsizetype at, int count, bool wide)
{
    QString text;
    int piece = 0;
    while (text.size() < count && piece < pieces.size()) {
        const QByteArray& data = pieces[piece];
        if (at >= data.size()) {
            if (++piece >= pieces.size() || pieces[piece].isEmpty())
                break;
            wide = pieces[piece][0] & 1;
            at = 1;
            continue;
        }
        if (wide) {
            if (at + 2 > data.size()) {
                at = data.size();
                continue;
            }
            text += QChar(u16(data, at));
            at += 2;
        } else {
            text += QChar(quint8(data[at]));
            at += 1;
        }
    }
    return text;
}

} // namespace

QHash<QString, QList<XlsFormulaValue>> readXlsFormulaResults(const QByteArray& file)
{
    QHash<QString, QList<XlsFormulaValue>> results;
    QByteArray stream;
    if (!CompoundFile(file).stream(QStringLiteral("Workbook"), &stream))
        return results;

    struct Sheet
    {
        quint32 offset;
        QString name;
    };
    QList<Sheet> sheets;
    QList<int> xfFormats;
    QHash<int, QString> formatCodes;
    bool date1904 = false;
    Record record;
    RecordReader globals(stream, 0);
    if (!globals.next(&record) || record.type != 0x0809 || record.data.size() < 4 ||
        u16(record.data, 0) != 0x0600 || u16(record.data, 2) != 0x0005)
        return results;
    while (globals.next(&record) && record.type != 0x000A) {
        const QByteArray& d = record.data;
        switch (record.type) {
        case 0x002F: // FILEPASS: the rest is encrypted
            return results;
        case 0x0022:
            if (d.size() >= 2)
                date1904 = u16(d, 0) != 0;
            break;
        case 0x00E0:
            if (d.size() >= 4)
                xfFormats.append(u16(d, 2));
            break;
        case 0x041E:
            if (d.size() >= 5)
                formatCodes.insert(u16(d, 0), biffText({d}, 5, u16(d, 2), d[4] & 1));
            break;
        case 0x0085:
            // Worksheets only (type 0); the name is a short string.
            if (d.size() >= 8 && quint8(d[5]) == 0)
                sheets.append({u32(d, 0), biffText({d}, 8, quint8(d[6]), d[7] & 1)});
            break;
        default:
            break;
        }
    }

    const auto isDate = [&](int xf) {
        if (xf < 0 || xf >= xfFormats.size())
            return false;
        const int format = xfFormats[xf];
        return isDateNumberFormat(format, formatCodes.value(format));
    };

    for (const Sheet& sheet : sheets) {
        QList<XlsFormulaValue>& values = results[sheet.name];
        RecordReader reader(stream, qsizetype(sheet.offset));
        if (!reader.next(&record) || record.type != 0x0809)
            continue;
        int depth = 1;
        XlsFormulaValue pending;
        bool awaitingText = false;
        while (depth > 0 && reader.next(&record)) {
            const QByteArray& d = record.data;
            if (record.type == 0x0809) {
                ++depth;
            } else if (record.type == 0x000A) {
                --depth;
            } else if (depth == 1 && record.type == 0x0006 && d.size() >= 14) {
                awaitingText = false;
                XlsFormulaValue value;
                value.row = u16(d, 0);
                value.column = u16(d, 2);
                if (quint8(d[12]) == 0xFF && quint8(d[13]) == 0xFF) {
                    const int kind = quint8(d[6]);
                    if (kind == 0) { // text, in the STRING record that follows
                        pending = value;
                        pending.kind = CellKind::Text;
                        awaitingText = true;
                    } else if (kind == 1) {
                        value.kind = CellKind::Boolean;
                        value.number = quint8(d[8]) ? 1 : 0;
                        values.append(value);
                    }
                    continue;
                }
                double number = 0;
                std::memcpy(&number, d.constData() + 6, sizeof number);
                if (!std::isfinite(number))
                    continue;
                if (isDate(u16(d, 4)) && number >= 0) {
                    value.kind = CellKind::Date;
                    value.number = excelSerialToDays(number, date1904);
                } else {
                    value.kind = CellKind::Number;
                    value.number = number;
                }
                values.append(value);
            } else if (depth == 1 && record.type == 0x0207 && awaitingText) {
                awaitingText = false;
                if (d.size() < 3)
                    continue;
                QList<QByteArray> pieces{d};
                while (reader.peekType() == 0x003C && reader.next(&record))
                    pieces.append(record.data);
                pending.text = biffText(pieces, 3, u16(d, 0), d[2] & 1);
                if (!pending.text.isEmpty())
                    values.append(pending);
            } else if (record.type != 0x04BC && record.type != 0x0221 && record.type != 0x0236) {
                // Only shared-formula, array and table records may stand
                // between a formula and its text.
                awaitingText = false;
            }
        }
    }
    return results;
}

WorkbookRead readXls(const QString& path)
{
    WorkbookRead result;
    const void* handle = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &handle);
    const auto close = qScopeGuard([&handle] {
        if (handle)
            freexl_close(handle);
    });
    if (opened != FREEXL_OK) {
        result.problem = WorkbookProblem::Damaged;
        return result;
    }
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        result.problem = WorkbookProblem::Protected;
        return result;
    }
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK) {
        result.problem = WorkbookProblem::Damaged;
        return result;
    }
    QFile file(path);
    const auto formulas = file.open(QIODevice::ReadOnly) ? readXlsFormulaResults(file.readAll())
                                                         : QHash<QString, QList<XlsFormulaValue>>();

    qint64 cellsLeft = kMaxXlsCells;
    QStringList& strings = result.content.strings;
    for (unsigned int s = 0; s < sheetCount && s <= 0xFFFF; ++s) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(s), &name) != FREEXL_OK ||
            freexl_select_active_worksheet(handle, static_cast<unsigned short>(s)) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
            result.problem = WorkbookProblem::Damaged;
            return result;
        }
        WorkbookSheet sheet;
        sheet.name = QString::fromUtf8(name ? name : "");
        QSet<quint64> taken;
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK)
                    continue;
                WorkbookCell cell;
                cell.row = r;
                cell.column = c;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    cell.number = value.value.int_value;
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell.number = value.value.double_value;
                    if (!std::isfinite(cell.number))
                        cell.kind = CellKind::Error;
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT: {
                    const QString text =
                        QString::fromUtf8(value.value.text_value ? value.value.text_value : "");
                    if (text.isEmpty())
                        continue;
                    cell.kind = CellKind::Text;
                    cell.text = qint32(strings.size());
                    strings.append(text);
                    break;
                }
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (!value.value.text_value || !freexlDate(value.value.text_value, &cell.number))
                        continue;
                    cell.kind = CellKind::Date;
                    break;
                default:
                    continue;
                }
                if (--cellsLeft < 0) {
                    result.problem = WorkbookProblem::TooLarge;
                    return result;
                }
                taken.insert(quint64(r) << 16 | c);
                sheet.cells.push_back(cell);
            }
        }
        for (const XlsFormulaValue& value : formulas.value(sheet.name)) {
            if (taken.contains(quint64(value.row) << 16 | value.column) || --cellsLeft < 0)
                continue;
            WorkbookCell cell;
            cell.row = value.row;
            cell.column = value.column;
            cell.kind = value.kind;
            cell.number = value.number;
            if (value.kind == CellKind::Text) {
                cell.text = qint32(strings.size());
                strings.append(value.text);
            }
            sheet.cells.push_back(cell);
        }
        result.content.sheets.append(std::move(sheet));
    }
    return result;
}

} // namespace supplink
