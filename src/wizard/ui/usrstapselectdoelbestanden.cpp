#include "wizard/ui/usrstapselectdoelbestanden.h"

#include "database/ui/frmqplsqlconnectiesettings.h"
#include "start/sharedroutines.h"
#include "start/ui/modaaltonen.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace supplink {

namespace {

// Margins and gaps of the step, in twips.
constexpr int kRand = 120;
constexpr int kTussenruimte = 60;
// The buttons' smallest width, in twips (as the main window's buttons).
constexpr int kKnopBreedte = 1215;
// What the "Historie" column leaves free of its list's width, in twips.
constexpr int kHistorieRand = 60;

QTreeWidget* MaakLijst(QWidget* parent, const QString& naam, const QStringList& kolommen)
{
    auto* lijst = new QTreeWidget(parent);
    lijst->setObjectName(naam);
    lijst->setColumnCount(int(kolommen.size()));
    lijst->setHeaderLabels(kolommen);
    lijst->setRootIsDecorated(false);
    lijst->setUniformRowHeights(true);
    lijst->setAllColumnsShowFocus(true);
    lijst->setSelectionMode(QAbstractItemView::SingleSelection);
    lijst->setSelectionBehavior(QAbstractItemView::SelectRows);
    lijst->header()->setStretchLastSection(false);
    return lijst;
}

// Fills a list with one row per text (first column), keeping the rows it has.
void VulRijen(QTreeWidget* lijst, const QList<QStringList>& rijen, int huidig)
{
    while (lijst->topLevelItemCount() > rijen.size())
        delete lijst->takeTopLevelItem(lijst->topLevelItemCount() - 1);
    while (lijst->topLevelItemCount() < rijen.size())
        new QTreeWidgetItem(lijst);
    for (int i = 0; i < rijen.size(); ++i) {
        QTreeWidgetItem* item = lijst->topLevelItem(i);
        for (int kolom = 0; kolom < rijen.at(i).size(); ++kolom) {
            item->setText(kolom, rijen.at(i).at(kolom));
            item->setToolTip(kolom, rijen.at(i).at(kolom));
        }
    }
    if (huidig >= 0 && huidig < lijst->topLevelItemCount()) {
        lijst->setCurrentItem(lijst->topLevelItem(huidig));
        lijst->scrollToItem(lijst->topLevelItem(huidig));
    } else {
        lijst->clearSelection();
        lijst->setCurrentItem(nullptr);
    }
}

} // namespace

usrStapSelectDoelBestanden::usrStapSelectDoelBestanden(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrStapSelectDoelBestanden"));
    m_model.setVensters(this);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Splitter1 = new QSplitter(Qt::Vertical, Frame2);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    lv = MaakLijst(Splitter1, QStringLiteral("lv"), StapSelectDoelBestanden::KolomTitels());
    lv->setTextElideMode(Qt::ElideMiddle);
    Splitter2 = new QSplitter(Qt::Horizontal, Splitter1);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setChildrenCollapsible(false);
    lvHistory = MaakLijst(Splitter2, QStringLiteral("lvHistory"), {QStringLiteral("Historie")});
    // Runs differ at the end of their description: their date and time stay in sight.
    lvHistory->setTextElideMode(Qt::ElideLeft);
    rtOms = new QPlainTextEdit(Splitter2);
    rtOms->setObjectName(QStringLiteral("rtOms"));
    rtOms->setReadOnly(true);
    rtOms->setLineWrapMode(QPlainTextEdit::NoWrap);

    cmdVerbind = new QPushButton(QStringLiteral("&Verbinden"), Frame2);
    cmdVerbind->setObjectName(QStringLiteral("cmdVerbind"));
    cmdBlader = new QPushButton(QStringLiteral("&Bladeren"), Frame2);
    cmdBlader->setObjectName(QStringLiteral("cmdBlader"));
    for (QPushButton* knop : {cmdVerbind, cmdBlader})
        knop->setMinimumWidth(TwipsNaarPixels(kKnopBreedte));

    auto* knoppen = new QHBoxLayout;
    knoppen->setSpacing(TwipsNaarPixels(kTussenruimte));
    knoppen->addStretch(1);
    knoppen->addWidget(cmdVerbind);
    knoppen->addWidget(cmdBlader);
    auto* frameLayout = new QVBoxLayout(Frame2);
    frameLayout->setSpacing(TwipsNaarPixels(kTussenruimte));
    frameLayout->addWidget(Splitter1, 1);
    frameLayout->addLayout(knoppen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(kRand), TwipsNaarPixels(kTussenruimte), TwipsNaarPixels(kRand), 0);
    layout->addWidget(Frame2);

    lv->installEventFilter(this);
    lvHistory->installEventFilter(this);
    Splitter1->installEventFilter(this);
    Splitter2->installEventFilter(this);

    connect(&m_model, &StapSelectDoelBestanden::Gewijzigd, this, &usrStapSelectDoelBestanden::Toon);
    connect(cmdBlader, &QPushButton::clicked, &m_model, &StapSelectDoelBestanden::cmdBlader_Click);
    connect(cmdVerbind, &QPushButton::clicked, &m_model, &StapSelectDoelBestanden::cmdVerbind_Click);
    connect(lv, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_bezig)
            return;
        const QList<QTreeWidgetItem*> gekozen = lv->selectedItems();
        m_model.KlikRij(gekozen.isEmpty() ? -1 : lv->indexOfTopLevelItem(gekozen.first()));
    });
    connect(lv, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { m_model.DubbelKlikRij(lv->indexOfTopLevelItem(item)); });
    connect(lvHistory, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_bezig)
            return;
        const QList<QTreeWidgetItem*> gekozen = lvHistory->selectedItems();
        m_model.KlikHistorie(gekozen.isEmpty() ? -1 : lvHistory->indexOfTopLevelItem(gekozen.first()));
    });
    connect(lv->header(), &QHeaderView::sectionResized, this, [this](int kolom, int, int breedte) {
        if (!m_bezig)
            m_model.ZetKolomBreedte(kolom, PixelsNaarTwips(breedte));
    });
    for (QSplitter* splitter : {Splitter1, Splitter2}) {
        connect(splitter, &QSplitter::splitterMoved, this, [this, splitter] {
            const QList<int> maten = splitter->sizes();
            const int totaal = maten.value(0) + maten.value(1);
            if (totaal > 0)
                m_model.ZetSplitterPositie(splitter == Splitter1 ? 1 : 2, (maten.value(0) * 100 + totaal / 2) / totaal);
            ZetHistorieKolom();
        });
    }
    Toon();
}

usrStapSelectDoelBestanden::~usrStapSelectDoelBestanden() = default;

void usrStapSelectDoelBestanden::Toon()
{
    m_bezig = true;
    QList<QStringList> rijen;
    for (const StapSelectDoelBestanden::Rij& rij : m_model.rijen())
        rijen << QStringList{rij.soort, rij.bestand};
    VulRijen(lv, rijen, m_model.huidigeRij());
    QList<QStringList> historie;
    for (const StapSelectDoelBestanden::HistorieRij& rij : m_model.historie())
        historie << QStringList{rij.tekst};
    VulRijen(lvHistory, historie, m_model.huidigeHistorie());
    if (rtOms->toPlainText() != m_model.Omschrijving())
        rtOms->setPlainText(m_model.Omschrijving());
    cmdBlader->setEnabled(m_model.BladerAan());
    cmdVerbind->setEnabled(m_model.VerbindAan());
    ToonKolommen();
    ToonSplitters();
    m_bezig = false;
}

void usrStapSelectDoelBestanden::ToonKolommen()
{
    const bool bezig = m_bezig;
    m_bezig = true;
    const QList<int>& breedtes = m_model.kolomBreedtes();
    for (int kolom = 0; kolom < breedtes.size(); ++kolom) {
        if (breedtes.at(kolom) >= 0 && lv->columnWidth(kolom) != TwipsNaarPixels(breedtes.at(kolom)))
            lv->setColumnWidth(kolom, TwipsNaarPixels(breedtes.at(kolom)));
    }
    m_bezig = bezig;
}

void usrStapSelectDoelBestanden::ToonSplitters()
{
    ToonSplitter(Splitter1);
    ToonSplitter(Splitter2);
}

void usrStapSelectDoelBestanden::ToonSplitter(QSplitter* splitter)
{
    const int totaal = (splitter->orientation() == Qt::Vertical ? splitter->height() : splitter->width()) -
                       splitter->handleWidth();
    if (totaal <= 0)
        return;
    const int eerste = totaal * m_model.SplitterPositie(splitter == Splitter1 ? 1 : 2) / 100;
    splitter->setSizes({eerste, totaal - eerste});
    if (splitter == Splitter2)
        ZetHistorieKolom();
}

void usrStapSelectDoelBestanden::ZetHistorieKolom()
{
    lvHistory->setColumnWidth(0, qMax(0, lvHistory->width() - TwipsNaarPixels(kHistorieRand)));
}

bool usrStapSelectDoelBestanden::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        if (watched == lv) {
            // A hidden list has no width of its own yet: its columns wait until it is shown.
            if (lv->isVisible())
                m_model.ZetLijstBreedte(PixelsNaarTwips(lv->width()));
            ToonKolommen();
        } else if (watched == lvHistory) {
            ZetHistorieKolom();
        } else if (watched == Splitter1 || watched == Splitter2) {
            ToonSplitter(static_cast<QSplitter*>(watched));
        }
    } else if (event->type() == QEvent::KeyPress && watched == lvHistory) {
        const auto* toets = static_cast<QKeyEvent*>(event);
        if (toets->key() == Qt::Key_Delete) {
            m_model.ToetsInHistorie(toets->key(), toets->modifiers());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<QString> usrStapSelectDoelBestanden::ToonSqlServerDialoog(const QString& sqlAuthenticatie)
{
    frmQplSQLConnectieSettings venster(window());
    venster.setSQLAuth(sqlAuthenticatie);
    venster.TonenProgrammaSettings(true);
    ToonModaal(venster);
    if (!venster.OKGekozen)
        return std::nullopt;
    return venster.SQLAuth();
}

} // namespace supplink
