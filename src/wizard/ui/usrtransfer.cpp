#include "wizard/ui/usrtransfer.h"

#include "start/sharedroutines.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace supplink {

namespace {
// The "Soort" column, in twips.
constexpr int kSoortKolom = 2000;
} // namespace

usrTransfer::usrTransfer(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrTransfer"));
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);

    lvStatus = new QTreeWidget(Frame2);
    lvStatus->setObjectName(QStringLiteral("lvStatus"));
    lvStatus->setColumnCount(2);
    lvStatus->setHeaderLabels({QStringLiteral("Soort"), QStringLiteral("Waarde")});
    lvStatus->setRootIsDecorated(false);
    lvStatus->setSelectionMode(QAbstractItemView::NoSelection);
    lvStatus->setFocusPolicy(Qt::NoFocus);
    lvStatus->header()->setStretchLastSection(true);

    ProgressBar1 = new QProgressBar(Frame2);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar2 = new QProgressBar(Frame2);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setTextVisible(false);
    Label1 = new QLabel(Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdAnnuleren = new QPushButton(QStringLiteral("Annuleren"), Frame2);
    cmdAnnuleren->setObjectName(QStringLiteral("cmdAnnuleren"));
    cmdAnnuleren->setMinimumWidth(TwipsNaarPixels(1215));

    auto* onder = new QHBoxLayout;
    onder->addWidget(Label1, 1);
    onder->addWidget(cmdAnnuleren);
    auto* frame = new QVBoxLayout(Frame2);
    frame->addWidget(lvStatus, 1);
    frame->addWidget(ProgressBar1);
    frame->addWidget(ProgressBar2);
    frame->addLayout(onder);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120));
    layout->addWidget(Frame2);

    TransferToestand& toestand = m_model.Toestand();
    connect(&toestand, &TransferToestand::RijGewijzigd, this, &usrTransfer::ToonRij);
    connect(&toestand, &TransferToestand::RijenGewijzigd, this, &usrTransfer::ToonRijen);
    connect(&toestand, &TransferToestand::VoortgangGewijzigd, this, &usrTransfer::ToonVoortgang);
    connect(&toestand, &TransferToestand::AnnulerenGewijzigd, cmdAnnuleren, &QWidget::setVisible);
    connect(cmdAnnuleren, &QPushButton::clicked, &m_model, &StapTransfer::Annuleren);
    ToonRijen();
    ToonVoortgang();
    cmdAnnuleren->setVisible(toestand.AnnulerenZichtbaar());
}

usrTransfer::~usrTransfer() = default;

void usrTransfer::ToonRijen()
{
    const QList<StatusRij>& rijen = m_model.Toestand().Rijen();
    lvStatus->clear();
    for (const StatusRij& rij : rijen)
        lvStatus->addTopLevelItem(new QTreeWidgetItem(QStringList{rij.tekst, rij.waarde}));
    // 2000 twips, or wider where the row texts need it in the user's font.
    lvStatus->resizeColumnToContents(0);
    lvStatus->setColumnWidth(0, qMax(TwipsNaarPixels(kSoortKolom), lvStatus->columnWidth(0)));
}

void usrTransfer::ToonRij(int i)
{
    const QList<StatusRij>& rijen = m_model.Toestand().Rijen();
    if (QTreeWidgetItem* item = lvStatus->topLevelItem(i); item && i < rijen.size())
        item->setText(1, rijen.at(i).waarde);
}

void usrTransfer::ToonVoortgang()
{
    const TransferToestand& toestand = m_model.Toestand();
    ProgressBar1->setMaximum(toestand.Rijenbalk().maximum);
    ProgressBar1->setValue(toestand.Rijenbalk().waarde);
    // An empty selection still shows an empty bar, not a busy one.
    ProgressBar2->setMaximum(qMax(1, toestand.Bronbalk().maximum));
    ProgressBar2->setValue(toestand.Bronbalk().waarde);
    Label1->setText(toestand.ResterendeTijd());
}

} // namespace supplink
