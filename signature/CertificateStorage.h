#pragma once

#include "signature/CertificateInfo.h"
#include "signature/CertificateSource.h"
#include "signature/CertificateType.h"
#include "signature/LoadStatus.h"

#include <string_view>
#include <vector>

namespace KX::CryptographicEngine::DigitalSignature {

// Sets of further certificates: trusted roots, intermediates and extras.
class CertificateStorage {
public:
    virtual ~CertificateStorage() = default;
    // Descriptions of the certificates held, trusted first, then intermediate, then extra.
    virtual std::vector<CertificateInfo> certificates() const = 0;
    // Replaces the content of one store.
    virtual LoadStatus load(CertificateType type, const CertificateSource& source,
                            std::string_view password) = 0;
};

} // namespace KX::CryptographicEngine::DigitalSignature
