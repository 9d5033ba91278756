#include "platform/sbb/OpenSSLHandles.h"

#include "platform/sbb/SBException.h"

#include <climits>
#include <openssl/err.h>

namespace SBB::OpenSSL {

BioPtr memoryBio(const std::vector<unsigned char>& bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw SBException(SBException::Kind::Library, "EElDataTooLarge", "The data is too large", 0x5013);
    BioPtr bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
    if (!bio)
        throwError("BIO_new_mem_buf");
    return bio;
}

X509Ptr share(X509* cert) {
    if (cert)
        X509_up_ref(cert);
    return X509Ptr(cert);
}

PKeyPtr share(EVP_PKEY* key) {
    if (key)
        EVP_PKEY_up_ref(key);
    return PKeyPtr(key);
}

std::string takeErrorText(const char* fallback) {
    unsigned long last = 0;
    while (const auto code = ERR_get_error())
        last = code;
    if (last == 0)
        return fallback;
    char text[256];
    ERR_error_string_n(last, text, sizeof text);
    return text;
}

void throwError(const char* what) {
    const auto code = static_cast<std::uint32_t>(ERR_peek_last_error());
    const auto text = takeErrorText("unknown failure");
    throw SBException(SBException::Kind::Library, "EElOpenSSLError", std::string(what) + ": " + text, 0x5020,
                      code);
}

} // namespace SBB::OpenSSL
