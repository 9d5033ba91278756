#include "viewer/EntryGuard.h"

#include "core/Errors.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(ViewerEntry, NormalEndKeepsTheProgramsCode) {
    std::ostringstream errors;
    EXPECT_EQ(KX::runReportingEscapedExceptions([] { return 0; }, errors), 0);
    EXPECT_EQ(KX::runReportingEscapedExceptions([] { return 3; }, errors), 3);
    EXPECT_TRUE(errors.str().empty());
}

TEST(ViewerEntry, EscapedExceptionIsReportedAndIsAFailure) {
    std::ostringstream errors;
    EXPECT_EQ(KX::runReportingEscapedExceptions(
                  []() -> int { throw KX::AbortException("Assertion failure: _ptr"); }, errors),
              1);
    EXPECT_EQ(errors.str(), "Unhandled exception: Assertion failure: _ptr"); // no line end

    std::ostringstream unknown;
    EXPECT_EQ(KX::runReportingEscapedExceptions([]() -> int { throw 42; }, unknown), 1);
    EXPECT_EQ(unknown.str(), "Unknown exception");
}

} // namespace
