// A file of the lower subsystem that includes a header of the higher one.
#include "logic/logic.h"

int upwards() { return logic(); }
