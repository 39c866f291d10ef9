#pragma once
// The item collection of a selection reader: the engines' list readers append
// to it the parts a source database holds (or the parts a selection
// requires), and the selection step takes it back.
//
//     clsSyncLIB engine;
//     engine.SetColItemsDistinct(alle);           // the collection to fill (empty: a new one)
//     if (engine.LocksHingesCombiDistinct(pad))
//         alle = engine.ColItemsDistinct();       // taken back
//
// The items are shared (clsItem objects): the collection handed over and the
// one taken back hold the same objects, and a reader appends new ones. A
// reader that gives a new collection of its own replaces it here; the
// caller's copy is left as it was.

#include "start/items.h"

namespace supplink {

class ItemLijst
{
public:
    // The collection the next reader appends to.
    void SetColItemsDistinct(const ItemCollection& colItemsDistinct)
    {
        m_colItemsDistinct = colItemsDistinct;
    }
    // The collection as the readers left it; callers may also set it through this reference.
    ItemCollection& ColItemsDistinct() { return m_colItemsDistinct; }
    const ItemCollection& ColItemsDistinct() const { return m_colItemsDistinct; }

protected:
    ItemCollection m_colItemsDistinct;
};

} // namespace supplink
