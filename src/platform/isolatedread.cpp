#include "platform/isolatedread.h"

#include "platform/childmemory.h"

#include <QByteArray>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace supplink {

namespace {

constexpr int kDefaultStallLimitMs = 60000;
int g_stallLimitMs = kDefaultStallLimitMs;

MirrorResult readHere(const QString& sqlitePath, const IsolatedMirrorRead& read)
{
    return read(MirrorWriter::workPathFor(sqlitePath), [] {});
}

#ifdef Q_OS_UNIX

void writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

// The child reports progress ('.') and then its result ('!', '1' or '0', the
// error text) through a pipe.
[[noreturn]] void runChild(int fd, const QString& workPath, const IsolatedMirrorRead& read)
{
    // Readers of foreign libraries write their complaints to the standard streams.
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
    }
    // A damaged file can make a reader allocate without end.
    limitChildMemory();
    const MirrorResult result = read(workPath, [fd] { writeAll(fd, "."); });
    writeAll(fd, QByteArray(result.ok ? "!1" : "!0") + result.error.toUtf8());
    ::_exit(0);
}

#endif

} // namespace

void setIsolatedReadStallLimit(int milliseconds)
{
    g_stallLimitMs = milliseconds > 0 ? milliseconds : kDefaultStallLimitMs;
}

MirrorResult mirrorIsolated(const QString& sqlitePath, const QString& damagedMessage,
                            const IsolatedMirrorRead& read)
{
#ifdef Q_OS_UNIX
    const QString workPath = MirrorWriter::workPathFor(sqlitePath);
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0)
        return readHere(sqlitePath, read);
    const pid_t child = fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return readHere(sqlitePath, read);
    }
    if (child == 0) {
        ::close(channel[0]);
        runChild(channel[1], workPath, read);
    }

    ::close(channel[1]);
    QByteArray report;
    bool reported = false;
    bool stalled = false;
    int silentMs = 0;
    for (;;) {
        pollfd watch{channel[0], POLLIN, 0};
        const int ready = ::poll(&watch, 1, 100);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            silentMs += 100;
            if (silentMs >= g_stallLimitMs) {
                stalled = true;
                ::kill(child, SIGKILL);
                break;
            }
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        silentMs = 0;
        QByteArray chunk(buffer, qsizetype(n));
        if (!reported) {
            const qsizetype mark = chunk.indexOf('!');
            if (mark < 0)
                continue;
            reported = true;
            chunk = chunk.mid(mark);
        }
        report += chunk;
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }

    MirrorResult result;
    if (stalled || !WIFEXITED(status) || !reported || report.size() < 2) {
        QFile::remove(workPath);
        QFile::remove(workPath + QStringLiteral("-journal"));
        result.error = damagedMessage;
        return result;
    }
    result.ok = report[1] == '1';
    result.error = QString::fromUtf8(report.mid(2));
    return result;
#else
    Q_UNUSED(damagedMessage);
    return readHere(sqlitePath, read);
#endif
}

} // namespace supplink
