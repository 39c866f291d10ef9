#include "platform/uiservices.h"

#include <QDebug>

namespace supplink {
namespace {

// Answers like a user who presses Enter on every box and cancels every dialog.
class QuietUiServices final : public UiServices
{
public:
    int messageBox(const QString& text, int style, const QString& title) override
    {
        qWarning().noquote() << "[" << title << "]" << text;
        switch (MsgBox::buttons(style)) {
        case MsgBox::OkOnly:
        case MsgBox::OkCancel: return MsgBox::Ok;
        case MsgBox::AbortRetryIgnore: return MsgBox::Abort;
        case MsgBox::YesNoCancel:
        case MsgBox::YesNo: return MsgBox::Yes;
        case MsgBox::RetryCancel: return MsgBox::Retry;
        }
        return MsgBox::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QStringList fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> browseForFolder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(const QColor&) override { return {}; }
    std::optional<qint32> pickOne(const PickOneRequest&) override { return {}; }
    void showErrorWindow(const ErrorWindowContent& content) override
    {
        qWarning().noquote() << content.message << content.details;
    }
};

QuietUiServices quiet;
UiServices* current = nullptr;

} // namespace

UiServices& ui() { return current ? *current : quiet; }

void setUiServices(UiServices* services) { current = services; }

} // namespace supplink
