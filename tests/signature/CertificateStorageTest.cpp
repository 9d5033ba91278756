#include "SignatureTestSupport.h"
#include "core/Errors.h"
#include "core/FatalError.h"
#include "signature/sbb/SBBCertificateStorage.h"

#include <gtest/gtest.h>

using namespace KX::CryptographicEngine::DigitalSignature;
using namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider;
using SignatureTest::source;

TEST(SigCertificateStorage, LoadsEachBundleFormatIntoTheChosenStore) {
    SBBCertificateStorage storage;
    EXPECT_EQ(storage.load(CertificateType::Trusted, source("trust-int.pem"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.load(CertificateType::Intermediate, source("bundle.p7b"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.load(CertificateType::Extra, source("signer.pfx"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.store(CertificateType::Trusted).count(), 2u);
    EXPECT_EQ(storage.store(CertificateType::Intermediate).count(), 2u);
    EXPECT_EQ(storage.store(CertificateType::Extra).count(), 2u);
    const auto infos = storage.certificates();
    ASSERT_EQ(infos.size(), 6u);
    EXPECT_EQ(infos[0].subject.commonName, "Test Root CA");
    EXPECT_EQ(infos[4].subject.commonName, "Test Signer");

    // A second load of one type replaces that store only.
    EXPECT_EQ(storage.load(CertificateType::Intermediate, source("bundle-p7.pem"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.load(CertificateType::Trusted, source("trust.pem"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.store(CertificateType::Trusted).count(), 1u);
    EXPECT_EQ(storage.store(CertificateType::Intermediate).count(), 2u);
}

TEST(SigCertificateStorage, FailedLoadsLeaveTheStoreEmpty) {
    struct Case {
        const char* file;
        LoadStatus status;
    };
    const Case cases[] = {{"signer-pw.pfx", LoadStatus::CertificatePasswordInvalid},
                          {"trust.der", LoadStatus::CertificateCorrupted},
                          {"damaged.pem", LoadStatus::CertificateCorrupted},
                          {"garbage.txt", LoadStatus::CertificateCorrupted},
                          {"empty.pem", LoadStatus::CertificateCorrupted},
                          {"truncated.der", LoadStatus::CertificateCorrupted}};
    for (const auto& c : cases) {
        SBBCertificateStorage storage;
        ASSERT_EQ(storage.load(CertificateType::Trusted, source("trust.pem"), {}), LoadStatus::Loaded);
        EXPECT_EQ(storage.load(CertificateType::Trusted, source(c.file), {}), c.status) << c.file;
        EXPECT_EQ(storage.store(CertificateType::Trusted).count(), 0u) << c.file;
    }
    SBBCertificateStorage storage;
    ASSERT_EQ(storage.load(CertificateType::Trusted, source("trust.pem"), {}), LoadStatus::Loaded);
    EXPECT_EQ(storage.load(CertificateType::Trusted, std::string("system:root"), {}),
              LoadStatus::SourceNotSupported);
    EXPECT_EQ(storage.store(CertificateType::Trusted).count(), 0u);
    EXPECT_EQ(storage.load(CertificateType::Extra, source("signer-pw.pfx"), KX::Testing::TestPki::passphrase),
              LoadStatus::Loaded);
}

TEST(SigCertificateStorage, UnknownTypeIsABrokenInvariant) {
    SBBCertificateStorage storage;
    EXPECT_THROW(storage.load(static_cast<CertificateType>(3), source("trust.pem"), {}), KX::AbortException);
}
