#pragma once

#include "platform/brovik/editorcore/model/SlideTransition.h"

#include <QPixmap>
#include <QWidget>
#include <functional>

class QVariantAnimation;

namespace KX::Brovik {
class SlideControl;
}

namespace KX {

// Plays slide transitions over a slide view. Moving the view on by one slide grabs the slide's area
// of the view before and after, and this widget, lying over that area, paints the frames between
// them while its animation runs; any other move, or a slide that comes in with a cut, changes the view at
// once. The animation's progress alone decides each frame (paintTransitionFrame), so a test can set its time
// and look at the picture.
class SlideTransitionPlayer : public QWidget {
    Q_OBJECT
public:
    using TransitionOf = std::function<Tovrin::SlideTransition(int index)>;

    SlideTransitionPlayer(Brovik::SlideControl* view, TransitionOf transitionOf);
    ~SlideTransitionPlayer() override;

    // Shows slide `index` in the view, with its transition when it follows the slide shown.
    void moveTo(int index);
    // Plays `transition` from one picture to another over `area` of the view; ends a running one
    // first.
    void play(const QPixmap& from, const QPixmap& to, const Tovrin::SlideTransition& transition,
              const QRect& area);
    // Ends a running transition at its last frame.
    void finish();

    // Also while paused.
    bool isPlaying() const;
    QVariantAnimation* animation() const { return _animation; }
    const Tovrin::SlideTransition& transition() const { return _transition; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void done();

    Brovik::SlideControl* _view;
    TransitionOf _transitionOf;
    QVariantAnimation* _animation;
    Tovrin::SlideTransition _transition;
    QPixmap _from;
    QPixmap _to;
};

} // namespace KX
