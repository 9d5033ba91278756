#pragma once

#include "integrity/Digest.h"

#include <string>
#include <string_view>

namespace KX::PluginAPI {

// Upper-case hexadecimal, two digits per byte.
std::string digestToHex(const CryptographicEngine::Digest& digest);
// Accepts both letter cases. Throws InvalidDataError for 130 characters or more, InvalidArgumentError
// for a character that is not a digit or for an odd length.
CryptographicEngine::Digest digestFromHex(std::string_view text);

} // namespace KX::PluginAPI
