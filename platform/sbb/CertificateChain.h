#pragma once

#include "platform/sbb/Certificate.h"

namespace SBB {

// A certification path: index 0 is the end certificate, each further one issued the one before.
class CertificateChain {
public:
    // Accepts the first certificate unconditionally; afterwards only the issuer of the last
    // certificate, and nothing once the chain is complete. Returns whether it was accepted.
    bool add(const Certificate& certificate);
    // Offers the candidates in passes, each pass offering every one not yet accepted, until a
    // pass accepts none: the order of the candidates does not matter. Returns how many joined.
    std::size_t addInPasses(const std::vector<Certificate>& candidates);

    std::size_t count() const { return _certificates.size(); }
    const Certificate& certificate(std::size_t index) const { return _certificates.at(index); }
    const std::vector<Certificate>& certificates() const { return _certificates; }
    // The chain ends in a self-signed certificate.
    bool complete() const;

    // Checks the chain on its own at the moment (seconds since 1970): every signature, every
    // validity period, the CA rights of every issuer, a root at the end. Reason bits found are
    // added to reasons.
    Validity validate(std::uint32_t& reasons, std::int64_t moment) const;

private:
    std::vector<Certificate> _certificates;
};

} // namespace SBB
