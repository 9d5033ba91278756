#pragma once

#include "core/streams/InOutStream.h"
#include "signature/CertificateValidity.h"
#include "signature/SignOptions.h"
#include "signature/SignatureIndex.h"
#include "signature/SignatureInfo.h"
#include "signature/SignatureValidity.h"

#include <absl/types/span.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace KX::CryptographicEngine::DigitalSignature {

class CertificateStorage;
class SigningKeyStore;

// Signs a document and works on the signatures it carries. Moments are seconds since 1970 UTC.
class DocumentSignManager {
public:
    virtual ~DocumentSignManager() = default;
    virtual bool isSigned() const = 0;
    virtual void sign(const CertificateStorage& storage, const SigningKeyStore& keys,
                      const SignOptions& options) = 0;
    virtual void removeSignatures(absl::Span<const SignatureIndex> indices) = 0;
    virtual std::vector<SignatureValidity> verifySignatures(absl::Span<const SignatureIndex> indices) = 0;
    virtual std::vector<CertificateValidationResult>
    validateCertificates(const CertificateStorage& storage, absl::Span<const SignatureIndex> indices,
                         std::int64_t moment) = 0;
    virtual std::vector<CertificateValidationResult>
    checkPinnedCertificates(absl::Span<const SignatureIndex> indices, InOutStream& pinned) = 0;
    virtual std::vector<SignatureInfo> signatures() = 0;
    virtual std::optional<std::unique_ptr<InOutStream>> signedDocument() = 0;
    virtual std::optional<std::unique_ptr<InOutStream>> detachedSignature() = 0;
    virtual SignatureValidity verifySignature(const SignatureIndex& index) = 0;
    virtual CertificateValidationResult checkPinnedCertificate(const SignatureIndex& index,
                                                               InOutStream& pinned) = 0;
    virtual CertificateValidationResult validateCertificate(const CertificateStorage& storage,
                                                            const SignatureIndex& index,
                                                            std::int64_t moment) = 0;
};

} // namespace KX::CryptographicEngine::DigitalSignature
