#include "SignatureTestSupport.h"
#include "core/Errors.h"
#include "platform/sbb/Certificate.h"
#include "platform/sbb/MemoryStream.h"
#include "signature/sbb/CertificateChainValidation.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBCertificateValidator.h"

#include <gtest/gtest.h>

using namespace KX::CryptographicEngine::DigitalSignature;
using namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider;
using SignatureTest::source;

namespace {

SBB::Certificate load(const std::string& name) {
    SBB::Certificate cert;
    SBB::MemoryStream stream([&] {
        const auto text = KX::Testing::TestPki::readFile(SignatureTest::pki().path(name));
        return std::vector<unsigned char>(text.begin(), text.end());
    }());
    EXPECT_EQ(cert.loadFromStreamAuto(stream, {}), SBB::LoadResult::Ok) << name;
    return cert;
}

SBB::CertificateChain chainOf(std::initializer_list<const char*> names) {
    SBB::CertificateChain chain;
    for (const char* name : names)
        EXPECT_TRUE(chain.add(load(name))) << name;
    return chain;
}

SBB::MemoryCertStorage storeOf(std::initializer_list<const char*> names) {
    SBB::MemoryCertStorage store;
    for (const char* name : names)
        store.add(load(name));
    return store;
}

CertificateValidationResult result(CertificateValidity validity, std::uint32_t reasons) {
    return {validity, reasons};
}

} // namespace

TEST(SigChainBuilding, OffersStoresInOrderAndInPasses) {
    const auto intermediates = storeOf({"foreign-root.pem", "intermediate.pem"});
    const auto trusted = storeOf({"root.pem"});
    const auto chain = buildChain(load("signer-int.pem"), {&intermediates, &trusted});
    EXPECT_EQ(chain.count(), 3u);
    EXPECT_TRUE(chain.complete());
    // With the trusted store first, the root cannot join before the intermediate has.
    const auto reversed = buildChain(load("signer-int.pem"), {&trusted, &intermediates});
    EXPECT_EQ(reversed.count(), 2u);
    EXPECT_FALSE(reversed.complete());
}

TEST(SigChainValidation, MapsTheOutcomeOfEachKindOfChain) {
    const auto now = SignatureTest::now();
    const auto anchors = storeOf({"root.pem", "expired-root.pem"});
    EXPECT_EQ(validateChain(chainOf({"signer.pem", "root.pem"}), anchors, now),
              result(CertificateValidity::Valid, 0));
    EXPECT_EQ(validateChain(chainOf({"signer-int.pem", "intermediate.pem", "root.pem"}), anchors, now),
              result(CertificateValidity::Valid, 0));
    EXPECT_EQ(validateChain(chainOf({"signer-int.pem", "intermediate.pem"}), anchors, now),
              result(CertificateValidity::Invalid, ValidationReason::UnknownCA));
    EXPECT_EQ(validateChain(chainOf({"expired.pem", "root.pem"}), anchors, now),
              result(CertificateValidity::Invalid, ValidationReason::Expired));
    EXPECT_EQ(validateChain(chainOf({"not-yet-valid.pem", "root.pem"}), anchors, now),
              result(CertificateValidity::Invalid, ValidationReason::NotYetValid));
    EXPECT_EQ(validateChain(chainOf({"signer-expired-root.pem", "expired-root.pem"}), anchors, now),
              result(CertificateValidity::Invalid, ValidationReason::Expired));
    EXPECT_EQ(validateChain(chainOf({"self-signed.pem"}), anchors, now),
              result(CertificateValidity::SelfSigned, ValidationReason::UnknownCA));
    EXPECT_EQ(validateChain(chainOf({"no-signing-usage.pem", "root.pem"}), anchors, now),
              result(CertificateValidity::Invalid, ValidationReason::NoKeyUsage));
    // Before the signer's period began.
    EXPECT_EQ(validateChain(chainOf({"signer.pem", "root.pem"}), anchors, now - 2 * 86400),
              result(CertificateValidity::Invalid, ValidationReason::NotYetValid));
}

TEST(SigChainValidation, OnlyTrustedRootsAnchorAChain) {
    const auto now = SignatureTest::now();
    // A root the chain carries but the trusted store lacks is only a known certificate.
    EXPECT_NE(validateChain(chainOf({"signer.pem", "root.pem"}), storeOf({"foreign-root.pem"}), now).validity,
              CertificateValidity::Valid);
    EXPECT_NE(validateChain(chainOf({"self-signed.pem"}), storeOf({"self-signed.pem"}), now).validity,
              CertificateValidity::Valid);

    // A root offered as an intermediate completes the chain but must not make it trusted.
    SBBCertificateStorage storage;
    ASSERT_EQ(storage.load(CertificateType::Trusted, source("trust.pem"), {}), LoadStatus::Loaded);
    ASSERT_EQ(storage.load(CertificateType::Intermediate, source("foreign-root.pem"), {}),
              LoadStatus::Loaded);
    SBBCertificateValidator validator;
    EXPECT_NE(validator.validate(source("foreign-signer.pem"), storage, now).validity,
              CertificateValidity::Valid);
    EXPECT_EQ(validator.usedCertificates().size(), 2u);
    EXPECT_EQ(validator.validate(source("signer.pem"), storage, now), result(CertificateValidity::Valid, 0));
}

TEST(SigChainValidation, KeepsOnlyTheLibraryReasonBits) {
    EXPECT_EQ(toValidationResult(SBB::Validity::Invalid, 0x1000 | 0x8),
              result(CertificateValidity::Invalid, 0x8));
    EXPECT_EQ(toValidationResult(SBB::Validity::ChainUnvalidated, 0xFFFFFFFF),
              result(CertificateValidity::ChainNotValidated, 0xFFF));
    EXPECT_EQ(toValidationResult(SBB::Validity::StorageError, 0),
              result(CertificateValidity::StorageError, 0));
    EXPECT_EQ(toValidationResult(static_cast<SBB::Validity>(7), 0), result(CertificateValidity::Invalid, 0));
}

TEST(SigPinnedCertificate, AcceptsOnlyThePinnedRootCompletingTheChain) {
    auto root = SignatureTest::memoryCopy("root.pem");
    EXPECT_EQ(checkPinnedCertificate(chainOf({"signer.pem"}), *root), result(CertificateValidity::Valid, 0));
    auto rootDer = SignatureTest::memoryCopy("trust.der");
    EXPECT_EQ(checkPinnedCertificate(chainOf({"signer.pem"}), *rootDer),
              result(CertificateValidity::Valid, 0));

    auto foreign = SignatureTest::memoryCopy("foreign-root.pem");
    EXPECT_EQ(checkPinnedCertificate(chainOf({"signer.pem"}), *foreign),
              result(CertificateValidity::PinnedCertificateCheckFailed,
                     ValidationReason::PinnedCertificateMismatch));
    // The intermediate extends the chain but does not complete it.
    auto intermediate = SignatureTest::memoryCopy("intermediate.pem");
    EXPECT_EQ(checkPinnedCertificate(chainOf({"signer-int.pem"}), *intermediate),
              result(CertificateValidity::PinnedCertificateCheckFailed,
                     ValidationReason::PinnedCertificateMismatch));

    for (const char* notACertificate : {"garbage.txt", "empty.pem", "damaged.pem"}) {
        auto pinned = SignatureTest::memoryCopy(notACertificate);
        EXPECT_EQ(checkPinnedCertificate(chainOf({"signer.pem"}), *pinned),
                  result(CertificateValidity::PinnedCertificateCheckFailed, ValidationReason::BadData))
            << notACertificate;
    }
    auto again = SignatureTest::memoryCopy("root.pem");
    EXPECT_EQ(checkPinnedCertificate(chainOf({"signer.pem", "root.pem"}), *again),
              result(CertificateValidity::Invalid, ValidationReason::UnknownCA));
}

TEST(SigCertificateValidator, ValidatesTheGivenCertificateAgainstTheStorage) {
    SBBCertificateStorage storage;
    ASSERT_EQ(storage.load(CertificateType::Trusted, source("trust.pem"), {}), LoadStatus::Loaded);
    ASSERT_EQ(storage.load(CertificateType::Intermediate, source("bundle.p7b"), {}), LoadStatus::Loaded);
    SBBCertificateValidator validator;
    EXPECT_EQ(validator.validate(source("signer-int.pem"), storage, SignatureTest::now()),
              result(CertificateValidity::Valid, 0));
    const auto used = validator.usedCertificates();
    ASSERT_EQ(used.size(), 3u);
    EXPECT_EQ(used[0].subject.commonName, "Intermediate Signer");
    EXPECT_EQ(used[2].subject.commonName, "Test Root CA");

    EXPECT_EQ(validator.validate(source("foreign-signer.pem"), storage, SignatureTest::now()),
              result(CertificateValidity::Invalid, ValidationReason::UnknownCA));
    EXPECT_EQ(validator.validate(source("expired.pem"), storage, SignatureTest::now()),
              result(CertificateValidity::Invalid, ValidationReason::Expired));
    EXPECT_EQ(validator.validate(source("garbage.txt"), storage, SignatureTest::now()),
              result(CertificateValidity::Invalid, ValidationReason::BadData));
    EXPECT_EQ(validator.validate(std::string("id"), storage, SignatureTest::now()),
              result(CertificateValidity::Invalid, ValidationReason::BadData));
    EXPECT_TRUE(validator.usedCertificates().empty());

    SBBCertificateStorage empty;
    EXPECT_NE(validator.validate(source("signer.pem"), empty, SignatureTest::now()).validity,
              CertificateValidity::Valid);
}
