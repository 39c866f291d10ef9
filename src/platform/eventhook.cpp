#include "platform/eventhook.h"

#include <QCoreApplication>

namespace supplink {
namespace {
std::function<void()>& hook()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void YieldToUi()
{
    if (hook()) {
        hook()();
    } else if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

void setYieldHook(std::function<void()> h) { hook() = std::move(h); }

} // namespace supplink
