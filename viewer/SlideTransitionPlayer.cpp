#include "viewer/SlideTransitionPlayer.h"

#include "platform/brovik/slides/SlideControl.h"
#include "viewer/TransitionFrame.h"

#include <QEvent>
#include <QPainter>
#include <QVariantAnimation>

namespace KX {

SlideTransitionPlayer::SlideTransitionPlayer(Brovik::SlideControl* view, TransitionOf transitionOf)
    : QWidget(view), _view(view), _transitionOf(std::move(transitionOf)),
      _animation(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("SlideTransitionPlayer"));
    // Clicks and the pointer belong to the slide view underneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
    _animation->setStartValue(0.0);
    _animation->setEndValue(1.0);
    connect(_animation, &QVariantAnimation::valueChanged, this, [this] { update(); });
    connect(_animation, &QVariantAnimation::finished, this, &SlideTransitionPlayer::done);
    view->installEventFilter(this);
}

SlideTransitionPlayer::~SlideTransitionPlayer() = default;

void SlideTransitionPlayer::moveTo(int index) {
    finish();
    const int shown = _view->getSlideIndex();
    const Tovrin::SlideTransition transition =
        _transitionOf ? _transitionOf(index) : Tovrin::SlideTransition{};
    const bool animate = index == shown + 1 && shown >= 0 &&
                         transition.kind != Tovrin::SlideTransition::Kind::Cut && transition.durationMs > 0 &&
                         _view->isVisible() && !_view->size().isEmpty();
    if (!animate) {
        _view->setSlideIndex(index);
        return;
    }
    // Only the slide moves; the bars beside it stay where they are.
    const QRect area = _view->slideRect();
    const QPixmap from = _view->grab(area);
    _view->setSlideIndex(index);
    play(from, _view->grab(area), transition, area);
}

void SlideTransitionPlayer::play(const QPixmap& from, const QPixmap& to,
                                 const Tovrin::SlideTransition& transition, const QRect& area) {
    finish();
    _from = from;
    _to = to;
    _transition = transition;
    setGeometry(area);
    show();
    raise();
    _animation->setDuration(std::max(1, transition.durationMs));
    _animation->start();
}

void SlideTransitionPlayer::finish() {
    if (_animation->state() != QAbstractAnimation::Stopped) {
        _animation->setCurrentTime(_animation->duration());
        _animation->stop();
    }
    done();
}

void SlideTransitionPlayer::done() {
    hide();
    _from = QPixmap();
    _to = QPixmap();
}

bool SlideTransitionPlayer::isPlaying() const {
    return _animation->state() != QAbstractAnimation::Stopped;
}

void SlideTransitionPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTransitionFrame(painter, rect(), _from, _to, _transition, _animation->currentValue().toDouble());
}

bool SlideTransitionPlayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _view && event->type() == QEvent::Resize) {
        // The pictures no longer fit the view: show where the show is instead.
        finish();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace KX
