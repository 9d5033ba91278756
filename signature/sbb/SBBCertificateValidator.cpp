#include "signature/sbb/SBBCertificateValidator.h"

#include "signature/sbb/CertificateChainValidation.h"
#include "signature/sbb/CertificateDescription.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/StreamBridge.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

SBBCertificateValidator::SBBCertificateValidator() {
    _validator.useSystemStorages = false;
    _validator.ignoreSystemTrust = true;
    _validator.cacheValidationResults = false;
    _validator.checkCRL = false;
    _validator.checkOCSP = false;
    _validator.checkValidityPeriodForTrusted = true;
    _validator.validateInvalidCertificates = true;
}

CertificateValidationResult SBBCertificateValidator::validate(const CertificateSource& certificate,
                                                              const CertificateStorage& storage,
                                                              std::int64_t moment) {
    _usedCertificates.clear();
    const auto& certificates = dynamic_cast<const SBBCertificateStorage&>(storage);
    const auto* stream = std::get_if<std::unique_ptr<InputStream>>(&certificate);
    SBB::Certificate loaded;
    if (!stream || !*stream)
        return {CertificateValidity::Invalid, ValidationReason::BadData};
    auto libraryStream = makeCallbackStream(**stream);
    if (loaded.loadFromStreamAuto(*libraryStream, {}) != SBB::LoadResult::Ok)
        return {CertificateValidity::Invalid, ValidationReason::BadData};

    const auto chain = buildChain(loaded, {&certificates.store(CertificateType::Intermediate),
                                           &certificates.store(CertificateType::Trusted)});
    for (const auto& member : chain.certificates())
        _usedCertificates.push_back(describeCertificate(member));
    return validateChain(chain, certificates.store(CertificateType::Trusted), moment);
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
