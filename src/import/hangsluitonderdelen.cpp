#include "import/hangsluitonderdelen.h"

#include "platform/codecompare.h"

#include <QHash>

namespace supplink {

HangSluitOnderdelen HangSluitOnderdelen::Van(const QList<HangSluitRegelPtr>& regels)
{
    HangSluitOnderdelen uit;
    QHash<QString, qsizetype> deelVanCode; // folded code -> its part
    for (const HangSluitRegelPtr& regel : regels) {
        if (!regel)
            continue;
        const QString sleutel = foldCode(regel->Code());
        auto deel = deelVanCode.constFind(sleutel);
        if (deel == deelVanCode.cend()) {
            deel = deelVanCode.insert(sleutel, uit.onderdelen.size());
            uit.onderdelen.append(regel);
            uit.regels.append(QList<HangSluitRegelPtr>());
        }
        uit.regels[*deel].append(regel);
    }
    return uit;
}

} // namespace supplink
