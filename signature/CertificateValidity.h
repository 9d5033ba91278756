#pragma once

#include <cstdint>

namespace KX::CryptographicEngine::DigitalSignature {

// 0 to 4 come from the validation library; 5 and 6 are decided by this system.
enum class CertificateValidity : std::uint8_t {
    Valid = 0,
    SelfSigned = 1,
    Invalid = 2,
    StorageError = 3,
    ChainNotValidated = 4,
    ChainIncomplete = 5,
    PinnedCertificateCheckFailed = 6,
};

namespace ValidationReason {
constexpr std::uint32_t BadData = 0x1;
constexpr std::uint32_t Revoked = 0x2;
constexpr std::uint32_t NotYetValid = 0x4;
constexpr std::uint32_t Expired = 0x8;
constexpr std::uint32_t InvalidSignature = 0x10;
constexpr std::uint32_t UnknownCA = 0x20;
constexpr std::uint32_t CAUnauthorized = 0x40;
constexpr std::uint32_t CRLNotVerified = 0x80;
constexpr std::uint32_t OCSPNotVerified = 0x100;
constexpr std::uint32_t IdentityMismatch = 0x200;
constexpr std::uint32_t NoKeyUsage = 0x400;
constexpr std::uint32_t Blocked = 0x800;
// The library's bits that are passed on; anything above is dropped.
constexpr std::uint32_t LibraryMask = 0xFFF;
constexpr std::uint32_t PinnedCertificateMismatch = 0x10000;
} // namespace ValidationReason

struct CertificateValidationResult {
    CertificateValidity validity = CertificateValidity::Valid;
    std::uint32_t reasons = 0;

    friend bool operator==(const CertificateValidationResult&, const CertificateValidationResult&) = default;
};

} // namespace KX::CryptographicEngine::DigitalSignature
