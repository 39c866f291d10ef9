#include "platform/zipextract.h"

#include "platform/runcontext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <array>

namespace supplink {
namespace {

bool insideOrEqual(const QString& path, const QString& folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path == folder || path.startsWith(prefix);
}

// The permission bits a Unix zip tool stored with the entry; none when the
// archive was made elsewhere or stored no bits.
std::optional<QFile::Permissions> storedPermissions(zip_t* archive, zip_uint64_t index)
{
#ifdef Q_OS_WIN
    Q_UNUSED(archive);
    Q_UNUSED(index);
    return std::nullopt;
#else
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 ||
        system != ZIP_OPSYS_UNIX)
        return std::nullopt;
    const zip_uint32_t mode = (attributes >> 16) & 0777;
    if (mode == 0)
        return std::nullopt;
    static constexpr std::array<std::pair<zip_uint32_t, QFile::Permissions>, 9> bits{{
        {0400, QFile::ReadOwner | QFile::ReadUser},
        {0200, QFile::WriteOwner | QFile::WriteUser},
        {0100, QFile::ExeOwner | QFile::ExeUser},
        {0040, QFile::ReadGroup},
        {0020, QFile::WriteGroup},
        {0010, QFile::ExeGroup},
        {0004, QFile::ReadOther},
        {0002, QFile::WriteOther},
        {0001, QFile::ExeOther},
    }};
    QFile::Permissions permissions;
    for (const auto& [bit, permission] : bits) {
        if (mode & bit)
            permissions |= permission;
    }
    return permissions;
#endif
}

// Copies one entry into its new file; the problem in words, or an empty text.
QString writeEntry(zip_t* archive, zip_uint64_t index, const QString& target, RunContext* run)
{
    zip_file_t* entry = zip_fopen_index(archive, index, 0);
    if (!entry)
        return QString::fromUtf8(zip_strerror(archive));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        zip_fclose(entry);
        return file.errorString();
    }
    QString problem;
    std::array<char, 64 * 1024> buffer{};
    for (;;) {
        const zip_int64_t read = zip_fread(entry, buffer.data(), buffer.size());
        if (read < 0) {
            problem = QString::fromUtf8(zip_file_strerror(entry));
            break;
        }
        if (read == 0)
            break;
        if (file.write(buffer.data(), read) != read) {
            problem = file.errorString();
            break;
        }
        if (run)
            run->yield();
    }
    zip_fclose(entry);
    if (!problem.isEmpty()) {
        file.cancelWriting();
        return problem;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace

std::optional<QString> pathInsideFolder(const QString& folder, const QString& relativeName)
{
    QString name = relativeName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A colon names a drive or, on Windows, a stream of another file.
    if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return std::nullopt;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")))
        return std::nullopt;

    const QString base = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString full = QDir::cleanPath(base + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    if (full == base || !insideOrEqual(full, base))
        return std::nullopt;

    // The deepest part of the path that exists, links followed, must lie in the folder too.
    const QString canonicalBase = QFileInfo(base).canonicalFilePath();
    if (canonicalBase.isEmpty())
        return full; // nothing of the folder exists yet, so no link can lead out of it
    for (QString probe = full; probe.size() > base.size(); probe = QFileInfo(probe).path()) {
        const QFileInfo info(probe);
        if (!info.exists() && !info.isSymLink())
            continue;
        const QString canonical = info.canonicalFilePath(); // empty for a link that leads nowhere
        if (canonical.isEmpty() || !insideOrEqual(canonical, canonicalBase))
            return std::nullopt;
        break;
    }
    return full;
}

ZipExtraction extractZipArchive(const QString& archivePath, const QString& targetFolder, RunContext* run)
{
    ZipExtraction result;
    QStringList problems;
    const QString archiveName = QFileInfo(archivePath).fileName();

    if (!QDir().mkpath(targetFolder)) {
        result.error = QStringLiteral("De map '%1' kan niet worden gemaakt.").arg(QDir::toNativeSeparators(targetFolder));
        return result;
    }
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        result.error = QStringLiteral("Het archief '%1' kan niet worden geopend (%2).")
                           .arg(archiveName, QString::fromUtf8(zip_error_strerror(&error)));
        zip_error_fini(&error);
        return result;
    }

    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (run) {
            run->yield();
            if (run->cancelled()) {
                problems << QStringLiteral("Het uitpakken van '%1' is afgebroken.").arg(archiveName);
                break;
            }
        }
        const auto index = zip_uint64_t(i);
        const char* rawName = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
        const QString name = rawName ? QString::fromUtf8(rawName) : QString();
        const std::optional<QString> target = pathInsideFolder(targetFolder, name);
        if (!target) {
            result.refused << name;
            problems << QStringLiteral("'%1' ligt buiten de map en is niet uitgepakt.").arg(name);
            continue;
        }
        if (name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'))) {
            if (!QDir().mkpath(*target))
                problems << QStringLiteral("De map '%1' kan niet worden gemaakt.").arg(name);
            continue;
        }
        if (!QDir().mkpath(QFileInfo(*target).path())) {
            problems << QStringLiteral("De map van '%1' kan niet worden gemaakt.").arg(name);
            continue;
        }
        const QString problem = writeEntry(archive, index, *target, run);
        if (!problem.isEmpty()) {
            problems << QStringLiteral("'%1' kan niet worden uitgepakt (%2).").arg(name, problem);
            continue;
        }
        const auto permissions = storedPermissions(archive, index);
        if (permissions && !QFile::setPermissions(*target, *permissions))
            problems << QStringLiteral("De rechten van '%1' kunnen niet worden gezet.").arg(name);
        result.written << *target;
    }
    zip_discard(archive); // opened read-only: nothing to write back
    result.error = problems.join(QLatin1Char('\n'));
    return result;
}

} // namespace supplink
