#include "signature/sbb/SBBSigningKeyStore.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "platform/sbb/SBException.h"
#include "signature/sbb/CertificateChainValidation.h"
#include "signature/sbb/CertificateDescription.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/StreamBridge.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {

struct Outcomes {
    LoadStatus passwordInvalid;
    LoadStatus unsupportedFormat;
    LoadStatus corrupted;
    const char* errorFormat;
};

constexpr Outcomes certificateOutcomes{
    LoadStatus::CertificatePasswordInvalid, LoadStatus::CertificateUnsupportedFormat,
    LoadStatus::CertificateCorrupted, "SBB certificate processing error: {}"};
constexpr Outcomes keyOutcomes{LoadStatus::PrivateKeyPasswordInvalid, LoadStatus::PrivateKeyUnsupportedFormat,
                               LoadStatus::PrivateKeyCorrupted, "SBB private key processing error: {}"};

// Feeds the source's stream to loader (a library load returning a result code) and maps the code.
template <typename Loader>
LoadStatus loadFromSource(const CertificateSource& source, const Outcomes& outcomes, Loader&& loader) {
    const auto* stream = std::get_if<std::unique_ptr<InputStream>>(&source);
    if (!stream || !*stream)
        return LoadStatus::SourceNotSupported;
    if ((*stream)->size() == 0)
        throw SignatureRuntimeError("Stream size is incorrect");
    int code = SBB::LoadResult::Ok;
    try {
        auto libraryStream = makeCallbackStream(**stream);
        code = loader(*libraryStream);
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError(fmt::runtime(outcomes.errorFormat), e.what());
    }
    if (code == SBB::LoadResult::Ok)
        return LoadStatus::Loaded;
    if (SBB::LoadResult::isPasswordError(code))
        return outcomes.passwordInvalid;
    if (code == SBB::LoadResult::UnsupportedFormat)
        return outcomes.unsupportedFormat;
    return outcomes.corrupted;
}

} // namespace

LoadStatus SBBSigningKeyStore::loadCredentials(const CertificateSource& key, std::string_view keyPassword,
                                               const CertificateSource& certificate,
                                               std::string_view certificatePassword) {
    auto status = loadFromSource(certificate, certificateOutcomes, [&](SBB::Stream& stream) {
        return _certificate.loadFromStreamAuto(stream, certificatePassword);
    });
    if (status != LoadStatus::Loaded)
        return status;
    // A certificate file that carries its key (PFX) makes the key file unnecessary.
    if (!_certificate.privateKeyExists()) {
        status = loadFromSource(key, keyOutcomes, [&](SBB::Stream& stream) {
            return _certificate.loadKeyFromStreamAuto(stream, keyPassword);
        });
        if (status != LoadStatus::Loaded)
            return status;
    }
    return _certificate.isKeyValid() ? LoadStatus::Loaded : LoadStatus::PrivateKeyInvalid;
}

CertificateValidationResult SBBSigningKeyStore::validateLoaded(const CertificateStorage& trusted,
                                                               std::int64_t moment) const {
    const auto& storage = dynamic_cast<const SBBCertificateStorage&>(trusted);
    const auto chain = buildChain(_certificate, {&storage.store(CertificateType::Intermediate),
                                                 &storage.store(CertificateType::Trusted)});
    return validateChain(chain, storage.store(CertificateType::Trusted), moment);
}

LoadStatus SBBSigningKeyStore::load(const CertificateSource& key, std::string_view keyPassword,
                                    const CertificateSource& certificate,
                                    std::string_view certificatePassword, const CertificateStorage& trusted,
                                    std::int64_t moment) {
    try {
        const auto status = loadCredentials(key, keyPassword, certificate, certificatePassword);
        if (status != LoadStatus::Loaded)
            return status;
        return validateLoaded(trusted, moment).validity == CertificateValidity::Valid
                   ? LoadStatus::Loaded
                   : LoadStatus::CertificateNotValid;
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("SBB certificate/private key processing error: {}", e.what());
    }
}

CertificateValidationResult SBBSigningKeyStore::loadAndValidate(
    const CertificateSource& key, std::string_view keyPassword, const CertificateSource& certificate,
    std::string_view certificatePassword, const CertificateStorage& trusted, std::int64_t moment) {
    if (loadCredentials(key, keyPassword, certificate, certificatePassword) != LoadStatus::Loaded)
        return {CertificateValidity::Invalid, ValidationReason::BadData};
    return validateLoaded(trusted, moment);
}

LoadStatus SBBSigningKeyStore::loadWithoutValidation(const CertificateSource& key,
                                                     std::string_view keyPassword,
                                                     const CertificateSource& certificate,
                                                     std::string_view certificatePassword) {
    return loadCredentials(key, keyPassword, certificate, certificatePassword);
}

CertificateInfo SBBSigningKeyStore::certificateInfo() const {
    KX_ASSERT(_certificate.isLoaded());
    return describeCertificate(_certificate);
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
