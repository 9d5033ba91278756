#pragma once

#include "core/NumericCast.h"

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

enum class SignatureKind : std::uint8_t { XAdES = 0, CAdES = 1, Undefined = 2 };

// The position of a signature inside its container, from 0.
struct SignatureIndex {
    std::uint32_t index = 0;
    SignatureKind kind = SignatureKind::Undefined;

    SignatureIndex() = default;
    // A negative position throws BadNumCastError.
    template <typename Int>
    explicit SignatureIndex(Int position, SignatureKind kind_ = SignatureKind::Undefined)
        : index(numericCast<std::uint32_t>(position)), kind(kind_) {}

    friend bool operator==(const SignatureIndex&, const SignatureIndex&) = default;
};

} // namespace KX::CryptographicEngine::DigitalSignature
