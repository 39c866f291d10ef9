#include "platform/registry.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSettings>
#include <QStringList>

#include <cmath>
#include <limits>
#include <memory>

namespace supplink {
namespace {

#ifdef Q_OS_WIN
QSettings::Format storeFormat()
{
    return QSettings::NativeFormat;
}
#else
// A stored number is a 32-bit value only when it is a whole number in that
// range; any other number (edited by hand, written by another program) is no
// value, so that the caller's default applies.
std::optional<qint32> whole32(double number)
{
    if (!(number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max()) ||
        number != std::trunc(number))
        return std::nullopt;
    return static_cast<qint32>(number);
}

// Keeps strings as JSON strings and 32-bit values as JSON numbers, so a value
// reads back with the kind it was written with.
bool readJson(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray data = device.readAll();
    if (data.trimmed().isEmpty())
        return true;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.value().isString())
            map.insert(it.key(), it.value().toString());
        else if (it.value().isDouble())
            if (const std::optional<qint32> number = whole32(it.value().toDouble()))
                map.insert(it.key(), *number);
    }
    return true;
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.value().typeId() == QMetaType::Int)
            object.insert(it.key(), it.value().toInt());
        else
            object.insert(it.key(), it.value().toString());
    }
    return device.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format storeFormat()
{
    static const QSettings::Format format = QSettings::registerFormat("json", readJson, writeJson);
    return format;
}
#endif

// Where a key path's values live: the store of an organisation and application
// ("Software\Org\App\..."), or a store file of its own, and the group in it.
struct Location
{
    QString organisation;
    QString application;
    QString file; // when set, the store is this file (Windows: this registry key) instead
    QString group;
};

// QSettings separates groups with "/" and with "\" alike: a section or value
// name that holds one is escaped ("%" as "%25", "/" as "%2F", "\" as "%5C"),
// so that it stays one name and two different names never meet.
QString escapedName(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('%'), QLatin1String("%25"));
    escaped.replace(QLatin1Char('/'), QLatin1String("%2F"));
    escaped.replace(QLatin1Char('\\'), QLatin1String("%5C"));
    return escaped;
}

const QString& programOrganisation()
{
    static const QString name = QStringLiteral("Tavrin Software");
    return name;
}

const QString& programApplication()
{
    static const QString name = QStringLiteral("Bvq");
    return name;
}

QString rootName(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                              : QStringLiteral("HKEY_CURRENT_USER");
}

QSettings::Scope scopeOf(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? QSettings::SystemScope : QSettings::UserScope;
}

// The store of the key paths that lie outside every "Software\Org\App": on
// Windows the root key itself; elsewhere one file per root, beside the
// program's own store of the same scope (so it follows that store's folder,
// the machine-wide one included), named after the root. Its extension is not
// the one QSettings gives an organisation's or application's file, so no
// "Software\Org\App" path can ever land in it.
QString rootStore(RegistryRoot root)
{
#ifdef Q_OS_WIN
    return rootName(root);
#else
    const QSettings program(storeFormat(), scopeOf(root), programOrganisation(), programApplication());
    return QFileInfo(program.fileName()).absolutePath() + QLatin1Char('/') + rootName(root) +
           QStringLiteral(".register");
#endif
}

// "Software\Org\App\Rest\Of\Path" -> organisation Org, application App, group Rest/Of/Path: the
// program's own settings under "Software\Tavrin Software\Bvq" stay in the store they have always been
// in. Any other path ("Import\4.00", "Software\Org") is a key of the root itself and goes, whole,
// into the root's store: it never shares a value with a path of an application's store.
Location locate(RegistryRoot root, const QString& keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    Location location;
    if (parts.size() >= 3 && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0) {
        location.organisation = parts.at(1);
        location.application = parts.at(2);
        parts = parts.mid(3);
    } else {
        location.file = rootStore(root);
    }
    for (QString& part : parts)
        part = escapedName(part);
    location.group = parts.join(QLatin1Char('/'));
    return location;
}

std::unique_ptr<QSettings> openStore(RegistryRoot root, const Location& location)
{
    if (!location.file.isEmpty())
        return std::make_unique<QSettings>(location.file, storeFormat());
    auto settings = std::make_unique<QSettings>(storeFormat(), scopeOf(root), location.organisation,
                                                location.application);
    settings->setFallbacksEnabled(false);
    return settings;
}

QString keyOf(const Location& location, const QString& valueName)
{
    const QString name = escapedName(valueName);
    return location.group.isEmpty() ? name : location.group + QLatin1Char('/') + name;
}

} // namespace

std::optional<QVariant> registryRead(RegistryRoot root, const QString& keyPath, const QString& valueName)
{
    const Location location = locate(root, keyPath);
    const std::unique_ptr<QSettings> settings = openStore(root, location);
    const QVariant value = settings->value(keyOf(location, valueName));
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Int)
        return value;
    if (value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::LongLong ||
        value.typeId() == QMetaType::ULongLong) {
        // A number outside the 32-bit range is no 32-bit value.
        bool ok = false;
        const qint64 number = value.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return QVariant(static_cast<qint32>(number));
    }
    return QVariant(value.toString());
}

bool registryWrite(RegistryRoot root, const QString& keyPath, const QString& valueName, const QVariant& value)
{
    const Location location = locate(root, keyPath);
    const std::unique_ptr<QSettings> settings = openStore(root, location);
    if (value.typeId() == QMetaType::Int)
        settings->setValue(keyOf(location, valueName), value.toInt());
    else
        settings->setValue(keyOf(location, valueName), value.toString());
    settings->sync();
#ifndef Q_OS_WIN
    // Target descriptions may hold a database password: the user's files are private.
    if (root == RegistryRoot::CurrentUser && settings->status() == QSettings::NoError)
        QFile::setPermissions(settings->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    return settings->status() == QSettings::NoError;
}

void redirectRegistry(const QString& folder)
{
    QSettings::setPath(storeFormat(), QSettings::UserScope, folder + QStringLiteral("/user"));
    QSettings::setPath(storeFormat(), QSettings::SystemScope, folder + QStringLiteral("/system"));
}

} // namespace supplink
