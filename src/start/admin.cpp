#include "start/admin.h"

#include "platform/adminrights.h"

namespace supplink {

bool IsUserAdministrator() { return processIsAdministrator(); }

} // namespace supplink
