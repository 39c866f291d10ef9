// Reads any bytes as a Jet database (.mdb) with the read that the program runs
// in its child process (libmdb and the copy of every table into the SQLite
// mirror), here in the fuzzer's own process so that its crashes and coverage
// are seen. Checks that a read gives a mirror or a message, never both, and
// leaves nothing behind when it fails.
//
// With SUPPLINK_FUZZ_JET_BASE naming a Jet file, an input is a list of byte
// changes to that file instead of a file: records of four bytes, a 24-bit
// offset (low byte first, taken modulo the file's size) and the new byte. A
// finding is then a short list of changes to a known database, which a test
// can apply to its own copy of that database.
#include "platform/jetmirror.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace supplink;

namespace {

QByteArray baseFile()
{
    const QString path = qEnvironmentVariable("SUPPLINK_FUZZ_JET_BASE");
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const QString mdb = folder.filePath(QStringLiteral("bron.mdb"));
    static const QString mirror = folder.filePath(QStringLiteral("spiegel.sqlite"));
    static const QByteArray base = baseFile();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!base.isEmpty()) {
        bytes = base;
        for (size_t i = 0; i + 4 <= size; i += 4) {
            const quint32 offset = quint32(data[i]) | quint32(data[i + 1]) << 8 | quint32(data[i + 2]) << 16;
            bytes[qsizetype(offset % quint32(base.size()))] = char(data[i + 3]);
        }
    }
    {
        QFile file(mdb);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
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
