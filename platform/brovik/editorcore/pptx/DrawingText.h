#pragma once

#include "platform/brovik/editorcore/model/TextBody.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <optional>
#include <vector>

namespace KX::Tovrin {

// Where a text body's formatting comes from besides its own markup, most specific first: the list
// styles of the shape and of the placeholders it inherits from, the master's text styles and the
// presentation's defaults; the body properties likewise; and the shape style's font reference.
struct TextStyleSources {
    std::vector<QDomElement> listStyles;     // elements holding a:lvl1pPr..a:lvl9pPr (and a:defPPr)
    std::vector<QDomElement> bodyProperties; // a:bodyPr
    std::optional<QColor> fontRefColor;
    QString fontRefFamily;
};

// Builds a text body from a:txBody (or p:txBody), resolving every property along the sources.
TextBody readTextBody(const QDomElement& txBody, const TextStyleSources& sources, const DrawingContext& ctx);

// Applies the a:bodyPr sources (insets, anchor, wrap, autofit, vertical text) to body.
void applyBodyProperties(TextBody& body, const std::vector<QDomElement>& bodyProperties);

// A theme font reference (+mj-lt, +mn-lt, ...) resolved to a family name.
QString resolveTypeface(const QString& typeface, const DrawingContext& ctx);

} // namespace KX::Tovrin
