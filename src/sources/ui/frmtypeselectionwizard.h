#pragma once
// The common window of the three type-selection dialogs: a list of types with
// their counts and check boxes, OK and Annuleren. The counting and the choice
// live in TypeSelectieModel. The caller calls SetFile, shows the window
// modally only when Tonen is set, and reads Geaccepteerd.

#include "sources/typeselectie.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace supplink {

class clsBron2;

class frmTypeSelectionWizard : public QDialog
{
    Q_OBJECT

public:
    ~frmTypeSelectionWizard() override;

    // Counts and decides Tonen and Geaccepteerd. A counting failure of an article or groove-shape
    // source, and a stored choice that is no whole number, throw AppError to the caller.
    void SetFile(clsBron2* bron);
    void cmdOK_Click();
    void cmdAnnuleren_Click();

    bool Tonen = false;
    bool Geaccepteerd = false;
    qint32 AantalGevonden = 0;

    QListWidget* lbTypes = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdAnnuleren = nullptr;

    const TypeSelectieModel& model() const { return m_model; }

protected:
    frmTypeSelectionWizard(TypeSelectieSoort soort, const QString& naam, QSize binnenTwips, QWidget* parent);

private:
    void VulLijst();
    void ZetOKStatus();
    // Widens the window for the list's longest line (within the screen).
    void PasBreedteAan();

    TypeSelectieModel m_model;
    clsBron2* m_bron = nullptr;
    bool m_bezig = false;
};

class frmArticleTypeSelectionWizard : public frmTypeSelectionWizard
{
    Q_OBJECT
public:
    explicit frmArticleTypeSelectionWizard(QWidget* parent = nullptr)
        : frmTypeSelectionWizard(TypeSelectieSoort::Artikelen,
                                 QStringLiteral("frmArticleTypeSelectionWizard"), QSize(4068, 3192), parent)
    {
    }
};

class frmLibraryTypeSelectionWizard : public frmTypeSelectionWizard
{
    Q_OBJECT
public:
    explicit frmLibraryTypeSelectionWizard(QWidget* parent = nullptr)
        : frmTypeSelectionWizard(TypeSelectieSoort::Bibliotheek,
                                 QStringLiteral("frmLibraryTypeSelectionWizard"), QSize(4065, 3195), parent)
    {
    }
};

class frmShapeTypeSelectionWizard : public frmTypeSelectionWizard
{
    Q_OBJECT
public:
    explicit frmShapeTypeSelectionWizard(QWidget* parent = nullptr)
        : frmTypeSelectionWizard(TypeSelectieSoort::Sponningfiguren,
                                 QStringLiteral("frmShapeTypeSelectionWizard"), QSize(4068, 3192), parent)
    {
    }
};

} // namespace supplink
