#pragma once

#include "signature/DigitalSignatureProvider.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Shared by every provider of this kind; created on first use.
class SBBInfo : public DigitalSignatureProvider::Info {
public:
    bool isSupported() const override { return true; }
};

// The provider on the built-in signing library. It holds no state.
class SBBDigitalSignatureProvider : public DigitalSignatureProvider {
public:
    const Info& info() const override;
    std::unique_ptr<CAdESSignatureManager> createCAdESSignatureManager(InOutStream& content,
                                                                       InOutStream& signature) override;
    std::unique_ptr<XAdESSignatureManager> createXAdESSignatureManager(InOutStream& document) override;
    std::unique_ptr<SigningKeyStore> createSigningKeyStore() override;
    std::unique_ptr<CertificateStorage> createCertificateStorage() override;
    std::unique_ptr<CertificateValidator> createCertificateValidator() override;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
