#pragma once
// The update window "Zoeken naar updates": a thin view over the update check
// (UpdateZoeker). The first time it is shown it runs the check by itself and
// shows every status line in its progress frame, with the byte count and bar
// of a download while one runs. OK stays disabled, and the window cannot be
// closed, until the check has ended; OK then hides the window, which ends the
// modal display.
//
// The main window's Update button calls ToonUpdateVenster (after its
// administrator test). Tests build the window, point its check at a local
// server with zoeker(), and show it.

#include "wizard/updatezoeker.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace supplink {

class frmDownloadUpdate : public QDialog
{
    Q_OBJECT
public:
    explicit frmDownloadUpdate(QWidget* parent = nullptr);
    ~frmDownloadUpdate() override;

    // The check behind the window; set it up before the window is first shown.
    UpdateZoeker& zoeker() { return m_zoeker; }

    QGroupBox* Frame1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lblProgress = nullptr;
    QPushButton* cmdOK = nullptr;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Activate();
    void cmdOK_Click();
    void ToonStatus(const QString& regel);
    void toonVoortgang(bool zichtbaar);
    void zetVoortgang(const QString& tekst, int procent);
    void bezigGewijzigd(bool bezig);

    UpdateZoeker m_zoeker;
    bool m_gestart = false;
};

// Shows the update window modally and returns once it is closed.
void ToonUpdateVenster(QWidget* parent);

} // namespace supplink
