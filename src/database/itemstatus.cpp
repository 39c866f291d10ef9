#include "database/itemstatus.h"

#include "database/clsconnectie.h"
#include "database/history.h"
#include "database/recordset.h"
#include "platform/codecompare.h"

#include <QHash>
#include <QSet>

namespace supplink {

namespace {

// A Yes/No value as the back-ends return it: -1 or 1 (any number but 0), True, or a null (False).
bool waar(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        bool ok = false;
        const double number = text.toDouble(&ok);
        return ok && number != 0;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && number != 0;
}

struct Marks
{
    bool found = false;
    bool presentInHistory = false;
    bool selected = false;
};

void apply(clsItem& item, const Marks& marks)
{
    item.Existing = marks.found;
    if (!marks.presentInHistory) {
        item.InLatestRun = false;
        item.PriceDataModfied = false;
        item.setUnwanted(false);
        return;
    }
    if (item.Required) {
        item.Selected = true;
    } else if (!marks.found) {
        item.setUnwanted(true);
        item.Selected = false;
    } else {
        item.Selected = marks.selected;
    }
}

// The marks of the items from a target file: its table's codes and the history details of the type.
void markeerUitBestand(clsConnectie& connection, qint32 historyType, const ItemCollection& items)
{
    const DbConnection db = connection.Connection();
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met een database."));
    QSet<QString> inDoel;
    {
        const RecordsetPtr rows =
            db->openRecordset(QStringLiteral("SELECT Code FROM ") + HistoryTabel(historyType));
        const int code = rows->fieldIndex(QStringLiteral("Code"));
        for (; !rows->eof(); rows->moveNext()) {
            const QVariant value = rows->value(code);
            if (value.isValid() && !value.isNull())
                inDoel.insert(foldCode(value.toString()));
        }
        rows->close();
    }
    // The first details row of a code counts, as the first row of the status query does.
    QHash<QString, bool> geselecteerd;
    {
        const RecordsetPtr rows = db->openRecordset(
            QStringLiteral("SELECT fkCode, Selected FROM ImportHistoryDetails WHERE Type=") +
            QString::number(historyType));
        const int code = rows->fieldIndex(QStringLiteral("fkCode"));
        const int selected = rows->fieldIndex(QStringLiteral("Selected"));
        for (; !rows->eof(); rows->moveNext()) {
            const QVariant value = rows->value(code);
            if (!value.isValid() || value.isNull())
                continue;
            const QString key = foldCode(value.toString());
            if (!geselecteerd.contains(key))
                geselecteerd.insert(key, waar(rows->value(selected)));
        }
        rows->close();
    }
    for (const auto& item : items) {
        if (!item)
            continue;
        const QString key = foldCode(item->Code);
        const auto historie = geselecteerd.constFind(key);
        apply(*item, Marks{inDoel.contains(key), historie != geselecteerd.cend(),
                           historie != geselecteerd.cend() && *historie});
    }
}

} // namespace

QString ItemStatusQuery(qint32 historyType, bool sqlServer, const QString& codeCollate)
{
    const QString table = HistoryTabel(historyType);
    const QString number = QString::number(historyType);
    if (sqlServer) {
        return QStringLiteral("SELECT [PT].[tmpLevImportItems].[ID], [PT].[tmpLevImportItems].[Code], ") +
               QStringLiteral("CASE WHEN [PT].[") + table +
               QStringLiteral("].[Code] IS NULL THEN 0 ELSE 1 END AS bFound") +
               QStringLiteral(
                   ", [ImportHistoryDetails1].[Type], [ImportHistoryDetails1].[Selected], "
                   "[ImportHistoryDetails1].[Existing], [ImportHistoryDetails1].[InLatestRun], "
                   "[ImportHistoryDetails1].[Unwanted], [ImportHistoryDetails1].[PriceDataModified], "
                   "[ImportHistoryDetails1].[Required], CASE [ImportHistoryDetails1].[Type] WHEN ") +
               number + QStringLiteral(" THEN 1 ELSE 0 END AS bPresentInHistory  ") +
               QStringLiteral(" FROM ([PT].[tmpLevImportItems] LEFT JOIN [PT].[") + table +
               QStringLiteral("] ON [PT].[tmpLevImportItems].[Code] = [PT].[") + table +
               QStringLiteral(
                   "].[Code]) LEFT JOIN (SELECT * FROM [PT].[ImportHistoryDetails] WHERE [Type]=") +
               number +
               QStringLiteral(") AS [ImportHistoryDetails1] ON [PT].[tmpLevImportItems].[Code] = "
                              "[ImportHistoryDetails1].[fkCode] ") +
               QStringLiteral(" ORDER BY [PT].[tmpLevImportItems].[ID]");
    }
    return QStringLiteral("SELECT tmpLevImportItems.ID, tmpLevImportItems.Code, IIf(") + table +
           QStringLiteral(".Code Is Null,False,True) AS bFound, ImportHistoryDetails1.Type, "
                          "ImportHistoryDetails1.Selected, ImportHistoryDetails1.Existing, "
                          "ImportHistoryDetails1.InLatestRun, ImportHistoryDetails1.Unwanted, "
                          "ImportHistoryDetails1.PriceDataModified, ImportHistoryDetails1.Required, "
                          "IIF(ImportHistoryDetails1.Type  = ") +
           number + QStringLiteral(", True, False) AS bPresentInHistory  ") +
           QStringLiteral(" FROM (tmpLevImportItems LEFT JOIN ") + table +
           QStringLiteral(" ON tmpLevImportItems.Code = ") + table + QStringLiteral(".Code") + codeCollate +
           QStringLiteral(") LEFT JOIN (SELECT * FROM ImportHistoryDetails WHERE Type=") + number +
           QStringLiteral(
               ") AS ImportHistoryDetails1 ON tmpLevImportItems.Code = ImportHistoryDetails1.fkCode") +
           codeCollate + QStringLiteral(" ") + QStringLiteral(" ORDER BY tmpLevImportItems.ID");
}

void UpdateItemsUitDoel(qint32 historyType, const ItemCollection& items)
{
    if (items.isEmpty())
        return;
    const QString path = GetDoelPathFromHistoryType(historyType);
    if (path.isEmpty())
        return;

    // One connection for filling, reading and removing the scratch table.
    clsConnectie connection;
    if (!VerbindenMetDoel(connection, path)) {
        connection.SluitenConnectie();
        return;
    }
    if (!ImportHistoryTablesExist(connection)) {
        connection.SluitenConnectie();
        return;
    }
    if (!connection.IsSQLServer) {
        // A target file is only read here: it may be in use by a transfer of another workstation, and any
        // write (a scratch table made and dropped again) would change the file under it. The marks are
        // matched in the program, as codes compare.
        try {
            markeerUitBestand(connection, historyType, items);
        } catch (const std::exception& error) {
            ShowError(QStringLiteral("UpdateItemsUitDoel"), error);
        }
        connection.SluitenConnectie();
        return;
    }
    try {
        VulTMPArtikelen(connection, items);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("ToevoegenTMPArtikelen"), error);
        LeegTMPArtikelen(connection);
        connection.SluitenConnectie();
        return;
    }

    try {
        const DbConnection db = connection.Connection();
        if (!db)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met een database."));
        QString sql = ItemStatusQuery(historyType, connection.IsSQLServer, db->codeCollate());
        if (connection.isSQLite())
            sql.replace(QLatin1String("False"), QLatin1String("0"))
                .replace(QLatin1String("True"), QLatin1String("-1"));
        const RecordsetPtr rows = db->openRecordset(sql);

        // Rows belong to items by code (as codes compare): a code held twice by the target table or the
        // details gives more rows than items, and must not move the marks of the items after it.
        const int code = rows->fieldIndex(QStringLiteral("Code"));
        const int found = rows->fieldIndex(QStringLiteral("bFound"));
        const int present = rows->fieldIndex(QStringLiteral("bPresentInHistory"));
        const int selected = rows->fieldIndex(QStringLiteral("Selected"));
        QHash<QString, Marks> byCode;
        for (; !rows->eof(); rows->moveNext()) {
            const QString rowCode = foldCode(rows->value(code).toString());
            if (byCode.contains(rowCode))
                continue;
            byCode.insert(rowCode, Marks{waar(rows->value(found)), waar(rows->value(present)),
                                         waar(rows->value(selected))});
        }
        rows->close();

        for (const auto& item : items) {
            if (!item)
                continue;
            const auto marks = byCode.constFind(foldCode(item->Code));
            if (marks != byCode.cend())
                apply(*item, *marks);
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("UpdateItemsUitDoel"), error);
    }
    LeegTMPArtikelen(connection);
    connection.SluitenConnectie();
}

} // namespace supplink
