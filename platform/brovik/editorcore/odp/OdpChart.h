#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <optional>

namespace KX::Tovrin {

// Draws an embedded chart object (its own content.xml beside the presentation's, named by
// draw:object's link) from the chart's own data table: bars, lines, areas, pies and rings.
std::optional<GroupElement> readOdfChart(const ZipReader& zip, const QString& objectLink,
                                         const ElementFrame& frame);

} // namespace KX::Tovrin
