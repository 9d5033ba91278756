#include "signature/sbb/SBBCAdESSignatureManager.h"

#include "core/Errors.h"
#include "core/NumericCast.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/http/HTTPSClient.h"
#include "platform/sbb/tsp/HTTPTSPClient.h"
#include "signature/sbb/CertificateChainValidation.h"
#include "signature/sbb/CertificateDescription.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"
#include "signature/sbb/StreamBridge.h"

#include <algorithm>
#include <boost/container/vector.hpp>
#include <ctime>
#include <typeinfo>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {

int toLibraryIndex(const SignatureIndex& index) {
    return numericCast<std::int32_t>(index.index);
}

SignatureValidity toSignatureValidity(int libraryResult) {
    switch (libraryResult) {
    case 0:
        return SignatureValidity{0};
    case 1:
        return SignatureValidity{1};
    case 2:
        return SignatureValidity{7};
    case 3:
        return SignatureValidity{8};
    default:
        return SignatureValidity{9};
    }
}

} // namespace

SBBCAdESSignatureManager::SBBCAdESSignatureManager(InOutStream& content, InOutStream& signature) {
    copyIntoMemory(content, _content);
    if (signature.size() != 0)
        copyIntoMemory(signature, _signature);
    try {
        const auto contentSize = static_cast<std::int64_t>(_content.data().size());
        if (!_signature.data().empty())
            _message.open(_signature, _content, 0, contentSize);
        else
            _message.createNew(_content, 0, contentSize);
        _message.setDetached(true);
    } catch (const SBB::SBException&) {
        throw SignatureRuntimeError("can't load the signature");
    }
}

SBBCAdESSignatureManager::~SBBCAdESSignatureManager() {
    _message.close();
}

bool SBBCAdESSignatureManager::isSigned() const {
    return _message.signatureCount() > 0;
}

void SBBCAdESSignatureManager::sign(const CertificateStorage& storage, const SigningKeyStore& keys,
                                    const SignOptions& options) {
    const auto* storageImpl = dynamic_cast<const SBBCertificateStorage*>(&storage);
    if (typeid(keys) != typeid(SBBSigningKeyStore) || storageImpl == nullptr)
        throw SignatureRuntimeError("Certificate loader cast issue.");
    const auto& signer = static_cast<const SBBSigningKeyStore&>(keys).certificate();

    try {
        const auto chain = buildChain(signer, {&storageImpl->store(CertificateType::Intermediate)});
        SBB::MemoryCertStorage chainStore;
        for (const auto& certificate : chain.certificates())
            chainStore.add(certificate, true);

        auto& signature = _message.signature(_message.addSignature());
        signature.setSigningTime(static_cast<std::int64_t>(std::time(nullptr)));
        signature.sign(signer, chainStore);

        switch (options.form) {
        case AdESForm::CAdES_BES:
            break;
        case AdESForm::CAdES_T: {
            if (!options.timestampServerUrl || options.timestampServerUrl->empty())
                throw SignatureRuntimeError("Signing with timestamp is failed. URL is empty.");
            SBB::HTTPSClient http;
            SBB::HTTPTSPClient timestamps;
            timestamps.setHTTPClient(&http);
            timestamps.setURL(*options.timestampServerUrl);
            // A signature that asked for a time-stamp and did not get one must not pass for stamped.
            if (signature.addTimestamp(timestamps) != 0)
                throw SignatureRuntimeError("Signing with timestamp is failed. {}.",
                                            timestamps.failureText());
            break;
        }
        default:
            throw SignatureRuntimeError("Unsupported CAdES signature form.");
        }
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Signing error: {}.", e.what());
    }
}

void SBBCAdESSignatureManager::removeSignatures(absl::Span<const SignatureIndex> indices) {
    try {
        std::vector<SignatureIndex> ordered(indices.begin(), indices.end());
        // Highest first, so that a removal does not move the positions still to be removed.
        std::stable_sort(ordered.begin(), ordered.end(),
                         [](const SignatureIndex& a, const SignatureIndex& b) { return a.index > b.index; });
        for (const auto& index : ordered)
            _message.removeSignature(toLibraryIndex(index));
    } catch (const AbortException&) {
        throw;
    } catch (const std::exception& e) {
        throw SignatureRuntimeError("Signature removing error: {}", e.what());
    }
}

SBB::CMSSignature& SBBCAdESSignatureManager::signatureAt(const SignatureIndex& index) {
    return _message.signature(toLibraryIndex(index));
}

SBB::CertificateChain SBBCAdESSignatureManager::signatureChain(const SignatureIndex& index) {
    std::optional<SBB::Certificate> signer;
    try {
        signer = signatureAt(index).findSigningCertificate();
    } catch (const SBB::SBException&) {
        signer.reset();
    }
    if (!signer)
        throw SignatureRuntimeError("Can't extract certificates from the signature");
    SBB::MemoryCertStorage carried;
    _message.extractAllCertificates(carried);
    // Roots that come with a signature are not trusted because of that; only the trust store's are.
    const auto built = carried.buildChain(*signer);
    SBB::CertificateChain chain;
    for (const auto& certificate : built.certificates())
        if (!certificate.selfSigned())
            chain.add(certificate);
    return chain;
}

std::vector<SignatureInfo> SBBCAdESSignatureManager::signatures() {
    std::vector<SignatureInfo> infos;
    for (int position = 0; position < _message.signatureCount(); ++position) {
        SignatureInfo info;
        info.index = SignatureIndex(position, SignatureKind::CAdES);
        const auto chain = signatureChain(info.index);
        // The signer is the chain's first certificate; the others are its issuers.
        if (chain.count() > 0)
            info.signer = describeCertificate(chain.certificate(0));
        info.signingTime =
            SigningTime(SigningTime::duration(_message.signature(position).signingTime() * 10'000'000));
        infos.push_back(std::move(info));
    }
    return infos;
}

std::optional<std::unique_ptr<InOutStream>> SBBCAdESSignatureManager::signedDocument() {
    return std::nullopt;
}

std::optional<std::unique_ptr<InOutStream>> SBBCAdESSignatureManager::detachedSignature() {
    if (!isSigned())
        return std::unique_ptr<InOutStream>();
    SBB::MemoryStream saved;
    try {
        _message.save(saved);
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Cryptographic message saving error: {}.", e.what());
    }
    const auto& bytes = saved.data();
    auto stream = std::make_unique<ContainerBasedInOutStream<boost::container::vector<char>>>(
        boost::container::vector<char>(bytes.begin(), bytes.end()));
    return std::unique_ptr<InOutStream>(std::move(stream));
}

SignatureValidity SBBCAdESSignatureManager::verifySignature(const SignatureIndex& index) {
    const int libraryIndex = toLibraryIndex(index);
    try {
        return toSignatureValidity(_message.signature(libraryIndex).validate());
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Error verifying signature: {}", e.what());
    }
}

CertificateValidationResult SBBCAdESSignatureManager::checkPinnedCertificate(const SignatureIndex& index,
                                                                             InOutStream& pinned) {
    auto chain = signatureChain(index);
    // A self-signed signer leaves no chain: nothing can be pinned below it.
    if (chain.count() == 0)
        return {CertificateValidity::Invalid, ValidationReason::UnknownCA};
    return SecureBlackboxProvider::checkPinnedCertificate(std::move(chain), pinned);
}

CertificateValidationResult SBBCAdESSignatureManager::validateCertificate(const CertificateStorage& storage,
                                                                          const SignatureIndex& index,
                                                                          std::int64_t moment) {
    auto chain = signatureChain(index);
    const auto& trusted = dynamic_cast<const SBBCertificateStorage&>(storage).store(CertificateType::Trusted);
    // Without a certificate of its own in the chain, any trusted root would be taken as the chain.
    if (chain.count() == 0)
        return {CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA};
    for (const auto& certificate : trusted.certificates())
        chain.add(certificate);
    if (!chain.complete())
        return {CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA};
    return validateChain(chain, trusted, moment);
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
