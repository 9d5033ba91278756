// The filmstrip drawer of the presentation window: parked left of the window, it slides in when the
// mouse touches the left edge and out again when the mouse leaves it.

#include "core/FatalError.h"
#include "platform/brovik/document/PresentationEditorCoreHolder.h"
#include "platform/brovik/slides/SlideNavigationController.h"
#include "viewer/PresentationViewer.h"
#include "viewer/StyledFilmstrip.h"

#include <QEasingCurve>
#include <QPropertyAnimation>

namespace KX {

namespace {

constexpr int FilmstripWidth = StyledFilmstrip::Width;
constexpr int FilmstripAnimationMs = 200;

} // namespace

void PresentationViewer::createFilmstrip() {
    if (!_slideNavigationController) {
        assertionFailed("_slideNavigationController");
    }
    _filmstrip = new StyledFilmstrip(
        Brovik::PresentationEditorCoreHolder(Brovik::PresentationEditorCoreHolder::Variant(_editorCore)),
        this);
    _filmstrip->setFixedWidth(FilmstripWidth);
    _filmstrip->setFocusPolicy(Qt::NoFocus);
    _filmstrip->installEventFilter(this);
    _filmstrip->setMediaProvider(getMediaProvider());
    // Parked just left of the window until the mouse touches the left edge.
    _filmstrip->setVisible(true);
    _filmstrip->move(-_filmstrip->width(), 0);
    connect(_filmstrip, &Brovik::Filmstrip::currentIndexChanged, _slideNavigationController,
            &Brovik::SlideNavigationController::setCurrentSlideIndex);
}

void PresentationViewer::showFilmstrip() {
    if (!_filmstrip) {
        assertionFailed("_filmstrip");
    }
    _filmstrip->show();
    _filmstrip->raise();
    const QRect from(QPoint(-FilmstripWidth, 0), QPoint(-1, height() - 1));
    animateFilmstrip(from, from.translated(FilmstripWidth, 0));
}

void PresentationViewer::hideFilmstrip() {
    const QRect from = _filmstrip->geometry();
    animateFilmstrip(from, from.translated(-from.width(), 0));
    if (!_filmstripAnimation) {
        assertionFailed("_filmstripAnimation");
    }
    connect(_filmstripAnimation.data(), &QAbstractAnimation::finished, _filmstrip, &QWidget::hide);
}

void PresentationViewer::animateFilmstrip(const QRect& from, const QRect& to) {
    // Two animations of one geometry would fight over it; the newer one wins.
    if (_filmstripAnimation) {
        _filmstripAnimation->stop();
    }
    auto* animation = new QPropertyAnimation(_filmstrip, Brovik::Filmstrip::GeometryProperty);
    _filmstripAnimation = animation;
    animation->setEasingCurve(QEasingCurve::OutQuad);
    animation->setDuration(FilmstripAnimationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace KX
