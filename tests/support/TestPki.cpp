#include "TestPki.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/pkcs7.h>
#include <openssl/x509v3.h>
#include <sstream>
#include <stdexcept>

namespace KX::Testing {

namespace {

[[noreturn]] void fail(const std::string& what) {
    char text[256] = "";
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    throw std::runtime_error("test PKI: " + what + ": " + text);
}

std::string bioText(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

struct BioDeleter {
    void operator()(BIO* b) const { BIO_free_all(b); }
};
using BioPtr = std::unique_ptr<BIO, BioDeleter>;

BioPtr newBio() {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio)
        fail("BIO_new");
    return bio;
}

void addExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer ? issuer : cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext || !X509_add_ext(cert, ext, -1))
        fail("extension " + value);
    X509_EXTENSION_free(ext);
}

std::uint64_t nextSerial() {
    static std::uint64_t serial = 0x1000;
    return ++serial;
}

} // namespace

std::int64_t TestPki::now() {
    static const std::int64_t moment = static_cast<std::int64_t>(std::time(nullptr));
    return moment;
}

KeyPtr TestPki::makeKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    if (!key)
        fail("EVP_EC_gen");
    return key;
}

CertPtr TestPki::makeCertificate(const CertProfile& profile, EVP_PKEY* key, X509* issuer,
                                 EVP_PKEY* issuerKey) {
    CertPtr cert(X509_new());
    if (!cert || !X509_set_version(cert.get(), 2))
        fail("X509_new");
    ASN1_INTEGER_set_uint64(X509_get_serialNumber(cert.get()),
                            profile.serial ? profile.serial : nextSerial());
    X509_NAME* name = X509_get_subject_name(cert.get());
    for (const auto& [field, value] : profile.subject) {
        if (!X509_NAME_add_entry_by_txt(name, field.c_str(), MBSTRING_UTF8,
                                        reinterpret_cast<const unsigned char*>(value.c_str()), -1, -1, 0))
            fail("name entry " + field);
    }
    X509_set_issuer_name(cert.get(), issuer ? X509_get_subject_name(issuer) : name);
    ASN1_TIME_adj(X509_getm_notBefore(cert.get()), static_cast<time_t>(now()), 0,
                  static_cast<long>(profile.notBefore));
    ASN1_TIME_adj(X509_getm_notAfter(cert.get()), static_cast<time_t>(now()), 0,
                  static_cast<long>(profile.notAfter));
    X509_set_pubkey(cert.get(), key);
    addExtension(cert.get(), issuer, NID_basic_constraints,
                 profile.ca ? "critical,CA:TRUE" : "critical,CA:FALSE");
    if (!profile.keyUsage.empty())
        addExtension(cert.get(), issuer, NID_key_usage, "critical," + profile.keyUsage);
    addExtension(cert.get(), issuer, NID_subject_key_identifier, "hash");
    if (issuer)
        addExtension(cert.get(), issuer, NID_authority_key_identifier, "keyid:always");
    if (!X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()))
        fail("X509_sign");
    return cert;
}

std::string TestPki::certificatePem(X509* cert) {
    auto bio = newBio();
    if (!PEM_write_bio_X509(bio.get(), cert))
        fail("PEM_write_bio_X509");
    return bioText(bio.get());
}

std::vector<unsigned char> TestPki::certificateDer(X509* cert) {
    unsigned char* data = nullptr;
    const int length = i2d_X509(cert, &data);
    if (length <= 0)
        fail("i2d_X509");
    std::vector<unsigned char> bytes(data, data + length);
    OPENSSL_free(data);
    return bytes;
}

std::string TestPki::keyPem(EVP_PKEY* key) {
    auto bio = newBio();
    if (!PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr))
        fail("PEM_write_bio_PrivateKey");
    return bioText(bio.get());
}

std::string TestPki::encryptedKeyPem(EVP_PKEY* key, const std::string& pass, bool traditional) {
    auto bio = newBio();
    const int ok =
        traditional
            ? PEM_write_bio_PrivateKey_traditional(bio.get(), key, EVP_aes_128_cbc(),
                                                   reinterpret_cast<const unsigned char*>(pass.data()),
                                                   static_cast<int>(pass.size()), nullptr, nullptr)
            : PEM_write_bio_PKCS8PrivateKey(bio.get(), key, EVP_aes_256_cbc(), pass.data(),
                                            static_cast<int>(pass.size()), nullptr, nullptr);
    if (!ok)
        fail("encrypted key");
    return bioText(bio.get());
}

std::vector<unsigned char> TestPki::pfx(X509* cert, EVP_PKEY* key, const std::vector<X509*>& extra,
                                        const std::string& password) {
    STACK_OF(X509)* ca = sk_X509_new_null();
    for (auto* c : extra)
        sk_X509_push(ca, c);
    PKCS12* p12 = PKCS12_create(password.c_str(), "test", key, cert, ca, 0, 0, 0, 0, 0);
    sk_X509_free(ca);
    if (!p12)
        fail("PKCS12_create");
    unsigned char* data = nullptr;
    const int length = i2d_PKCS12(p12, &data);
    PKCS12_free(p12);
    if (length <= 0)
        fail("i2d_PKCS12");
    std::vector<unsigned char> bytes(data, data + length);
    OPENSSL_free(data);
    return bytes;
}

std::vector<unsigned char> TestPki::pkcs7Bundle(const std::vector<X509*>& certs) {
    PKCS7* p7 = PKCS7_new();
    if (!p7 || !PKCS7_set_type(p7, NID_pkcs7_signed) || !PKCS7_content_new(p7, NID_pkcs7_data))
        fail("PKCS7_new");
    for (auto* c : certs)
        PKCS7_add_certificate(p7, c);
    unsigned char* data = nullptr;
    const int length = i2d_PKCS7(p7, &data);
    PKCS7_free(p7);
    if (length <= 0)
        fail("i2d_PKCS7");
    std::vector<unsigned char> bytes(data, data + length);
    OPENSSL_free(data);
    return bytes;
}

void TestPki::writeFile(const std::string& name, const std::string& content) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("test PKI: cannot write " + name);
}

void TestPki::writeFile(const std::string& name, const std::vector<unsigned char>& content) const {
    writeFile(name, std::string(content.begin(), content.end()));
}

std::string TestPki::readFile(const std::string& fullPath) {
    std::ifstream in(fullPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TestPki::path(const std::string& name) const {
    return (boost::filesystem::path(_directory) / name).string();
}

const TestPki& TestPki::instance() {
    static const TestPki pki;
    return pki;
}

TestPki::TestPki() {
    const auto folder = boost::filesystem::temp_directory_path() /
                        boost::filesystem::unique_path("kx-test-pki-%%%%-%%%%-%%%%");
    boost::filesystem::create_directories(folder);
    _directory = folder.string();
    generate();
}

TestPki::~TestPki() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(_directory, ignored);
}

// Files (certificates .pem, keys .key, unless said otherwise):
//   root, intermediate               CA certificates, the root self-signed
//   signer                           issued by root; full subject; key also as signer-pkcs8-enc.key,
//                                    signer-trad-enc.key (encrypted with `passphrase`), signer-trad.key,
//                                    signer-key.der; certificate also as signer.der, signer.pfx (with
//                                    key, empty password), signer-pw.pfx (password `passphrase`)
//   signer-int                       issued by intermediate
//   expired, not-yet-valid           issued by root, outside their validity at now()
//   expired-root, signer-expired-root   a root that expired and a current signer under it
//   foreign-root, foreign-signer     a root outside every trust store and its signer
//   self-signed                      an end certificate issued by itself
//   no-signing-usage                 issued by root, key usage keyEncipherment only
//   signer-under-signer              issued by signer, which is no CA
//   two-cn                           subject with the common names "First" and "Second"
//   other.key                        a key that belongs to no certificate
//   trust.pem, trust.der             root; trust-int.pem root and intermediate;
//                                    trust-expired.pem expired-root
//   bundle.p7b, bundle-p7.pem        PKCS#7 bundle of root and intermediate, DER and PEM
//   empty.pem, damaged.pem, truncated.der, garbage.txt
void TestPki::generate() {
    auto rootKey = makeKey();
    auto root = makeCertificate({{{"CN", "Test Root CA"}, {"O", "Ordova Test"}, {"C", "DE"}},
                                 -10 * 86400,
                                 3650 * 86400,
                                 true,
                                 "keyCertSign,cRLSign"},
                                rootKey.get(), nullptr, nullptr);
    auto intKey = makeKey();
    auto intermediate = makeCertificate({{{"CN", "Test Intermediate CA"}, {"O", "Ordova Test"}},
                                         -5 * 86400,
                                         1825 * 86400,
                                         true,
                                         "keyCertSign,cRLSign"},
                                        intKey.get(), root.get(), rootKey.get());

    const auto issue = [&](const std::string& name, CertProfile profile, X509* issuer, EVP_PKEY* issuerKey) {
        auto key = makeKey();
        auto cert = makeCertificate(profile, key.get(), issuer, issuerKey);
        writeFile(name + ".pem", certificatePem(cert.get()));
        writeFile(name + ".key", keyPem(key.get()));
        return std::make_pair(std::move(cert), std::move(key));
    };
    const std::string signing = "digitalSignature,nonRepudiation";

    auto [signer, signerKey] = issue("signer",
                                     {{{"C", "DE"},
                                       {"ST", "Berlin"},
                                       {"L", "Berlin"},
                                       {"O", "Ordova Test"},
                                       {"OU", "Plug-ins"},
                                       {"CN", "Test Signer"},
                                       {"emailAddress", "signer@example.org"}},
                                      -86400,
                                      365 * 86400,
                                      false,
                                      signing,
                                      0x0102A3},
                                     root.get(), rootKey.get());
    issue("signer-int", {{{"CN", "Intermediate Signer"}}, -86400, 365 * 86400, false, signing},
          intermediate.get(), intKey.get());
    issue("expired", {{{"CN", "Expired Signer"}}, -30 * 86400, -86400, false, signing}, root.get(),
          rootKey.get());
    issue("not-yet-valid", {{{"CN", "Future Signer"}}, 86400, 30 * 86400, false, signing}, root.get(),
          rootKey.get());
    issue("no-signing-usage", {{{"CN", "Encryption Only"}}, -86400, 365 * 86400, false, "keyEncipherment"},
          root.get(), rootKey.get());
    issue("signer-under-signer", {{{"CN", "Under Signer"}}, -86400, 365 * 86400, false, signing},
          signer.get(), signerKey.get());
    issue("two-cn",
          {{{"CN", "First"}, {"O", "Ordova Test"}, {"CN", "Second"}}, -86400, 365 * 86400, false, signing},
          root.get(), rootKey.get());
    issue("self-signed", {{{"CN", "Self Signed Signer"}}, -86400, 365 * 86400, false, signing}, nullptr,
          nullptr);

    auto [expiredRoot, expiredRootKey] = issue(
        "expired-root", {{{"CN", "Expired Root CA"}}, -400 * 86400, -86400, true, "keyCertSign,cRLSign"},
        nullptr, nullptr);
    issue("signer-expired-root", {{{"CN", "Orphan Signer"}}, -86400, 365 * 86400, false, signing},
          expiredRoot.get(), expiredRootKey.get());
    auto [foreignRoot, foreignRootKey] = issue(
        "foreign-root", {{{"CN", "Foreign Root CA"}}, -86400, 3650 * 86400, true, "keyCertSign,cRLSign"},
        nullptr, nullptr);
    issue("foreign-signer", {{{"CN", "Foreign Signer"}}, -86400, 365 * 86400, false, signing},
          foreignRoot.get(), foreignRootKey.get());

    writeFile("root.pem", certificatePem(root.get()));
    writeFile("root.key", keyPem(rootKey.get()));
    writeFile("intermediate.pem", certificatePem(intermediate.get()));
    writeFile("intermediate.key", keyPem(intKey.get()));
    writeFile("other.key", keyPem(makeKey().get()));

    writeFile("signer-pkcs8-enc.key", encryptedKeyPem(signerKey.get(), passphrase, false));
    writeFile("signer-trad-enc.key", encryptedKeyPem(signerKey.get(), passphrase, true));
    {
        auto bio = newBio();
        PEM_write_bio_PrivateKey_traditional(bio.get(), signerKey.get(), nullptr, nullptr, 0, nullptr,
                                             nullptr);
        writeFile("signer-trad.key", bioText(bio.get()));
        unsigned char* data = nullptr;
        const int length = i2d_PrivateKey(signerKey.get(), &data);
        writeFile("signer-key.der", std::vector<unsigned char>(data, data + length));
        OPENSSL_free(data);
    }
    writeFile("signer.der", certificateDer(signer.get()));
    writeFile("signer.pfx", pfx(signer.get(), signerKey.get(), {root.get()}, ""));
    writeFile("signer-pw.pfx", pfx(signer.get(), signerKey.get(), {}, passphrase));

    writeFile("trust.pem", certificatePem(root.get()));
    writeFile("trust.der", certificateDer(root.get()));
    writeFile("trust-int.pem", certificatePem(root.get()) + certificatePem(intermediate.get()));
    writeFile("trust-expired.pem", certificatePem(expiredRoot.get()));
    const auto bundle = pkcs7Bundle({root.get(), intermediate.get()});
    writeFile("bundle.p7b", bundle);
    {
        auto bio = newBio();
        PEM_write_bio(bio.get(), "PKCS7", "", bundle.data(), static_cast<long>(bundle.size()));
        writeFile("bundle-p7.pem", bioText(bio.get()));
    }

    writeFile("empty.pem", std::string());
    auto damaged = certificatePem(signer.get());
    damaged.replace(damaged.size() / 2, 8, "!!!!!!!!");
    writeFile("damaged.pem", damaged);
    const auto der = certificateDer(signer.get());
    writeFile("truncated.der", std::vector<unsigned char>(der.begin(), der.begin() + der.size() / 2));
    writeFile("garbage.txt", std::string("this is not a certificate\n"));
}

} // namespace KX::Testing
