#pragma once

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

// Outcome of loading credentials; bad user files are reported this way rather than thrown.
enum class LoadStatus : std::uint8_t {
    Loaded = 0,
    PrivateKeyPasswordInvalid = 1,
    CertificatePasswordInvalid = 2,
    PrivateKeyInvalid = 3,
    CertificateUnsupportedFormat = 4,
    PrivateKeyUnsupportedFormat = 5,
    CertificateCorrupted = 6,
    PrivateKeyCorrupted = 7,
    CertificateNotValid = 8,
    SourceNotSupported = 9,
};

} // namespace KX::CryptographicEngine::DigitalSignature
