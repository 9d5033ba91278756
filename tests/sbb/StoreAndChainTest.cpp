#include "SbbTestFiles.h"
#include "platform/sbb/MemoryCertStorage.h"

#include <gtest/gtest.h>

using namespace SBB;
using SbbTest::fileStream;

namespace {

Certificate load(const std::string& name) {
    Certificate cert;
    auto stream = fileStream(name);
    EXPECT_EQ(cert.loadFromStreamAuto(stream, {}), LoadResult::Ok) << name;
    return cert;
}

std::string commonName(const Certificate& cert) {
    for (const auto& attribute : cert.subjectRDN())
        if (attribute.oid == std::vector<unsigned char>{0x55, 0x04, 0x03})
            return std::string(attribute.value.begin(), attribute.value.end());
    return {};
}

} // namespace

TEST(SbbMemoryCertStorage, LoadsBundlesOfEveryFormatAndAppends) {
    MemoryCertStorage storage;
    auto pem = fileStream("trust-int.pem");
    ASSERT_EQ(storage.loadFromStreamPEM(pem, {}), LoadResult::Ok);
    EXPECT_EQ(storage.count(), 2u);
    auto p7 = fileStream("bundle.p7b");
    EXPECT_TRUE(storage.loadFromStreamPKCS7(p7));
    auto p7pem = fileStream("bundle-p7.pem");
    EXPECT_TRUE(storage.loadFromStreamPKCS7(p7pem));
    EXPECT_EQ(storage.count(), 6u);
    auto pfx = fileStream("signer.pfx");
    ASSERT_EQ(storage.loadFromStreamPFX(pfx, {}), LoadResult::Ok);
    ASSERT_EQ(storage.count(), 8u);
    EXPECT_EQ(commonName(storage.certificate(6)), "Test Signer");
    EXPECT_TRUE(storage.certificate(6).isKeyValid());
    EXPECT_EQ(commonName(storage.certificate(7)), "Test Root CA");
    storage.clear();
    EXPECT_EQ(storage.count(), 0u);
}

TEST(SbbMemoryCertStorage, FailedLoadsAddNothing) {
    MemoryCertStorage storage;
    auto protectedPfx = fileStream("signer-pw.pfx");
    EXPECT_TRUE(LoadResult::isPasswordError(storage.loadFromStreamPFX(protectedPfx, "wrong")));
    for (const char* name : {"damaged.pem", "garbage.txt", "empty.pem", "signer.key"}) {
        auto stream = fileStream(name);
        const int code = storage.loadFromStreamPEM(stream, {});
        EXPECT_NE(code, LoadResult::Ok) << name;
        EXPECT_FALSE(LoadResult::isPasswordError(code)) << name;
    }
    auto der = fileStream("trust.der");
    EXPECT_FALSE(storage.loadFromStreamPKCS7(der));
    EXPECT_EQ(storage.count(), 0u);
}

TEST(SbbMemoryCertStorage, PemBundleKeysJoinTheirCertificate) {
    const auto text = KX::Testing::TestPki::readFile(SbbTest::pki().path("root.pem")) +
                      KX::Testing::TestPki::readFile(SbbTest::pki().path("signer.pem")) +
                      KX::Testing::TestPki::readFile(SbbTest::pki().path("signer-pkcs8-enc.key"));
    const std::vector<unsigned char> bytes(text.begin(), text.end());
    MemoryCertStorage storage;
    MemoryStream withoutPassword(bytes);
    EXPECT_TRUE(LoadResult::isPasswordError(storage.loadFromStreamPEM(withoutPassword, {})));
    EXPECT_EQ(storage.count(), 0u);
    MemoryStream withPassword(bytes);
    ASSERT_EQ(storage.loadFromStreamPEM(withPassword, KX::Testing::TestPki::passphrase), LoadResult::Ok);
    ASSERT_EQ(storage.count(), 2u);
    EXPECT_FALSE(storage.certificate(0).privateKeyExists());
    EXPECT_TRUE(storage.certificate(1).isKeyValid());
    EXPECT_EQ(storage.add(storage.certificate(1), false), 2u);
    EXPECT_FALSE(storage.certificate(2).privateKeyExists());
}

TEST(SbbCertificateChain, AcceptsOnlyTheNextIssuerUntilComplete) {
    const auto signer = load("signer-int.pem");
    const auto intermediate = load("intermediate.pem");
    const auto root = load("root.pem");
    CertificateChain chain;
    EXPECT_FALSE(chain.complete());
    EXPECT_TRUE(chain.add(signer));
    EXPECT_FALSE(chain.add(root));
    EXPECT_FALSE(chain.add(signer));
    EXPECT_FALSE(chain.add(load("foreign-root.pem")));
    EXPECT_TRUE(chain.add(intermediate));
    EXPECT_FALSE(chain.complete());
    EXPECT_TRUE(chain.add(root));
    EXPECT_TRUE(chain.complete());
    EXPECT_FALSE(chain.add(root));
    EXPECT_EQ(chain.count(), 3u);
    EXPECT_TRUE(chain.certificate(0).sameAs(signer));
}

TEST(SbbCertificateChain, PassesMakeTheOrderOfCandidatesIrrelevant) {
    MemoryCertStorage storage;
    storage.add(load("root.pem"));
    storage.add(load("foreign-root.pem"));
    storage.add(load("intermediate.pem"));
    const auto chain = storage.buildChain(load("signer-int.pem"));
    ASSERT_EQ(chain.count(), 3u);
    EXPECT_EQ(commonName(chain.certificate(1)), "Test Intermediate CA");
    EXPECT_EQ(commonName(chain.certificate(2)), "Test Root CA");
    EXPECT_TRUE(chain.complete());
}

TEST(SbbCertificateChain, ValidatesItselfAtAMoment) {
    const auto now = KX::Testing::TestPki::now();
    CertificateChain good;
    good.add(load("signer-int.pem"));
    good.add(load("intermediate.pem"));
    good.add(load("root.pem"));
    std::uint32_t reasons = 0;
    EXPECT_EQ(good.validate(reasons, now), Validity::Valid);
    EXPECT_EQ(reasons, 0u);
    // A year and a half on, the signer has expired.
    EXPECT_EQ(good.validate(reasons, now + 540 * 86400), Validity::Invalid);
    EXPECT_EQ(reasons, Reason::Expired);

    CertificateChain partial;
    partial.add(load("signer-int.pem"));
    partial.add(load("intermediate.pem"));
    reasons = 0;
    EXPECT_EQ(partial.validate(reasons, now), Validity::Invalid);
    EXPECT_EQ(reasons, Reason::UnknownCA);

    CertificateChain notCa;
    notCa.add(load("signer-under-signer.pem"));
    notCa.add(load("signer.pem"));
    notCa.add(load("root.pem"));
    reasons = 0;
    EXPECT_EQ(notCa.validate(reasons, now), Validity::Invalid);
    EXPECT_TRUE(reasons & Reason::CAUnauthorized);
}
