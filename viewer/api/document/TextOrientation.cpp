#include "viewer/api/document/TextOrientation.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
TextOrientation::TextOrientation() noexcept : _rotated(false) {}
TextOrientation& TextOrientation::operator=(const TextOrientation& other) noexcept = default;
TextOrientation& TextOrientation::operator=(TextOrientation&& other) noexcept = default;

} // namespace KX::API::Document
