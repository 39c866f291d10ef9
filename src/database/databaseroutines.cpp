#include "database/databaseroutines.h"

#include "database/clsconnectie.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "start/sharedroutines.h"

#include <QDir>

namespace supplink {

QVariant TelRecords(clsConnectie& connection, const QString& field, const QString& table,
                    const QString& condition)
{
    QString sql = QStringLiteral("SELECT Count(") + field + QStringLiteral(") AS Tot FROM ") + table;
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    try {
        const DbConnection db = connection.Connection();
        if (!db)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met een database."));
        const RecordsetPtr rows = db->openRecordset(sql);
        if (rows->eof())
            return QVariant(qint16(0));
        return rows->value(QStringLiteral("Tot"));
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return QVariant();
}

QString MaakInLijst(const ItemCollection& items)
{
    QString list;
    for (const auto& item : items) {
        if (!item || !item->Selected)
            continue;
        if (!list.isEmpty())
            list += QStringLiteral(", ");
        list += QLatin1Char('\'') + SQLQuotes(item->Code) + QLatin1Char('\'');
    }
    return list.isEmpty() ? QStringLiteral("''") : list;
}

bool VeldBestaat(const Recordset& recordset, const QString& name)
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < recordset.fieldCount(); ++i) {
        if (recordset.column(i).name.toUpper() == wanted)
            return true;
    }
    return false;
}

bool VeldBestaat(const RecordsetPtr& recordset, const QString& name)
{
    return recordset && VeldBestaat(*recordset, name);
}

bool TabelBestaat(clsConnectie& connection, const QString& table)
{
    return connection.ExecuteSilent(QStringLiteral("SELECT * FROM ") + table +
                                    QStringLiteral(" WHERE 1=0")) != nullptr;
}

bool IsSQLServerPad(const QString& path)
{
    return !path.isEmpty() && path.at(0) == QLatin1Char('*');
}

bool sqlserverconnectionok(const QString& path)
{
    try {
        const std::optional<SqlServerVerbinding> description = SqlServerVerbinding::UitPad(path);
        if (!description) {
            ToonFout(
                QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens."));
            return false;
        }
        clsConnectie connection;
        if (connection.MakenConnectie(description->server, description->gebruiker, description->wachtwoord,
                                      description->database, !description->NTBeveiliging())) {
            connection.SluitenConnectie();
            return true;
        }
        ToonFout(QStringLiteral("Verbinden met sqlserver is mislukt!"));
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("sqlserverconnectionok"), error);
    }
    return false;
}

QString SQLServerOmschrijving(const QString& path)
{
    if (!IsSQLServerPad(path))
        return path;
    const std::optional<SqlServerVerbinding> description = SqlServerVerbinding::UitPad(path);
    if (!description) // not the five fields: its fields cannot be told apart, so only the first is shown
        return QStringLiteral("* server=") + path.mid(1).section(SqlServerVerbinding::Scheiding, 0, 0);
    return QStringLiteral("* server=") + description->server + QStringLiteral("  database=") +
           description->database + QStringLiteral("  gebruiker=") + description->gebruiker;
}

bool IsSQLiteBestand(const QString& path)
{
    try {
        const std::shared_ptr<SqliteBackend> db = SqliteBackend::open(path);
        const bool sound = db->check() == QLatin1String("ok");
        db->close();
        return sound;
    } catch (...) {
        return false;
    }
}

QString SQLiteBestandWeigering(const QString& path)
{
    const QString getoond = QDir::toNativeSeparators(path);
    switch (inspectSqliteFile(path)) {
    case SqliteFileState::InUse:
        return QStringLiteral("Het bestand '%1' is in gebruik door een ander programma. Sluit dat programma en "
                              "probeer het opnieuw.")
            .arg(getoond);
    case SqliteFileState::Damaged:
        return QStringLiteral("Het bestand '%1' is beschadigd en kan niet worden gelezen. Kies een onbeschadigd "
                              "exemplaar, bijvoorbeeld uit een backup.")
            .arg(getoond);
    case SqliteFileState::NotSqlite:
    case SqliteFileState::Sound:
        break;
    }
    return QString();
}

std::optional<QList<PickOneEntry>> KeuzeLijst(const RecordsetPtr& recordset, const QString& textField,
                                              const QString& keyField, bool metGeen)
{
    try {
        if (!recordset)
            throw AppError(ErrorNumber::General, QStringLiteral("Er is geen lijst om te tonen."));
        QList<PickOneEntry> entries;
        if (metGeen)
            entries.append({QStringLiteral("<Geen>"), -1});
        try {
            recordset->moveFirst();
            for (; !recordset->eof(); recordset->moveNext()) {
                try {
                    entries.append({NzString(recordset->value(textField)), NzLong(recordset->value(keyField))});
                } catch (const std::exception&) {
                    // An unreadable row is left out: the user chooses from the rows that could be read.
                }
            }
        } catch (const std::exception&) {
            // The rows read so far are offered: a list cut short still lets the user choose or cancel.
        }
        return entries;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return std::nullopt;
}

} // namespace supplink
