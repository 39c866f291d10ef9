#include "sync/sluitenstil.h"

#include "database/clsconnectie.h"

namespace supplink {

void SluitenStil(std::unique_ptr<clsConnectie>& connectie)
{
    if (!connectie)
        return;
    try {
        connectie->SluitenConnectie();
    } catch (...) {
        // The caller's writes are committed or rolled back already: a connection that fails to close has
        // nothing left to lose, and there is no one to report to.
    }
    connectie.reset();
}

} // namespace supplink
