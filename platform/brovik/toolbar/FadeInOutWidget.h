#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace KX::Brovik {

// A floating widget that fades in and out. Hidden: faded out. Shown: visible until the mouse has
// left it alone for a while, then it fades out by itself. Pinned: visible until told otherwise.
class FadeInOutWidget : public QWidget {
    Q_OBJECT
public:
    enum class State { Hidden = 0, Shown = 1, Pinned = 2 };

    static constexpr int FadeDurationMs = 250;
    static constexpr int AutoHideDelayMs = 2500;

    explicit FadeInOutWidget(QWidget* parent = nullptr);
    ~FadeInOutWidget() override;

    State getVisibilityState() const { return _state; }
    // `state` is a State value (0, 1 or 2).
    void setVisibilityState(int state, bool animated);
    void setVisibilityState(State state, bool animated);
    qreal opacity() const;
    // False while fully shown: the widget then paints without the effect's cached image.
    bool isOpacityEffectActive() const;

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void fadeTo(qreal opacity, bool animated);
    void setEffectOpacity(qreal opacity);

    State _state = State::Pinned;
    QGraphicsOpacityEffect* _effect;
    QPointer<QPropertyAnimation> _animation;
    QTimer _autoHideTimer;
};

} // namespace KX::Brovik
