#include "viewer/api/ColorRGBA.h"

namespace KX::API {

// Defined here rather than inline so that the executable carries them for the modules it loads.
ColorRGBA& ColorRGBA::operator=(const ColorRGBA& other) noexcept = default;
ColorRGBA& ColorRGBA::operator=(ColorRGBA&& other) noexcept = default;

} // namespace KX::API
