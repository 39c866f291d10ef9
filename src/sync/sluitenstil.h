#pragma once
// Closing an engine's connections at the end of a run or when the engine goes:
// the connection is closed and released, and a failure to close is not
// reported. For engines whose writes are all committed or rolled back by then
// (nothing is left to lose with a connection that fails to close, and a
// destructor cannot report).
//
//     SluitenStil(m_bron);
//     SluitenStil(m_doel);

#include <memory>

namespace supplink {

class clsConnectie;

// Closes and releases the connection; nothing when there is none.
void SluitenStil(std::unique_ptr<clsConnectie>& connectie);

} // namespace supplink
