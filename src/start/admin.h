#pragma once

namespace supplink {

// Whether the user may install a program update (writes into the program folder).
bool IsUserAdministrator();

} // namespace supplink
