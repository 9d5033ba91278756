#pragma once

#include "platform/sbb/CertificateChain.h"

namespace SBB {

// An ordered, in-memory set of certificates (with their private keys where present).
class MemoryCertStorage {
public:
    // Returns the index of the new entry; without copyPrivateKey the key stays behind.
    std::size_t add(const Certificate& certificate, bool copyPrivateKey = true);
    void clear() { _certificates.clear(); }
    std::size_t count() const { return _certificates.size(); }
    const Certificate& certificate(std::size_t index) const { return _certificates.at(index); }
    const std::vector<Certificate>& certificates() const { return _certificates; }

    // The loaders read from the stream's position to its end and append what they find; on a
    // failure nothing is added. They return a load result code (Codes.h).
    // Every certificate of a PEM text; keys in it join the certificate they belong to.
    int loadFromStreamPEM(Stream& stream, std::string_view password);
    // The certificate, key and further certificates of a PKCS#12 file.
    int loadFromStreamPFX(Stream& stream, std::string_view password);
    // The certificates of a PKCS#7 bundle (DER or PEM); false when it cannot be read.
    bool loadFromStreamPKCS7(Stream& stream);

    // The chain of the certificate, completed from this store (see CertificateChain::addInPasses).
    CertificateChain buildChain(const Certificate& certificate) const;

private:
    std::vector<Certificate> _certificates;
};

} // namespace SBB
