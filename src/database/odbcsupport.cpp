#include "database/odbcsupport.h"

#include <QRegularExpression>

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace supplink {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the ODBC wide characters must be UTF-16");

namespace {

QString fromWide(const SQLWCHAR* text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

const SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

// The environment handle of one task; freed with the object.
class OdbcEnvironment
{
public:
    OdbcEnvironment()
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env))) {
            m_env = SQL_NULL_HENV;
            return;
        }
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~OdbcEnvironment()
    {
        if (m_env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    OdbcEnvironment(const OdbcEnvironment&) = delete;
    OdbcEnvironment& operator=(const OdbcEnvironment&) = delete;

    SQLHENV handle() const { return m_env; }

private:
    SQLHENV m_env = SQL_NULL_HENV;
};

// The part of a driver message that names who raised it: "[FreeTDS][SQL Server]Login failed" gives
// "FreeTDS".
QString sourceOf(const QString& message)
{
    static const QRegularExpression first(QStringLiteral("^\\[([^\\]]+)\\]"));
    const QRegularExpressionMatch match = first.match(message);
    return match.hasMatch() ? match.captured(1) : QStringLiteral("ODBC");
}

// SQL Server messages that refuse a login.
bool isLoginMessage(qint32 native)
{
    return native == 18456 || native == 18452 || native == 18470 || native == 18486 || native == 18487 ||
           native == 18488;
}

qint32 numberOf(const ProviderError& record)
{
    const QString& state = record.sqlState;
    if (record.nativeError == 4060)
        return DbErrorNumber::Unspecified;
    if (state == QLatin1String("28000") || isLoginMessage(record.nativeError))
        return DbErrorNumber::LoginFailed;
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("HYT00") ||
        state == QLatin1String("HYT01"))
        return DbErrorNumber::Unspecified;
    if (state.startsWith(QLatin1String("IM")))
        return DbErrorNumber::NotAvailable;
    if (state.startsWith(QLatin1String("42")) || state == QLatin1String("37000"))
        return DbErrorNumber::CommandError;
    if (state.startsWith(QLatin1String("23")))
        return DbErrorNumber::IntegrityViolation;
    if (state.startsWith(QLatin1String("22")))
        return DbErrorNumber::TypeMismatch;
    return DbErrorNumber::Unspecified;
}

} // namespace

QStringList installedOdbcDrivers()
{
    QStringList drivers;
    OdbcEnvironment env;
    if (env.handle() == SQL_NULL_HENV)
        return drivers;
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN rc =
            SQLDriversW(env.handle(), direction, name, SQLSMALLINT(std::size(name)), &nameLength, attributes,
                        SQLSMALLINT(std::size(attributes)), &attributesLength);
        if (!SQL_SUCCEEDED(rc))
            break;
        drivers.append(fromWide(name, qMin<qsizetype>(nameLength, qsizetype(std::size(name)) - 1)));
        direction = SQL_FETCH_NEXT;
    }
    return drivers;
}

QString odbcConnectionValue(const QString& value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) &&
                       !value.contains(QLatin1Char('}')) && !value.contains(QLatin1Char('=')) &&
                       value.trimmed() == value;
    if (plain)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

QList<ProviderError> odbcDiagnostics(short handleType, void* handle)
{
    QList<ProviderError> records;
    if (!handle)
        return records;
    for (SQLSMALLINT i = 1; i < 100; ++i) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH + 1];
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, message,
                                            SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        ProviderError record;
        record.description =
            fromWide(message, qBound(qsizetype(0), qsizetype(length), qsizetype(std::size(message)) - 1))
                .trimmed();
        record.sqlState = fromWide(state, SQL_SQLSTATE_SIZE);
        record.nativeError = native;
        record.source = sourceOf(record.description);
        record.number = numberOf(record);
        records.append(record);
    }
    return records;
}

OdbcLoginResult tryOdbcLogin(const QString& connectionString, int loginTimeoutSeconds)
{
    OdbcLoginResult result;
    OdbcEnvironment env;
    if (env.handle() == SQL_NULL_HENV) {
        result.records.append({QStringLiteral("Het ODBC-stuurprogrammabeheer kan niet worden gestart."),
                               DbErrorNumber::NotAvailable, QStringLiteral("ODBC"), QStringLiteral("IM004"),
                               0});
        return result;
    }
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env.handle(), &dbc))) {
        result.records = odbcDiagnostics(SQL_HANDLE_ENV, env.handle());
        return result;
    }
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(1, loginTimeoutSeconds))), 0);
    SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(qMax(1, loginTimeoutSeconds))), 0);
    const QString text = connectionString; // keeps the UTF-16 buffer alive during the call
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, const_cast<SQLWCHAR*>(wide(text)), SQL_NTS, nullptr,
                                           0, &outLength, SQL_DRIVER_NOPROMPT);
    if (SQL_SUCCEEDED(rc)) {
        result.ok = true;
        SQLDisconnect(dbc);
    } else {
        result.records = odbcDiagnostics(SQL_HANDLE_DBC, dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    return result;
}

qint32 odbcErrorNumber(const QList<ProviderError>& records)
{
    // The database named at login decides first: SQL Server follows it with a login message.
    for (const ProviderError& record : records) {
        if (record.nativeError == 4060)
            return DbErrorNumber::Unspecified;
    }
    for (const ProviderError& record : records) {
        if (numberOf(record) == DbErrorNumber::LoginFailed)
            return DbErrorNumber::LoginFailed;
    }
    return records.isEmpty() ? DbErrorNumber::Unspecified : numberOf(records.first());
}

ProviderFailure odbcFailure(const QList<ProviderError>& records, const QString& fallbackDescription)
{
    QStringList messages;
    for (const ProviderError& record : records) {
        if (!record.description.isEmpty() && !messages.contains(record.description))
            messages.append(record.description);
    }
    const QString description = messages.isEmpty() ? fallbackDescription : messages.join(QLatin1Char('\n'));
    return ProviderFailure(odbcErrorNumber(records), description, records);
}

} // namespace supplink
