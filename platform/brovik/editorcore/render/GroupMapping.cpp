#include "platform/brovik/editorcore/render/GroupMapping.h"

#include <QTransform>
#include <cmath>

namespace KX::Tovrin {

namespace {

struct Scale {
    double sx = 1;
    double sy = 1;
    QPointF origin; // child space top-left
};

// A child turned a quarter turn sees the group's horizontal scale along its own height.
Scale localScale(const ElementFrame& frame, const Scale& s) {
    const double r = std::fmod(std::abs(frame.rotation), 180.0);
    if (r > 45 && r < 135)
        return {s.sy, s.sx, s.origin};
    return s;
}

// The frame's centre moves with the group mapping; its size scales in its own axes, so a
// rotated child stays rotated about its new centre.
void mapFrame(ElementFrame& frame, const Scale& s) {
    const Scale local = localScale(frame, s);
    const QPointF c = frame.bounds.center() - s.origin;
    const QPointF mapped(c.x() * s.sx, c.y() * s.sy);
    const QSizeF size(frame.bounds.width() * local.sx, frame.bounds.height() * local.sy);
    frame.bounds =
        QRectF(mapped.x() - size.width() / 2, mapped.y() - size.height() / 2, size.width(), size.height());
}

QRectF scaledRect(const QRectF& r, double sx, double sy) {
    return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
}

SlideElement mapElement(const SlideElement& element, const Scale& s) {
    SlideElement out = element;
    std::visit(
        [&](auto& e) {
            using T = std::decay_t<decltype(e)>;
            const Scale local = localScale(e.frame, s);
            const QTransform t = QTransform::fromScale(local.sx, local.sy);
            mapFrame(e.frame, s);
            if constexpr (std::is_same_v<T, ShapeElement>) {
                for (GeometryPath& p : e.geometry)
                    p.path = t.map(p.path);
                if (!e.textRect.isEmpty())
                    e.textRect = scaledRect(e.textRect, local.sx, local.sy);
            } else if constexpr (std::is_same_v<T, PictureElement>) {
                if (e.clip)
                    e.clip = t.map(*e.clip);
            } else if constexpr (std::is_same_v<T, TableElement>) {
                for (double& w : e.columnWidths)
                    w *= local.sx;
                for (double& h : e.rowHeights)
                    h *= local.sy;
            }
            // A nested group keeps its child space; it maps onto the new bounds when painted.
        },
        out);
    return out;
}

} // namespace

std::vector<SlideElement> mapGroupChildren(const GroupElement& group) {
    const QRectF& space = group.childSpace;
    const QSizeF size = group.frame.bounds.size();
    Scale s;
    s.origin = space.topLeft();
    if (space.width() > 0 && space.height() > 0) {
        s.sx = size.width() / space.width();
        s.sy = size.height() / space.height();
    }
    std::vector<SlideElement> children;
    children.reserve(group.children.size());
    for (const SlideElement& child : group.children)
        children.push_back(mapElement(child, s));
    return children;
}

} // namespace KX::Tovrin
