#pragma once

#include "integrity/DigestContext.h"
#include "integrity/HashAlgorithm.h"

#include <memory>

namespace KX::CryptographicEngine {

class CryptoProvider {
public:
    virtual ~CryptoProvider() = default;
    // A context ready for update(); it does not depend on the provider afterwards.
    virtual std::unique_ptr<DigestContext> createDigestContext(HashAlgorithm algorithm) = 0;
};

} // namespace KX::CryptographicEngine
