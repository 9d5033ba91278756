#pragma once

#include <string>
#include <vector>

namespace SBB {

// Upper-case hexadecimal text of the bytes, two digits per byte, no separators.
std::string binaryToString(const std::vector<unsigned char>& bytes);
// Inserts separator between every pair of characters: "0A1B" becomes "0A:1B".
std::string beautifyBinaryString(const std::string& hex, char separator);

} // namespace SBB
