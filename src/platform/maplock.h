#pragma once
// A lock on a folder that is held for as long as the object lives, shared by
// every program on every machine that reaches the folder: a lock file in the
// folder (kLockBestand) held with the operating system's file lock (flock on
// POSIX, LockFileEx on Windows). The system drops the lock when the holder
// ends, also when it is killed, so a lock of a program that is gone is taken
// over without a question.
//
//     MapLock lock;
//     switch (lock.Neem(map)) {
//     case MapLock::Uitkomst::Genomen:      ... work in the folder ... (released by the destructor)
//     case MapLock::Uitkomst::Bezet:        another live holder: change nothing
//     case MapLock::Uitkomst::Mislukt:      lock.Reden() says why (in Dutch)
//     }
//
// Taking never waits. Two locks of one process on one folder exclude each
// other too. On POSIX the lock file is removed when the lock is released
// (a taker checks that the file it locked is still the one in the folder);
// on Windows it stays, empty.

#include <QString>

namespace supplink {

class MapLock
{
public:
    enum class Uitkomst
    {
        Genomen,
        Bezet,
        Mislukt
    };

    // The name of the lock file in the folder.
    static const QString kLockBestand;

    MapLock() = default;
    ~MapLock();
    MapLock(const MapLock&) = delete;
    MapLock& operator=(const MapLock&) = delete;
    MapLock(MapLock&& ander) noexcept;
    MapLock& operator=(MapLock&& ander) noexcept;

    // Takes the lock on the folder (releasing one held before).
    Uitkomst Neem(const QString& map);
    void Geef();

    bool Gehouden() const;
    // The folder of the lock last taken or tried.
    const QString& Map() const { return m_map; }
    // Why the last Neem failed.
    const QString& Reden() const { return m_reden; }

private:
    QString m_map;
    QString m_reden;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace supplink
