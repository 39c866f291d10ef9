// Reads any bytes as a template of a supplier's source descriptions ("File1"
// in the supplier's folder: a file a user may copy from elsewhere or another
// program damage), through the loading of the supplier's templates and the
// reading of one template. Checks that a template read and saved again reads
// back to the same description: saving what was read is stable.
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace supplink;

namespace {

const QString kLeverancier = QStringLiteral("FUZZ");

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The application-data folder (where the supplier folders are) lies in the temporary folder.
    qputenv("XDG_DATA_HOME", folder().path().toLocal8Bit());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString map = BronDefinitieMap(kLeverancier);
    static const bool made = !map.isEmpty() && QDir().mkpath(map);
    FUZZ_CHECK(made);
    const QString sjabloon = QDir(map).filePath(QStringLiteral("File1"));
    {
        QFile out(sjabloon);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    for (const auto& bron : LaadBronDefinities(kLeverancier))
        FUZZ_CHECK(bron && !bron->BronPad.isEmpty());

    const QString eerste = folder().filePath(QStringLiteral("eerste"));
    const QString tweede = folder().filePath(QStringLiteral("tweede"));
    clsBron2 gelezen;
    gelezen.Load(sjabloon);
    FUZZ_CHECK(gelezen.Save(eerste));
    clsBron2 opnieuw;
    opnieuw.Load(eerste);
    FUZZ_CHECK(opnieuw.KolomSoorten == gelezen.KolomSoorten);
    FUZZ_CHECK(opnieuw.Save(tweede));
    FUZZ_CHECK(contentOf(eerste) == contentOf(tweede));
    return 0;
}
