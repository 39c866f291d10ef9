#pragma once
// A small window that shows lines of text collected by its caller (the
// source-file step shows the facts of a source file in it): the caller adds
// the lines, sets the caption and shows the window modally; "Sluiten" hides it.
//
//     frmReport rapport(parent);
//     rapport.setWindowTitle(QStringLiteral("Eigenschappen ") + naam);
//     rapport.AddLine(QStringLiteral("Bestand: ") + pad);
//     ToonModaal(rapport);
//
// The window opens centred, or where the user last left it (section "Windows"
// of the settings), and keeps its position and size when it is hidden.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace supplink {

class frmReport : public QDialog
{
    Q_OBJECT
public:
    explicit frmReport(QWidget* parent = nullptr);
    ~frmReport() override;

    // Appends the text and a line break at the end of the text.
    void AddLine(const QString& text);

    QPlainTextEdit* rt = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void cmdOK_Click();
};

} // namespace supplink
