#pragma once
// The view of step 17, the transfer: the status list with its "Soort" and
// "Waarde" columns, the bar of the running worker's rows, the bar of the
// selected sources, the remaining-time label and the "Annuleren" button. It
// is thin over the window-free transfer step (wizard/staptransfer.h): it
// shows the step's TransferToestand as it changes and passes the button on to
// the step's cancel question.

#include "wizard/staptransfer.h"

#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace supplink {

class usrTransfer : public QWidget
{
    Q_OBJECT
public:
    explicit usrTransfer(QWidget* parent);
    ~usrTransfer() override;

    StapTransfer& stap() { return m_model; }

    QFrame* Frame2 = nullptr;
    QTreeWidget* lvStatus = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdAnnuleren = nullptr;

private:
    void ToonRijen();
    void ToonRij(int i);
    void ToonVoortgang();

    StapTransfer m_model;
};

} // namespace supplink
