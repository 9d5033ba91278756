#pragma once

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

// The three stores of a certificate storage.
enum class CertificateType : std::uint8_t { Trusted = 0, Intermediate = 1, Extra = 2 };

} // namespace KX::CryptographicEngine::DigitalSignature
