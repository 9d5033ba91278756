#include "signature/AdESSignatureManager.h"

namespace KX::CryptographicEngine::DigitalSignature {

std::vector<SignatureValidity>
AdESSignatureManager::verifySignatures(absl::Span<const SignatureIndex> indices) {
    std::vector<SignatureValidity> results;
    results.reserve(indices.size());
    for (const auto& index : indices)
        results.push_back(verifySignature(index));
    return results;
}

std::vector<CertificateValidationResult>
AdESSignatureManager::validateCertificates(const CertificateStorage& storage,
                                           absl::Span<const SignatureIndex> indices, std::int64_t moment) {
    std::vector<CertificateValidationResult> results;
    results.reserve(indices.size());
    for (const auto& index : indices)
        results.push_back(validateCertificate(storage, index, moment));
    return results;
}

std::vector<CertificateValidationResult>
AdESSignatureManager::checkPinnedCertificates(absl::Span<const SignatureIndex> indices, InOutStream& pinned) {
    std::vector<CertificateValidationResult> results;
    results.reserve(indices.size());
    // Every check reads the certificate to its end; each must start where the first did.
    const bool rewind = pinned.isSeekable();
    const std::int64_t start = rewind ? pinned.seek(0, std::ios_base::cur) : 0;
    for (const auto& index : indices) {
        if (rewind)
            pinned.seek(start, std::ios_base::beg);
        results.push_back(checkPinnedCertificate(index, pinned));
    }
    return results;
}

} // namespace KX::CryptographicEngine::DigitalSignature
