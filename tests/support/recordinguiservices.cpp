#include "support/recordinguiservices.h"

namespace supplink::test {

RecordingUiServices::RecordingUiServices() { setUiServices(this); }

RecordingUiServices::~RecordingUiServices()
{
    if (&ui() == this)
        setUiServices(nullptr);
}

int RecordingUiServices::messageBox(const QString& text, int style, const QString& title)
{
    messages.append({text, style, title});
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    switch (MsgBox::buttons(style)) {
    case MsgBox::AbortRetryIgnore: return MsgBox::Abort;
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo: return MsgBox::Yes;
    case MsgBox::RetryCancel: return MsgBox::Retry;
    default: return MsgBox::Ok;
    }
}

std::optional<QString> RecordingUiServices::inputBox(const QString& prompt, const QString& title,
                                                     const QString& defaultText)
{
    inputs.append({prompt, title, defaultText});
    return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
}

QStringList RecordingUiServices::fileDialog(const FileDialogRequest& request)
{
    fileDialogs.append(request);
    return fileAnswers.isEmpty() ? QStringList() : fileAnswers.dequeue();
}

std::optional<QString> RecordingUiServices::browseForFolder(const QString& title, const QString&)
{
    folderTitles.append(title);
    return folderAnswers.isEmpty() ? std::nullopt : folderAnswers.dequeue();
}

std::optional<QColor> RecordingUiServices::chooseColor(const QColor&)
{
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

std::optional<qint32> RecordingUiServices::pickOne(const PickOneRequest& request)
{
    pickOnes.append(request);
    const std::optional<int> index = pickOneAnswers.isEmpty() ? std::nullopt : pickOneAnswers.dequeue();
    if (!index)
        return std::nullopt;
    return *index >= 0 && *index < request.entries.size() ? request.entries.at(*index).key : -1;
}

void RecordingUiServices::showErrorWindow(const ErrorWindowContent& content) { errors.append(content); }

void RecordingUiServices::clear()
{
    messages.clear();
    inputs.clear();
    fileDialogs.clear();
    folderTitles.clear();
    pickOnes.clear();
    errors.clear();
}

} // namespace supplink::test
