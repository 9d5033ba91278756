#include "viewer/api/document/Color.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Color::Color(const Color& other) = default;
Color::Color(Color&& other) noexcept = default;
Color& Color::operator=(const Color& other) = default;
Color& Color::operator=(Color&& other) noexcept = default;
Color::~Color() = default;

} // namespace KX::API::Document
