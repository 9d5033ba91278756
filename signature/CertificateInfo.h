#pragma once

#include <cstdint>
#include <string>

namespace KX::CryptographicEngine::DigitalSignature {

// An attribute the certificate lacks stays empty. Values are UTF-8.
struct DistinguishedName {
    std::string commonName;
    std::string email;
    std::string country;
    std::string stateOrProvince;
    std::string locality;
    std::string organization;
    std::string organizationalUnit;

    friend bool operator==(const DistinguishedName&, const DistinguishedName&) = default;
};

// How a certificate is shown to the user.
struct CertificateInfo {
    DistinguishedName issuer;
    DistinguishedName subject;
    std::string serialNumber;   // "01:02:A3"
    std::string publicKey;      // hexadecimal DER SubjectPublicKeyInfo
    std::int64_t validFrom = 0; // seconds since 1970-01-01 UTC
    std::int64_t validTo = 0;

    friend bool operator==(const CertificateInfo&, const CertificateInfo&) = default;
};

} // namespace KX::CryptographicEngine::DigitalSignature
