#pragma once
// Small helpers of the source-file tests: writing files, stand-ins for the
// Jet and Excel openers.

#include "database/backendopeners.h"
#include "database/sqlitebackend.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <xlsxwriter.h>

namespace supplink::test {

inline bool schrijfBestand(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray leesBestand(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts the openers back as they were when the test ends.
struct OpenersTerug
{
    BackendOpeners bewaard = backendOpeners();
    ~OpenersTerug() { backendOpeners() = bewaard; }
};

// Every Jet or Excel file opens as the given SQLite database, as a mirror of it would.
inline void jetAlsSQLite(const QString& sqlitePath)
{
    backendOpeners().jet = [sqlitePath](const QString&, const QString&) -> DbConnection {
        return SqliteBackend::open(sqlitePath);
    };
}
inline void excelAlsSQLite(const QString& sqlitePath)
{
    backendOpeners().excel = [sqlitePath](const QString&, bool, ExcelProvider) -> DbConnection {
        return SqliteBackend::open(sqlitePath);
    };
}

// Writes an .xlsx workbook: per sheet its name and rows of text cells.
inline bool schrijfXlsx(const QString& path, const QList<QPair<QString, QList<QStringList>>>& bladen)
{
    lxw_workbook* boek = workbook_new(QFile::encodeName(path).constData());
    if (!boek)
        return false;
    for (const auto& [naam, rijen] : bladen) {
        lxw_worksheet* blad = workbook_add_worksheet(boek, naam.toUtf8().constData());
        for (int r = 0; r < rijen.size(); ++r)
            for (int c = 0; c < rijen[r].size(); ++c)
                worksheet_write_string(blad, lxw_row_t(r), lxw_col_t(c), rijen[r][c].toUtf8().constData(),
                                       nullptr);
    }
    return workbook_close(boek) == LXW_NO_ERROR;
}

} // namespace supplink::test
