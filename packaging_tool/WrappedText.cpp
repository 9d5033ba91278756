#include "packaging_tool/WrappedText.h"

#include "core/FatalError.h"

#include <ostream>
#include <string>

namespace KX::PluginPackagingTool {

void printWrappedText(std::ostream& out, std::string_view text, std::size_t leftMargin, std::size_t maxWidth) {
    KX_ASSERT(leftMargin < maxWidth);
    const std::size_t width = maxWidth - leftMargin;
    // A break is only looked for in the second half of the line, so lines never get very short.
    const std::size_t lowestBreak = leftMargin + maxWidth / 2 > 0 ? leftMargin + maxWidth / 2 - 1 : 0;
    const std::string margin(leftMargin, ' ');
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t lineEnd = text.size();
        if (i + width < text.size()) {
            lineEnd = i + width;
            // Position i + width is always examined, then backwards down to i + lowestBreak.
            for (std::size_t j = i + width;; --j) {
                if (text[j] == ' ') {
                    lineEnd = j;
                    break;
                }
                if (j <= i + lowestBreak)
                    break;
            }
        }
        out << margin;
        out.write(text.data() + i, static_cast<std::streamsize>(lineEnd - i));
        out << '\n';
        i = lineEnd;
        while (i < text.size() && text[i] == ' ')
            ++i;
    }
}

} // namespace KX::PluginPackagingTool
