#include "viewer/api/document/ColorTransforms.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
ColorTransforms::ColorTransforms() noexcept = default;
ColorTransforms::ColorTransforms(const ColorTransforms& other) = default;
ColorTransforms::ColorTransforms(ColorTransforms&& other) noexcept = default;
ColorTransforms& ColorTransforms::operator=(const ColorTransforms& other) = default;
ColorTransforms& ColorTransforms::operator=(ColorTransforms&& other) noexcept = default;
ColorTransforms::~ColorTransforms() = default;

} // namespace KX::API::Document
