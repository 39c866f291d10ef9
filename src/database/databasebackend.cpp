#include "database/databasebackend.h"

#include "database/recordset.h"

#include <QRegularExpression>

namespace supplink {

namespace {

// The size ADO gives memo and long binary fields.
constexpr int kMemoSize = 536870910;
constexpr int kLongBinarySize = 1073741823;

FieldType sized(int type, int size)
{
    return FieldType{type, size};
}

bool oneOf(const QString& word, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (word == QLatin1String(name))
            return true;
    }
    return false;
}

} // namespace

FieldType FieldTypeFromDeclaration(const QString& declaredType)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([A-Za-z_ ]*?)\\s*(?:\\(\\s*(\\d+)[^)]*\\))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(declaredType);
    const QString base = (match.hasMatch() ? match.captured(1) : declaredType).trimmed().toUpper();
    const int length = match.hasMatch() ? match.captured(2).toInt() : 0;

    if (base.isEmpty())
        return sized(adType::VarWChar, 0);
    if (oneOf(base, {"COUNTER", "AUTOINCREMENT", "IDENTITY", "LONG", "INTEGER", "INT", "MEDIUMINT",
                     "INTEGER4", "LONG INTEGER"}))
        return sized(adType::Integer, 4);
    if (oneOf(base, {"BIGINT", "INT64", "INT8"}))
        return sized(adType::BigInt, 8);
    if (oneOf(base, {"SMALLINT", "SHORT", "INTEGER2", "INT2"}))
        return sized(adType::SmallInt, 2);
    if (oneOf(base, {"TINYINT", "BYTE", "INTEGER1", "UNSIGNED BYTE"}))
        return sized(adType::UnsignedTinyInt, 1);
    if (oneOf(base, {"BIT", "BOOLEAN", "BOOL", "YESNO", "LOGICAL"}))
        return sized(adType::Boolean, 2);
    if (oneOf(base, {"SINGLE", "FLOAT4", "IEEESINGLE"}))
        return sized(adType::Single, 4);
    if (oneOf(base, {"REAL", "DOUBLE", "FLOAT", "FLOAT8", "NUMBER", "NUMERIC", "DECIMAL", "DOUBLE PRECISION",
                     "IEEEDOUBLE"}))
        return sized(adType::Double, 8);
    if (oneOf(base, {"CURRENCY", "MONEY", "SMALLMONEY"}))
        return sized(adType::Currency, 8);
    if (oneOf(base, {"DATETIME", "DATE", "TIME", "TIMESTAMP", "SMALLDATETIME", "DATETIME2"}))
        return sized(adType::Date, 8);
    if (oneOf(base, {"GUID", "UNIQUEIDENTIFIER"}))
        return sized(adType::GUID, 16);
    if (oneOf(base, {"MEMO", "LONGTEXT", "CLOB", "NTEXT", "LONGCHAR", "NOTE"}))
        return sized(adType::LongVarWChar, kMemoSize);
    if (oneOf(base, {"BLOB", "LONGBINARY", "IMAGE", "OLEOBJECT", "GENERAL", "VARBINARY", "BINARY"}))
        return sized(adType::LongVarBinary, kLongBinarySize);
    if (base.contains(QLatin1String("CHAR")) || oneOf(base, {"TEXT", "STRING", "ALPHANUMERIC"})) {
        // A text with a length is a short text; without one, a memo.
        if (length > 0)
            return sized(adType::VarWChar, length);
        if (oneOf(base, {"TEXT", "STRING"}))
            return sized(adType::LongVarWChar, kMemoSize);
        return sized(adType::VarWChar, 255);
    }
    // The column-affinity rules of SQLite for every other name.
    if (base.contains(QLatin1String("INT")))
        return sized(adType::Integer, 4);
    if (base.contains(QLatin1String("CLOB")) || base.contains(QLatin1String("TEXT")))
        return sized(adType::LongVarWChar, kMemoSize);
    if (base.contains(QLatin1String("BLOB")))
        return sized(adType::LongVarBinary, kLongBinarySize);
    return sized(adType::Double, 8);
}

int TableSchema::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void DatabaseBackend::backupTo(const QString& targetPath)
{
    Q_UNUSED(targetPath);
    throw AppError(DbErrorNumber::NotAvailable,
                   QStringLiteral("Dit soort database kan niet naar een nieuw bestand worden gekopieerd."));
}

RecordsetPtr DatabaseBackend::openRecordset(const QString& sql, const QVariantList& params)
{
    std::optional<ResultData> data = run(sql, params);
    if (!data)
        throw AppError(DbErrorNumber::CommandError,
                       QStringLiteral("De opdracht levert geen records op: ") + sql.trimmed());
    return std::make_shared<Recordset>(shared_from_this(), sql, params, std::move(*data));
}

Transaction::Transaction(DbConnection db) : Transaction(std::move(db), true) {}

Transaction::Transaction(DbConnection db, bool begin) : m_db(std::move(db))
{
    if (!begin)
        return;
    if (!m_db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("De transactie kan niet worden gestart: er is geen verbinding."));
    m_db->beginTrans();
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        m_db->rollbackTrans();
    } catch (const std::exception& e) {
        // A destructor cannot throw: the failure goes to the program's log, and the database keeps what
        // it last committed (an unfinished transaction is never committed).
        qCritical("Terugdraaien van de transactie mislukt: %s", e.what());
    }
}

void Transaction::commit()
{
    if (!m_open)
        return;
    m_db->commitTrans();
    m_open = false;
}

void Transaction::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    m_db->rollbackTrans();
}

} // namespace supplink
