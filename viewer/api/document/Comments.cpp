#include "viewer/api/document/Comments.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Comments::Comments(const Comments& other) = default;
Comments::Comments(Comments&& other) noexcept = default;
Comments& Comments::operator=(const Comments& other) = default;
Comments& Comments::operator=(Comments&& other) noexcept = default;
Comments::~Comments() = default;

} // namespace KX::API::Document
