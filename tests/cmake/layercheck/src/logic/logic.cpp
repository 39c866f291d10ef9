// The higher subsystem's logic, built on the lower one (layer-check project).
#include "logic/logic.h"

#include "base/base.h"

int logic() { return base() + 1; }
