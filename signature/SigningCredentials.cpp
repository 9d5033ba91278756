#include "signature/SigningCredentials.h"

#include "core/Errors.h"
#include "core/streams/FileStreams.h"

#include <ctime>

namespace KX::CryptographicEngine::DigitalSignature {

namespace {

[[noreturn]] void throwForStatus(LoadStatus status, const std::string& certificatePath,
                                 const std::string& keyPath, bool passphraseGiven) {
    switch (status) {
    case LoadStatus::PrivateKeyPasswordInvalid:
        if (passphraseGiven)
            throw SigningError("passphrase for '{}' is not valid", keyPath);
        throw SigningError(
            "the private key '{}' is password protected; enter password via --passphrase option", keyPath);
    case LoadStatus::CertificatePasswordInvalid:
        throw SigningError("passphrase for '{}' is not valid", certificatePath);
    case LoadStatus::PrivateKeyInvalid:
        throw SigningError("the private key '{}' is invalid", keyPath);
    case LoadStatus::CertificateUnsupportedFormat:
        throw SigningError("the certificate '{}' has unsupported format", certificatePath);
    case LoadStatus::PrivateKeyUnsupportedFormat:
        throw SigningError("the private key '{}' has unsupported format", keyPath);
    case LoadStatus::CertificateCorrupted:
        throw SigningError("the certificate '{}' is corrupted and cannot be loaded", certificatePath);
    case LoadStatus::PrivateKeyCorrupted:
        throw SigningError("the private key '{}' is corrupted and cannot be loaded", keyPath);
    case LoadStatus::CertificateNotValid:
        throw SigningError("the certificate '{}' is invalid", certificatePath);
    case LoadStatus::SourceNotSupported:
        throw SigningError("certificate source type is not supported");
    case LoadStatus::Loaded:
        break;
    }
    throw SigningError("the certificate '{}' or private key '{}' cannot be loaded", certificatePath, keyPath);
}

} // namespace

SigningCredentials loadSigningCredentials(DigitalSignatureProvider& provider,
                                          const std::vector<std::string>& certificatePaths,
                                          const std::string& privateKeyPath,
                                          const std::optional<std::string>& passphrase,
                                          const TrustStoreOpener& openTrustStore) {
    SigningCredentials credentials;
    {
        const CertificateSource trustStore = openTrustStore();
        credentials.trustedCertificates = provider.createCertificateStorage();
        // A trust store that does not load leaves no trusted certificate, and validation fails later.
        credentials.trustedCertificates->load(CertificateType::Trusted, trustStore, {});
    }
    credentials.keyStore = provider.createSigningKeyStore();

    // Further certificate paths are not read.
    const std::string certificatePath = certificatePaths.empty() ? std::string() : certificatePaths.front();
    const CertificateSource key = openInputFile(privateKeyPath, "private key");
    const CertificateSource certificate = openInputFile(certificatePath, "certificate");
    const auto moment = static_cast<std::int64_t>(std::time(nullptr));

    LoadStatus status = LoadStatus::Loaded;
    try {
        status = credentials.keyStore->load(key, passphrase.value_or(std::string()), certificate, {},
                                            *credentials.trustedCertificates, moment);
    } catch (const SignatureRuntimeError&) {
        throw SigningError("the certificate '{}' or private key '{}' cannot be loaded", certificatePath,
                           privateKeyPath);
    }
    if (status != LoadStatus::Loaded)
        throwForStatus(status, certificatePath, privateKeyPath, passphrase.has_value());
    return credentials;
}

} // namespace KX::CryptographicEngine::DigitalSignature
