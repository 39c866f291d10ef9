#pragma once
// Writes small .xls files in the workbook tests, record by record, as Excel
// and the other writers lay them out: a compound file with one workbook
// stream ("Workbook" for BIFF8, "Book" for BIFF5) holding the globals (BOF,
// code page, formats, cell formats, sheet entries, shared strings, EOF) and
// one BOF..EOF block per sheet.
//
//   BiffBook book(8);
//   book.addFormat(164, QStringLiteral("hh:mm"));
//   const int timeXf = book.addXf(164);
//   book.sheet(QStringLiteral("Blad1")) += book.label(0, 0, QStringLiteral("Code")) +
//                                          book.number(1, 0, 0.25, timeXf);
//   writeFile(path, book.file());

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringConverter>

#include <algorithm>
#include <cstring>

namespace supplink::test {

inline void putU16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

inline void putU32(QByteArray& out, quint32 v)
{
    putU16(out, quint16(v & 0xFFFF));
    putU16(out, quint16(v >> 16));
}

inline QByteArray biffRecord(quint16 type, const QByteArray& data)
{
    QByteArray out;
    putU16(out, type);
    putU16(out, quint16(data.size()));
    return out + data;
}

// A version 3 compound file holding one stream in ordinary sectors: a stream
// shorter than 4096 bytes is padded with zeros to that size, as Excel does.
inline QByteArray compoundFile(const QString& streamName, QByteArray stream)
{
    constexpr quint32 kEnd = 0xFFFFFFFEu;
    constexpr quint32 kFree = 0xFFFFFFFFu;
    constexpr quint32 kFatSector = 0xFFFFFFFDu;
    if (stream.size() < 4096)
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    const qsizetype size = stream.size();
    const quint32 streamSectors = quint32((stream.size() + 511) / 512);
    stream.append(QByteArray(qsizetype(streamSectors) * 512 - stream.size(), '\0'));
    quint32 fatSectors = 1;
    while (fatSectors * 128 < fatSectors + 1 + streamSectors)
        ++fatSectors;

    QList<quint32> fat;
    for (quint32 i = 0; i < fatSectors; ++i)
        fat << kFatSector;
    fat << kEnd; // the directory
    const quint32 firstStreamSector = fatSectors + 1;
    for (quint32 i = 0; i < streamSectors; ++i)
        fat << (i + 1 < streamSectors ? firstStreamSector + i + 1 : kEnd);
    while (fat.size() < qsizetype(fatSectors) * 128)
        fat << kFree;

    QByteArray header;
    header += QByteArray::fromHex("D0CF11E0A1B11AE1");
    header += QByteArray(16, '\0');
    putU16(header, 0x003E);
    putU16(header, 3);
    putU16(header, 0xFFFE);
    putU16(header, 9);
    putU16(header, 6);
    header += QByteArray(6, '\0');
    putU32(header, 0);
    putU32(header, fatSectors);
    putU32(header, fatSectors); // the directory follows the FAT
    putU32(header, 0);
    putU32(header, 4096);
    putU32(header, kEnd);
    putU32(header, 0);
    putU32(header, kEnd);
    putU32(header, 0);
    for (quint32 i = 0; i < 109; ++i)
        putU32(header, i < fatSectors ? i : kFree);

    const auto entry = [](const QString& name, int type, quint32 child, quint32 start, quint32 bytes) {
        QByteArray e(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
        e.append(QByteArray(64 - e.size(), '\0'));
        putU16(e, quint16((name.size() + 1) * 2));
        e.append(char(type)).append(char(1));
        putU32(e, 0xFFFFFFFFu);
        putU32(e, 0xFFFFFFFFu);
        putU32(e, child);
        e.append(QByteArray(36, '\0'));
        putU32(e, start);
        putU32(e, bytes);
        putU32(e, 0);
        return e;
    };
    QByteArray directory = entry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0) +
                           entry(streamName, 2, 0xFFFFFFFFu, firstStreamSector, quint32(size));
    directory.append(QByteArray(512 - directory.size(), '\0'));

    QByteArray fatBytes;
    for (quint32 value : fat)
        putU32(fatBytes, value);
    return header + fatBytes + directory + stream;
}

class BiffBook
{
public:
    // version 8 (BIFF8) or 5 (BIFF5/7, texts in the code page given)
    explicit BiffBook(int version, int codePage = 1252) : m_version(version), m_codePage(codePage) {}

    void addFormat(quint16 index, const QString& code)
    {
        QByteArray data;
        putU16(data, index);
        if (m_version == 8) {
            putU16(data, quint16(code.size()));
            data += wideText(code);
        } else {
            data.append(char(code.size())).append(bytes(code));
        }
        m_formats += biffRecord(0x041E, data);
    }

    // A cell format with the given number format; its index.
    int addXf(quint16 format)
    {
        m_xfFormats << format;
        return int(m_xfFormats.size() - 1);
    }

    // The shared strings, in the order given (BIFF8).
    void setSharedStrings(const QStringList& strings) { m_shared = strings; }
    // A record of its own for the globals, before their end.
    void addGlobalRecord(const QByteArray& record) { m_extraGlobals += record; }

    QByteArray& sheet(const QString& name)
    {
        m_sheets.append({name, QByteArray()});
        return m_sheets.last().cells;
    }

    QByteArray number(int row, int column, double value, int xf = 0) const
    {
        QByteArray data = head(row, column, xf);
        data.append(reinterpret_cast<const char*>(&value), 8);
        return biffRecord(0x0203, data);
    }
    QByteArray rk(int row, int column, quint32 rkValue, int xf = 0) const
    {
        QByteArray data = head(row, column, xf);
        putU32(data, rkValue);
        return biffRecord(0x027E, data);
    }
    QByteArray mulRk(int row, int firstColumn, const QList<quint32>& values, int xf = 0) const
    {
        QByteArray data;
        putU16(data, quint16(row));
        putU16(data, quint16(firstColumn));
        for (quint32 value : values) {
            putU16(data, quint16(xf));
            putU32(data, value);
        }
        putU16(data, quint16(firstColumn + values.size() - 1));
        return biffRecord(0x00BD, data);
    }
    QByteArray labelSst(int row, int column, quint32 index) const
    {
        QByteArray data = head(row, column, 0);
        putU32(data, index);
        return biffRecord(0x00FD, data);
    }
    QByteArray label(int row, int column, const QString& text) const
    {
        QByteArray data = head(row, column, 0);
        putU16(data, quint16(text.size()));
        data += m_version == 8 ? wideText(text) : bytes(text);
        return biffRecord(0x0204, data);
    }
    QByteArray boolErr(int row, int column, quint8 value, bool error) const
    {
        QByteArray data = head(row, column, 0);
        data.append(char(value)).append(char(error ? 1 : 0));
        return biffRecord(0x0205, data);
    }
    QByteArray formulaNumber(int row, int column, double value, int xf = 0) const
    {
        QByteArray result(reinterpret_cast<const char*>(&value), 8);
        return formula(row, column, xf, result);
    }
    // kind 0 text (then the STRING record), 1 Boolean, 2 error, 3 empty text
    QByteArray formulaSpecial(int row, int column, quint8 kind, quint8 value = 0) const
    {
        QByteArray result;
        result.append(char(kind)).append('\0').append(char(value)).append(QByteArray(3, '\0'));
        putU16(result, 0xFFFF);
        return formula(row, column, 0, result);
    }
    QByteArray formulaText(int row, int column, const QString& text) const
    {
        QByteArray data;
        putU16(data, quint16(text.size()));
        data += m_version == 8 ? wideText(text) : bytes(text);
        return formulaSpecial(row, column, 0) + continued(0x0207, data, 3);
    }

    // The whole .xls file.
    QByteArray file() const
    {
        QByteArray globals = bof(0x0005);
        if (m_version == 5) {
            QByteArray page;
            putU16(page, quint16(m_codePage));
            globals += biffRecord(0x0042, page);
        }
        globals += m_formats;
        for (quint16 format : m_xfFormats) {
            QByteArray data;
            putU16(data, 0);
            putU16(data, format);
            data.append(QByteArray(m_version == 8 ? 16 : 12, '\0'));
            globals += biffRecord(0x00E0, data);
        }
        QList<qsizetype> offsetAt;
        for (const Sheet& sheet : m_sheets) {
            offsetAt << globals.size() + 4;
            QByteArray data(6, '\0');
            data.append(char(sheet.name.size()));
            data += m_version == 8 ? wideText(sheet.name) : bytes(sheet.name);
            globals += biffRecord(0x0085, data);
        }
        if (m_version == 8 && !m_shared.isEmpty())
            globals += sharedStringRecords();
        globals += m_extraGlobals + biffRecord(0x000A, {});

        QByteArray stream = globals;
        for (qsizetype i = 0; i < m_sheets.size(); ++i) {
            const quint32 offset = quint32(stream.size());
            std::memcpy(stream.data() + offsetAt[i], &offset, 4);
            stream += bof(0x0010) + m_sheets[i].cells + biffRecord(0x000A, {});
        }
        return compoundFile(m_version == 8 ? QStringLiteral("Workbook") : QStringLiteral("Book"), stream);
    }

    // The SST record and its CONTINUE records, split as Excel splits them:
    // at most 8224 bytes a record, a string's header never split, and a
    // text that goes on in the next record starting it with its flags byte.
    QByteArray sharedStringRecords() const
    {
        QByteArray first;
        putU32(first, quint32(m_shared.size()));
        putU32(first, quint32(m_shared.size()));
        QList<QByteArray> records{first};
        for (const QString& text : m_shared) {
            const bool wide =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
            if (records.last().size() + 4 > kMaxData)
                records << QByteArray();
            putU16(records.last(), quint16(text.size()));
            records.last().append(char(wide ? 1 : 0));
            qsizetype done = 0;
            while (done < text.size()) {
                const qsizetype room = (kMaxData - records.last().size()) / (wide ? 2 : 1);
                if (room <= 0) {
                    records << QByteArray(1, char(wide ? 1 : 0));
                    continue;
                }
                const QString part = text.mid(done, room);
                records.last() +=
                    wide ? QByteArray(reinterpret_cast<const char*>(part.utf16()), part.size() * 2)
                         : part.toLatin1();
                done += part.size();
            }
        }
        QByteArray out = biffRecord(0x00FC, records.first());
        for (qsizetype i = 1; i < records.size(); ++i)
            out += biffRecord(0x003C, records[i]);
        return out;
    }

private:
    static constexpr qsizetype kMaxData = 8224;

    struct Sheet
    {
        QString name;
        QByteArray cells;
    };

    QByteArray bof(quint16 kind) const
    {
        QByteArray data;
        putU16(data, m_version == 8 ? 0x0600 : 0x0500);
        putU16(data, kind);
        data.append(QByteArray(m_version == 8 ? 12 : 4, '\0'));
        return biffRecord(0x0809, data);
    }

    static QByteArray head(int row, int column, int xf)
    {
        QByteArray data;
        putU16(data, quint16(row));
        putU16(data, quint16(column));
        putU16(data, quint16(xf));
        return data;
    }

    // A BIFF8 text's flags and characters, two bytes each.
    static QByteArray wideText(const QString& text)
    {
        return QByteArray(1, '\1') + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }

    QByteArray bytes(const QString& text) const
    {
        QStringEncoder encoder(QByteArray("windows-" + QByteArray::number(m_codePage)).constData());
        return encoder.encode(text);
    }

    // A record whose data goes on in CONTINUE records; each one after the
    // first starts with the flags byte of the text it continues.
    static QByteArray continued(quint16 type, const QByteArray& data, qsizetype textStart)
    {
        if (data.size() <= kMaxData)
            return biffRecord(type, data);
        const bool evenSplit = (kMaxData - textStart) % 2 == 0;
        qsizetype cut = evenSplit ? kMaxData : kMaxData - 1;
        QByteArray out = biffRecord(type, data.left(cut));
        const char flags = data[textStart - 1];
        while (cut < data.size()) {
            const qsizetype piece = std::min<qsizetype>(data.size() - cut, (kMaxData - 1) & ~qsizetype(1));
            out += biffRecord(0x003C, QByteArray(1, flags) + data.mid(cut, piece));
            cut += piece;
        }
        return out;
    }

    QByteArray formula(int row, int column, int xf, const QByteArray& result) const
    {
        QByteArray data = head(row, column, xf) + result;
        putU16(data, 0);
        putU32(data, 0);
        putU16(data, 0); // no tokens: only the cached result matters here
        return biffRecord(0x0006, data);
    }

    int m_version;
    int m_codePage;
    QByteArray m_formats;
    QList<quint16> m_xfFormats{0};
    QStringList m_shared;
    QByteArray m_extraGlobals;
    QList<Sheet> m_sheets;
};

} // namespace supplink::test
