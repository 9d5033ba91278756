#pragma once

#include <QColor>
#include <QPointF>

namespace KX::Tovrin {

// An outer shadow: the element's silhouette in colour, moved by offset (points, in the parent's
// coordinates, so it falls the same way however the element is turned) and blurred.
struct Shadow {
    QColor color; // invalid or transparent: no shadow
    QPointF offset;
    double blur = 0; // blur radius, points

    bool isVisible() const { return color.isValid() && color.alpha() > 0; }
};

} // namespace KX::Tovrin
