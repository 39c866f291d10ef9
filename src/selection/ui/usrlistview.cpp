#include "selection/ui/usrlistview.h"

#include "selection/selectielijst.h"
#include "start/sharedroutines.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace supplink {

usrListView::usrListView(SelectieLijst& lijst, QWidget* parent) : QWidget(parent), m_lijst(lijst)
{
    lv = new QTreeView(this);
    lv->setObjectName(QStringLiteral("lv"));
    lv->setRootIsDecorated(false);
    lv->setUniformRowHeights(true);
    lv->setAllColumnsShowFocus(true);
    lv->setSelectionMode(QAbstractItemView::SingleSelection);
    lv->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv->setModel(&m_lijst);
    lv->header()->setSectionsClickable(true);
    lv->header()->setSortIndicatorShown(true);
    lv->header()->setStretchLastSection(false);
    lv->viewport()->installEventFilter(this);

    cmdSelAlles = new QPushButton(QStringLiteral("&Alles Selecteren"), this);
    cmdSelNiets = new QPushButton(QStringLiteral("&Niets Selecteren"), this);
    cmdSelOmdraaien = new QPushButton(QStringLiteral("&Selectie Omdraaien"), this);
    cmdSelAlles->setObjectName(QStringLiteral("cmdSelAlles"));
    cmdSelNiets->setObjectName(QStringLiteral("cmdSelNiets"));
    cmdSelOmdraaien->setObjectName(QStringLiteral("cmdSelOmdraaien"));

    popupSel = new QMenu(QStringLiteral("Selectie"), this);
    popupSel->setObjectName(QStringLiteral("popupSel"));
    popupSelAlles = popupSel->addAction(QStringLiteral("Alles Selecteren"));
    popupSelNiets = popupSel->addAction(QStringLiteral("Niets Selecteren"));
    popupSelOmdraaien = popupSel->addAction(QStringLiteral("Selectie Omdraaien"));

    // The list takes the width; the buttons sit in one row below it.
    auto* knoppen = new QHBoxLayout;
    knoppen->setContentsMargins(0, 0, 0, 0);
    knoppen->setSpacing(TwipsNaarPixels(30));
    knoppen->addWidget(cmdSelAlles);
    knoppen->addWidget(cmdSelNiets);
    knoppen->addWidget(cmdSelOmdraaien);
    knoppen->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(TwipsNaarPixels(60));
    layout->addWidget(lv, 1);
    layout->addLayout(knoppen);

    const auto alles = [this] { Batch([this] { m_lijst.AllesSelecteren(); }); };
    const auto niets = [this] { Batch([this] { m_lijst.NietsSelecteren(); }); };
    const auto omdraaien = [this] { Batch([this] { m_lijst.SelectieOmdraaien(); }); };
    connect(cmdSelAlles, &QPushButton::clicked, this, alles);
    connect(cmdSelNiets, &QPushButton::clicked, this, niets);
    connect(cmdSelOmdraaien, &QPushButton::clicked, this, omdraaien);
    connect(popupSelAlles, &QAction::triggered, this, alles);
    connect(popupSelNiets, &QAction::triggered, this, niets);
    connect(popupSelOmdraaien, &QAction::triggered, this, omdraaien);

    connect(lv->header(), &QHeaderView::sectionClicked, this, [this](int kolom) { m_lijst.KolomKlik(kolom); });
    connect(lv->header(), &QHeaderView::sectionResized, this, [this](int kolom, int, int breedte) {
        if (!m_toonKolommen && !m_reset) {
            m_lijst.ZetKolomBreedte(kolom, PixelsNaarTwips(breedte));
            PasOmschrijvingAan();
        }
    });
    connect(lv, &QTreeView::clicked, this, [this](const QModelIndex& index) { m_lijst.Klik(index.row()); });
    connect(lv, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { m_lijst.Omschakelen(index.row()); });
    // Moving through the rows with the keyboard shows them as a click does; a mouse click reports itself.
    connect(lv->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& huidig) {
                if (!m_toonHuidig && !m_muis && huidig.isValid())
                    m_lijst.Klik(huidig.row());
            });
    connect(&m_lijst, &SelectieLijst::KolommenGewijzigd, this, &usrListView::ToonKolommen);
    // A reset of the model gives the header its default widths: the model's come back at once, and the
    // header's own are not taken for the user's.
    connect(&m_lijst, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_reset = true; });
    connect(&m_lijst, &QAbstractItemModel::modelReset, this, [this] {
        m_reset = false;
        ToonKolommen();
    });
    connect(&m_lijst, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int van, int tot) { PasCodeKolomAan(van, tot); });
    connect(&m_lijst, &SelectieLijst::HuidigeRijGewijzigd, this, &usrListView::ToonHuidigeRij);
    ToonKolommen();
}

template <class Actie>
void usrListView::Batch(Actie actie)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    actie();
    QApplication::restoreOverrideCursor();
}

void usrListView::ToonKolommen()
{
    const QScopedValueRollback<bool> bezig(m_toonKolommen, true);
    for (int kolom = 0; kolom < m_lijst.columnCount(); ++kolom)
        lv->header()->resizeSection(kolom, TwipsNaarPixels(m_lijst.KolomBreedte(kolom)));
    lv->header()->setSortIndicator(m_lijst.SorteerKolom(),
                                   m_lijst.SorteerVolgorde() == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (m_lijst.columnCount() > 0 && !m_lijst.KolomBreedteGekozen(0)) {
        // The default width (the model's own until rows are measured), then as wide as the codes need.
        m_lijst.ZetPassendeBreedte(0, SelectieLijst::Kolommen().at(0).breedte);
        lv->header()->resizeSection(0, TwipsNaarPixels(m_lijst.KolomBreedte(0)));
        PasCodeKolomAan(0, m_lijst.RijAantal() - 1);
    }
    PasOmschrijvingAan();
}

void usrListView::PasCodeKolomAan(int van, int tot)
{
    if (m_lijst.columnCount() == 0 || m_lijst.KolomBreedteGekozen(0) || van > tot)
        return;
    // Measured in bold, as a row may turn bold later.
    QFont vet = lv->font();
    vet.setBold(true);
    const QFontMetrics maat(vet);
    int breedste = -1;
    int tekst = 0;
    for (int rij = van; rij <= tot; ++rij) {
        const int breedte = maat.horizontalAdvance(m_lijst.Rij(rij).Code);
        if (breedte > tekst) {
            tekst = breedte;
            breedste = rij;
        }
    }
    if (breedste < 0)
        return;
    // The cell's own size hint adds the check box and the margins to the row's text.
    QFont eigen = lv->font();
    eigen.setBold(m_lijst.Rij(breedste).Vet);
    const int nodig = lv->sizeHintForIndex(m_lijst.index(breedste, 0)).width() + tekst -
                      QFontMetrics(eigen).horizontalAdvance(m_lijst.Rij(breedste).Code);
    if (nodig <= lv->header()->sectionSize(0))
        return;
    const QScopedValueRollback<bool> bezig(m_toonKolommen, true);
    lv->header()->resizeSection(0, nodig);
    m_lijst.ZetPassendeBreedte(0, PixelsNaarTwips(nodig));
    PasOmschrijvingAan();
}

void usrListView::PasOmschrijvingAan()
{
    constexpr int kOmschrijving = 1;
    if (m_lijst.columnCount() <= kOmschrijving || m_lijst.KolomBreedteGekozen(kOmschrijving))
        return;
    const QHeaderView* kop = lv->header();
    int anderen = 0;
    for (int kolom = 0; kolom < kop->count(); ++kolom) {
        if (kolom != kOmschrijving && !kop->isSectionHidden(kolom))
            anderen += kop->sectionSize(kolom);
    }
    const int standaard = TwipsNaarPixels(SelectieLijst::Kolommen().at(kOmschrijving).breedte);
    const int breedte = std::max(standaard, lv->viewport()->width() - anderen);
    if (breedte == kop->sectionSize(kOmschrijving))
        return;
    const QScopedValueRollback<bool> bezig(m_toonKolommen, true);
    lv->header()->resizeSection(kOmschrijving, breedte);
    m_lijst.ZetPassendeBreedte(kOmschrijving, PixelsNaarTwips(breedte));
}

void usrListView::ToonHuidigeRij(int rij)
{
    const QScopedValueRollback<bool> bezig(m_toonHuidig, true);
    if (rij < 0) {
        lv->selectionModel()->clearCurrentIndex();
        return;
    }
    const QModelIndex index = m_lijst.index(rij, 0);
    lv->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lv->scrollTo(index);
}

bool usrListView::eventFilter(QObject* object, QEvent* event)
{
    if (object == lv->viewport()) {
        switch (event->type()) {
        case QEvent::Resize:
            // A wider or narrower list (the window, the splitter, a scroll bar that comes or goes).
            PasOmschrijvingAan();
            break;
        case QEvent::MouseButtonPress:
            m_muis = true;
            break;
        case QEvent::MouseButtonRelease: {
            m_muis = false;
            // The popup opens when the right mouse button is released over the list.
            const auto* muis = static_cast<QMouseEvent*>(event);
            if (muis->button() == Qt::RightButton) {
                popupSel->popup(muis->globalPosition().toPoint());
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(object, event);
}

} // namespace supplink
