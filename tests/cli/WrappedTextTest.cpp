#include "core/Errors.h"
#include "packaging_tool/WrappedText.h"

#include <gtest/gtest.h>

#include <sstream>

using KX::PluginPackagingTool::printWrappedText;

namespace {
std::string wrap(const std::string& text, std::size_t margin, std::size_t width) {
    std::ostringstream out;
    printWrappedText(out, text, margin, width);
    return out.str();
}
} // namespace

TEST(CliWrappedText, BreaksAtTheLastSpaceInTheSecondHalf) {
    // Space at offset 76 (the last position examined): the line is exactly 76 characters.
    const std::string a(76, 'a');
    EXPECT_EQ(wrap(a + " bb", 2, 78), "  " + a + "\n  bb\n");
    // Space at offset 40 (the first position examined) is still a break.
    const std::string left(40, 'x');
    const std::string right(50, 'y');
    EXPECT_EQ(wrap(left + " " + right, 2, 78), "  " + left + "\n  " + right + "\n");
    // Space at offset 39 is too early: the line is cut hard after 76 characters.
    const std::string early(39, 'x');
    const std::string word(60, 'y');
    const std::string text = early + " " + word;
    EXPECT_EQ(wrap(text, 2, 78), "  " + text.substr(0, 76) + "\n  " + text.substr(76) + "\n");
}

TEST(CliWrappedText, SkipsSpacesBetweenLinesAndKeepsLineBreaks) {
    const std::string a(70, 'a');
    // The break is the space nearest the end; the spaces after it are skipped.
    EXPECT_EQ(wrap(a + "      bbbbbbbbbb", 2, 78), "  " + a + "     \n  bbbbbbbbbb\n");
    EXPECT_EQ(wrap("short text\n", 2, 78), "  short text\n\n");
    EXPECT_EQ(wrap(std::string(76, 'a') + "   ", 2, 78), "  " + std::string(76, 'a') + "\n");
    EXPECT_EQ(wrap("", 2, 78), "");
    EXPECT_EQ(wrap("abcdefghij", 0, 4), "abcd\nefgh\nij\n");
}

TEST(CliWrappedText, MarginMustBeSmallerThanWidth) {
    std::ostringstream out;
    testing::internal::CaptureStderr();
    EXPECT_THROW(printWrappedText(out, "x", 5, 5), KX::AbortException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Assertion failure: leftMargin < maxWidth\n");
}
