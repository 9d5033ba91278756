#pragma once

#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"

#include <QDomElement>
#include <optional>

namespace KX::Tovrin {

// An OpenDocument draw:enhanced-geometry: equations over the view box and the modifiers, and an
// enhanced path using them (every command, arcs and elliptic quadrants included). Evaluated for
// a shape of the given size in points; nullopt when the geometry has no path or it draws nothing.
std::optional<GeometryDefinition::Result> evaluateEnhancedGeometry(const QDomElement& geometry, QSizeF size);

} // namespace KX::Tovrin
