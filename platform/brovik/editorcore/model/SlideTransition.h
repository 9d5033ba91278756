#pragma once

#include <QColor>
#include <QPoint>

namespace KX::Tovrin {

// How a slide replaces the one before it in a show. Kinds the viewer cannot play are read as Cut.
struct SlideTransition {
    enum class Kind { Cut, Fade, Push, Wipe, Cover, Split };
    Kind kind = Kind::Cut;
    // Push, Cover: where the new slide moves to; Wipe: where the edge between the slides moves
    // to. Unit steps in screen axes (x right, y down), e.g. (-1, 0) moves to the left. Cover may
    // move diagonally.
    QPoint motion{-1, 0};
    // Split: true when the opening is a vertical band (the slide is cut left and right of the
    // centre), false for a horizontal band; `inward` closes from the edges to the centre instead.
    bool verticalSplit = false;
    bool inward = false;
    // Fade: through this colour first (invalid: straight from one slide to the other).
    QColor throughColor;
    int durationMs = 500;

    bool operator==(const SlideTransition&) const = default;
};

} // namespace KX::Tovrin
