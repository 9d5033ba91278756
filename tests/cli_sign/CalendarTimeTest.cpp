#include "packaging_tool/SignPackageCommand.h"

#include <gtest/gtest.h>

using KX::PluginPackagingTool::formatCalendarTime;

TEST(SignCalendarTime, FixedWidthFormWithLeadingZeros) {
    EXPECT_EQ(formatCalendarTime(0), "Thu Jan 01 00:00:00 1970\n");
    EXPECT_EQ(formatCalendarTime(1804215189), "Fri Mar 05 02:53:09 2027\n");
    EXPECT_EQ(formatCalendarTime(951782400), "Tue Feb 29 00:00:00 2000\n");
    // RFC 5280's "no well-defined expiration" date still fits the form.
    EXPECT_EQ(formatCalendarTime(253402300799), "Fri Dec 31 23:59:59 9999\n");
    for (const std::int64_t seconds : {0LL, 1804215189LL, 253402300799LL})
        EXPECT_EQ(formatCalendarTime(seconds).size(), 25u);
}

TEST(SignCalendarTime, MomentsOutsideTheFormAreShownAsUnknown) {
    EXPECT_EQ(formatCalendarTime(-1), "unknown\n");
    EXPECT_EQ(formatCalendarTime(253402300800), "unknown\n");
    EXPECT_EQ(formatCalendarTime(INT64_MAX), "unknown\n");
    EXPECT_EQ(formatCalendarTime(INT64_MIN), "unknown\n");
}
