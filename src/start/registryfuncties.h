#pragma once
// Settings as string values under the program's key. The section routines
// return the caller's default for a missing value or a value of another kind.

#include "platform/registry.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace supplink {

inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;
inline constexpr RegistryRoot HKEY_LOCAL_MACHINE = RegistryRoot::LocalMachine;

// "Software\Tavrin Software\Bvq\Import\4.00\"
QString ProgramKeyPath();

// The string value; no value when missing or not a string.
std::optional<QString> fGetstring(RegistryRoot root, const QString& keyPath, const QString& valueName);
void fSaveString(RegistryRoot root, const QString& keyPath, const QString& valueName, const QString& text);
// The 32-bit value; no value when missing or not a 32-bit value.
std::optional<qint32> fGetLong(RegistryRoot root, const QString& keyPath, const QString& valueName);
void fSaveLong(RegistryRoot root, const QString& keyPath, const QString& valueName, qint32 number);

QString CurrentUser_HaalOp(const QString& section, const QString& valueName, const QString& defaultValue);
QString LocalMachine_HaalOp(const QString& section, const QString& valueName, const QString& defaultValue);
void CurrentUser_BrengWeg(const QString& section, const QString& valueName, const QString& value);

} // namespace supplink
