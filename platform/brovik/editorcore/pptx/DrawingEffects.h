#pragma once

#include "platform/brovik/editorcore/model/FillOverlay.h"
#include "platform/brovik/editorcore/model/Shadow.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <QDomElement>
#include <optional>

namespace KX::Tovrin {

// The outer shadow of an a:spPr's a:effectLst: nullopt when spPr has no effect list (the
// element inherits its style's), an invisible shadow when the list has none.
std::optional<Shadow> readShadow(const QDomElement& spPr, const DrawingContext& ctx,
                                 const QColor& placeholderColor = QColor());

// The fill overlay of an effect list (a:effectLst); nullopt when it has none.
std::optional<FillOverlay> readFillOverlay(const QDomElement& effectLst, const DrawingContext& ctx);

// The outer shadow of the theme's effect style that p:style's effectRef points at.
std::optional<Shadow> themeShadow(int index, const QColor& color, const DrawingContext& ctx);

} // namespace KX::Tovrin
