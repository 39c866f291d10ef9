#include "sources/ui/frmtypeselectionwizard.h"

#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/sharedroutines.h"
#include "start/ui/formstate.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace supplink {

frmTypeSelectionWizard::frmTypeSelectionWizard(TypeSelectieSoort soort, const QString& naam,
                                               QSize binnenTwips, QWidget* parent)
    : QDialog(parent), m_model(soort)
{
    setObjectName(naam);
    lbTypes = new QListWidget(this);
    lbTypes->setSortingEnabled(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdAnnuleren = new QPushButton(QStringLiteral("Annuleren"), this);
    for (QPushButton* knop : {cmdOK, cmdAnnuleren})
        knop->setFixedSize(1200 / TwipsPerPixel, 315 / TwipsPerPixel);
    cmdOK->setEnabled(false);

    auto* knoppen = new QHBoxLayout;
    knoppen->addStretch();
    knoppen->addWidget(cmdOK);
    knoppen->addWidget(cmdAnnuleren);
    auto* hoofd = new QVBoxLayout(this);
    hoofd->setContentsMargins(0, 0, 4, 4);
    hoofd->addWidget(lbTypes, 1);
    hoofd->addLayout(knoppen);
    resize(binnenTwips / TwipsPerPixel);

    connect(lbTypes, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_bezig)
            return;
        m_model.ZetVinkje(lbTypes->row(item), item->checkState() == Qt::Checked);
        ZetOKStatus();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmTypeSelectionWizard::cmdOK_Click);
    connect(cmdAnnuleren, &QPushButton::clicked, this, &frmTypeSelectionWizard::cmdAnnuleren_Click);

    CentreerForm(this);
    LoadFormState(this);
}

frmTypeSelectionWizard::~frmTypeSelectionWizard()
{
    SaveFormState(this);
}

void frmTypeSelectionWizard::SetFile(clsBron2* bron)
{
    m_bron = bron;
    if (!bron)
        return;
    setWindowTitle(TypeSelectieModel::TitelVoorvoegsel(m_model.soort()) + bron->BestandsNaam);
    try {
        m_model.SetFile(*bron);
    } catch (...) {
        AantalGevonden = m_model.AantalGevonden;
        VulLijst();
        throw;
    }
    Tonen = m_model.Tonen;
    Geaccepteerd = m_model.Geaccepteerd;
    AantalGevonden = m_model.AantalGevonden;
    VulLijst();
}

void frmTypeSelectionWizard::VulLijst()
{
    m_bezig = true;
    lbTypes->clear();
    for (const TypeRij& rij : m_model.rijen) {
        auto* item = new QListWidgetItem(rij.tekst, lbTypes);
        item->setData(Qt::UserRole, rij.nummer);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(rij.aangevinkt ? Qt::Checked : Qt::Unchecked);
    }
    m_bezig = false;
    ZetOKStatus();
    PasBreedteAan();
}

void frmTypeSelectionWizard::PasBreedteAan()
{
    // Wide enough for the longest line, the list's frame and a scroll bar, within the screen; a window that
    // is wider already (a size the user left it at) stays so.
    const QMargins marges = layout() ? layout()->contentsMargins() : QMargins();
    const int nodig = lbTypes->sizeHintForColumn(0) + 2 * lbTypes->frameWidth() +
                      lbTypes->verticalScrollBar()->sizeHint().width() + marges.left() + marges.right();
    int breedte = qMax(width(), nodig);
    QRect ruimte;
    if (const QScreen* scherm = screen()) {
        ruimte = scherm->availableGeometry();
        breedte = qMin(breedte, ruimte.width());
    }
    if (breedte <= width())
        return;
    const int groei = breedte - width();
    resize(breedte, height());
    // Grown on both sides, as it was centred, and kept on the screen.
    int links = x() - groei / 2;
    if (ruimte.isValid())
        links = qBound(ruimte.left(), links, ruimte.right() + 1 - breedte);
    move(links, y());
}

void frmTypeSelectionWizard::ZetOKStatus()
{
    cmdOK->setEnabled(m_model.OKMogelijk());
}

void frmTypeSelectionWizard::cmdOK_Click()
{
    if (m_bron) {
        try {
            m_model.UpdateBron(*m_bron);
        } catch (const std::exception& error) {
            ShowError(QStringLiteral("UpdateBron"), error);
        }
    }
    Geaccepteerd = true;
    hide();
}

void frmTypeSelectionWizard::cmdAnnuleren_Click()
{
    Geaccepteerd = false;
    hide();
}

} // namespace supplink
