#pragma once
// A Jet stand-in for the tests of the import history and the item-status
// query: an SQLite file that answers as a Jet database (its Jet statement
// forms through the translator), opened for the path of a dummy .mdb file.
// SQL Server is stood in for by fixtures/sqlserverstandin.h.
//
// installJetFiles() points the connection object's Jet opener at the
// stand-ins; OpenersGuard puts the refusing openers back.

#include "database/backendopeners.h"
#include "database/sqlitebackend.h"
#include "platform/jetsql.h"

#include <QFile>
#include <QHash>

namespace supplink::test {

class JetStandIn : public SqliteBackend
{
public:
    static std::shared_ptr<JetStandIn> open(const QString& path)
    {
        return std::shared_ptr<JetStandIn>(new JetStandIn(openHandle(path, SqliteOpenOptions()), path));
    }
    Kind kind() const override { return Kind::Jet; }
    void execute(const QString& sql, const QVariantList& params = {}) override
    {
        SqliteBackend::execute(translateJetSql(sql), params);
    }
    std::optional<ResultData> run(const QString& sql, const QVariantList& params = {}) override
    {
        return SqliteBackend::run(translateJetSql(sql), params);
    }

private:
    JetStandIn(sqlite3* db, const QString& path) : SqliteBackend(db, path) {}
};

struct OpenersGuard
{
    ~OpenersGuard() { resetBackendOpeners(); }
};

// A file that is no SQLite database, to stand for a Jet file.
inline QString makeDummyMdb(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("Standard Jet DB (stand-in)");
    return path;
}

// The Jet files in jetFiles (path -> SQLite file) open as their stand-ins; every other Jet file is refused.
inline void installJetFiles(const QHash<QString, QString>& jetFiles)
{
    backendOpeners().jet = [jetFiles](const QString& path, const QString&) -> DbConnection {
        if (!jetFiles.contains(path))
            throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Geen Jet-bestand: ") + path);
        return JetStandIn::open(jetFiles.value(path));
    };
}

} // namespace supplink::test
