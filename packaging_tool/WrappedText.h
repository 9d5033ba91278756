#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

namespace KX::PluginPackagingTool {

// Writes text wrapped at word boundaries, each line indented by leftMargin spaces and at most
// maxWidth - leftMargin characters long. A word too long for a line is cut.
void printWrappedText(std::ostream& out, std::string_view text, std::size_t leftMargin, std::size_t maxWidth);

} // namespace KX::PluginPackagingTool
