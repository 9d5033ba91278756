#include "platform/sbb/office/OpenOfficeSignatureHandler.h"

#include "platform/sbb/SBException.h"
#include "platform/sbb/office/OfficeDocument.h"
#include "platform/sbb/office/XAdESSigner.h"
#include "platform/sbb/office/XmlSignature.h"
#include "platform/sbb/office/XmlSupport.h"

#include <algorithm>
#include <fmt/format.h>
#include <openssl/rand.h>

namespace SBB {

namespace {

constexpr const char* DcNs = "http://purl.org/dc/elements/1.1/";
constexpr const char* SignedPropertiesType = "http://uri.etsi.org/01903#SignedProperties";

[[noreturn]] void fail(const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElOfficeError", message, 0x8010);
}

std::string newId() {
    unsigned char random[16];
    if (RAND_bytes(random, sizeof random) != 1)
        fail("no random data for the signature identifier");
    std::string id = "ID_";
    for (const unsigned char byte : random)
        id += fmt::format("{:02x}", byte);
    return id;
}

xmlNode* addElement(xmlNode* parent, const char* name, const char* algorithm = nullptr) {
    xmlNode* node = xmlNewChild(parent, nullptr, BAD_CAST name, nullptr);
    if (algorithm)
        xmlNewProp(node, BAD_CAST "Algorithm", BAD_CAST algorithm);
    return node;
}

void addReference(xmlNode* signedInfo, const std::string& uri, const char* type, bool canonical) {
    xmlNode* reference = addElement(signedInfo, "Reference");
    xmlNewProp(reference, BAD_CAST "URI", BAD_CAST uri.c_str());
    if (type)
        xmlNewProp(reference, BAD_CAST "Type", BAD_CAST type);
    if (canonical)
        addElement(addElement(reference, "Transforms"), "Transform", C14NUri);
    addElement(reference, "DigestMethod", Sha256Uri);
    addElement(reference, "DigestValue");
}

Xml::EntryResolverScope::Resolver archiveResolver(ZipArchive& archive) {
    return [&archive](const std::string& name) { return archive.read(name); };
}

} // namespace

bool isExemptFromDocumentSignature(const std::string& name, bool legacySignature) {
    if (name.empty() || name.back() == '/' || name == DocumentSignaturesEntry)
        return true;
    // Suites before ODF 1.2 signed the content streams only: no media type, manifest, user
    // interface configuration or thumbnail.
    const auto under = [&name](const char* folder) { return name.rfind(folder, 0) == 0; };
    return legacySignature &&
           (name == "mimetype" || under("META-INF/") || under("Configurations2/") || under("Thumbnails/"));
}

xmlNode* OpenOfficeSignatureHandler::buildTemplate(xmlNode* root, const Certificate& signer,
                                                   const std::string& id) {
    xmlNode* signature = xmlNewChild(root, nullptr, BAD_CAST "Signature", nullptr);
    xmlSetNs(signature, xmlNewNs(signature, BAD_CAST Xml::DSigNs, nullptr));
    xmlNewProp(signature, BAD_CAST "Id", BAD_CAST id.c_str());
    xmlNode* signedInfo = addElement(signature, "SignedInfo");
    addElement(signedInfo, "CanonicalizationMethod", C14NUri);
    addElement(signedInfo, "SignatureMethod", signatureMethodFor(signer));
    for (const auto& name : _document->archive().names())
        if (!name.empty() && name.back() != '/' && name != DocumentSignaturesEntry)
            addReference(signedInfo, Xml::escapeUri(name), nullptr, false);
    const std::string propertiesId = id + "_SignedProperties";
    addReference(signedInfo, "#" + propertiesId, SignedPropertiesType, true);
    addElement(signature, "SignatureValue");
    xmlNode* object = addElement(signature, "Object");
    _signer->writeQualifyingProperties(object, id, propertiesId);
    Xml::registerIds(signature);
    return signature;
}

void OpenOfficeSignatureHandler::sign(const MemoryCertStorage& certificates) {
    if (!_document || !_coversDocument)
        fail("the signature handler covers no document");
    if (!_signer || !_signer->generated())
        fail("the signature handler has no XAdES data");
    if (_signature)
        fail("the signature handler has signed already");
    if (certificates.count() == 0 || !certificates.certificate(0).privateKeyExists())
        fail("no signing certificate with a private key");
    const Certificate& signer = certificates.certificate(0);
    xmlNode* root = xmlDocGetRootElement(_document->openDocumentSignatures());
    xmlNode* signature = buildTemplate(root, signer, newId());
    try {
        Xml::EntryResolverScope scope(archiveResolver(_document->archive()));
        signTemplate(signature, signer);
        if (_signer->completeSignature(signature) != 0)
            fail(fmt::format("the time-stamp was refused: {}", _signer->timestampFailure()));
    } catch (...) {
        xmlUnlinkNode(signature);
        xmlFreeNode(signature);
        throw;
    }
    // KeyInfo belongs right after the signature value, before the objects.
    xmlNode* keyInfo = xmlNewNode(signature->ns, BAD_CAST "KeyInfo");
    xmlAddNextSibling(Xml::firstChild(signature, Xml::DSigNs, "SignatureValue"), keyInfo);
    xmlNode* data = addElement(keyInfo, "X509Data");
    for (const auto& certificate : certificates.certificates())
        xmlNewTextChild(data, nullptr, BAD_CAST "X509Certificate",
                        BAD_CAST Xml::base64Encode(certificate.der()).c_str());
    _signature = signature;
    _document->markSignaturesChanged();
}

void OpenOfficeSignatureHandler::collectUnsignedEntries(const std::vector<std::string>& covered) {
    // ODF 1.2 signatures cover the manifest (and every other entry); older ones never do. The test
    // rests on what the signature signed, not on the unsigned root element of the signature file.
    const bool legacy = std::find(covered.begin(), covered.end(), "META-INF/manifest.xml") == covered.end();
    for (const auto& name : _document->archive().names())
        if (!isExemptFromDocumentSignature(name, legacy) &&
            std::find(covered.begin(), covered.end(), name) == covered.end())
            _entries.push_back({name, EntryStatus::NotSigned});
}

int OpenOfficeSignatureHandler::validate() {
    _entries.clear();
    if (!_signature || !_document)
        return SignatureValidationResult::NotSigned;
    SignatureCheck check;
    {
        Xml::EntryResolverScope scope(archiveResolver(_document->archive()));
        check = checkSignature(_signature);
    }
    _certificates = carriedCertificates(_signature);
    _signerCertificate = check.signer;
    bool ownReferencesValid = true;
    std::vector<std::string> covered;
    for (const auto& reference : check.references) {
        if (reference.sameDocument) {
            ownReferencesValid = ownReferencesValid && reference.outcome == ReferenceOutcome::Valid;
            continue;
        }
        const auto name = Xml::unescapeUri(reference.uri);
        covered.push_back(name);
        covered.push_back(reference.uri);
        _entries.push_back({name, reference.outcome});
    }
    collectUnsignedEntries(covered);
    if (_certificates.count() == 0)
        return SignatureValidationResult::NoCertificate;
    if (!check.signatureValueValid || !ownReferencesValid || !signatureTimeStampsMatch(_signature))
        return SignatureValidationResult::SignatureInvalid;
    for (const auto& entry : _entries)
        if (entry.status != EntryStatus::Valid)
            return SignatureValidationResult::EntriesInvalid;
    return SignatureValidationResult::Valid;
}

std::int64_t OpenOfficeSignatureHandler::signatureTime() const {
    if (!_signature)
        return 0;
    for (xmlNode* object : Xml::children(_signature, Xml::DSigNs, "Object")) {
        for (xmlNode* time : Xml::descendantsByLocalName(object, "SigningTime"))
            if (const auto seconds = Xml::parseDateTime(Xml::text(time)))
                return *seconds;
        for (xmlNode* date : Xml::descendantsByLocalName(object, "date"))
            if (date->ns && xmlStrEqual(date->ns->href, BAD_CAST DcNs))
                if (const auto seconds = Xml::parseDateTime(Xml::text(date)))
                    return *seconds;
    }
    return 0;
}

} // namespace SBB
