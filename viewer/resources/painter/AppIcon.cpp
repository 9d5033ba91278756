#include "viewer/resources/painter/Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace KX::ImagePainter {

// A red rounded square with a white slide on a stand and a play mark: "a presentation".
void paintAppIcon(QPainter& p, int size) {
    p.save();
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient background(QPointF(0, 0), QPointF(0, 64));
    background.setColorAt(0.0, QColor(214, 92, 101));
    background.setColorAt(1.0, AppRedDark);
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(11, 14, 42, 28), 2.5, 2.5);
    QPen stand(QColor(255, 255, 255), 3.2);
    stand.setCapStyle(Qt::RoundCap);
    p.setPen(stand);
    p.drawLine(QPointF(32, 42), QPointF(32, 48));
    p.drawLine(QPointF(32, 48), QPointF(24, 53));
    p.drawLine(QPointF(32, 48), QPointF(40, 53));

    p.setPen(Qt::NoPen);
    p.setBrush(AppRed);
    QPainterPath play;
    play.moveTo(28, 20.5);
    play.lineTo(28, 35.5);
    play.lineTo(40, 28);
    play.closeSubpath();
    p.drawPath(play);
    p.restore();
}

} // namespace KX::ImagePainter
