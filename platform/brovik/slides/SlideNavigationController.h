#pragma once

#include <QObject>

namespace KX::Brovik {

// The current slide of a presentation window, kept within 0..max. Installed as an event filter of a
// window it turns the presentation keys into navigation: Right, Down, Page Down, Space, Return, N
// forward; Left, Up, Page Up, Backspace, P back; Home and End to the first and last slide.
class SlideNavigationController : public QObject {
    Q_OBJECT
public:
    // The keys that move to the next slide, for others that must treat them alike.
    static bool isForwardKey(int key);
    explicit SlideNavigationController(QObject* parent = nullptr);

    // -1 until a slide has been made current.
    int getCurrentSlideIndex() const { return _currentIndex; }
    int getMaxSlideIndex() const { return _maxIndex; }
    // Also brings the current index back into the new range.
    void setMaxSlideIndex(int maxIndex);

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void setCurrentSlideIndex(int index);
    void switchToNextSlide();
    void switchToPreviousSlide();
    void switchToFirstSlide();
    void switchToLastSlide();

signals:
    void currentSlideChanged(int index);

private:
    int _currentIndex = -1;
    int _maxIndex = -1;
};

} // namespace KX::Brovik
