#pragma once
// The wizard's main window: the header with the step's title and sub-title,
// the step area that shows one step's view at a time, the status line and the
// buttons Help, Update, "<< Vorige", "Volgende >>" and "Afsluiten". It is a
// thin view over the step sequence (StapBesturing): it builds the step views
// of the step register (stapregister.h), hands their models to the sequence,
// shows the sequence's state after every change and passes its buttons on.
//
// Closing: "Afsluiten" asks "Brevanto Vededuzuduzu Davudi afsluiten?" before
// step 18; the title bar's close box never asks. Neither closes while the
// transfer runs (the transfer's cancel question comes instead) or while any
// other run is live (the window says why). On closing, the welcome step's
// temporary folder is deleted.
//
// Tests build the window with their own register (fake steps), replace the
// predicates through besturing().setVoorwaarden, and replace the
// administrator test, the update window and the help viewer below.

#include "wizard/stapbesturing.h"
#include "wizard/ui/stapregister.h"

#include <QHash>
#include <QList>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace supplink {

class frmImportBvqNaarBvq : public QWidget
{
    Q_OBJECT
public:
    // Builds the window with the step views of the register and enters step 1.
    explicit frmImportBvqNaarBvq(QWidget* parent = nullptr, const QList<StapRegistratie>& stappen = StapRegister());
    ~frmImportBvqNaarBvq() override;

    // Called once by the start routine after the window is shown; nothing to do.
    void StartUp() {}

    // 0 normal, 1 minimised, as the start routine sets it.
    void setWindowStateCode(int state);

    StapBesturing& besturing() { return m_besturing; }
    // The view that holds a step (the same view for the five generic steps).
    QWidget* StapWeergave(int stap) const;

    // The Update button: Update when the user is an administrator, else a refusal message.
    void cmdUpdate_Click();
    // The Help button and F1: the help file, when it exists.
    void cmdHelp_Click();
    // The close button.
    void cmdAnnuleren_Click();

    // What the Update and Help buttons use; tests replace them.
    std::function<bool()> IsBeheerder;
    std::function<void(QWidget* parent)> ToonUpdate;
    std::function<void(const QString& helpBestand)> OpenHelp;

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
    void BouwStappen(const QList<StapRegistratie>& stappen);
    void Form_Load();
    void ControleerHelpBestand();
    void Toon();
    void ToonStatusRegel();

    StapBesturing m_besturing;
    QHash<const Stap*, QWidget*> m_weergaven;
    bool m_zandloper = false;
};

} // namespace supplink
