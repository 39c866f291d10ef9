#pragma once
// Drawing of a groove profile onto any QPainter (the preview's picture, a
// QImage in a test, a printer): optional axes, the closed outline with node
// marks and labels, the profile's name, a free caption and the width and
// height dimensions. No window is needed; usrProfilePreview shows the result.
//
//     QImage picture(400, 300, QImage::Format_RGB32);
//     QPainter painter(&picture);
//     ProfileDrawing drawing;
//     drawing.Profile = profile;          // a loaded clsProfile
//     drawing.DoDrawing(painter, picture.size());
//
// Profile coordinates are millimetres with Y upwards; the picture has its
// origin at its top left, in pixels. All fixed offsets (5, 10, 20, 50, the
// arrow heads) are pixels.

#include <QColor>
#include <QPointF>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;

namespace supplink {

class clsProfile;

// Where profile coordinates land in a picture of a given size.
struct PreviewMapping
{
    double originX = 0.0; // picture X of profile X = 0 (the middle)
    double originY = 0.0; // picture Y of profile Y = 0 (the bottom of the profile)
    double scale = 0.0;   // pixels per millimetre

    QPointF map(double x, double y) const { return {x * scale + originX, originY - y * scale}; }
};

// The origin sits in the middle, 50 pixels above the bottom; the scale fits
// 205 mm in the height and 100 mm (140 mm with the vertical axis) in the width.
PreviewMapping PreviewMappingFor(const QSize& picture, bool drawYAxis);

namespace ProfileColours {
inline const QColor Outline = QColor(0, 0, 0);
inline const QColor Axis = QColor(100, 100, 100);
inline const QColor Node = QColor(255, 0, 0);
inline const QColor Dimension = QColor(0, 0, 255);
inline const QColor Background = QColor(255, 255, 255);
} // namespace ProfileColours

// A dimension value as it is printed: the number followed by " mm".
QString DimensionText(double millimetres);

class ProfileDrawing
{
public:
    // Drawn by DoDrawing after the axes.
    std::shared_ptr<const clsProfile> Profile;
    QString Label;
    bool DrawNodes = false;
    bool DrawLabels = false;
    bool DrawYAxis = false;
    bool DrawXAxis = false;
    bool DrawDimensions = true;

    // Clears the picture and draws the axes, the caption and the stored profile.
    void DoDrawing(QPainter& painter, const QSize& picture);
    // Draws the profile's outline, name and dimensions over what the picture shows.
    void DoDrawProfile(QPainter& painter, const clsProfile& profile);
    void DoDrawDimensions(QPainter& painter, const clsProfile& profile);
    // One segment of the outline from the current position to (x, y), which becomes the current position.
    void DrawNextLine(QPainter& painter, double x, double y, const QString& label);

    // The mapping of the last DoDrawing (before one: that of the painter's device).
    const PreviewMapping& mapping() const { return m_mapping; }
    // Where a text printed at the given top left with the given point size
    // starts when it is placed as the dimensions place their values: a
    // fraction of its measured width to the left.
    static double TextShift(QPainter& painter, const QString& text, int pointSize);

private:
    void ensureMapping(QPainter& painter);
    // Prints a text with its top left at the given position.
    void print(QPainter& painter, const QPointF& topLeft, const QString& text, int pointSize,
               const QColor& colour);
    void line(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& colour,
              bool dashDot = false);

    PreviewMapping m_mapping;
    bool m_mapped = false;
    QPointF m_current;
};

} // namespace supplink
