#pragma once
// Long loops (engines, copiers, readers) call YieldToUi() after each progress
// report, so that the window repaints and a Cancel button can be pressed. The
// cancel then arrives re-entrantly, inside this call.

#include <functional>

namespace supplink {

void YieldToUi();
// Replaces what YieldToUi does (tests count or inject a cancel); an empty
// function restores the default, which processes pending events.
void setYieldHook(std::function<void()> hook);

} // namespace supplink
