#pragma once

namespace supplink {

// True when the running process may write into the program folder as an
// administrator: on Windows a member of the built-in Administrators group,
// elsewhere the effective user root or a member of the group sudo, wheel or
// admin. False in every other case, including every failure.
bool processIsAdministrator();

} // namespace supplink
