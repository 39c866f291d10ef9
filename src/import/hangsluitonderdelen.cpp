#include "import/hangsluitonderdelen.h"

#include "import/clsfiltercollectie.h"

#include <QHash>

namespace supplink {

HangSluitOnderdelen HangSluitOnderdelen::Van(const QList<HangSluitRegelPtr>& regels)
{
    HangSluitOnderdelen uit;
    clsFilterCollectie<HangSluitRegelPtr> lijst;
    // A code as written belongs to the part its first line went to: equal texts are one code under any
    // comparison of codes, so only the first line of each text needs the list.
    QHash<QString, qsizetype> deelVanCode;
    for (const HangSluitRegelPtr& regel : regels) {
        if (!regel)
            continue;
        const auto bekend = deelVanCode.constFind(regel->Code());
        if (bekend != deelVanCode.cend()) {
            uit.regels[*bekend].append(regel);
            continue;
        }
        const qsizetype voor = lijst.Lijst.size();
        lijst.ToevoegenOnderdeel(regel);
        qsizetype deel = voor; // a new part
        if (lijst.Lijst.size() == voor) {
            // Another text the list holds as the same code: find the part it counted this line to.
            for (deel = 0; deel < voor; ++deel) {
                clsFilterCollectie<HangSluitRegelPtr> proef;
                proef.Lijst = {lijst.Lijst.at(deel)};
                proef.ToevoegenOnderdeel(regel);
                if (proef.Lijst.size() == 1)
                    break;
            }
            if (deel ==
                voor) // not reached while equal codes are one code both ways; kept in step all the same
                lijst.Lijst.append(regel);
        }
        if (deel == uit.onderdelen.size()) {
            uit.onderdelen.append(regel);
            uit.regels.append(QList<HangSluitRegelPtr>());
        }
        deelVanCode.insert(regel->Code(), deel);
        uit.regels[deel].append(regel);
    }
    return uit;
}

} // namespace supplink
