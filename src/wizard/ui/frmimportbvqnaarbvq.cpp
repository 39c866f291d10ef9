#include "wizard/ui/frmimportbvqnaarbvq.h"

#include "platform/uiservices.h"
#include "start/admin.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "wizard/ui/frmdownloadupdate.h"
#include "wizard/updatezoeker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace supplink {

namespace {

// The window's size and the top of the step area, in twips.
constexpr int kBreedte = 14985;
constexpr int kHoogte = 11350;
constexpr int kStapGebiedBoven = 1140;
// Gaps of the button rows, in twips.
constexpr int kRand = 60;
constexpr int kTussenruimte = 120;

} // namespace

frmImportBvqNaarBvq::frmImportBvqNaarBvq(QWidget* parent, const QList<StapRegistratie>& stappen)
    : QWidget(parent), IsBeheerder(IsUserAdministrator), ToonUpdate(ToonUpdateVenster),
      OpenHelp([](const QString& pad) { QDesktopServices::openUrl(QUrl::fromLocalFile(pad)); })
{
    setObjectName(QStringLiteral("frmImportBvqNaarBvq"));

    // The header down to the step area: the step's title and sub-title on a white band, a line below.
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("Header"));
    header->setFixedHeight(TwipsNaarPixels(kStapGebiedBoven));
    auto* band = new QWidget(header);
    band->setAutoFillBackground(true);
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, Qt::white);
    bandPalette.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(bandPalette);
    lbLeverancer = new QLabel(band);
    lbLeverancer->setObjectName(QStringLiteral("lbLeverancer"));
    QFont titleFont = lbLeverancer->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lbLeverancer->setFont(titleFont);
    lbStap = new QLabel(band);
    lbStap->setObjectName(QStringLiteral("lbStap"));
    auto* bandLayout = new QVBoxLayout(band);
    bandLayout->setContentsMargins(16, 10, 16, 6);
    bandLayout->addWidget(lbLeverancer);
    bandLayout->addWidget(lbStap);
    bandLayout->addStretch(1);
    auto* line = new QFrame(header);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    headerLayout->addWidget(band, 1);
    headerLayout->addWidget(line);

    stepArea = new QStackedWidget(this);
    stepArea->setObjectName(QStringLiteral("stepArea"));

    cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdUpdate = new QPushButton(QStringLiteral("Update"), this);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(0);
    cmdVorige = new QPushButton(QStringLiteral("<< Vorige"), this);
    cmdVorige->setObjectName(QStringLiteral("cmdVorige"));
    cmdVolgende = new QPushButton(QStringLiteral("Volgende >>"), this);
    cmdVolgende->setObjectName(QStringLiteral("cmdVolgende"));
    cmdAnnuleren = new QPushButton(QStringLiteral("Afsluiten"), this);
    cmdAnnuleren->setObjectName(QStringLiteral("cmdAnnuleren"));
    for (QPushButton* knop : {cmdHelp, cmdUpdate, cmdVorige, cmdVolgende, cmdAnnuleren})
        knop->setMinimumWidth(TwipsNaarPixels(1215));
    cmdVolgende->setDefault(true);

    // The button row: Help and Update from the left edge, the status line between them and the
    // right-aligned row "<< Vorige", "Volgende >>", "Afsluiten".
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(TwipsNaarPixels(kRand), 0, TwipsNaarPixels(kTussenruimte), 0);
    buttons->setSpacing(0);
    buttons->addWidget(cmdHelp);
    buttons->addSpacing(TwipsNaarPixels(kRand));
    buttons->addWidget(cmdUpdate);
    buttons->addSpacing(TwipsNaarPixels(kRand));
    buttons->addWidget(Label1, 1);
    buttons->addSpacing(TwipsNaarPixels(kTussenruimte));
    buttons->addWidget(cmdVorige);
    buttons->addSpacing(TwipsNaarPixels(kTussenruimte));
    buttons->addWidget(cmdVolgende);
    buttons->addSpacing(TwipsNaarPixels(kTussenruimte));
    buttons->addWidget(cmdAnnuleren);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, TwipsNaarPixels(kRand));
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(stepArea, 1);
    layout->addSpacing(TwipsNaarPixels(kRand));
    layout->addLayout(buttons);

    connect(cmdVolgende, &QPushButton::clicked, &m_besturing, &StapBesturing::Volgende);
    connect(cmdVorige, &QPushButton::clicked, &m_besturing, &StapBesturing::Vorige);
    connect(cmdAnnuleren, &QPushButton::clicked, this, &frmImportBvqNaarBvq::cmdAnnuleren_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmImportBvqNaarBvq::cmdHelp_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmImportBvqNaarBvq::cmdUpdate_Click);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &frmImportBvqNaarBvq::cmdHelp_Click);
    connect(&m_besturing, &StapBesturing::Gewijzigd, this, &frmImportBvqNaarBvq::Toon);
    connect(&m_besturing, &StapBesturing::StatusRegelGewijzigd, this, &frmImportBvqNaarBvq::ToonStatusRegel);

    BouwStappen(stappen);
    Form_Load();
}

frmImportBvqNaarBvq::~frmImportBvqNaarBvq()
{
    if (m_zandloper)
        QApplication::restoreOverrideCursor();
}

void frmImportBvqNaarBvq::BouwStappen(const QList<StapRegistratie>& stappen)
{
    for (const StapRegistratie& registratie : stappen) {
        const StapOnderdelen onderdelen = registratie.maak(stepArea);
        stepArea->addWidget(onderdelen.weergave);
        m_weergaven.insert(onderdelen.stap, onderdelen.weergave);
        for (const int stap : registratie.stappen)
            m_besturing.ZetStap(stap, onderdelen.stap);
    }
    const QStringList fouten = m_besturing.ControleerStappen();
    if (!fouten.isEmpty())
        qFatal("De stappen van de wizard zijn niet compleet: %s", qPrintable(fouten.join(QLatin1Char(' '))));
}

void frmImportBvqNaarBvq::Form_Load()
{
    resize(TwipsNaarPixels(kBreedte), TwipsNaarPixels(kHoogte));
    const ProgrammaVersie versie = HuidigeProgrammaVersie();
    setWindowTitle(QString::fromUtf8(kProgramTitle) + QStringLiteral(" v%1.%2.%3")
                                                         .arg(versie.major)
                                                         .arg(versie.minor)
                                                         .arg(versie.revision));
    m_besturing.Start();
    ControleerHelpBestand();
}

void frmImportBvqNaarBvq::ControleerHelpBestand()
{
    const QString& help = globals().HelpFile;
    cmdHelp->setEnabled(!help.isEmpty() && QFileInfo(help).isFile());
}

QWidget* frmImportBvqNaarBvq::StapWeergave(int stap) const
{
    return m_weergaven.value(m_besturing.StapModel(stap));
}

void frmImportBvqNaarBvq::setWindowStateCode(int state)
{
    setWindowState(state == 1 ? Qt::WindowMinimized : Qt::WindowNoState);
}

void frmImportBvqNaarBvq::Toon()
{
    lbLeverancer->setText(m_besturing.Titel());
    lbStap->setText(m_besturing.SubTitel());
    Label1->setText(m_besturing.StatusRegel());
    cmdVolgende->setEnabled(m_besturing.VolgendeAan());
    cmdVorige->setEnabled(m_besturing.VorigeAan());
    cmdUpdate->setEnabled(m_besturing.UpdateAan());
    cmdAnnuleren->setEnabled(m_besturing.AfsluitenAan());
    if (QWidget* weergave = m_weergaven.value(m_besturing.GetoondeStap()))
        stepArea->setCurrentWidget(weergave);
    if (m_besturing.Bezig() != m_zandloper) {
        m_zandloper = m_besturing.Bezig();
        if (m_zandloper)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
}

void frmImportBvqNaarBvq::ToonStatusRegel()
{
    Label1->setText(m_besturing.StatusRegel());
    // One turn of the event loop so that the text shows while the step works on; the user's input
    // waits for the step.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmImportBvqNaarBvq::cmdAnnuleren_Click()
{
    if (m_besturing.VraagAfsluiten())
        close();
}

void frmImportBvqNaarBvq::closeEvent(QCloseEvent* event)
{
    if (!m_besturing.MagSluiten()) {
        event->ignore();
        return;
    }
    m_besturing.Afsluiten();
    QWidget::closeEvent(event);
}

void frmImportBvqNaarBvq::cmdHelp_Click()
{
    const QString& help = globals().HelpFile;
    if (!help.isEmpty() && QFileInfo(help).isFile() && OpenHelp)
        OpenHelp(help);
}

void frmImportBvqNaarBvq::cmdUpdate_Click()
{
    try {
        if (IsBeheerder && IsBeheerder()) {
            if (ToonUpdate)
                ToonUpdate(this);
        } else {
            ui().messageBox(QStringLiteral("U beschikt over onvoldoende rechten in Windows voor het uitvoeren van "
                                           "programma updates."),
                            MsgBox::OkOnly | MsgBox::Information, QStringLiteral("Update"));
        }
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("Update"), fout);
    }
}

} // namespace supplink
