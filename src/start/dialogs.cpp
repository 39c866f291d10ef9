#include "start/dialogs.h"

#include "platform/uiservices.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace supplink {

QString GetFileNameDialog(const QString& filter, const QString& initialFile, const QString& initialFolder,
                          const QString& title, bool raiseOnCancel, bool save, const QString& defaultExtension,
                          bool multiSelect)
{
    globals().gGekozenBestanden.clear();
    FileDialogRequest request;
    request.filter = filter;
    request.initialFile = initialFile;
    request.initialFolder = initialFolder;
    request.title = title;
    request.defaultExtension = defaultExtension;
    request.save = save;
    request.multiSelect = multiSelect && !save;
    const QStringList chosen = ui().fileDialog(request);
    if (chosen.isEmpty()) {
        if (raiseOnCancel)
            throw AppError(ErrorNumber::DialogCancelled, QStringLiteral("Annuleren is gekozen."));
        return QString();
    }
    if (request.multiSelect) {
        globals().gGekozenBestanden = chosen;
        return chosen.first();
    }
    return chosen.first();
}

void frmCommonForm::ShowColor(int, int)
{
    OK = false;
    if (const auto color = ui().chooseColor(m_color)) {
        m_color = *color;
        OK = true;
    }
}

void frmCommonForm::ShowFileSave() { showFileDialog(true); }

void frmCommonForm::ShowFileOpen() { showFileDialog(false); }

void frmCommonForm::showFileDialog(bool save)
{
    OK = false;
    FileDialogRequest request;
    request.filter = Filter;
    request.initialFile = m_fileName;
    request.initialFolder = m_initDir;
    request.title = DialogTitle;
    request.save = save;
    request.multiSelect = !save && MultiSelect;
    const QStringList chosen = ui().fileDialog(request);
    if (!chosen.isEmpty()) {
        m_fileName = chosen.first();
        m_chosen = chosen;
        OK = true;
    }
}

bool frmCommonForm::GetFolderAndFiles(QStringList& parts) const
{
    parts.clear();
    if (m_chosen.size() <= 1) {
        parts << m_fileName;
        return true;
    }
    parts << QFileInfo(m_chosen.first()).absolutePath();
    for (const QString& path : m_chosen)
        parts << QFileInfo(path).fileName();
    return true;
}

void clsBrowseForFolder::ShowBrowseFolder(void*, const QString& title, const QString& startFolder)
{
    try {
        const auto folder = ui().browseForFolder(title, startFolder);
        if (!folder)
            return; // cancelled: the fields keep their values
        if (!folder->isEmpty()) {
            OK = true;
            Cancel = false;
            SelectedFolder = *folder;
        } else {
            OK = false;
            Cancel = true;
            SelectedFolder.clear();
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

QString GetSpecialFolderPath(int folderId)
{
    try {
        QString path;
        switch (folderId) {
        case SpecialFolder::AppData:
#ifdef Q_OS_WIN
            path = qEnvironmentVariable("APPDATA");
#else
            path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
            break;
        case SpecialFolder::LocalAppData:
            path = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
            break;
        case SpecialFolder::Personal:
            path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            break;
        case SpecialFolder::CommonAppData:
#ifdef Q_OS_WIN
            path = qEnvironmentVariable("PROGRAMDATA");
#else
            path = QStringLiteral("/var/lib");
#endif
            break;
        default:
            ToonFout(QStringLiteral("Folder type ") + QString::number(folderId) +
                     QStringLiteral(" wordt niet ondersteund dor SHGetFolderPath!"));
            return QString();
        }
        if (path.isEmpty() || !QDir().mkpath(path) || !QFileInfo(path).isDir()) {
            ToonFout(QStringLiteral("Folder type ") + QString::number(folderId) +
                     QStringLiteral(" bestaat niet en kan ook niet worden aangemaakt!"));
            return QString();
        }
        return QDir::toNativeSeparators(ZonderBackslash(QDir::cleanPath(path)));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return QString();
    }
}

QString GetTempFolder()
{
    const QString temp = QDir::toNativeSeparators(QDir::tempPath());
    return temp.isEmpty() ? QString(QDir::separator()) : MetBackslash(temp);
}

QString GetTempFileNaam(const QString& folder)
{
    const QString base = folder.isEmpty() ? GetTempFolder() : MetBackslash(folder);
    QTemporaryFile file(base + QStringLiteral("bvqXXXXXX.tmp"));
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    return QDir::toNativeSeparators(file.fileName());
}

} // namespace supplink
