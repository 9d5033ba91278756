#include "platform/sbb/CertificateChain.h"

#include "platform/sbb/ChainVerifier.h"

#include <algorithm>

namespace SBB {

bool CertificateChain::add(const Certificate& certificate) {
    if (!certificate.isLoaded())
        return false;
    if (_certificates.empty()) {
        _certificates.push_back(certificate);
        return true;
    }
    if (complete())
        return false;
    const bool known = std::any_of(_certificates.begin(), _certificates.end(),
                                   [&](const Certificate& c) { return c.sameAs(certificate); });
    if (known || !_certificates.back().isIssuedBy(certificate))
        return false;
    _certificates.push_back(certificate);
    return true;
}

std::size_t CertificateChain::addInPasses(const std::vector<Certificate>& candidates) {
    std::vector<bool> accepted(candidates.size(), false);
    std::size_t total = 0;
    for (bool progress = true; progress;) {
        progress = false;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!accepted[i] && add(candidates[i])) {
                accepted[i] = true;
                progress = true;
                ++total;
            }
        }
    }
    return total;
}

bool CertificateChain::complete() const {
    return !_certificates.empty() && _certificates.back().selfSigned();
}

Validity CertificateChain::validate(std::uint32_t& reasons, std::int64_t moment) const {
    if (_certificates.empty()) {
        reasons |= Reason::BadData;
        return Validity::Invalid;
    }
    std::vector<Certificate> trusted;
    std::vector<Certificate> untrusted(_certificates.begin() + 1, _certificates.end());
    if (complete()) {
        trusted.push_back(_certificates.back());
        if (!untrusted.empty())
            untrusted.pop_back();
    }
    ChainVerifier::Settings settings;
    const auto result = ChainVerifier::verify(_certificates.front(), trusted, untrusted, moment, settings);
    reasons |= result.reasons;
    return result.validity;
}

} // namespace SBB
