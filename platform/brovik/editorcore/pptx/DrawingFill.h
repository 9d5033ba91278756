#pragma once

#include "platform/brovik/editorcore/model/Fill.h"
#include "platform/brovik/editorcore/model/Stroke.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <optional>

namespace KX::Tovrin {

// The fill given by the first fill child of parent (noFill, solidFill, gradFill, blipFill,
// pattFill, grpFill); nullopt when parent names none, so the caller falls back to what it inherits.
std::optional<Fill> readFill(const QDomElement& parent, const DrawingContext& ctx,
                             const QColor& placeholderColor = QColor());

// One fill element (a:solidFill, a:gradFill, ...); nullopt when e is not a fill.
std::optional<Fill> readFillElement(const QDomElement& e, const DrawingContext& ctx,
                                    const QColor& placeholderColor = QColor());

// Applies an a:ln element on top of base (attributes and children it leaves out keep base's values).
Stroke readStroke(const QDomElement& ln, const DrawingContext& ctx, Stroke base = {},
                  const QColor& placeholderColor = QColor());

// A blip fill's a:srcRect as the shown part of the picture (fractions of it); nullopt when there
// is none, or when it leaves nothing or is too large to be meant.
std::optional<QRectF> readSourceRect(const QDomElement& blipFill);

// A blip's colour change (a:grayscl, a:duotone); Kind::None when it asks for none.
PictureRecolor readBlipRecolor(const QDomElement& blip, const DrawingContext& ctx,
                               const QColor& placeholderColor = QColor());

// The theme's style matrix entries that p:style's fillRef / lnRef / bgRef point at.
std::optional<Fill> themeFill(int index, const QColor& color, const DrawingContext& ctx);
std::optional<Stroke> themeStroke(int index, const QColor& color, const DrawingContext& ctx);

} // namespace KX::Tovrin
