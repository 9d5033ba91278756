#include "signature/sbb/SBBXAdESSignatureManager.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "core/NumericCast.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "platform/sbb/SBException.h"
#include "signature/sbb/CertificateChainValidation.h"
#include "signature/sbb/CertificateDescription.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"
#include "signature/sbb/StreamBridge.h"
#include "signature/sbb/XAdESSigning.h"

#include <algorithm>
#include <boost/container/vector.hpp>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {

constexpr const char* OpenDocumentHandler = "TElOpenOfficeSignatureHandler";

bool isOfficeOpenXML(const SBB::OfficeSignatureHandler& handler) {
    return handler.classNameIs("TElOfficeOpenXMLBaseSignatureHandler") ||
           handler.classNameIs("TElOfficeOpenXMLSignatureHandler") ||
           handler.classNameIs("TElOfficeOpenXPSSignatureHandler");
}

// The first signed entry or part whose status the table names decides; none of them: valid.
SignatureValidity firstListedStatus(const SBB::OfficeSignatureHandler& handler,
                                    std::initializer_list<std::pair<int, std::uint8_t>> table) {
    for (const auto& entry : handler.signedEntries())
        for (const auto& [status, validity] : table)
            if (entry.status == status)
                return SignatureValidity{validity};
    return SignatureValidity::Valid;
}

SignatureValidity officeOpenXMLValidity(SBB::OfficeSignatureHandler& handler) {
    const int result = handler.validate();
    if (result == SBB::SignatureValidationResult::Valid)
        return SignatureValidity::Valid;
    if (result == SBB::SignatureValidationResult::EntriesInvalid)
        return firstListedStatus(handler, {{0, 9}, {2, 3}, {3, 2}, {4, 4}, {5, 5}});
    return SignatureValidity{1};
}

SignatureValidity openDocumentValidity(SBB::OfficeSignatureHandler& handler) {
    const int result = handler.validate();
    if (result == SBB::SignatureValidationResult::Valid)
        return SignatureValidity::Valid;
    if (result == SBB::SignatureValidationResult::EntriesInvalid)
        return firstListedStatus(handler, {{0, 9}, {2, 3}, {3, 2}, {4, 6}});
    return SignatureValidity{1};
}

} // namespace

SBBXAdESSignatureManager::SBBXAdESSignatureManager(InOutStream& document) {
    copyIntoMemory(document, _memory);
    try {
        _document.open(_memory);
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Document openning error: {}.", e.what());
    }
}

SBBXAdESSignatureManager::~SBBXAdESSignatureManager() {
    try {
        _document.close();
    } catch (const SBB::SBException&) {
    }
}

bool SBBXAdESSignatureManager::isSigned() const {
    return _document.isSigned();
}

void SBBXAdESSignatureManager::sign(const CertificateStorage& storage, const SigningKeyStore& keys,
                                    const SignOptions& options) {
    const auto* storageImpl = dynamic_cast<const SBBCertificateStorage*>(&storage);
    if (typeid(keys) != typeid(SBBSigningKeyStore) || storageImpl == nullptr)
        throw SignatureRuntimeError("Certificate loader cast issue.");
    try {
        signOfficeDocument(_document, *storageImpl, static_cast<const SBBSigningKeyStore&>(keys), options);
    } catch (const SBB::SBException&) {
        throw SignatureRuntimeError("Can't sign document.");
    }
}

void SBBXAdESSignatureManager::removeSignatures(absl::Span<const SignatureIndex> indices) {
    try {
        std::vector<SignatureIndex> ordered(indices.begin(), indices.end());
        // Highest first, so that a removal does not move the positions still to be removed.
        std::stable_sort(ordered.begin(), ordered.end(),
                         [](const SignatureIndex& a, const SignatureIndex& b) { return a.index > b.index; });
        for (const auto& index : ordered)
            _document.removeSignature(numericCast<std::int32_t>(index.index));
    } catch (const AbortException&) {
        throw;
    } catch (const std::exception& e) {
        throw SignatureRuntimeError("Signature removing error: {}", e.what());
    }
}

SBB::OfficeSignatureHandler& SBBXAdESSignatureManager::handlerAt(const SignatureIndex& index) const {
    SBB::OfficeSignatureHandler* handler = _document.signatureHandler(numericCast<std::int32_t>(index.index));
    KX_ASSERT(handler != nullptr);
    return *handler;
}

SignatureInfo SBBXAdESSignatureManager::describe(int position) {
    SignatureInfo info;
    info.index = SignatureIndex(position, SignatureKind::XAdES);
    auto& handler = handlerAt(info.index);
    if (!isOfficeOpenXML(handler) && !handler.classNameIs(OpenDocumentHandler))
        throw SignatureRuntimeError("Invalid signature handler.");
    info.signingTime = SigningTime(SigningTime::duration(handler.signatureTime() * 10'000'000));
    handler.validate();
    if (handler.signerCertificate())
        info.signer = describeCertificate(*handler.signerCertificate());
    if (isOfficeOpenXML(handler))
        info.signatureLine = readSignatureLine(handler);
    return info;
}

std::vector<SignatureInfo> SBBXAdESSignatureManager::signatures() {
    std::vector<SignatureInfo> infos;
    for (int position = 0; position < _document.signatureHandlerCount(); ++position)
        infos.push_back(describe(position));
    return infos;
}

std::optional<std::unique_ptr<InOutStream>> SBBXAdESSignatureManager::signedDocument() {
    try {
        _document.flush();
    } catch (const SBB::SBException& e) {
        throw SignatureRuntimeError("Document closing/saving error: {}.", e.what());
    }
    const auto& bytes = _memory.data();
    auto stream = std::make_unique<ContainerBasedInOutStream<boost::container::vector<char>>>(
        boost::container::vector<char>(bytes.begin(), bytes.end()));
    return std::unique_ptr<InOutStream>(std::move(stream));
}

std::optional<std::unique_ptr<InOutStream>> SBBXAdESSignatureManager::detachedSignature() {
    return std::unique_ptr<InOutStream>();
}

SignatureValidity SBBXAdESSignatureManager::verifySignature(const SignatureIndex& index) {
    try {
        auto& handler = handlerAt(index);
        if (isOfficeOpenXML(handler))
            return officeOpenXMLValidity(handler);
        if (!handler.classNameIs(OpenDocumentHandler))
            throw SignatureRuntimeError("Invalid Signature Handler.");
        return openDocumentValidity(handler);
    } catch (const AbortException&) {
        throw;
    } catch (const SignatureRuntimeError&) {
        throw;
    } catch (const std::exception& e) {
        throw SignatureRuntimeError("Error verifying signature: {}", e.what());
    }
}

SBB::CertificateChain SBBXAdESSignatureManager::signatureChain(const SignatureIndex& index) {
    auto& handler = handlerAt(index);
    if (!isOfficeOpenXML(handler) && !handler.classNameIs(OpenDocumentHandler))
        throw SignatureRuntimeError("Invalid Signature Handler.");
    handler.validate();
    const auto& carried = handler.certificates();
    if (handler.signerCertificate())
        return carried.buildChain(*handler.signerCertificate());
    if (carried.count() == 0)
        return {};
    return carried.buildChain(carried.certificate(0));
}

CertificateValidationResult SBBXAdESSignatureManager::checkPinnedCertificate(const SignatureIndex& index,
                                                                             InOutStream& pinned) {
    auto chain = signatureChain(index);
    // A signature without a certificate, or one that brings its own root, cannot be pinned.
    if (chain.count() == 0 || chain.complete())
        return {CertificateValidity::Invalid, ValidationReason::UnknownCA};
    return SecureBlackboxProvider::checkPinnedCertificate(std::move(chain), pinned);
}

CertificateValidationResult SBBXAdESSignatureManager::validateCertificate(const CertificateStorage& storage,
                                                                          const SignatureIndex& index,
                                                                          std::int64_t moment) {
    try {
        auto chain = signatureChain(index);
        if (chain.count() == 0)
            return {CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA};
        if (chain.complete())
            return {CertificateValidity::Invalid, ValidationReason::UnknownCA};
        const auto& trusted =
            dynamic_cast<const SBBCertificateStorage&>(storage).store(CertificateType::Trusted);
        for (const auto& certificate : trusted.certificates())
            chain.add(certificate);
        if (!chain.complete())
            return {CertificateValidity::ChainIncomplete, ValidationReason::UnknownCA};
        return validateChain(chain, trusted, moment);
    } catch (const AbortException&) {
        throw;
    } catch (const SignatureRuntimeError&) {
        throw;
    } catch (const std::exception& e) {
        throw SignatureRuntimeError("Error verifying signature: {}", e.what());
    }
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
