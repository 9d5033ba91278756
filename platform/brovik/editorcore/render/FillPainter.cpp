#include "platform/brovik/editorcore/render/ElementPainters.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
QColor shaded(QColor c, double shade) {
    if (shade < 1)
        return QColor::fromRgbF(c.redF() * shade, c.greenF() * shade, c.blueF() * shade, c.alphaF());
    if (shade > 1) {
        const double t = shade - 1;
        return QColor::fromRgbF(c.redF() + (1 - c.redF()) * t, c.greenF() + (1 - c.greenF()) * t,
                                c.blueF() + (1 - c.blueF()) * t, c.alphaF());
    }
    return c;
}

QGradientStops stopsOf(const Fill& fill, double shade) {
    QGradientStops stops;
    for (const GradientStop& s : fill.stops) {
        double pos = s.position;
        // QGradient ignores stops at an identical position; nudge them apart to keep hard edges.
        if (!stops.isEmpty() && pos <= stops.back().first)
            pos = std::min(1.0, stops.back().first + 1e-6);
        stops.push_back({pos, shaded(s.color, shade)});
    }
    return stops;
}

void paintPictureFill(QPainter& painter, const QPainterPath& path, const Fill& fill, const QRectF& box) {
    const Metafiles::Metafile* metafile = fill.picture && !fill.tile ? fill.picture->metafile() : nullptr;
    const QImage image = fill.picture && !metafile ? fill.recolor.apply(fill.picture->image()) : QImage();
    if ((image.isNull() && !metafile) || box.isEmpty())
        return;
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.setOpacity(painter.opacity() * fill.alpha);
    if (metafile) {
        paintMetafile(painter, *metafile, box, fill.sourceCrop);
    } else if (fill.tile) {
        // A tile drawn smaller than its pixels is resampled once, smoothly, to its device size: a
        // texture brush would pick every few pixels and show noise instead of the motif.
        const double device = fill.tileScale * std::sqrt(std::abs(painter.combinedTransform().determinant()));
        QImage tile = image;
        if (device > 0 && device < 0.75)
            tile = image.scaled(std::max(1, int(std::lround(image.width() * device))),
                                std::max(1, int(std::lround(image.height() * device))), Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
        QBrush brush(tile);
        const QSizeF size(fill.tileScale * image.width(), fill.tileScale * image.height());
        const QPointF origin(box.left() + fill.tileAlign.x() * (box.width() - size.width()),
                             box.top() + fill.tileAlign.y() * (box.height() - size.height()));
        QTransform t;
        t.translate(origin.x() + fill.tileOffset.x() + fill.tileShift.x() * size.width(),
                    origin.y() + fill.tileOffset.y() + fill.tileShift.y() * size.height());
        t.scale(fill.tileScale * image.width() / tile.width(),
                fill.tileScale * image.height() / tile.height());
        brush.setTransform(t);
        painter.fillPath(path, brush);
    } else {
        const QRectF source(fill.sourceCrop.x() * image.width(), fill.sourceCrop.y() * image.height(),
                            fill.sourceCrop.width() * image.width(),
                            fill.sourceCrop.height() * image.height());
        painter.drawImage(box, image, source);
    }
    painter.restore();
}
void paintHatch(QPainter& painter, const QPainterPath& path, const Fill& fill, const QRectF& box) {
    if (fill.color.alpha() > 0)
        painter.fillPath(path, fill.color);
    // Forged spacings must not make millions of lines.
    const double spacing = std::max(fill.hatchSpacing, 0.25);
    const QPointF c = box.center();
    const double reach = std::hypot(box.width(), box.height()) / 2 + spacing;
    const int lines = std::min(int(reach / spacing), 4000);
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    QPen pen(fill.hatchColor, fill.hatchWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    static const double setAngles[] = {0, 90, 45};
    for (int set = 0; set < std::clamp(fill.hatchSets, 1, 3); ++set) {
        const double a = (fill.hatchAngle + setAngles[set]) * std::numbers::pi / 180;
        const QPointF along(std::cos(a), -std::sin(a)), across(std::sin(a), std::cos(a));
        for (int i = -lines; i <= lines; ++i) {
            const QPointF o = c + across * (i * spacing);
            painter.drawLine(o - along * reach, o + along * reach);
        }
    }
    painter.restore();
}

void paintPattern(QPainter& painter, const QPainterPath& path, const Fill& fill) {
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    const QRgb on = fill.hatchColor.rgba(), off = fill.color.rgba();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixelColor(x, y, QColor::fromRgba(fill.patternBits[size_t(y)] & (0x80 >> x) ? on : off));
    QBrush brush(tile);
    // One bitmap pixel to one device pixel, whatever the painter's scale.
    brush.setTransform(painter.deviceTransform().inverted());
    painter.fillPath(path, brush);
}
} // namespace

void paintMetafile(QPainter& painter, const Metafiles::Metafile& metafile, const QRectF& box,
                   const QRectF& crop) {
    if (crop.width() <= 0 || crop.height() <= 0)
        return;
    const double w = box.width() / crop.width(), h = box.height() / crop.height();
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    metafile.play(painter, QRectF(box.x() - crop.x() * w, box.y() - crop.y() * h, w, h));
    painter.restore();
}

void paintFill(QPainter& painter, const QPainterPath& path, const Fill& fill, const QRectF& box,
               double shade) {
    switch (fill.kind) {
    case Fill::Kind::None:
        return;
    case Fill::Kind::Solid:
        painter.fillPath(path, shaded(fill.color, shade));
        return;
    case Fill::Kind::Hatch:
        paintHatch(painter, path, fill, box);
        return;
    case Fill::Kind::Pattern:
        paintPattern(painter, path, fill);
        return;
    case Fill::Kind::LinearGradient: {
        // The gradient line runs through the centre at the given angle and is just long enough
        // for the stops to span the whole box.
        const double a = fill.angle * std::numbers::pi / 180.0;
        const QPointF d(std::cos(a), std::sin(a));
        const double half = (std::abs(d.x()) * box.width() + std::abs(d.y()) * box.height()) / 2;
        const QPointF c = box.center();
        QLinearGradient g(c - d * half, c + d * half);
        g.setStops(stopsOf(fill, shade));
        painter.fillPath(path, g);
        return;
    }
    case Fill::Kind::RadialGradient: {
        const QPointF c(box.left() + fill.focus.x() * box.width(), box.top() + fill.focus.y() * box.height());
        double radius = 0;
        for (const QPointF& corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            radius = std::max(radius, std::hypot(corner.x() - c.x(), corner.y() - c.y()));
        QRadialGradient g(c, std::max(radius, 0.001));
        g.setStops(stopsOf(fill, shade));
        painter.fillPath(path, g);
        return;
    }
    case Fill::Kind::Picture:
        paintPictureFill(painter, path, fill, box);
        return;
    }
}

} // namespace KX::Tovrin
