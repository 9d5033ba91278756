#pragma once

#include "platform/brovik/editorcore/model/PictureData.h"
#include "platform/brovik/editorcore/model/PictureRecolor.h"

#include <QColor>
#include <QRectF>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace KX::Tovrin {

struct GradientStop {
    double position = 0; // 0..1 along the gradient
    QColor color;
};

// How an area is painted. Coordinates are fractions of the painted element's bounding box, so the
// same fill serves any element size.
struct Fill {
    enum class Kind { None, Solid, LinearGradient, RadialGradient, Picture, Hatch, Pattern };
    Kind kind = Kind::None;
    QColor color;                               // Solid
    std::vector<GradientStop> stops;            // gradients, sorted by position
    double angle = 0;                           // LinearGradient: degrees clockwise from the x axis
    QPointF focus{0.5, 0.5};                    // RadialGradient: centre as fraction of the box
    std::shared_ptr<const PictureData> picture; // Picture
    QRectF sourceCrop{0, 0, 1, 1};              // Picture: part of the image used, as fractions
    bool tile = false;                          // Picture: repeat at natural size instead of stretching
    double tileScale = 1;                       // Picture tiles: image pixels to points
    double alpha = 1;                           // Picture: overall opacity
    PictureRecolor recolor;                     // Picture
    // Picture tiles: the point of a tile (as fractions of its size) that sits on the same point of
    // the box, then moved by tileOffset points and tileShift tiles. (0, 0) starts the tiles at
    // the box's corner.
    QPointF tileAlign{0, 0};
    QPointF tileOffset{0, 0};
    QPointF tileShift{0, 0};
    // Hatch: parallel lines over color (which may be transparent), in points and degrees
    // counter-clockwise; two sets cross at right angles, a third adds the diagonal.
    QColor hatchColor;
    double hatchSpacing = 6;
    double hatchAngle = 0;
    double hatchWidth = 0; // 0: a hairline
    int hatchSets = 1;
    // Pattern: an 8 x 8 bitmap (a byte a row, leftmost pixel in the high bit) repeated in device
    // pixels, as the authoring program shows it at any zoom; set bits in hatchColor, others color.
    std::array<std::uint8_t, 8> patternBits{};

    bool isVisible() const { return kind != Kind::None; }
    static Fill solid(const QColor& c) {
        Fill f;
        f.kind = Kind::Solid;
        f.color = c;
        return f;
    }
};

} // namespace KX::Tovrin
