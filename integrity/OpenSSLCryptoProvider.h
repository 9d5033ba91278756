#pragma once

#include "integrity/CryptoProvider.h"

#include <memory>
#include <openssl/evp.h>

namespace KX::CryptographicEngine {

namespace OpenSSLProvider {

// Digests on libcrypto's EVP interface. Every libcrypto failure is an InternalSecurityError, so a
// broken digest can never pass for a real one.
class OpenSSLDigestContext final : public DigestContext {
public:
    explicit OpenSSLDigestContext(HashAlgorithm algorithm);

    OpenSSLDigestContext& reset() override;
    OpenSSLDigestContext& update(const void* data, std::size_t count) override;
    using DigestContext::update;
    Digest finish() override;

private:
    struct ContextDeleter {
        void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    };

    const EVP_MD* _method = nullptr;
    std::unique_ptr<EVP_MD_CTX, ContextDeleter> _context;
};

class OpenSSLCryptoProvider final : public CryptoProvider {
public:
    std::unique_ptr<DigestContext> createDigestContext(HashAlgorithm algorithm) override;
};

} // namespace OpenSSLProvider

std::unique_ptr<CryptoProvider> createOpenSSLCryptoProvider();

} // namespace KX::CryptographicEngine
