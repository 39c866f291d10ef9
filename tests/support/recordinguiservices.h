#pragma once
// A UiServices that never shows anything: it records every request and
// answers from queues that a test fills beforehand (or with defaults: the
// first button of a message box, cancel for every dialog). It needs no
// widgets: tests of engines link it without Qt Widgets.

#include "platform/uiservices.h"

#include <QList>
#include <QQueue>

namespace supplink::test {

class RecordingUiServices final : public UiServices
{
public:
    struct Message
    {
        QString text;
        int style = 0;
        QString title;
    };
    struct Input
    {
        QString prompt;
        QString title;
        QString defaultText;
    };

    // Installs itself as the program's services; restores the previous quiet
    // default when destroyed.
    RecordingUiServices();
    ~RecordingUiServices() override;

    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QStringList fileDialog(const FileDialogRequest& request) override;
    std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<qint32> pickOne(const PickOneRequest& request) override;
    void showErrorWindow(const ErrorWindowContent& content) override;

    void clear();

    // What was asked, in order.
    QList<Message> messages;
    QList<Input> inputs;
    QList<FileDialogRequest> fileDialogs;
    QList<QString> folderTitles;
    QList<PickOneRequest> pickOnes;
    QList<ErrorWindowContent> errors;

    // Scripted answers, taken first in, first out.
    QQueue<int> messageAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QStringList> fileAnswers;
    QQueue<std::optional<QString>> folderAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    // The index of the entry chosen in a pick-one list (its key is answered; -1 for an index outside
    // the list), no value for Annuleren.
    QQueue<std::optional<int>> pickOneAnswers;
};

} // namespace supplink::test
