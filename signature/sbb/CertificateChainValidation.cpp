#include "signature/sbb/CertificateChainValidation.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "platform/sbb/SBException.h"
#include "signature/sbb/SBBCertificateValidator.h"
#include "signature/sbb/StreamBridge.h"

#include <algorithm>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

SBB::CertificateChain buildChain(const SBB::Certificate& certificate,
                                 std::initializer_list<const SBB::MemoryCertStorage*> stores) {
    SBB::CertificateChain chain;
    chain.add(certificate);
    for (const auto* store : stores)
        chain.addInPasses(store->certificates());
    return chain;
}

namespace {
// The library's validity values and reason bits are this system's, value for value.
constexpr bool sameValue(SBB::Validity library, CertificateValidity own) {
    return static_cast<int>(library) == static_cast<int>(own);
}
static_assert(sameValue(SBB::Validity::Valid, CertificateValidity::Valid));
static_assert(sameValue(SBB::Validity::SelfSigned, CertificateValidity::SelfSigned));
static_assert(sameValue(SBB::Validity::Invalid, CertificateValidity::Invalid));
static_assert(sameValue(SBB::Validity::StorageError, CertificateValidity::StorageError));
static_assert(sameValue(SBB::Validity::ChainUnvalidated, CertificateValidity::ChainNotValidated));
static_assert(SBB::Reason::BadData == ValidationReason::BadData);
static_assert(SBB::Reason::Revoked == ValidationReason::Revoked);
static_assert(SBB::Reason::NotYetValid == ValidationReason::NotYetValid);
static_assert(SBB::Reason::Expired == ValidationReason::Expired);
static_assert(SBB::Reason::InvalidSignature == ValidationReason::InvalidSignature);
static_assert(SBB::Reason::UnknownCA == ValidationReason::UnknownCA);
static_assert(SBB::Reason::CAUnauthorized == ValidationReason::CAUnauthorized);
static_assert(SBB::Reason::CRLNotVerified == ValidationReason::CRLNotVerified);
static_assert(SBB::Reason::OCSPNotVerified == ValidationReason::OCSPNotVerified);
static_assert(SBB::Reason::IdentityMismatch == ValidationReason::IdentityMismatch);
static_assert(SBB::Reason::NoKeyUsage == ValidationReason::NoKeyUsage);
static_assert(SBB::Reason::Blocked == ValidationReason::Blocked);
static_assert((SBB::Reason::WeakCrypto & ValidationReason::LibraryMask) == 0);

CertificateValidity toValidity(SBB::Validity validity) {
    switch (validity) {
    case SBB::Validity::Valid:
        return CertificateValidity::Valid;
    case SBB::Validity::SelfSigned:
        return CertificateValidity::SelfSigned;
    case SBB::Validity::StorageError:
        return CertificateValidity::StorageError;
    case SBB::Validity::ChainUnvalidated:
        return CertificateValidity::ChainNotValidated;
    default:
        return CertificateValidity::Invalid;
    }
}
} // namespace

CertificateValidationResult toValidationResult(SBB::Validity validity, std::uint32_t reasons) {
    return {toValidity(validity), reasons & ValidationReason::LibraryMask};
}

namespace {
bool isAnchor(const SBB::Certificate& certificate, const SBB::MemoryCertStorage& anchors) {
    if (!certificate.selfSigned())
        return false;
    const auto& candidates = anchors.certificates();
    return std::any_of(candidates.begin(), candidates.end(),
                       [&](const SBB::Certificate& anchor) { return anchor.sameAs(certificate); });
}
} // namespace

CertificateValidationResult validateChain(const SBB::CertificateChain& chain,
                                          const SBB::MemoryCertStorage& anchors, std::int64_t moment) {
    KX_ASSERT(chain.count() > 0);
    SBBCertificateValidator validator;
    SBB::MemoryCertStorage first;
    SBB::MemoryCertStorage trusted;
    SBB::MemoryCertStorage known;
    first.add(chain.certificate(0));
    for (std::size_t i = 1; i < chain.count(); ++i)
        (isAnchor(chain.certificate(i), anchors) ? trusted : known).add(chain.certificate(i));

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
        auto stream = makeCallbackStream(pinned);
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
