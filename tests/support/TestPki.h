#pragma once

// A small public-key infrastructure generated at run time for the tests: a root, an
// intermediate, signers under each, broken and expired variants, and the same material in every
// file format the loaders accept or refuse. Built once per process in a private temporary folder.

#include <cstdint>
#include <ctime>
#include <memory>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <string>
#include <utility>
#include <vector>

namespace KX::Testing {

struct PkiDeleter {
    void operator()(X509* p) const { X509_free(p); }
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
using CertPtr = std::unique_ptr<X509, PkiDeleter>;
using KeyPtr = std::unique_ptr<EVP_PKEY, PkiDeleter>;

// What a new certificate looks like. Times are seconds relative to TestPki::now().
struct CertProfile {
    std::vector<std::pair<std::string, std::string>> subject; // {"CN", "Signer"}, ...
    std::int64_t notBefore = -86400;
    std::int64_t notAfter = 365 * 86400;
    bool ca = false;
    std::string keyUsage;     // e.g. "digitalSignature", empty for none
    std::uint64_t serial = 0; // 0 picks the next number
};

class TestPki {
public:
    // The shared instance, generated on first use.
    static const TestPki& instance();

    // The moment the material was generated for (seconds since 1970).
    static std::int64_t now();

    // Full path of a generated file (see the list in TestPki.cpp).
    std::string path(const std::string& name) const;
    const std::string& directory() const { return _directory; }

    static KeyPtr makeKey();
    // Issues a certificate for key; a null issuer makes it self-signed.
    static CertPtr makeCertificate(const CertProfile& profile, EVP_PKEY* key, X509* issuer,
                                   EVP_PKEY* issuerKey);

    static std::string certificatePem(X509* cert);
    static std::vector<unsigned char> certificateDer(X509* cert);
    static std::string keyPem(EVP_PKEY* key);
    // Encrypted PKCS#8 ("ENCRYPTED PRIVATE KEY") or traditional ("Proc-Type: 4,ENCRYPTED").
    static std::string encryptedKeyPem(EVP_PKEY* key, const std::string& passphrase, bool traditional);
    static std::vector<unsigned char> pfx(X509* cert, EVP_PKEY* key, const std::vector<X509*>& extra,
                                          const std::string& password);
    static std::vector<unsigned char> pkcs7Bundle(const std::vector<X509*>& certs);

    void writeFile(const std::string& name, const std::string& content) const;
    void writeFile(const std::string& name, const std::vector<unsigned char>& content) const;
    static std::string readFile(const std::string& fullPath);

    static constexpr const char* passphrase = "correct horse";

    TestPki(const TestPki&) = delete;
    TestPki& operator=(const TestPki&) = delete;
    ~TestPki();

private:
    TestPki();
    void generate();

    std::string _directory;
};

} // namespace KX::Testing
