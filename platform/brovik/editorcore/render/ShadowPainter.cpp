#include "platform/brovik/editorcore/render/ElementPainters.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

namespace KX::Tovrin {

namespace {
// Shadows wider than this many device pixels are drawn unblurred: the blur buffer must stay small.
constexpr int MaxBuffer = 4096;

// One pass of a running-sum box blur over an 8-bit mask, along rows or columns.
void boxBlur(QImage& mask, int radius, bool horizontal) {
    const int w = mask.width(), h = mask.height();
    const int lines = horizontal ? h : w, length = horizontal ? w : h;
    std::vector<int> source(length);
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> uchar& {
            return horizontal ? mask.scanLine(line)[i] : mask.scanLine(i)[line];
        };
        for (int i = 0; i < length; ++i)
            source[i] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? source[i] : 0;
        for (int i = 0; i < length; ++i) {
            at(i) = uchar(sum / window);
            const int out = i - radius, in = i + radius + 1;
            sum += (in < length ? source[in] : 0) - (out >= 0 ? source[out] : 0);
        }
    }
}

// Three box passes each way approximate a Gaussian with sigma of half the blur radius.
void gaussianBlur(QImage& mask, double blurRadius) {
    const double sigma = blurRadius / 2;
    const int box = std::max(0, int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    if (box == 0)
        return;
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(mask, box, true);
        boxBlur(mask, box, false);
    }
}
} // namespace

void paintShadow(QPainter& painter, const QPainterPath& silhouette, const Shadow& shadow,
                 const ShadowCaster& caster, double spread) {
    if (!shadow.isVisible() || silhouette.isEmpty())
        return;
    const QTransform toDevice = painter.worldTransform();
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    const double blur = shadow.blur * scale;
    const double margin = blur + 2 + std::max(0.0, spread) * scale;
    const QPainterPath devicePath = toDevice.map(silhouette);
    const QRectF area = devicePath.boundingRect().adjusted(-margin, -margin, margin, margin);
    painter.save();
    painter.resetTransform();
    if ((blur < 0.5 && !caster) || area.width() > MaxBuffer || area.height() > MaxBuffer) {
        painter.fillPath(devicePath, shadow.color);
        painter.restore();
        return;
    }
    // A blur hides detail, so a wide one is worked out at a fraction of the resolution and
    // scaled up smoothly: a quarter of the pixels per halving, where the blur costs most.
    const double reduce = std::clamp(blur / 4, 1.0, 8.0);
    const QRect buffer = area.toAlignedRect();
    const QSize reduced(std::max(1, int(std::ceil(buffer.width() / reduce))),
                        std::max(1, int(std::ceil(buffer.height() / reduce))));
    QImage mask(reduced, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (caster) {
            // The element's own coverage casts the shadow: translucent fills cast fainter ones,
            // and the transparent parts of a picture none.
            p.setTransform(toDevice * QTransform::fromTranslate(-buffer.left(), -buffer.top()) *
                           QTransform::fromScale(1 / reduce, 1 / reduce));
            caster(p);
        } else {
            p.scale(1 / reduce, 1 / reduce);
            p.translate(-buffer.topLeft());
            p.fillPath(devicePath, Qt::black);
        }
    }
    gaussianBlur(mask, blur / reduce);
    QImage tinted(reduced, QImage::Format_ARGB32_Premultiplied);
    tinted.fill(shadow.color);
    {
        QPainter p(&tinted);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, mask);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(buffer.topLeft(), QSizeF(reduced) * reduce), tinted);
    painter.restore();
}

} // namespace KX::Tovrin
