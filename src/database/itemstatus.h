#pragma once
// The item-status query: before a selection step shows its candidates, every
// candidate is marked against the target database of the step's history type
// (history.h): whether its code is already in the target table, and what the
// import history of that target says about it.
//
// Marks per item, from its row of the query:
//   Existing becomes "found in the target table".
//   Without a details row of this type: InLatestRun, PriceDataModfied and
//   Unwanted become False; Selected stays as it is.
//   With one, the first that applies: a required item is ticked; a part that
//   was imported before but has left the target is unwanted and unticked;
//   otherwise the tick saved by the last run comes back.
// Codes are matched as codes compare (platform/codecompare.h): "abc" is the
// part "ABC" that the target holds and that the history saved.
//
// A target file is only read: its table's codes and the details of the type
// are matched in the program, so that no byte of the file changes (another
// workstation's transfer may be replacing it meanwhile). The product table on
// SQL Server is marked with the query below, over its scratch table.

#include "start/items.h"

#include <QString>

namespace supplink {

// The query for the target of a history type: the scratch table's rows with bFound,
// the details row of that type, and bPresentInHistory, in scratch-table order. codeCollate
// (DatabaseBackend::codeCollate) follows the two comparisons of codes, so that a file target matches codes
// as the history saves them (without regard to case); SQL Server compares by its own collation.
QString ItemStatusQuery(qint32 historyType, bool sqlServer, const QString& codeCollate = QString());

// Marks the items (changed in place). Items without a target, or in a target without history tables,
// stay as they are. A target file is never written.
void UpdateItemsUitDoel(qint32 historyType, const ItemCollection& items);

} // namespace supplink
