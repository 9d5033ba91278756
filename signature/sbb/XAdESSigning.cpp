#include "signature/sbb/XAdESSigning.h"

#include "core/Errors.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/http/HTTPSClient.h"
#include "platform/sbb/office/OpenOfficeSignatureHandler.h"
#include "platform/sbb/office/XAdESSigner.h"
#include "platform/sbb/tsp/HTTPTSPClient.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <ctime>
#include <map>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {

const std::map<AdESForm, int>& formTable() {
    static const std::map<AdESForm, int> table{
        {AdESForm::XAdES, SBB::XAdESForm::Basic},
        {AdESForm::XAdES_BES, SBB::XAdESForm::BES},
        {AdESForm::XAdES_T, SBB::XAdESForm::T},
    };
    return table;
}

// Signs with a new handler; the handler leaves the document again when signing fails.
void signWithHandler(SBB::OfficeDocument& document, std::unique_ptr<SBB::OfficeSignatureHandler> owned,
                     SBB::XAdESSigner& signer, const SBB::MemoryCertStorage& certificates) {
    SBB::OfficeSignatureHandler* handler = owned.get();
    const int position = document.addSignature(std::move(owned));
    try {
        handler->addDocument();
        handler->setXAdESProcessor(&signer);
        handler->sign(certificates);
    } catch (...) {
        document.removeSignature(position);
        throw;
    }
}

} // namespace

void signOfficeDocument(SBB::OfficeDocument& document, const SBBCertificateStorage& storage,
                        const SBBSigningKeyStore& keys, const SignOptions& options) {
    SBB::XAdESSigner signer;
    SBB::MemoryCertStorage certificates;
    signer.setXAdESVersion(SBB::XAdESVersion::V1_3_2);
    const auto form = formTable().find(options.form);
    if (form == formTable().end())
        throw SignatureRuntimeError("Undefined XAdES form: {}.", static_cast<int>(options.form));
    signer.setXAdESForm(form->second);
    signer.setOwnSigningCertificates(true);
    signer.setSigningTime(static_cast<std::int64_t>(std::time(nullptr)));

    certificates.clear();
    certificates.add(keys.certificate(), true);
    for (const auto& certificate : storage.store(CertificateType::Intermediate).certificates())
        certificates.add(certificate, false);
    signer.setSigningCertificates(&certificates);

    // The signer only refers to the clients: they live until signing has ended.
    SBB::HTTPSClient http;
    SBB::HTTPTSPClient timestamps;
    if (options.form == AdESForm::XAdES_T) {
        if (!options.timestampServerUrl || options.timestampServerUrl->empty())
            throw SignatureRuntimeError("Signing with timestamp is failed. URL is empty.");
        timestamps.setHTTPClient(&http);
        timestamps.setURL(*options.timestampServerUrl);
        signer.setTSPClient(&timestamps);
    }
    signer.generate();

    if (document.isOpenDocument())
        signWithHandler(document, std::make_unique<SBB::OpenOfficeSignatureHandler>(), signer, certificates);
    else if (document.isOpenXMLDocument())
        throw SBB::SBException(SBB::SBException::Kind::Library, "EElOfficeError",
                               "Office Open XML signing is not available", 0x8020);
    else
        throw SignatureRuntimeError("Unsupported type of the document.");
}

std::optional<SignatureLine> readSignatureLine(SBB::OfficeSignatureHandler&) {
    return std::nullopt;
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
