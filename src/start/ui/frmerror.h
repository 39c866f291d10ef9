#pragma once
// The error window: a message line with a picture, and a details part that
// the "Details >>" button opens and closes. Whether the details were open is
// remembered for the next error window of the run.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace supplink {

class frmError : public QDialog
{
    Q_OBJECT
public:
    static constexpr int HeightClosedTwips = 2860;
    static constexpr int HeightOpenTwips = 5520;
    static constexpr int MinimumWidthTwips = 5400;

    explicit frmError(QWidget* parent = nullptr);
    ~frmError() override;

    // Shows picture 1..4 of the window's picture list (any other value: 1).
    void SetImage(int picture);
    void setMessage(const QString& message);
    void setDetails(const QString& details);

    bool detailsOpen() const { return m_detailsOpen; }
    int picture() const { return m_picture; }

    QLabel* lblMelding = nullptr;
    QPlainTextEdit* txtDetails = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdDetails = nullptr;
    QLabel* Image1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void toggleDetails();
    void layoutControls();

    bool m_detailsOpen = false;
    bool m_firstShown = false;
    int m_picture = 1;
};

} // namespace supplink
