#include "SbbTestFiles.h"
#include "platform/sbb/CertificateValidator.h"
#include "platform/sbb/ChainVerifier.h"

#include <gtest/gtest.h>
#include <openssl/x509_vfy.h>

using namespace SBB;
using SbbTest::fileStream;

namespace {

Certificate load(const std::string& name) {
    Certificate cert;
    auto stream = fileStream(name);
    EXPECT_EQ(cert.loadFromStreamAuto(stream, {}), LoadResult::Ok) << name;
    return cert;
}

MemoryCertStorage storageOf(std::initializer_list<const char*> names) {
    MemoryCertStorage storage;
    for (const char* name : names)
        storage.add(load(name));
    return storage;
}

ValidationResult validate(const char* certificate, std::initializer_list<const char*> trusted,
                          std::initializer_list<const char*> known = {},
                          std::int64_t moment = KX::Testing::TestPki::now()) {
    CertificateValidator validator;
    validator.addTrustedCertificates(storageOf(trusted));
    validator.addKnownCertificates(storageOf(known));
    return validator.validate(load(certificate), nullptr, true, moment);
}

} // namespace

TEST(SbbCertificateValidator, AcceptsCertificatesUnderATrustedRoot) {
    auto result = validate("signer.pem", {"root.pem"});
    EXPECT_EQ(result.validity, Validity::Valid);
    EXPECT_EQ(result.reasons, 0u);
    result = validate("signer-int.pem", {"root.pem"}, {"intermediate.pem"});
    EXPECT_EQ(result.validity, Validity::Valid);
    EXPECT_EQ(result.reasons, 0u);
}

TEST(SbbCertificateValidator, ReportsEachProblemAsItsReasonBit) {
    struct Case {
        const char* certificate;
        std::initializer_list<const char*> trusted;
        std::initializer_list<const char*> known;
        Validity validity;
        std::uint32_t reasons;
    };
    const Case cases[] = {
        {"expired.pem", {"root.pem"}, {}, Validity::Invalid, Reason::Expired},
        {"not-yet-valid.pem", {"root.pem"}, {}, Validity::Invalid, Reason::NotYetValid},
        {"signer-expired-root.pem", {"expired-root.pem"}, {}, Validity::Invalid, Reason::Expired},
        {"signer-int.pem", {"root.pem"}, {}, Validity::Invalid, Reason::UnknownCA},
        {"foreign-signer.pem", {"root.pem"}, {}, Validity::Invalid, Reason::UnknownCA},
        {"foreign-signer.pem", {}, {"foreign-root.pem"}, Validity::SelfSigned, Reason::UnknownCA},
        {"self-signed.pem", {"root.pem"}, {}, Validity::SelfSigned, Reason::UnknownCA},
        {"signer-under-signer.pem",
         {"root.pem"},
         {"signer.pem"},
         Validity::Invalid,
         Reason::CAUnauthorized | Reason::NoKeyUsage},
        {"no-signing-usage.pem", {"root.pem"}, {}, Validity::Invalid, Reason::NoKeyUsage},
    };
    for (const auto& c : cases) {
        const auto result = validate(c.certificate, c.trusted, c.known);
        EXPECT_EQ(result.validity, c.validity) << c.certificate;
        EXPECT_EQ(result.reasons, c.reasons) << c.certificate;
    }
}

TEST(SbbCertificateValidator, TrustedValidityPeriodIsCheckedOnlyWhenAsked) {
    CertificateValidator validator;
    validator.addTrustedCertificates(storageOf({"expired-root.pem"}));
    const auto signer = load("signer-expired-root.pem");
    EXPECT_EQ(validator.validate(signer, nullptr, true, KX::Testing::TestPki::now()).validity,
              Validity::Invalid);
    validator.checkValidityPeriodForTrusted = false;
    const auto result = validator.validate(signer, nullptr, true, KX::Testing::TestPki::now());
    EXPECT_EQ(result.validity, Validity::Valid);
    EXPECT_EQ(result.reasons, 0u);
}

TEST(SbbCertificateValidator, AdditionalAndClearedCertificates) {
    CertificateValidator validator;
    validator.addTrustedCertificates(storageOf({"root.pem"}));
    const auto signer = load("signer-int.pem");
    const auto extra = storageOf({"intermediate.pem"});
    EXPECT_EQ(validator.validate(signer, &extra, true, KX::Testing::TestPki::now()).validity,
              Validity::Valid);
    validator.addKnownCertificates(extra);
    EXPECT_EQ(validator.validate(signer, nullptr, true, KX::Testing::TestPki::now()).validity,
              Validity::Valid);
    validator.clearKnownCertificates();
    EXPECT_EQ(validator.validate(signer, nullptr, true, KX::Testing::TestPki::now()).reasons,
              Reason::UnknownCA);
    validator.clearTrustedCertificates();
    validator.addKnownCertificates(extra);
    EXPECT_NE(validator.validate(signer, nullptr, true, KX::Testing::TestPki::now()).validity,
              Validity::Valid);
}

TEST(SbbCertificateValidator, WithoutCompleteChainOnlyTheCertificateAndItsIssuerCount) {
    CertificateValidator validator;
    validator.addKnownCertificates(storageOf({"intermediate.pem"}));
    const auto now = KX::Testing::TestPki::now();
    EXPECT_EQ(validator.validate(load("signer-int.pem"), nullptr, true, now).reasons, Reason::UnknownCA);
    const auto alone = validator.validate(load("signer-int.pem"), nullptr, false, now);
    EXPECT_EQ(alone.validity, Validity::Valid);
    EXPECT_EQ(alone.reasons, 0u);
    EXPECT_EQ(validator.validate(load("signer.pem"), nullptr, false, now).reasons, Reason::UnknownCA);
    EXPECT_EQ(validator.validate(load("signer-int.pem"), nullptr, false, now + 540 * 86400).reasons,
              Reason::Expired);
}

TEST(SbbCertificateValidator, RevocationChecksCannotSucceedOffline) {
    CertificateValidator validator;
    validator.addTrustedCertificates(storageOf({"root.pem"}));
    validator.checkCRL = true;
    validator.checkOCSP = true;
    const auto result = validator.validate(load("signer.pem"), nullptr, true, KX::Testing::TestPki::now());
    EXPECT_EQ(result.validity, Validity::Invalid);
    EXPECT_EQ(result.reasons, Reason::CRLNotVerified | Reason::OCSPNotVerified);
}

TEST(SbbCertificateValidator, StopsAtTheFirstProblemWhenToldTo) {
    CertificateValidator validator;
    validator.validateInvalidCertificates = false;
    validator.addTrustedCertificates(storageOf({"root.pem"}));
    const auto result = validator.validate(load("expired.pem"), nullptr, true, KX::Testing::TestPki::now());
    EXPECT_EQ(result.validity, Validity::Invalid);
    EXPECT_EQ(result.reasons, Reason::Expired);
}

TEST(SbbChainVerifier, MapsOpenSslErrorsOntoReasonBits) {
    using ChainVerifier::reasonForVerifyError;
    EXPECT_EQ(reasonForVerifyError(X509_V_OK), 0u);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_CERT_SIGNATURE_FAILURE), Reason::InvalidSignature);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_CERT_REVOKED), Reason::Revoked);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_INVALID_CA), Reason::CAUnauthorized);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_KEYUSAGE_NO_CERTSIGN), Reason::NoKeyUsage);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_ERROR_IN_CERT_NOT_AFTER_FIELD), Reason::BadData);
    EXPECT_EQ(reasonForVerifyError(X509_V_ERR_CA_MD_TOO_WEAK), Reason::WeakCrypto);
}
