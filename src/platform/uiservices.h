#pragma once
// Every message box, input box, file or folder dialog, pick-one list and error
// window that an engine shows goes through one UiServices object, so that engines and steps run
// headless in tests (where a recording fake answers) and on screen in the
// program (where the widget implementation answers).

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace supplink {

// Message-box styles, combinable as buttons + icon (+ default button).
namespace MsgBox {
enum Style : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum Result : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

inline int buttons(int style) { return style & 0x0F; }
inline int icon(int style) { return style & 0xF0; }
} // namespace MsgBox

// What the error window shows: message line, details text and picture (1..4).
struct ErrorWindowContent
{
    QString caption;
    QString message;
    QString details;
    int picture = 1;
};

struct FileDialogRequest
{
    QString filter;        // "Beschrijving|*.csv;*.txt|Alle bestanden|*.*"
    QString initialFile;
    QString initialFolder;
    QString title;
    QString defaultExtension;
    bool save = false;
    bool multiSelect = false;
};

// One entry of a pick-one list: the text shown and the key it stands for.
struct PickOneEntry
{
    QString text;
    qint32 key = -1;
};

// A list from which the user chooses one entry (an article group, a supplier).
struct PickOneRequest
{
    QString title;       // the window's caption
    QString explanation; // the text above the list
    QString label;       // the list's label, e.g. "Leverancier:"
    QList<PickOneEntry> entries; // the first entry is chosen when the window opens
};

class UiServices
{
public:
    virtual ~UiServices() = default;

    // Shows a message box; returns one of MsgBox::Result.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;
    // Asks for a line of text; no value when the user cancels.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // Open or save dialog; the chosen full paths, empty when cancelled.
    virtual QStringList fileDialog(const FileDialogRequest& request) = 0;
    // Folder picker; no value when cancelled, an empty text when confirmed without a folder.
    virtual std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) = 0;
    // Colour dialog; no value when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // Lets the user choose one entry of a list; the key of the chosen entry (-1 when the list is
    // empty), no value when the user cancels.
    virtual std::optional<qint32> pickOne(const PickOneRequest& request) = 0;
    // The modal error window; returns when the user has closed it.
    virtual void showErrorWindow(const ErrorWindowContent& content) = 0;
};

// The program-wide services. Never null: until one is installed a quiet
// implementation answers every question with its default (OK, cancel).
UiServices& ui();
// Installs services (not owned); nullptr restores the quiet default.
void setUiServices(UiServices* services);

} // namespace supplink
