#pragma once
// The small picture of the light's direction on the Intensity page: the horizon seen from above,
// north up, and the sun where the light comes from, nearer the middle the higher it stands.

#include <QPointF>
#include <QWidget>

namespace korvel {

class LightDirectionPicture : public QWidget {
    Q_OBJECT
public:
    explicit LightDirectionPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {120, 120}; }

    // Degrees: azimuth clockwise from north, elevation above the horizon.
    void SetDirection(double azimuth, double elevation);
    // Where the sun is drawn: the centre plus the horizon's radius times cos(elevation) towards
    // the azimuth.
    QPointF SunPosition() const;
    QPointF Centre() const;
    double HorizonRadius() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double Azimuth = 315.0;
    double Elevation = 45.0;
};

} // namespace korvel
