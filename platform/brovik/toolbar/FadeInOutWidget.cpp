#include "platform/brovik/toolbar/FadeInOutWidget.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace KX::Brovik {

FadeInOutWidget::FadeInOutWidget(QWidget* parent)
    : QWidget(parent), _effect(new QGraphicsOpacityEffect(this)) {
    setGraphicsEffect(_effect);
    setEffectOpacity(1.0);
    _autoHideTimer.setSingleShot(true);
    _autoHideTimer.setInterval(AutoHideDelayMs);
    connect(&_autoHideTimer, &QTimer::timeout, this, [this] {
        if (_state == State::Shown && !underMouse()) {
            setVisibilityState(State::Hidden, true);
        }
    });
}

FadeInOutWidget::~FadeInOutWidget() = default;

qreal FadeInOutWidget::opacity() const {
    return _effect->opacity();
}

bool FadeInOutWidget::isOpacityEffectActive() const {
    return _effect->isEnabled();
}

void FadeInOutWidget::setVisibilityState(int state, bool animated) {
    setVisibilityState(static_cast<State>(std::clamp(state, 0, 2)), animated);
}

void FadeInOutWidget::setVisibilityState(State state, bool animated) {
    _state = state;
    _autoHideTimer.stop();
    switch (state) {
    case State::Hidden:
        fadeTo(0.0, animated);
        break;
    case State::Shown:
        fadeTo(1.0, animated);
        _autoHideTimer.start();
        break;
    case State::Pinned:
        fadeTo(1.0, animated);
        break;
    }
}

void FadeInOutWidget::fadeTo(qreal opacity, bool animated) {
    if (_animation) {
        _animation->stop();
    }
    // A faded-out toolbar must not take clicks meant for the slide below it.
    setAttribute(Qt::WA_TransparentForMouseEvents, opacity == 0.0);
    if (!animated) {
        setEffectOpacity(opacity);
        return;
    }
    _effect->setEnabled(true);
    auto* animation = new QPropertyAnimation(_effect, "opacity");
    animation->setDuration(FadeDurationMs);
    animation->setStartValue(_effect->opacity());
    animation->setEndValue(opacity);
    _animation = animation;
    connect(animation, &QPropertyAnimation::finished, this, [this, opacity] { setEffectOpacity(opacity); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void FadeInOutWidget::setEffectOpacity(qreal opacity) {
    _effect->setOpacity(opacity);
    // The effect paints from a cached image of the widget; a translucent background repainted in
    // part (a button hovered) is drawn over the old cache and darkens. Fully shown, the widget
    // paints itself directly.
    _effect->setEnabled(opacity < 1.0);
}

void FadeInOutWidget::enterEvent(QEvent* event) {
    _autoHideTimer.stop();
    QWidget::enterEvent(event);
}

void FadeInOutWidget::leaveEvent(QEvent* event) {
    if (_state == State::Shown) {
        _autoHideTimer.start();
    }
    QWidget::leaveEvent(event);
}

} // namespace KX::Brovik
