#include "platform/sbb/StringUtils.h"

namespace SBB {

std::string binaryToString(const std::vector<unsigned char>& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const auto byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

std::string beautifyBinaryString(const std::string& hex, char separator) {
    std::string text;
    text.reserve(hex.size() + hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); ++i) {
        if (i > 0 && i % 2 == 0)
            text += separator;
        text += hex[i];
    }
    return text;
}

} // namespace SBB
