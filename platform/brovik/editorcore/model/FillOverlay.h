#pragma once

#include "platform/brovik/editorcore/model/Fill.h"

namespace KX::Tovrin {

// A second fill blended onto a shape's own fill (a gradient multiplied over a picture tints it).
struct FillOverlay {
    enum class Blend { Over, Multiply, Screen, Darken, Lighten };
    Blend blend = Blend::Over;
    Fill fill;
};

} // namespace KX::Tovrin
