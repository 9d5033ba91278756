#include "viewer/api/document/InlineFrame.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
InlineFrame::InlineFrame(const InlineFrame& other) = default;
InlineFrame::InlineFrame(InlineFrame&& other) noexcept = default;
InlineFrame& InlineFrame::operator=(const InlineFrame& other) = default;
InlineFrame& InlineFrame::operator=(InlineFrame&& other) noexcept = default;
InlineFrame::~InlineFrame() = default;

} // namespace KX::API::Document
