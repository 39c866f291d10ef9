#include "selection/profiledrawing.h"

#include "selection/clsprofile.h"
#include "start/sharedroutines.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace supplink {

namespace {

// Points far outside any picture are pulled in, so that a shape with absurd
// values still draws (as lines leaving the picture) instead of upsetting the painter.
constexpr double kFarAway = 1.0e6;

double bounded(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -kFarAway, kFarAway);
}

QPointF bounded(const QPointF& point)
{
    return {bounded(point.x()), bounded(point.y())};
}

QFont fontOfSize(const QPainter& painter, int pointSize)
{
    QFont font = painter.font();
    font.setPointSize(pointSize);
    return font;
}

} // namespace

PreviewMapping PreviewMappingFor(const QSize& picture, bool drawYAxis)
{
    PreviewMapping mapping;
    mapping.originX = picture.width() / 2.0;
    mapping.originY = picture.height() - 50.0;
    const double vertical = picture.height() / 205.0;
    const double horizontal = picture.width() / (drawYAxis ? 140.0 : 100.0);
    mapping.scale = std::min(vertical, horizontal);
    return mapping;
}

QString DimensionText(double millimetres)
{
    return ProfileNumberText(millimetres) + QStringLiteral(" mm");
}

double ProfileDrawing::TextShift(QPainter& painter, const QString& text, int pointSize)
{
    // The control measures text in twips (15 to the pixel) and moves a
    // twentieth of that measure to the left.
    const QFontMetricsF metrics(fontOfSize(painter, pointSize), painter.device());
    return metrics.horizontalAdvance(text) * TwipsPerPixel / 20.0;
}

void ProfileDrawing::ensureMapping(QPainter& painter)
{
    if (m_mapped)
        return;
    const QPaintDevice* device = painter.device();
    m_mapping = PreviewMappingFor(device ? QSize(device->width(), device->height()) : QSize(), DrawYAxis);
    m_current = QPointF(m_mapping.originX, m_mapping.originY);
    m_mapped = true;
}

void ProfileDrawing::print(QPainter& painter, const QPointF& topLeft, const QString& text, int pointSize,
                           const QColor& colour)
{
    const QFont font = fontOfSize(painter, pointSize);
    const QFontMetricsF metrics(font, painter.device());
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(bounded(QPointF(topLeft.x(), topLeft.y() + metrics.ascent())), text);
    painter.restore();
}

void ProfileDrawing::line(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& colour,
                          bool dashDot)
{
    QPen pen(colour);
    pen.setWidth(1);
    pen.setStyle(dashDot ? Qt::DashDotLine : Qt::SolidLine);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.drawLine(bounded(from), bounded(to));
    painter.restore();
}

void ProfileDrawing::DoDrawing(QPainter& painter, const QSize& picture)
{
    m_mapping = PreviewMappingFor(picture, DrawYAxis);
    m_mapped = true;
    const double ox = m_mapping.originX;
    const double oy = m_mapping.originY;
    const double scale = m_mapping.scale;

    painter.fillRect(QRect(QPoint(0, 0), picture), ProfileColours::Background);

    if (DrawYAxis) {
        const QPointF top(ox, oy - 150 * scale);
        line(painter, QPointF(ox, oy + 5 * scale), top, ProfileColours::Axis, true);
        print(painter, QPointF(ox + 5, top.y()), QStringLiteral("y+"), 10, ProfileColours::Axis);
    }
    if (DrawXAxis) {
        const QPointF end(ox + 50 * scale, oy);
        line(painter, QPointF(ox - 50 * scale, oy), end, ProfileColours::Axis, true);
        print(painter, QPointF(end.x(), oy + 5), QStringLiteral("x+"), 10, ProfileColours::Axis);
    }
    m_current = QPointF(ox, oy);
    if (!Label.isEmpty())
        print(painter, QPointF(10, 10), Label, 12, ProfileColours::Outline);
    if (Profile)
        DoDrawProfile(painter, *Profile);
}

void ProfileDrawing::DoDrawProfile(QPainter& painter, const clsProfile& profile)
{
    ensureMapping(painter);
    if (DrawLabels && !profile.ProfileName.isEmpty())
        print(painter, QPointF(10, 10), profile.ProfileName, 10, ProfileColours::Outline);

    // A profile that was never loaded has no points: there is no outline to draw.
    if (profile.CoorDinateCount() >= 1) {
        m_current = m_mapping.map(profile.x(0), profile.Y(0));
        for (int i = 0; i <= profile.CoorDinateCount(); ++i)
            DrawNextLine(painter, profile.x(i), profile.Y(i), QStringLiteral("P ") + QString::number(i + 1));
    }
    if (DrawDimensions)
        DoDrawDimensions(painter, profile);
}

void ProfileDrawing::DrawNextLine(QPainter& painter, double x, double y, const QString& label)
{
    ensureMapping(painter);
    const QPointF point = bounded(m_mapping.map(x, y));
    line(painter, m_current, point, ProfileColours::Outline);
    if (DrawNodes) {
        const double radius = 1.5 * m_mapping.scale;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(ProfileColours::Node, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(point, radius, radius);
        painter.restore();
    }
    if (!label.isEmpty() && DrawLabels)
        print(painter, QPointF(point.x() + 10, point.y() - 20), label, 8, ProfileColours::Node);
    m_current = point;
}

void ProfileDrawing::DoDrawDimensions(QPainter& painter, const clsProfile& profile)
{
    ensureMapping(painter);
    const double ox = m_mapping.originX;
    const double oy = m_mapping.originY;
    const double scale = m_mapping.scale;
    const double w = profile.Width;
    const double h = profile.Height;
    const QColor& blue = ProfileColours::Dimension;

    // Width, above the profile.
    const double wy = oy - (h + 10) * scale;
    const QPointF left(ox - (w / 2) * scale, wy);
    const QPointF right(ox + (w / 2) * scale, wy);
    line(painter, left, right, blue);
    const QString widthText = DimensionText(w);
    print(painter, QPointF(ox - TextShift(painter, widthText, 8), wy - 10 * scale), widthText, 8, blue);
    line(painter, right, right + QPointF(-5, -5), blue);
    line(painter, right, right + QPointF(-5, 5), blue);
    line(painter, left, left + QPointF(5, -5), blue);
    line(painter, left, left + QPointF(5, 5), blue);

    // Height, left of the profile.
    const double hx = ox - (w / 2 + 10) * scale;
    const QPointF bottom(hx, oy);
    const QPointF top(hx, oy - h * scale);
    line(painter, bottom, top, blue);
    const QString heightText = DimensionText(h);
    print(painter, QPointF(hx - TextShift(painter, heightText, 8) - 20, oy - (h * scale) / 2), heightText, 8,
          blue);
    line(painter, bottom, bottom + QPointF(-5, -5), blue);
    line(painter, bottom, bottom + QPointF(5, -5), blue);
    line(painter, top, top + QPointF(-5, 5), blue);
    line(painter, top, top + QPointF(5, 5), blue);
}

} // namespace supplink
