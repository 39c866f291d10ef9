#include "platform/childmemory.h"

#include <QByteArray>
#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

// An AddressSanitizer build reserves its shadow and heap regions up front: a bound on the data
// size would not see the reader's allocations there.
#if defined(__SANITIZE_ADDRESS__)
#define SUPPLINK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SUPPLINK_ADDRESS_SANITIZER 1
#endif
#endif

namespace supplink {

namespace {

constexpr qint64 kDefaultBudget = qint64(1) << 30;
qint64 g_budget = kDefaultBudget;

#ifdef Q_OS_LINUX
// The process's data size (heap and private writable mappings) in bytes, as the kernel counts it
// against RLIMIT_DATA; 0 when it cannot be read.
qint64 dataSize()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmData:")) {
            bool ok = false;
            const qint64 kilobytes = line.mid(7).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kilobytes * 1024 : 0;
        }
    }
    return 0;
}
#endif

} // namespace

bool childMemoryBounded()
{
#if defined(Q_OS_LINUX) && !defined(SUPPLINK_ADDRESS_SANITIZER)
    return true;
#else
    return false;
#endif
}

void setChildMemoryBudget(qint64 bytes)
{
    g_budget = bytes > 0 ? bytes : kDefaultBudget;
}

void limitChildMemory()
{
#if defined(Q_OS_LINUX) && !defined(SUPPLINK_ADDRESS_SANITIZER)
    const qint64 now = dataSize();
    if (now <= 0)
        return;
    rlimit limit{};
    if (getrlimit(RLIMIT_DATA, &limit) != 0)
        return;
    const rlim_t wanted = rlim_t(now + g_budget);
    if (limit.rlim_max != RLIM_INFINITY && wanted > limit.rlim_max)
        return; // already bounded more tightly
    limit.rlim_cur = wanted;
    // A failure leaves the process unbounded, as it was: the stall limit still ends a reader that
    // stops making progress.
    setrlimit(RLIMIT_DATA, &limit);
#endif
}

} // namespace supplink
