#include "viewer/api/document/AbsoluteFrame.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
AbsoluteFrame::AbsoluteFrame(const AbsoluteFrame& other) = default;
AbsoluteFrame::AbsoluteFrame(AbsoluteFrame&& other) noexcept = default;
AbsoluteFrame& AbsoluteFrame::operator=(const AbsoluteFrame& other) = default;
AbsoluteFrame& AbsoluteFrame::operator=(AbsoluteFrame&& other) noexcept = default;
AbsoluteFrame::~AbsoluteFrame() = default;

} // namespace KX::API::Document
