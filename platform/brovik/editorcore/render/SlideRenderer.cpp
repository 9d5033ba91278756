#include "platform/brovik/editorcore/render/SlideRenderer.h"

#include "platform/brovik/editorcore/render/ElementPainters.h"

namespace KX::Tovrin {

void SlideRenderer::render(const PresentationDocument& document, int index, QPainter& painter,
                           const QRectF& target) {
    if (index < 0 || index >= int(document.slides.size()) || target.isEmpty())
        return;
    const Slide& slide = document.slides[std::size_t(index)];
    const QSizeF size = document.slideSize;
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const QSizeF scaled = size * scale;
    const QPointF origin(target.left() + (target.width() - scaled.width()) / 2,
                         target.top() + (target.height() - scaled.height()) / 2);
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    painter.translate(origin);
    painter.scale(scale, scale);
    const QRectF page(QPointF(0, 0), size);
    painter.setClipRect(page, Qt::IntersectClip);
    painter.fillRect(page, Qt::white); // under any transparent background
    QPainterPath pagePath;
    pagePath.addRect(page);
    paintFill(painter, pagePath, slide.background, page);
    for (const SlideElement& element : slide.elements)
        paintElement(painter, element);
    painter.restore();
}

QImage SlideRenderer::render(const PresentationDocument& document, int index, const QSize& size) {
    // 8K at 16:9 is about 33 million pixels; anything far beyond is a caller's mistake, not a screen.
    constexpr qint64 MaxPixels = 64ll << 20;
    if (index < 0 || index >= int(document.slides.size()) || size.isEmpty() || size.width() > 16384 ||
        size.height() > 16384 || qint64(size.width()) * size.height() > MaxPixels)
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    render(document, index, painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

} // namespace KX::Tovrin
