#include "signature/DigitalSignatureProviderFactory.h"

#include "core/Errors.h"
#include "signature/sbb/SBBDigitalSignatureProvider.h"
#include "signature/tarnwell/ModuleProviderLoader.h"

namespace KX::CryptographicEngine::DigitalSignature {

std::shared_ptr<DigitalSignatureProvider> createDigitalSignatureProvider(DigitalSignatureProviderType type) {
    switch (type) {
    case DigitalSignatureProviderType::SecureBlackbox:
        return std::make_shared<SecureBlackboxProvider::SBBDigitalSignatureProvider>();
    case DigitalSignatureProviderType::Tarnwell:
        return Tarnwell::loadModuleProviderBesideExecutable();
    }
    throw InternalSecurityError("Signing is not supported");
}

} // namespace KX::CryptographicEngine::DigitalSignature
