#include "database/history.h"

#include "database/clsconnectie.h"
#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/sharedroutines.h"

namespace supplink {

namespace {

const QString kJetHistory =
    QStringLiteral("CREATE TABLE ImportHistory ( ID COUNTER, Description TEXT(255), Info MEMO)");
const QString kJetHistoryKey = QStringLiteral("CREATE UNIQUE INDEX ID ON ImportHistory (ID) WITH PRIMARY");
const QString kJetDetails = QStringLiteral(
    "CREATE TABLE ImportHistoryDetails ( ID COUNTER, Type LONG NOT NULL, fkCode TEXT(255) NOT NULL, Selected "
    "BIT, Existing BIT, InLatestRun BIT, Unwanted BIT, PriceDataModified BIT, Required BIT)");
const QString kJetDetailsKey =
    QStringLiteral("CREATE UNIQUE INDEX ID ON ImportHistoryDetails (ID) WITH PRIMARY");

// The same columns in SQLite, typed as the design product's SQLite databases type them.
const QString kSqliteHistory = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS ImportHistory (ID INTEGER PRIMARY KEY AUTOINCREMENT, Description TEXT(255), "
    "Info TEXT)");
const QString kSqliteDetails = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS ImportHistoryDetails (ID INTEGER PRIMARY KEY AUTOINCREMENT, Type INTEGER NOT "
    "NULL, fkCode TEXT(255) NOT NULL, Selected BIT, Existing BIT, InLatestRun BIT, Unwanted BIT, "
    "PriceDataModified BIT, Required BIT)");

const QString kScratchTable =
    QStringLiteral("CREATE TABLE tmpLevImportItems ( ID LONG NOT NULL, Code TEXT(50) )");
const QString kJetScratchIndex = QStringLiteral("CREATE INDEX Code ON tmpLevImportItems(Code)");
// SQLite index names belong to the whole database, where "Code" may already name another index.
const QString kSqliteScratchIndex =
    QStringLiteral("CREATE INDEX idx_tmpLevImportItems_Code ON tmpLevImportItems(Code)");

DbConnection openDb(const clsConnectie& connection)
{
    DbConnection db = connection.Connection();
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met een database."));
    return db;
}

// A code as the details and the scratch table store it: never a database null.
QString codeOf(const clsItem& item)
{
    return item.Code.isNull() ? QStringLiteral("") : item.Code;
}

} // namespace

QString HistoryTabel(qint32 historyType)
{
    switch (historyType) {
    case 0:
        return QStringLiteral("Article");
    case 1:
        return QStringLiteral("ArtGroup");
    case 2:
        return QStringLiteral("LocksHingesTable");
    case 3:
    case 11:
        return QStringLiteral("LocksHingesCombi");
    case 4:
        return QStringLiteral("GrooveShape");
    case 5:
        return QStringLiteral("PaneGrooveTable");
    case 6:
        return QStringLiteral("EdgeGroove");
    case 7:
        return QStringLiteral("OuterGrooveTable");
    case 8:
        return QStringLiteral("TreshHoldCombi");
    case 9:
        return QStringLiteral("TreshHoldCombiExt");
    case 10:
    case 12:
        return QStringLiteral("CustomLHCombi");
    default:
        return QString();
    }
}

qint32 HistoryDoelSoort(qint32 historyType)
{
    switch (historyType) {
    case 0:
    case 1:
        return 0;
    case 2:
    case 3:
    case 10:
        return 1;
    case 4:
        return 3;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 11:
    case 12:
        return 2;
    default:
        return -1;
    }
}

QList<qint32> HistoryTypesVanDoel(qint32 targetKind)
{
    switch (targetKind) {
    case 0:
        return {0, 1};
    case 1:
        return {2, 3, 10};
    case 2:
        return {5, 6, 7, 8, 9};
    case 3:
        return {4};
    default:
        return {};
    }
}

const ItemCollection* HistoryItems(qint32 historyType)
{
    ProgramState& state = globals();
    switch (historyType) {
    case 0:
        return &state.gColArtikelen;
    case 1:
        return &state.gColArtikelGroepen;
    case 2:
        return &state.gColHSTabellen;
    case 3:
        return &state.gColHSCombies;
    case 4:
        return &state.gColSponningfiguren;
    case 5:
        return &state.gColVaksponningen;
    case 6:
        return &state.gColRandsponningen;
    case 7:
        return &state.gColElementsponningen;
    case 8:
        return &state.gColLaagrelief;
    case 9:
        return &state.gColNeuten;
    case 10:
        return &state.gColHSKeuzes;
    default:
        return nullptr;
    }
}

bool VerbindenMetDoel(clsConnectie& connection, const QString& path)
{
    if (IsSQLServerPad(path)) {
        const std::optional<SqlServerVerbinding> description = SqlServerVerbinding::UitPad(path);
        if (!description)
            return false;
        return connection.MakenConnectie(description->server, description->gebruiker, description->wachtwoord,
                                         description->database, !description->NTBeveiliging());
    }
    return connection.MakenJetorSQLiteConnectie(path, QString());
}

QString GetDoelPathFromHistoryType(qint32 historyType)
{
    try {
        const qint32 kind = HistoryDoelSoort(historyType);
        if (kind < 0)
            return QString();
        for (const auto& target : globals().gDoelBestanden) {
            if (target && target->Geselecteerd && target->Soort == kind)
                return target->Path();
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("GetDoelPathFromHistoryType"), error);
    }
    return QString();
}

bool ImportHistoryTablesExist(clsConnectie& connection)
{
    try {
        const DbConnection db = openDb(connection);
        if (connection.IsSQLServer) {
            db->openRecordset(QStringLiteral("SELECT [ID] FROM [PT].[ImportHistory] WHERE [ID] = -1"));
            db->openRecordset(QStringLiteral("SELECT [ID] FROM [PT].[ImportHistoryDetails] WHERE [ID] = -1"));
        } else {
            db->openRecordset(QStringLiteral("SELECT ID FROM ImportHistory WHERE ID = -1"));
            db->openRecordset(QStringLiteral("SELECT ID FROM ImportHistoryDetails WHERE ID = -1"));
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool ImportHistoryTablesExist(const QString& path)
{
    clsConnectie connection;
    bool exists = false;
    try {
        exists = VerbindenMetDoel(connection, path) && ImportHistoryTablesExist(connection);
    } catch (...) {
        exists = false;
    }
    connection.SluitenConnectie();
    return exists;
}

namespace {

// The two history tables made on an open connection where they are missing (never on SQL Server).
bool maakHistoryTabellen(clsConnectie& connection)
{
    if (ImportHistoryTablesExist(connection))
        return true;
    if (connection.IsSQLServer)
        return false;
    try {
        const DbConnection db = openDb(connection);
        // Only the missing table is made: a file may hold one of the two already.
        const bool haveHistory = TabelBestaat(connection, QStringLiteral("ImportHistory"));
        const bool haveDetails = TabelBestaat(connection, QStringLiteral("ImportHistoryDetails"));
        if (connection.isSQLite()) {
            Transaction transaction(db);
            if (!haveHistory)
                db->execute(kSqliteHistory);
            if (!haveDetails)
                db->execute(kSqliteDetails);
            transaction.commit();
        } else {
            if (!haveHistory) {
                db->execute(kJetHistory);
                db->execute(kJetHistoryKey);
            }
            if (!haveDetails) {
                db->execute(kJetDetails);
                db->execute(kJetDetailsKey);
            }
        }
        return true;
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("CreateImportHistoryTablesError"), error);
        return false;
    }
}

// The run's history row, on an open connection.
void schrijfHistory(clsConnectie& connection, const QStringList& selectedSourcePaths)
{
    try {
        const DbConnection db = openDb(connection);
        const RecordsetPtr rows = db->openRecordset(
            connection.IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[ImportHistory] WHERE [ID] = -1")
                                   : QStringLiteral("SELECT * FROM ImportHistory WHERE ID = -1"));
        rows->addNew();
        rows->setValue(QStringLiteral("Description"), GetHistoryDescription());
        rows->setValue(QStringLiteral("Info"), GetHistoryInfo(selectedSourcePaths));
        rows->update();
        rows->close();
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SaveImportHistory"), error);
    }
}

// The details of one history type, on an open connection.
void schrijfHistoryDetails(clsConnectie& connection, qint32 historyType, const ItemCollection& items)
{
    if (items.isEmpty())
        return;
    try {
        const DbConnection db = openDb(connection);
        const QString type = QString::number(historyType);
        const RecordsetPtr rows = db->openRecordset(
            connection.IsSQLServer
                ? QStringLiteral("SELECT * FROM [PT].[ImportHistoryDetails] WHERE [Type]=") + type
                : QStringLiteral("SELECT * FROM ImportHistoryDetails WHERE Type=") + type);
        const int existing = rows->fieldIndex(QStringLiteral("Existing"));
        const int inLatestRun = rows->fieldIndex(QStringLiteral("InLatestRun"));
        const int priceModified = rows->fieldIndex(QStringLiteral("PriceDataModified"));
        const int required = rows->fieldIndex(QStringLiteral("Required"));
        const int selected = rows->fieldIndex(QStringLiteral("Selected"));
        const int unwanted = rows->fieldIndex(QStringLiteral("Unwanted"));

        // One run's details go in whole or not at all.
        Transaction transaction(db);
        for (const auto& item : items) {
            if (!item)
                continue;
            const QString code = codeOf(*item);
            if (!rows->findFirst(QStringLiteral("fkCode = '") + SQLQuotes(code) + QLatin1Char('\''))) {
                rows->addNew();
                rows->setValue(QStringLiteral("Type"), historyType);
                rows->setValue(QStringLiteral("fkCode"), code);
            }
            rows->setValue(existing, item->Existing);
            rows->setValue(inLatestRun, item->InLatestRun);
            rows->setValue(priceModified, item->PriceDataModfied);
            rows->setValue(required, item->Required);
            rows->setValue(selected, item->Selected);
            rows->setValue(unwanted, item->Unwanted());
            rows->update();
        }
        transaction.commit();
        rows->close();
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SaveImportHistoryDetails"), error);
    }
}

} // namespace

bool CreateImportHistoryTables(const QString& path)
{
    clsConnectie connection;
    bool created = false;
    try {
        created = VerbindenMetDoel(connection, path) && maakHistoryTabellen(connection);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("CreateImportHistoryTablesError"), error);
    }
    connection.SluitenConnectie();
    return created;
}

void SaveImportHistoryForDoel(const QString& path, qint32 targetKind, const QStringList& selectedSourcePaths)
{
    // One connection for the tables, the run's row and every type's details: opening a file checks it whole.
    clsConnectie connection;
    try {
        if (VerbindenMetDoel(connection, path) && maakHistoryTabellen(connection)) {
            schrijfHistory(connection, selectedSourcePaths);
            for (const qint32 type : HistoryTypesVanDoel(targetKind)) {
                if (const ItemCollection* items = HistoryItems(type))
                    schrijfHistoryDetails(connection, type, *items);
            }
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SaveImportHistory"), error);
    }
    connection.SluitenConnectie();
}

void SaveImportHistory(const QString& path, const QStringList& selectedSourcePaths)
{
    clsConnectie connection;
    try {
        if (VerbindenMetDoel(connection, path))
            schrijfHistory(connection, selectedSourcePaths);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SaveImportHistory"), error);
    }
    connection.SluitenConnectie();
}

void SaveImportHistoryDetails(const QString& path, qint32 historyType, const ItemCollection& items)
{
    if (items.isEmpty())
        return;
    clsConnectie connection;
    try {
        if (VerbindenMetDoel(connection, path))
            schrijfHistoryDetails(connection, historyType, items);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SaveImportHistoryDetails"), error);
    }
    connection.SluitenConnectie();
}

QString MaakHistoryDescription(const QString& leverancier, const QDateTime& moment, const QLocale& locale)
{
    return QStringLiteral("Leverancier ") + leverancier + QStringLiteral(" op  ") +
           locale.toString(moment.date(), QStringLiteral("d MMMM yyyy ")) + QStringLiteral(" om ") +
           moment.time().toString(QStringLiteral("HH:mm")) + QLatin1Char('.');
}

namespace {
std::function<QDateTime()>& historyKlok()
{
    static std::function<QDateTime()> klok;
    return klok;
}
} // namespace

void ZetHistoryKlok(std::function<QDateTime()> klok)
{
    historyKlok() = std::move(klok);
}

QString GetHistoryDescription()
{
    const auto& supplier = globals().gLeverancier;
    return MaakHistoryDescription(supplier ? supplier->Omschrijving : QString(),
                                  historyKlok() ? historyKlok()() : QDateTime::currentDateTime());
}

QString GetHistoryInfo(const QStringList& selectedSourcePaths)
{
    QString info = QStringLiteral("Bronbestanden:");
    for (const QString& source : selectedSourcePaths)
        info += QStringLiteral("\r\n\t") + source;
    return info;
}

QStringList OpvragenHistory(const QString& path)
{
    try {
        if (ImportHistoryTablesExist(path))
            return LoadImportHistory(path);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("OpvragenHistory"), error);
    }
    return {};
}

QStringList LoadImportHistory(const QString& path)
{
    QStringList runs;
    clsConnectie connection;
    try {
        if (VerbindenMetDoel(connection, path)) {
            const DbConnection db = openDb(connection);
            const RecordsetPtr rows = db->openRecordset(
                connection.IsSQLServer
                    ? QStringLiteral("SELECT * FROM [PT].[ImportHistory] ORDER BY [ID] DESC")
                    : QStringLiteral("SELECT * FROM ImportHistory ORDER BY ID DESC"));
            const int description = rows->fieldIndex(QStringLiteral("Description"));
            const int info = rows->fieldIndex(QStringLiteral("Info"));
            for (; !rows->eof(); rows->moveNext()) {
                const QVariant descriptionValue = rows->value(description);
                const QVariant infoValue = rows->value(info);
                if (descriptionValue.isNull() || infoValue.isNull())
                    continue;
                runs.append(descriptionValue.toString() + QLatin1Char('|') + infoValue.toString());
            }
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("LoadImportHistory"), error);
    }
    connection.SluitenConnectie();
    return runs;
}

bool VerwijderenImportHistory(const QString& path, const QString& description)
{
    clsConnectie connection;
    qsizetype deleted = 0;
    try {
        if (VerbindenMetDoel(connection, path)) {
            const DbConnection db = openDb(connection);
            // Rows are compared here, not in SQL: the text is data whatever characters it holds, and the
            // step's list hands over the whole entry, info included.
            const RecordsetPtr rows = db->openRecordset(
                connection.IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[ImportHistory]")
                                       : QStringLiteral("SELECT * FROM ImportHistory"));
            const int descriptionField = rows->fieldIndex(QStringLiteral("Description"));
            const int infoField = rows->fieldIndex(QStringLiteral("Info"));
            Transaction transaction(db);
            while (!rows->eof()) {
                const QVariant runDescription = rows->value(descriptionField);
                const QVariant info = rows->value(infoField);
                const QString text = runDescription.toString();
                const bool matches =
                    !runDescription.isNull() &&
                    (text == description ||
                     (!info.isNull() && text + QLatin1Char('|') + info.toString() == description));
                if (matches) {
                    rows->deleteCurrent();
                    ++deleted;
                    if (rows->eof()) // that was the last row left
                        break;
                }
                rows->moveNext();
            }
            transaction.commit();
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("VerwijderenImportHistory"), error);
        deleted = 0;
    }
    connection.SluitenConnectie();
    return deleted > 0;
}

void VulTMPArtikelen(clsConnectie& connection, const ItemCollection& items)
{
    const DbConnection db = openDb(connection);
    if (!connection.IsSQLServer) {
        // A file gets the table anew; on SQL Server it is there and empty between uses.
        connection.ExecuteSilent(QStringLiteral("DROP TABLE tmpLevImportItems"));
        db->execute(kScratchTable);
        db->execute(connection.isSQLite() ? kSqliteScratchIndex : kJetScratchIndex);
    }
    const RecordsetPtr rows =
        db->openRecordset(connection.IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[tmpLevImportItems]")
                                                 : QStringLiteral("SELECT * FROM tmpLevImportItems"));
    const int id = rows->fieldIndex(QStringLiteral("ID"));
    const int code = rows->fieldIndex(QStringLiteral("Code"));
    Transaction transaction(db);
    qint32 position = 0;
    for (const auto& item : items) {
        ++position;
        rows->addNew();
        rows->setValue(id, position);
        rows->setValue(code, item ? codeOf(*item) : QStringLiteral(""));
        rows->update();
    }
    transaction.commit();
    rows->close();
}

void LeegTMPArtikelen(clsConnectie& connection)
{
    try {
        if (connection.IsSQLServer)
            connection.ExecuteSilent(QStringLiteral("DELETE FROM [PT].[tmpLevImportItems]"));
        else
            connection.ExecuteSilent(QStringLiteral("DROP TABLE tmpLevImportItems"));
    } catch (...) {
        // A scratch table that cannot be dropped is dropped or emptied again before its next use.
    }
}

void ToevoegenTMPArtikelen(qint32 historyType, const ItemCollection& items)
{
    const QString path = GetDoelPathFromHistoryType(historyType);
    if (path.isEmpty())
        return;
    clsConnectie connection;
    try {
        // On SQL Server the scratch table is used only where the history tables are.
        const bool connected = IsSQLServerPad(path)
                                   ? ImportHistoryTablesExist(path) && VerbindenMetDoel(connection, path)
                                   : connection.MakenJetorSQLiteConnectie(path, QString());
        if (connected)
            VulTMPArtikelen(connection, items);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("ToevoegenTMPArtikelen"), error);
    }
    connection.SluitenConnectie();
}

void VerwijderenTMPArtikelen(qint32 historyType)
{
    clsConnectie connection;
    try {
        const QString path = GetDoelPathFromHistoryType(historyType);
        const bool connected = IsSQLServerPad(path)
                                   ? SqlServerVerbinding::UitPad(path) && VerbindenMetDoel(connection, path)
                                   : !path.isEmpty() && connection.MakenJetorSQLiteConnectie(path, QString());
        if (connected)
            LeegTMPArtikelen(connection);
    } catch (...) {
        // As above: the scratch table holds no user data and is renewed before each use.
    }
    connection.SluitenConnectie();
}

} // namespace supplink
