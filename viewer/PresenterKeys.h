#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QKeyEvent;

namespace KX::Brovik {
class SlideNavigationController;
}

namespace KX {

class BlankScreen;

// The keys presenters know from the common presentation programs, on top of the navigation
// controller's: B or "." blanks the screen to black, W or "," to white, and any key brings the
// slide back; a slide number typed and Enter goes to that slide; going on from the last slide shows
// a black end-of-show screen, from which Esc, a click or going on once more leaves the show.
// Installed as an event filter of the window after the navigation controller, so it sees keys first.
class PresenterKeys : public QObject {
    Q_OBJECT
public:
    PresenterKeys(Brovik::SlideNavigationController* navigation, BlankScreen* blankScreen,
                  std::function<void()> leaveShow, QObject* parent);
    ~PresenterKeys() override;

    // One step on, as a key, a click or the toolbar asks: the next slide, the end of the show after
    // the last one, and out of the show from there.
    void advance();
    // A click on the slide: leaves a blank screen, or else goes one step on.
    void click();
    bool isBlanked() const;
    bool isShowingEnd() const { return _showingEnd; }
    QString typedNumber() const { return _typedNumber; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(const QKeyEvent* key);
    bool handleBlankedKey(const QKeyEvent* key);
    void blank(const QColor& colour);
    void unblank();
    void goToTypedSlide();

    Brovik::SlideNavigationController* _navigation;
    BlankScreen* _blankScreen;
    std::function<void()> _leaveShow;
    bool _showingEnd = false;
    QString _typedNumber;
};

} // namespace KX
