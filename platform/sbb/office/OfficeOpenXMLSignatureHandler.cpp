#include "platform/sbb/office/OfficeOpenXMLSignatureHandler.h"

#include "platform/sbb/SBException.h"
#include "platform/sbb/office/OfficeDocument.h"
#include "platform/sbb/office/OpcPackage.h"
#include "platform/sbb/office/OpcSignatureParts.h"
#include "platform/sbb/office/RelationshipTransform.h"
#include "platform/sbb/office/XAdESSigner.h"
#include "platform/sbb/office/XmlSignature.h"

#include <fmt/format.h>

namespace SBB {

namespace {

constexpr const char* ObjectType = "http://www.w3.org/2000/09/xmldsig#Object";
constexpr const char* SignedPropertiesType = "http://uri.etsi.org/01903#SignedProperties";
constexpr const char* SignatureId = "idPackageSignature";

[[noreturn]] void fail(const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElOfficeError", message, 0x8040);
}

xmlNode* addElement(xmlNode* parent, const char* name, const char* algorithm = nullptr) {
    xmlNode* node = xmlNewChild(parent, nullptr, BAD_CAST name, nullptr);
    if (algorithm)
        xmlNewProp(node, BAD_CAST "Algorithm", BAD_CAST algorithm);
    return node;
}

xmlNode* addReference(xmlNode* parent, const std::string& uri, const char* type) {
    xmlNode* reference = addElement(parent, "Reference");
    if (type)
        xmlNewProp(reference, BAD_CAST "Type", BAD_CAST type);
    xmlNewProp(reference, BAD_CAST "URI", BAD_CAST uri.c_str());
    return reference;
}

void finishReference(xmlNode* reference) {
    addElement(reference, "DigestMethod", Sha256Uri);
    addElement(reference, "DigestValue");
}

xmlNode* addObject(xmlNode* signature, const char* id) {
    xmlNode* object = addElement(signature, "Object");
    if (id)
        xmlNewProp(object, BAD_CAST "Id", BAD_CAST id);
    return object;
}

xmlNode* addSignatureProperty(xmlNode* object, const char* id) {
    xmlNode* property = addElement(addElement(object, "SignatureProperties"), "SignatureProperty");
    xmlNewProp(property, BAD_CAST "Id", BAD_CAST id);
    xmlNewProp(property, BAD_CAST "Target", BAD_CAST(std::string("#") + SignatureId).c_str());
    return property;
}

void addSignatureTime(xmlNode* object, std::int64_t seconds) {
    xmlNode* property = addSignatureProperty(object, "idSignatureTime");
    xmlNode* time = xmlNewChild(property, nullptr, BAD_CAST "SignatureTime", nullptr);
    xmlNs* ns = xmlNewNs(time, BAD_CAST DigSigNs, BAD_CAST "mdssi");
    xmlSetNs(time, ns);
    xmlNewTextChild(time, ns, BAD_CAST "Format", BAD_CAST "YYYY-MM-DDThh:mm:ssTZD");
    xmlNewTextChild(time, ns, BAD_CAST "Value", BAD_CAST Xml::formatDateTime(seconds).c_str());
}

// The relationship transform selects every relationship but the signature origin's, which later
// signatures may add to and which is no part of the document.
void addRelationshipTransform(xmlNode* reference, const ZipArchive& archive, const std::string& relsPart) {
    xmlNode* transforms = addElement(reference, "Transforms");
    xmlNode* transform = addElement(transforms, "Transform", RelationshipTransformUri);
    xmlNs* ns = xmlNewNs(transform, BAD_CAST DigSigNs, BAD_CAST "mdssi");
    for (const auto& relationship :
         Opc::readRelationships(archive, Opc::sourceOfRelationshipsPart(relsPart))) {
        if (relationship.type == Opc::OriginRelationshipType)
            continue;
        xmlNode* selected = xmlNewChild(transform, ns, BAD_CAST "RelationshipReference", nullptr);
        xmlNewProp(selected, BAD_CAST "SourceId", BAD_CAST relationship.id.c_str());
    }
    addElement(transforms, "Transform", C14NUri);
}

void addImageObject(xmlNode* signature, xmlNode* signedInfo, const char* id,
                    const std::vector<unsigned char>& image) {
    if (image.empty())
        return;
    xmlNode* object = addObject(signature, id);
    xmlNodeSetContent(object, BAD_CAST Xml::base64Encode(image).c_str());
    finishReference(addReference(signedInfo, std::string("#") + id, ObjectType));
}

} // namespace

void OfficeOpenXMLSignatureHandler::writeManifest(xmlNode* object) {
    const auto& archive = _document->archive();
    xmlNode* manifest = addElement(object, "Manifest");
    for (const auto& part : archive.names()) {
        if (part.empty() || part.back() == '/' || part == Opc::ContentTypesPart ||
            part.rfind("_xmlsignatures/", 0) == 0)
            continue;
        xmlNode* reference = addReference(
            manifest, "/" + Xml::escapeUri(part) + "?ContentType=" + Opc::contentTypeOf(archive, part),
            nullptr);
        if (Opc::isRelationshipsPart(part))
            addRelationshipTransform(reference, archive, part);
        finishReference(reference);
    }
}

xmlNode* OfficeOpenXMLSignatureHandler::buildTemplate(xmlDoc* doc, const Certificate& signer) {
    xmlNode* signature = xmlNewDocNode(doc, nullptr, BAD_CAST "Signature", nullptr);
    xmlSetNs(signature, xmlNewNs(signature, BAD_CAST Xml::DSigNs, nullptr));
    xmlDocSetRootElement(doc, signature);
    xmlNewProp(signature, BAD_CAST "Id", BAD_CAST SignatureId);
    xmlNode* signedInfo = addElement(signature, "SignedInfo");
    addElement(signedInfo, "CanonicalizationMethod", C14NUri);
    addElement(signedInfo, "SignatureMethod", signatureMethodFor(signer));
    finishReference(addReference(signedInfo, "#idPackageObject", ObjectType));
    finishReference(addReference(signedInfo, "#idOfficeObject", ObjectType));
    xmlNode* properties = addReference(signedInfo, "#idSignedProperties", SignedPropertiesType);
    addElement(addElement(properties, "Transforms"), "Transform", C14NUri);
    finishReference(properties);
    addElement(signature, "SignatureValue");

    xmlNode* packageObject = addObject(signature, "idPackageObject");
    writeManifest(packageObject);
    addSignatureTime(packageObject, _signer->signingTime());
    xmlNode* officeObject = addObject(signature, "idOfficeObject");
    _info.included = true;
    writeSignatureInfoV1(addSignatureProperty(officeObject, "idOfficeV1Details"), _info);
    _signer->writeQualifyingProperties(addObject(signature, nullptr), SignatureId, "idSignedProperties");
    addImageObject(signature, signedInfo, "idValidSigLnImg", _info.validSignatureLnImage);
    addImageObject(signature, signedInfo, "idInvalidSigLnImg", _info.invalidSignatureLnImage);
    Xml::registerIds(signature);
    return signature;
}

void OfficeOpenXMLSignatureHandler::sign(const MemoryCertStorage& certificates) {
    if (!_document || !_coversDocument)
        fail("the signature handler covers no document");
    if (!_signer || !_signer->generated())
        fail("the signature handler has no XAdES data");
    if (_signature)
        fail("the signature handler has signed already");
    if (certificates.count() == 0 || !certificates.certificate(0).privateKeyExists())
        fail("no signing certificate with a private key");
    const Certificate& signer = certificates.certificate(0);
    auto& archive = _document->archive();
    const auto part = Opc::prepareSignaturePart(archive);
    Xml::DocPtr doc(xmlNewDoc(BAD_CAST "1.0"));
    xmlNode* signature = buildTemplate(doc.get(), signer);
    {
        Xml::EntryResolverScope scope(
            [&archive](const std::string& uri) { return archive.read(Opc::partNameOfUri(uri)); });
        digestManifest(
            Xml::firstChild(Xml::firstChild(signature, Xml::DSigNs, "Object"), Xml::DSigNs, "Manifest"));
        signTemplate(signature, signer);
        if (_signer->completeSignature(signature) != 0)
            fail(fmt::format("the time-stamp was refused: {}", _signer->timestampFailure()));
    }
    xmlNode* keyInfo = xmlNewNode(signature->ns, BAD_CAST "KeyInfo");
    xmlAddNextSibling(Xml::firstChild(signature, Xml::DSigNs, "SignatureValue"), keyInfo);
    xmlNode* data = addElement(keyInfo, "X509Data");
    for (const auto& certificate : certificates.certificates())
        xmlNewTextChild(data, nullptr, BAD_CAST "X509Certificate",
                        BAD_CAST Xml::base64Encode(certificate.der()).c_str());
    archive.write(part, Xml::serialize(doc.get()));
    Opc::registerSignaturePart(archive, part);
    _partName = part;
    _signature = std::move(doc);
}

} // namespace SBB
