#include "platform/brovik/editorcore/render/ElementPainters.h"

#include <cmath>

namespace KX::Tovrin {

namespace {
// Draws a line end at tip, pointing along direction (unit vector from the line into the tip).
void paintLineEnd(QPainter& painter, const LineEnd& end, QPointF tip, QPointF direction,
                  const Stroke& stroke) {
    if (end.kind == LineEnd::Kind::None)
        return;
    const double lw = std::max(stroke.width, 1.0);
    const double halfWidth = end.widthFactor * lw / 2;
    const double length = end.lengthFactor * lw;
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = tip - direction * length;
    painter.save();
    painter.setBrush(stroke.color);
    QPen pen(stroke.color, stroke.width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(end.kind == LineEnd::Kind::Arrow ? pen : QPen(Qt::NoPen));
    switch (end.kind) {
    case LineEnd::Kind::Arrow:
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(QPolygonF({base + normal * halfWidth, tip, base - normal * halfWidth}));
        break;
    case LineEnd::Kind::Stealth:
        painter.drawPolygon(QPolygonF(
            {tip, base + normal * halfWidth, tip - direction * (length * 0.6), base - normal * halfWidth}));
        break;
    case LineEnd::Kind::Diamond:
        painter.drawPolygon(QPolygonF({tip + direction * (length / 2), tip + normal * halfWidth,
                                       tip - direction * (length / 2), tip - normal * halfWidth}));
        break;
    case LineEnd::Kind::Oval:
        painter.drawEllipse(tip, length / 2, halfWidth);
        break;
    default:
        painter.drawPolygon(QPolygonF({tip, base + normal * halfWidth, base - normal * halfWidth}));
        break;
    }
    painter.restore();
}

QPointF unit(QPointF v) {
    const double len = std::hypot(v.x(), v.y());
    return len > 1e-9 ? v / len : QPointF(1, 0);
}
} // namespace

void paintStroke(QPainter& painter, const QPainterPath& path, const Stroke& stroke, bool open) {
    if (!stroke.visible || stroke.color.alpha() == 0)
        return;
    QPen pen(stroke.color, stroke.width, stroke.style, stroke.cap, stroke.join);
    // Lines thinner than a device pixel stay one pixel wide, as the authoring programs draw
    // them; antialiased at their true width they would fade to a faint grey.
    const QTransform& t = painter.worldTransform();
    const double deviceScale = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    if (stroke.width * deviceScale < 1.0) {
        pen.setWidthF(1.0);
        pen.setCosmetic(true);
    }
    painter.strokePath(path, pen);
    if (!open || path.elementCount() < 2)
        return;
    if (stroke.head.kind != LineEnd::Kind::None) {
        const QPointF tip = path.elementAt(0);
        const QPointF next = path.pointAtPercent(path.percentAtLength(std::min(path.length(), 1.0)));
        paintLineEnd(painter, stroke.head, tip, unit(tip - next), stroke);
    }
    if (stroke.tail.kind != LineEnd::Kind::None) {
        const QPointF tip = path.pointAtPercent(1);
        const QPointF prev = path.pointAtPercent(path.percentAtLength(std::max(0.0, path.length() - 1.0)));
        paintLineEnd(painter, stroke.tail, tip, unit(tip - prev), stroke);
    }
}

} // namespace KX::Tovrin
