#include "viewer/api/document/Images.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Images::Images(const Images& other) = default;
Images::Images(Images&& other) noexcept = default;
Images& Images::operator=(const Images& other) = default;
Images& Images::operator=(Images&& other) noexcept = default;
Images::~Images() = default;

} // namespace KX::API::Document
