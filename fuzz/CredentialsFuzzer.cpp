// The credential loaders xpk signs with: a trust-store bundle (PEM, PKCS#7 or PKCS#12), and a
// signer certificate in any format with its private key, each with and without a passphrase.

#include "core/streams/ContainerBasedInOutStream.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <cstdint>
#include <exception>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>

namespace {

using namespace KX::CryptographicEngine::DigitalSignature;
using SecureBlackboxProvider::SBBCertificateStorage;
using SecureBlackboxProvider::SBBSigningKeyStore;

// The passphrase of the seeds' encrypted files; the other choice takes the unencrypted paths.
constexpr const char* Passphrase = "correct horse";

CertificateSource source(std::string bytes) {
    return std::make_unique<KX::ContainerBasedInOutStream<std::string>>(std::move(bytes));
}

void loadTrustStore(std::string bytes, std::string_view password) {
    SBBCertificateStorage storage;
    if (storage.load(CertificateType::Trusted, source(std::move(bytes)), password) == LoadStatus::Loaded)
        storage.certificates();
}

// Loads the signer and validates it against a trust store made of its own certificate file, so
// that self-signed seeds reach the chain validation too.
void loadSigner(const std::string& certificate, std::string key, std::string_view password) {
    SBBCertificateStorage trusted;
    trusted.load(CertificateType::Trusted, source(certificate), password);
    SBBSigningKeyStore store;
    if (store.load(source(std::move(key)), password, source(certificate), password, trusted, 1700000000) ==
        LoadStatus::Loaded)
        store.certificateInfo();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool trustStore = input.ConsumeBool();
    const std::string_view password = input.ConsumeBool() ? Passphrase : "";
    try {
        if (trustStore) {
            loadTrustStore(input.ConsumeRemainingBytesAsString(), password);
        } else {
            const std::string certificate = input.ConsumeRandomLengthString(size);
            loadSigner(certificate, input.ConsumeRemainingBytesAsString(), password);
        }
    } catch (const std::exception&) {
        // Errors are how the loaders refuse bad input.
    }
    return 0;
}
