#pragma once

// Chain building, chain validation and the pinned-certificate check, shared by the key store,
// the validator and the signature managers.

#include "core/streams/InOutStream.h"
#include "platform/sbb/MemoryCertStorage.h"
#include "signature/CertificateValidity.h"

#include <initializer_list>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// A chain that starts with certificate and takes, store by store in the order given, every
// certificate that extends it (repeated passes over each store).
SBB::CertificateChain buildChain(const SBB::Certificate& certificate,
                                 std::initializer_list<const SBB::MemoryCertStorage*> stores);

// Validates the chain at moment (seconds since 1970) on a fresh validator. Only a self-signed
// certificate of the chain that is also one of anchors (the trusted store) anchors it; every other
// certificate is merely known, so a root that came from anywhere else leaves the chain untrusted.
CertificateValidationResult validateChain(const SBB::CertificateChain& chain,
                                          const SBB::MemoryCertStorage& anchors, std::int64_t moment);

// The library's answer as a result: validity 0, 1, 3 and 4 kept, everything else 2; only the
// library's twelve reason bits kept.
CertificateValidationResult toValidationResult(SBB::Validity validity, std::uint32_t reasons);

// Accepts the chain of a signature when the pinned certificate is what completes it. A chain that
// brings its own root is refused.
CertificateValidationResult checkPinnedCertificate(SBB::CertificateChain chain, InOutStream& pinned);

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
