#include "platform/brovik/editorcore/render/ElementPainters.h"

#include "platform/brovik/editorcore/render/GroupMapping.h"
#include "platform/brovik/editorcore/render/ShapeTextFit.h"
#include "platform/brovik/editorcore/render/TextPainter.h"

#include <QImage>
#include <QPainterPathStroker>
#include <algorithm>

namespace KX::Tovrin {

namespace {
constexpr int MaxDepth = 32;
constexpr qint64 MaxLayerPixels = 4096 * 4096;
} // namespace

void enterFrame(QPainter& painter, const ElementFrame& frame, bool forText) {
    const QRectF& b = frame.bounds;
    const QPointF c = b.center();
    painter.translate(c);
    double rotation = frame.rotation;
    if (forText && frame.flipV)
        rotation += 180; // a vertically flipped shape keeps its text upside down, not mirrored
    if (rotation != 0)
        painter.rotate(rotation);
    if (!forText && (frame.flipH || frame.flipV))
        painter.scale(frame.flipH ? -1 : 1, frame.flipV ? -1 : 1);
    painter.translate(-b.width() / 2, -b.height() / 2);
}

namespace {
// What casts a shape's shadow: its filled area, or its outline when it has no fill.
QPainterPath shadowSilhouette(const ShapeElement& shape) {
    QPainterPath silhouette;
    silhouette.setFillRule(Qt::WindingFill);
    const bool filled = shape.fill.isVisible();
    for (const GeometryPath& p : shape.geometry) {
        if (filled && p.filled)
            silhouette.addPath(p.path);
        else if (!filled && p.stroked && shape.stroke.visible) {
            QPainterPathStroker stroker;
            stroker.setWidth(std::max(shape.stroke.width, 0.75));
            silhouette.addPath(stroker.createStroke(p.path));
        }
    }
    return silhouette;
}

// The shadow falls in the parent's coordinates, then takes the element's own frame.
void paintElementShadow(QPainter& painter, const ElementFrame& frame, const Shadow& shadow,
                        const QPainterPath& silhouette, const ShadowCaster& caster, double spread) {
    if (!shadow.isVisible())
        return;
    painter.save();
    painter.translate(shadow.offset);
    enterFrame(painter, frame);
    paintShadow(painter, silhouette, shadow, caster, spread);
    painter.restore();
}

QPainter::CompositionMode compositionOf(FillOverlay::Blend blend) {
    switch (blend) {
    case FillOverlay::Blend::Multiply:
        return QPainter::CompositionMode_Multiply;
    case FillOverlay::Blend::Screen:
        return QPainter::CompositionMode_Screen;
    case FillOverlay::Blend::Darken:
        return QPainter::CompositionMode_Darken;
    case FillOverlay::Blend::Lighten:
        return QPainter::CompositionMode_Lighten;
    case FillOverlay::Blend::Over:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

void paintFills(QPainter& painter, const ShapeElement& shape) {
    const QRectF local(QPointF(0, 0), shape.frame.bounds.size());
    for (const GeometryPath& p : shape.geometry)
        if (p.filled)
            paintFill(painter, p.path, shape.fill, local, p.fillShade);
}

// The overlay over the shape's filled areas, blended with what the painter already holds there.
void blendOverlay(QPainter& painter, const ShapeElement& shape, const FillOverlay& overlay) {
    const QRectF local(QPointF(0, 0), shape.frame.bounds.size());
    painter.save();
    painter.setCompositionMode(compositionOf(overlay.blend));
    for (const GeometryPath& g : shape.geometry)
        if (g.filled)
            paintFill(painter, g.path, overlay.fill, local, 1);
    painter.restore();
}

// The overlay blends with the shape's own fill alone, not with what lies beneath it: both are
// composed in a layer of their own, so a translucent fill under an opaque overlay comes out
// opaque. The painter is in the shape's frame.
void paintFillsWithOverlay(QPainter& painter, const ShapeElement& shape, const FillOverlay& overlay) {
    QPainterPath filled;
    for (const GeometryPath& p : shape.geometry)
        if (p.filled)
            filled.addPath(p.path);
    const QTransform toDevice = painter.worldTransform();
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    const QRect area = toDevice.map(filled).boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & device;
    if (area.isEmpty())
        return;
    if (qint64(area.width()) * area.height() > MaxLayerPixels) {
        // A printer page's worth of pixels: blend onto what lies beneath rather than hold it twice.
        paintFills(painter, shape);
        blendOverlay(painter, shape, overlay);
        return;
    }
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHints(painter.renderHints());
        p.setTransform(toDevice * QTransform::fromTranslate(-area.left(), -area.top()));
        paintFills(p, shape);
        blendOverlay(p, shape, overlay);
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(area.topLeft(), layer);
    painter.restore();
}

// How far an outline reaches past its path: half its width, or its line ends.
double strokeReach(const Stroke& stroke) {
    if (!stroke.visible)
        return 0;
    double factor = 0.5;
    for (const LineEnd& end : {stroke.head, stroke.tail})
        if (end.kind != LineEnd::Kind::None)
            factor = std::max({factor, end.lengthFactor, end.widthFactor / 2});
    return std::max(stroke.width, 1.0) * std::min(factor, 100.0);
}

// The shape's fills and outlines, in its own frame.
void paintShapeBody(QPainter& painter, const ShapeElement& shape) {
    if (shape.overlay)
        paintFillsWithOverlay(painter, shape, *shape.overlay);
    else
        paintFills(painter, shape);
    for (const GeometryPath& p : shape.geometry)
        if (p.stroked)
            paintStroke(painter, p.path, shape.stroke, !p.closed);
}
} // namespace

void paintShape(QPainter& painter, const ShapeElement& shape) {
    if (shape.fitsHeightToText) {
        paintShape(painter, heightFittedToText(shape));
        return;
    }
    const QRectF local(QPointF(0, 0), shape.frame.bounds.size());
    if (shape.shadow.isVisible())
        paintElementShadow(
            painter, shape.frame, shape.shadow, shadowSilhouette(shape),
            [&](QPainter& p) { paintShapeBody(p, shape); }, strokeReach(shape.stroke));
    painter.save();
    enterFrame(painter, shape.frame);
    paintShapeBody(painter, shape);
    painter.restore();
    if (shape.text) {
        painter.save();
        enterFrame(painter, shape.frame, true);
        paintText(painter, *shape.text, shape.textRect.isEmpty() ? local : shape.textRect);
        painter.restore();
    }
}

namespace {
// The picture's frame fill, picture and outline, in its own frame.
void paintPictureBody(QPainter& painter, const PictureElement& picture, const QImage& image,
                      const Metafiles::Metafile* metafile, const QPainterPath& outline) {
    const QRectF local(QPointF(0, 0), picture.frame.bounds.size());
    paintFill(painter, outline, picture.background, local);
    if (metafile && !local.isEmpty()) {
        if (picture.clip)
            painter.setClipPath(*picture.clip, Qt::IntersectClip);
        paintMetafile(painter, *metafile, local, picture.sourceCrop);
        painter.setClipping(false);
    } else if (!image.isNull() && !local.isEmpty()) {
        if (picture.clip)
            painter.setClipPath(*picture.clip, Qt::IntersectClip);
        const QRectF& crop = picture.sourceCrop;
        const QRectF source(crop.x() * image.width(), crop.y() * image.height(), crop.width() * image.width(),
                            crop.height() * image.height());
        // Parts of the crop outside the image stay empty; map the visible part only.
        const QRectF visible = source.intersected(QRectF(image.rect()));
        if (!visible.isEmpty()) {
            const double sx = local.width() / source.width();
            const double sy = local.height() / source.height();
            const QRectF target((visible.left() - source.left()) * sx, (visible.top() - source.top()) * sy,
                                visible.width() * sx, visible.height() * sy);
            painter.drawImage(target, image, visible);
        }
        painter.setClipping(false);
    }
    paintStroke(painter, outline, picture.stroke, false);
}
} // namespace

void paintPicture(QPainter& painter, const PictureElement& picture) {
    const Metafiles::Metafile* metafile = picture.picture ? picture.picture->metafile() : nullptr;
    const QImage image =
        picture.picture && !metafile ? picture.recolor.apply(picture.picture->image()) : QImage();
    QPainterPath outline;
    if (picture.clip)
        outline = *picture.clip;
    else
        outline.addRect(QRectF(QPointF(0, 0), picture.frame.bounds.size()));
    if (picture.shadow.isVisible())
        paintElementShadow(
            painter, picture.frame, picture.shadow, outline,
            [&](QPainter& p) { paintPictureBody(p, picture, image, metafile, outline); },
            strokeReach(picture.stroke));
    painter.save();
    enterFrame(painter, picture.frame);
    paintPictureBody(painter, picture, image, metafile, outline);
    painter.restore();
}

void paintGroup(QPainter& painter, const GroupElement& group, int depth) {
    if (depth > MaxDepth)
        return;
    painter.save();
    enterFrame(painter, group.frame);
    for (const SlideElement& child : mapGroupChildren(group))
        paintElement(painter, child, depth + 1);
    painter.restore();
}

void paintElement(QPainter& painter, const SlideElement& element, int depth) {
    std::visit(
        [&](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, ShapeElement>)
                paintShape(painter, e);
            else if constexpr (std::is_same_v<T, PictureElement>)
                paintPicture(painter, e);
            else if constexpr (std::is_same_v<T, TableElement>)
                paintTable(painter, e);
            else
                paintGroup(painter, e, depth);
        },
        element);
}

} // namespace KX::Tovrin
