#include "start/registryfuncties.h"

#include "start/errors.h"
#include "start/globals.h"

namespace supplink {

QString ProgramKeyPath() { return QStringLiteral("Software\\Tavrin Software\\Bvq\\Import\\4.00\\"); }

std::optional<QString> fGetstring(RegistryRoot root, const QString& keyPath, const QString& valueName)
{
    try {
        const auto value = registryRead(root, keyPath, valueName);
        if (!value || value->typeId() != QMetaType::QString)
            return std::nullopt;
        QString text = value->toString();
        const qsizetype zero = text.indexOf(QChar(u'\0'));
        if (zero >= 0)
            text.truncate(zero);
        return text;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("modSharedRegistryFuncties.fGetstring (Function)"), e);
        return std::nullopt;
    }
}

void fSaveString(RegistryRoot root, const QString& keyPath, const QString& valueName, const QString& text)
{
    try {
        registryWrite(root, keyPath, valueName, QVariant(text));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("modSharedRegistryFuncties.fSaveString (Sub)"), e);
    }
}

std::optional<qint32> fGetLong(RegistryRoot root, const QString& keyPath, const QString& valueName)
{
    try {
        const auto value = registryRead(root, keyPath, valueName);
        if (!value || value->typeId() != QMetaType::Int)
            return std::nullopt;
        return value->toInt();
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("modSharedRegistryFuncties.fGetLong (Function)"), e);
        return std::nullopt;
    }
}

void fSaveLong(RegistryRoot root, const QString& keyPath, const QString& valueName, qint32 number)
{
    try {
        registryWrite(root, keyPath, valueName, QVariant(number));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("modSharedRegistryFuncties.fSaveLong (Sub)"), e);
    }
}

namespace {

void reportSectionFailure(const std::exception& e, const QString& routine, const QString& section,
                          const QString& valueName)
{
    const AppError error = AppError::from(e);
    QString text = QString::number(error.number()) + QStringLiteral(":") + error.description();
    if (!routine.isEmpty())
        text += QStringLiteral("\r\n\r\nFunctie: ") + routine;
    text += QStringLiteral("\r\nMap: ") + section + QStringLiteral("\r\nKey: ") + valueName;
    ui().messageBox(text, MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
}

QString haalOp(RegistryRoot root, const QString& routine, const QString& section, const QString& valueName,
               const QString& defaultValue)
{
    try {
        return fGetstring(root, ProgramKeyPath() + section, valueName).value_or(defaultValue);
    } catch (const std::exception& e) {
        reportSectionFailure(e, routine, section, valueName);
        return QString();
    }
}

} // namespace

QString CurrentUser_HaalOp(const QString& section, const QString& valueName, const QString& defaultValue)
{
    return haalOp(HKEY_CURRENT_USER, QStringLiteral("modSharedRegistryFuncties.CurrentUser_HaalOp (Function)"),
                  section, valueName, defaultValue);
}

QString LocalMachine_HaalOp(const QString& section, const QString& valueName, const QString& defaultValue)
{
    return haalOp(HKEY_LOCAL_MACHINE, QStringLiteral("modSharedRegistryFuncties.LocalMachine_HaalOp (Function)"),
                  section, valueName, defaultValue);
}

void CurrentUser_BrengWeg(const QString& section, const QString& valueName, const QString& value)
{
    try {
        fSaveString(HKEY_CURRENT_USER, ProgramKeyPath() + section, valueName, value);
    } catch (const std::exception& e) {
        reportSectionFailure(e, QStringLiteral("modSharedRegistryFuncties.CurrentUser_BrengWeg (Sub)"), section,
                             valueName);
    }
}

} // namespace supplink
