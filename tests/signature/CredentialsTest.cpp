#include "SignatureTestSupport.h"
#include "core/Errors.h"
#include "signature/SigningCredentials.h"
#include "signature/sbb/SBBDigitalSignatureProvider.h"

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

using namespace KX::CryptographicEngine;
using namespace KX::CryptographicEngine::DigitalSignature;
using SignatureTest::pki;

namespace {

TrustStoreOpener trustStoreFile(const char* name) {
    return [name] { return KX::openFileForReading(KX::FileSystem::Path(pki().path(name))); };
}

SigningCredentials loadCredentials(const char* certificate, const char* key,
                                   std::optional<std::string> passphrase = std::nullopt,
                                   const char* trustStore = "trust.pem") {
    SecureBlackboxProvider::SBBDigitalSignatureProvider provider;
    return loadSigningCredentials(provider, {pki().path(certificate)}, pki().path(key), passphrase,
                                  trustStoreFile(trustStore));
}

// The message of the SigningError raised for the credentials, or "" when they load.
std::string failure(const char* certificate, const char* key,
                    std::optional<std::string> passphrase = std::nullopt,
                    const char* trustStore = "trust.pem") {
    try {
        loadCredentials(certificate, key, std::move(passphrase), trustStore);
        return {};
    } catch (const SigningError& e) {
        return e.what();
    }
}

std::string quoted(const char* name) {
    return "'" + pki().path(name) + "'";
}

} // namespace

TEST(SigCredentials, LoadedCredentialsCarryTheTrustStoreAndTheKeyStore) {
    auto credentials =
        loadCredentials("signer.pem", "signer-pkcs8-enc.key", KX::Testing::TestPki::passphrase);
    ASSERT_TRUE(credentials.trustedCertificates);
    ASSERT_TRUE(credentials.keyStore);
    EXPECT_EQ(credentials.keyStore->certificateInfo().subject.commonName, "Test Signer");
    ASSERT_EQ(credentials.trustedCertificates->certificates().size(), 1u);
    EXPECT_EQ(failure("signer.pfx", "signer.key"), "");
    // A certificate carrying its key still needs an openable key file, which is then not read.
    EXPECT_EQ(failure("signer.pfx", "garbage.txt"), "");
}

TEST(SigCredentials, EveryStatusHasItsMessage) {
    EXPECT_EQ(failure("signer.pem", "signer-trad-enc.key"),
              "the private key " + quoted("signer-trad-enc.key") +
                  " is password protected; enter password via --passphrase option");
    EXPECT_EQ(failure("signer.pem", "signer-pkcs8-enc.key", "wrong"),
              "passphrase for " + quoted("signer-pkcs8-enc.key") + " is not valid");
    EXPECT_EQ(failure("signer.pem", "signer-pkcs8-enc.key", ""),
              "passphrase for " + quoted("signer-pkcs8-enc.key") + " is not valid");
    EXPECT_EQ(failure("signer-pw.pfx", "signer.key", KX::Testing::TestPki::passphrase),
              "passphrase for " + quoted("signer-pw.pfx") + " is not valid");
    EXPECT_EQ(failure("signer.pem", "other.key"), "the private key " + quoted("other.key") + " is invalid");
    EXPECT_EQ(failure("garbage.txt", "signer.key"),
              "the certificate " + quoted("garbage.txt") + " has unsupported format");
    EXPECT_EQ(failure("signer.pem", "root.pem"),
              "the private key " + quoted("root.pem") + " has unsupported format");
    EXPECT_EQ(failure("damaged.pem", "signer.key"),
              "the certificate " + quoted("damaged.pem") + " is corrupted and cannot be loaded");
    EXPECT_EQ(failure("signer.pem", "truncated.der"),
              "the private key " + quoted("truncated.der") + " is corrupted and cannot be loaded");
    EXPECT_EQ(failure("foreign-signer.pem", "foreign-signer.key"),
              "the certificate " + quoted("foreign-signer.pem") + " is invalid");
    EXPECT_EQ(failure("expired.pem", "expired.key"),
              "the certificate " + quoted("expired.pem") + " is invalid");
    EXPECT_EQ(failure("empty.pem", "signer.key"), "the certificate " + quoted("empty.pem") +
                                                      " or private key " + quoted("signer.key") +
                                                      " cannot be loaded");
    EXPECT_EQ(failure("signer.pem", "empty.pem"), "the certificate " + quoted("signer.pem") +
                                                      " or private key " + quoted("empty.pem") +
                                                      " cannot be loaded");
}

TEST(SigCredentials, UnusableTrustStoreMakesEveryCertificateInvalid) {
    EXPECT_EQ(failure("signer.pem", "signer.key", std::nullopt, "trust.der"),
              "the certificate " + quoted("signer.pem") + " is invalid");
    EXPECT_EQ(failure("signer.pem", "signer.key", std::nullopt, "garbage.txt"),
              "the certificate " + quoted("signer.pem") + " is invalid");
}

TEST(SigCredentials, FileErrorsPassUnchangedAndTheTrustStoreComesFirst) {
    SecureBlackboxProvider::SBBDigitalSignatureProvider provider;
    EXPECT_THROW(loadSigningCredentials(provider, {pki().path("signer.pem")}, "", std::nullopt,
                                        trustStoreFile("trust.pem")),
                 KX::InvalidArgumentError);
    EXPECT_THROW(loadSigningCredentials(provider, {pki().path("missing.pem")}, pki().path("signer.key"),
                                        std::nullopt, trustStoreFile("trust.pem")),
                 KX::BrokenFileError);
    // No trust store beside the test program: nothing else is looked at.
    try {
        loadSigningCredentials(provider, {pki().path("missing.pem")}, pki().path("missing.key"),
                               std::nullopt);
        FAIL();
    } catch (const KX::BaseRuntimeError& e) {
        EXPECT_STREQ(e.what(), "Trust store was not found.");
    }
}

TEST(SigTrustStore, OpensTheFixedFileBelowAFolder) {
    const auto folder = boost::filesystem::path(pki().directory()) / "program";
    boost::filesystem::create_directories(folder / "Resources");
    EXPECT_THROW(openTrustStore(folder), KX::BaseRuntimeError);
    boost::filesystem::copy_file(pki().path("trust.pem"), folder / "Resources" / "CACertificatesStore.pem");
    auto stream = openTrustStore(folder);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->size(),
              static_cast<std::int64_t>(KX::Testing::TestPki::readFile(pki().path("trust.pem")).size()));
}
