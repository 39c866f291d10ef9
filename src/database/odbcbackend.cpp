#include "database/odbcbackend.h"

#include "database/odbcsupport.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace supplink {

namespace {

// ADO's defined sizes of the long types of SQL Server.
constexpr int kLongSize = 1073741823;

QString crlf()
{
    return QStringLiteral("\r\n");
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("supplink-odbc-%1").arg(++counter);
}

// The type and defined size ADO reports for a column of this ODBC SQL type.
FieldType typeOfField(const QSqlField& field)
{
    const int length = field.length();
    const int scale = field.precision(); // Qt's ODBC driver keeps the decimal digits here
    switch (field.typeID()) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
        if (length <= 0 || length > 8000)
            return FieldType{adType::LongVarWChar, kLongSize}; // (n)varchar(max)
        return FieldType{adType::VarWChar, length};
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
        return FieldType{adType::LongVarWChar, kLongSize};
    case SQL_INTEGER:
        return FieldType{adType::Integer, 4};
    case SQL_SMALLINT:
        return FieldType{adType::SmallInt, 2};
    case SQL_TINYINT:
        return FieldType{adType::UnsignedTinyInt, 1};
    case SQL_BIGINT:
        return FieldType{adType::BigInt, 8};
    case SQL_BIT:
        return FieldType{adType::Boolean, 2};
    case SQL_REAL:
        return FieldType{adType::Single, 4};
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return FieldType{adType::Double, 8};
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        // money and smallmoney arrive as decimal(19,4) and decimal(10,4).
        if (scale == 4 && (length == 19 || length == 10))
            return FieldType{adType::Currency, 8};
        return FieldType{adType::Numeric, 19};
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATETIME:
    case SQL_TIMESTAMP:
        return FieldType{adType::Date, 8};
    case SQL_GUID:
        return FieldType{adType::GUID, 16};
    case SQL_BINARY:
    case SQL_VARBINARY:
        if (length <= 0 || length > 8000)
            return FieldType{adType::LongVarBinary, kLongSize};
        return FieldType{adType::VarBinary, length};
    case SQL_LONGVARBINARY:
        return FieldType{adType::LongVarBinary, kLongSize};
    default:
        return FieldType{adType::VarWChar, length > 0 ? length : 255};
    }
}

// A value as the recordset model keeps it.
QVariant normalised(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (isIntegralType(value.typeId()))
        return QVariant(value.toLongLong());
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QVariant(qint64(value.toBool() ? -1 : 0));
    case QMetaType::Float:
        return QVariant(double(value.toFloat()));
    case QMetaType::QDate:
        return QVariant(QDateTime(value.toDate(), QTime(0, 0)));
    case QMetaType::QTime:
        return QVariant(QDateTime(QDate(1899, 12, 30), value.toTime()));
    default:
        return value;
    }
}

// A parameter value as Qt's ODBC driver binds it; a Null is a null text.
QVariant bindable(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

void* handleOf(const QVariant& handle)
{
    if (!handle.isValid() || handle.metaType().sizeOf() != sizeof(void*))
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

bool changesSchema(const QString& sql)
{
    static const QRegularExpression ddl(QStringLiteral("^\\s*(CREATE|DROP|ALTER)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return ddl.match(sql).hasMatch();
}

QString unbracketed(QString name)
{
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name.mid(1, name.size() - 2).replace(QLatin1String("]]"), QLatin1String("]"));
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        return name.mid(1, name.size() - 2);
    return name;
}

// The parts of a dotted name: "[PT].[Article]" gives PT and Article.
QStringList nameParts(const QString& dotted)
{
    static const QRegularExpression part(QStringLiteral("\\[(?:[^\\]]|\\]\\])+\\]|\"[^\"]*\"|[^.\\s]+"));
    QStringList parts;
    for (auto it = part.globalMatch(dotted); it.hasNext();)
        parts.append(unbracketed(it.next().captured(0)));
    return parts;
}

// The items of a select list, split at the commas outside parentheses, brackets and quotes.
QStringList selectItems(const QString& list)
{
    QStringList items;
    int depth = 0;
    QChar quote;
    qsizetype start = 0;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QChar c = list.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('['))
            quote = QLatin1Char(']');
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            items.append(list.mid(start, i - start).trimmed());
            start = i + 1;
        }
    }
    items.append(list.mid(start).trimmed());
    return items;
}

// The table column a select item reads ("[PT].[ArtGroup].[SortOrder] AS OrderNr" gives SortOrder), or
// empty for an expression.
QString itemColumn(const QString& item)
{
    static const QRegularExpression reference(
        QStringLiteral("^((?:(?:\\[[^\\]]+\\]|[A-Za-z_][\\w$#@]*)\\s*\\.\\s*){0,3}(?:\\[[^\\]]+\\]|[A-Za-z_]"
                       "[\\w$#@]*))(?:\\s+(?:AS\\s+)?(?:\\[[^\\]]+\\]|[A-Za-z_][\\w$#@]*))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = reference.match(item.trimmed());
    if (!match.hasMatch())
        return QString();
    const QStringList parts = nameParts(match.captured(1));
    return parts.isEmpty() ? QString() : parts.last();
}

} // namespace

// A statement prepared on the connection; the back-end releases it when the connection closes first.
class OdbcStatement final : public Statement
{
public:
    OdbcStatement(OdbcBackend* owner, const QString& sql)
        : m_owner(owner), m_query(QSqlDatabase::database(owner->m_connectionName, false)), m_sql(sql)
    {
        m_query.setForwardOnly(true);
        m_query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!m_query.prepare(sql))
            throw owner->failure(m_query, sql);
    }
    ~OdbcStatement() override
    {
        if (m_owner)
            m_owner->forget(this);
    }

    void bind(int index, const QVariant& value) override
    {
        live();
        m_query.bindValue(index, bindable(value));
    }

    void execute() override
    {
        live();
        if (!m_query.exec())
            throw m_owner->failure(m_query, m_sql);
        m_changes = m_query.numRowsAffected();
        m_identityRead = false;
        m_query.finish();
    }

    qint64 lastInsertId() override
    {
        live();
        if (!m_identityRead) {
            m_identity = m_owner->lastIdentity();
            m_identityRead = true;
        }
        return m_identity;
    }

    qint64 changes() override { return m_changes; }

    void detach()
    {
        m_query = QSqlQuery();
        m_owner = nullptr;
    }

private:
    void live() const
    {
        if (!m_owner)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("De verbinding met de database is gesloten."));
    }

    OdbcBackend* m_owner;
    QSqlQuery m_query;
    QString m_sql;
    qint64 m_changes = 0;
    qint64 m_identity = 0;
    bool m_identityRead = false;
};

std::shared_ptr<OdbcBackend> OdbcBackend::open(const Settings& settings)
{
    // Qt's driver keeps no diagnostics of a failed login: a login of our own first tells why.
    const OdbcLoginResult login = tryOdbcLogin(settings.connectionString, settings.loginTimeoutSeconds);
    if (!login.ok)
        throw odbcFailure(login.records,
                          QStringLiteral("De verbinding met de database kan niet worden gemaakt."));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw AppError(
            DbErrorNumber::NotAvailable,
            QStringLiteral("Het ODBC-stuurprogramma van Qt (QODBC) is op dit systeem niet gevonden."));

    const QString name = nextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(settings.connectionString);
        db.setConnectOptions(
            QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(qMax(1, settings.loginTimeoutSeconds)));
        if (!db.open()) {
            const QSqlError error = db.lastError();
            const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw ProviderFailure(DbErrorNumber::Unspecified, text,
                                  {{text, DbErrorNumber::Unspecified, QStringLiteral("QODBC"), QString(),
                                    error.nativeErrorCode().toInt()}});
        }
    }
    return std::shared_ptr<OdbcBackend>(new OdbcBackend(settings, name));
}

OdbcBackend::OdbcBackend(Settings settings, QString connectionName)
    : m_settings(std::move(settings)), m_connectionName(std::move(connectionName))
{
}

OdbcBackend::~OdbcBackend()
{
    close();
}

void OdbcBackend::close()
{
    if (!m_open)
        return;
    for (OdbcStatement* statement : m_statements)
        statement->detach();
    m_statements.clear();
    m_schemas.clear();
    m_depth = 0;
    m_open = false;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close(); // an open transaction is rolled back
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void OdbcBackend::requireOpen() const
{
    if (!m_open)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("De verbinding met de database is gesloten."));
}

ProviderFailure OdbcBackend::failure(const QSqlQuery& query, const QString& sql)
{
    QList<ProviderError> records;
    if (const QSqlResult* result = query.result())
        records = odbcDiagnostics(SQL_HANDLE_STMT, handleOf(result->handle()));
    const QSqlError error = query.lastError();
    if (records.isEmpty()) {
        const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
        records.append({text, DbErrorNumber::Unspecified, QStringLiteral("QODBC"), QString(),
                        error.nativeErrorCode().toInt()});
    }
    m_errors = records;
    ProviderFailure failure = odbcFailure(records, error.text());
    if (failure.number() == DbErrorNumber::CommandError ||
        failure.number() == DbErrorNumber::IntegrityViolation)
        return ProviderFailure(failure.number(), failure.description() + crlf() + sql.trimmed(), records);
    return failure;
}

void OdbcBackend::execute(const QString& sql, const QVariantList& params)
{
    run(sql, params);
}

std::optional<ResultData> OdbcBackend::run(const QString& sql, const QVariantList& params)
{
    requireOpen();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    bool ok = false;
    if (params.isEmpty()) {
        ok = query.exec(sql);
    } else {
        ok = query.prepare(sql);
        for (qsizetype i = 0; ok && i < params.size(); ++i)
            query.addBindValue(bindable(params.at(i)));
        ok = ok && query.exec();
    }
    if (!ok)
        throw failure(query, sql);
    if (changesSchema(sql))
        m_schemas.clear();
    std::optional<ResultData> result;
    do {
        if (query.isSelect())
            result = readResult(query, sql);
    } while (query.nextResult());
    m_errors.clear();
    return result;
}

std::optional<ResultData> OdbcBackend::readResult(QSqlQuery& query, const QString& sql)
{
    const QSqlRecord record = query.record();
    const int count = record.count();
    ResultData data;
    data.rows = RowStore(count);
    for (int i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = record.fieldName(i);
        const FieldType type = typeOfField(record.field(i));
        column.type = type.type;
        column.definedSize = type.definedSize;
        data.columns.append(column);
    }
    while (query.next()) {
        QVariant* row = data.rows.append();
        for (int i = 0; i < count; ++i)
            row[i] = normalised(query.value(i));
    }
    if (query.lastError().type() != QSqlError::NoError)
        throw failure(query, sql);
    describeWriteBack(data, query, sql);
    return data;
}

void OdbcBackend::describeWriteBack(ResultData& data, const QSqlQuery& query, const QString& sql)
{
    static const QRegularExpression plain(
        QStringLiteral(
            "^\\s*SELECT\\s+(?:TOP\\s+\\d+\\s+)?(.+?)\\s+FROM\\s+((?:\\[[^\\]]+\\]|[A-Za-z_][\\w$#@]*)"
            "(?:\\s*\\.\\s*(?:\\[[^\\]]+\\]|[A-Za-z_][\\w$#@]*)){0,2})\\s*(?:(?:WHERE|ORDER\\s+BY)\\b.*)?"
            ";?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression combined(
        QStringLiteral("\\b(JOIN|UNION|INTERSECT|EXCEPT|GROUP\\s+BY|HAVING|DISTINCT)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = plain.match(sql);
    if (!match.hasMatch() || combined.match(sql).hasMatch())
        return;
    const QStringList parts = nameParts(match.captured(2));
    if (parts.isEmpty())
        return;
    const QString table = parts.last();
    const QString schemaName = parts.size() >= 2 ? parts.at(parts.size() - 2) : QString();
    const std::optional<TableSchema> schema = tableSchema(table, schemaName);
    if (!schema)
        return;

    // Which table column each result column reads: by the select list, or by name for "*".
    const QStringList items = selectItems(match.captured(1));
    bool byName = items.size() != data.columns.size();
    for (const QString& item : items)
        byName = byName || item == QLatin1String("*") || item.endsWith(QLatin1String(".*"));
    const QSqlRecord record = query.record();
    bool any = false;
    for (int i = 0; i < data.columns.size(); ++i) {
        ColumnInfo& column = data.columns[i];
        const QString source = byName ? column.name : itemColumn(items.at(i));
        const int at = source.isEmpty() ? -1 : schema->columnIndex(source);
        if (at < 0)
            continue;
        const TableColumn& tableColumn = schema->columns.at(at);
        column.table = schema->name;
        column.column = tableColumn.name;
        column.writable = true;
        column.autoNumber = tableColumn.autoNumber || record.field(i).isAutoValue();
        any = true;
    }
    if (!any)
        return;
    data.table = schema->name;
    data.schema = schemaName;
    QList<int> key;
    for (const TableColumn& tableColumn : schema->columns) {
        if (tableColumn.primaryKey == 0)
            continue;
        int found = -1;
        for (int i = 0; i < data.columns.size() && found < 0; ++i) {
            if (data.columns.at(i).writable &&
                data.columns.at(i).column.compare(tableColumn.name, Qt::CaseInsensitive) == 0)
                found = i;
        }
        if (found < 0)
            return; // rows cannot be found again: written back nowhere
        while (key.size() < tableColumn.primaryKey)
            key.append(-1);
        key[tableColumn.primaryKey - 1] = found;
    }
    if (!key.contains(-1))
        data.keyColumns = key;
}

std::unique_ptr<Statement> OdbcBackend::prepare(const QString& sql)
{
    requireOpen();
    auto statement = std::make_unique<OdbcStatement>(this, sql);
    m_statements.insert(statement.get());
    return statement;
}

qint64 OdbcBackend::lastIdentity()
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT @@IDENTITY")) && query.next())
        return query.value(0).toLongLong();
    return 0;
}

void OdbcBackend::beginTrans()
{
    requireOpen();
    if (m_depth == 0) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (!db.transaction()) {
            m_errors = odbcDiagnostics(SQL_HANDLE_DBC, handleOf(db.driver()->handle()));
            throw odbcFailure(m_errors, QStringLiteral("De transactie kan niet worden gestart."));
        }
    } else if (m_settings.kind == Kind::SqlServer) {
        execute(QStringLiteral("SAVE TRANSACTION sp%1").arg(m_depth));
    } else {
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Geneste transacties worden door deze database niet ondersteund."));
    }
    ++m_depth;
}

void OdbcBackend::commitTrans()
{
    requireOpen();
    if (m_depth == 0)
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Er is geen transactie om vast te leggen."));
    if (m_depth == 1) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (!db.commit()) {
            m_errors = odbcDiagnostics(SQL_HANDLE_DBC, handleOf(db.driver()->handle()));
            m_depth = 0;
            throw odbcFailure(m_errors, QStringLiteral("De transactie kan niet worden vastgelegd."));
        }
    }
    --m_depth;
}

void OdbcBackend::rollbackTrans()
{
    requireOpen();
    if (m_depth == 0)
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Er is geen transactie om terug te draaien."));
    if (m_depth == 1) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        m_depth = 0;
        if (!db.rollback()) {
            m_errors = odbcDiagnostics(SQL_HANDLE_DBC, handleOf(db.driver()->handle()));
            throw odbcFailure(m_errors, QStringLiteral("De transactie kan niet worden teruggedraaid."));
        }
        return;
    }
    execute(QStringLiteral("ROLLBACK TRANSACTION sp%1").arg(m_depth - 1));
    --m_depth;
}

QStringList OdbcBackend::tableNames()
{
    requireOpen();
    QStringList names = QSqlDatabase::database(m_connectionName, false).tables(QSql::Tables);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

std::optional<TableSchema> OdbcBackend::tableSchema(const QString& table, const QString& schema)
{
    requireOpen();
    const QString cacheKey = schema.toLower() + QLatin1Char('\x1f') + table.toLower();
    const auto cached = m_schemas.constFind(cacheKey);
    if (cached != m_schemas.cend())
        return *cached;

    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    const QString qualified = schema.isEmpty()
                                  ? quoteIdentifier(table)
                                  : quoteIdentifier(schema) + QLatin1Char('.') + quoteIdentifier(table);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    std::optional<TableSchema> result;
    if (query.exec(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(qualified))) {
        const QSqlRecord record = query.record();
        TableSchema description;
        description.name = table;
        description.hasRowid = false;
        for (int i = 0; i < record.count(); ++i) {
            const QSqlField field = record.field(i);
            TableColumn column;
            column.name = field.name();
            const FieldType type = typeOfField(field);
            column.type = type.type;
            column.definedSize = type.definedSize;
            column.notNull = field.requiredStatus() == QSqlField::Required;
            column.autoNumber = field.isAutoValue();
            description.columns.append(column);
        }
        const QSqlIndex key = db.primaryIndex(schema.isEmpty() ? table : schema + QLatin1Char('.') + table);
        for (int i = 0; i < key.count(); ++i) {
            const int at = description.columnIndex(key.fieldName(i));
            if (at >= 0)
                description.columns[at].primaryKey = i + 1;
        }
        result = description;
    }
    m_schemas.insert(cacheKey, result);
    return result;
}

QString OdbcBackend::quoteIdentifier(const QString& name) const
{
    if (m_settings.kind == Kind::Odbc && m_open) {
        const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.driver())
            return db.driver()->escapeIdentifier(name, QSqlDriver::FieldName);
    }
    QString quoted = name;
    quoted.replace(QLatin1Char(']'), QLatin1String("]]"));
    return QLatin1Char('[') + quoted + QLatin1Char(']');
}

QString sqlServerDriver(const QStringList& installedDrivers)
{
    static const char* const preferred[] = {"ODBC Driver 18 for SQL Server",
                                            "ODBC Driver 17 for SQL Server",
                                            "ODBC Driver 13.1 for SQL Server",
                                            "ODBC Driver 13 for SQL Server",
                                            "ODBC Driver 11 for SQL Server",
                                            "SQL Server Native Client 11.0",
                                            "SQL Server Native Client 10.0",
                                            "SQL Server",
                                            "FreeTDS"};
    for (const char* wanted : preferred) {
        for (const QString& driver : installedDrivers) {
            if (driver.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                return driver;
        }
    }
    return QString();
}

QString sqlServerConnectionString(const SqlServerLogin& login, const QString& driver)
{
    const bool freeTds = driver.compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) == 0;
    QStringList parts;
    parts << QStringLiteral("DRIVER={%1}").arg(driver);
    QString server = login.server.trimmed();
    if (freeTds) {
        // FreeTDS knows neither the local aliases nor "host,port".
        static const QRegularExpression local(QStringLiteral("^(\\(local\\)|\\.)(?=$|\\\\|,)"),
                                              QRegularExpression::CaseInsensitiveOption);
        server.replace(local, QStringLiteral("127.0.0.1"));
        const qsizetype comma = server.indexOf(QLatin1Char(','));
        if (comma >= 0) {
            parts << QStringLiteral("SERVER=") + odbcConnectionValue(server.left(comma).trimmed());
            parts << QStringLiteral("PORT=") + odbcConnectionValue(server.mid(comma + 1).trimmed());
        } else {
            parts << QStringLiteral("SERVER=") + odbcConnectionValue(server);
        }
    } else {
        parts << QStringLiteral("SERVER=") + odbcConnectionValue(server);
    }
    if (!login.database.trimmed().isEmpty())
        parts << QStringLiteral("DATABASE=") + odbcConnectionValue(login.database);
    if (login.integratedSecurity) {
        parts << QStringLiteral("Trusted_Connection=Yes");
    } else {
        parts << QStringLiteral("UID=") + odbcConnectionValue(login.user);
        parts << QStringLiteral("PWD=") + odbcConnectionValue(login.password);
    }
    if (!login.applicationName.isEmpty())
        parts << QStringLiteral("APP=") + odbcConnectionValue(login.applicationName);
    // The newest Microsoft driver encrypts by default; the servers of this program's users expect what
    // the older providers did.
    if (driver.startsWith(QLatin1String("ODBC Driver 18"), Qt::CaseInsensitive))
        parts << QStringLiteral("Encrypt=no");
    return parts.join(QLatin1Char(';')) + QLatin1Char(';');
}

DbConnection openSqlServer(const SqlServerLogin& login)
{
    const QString driver = sqlServerDriver(installedOdbcDrivers());
    if (driver.isEmpty())
        throw AppError(DbErrorNumber::NotAvailable,
                       QStringLiteral("Er is geen ODBC-stuurprogramma voor SQL Server geïnstalleerd "
                                      "(FreeTDS of een stuurprogramma van Microsoft)."));
    OdbcBackend::Settings settings;
    settings.kind = DatabaseBackend::Kind::SqlServer;
    settings.path = login.server;
    settings.connectionString = sqlServerConnectionString(login, driver);
    return OdbcBackend::open(settings);
}

DbConnection openOdbcSource(const QString& connectionString)
{
    static const QRegularExpression secret(QStringLiteral("(?:^|;)\\s*(?:PWD|Password)\\s*=[^;]*"),
                                           QRegularExpression::CaseInsensitiveOption);
    OdbcBackend::Settings settings;
    settings.kind = DatabaseBackend::Kind::Odbc;
    settings.path = QString(connectionString).remove(secret);
    settings.connectionString = connectionString;
    return OdbcBackend::open(settings);
}

QString jetWriterDriver()
{
    for (const QString& driver : installedOdbcDrivers()) {
        if (driver.contains(QLatin1String("Microsoft Access Driver"), Qt::CaseInsensitive))
            return driver;
    }
    return QString();
}

DbConnection openJetThroughOdbc(const QString& path, const QString& password, const QString& driver)
{
    OdbcBackend::Settings settings;
    settings.kind = DatabaseBackend::Kind::Jet;
    settings.path = path;
    settings.connectionString = QStringLiteral("DRIVER={%1};DBQ=%2;")
                                    .arg(driver, odbcConnectionValue(QDir::toNativeSeparators(path)));
    if (!password.isEmpty())
        settings.connectionString +=
            QStringLiteral("PWD=") + odbcConnectionValue(password) + QLatin1Char(';');
    return OdbcBackend::open(settings);
}

} // namespace supplink
