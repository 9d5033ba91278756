#pragma once

#include "platform/brovik/editorcore/model/Fill.h"
#include "platform/brovik/editorcore/model/FillOverlay.h"
#include "platform/brovik/editorcore/model/Shadow.h"
#include "platform/brovik/editorcore/model/Stroke.h"
#include "platform/brovik/editorcore/model/TextBody.h"

#include <QPainterPath>
#include <QRectF>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace KX::Tovrin {

// Position of an element in its parent's coordinates (points). Rotation is clockwise about the
// centre of bounds, applied after the flips.
struct ElementFrame {
    QRectF bounds;
    double rotation = 0;
    bool flipH = false;
    bool flipV = false;
};

// One sub-path of a shape outline in the shape's own coordinates (0..width, 0..height).
struct GeometryPath {
    QPainterPath path;
    bool filled = true;
    bool stroked = true;
    bool closed = true;
    double fillShade = 1; // < 1 darkens, > 1 lightens the shape fill for this sub-path
};

struct ShapeElement {
    ElementFrame frame;
    std::vector<GeometryPath> geometry; // empty: nothing drawn but the text
    Fill fill;
    std::optional<FillOverlay> overlay;
    Stroke stroke;
    Shadow shadow;
    std::optional<TextBody> text;
    QRectF textRect; // in shape coordinates; empty means the whole shape
    // The shape grows or shrinks in height to fit its text, about its text anchor, never below
    // minHeight points (ODF custom shapes unless their style says otherwise).
    bool fitsHeightToText = false;
    double minHeight = 0;
};

struct PictureElement {
    ElementFrame frame;
    std::shared_ptr<const PictureData> picture;
    QRectF sourceCrop{0, 0, 1, 1}; // fractions of the image; may reach outside 0..1
    PictureRecolor recolor;
    Fill background; // shows where the picture is transparent
    Stroke stroke;
    Shadow shadow;
    std::optional<QPainterPath> clip; // picture shaped by a geometry, shape coordinates
};

struct TableCell {
    int rowSpan = 1;
    int colSpan = 1;
    bool covered = false; // part of a merged cell drawn by another
    Fill fill;
    Stroke left, top, right, bottom;
    TextBody text;
};

struct TableElement {
    ElementFrame frame;
    std::vector<double> columnWidths; // points
    std::vector<double> rowHeights;   // points, minimum heights
    std::vector<std::vector<TableCell>> rows;
};

struct GroupElement;
using SlideElement = std::variant<ShapeElement, PictureElement, TableElement, GroupElement>;

// Children live in their own coordinate space childSpace, mapped onto frame.bounds.
struct GroupElement {
    ElementFrame frame;
    QRectF childSpace;
    std::vector<SlideElement> children;
};

} // namespace KX::Tovrin
