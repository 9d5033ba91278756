#include "viewer/api/document/Insets.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Insets::Insets() noexcept = default;
Insets& Insets::operator=(const Insets& other) = default;
Insets& Insets::operator=(Insets&& other) noexcept = default;

} // namespace KX::API::Document
