#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace KX::Tovrin {

// The 8 x 8 bitmap of a DrawingML preset pattern (a:pattFill prst), one byte a row, the leftmost
// pixel in the high bit; nullopt for names it does not know. Line patterns are hatched instead.
std::optional<std::array<std::uint8_t, 8>> presetPatternBits(const QString& name);

} // namespace KX::Tovrin
