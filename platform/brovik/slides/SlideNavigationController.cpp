#include "platform/brovik/slides/SlideNavigationController.h"

#include "platform/brovik/application/Logging.h"

#include <QKeyEvent>

namespace KX::Brovik {

bool SlideNavigationController::isForwardKey(int key) {
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_N:
        return true;
    default:
        return false;
    }
}

SlideNavigationController::SlideNavigationController(QObject* parent) : QObject(parent) {}

void SlideNavigationController::setMaxSlideIndex(int maxIndex) {
    _maxIndex = std::max(-1, maxIndex);
    if (_currentIndex > _maxIndex) {
        setCurrentSlideIndex(_maxIndex);
    }
}

void SlideNavigationController::setCurrentSlideIndex(int index) {
    const int clamped = _maxIndex < 0 ? -1 : std::clamp(index, 0, _maxIndex);
    if (clamped == _currentIndex) {
        return;
    }
    _currentIndex = clamped;
    qCDebug(brovikPresentation) << "current slide" << _currentIndex;
    emit currentSlideChanged(_currentIndex);
}

void SlideNavigationController::switchToNextSlide() {
    setCurrentSlideIndex(_currentIndex + 1);
}

void SlideNavigationController::switchToPreviousSlide() {
    setCurrentSlideIndex(std::max(0, _currentIndex - 1));
}

void SlideNavigationController::switchToFirstSlide() {
    setCurrentSlideIndex(0);
}

void SlideNavigationController::switchToLastSlide() {
    setCurrentSlideIndex(_maxIndex);
}

bool SlideNavigationController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return QObject::eventFilter(watched, event);
    }
    if (isForwardKey(key->key())) {
        switchToNextSlide();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_Backspace:
    case Qt::Key_P:
        switchToPreviousSlide();
        return true;
    case Qt::Key_Home:
        switchToFirstSlide();
        return true;
    case Qt::Key_End:
        switchToLastSlide();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace KX::Brovik
