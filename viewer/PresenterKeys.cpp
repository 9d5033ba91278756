#include "viewer/PresenterKeys.h"

#include "platform/brovik/slides/SlideNavigationController.h"
#include "viewer/BlankScreen.h"

#include <QKeyEvent>

namespace KX {

namespace {

bool hasCommandModifier(const QKeyEvent* key) {
    return key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

PresenterKeys::PresenterKeys(Brovik::SlideNavigationController* navigation, BlankScreen* blankScreen,
                             std::function<void()> leaveShow, QObject* parent)
    : QObject(parent), _navigation(navigation), _blankScreen(blankScreen), _leaveShow(std::move(leaveShow)) {}

PresenterKeys::~PresenterKeys() = default;

bool PresenterKeys::isBlanked() const {
    return !_blankScreen->isHidden();
}

void PresenterKeys::advance() {
    if (_showingEnd) {
        unblank();
        _leaveShow();
        return;
    }
    if (_navigation->getCurrentSlideIndex() < _navigation->getMaxSlideIndex()) {
        _navigation->switchToNextSlide();
        return;
    }
    _showingEnd = true;
    _blankScreen->showColour(Qt::black, tr("End of slide show, click to exit."));
}

void PresenterKeys::click() {
    if (isBlanked() && !_showingEnd) {
        unblank();
        return;
    }
    advance();
}

bool PresenterKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isBlanked()) {
        // Esc must bring the slide back (or end the show), not first leave full screen.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!hasCommandModifier(key) && handleKey(key)) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool PresenterKeys::handleKey(const QKeyEvent* key) {
    if (isBlanked()) {
        return handleBlankedKey(key);
    }
    const int code = key->key();
    if (code >= Qt::Key_0 && code <= Qt::Key_9) {
        _typedNumber += QChar(QLatin1Char('0' + (code - Qt::Key_0)));
        return true;
    }
    if ((code == Qt::Key_Return || code == Qt::Key_Enter) && !_typedNumber.isEmpty()) {
        goToTypedSlide();
        return true;
    }
    _typedNumber.clear();
    switch (code) {
    case Qt::Key_B:
    case Qt::Key_Period:
        blank(Qt::black);
        return true;
    case Qt::Key_W:
    case Qt::Key_Comma:
        blank(Qt::white);
        return true;
    default:
        break;
    }
    if (Brovik::SlideNavigationController::isForwardKey(code)) {
        advance();
        return true;
    }
    return false;
}

bool PresenterKeys::handleBlankedKey(const QKeyEvent* key) {
    if (!_showingEnd) {
        unblank();
        return true;
    }
    if (key->key() == Qt::Key_Escape || Brovik::SlideNavigationController::isForwardKey(key->key())) {
        advance();
        return true;
    }
    // Any other key, going back among them, returns to the last slide.
    unblank();
    return true;
}

void PresenterKeys::blank(const QColor& colour) {
    _blankScreen->showColour(colour);
}

void PresenterKeys::unblank() {
    _showingEnd = false;
    _blankScreen->hide();
}

void PresenterKeys::goToTypedSlide() {
    bool ok = false;
    const int number = _typedNumber.toInt(&ok);
    _typedNumber.clear();
    if (ok && number >= 1) {
        _navigation->setCurrentSlideIndex(number - 1);
    }
}

} // namespace KX
