#include "selection/ui/usrprofilepreview.h"

#include "selection/clsprofile.h"
#include "start/dialogs.h"
#include "start/sharedroutines.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace supplink {

namespace {

// Pictures are drawn at 96 dots per inch, so that font sizes in points come out the same everywhere.
constexpr int kDotsPerMetre = 3780;

const QString kDrawLabels = QStringLiteral("DrawLabels");
const QString kDrawNodes = QStringLiteral("DrawNodes");
const QString kDrawYAxis = QStringLiteral("DrawYAxis");
const QString kDrawXAxis = QStringLiteral("DrawXAxis");
const QString kDrawDimensions = QStringLiteral("DrawDimensions");

} // namespace

usrProfilePreview::usrProfilePreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    makePicture(contentsRect().size());
    DoDrawing();
}

void usrProfilePreview::makePicture(const QSize& size)
{
    m_picture = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_picture.setDotsPerMeterX(kDotsPerMetre);
    m_picture.setDotsPerMeterY(kDotsPerMetre);
    m_picture.fill(ProfileColours::Background);
}

void usrProfilePreview::Profile(std::shared_ptr<const clsProfile> profile)
{
    m_drawing.Profile = std::move(profile);
}

void usrProfilePreview::Label(const QString& label)
{
    m_drawing.Label = label;
}

void usrProfilePreview::setFlag(bool ProfileDrawing::*flag, bool on, const QString& name)
{
    m_drawing.*flag = on;
    DoDrawing();
    emit PropertyChanged(name);
}

void usrProfilePreview::DrawLabels(bool on)
{
    setFlag(&ProfileDrawing::DrawLabels, on, kDrawLabels);
}

void usrProfilePreview::DrawNodes(bool on)
{
    setFlag(&ProfileDrawing::DrawNodes, on, kDrawNodes);
}

void usrProfilePreview::DrawYAxis(bool on)
{
    setFlag(&ProfileDrawing::DrawYAxis, on, kDrawYAxis);
}

void usrProfilePreview::DrawXAxis(bool on)
{
    setFlag(&ProfileDrawing::DrawXAxis, on, kDrawXAxis);
}

void usrProfilePreview::DrawDimensions(bool on)
{
    setFlag(&ProfileDrawing::DrawDimensions, on, kDrawDimensions);
}

void usrProfilePreview::ErasePicture()
{
    m_picture.fill(ProfileColours::Background);
    update();
}

QString usrProfilePreview::StoredPicture()
{
    const QString path = GetTempFileNaam();
    if (path.isEmpty())
        return QString();
    if (!m_picture.save(path, "BMP")) {
        VerwijderBestand(path);
        return QString();
    }
    return path;
}

void usrProfilePreview::DoDrawing()
{
    // A hidden control learns its new size only when shown; the picture follows it here as well.
    if (m_picture.size() != contentsRect().size().expandedTo(QSize(1, 1)))
        makePicture(contentsRect().size());
    QPainter painter(&m_picture);
    m_drawing.DoDrawing(painter, m_picture.size());
    painter.end();
    update();
}

void usrProfilePreview::DoDrawProfile(const clsProfile& profile)
{
    QPainter painter(&m_picture);
    m_drawing.DoDrawProfile(painter, profile);
    painter.end();
    update();
}

void usrProfilePreview::DoDrawDimensions(const clsProfile& profile)
{
    QPainter painter(&m_picture);
    m_drawing.DoDrawDimensions(painter, profile);
    painter.end();
    update();
}

void usrProfilePreview::DrawNextLine(double x, double y, const QString& label)
{
    QPainter painter(&m_picture);
    m_drawing.DrawNextLine(painter, x, y, label);
    painter.end();
    update();
}

void usrProfilePreview::ReadProperties(const QVariantMap& properties)
{
    m_drawing.DrawLabels = properties.value(kDrawLabels, false).toBool();
    m_drawing.DrawNodes = properties.value(kDrawNodes, false).toBool();
    m_drawing.DrawYAxis = properties.value(kDrawYAxis, false).toBool();
    m_drawing.DrawXAxis = properties.value(kDrawXAxis, false).toBool();
    m_drawing.DrawDimensions = properties.value(kDrawDimensions, true).toBool();
}

QVariantMap usrProfilePreview::WriteProperties() const
{
    return {{kDrawLabels, m_drawing.DrawLabels},
            {kDrawNodes, m_drawing.DrawNodes},
            {kDrawYAxis, m_drawing.DrawYAxis},
            {kDrawXAxis, m_drawing.DrawXAxis},
            {kDrawDimensions, m_drawing.DrawDimensions}};
}

void usrProfilePreview::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), ProfileColours::Background);
    painter.drawImage(contentsRect().topLeft(), m_picture);
}

void usrProfilePreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    DoDrawing();
}

} // namespace supplink
