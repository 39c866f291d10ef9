#pragma once
// Releasing the connections an engine opened, when the engine is released:
//
//     ~clsSyncX() { SluitVerbinding(m_bron); SluitVerbinding(m_doel); }
//
// Every write of a run has been committed or rolled back by its own step
// before, so a connection that fails to close loses nothing, and a destructor
// has no one to report to.

#include <memory>

namespace supplink {

class clsConnectie;

// Closes the connection (errors ignored) and drops it; nothing happens without one.
void SluitVerbinding(std::unique_ptr<clsConnectie>& verbinding) noexcept;

} // namespace supplink
