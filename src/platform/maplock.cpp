#include "platform/maplock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace supplink {

const QString MapLock::kLockBestand = QStringLiteral(".supplink-overdracht.lock");

namespace {

QString getoond(const QString& pad)
{
    return QDir::toNativeSeparators(pad);
}

} // namespace

MapLock::~MapLock()
{
    Geef();
}

MapLock::MapLock(MapLock&& ander) noexcept
{
    *this = std::move(ander);
}

MapLock& MapLock::operator=(MapLock&& ander) noexcept
{
    if (this == &ander)
        return *this;
    Geef();
    m_map = std::move(ander.m_map);
    m_reden = std::move(ander.m_reden);
#ifdef _WIN32
    m_handle = ander.m_handle;
    ander.m_handle = nullptr;
#else
    m_fd = ander.m_fd;
    ander.m_fd = -1;
#endif
    return *this;
}

#ifdef _WIN32

bool MapLock::Gehouden() const
{
    return m_handle != nullptr;
}

MapLock::Uitkomst MapLock::Neem(const QString& map)
{
    Geef();
    m_map = map;
    m_reden.clear();
    const QString pad = QDir(map).filePath(kLockBestand);
    const std::wstring naam = QDir::toNativeSeparators(pad).toStdWString();
    HANDLE handle = CreateFileW(naam.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_reden = QStringLiteral("Het bestand '%1' kan niet worden gemaakt (fout %2).")
                      .arg(getoond(pad))
                      .arg(GetLastError());
        return Uitkomst::Mislukt;
    }
    OVERLAPPED plek = {};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &plek)) {
        const DWORD fout = GetLastError();
        CloseHandle(handle);
        if (fout == ERROR_LOCK_VIOLATION || fout == ERROR_IO_PENDING)
            return Uitkomst::Bezet;
        m_reden = QStringLiteral("Het bestand '%1' kan niet worden vergrendeld (fout %2).")
                      .arg(getoond(pad))
                      .arg(fout);
        return Uitkomst::Mislukt;
    }
    m_handle = handle;
    return Uitkomst::Genomen;
}

void MapLock::Geef()
{
    if (!m_handle)
        return;
    OVERLAPPED plek = {};
    UnlockFileEx(static_cast<HANDLE>(m_handle), 0, 1, 0, &plek);
    CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

#else

bool MapLock::Gehouden() const
{
    return m_fd >= 0;
}

MapLock::Uitkomst MapLock::Neem(const QString& map)
{
    Geef();
    m_map = map;
    m_reden.clear();
    const QString pad = QDir(map).filePath(kLockBestand);
    const QByteArray naam = QFile::encodeName(pad);
    const auto mislukt = [&](const char* wat, int fout) {
        m_reden =
            QStringLiteral("Het bestand '%1' kan niet worden %2: %3")
                .arg(getoond(pad), QString::fromLatin1(wat), QString::fromLocal8Bit(std::strerror(fout)));
        return Uitkomst::Mislukt;
    };
    // The holder removes the file when it lets go: a file locked after that is no longer the folder's lock
    // file, and the taker tries again.
    for (int poging = 0; poging < 20; ++poging) {
        int fd = ::open(naam.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        // A lock file made by another user may be readable only; a lock needs no more.
        if (fd < 0 && errno == EACCES)
            fd = ::open(naam.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return mislukt("gemaakt", errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int fout = errno;
            ::close(fd);
            if (fout == EWOULDBLOCK || fout == EAGAIN)
                return Uitkomst::Bezet;
            return mislukt("vergrendeld", fout);
        }
        struct stat geopend = {};
        struct stat inMap = {};
        if (::fstat(fd, &geopend) == 0 && ::stat(naam.constData(), &inMap) == 0 &&
            geopend.st_dev == inMap.st_dev && geopend.st_ino == inMap.st_ino) {
            m_fd = fd;
            return Uitkomst::Genomen;
        }
        ::close(fd);
    }
    return mislukt("vergrendeld", EAGAIN);
}

void MapLock::Geef()
{
    if (m_fd < 0)
        return;
    // Removed while it is held, so that nobody takes the lock on a file that is about to go.
    ::unlink(QFile::encodeName(QDir(m_map).filePath(kLockBestand)).constData());
    ::close(m_fd);
    m_fd = -1;
}

#endif

} // namespace supplink
