#include "integrity/HashAlgorithm.h"

#include "core/Errors.h"

#include <array>

namespace KX::CryptographicEngine {

namespace {
constexpr std::array<const char*, 9> names{
    "SHA1",
    "MD5",
    "SHA256",
    "SHA512",
    "GOST R 34.11-94",
    "GOST 34.11-2012 (256)",
    "GOST 34.11-2012 (512)",
    "GOST 34.11-2018 (256)",
    "GOST 34.11-2018 (512)",
};
} // namespace

const char* hashAlgorithmName(HashAlgorithm algorithm) {
    const auto index = static_cast<std::uint8_t>(algorithm);
    if (index >= names.size())
        throw InternalSecurityError("Unsupported hash algorithm");
    return names[index];
}

} // namespace KX::CryptographicEngine
