#pragma once
// The run context of a long operation: its cancel flag, its turns of the event
// loop, and whether it is running. Every long loop of the program (table
// copiers, synchronisation engines, file importers and readers, the transfer)
// works through one, so that
//   - a Cancel button reaches the loop: cancel() only sets the flag, also when
//     it is called re-entrantly from inside a yield or a progress event, and the
//     loop tests cancelled() between rows;
//   - the window stays responsive without paying a turn of the event loop for
//     every row: yield() gives a turn at most every interval (20 ms), yieldNow()
//     always (after a progress report the user must see);
//   - the main window knows a run is live: a RunScope marks its context (and the
//     program) busy for as long as the scope lives, and RunContext::anyLive()
//     tells whether any run is, so closing the window can be refused.
//
// Usage, as an engine does it:
//
//     RunScope scope(*m_run);                 // busy while the run lasts
//     while (rows && !m_run->cancelled()) {
//         ... one row ...
//         m_run->yield();
//     }
//
// An engine shares its context with the copiers and readers it drives
// (std::shared_ptr), so one cancel stops whatever works underneath. Tests
// replace the event-loop turn with setYieldFunction (to count turns or to
// cancel from inside one).

#include <chrono>
#include <functional>
#include <memory>

namespace supplink {

class RunContext
{
public:
    using YieldFunction = std::function<void()>;

    RunContext() = default;
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // Asks the run to stop at its next test; a second call changes nothing. The flag stays set: an
    // operation made for one task that is cancelled before it starts does nothing.
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }

    // A turn of the event loop when the interval has passed since the last turn (the first call always
    // gives one); the cancel may arrive inside it.
    void yield();
    // A turn of the event loop now.
    void yieldNow();
    // What a turn does; an empty function restores the default (pending events are processed when an
    // application object exists).
    void setYieldFunction(YieldFunction function) { m_yield = std::move(function); }
    void setYieldInterval(std::chrono::milliseconds interval) { m_interval = interval; }

    // Whether a RunScope on this context lives.
    bool live() const { return m_live > 0; }
    // Whether any run of the program is live.
    static bool anyLive();

private:
    friend class RunScope;
    using Clock = std::chrono::steady_clock;

    bool m_cancelled = false;
    int m_live = 0;
    YieldFunction m_yield;
    std::chrono::milliseconds m_interval{20};
    Clock::time_point m_nextTurn{};
};

using RunContextPtr = std::shared_ptr<RunContext>;

// Marks a run live on its context and in the program for the scope's lifetime; scopes nest.
class RunScope
{
public:
    explicit RunScope(RunContext& context);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    RunContext& m_context;
};

} // namespace supplink
