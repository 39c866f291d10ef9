// The .xls reader: a pass of our own over the records of the workbook stream
// inside the compound file, for BIFF8 (Excel 97 and later, and what other
// programs write as .xls) and BIFF5/7 (Excel 5 and 95).
//
// Each cell comes from its own record: numbers from NUMBER, RK and MULRK;
// texts from LABELSST (with the shared strings of SST and its CONTINUE
// records), LABEL and RSTRING; Booleans and errors from BOOLERR; formula cells
// from the cached result in FORMULA (a text in the STRING record after it). A
// number whose cell format shows a date or time is a date. BIFF5 texts are in
// the workbook's code page (CODEPAGE), BIFF8 texts in UTF-16 or Latin-1.
//
// Every length is checked against the record that holds it; a stream that
// does not hold together is damaged. mirrorWorkbook still reads .xls files in
// a child process (see isolatedread.h), so that a fault in this pass cannot
// take the program down either.

#include "platform/workbook.h"

#include <QByteArrayView>
#include <QHash>
#include <QStringDecoder>

#include <cmath>
#include <cstring>
#include <vector>

namespace supplink {

namespace {

constexpr qint64 kMaxXlsCells = 16 * 1000 * 1000;
constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
constexpr quint32 kFreeSector = 0xFFFFFFFFu;

// Record types.
constexpr quint16 kFormula = 0x0006;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFilePass = 0x002F;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kMulRk = 0x00BD;
constexpr quint16 kRString = 0x00D6;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kString = 0x0207;
constexpr quint16 kArray = 0x0221;
constexpr quint16 kTable = 0x0236;
constexpr quint16 kRk = 0x027E;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kSharedFormula = 0x04BC;
constexpr quint16 kBof = 0x0809;

quint16 u16(QByteArrayView data, qsizetype at)
{
    return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8);
}

quint32 u32(QByteArrayView data, qsizetype at)
{
    return quint32(u16(data, at)) | quint32(u16(data, at + 2)) << 16;
}

double f64(QByteArrayView data, qsizetype at)
{
    double value = 0;
    std::memcpy(&value, data.data() + at, sizeof value); // little-endian, as the platforms we build for
    return value;
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

    bool isValid() const { return m_valid; }

    // Whether the file has a stream of that name; its bytes when it can be read.
    bool stream(const QString& name, QByteArray* out, bool* found) const
    {
        *found = false;
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
            *found = true;
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
    QByteArrayView data;
};

// The records of the workbook stream from a position on.
class RecordReader
{
public:
    RecordReader(QByteArrayView stream, qsizetype at) : m_stream(stream), m_at(at) {}

    // False at the end of the stream; a record cut off by the end is damage.
    bool next(Record* record)
    {
        if (m_at < 0 || m_at >= m_stream.size())
            return false;
        if (m_at + 4 > m_stream.size())
            workbookDamaged();
        const quint16 length = u16(m_stream, m_at + 2);
        if (m_at + 4 + length > m_stream.size())
            workbookDamaged();
        record->type = u16(m_stream, m_at);
        record->data = m_stream.sliced(m_at + 4, length);
        m_at += 4 + length;
        return true;
    }

    // The data of the CONTINUE records that follow.
    QList<QByteArrayView> continuations()
    {
        QList<QByteArrayView> pieces;
        Record record;
        while (m_at + 4 <= m_stream.size() && u16(m_stream, m_at) == kContinue && next(&record))
            pieces.append(record.data);
        return pieces;
    }

private:
    QByteArrayView m_stream;
    qsizetype m_at;
};

// Record data that may go on in CONTINUE records (the pieces). A text whose
// characters go on in the next piece starts it with a new flags byte (bit 0:
// two bytes a character); everything else goes on without one. Reading past
// the last piece is damage.
class Pieces
{
public:
    explicit Pieces(QList<QByteArrayView> pieces, qsizetype at = 0) : m_pieces(std::move(pieces)), m_at(at) {}

    bool atEnd()
    {
        while (m_index < m_pieces.size() && m_at >= m_pieces[m_index].size()) {
            ++m_index;
            m_at = 0;
        }
        return m_index >= m_pieces.size();
    }

    quint8 byte()
    {
        if (atEnd())
            workbookDamaged();
        return quint8(m_pieces[m_index][m_at++]);
    }
    quint16 u16()
    {
        const quint8 low = byte();
        return quint16(low | byte() << 8);
    }
    quint32 u32()
    {
        const quint16 low = u16();
        return quint32(low) | quint32(u16()) << 16;
    }

    void skip(qint64 count)
    {
        while (count > 0) {
            if (atEnd())
                workbookDamaged();
            const qint64 here = std::min<qint64>(count, m_pieces[m_index].size() - m_at);
            m_at += here;
            count -= here;
        }
    }

    // count characters of a BIFF8 text whose flags said wide or not.
    QString characters(int count, bool wide)
    {
        QString text;
        text.reserve(count);
        while (text.size() < count) {
            if (m_index >= m_pieces.size())
                workbookDamaged();
            QByteArrayView piece = m_pieces[m_index];
            if (m_at >= piece.size()) {
                if (++m_index >= m_pieces.size() || m_pieces[m_index].isEmpty())
                    workbookDamaged();
                wide = m_pieces[m_index][0] & 1;
                m_at = 1;
                continue;
            }
            const qsizetype wanted = count - text.size();
            if (wide) {
                const qsizetype here = std::min<qsizetype>(wanted, (piece.size() - m_at) / 2);
                if (here == 0)
                    workbookDamaged();
                for (qsizetype i = 0; i < here; ++i)
                    text += QChar(::supplink::u16(piece, m_at + 2 * i));
                m_at += 2 * here;
            } else {
                const qsizetype here = std::min<qsizetype>(wanted, piece.size() - m_at);
                for (qsizetype i = 0; i < here; ++i)
                    text += QChar(quint8(piece[m_at + i]));
                m_at += here;
            }
        }
        return text;
    }

    // A BIFF8 text after its character count: the flags, the counts of
    // formatting runs and phonetic data when the flags say so, the characters,
    // then the runs and phonetic data, which are skipped.
    QString unicodeText(int count)
    {
        const quint8 flags = byte();
        const quint16 runs = (flags & 0x08) ? u16() : 0;
        const quint32 phonetic = (flags & 0x04) ? u32() : 0;
        QString text = characters(count, flags & 0x01);
        skip(qint64(runs) * 4);
        skip(phonetic);
        return text;
    }

    QByteArrayView bytes(int count)
    {
        if (atEnd() || m_pieces[m_index].size() - m_at < count)
            workbookDamaged();
        const QByteArrayView bytes = m_pieces[m_index].sliced(m_at, count);
        m_at += count;
        return bytes;
    }

private:
    QList<QByteArrayView> m_pieces;
    qsizetype m_index = 0;
    qsizetype m_at;
};

// An RK number: a 30-bit integer or the high 30 bits of a double, either
// divided by 100 when bit 0 is set.
double rkNumber(quint32 rk)
{
    double value = 0;
    if (rk & 2) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

// The encoding of BIFF5 texts by the workbook's code page.
QStringDecoder codePageDecoder(int codePage)
{
    QByteArray name;
    if (codePage >= 1250 && codePage <= 1258)
        name = "windows-" + QByteArray::number(codePage);
    else if (codePage == 10000 || codePage == 32768)
        name = "macintosh";
    else if (codePage == 367)
        name = "US-ASCII";
    else if (codePage > 0 && codePage != 1200 && codePage != 32769)
        name = "cp" + QByteArray::number(codePage);
    QStringDecoder decoder(name.isEmpty() ? "windows-1252" : name.constData());
    return decoder.isValid() ? std::move(decoder) : QStringDecoder("windows-1252");
}

class XlsReader
{
public:
    explicit XlsReader(const QByteArray& file) : m_file(file) {}

    WorkbookRead read()
    {
        return workbookReadOf([this] {
            readWorkbook();
            return std::move(m_content);
        });
    }

private:
    struct SheetEntry
    {
        quint32 offset;
        QString name;
    };

    void readWorkbook()
    {
        const CompoundFile compound(m_file);
        if (!compound.isValid())
            workbookDamaged();
        bool found = false;
        bool readable = compound.stream(QStringLiteral("Workbook"), &m_stream, &found);
        if (!found)
            readable = compound.stream(QStringLiteral("Book"), &m_stream, &found);
        if (!found)
            throw WorkbookReadFailure{WorkbookProblem::NotAWorkbook};
        if (!readable)
            workbookDamaged();

        RecordReader globals(m_stream, 0);
        Record record;
        if (!globals.next(&record) || record.type != kBof || record.data.size() < 4 ||
            u16(record.data, 2) != 0x0005)
            workbookDamaged();
        const quint16 version = u16(record.data, 0);
        if (version != 0x0600 && version != 0x0500)
            workbookDamaged();
        m_biff8 = version == 0x0600;
        m_decoder = codePageDecoder(0);

        QList<SheetEntry> sheets;
        for (;;) {
            if (!globals.next(&record))
                workbookDamaged();
            if (record.type == kEof)
                break;
            const QByteArrayView d = record.data;
            switch (record.type) {
            case kFilePass: // the rest is encrypted
                throw WorkbookReadFailure{WorkbookProblem::Protected};
            case kCodePage:
                if (d.size() >= 2 && !m_biff8)
                    m_decoder = codePageDecoder(u16(d, 0));
                break;
            case kDateMode:
                if (d.size() >= 2)
                    m_date1904 = u16(d, 0) != 0;
                break;
            case kXf:
                if (d.size() >= 4)
                    m_xfFormats.append(u16(d, 2));
                break;
            case kFormat:
                if (d.size() >= 3) {
                    Pieces pieces({d}, 2);
                    m_formatCodes.insert(u16(d, 0), m_biff8 ? pieces.unicodeText(pieces.u16())
                                                            : byteText(pieces, pieces.byte()));
                }
                break;
            case kBoundSheet:
                if (d.size() >= 7) {
                    Pieces pieces({d}, 6);
                    const int length = pieces.byte();
                    const QString name = m_biff8 ? pieces.unicodeText(length) : byteText(pieces, length);
                    // Worksheets only (type 0): charts and macro sheets hold no table.
                    if (quint8(d[5]) == 0)
                        sheets.append({u32(d, 0), name});
                }
                break;
            case kSst:
                if (m_biff8)
                    readSharedStrings(record, globals);
                break;
            default:
                break;
            }
        }

        for (const SheetEntry& entry : sheets)
            readSheet(entry);
    }

    QString byteText(Pieces& pieces, int count)
    {
        m_decoder.resetState();
        return m_decoder.decode(pieces.bytes(count));
    }

    void readSharedStrings(const Record& sst, RecordReader& reader)
    {
        if (sst.data.size() < 8)
            workbookDamaged();
        QList<QByteArrayView> all{sst.data};
        all.append(reader.continuations());
        Pieces pieces(all, 8);
        m_sharedBase = m_content.strings.size();
        // The declared count is not trusted: the strings run to the end of the records.
        while (!pieces.atEnd()) {
            if (m_content.strings.size() - m_sharedBase >= kMaxXlsCells)
                throw WorkbookReadFailure{WorkbookProblem::TooLarge};
            m_content.strings.append(pieces.unicodeText(pieces.u16()));
        }
        m_sharedCount = m_content.strings.size() - m_sharedBase;
    }

    bool isDate(int xf) const
    {
        if (xf < 0 || xf >= m_xfFormats.size())
            return false;
        const int format = m_xfFormats[xf];
        return isDateNumberFormat(format, m_formatCodes.value(format));
    }

    void addCell(WorkbookSheet& sheet, const WorkbookCell& cell)
    {
        if (++m_cellCount > kMaxXlsCells)
            throw WorkbookReadFailure{WorkbookProblem::TooLarge};
        sheet.cells.push_back(cell);
    }

    void addNumber(WorkbookSheet& sheet, quint32 row, quint32 column, int xf, double number)
    {
        WorkbookCell cell;
        cell.row = row;
        cell.column = column;
        if (!std::isfinite(number)) {
            cell.kind = CellKind::Error;
        } else if (number >= 0 && isDate(xf)) {
            cell.kind = CellKind::Date;
            cell.number = excelSerialToDays(number, m_date1904);
        } else {
            cell.number = number;
        }
        addCell(sheet, cell);
    }

    void addText(WorkbookSheet& sheet, quint32 row, quint32 column, const QString& text)
    {
        if (text.isEmpty())
            return;
        WorkbookCell cell;
        cell.row = row;
        cell.column = column;
        cell.kind = CellKind::Text;
        cell.text = qint32(m_content.strings.size());
        m_content.strings.append(text);
        addCell(sheet, cell);
    }

    void addKind(WorkbookSheet& sheet, quint32 row, quint32 column, CellKind kind, double number = 0)
    {
        WorkbookCell cell;
        cell.row = row;
        cell.column = column;
        cell.kind = kind;
        cell.number = number;
        addCell(sheet, cell);
    }

    // A text cell's characters after row, column and format.
    QString cellText(QByteArrayView d, const QList<QByteArrayView>& more = {})
    {
        QList<QByteArrayView> all{d};
        all.append(more);
        Pieces pieces(all, 6);
        const int count = pieces.u16();
        return m_biff8 ? pieces.unicodeText(count) : byteText(pieces, count);
    }

    void readSheet(const SheetEntry& entry)
    {
        if (entry.offset >= quint32(m_stream.size()))
            workbookDamaged();
        RecordReader reader(m_stream, qsizetype(entry.offset));
        Record record;
        if (!reader.next(&record) || record.type != kBof || record.data.size() < 4)
            workbookDamaged();
        // A chart or macro sheet behind a worksheet entry holds no table.
        if (u16(record.data, 2) != 0x0010)
            return;

        WorkbookSheet sheet;
        sheet.name = entry.name;
        int depth = 1;
        // A formula whose text result follows in a STRING record.
        bool awaitingText = false;
        quint32 textRow = 0;
        quint32 textColumn = 0;
        while (depth > 0) {
            if (!reader.next(&record))
                workbookDamaged();
            const QByteArrayView d = record.data;
            if (record.type == kBof) {
                ++depth; // an embedded chart
                continue;
            }
            if (record.type == kEof) {
                --depth;
                continue;
            }
            if (depth > 1)
                continue;
            if (record.type != kString && record.type != kSharedFormula && record.type != kArray &&
                record.type != kTable)
                awaitingText = false; // only these may stand between a formula and its text
            const quint32 row = d.size() >= 4 ? u16(d, 0) : 0;
            const quint32 column = d.size() >= 4 ? u16(d, 2) : 0;
            switch (record.type) {
            case kNumber:
                if (d.size() < 14)
                    workbookDamaged();
                addNumber(sheet, row, column, u16(d, 4), f64(d, 6));
                break;
            case kRk:
                if (d.size() < 10)
                    workbookDamaged();
                addNumber(sheet, row, column, u16(d, 4), rkNumber(u32(d, 6)));
                break;
            case kMulRk: {
                if (d.size() < 6 || (d.size() - 6) % 6 != 0)
                    workbookDamaged();
                const qsizetype count = (d.size() - 6) / 6;
                for (qsizetype i = 0; i < count; ++i)
                    addNumber(sheet, row, column + quint32(i), u16(d, 4 + 6 * i),
                              rkNumber(u32(d, 6 + 6 * i)));
                break;
            }
            case kLabelSst: {
                if (d.size() < 10)
                    workbookDamaged();
                const quint32 index = u32(d, 6);
                if (index >= quint32(m_sharedCount))
                    workbookDamaged();
                if (!m_content.strings.at(m_sharedBase + index).isEmpty()) {
                    WorkbookCell cell;
                    cell.row = row;
                    cell.column = column;
                    cell.kind = CellKind::Text;
                    cell.text = qint32(m_sharedBase + index);
                    addCell(sheet, cell);
                }
                break;
            }
            case kLabel:
            case kRString:
                if (d.size() < 8)
                    workbookDamaged();
                addText(sheet, row, column, cellText(d));
                break;
            case kBoolErr:
                if (d.size() < 8)
                    workbookDamaged();
                if (d[7] != 0)
                    addKind(sheet, row, column, CellKind::Error);
                else
                    addKind(sheet, row, column, CellKind::Boolean, d[6] != 0 ? 1 : 0);
                break;
            case kFormula:
                if (d.size() < 14)
                    workbookDamaged();
                if (quint8(d[12]) == 0xFF && quint8(d[13]) == 0xFF) {
                    switch (quint8(d[6])) {
                    case 0: // a text, in the STRING record that follows
                        awaitingText = true;
                        textRow = row;
                        textColumn = column;
                        break;
                    case 1:
                        addKind(sheet, row, column, CellKind::Boolean, d[8] != 0 ? 1 : 0);
                        break;
                    case 2:
                        addKind(sheet, row, column, CellKind::Error);
                        break;
                    default: // an empty text
                        break;
                    }
                } else {
                    addNumber(sheet, row, column, u16(d, 4), f64(d, 6));
                }
                break;
            case kString:
                if (awaitingText) {
                    awaitingText = false;
                    if (d.size() < 2)
                        workbookDamaged();
                    QList<QByteArrayView> all{d};
                    all.append(reader.continuations());
                    Pieces pieces(all, 0);
                    const int count = pieces.u16();
                    addText(sheet, textRow, textColumn,
                            m_biff8 ? pieces.unicodeText(count) : byteText(pieces, count));
                }
                break;
            default:
                break;
            }
        }
        m_content.sheets.append(std::move(sheet));
    }

    const QByteArray& m_file;
    QByteArray m_stream;
    bool m_biff8 = true;
    bool m_date1904 = false;
    QStringDecoder m_decoder;
    QList<int> m_xfFormats;
    QHash<int, QString> m_formatCodes;
    qsizetype m_sharedBase = 0;
    qsizetype m_sharedCount = 0;
    qint64 m_cellCount = 0;
    WorkbookContent m_content;
};

} // namespace

WorkbookRead readXls(const QByteArray& fileBytes)
{
    return XlsReader(fileBytes).read();
}

} // namespace supplink
