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
    int validity = 0;
};

std::string utc(SigningTime time) {
    const std::time_t seconds = static_cast<std::time_t>(time.time_since_epoch().count() / 10'000'000);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

void expectListed(const Expected& expected) {
    SCOPED_TRACE(expected.file);
    auto manager = managerOver(sample(expected.file));
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), expected.count);
    EXPECT_EQ(infos[0].signer.subject.commonName, expected.firstSigner);
    EXPECT_EQ(utc(infos[0].signingTime), expected.firstTime);
    for (const auto& info : infos) {
        EXPECT_EQ(verdict(manager->verifySignature(info.index)), expected.validity)
            << "signature " << info.index.index;
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
        expectListed(expected);
}

TEST(XAdESSamples, OfficeOpenXMLSignaturesOfOtherSuitesListAndVerify) {
    KX_REQUIRE_SAMPLES();
    for (const auto& expected : {
             Expected{"signed/ooxml/Office2010-SP1-XAdES-X-L.docx", 1, "Frank Cornelis (Signature)",
                      "2011-08-20T05:18:08Z"},
             Expected{"signed/ooxml/hello-world-signed-twice.docx", 2, "Bryan Brouckaert (Signature)",
                      "2009-08-23T14:24:37Z"},
             Expected{"signed/ooxml/hello-world-signed.docx", 1, "Bart Hanssens (Signature)",
                      "2009-08-21T09:46:20Z"},
             Expected{"signed/ooxml/hello-world-signed.pptx", 1, "Bart Hanssens (Signature)",
                      "2009-08-28T08:23:26Z"},
             Expected{"signed/ooxml/hello-world-signed.xlsx", 1, "Bart Hanssens (Signature)",
                      "2009-08-28T08:21:49Z"},
             Expected{"signed/ooxml/ms-office-2010-signed.pptx", 1, "Frank Cornelis (Signature)",
                      "2010-09-28T09:13:06Z"},
             Expected{"signed/ooxml/ms-office-2010-signed.xlsx", 1, "Frank Cornelis (Signature)",
                      "2010-09-28T08:56:41Z"},
             Expected{"signed/ooxml/signed.docx", 1, "Christoffe De Tiège (Signature)",
                      "2012-12-13T14:54:03Z"},
             Expected{"signed/ooxml/testPPT_signed.pptx", 1, "Allison, Timothy B. (TALLISON)",
                      "2019-09-27T15:22:58Z"},
             // Every part digest matches, but the signature value does not verify over the SignedInfo
             // as it stands (xmlsec1 agrees): the pretty-printing touched the signature part itself.
             Expected{"signed/ooxml/office2007prettyPrintedRels.docx", 1, "Hamed", "2014-11-22T20:07:16Z", 1},
         })
        expectListed(expected);
}

TEST(XAdESSamples, TheSecondSignerOfADocumentSignedTwiceIsItsOwn) {
    KX_REQUIRE_SAMPLES();
    auto manager = managerOver(sample("signed/ooxml/hello-world-signed-twice.docx"));
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[1].signer.subject.commonName, "Bart Hanssens (Signature)");
    EXPECT_EQ(utc(infos[1].signingTime), "2009-08-21T09:46:20Z");
    auto odf = managerOver(sample("signed/odf/ClimateChange3.odt"));
    EXPECT_NE(odf->signatures()[1].signer.subject.commonName, "");
}

} // namespace
