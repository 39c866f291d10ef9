#include "wizard/ui/frmdownloadupdate.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace supplink {

frmDownloadUpdate::frmDownloadUpdate(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDownloadUpdate"));
    setWindowTitle(QStringLiteral("Zoeken naar updates"));
    resize(460, 340);

    Frame1 = new QGroupBox(QStringLiteral("Voortgang"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Text1 = new QPlainTextEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lblProgress = new QLabel(Frame1);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    toonVoortgang(false);

    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(Text1, 1);
    frame->addWidget(lblProgress);
    frame->addWidget(ProgressBar1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdOK->setEnabled(false); // until the check has run
    auto* knoppen = new QHBoxLayout;
    knoppen->addStretch(1);
    knoppen->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(knoppen);

    connect(cmdOK, &QPushButton::clicked, this, &frmDownloadUpdate::cmdOK_Click);
    connect(&m_zoeker, &UpdateZoeker::status, this, &frmDownloadUpdate::ToonStatus);
    connect(&m_zoeker, &UpdateZoeker::voortgangZichtbaar, this, &frmDownloadUpdate::toonVoortgang);
    connect(&m_zoeker, &UpdateZoeker::voortgang, this, &frmDownloadUpdate::zetVoortgang);
    connect(&m_zoeker, &UpdateZoeker::bezigGewijzigd, this, &frmDownloadUpdate::bezigGewijzigd);
}

frmDownloadUpdate::~frmDownloadUpdate() = default;

void frmDownloadUpdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once the window is on screen and painted.
    QTimer::singleShot(0, this, &frmDownloadUpdate::Form_Activate);
}

void frmDownloadUpdate::Form_Activate()
{
    if (m_gestart)
        return;
    m_gestart = true;
    m_zoeker.ZoekUpdates();
}

void frmDownloadUpdate::bezigGewijzigd(bool bezig)
{
    cmdOK->setEnabled(!bezig);
    if (!bezig)
        cmdOK->setFocus();
}

void frmDownloadUpdate::cmdOK_Click() { accept(); }

void frmDownloadUpdate::reject()
{
    if (!m_zoeker.Bezig())
        QDialog::reject();
}

void frmDownloadUpdate::closeEvent(QCloseEvent* event)
{
    // The check yields to the event loop; the window it reports to stays until it has ended.
    if (m_zoeker.Bezig())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void frmDownloadUpdate::ToonStatus(const QString& regel)
{
    QTextCursor cursor = Text1->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(regel + QLatin1Char('\n'));
    Text1->setTextCursor(cursor);
    Text1->ensureCursorVisible();
}

void frmDownloadUpdate::toonVoortgang(bool zichtbaar)
{
    if (zichtbaar) {
        ProgressBar1->setValue(0);
        lblProgress->clear();
    }
    lblProgress->setVisible(zichtbaar);
    ProgressBar1->setVisible(zichtbaar);
}

void frmDownloadUpdate::zetVoortgang(const QString& tekst, int procent)
{
    lblProgress->setText(tekst);
    if (procent > 0)
        ProgressBar1->setValue(procent);
}

void ToonUpdateVenster(QWidget* parent)
{
    frmDownloadUpdate venster(parent);
    venster.exec();
}

} // namespace supplink
