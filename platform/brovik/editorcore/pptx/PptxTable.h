#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"
#include "platform/brovik/editorcore/pptx/PptxShapeTree.h"

#include <QDomElement>

namespace KX::Tovrin {

// Reads a:tbl into a table; the frame is set by the caller.
TableElement readTable(const QDomElement& tbl, const SlideLayers& layers, const DrawingContext& ctx);

} // namespace KX::Tovrin
