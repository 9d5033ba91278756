#pragma once

#include "platform/sbb/MemoryCertStorage.h"

namespace SBB {

// Validates a certificate against trusted anchors and known (untrusted) certificates.
class CertificateValidator {
public:
    // Whether the platform's trust anchors join the trusted certificates; with ignoreSystemTrust
    // they never do.
    bool useSystemStorages = false;
    bool ignoreSystemTrust = true;
    // Accepted for compatibility; results are never cached.
    bool cacheValidationResults = false;
    // No revocation data is fetched: asking for a check reports it as not verified (0x80, 0x100).
    bool checkCRL = false;
    bool checkOCSP = false;
    bool checkValidityPeriodForTrusted = true;
    // Go on after the first problem, collecting every reason.
    bool validateInvalidCertificates = true;

    void clearTrustedCertificates() { _trusted.clear(); }
    void clearKnownCertificates() { _known.clear(); }
    void addTrustedCertificates(const MemoryCertStorage& storage);
    void addKnownCertificates(const MemoryCertStorage& storage);

    // Validates certificate at moment (seconds since 1970); additional certificates join the known
    // ones for this call. Without completeChainValidation only the certificate itself is checked
    // against its issuer.
    ValidationResult validate(const Certificate& certificate, const MemoryCertStorage* additional,
                              bool completeChainValidation, std::int64_t moment) const;

private:
    std::vector<Certificate> _trusted;
    std::vector<Certificate> _known;
};

} // namespace SBB
