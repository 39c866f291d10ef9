#include "platform/jetmirror.h"

#include "platform/isolatedread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <glib.h>
// glib first: the libmdb header needs its types.
#include <mdbtools.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <iconv.h>
#endif

namespace supplink {

namespace {

constexpr int kOffsetMask = 0x1fff;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString corruptText(const QString& path, const QString& table)
{
    return QStringLiteral("De Access-database '%1' is beschadigd: de tabel '%2' kan niet worden gelezen.")
        .arg(shown(path), table);
}

QString damagedText(const QString& path)
{
    return QStringLiteral("De Access-database '%1' is beschadigd en kan niet worden gelezen.")
        .arg(shown(path));
}

struct MdbCloser
{
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
struct TableFreer
{
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

quint32 le32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint64 le64(const unsigned char* p)
{
    return quint64(le32(p)) | quint64(le32(p + 4)) << 32;
}

template <typename T> T fromBytes(const unsigned char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value); // Jet stores little-endian, as the platforms we build for
    return value;
}

// The nearest double of a decimal text (C locale, correctly rounded).
double decimalToDouble(const std::string& text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

QByteArray guidText(const unsigned char* p)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  p[3], p[2], p[1], p[0], p[5], p[4], p[7], p[6], p[8], p[9], p[10], p[11], p[12], p[13],
                  p[14], p[15]);
    return QByteArray(text);
}

// A Jet decimal: a sign byte, then a 128-bit magnitude stored as four 32-bit
// little-endian words, the most significant word first.
std::string decimalText(const unsigned char* p, int scale)
{
    unsigned __int128 magnitude = 0;
    for (int word = 0; word < 4; ++word)
        magnitude = magnitude << 32 | le32(p + 1 + 4 * word);
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    std::string text = (p[0] & 0x80) ? "-" : "";
    return text + digits + "e-" + std::to_string(scale);
}

struct Column
{
    MdbColumn* source = nullptr;
    MirrorColumn target;
};

MirrorColumn describe(const MdbColumn* column, bool jet4, bool integerKey)
{
    MirrorColumn out;
    out.name = QString::fromUtf8(column->name);
    out.jetType = column->col_type;
    out.autoNumber = column->is_long_auto || column->is_uuid_auto;
    switch (column->col_type) {
    case MDB_BOOL:
        out.declaredType = QStringLiteral("BIT");
        out.adoType = adType::Boolean;
        out.definedSize = 2;
        break;
    case MDB_BYTE:
        out.declaredType = QStringLiteral("BYTE");
        out.adoType = adType::UnsignedTinyInt;
        out.definedSize = 1;
        break;
    case MDB_INT:
        out.declaredType = QStringLiteral("SMALLINT");
        out.adoType = adType::SmallInt;
        out.definedSize = 2;
        break;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        out.jetType = JetType::Long;
        out.declaredType = integerKey ? QStringLiteral("INTEGER PRIMARY KEY") : QStringLiteral("INTEGER");
        out.adoType = adType::Integer;
        out.definedSize = 4;
        break;
    case MDB_MONEY:
        out.declaredType = QStringLiteral("CURRENCY");
        out.adoType = adType::Currency;
        out.definedSize = 8;
        out.precision = 19;
        out.scale = 4;
        break;
    case MDB_FLOAT:
        out.declaredType = QStringLiteral("SINGLE");
        out.adoType = adType::Single;
        out.definedSize = 4;
        break;
    case MDB_DOUBLE:
        out.declaredType = QStringLiteral("DOUBLE");
        out.adoType = adType::Double;
        out.definedSize = 8;
        break;
    case MDB_DATETIME:
        out.declaredType = QStringLiteral("DATETIME");
        out.adoType = adType::Date;
        out.definedSize = 8;
        break;
    case MDB_BINARY:
        out.declaredType = QStringLiteral("BINARY(%1)").arg(column->col_size);
        out.adoType = adType::VarBinary;
        out.definedSize = column->col_size;
        break;
    case MDB_TEXT:
        // Jet 4 keeps text sizes in bytes of UCS-2.
        out.definedSize = jet4 ? column->col_size / 2 : column->col_size;
        out.declaredType = mirrorTextDeclaration(out.definedSize);
        out.adoType = adType::VarWChar;
        break;
    case MDB_MEMO:
        out.declaredType = mirrorMemoDeclaration();
        out.adoType = adType::LongVarWChar;
        out.definedSize = kMemoDefinedSize;
        break;
    case MDB_REPID:
        out.declaredType = QStringLiteral("GUID");
        out.adoType = adType::GUID;
        out.definedSize = 16;
        break;
    case MDB_NUMERIC:
        // libmdb reads the two bytes the other way round: its scale field
        // holds the precision and its precision field the scale.
        out.precision = column->col_scale;
        out.scale = column->col_prec;
        out.declaredType = QStringLiteral("DECIMAL(%1,%2)").arg(out.precision).arg(out.scale);
        out.adoType = adType::Numeric;
        out.definedSize = 19;
        break;
    case MDB_OLE:
    default:
        out.jetType = JetType::OleObject;
        out.declaredType = QStringLiteral("LONGBINARY");
        out.adoType = adType::LongVarBinary;
        out.definedSize = kOleDefinedSize;
        break;
    }
    return out;
}

class TableCopier
{
public:
    TableCopier(MdbHandle* mdb, MirrorWriter& writer, qint64 fileSize, const std::function<void()>& beat)
        : m_mdb(mdb), m_writer(writer), m_fileSize(fileSize), m_beat(beat)
    {
    }

    // False with an empty error: the table is unreadable; with an error: the
    // mirror could not be written.
    bool copy(MdbCatalogEntry* entry, QString* writeError);

private:
    bool readColumns(MdbTableDef* table);
    bool copyRows(MdbTableDef* table);
    bool bindValue(int index, const Column& column, const MdbField& field);
    bool longValue(const unsigned char* field, int size, QByteArray* out);
    QByteArray text(const QByteArray& raw);
    bool createIndexes(MdbTableDef* table, const QString& name);
    const MdbColumn* columnById(MdbTableDef* table, int id) const;

    MdbHandle* m_mdb;
    MirrorWriter& m_writer;
    qint64 m_fileSize;
    const std::function<void()>& m_beat;
    std::vector<Column> m_columns;
    QStringList m_keyColumns;
};

const MdbColumn* TableCopier::columnById(MdbTableDef* table, int id) const
{
    for (guint i = 0; i < table->columns->len; ++i) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (column->col_num == id)
            return column;
    }
    return nullptr;
}

bool TableCopier::readColumns(MdbTableDef* table)
{
    if (!mdb_read_columns(table) || !table->columns || table->columns->len != table->num_cols ||
        table->num_cols == 0)
        return false;
    // The indexes follow the columns on the definition page, which is still loaded.
    mdb_read_indices(table);

    const MdbColumn* integerKey = nullptr;
    m_keyColumns.clear();
    if (table->indices) {
        for (guint i = 0; i < table->indices->len; ++i) {
            const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(table->indices, i));
            if (index->index_type != 1 || index->num_keys == 0 || index->num_keys > MDB_MAX_IDX_COLS)
                continue;
            QStringList keys;
            const MdbColumn* last = nullptr;
            for (unsigned k = 0; k < index->num_keys; ++k) {
                last = columnById(table, index->key_col_num[k] - 1);
                if (!last) {
                    keys.clear();
                    break;
                }
                keys << QString::fromUtf8(last->name);
            }
            m_keyColumns = keys;
            if (keys.size() == 1 && last->col_type == MDB_LONGINT)
                integerKey = last;
            break;
        }
    }

    const bool jet4 = m_mdb->f->jet_version != MDB_VER_JET3;
    m_columns.clear();
    for (guint i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        m_columns.push_back({column, describe(column, jet4, column == integerKey)});
    }
    return true;
}

bool TableCopier::copy(MdbCatalogEntry* entry, QString* writeError)
{
    const QString name = QString::fromUtf8(entry->object_name);
    TablePtr table(mdb_read_table(entry));
    if (!table || !readColumns(table.get()))
        return false;

    QList<MirrorColumn> columns;
    for (const Column& column : m_columns)
        columns << column.target;
    const bool inlineKey = std::any_of(m_columns.begin(), m_columns.end(), [](const Column& c) {
        return c.target.declaredType.endsWith(QLatin1String("PRIMARY KEY"));
    });
    if (!m_writer.createTable(name, columns, inlineKey ? QStringList() : m_keyColumns) ||
        !m_writer.beginRows(name, int(m_columns.size()))) {
        *writeError = m_writer.error();
        return false;
    }
    if (!copyRows(table.get()))
        return false;
    m_writer.endRows();
    if (!createIndexes(table.get(), name)) {
        *writeError = m_writer.error();
        return false;
    }
    return true;
}

bool TableCopier::copyRows(MdbTableDef* table)
{
    // OLE columns are read through libmdb's blob reader, which wants a bound buffer.
    std::vector<std::vector<char>> oleBuffers;
    for (guint i = 0; i < table->num_cols; ++i) {
        if (m_columns[i].source->col_type == MDB_OLE) {
            oleBuffers.emplace_back(2 * MDB_PGSIZE + MDB_MEMO_OVERHEAD);
            mdb_bind_column(table, int(i) + 1, oleBuffers.back().data(), nullptr);
        }
    }

    std::vector<MdbField> fields(table->num_cols);
    std::vector<int> fieldOfColumn(table->num_cols);
    qint64 rows = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // Crack the row just read once more for the exact null flags, which
        // the bound values do not tell apart from empty texts.
        int rowStart = 0;
        size_t rowSize = 0;
        if (table->cur_row == 0 || mdb_find_row(m_mdb, int(table->cur_row) - 1, &rowStart, &rowSize) != 0)
            return false;
        rowStart &= kOffsetMask;
        std::fill(fieldOfColumn.begin(), fieldOfColumn.end(), -1);
        for (MdbField& field : fields) {
            field = MdbField{};
            field.colnum = -1;
        }
        const int count = mdb_crack_row(table, rowStart, rowSize, fields.data());
        if (count < 0)
            return false;
        for (guint i = 0; i < table->num_cols; ++i) {
            const int column = fields[i].colnum;
            if (column >= 0 && column < int(table->num_cols))
                fieldOfColumn[column] = int(i);
        }
        for (guint c = 0; c < table->num_cols; ++c) {
            // A column added after the row was written holds no value in it.
            MdbField absent{};
            absent.is_null = 1;
            const MdbField& field = fieldOfColumn[c] >= 0 ? fields[fieldOfColumn[c]] : absent;
            if (!bindValue(int(c), m_columns[c], field))
                return false;
        }
        if (!m_writer.insertRow())
            return false;
        if (++rows % 1000 == 0)
            m_beat();
    }
    return true;
}

bool TableCopier::longValue(const unsigned char* field, int size, QByteArray* out)
{
    out->clear();
    if (size < MDB_MEMO_OVERHEAD)
        return true;
    const quint32 header = le32(field);
    const qint64 length = header & 0x3fffffff;
    if (header & 0x80000000u) {
        *out = QByteArray(reinterpret_cast<const char*>(field) + MDB_MEMO_OVERHEAD, size - MDB_MEMO_OVERHEAD);
        return true;
    }
    if (length > m_fileSize)
        return false;
    int pageRow = int(le32(field + 4));
    void* buffer = nullptr;
    int offset = 0;
    size_t rowLength = 0;
    if (header & 0x40000000u) {
        if (mdb_find_pg_row(m_mdb, pageRow, &buffer, &offset, &rowLength) != 0)
            return false;
        *out = QByteArray(static_cast<const char*>(buffer) + offset, qMin<qint64>(qint64(rowLength), length));
        return true;
    }
    if (header & 0xc0000000u)
        return false;
    // A chain of pages, each row starting with the next row's address.
    out->reserve(length);
    for (qint64 guard = 0; pageRow != 0 && out->size() < length; ++guard) {
        if (guard > m_fileSize / 64 || mdb_find_pg_row(m_mdb, pageRow, &buffer, &offset, &rowLength) != 0 ||
            rowLength < 4)
            return false;
        const auto* row = static_cast<const unsigned char*>(buffer) + offset;
        const qint64 piece = qMin<qint64>(qint64(rowLength) - 4, length - out->size());
        out->append(reinterpret_cast<const char*>(row) + 4, piece);
        pageRow = int(le32(row));
    }
    return true;
}

QByteArray TableCopier::text(const QByteArray& raw)
{
    // At most three bytes of UTF-8 for each byte read (Jet 3 code pages,
    // Jet 4 compressed or UCS-2 text).
    QByteArray converted(raw.size() * 3 + 8, Qt::Uninitialized);
    const int length = mdb_unicode2ascii(m_mdb, raw.constData(), size_t(raw.size()), converted.data(),
                                         size_t(converted.size() - 2));
    converted.truncate(qBound(0, length, int(converted.size() - 2)));
    return converted;
}

bool TableCopier::bindValue(int index, const Column& column, const MdbField& field)
{
    const MdbColumn* source = column.source;
    if (source->col_type == MDB_BOOL) {
        // A Yes/No value lives in the null mask: a set bit is True.
        m_writer.bindInteger(index, field.is_null ? 0 : -1);
        return true;
    }
    if (field.is_null) {
        m_writer.bindNull(index);
        return true;
    }
    const int start = field.start;
    const int size = field.siz;
    if (start < 0 || size < 0 || qint64(start) + size > qint64(m_mdb->fmt->pg_size))
        return false;
    const unsigned char* p = m_mdb->pg_buf + start;
    const auto needs = [size](int bytes) { return size >= bytes; };

    switch (source->col_type) {
    case MDB_BYTE:
        if (!needs(1))
            return false;
        m_writer.bindInteger(index, p[0]);
        return true;
    case MDB_INT:
        if (!needs(2))
            return false;
        m_writer.bindInteger(index, fromBytes<qint16>(p));
        return true;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        if (!needs(4))
            return false;
        m_writer.bindInteger(index, fromBytes<qint32>(p));
        return true;
    case MDB_MONEY: {
        if (!needs(8))
            return false;
        // Ten-thousandths in a 64-bit integer; the division rounds exactly.
        const auto amount = qint64(le64(p));
        if (amount % 10000 == 0)
            m_writer.bindInteger(index, amount / 10000);
        else
            m_writer.bindDouble(index, double(amount) / 10000.0);
        return true;
    }
    case MDB_FLOAT: {
        if (!needs(4))
            return false;
        const float single = fromBytes<float>(p);
        if (!std::isfinite(single)) {
            m_writer.bindNull(index);
            return true;
        }
        // The shortest decimal that reads back as this single, as Jet shows it.
        char digits[32];
        const auto result = std::to_chars(digits, digits + sizeof digits, single);
        m_writer.bindDouble(index, decimalToDouble(std::string(digits, result.ptr)));
        return true;
    }
    case MDB_DOUBLE: {
        if (!needs(8))
            return false;
        const double value = fromBytes<double>(p);
        if (std::isfinite(value))
            m_writer.bindDouble(index, value);
        else
            m_writer.bindNull(index);
        return true;
    }
    case MDB_DATETIME: {
        if (!needs(8))
            return false;
        const QByteArray textValue = oleDateText(fromBytes<double>(p));
        if (textValue.isEmpty())
            m_writer.bindNull(index);
        else
            m_writer.bindText(index, textValue);
        return true;
    }
    case MDB_BINARY:
        m_writer.bindBlob(index, QByteArray(reinterpret_cast<const char*>(p), size));
        return true;
    case MDB_TEXT:
        m_writer.bindText(index, text(QByteArray(reinterpret_cast<const char*>(p), size)));
        return true;
    case MDB_MEMO: {
        QByteArray raw;
        if (!longValue(p, size, &raw))
            return false;
        m_writer.bindText(index, text(raw));
        return true;
    }
    case MDB_REPID:
        if (!needs(16))
            return false;
        m_writer.bindText(index, guidText(p));
        return true;
    case MDB_NUMERIC: {
        if (!needs(17))
            return false;
        const int scale = column.target.scale;
        const std::string digits = decimalText(p, scale);
        qint64 whole = 0;
        const char* begin = digits.data();
        const char* end = begin + digits.find('e');
        if (scale == 0 && std::from_chars(begin, end, whole).ptr == end)
            m_writer.bindInteger(index, whole);
        else
            m_writer.bindDouble(index, decimalToDouble(digits));
        return true;
    }
    case MDB_OLE:
    default: {
        QByteArray raw;
        if (!longValue(p, size, &raw))
            return false;
        m_writer.bindBlob(index, raw);
        return true;
    }
    }
}

bool TableCopier::createIndexes(MdbTableDef* table, const QString& name)
{
    if (!table->indices)
        return true;
    for (guint i = 0; i < table->indices->len; ++i) {
        const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(table->indices, i));
        // Type 1 is the primary key (already the table's key), type 2 the
        // other side of a relationship.
        if (index->index_type != 0 || index->num_keys == 0 || index->num_keys > MDB_MAX_IDX_COLS)
            continue;
        QStringList keys;
        for (unsigned k = 0; k < index->num_keys; ++k) {
            const MdbColumn* column = columnById(table, index->key_col_num[k] - 1);
            if (!column) {
                keys.clear();
                break;
            }
            keys << quoteSqlIdentifier(QString::fromUtf8(column->name)) +
                        (index->key_col_order[k] == MDB_DESC ? QStringLiteral(" DESC") : QString());
        }
        if (keys.isEmpty())
            continue;
        const QString indexName =
            quoteSqlIdentifier(name + QLatin1Char('.') + QString::fromUtf8(index->name));
        const QString body = QStringLiteral("INDEX %1 ON %2 (%3)")
                                 .arg(indexName, quoteSqlIdentifier(name), keys.join(QStringLiteral(", ")));
        const bool unique = index->flags & MDB_IDX_UNIQUE;
        // Jet may compare texts as equal that the collation of codes does
        // not, never the other way round; a unique index that still fails is
        // kept plain.
        if (unique && m_writer.exec(QStringLiteral("CREATE UNIQUE ") + body))
            continue;
        if (!m_writer.exec(QStringLiteral("CREATE ") + body))
            return false;
    }
    return true;
}

} // namespace

bool hasJetSignature(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(32);
    return head.size() >= 19 &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

namespace {

// Reads the database in this process. beat() is called as the work goes on.
MirrorResult mirrorHere(const QString& mdbPath, const QString& sqlitePath, const QString& workPath,
                        const std::function<void()>& beat)
{
    MirrorResult result;
    MdbPtr mdb(mdb_open(QFile::encodeName(mdbPath).constData(), MDB_NOFLAGS));
    if (!mdb) {
        result.error = QStringLiteral("De Access-database '%1' kan niet worden geopend.").arg(shown(mdbPath));
        return result;
    }
    GPtrArray* catalog = mdb_read_catalog(mdb.get(), MDB_TABLE);
    if (!catalog) {
        result.error = damagedText(mdbPath);
        return result;
    }
    beat();

    MirrorWriter writer(sqlitePath, workPath);
    if (!writer.open()) {
        result.error = writer.error();
        return result;
    }
    TableCopier copier(mdb.get(), writer, QFileInfo(mdbPath).size(), beat);
    for (guint i = 0; i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        QString writeError;
        if (!copier.copy(entry, &writeError)) {
            result.error = writeError.isEmpty() ? corruptText(mdbPath, QString::fromUtf8(entry->object_name))
                                                : writeError;
            return result;
        }
        beat();
    }
    if (!writer.finish()) {
        result.error = writer.error();
        return result;
    }
    result.ok = true;
    return result;
}

#ifdef Q_OS_UNIX

// The text converters libmdb opens, loaded once in this process so that a
// forked reader finds them without loading modules. They stay open for the
// life of the process and are closed at its end.
class LoadedConverters
{
public:
    LoadedConverters()
        : m_converters{iconv_open("UTF-8", "UCS-2LE"), iconv_open("UCS-2LE", "UTF-8"),
                       iconv_open("UTF-8", "CP1252"), iconv_open("CP1252", "UTF-8")}
    {
    }
    ~LoadedConverters()
    {
        for (iconv_t converter : m_converters)
            if (converter != iconv_t(-1))
                iconv_close(converter);
    }
    LoadedConverters(const LoadedConverters&) = delete;
    LoadedConverters& operator=(const LoadedConverters&) = delete;

private:
    iconv_t m_converters[4];
};

void keepConvertersLoaded()
{
    static const LoadedConverters converters;
}

#endif

} // namespace

MirrorResult mirrorJetDatabase(const QString& mdbPath, const QString& sqlitePath)
{
    MirrorResult result;
    const QFileInfo info(mdbPath);
    if (!info.exists() || !info.isFile()) {
        result.error = QStringLiteral("Het bestand '%1' bestaat niet.").arg(shown(mdbPath));
        return result;
    }
    if (!hasJetSignature(mdbPath)) {
        result.error = QStringLiteral("Het bestand '%1' is geen Access-database.").arg(shown(mdbPath));
        return result;
    }
#ifdef Q_OS_UNIX
    keepConvertersLoaded();
#endif
    return mirrorIsolated(sqlitePath, damagedText(mdbPath),
                          [&mdbPath, &sqlitePath](const QString& workPath, const Heartbeat& beat) {
                              return mirrorHere(mdbPath, sqlitePath, workPath, beat);
                          });
}

MirrorResult mirrorJetDatabaseInProcess(const QString& mdbPath, const QString& sqlitePath)
{
    return mirrorHere(mdbPath, sqlitePath, MirrorWriter::workPathFor(sqlitePath), [] {});
}

} // namespace supplink
