#pragma once

#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/office/OfficeDocument.h"
#include "signature/AdESSignatureManager.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// XAdES signatures inside office documents (OpenDocument and Office Open XML). The caller's stream
// is copied when the manager is built and never written; signedDocument() hands out the result.
class SBBXAdESSignatureManager : public XAdESSignatureManager {
public:
    explicit SBBXAdESSignatureManager(InOutStream& document);
    ~SBBXAdESSignatureManager() override;

    bool isSigned() const override;
    void sign(const CertificateStorage& storage, const SigningKeyStore& keys,
              const SignOptions& options) override;
    void removeSignatures(absl::Span<const SignatureIndex> indices) override;
    std::vector<SignatureInfo> signatures() override;
    std::optional<std::unique_ptr<InOutStream>> signedDocument() override;
    std::optional<std::unique_ptr<InOutStream>> detachedSignature() override;
    SignatureValidity verifySignature(const SignatureIndex& index) override;
    CertificateValidationResult checkPinnedCertificate(const SignatureIndex& index,
                                                       InOutStream& pinned) override;
    CertificateValidationResult validateCertificate(const CertificateStorage& storage,
                                                    const SignatureIndex& index,
                                                    std::int64_t moment) override;

private:
    SBB::OfficeSignatureHandler& handlerAt(const SignatureIndex& index) const;
    // The signer's certificate and the issuers the signature carries, its root included.
    SBB::CertificateChain signatureChain(const SignatureIndex& index);
    SignatureInfo describe(int position);

    SBB::MemoryStream _memory;
    SBB::OfficeDocument _document;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
