#pragma once

#include "signature/DocumentSignManager.h"

namespace KX::CryptographicEngine::DigitalSignature {

// Gives both signature families the span forms: each walks the indices in order and stops at the
// first exception.
class AdESSignatureManager : public DocumentSignManager {
public:
    std::vector<SignatureValidity> verifySignatures(absl::Span<const SignatureIndex> indices) override;
    std::vector<CertificateValidationResult> validateCertificates(const CertificateStorage& storage,
                                                                  absl::Span<const SignatureIndex> indices,
                                                                  std::int64_t moment) override;
    std::vector<CertificateValidationResult> checkPinnedCertificates(absl::Span<const SignatureIndex> indices,
                                                                     InOutStream& pinned) override;
};

class CAdESSignatureManager : public AdESSignatureManager {};
class XAdESSignatureManager : public AdESSignatureManager {};

} // namespace KX::CryptographicEngine::DigitalSignature
