#include "viewer/api/document/Range.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Range::Range(const Range& other) = default;
Range::Range(Range&& other) noexcept = default;
Range& Range::operator=(const Range& other) = default;
Range& Range::operator=(Range&& other) noexcept = default;
Range::~Range() = default;

} // namespace KX::API::Document
