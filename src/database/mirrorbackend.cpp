#include "database/mirrorbackend.h"

#include "platform/jetmirror.h"
#include "platform/jetsql.h"
#include "platform/workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>
#include <algorithm>
#include <sqlite3.h>

namespace supplink {

namespace {

const char kSidePrefix[] = "__supplink_";

// The open Jet mirrors by Jet file, the last opened last.
QHash<QString, QStringList>& liveMirrors()
{
    static QHash<QString, QStringList> mirrors;
    return mirrors;
}

QString fileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// A new, empty, private file in the temporary folder for a mirror.
QString newMirrorFile()
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/supplink-mirror-XXXXXX.db"));
    file.setAutoRemove(false);
    if (!file.open())
        throw AppError(DbErrorNumber::Unspecified,
                       QStringLiteral("Er kan geen tijdelijk bestand worden gemaakt in de map '%1'.")
                           .arg(QDir::toNativeSeparators(QDir::tempPath())));
    const QString path = file.fileName();
    file.close();
    return path;
}

void removeMirrorFile(const QString& path)
{
    if (path.isEmpty())
        return;
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

bool isSideTable(const QString& table)
{
    return table.startsWith(QLatin1String(kSidePrefix), Qt::CaseInsensitive);
}

QString columnKey(const QString& table, const QString& column)
{
    return table.toLower() + QLatin1Char('\x1f') + column.toLower();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString excelReadOnlyMessage(const QString& path)
{
    return QStringLiteral("De Excel-werkmap '%1' kan alleen worden gelezen; er worden geen gegevens in "
                          "opgeslagen.")
        .arg(shown(path));
}

} // namespace

QString JetAlleenLezenMelding(const QString& path)
{
    return QStringLiteral("Het bestand '%1' is een Access-database (Jet). Access-databases kunnen op dit "
                          "systeem alleen worden gelezen: er is geen ODBC-stuurprogramma voor Access "
                          "geïnstalleerd. Kies een SQLite-database als doelbestand.")
        .arg(shown(path));
}

QString liveJetMirror(const QString& mdbPath)
{
    const QStringList mirrors = liveMirrors().value(fileKey(mdbPath));
    return mirrors.isEmpty() ? QString() : mirrors.last();
}

QString makeJetMirror(const QString& mdbPath)
{
    const QString mirror = newMirrorFile();
    const MirrorResult result = mirrorJetDatabase(mdbPath, mirror);
    if (!result.ok) {
        removeMirrorFile(mirror);
        throw AppError(DbErrorNumber::Unspecified, result.error);
    }
    return mirror;
}

MirrorBackend::MirrorBackend(sqlite3* db, const QString& sourcePath, const QString& mirrorPath, Kind kind)
    : SqliteBackend(db, sourcePath), m_kind(kind), m_mirrorPath(mirrorPath)
{
    if (kind == Kind::Jet)
        m_scratchTables = {QStringLiteral("tmpSelected"), QStringLiteral("tmpLevImportItems")};
    sqlite3_set_authorizer(db, &MirrorBackend::authorize, this);
}

std::shared_ptr<MirrorBackend> MirrorBackend::adopt(const QString& sourcePath, const QString& mirrorPath,
                                                    Kind kind)
{
    sqlite3* db = nullptr;
    try {
        db = openHandle(mirrorPath, SqliteOpenOptions());
    } catch (...) {
        removeMirrorFile(mirrorPath);
        throw;
    }
    std::shared_ptr<MirrorBackend> backend(new MirrorBackend(db, sourcePath, mirrorPath, kind));
    backend->loadColumns();
    return backend;
}

std::shared_ptr<MirrorBackend> MirrorBackend::openJet(const QString& mdbPath)
{
    std::shared_ptr<MirrorBackend> backend = adopt(mdbPath, makeJetMirror(mdbPath), Kind::Jet);
    liveMirrors()[fileKey(mdbPath)].append(backend->m_mirrorPath);
    return backend;
}

std::shared_ptr<MirrorBackend> MirrorBackend::openWorkbook(const QString& path, bool headerRow)
{
    const QString mirror = newMirrorFile();
    const MirrorResult result = mirrorWorkbook(path, mirror, headerRow);
    if (!result.ok) {
        removeMirrorFile(mirror);
        throw AppError(DbErrorNumber::Unspecified, result.error);
    }
    return adopt(path, mirror, Kind::Excel);
}

MirrorBackend::~MirrorBackend()
{
    close();
}

void MirrorBackend::close()
{
    if (m_mirrorPath.isEmpty())
        return;
    if (m_kind == Kind::Jet) {
        const QString key = fileKey(path());
        QStringList& mirrors = liveMirrors()[key];
        mirrors.removeAll(m_mirrorPath);
        if (mirrors.isEmpty())
            liveMirrors().remove(key);
    }
    SqliteBackend::close();
    removeMirrorFile(m_mirrorPath);
    m_mirrorPath.clear();
}

void MirrorBackend::loadColumns()
{
    // Rows of the side table go through the base runner: the statement is the program's own.
    const std::optional<ResultData> rows = SqliteBackend::run(
        QStringLiteral("SELECT tablename, columnname, adotype, definedsize, autonumber FROM %1")
            .arg(QLatin1String(kMirrorColumnsTable)));
    if (!rows)
        return;
    for (qsizetype r = 0; r < rows->rowCount(); ++r) {
        const QVariant* row = rows->rows.row(r);
        KnownColumn known;
        known.type.type = row[2].toInt();
        known.type.definedSize = row[3].toInt();
        known.autoNumber = row[4].toInt() != 0;
        m_columns.insert(columnKey(row[0].toString(), row[1].toString()), known);
    }
}

std::optional<SqliteBackend::KnownColumn>
MirrorBackend::knownColumn(const QString& schema, const QString& table, const QString& column) const
{
    if (schema.compare(QLatin1String("main"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const auto found = m_columns.constFind(columnKey(table, column));
    if (found == m_columns.cend())
        return std::nullopt;
    return *found;
}

void MirrorBackend::execute(const QString& sql, const QVariantList& params)
{
    runJet(sql, params);
}

std::optional<ResultData> MirrorBackend::run(const QString& sql, const QVariantList& params)
{
    return runJet(sql, params);
}

std::unique_ptr<Statement> MirrorBackend::prepare(const QString& sql)
{
    return SqliteBackend::prepare(translateJetSql(sql));
}

QStringList MirrorBackend::tableNames()
{
    QStringList names = SqliteBackend::tableNames();
    names.erase(std::remove_if(names.begin(), names.end(), isSideTable), names.end());
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

std::optional<TableSchema> MirrorBackend::tableSchema(const QString& table, const QString& schema)
{
    if (isSideTable(table))
        return std::nullopt;
    return SqliteBackend::tableSchema(table, schema);
}

QString MirrorBackend::quoteIdentifier(const QString& name) const
{
    // A name with a closing bracket cannot be bracketed; SQLite's own quotes serve then.
    if (name.contains(QLatin1Char(']')))
        return SqliteBackend::quoteIdentifier(name);
    return QLatin1Char('[') + name + QLatin1Char(']');
}

AppError MirrorBackend::statementError(int code, const QString& sql) const
{
    if ((code & 0xFF) != SQLITE_AUTH)
        return SqliteBackend::statementError(code, sql);
    const QString message =
        m_kind == Kind::Jet ? JetAlleenLezenMelding(path()) : excelReadOnlyMessage(path());
    return AppError(DbErrorNumber::ReadOnlyDatabase, message);
}

bool MirrorBackend::mayWrite(const char* database, const char* table)
{
    const QString db = QString::fromUtf8(database ? database : "main");
    const QString name = QString::fromUtf8(table ? table : "");
    if (db.compare(QLatin1String("temp"), Qt::CaseInsensitive) == 0)
        return true;
    if (db.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0) {
        for (const QString& scratch : std::as_const(m_scratchTables)) {
            if (name.compare(scratch, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    m_refusedTable = name;
    return false;
}

int MirrorBackend::authorize(void* self, int action, const char* first, const char* second,
                             const char* database, const char* trigger)
{
    Q_UNUSED(trigger);
    auto* backend = static_cast<MirrorBackend*>(self);
    const auto bookkeeping = [](const char* table) { return table && qstrnicmp(table, "sqlite_", 7) == 0; };
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        // The schema table changes with every CREATE and DROP, which are judged on their own.
        if (bookkeeping(first))
            return SQLITE_OK;
        return backend->mayWrite(database, first) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_CREATE_TABLE:
    case SQLITE_DROP_TABLE:
        return backend->mayWrite(database, first) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_CREATE_INDEX:
    case SQLITE_DROP_INDEX:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_DROP_TRIGGER:
        return backend->mayWrite(database, second) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_ALTER_TABLE:
        return backend->mayWrite(first, second) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_VIEW:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_VTABLE:
        return backend->mayWrite(database, "") ? SQLITE_OK : SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

} // namespace supplink
