#include "platform/runcontext.h"

#include <QCoreApplication>

namespace supplink {
namespace {
// Live runs of the program; everything runs on the user-interface thread.
int g_liveRuns = 0;
} // namespace

void RunContext::yield()
{
    const Clock::time_point now = Clock::now();
    if (now < m_nextTurn)
        return;
    yieldNow();
    m_nextTurn = Clock::now() + m_interval;
}

void RunContext::yieldNow()
{
    if (m_yield)
        m_yield();
    else if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool RunContext::anyLive() { return g_liveRuns > 0; }

RunScope::RunScope(RunContext& context) : m_context(context)
{
    ++m_context.m_live;
    ++g_liveRuns;
}

RunScope::~RunScope()
{
    --m_context.m_live;
    --g_liveRuns;
}

} // namespace supplink
