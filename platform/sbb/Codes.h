#pragma once

#include <cstdint>

namespace SBB {

// Result codes of the certificate, key and store loaders. 0 is success; the password codes are
// interchangeable for callers, every other non-zero code means the data could not be used.
namespace LoadResult {
constexpr int Ok = 0;
constexpr int PkcsKeyPasswordInvalid = 0x1D02; // encrypted PKCS#8 key (PEM or DER)
constexpr int PfxPasswordInvalid = 0x1F13;     // PKCS#12 MAC or contents
constexpr int StorePasswordInvalid = 0x2304;   // encrypted key inside a PEM bundle
constexpr int PemPasswordInvalid = 0x5002;     // traditional "Proc-Type: 4,ENCRYPTED" key
constexpr int InvalidData = 0x5004;            // damaged content of a recognised format
constexpr int NoData = 0x5005;                 // the recognised container holds nothing usable
constexpr int UnsupportedFormat = 0x5009;

constexpr bool isPasswordError(int code) {
    return code == PkcsKeyPasswordInvalid || code == PfxPasswordInvalid || code == StorePasswordInvalid ||
           code == PemPasswordInvalid;
}
} // namespace LoadResult

enum class CertFileFormat : int { Unknown = 0, Der = 1, Pem = 2, Pfx = 3, Pkcs7 = 4 };

enum class Validity : int { Valid = 0, SelfSigned = 1, Invalid = 2, StorageError = 3, ChainUnvalidated = 4 };

// Reason bits of a validation result.
namespace Reason {
constexpr std::uint32_t BadData = 0x0001;
constexpr std::uint32_t Revoked = 0x0002;
constexpr std::uint32_t NotYetValid = 0x0004;
constexpr std::uint32_t Expired = 0x0008;
constexpr std::uint32_t InvalidSignature = 0x0010;
constexpr std::uint32_t UnknownCA = 0x0020;
constexpr std::uint32_t CAUnauthorized = 0x0040;
constexpr std::uint32_t CRLNotVerified = 0x0080;
constexpr std::uint32_t OCSPNotVerified = 0x0100;
constexpr std::uint32_t IdentityMismatch = 0x0200;
constexpr std::uint32_t NoKeyUsage = 0x0400;
constexpr std::uint32_t Blocked = 0x0800;
// Above the twelve classic bits: a signature or key below the verifier's security level.
constexpr std::uint32_t WeakCrypto = 0x1000;
} // namespace Reason

struct ValidationResult {
    Validity validity = Validity::Valid;
    std::uint32_t reasons = 0;
};

} // namespace SBB
