#pragma once

#include "signature/DigitalSignatureProvider.h"
#include "signature/TrustStore.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace KX::CryptographicEngine::DigitalSignature {

// What signing needs: the trusted certificates and the signer's loaded key store.
struct SigningCredentials {
    std::unique_ptr<CertificateStorage> trustedCertificates;
    std::unique_ptr<SigningKeyStore> keyStore;
};

// Loads the trust store, then the private key and the first certificate (paths are UTF-8), and
// validates the certificate now. Every unusable file ends in a SigningError whose message names
// it; the file openers' own errors pass unchanged.
SigningCredentials loadSigningCredentials(DigitalSignatureProvider& provider,
                                          const std::vector<std::string>& certificatePaths,
                                          const std::string& privateKeyPath,
                                          const std::optional<std::string>& passphrase,
                                          const TrustStoreOpener& openTrustStore = openDefaultTrustStore);

} // namespace KX::CryptographicEngine::DigitalSignature
