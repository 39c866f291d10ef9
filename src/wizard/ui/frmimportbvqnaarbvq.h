#pragma once
// The wizard's main window: header, step area and the window-level buttons.
// The steps themselves are added to the step area as they are built. While a
// run is live (RunContext::anyLive) the window refuses to close and says why.

#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace supplink {

class frmImportBvqNaarBvq : public QWidget
{
    Q_OBJECT
public:
    explicit frmImportBvqNaarBvq(QWidget* parent = nullptr);
    ~frmImportBvqNaarBvq() override;

    // Called once by the start routine after the window is shown; nothing to do.
    void StartUp() {}

    // 0 normal, 1 minimised, as the start routine sets it.
    void setWindowStateCode(int state);

    QLabel* lbLeverancer = nullptr;
    QLabel* lbStap = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdVorige = nullptr;
    QPushButton* cmdVolgende = nullptr;
    QPushButton* cmdAnnuleren = nullptr;
    QStackedWidget* stepArea = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // When the window closes (no run is live): the welcome step's working folder goes.
    void Form_QueryUnload();
};

} // namespace supplink
