#pragma once

#include "signature/CertificateInfo.h"
#include "signature/CertificateSource.h"
#include "signature/CertificateValidity.h"

#include <cstdint>
#include <vector>

namespace KX::CryptographicEngine::DigitalSignature {

class CertificateStorage;

class CertificateValidator {
public:
    virtual ~CertificateValidator() = default;
    // Validates the certificate's chain, completed from the storage's intermediate and trusted
    // certificates, at moment (seconds since 1970-01-01 UTC).
    virtual CertificateValidationResult validate(const CertificateSource& certificate,
                                                 const CertificateStorage& storage, std::int64_t moment) = 0;
    // The chain the last validate looked at, end certificate first.
    virtual std::vector<CertificateInfo> usedCertificates() const = 0;
};

} // namespace KX::CryptographicEngine::DigitalSignature
