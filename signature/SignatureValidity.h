#pragma once

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

// 0 is valid; each signature manager documents which of the values 1 to 9 it produces and when.
enum class SignatureValidity : std::uint8_t { Valid = 0 };

} // namespace KX::CryptographicEngine::DigitalSignature
