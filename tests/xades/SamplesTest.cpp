// Signed documents from other office suites and signing libraries: count, signer, time, verdict.

#include "XAdESTestSupport.h"

#include <ctime>

using namespace XadesTest;

namespace {

struct Expected {
    const char* file;
    std::size_t count;
    const char* firstSigner;
    const char* firstTime; // UTC
};

std::string utc(SigningTime time) {
    const std::time_t seconds = static_cast<std::time_t>(time.time_since_epoch().count() / 10'000'000);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

void expectListedAndValid(const Expected& expected) {
    SCOPED_TRACE(expected.file);
    auto manager = managerOver(sample(expected.file));
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), expected.count);
    EXPECT_EQ(infos[0].signer.subject.commonName, expected.firstSigner);
    EXPECT_EQ(utc(infos[0].signingTime), expected.firstTime);
    for (const auto& info : infos) {
        EXPECT_EQ(verdict(manager->verifySignature(info.index)), 0) << "signature " << info.index.index;
        EXPECT_FALSE(info.signatureLine.has_value());
    }
}

TEST(XAdESSamples, OpenDocumentSignaturesOfOtherSuitesListAndVerify) {
    KX_REQUIRE_SAMPLES();
    for (const auto& expected : {
             Expected{"signed/odf/open-document-signed.odt", 1, "good-user", "2019-08-26T13:02:54Z"},
             Expected{"signed/odf/open-document-resigned.odt", 2, "good-user", "2019-08-26T13:02:54Z"},
             Expected{"signed/odf/libreoffice.ods", 1, "Pierrick Paco P Vandenbroucke",
                      "2018-08-16T10:59:20Z"},
             Expected{"signed/odf/sig-6_2.odt", 1, "Pierrick Vandenbroucke (Authentication)",
                      "2018-09-13T10:48:55Z"},
             Expected{"signed/odf/open-document-signed.odp", 1, "good-user", "2021-04-23T14:39:32Z"},
             Expected{"signed/odf/ClimateChange2.odt", 1, "roug", "2006-09-27T20:43:59Z"},
             Expected{"signed/odf/ClimateChange3.odt", 2, "roug", "2009-03-08T16:19:17Z"},
             Expected{"signed/odf/good.odt", 1, "TSCP Test example Alice", "2016-01-12T10:52:56Z"},
         })
        expectListedAndValid(expected);
}

} // namespace
