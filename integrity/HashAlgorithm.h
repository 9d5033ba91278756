#pragma once

#include <cstdint>

namespace KX::CryptographicEngine {

enum class HashAlgorithm : std::uint8_t {
    Sha1 = 0,
    Md5 = 1,
    Sha256 = 2,
    Sha512 = 3,
    GostR3411_94 = 4,
    Gost3411_2012_256 = 5,
    Gost3411_2012_512 = 6,
    Gost3411_2018_256 = 7,
    Gost3411_2018_512 = 8,
};

// The name libcrypto knows the algorithm by; throws InternalSecurityError for a value outside the
// enumeration.
const char* hashAlgorithmName(HashAlgorithm algorithm);

} // namespace KX::CryptographicEngine
