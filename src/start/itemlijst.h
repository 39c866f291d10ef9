#pragma once
// The item collection of a selection reader. Every engine and file import
// that lists what a source holds (or what a selection requires) appends its
// items to this collection, and the selection step takes it back:
//
//     clsSyncLIB lezer;
//     lezer.SetColItemsDistinct(alle);            // appended to; none: the reader makes a new one
//     if (lezer.LocksHingesCombiDistinct(pad))
//         alle = lezer.ColItemsDistinct();        // the same collection, or the reader's new one
//
// The collection is shared, not copied: a step that hands in its own list sees
// the reader's items in it. A reader that answers with a collection of its own
// (a required-items reader) replaces it here; the caller's stays as it was.

#include "start/items.h"

#include <memory>

namespace supplink {

class ItemLijst
{
public:
    // The collection the next reader appends to (none: the first reader that lists makes a new one).
    void SetColItemsDistinct(std::shared_ptr<ItemCollection> colItemsDistinct)
    {
        m_colItemsDistinct = std::move(colItemsDistinct);
    }
    // The collection as the readers left it; none when nothing was set or listed.
    const std::shared_ptr<ItemCollection>& ColItemsDistinct() const { return m_colItemsDistinct; }

protected:
    // The collection to append to, made when there is none.
    ItemCollection& colItemsDistinct()
    {
        if (!m_colItemsDistinct)
            m_colItemsDistinct = std::make_shared<ItemCollection>();
        return *m_colItemsDistinct;
    }

    std::shared_ptr<ItemCollection> m_colItemsDistinct;
};

} // namespace supplink
