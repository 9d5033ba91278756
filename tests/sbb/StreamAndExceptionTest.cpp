#include "platform/sbb/CallbackStream.h"
#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/SBException.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace SBB;

TEST(SbbException, StatusesMapOntoTheirTexts) {
    LastError details{0x1F13, 0, "EElPKCS12Error", "Invalid password"};
    try {
        checkStatus(2, details);
        FAIL();
    } catch (const SBException& e) {
        EXPECT_STREQ(
            e.what(),
            "SecureBlackbox library exception: EElPKCS12Error(Message: 'Invalid password', ErrorCode: "
            "0x00001f13)");
        EXPECT_EQ(e.errorCode(), 0x1F13u);
    }
    details.supplCode = 0xAB;
    try {
        checkStatus(1, details);
        FAIL();
    } catch (const SBException& e) {
        EXPECT_STREQ(e.what(),
                     "SecureBlackbox runtime exception: EElPKCS12Error(Message: 'Invalid password', "
                     "ErrorCode: 0x00001f13, SupplErrorCode: 0x000000ab)");
    }
    EXPECT_NO_THROW(checkStatus(0));
    const std::pair<int, const char*> plain[] = {{3, "Insufficient Buffer Size"},
                                                 {4, "Invalid Buffer Size"},
                                                 {5, "Insufficient Parameter"},
                                                 {9, "Internal error"}};
    for (const auto& [status, text] : plain) {
        try {
            checkStatus(status);
            FAIL() << status;
        } catch (const SBException& e) {
            EXPECT_STREQ(e.what(), text);
        }
    }
}

TEST(SbbStreams, MemoryStreamGrowsSeeksAndReportsSize) {
    MemoryStream stream;
    stream.writeAll({1, 2, 3, 4});
    EXPECT_EQ(stream.size(), 4);
    EXPECT_EQ(stream.position(), 4);
    EXPECT_EQ(stream.seek(-2, SeekOrigin::End), 2);
    EXPECT_EQ(stream.readToEnd(), (std::vector<unsigned char>{3, 4}));
    stream.seek(6, SeekOrigin::Begin);
    const unsigned char five = 5;
    stream.write(&five, 1);
    EXPECT_EQ(stream.data(), (std::vector<unsigned char>{1, 2, 3, 4, 0, 0, 5}));
    EXPECT_THROW(stream.seek(-1, SeekOrigin::Begin), SBException);
    stream.setSize(2);
    EXPECT_EQ(stream.size(), 2);
}

TEST(SbbStreams, CallbackStreamRefusesMissingOperations) {
    std::string source = "abc";
    std::size_t offset = 0;
    CallbackStream stream(
        [&](void* buffer, std::size_t count) {
            const auto n = std::min(count, source.size() - offset);
            std::memcpy(buffer, source.data() + offset, n);
            offset += n;
            return n;
        },
        nullptr, nullptr);
    EXPECT_EQ(stream.readToEnd(), (std::vector<unsigned char>{'a', 'b', 'c'}));
    EXPECT_THROW(stream.write("x", 1), SBException);
    EXPECT_THROW(stream.seek(0, SeekOrigin::Begin), SBException);
}
