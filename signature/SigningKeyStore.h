#pragma once

#include "signature/CertificateInfo.h"
#include "signature/CertificateSource.h"
#include "signature/CertificateValidity.h"
#include "signature/LoadStatus.h"

#include <cstdint>
#include <string_view>

namespace KX::CryptographicEngine::DigitalSignature {

class CertificateStorage;

// The signer's certificate and private key. Moments are seconds since 1970-01-01 UTC.
class SigningKeyStore {
public:
    virtual ~SigningKeyStore() = default;
    // Loads and then validates the certificate's chain against trusted at moment.
    virtual LoadStatus load(const CertificateSource& key, std::string_view keyPassword,
                            const CertificateSource& certificate, std::string_view certificatePassword,
                            const CertificateStorage& trusted, std::int64_t moment) = 0;
    virtual CertificateValidationResult
    loadAndValidate(const CertificateSource& key, std::string_view keyPassword,
                    const CertificateSource& certificate, std::string_view certificatePassword,
                    const CertificateStorage& trusted, std::int64_t moment) = 0;
    virtual LoadStatus loadWithoutValidation(const CertificateSource& key, std::string_view keyPassword,
                                             const CertificateSource& certificate,
                                             std::string_view certificatePassword) = 0;
    virtual CertificateInfo certificateInfo() const = 0;
};

} // namespace KX::CryptographicEngine::DigitalSignature
