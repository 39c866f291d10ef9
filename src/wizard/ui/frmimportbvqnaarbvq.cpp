#include "wizard/ui/frmimportbvqnaarbvq.h"

#include "platform/runcontext.h"
#include "platform/uiservices.h"
#include "start/globals.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace supplink {

frmImportBvqNaarBvq::frmImportBvqNaarBvq(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmImportBvqNaarBvq"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    resize(820, 600);

    lbLeverancer = new QLabel(this);
    lbLeverancer->setObjectName(QStringLiteral("lbLeverancer"));
    QFont titleFont = lbLeverancer->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lbLeverancer->setFont(titleFont);
    lbStap = new QLabel(this);
    lbStap->setObjectName(QStringLiteral("lbStap"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));

    stepArea = new QStackedWidget(this);
    stepArea->setObjectName(QStringLiteral("stepArea"));
    stepArea->setFrameShape(QFrame::StyledPanel);

    cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdUpdate = new QPushButton(QStringLiteral("Update"), this);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdVorige = new QPushButton(QStringLiteral("<< Vorige"), this);
    cmdVorige->setObjectName(QStringLiteral("cmdVorige"));
    cmdVorige->setEnabled(false);
    cmdVolgende = new QPushButton(QStringLiteral("Volgende >>"), this);
    cmdVolgende->setObjectName(QStringLiteral("cmdVolgende"));
    cmdVolgende->setEnabled(false);
    cmdAnnuleren = new QPushButton(QStringLiteral("Afsluiten"), this);
    cmdAnnuleren->setObjectName(QStringLiteral("cmdAnnuleren"));

    auto* header = new QVBoxLayout;
    header->addWidget(lbLeverancer);
    header->addWidget(lbStap);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addWidget(cmdUpdate);
    buttons->addStretch(1);
    buttons->addWidget(cmdVorige);
    buttons->addWidget(cmdVolgende);
    buttons->addSpacing(12);
    buttons->addWidget(cmdAnnuleren);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(stepArea, 1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(cmdAnnuleren, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdHelp, &QPushButton::clicked, this, [] {
        if (!globals().HelpFile.isEmpty() && QFileInfo::exists(globals().HelpFile))
            QDesktopServices::openUrl(QUrl::fromLocalFile(globals().HelpFile));
    });
}

frmImportBvqNaarBvq::~frmImportBvqNaarBvq() = default;

void frmImportBvqNaarBvq::setWindowStateCode(int state)
{
    setWindowState(state == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
}

void frmImportBvqNaarBvq::closeEvent(QCloseEvent* event)
{
    // A live run works in the welcome step's folder and on the targets' work copies: the window stays.
    if (RunContext::anyLive()) {
        event->ignore();
        ui().messageBox(QStringLiteral("Er wordt nog gewerkt. Wacht tot het overzetten klaar is of annuleer het "
                                       "eerst."),
                        MsgBox::OkOnly | MsgBox::Exclamation, QString::fromUtf8(kProgramTitle));
        return;
    }
    Form_QueryUnload();
    QWidget::closeEvent(event);
}

void frmImportBvqNaarBvq::Form_QueryUnload()
{
    const QString folder = globals().gWelkomMap;
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        QDir(folder).removeRecursively();
}

} // namespace supplink
