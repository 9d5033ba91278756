#include "viewer/api/document/PageProperties.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PageProperties::PageProperties(const PageProperties& other) = default;
PageProperties& PageProperties::operator=(const PageProperties& other) = default;
PageProperties::~PageProperties() = default;

} // namespace KX::API::Document
