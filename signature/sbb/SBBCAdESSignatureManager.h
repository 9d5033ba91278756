#pragma once

#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/cms/SignedCMSMessage.h"
#include "signature/AdESSignatureManager.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Detached CMS signatures over a byte content. The caller's streams are copied when the manager is
// built; signatures are added to, listed from and removed from one message.
class SBBCAdESSignatureManager : public CAdESSignatureManager {
public:
    // An empty signature stream starts a message without signatures; otherwise the stream must
    // hold a signed message over content.
    SBBCAdESSignatureManager(InOutStream& content, InOutStream& signature);
    ~SBBCAdESSignatureManager() override;

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
    SBB::CMSSignature& signatureAt(const SignatureIndex& index);
    // The signer's certificate and its issuers from the message, without self-signed ones.
    SBB::CertificateChain signatureChain(const SignatureIndex& index);

    SBB::SignedCMSMessage _message;
    SBB::MemoryStream _content;
    SBB::MemoryStream _signature;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
