#include "signature/sbb/SBBDigitalSignatureProvider.h"

#include "core/Errors.h"
#include "signature/sbb/SBBCAdESSignatureManager.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBCertificateValidator.h"
#include "signature/sbb/SBBSigningKeyStore.h"
#include "signature/sbb/SBBXAdESSignatureManager.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

const DigitalSignatureProvider::Info& SBBDigitalSignatureProvider::info() const {
    static const SBBInfo info;
    return info;
}

std::unique_ptr<CAdESSignatureManager>
SBBDigitalSignatureProvider::createCAdESSignatureManager(InOutStream& content, InOutStream& signature) {
    return std::make_unique<SBBCAdESSignatureManager>(content, signature);
}

std::unique_ptr<XAdESSignatureManager>
SBBDigitalSignatureProvider::createXAdESSignatureManager(InOutStream& document) {
    return std::make_unique<SBBXAdESSignatureManager>(document);
}

std::unique_ptr<SigningKeyStore> SBBDigitalSignatureProvider::createSigningKeyStore() {
    return std::make_unique<SBBSigningKeyStore>();
}

std::unique_ptr<CertificateStorage> SBBDigitalSignatureProvider::createCertificateStorage() {
    return std::make_unique<SBBCertificateStorage>();
}

std::unique_ptr<CertificateValidator> SBBDigitalSignatureProvider::createCertificateValidator() {
    return std::make_unique<SBBCertificateValidator>();
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
