#pragma once

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

// The _T forms add a signature time-stamp from a time-stamp server.
enum class AdESForm : std::uint8_t { XAdES = 0, XAdES_BES = 1, XAdES_T = 2, CAdES_BES = 3, CAdES_T = 4 };

} // namespace KX::CryptographicEngine::DigitalSignature
