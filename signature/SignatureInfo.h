#pragma once

#include "signature/CertificateInfo.h"
#include "signature/SignatureIndex.h"
#include "signature/SignatureLine.h"

#include <chrono>
#include <optional>

namespace KX::CryptographicEngine::DigitalSignature {

// 100-nanosecond units since 1970-01-01 UTC.
using SigningTime = std::chrono::time_point<std::chrono::system_clock,
                                            std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>;

struct SignatureInfo {
    SignatureIndex index;
    CertificateInfo signer;
    SigningTime signingTime{};
    std::optional<SignatureLine> signatureLine;
};

} // namespace KX::CryptographicEngine::DigitalSignature
