#include "XAdESTestSupport.h"

using namespace XadesTest;

namespace {

TEST(XAdESRoundTrip, OpenDocumentSignedOnceVerifiesAndLists) {
    KX_REQUIRE_SAMPLES();
    const auto document = signedCopy(sample("unsigned/open-document.odt"));
    auto manager = managerOver(document);
    ASSERT_TRUE(manager->isSigned());
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].signer.subject.commonName, "Test Signer");
    EXPECT_EQ(verdict(manager->verifySignature(infos[0].index)), 0);
    EXPECT_EQ(manager->validateCertificate(*storage(), infos[0].index, KX::Testing::TestPki::now()),
              (CertificateValidationResult{CertificateValidity::Valid, 0}));
}

} // namespace
