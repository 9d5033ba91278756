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
    for (const auto& index : indices)
        results.push_back(checkPinnedCertificate(index, pinned));
    return results;
}

} // namespace KX::CryptographicEngine::DigitalSignature
