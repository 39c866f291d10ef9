#pragma once
// A small key-value store in place of the Windows registry. Keys are
// backslash-separated paths under a root ("Software\Tavrin Software\Bvq\...");
// values are strings or 32-bit numbers and keep their kind, as registry
// values do. On Windows it is the registry itself; elsewhere a JSON file per
// organisation and application ("Software\Org\App\...") in the user's or the
// system's configuration folder, and for the key paths outside those one file
// per root beside the program's own ("HKEY_CURRENT_USER.register"), so two
// different key paths never share a value (the user's files readable by their
// owner only). A level of a key path and a value name may hold any character
// but "\" (a value name that one too): the store escapes what it would take
// for a separator. A stored number that is not a whole 32-bit number reads as
// no value.

#include <QString>
#include <QVariant>
#include <optional>

namespace supplink {

enum class RegistryRoot : quint32
{
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// A stored value: a QString (string value) or a qint32 (32-bit value).
// No value when the key or the value is missing.
std::optional<QVariant> registryRead(RegistryRoot root, const QString& keyPath, const QString& valueName);

// Writes a string or a 32-bit value, creating the key path. False when the
// store refused the write (for example a machine-wide write without rights).
bool registryWrite(RegistryRoot root, const QString& keyPath, const QString& valueName,
                   const QVariant& value);

// Points both scopes at files below the given folder. For tests and for
// portable installations; call before the first read or write.
void redirectRegistry(const QString& folder);

} // namespace supplink
