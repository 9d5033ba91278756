#include "signature/sbb/CertificateChainValidation.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "platform/sbb/KXStreamBridge.h"
#include "platform/sbb/SBException.h"
#include "signature/sbb/SBBCertificateValidator.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

SBB::CertificateChain buildChain(const SBB::Certificate& certificate,
                                 std::initializer_list<const SBB::MemoryCertStorage*> stores) {
    SBB::CertificateChain chain;
    chain.add(certificate);
    for (const auto* store : stores)
        chain.addInPasses(store->certificates());
    return chain;
}

CertificateValidationResult toValidationResult(SBB::Validity validity, std::uint32_t reasons) {
    CertificateValidationResult result;
    switch (validity) {
    case SBB::Validity::Valid:
    case SBB::Validity::SelfSigned:
    case SBB::Validity::StorageError:
    case SBB::Validity::ChainUnvalidated:
        result.validity = static_cast<CertificateValidity>(validity);
        break;
    default:
        result.validity = CertificateValidity::Invalid;
        break;
    }
    result.reasons = reasons & ValidationReason::LibraryMask;
    return result;
}

CertificateValidationResult validateChain(const SBB::CertificateChain& chain, std::int64_t moment) {
    KX_ASSERT(chain.count() > 0);
    SBBCertificateValidator validator;
    SBB::MemoryCertStorage first;
    SBB::MemoryCertStorage trusted;
    SBB::MemoryCertStorage known;
    first.add(chain.certificate(0));
    for (std::size_t i = 1; i < chain.count(); ++i)
        (chain.certificate(i).selfSigned() ? trusted : known).add(chain.certificate(i));

    auto& library = validator.library();
    library.clearKnownCertificates();
    library.clearTrustedCertificates();
    library.addTrustedCertificates(trusted);
    library.addKnownCertificates(known);
    auto outcome = library.validate(first.certificate(0), nullptr, true, moment);
    if (outcome.validity == SBB::Validity::Valid) {
        // The chain's own check must agree: any reason it finds makes the chain invalid.
        chain.validate(outcome.reasons, moment);
        if (outcome.reasons != 0)
            outcome.validity = SBB::Validity::Invalid;
    }
    return toValidationResult(outcome.validity, outcome.reasons);
}

CertificateValidationResult checkPinnedCertificate(SBB::CertificateChain chain, InOutStream& pinned) {
    if (chain.complete())
        return {CertificateValidity::Invalid, ValidationReason::UnknownCA};
    SBB::Certificate pinnedCertificate;
    int code = SBB::LoadResult::Ok;
    try {
        auto stream = SBB::makeCallbackStream(pinned);
        code = pinnedCertificate.loadFromStreamAuto(*stream, {});
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Pinned certificate loading error: {}", e.what());
    }
    if (code != SBB::LoadResult::Ok)
        return {CertificateValidity::PinnedCertificateCheckFailed, ValidationReason::BadData};
    if (chain.add(pinnedCertificate) && chain.complete())
        return {CertificateValidity::Valid, 0};
    return {CertificateValidity::PinnedCertificateCheckFailed, ValidationReason::PinnedCertificateMismatch};
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
