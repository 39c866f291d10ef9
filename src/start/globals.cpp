#include "start/globals.h"

namespace supplink {

ProgramState& globals()
{
    static ProgramState state;
    return state;
}

} // namespace supplink
