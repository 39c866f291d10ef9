#pragma once
// The pick-one dialog: a small window in which the user chooses one entry,
// an article group or a supplier, from a list filled from a recordset. The
// caller sets the caption, the explanation and the list's label, fills the
// list with VulLijst, shows the window modally (ToonModaal), and reads
// OKGekozen and, when it is set, GeselecteerdID.

#include "database/databasebackend.h"

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
    // Fills the list: "<Geen>" with key -1 first when asked, then one entry per row (text field, key field);
    // selects the first entry. Rows that cannot be read are left out. False (reported) without a recordset.
    bool VulLijst(const RecordsetPtr& recordset, const QString& textField, const QString& keyField,
                  bool metGeen);
    // The key of the chosen entry, -1 when none is chosen.
    qint32 GeselecteerdID() const;

public slots:
    void cmdCancel_Click();
    void cmdOK_Click();
};

} // namespace supplink
