#include "integrity/DigestHex.h"

#include "core/Errors.h"

namespace KX::PluginAPI {

namespace {
constexpr char digits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    throw InvalidArgumentError("Invalid characters");
}
} // namespace

std::string digestToHex(const CryptographicEngine::Digest& digest) {
    std::string text;
    text.reserve(digest.size() * 2);
    for (const std::uint8_t byte : digest.bytes()) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

CryptographicEngine::Digest digestFromHex(std::string_view text) {
    if (text.size() >= 2 * CryptographicEngine::Digest::capacity + 2)
        throw CryptographicEngine::InvalidDataError("Digest string is too long");
    CryptographicEngine::Digest digest;
    std::uint8_t* out = digest.data();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]);
        if (i + 1 == text.size())
            throw InvalidArgumentError("Invalid string length");
        out[i / 2] = static_cast<std::uint8_t>(high << 4 | hexValue(text[i + 1]));
    }
    digest.setSize(text.size() / 2);
    return digest;
}

} // namespace KX::PluginAPI
