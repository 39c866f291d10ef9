#pragma once
// File, colour and folder dialogs, the application-data folder and temporary files.

#include <QColor>
#include <QString>
#include <QStringList>

namespace supplink {

// Shows an open or save dialog. Multi-selection puts every chosen path into
// globals().gGekozenBestanden and returns the first. A cancel returns an empty
// text, or throws AppError 32755 when raiseOnCancel is set.
QString GetFileNameDialog(const QString& filter, const QString& initialFile, const QString& initialFolder,
                          const QString& title, bool raiseOnCancel = false, bool save = false,
                          const QString& defaultExtension = QString(), bool multiSelect = false);

// The invisible holder of the common dialogs.
class frmCommonForm
{
public:
    bool OK = false;          // the last dialog returned without cancel
    bool MultiSelect = false; // read by ShowFileOpen
    QString Filter;
    QString DialogTitle;

    void ShowColor(int left = 0, int top = 0);
    void ShowFileSave();
    void ShowFileOpen();

    QColor GetColor() const { return m_color; }
    void SetColor(const QColor& color) { m_color = color; }
    QString GetFileNaam() const { return m_fileName; }
    void SetFileNaam(const QString& name) { m_fileName = name; }
    void SetInitDir(const QString& folder) { m_initDir = folder; }
    // The folder first, then the file names, as the dialog's multi-selection gives them.
    bool GetFolderAndFiles(QStringList& parts) const;

private:
    void showFileDialog(bool save);

    QColor m_color;
    QString m_fileName;
    QString m_initDir;
    QStringList m_chosen;
};

class clsBrowseForFolder
{
public:
    bool OK = false;
    bool Cancel = false;
    QString SelectedFolder;

    void ShowBrowseFolder(void* ownerWindow, const QString& title, const QString& startFolder);
};

// Folder identifiers the program asks for.
namespace SpecialFolder {
constexpr int Personal = 5;
constexpr int AppData = 26;
constexpr int LocalAppData = 28;
constexpr int CommonAppData = 35;
} // namespace SpecialFolder

// The folder's path without a trailing separator (created when missing), or
// an empty text after a message.
QString GetSpecialFolderPath(int folderId);

// The temporary folder, always ending in a separator.
QString GetTempFolder();

// Creates a new, unique, empty file in the folder (default: the temporary
// folder) and returns its full path; empty when that failed.
QString GetTempFileNaam(const QString& folder = QString());

} // namespace supplink
