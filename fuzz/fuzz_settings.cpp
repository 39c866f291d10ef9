// Reads any bytes as the program's settings file (the JSON file that stands in
// for the registry outside Windows; a user may edit it, or another program
// damage it) and reads back every value it names. Checks that each value reads
// as a text or a 32-bit number, as the store promises, that plain texts and
// numbers read as written in the file, and that a value read and written again
// reads back the same.
#include "platform/registry.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace supplink;

namespace {

const QString kOrganisation = QStringLiteral("Tavrin Software");

struct Key
{
    QString path;
    QString name;
};

// The registry key path and value name of a settings key "group/.../name".
Key keyOf(const QString& application, const QString& settingsKey)
{
    QStringList parts = settingsKey.split(QLatin1Char('/'));
    const QString name = parts.takeLast();
    return {QStringLiteral("Software\\") + kOrganisation + QLatin1Char('\\') + application +
                (parts.isEmpty() ? QString() : QLatin1Char('\\') + parts.join(QLatin1Char('\\'))),
            name};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const bool redirected = [] {
        redirectRegistry(folder.path());
        return QDir().mkpath(folder.filePath(QStringLiteral("user/")) + kOrganisation);
    }();
    FUZZ_CHECK(redirected);
    // Every input gets files of its own: the settings layer keeps what it read of a file.
    static quint64 run = 0;
    const QString application = QStringLiteral("Bvq%1").arg(++run);
    const QString copy = QStringLiteral("Kopie%1").arg(run);
    const QString file = folder.filePath(QStringLiteral("user/%1/%2.json").arg(kOrganisation, application));
    const QString copyFile = folder.filePath(QStringLiteral("user/%1/%2.json").arg(kOrganisation, copy));

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            std::abort();
    }

    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    static const QRegularExpression plainKey(QStringLiteral("^[A-Za-z0-9 ]+(/[A-Za-z0-9 ]+)*$"));
    for (auto it = object.begin(); it != object.end(); ++it) {
        const Key key = keyOf(application, it.key());
        const std::optional<QVariant> value = registryRead(RegistryRoot::CurrentUser, key.path, key.name);
        if (!value)
            continue;
        FUZZ_CHECK(value->typeId() == QMetaType::QString || value->typeId() == QMetaType::Int);
        if (plainKey.match(it.key()).hasMatch()) {
            if (it.value().isString())
                FUZZ_CHECK(*value == QVariant(it.value().toString()));
            const double number = it.value().toDouble();
            if (it.value().isDouble() && number == std::trunc(number) && std::fabs(number) < 2147483647.0)
                FUZZ_CHECK(*value == QVariant(qint32(number)));
        }
        // Written and read again, the value is the same.
        const Key copyKey = keyOf(copy, it.key());
        if (registryWrite(RegistryRoot::CurrentUser, copyKey.path, copyKey.name, *value)) {
            const std::optional<QVariant> again =
                registryRead(RegistryRoot::CurrentUser, copyKey.path, copyKey.name);
            FUZZ_CHECK(again && *again == *value);
        }
    }
    QFile::remove(file);
    QFile::remove(copyFile);
    return 0;
}
