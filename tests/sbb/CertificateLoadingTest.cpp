#include "SbbTestFiles.h"
#include "platform/sbb/Certificate.h"
#include "platform/sbb/StringUtils.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace SBB;
using SbbTest::fileStream;

namespace {

int loadCertificate(Certificate& cert, const std::string& name, std::string_view password = {}) {
    auto stream = fileStream(name);
    return cert.loadFromStreamAuto(stream, password);
}

int loadKey(Certificate& cert, const std::string& name, std::string_view password = {}) {
    auto stream = fileStream(name);
    return cert.loadKeyFromStreamAuto(stream, password);
}

std::string valueOf(const DistinguishedNameAttributes& name, std::vector<unsigned char> oid) {
    std::string value;
    for (const auto& attribute : name)
        if (attribute.oid == oid)
            value.assign(attribute.value.begin(), attribute.value.end());
    return value;
}

} // namespace

TEST(SbbCertificate, LoadsPemAndDerCertificatesAndMatchingKeysInEveryEncoding) {
    for (const char* certFile : {"signer.pem", "signer.der"}) {
        for (const char* keyFile : {"signer.key", "signer-trad.key", "signer-key.der"}) {
            Certificate cert;
            ASSERT_EQ(loadCertificate(cert, certFile), LoadResult::Ok) << certFile;
            EXPECT_FALSE(cert.privateKeyExists());
            EXPECT_FALSE(cert.isKeyValid());
            ASSERT_EQ(loadKey(cert, keyFile), LoadResult::Ok) << keyFile;
            EXPECT_TRUE(cert.privateKeyExists());
            EXPECT_TRUE(cert.isKeyValid()) << certFile << " " << keyFile;
        }
    }
}

TEST(SbbCertificate, EncryptedKeysNeedTheirPassword) {
    for (const char* keyFile : {"signer-pkcs8-enc.key", "signer-trad-enc.key"}) {
        Certificate cert;
        ASSERT_EQ(loadCertificate(cert, "signer.pem"), LoadResult::Ok);
        EXPECT_TRUE(LoadResult::isPasswordError(loadKey(cert, keyFile))) << keyFile;
        EXPECT_TRUE(LoadResult::isPasswordError(loadKey(cert, keyFile, "wrong"))) << keyFile;
        EXPECT_FALSE(cert.privateKeyExists());
        EXPECT_EQ(loadKey(cert, keyFile, KX::Testing::TestPki::passphrase), LoadResult::Ok) << keyFile;
        EXPECT_TRUE(cert.isKeyValid());
    }
}

TEST(SbbCertificate, PfxCarriesItsKeyAndChecksItsPassword) {
    Certificate cert;
    ASSERT_EQ(loadCertificate(cert, "signer.pfx"), LoadResult::Ok);
    EXPECT_TRUE(cert.privateKeyExists());
    EXPECT_TRUE(cert.isKeyValid());

    Certificate protectedCert;
    EXPECT_TRUE(LoadResult::isPasswordError(loadCertificate(protectedCert, "signer-pw.pfx")));
    EXPECT_TRUE(LoadResult::isPasswordError(loadCertificate(protectedCert, "signer-pw.pfx", "wrong")));
    EXPECT_FALSE(protectedCert.isLoaded());
    EXPECT_EQ(loadCertificate(protectedCert, "signer-pw.pfx", KX::Testing::TestPki::passphrase),
              LoadResult::Ok);
    EXPECT_TRUE(protectedCert.isKeyValid());
}

TEST(SbbCertificate, LegacyPfxFromOlderToolsLoads) {
    // RC2 and triple DES, as older exporters write it; produced by the openssl command on purpose,
    // so that this process has not loaded the legacy algorithms itself.
    const auto& pki = SbbTest::pki();
    const std::string command = "openssl pkcs12 -export -legacy -in '" + pki.path("signer.pem") +
                                "' -inkey '" + pki.path("signer.key") +
                                "' -passout 'pass:" + KX::Testing::TestPki::passphrase + "' -out '" +
                                pki.path("legacy.pfx") + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "the openssl command is not available";
    Certificate cert;
    EXPECT_TRUE(LoadResult::isPasswordError(loadCertificate(cert, "legacy.pfx", "wrong")));
    ASSERT_EQ(loadCertificate(cert, "legacy.pfx", KX::Testing::TestPki::passphrase), LoadResult::Ok);
    EXPECT_TRUE(cert.isKeyValid());
}

TEST(SbbCertificate, ForeignKeyFailsTheKeyCheck) {
    Certificate cert;
    ASSERT_EQ(loadCertificate(cert, "signer.pem"), LoadResult::Ok);
    ASSERT_EQ(loadKey(cert, "other.key"), LoadResult::Ok);
    EXPECT_TRUE(cert.privateKeyExists());
    EXPECT_FALSE(cert.isKeyValid());
}

TEST(SbbCertificate, UnsupportedAndDamagedDataGiveDistinctCodes) {
    Certificate cert;
    EXPECT_EQ(loadCertificate(cert, "garbage.txt"), LoadResult::UnsupportedFormat);
    EXPECT_EQ(loadCertificate(cert, "bundle.p7b"), LoadResult::UnsupportedFormat);
    EXPECT_EQ(loadCertificate(cert, "signer.key"), LoadResult::UnsupportedFormat);
    for (const char* damaged : {"damaged.pem", "truncated.der", "empty.pem"}) {
        const int code = loadCertificate(cert, damaged);
        EXPECT_NE(code, LoadResult::Ok) << damaged;
        EXPECT_NE(code, LoadResult::UnsupportedFormat) << damaged;
        EXPECT_FALSE(LoadResult::isPasswordError(code)) << damaged;
    }
    EXPECT_FALSE(cert.isLoaded());

    ASSERT_EQ(loadCertificate(cert, "signer.pem"), LoadResult::Ok);
    EXPECT_EQ(loadKey(cert, "garbage.txt"), LoadResult::UnsupportedFormat);
    EXPECT_EQ(loadKey(cert, "signer.pem"), LoadResult::UnsupportedFormat);
    const int code = loadKey(cert, "truncated.der");
    EXPECT_NE(code, LoadResult::Ok);
    EXPECT_NE(code, LoadResult::UnsupportedFormat);
}

TEST(SbbCertificate, DetectsFormatsWithoutMovingTheStream) {
    const std::pair<const char*, CertFileFormat> cases[] = {
        {"trust.pem", CertFileFormat::Pem},       {"signer.key", CertFileFormat::Pem},
        {"signer.pfx", CertFileFormat::Pfx},      {"bundle.p7b", CertFileFormat::Pkcs7},
        {"bundle-p7.pem", CertFileFormat::Pkcs7}, {"trust.der", CertFileFormat::Der},
        {"garbage.txt", CertFileFormat::Unknown}, {"empty.pem", CertFileFormat::Unknown}};
    for (const auto& [name, format] : cases) {
        auto stream = fileStream(name);
        EXPECT_EQ(Certificate::detectCertFileFormat(stream), format) << name;
        EXPECT_EQ(stream.position(), 0);
    }
}

TEST(SbbCertificate, DescribesNamesPeriodSerialAndKey) {
    Certificate cert;
    ASSERT_EQ(loadCertificate(cert, "signer.pem"), LoadResult::Ok);
    const auto subject = cert.subjectRDN();
    ASSERT_EQ(subject.size(), 7u);
    EXPECT_EQ(valueOf(subject, {0x55, 0x04, 0x03}), "Test Signer");
    EXPECT_EQ(valueOf(subject, {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x09, 0x01}), "signer@example.org");
    EXPECT_EQ(valueOf(cert.issuerRDN(), {0x55, 0x04, 0x03}), "Test Root CA");
    EXPECT_EQ(cert.validFrom(), KX::Testing::TestPki::now() - 86400);
    EXPECT_EQ(cert.validTo(), KX::Testing::TestPki::now() + 365 * 86400);
    EXPECT_EQ(beautifyBinaryString(binaryToString(cert.serialNumber()), ':'), "01:02:A3");
    const auto spki = cert.fullPublicKeyInfo();
    ASSERT_GT(spki.size(), 60u);
    EXPECT_EQ(spki[0], 0x30);
    EXPECT_FALSE(cert.selfSigned());

    Certificate root;
    ASSERT_EQ(loadCertificate(root, "root.pem"), LoadResult::Ok);
    EXPECT_TRUE(root.selfSigned());
    EXPECT_TRUE(cert.isIssuedBy(root));
    EXPECT_FALSE(root.isIssuedBy(cert));
}

TEST(SbbStringUtils, HexTextAndSeparators) {
    EXPECT_EQ(binaryToString({0x00, 0xAB, 0x0F}), "00AB0F");
    EXPECT_EQ(binaryToString({}), "");
    EXPECT_EQ(beautifyBinaryString("00AB0F", ':'), "00:AB:0F");
    EXPECT_EQ(beautifyBinaryString("0A", ':'), "0A");
    EXPECT_EQ(beautifyBinaryString("", ':'), "");
}
