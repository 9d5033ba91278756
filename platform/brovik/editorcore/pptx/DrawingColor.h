#pragma once

#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <optional>

namespace KX::Tovrin {

// Reads a DrawingML colour element (srgbClr, schemeClr, sysClr, prstClr, scrgbClr, hslClr) with its
// modifiers applied (lumMod, lumOff, tint, shade, alpha, ...). placeholderColor stands for phClr.
std::optional<QColor> readColorElement(const QDomElement& color, const DrawingContext& ctx,
                                       const QColor& placeholderColor = QColor());
// The colour given by the first colour child of parent.
std::optional<QColor> readColor(const QDomElement& parent, const DrawingContext& ctx,
                                const QColor& placeholderColor = QColor());
// A theme colour by scheme name after the colour map (tx1, bg1, accent1, ...).
QColor schemeColor(const QString& name, const DrawingContext& ctx);

} // namespace KX::Tovrin
