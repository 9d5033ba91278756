#pragma once

#include "platform/sbb/Certificate.h"
#include "signature/CertificateInfo.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// Names by attribute (the last of two equal attributes wins), validity period (values below 1
// become 0), serial number as "01:02:A3" and the public-key information in hexadecimal.
CertificateInfo describeCertificate(const SBB::Certificate& certificate);
DistinguishedName describeName(const SBB::DistinguishedNameAttributes& attributes);

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
