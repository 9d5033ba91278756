#pragma once

#include "platform/sbb/Codes.h"
#include "platform/sbb/OpenSSLHandles.h"
#include "platform/sbb/Stream.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace SBB {

// One attribute of a distinguished name: the object identifier as its DER content bytes
// (2.5.4.3 is 55 04 03) and the value as UTF-8 bytes.
struct NameAttribute {
    std::vector<unsigned char> oid;
    std::vector<unsigned char> value;
};
using DistinguishedNameAttributes = std::vector<NameAttribute>;

// An X.509 certificate, optionally with its private key. Copies share the immutable certificate
// and key objects.
class Certificate {
public:
    Certificate() = default;
    Certificate(OpenSSL::X509Ptr certificate, OpenSSL::PKeyPtr privateKey = nullptr);
    Certificate(const Certificate& other);
    Certificate& operator=(const Certificate& other);
    Certificate(Certificate&&) noexcept = default;
    Certificate& operator=(Certificate&&) noexcept = default;

    // Reads from the stream's position to its end: PEM (a key in the same text comes along when
    // the password opens it), DER or PFX. Returns a load result code; the previous content is
    // replaced only on success.
    int loadFromStreamAuto(Stream& stream, std::string_view password);
    // Reads the private key for the loaded certificate: PEM (PKCS#8 plain or encrypted,
    // traditional plain or encrypted), DER (PKCS#8 plain or encrypted, traditional) or PFX.
    int loadKeyFromStreamAuto(Stream& stream, std::string_view password);
    // The format of the data from the stream's position on; the position is kept.
    static CertFileFormat detectCertFileFormat(Stream& stream);

    bool isLoaded() const { return _certificate != nullptr; }
    bool privateKeyExists() const { return _privateKey != nullptr; }
    // True when a private key is present and belongs to the certificate's public key.
    bool isKeyValid() const;
    // Issued by itself: the names match and its own key verifies its signature.
    bool selfSigned() const;
    // True when issuer's subject is this certificate's issuer name and issuer's key verifies it.
    bool isIssuedBy(const Certificate& issuer) const;
    bool sameAs(const Certificate& other) const;

    DistinguishedNameAttributes issuerRDN() const;
    DistinguishedNameAttributes subjectRDN() const;
    // Seconds since 1970-01-01 UTC.
    std::int64_t validFrom() const;
    std::int64_t validTo() const;
    // Big-endian bytes of the serial number.
    std::vector<unsigned char> serialNumber() const;
    // The DER SubjectPublicKeyInfo.
    std::vector<unsigned char> fullPublicKeyInfo() const;
    std::vector<unsigned char> der() const;

    X509* native() const { return _certificate.get(); }
    EVP_PKEY* privateKey() const { return _privateKey.get(); }
    Certificate withoutPrivateKey() const;

private:
    void requireLoaded() const;

    OpenSSL::X509Ptr _certificate;
    OpenSSL::PKeyPtr _privateKey;
};

} // namespace SBB
