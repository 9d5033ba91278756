#include "platform/sbb/MemoryCertStorage.h"

#include "platform/sbb/Decoding.h"

namespace SBB {

std::size_t MemoryCertStorage::add(const Certificate& certificate, bool copyPrivateKey) {
    _certificates.push_back(copyPrivateKey ? certificate : certificate.withoutPrivateKey());
    return _certificates.size() - 1;
}

namespace {
int append(std::vector<Certificate>& target, Decoding::DecodedBundle bundle) {
    if (bundle.code != LoadResult::Ok)
        return bundle.code;
    for (auto& [cert, key] : bundle.entries)
        target.emplace_back(std::move(cert), std::move(key));
    return LoadResult::Ok;
}
} // namespace

int MemoryCertStorage::loadFromStreamPEM(Stream& stream, std::string_view password) {
    return append(_certificates, Decoding::decodePemBundle(stream.readToEnd(), password));
}

int MemoryCertStorage::loadFromStreamPFX(Stream& stream, std::string_view password) {
    return append(_certificates, Decoding::decodePfx(stream.readToEnd(), password));
}

bool MemoryCertStorage::loadFromStreamPKCS7(Stream& stream) {
    std::vector<OpenSSL::X509Ptr> certificates;
    if (!Decoding::decodePkcs7(stream.readToEnd(), certificates))
        return false;
    for (auto& cert : certificates)
        _certificates.emplace_back(std::move(cert));
    return true;
}

CertificateChain MemoryCertStorage::buildChain(const Certificate& certificate) const {
    CertificateChain chain;
    chain.add(certificate);
    chain.addInPasses(_certificates);
    return chain;
}

} // namespace SBB
