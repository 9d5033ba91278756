#include "platform/brovik/editorcore/render/ShapeTextFit.h"

#include "platform/brovik/editorcore/render/TextPainter.h"

#include <cmath>

namespace KX::Tovrin {

ShapeElement heightFittedToText(const ShapeElement& shape) {
    ShapeElement fitted = shape;
    fitted.fitsHeightToText = false;
    const QRectF& bounds = shape.frame.bounds;
    if (!shape.fitsHeightToText || !shape.text || bounds.height() <= 0)
        return fitted;
    const QRectF area = shape.textRect.isEmpty() ? QRectF(QPointF(0, 0), bounds.size()) : shape.textRect;
    if (area.height() <= 0 || area.width() <= 0)
        return fitted;
    const double needed = measureTextHeight(*shape.text, area.width());
    const double height = std::max(shape.minHeight, bounds.height() * needed / area.height());
    const double k = height / bounds.height();
    if (!std::isfinite(k) || k < 0.01 || k > 100 || std::abs(k - 1) < 1e-6)
        return fitted;
    const QTransform stretch = QTransform::fromScale(1, k);
    for (GeometryPath& p : fitted.geometry)
        p.path = stretch.map(p.path);
    if (!shape.textRect.isEmpty())
        fitted.textRect = stretch.mapRect(shape.textRect);
    const double kept = shape.text->anchor == TextBody::Anchor::Top      ? 0
                        : shape.text->anchor == TextBody::Anchor::Bottom ? 1
                                                                         : 0.5;
    fitted.frame.bounds =
        QRectF(bounds.x(), bounds.y() + (bounds.height() - height) * kept, bounds.width(), height);
    return fitted;
}

} // namespace KX::Tovrin
