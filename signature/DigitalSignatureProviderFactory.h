#pragma once

#include "signature/DigitalSignatureProvider.h"

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

enum class DigitalSignatureProviderType : std::uint8_t { SecureBlackbox = 0, Tarnwell = 1 };

// SecureBlackbox: a new provider on the built-in signing library. Tarnwell: the provider of the
// optional module beside the executable, or an empty pointer when there is no usable module.
// Any other value throws InternalSecurityError.
std::shared_ptr<DigitalSignatureProvider> createDigitalSignatureProvider(DigitalSignatureProviderType type);

} // namespace KX::CryptographicEngine::DigitalSignature
