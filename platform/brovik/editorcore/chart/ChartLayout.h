#pragma once

#include "platform/brovik/editorcore/chart/ChartData.h"
#include "platform/brovik/editorcore/model/SlideElement.h"

#include <optional>

namespace KX::Tovrin {

// Lays a chart out as plain shapes filling frame: title, legend, category labels, value scale,
// and bars, lines, areas or slices. Nothing for a chart without series or room.
std::optional<GroupElement> layoutChart(const ChartData& chart, const ElementFrame& frame);

} // namespace KX::Tovrin
