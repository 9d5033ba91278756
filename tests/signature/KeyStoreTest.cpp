#include "SignatureTestSupport.h"
#include "core/Errors.h"
#include "core/FatalError.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <gtest/gtest.h>

using namespace KX::CryptographicEngine::DigitalSignature;
using namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider;
using SignatureTest::source;

namespace {

SBBCertificateStorage trustStore(const char* name = "trust.pem") {
    SBBCertificateStorage storage;
    EXPECT_EQ(storage.load(CertificateType::Trusted, source(name), {}), LoadStatus::Loaded);
    return storage;
}

LoadStatus load(const char* key, const char* certificate, std::string_view password = {},
                const char* trusted = "trust.pem") {
    SBBSigningKeyStore store;
    return store.load(source(key), password, source(certificate), {}, trustStore(trusted),
                      SignatureTest::now());
}

} // namespace

TEST(SigKeyStore, LoadsAndValidatesEveryWorkingCombination) {
    EXPECT_EQ(load("signer.key", "signer.pem"), LoadStatus::Loaded);
    EXPECT_EQ(load("signer-trad.key", "signer.der"), LoadStatus::Loaded);
    EXPECT_EQ(load("signer-key.der", "signer.pem"), LoadStatus::Loaded);
    EXPECT_EQ(load("signer-pkcs8-enc.key", "signer.pem", KX::Testing::TestPki::passphrase),
              LoadStatus::Loaded);
    EXPECT_EQ(load("signer-trad-enc.key", "signer.pem", KX::Testing::TestPki::passphrase),
              LoadStatus::Loaded);
    // The intermediate comes from the trusted storage's trusted store and is not itself trusted.
    EXPECT_EQ(load("signer-int.key", "signer-int.pem", {}, "trust-int.pem"), LoadStatus::Loaded);
}

TEST(SigKeyStore, PfxCarriesItsKeySoTheKeySourceIsNotRead) {
    SBBSigningKeyStore store;
    // A key source that would fail if it were read.
    EXPECT_EQ(
        store.load(source("garbage.txt"), {}, source("signer.pfx"), {}, trustStore(), SignatureTest::now()),
        LoadStatus::Loaded);
    EXPECT_EQ(
        store.load(source("signer.key"), {}, source("signer-pw.pfx"), {}, trustStore(), SignatureTest::now()),
        LoadStatus::CertificatePasswordInvalid);
}

TEST(SigKeyStore, ReportsEachProblemWithItsStatus) {
    EXPECT_EQ(load("signer-pkcs8-enc.key", "signer.pem"), LoadStatus::PrivateKeyPasswordInvalid);
    EXPECT_EQ(load("signer-trad-enc.key", "signer.pem", "wrong"), LoadStatus::PrivateKeyPasswordInvalid);
    EXPECT_EQ(load("other.key", "signer.pem"), LoadStatus::PrivateKeyInvalid);
    EXPECT_EQ(load("signer.key", "garbage.txt"), LoadStatus::CertificateUnsupportedFormat);
    EXPECT_EQ(load("garbage.txt", "signer.pem"), LoadStatus::PrivateKeyUnsupportedFormat);
    EXPECT_EQ(load("signer.key", "damaged.pem"), LoadStatus::CertificateCorrupted);
    EXPECT_EQ(load("signer.key", "truncated.der"), LoadStatus::CertificateCorrupted);
    EXPECT_EQ(load("truncated.der", "signer.pem"), LoadStatus::PrivateKeyCorrupted);
    EXPECT_EQ(load("foreign-signer.key", "foreign-signer.pem"), LoadStatus::CertificateNotValid);
    EXPECT_EQ(load("expired.key", "expired.pem"), LoadStatus::CertificateNotValid);
    EXPECT_EQ(load("not-yet-valid.key", "not-yet-valid.pem"), LoadStatus::CertificateNotValid);
    EXPECT_EQ(load("self-signed.key", "self-signed.pem"), LoadStatus::CertificateNotValid);
    EXPECT_EQ(load("signer-int.key", "signer-int.pem"), LoadStatus::CertificateNotValid);
    EXPECT_EQ(load("signer-expired-root.key", "signer-expired-root.pem", {}, "trust-expired.pem"),
              LoadStatus::CertificateNotValid);

    SBBSigningKeyStore store;
    const auto storage = trustStore();
    EXPECT_EQ(store.load(source("signer.key"), {}, std::string("id"), {}, storage, SignatureTest::now()),
              LoadStatus::SourceNotSupported);
    EXPECT_EQ(store.load(std::string("id"), {}, source("signer.pem"), {}, storage, SignatureTest::now()),
              LoadStatus::SourceNotSupported);
}

TEST(SigKeyStore, EmptyFilesAndForeignStoragesThrow) {
    SBBSigningKeyStore store;
    const auto storage = trustStore();
    try {
        store.load(source("signer.key"), {}, source("empty.pem"), {}, storage, SignatureTest::now());
        FAIL();
    } catch (const SignatureRuntimeError& e) {
        EXPECT_STREQ(e.what(), "Stream size is incorrect");
    }
    EXPECT_THROW(store.load(source("empty.pem"), {}, source("signer.pem"), {}, storage, SignatureTest::now()),
                 SignatureRuntimeError);

    class OtherStorage : public CertificateStorage {
        std::vector<CertificateInfo> certificates() const override { return {}; }
        LoadStatus load(CertificateType, const CertificateSource&, std::string_view) override {
            return LoadStatus::Loaded;
        }
    } other;
    EXPECT_THROW(store.load(source("signer.key"), {}, source("signer.pem"), {}, other, SignatureTest::now()),
                 std::bad_cast);
}

TEST(SigKeyStore, LoadAndValidateAndLoadWithoutValidation) {
    SBBSigningKeyStore store;
    const auto storage = trustStore();
    EXPECT_EQ(store.loadAndValidate(source("signer.key"), {}, source("signer.pem"), {}, storage,
                                    SignatureTest::now()),
              (CertificateValidationResult{CertificateValidity::Valid, 0}));
    EXPECT_EQ(store.loadAndValidate(source("other.key"), {}, source("signer.pem"), {}, storage,
                                    SignatureTest::now()),
              (CertificateValidationResult{CertificateValidity::Invalid, ValidationReason::BadData}));
    EXPECT_EQ(store.loadAndValidate(source("expired.key"), {}, source("expired.pem"), {}, storage,
                                    SignatureTest::now()),
              (CertificateValidationResult{CertificateValidity::Invalid, ValidationReason::Expired}));
    EXPECT_EQ(store.loadWithoutValidation(source("expired.key"), {}, source("expired.pem"), {}),
              LoadStatus::Loaded);
    EXPECT_EQ(store.loadWithoutValidation(source("other.key"), {}, source("expired.pem"), {}),
              LoadStatus::PrivateKeyInvalid);
}

TEST(SigKeyStore, DescribesTheLoadedCertificate) {
    SBBSigningKeyStore store;
    ASSERT_EQ(store.loadWithoutValidation(source("signer.key"), {}, source("signer.pem"), {}),
              LoadStatus::Loaded);
    const auto info = store.certificateInfo();
    EXPECT_EQ(info.subject, (DistinguishedName{"Test Signer", "signer@example.org", "DE", "Berlin", "Berlin",
                                               "Ordova Test", "Plug-ins"}));
    EXPECT_EQ(info.issuer, (DistinguishedName{"Test Root CA", "", "DE", "", "", "Ordova Test", ""}));
    EXPECT_EQ(info.serialNumber, "01:02:A3");
    EXPECT_EQ(info.validFrom, SignatureTest::now() - 86400);
    EXPECT_EQ(info.validTo, SignatureTest::now() + 365 * 86400);
    // Hexadecimal DER SubjectPublicKeyInfo of a P-256 key: SEQUENCE of 89 bytes.
    EXPECT_EQ(info.publicKey.substr(0, 4), "3059");
    EXPECT_EQ(info.publicKey.size(), 91u * 2);

    ASSERT_EQ(store.loadWithoutValidation(source("two-cn.key"), {}, source("two-cn.pem"), {}),
              LoadStatus::Loaded);
    EXPECT_EQ(store.certificateInfo().subject.commonName, "Second");
    EXPECT_EQ(store.certificateInfo().subject.organization, "Ordova Test");
}
