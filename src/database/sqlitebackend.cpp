#include "database/sqlitebackend.h"

#include "database/mirrorbackend.h"
#include "platform/codecompare.h"
#include "platform/jetsql.h"
#include "platform/sqlitemirror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <filesystem>
#include <new>
#include <sqlite3.h>
#include <utility>

namespace supplink {

namespace {

constexpr int kBusyTimeoutMs = 2000;
const char kRowidAlias[] = "__supplink_rowid__";
// Queries kept prepared per connection: the texts a loop runs again and again.
constexpr size_t kKeptQueries = 16;

// Finalises a statement when the scope ends.
struct StatementGuard
{
    sqlite3_stmt* statement = nullptr;
    ~StatementGuard() { sqlite3_finalize(statement); }
};

QString crlf()
{
    return QStringLiteral("\r\n");
}

void bindValue(sqlite3_stmt* statement, int position, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, position);
        return;
    }
    if (isIntegralType(value.typeId())) {
        sqlite3_bind_int64(statement, position, value.toLongLong());
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(statement, position, value.toBool() ? -1 : 0);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, position, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob64(statement, position, bytes.constData(), sqlite3_uint64(bytes.size()),
                            SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime:
        break;
    case QMetaType::QString: {
        // The database keeps UTF-8: handing it UTF-8 spares a conversion inside the library.
        const QByteArray utf8 = static_cast<const QString*>(value.constData())->toUtf8();
        sqlite3_bind_text64(statement, position, utf8.constData(), sqlite3_uint64(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    default:
        break;
    }
    QString text;
    if (value.typeId() == QMetaType::QDateTime)
        text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else if (value.typeId() == QMetaType::QDate)
        text = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    else
        text = value.toString();
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text64(statement, position, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
}

// The value of a column whose type (sqlite3_column_type) the caller read already.
QVariant columnValue(sqlite3_stmt* statement, int column, int type)
{
    switch (type) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

// The type of an expression column, from its first value.
FieldType typeFromValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return FieldType{adType::Integer, 4};
    case QMetaType::Double:
        return FieldType{adType::Double, 8};
    case QMetaType::QByteArray:
        return FieldType{adType::LongVarBinary, 1073741823};
    default:
        return FieldType{adType::VarWChar, 255};
    }
}

QString text(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// The first word of a statement, upper case.
QString firstWord(const QString& segment)
{
    static const QRegularExpression word(QStringLiteral("^\\s*([A-Za-z]+)"));
    return word.match(segment).captured(1).toUpper();
}

// A single-table SELECT that can carry the row locator as an extra first column.
std::optional<QString> withRowLocator(const QString& segment)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression grouped(
        QStringLiteral("\\b(DISTINCT|GROUP\\s+BY|UNION|INTERSECT|EXCEPT)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(segment);
    if (!match.hasMatch() || grouped.match(segment).hasMatch())
        return std::nullopt;
    QString rewritten = segment;
    rewritten.insert(match.capturedEnd(), QStringLiteral("rowid AS %1, ").arg(QLatin1String(kRowidAlias)));
    return rewritten;
}

void bindAll(sqlite3* db, sqlite3_stmt* statement, const QVariantList& params, qsizetype& next,
             const QString& sql)
{
    const int count = sqlite3_bind_parameter_count(statement);
    for (int i = 1; i <= count; ++i) {
        if (next >= params.size())
            throw AppError(DbErrorNumber::CommandError,
                           QStringLiteral("Er zijn te weinig waarden voor de parameters van de opdracht.") +
                               crlf() + sql.trimmed());
        bindValue(statement, i, params.at(next++));
    }
    Q_UNUSED(db);
}

// Only blanks and semicolons in [from, end): the statement before them is the text's last.
bool onlyBlanksLeft(const char* from, const char* end)
{
    for (; from < end; ++from) {
        if (*from != ';' && *from != ' ' && *from != '\t' && *from != '\r' && *from != '\n')
            return false;
    }
    return true;
}

int reprepareCount(sqlite3_stmt* statement)
{
    return sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 0);
}

} // namespace

// What the rows of a query look like and where they are written back.
struct SqliteBackend::ResultShape
{
    QList<ColumnInfo> columns;
    QString schema;
    QString table;
    QList<int> keyColumns;
    bool rowLocators = false;
};

// A single SELECT kept prepared with the description of its result. The rows come through
// rowidReader (the query with the row locator as extra first column) when it is there.
struct SqliteBackend::KeptQuery
{
    QString sql;
    QString segment; // the statement as the database reports it in messages
    bool describe = false;
    sqlite3_stmt* statement = nullptr;
    sqlite3_stmt* rowidReader = nullptr;
    ResultShape shape;
    quint64 generation = 0;

    KeptQuery() = default;
    KeptQuery(const KeptQuery&) = delete;
    KeptQuery& operator=(const KeptQuery&) = delete;
    ~KeptQuery()
    {
        sqlite3_finalize(rowidReader);
        sqlite3_finalize(statement);
    }
};

AppError SqliteError(sqlite3* db, int code, const QString& sql)
{
    const int primary = code & 0xFF;
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    qint32 number = DbErrorNumber::Unspecified;
    QString description;
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        description =
            QStringLiteral("De database is in gebruik door een ander programma en kan nu niet worden "
                           "gelezen of gewijzigd.");
        break;
    case SQLITE_READONLY:
        description = QStringLiteral("De database kan niet worden gewijzigd: het bestand is alleen-lezen.");
        break;
    case SQLITE_NOTADB:
        description = QStringLiteral("Het bestand is geen SQLite-database.");
        break;
    case SQLITE_CORRUPT:
        description = QStringLiteral("Het databasebestand is beschadigd.");
        break;
    case SQLITE_CANTOPEN:
        description = QStringLiteral("Het databasebestand kan niet worden geopend.");
        break;
    case SQLITE_FULL:
        description = QStringLiteral("De schijf is vol.");
        break;
    case SQLITE_IOERR:
        description = QStringLiteral("Lees- of schrijffout in het databasebestand.");
        break;
    case SQLITE_CONSTRAINT:
        number = DbErrorNumber::IntegrityViolation;
        description =
            QStringLiteral("De gegevens voldoen niet aan een regel van de database (%1).").arg(message);
        break;
    case SQLITE_ERROR:
        number = DbErrorNumber::CommandError;
        description = message;
        break;
    default:
        description = message;
        break;
    }
    if (!sql.isEmpty() && (primary == SQLITE_ERROR || primary == SQLITE_CONSTRAINT))
        description += crlf() + sql.trimmed();
    return AppError(number, description);
}

bool startsAsSqliteFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray magic("SQLite format 3\0", 16);
    return file.read(16) == magic;
}

SqliteFileState inspectSqliteFile(const QString& path)
{
    if (!QFileInfo(path).isFile() || !startsAsSqliteFile(path))
        return SqliteFileState::NotSqlite;
    // Opened for writing where the file allows it, as every connection of the program is: the last
    // connection of a file in WAL mode then takes its log and index files away again when it closes.
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    QString answer;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        rc = registerCodeCollation(db);
    }
    if (rc == SQLITE_OK) {
        StatementGuard check;
        rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check.statement, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(check.statement);
            if (rc == SQLITE_ROW) {
                answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.statement, 0)));
                rc = SQLITE_OK;
            }
        }
    }
    sqlite3_close_v2(db);
    const int primary = rc & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return SqliteFileState::InUse;
    if (rc != SQLITE_OK || answer != QLatin1String("ok"))
        return SqliteFileState::Damaged;
    return SqliteFileState::Sound;
}

// A prepared statement; the back-end finalises it when the database closes first.
class SqliteStatement final : public Statement
{
public:
    SqliteStatement(SqliteBackend* owner, sqlite3_stmt* statement, QString sql)
        : m_owner(owner), m_statement(statement), m_sql(std::move(sql))
    {
    }
    ~SqliteStatement() override
    {
        if (m_owner)
            m_owner->forget(this);
        sqlite3_finalize(m_statement);
    }

    void bind(int index, const QVariant& value) override
    {
        sqlite3_stmt* statement = live();
        if (value.typeId() == QMetaType::QString && !value.isNull() && index >= 0 &&
            index < sqlite3_bind_parameter_count(statement)) {
            // A text's UTF-8 stays with the statement until its parameter is bound again (or the statement
            // goes), so the library takes it as it is instead of making a copy of its own.
            QByteArray utf8 = static_cast<const QString*>(value.constData())->toUtf8();
            sqlite3_bind_text64(statement, index + 1, utf8.constData(), sqlite3_uint64(utf8.size()),
                                SQLITE_STATIC, SQLITE_UTF8);
            if (m_texts.size() <= size_t(index))
                m_texts.resize(size_t(index) + 1);
            m_texts[size_t(index)] = std::move(utf8); // the bytes do not move
            return;
        }
        bindValue(statement, index + 1, value);
    }

    void execute() override
    {
        sqlite3_stmt* statement = live();
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            const AppError error = m_owner->statementError(rc, m_sql);
            sqlite3_reset(statement);
            throw error;
        }
        m_lastInsertId = sqlite3_last_insert_rowid(m_owner->m_db);
        m_changes = sqlite3_changes64(m_owner->m_db);
        sqlite3_reset(statement);
    }

    qint64 lastInsertId() override { return m_lastInsertId; }
    qint64 changes() override { return m_changes; }

    void detach()
    {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_owner = nullptr;
    }

private:
    sqlite3_stmt* live()
    {
        if (!m_statement)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("De verbinding met de database is gesloten."));
        return m_statement;
    }

    SqliteBackend* m_owner;
    sqlite3_stmt* m_statement;
    QString m_sql;
    std::vector<QByteArray> m_texts; // the texts bound, by parameter
    qint64 m_lastInsertId = 0;
    qint64 m_changes = 0;
};

sqlite3* SqliteBackend::openHandle(const QString& path, OpenOptions options)
{
    if (path.isEmpty())
        throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Er is geen databasebestand opgegeven."));
    const bool inMemory = path == QLatin1String(":memory:");
    const QFileInfo info(path);
    if (!inMemory) {
        if (info.exists() && !info.isFile())
            throw AppError(
                DbErrorNumber::Unspecified,
                QStringLiteral("'%1' is geen databasebestand.").arg(QDir::toNativeSeparators(path)));
        if (!info.exists() && !options.create)
            throw AppError(
                DbErrorNumber::Unspecified,
                QStringLiteral("Het databasebestand '%1' bestaat niet.").arg(QDir::toNativeSeparators(path)));
        // An existing file must already be a database; only a new (empty) file may become one.
        const bool emptyNewFile = options.create && info.exists() && info.size() == 0;
        if (info.exists() && !emptyNewFile && !startsAsSqliteFile(path))
            throw AppError(DbErrorNumber::Unspecified,
                           QStringLiteral("Het bestand '%1' is geen SQLite-database.")
                               .arg(QDir::toNativeSeparators(path)));
    } else if (!options.create) {
        throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Er is geen databasebestand opgegeven."));
    }

    int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (options.create && !options.readOnly)
        flags |= SQLITE_OPEN_CREATE;
    // A connection is used by one thread at a time (the program's databases are all used on the thread of
    // the user interface): the library's lock around every call of a connection is not needed.
    flags |= SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const AppError error = SqliteError(db, rc);
        sqlite3_close(db);
        throw error;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    const int collation = registerCodeCollation(db);
    if (collation != SQLITE_OK) {
        const AppError error = SqliteError(db, collation);
        sqlite3_close(db);
        throw error;
    }
    // Reading the schema proves the file is a database the library understands.
    char* message = nullptr;
    const int check = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message);
    sqlite3_free(message);
    if (check != SQLITE_OK) {
        const AppError error = SqliteError(db, check);
        sqlite3_close(db);
        throw error;
    }
    return db;
}

std::shared_ptr<SqliteBackend> SqliteBackend::open(const QString& path, OpenOptions options)
{
    sqlite3* db = openHandle(path, options);
    return std::shared_ptr<SqliteBackend>(new SqliteBackend(db, path));
}

SqliteBackend::SqliteBackend(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}

SqliteBackend::~SqliteBackend()
{
    close();
}

void SqliteBackend::close()
{
    for (SqliteStatement* statement : m_statements)
        statement->detach();
    m_statements.clear();
    schemaChanged();
    m_depth = 0;
    m_attached.clear();
    if (m_db) {
        sqlite3_close_v2(m_db); // an open transaction is rolled back
        m_db = nullptr;
    }
    for (const QString& mirror : std::as_const(m_ownMirrors))
        QFile::remove(mirror);
    m_ownMirrors.clear();
}

QString SqliteBackend::codeCollate() const
{
    return QStringLiteral(" COLLATE ") + QLatin1String(kCodeCollation);
}

AppError SqliteBackend::statementError(int code, const QString& sql) const
{
    return SqliteError(m_db, code, sql);
}

sqlite3* SqliteBackend::db() const
{
    if (!m_db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("De verbinding met de database is gesloten."));
    return m_db;
}

bool SqliteBackend::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

void SqliteBackend::schemaMayHaveChanged(const QString& segment)
{
    const QString word = firstWord(segment);
    if (word == QLatin1String("CREATE") || word == QLatin1String("DROP") || word == QLatin1String("ALTER") ||
        word == QLatin1String("ATTACH") || word == QLatin1String("DETACH"))
        schemaChanged();
}

void SqliteBackend::schemaChanged()
{
    m_schemas.clear();
    m_kept.clear();
    ++m_schemaGeneration;
}

std::unique_ptr<SqliteBackend::KeptQuery> SqliteBackend::takeKept(const QString& sql, bool describe)
{
    for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
        if ((*it)->describe == describe && (*it)->sql == sql) {
            std::unique_ptr<KeptQuery> query = std::move(*it);
            m_kept.erase(it);
            return query;
        }
    }
    return nullptr;
}

void SqliteBackend::keep(std::unique_ptr<KeptQuery> query)
{
    if (!m_db || query->generation != m_schemaGeneration)
        return; // described before the schema changed
    m_kept.insert(m_kept.begin(), std::move(query));
    if (m_kept.size() > kKeptQueries)
        m_kept.pop_back();
}

// Runs a kept query with new values. current turns false when the database prepared the query anew while
// it ran (another connection changed the schema): the rows then need not fit the kept description.
std::optional<ResultData> SqliteBackend::runKept(KeptQuery& query, const QVariantList& params, bool& current)
{
    sqlite3_stmt* reader = query.rowidReader ? query.rowidReader : query.statement;
    const int prepares = reprepareCount(reader);
    std::optional<ResultData> result;
    try {
        qsizetype next = 0;
        bindAll(m_db, reader, params, next, query.segment);
        result = readRows(reader, query.rowidReader != nullptr, query.shape, query.segment);
    } catch (...) {
        sqlite3_reset(reader);
        sqlite3_clear_bindings(reader);
        throw;
    }
    sqlite3_reset(reader);
    sqlite3_clear_bindings(reader);
    current = reprepareCount(reader) == prepares;
    return result;
}

void SqliteBackend::execute(const QString& sql, const QVariantList& params)
{
    run(sql, params);
}

std::optional<ResultData> SqliteBackend::run(const QString& sql, const QVariantList& params)
{
    return runStatements(sql, params, true);
}

std::optional<ResultData> SqliteBackend::runStatements(const QString& sql, const QVariantList& params,
                                                       bool describe)
{
    sqlite3* handle = db();
    if (std::unique_ptr<KeptQuery> kept = takeKept(sql, describe)) {
        bool current = true;
        std::optional<ResultData> result = runKept(*kept, params, current); // a failure drops it
        if (current) {
            keep(std::move(kept));
            return result;
        }
        // The schema changed under it: the query is prepared and described anew below.
    }

    const QByteArray utf8 = sql.toUtf8();
    const char* position = utf8.constData();
    const char* end = position + utf8.size();
    qsizetype nextParam = 0;
    std::optional<ResultData> result;
    while (position < end) {
        StatementGuard guard;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(handle, position, int(end - position), &guard.statement, &tail);
        if (rc != SQLITE_OK)
            throw statementError(rc, QString::fromUtf8(position, end - position));
        const QString segment = QString::fromUtf8(position, tail ? tail - position : end - position);
        position = tail ? tail : end;
        if (!guard.statement)
            continue; // blanks or a comment
        const qsizetype firstParam = nextParam;
        bindAll(handle, guard.statement, params, nextParam, segment);
        if (sqlite3_column_count(guard.statement) > 0) {
            // A text that is one SELECT is kept prepared for its next run.
            if (firstParam == 0 && onlyBlanksLeft(position, end) && sqlite3_stmt_readonly(guard.statement) &&
                firstWord(segment) == QLatin1String("SELECT")) {
                auto query = std::make_unique<KeptQuery>();
                query->sql = sql;
                query->segment = segment;
                query->describe = describe;
                query->generation = m_schemaGeneration;
                query->statement = std::exchange(guard.statement, nullptr);
                query->shape = describeResult(query->statement, segment, describe, &query->rowidReader);
                bool current = true;
                result = runKept(*query, params, current);
                if (current)
                    keep(std::move(query));
                continue;
            }
            result = readResult(guard.statement, segment, params.mid(firstParam, nextParam - firstParam),
                                describe);
            continue;
        }
        int step;
        while ((step = sqlite3_step(guard.statement)) == SQLITE_ROW) {
        }
        if (step != SQLITE_DONE)
            throw statementError(step, segment);
        schemaMayHaveChanged(segment);
    }
    return result;
}

std::optional<ResultData> SqliteBackend::readResult(sqlite3_stmt* statement, const QString& segment,
                                                    const QVariantList& segmentParams, bool describe)
{
    StatementGuard rowidReader;
    const ResultShape shape = describeResult(statement, segment, describe, &rowidReader.statement);
    if (rowidReader.statement) {
        qsizetype next = 0;
        bindAll(m_db, rowidReader.statement, segmentParams, next, segment);
        return readRows(rowidReader.statement, true, shape, segment);
    }
    return readRows(statement, false, shape, segment);
}

SqliteBackend::ResultShape SqliteBackend::describeResult(sqlite3_stmt* statement, const QString& segment,
                                                         bool describe, sqlite3_stmt** rowidReader)
{
    const int count = sqlite3_column_count(statement);
    ResultShape data;
    data.columns.reserve(count);

    // Where the columns come from: rows are written back only into one table.
    QString baseDatabase, baseTable;
    bool singleTable = true;
    for (int i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = text(sqlite3_column_name(statement, i));
        column.table = text(sqlite3_column_table_name(statement, i));
        column.column = text(sqlite3_column_origin_name(statement, i));
        column.declaredType = text(sqlite3_column_decltype(statement, i));
        if (!column.declaredType.isEmpty()) {
            const FieldType type = FieldTypeFromDeclaration(column.declaredType);
            column.type = type.type;
            column.definedSize = type.definedSize;
        }
        if (!column.table.isEmpty()) {
            const QString database = text(sqlite3_column_database_name(statement, i));
            if (const std::optional<KnownColumn> known = knownColumn(database, column.table, column.column)) {
                column.type = known->type.type;
                column.definedSize = known->type.definedSize;
            }
            if (baseTable.isEmpty()) {
                baseTable = column.table;
                baseDatabase = database;
            } else if (baseTable.compare(column.table, Qt::CaseInsensitive) != 0 ||
                       baseDatabase.compare(database, Qt::CaseInsensitive) != 0) {
                singleTable = false;
            }
        }
        data.columns.append(column);
    }

    if (describe && singleTable && !baseTable.isEmpty()) {
        const QString schemaName =
            baseDatabase.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0 ? QString() : baseDatabase;
        const std::optional<TableSchema> schema = tableSchema(baseTable, schemaName);
        if (schema) {
            data.table = schema->name;
            data.schema = schemaName;
            for (ColumnInfo& column : data.columns) {
                if (column.table.isEmpty())
                    continue;
                column.writable = true;
                const int at = schema->columnIndex(column.column);
                column.autoNumber = at >= 0 && schema->columns.at(at).autoNumber;
            }
            // The primary key, when every part of it is in the result.
            QList<int> key;
            for (const TableColumn& tableColumn : schema->columns) {
                if (tableColumn.primaryKey == 0)
                    continue;
                int found = -1;
                for (int i = 0; i < count && found < 0; ++i) {
                    if (!data.columns.at(i).table.isEmpty() &&
                        data.columns.at(i).column.compare(tableColumn.name, Qt::CaseInsensitive) == 0)
                        found = i;
                }
                if (found < 0) {
                    key.clear();
                    break;
                }
                while (key.size() < tableColumn.primaryKey)
                    key.append(-1);
                key[tableColumn.primaryKey - 1] = found;
            }
            if (!key.isEmpty() && !key.contains(-1)) {
                data.keyColumns = key;
            } else if (schema->hasRowid) {
                // Otherwise the hidden row locator, read as an extra first column.
                if (const auto rewritten = withRowLocator(segment)) {
                    const QByteArray utf8 = rewritten->toUtf8();
                    StatementGuard reader;
                    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &reader.statement,
                                           nullptr) == SQLITE_OK &&
                        reader.statement && sqlite3_column_count(reader.statement) == count + 1) {
                        *rowidReader = std::exchange(reader.statement, nullptr);
                        data.rowLocators = true;
                    }
                }
            }
        }
    }
    return data;
}

std::optional<ResultData> SqliteBackend::readRows(sqlite3_stmt* reader, bool withRowids,
                                                  const ResultShape& shape, const QString& segment)
{
    const int count = int(shape.columns.size());
    ResultData data;
    data.columns = shape.columns;
    data.rows = RowStore(count);
    data.schema = shape.schema;
    data.table = shape.table;
    data.keyColumns = shape.keyColumns;
    data.rowLocators = shape.rowLocators;

    const int offset = withRowids ? 1 : 0;
    int rc;
    while ((rc = sqlite3_step(reader)) == SQLITE_ROW) {
        if (offset)
            data.rowids.push_back(sqlite3_column_int64(reader, 0));
        // The new row holds nulls: a value is made in its cell's place (a null needs nothing).
        QVariant* row = data.rows.append();
        for (int i = 0; i < count; ++i) {
            const int type = sqlite3_column_type(reader, i + offset);
            if (type != SQLITE_NULL)
                new (row + i) QVariant(columnValue(reader, i + offset, type));
        }
    }
    if (rc != SQLITE_DONE)
        throw statementError(rc, segment);

    // Expression columns take their type from their first value.
    const qsizetype rows = data.rowCount();
    for (int i = 0; i < count; ++i) {
        ColumnInfo& column = data.columns[i];
        if (!column.declaredType.isEmpty())
            continue;
        QVariant first;
        for (qsizetype r = 0; r < rows && !first.isValid(); ++r)
            first = data.rows.row(r)[i];
        const FieldType type = typeFromValue(first);
        column.type = type.type;
        column.definedSize = type.definedSize;
    }
    return data;
}

std::unique_ptr<Statement> SqliteBackend::prepare(const QString& sql)
{
    sqlite3* handle = db();
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &statement, nullptr);
    if (rc != SQLITE_OK || !statement) {
        sqlite3_finalize(statement);
        throw statementError(rc == SQLITE_OK ? SQLITE_ERROR : rc, sql);
    }
    auto result = std::make_unique<SqliteStatement>(this, statement, sql);
    m_statements.insert(result.get());
    return result;
}

void SqliteBackend::beginTrans()
{
    execute(m_depth == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void SqliteBackend::commitTrans()
{
    if (m_depth == 0 || sqlite3_get_autocommit(db())) {
        m_depth = 0;
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Er is geen transactie om vast te leggen."));
    }
    execute(m_depth == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE sp%1").arg(m_depth - 1));
    --m_depth;
    detachIdle();
}

void SqliteBackend::rollbackTrans()
{
    if (m_depth == 0)
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Er is geen transactie om terug te draaien."));
    if (sqlite3_get_autocommit(db())) {
        m_depth = 0; // the database already rolled it back after an error
        detachIdle();
        return;
    }
    if (m_depth == 1)
        execute(QStringLiteral("ROLLBACK"));
    else
        execute(QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1").arg(m_depth - 1));
    --m_depth;
    detachIdle();
}

QStringList SqliteBackend::tableNames()
{
    QStringList names;
    const std::optional<ResultData> rows = runStatements(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name NOT LIKE "
                       "'sqlite\\_%' ESCAPE '\\' ORDER BY name"),
        {}, false);
    if (rows) {
        for (qsizetype r = 0; r < rows->rowCount(); ++r)
            names.append(rows->rows.row(r)[0].toString());
    }
    return names;
}

std::optional<TableSchema> SqliteBackend::tableSchema(const QString& table, const QString& schema)
{
    const QString cacheKey = schema.toLower() + QLatin1Char('\x1f') + table.toLower();
    const auto cached = m_schemas.constFind(cacheKey);
    if (cached != m_schemas.cend())
        return *cached;

    const QString prefix = schema.isEmpty() ? QString() : quoteIdentifier(schema) + QLatin1Char('.');
    std::optional<TableSchema> result;
    const std::optional<ResultData> info = runStatements(
        QStringLiteral("PRAGMA %1table_info(%2)").arg(prefix, quoteIdentifier(table)), {}, false);
    if (info && info->rowCount() > 0) {
        TableSchema description;
        description.name = table;
        for (qsizetype r = 0; r < info->rowCount(); ++r) {
            const QVariant* row = info->rows.row(r); // cid, name, type, notnull, dflt_value, pk
            TableColumn column;
            column.name = row[1].toString();
            column.declaredType = row[2].toString();
            const FieldType type = FieldTypeFromDeclaration(column.declaredType);
            column.type = type.type;
            column.definedSize = type.definedSize;
            column.notNull = row[3].toInt() != 0;
            column.primaryKey = row[5].toInt();
            description.columns.append(column);
        }
        const std::optional<ResultData> definition = runStatements(
            QStringLiteral("SELECT sql, name FROM %1sqlite_master WHERE name = ? COLLATE NOCASE").arg(prefix),
            {table}, false);
        if (definition && definition->rowCount() > 0) {
            static const QRegularExpression withoutRowid(QStringLiteral("WITHOUT\\s+ROWID"),
                                                         QRegularExpression::CaseInsensitiveOption);
            description.hasRowid = !withoutRowid.match(definition->rows.row(0)[0].toString()).hasMatch();
            description.name = definition->rows.row(0)[1].toString();
        }
        // A single INTEGER PRIMARY KEY is the row locator itself: the database fills it.
        int keyParts = 0;
        for (const TableColumn& column : description.columns)
            keyParts += column.primaryKey > 0 ? 1 : 0;
        for (TableColumn& column : description.columns) {
            if (keyParts == 1 && column.primaryKey == 1 && description.hasRowid &&
                column.declaredType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                column.autoNumber = true;
            const QString schemaName = schema.isEmpty() ? QStringLiteral("main") : schema;
            if (const std::optional<KnownColumn> known =
                    knownColumn(schemaName, description.name, column.name)) {
                column.type = known->type.type;
                column.definedSize = known->type.definedSize;
                column.autoNumber = known->autoNumber;
            }
        }
        result = description;
    }
    m_schemas.insert(cacheKey, result);
    return result;
}

QString SqliteBackend::quoteIdentifier(const QString& name) const
{
    return quoteSqlIdentifier(name);
}

QString SqliteBackend::check()
{
    const std::optional<ResultData> rows = runStatements(QStringLiteral("PRAGMA quick_check"), {}, false);
    return rows ? rows->firstValue().toString() : QString();
}

void SqliteBackend::backupTo(const QString& targetPath)
{
    sqlite3* source = db();
    const QFileInfo target(targetPath);
    if (!target.absoluteDir().exists())
        throw AppError(
            DbErrorNumber::Unspecified,
            QStringLiteral("De map van '%1' bestaat niet.").arg(QDir::toNativeSeparators(targetPath)));
    // The copy goes into a new file beside the target, which takes the target's place only when complete.
    QTemporaryFile part(target.absoluteFilePath() + QStringLiteral(".XXXXXX.part"));
    part.setAutoRemove(false);
    if (!part.open())
        throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Het bestand '%1' kan niet worden gemaakt.")
                                                       .arg(QDir::toNativeSeparators(targetPath)));
    const QString partPath = part.fileName();
    part.close();
    const auto discard = [&partPath] { QFile::remove(partPath); };

    sqlite3* destination = nullptr;
    int rc = sqlite3_open_v2(partPath.toUtf8().constData(), &destination, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
        if (backup) {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        } else {
            rc = sqlite3_errcode(destination);
        }
    }
    if (rc != SQLITE_OK) {
        const AppError error = SqliteError(destination, rc);
        sqlite3_close(destination);
        discard();
        throw error;
    }
    sqlite3_close(destination);

    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(partPath.toStdU16String()),
                            std::filesystem::path(target.absoluteFilePath().toStdU16String()), failure);
    if (failure) {
        discard();
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Het bestand '%1' kan niet worden vervangen.")
                           .arg(QDir::toNativeSeparators(targetPath)));
    }
}

std::optional<ResultData> SqliteBackend::runJet(const QString& jetSql, const QVariantList& params)
{
    const JetTranslation translation = translateJetStatement(jetSql);
    std::optional<ResultData> result;
    try {
        for (const JetAttachment& attachment : translation.attachments)
            attachForStatement(attachment.alias, attachment.path);
        result = SqliteBackend::run(translation.sql, params);
    } catch (...) {
        detachIdle();
        throw;
    }
    detachIdle();
    return result;
}

void SqliteBackend::attachForStatement(const QString& alias, const QString& path)
{
    sqlite3* handle = db();
    const auto attachedAs = [this, &alias]() -> const Attached* {
        for (const Attached& attached : m_attached) {
            if (attached.alias.compare(alias, Qt::CaseInsensitive) == 0)
                return &attached;
        }
        return nullptr;
    };
    if (const Attached* attached = attachedAs()) {
        if (attached->path == path)
            return;
        detachIdle(); // the alias served another file before
        if (attachedAs())
            throw AppError(DbErrorNumber::Unspecified,
                           QStringLiteral("Het bestand '%1' kan binnen een lopende transactie niet worden "
                                          "gekoppeld.")
                               .arg(QDir::toNativeSeparators(path)));
    }

    QString file;
    if (startsAsSqliteFile(path)) {
        file = path;
    } else {
        file = liveJetMirror(path);
        if (file.isEmpty())
            file = m_ownMirrors.value(path);
        if (file.isEmpty() || !QFile::exists(file)) {
            file = makeJetMirror(path); // throws with the reader's message
            m_ownMirrors.insert(path, file);
        }
    }
    StatementGuard guard;
    const QByteArray sql = QByteArrayLiteral("ATTACH DATABASE ? AS ") + quoteIdentifier(alias).toUtf8();
    int rc = sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &guard.statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray utf8 = file.toUtf8();
        sqlite3_bind_text(guard.statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(guard.statement);
    }
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Het bestand '%1' kan niet worden gekoppeld: %2")
                           .arg(QDir::toNativeSeparators(path), QString::fromUtf8(sqlite3_errmsg(handle))));
    m_attached.append({alias, path, file});
    schemaChanged();
}

void SqliteBackend::detachIdle()
{
    if (!m_db || m_attached.isEmpty() || m_depth > 0 || !sqlite3_get_autocommit(m_db))
        return;
    m_kept.clear(); // no kept query may hold on to a file that goes
    for (qsizetype i = m_attached.size() - 1; i >= 0; --i) {
        const QByteArray sql =
            QByteArrayLiteral("DETACH DATABASE ") + quoteIdentifier(m_attached.at(i).alias).toUtf8();
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            m_attached.removeAt(i);
    }
    schemaChanged();
}

} // namespace supplink
