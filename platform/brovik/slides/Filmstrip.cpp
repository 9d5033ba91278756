#include "platform/brovik/slides/Filmstrip.h"

#include "platform/brovik/document/MediaProvider.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRunnable>
#include <QScrollBar>
#include <algorithm>
#include <limits>

namespace KX::Brovik {

namespace {
constexpr qint64 DefaultThumbnailBudget = 48ll << 20;

int costOf(const QImage& image) {
    return int(std::min<qint64>(image.sizeInBytes(), std::numeric_limits<int>::max()));
}
} // namespace

Filmstrip::Filmstrip(PresentationEditorCoreHolder holder, const QMargins& itemMargins, int mode,
                     QWidget* parent)
    : QAbstractScrollArea(parent), SlideControlBase(std::move(holder)), _layout(itemMargins), _mode(mode) {
    setObjectName(QStringLiteral("Filmstrip"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_StyledBackground, true);
    setThumbnailBudget(DefaultThumbnailBudget);
    updateLayout();
}

Filmstrip::~Filmstrip() = default;

void Filmstrip::setFilmstripSettings(const FilmstripSettings& settings) {
    _settings = settings;
    viewport()->update();
}

void Filmstrip::setCurrentIndex(int index) {
    if (index < -1 || index >= getSlidesCount() || index == _currentIndex) {
        return;
    }
    _currentIndex = index;
    const QRect item = _layout.itemRect(index);
    if (!item.isEmpty()) {
        QScrollBar* bar = verticalScrollBar();
        if (item.top() < bar->value()) {
            bar->setValue(item.top());
        } else if (item.bottom() > bar->value() + viewport()->height() - 1) {
            bar->setValue(item.bottom() - viewport()->height() + 1);
        }
    }
    viewport()->update();
    emit currentIndexChanged(index);
}

QRect Filmstrip::itemRectInViewport(int index) const {
    return _layout.itemRect(index).translated(0, -verticalScrollBar()->value());
}

int Filmstrip::indexAt(const QPoint& pos) const {
    if (!viewport()->rect().contains(pos)) {
        return -1;
    }
    return _layout.indexAt(pos.y() + verticalScrollBar()->value());
}

bool Filmstrip::hasThumbnail(int index) const {
    return _thumbnails.contains(index);
}

void Filmstrip::setThumbnailBudget(qint64 bytes) {
    _thumbnails.setMaxCost(int(std::clamp<qint64>(bytes, 0, std::numeric_limits<int>::max())));
}

void Filmstrip::keepThumbnail(int index, const QImage& image) {
    // QCache refuses (and deletes) an object costing more than the whole budget.
    _thumbnails.insert(index, new QImage(image), costOf(image));
}

void Filmstrip::updateLayout() {
    const auto* core = getEditorCoreHolder().viewerCore();
    _layout.update(viewport()->width(), core ? core->slideSize() : QSizeF(), getSlidesCount());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, _layout.getContentHeight() - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(std::max(1, _layout.getItemHeight() / 4));
}

void Filmstrip::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void Filmstrip::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    for (int index = 0; index < _layout.getItemCount(); ++index) {
        const QRect item = itemRectInViewport(index);
        if (!item.intersects(dirty)) {
            continue;
        }
        painter.save();
        render(painter, item, index);
        painter.restore();
        const QColor frame = index == _currentIndex   ? _settings.currentItemColor
                             : index == _hoveredIndex ? _settings.hoveredItemFrameColor
                                                      : QColor();
        if (frame.isValid()) {
            const QRect slide = slideRectIn(item.marginsRemoved(_layout.getItemMargins()));
            QPen pen(frame);
            pen.setWidth(2 + _settings.frameWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(slide);
        }
    }
}

void Filmstrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int index = indexAt(event->pos());
        if (index >= 0) {
            setCurrentIndex(index);
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void Filmstrip::mouseMoveEvent(QMouseEvent* event) {
    const int index = indexAt(event->pos());
    if (index != _hoveredIndex) {
        _hoveredIndex = index;
        viewport()->update();
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void Filmstrip::leaveEvent(QEvent* event) {
    if (_hoveredIndex != -1) {
        _hoveredIndex = -1;
        viewport()->update();
    }
    QAbstractScrollArea::leaveEvent(event);
}

QImage Filmstrip::slideImage(int index, const QSize& pixelSize) {
    const QImage* found = _thumbnails.object(index);
    if (found && found->size() == pixelSize) {
        return *found;
    }
    // Copied now: keeping another thumbnail below may drop this one.
    const QImage older = found ? *found : QImage();
    const std::shared_ptr<MediaProvider>& provider = getMediaProvider();
    if (!provider) {
        // Nobody to render in the background: draw it now.
        QImage image = SlideControlBase::slideImage(index, pixelSize);
        if (isCacheEnabled() && !image.isNull()) {
            keepThumbnail(index, image);
        }
        return image;
    }
    if (!_pending.contains(index)) {
        _pending.insert(index);
        // The guard is made here and read only on this thread; the job keeps the presentation alive.
        QPointer<Filmstrip> self(this);
        PresentationEditorCoreHolder holder = getEditorCoreHolder();
        provider->threadPool().start(QRunnable::create([self, holder, index, pixelSize] {
            const auto* core = holder.viewerCore();
            QImage image = core ? core->renderSlide(index, pixelSize) : QImage();
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, index, pixelSize, image] {
                    if (self) {
                        self->thumbnailReady(index, pixelSize, image);
                    }
                },
                Qt::QueuedConnection);
        }));
    }
    // Until the fresh thumbnail arrives an older one, scaled, is better than nothing.
    return older;
}

void Filmstrip::thumbnailReady(int index, const QSize& pixelSize, const QImage& image) {
    _pending.remove(index);
    if (image.isNull()) {
        return;
    }
    const QImage* kept = _thumbnails.object(index);
    if (isCacheEnabled() || !kept || kept->size() != pixelSize) {
        keepThumbnail(index, image);
    }
    viewport()->update(itemRectInViewport(index));
}

} // namespace KX::Brovik
