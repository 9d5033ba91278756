#include "signature/sbb/XAdESSigning.h"

#include "core/Errors.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/http/HTTPSClient.h"
#include "platform/sbb/office/OfficeOpenXMLSignatureHandler.h"
#include "platform/sbb/office/OpenOfficeSignatureHandler.h"
#include "platform/sbb/office/XAdESSigner.h"
#include "platform/sbb/tsp/HTTPTSPClient.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <boost/uuid/nil_generator.hpp>
#include <boost/uuid/string_generator.hpp>
#include <boost/uuid/uuid_io.hpp>
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

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
std::string setupIdOf(const SignatureLine& line) {
    return "{" + boost::uuids::to_string(line.id) + "}";
}

void fillSignatureInfo(SBB::SignatureInfoV1& info, const SignatureLine& line, const std::string& setupId) {
    info.included = true;
    info.setupID = setupId;
    info.colorDepth = line.colorDepth;
    info.horizontalResolution = line.horizontalResolution;
    info.verticalResolution = line.verticalResolution;
    info.signatureImage.assign(line.image.begin(), line.image.end());
    info.signatureComments = line.comments;
    info.signatureText = line.text;
    info.signatureType = line.type == 1 ? 2 : 1;
    info.validSignatureLnImage.assign(line.validImage.begin(), line.validImage.end());
    info.invalidSignatureLnImage.assign(line.invalidImage.begin(), line.invalidImage.end());
    info.delegateSuggestedSigner = line.suggestedSigner;
    info.delegateSuggestedSigner2 = line.suggestedSigner2;
    info.delegateSuggestedSignerEmail = line.suggestedSignerEmail;
}

void attachSignatureLine(SBB::OfficeDocument& document, SBB::OfficeOpenXMLSignatureHandler& handler,
                         const SignatureLine& line) {
    const auto setupId = setupIdOf(line);
    document.addSignatureLine(setupId);
    SBB::SignatureLine* found = nullptr;
    for (int i = 0; i < document.signatureLineCount() && !found; ++i)
        if (document.signatureLine(i)->id == setupId)
            found = document.signatureLine(i);
    if (!found)
        throw SignatureRuntimeError("Can't get signature object by ID.");
    fillSignatureInfo(handler.signatureInfoV1(), line, setupId);
    found->signatureHandler = &handler;
}

// Signs with a new handler; the handler leaves the document again when signing fails.
template <typename Handler, typename Prepare>
void signWithHandler(SBB::OfficeDocument& document, SBB::XAdESSigner& signer,
                     const SBB::MemoryCertStorage& certificates, Prepare prepare) {
    auto owned = std::make_unique<Handler>();
    Handler* handler = owned.get();
    const int position = document.addSignature(std::move(owned));
    try {
        handler->addDocument();
        prepare(*handler);
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
        signWithHandler<SBB::OpenOfficeSignatureHandler>(document, signer, certificates, [](auto&) {});
    else if (document.isOpenXMLDocument())
        signWithHandler<SBB::OfficeOpenXMLSignatureHandler>(
            document, signer, certificates, [&](auto& handler) {
                if (options.signatureLine)
                    attachSignatureLine(document, handler, *options.signatureLine);
            });
    else
        throw SignatureRuntimeError("Unsupported type of the document.");
}

std::optional<SignatureLine> readSignatureLine(SBB::OfficeSignatureHandler& handler) {
    auto* officeOpenXML = dynamic_cast<SBB::OfficeOpenXMLBaseSignatureHandler*>(&handler);
    if (!officeOpenXML || officeOpenXML->signatureInfoV1().setupID.empty())
        return std::nullopt;
    const auto& info = officeOpenXML->signatureInfoV1();
    SignatureLine line;
    std::string id = info.setupID;
    if (id.size() > 2 && id.front() == '{' && id.back() == '}')
        id = id.substr(1, id.size() - 2);
    try {
        line.id = boost::uuids::string_generator()(id);
    } catch (const std::runtime_error&) {
        line.id = boost::uuids::nil_uuid();
    }
    line.colorDepth = info.colorDepth;
    line.horizontalResolution = info.horizontalResolution;
    line.verticalResolution = info.verticalResolution;
    line.image.assign(info.signatureImage.begin(), info.signatureImage.end());
    line.comments = info.signatureComments;
    line.text = info.signatureText;
    line.type = info.signatureType == 2 ? 1 : 0;
    line.validImage.assign(info.validSignatureLnImage.begin(), info.validSignatureLnImage.end());
    line.invalidImage.assign(info.invalidSignatureLnImage.begin(), info.invalidSignatureLnImage.end());
    line.suggestedSigner = info.delegateSuggestedSigner;
    line.suggestedSigner2 = info.delegateSuggestedSigner2;
    line.suggestedSignerEmail = info.delegateSuggestedSignerEmail;
    return line;
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
