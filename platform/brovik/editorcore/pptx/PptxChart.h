#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <functional>
#include <optional>
#include <vector>

namespace KX::Tovrin {

// Draws a chart part (c:chartSpace) as plain shapes: bars and columns, lines and areas, pies and
// doughnuts, with title, category labels, value scale and legend. Other chart kinds give nothing.
// chartRef is the c:chart element of a graphic frame; the result fills frame. Shapes the author
// drew over the chart (c:userShapes) are read by readShapes as a shape tree in chart points.
using ShapeTreeReader = std::function<void(const QDomElement& tree, std::vector<SlideElement>& out)>;
std::optional<GroupElement> readChart(const QDomElement& chartRef, const ElementFrame& frame,
                                      DrawingContext ctx, const ShapeTreeReader& readShapes = {});

} // namespace KX::Tovrin
