#pragma once
// The window in which the user maps the columns of an Excel or CSV source to
// target fields: a preview grid with a drop-down cell above every column, the
// file type, the article or combination type and the skip-first-line tick.
// The mapping itself lives in KolomToewijzing; this window shows it and passes
// the user's choices on. The caller calls SetFile, shows the window modally
// and reads Geaccepteerd.

#include "sources/kolomtoewijzing.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace supplink {

class clsBron2;

class frmColumnSelectionWizard : public QDialog
{
    Q_OBJECT

public:
    explicit frmColumnSelectionWizard(QWidget* parent = nullptr);

    void SetFile(clsBron2* bron);

    // The user chose a field for a header cell (the grid's changed-value event).
    void KopGewijzigd(int kolom, const QString& tekst);
    void cmdOK_Click();
    void cmdAnnuleren_Click();
    void cmdFileAll_Click();

    // Grid rows: 0 is the header record, data records follow.
    static constexpr int kKopRij = 0;

    bool Geaccepteerd = false;
    KolomToewijzing model;

    QLabel* Label1 = nullptr;
    QLineEdit* txtFile = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cbBestandTypes = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cbArtikelTypes = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cbCombiTypes = nullptr;
    QCheckBox* ckNietEersteRijImporteren = nullptr;
    QTableWidget* wndReport = nullptr;
    QPushButton* cmdFileAll = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdAnnuleren = nullptr;

    // The drop-down of a header cell.
    QComboBox* KopKeuze(int kolom) const;

protected:
    void done(int result) override;

private:
    void cbBestandTypes_Click(int index);
    void VulGrid();
    void VulDataRijen();
    void ToonKoppen();
    void ToonTypes();
    void KleurEersteRegel();

    clsBron2* m_bron = nullptr;
    bool m_bezig = false; // the window itself is changing controls
};

} // namespace supplink
