#include "integrity/OpenSSLCryptoProvider.h"

#include "core/Errors.h"

#include <array>
#include <openssl/err.h>
#include <string>

namespace KX::CryptographicEngine {

namespace OpenSSLProvider {

namespace {
// libcrypto's own reason for the last failure, if it left one, so that the message says more than
// which step failed.
[[noreturn]] void throwLibcryptoFailure(const char* step) {
    std::string message = std::string("Message digest failed: ") + step;
    if (const unsigned long code = ERR_get_error(); code != 0) {
        std::array<char, 256> text{};
        ERR_error_string_n(code, text.data(), text.size());
        message += " (";
        message += text.data();
        message += ")";
    }
    ERR_clear_error();
    throw InternalSecurityError(message);
}
} // namespace

OpenSSLDigestContext::OpenSSLDigestContext(HashAlgorithm algorithm) : _context(EVP_MD_CTX_new()) {
    _method = EVP_get_digestbyname(hashAlgorithmName(algorithm));
    if (_method == nullptr)
        throw UnsupportedAlgorithmError("Unsupported hash algorithm");
    if (!_context)
        throw InternalSecurityError("Cannot create message digest context");
    reset();
}

OpenSSLDigestContext& OpenSSLDigestContext::reset() {
    if (EVP_DigestInit_ex(_context.get(), _method, nullptr) != 1)
        throwLibcryptoFailure("EVP_DigestInit_ex");
    return *this;
}

OpenSSLDigestContext& OpenSSLDigestContext::update(const void* data, std::size_t count) {
    if (EVP_DigestUpdate(_context.get(), data, count) != 1)
        throwLibcryptoFailure("EVP_DigestUpdate");
    return *this;
}

Digest OpenSSLDigestContext::finish() {
    const int size = EVP_MD_get_size(EVP_MD_CTX_get0_md(_context.get()));
    if (size <= 0)
        throwLibcryptoFailure("EVP_MD_get_size");
    if (static_cast<std::size_t>(size) > Digest::capacity)
        throw InvalidDataError("Digest byte vector is too long");
    Digest digest;
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(_context.get(), digest.data(), &length) != 1)
        throwLibcryptoFailure("EVP_DigestFinal_ex");
    if (length > Digest::capacity)
        throw InvalidDataError("Digest byte vector is too long");
    digest.setSize(length);
    return digest;
}

std::unique_ptr<DigestContext> OpenSSLCryptoProvider::createDigestContext(HashAlgorithm algorithm) {
    return std::make_unique<OpenSSLDigestContext>(algorithm);
}

} // namespace OpenSSLProvider

std::unique_ptr<CryptoProvider> createOpenSSLCryptoProvider() {
    return std::make_unique<OpenSSLProvider::OpenSSLCryptoProvider>();
}

} // namespace KX::CryptographicEngine
