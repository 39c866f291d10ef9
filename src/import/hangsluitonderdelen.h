#pragma once
// The distinct parts of a hardware file (combinations, choices or hardware
// tables) with the lines of each: a part is the first line of each code in
// file order, and its lines are every line with the same code (codes compare
// as platform/codecompare.h says, as clsFilterCollectie compares them), in
// file order. The hardware writers walk the parts and write each with its
// lines:
//
//     const HangSluitOnderdelen onderdelen = HangSluitOnderdelen::Van(engine.HangSluitRegels());
//     for (qsizetype i = 0; i < onderdelen.onderdelen.size(); ++i)
//         schrijf(onderdelen.onderdelen.at(i), onderdelen.regels.at(i));
//
// The parts are found through a hash of the folded codes: a file of many
// parts costs one lookup per line.

#include "import/clshangsluitregel.h"

#include <QList>

namespace supplink {

struct HangSluitOnderdelen
{
    QList<HangSluitRegelPtr> onderdelen;    // the first line of each part, in file order
    QList<QList<HangSluitRegelPtr>> regels; // per part its lines, in file order

    static HangSluitOnderdelen Van(const QList<HangSluitRegelPtr>& regels);
};

} // namespace supplink
