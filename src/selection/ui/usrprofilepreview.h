#pragma once
// The profile preview control: a picture that keeps what is drawn on it and
// shows one groove profile (ProfileDrawing does the drawing). Changing a
// drawing flag redraws at once; setting the profile or the caption does not.

#include "selection/profiledrawing.h"

#include <QImage>
#include <QVariantMap>
#include <QWidget>
#include <memory>

namespace supplink {

class clsProfile;

class usrProfilePreview : public QWidget
{
    Q_OBJECT

public:
    explicit usrProfilePreview(QWidget* parent = nullptr);

    // The profile that DoDrawing draws; no redraw.
    void Profile(std::shared_ptr<const clsProfile> profile);
    const std::shared_ptr<const clsProfile>& Profile() const { return m_drawing.Profile; }
    // A free caption at the top left; no redraw.
    void Label(const QString& label);
    const QString& Label() const { return m_drawing.Label; }

    bool DrawLabels() const { return m_drawing.DrawLabels; }
    void DrawLabels(bool on);
    bool DrawNodes() const { return m_drawing.DrawNodes; }
    void DrawNodes(bool on);
    bool DrawYAxis() const { return m_drawing.DrawYAxis; }
    void DrawYAxis(bool on);
    bool DrawXAxis() const { return m_drawing.DrawXAxis; }
    void DrawXAxis(bool on);
    bool DrawDimensions() const { return m_drawing.DrawDimensions; }
    void DrawDimensions(bool on);

    // Clears the picture.
    void ErasePicture();
    // Saves the picture as a bitmap in a new temporary file; its full path, empty when that failed.
    QString StoredPicture();
    // Clears and redraws axes, caption and the stored profile.
    void DoDrawing();
    // Draws a profile over what the picture shows; the stored profile stays.
    void DoDrawProfile(const clsProfile& profile);
    void DoDrawDimensions(const clsProfile& profile);
    void DrawNextLine(double x, double y, const QString& label);

    // The picture as it stands.
    const QImage& picPreview() const { return m_picture; }
    const PreviewMapping& mapping() const { return m_drawing.mapping(); }

    // The five drawing flags by name, as a form stores its controls' settings;
    // an absent name takes its default. Reading does not redraw.
    void ReadProperties(const QVariantMap& properties);
    QVariantMap WriteProperties() const;

signals:
    // A drawing flag changed; the argument is its name ("DrawNodes", ...).
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setFlag(bool ProfileDrawing::*flag, bool on, const QString& name);
    void makePicture(const QSize& size);

    ProfileDrawing m_drawing;
    QImage m_picture;
};

} // namespace supplink
