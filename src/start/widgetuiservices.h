#pragma once
// The program's UI services on Qt Widgets: real message boxes, dialogs and
// the error window.

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
    void showErrorWindow(const ErrorWindowContent& content) override;
};

// "Tekst|*.txt;*.csv|Alle|*.*" as a Qt name filter list.
QString ToQtFileFilter(const QString& filter);

} // namespace supplink
