#include "wizard/ui/usrstapselectbronbestanden3.h"

#include "sources/clsbron2.h"
#include "sources/ui/frmcolumnselectionwizard.h"
#include "sources/ui/frmtypeselectionwizard.h"
#include "start/sharedroutines.h"
#include "start/ui/modaaltonen.h"
#include "wizard/ui/frmreport.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace supplink {

namespace {

// Margins and gaps of the step, in twips.
constexpr int kRand = 120;
constexpr int kTussenruimte = 60;
// The buttons' smallest width, in twips (as the main window's buttons).
constexpr int kKnopBreedte = 1215;

} // namespace

usrStapSelectBronBestanden3::usrStapSelectBronBestanden3(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrStapSelectBronBestanden"));
    m_model.setVensters(this);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    lvBestanden = new QTreeWidget(Frame2);
    lvBestanden->setObjectName(QStringLiteral("lvBestanden"));
    lvBestanden->setColumnCount(StapSelectBronBestanden::kAantalKolommen);
    lvBestanden->setHeaderLabels(StapSelectBronBestanden::KolomTitels());
    lvBestanden->setRootIsDecorated(false);
    lvBestanden->setUniformRowHeights(true);
    lvBestanden->setAllColumnsShowFocus(true);
    lvBestanden->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvBestanden->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvBestanden->setTextElideMode(Qt::ElideMiddle);
    lvBestanden->header()->setStretchLastSection(false);
    lvBestanden->installEventFilter(this);

    cmdProperties = new QPushButton(QStringLiteral("&Eigenschappen"), Frame2);
    cmdProperties->setObjectName(QStringLiteral("cmdProperties"));
    cmdProperties->setToolTip(QStringLiteral("Toon de eigenschappen van het bestand."));
    cmdSetup = new QPushButton(QStringLiteral("&Import Definitie"), Frame2);
    cmdSetup->setObjectName(QStringLiteral("cmdSetup"));
    cmdSetup->setToolTip(QStringLiteral("Wijzig de kolom indeling voor importeren van het bestand."));
    cmdBlader = new QPushButton(QStringLiteral("&Toevoegen"), Frame2);
    cmdBlader->setObjectName(QStringLiteral("cmdBlader"));
    for (QPushButton* knop : {cmdProperties, cmdSetup, cmdBlader})
        knop->setMinimumWidth(TwipsNaarPixels(kKnopBreedte));

    auto* knoppen = new QHBoxLayout;
    knoppen->setSpacing(TwipsNaarPixels(kTussenruimte));
    knoppen->addStretch(1);
    knoppen->addWidget(cmdProperties);
    knoppen->addWidget(cmdSetup);
    knoppen->addWidget(cmdBlader);
    auto* frameLayout = new QVBoxLayout(Frame2);
    frameLayout->setSpacing(TwipsNaarPixels(kTussenruimte));
    frameLayout->addWidget(lvBestanden, 1);
    frameLayout->addLayout(knoppen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(kRand), TwipsNaarPixels(kTussenruimte), TwipsNaarPixels(kRand), 0);
    layout->addWidget(Frame2);

    connect(cmdBlader, &QPushButton::clicked, &m_model, &StapSelectBronBestanden::cmdBlader_Click);
    connect(cmdSetup, &QPushButton::clicked, &m_model, &StapSelectBronBestanden::cmdSetup_Click);
    connect(cmdProperties, &QPushButton::clicked, &m_model, &StapSelectBronBestanden::cmdProperties_Click);
    connect(&m_model, &StapSelectBronBestanden::LijstGewijzigd, this, &usrStapSelectBronBestanden3::ToonLijst);
    connect(lvBestanden, &QTreeWidget::itemSelectionChanged, this, &usrStapSelectBronBestanden3::SelectieGewijzigd);
    connect(lvBestanden, &QTreeWidget::currentItemChanged, this, &usrStapSelectBronBestanden3::SelectieGewijzigd);
    connect(lvBestanden, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int kolom) {
        if (m_bezig || kolom != 0)
            return;
        m_model.VinkRij(lvBestanden->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(lvBestanden->header(), &QHeaderView::sectionResized, this, [this](int kolom, int, int breedte) {
        if (!m_bezig)
            m_model.ZetKolomBreedte(kolom, PixelsNaarTwips(breedte));
    });
    ToonLijst();
}

usrStapSelectBronBestanden3::~usrStapSelectBronBestanden3() = default;

void usrStapSelectBronBestanden3::ToonLijst()
{
    m_bezig = true;
    const QList<StapSelectBronBestanden::Rij>& rijen = m_model.rijen();
    while (lvBestanden->topLevelItemCount() > rijen.size())
        delete lvBestanden->takeTopLevelItem(lvBestanden->topLevelItemCount() - 1);
    while (lvBestanden->topLevelItemCount() < rijen.size()) {
        auto* item = new QTreeWidgetItem(lvBestanden);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    }
    for (int i = 0; i < rijen.size(); ++i) {
        const StapSelectBronBestanden::Rij& rij = rijen.at(i);
        QTreeWidgetItem* item = lvBestanden->topLevelItem(i);
        item->setText(0, rij.bestand);
        item->setText(1, rij.map);
        item->setText(2, rij.type);
        item->setToolTip(1, rij.map);
        item->setCheckState(0, rij.aangevinkt ? Qt::Checked : Qt::Unchecked);
        item->setSelected(rij.geselecteerd);
    }
    const int huidig = m_model.huidigeRij();
    if (huidig >= 0) {
        lvBestanden->setCurrentItem(lvBestanden->topLevelItem(huidig), 0, QItemSelectionModel::NoUpdate);
        lvBestanden->scrollToItem(lvBestanden->topLevelItem(huidig));
    }
    cmdSetup->setEnabled(m_model.SetupAan());
    ToonKolommen();
    m_bezig = false;
}

void usrStapSelectBronBestanden3::ToonKolommen()
{
    const bool bezig = m_bezig;
    m_bezig = true;
    const QList<int>& breedtes = m_model.kolomBreedtes();
    for (int kolom = 0; kolom < breedtes.size(); ++kolom) {
        if (breedtes.at(kolom) >= 0 && lvBestanden->columnWidth(kolom) != TwipsNaarPixels(breedtes.at(kolom)))
            lvBestanden->setColumnWidth(kolom, TwipsNaarPixels(breedtes.at(kolom)));
    }
    m_bezig = bezig;
}

void usrStapSelectBronBestanden3::SelectieGewijzigd()
{
    if (m_bezig)
        return;
    QList<int> geselecteerd;
    for (int i = 0; i < lvBestanden->topLevelItemCount(); ++i)
        if (lvBestanden->topLevelItem(i)->isSelected())
            geselecteerd << i;
    QTreeWidgetItem* huidig = lvBestanden->currentItem();
    const int rij = huidig && huidig->isSelected() ? lvBestanden->indexOfTopLevelItem(huidig) : -1;
    m_model.ZetSelectie(geselecteerd, rij);
}

bool usrStapSelectBronBestanden3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvBestanden) {
        if (event->type() == QEvent::KeyPress) {
            const auto* toets = static_cast<QKeyEvent*>(event);
            if (toets->key() == Qt::Key_Delete) {
                m_model.ToetsInLijst(toets->key(), toets->modifiers());
                return true;
            }
        } else if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            // A hidden list has no width of its own yet: its columns wait until it is shown.
            if (lvBestanden->isVisible())
                m_model.ZetLijstBreedte(PixelsNaarTwips(lvBestanden->width()));
            ToonKolommen();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool usrStapSelectBronBestanden3::ToonKolomWizard(clsBron2& bron)
{
    frmColumnSelectionWizard venster(window());
    venster.SetFile(&bron);
    ToonModaal(venster);
    return venster.Geaccepteerd;
}

bool usrStapSelectBronBestanden3::ToonTypeWizard(TypeSelectieSoort soort, clsBron2& bron, bool tonen)
{
    std::unique_ptr<frmTypeSelectionWizard> venster;
    switch (soort) {
    case TypeSelectieSoort::Artikelen:
        venster = std::make_unique<frmArticleTypeSelectionWizard>(window());
        break;
    case TypeSelectieSoort::Bibliotheek:
        venster = std::make_unique<frmLibraryTypeSelectionWizard>(window());
        break;
    case TypeSelectieSoort::Sponningfiguren:
        venster = std::make_unique<frmShapeTypeSelectionWizard>(window());
        break;
    }
    venster->SetFile(&bron);
    if (venster->Tonen || tonen)
        ToonModaal(*venster);
    return venster->Geaccepteerd;
}

void usrStapSelectBronBestanden3::ToonRapport(const QString& titel, const QStringList& regels)
{
    frmReport rapport(window());
    rapport.setWindowTitle(titel);
    for (const QString& regel : regels)
        rapport.AddLine(regel);
    ToonModaal(rapport);
}

} // namespace supplink
