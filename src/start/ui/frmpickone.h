#pragma once
// The pick-one dialog: a small window in which the user chooses one entry,
// an article group or a supplier, from a list. Engines reach it through
// ui().pickOne (the widget UI services show it). The caller sets the caption,
// the explanation and the list's label, fills the list with VulLijst, shows
// the window modally (ToonModaal), and reads OKGekozen and, when it is set,
// GeselecteerdID.

#include "platform/uiservices.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace supplink {

class frmSelecteerGroepofLeverancier : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelecteerGroepofLeverancier(QWidget* parent = nullptr);

    // Set by OK; cleared by Annuleren.
    bool OKGekozen = false;
    // Cleared by both buttons; nothing reads it.
    bool ExtraVlag = false;

    QLabel* lbUitleg = nullptr;
    QLabel* lbOnderdeel = nullptr;
    QComboBox* cbGroep = nullptr; // each entry's data is its key
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void SetUitleg(const QString& text);
    void SetOnderdeel(const QString& text);
    // Adds the entries to the list and selects the first.
    void VulLijst(const QList<PickOneEntry>& entries);
    // The key of the chosen entry, -1 when none is chosen.
    qint32 GeselecteerdID() const;

public slots:
    void cmdCancel_Click();
    void cmdOK_Click();
};

} // namespace supplink
