#pragma once

#include "core/streams/InputStream.h"

#include <memory>
#include <string>
#include <variant>

namespace KX::CryptographicEngine::DigitalSignature {

// Where a certificate or key comes from: an owned stream over its file, or a text identifier that
// only a module provider can resolve.
using CertificateSource = std::variant<std::unique_ptr<InputStream>, std::string>;

} // namespace KX::CryptographicEngine::DigitalSignature
