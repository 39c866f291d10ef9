#include "wizard/ui/frmreport.h"

#include "start/sharedroutines.h"
#include "start/ui/formstate.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace supplink {

namespace {

// Gaps around the button, in twips: 60 to the window's edges, 120 in all between the text and the
// window's bottom besides the button.
constexpr int kRand = 60;
// The size the window opens with the first time, in twips.
constexpr int kBreedte = 7500;
constexpr int kHoogte = 6000;
// Tab stops every half inch, as a rich-text box has them.
constexpr int kTabAfstand = 720;

} // namespace

frmReport::frmReport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReport"));
    rt = new QPlainTextEdit(this);
    rt->setObjectName(QStringLiteral("rt"));
    rt->setReadOnly(true);
    rt->setLineWrapMode(QPlainTextEdit::NoWrap);
    rt->setTabStopDistance(TwipsNaarPixels(kTabAfstand));
    cmdOK = new QPushButton(QStringLiteral("Sluiten"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* knoppen = new QHBoxLayout;
    knoppen->setContentsMargins(0, 0, TwipsNaarPixels(kRand), 0);
    knoppen->addStretch(1);
    knoppen->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, TwipsNaarPixels(kRand));
    layout->setSpacing(TwipsNaarPixels(kRand));
    layout->addWidget(rt, 1);
    layout->addLayout(knoppen);

    connect(cmdOK, &QPushButton::clicked, this, &frmReport::cmdOK_Click);

    // Form_Load: centred, then where the user left it last time.
    resize(TwipsNaarPixels(kBreedte), TwipsNaarPixels(kHoogte));
    CentreerForm(this);
    LoadFormState(this);
}

frmReport::~frmReport() = default;

void frmReport::AddLine(const QString& text)
{
    QTextCursor einde(rt->document());
    einde.movePosition(QTextCursor::End);
    einde.insertText(text + QLatin1Char('\n'));
}

void frmReport::cmdOK_Click()
{
    hide();
}

void frmReport::hideEvent(QHideEvent* event)
{
    SaveFormState(this);
    QDialog::hideEvent(event);
}

} // namespace supplink
