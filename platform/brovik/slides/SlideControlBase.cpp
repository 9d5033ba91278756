#include "platform/brovik/slides/SlideControlBase.h"

#include "platform/brovik/document/MediaProvider.h"

#include <QPainter>
#include <QRunnable>
#include <cmath>

namespace KX::Brovik {

SlideControlBase::SlideControlBase(PresentationEditorCoreHolder holder) : _holder(std::move(holder)) {}

SlideControlBase::~SlideControlBase() = default;

void SlideControlBase::setMediaProvider(std::shared_ptr<MediaProvider> provider) {
    _mediaProvider = std::move(provider);
}

void SlideControlBase::setCacheEnabled(bool enabled) {
    _cacheEnabled = enabled;
    // The core is shared by every widget of the window; the cache is its own.
    if (auto* core = _holder.viewerCore()) {
        core->setCacheEnabled(enabled);
    }
}

QRect SlideControlBase::slideRectIn(const QRect& rect) const {
    const auto* core = _holder.viewerCore();
    if (!core || !core->isLoaded() || rect.isEmpty()) {
        return QRect();
    }
    const QSizeF slide = core->slideSize();
    if (slide.isEmpty()) {
        return QRect();
    }
    QSizeF fitted = slide.scaled(QSizeF(rect.size()), Qt::KeepAspectRatio);
    const QSize size(std::max(1, static_cast<int>(std::floor(fitted.width()))),
                     std::max(1, static_cast<int>(std::floor(fitted.height()))));
    QRect result(QPoint(0, 0), size);
    result.moveCenter(rect.center());
    // moveCenter rounds towards the top left; keep the slide inside the rectangle.
    result.moveLeft(rect.left() + (rect.width() - size.width()) / 2);
    result.moveTop(rect.top() + (rect.height() - size.height()) / 2);
    return result;
}

void SlideControlBase::render(QPainter& painter, const QRect& rect, boost::optional<int> itemIndex) {
    const auto* core = _holder.viewerCore();
    if (!itemIndex || !core || *itemIndex < 0 || *itemIndex >= getSlidesCount()) {
        return;
    }
    const QRect target = slideRectIn(rect);
    if (target.isEmpty()) {
        return;
    }
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixelSize(static_cast<int>(std::lround(target.width() * ratio)),
                          static_cast<int>(std::lround(target.height() * ratio)));
    QImage image = slideImage(*itemIndex, pixelSize);
    if (image.isNull()) {
        return;
    }
    image.setDevicePixelRatio(ratio);
    painter.drawImage(target, image);
    if (_cacheEnabled && *itemIndex + 1 < getSlidesCount()) {
        prerender(*itemIndex + 1, pixelSize);
    }
}

QImage SlideControlBase::slideImage(int index, const QSize& pixelSize) {
    const auto* core = _holder.viewerCore();
    return core ? core->renderSlide(index, pixelSize) : QImage();
}

void SlideControlBase::prerender(int index, const QSize& pixelSize) const {
    if (!_mediaProvider) {
        return;
    }
    // The job holds the presentation alive; the pool is drained before the provider goes away.
    PresentationEditorCoreHolder holder = _holder;
    _mediaProvider->threadPool().start(QRunnable::create([holder, index, pixelSize] {
        if (const auto* core = holder.viewerCore()) {
            core->renderSlide(index, pixelSize);
        }
    }));
}

} // namespace KX::Brovik
