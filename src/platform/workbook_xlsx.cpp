// The .xlsx reader: an Office Open XML package read with libzip, its parts
// with QXmlStreamReader. Only what a table needs is read: sheet names and
// order, shared and inline strings, numbers, Booleans, errors, the cached
// results of formulas, and the number formats that make a number a date.

#include "platform/workbook.h"

#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace supplink {

namespace {

constexpr quint32 kMaxRows = 1048576;
constexpr quint32 kMaxColumns = 16384;
constexpr qsizetype kMaxCells = 16 * 1000 * 1000;

// One entry of the package, read as it is inflated.
class ZipEntryDevice : public QIODevice
{
public:
    explicit ZipEntryDevice(zip_file_t* file) : m_file(file) { open(QIODevice::ReadOnly); }
    ~ZipEntryDevice() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_end && QIODevice::atEnd(); }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_end || maxSize <= 0)
            return 0;
        const zip_int64_t n = zip_fread(m_file, data, zip_uint64_t(maxSize));
        if (n < 0) {
            m_failed = m_end = true;
            return -1;
        }
        m_end = n == 0;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* m_file;
    bool m_end = false;
    bool m_failed = false;
};

class Package
{
public:
    explicit Package(const QByteArray& bytes) : m_bytes(bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
        if (source) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~Package()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool isOpen() const { return m_zip != nullptr; }

    bool has(const QString& part) const
    {
        return zip_name_locate(m_zip, part.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
    }

    // Parses a part with the given handler; a missing part is no failure
    // when optional.
    template <typename Handler>
    void parse(const QString& part, Handler&& handler, bool optional = false) const
    {
        const zip_int64_t index = zip_name_locate(m_zip, part.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0) {
            if (optional)
                return;
            workbookDamaged();
        }
        zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file)
            workbookDamaged();
        ZipEntryDevice device(file);
        QXmlStreamReader xml(&device);
        handler(xml);
        if (xml.hasError() || device.failed())
            workbookDamaged();
    }

private:
    QByteArray m_bytes; // the buffer source reads from it
    zip_t* m_zip = nullptr;
};

// Part names: folders and relationship targets.
QString folderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash + 1);
}

QString resolveTarget(const QString& sourcePart, const QString& target)
{
    const QString joined =
        target.startsWith(QLatin1Char('/')) ? target.mid(1) : folderOf(sourcePart) + target;
    QStringList parts;
    for (const QString& piece : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (piece != QLatin1String("."))
            parts << piece;
    }
    return parts.join(QLatin1Char('/'));
}

QString relationshipsPart(const QString& part)
{
    const QString folder = folderOf(part);
    return folder + QStringLiteral("_rels/") + part.mid(folder.size()) + QStringLiteral(".rels");
}

struct Relationship
{
    QString type;
    QString target;
};

QHash<QString, Relationship> readRelationships(const Package& package, const QString& part, bool optional)
{
    QHash<QString, Relationship> relationships;
    package.parse(
        relationshipsPart(part),
        [&](QXmlStreamReader& xml) {
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
                    const auto attributes = xml.attributes();
                    if (attributes.value(QLatin1String("TargetMode")) != u"External")
                        relationships.insert(
                            attributes.value(QLatin1String("Id")).toString(),
                            {attributes.value(QLatin1String("Type")).toString(),
                             resolveTarget(part, attributes.value(QLatin1String("Target")).toString())});
                }
            }
        },
        optional);
    return relationships;
}

// Characters XML cannot hold are written as _xHHHH_.
QString decodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('_') && i + 6 < text.size() && text[i + 1] == QLatin1Char('x') &&
            text[i + 6] == QLatin1Char('_')) {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of the current element (a shared string or an inline string):
// its <t> elements, phonetic runs left out.
QString readRichText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    int phoneticDepth = 0;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"t" && phoneticDepth == 0) {
                text += xml.readElementText();
                continue;
            }
            ++depth;
            if (xml.name() == u"rPh" && phoneticDepth == 0)
                phoneticDepth = depth;
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == phoneticDepth)
                phoneticDepth = 0;
            --depth;
        }
    }
    return decodeEscapes(text);
}

// The value of a date cell (type "d"): an ISO 8601 date, date and time, or
// time of day, as days since 1899-12-30 (a time of day alone is the fraction
// of that day, as in a cell with a number and a time format).
double isoDays(const QString& text)
{
    QDateTime moment = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!moment.isValid())
        moment = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
    if (!moment.isValid()) {
        const QTime time =
            QTime::fromString(text.startsWith(QLatin1Char('T')) ? text.mid(1) : text, Qt::ISODateWithMs);
        if (time.isValid())
            moment = QDateTime(QDate(1899, 12, 30), time);
    }
    if (!moment.isValid())
        workbookDamaged();
    return double(QDate(1899, 12, 30).daysTo(moment.date())) +
           moment.time().msecsSinceStartOfDay() / 86400000.0;
}

bool parseCellReference(QStringView reference, quint32* row, quint32* column)
{
    qsizetype i = 0;
    quint32 col = 0;
    while (i < reference.size() && reference[i].isLetter() && reference[i].unicode() < 128) {
        col = col * 26 + quint32(reference[i].toUpper().unicode() - 'A' + 1);
        if (col > kMaxColumns)
            return false;
        ++i;
    }
    bool ok = false;
    const quint32 r = reference.mid(i).toUInt(&ok);
    if (i == 0 || !ok || r == 0 || r > kMaxRows)
        return false;
    *row = r - 1;
    *column = col - 1;
    return true;
}

class XlsxReader
{
public:
    explicit XlsxReader(const QByteArray& bytes) : m_package(bytes) {}

    WorkbookRead read()
    {
        WorkbookRead result;
        if (!m_package.isOpen()) {
            // Read as a zip archive because it starts as one.
            result.problem = WorkbookProblem::Damaged;
            return result;
        }
        return workbookReadOf([this] {
            readWorkbook();
            return std::move(m_content);
        });
    }

private:
    QString workbookPart()
    {
        QString part;
        for (const Relationship& relationship : readRelationships(m_package, QString(), true))
            if (relationship.type.endsWith(QLatin1String("/officeDocument")))
                part = relationship.target;
        if (part.isEmpty())
            part = QStringLiteral("xl/workbook.xml");
        if (!m_package.has(part))
            throw WorkbookReadFailure{m_package.has(QStringLiteral("[Content_Types].xml"))
                                          ? WorkbookProblem::Damaged
                                          : WorkbookProblem::NotAWorkbook};
        return part;
    }

    void readWorkbook()
    {
        const QString part = workbookPart();
        const QHash<QString, Relationship> relationships = readRelationships(m_package, part, false);

        struct SheetEntry
        {
            QString name;
            QString relationship;
        };
        QList<SheetEntry> entries;
        m_package.parse(part, [&](QXmlStreamReader& xml) {
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                const auto attributes = xml.attributes();
                if (xml.name() == u"workbookPr") {
                    const auto flag = attributes.value(QLatin1String("date1904"));
                    m_date1904 = flag == u"1" || flag == u"true";
                } else if (xml.name() == u"sheet") {
                    QString id;
                    for (const QXmlStreamAttribute& attribute : attributes)
                        if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                            id = attribute.value().toString();
                    entries.append({attributes.value(QLatin1String("name")).toString(), id});
                }
            }
        });

        for (const Relationship& relationship : relationships) {
            if (relationship.type.endsWith(QLatin1String("/sharedStrings")))
                readSharedStrings(relationship.target);
            else if (relationship.type.endsWith(QLatin1String("/styles")))
                readStyles(relationship.target);
        }
        m_sharedCount = m_content.strings.size();

        for (const SheetEntry& entry : entries) {
            const auto found = relationships.constFind(entry.relationship);
            if (found == relationships.constEnd())
                workbookDamaged();
            // Chart, dialog and macro sheets hold no table.
            if (!found->type.endsWith(QLatin1String("/worksheet")))
                continue;
            WorkbookSheet sheet;
            sheet.name = entry.name;
            readSheet(found->target, sheet);
            m_content.sheets.append(std::move(sheet));
        }
    }

    void readSharedStrings(const QString& part)
    {
        m_package.parse(part, [&](QXmlStreamReader& xml) {
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
                    if (m_content.strings.size() >= kMaxCells)
                        throw WorkbookReadFailure{WorkbookProblem::TooLarge};
                    m_content.strings.append(readRichText(xml));
                }
            }
        });
    }

    void readStyles(const QString& part)
    {
        QHash<int, QString> codes;
        QList<int> formats;
        m_package.parse(part, [&](QXmlStreamReader& xml) {
            int cellXfsDepth = -1;
            int depth = 0;
            while (!xml.atEnd()) {
                const auto token = xml.readNext();
                if (token == QXmlStreamReader::EndElement) {
                    if (depth == cellXfsDepth)
                        cellXfsDepth = -1;
                    --depth;
                    continue;
                }
                if (token != QXmlStreamReader::StartElement)
                    continue;
                ++depth;
                const auto attributes = xml.attributes();
                if (xml.name() == u"numFmt")
                    codes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                                 attributes.value(QLatin1String("formatCode")).toString());
                else if (xml.name() == u"cellXfs")
                    cellXfsDepth = depth;
                else if (xml.name() == u"xf" && cellXfsDepth >= 0 && depth == cellXfsDepth + 1)
                    formats.append(attributes.value(QLatin1String("numFmtId")).toInt());
            }
        });
        for (int id : formats) {
            const auto code = codes.constFind(id);
            m_dateStyles.append(isDateNumberFormat(id, code != codes.constEnd() ? *code : QString()));
        }
    }

    qint32 addString(const QString& text)
    {
        m_content.strings.append(text);
        return qint32(m_content.strings.size() - 1);
    }

    void addCell(WorkbookSheet& sheet, const WorkbookCell& cell)
    {
        if (++m_cellCount > kMaxCells)
            throw WorkbookReadFailure{WorkbookProblem::TooLarge};
        sheet.cells.push_back(cell);
    }

    void readSheet(const QString& part, WorkbookSheet& sheet)
    {
        m_package.parse(part, [&](QXmlStreamReader& xml) {
            quint32 row = 0;
            quint32 nextColumn = 0;
            bool anyRow = false;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == u"row") {
                    const auto number = xml.attributes().value(QLatin1String("r"));
                    if (!number.isEmpty()) {
                        bool ok = false;
                        const quint32 r = number.toUInt(&ok);
                        if (!ok || r == 0 || r > kMaxRows)
                            workbookDamaged();
                        row = r - 1;
                    } else if (anyRow) {
                        ++row;
                    }
                    anyRow = true;
                    nextColumn = 0;
                } else if (xml.name() == u"c") {
                    readCell(xml, sheet, row, nextColumn);
                }
            }
        });
    }

    void readCell(QXmlStreamReader& xml, WorkbookSheet& sheet, quint32& row, quint32& nextColumn)
    {
        const auto attributes = xml.attributes();
        WorkbookCell cell;
        const auto reference = attributes.value(QLatin1String("r"));
        if (reference.isEmpty()) {
            cell.row = row;
            cell.column = nextColumn;
            if (cell.column >= kMaxColumns)
                workbookDamaged();
        } else if (!parseCellReference(reference, &cell.row, &cell.column)) {
            workbookDamaged();
        }
        row = cell.row;
        nextColumn = cell.column + 1;
        const QString type = attributes.value(QLatin1String("t")).toString();
        const int style = attributes.value(QLatin1String("s")).toInt();

        QString value;
        QString inlineText;
        bool hasInline = false;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"c")
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"v") {
                value = xml.readElementText();
            } else if (xml.name() == u"is") {
                inlineText = readRichText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError())
            return;

        if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_sharedCount)
                workbookDamaged();
            if (m_content.strings.at(index).isEmpty())
                return;
            cell.kind = CellKind::Text;
            cell.text = index;
        } else if (type == u"inlineStr" || type == u"str") {
            const QString text = hasInline ? inlineText : decodeEscapes(value);
            if (text.isEmpty())
                return;
            cell.kind = CellKind::Text;
            cell.text = addString(text);
        } else if (type == u"b") {
            const QString flag = value.trimmed();
            if (flag.isEmpty())
                return;
            cell.kind = CellKind::Boolean;
            cell.number = flag == u"1" || flag.compare(u"true", Qt::CaseInsensitive) == 0 ? 1 : 0;
        } else if (type == u"e") {
            cell.kind = CellKind::Error;
        } else if (type == u"d") {
            if (value.trimmed().isEmpty())
                return;
            cell.kind = CellKind::Date;
            cell.number = isoDays(value.trimmed());
        } else {
            if (value.trimmed().isEmpty())
                return;
            bool ok = false;
            const double number = value.trimmed().toDouble(&ok);
            if (!ok)
                workbookDamaged();
            if (!std::isfinite(number)) {
                cell.kind = CellKind::Error;
            } else if (style >= 0 && style < m_dateStyles.size() && m_dateStyles.at(style) && number >= 0) {
                cell.kind = CellKind::Date;
                cell.number = excelSerialToDays(number, m_date1904);
            } else {
                cell.kind = CellKind::Number;
                cell.number = number;
            }
        }
        addCell(sheet, cell);
    }

    Package m_package;
    WorkbookContent m_content;
    QList<bool> m_dateStyles;
    bool m_date1904 = false;
    qsizetype m_sharedCount = 0;
    qsizetype m_cellCount = 0;
};

} // namespace

bool isDateNumberFormat(int id, const QString& code)
{
    if (code.isEmpty())
        return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('"')) {
            i = code.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0)
                return false;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return false;
            const QString inside = code.mid(i + 1, close - i - 1).toLower();
            // [h], [mm], [ss]: elapsed time
            if (!inside.isEmpty() && std::all_of(inside.begin(), inside.end(),
                                                 [](QChar x) { return QStringView(u"hms").contains(x); }))
                return true;
            i = close;
        } else if (c == QLatin1Char(';')) {
            return false;
        } else if (QStringView(u"dmyhsDMYHS").contains(c)) {
            return true;
        }
    }
    return false;
}

double excelSerialToDays(double serial, bool date1904)
{
    if (date1904)
        return serial + 1462;
    if (serial >= 1 && serial < 60)
        return serial + 1;
    return serial;
}

WorkbookRead readXlsx(const QByteArray& fileBytes)
{
    return XlsxReader(fileBytes).read();
}

} // namespace supplink
