#include "wizard/ui/usrstapresultaat.h"

#include "start/sharedroutines.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace supplink {

usrStapResultaat::usrStapResultaat(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("usrStapResultaat"));
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    rt = new QPlainTextEdit(Frame2);
    rt->setObjectName(QStringLiteral("rt"));
    rt->setReadOnly(true);
    rt->setLineWrapMode(QPlainTextEdit::NoWrap);
    rt->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rt->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rt->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdDetails = new QPushButton(Frame2);
    cmdDetails->setObjectName(QStringLiteral("cmdDetails"));
    cmdDetails->setMinimumWidth(TwipsNaarPixels(1215));
    cmdSaveLog = new QPushButton(QStringLiteral("&Opslaan"), Frame2);
    cmdSaveLog->setObjectName(QStringLiteral("cmdSaveLog"));
    cmdSaveLog->setMinimumWidth(TwipsNaarPixels(1215));

    auto* knoppen = new QHBoxLayout;
    knoppen->addWidget(cmdDetails);
    knoppen->addWidget(cmdSaveLog);
    knoppen->addStretch(1);
    auto* frame = new QVBoxLayout(Frame2);
    frame->addWidget(rt, 1);
    frame->addSpacing(TwipsNaarPixels(60));
    frame->addLayout(knoppen);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120), TwipsNaarPixels(120));
    layout->addWidget(Frame2);

    connect(&m_model, &StapResultaat::Gewijzigd, this, &usrStapResultaat::Toon);
    connect(cmdDetails, &QPushButton::clicked, &m_model, &StapResultaat::cmdDetails_Click);
    connect(cmdSaveLog, &QPushButton::clicked, &m_model, &StapResultaat::cmdSaveLog_Click);
    Toon();
}

usrStapResultaat::~usrStapResultaat() = default;

void usrStapResultaat::Toon()
{
    if (m_getoond != m_model.Tekst()) {
        m_getoond = m_model.Tekst();
        rt->setPlainText(m_getoond);
    }
    cmdDetails->setText(m_model.DetailsKnopTekst());
}

} // namespace supplink
