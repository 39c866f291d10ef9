#include "selection/ui/usrinformatielinks.h"

#include "selection/informatiepaneel.h"
#include "selection/ui/usrprofilepreview.h"
#include "start/sharedroutines.h"

#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace supplink {

namespace {

constexpr QRgb kLinkKleur = 0xff0000ff; // blue

QVBoxLayout* FrameLayout(QFrame* frame)
{
    auto* layout = new QVBoxLayout(frame);
    const int rand = TwipsNaarPixels(60);
    layout->setContentsMargins(rand, rand, rand, rand);
    layout->setSpacing(TwipsNaarPixels(60));
    return layout;
}

} // namespace

usrInformatieLinks::usrInformatieLinks(InformatiePaneel& paneel, QWidget* parent)
    : QWidget(parent), m_paneel(paneel)
{
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    fraOmschrijving = new QFrame(Splitter1);
    fraOmschrijving->setFrameShape(QFrame::StyledPanel);
    rtOms = new QTextEdit(fraOmschrijving);
    rtOms->setObjectName(QStringLiteral("rtOms"));
    rtOms->setReadOnly(true);
    FrameLayout(fraOmschrijving)->addWidget(rtOms);

    fraLinks = new QFrame(Splitter1);
    fraLinks->setFrameShape(QFrame::StyledPanel);
    lvLinks = new QTreeWidget(fraLinks);
    lvLinks->setObjectName(QStringLiteral("lvLinks"));
    lvLinks->setColumnCount(2);
    lvLinks->setHeaderLabels({QStringLiteral("Documentatie"), QStringLiteral("Adres")});
    lvLinks->setRootIsDecorated(false);
    lvLinks->setSelectionMode(QAbstractItemView::SingleSelection);
    lvLinks->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvLinks->setAllColumnsShowFocus(true);
    lvLinks->header()->resizeSection(0, TwipsNaarPixels(2000));
    lvLinks->header()->setStretchLastSection(true);
    lvLinks->setTextElideMode(Qt::ElideMiddle);
    lvLinks->installEventFilter(this);
    cmdOpen = new QPushButton(QStringLiteral("Open"), fraLinks);
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    QVBoxLayout* links = FrameLayout(fraLinks);
    links->addWidget(lvLinks, 1);
    links->addWidget(cmdOpen, 0, Qt::AlignRight);

    // The preview takes the links' place in the groove-figure step; until then it is not shown.
    fraPreview = new QFrame(this);
    fraPreview->setFrameShape(QFrame::StyledPanel);
    fraPreview->hide();
    Preview = new usrProfilePreview(fraPreview);
    Preview->setObjectName(QStringLiteral("Preview"));
    FrameLayout(fraPreview)->addWidget(Preview);

    Splitter1->addWidget(fraOmschrijving);
    Splitter1->addWidget(fraLinks);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    connect(&m_paneel, &InformatiePaneel::OmschrijvingGewijzigd, this,
            [this] { rtOms->setPlainText(m_paneel.Omschrijving()); });
    connect(&m_paneel, &InformatiePaneel::LinksGewijzigd, this, &usrInformatieLinks::ToonLinks);
    connect(&m_paneel, &InformatiePaneel::KeuzeGewijzigd, this, &usrInformatieLinks::ToonKeuze);
    connect(&m_paneel, &InformatiePaneel::PreviewGekozen, this, &usrInformatieLinks::ToonPreviewVorm);
    connect(&m_paneel, &InformatiePaneel::ProfielGewijzigd, this, &usrInformatieLinks::ToonProfiel);
    connect(lvLinks, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_toonLinks)
            m_paneel.KiesLink(item ? lvLinks->indexOfTopLevelItem(item) : -1);
    });
    connect(lvLinks, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { m_paneel.KiesLink(lvLinks->indexOfTopLevelItem(item)); });
    connect(lvLinks, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_paneel.KiesLink(lvLinks->indexOfTopLevelItem(item));
        m_paneel.Openen();
    });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { m_paneel.Openen(); });

    rtOms->setPlainText(m_paneel.Omschrijving());
    ToonLinks();
    if (m_paneel.IsPreview())
        ToonPreviewVorm();
}

void usrInformatieLinks::ToonLinks()
{
    const QScopedValueRollback<bool> bezig(m_toonLinks, true);
    lvLinks->clear();
    QFont vet = lvLinks->font();
    vet.setBold(true);
    for (const DocumentatieLink& link : m_paneel.Links()) {
        auto* item = new QTreeWidgetItem(lvLinks, {link.Naam, link.Doel});
        item->setFont(0, vet);
        item->setForeground(0, QColor::fromRgb(kLinkKleur));
        // The panel is narrow: the whole target shows when the pointer rests on the row.
        item->setToolTip(0, link.Doel);
        item->setToolTip(1, link.Doel);
    }
    if (!m_paneel.Links().isEmpty()) {
        lvLinks->resizeColumnToContents(0);
        lvLinks->header()->resizeSection(
            0, std::min(lvLinks->header()->sectionSize(0), lvLinks->viewport()->width() * 3 / 5));
    }
    lvLinks->setToolTip(m_paneel.LinksToolTip());
    ToonKeuze();
}

void usrInformatieLinks::ToonKeuze()
{
    const QScopedValueRollback<bool> bezig(m_toonLinks, true);
    QTreeWidgetItem* gekozen = lvLinks->topLevelItem(m_paneel.GekozenLink());
    if (lvLinks->currentItem() != gekozen)
        lvLinks->setCurrentItem(gekozen);
    cmdOpen->setEnabled(m_paneel.OpenAan());
}

void usrInformatieLinks::ToonPreviewVorm()
{
    if (Splitter1->indexOf(fraPreview) >= 0)
        return;
    // The splitter lets go of the link frame it hands back: this panel keeps it (hidden), so that it is
    // deleted with the panel.
    QWidget* links = Splitter1->replaceWidget(1, fraPreview);
    if (links) {
        links->setParent(this);
        links->hide();
    }
    fraPreview->show();
    // The drawing needs the room; the description of a figure is one line: it keeps a quarter.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 3);
    const int hoogte = std::max(Splitter1->height(), TwipsNaarPixels(6000));
    Splitter1->setSizes({hoogte / 4, hoogte - hoogte / 4});
}

void usrInformatieLinks::ToonProfiel()
{
    // The panel shows the figure clicked or ticked last: the picture is drawn anew with it.
    Preview->Profile(m_paneel.Profiel());
    if (Preview->DrawLabels())
        Preview->DoDrawing();
    else
        Preview->DrawLabels(true);
}

bool usrInformatieLinks::eventFilter(QObject* object, QEvent* event)
{
    if (object == lvLinks && event->type() == QEvent::KeyPress) {
        const auto* toets = static_cast<QKeyEvent*>(event);
        if (toets->key() == Qt::Key_C && (toets->modifiers() & Qt::ControlModifier)) {
            if (m_paneel.GekozenLink() >= 0) {
                QClipboard* klembord = QGuiApplication::clipboard();
                klembord->clear();
                klembord->setText(m_paneel.KopieerTekst());
            }
            return true;
        }
    }
    return QWidget::eventFilter(object, event);
}

} // namespace supplink
