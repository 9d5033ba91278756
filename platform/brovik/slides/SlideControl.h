#pragma once

#include "platform/brovik/slides/SlideControlBase.h"

#include <QWidget>

namespace KX::Brovik {

// The slide view: the current slide, as large as the widget allows with its proportions kept, on
// the style sheet's background (object name "SlideControl"; the dynamic property
// "fullScreenModeActive" lets the style sheet darken it during a presentation). In pointer mode the
// mouse cursor becomes a red laser dot.
class SlideControl : public QWidget, public SlideControlBase {
    Q_OBJECT
public:
    // `drawSlideFrame` outlines the slide with a thin grey line (for editors that show the slide on
    // a background of the same colour).
    SlideControl(PresentationEditorCoreHolder holder, bool drawSlideFrame, QWidget* parent);
    ~SlideControl() override;

    int getSlideIndex() const { return _slideIndex; }
    void setSlideIndex(int index);

    void setPointerEffectEnabled(bool enabled);
    bool isPointerEffectEnabled() const { return _pointerEffect; }

    // QWidget::render draws the widget; SlideControlBase::render draws a slide.
    using QWidget::render;
    using SlideControlBase::render;

    // Where the current slide is drawn, in widget coordinates.
    QRect slideRect() const { return slideRectIn(rect()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect pointerRect() const;

    int _slideIndex = -1;
    bool _drawSlideFrame;
    bool _pointerEffect = false;
    QPoint _pointerPosition;
    bool _pointerInside = false;
};

} // namespace KX::Brovik
