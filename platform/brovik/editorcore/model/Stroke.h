#pragma once

#include <QColor>

namespace KX::Tovrin {

// Decoration at the start or end of an open path.
struct LineEnd {
    enum class Kind { None, Triangle, Arrow, Stealth, Diamond, Oval };
    Kind kind = Kind::None;
    double widthFactor = 3; // multiples of the line width
    double lengthFactor = 3;
};

// An outline. Widths are in points.
struct Stroke {
    bool visible = false;
    QColor color = Qt::black;
    double width = 0.75;
    Qt::PenStyle style = Qt::SolidLine;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    LineEnd head; // at the path's start
    LineEnd tail; // at the path's end
};

} // namespace KX::Tovrin
