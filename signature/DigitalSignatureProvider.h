#pragma once

#include "core/streams/InOutStream.h"
#include "signature/AdESSignatureManager.h"
#include "signature/CertificateStorage.h"
#include "signature/CertificateValidator.h"
#include "signature/SigningKeyStore.h"

#include <memory>

namespace KX::CryptographicEngine::DigitalSignature {

// The factory of all signature workers. Providers are shared; each worker belongs to its requester
// and does not refer back to the provider.
class DigitalSignatureProvider {
public:
    class Info {
    public:
        virtual ~Info() = default;
        virtual bool isSupported() const = 0;
    };

    virtual ~DigitalSignatureProvider() = default;
    virtual const Info& info() const = 0;
    // content and signature are read while the manager is built and not used afterwards.
    virtual std::unique_ptr<CAdESSignatureManager> createCAdESSignatureManager(InOutStream& content,
                                                                               InOutStream& signature) = 0;
    virtual std::unique_ptr<XAdESSignatureManager> createXAdESSignatureManager(InOutStream& document) = 0;
    virtual std::unique_ptr<SigningKeyStore> createSigningKeyStore() = 0;
    virtual std::unique_ptr<CertificateStorage> createCertificateStorage() = 0;
    virtual std::unique_ptr<CertificateValidator> createCertificateValidator() = 0;
};

using DigitalSignatureProviderPtr = std::shared_ptr<DigitalSignatureProvider>;

} // namespace KX::CryptographicEngine::DigitalSignature
