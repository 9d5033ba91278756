#pragma once

#include "platform/sbb/CertificateValidator.h"
#include "signature/CertificateValidator.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Offline validation: only certificates handed in count; no system stores, no CRL, no OCSP, and
// trusted certificates must be within their validity period too.
class SBBCertificateValidator : public CertificateValidator {
public:
    SBBCertificateValidator();

    // Loads the certificate (an empty password), builds its chain from the storage (which must be
    // an SBBCertificateStorage) and validates the chain at moment. A certificate that cannot be
    // loaded is invalid with reason BadData.
    CertificateValidationResult validate(const CertificateSource& certificate,
                                         const CertificateStorage& storage, std::int64_t moment) override;
    std::vector<CertificateInfo> usedCertificates() const override { return _usedCertificates; }

    SBB::CertificateValidator& library() { return _validator; }

private:
    SBB::CertificateValidator _validator;
    std::vector<CertificateInfo> _usedCertificates;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
