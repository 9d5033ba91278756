#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <optional>

namespace KX::Tovrin {

// Draws a chart part (c:chartSpace) as plain shapes: bars and columns, lines and areas, pies and
// doughnuts, with title, category labels, value scale and legend. Other chart kinds give nothing.
// chartRef is the c:chart element of a graphic frame; the result fills frame.
std::optional<GroupElement> readChart(const QDomElement& chartRef, const ElementFrame& frame,
                                      DrawingContext ctx);

} // namespace KX::Tovrin
