// A window of the lower subsystem that includes a header of the higher one,
// whose library its own links (an arrow pointing up that closes no cycle).
#include "logic/logic.h"

int windowUpwards() { return logic(); }
