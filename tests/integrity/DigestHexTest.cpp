#include "integrity/DigestHex.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace KX;
using namespace KX::PluginAPI;
using KX::Testing::messageOf;

TEST(IntegrityDigestHex, RoundTripIsUpperCaseAndAcceptsLowerCase) {
    const auto digest = digestFromHex("00ff7Aa0");
    EXPECT_EQ(digest.size(), 4u);
    EXPECT_EQ(digestToHex(digest), "00FF7AA0");
    EXPECT_TRUE(digestFromHex("").empty());
    EXPECT_EQ(digestToHex(digestFromHex(std::string(128, 'f'))), std::string(128, 'F'));
}

TEST(IntegrityDigestHex, MalformedTextIsRefused) {
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { digestFromHex("0g"); }), "Invalid characters");
    // A manifest written with CR LF leaves the carriage return in the digest field.
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { digestFromHex("00\r"); }), "Invalid characters");
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { digestFromHex("abc"); }), "Invalid string length");
    EXPECT_EQ(messageOf<InvalidArgumentError>([] { digestFromHex(std::string(129, 'a')); }),
              "Invalid string length");
    EXPECT_EQ(messageOf<CryptographicEngine::InvalidDataError>([] { digestFromHex(std::string(130, 'a')); }),
              "Digest string is too long");
}
