#include "signature/sbb/SBBCertificateStorage.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "platform/sbb/SBException.h"
#include "signature/sbb/CertificateDescription.h"
#include "signature/sbb/StreamBridge.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {
std::size_t storeIndex(CertificateType type) {
    const auto index = static_cast<std::size_t>(type);
    if (index > 2)
        assertionFailed("false", "Unexpected certificate type value");
    return index;
}
} // namespace

const SBB::MemoryCertStorage& SBBCertificateStorage::store(CertificateType type) const {
    return _stores[storeIndex(type)];
}

SBB::MemoryCertStorage& SBBCertificateStorage::selectStore(CertificateType type) {
    return _stores[storeIndex(type)];
}

std::vector<CertificateInfo> SBBCertificateStorage::certificates() const {
    std::vector<CertificateInfo> infos;
    for (const auto& store : _stores)
        for (const auto& certificate : store.certificates())
            infos.push_back(describeCertificate(certificate));
    return infos;
}

LoadStatus SBBCertificateStorage::load(CertificateType type, const CertificateSource& source,
                                       std::string_view password) {
    auto& store = selectStore(type);
    store.clear();
    const auto* stream = std::get_if<std::unique_ptr<InputStream>>(&source);
    if (!stream || !*stream)
        return LoadStatus::SourceNotSupported;
    try {
        auto libraryStream = makeCallbackStream(**stream);
        int code = SBB::LoadResult::UnsupportedFormat;
        switch (SBB::Certificate::detectCertFileFormat(*libraryStream)) {
        case SBB::CertFileFormat::Pkcs7:
            return store.loadFromStreamPKCS7(*libraryStream) ? LoadStatus::Loaded
                                                             : LoadStatus::CertificateCorrupted;
        case SBB::CertFileFormat::Pfx:
            code = store.loadFromStreamPFX(*libraryStream, password);
            break;
        case SBB::CertFileFormat::Pem:
            code = store.loadFromStreamPEM(*libraryStream, password);
            break;
        default:
            break;
        }
        if (code == SBB::LoadResult::Ok)
            return LoadStatus::Loaded;
        return SBB::LoadResult::isPasswordError(code) ? LoadStatus::CertificatePasswordInvalid
                                                      : LoadStatus::CertificateCorrupted;
    } catch (const SBB::SBException&) {
        throw SignatureRuntimeError("Can't load certificate to storage.");
    }
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
