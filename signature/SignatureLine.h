#pragma once

#include <boost/uuid/uuid.hpp>
#include <cstdint>
#include <string>
#include <vector>

namespace KX::CryptographicEngine::DigitalSignature {

// The visible signature line of an office document.
struct SignatureLine {
    std::vector<std::uint8_t> image;
    std::int32_t horizontalResolution = 0;
    std::int32_t verticalResolution = 0;
    std::int32_t colorDepth = 0;
    std::string comments;
    std::string text;
    std::uint8_t type = 0;
    std::vector<std::uint8_t> validImage;
    std::vector<std::uint8_t> invalidImage;
    boost::uuids::uuid id{};
    std::string suggestedSigner;
    std::string suggestedSigner2;
    std::string suggestedSignerEmail;
};

} // namespace KX::CryptographicEngine::DigitalSignature
