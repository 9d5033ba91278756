#pragma once

#include "platform/sbb/Certificate.h"
#include "signature/SigningKeyStore.h"

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

// The signer's certificate and private key in one library certificate; a second load replaces
// the first. Only a load that returned Loaded leaves a usable store.
class SBBSigningKeyStore : public SigningKeyStore {
public:
    // trusted must be an SBBCertificateStorage: its intermediate and trusted certificates complete
    // the chain that is validated at moment.
    LoadStatus load(const CertificateSource& key, std::string_view keyPassword,
                    const CertificateSource& certificate, std::string_view certificatePassword,
                    const CertificateStorage& trusted, std::int64_t moment) override;
    CertificateValidationResult loadAndValidate(const CertificateSource& key, std::string_view keyPassword,
                                                const CertificateSource& certificate,
                                                std::string_view certificatePassword,
                                                const CertificateStorage& trusted,
                                                std::int64_t moment) override;
    LoadStatus loadWithoutValidation(const CertificateSource& key, std::string_view keyPassword,
                                     const CertificateSource& certificate,
                                     std::string_view certificatePassword) override;
    CertificateInfo certificateInfo() const override;

    const SBB::Certificate& certificate() const { return _certificate; }

private:
    LoadStatus loadCredentials(const CertificateSource& key, std::string_view keyPassword,
                               const CertificateSource& certificate, std::string_view certificatePassword);
    CertificateValidationResult validateLoaded(const CertificateStorage& trusted, std::int64_t moment) const;

    SBB::Certificate _certificate;
};

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
