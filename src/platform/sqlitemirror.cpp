#include "platform/sqlitemirror.h"

#include "platform/codecompare.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace supplink {

QByteArray oleDateText(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3000000.0)
        return {};
    double whole = std::trunc(days);
    qint64 seconds = std::llround(std::fabs(days - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += 1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                  int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
    return QByteArray(text);
}

QString quoteSqlIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString MirrorWriter::workPathFor(const QString& targetPath)
{
    const QFileInfo info(targetPath);
    return info.absoluteDir().filePath(
        QStringLiteral(".%1.%2.part").arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
}

MirrorWriter::MirrorWriter(const QString& targetPath, const QString& workPath)
    : m_target(targetPath), m_work(workPath.isEmpty() ? workPathFor(targetPath) : workPath)
{
}

MirrorWriter::~MirrorWriter()
{
    discard();
}

void MirrorWriter::discard()
{
    endRows();
    if (m_columnInsert) {
        sqlite3_finalize(m_columnInsert);
        m_columnInsert = nullptr;
    }
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    QFile::remove(m_work);
    QFile::remove(m_work + QStringLiteral("-journal"));
}

bool MirrorWriter::fail(const QString& what)
{
    QString detail = what;
    if (m_db && sqlite3_errcode(m_db) != SQLITE_OK)
        detail += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_db));
    m_error = QStringLiteral("De tijdelijke kopie '%1' kan niet worden geschreven (%2).")
                  .arg(QDir::toNativeSeparators(m_target), detail);
    return false;
}

QString mirrorTextDeclaration(int size)
{
    return QStringLiteral("TEXT(%1) COLLATE %2").arg(size).arg(QLatin1String(kCodeCollation));
}

QString mirrorMemoDeclaration()
{
    return QStringLiteral("LONGTEXT COLLATE %1").arg(QLatin1String(kCodeCollation));
}

bool MirrorWriter::open()
{
    if (sqlite3_open_v2(QFile::encodeName(m_work).constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return fail(QStringLiteral("openen mislukt"));
    if (registerCodeCollation(m_db) != SQLITE_OK)
        return fail(QStringLiteral("vergelijking van codes niet beschikbaar"));
    // The file is private until finish() moves it into place: no journal needed.
    if (!exec(QStringLiteral("PRAGMA journal_mode=OFF")) || !exec(QStringLiteral("PRAGMA synchronous=OFF")) ||
        !exec(QStringLiteral("BEGIN")))
        return false;
    const QString side =
        QStringLiteral("CREATE TABLE %1 (tablename TEXT NOT NULL COLLATE NOCASE, columnname TEXT NOT NULL "
                       "COLLATE NOCASE, ordinal INTEGER NOT NULL, jettype INTEGER NOT NULL, adotype INTEGER "
                       "NOT NULL, definedsize INTEGER NOT NULL, precision INTEGER NOT NULL, numericscale "
                       "INTEGER NOT NULL, autonumber INTEGER NOT NULL, PRIMARY KEY (tablename, columnname))")
            .arg(QLatin1String(kMirrorColumnsTable));
    if (!exec(side))
        return false;
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (?,?,?,?,?,?,?,?,?)")
                                  .arg(QLatin1String(kMirrorColumnsTable))
                                  .toUtf8();
    if (sqlite3_prepare_v2(m_db, insert.constData(), -1, &m_columnInsert, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("voorbereiden mislukt"));
    return true;
}

bool MirrorWriter::exec(const QString& sql)
{
    if (!m_db)
        return fail(QStringLiteral("niet geopend"));
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "");
        sqlite3_free(message);
        m_error = QStringLiteral("De tijdelijke kopie '%1' kan niet worden geschreven (%2).")
                      .arg(QDir::toNativeSeparators(m_target), text);
        return false;
    }
    return true;
}

bool MirrorWriter::createTable(const QString& table, const QList<MirrorColumn>& columns,
                               const QStringList& keyColumns)
{
    QStringList parts;
    bool inlineKey = false;
    for (const MirrorColumn& column : columns) {
        parts << quoteSqlIdentifier(column.name) + QLatin1Char(' ') + column.declaredType;
        inlineKey =
            inlineKey || column.declaredType.contains(QLatin1String("PRIMARY KEY"), Qt::CaseInsensitive);
    }
    if (!keyColumns.isEmpty() && !inlineKey) {
        QStringList quoted;
        for (const QString& key : keyColumns)
            quoted << quoteSqlIdentifier(key);
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(quoted.join(QStringLiteral(", ")));
    }
    if (!exec(QStringLiteral("CREATE TABLE %1 (%2)")
                  .arg(quoteSqlIdentifier(table), parts.join(QStringLiteral(", ")))))
        return false;

    int ordinal = 0;
    for (const MirrorColumn& column : columns) {
        const QByteArray tableName = table.toUtf8();
        const QByteArray columnName = column.name.toUtf8();
        sqlite3_reset(m_columnInsert);
        sqlite3_bind_text(m_columnInsert, 1, tableName.constData(), int(tableName.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(m_columnInsert, 2, columnName.constData(), int(columnName.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int(m_columnInsert, 3, ++ordinal);
        sqlite3_bind_int(m_columnInsert, 4, column.jetType);
        sqlite3_bind_int(m_columnInsert, 5, column.adoType);
        sqlite3_bind_int(m_columnInsert, 6, column.definedSize);
        sqlite3_bind_int(m_columnInsert, 7, column.precision);
        sqlite3_bind_int(m_columnInsert, 8, column.scale);
        sqlite3_bind_int(m_columnInsert, 9, column.autoNumber ? 1 : 0);
        if (sqlite3_step(m_columnInsert) != SQLITE_DONE)
            return fail(QStringLiteral("kolommen van tabel '%1'").arg(table));
    }
    return true;
}

bool MirrorWriter::beginRows(const QString& table, int columnCount)
{
    endRows();
    QStringList marks;
    for (int i = 0; i < columnCount; ++i)
        marks << QStringLiteral("?");
    const QByteArray sql = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                               .arg(quoteSqlIdentifier(table), marks.join(QLatin1Char(',')))
                               .toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &m_insert, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("tabel '%1'").arg(table));
    return true;
}

void MirrorWriter::bindNull(int column)
{
    m_bindFailed |= sqlite3_bind_null(m_insert, column + 1) != SQLITE_OK;
}

void MirrorWriter::bindInteger(int column, qint64 value)
{
    m_bindFailed |= sqlite3_bind_int64(m_insert, column + 1, value) != SQLITE_OK;
}

void MirrorWriter::bindDouble(int column, double value)
{
    m_bindFailed |= sqlite3_bind_double(m_insert, column + 1, value) != SQLITE_OK;
}

void MirrorWriter::bindText(int column, const QByteArray& utf8)
{
    m_bindFailed |= sqlite3_bind_text64(m_insert, column + 1, utf8.constData(), sqlite3_uint64(utf8.size()),
                                        SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK;
}

void MirrorWriter::bindBlob(int column, const QByteArray& bytes)
{
    m_bindFailed |= sqlite3_bind_blob64(m_insert, column + 1, bytes.constData(), sqlite3_uint64(bytes.size()),
                                        SQLITE_TRANSIENT) != SQLITE_OK;
}

bool MirrorWriter::insertRow()
{
    const bool bound = !m_bindFailed;
    m_bindFailed = false;
    const int rc = bound ? sqlite3_step(m_insert) : SQLITE_ERROR;
    sqlite3_reset(m_insert);
    sqlite3_clear_bindings(m_insert);
    if (rc != SQLITE_DONE)
        return fail(bound ? QStringLiteral("rij toevoegen") : QStringLiteral("waarde te groot"));
    return true;
}

void MirrorWriter::endRows()
{
    if (m_insert) {
        sqlite3_finalize(m_insert);
        m_insert = nullptr;
    }
}

bool MirrorWriter::finish()
{
    endRows();
    sqlite3_finalize(m_columnInsert);
    m_columnInsert = nullptr;
    if (!exec(QStringLiteral("COMMIT")))
        return false;
    if (sqlite3_close(m_db) != SQLITE_OK)
        return fail(QStringLiteral("sluiten mislukt"));
    m_db = nullptr;
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(m_work.toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), code);
    if (code)
        return fail(QString::fromStdString(code.message()));
    return true;
}

} // namespace supplink
