// Reads any bytes as a Jet database (.mdb) with the read that the program runs
// in its child process (libmdb and the copy of every table into the SQLite
// mirror), here in the fuzzer's own process so that its crashes and coverage
// are seen. Checks that a read gives a mirror or a message, never both, and
// leaves nothing behind when it fails.
#include "platform/jetmirror.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace supplink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const QString mdb = folder.filePath(QStringLiteral("bron.mdb"));
    static const QString mirror = folder.filePath(QStringLiteral("spiegel.sqlite"));
    {
        QFile file(mdb);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    // The program reads only files that start as a Jet database does.
    if (!hasJetSignature(mdb))
        return 0;
    QFile::remove(mirror);
    const MirrorResult result = mirrorJetDatabaseInProcess(mdb, mirror);
    FUZZ_CHECK(result.ok == result.error.isEmpty());
    FUZZ_CHECK(result.ok == QFile::exists(mirror));
    // No work file is left beside the mirror.
    FUZZ_CHECK(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size() == (result.ok ? 2 : 1));
    return 0;
}
