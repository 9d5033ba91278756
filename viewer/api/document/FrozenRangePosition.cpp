#include "viewer/api/document/FrozenRangePosition.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
FrozenRangePosition& FrozenRangePosition::operator=(const FrozenRangePosition& other) noexcept = default;
FrozenRangePosition& FrozenRangePosition::operator=(FrozenRangePosition&& other) noexcept = default;

} // namespace KX::API::Document
