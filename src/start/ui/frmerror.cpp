#include "start/ui/frmerror.h"

#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace supplink {
namespace {
constexpr int kMargin = 8;        // pixels
constexpr int kButtonWidth = 90;  // pixels
constexpr int kButtonHeight = 26; // pixels
constexpr int kImageSize = 32;    // pixels
} // namespace

frmError::frmError(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Foutmelding"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kMargin * 2, kMargin * 2, kImageSize, kImageSize);

    lblMelding = new QLabel(this);
    lblMelding->setObjectName(QStringLiteral("lblMelding"));
    lblMelding->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMelding->setTextFormat(Qt::PlainText);
    lblMelding->move(kMargin * 3 + kImageSize, kMargin * 2);

    txtDetails = new QPlainTextEdit(this);
    txtDetails->setObjectName(QStringLiteral("txtDetails"));
    txtDetails->setReadOnly(true);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Annuleren"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->hide(); // Escape closes the window like OK.
    cmdDetails = new QPushButton(QStringLiteral("Details >>"), this);
    cmdDetails->setObjectName(QStringLiteral("cmdDetails"));
    for (QPushButton* b : {cmdOK, cmdCancel, cmdDetails})
        b->resize(kButtonWidth, kButtonHeight);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdDetails, &QPushButton::clicked, this, &frmError::toggleDetails);

    // Loading: the details state of the previous window, closed height, beep, title.
    m_detailsOpen = globals().gDetailsOpen;
    resize(TwipsNaarPixels(MinimumWidthTwips), TwipsNaarPixels(HeightClosedTwips));
    QApplication::beep();
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    SetImage(1);
}

frmError::~frmError() = default;

void frmError::SetImage(int picture)
{
    if (picture < 1 || picture > 4)
        picture = 1;
    m_picture = picture;
    static const QStyle::StandardPixmap pictures[] = {QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxWarning,
                                                      QStyle::SP_MessageBoxInformation,
                                                      QStyle::SP_MessageBoxQuestion};
    Image1->setPixmap(style()->standardIcon(pictures[picture - 1]).pixmap(kImageSize, kImageSize));
}

namespace {
// Messages are built with CR LF line ends; the widgets want plain line feeds.
QString forDisplay(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
} // namespace

void frmError::setMessage(const QString& message) { lblMelding->setText(forDisplay(message)); }

void frmError::setDetails(const QString& details) { txtDetails->setPlainText(forDisplay(details)); }

void frmError::showEvent(QShowEvent* event)
{
    if (!m_firstShown) {
        m_firstShown = true;
        const bool hasDetails = !txtDetails->toPlainText().isEmpty();
        cmdDetails->setVisible(hasDetails);
        txtDetails->setVisible(hasDetails);
        if (hasDetails)
            lblMelding->setText(lblMelding->text() +
                                QStringLiteral("\n\nKlik op de knop details voor meer informatie."));
        const QFontMetrics metrics(lblMelding->font());
        const QSize text = metrics.size(0, lblMelding->text());
        lblMelding->resize(text.width() + TwipsNaarPixels(120), text.height());
        int height = HeightClosedTwips;
        if (hasDetails && m_detailsOpen) {
            height = HeightOpenTwips;
            cmdDetails->setText(QStringLiteral("<< Details"));
        } else if (hasDetails) {
            cmdDetails->setText(QStringLiteral("Details >>"));
        }
        const int closedHeight = std::max(TwipsNaarPixels(height),
                                          lblMelding->y() + text.height() + kButtonHeight + kMargin * 4);
        resize(lblMelding->x() + text.width() + TwipsNaarPixels(300), closedHeight);
    }
    QDialog::showEvent(event);
}

void frmError::toggleDetails()
{
    if (m_detailsOpen) {
        resize(width(), TwipsNaarPixels(HeightClosedTwips));
        cmdDetails->setText(QStringLiteral("Details >>"));
        m_detailsOpen = false;
    } else {
        resize(width(), TwipsNaarPixels(HeightOpenTwips));
        cmdDetails->setText(QStringLiteral("<< Details"));
        m_detailsOpen = true;
    }
}

void frmError::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (width() < TwipsNaarPixels(MinimumWidthTwips)) {
        resize(TwipsNaarPixels(MinimumWidthTwips), height());
        return;
    }
    layoutControls();
}

void frmError::layoutControls()
{
    // Buttons sit under the message; the details box fills the rest when open.
    const int buttonsTop = std::max(lblMelding->y() + lblMelding->height(), Image1->y() + kImageSize) + kMargin * 2;
    const int detailsLeft = kMargin * 2;
    if (cmdDetails->isVisibleTo(this)) {
        const int total = kButtonWidth * 2 + detailsLeft;
        const int left = (width() - total) / 2;
        cmdOK->move(left, buttonsTop);
        cmdDetails->move(left + kButtonWidth + detailsLeft, buttonsTop);
    } else {
        cmdOK->move((width() - kButtonWidth) / 2, buttonsTop);
    }
    const int detailsTop = buttonsTop + kButtonHeight + kMargin;
    txtDetails->setGeometry(detailsLeft, detailsTop, width() - 2 * detailsLeft,
                            std::max(0, height() - detailsTop - kMargin));
}

void frmError::done(int result)
{
    globals().gDetailsOpen = m_detailsOpen;
    QDialog::done(result);
}

} // namespace supplink
