#include "SignFixture.h"

#include <sys/stat.h>

using namespace KX;
using namespace KX::Testing;

namespace {

class SignFailure : public SignTest {
protected:
    // Runs xpk sign and expects the one error line, nothing on standard output and status 1.
    void expectRefused(const std::vector<std::string>& arguments, const std::string& message) {
        const auto result = signXpk(arguments);
        EXPECT_EQ(result.err, aborted(message));
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.status, 1);
    }

    std::vector<std::string> arguments(const std::string& package, const std::string& certificate,
                                       const std::string& key, const std::string& passphrase = {}) {
        std::vector<std::string> result{"sign", "--package=" + package, "--certificate=" + certificate,
                                        "--private-key=" + key};
        if (!passphrase.empty())
            result.push_back("--passphrase=" + passphrase);
        return result;
    }
};

} // namespace

TEST_F(SignFailure, CredentialProblemsStopBeforeThePackageIsOpened) {
    // The package does not exist: each of these must be found first.
    const std::string package = "missing-package";
    const auto signer = pkiFile("signer.pem");
    const auto key = pkiFile("signer.key");
    const auto encrypted = pkiFile("signer-pkcs8-enc.key");
    expectRefused(arguments(package, signer, encrypted),
                  "the private key '" + encrypted +
                      "' is password protected; enter password via --passphrase option");
    expectRefused(arguments(package, signer, encrypted, "wrong"),
                  "passphrase for '" + encrypted + "' is not valid");
    expectRefused(arguments(package, signer, "nokey.pem"), "the private key file 'nokey.pem' doesn't exist");
    expectRefused(arguments(package, "nocert.pem", key), "the certificate file 'nocert.pem' doesn't exist");
    fs::create_directory(scratch / "keys");
    expectRefused(arguments(package, signer, "keys"), "the private key file 'keys' is a directory");
    expectRefused(arguments(package, "keys", key), "the certificate file 'keys' is a directory");
    expectRefused(arguments(package, pkiFile("foreign-signer.pem"), pkiFile("foreign-signer.key")),
                  "the certificate '" + pkiFile("foreign-signer.pem") + "' is invalid");
    expectRefused(arguments(package, pkiFile("expired.pem"), pkiFile("expired.key")),
                  "the certificate '" + pkiFile("expired.pem") + "' is invalid");
    expectRefused(arguments(package, signer, pkiFile("other.key")),
                  "the private key '" + pkiFile("other.key") + "' is invalid");
    expectRefused(arguments(package, pkiFile("garbage.txt"), key),
                  "the certificate '" + pkiFile("garbage.txt") + "' has unsupported format");
    expectRefused(arguments(package, pkiFile("empty.pem"), key), "the certificate '" + pkiFile("empty.pem") +
                                                                     "' or private key '" + key +
                                                                     "' cannot be loaded");
    expectRefused(arguments(package, signer, pkiFile("signer-pw.pfx")),
                  "the private key '" + pkiFile("signer-pw.pfx") +
                      "' is password protected; enter password via --passphrase option");
    EXPECT_FALSE(fs::exists(scratch / package));
}

TEST_F(SignFailure, TrustStoreIsNeeded) {
    makePlugin();
    installXpk("");
    expectRefused(arguments("plug", pkiFile("signer.pem"), "nokey.pem"), "Trust store was not found.");
    // The store the build ships is empty: no signer is trusted until its root is added.
    writeFile(scratch / "bin/Resources/CACertificatesStore.pem",
              readFile(fs::path(XPK_BINARY).parent_path() / "Resources/CACertificatesStore.pem"));
    expectRefused(arguments("plug", pkiFile("signer.pem"), pkiFile("signer.key")),
                  "the certificate '" + pkiFile("signer.pem") + "' is invalid");
    // A trust store with another root does not vouch for this signer.
    installXpk("foreign-root.pem");
    expectRefused(arguments("plug", pkiFile("signer.pem"), pkiFile("signer.key")),
                  "the certificate '" + pkiFile("signer.pem") + "' is invalid");
    EXPECT_FALSE(fs::exists(scratch / "plug/META-INF/.digest"));
}

TEST_F(SignFailure, PackagesThatCannotBeSigned) {
    const auto signer = pkiFile("signer.pem");
    const auto key = pkiFile("signer.key");
    fs::create_directories(scratch / "empty");
    expectRefused(arguments("empty", signer, key), "Can't processed empty input stream.");
    EXPECT_TRUE(fs::is_empty(scratch / "empty"));

    const auto missing = signXpk(arguments("nowhere.xpk", signer, key));
    EXPECT_EQ(missing.err.rfind("ERROR: file 'nowhere.xpk' cannot be opened (", 0), 0u) << missing.err;
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(scratch / "nowhere.xpk"));
}

TEST_F(SignFailure, FailedWriteBackLeavesThePackageFileAsItWas) {
    makePlugin();
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);
    const auto before = readFile(scratch / "plug.xpk");
    CliOptions limited;
    limited.fileSizeLimit = 4096; // far below the new archive
    const auto result = signXpk(arguments("plug.xpk", pkiFile("signer.pem"), pkiFile("signer.key")), limited);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("ERROR: Package 'plug.xpk' cannot be saved, ", 0), 0u) << result.err;
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(scratch / "plug.xpk"), before);
    EXPECT_EQ(listing(scratch.path()), (std::vector<std::string>{"bin", "plug", "plug.xpk"}));
}
