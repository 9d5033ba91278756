#pragma once

#include "platform/sbb/SBException.h"

#include <cstdint>
#include <string>

namespace SBB::CMSError {

// Error codes of the CMS messages and signatures.
constexpr std::uint32_t NotOpen = 0x6001;
constexpr std::uint32_t NotSignedData = 0x6002;
constexpr std::uint32_t IndexOutOfBounds = 0x6003;
constexpr std::uint32_t AlreadySigned = 0x6004;
constexpr std::uint32_t NotSigned = 0x6005;
constexpr std::uint32_t NoPrivateKey = 0x6006;
constexpr std::uint32_t BadContent = 0x6007;

[[noreturn]] inline void raise(std::uint32_t code, const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElCMSError", message, code);
}

} // namespace SBB::CMSError
