#include "sync/verbindingsluiten.h"

#include "database/clsconnectie.h"

namespace supplink {

void SluitVerbinding(std::unique_ptr<clsConnectie>& verbinding) noexcept
{
    if (!verbinding)
        return;
    try {
        verbinding->SluitenConnectie();
    } catch (...) {
        // See the header: nothing is left to lose, and no one to tell.
    }
    verbinding.reset();
}

} // namespace supplink
