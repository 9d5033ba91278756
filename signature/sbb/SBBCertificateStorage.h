#pragma once

#include "platform/sbb/MemoryCertStorage.h"
#include "signature/CertificateStorage.h"

#include <array>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Three library memory stores, one per CertificateType.
class SBBCertificateStorage : public CertificateStorage {
public:
    std::vector<CertificateInfo> certificates() const override;
    // Empties the store of type first, so a failed load leaves it empty. Returns Loaded,
    // CertificatePasswordInvalid, CertificateCorrupted (unsupported formats included) or
    // SourceNotSupported.
    LoadStatus load(CertificateType type, const CertificateSource& source,
                    std::string_view password) override;

    const SBB::MemoryCertStorage& store(CertificateType type) const;

private:
    SBB::MemoryCertStorage& selectStore(CertificateType type);

    std::array<SBB::MemoryCertStorage, 3> _stores;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
