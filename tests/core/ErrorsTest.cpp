#include "core/Errors.h"
#include "core/FatalError.h"
#include "core/NumericCast.h"
#include "core/Path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using namespace KX;

TEST(CoreErrors, MessagesAreFormattedOnlyWhenArgumentsAreGiven) {
    EXPECT_STREQ(BaseRuntimeError("no placeholders").what(), "no placeholders");
    EXPECT_STREQ(BaseRuntimeError("kept {} and {0} braces").what(), "kept {} and {0} braces");
    EXPECT_STREQ(IOError("file '{}' cannot be opened ({})", std::string("a.xpk"), "denied").what(),
                 "file 'a.xpk' cannot be opened (denied)");
    EXPECT_STREQ(BadNumCastError("{} of {}", 3, 7).what(), "3 of 7");
}

TEST(CoreErrors, PathArgumentsAreQuotedWithAmpersandEscapes) {
    const FileSystem::Path path(std::string("dir/x&y \"z\""));
    EXPECT_STREQ(BaseRuntimeError("the path {} is bad", path).what(), "the path \"dir/x&&y &\"z&\"\" is bad");
    EXPECT_STREQ(BaseRuntimeError("{}", FileSystem::Path("x&y")).what(), "\"x&&y\"");
}

TEST(CoreErrors, FamilyIsCaughtThroughItsBases) {
    try {
        throw CryptographicEngine::WrongPasswordError("wrong {}", "password");
    } catch (const CryptographicEngine::SecurityError& e) {
        EXPECT_STREQ(e.what(), "wrong password");
    }
    EXPECT_THROW(throw PluginAPI::PackageDigestError("x"), BaseRuntimeError);
    EXPECT_THROW(throw CryptographicEngine::DigitalSignature::SignatureRuntimeError("x"), std::runtime_error);
    // Broken invariants must not be swallowed by handlers of expected failures.
    bool caughtAsRuntime = false;
    try {
        throw AbortException("abort");
    } catch (const BaseRuntimeError&) {
        caughtAsRuntime = true;
    } catch (const std::logic_error&) {
    }
    EXPECT_FALSE(caughtAsRuntime);
}

TEST(CoreErrors, NumericCastKeepsValuesOrThrowsWithBoostMessages) {
    EXPECT_EQ(numericCast<std::uint8_t>(255), 255);
    EXPECT_EQ(numericCast<std::int64_t>(std::uint64_t{42}), 42);
    try {
        numericCast<std::uint8_t>(256);
        FAIL();
    } catch (const BadNumCastError& e) {
        EXPECT_STREQ(e.what(), "bad numeric conversion: positive overflow");
    }
    try {
        numericCast<std::uint32_t>(-1);
        FAIL();
    } catch (const BadNumCastError& e) {
        EXPECT_STREQ(e.what(), "bad numeric conversion: negative overflow");
    }
    EXPECT_THROW(numericCast<std::int64_t>(UINT64_MAX), BadNumCastError);
}

TEST(CoreFatalError, ReportLayout) {
    EXPECT_EQ(formatFatalErrorReport({{}, -1, "plainPtr", {}}), "Assertion failure: plainPtr");
    EXPECT_EQ(formatFatalErrorReport({{}, -1, "false", "Cannot be called here"}),
              "Assertion failure: (false) Cannot be called here");
    EXPECT_EQ(formatFatalErrorReport({{}, -1, {}, "Invalid documentPrinter type"}),
              "Fatal error: Invalid documentPrinter type");
    EXPECT_EQ(formatFatalErrorReport({{}, -1, {}, {}}), "Fatal error");
    EXPECT_EQ(formatFatalErrorReport({"a.cpp", 12, "x", {}}), "Assertion failure in file a.cpp at line 12: x");
    EXPECT_EQ(formatFatalErrorReport({{}, 0, {}, {}}), "Fatal error at line 0");
}

TEST(CoreFatalError, EntryPointsReportToStandardErrorAndThrowAbort) {
    testing::internal::CaptureStderr();
    try {
        assertionFailed("index >= 0");
        FAIL();
    } catch (const AbortException& e) {
        EXPECT_STREQ(e.what(), "Assertion failure: index >= 0");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Assertion failure: index >= 0\n");

    testing::internal::CaptureStderr();
    EXPECT_THROW(fatalError("The stream is not buffer-based"), AbortException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fatal error: The stream is not buffer-based\n");

    testing::internal::CaptureStderr();
    const int* plainPtr = nullptr;
    EXPECT_THROW(KX_ASSERT(plainPtr), AbortException);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Assertion failure: plainPtr\n");
}

TEST(CoreFatalError, HandlerIsInitialisedOnceAcrossThreads) {
    std::vector<std::thread> threads;
    std::vector<FatalErrorHandler> seen(8);
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = fatalErrorHandler(); });
    for (auto& t : threads)
        t.join();
    for (auto handler : seen)
        EXPECT_EQ(handler, &defaultFatalErrorHandler);
}
