#include "platform/sbb/CertificateValidator.h"

#include "platform/sbb/ChainVerifier.h"

namespace SBB {

void CertificateValidator::addTrustedCertificates(const MemoryCertStorage& storage) {
    _trusted.insert(_trusted.end(), storage.certificates().begin(), storage.certificates().end());
}

void CertificateValidator::addKnownCertificates(const MemoryCertStorage& storage) {
    _known.insert(_known.end(), storage.certificates().begin(), storage.certificates().end());
}

ValidationResult CertificateValidator::validate(const Certificate& certificate,
                                                const MemoryCertStorage* additional,
                                                bool completeChainValidation, std::int64_t moment) const {
    auto known = _known;
    if (additional)
        known.insert(known.end(), additional->certificates().begin(), additional->certificates().end());
    ChainVerifier::Settings settings;
    settings.useSystemTrust = useSystemStorages && !ignoreSystemTrust;
    settings.checkValidityPeriodForTrusted = checkValidityPeriodForTrusted;
    settings.validateInvalidCertificates = validateInvalidCertificates;
    settings.completeChainValidation = completeChainValidation;
    settings.checkCRL = checkCRL;
    settings.checkOCSP = checkOCSP;
    return ChainVerifier::verify(certificate, _trusted, known, moment, settings);
}

} // namespace SBB
