#include "wizard/ui/usrstapbackup.h"

#include "start/sharedroutines.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace supplink {

usrStapBackup::usrStapBackup(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrStapBackup"));
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdBackup = new QPushButton(QStringLiteral("Backup"), Frame2);
    cmdBackup->setObjectName(QStringLiteral("cmdBackup"));
    cmdBackup->setMinimumWidth(TwipsNaarPixels(1215));

    auto* knoppen = new QHBoxLayout;
    knoppen->addWidget(cmdBackup);
    knoppen->addStretch(1);
    auto* frame = new QVBoxLayout(Frame2);
    frame->setContentsMargins(TwipsNaarPixels(240), TwipsNaarPixels(120), TwipsNaarPixels(240), TwipsNaarPixels(240));
    frame->addWidget(Label1);
    frame->addSpacing(TwipsNaarPixels(240));
    frame->addLayout(knoppen);
    frame->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120));
    layout->addWidget(Frame2);

    connect(&m_model, &StapBackup::Gewijzigd, this, &usrStapBackup::Toon);
    connect(cmdBackup, &QPushButton::clicked, &m_model, &StapBackup::cmdBackup_Click);
    Toon();
}

usrStapBackup::~usrStapBackup() = default;

void usrStapBackup::Toon()
{
    Label1->setText(m_model.AdviesTekst());
    cmdBackup->setEnabled(m_model.BackupKnopAan());
}

} // namespace supplink
