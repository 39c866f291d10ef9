#include "platform/registry.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSettings>
#include <QStringList>

namespace supplink {
namespace {

#ifdef Q_OS_WIN
QSettings::Format storeFormat() { return QSettings::NativeFormat; }
#else
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
            map.insert(it.key(), static_cast<qint32>(it.value().toDouble()));
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

struct Location
{
    QString organisation;
    QString application;
    QString group;
};

// "Software\Org\App\Rest\Of\Path" -> organisation Org, application App, group Rest/Of/Path.
Location locate(const QString& keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    Location location;
    if (parts.size() >= 3 && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0) {
        location.organisation = parts.at(1);
        location.application = parts.at(2);
        parts = parts.mid(3);
    } else {
        location.organisation = QStringLiteral("Tavrin Software");
        location.application = QStringLiteral("Bvq");
    }
    location.group = parts.join(QLatin1Char('/'));
    return location;
}

QSettings::Scope scopeOf(RegistryRoot root)
{
    return root == RegistryRoot::LocalMachine ? QSettings::SystemScope : QSettings::UserScope;
}

QString keyOf(const Location& location, const QString& valueName)
{
    return location.group.isEmpty() ? valueName : location.group + QLatin1Char('/') + valueName;
}

} // namespace

std::optional<QVariant> registryRead(RegistryRoot root, const QString& keyPath, const QString& valueName)
{
    const Location location = locate(keyPath);
    QSettings settings(storeFormat(), scopeOf(root), location.organisation, location.application);
    settings.setFallbacksEnabled(false);
    const QVariant value = settings.value(keyOf(location, valueName));
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt ||
        value.typeId() == QMetaType::LongLong)
        return QVariant(static_cast<qint32>(value.toLongLong()));
    return QVariant(value.toString());
}

bool registryWrite(RegistryRoot root, const QString& keyPath, const QString& valueName, const QVariant& value)
{
    const Location location = locate(keyPath);
    QSettings settings(storeFormat(), scopeOf(root), location.organisation, location.application);
    settings.setFallbacksEnabled(false);
    if (value.typeId() == QMetaType::Int)
        settings.setValue(keyOf(location, valueName), value.toInt());
    else
        settings.setValue(keyOf(location, valueName), value.toString());
    settings.sync();
#ifndef Q_OS_WIN
    // Target descriptions may hold a database password: the user's file is private.
    if (root == RegistryRoot::CurrentUser && settings.status() == QSettings::NoError)
        QFile::setPermissions(settings.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    return settings.status() == QSettings::NoError;
}

void redirectRegistry(const QString& folder)
{
    QSettings::setPath(storeFormat(), QSettings::UserScope, folder + QStringLiteral("/user"));
    QSettings::setPath(storeFormat(), QSettings::SystemScope, folder + QStringLiteral("/system"));
}

} // namespace supplink
