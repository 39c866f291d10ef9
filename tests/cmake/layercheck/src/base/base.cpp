// The lower subsystem's logic (layer-check project; never built).
#include "base/base.h"

int base() { return 1; }
