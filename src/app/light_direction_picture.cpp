#include "app/light_direction_picture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

constexpr double SunRadius = 6.0;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

LightDirectionPicture::LightDirectionPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(80, 80);
}

void LightDirectionPicture::SetDirection(double azimuth, double elevation) {
    Azimuth = azimuth;
    Elevation = elevation;
    update();
}

QPointF LightDirectionPicture::Centre() const {
    return {width() / 2.0, height() / 2.0};
}

double LightDirectionPicture::HorizonRadius() const {
    // The sun stays inside the widget when it sits on the horizon.
    return std::min(width(), height()) / 2.0 - SunRadius - 2.0;
}

QPointF LightDirectionPicture::SunPosition() const {
    const double reach = HorizonRadius() * std::cos(Radians(Elevation));
    return Centre() +
           QPointF(reach * std::sin(Radians(Azimuth)), -reach * std::cos(Radians(Azimuth)));
}

void LightDirectionPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().window());
    const QPointF centre = Centre();
    const double r = HorizonRadius();
    painter.setPen(QPen(palette().windowText().color(), 1.0));
    painter.setBrush(QColor(200, 220, 240));
    painter.drawEllipse(centre, r, r);
    painter.drawText(QRectF(centre.x() - 8, centre.y() - r - 1, 16, 14), Qt::AlignCenter, "N");
    const QPointF sun = SunPosition();
    painter.setPen(QPen(QColor(160, 110, 0), 1.5));
    painter.drawLine(centre, sun);
    // A light from below the horizon is drawn hollow.
    painter.setBrush(Elevation >= 0.0 ? QBrush(QColor(255, 200, 0)) : QBrush(Qt::NoBrush));
    painter.drawEllipse(sun, SunRadius, SunRadius);
}

} // namespace korvel
