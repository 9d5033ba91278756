#pragma once

#include <QPainterPath>
#include <QString>

namespace KX::Tovrin {

// Parses SVG path data (M, L, H, V, C, S, Q, T, A, Z and their relative forms). Parsing stops at
// the first malformed command; what was read so far is kept. Arcs are drawn exactly.
QPainterPath parseSvgPath(const QString& data);

} // namespace KX::Tovrin
