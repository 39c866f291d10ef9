#pragma once
// The import history of the target databases. Every target remembers its
// import runs (table ImportHistory: one row per run, with a description and
// the source files) and, per history type, the parts it was offered and what
// became of them (table ImportHistoryDetails: one row per type and code,
// updated in place by later runs). A scratch table, tmpLevImportItems,
// carries the codes of a selection step's candidates into the target for the
// item-status query (itemstatus.h).
//
// History types and where they live:
//     0 Article (pt)            4 GrooveShape (wkv)        8 TreshHoldCombi (lib)
//     1 ArtGroup (pt)           5 PaneGrooveTable (lib)    9 TreshHoldCombiExt (lib)
//     2 LocksHingesTable (opt)  6 EdgeGroove (lib)        10 CustomLHCombi (opt)
//     3 LocksHingesCombi (opt)  7 OuterGrooveTable (lib)  11 LocksHingesCombi (lib)
//                                                         12 CustomLHCombi (lib)
// The transfer saves types 0 to 10 from the candidate collections of the
// selection steps; 11 and 12 can only be queried.
//
// A target path is a database file, or "*" followed by an SQL Server
// connection description (doelbestand.h); on SQL Server the tables are
// [PT].[ImportHistory], [PT].[ImportHistoryDetails] and [PT].[tmpLevImportItems]
// and the program creates none of them. In Jet and SQLite files the history
// tables are created on the first recorded run. Every routine opens its own
// connection and closes it before it returns.

#include "start/items.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

namespace supplink {

class clsConnectie;

// The table whose Code column names the parts of a history type; empty for an unknown type.
QString HistoryTabel(qint32 historyType);
// The target kind (0 pt, 1 opt, 2 lib, 3 wkv) that holds a history type; -1 for an unknown type.
qint32 HistoryDoelSoort(qint32 historyType);
// The history types whose details a run into a target of this kind records, in order.
QList<qint32> HistoryTypesVanDoel(qint32 targetKind);
// The program-wide candidate collection the transfer saves under a history type; nullptr for 11, 12 and
// unknown types.
const ItemCollection* HistoryItems(qint32 historyType);

// Opens the database a target path names (an SQL Server description with exactly five fields, or a file
// opened with an empty password). False when the description lacks fields or the connection failed; the
// connection object reports its own failures.
bool VerbindenMetDoel(clsConnectie& connection, const QString& path);

// The Path of the first target in use of the kind that holds the history type; "" when there is none.
QString GetDoelPathFromHistoryType(qint32 historyType);

// Both history tables can be read in that database (never shows a message).
bool ImportHistoryTablesExist(const QString& path);
// The history tables exist, or were created now (Jet and SQLite files; never on SQL Server).
bool CreateImportHistoryTables(const QString& path);

// Records one run: the run row, then the details of every history type of the target kind, each from its
// candidate collection. The run info lists the given source files (those the user ticked).
void SaveImportHistoryForDoel(const QString& path, qint32 targetKind, const QStringList& selectedSourcePaths);
// Adds one ImportHistory row.
void SaveImportHistory(const QString& path, const QStringList& selectedSourcePaths);
// Adds or updates one details row per item (found again by type and code).
void SaveImportHistoryDetails(const QString& path, qint32 historyType, const ItemCollection& items);

// "Leverancier <name> op  <d MMMM yyyy>  om <hh:mm>." for the current supplier and the present moment.
QString GetHistoryDescription();
// What "the present moment" of a recorded run is (none: the computer's clock); a test that compares the
// files of two runs fixes it.
void ZetHistoryKlok(std::function<QDateTime()> klok);
QString MaakHistoryDescription(const QString& leverancier, const QDateTime& moment,
                               const QLocale& locale = QLocale());
// "Bronbestanden:" and, per source file, CR LF, a tab and its path.
QString GetHistoryInfo(const QStringList& selectedSourcePaths);

// The runs of that database, newest first, each "<description>|<info>"; empty without history tables.
QStringList OpvragenHistory(const QString& path);
QStringList LoadImportHistory(const QString& path);
// Deletes the runs whose description is the given text, or whose list entry ("<description>|<info>") it
// is. True when at least one run was deleted; false when none matched or the delete failed (reported).
bool VerwijderenImportHistory(const QString& path, const QString& description);

// Fills the scratch table in the target of the history type with the items' positions (from 1) and codes.
void ToevoegenTMPArtikelen(qint32 historyType, const ItemCollection& items);
// Drops the scratch table of a file target, empties it on SQL Server; reports nothing.
void VerwijderenTMPArtikelen(qint32 historyType);

// The same three on a connection the caller holds open. The item-status query fills, reads and removes the
// scratch table on one connection: a Jet file read into a private mirror keeps a scratch table only for as
// long as its connection is open.
bool ImportHistoryTablesExist(clsConnectie& connection);
// Throws AppError when the table cannot be made or filled.
void VulTMPArtikelen(clsConnectie& connection, const ItemCollection& items);
// Never reports.
void LeegTMPArtikelen(clsConnectie& connection);

} // namespace supplink
