#include "database/recordset.h"

#include "database/criteria.h"
#include "platform/codecompare.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>

namespace supplink {

namespace {

// Below this many rows a search simply walks the rows.
constexpr qsizetype kIndexThreshold = 16;

[[noreturn]] void noCurrentRecord()
{
    throw AppError(
        DbErrorNumber::NoCurrentRecord,
        QStringLiteral("Er is geen huidig record: de recordset staat voor het begin of na het einde, of "
                       "het record is verwijderd."));
}

bool isText(int type)
{
    return type == adType::VarWChar || type == adType::LongVarWChar;
}

bool isIntegral(const QVariant& value)
{
    return isIntegralType(value.typeId());
}

std::optional<double> readDouble(const QString& text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

double numberKey(double number)
{
    return number + 0.0;
} // one key for -0 and +0

} // namespace

size_t qHash(const Recordset::NameKey& key, size_t seed) noexcept
{
    size_t hash = seed;
    for (const QChar c : key.name) {
        const char16_t unit = c.unicode();
        const char16_t folded = unit < 0x80 ? ((unit >= u'A' && unit <= u'Z') ? char16_t(unit + 32) : unit)
                                            : char16_t(c.toCaseFolded().unicode());
        hash = hash * 31 + folded;
    }
    return hash;
}

// ---- Field -------------------------------------------------------------------

const QString& Field::name() const
{
    return m_recordset->column(m_index).name;
}
int Field::type() const
{
    return m_recordset->column(m_index).type;
}
int Field::definedSize() const
{
    return m_recordset->column(m_index).definedSize;
}
QVariant Field::value() const
{
    return m_recordset->value(m_index);
}
void Field::setValue(const QVariant& value) const
{
    m_recordset->setValue(m_index, value);
}

// ---- Opening -------------------------------------------------------------------

Recordset::Recordset(DbConnection db, QString source, QVariantList params, ResultData data)
    : m_db(std::move(db)), m_source(std::move(source)), m_params(std::move(params))
{
    load(std::move(data));
}

Recordset::~Recordset() = default;

void Recordset::load(ResultData data)
{
    m_columns = std::move(data.columns);
    m_width = int(m_columns.size());
    m_data = std::move(data.rows);
    m_rows = m_data.size();
    m_rowLocators = data.rowLocators;
    m_rowids = std::move(data.rowids);
    m_schema = std::move(data.schema);
    m_table = std::move(data.table);
    m_keyColumns = std::move(data.keyColumns);
    m_deleted.clear();
    m_textIndexes.clear();
    m_numberIndexes.clear();
    m_compiled.reset();
    m_inserts.clear();
    m_updates.clear();
    m_delete.reset();

    m_names.clear();
    for (NameCacheEntry& entry : m_nameCache)
        entry = NameCacheEntry();
    for (int i = 0; i < m_width; ++i) {
        const NameKey key{m_columns.at(i).name};
        if (!m_names.contains(key)) // of two equal names the first counts
            m_names.insert(key, i);
    }
    // A joined column is found by "Table.Column" as well.
    for (int i = 0; i < m_width; ++i) {
        const ColumnInfo& column = m_columns.at(i);
        if (!column.table.isEmpty()) {
            const NameKey qualified{column.table + QLatin1Char('.') + column.column};
            if (!m_names.contains(qualified))
                m_names.insert(qualified, i);
        }
    }

    m_filtered = false;
    m_visible.clear();
    m_live = m_rows;
    m_position = 0;
    m_mode = EditMode::None;
    if (!m_filterText.isEmpty())
        setFilter(m_filterText);
}

void Recordset::close()
{
    m_mode = EditMode::None;
    m_edit.clear();
    m_inserts.clear();
    m_updates.clear();
    m_delete.reset();
    m_data.clear();
    m_rows = 0;
    m_live = 0;
    m_visible.clear();
    m_textIndexes.clear();
    m_numberIndexes.clear();
    m_open = false;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("De recordset is gesloten."));
}

void Recordset::requery()
{
    requireOpen();
    writePending();
    std::optional<ResultData> data = m_db->run(m_source, m_params);
    if (!data)
        throw AppError(DbErrorNumber::CommandError,
                       QStringLiteral("De opdracht levert geen records op: ") + m_source.trimmed());
    load(std::move(*data));
}

// ---- Fields ----------------------------------------------------------------------

const ColumnInfo& Recordset::column(int index) const
{
    if (index < 0 || index >= m_width)
        throw AppError(DbErrorNumber::ItemNotFound, QStringLiteral("Veld %1 bestaat niet.").arg(index));
    return m_columns.at(index);
}

int Recordset::fieldIndex(const QString& name) const
{
    // The same name text (a literal in a loop) is answered without hashing: the cache keeps its own
    // reference to the text, so an equal pointer means the same characters.
    NameCacheEntry& entry = m_nameCache[(quintptr(name.constData()) >> 4) % std::size(m_nameCache)];
    if (entry.name.constData() == name.constData() && entry.name.size() == name.size() && !name.isEmpty())
        return entry.index;
    const int index = m_names.value(NameKey{name}, -1);
    entry.name = name;
    entry.index = index;
    return index;
}

int Recordset::requireIndex(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw AppError(DbErrorNumber::ItemNotFound, QStringLiteral("Veld '%1' niet gevonden.").arg(name));
    return index;
}

Field Recordset::field(int index)
{
    column(index);
    return Field(this, index);
}

QVariant Recordset::value(int index) const
{
    requireOpen();
    column(index);
    if (m_mode == EditMode::Add)
        return m_edit[size_t(index)];
    if (m_mode == EditMode::Edit && m_changed[size_t(index)])
        return m_edit[size_t(index)];
    return cell(currentRow(), index);
}

void Recordset::setValue(int index, const QVariant& value)
{
    requireOpen();
    const ColumnInfo& info = column(index);
    if (!info.writable)
        throw AppError(DbErrorNumber::NotUpdatable,
                       QStringLiteral("Het veld '%1' kan niet worden gewijzigd.").arg(info.name));
    QVariant converted = coerce(value, info);
    if (m_mode == EditMode::None) {
        currentRow();
        resetEdit();
        m_mode = EditMode::Edit;
    }
    m_edit[size_t(index)] = std::move(converted);
    m_changed[size_t(index)] = 1;
}

QVariant Recordset::coerce(const QVariant& value, const ColumnInfo& column) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const auto mismatch = [&]() -> AppError {
        return AppError(DbErrorNumber::TypeMismatch,
                        QStringLiteral("De waarde '%1' past niet in het veld '%2'.")
                            .arg(CriteriaValueText(value), column.name));
    };
    const int given = value.typeId();
    switch (column.type) {
    case adType::SmallInt:
    case adType::Integer:
    case adType::BigInt:
    case adType::UnsignedTinyInt:
    case adType::Boolean: {
        if (given == QMetaType::LongLong)
            return value;
        if (given == QMetaType::Bool)
            return QVariant(qint64(value.toBool() ? -1 : 0));
        if (isIntegral(value))
            return QVariant(value.toLongLong());
        double number = 0;
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            number = value.toDouble();
        } else {
            const QString text = value.toString().trimmed();
            bool ok = false;
            const qint64 whole = text.toLongLong(&ok);
            if (ok)
                return QVariant(whole);
            if (column.type == adType::Boolean &&
                text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return QVariant(qint64(-1));
            if (column.type == adType::Boolean &&
                text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return QVariant(qint64(0));
            const auto parsed = readDouble(text);
            if (!parsed)
                throw mismatch();
            number = *parsed;
        }
        if (!std::isfinite(number) || std::fabs(number) > 9.2e18)
            throw mismatch();
        return QVariant(qint64(std::nearbyint(number))); // halves to even, as the providers round
    }
    case adType::Single:
    case adType::Double:
    case adType::Currency: {
        if (given == QMetaType::Double)
            return value;
        if (given == QMetaType::Bool)
            return QVariant(value.toBool() ? -1.0 : 0.0);
        if (isIntegral(value) || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return QVariant(value.toDouble());
        const auto parsed = readDouble(value.toString());
        if (!parsed)
            throw mismatch();
        return QVariant(*parsed);
    }
    case adType::VarWChar:
    case adType::LongVarWChar:
        if (value.typeId() == QMetaType::QString)
            return value;
        return QVariant(CriteriaValueText(value));
    default:
        return value;
    }
}

// ---- Position ----------------------------------------------------------------

qsizetype Recordset::visibleCount() const
{
    return m_filtered ? qsizetype(m_visible.size()) : m_rows;
}

bool Recordset::bof() const
{
    if (m_mode == EditMode::Add)
        return false;
    return m_live == 0 || m_position < 0;
}

bool Recordset::eof() const
{
    if (m_mode == EditMode::Add)
        return false;
    return m_live == 0 || m_position >= visibleCount();
}

qsizetype Recordset::currentRow() const
{
    requireOpen();
    if (m_position < 0 || m_position >= visibleCount())
        noCurrentRecord();
    const qsizetype row = storageRow(m_position);
    if (isDeleted(row))
        noCurrentRecord();
    return row;
}

void Recordset::skipDeletedForward()
{
    const qsizetype count = visibleCount();
    while (m_position < count && isDeleted(storageRow(m_position)))
        ++m_position;
}

void Recordset::skipDeletedBackward()
{
    while (m_position >= 0 && isDeleted(storageRow(m_position)))
        --m_position;
}

void Recordset::moveFirst()
{
    requireOpen();
    writePending();
    m_position = 0;
    skipDeletedForward();
}

void Recordset::moveNext()
{
    requireOpen();
    writePending();
    // Only moving past the end is an error: from a row just deleted, also the last one left, the
    // recordset moves on (to its end), so "delete, move next" loops run to the end.
    if (m_position >= visibleCount())
        noCurrentRecord();
    ++m_position;
    skipDeletedForward();
}

void Recordset::movePrevious()
{
    requireOpen();
    writePending();
    if (m_position < 0)
        noCurrentRecord();
    --m_position;
    skipDeletedBackward();
}

void Recordset::moveLast()
{
    requireOpen();
    writePending();
    m_position = visibleCount() - 1;
    skipDeletedBackward();
    if (m_position < 0)
        m_position = visibleCount();
}

// ---- Search and filter -------------------------------------------------------

const Criteria& Recordset::compile(const QString& text)
{
    // A search loop often asks the same criterion again (the next match of the same code).
    if (m_compiled && m_compiledText == text)
        return *m_compiled;
    m_compiled.reset();
    Criteria criteria = Criteria::parse(text);
    for (Criteria::Term& term : criteria.terms)
        term.column = requireIndex(term.field);
    m_compiled = std::make_unique<Criteria>(std::move(criteria));
    m_compiledText = text;
    return *m_compiled;
}

bool Recordset::matches(qsizetype row, const Criteria& criteria) const
{
    for (const Criteria::Term& term : criteria.terms) {
        if (!CriteriaMatches(cell(row, term.column), term))
            return false;
    }
    return true;
}

// The rows an equality term allows, from an index on its field (built on first use).
const std::vector<qsizetype>* Recordset::indexedRows(const Criteria& criteria, int& termIndex)
{
    static const std::vector<qsizetype> none;
    for (termIndex = 0; termIndex < criteria.terms.size(); ++termIndex) {
        const Criteria::Term& term = criteria.terms.at(termIndex);
        if (term.op != Criteria::Op::Eq)
            continue;
        if (term.isNumberLiteral) {
            auto found = m_numberIndexes.find(term.column);
            if (found == m_numberIndexes.end()) {
                found = m_numberIndexes.emplace(term.column, NumberIndex()).first;
                found->second.rows.reserve(m_rows);
                for (qsizetype row = 0; row < m_rows; ++row)
                    indexAdd(term.column, row, false, true);
            }
            const auto rows = found->second.rows.constFind(numberKey(term.number));
            return rows == found->second.rows.cend() ? &none : &rows.value();
        }
        if (isText(m_columns.at(term.column).type) || !term.textIsNumber) {
            auto found = m_textIndexes.find(term.column);
            if (found == m_textIndexes.end()) {
                found = m_textIndexes.emplace(term.column, TextIndex()).first;
                found->second.rows.reserve(m_rows);
                for (qsizetype row = 0; row < m_rows; ++row)
                    indexAdd(term.column, row, true, false);
            }
            const auto rows = found->second.rows.constFind(codeHash(term.text));
            return rows == found->second.rows.cend() ? &none : &rows.value();
        }
    }
    return nullptr;
}

void Recordset::indexAdd(int column, qsizetype row, bool text, bool number)
{
    if (!m_textIndexes.contains(column) && !m_numberIndexes.contains(column))
        return; // the row's value is not even read
    const QVariant& value = cell(row, column);
    if (!value.isValid() || value.isNull())
        return;
    const auto insertSorted = [row](std::vector<qsizetype>& rows) {
        if (rows.empty() || rows.back() < row)
            rows.push_back(row);
        else
            rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
    };
    if (auto texts = m_textIndexes.find(column); text && texts != m_textIndexes.end())
        insertSorted(texts->second.rows[codeHash(CriteriaValueText(value))]);
    if (auto numbers = m_numberIndexes.find(column); number && numbers != m_numberIndexes.end()) {
        if (const auto number = CriteriaValueNumber(value))
            insertSorted(numbers->second.rows[numberKey(*number)]);
    }
}

void Recordset::indexRemove(int column, qsizetype row)
{
    if (!m_textIndexes.contains(column) && !m_numberIndexes.contains(column))
        return;
    const QVariant& value = cell(row, column);
    if (!value.isValid() || value.isNull())
        return;
    const auto erase = [row](auto& hash, const auto& key) {
        const auto found = hash.find(key);
        if (found == hash.end())
            return;
        auto& rows = found.value();
        const auto at = std::lower_bound(rows.begin(), rows.end(), row);
        if (at != rows.end() && *at == row)
            rows.erase(at);
    };
    if (auto text = m_textIndexes.find(column); text != m_textIndexes.end())
        erase(text->second.rows, codeHash(CriteriaValueText(value)));
    if (auto numbers = m_numberIndexes.find(column); numbers != m_numberIndexes.end()) {
        if (const auto number = CriteriaValueNumber(value))
            erase(numbers->second.rows, numberKey(*number));
    }
}

qsizetype Recordset::search(qsizetype fromPosition, const Criteria& criteria)
{
    const qsizetype count = visibleCount();
    if (!m_filtered && m_rows >= kIndexThreshold) {
        int term = -1;
        if (const std::vector<qsizetype>* rows = indexedRows(criteria, term)) {
            for (auto at = std::lower_bound(rows->begin(), rows->end(), fromPosition); at != rows->end();
                 ++at) {
                if (!isDeleted(*at) && matches(*at, criteria))
                    return *at;
            }
            return count;
        }
    }
    for (qsizetype position = std::max<qsizetype>(fromPosition, 0); position < count; ++position) {
        const qsizetype row = storageRow(position);
        if (!isDeleted(row) && matches(row, criteria))
            return position;
    }
    return count;
}

bool Recordset::find(const QString& criteria)
{
    requireOpen();
    writePending();
    const Criteria& compiled = compile(criteria);
    if (eof()) {
        m_position = visibleCount();
        return false;
    }
    m_position = search(std::max<qsizetype>(m_position, 0), compiled);
    return !eof();
}

bool Recordset::find(Criteria criteria)
{
    requireOpen();
    writePending();
    for (Criteria::Term& term : criteria.terms)
        term.column = requireIndex(term.field);
    if (eof()) {
        m_position = visibleCount();
        return false;
    }
    m_position = search(std::max<qsizetype>(m_position, 0), criteria);
    return !eof();
}

bool Recordset::findFirst(const QString& criteria)
{
    requireOpen();
    writePending();
    m_position = search(0, compile(criteria));
    return !eof();
}

bool Recordset::findFirst(Criteria criteria)
{
    requireOpen();
    writePending();
    for (Criteria::Term& term : criteria.terms)
        term.column = requireIndex(term.field);
    m_position = search(0, criteria);
    return !eof();
}

void Recordset::setFilter(const QString& criteria)
{
    requireOpen();
    writePending();
    if (criteria.trimmed().isEmpty()) {
        m_filtered = false;
        m_visible.clear();
        m_filterText.clear();
        m_live = m_rows - qsizetype(std::count(m_deleted.begin(), m_deleted.end(), 1));
    } else {
        const Criteria& compiled = compile(criteria);
        std::vector<qsizetype> visible;
        int term = -1;
        const std::vector<qsizetype>* candidates = nullptr;
        m_filtered = false; // the indexes describe every row
        if (m_rows >= kIndexThreshold)
            candidates = indexedRows(compiled, term);
        if (candidates) {
            for (qsizetype row : *candidates) {
                if (!isDeleted(row) && matches(row, compiled))
                    visible.push_back(row);
            }
        } else {
            for (qsizetype row = 0; row < m_rows; ++row) {
                if (!isDeleted(row) && matches(row, compiled))
                    visible.push_back(row);
            }
        }
        m_visible = std::move(visible);
        m_filtered = true;
        m_filterText = criteria;
        m_live = qsizetype(m_visible.size());
    }
    m_position = 0;
    skipDeletedForward();
}

// ---- Changes -------------------------------------------------------------------

void Recordset::requireWritable() const
{
    requireOpen();
    if (m_table.isEmpty())
        throw AppError(
            DbErrorNumber::NotUpdatable,
            QStringLiteral("Deze recordset kan niet worden bijgewerkt: de gegevens komen niet uit één "
                           "tabel."));
    if (!m_db->isOpen())
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("De verbinding met de database is gesloten."));
}

QString Recordset::tableName() const
{
    const QString table = m_db->quoteIdentifier(m_table);
    return m_schema.isEmpty() ? table : m_db->quoteIdentifier(m_schema) + QLatin1Char('.') + table;
}

QString Recordset::keyCondition() const
{
    if (!m_keyColumns.isEmpty()) {
        QStringList parts;
        for (int column : m_keyColumns)
            parts.append(m_db->quoteIdentifier(m_columns.at(column).column) + QStringLiteral(" = ?"));
        return parts.join(QStringLiteral(" AND "));
    }
    if (m_rowLocators)
        return m_db->rowLocator() + QStringLiteral(" = ?");
    throw AppError(
        DbErrorNumber::NotUpdatable,
        QStringLiteral("De rij kan niet worden teruggeschreven: de recordset bevat de sleutel van de "
                       "tabel niet."));
}

void Recordset::bindKey(Statement& statement, int first, qsizetype row) const
{
    if (!m_keyColumns.isEmpty()) {
        for (int column : m_keyColumns)
            statement.bind(first++, cell(row, column));
    } else {
        statement.bind(first, QVariant(m_rowids[size_t(row)]));
    }
}

void Recordset::resetEdit()
{
    if (m_edit.size() != size_t(m_width)) {
        m_edit.assign(size_t(m_width), QVariant());
        m_changed.assign(size_t(m_width), 0);
        return;
    }
    // Only assigned values are left behind: written ones were moved out already.
    for (size_t i = 0; i < m_changed.size(); ++i) {
        if (m_changed[i]) {
            if (m_edit[i].isValid())
                m_edit[i] = QVariant();
            m_changed[i] = 0;
        }
    }
}

void Recordset::addNew()
{
    requireWritable();
    writePending();
    m_positionBeforeAdd = m_position;
    resetEdit();
    m_mode = EditMode::Add;
}

void Recordset::update()
{
    requireOpen();
    if (m_mode == EditMode::Add)
        insertRow();
    else if (m_mode == EditMode::Edit)
        updateRow();
    m_mode = EditMode::None;
}

void Recordset::cancelUpdate()
{
    if (m_mode == EditMode::Add)
        m_position = m_positionBeforeAdd;
    m_mode = EditMode::None;
}

void Recordset::writePending()
{
    if (m_mode == EditMode::Add && std::find(m_changed.begin(), m_changed.end(), 1) == m_changed.end())
        cancelUpdate(); // a new row that received nothing is not stored
    else
        update();
}

void Recordset::insertRow()
{
    requireWritable();
    m_mask.resize(m_width);
    for (int i = 0; i < m_width; ++i)
        m_mask[i] = m_changed[size_t(i)];

    std::shared_ptr<Statement>& statement = m_inserts[m_mask];
    if (!statement) {
        QStringList names, marks;
        for (int i = 0; i < m_width; ++i) {
            if (m_changed[size_t(i)]) {
                names.append(m_db->quoteIdentifier(m_columns.at(i).column));
                marks.append(QStringLiteral("?"));
            }
        }
        const QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tableName())
                                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                  .arg(tableName(), names.join(QStringLiteral(", ")),
                                                       marks.join(QStringLiteral(", ")));
        statement = m_db->prepare(sql);
    }
    int position = 0;
    for (int i = 0; i < m_width; ++i) {
        if (m_changed[size_t(i)])
            statement->bind(position++, m_edit[size_t(i)]);
    }
    statement->execute();

    // The new row's locator is asked for only when it is needed: a server answers it with a round trip.
    bool needLocator = m_rowLocators;
    for (int i = 0; i < m_width && !needLocator; ++i)
        needLocator = !m_changed[size_t(i)] && m_columns.at(i).autoNumber;
    const qint64 locator = needLocator ? statement->lastInsertId() : 0;
    const qsizetype row = m_rows;
    for (int i = 0; i < m_width; ++i) {
        if (!m_changed[size_t(i)] && m_columns.at(i).autoNumber)
            m_edit[size_t(i)] = QVariant(locator);
    }
    // The new row's cells are nulls: each value is moved into its place, leaving a null behind.
    QVariant* stored = m_data.append();
    for (int i = 0; i < m_width; ++i) {
        if (m_edit[size_t(i)].isValid())
            new (stored + i) QVariant(std::move(m_edit[size_t(i)]));
    }
    ++m_rows;
    if (m_rowLocators)
        m_rowids.push_back(locator);
    if (!m_deleted.empty())
        m_deleted.push_back(0);
    for (const auto& index : m_textIndexes)
        indexAdd(index.first, row, true, false);
    for (const auto& index : m_numberIndexes)
        indexAdd(index.first, row, false, true);
    if (m_filtered)
        m_visible.push_back(row);
    ++m_live;
    m_position = visibleCount() - 1;
}

void Recordset::updateRow()
{
    requireWritable();
    const qsizetype row = currentRow();
    m_mask.resize(m_width);
    bool any = false;
    for (int i = 0; i < m_width; ++i) {
        m_mask[i] = m_changed[size_t(i)];
        any = any || m_changed[size_t(i)];
    }
    if (!any)
        return;

    std::shared_ptr<Statement>& statement = m_updates[m_mask];
    if (!statement) {
        QStringList sets;
        for (int i = 0; i < m_width; ++i) {
            if (m_changed[size_t(i)])
                sets.append(m_db->quoteIdentifier(m_columns.at(i).column) + QStringLiteral(" = ?"));
        }
        statement = m_db->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                      .arg(tableName(), sets.join(QStringLiteral(", ")), keyCondition()));
    }
    int position = 0;
    for (int i = 0; i < m_width; ++i) {
        if (m_changed[size_t(i)])
            statement->bind(position++, m_edit[size_t(i)]);
    }
    bindKey(*statement, position, row);
    statement->execute();
    if (statement->changes() == 0)
        throw AppError(DbErrorNumber::RowNotFound,
                       QStringLiteral("De rij die moest worden bijgewerkt, staat niet meer in de tabel."));

    for (int i = 0; i < m_width; ++i) {
        if (!m_changed[size_t(i)])
            continue;
        indexRemove(i, row);
        m_data.row(row)[i] = std::move(m_edit[size_t(i)]);
        indexAdd(i, row, true, true);
    }
}

void Recordset::deleteCurrent()
{
    requireWritable();
    if (m_mode != EditMode::None)
        cancelUpdate();
    const qsizetype row = currentRow();
    if (!m_delete)
        m_delete = m_db->prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(tableName(), keyCondition()));
    bindKey(*m_delete, 0, row);
    m_delete->execute();
    if (m_deleted.empty())
        m_deleted.assign(size_t(m_rows), 0);
    m_deleted[size_t(row)] = 1;
    --m_live;
}

} // namespace supplink
