#pragma once
// For benchmarks that run an engine: message boxes and the error window are
// written to stderr, so that a failing run cannot pass unseen, and every
// question is answered with its default.
//
//     bench::StderrUi ui;
//     setUiServices(&ui);          // ... the runs ...
//     setUiServices(nullptr);

#include "platform/uiservices.h"

#include <cstdio>

namespace bench {

class StderrUi : public supplink::UiServices
{
public:
    int messageBox(const QString& text, int, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return supplink::MsgBox::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QStringList fileDialog(const supplink::FileDialogRequest&) override { return {}; }
    std::optional<QString> browseForFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    std::optional<qint32> pickOne(const supplink::PickOneRequest&) override { return std::nullopt; }
    void showErrorWindow(const supplink::ErrorWindowContent& content) override
    {
        std::fprintf(stderr, "error: %s %s\n", qPrintable(content.message), qPrintable(content.details));
    }
};

} // namespace bench
