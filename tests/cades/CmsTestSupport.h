#pragma once

// Signers from the generated test PKI and an independent check of signed messages with OpenSSL's
// own CMS verifier.

#include "CliRunner.h"
#include "TestPki.h"
#include "platform/sbb/Certificate.h"
#include "platform/sbb/MemoryStream.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <string>
#include <vector>

namespace CadesTest {

using Bytes = std::vector<unsigned char>;

inline const KX::Testing::TestPki& pki() {
    return KX::Testing::TestPki::instance();
}

inline Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline SBB::MemoryStream streamOf(const std::string& text) {
    return SBB::MemoryStream(bytesOf(text));
}

inline SBB::MemoryStream fileStream(const std::string& name) {
    return streamOf(KX::Testing::TestPki::readFile(pki().path(name)));
}

// A generated certificate with its key ("signer" reads signer.pem and signer.key).
inline SBB::Certificate signer(const std::string& name) {
    SBB::Certificate certificate;
    auto certificateStream = fileStream(name + ".pem");
    auto keyStream = fileStream(name + ".key");
    if (certificate.loadFromStreamAuto(certificateStream, {}) != 0 ||
        certificate.loadKeyFromStreamAuto(keyStream, {}) != 0)
        throw std::runtime_error("cannot load " + name);
    return certificate;
}

inline SBB::Certificate certificateOnly(const std::string& name) {
    SBB::Certificate certificate;
    auto stream = fileStream(name + ".pem");
    if (certificate.loadFromStreamAuto(stream, {}) != 0)
        throw std::runtime_error("cannot load " + name);
    return certificate;
}

// True when OpenSSL's CMS_verify accepts the detached DER message over content with the given
// PEM files (from the test PKI) as trust anchors. Certificate purposes are not checked.
inline bool opensslVerifies(const Bytes& der, const std::string& content,
                            const std::vector<std::string>& anchors) {
    X509_STORE* store = X509_STORE_new();
    for (const auto& name : anchors) {
        BIO* in = BIO_new_file(pki().path(name).c_str(), "r");
        X509* anchor = PEM_read_bio_X509(in, nullptr, nullptr, nullptr);
        X509_STORE_add_cert(store, anchor);
        X509_free(anchor);
        BIO_free(in);
    }
    X509_STORE_set_purpose(store, X509_PURPOSE_ANY);
    BIO* messageBio = BIO_new_mem_buf(der.data(), static_cast<int>(der.size()));
    CMS_ContentInfo* cms = d2i_CMS_bio(messageBio, nullptr);
    BIO* contentBio = BIO_new_mem_buf(content.data(), static_cast<int>(content.size()));
    const bool verified = cms && CMS_verify(cms, nullptr, store, contentBio, nullptr, CMS_BINARY) == 1;
    ERR_clear_error();
    CMS_ContentInfo_free(cms);
    BIO_free(contentBio);
    BIO_free(messageBio);
    X509_STORE_free(store);
    return verified;
}

inline void writeBytes(const boost::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path.string(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace CadesTest
