// The XAdES manager's operations and their messages.

#include "XAdESTestSupport.h"
#include "ZipEntries.h"
#include "core/Errors.h"

using namespace XadesTest;

namespace {

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const SignatureRuntimeError& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

const SignatureIndex first(0, SignatureKind::XAdES);

TEST(XAdESManager, BuildingRefusesEmptyStreamsAndNonPackages) {
    EXPECT_EQ(messageOf([] { managerOver(""); }), "Can't processed empty input stream.");
    const auto message = messageOf([] { managerOver("plain text, not a package"); });
    EXPECT_EQ(message.rfind("Document openning error: SecureBlackbox library exception: EElOfficeError(", 0),
              0u)
        << message;
    EXPECT_EQ(message.back(), '.');
}

TEST(XAdESManager, SignRefusesWhatItCannotSign) {
    KX_REQUIRE_SAMPLES();
    const auto odt = sample("unsigned/open-document.odt");
    EXPECT_EQ(messageOf([&] { managerOver(odt)->sign(*storage(), *keys(), options(AdESForm::CAdES_BES)); }),
              "Undefined XAdES form: 3.");
    EXPECT_EQ(messageOf([&] { managerOver(odt)->sign(*storage(), *keys(), options(AdESForm::XAdES_T)); }),
              "Signing with timestamp is failed. URL is empty.");
    EXPECT_EQ(messageOf([&] { managerOver(odt)->sign(*storage(), *keys(), options(AdESForm::XAdES_T, "")); }),
              "Signing with timestamp is failed. URL is empty.");
    const auto zip = writeZip(ZipEntries{{"readme.txt"}, {{"readme.txt", "neither family"}}});
    EXPECT_EQ(messageOf([&] { managerOver(zip)->sign(*storage(), *keys(), options()); }),
              "Unsupported type of the document.");
    // A time-stamp server that is not there fails the signature, which leaves no trace.
    auto manager = managerOver(odt);
    EXPECT_EQ(messageOf([&] {
                  manager->sign(*storage(), *keys(), options(AdESForm::XAdES_T, "http://127.0.0.1:1/"));
              }),
              "Can't sign document.");
    EXPECT_FALSE(manager->isSigned());
}

TEST(XAdESManager, SignRefusesCredentialsOfAnotherImplementation) {
    KX_REQUIRE_SAMPLES();
    struct OtherStorage : CertificateStorage {
        std::vector<CertificateInfo> certificates() const override { return {}; }
        LoadStatus load(CertificateType, const CertificateSource&, std::string_view) override {
            return LoadStatus::Loaded;
        }
    };
    auto manager = managerOver(sample("unsigned/open-document.odt"));
    EXPECT_EQ(messageOf([&] { manager->sign(OtherStorage(), *keys(), options()); }),
              "Certificate loader cast issue.");
}

TEST(XAdESManager, SignedDocumentBeforeAnyChangeIsTheDocumentAndThereIsNoDetachedSignature) {
    KX_REQUIRE_SAMPLES();
    const auto document = sample("signed/odf/open-document-signed.odt");
    auto manager = managerOver(document);
    EXPECT_EQ(bytesOf(**manager->signedDocument()), document);
    const auto detached = manager->detachedSignature();
    ASSERT_TRUE(detached.has_value());
    EXPECT_EQ(detached->get(), nullptr);
}

TEST(XAdESManager, ChainChecksAgainstTheTrustStoreAndAPinnedCertificate) {
    KX_REQUIRE_SAMPLES();
    const auto signedBySignerInt =
        signedCopy(sample("unsigned/open-document.odt"), AdESForm::XAdES_BES, "signer-int");
    auto manager = managerOver(signedBySignerInt);
    const auto now = KX::Testing::TestPki::now();
    // The signature carries the intermediate (the storage's Intermediate store went along).
    EXPECT_EQ(manager->validateCertificate(*storage("trust.pem"), first, now),
              (CertificateValidationResult{CertificateValidity::Valid, 0}));
    EXPECT_EQ(
        manager->validateCertificate(*storage(""), first, now),
        (CertificateValidationResult{CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA}));
    EXPECT_EQ(
        manager->validateCertificate(*storage("trust-expired.pem"), first, now),
        (CertificateValidationResult{CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA}));
    Memory root(KX::Testing::TestPki::readFile(pki().path("root.pem")));
    EXPECT_EQ(manager->checkPinnedCertificate(first, root),
              (CertificateValidationResult{CertificateValidity::Valid, 0}));
    Memory foreign(KX::Testing::TestPki::readFile(pki().path("foreign-root.pem")));
    EXPECT_EQ(manager->checkPinnedCertificate(first, foreign),
              (CertificateValidationResult{CertificateValidity::PinnedCertificateCheckFailed,
                                           ValidationReason::PinnedCertificateMismatch}));
    Memory nothing("no certificate here");
    EXPECT_EQ(manager->checkPinnedCertificate(first, nothing),
              (CertificateValidationResult{CertificateValidity::PinnedCertificateCheckFailed,
                                           ValidationReason::BadData}));
}

TEST(XAdESManager, ASignatureThatBringsItsOwnRootIsNeitherValidatedNorPinned) {
    KX_REQUIRE_SAMPLES();
    auto signer = managerOver(sample("unsigned/open-document.odt"));
    signer->sign(*storage("trust.pem", "trust-int.pem"), *keys("signer-int"), options());
    auto manager = managerOver(bytesOf(**signer->signedDocument()));
    Memory root(KX::Testing::TestPki::readFile(pki().path("root.pem")));
    const CertificateValidationResult refused{CertificateValidity::Invalid, ValidationReason::UnknownCA};
    EXPECT_EQ(manager->validateCertificate(*storage(), first, KX::Testing::TestPki::now()), refused);
    EXPECT_EQ(manager->checkPinnedCertificate(first, root), refused);
}

TEST(XAdESManager, SpanFormsWalkEveryIndex) {
    KX_REQUIRE_SAMPLES();
    auto manager = managerOver(sample("signed/odf/ClimateChange3.odt"));
    const std::vector<SignatureIndex> both{first, SignatureIndex(1, SignatureKind::XAdES)};
    EXPECT_EQ(manager->verifySignatures(both),
              (std::vector<SignatureValidity>{SignatureValidity::Valid, SignatureValidity::Valid}));
    // Roots of other suites' test signers are not ours to trust.
    for (const auto& result : manager->validateCertificates(*storage(), both, KX::Testing::TestPki::now()))
        EXPECT_NE(result.validity, CertificateValidity::Valid);
}

TEST(XAdESManager, RemovingAPositionThatIsNotThereFails) {
    KX_REQUIRE_SAMPLES();
    auto manager = managerOver(sample("signed/odf/good.odt"));
    const auto message = messageOf([&] {
        manager->removeSignatures(std::vector<SignatureIndex>{SignatureIndex(3, SignatureKind::XAdES)});
    });
    EXPECT_EQ(
        message.rfind("Signature removing error: SecureBlackbox library exception: EElOfficeError(Message: "
                      "'signature index out of bounds'",
                      0),
        0u)
        << message;
    EXPECT_TRUE(manager->isSigned());
}

} // namespace
