#include "platform/brovik/slides/SlideControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace KX::Brovik {

namespace {
constexpr int PointerRadius = 7;
}

SlideControl::SlideControl(PresentationEditorCoreHolder holder, bool drawSlideFrame, QWidget* parent)
    : QWidget(parent), SlideControlBase(std::move(holder)), _drawSlideFrame(drawSlideFrame) {
    setObjectName(QStringLiteral("SlideControl"));
    setAttribute(Qt::WA_StyledBackground, true);
}

SlideControl::~SlideControl() = default;

void SlideControl::setSlideIndex(int index) {
    if (index == _slideIndex) {
        return;
    }
    _slideIndex = index;
    update();
}

void SlideControl::setPointerEffectEnabled(bool enabled) {
    if (enabled == _pointerEffect) {
        return;
    }
    _pointerEffect = enabled;
    setMouseTracking(enabled);
    if (enabled) {
        setCursor(Qt::BlankCursor);
        _pointerPosition = mapFromGlobal(QCursor::pos());
        _pointerInside = rect().contains(_pointerPosition);
    } else {
        unsetCursor();
    }
    update();
}

QRect SlideControl::pointerRect() const {
    return QRect(_pointerPosition - QPoint(PointerRadius, PointerRadius),
                 QSize(2 * PointerRadius, 2 * PointerRadius))
        .adjusted(-2, -2, 2, 2);
}

void SlideControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    SlideControlBase::render(painter, rect(),
                             _slideIndex >= 0 ? boost::optional<int>(_slideIndex) : boost::none);
    if (_drawSlideFrame) {
        const QRect slide = slideRect();
        if (!slide.isEmpty()) {
            painter.setPen(QColor(200, 200, 200));
            painter.drawRect(slide.adjusted(0, 0, -1, -1));
        }
    }
    if (_pointerEffect && _pointerInside) {
        painter.setRenderHint(QPainter::Antialiasing);
        QRadialGradient glow(_pointerPosition, PointerRadius + 2);
        glow.setColorAt(0.0, QColor(255, 40, 40));
        glow.setColorAt(0.6, QColor(230, 0, 0, 220));
        glow.setColorAt(1.0, QColor(230, 0, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(_pointerPosition), PointerRadius + 2, PointerRadius + 2);
    }
}

void SlideControl::mouseMoveEvent(QMouseEvent* event) {
    if (_pointerEffect) {
        const QRect before = pointerRect();
        _pointerPosition = event->pos();
        _pointerInside = true;
        update(before.united(pointerRect()));
    }
    QWidget::mouseMoveEvent(event);
}

void SlideControl::leaveEvent(QEvent* event) {
    if (_pointerEffect) {
        _pointerInside = false;
        update(pointerRect());
    }
    QWidget::leaveEvent(event);
}

} // namespace KX::Brovik
