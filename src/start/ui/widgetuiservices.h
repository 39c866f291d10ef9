#pragma once
// The program's UI services on Qt Widgets: real message boxes, dialogs, the
// pick-one window and the error window. The program installs one at start
// (setUiServices); tests of windows can drive its dialogs through
// setModaalTonen (modaaltonen.h).

#include "platform/uiservices.h"

namespace supplink {

class WidgetUiServices final : public UiServices
{
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QStringList fileDialog(const FileDialogRequest& request) override;
    std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<qint32> pickOne(const PickOneRequest& request) override;
    void showErrorWindow(const ErrorWindowContent& content) override;
};

// "Tekst|*.txt;*.csv|Alle|*.*" as a Qt name filter list.
QString ToQtFileFilter(const QString& filter);

} // namespace supplink
