#pragma once
// Reads SQLite files in the reader tests: a few statements, values as
// QVariant (NULL as an invalid QVariant, blobs as QByteArray). The connection
// knows the collation of codes, as the program's connections do.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include "platform/codecompare.h"

namespace supplink::test {

class SqliteFile
{
public:
    explicit SqliteFile(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
        // A mirror's text columns are declared with the collation of codes.
        if (m_db)
            registerCodeCollation(m_db);
    }
    ~SqliteFile() { sqlite3_close(m_db); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }
    QString lastError() const { return m_error; }

    // The rows of a statement; an empty list with lastError() set on failure.
    QList<QVariantList> rows(const QString& sql)
    {
        QList<QVariantList> result;
        m_error.clear();
        sqlite3_stmt* statement = nullptr;
        if (!m_db ||
            sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("not open");
            return result;
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    row << QVariant(qint64(sqlite3_column_int64(statement, i)));
                    break;
                case SQLITE_FLOAT:
                    row << QVariant(sqlite3_column_double(statement, i));
                    break;
                case SQLITE_TEXT:
                    row << QVariant(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                                          sqlite3_column_bytes(statement, i)));
                    break;
                case SQLITE_BLOB:
                    row << QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, i)),
                                               sqlite3_column_bytes(statement, i)));
                    break;
                default:
                    row << QVariant();
                }
            }
            result << row;
        }
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        return result;
    }

    QVariant value(const QString& sql)
    {
        const QList<QVariantList> all = rows(sql);
        return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
    }

    bool exec(const QString& sql)
    {
        rows(sql);
        return m_error.isEmpty();
    }

    // The tables in creation order, the side tables left out.
    QStringList tables()
    {
        QStringList names;
        for (const QVariantList& row :
             rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                 "name NOT LIKE '\\_\\_supplink%' ESCAPE '\\' ORDER BY rowid")))
            names << row.first().toString();
        return names;
    }

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};

// The files of a folder, for checking that nothing was left behind.
inline QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace supplink::test
