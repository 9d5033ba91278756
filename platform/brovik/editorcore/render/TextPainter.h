#pragma once

#include "platform/brovik/editorcore/model/TextBody.h"

#include <QPainter>

namespace KX::Tovrin {

// Lays out and paints a text body inside rect (points), honouring insets, anchoring, wrapping,
// autofit and the body's own rotation.
void paintText(QPainter& painter, const TextBody& body, const QRectF& rect);

// Height in points the text would take inside a box of the given width (insets included).
double measureTextHeight(const TextBody& body, double width);

} // namespace KX::Tovrin
