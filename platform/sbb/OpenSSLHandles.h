#pragma once

#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pkcs12.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <string>
#include <vector>

namespace SBB::OpenSSL {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};

using X509Ptr = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using PKeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, Deleter<PKCS12, PKCS12_free>>;
using Pkcs7Ptr = std::unique_ptr<PKCS7, Deleter<PKCS7, PKCS7_free>>;
using StorePtr = std::unique_ptr<X509_STORE, Deleter<X509_STORE, X509_STORE_free>>;
using StoreCtxPtr = std::unique_ptr<X509_STORE_CTX, Deleter<X509_STORE_CTX, X509_STORE_CTX_free>>;
using X509SigPtr = std::unique_ptr<X509_SIG, Deleter<X509_SIG, X509_SIG_free>>;
using P8InfoPtr =
    std::unique_ptr<PKCS8_PRIV_KEY_INFO, Deleter<PKCS8_PRIV_KEY_INFO, PKCS8_PRIV_KEY_INFO_free>>;

inline void freeX509Stack(STACK_OF(X509) * stack) {
    sk_X509_pop_free(stack, X509_free);
}
using X509StackPtr = std::unique_ptr<STACK_OF(X509), Deleter<STACK_OF(X509), freeX509Stack>>;

// A read-only BIO over bytes that outlive it.
BioPtr memoryBio(const std::vector<unsigned char>& bytes);

// Takes a new reference to a certificate.
X509Ptr share(X509* cert);
PKeyPtr share(EVP_PKEY* key);

// The newest queued OpenSSL error as text (the queue is cleared), or fallback when there is none.
std::string takeErrorText(const char* fallback);

// Throws an SBException carrying the queued OpenSSL error.
[[noreturn]] void throwError(const char* what);

} // namespace SBB::OpenSSL
