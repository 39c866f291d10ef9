#pragma once
// The selected-codes table: the codes of the parent rows that this run added
// or updated, written into the source work copy so that the set-based child
// statements can join it.

#include "start/items.h"

namespace supplink {

class clsConnectie;
class Recordset;

// Rebuilds tmpSelected (one column CodeSelected) in the source: one row for every item whose new or
// existing mark is set, in collection order. Throws AppError when the table cannot be made or written
// (the rows of a failed filling are not kept).
void VulTmpSelected(clsConnectie& bron, const ItemCollection& items);

// One selected item for every distinct code in the first column of the rows, in their order: the selection
// of a run that copies every row because nothing was selected. The copier marks only items it was given,
// and the child rows follow the marks.
ItemCollection SelectieVanAlleCodes(Recordset& rijen);

} // namespace supplink
