// Signing OpenDocument files in every form, again and again, and taking signatures off.

#include "LoopbackTsa.h"
#include "XAdESTestSupport.h"
#include "ZipEntries.h"

#include <openssl/ts.h>

using namespace XadesTest;

namespace {

const char* const openDocumentSamples[] = {"unsigned/open-document.odt", "unsigned/open-document.ods",
                                           "unsigned/LibreOfficeWriter_odt_1.3.odt",
                                           "unsigned/LibreOfficeCalc_ods_1.3.ods", "unsigned/images.odt"};

// The loopback time-stamp authority of the CMS tests.
struct Tsa {
    CadesTest::TestTsa authority;
    CadesTest::LoopbackHttpServer server{[this](const std::string& request) {
        return CadesTest::LoopbackHttpServer::answer(200, "application/timestamp-reply",
                                                     authority.grant(request));
    }};
};

TEST(XAdESRoundTrip, EveryOpenDocumentSampleSignsListsAndVerifiesInEachForm) {
    KX_REQUIRE_SAMPLES();
    Tsa tsa;
    const auto before = std::time(nullptr);
    for (const char* name : openDocumentSamples) {
        for (const auto form : {AdESForm::XAdES, AdESForm::XAdES_BES, AdESForm::XAdES_T}) {
            SCOPED_TRACE(std::string(name) + " form " + std::to_string(static_cast<int>(form)));
            auto manager = managerOver(sample(name));
            EXPECT_FALSE(manager->isSigned());
            manager->sign(*storage("trust.pem", "intermediate.pem"), *keys(),
                          options(form, tsa.server.url()));
            auto reopened = managerOver(bytesOf(**manager->signedDocument()));
            const auto infos = reopened->signatures();
            ASSERT_EQ(infos.size(), 1u);
            EXPECT_EQ(infos[0].index.kind, SignatureKind::XAdES);
            EXPECT_EQ(infos[0].signer.subject.commonName, "Test Signer");
            EXPECT_EQ(infos[0].signer.serialNumber, "01:02:A3");
            const auto seconds = infos[0].signingTime.time_since_epoch().count() / 10'000'000;
            EXPECT_GE(seconds, before);
            EXPECT_LE(seconds, std::time(nullptr));
            EXPECT_EQ(verdict(reopened->verifySignature(infos[0].index)), 0);
            EXPECT_EQ(reopened->validateCertificate(*storage(), infos[0].index, std::time(nullptr)),
                      (CertificateValidationResult{CertificateValidity::Valid, 0}));
        }
    }
}

TEST(XAdESRoundTrip, TheFormDecidesTheQualifyingProperties) {
    KX_REQUIRE_SAMPLES();
    Tsa tsa;
    const auto signatureFile = [&](AdESForm form) {
        auto manager = managerOver(sample("unsigned/open-document.odt"));
        manager->sign(*storage(), *keys(), options(form, tsa.server.url()));
        return readZip(bytesOf(**manager->signedDocument())).data["META-INF/documentsignatures.xml"];
    };
    const auto basic = signatureFile(AdESForm::XAdES);
    const auto bes = signatureFile(AdESForm::XAdES_BES);
    const auto stamped = signatureFile(AdESForm::XAdES_T);
    EXPECT_NE(basic.find("SigningTime"), std::string::npos);
    EXPECT_EQ(basic.find("SigningCertificate"), std::string::npos);
    EXPECT_NE(bes.find("SigningCertificate"), std::string::npos);
    EXPECT_EQ(bes.find("SignatureTimeStamp"), std::string::npos);
    EXPECT_NE(stamped.find("http://uri.etsi.org/01903/v1.3.2#"), std::string::npos);
    EXPECT_NE(stamped.find("EncapsulatedTimeStamp"), std::string::npos);
}

TEST(XAdESRoundTrip, SigningKeepsEveryEntryByteForByteAndTheMediaTypeFirst) {
    KX_REQUIRE_SAMPLES();
    for (const char* name : openDocumentSamples) {
        SCOPED_TRACE(name);
        const auto original = readZip(sample(name));
        const auto signedDocument = readZip(signedCopy(sample(name)));
        EXPECT_EQ(signedDocument.order.front(), "mimetype");
        for (const auto& entry : original.order)
            EXPECT_EQ(signedDocument.data.at(entry), original.data.at(entry)) << entry;
        EXPECT_EQ(signedDocument.order.size(), original.order.size() + 1);
    }
}

TEST(XAdESRoundTrip, ASecondSignatureLeavesTheFirstValid) {
    KX_REQUIRE_SAMPLES();
    for (const char* name : {"unsigned/open-document.ods", "signed/odf/libreoffice.ods"}) {
        SCOPED_TRACE(name);
        const auto twice = signedCopy(signedCopy(sample(name)), AdESForm::XAdES_BES, "signer-int");
        auto manager = managerOver(twice);
        const auto infos = manager->signatures();
        ASSERT_EQ(infos.size(), std::string(name).find("unsigned") == 0 ? 2u : 3u);
        for (const auto& info : infos)
            EXPECT_EQ(verdict(manager->verifySignature(info.index)), 0) << info.index.index;
        EXPECT_EQ(infos.back().signer.subject.commonName, "Intermediate Signer");
    }
}

TEST(XAdESRoundTrip, RemovingTakesTheNamedSignaturesHighestFirst) {
    KX_REQUIRE_SAMPLES();
    const auto three = signedCopy(
        signedCopy(signedCopy(sample("unsigned/open-document.odt")), AdESForm::XAdES_BES, "signer-int"));
    auto manager = managerOver(three);
    const std::vector<SignatureIndex> indices{SignatureIndex(0, SignatureKind::XAdES),
                                              SignatureIndex(2, SignatureKind::XAdES)};
    manager->removeSignatures(indices);
    auto reopened = managerOver(bytesOf(**manager->signedDocument()));
    const auto infos = reopened->signatures();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].signer.subject.commonName, "Intermediate Signer");
    EXPECT_EQ(verdict(reopened->verifySignature(infos[0].index)), 0);

    reopened->removeSignatures(std::vector<SignatureIndex>{SignatureIndex(0, SignatureKind::XAdES)});
    const auto unsignedAgain = readZip(bytesOf(**reopened->signedDocument()));
    EXPECT_EQ(unsignedAgain.data.count("META-INF/documentsignatures.xml"), 0u);
    EXPECT_EQ(unsignedAgain.order, readZip(sample("unsigned/open-document.odt")).order);
}

TEST(XAdESRoundTrip, TheTimeStampCoversTheSignatureValue) {
    KX_REQUIRE_SAMPLES();
    Tsa tsa;
    auto manager = managerOver(sample("unsigned/open-document.odt"));
    manager->sign(*storage(), *keys(), options(AdESForm::XAdES_T, tsa.server.url()));
    const auto xml = readZip(bytesOf(**manager->signedDocument())).data["META-INF/documentsignatures.xml"];
    const auto start = xml.find("<xd:EncapsulatedTimeStamp>") + 26;
    const auto token = xml.substr(start, xml.find('<', start) - start);
    EXPECT_GT(token.size(), 100u);
    // The stamped imprint is the SHA-256 of the canonical SignatureValue element.
    const auto valueStart = xml.find("<SignatureValue>");
    const auto valueEnd = xml.find("</SignatureValue>") + 17;
    const std::string canonical = "<SignatureValue xmlns=\"http://www.w3.org/2000/09/xmldsig#\">" +
                                  xml.substr(valueStart + 16, valueEnd - valueStart - 16);
    unsigned char digest[32];
    SHA256(reinterpret_cast<const unsigned char*>(canonical.data()), canonical.size(), digest);
    std::vector<unsigned char> der(token.size());
    const int length = EVP_DecodeBlock(der.data(), reinterpret_cast<const unsigned char*>(token.data()),
                                       static_cast<int>(token.size()));
    ASSERT_GT(length, 0);
    const unsigned char* p = der.data();
    PKCS7* pkcs7 = d2i_PKCS7(nullptr, &p, length);
    ASSERT_NE(pkcs7, nullptr);
    TS_TST_INFO* info = PKCS7_to_TS_TST_INFO(pkcs7);
    ASSERT_NE(info, nullptr);
    const ASN1_OCTET_STRING* imprint = TS_MSG_IMPRINT_get_msg(TS_TST_INFO_get_msg_imprint(info));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ASN1_STRING_get0_data(imprint)),
                          static_cast<std::size_t>(ASN1_STRING_length(imprint))),
              std::string(reinterpret_cast<const char*>(digest), 32));
    TS_TST_INFO_free(info);
    PKCS7_free(pkcs7);

    // A time-stamp taken from another signature does not stamp this one.
    auto other = managerOver(sample("unsigned/open-document.odt"));
    other->sign(*storage(), *keys(), options(AdESForm::XAdES_T, tsa.server.url()));
    auto entries = readZip(bytesOf(**other->signedDocument()));
    auto& otherXml = entries.data["META-INF/documentsignatures.xml"];
    const auto otherStart = otherXml.find("<xd:EncapsulatedTimeStamp>") + 26;
    ASSERT_EQ(
        verdict(managerOver(writeZip(entries))->verifySignature(SignatureIndex(0, SignatureKind::XAdES))), 0);
    otherXml.replace(otherStart, otherXml.find('<', otherStart) - otherStart, token);
    EXPECT_EQ(
        verdict(managerOver(writeZip(entries))->verifySignature(SignatureIndex(0, SignatureKind::XAdES))), 1);
}

} // namespace
