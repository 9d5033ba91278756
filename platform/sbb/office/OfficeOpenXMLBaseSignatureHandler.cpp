#include "platform/sbb/office/OfficeOpenXMLBaseSignatureHandler.h"

#include "platform/sbb/SBException.h"
#include "platform/sbb/office/OfficeDocument.h"
#include "platform/sbb/office/OpcPackage.h"
#include "platform/sbb/office/RelationshipTransform.h"
#include "platform/sbb/office/XmlSignature.h"

#include <set>

namespace SBB {

namespace {

Xml::EntryResolverScope::Resolver partResolver(const ZipArchive& archive) {
    return [&archive](const std::string& uri) { return archive.read(Opc::partNameOfUri(uri)); };
}

xmlNode* findManifest(xmlNode* signature) {
    for (xmlNode* object : Xml::children(signature, Xml::DSigNs, "Object"))
        if (xmlNode* manifest = Xml::firstChild(object, Xml::DSigNs, "Manifest"))
            return manifest;
    return nullptr;
}

xmlNode* relationshipTransformOf(xmlNode* reference) {
    for (xmlNode* transform :
         Xml::children(Xml::firstChild(reference, Xml::DSigNs, "Transforms"), Xml::DSigNs, "Transform"))
        if (Xml::attribute(transform, "Algorithm") == RelationshipTransformUri)
            return transform;
    return nullptr;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

OfficeOpenXMLBaseSignatureHandler::OfficeOpenXMLBaseSignatureHandler(std::string partName,
                                                                     Xml::DocPtr signature)
    : _partName(std::move(partName)), _signature(std::move(signature)) {
    _info = readSignatureInfoV1(signatureNode());
}

void OfficeOpenXMLBaseSignatureHandler::sign(const MemoryCertStorage&) {
    throw SBException(SBException::Kind::Library, "EElOfficeError", "this signature handler only reads",
                      0x8030);
}

void OfficeOpenXMLBaseSignatureHandler::collectUnsignedParts() {
    const auto& archive = _document->archive();
    std::set<std::string> covered, related;
    for (const auto& entry : _entries)
        covered.insert(entry.name);
    // Signers choose which parts they sign (Office leaves out document properties, custom XML and
    // more); a part that nothing in the package refers to can only have been slipped in.
    for (const auto& part : archive.names())
        if (Opc::isRelationshipsPart(part)) {
            const auto source = Opc::sourceOfRelationshipsPart(part);
            std::vector<Opc::Relationship> relationships;
            try {
                relationships = Opc::readRelationships(archive, source);
            } catch (const SBException&) {
                // A damaged relationship part fails its own reference; it names nothing.
            }
            for (const auto& relationship : relationships)
                if (!relationship.external)
                    related.insert(Opc::resolveTarget(source, relationship.target));
        }
    for (const auto& part : archive.names()) {
        if (part.empty() || part.back() == '/' || covered.count(part) || related.count(part) ||
            part == Opc::ContentTypesPart || startsWith(part, "_xmlsignatures/"))
            continue;
        if (Opc::isRelationshipsPart(part)) {
            const auto source = Opc::sourceOfRelationshipsPart(part);
            if (source.empty() || covered.count(source) || related.count(source) || archive.contains(source))
                continue;
        }
        _entries.push_back({part, EntryStatus::NotSigned});
    }
}

int OfficeOpenXMLBaseSignatureHandler::validate() {
    _entries.clear();
    xmlNode* signature = signatureNode();
    if (!signature || !_document)
        return SignatureValidationResult::NotSigned;
    SignatureCheck check;
    {
        Xml::EntryResolverScope scope(partResolver(_document->archive()));
        check = checkSignature(signature);
        xmlNode* manifest = findManifest(signature);
        const auto references =
            manifest ? checkManifestReferences(signature, manifest) : std::vector<ReferenceCheck>{};
        const auto nodes = Xml::children(manifest, Xml::DSigNs, "Reference");
        for (std::size_t i = 0; i < references.size() && i < nodes.size(); ++i) {
            const auto name = Opc::partNameOfUri(references[i].uri);
            int status = references[i].outcome;
            if (relationshipTransformOf(nodes[i]) && status == ReferenceOutcome::DigestMismatch)
                status = EntryStatus::RelationshipsInvalid;
            _entries.push_back({name, status});
        }
    }
    collectUnsignedParts();
    _certificates = carriedCertificates(signature);
    _signerCertificate = check.signer;
    bool ownReferencesValid = true;
    for (const auto& reference : check.references)
        ownReferencesValid = ownReferencesValid && reference.outcome == ReferenceOutcome::Valid;
    if (_certificates.count() == 0)
        return SignatureValidationResult::NoCertificate;
    if (!check.signatureValueValid || !ownReferencesValid || !findManifest(signature) ||
        !signatureTimeStampsMatch(signature))
        return SignatureValidationResult::SignatureInvalid;
    for (const auto& entry : _entries)
        if (entry.status != EntryStatus::Valid)
            return SignatureValidationResult::EntriesInvalid;
    return SignatureValidationResult::Valid;
}

std::int64_t OfficeOpenXMLBaseSignatureHandler::signatureTime() const {
    xmlNode* signature = signatureNode();
    for (xmlNode* time : Xml::descendantsByLocalName(signature, "SignatureTime"))
        for (xmlNode* value = time->children; value; value = value->next)
            if (Xml::hasLocalName(value, "Value"))
                if (const auto seconds = Xml::parseDateTime(Xml::text(value)))
                    return *seconds;
    for (xmlNode* time : Xml::descendantsByLocalName(signature, "SigningTime"))
        if (const auto seconds = Xml::parseDateTime(Xml::text(time)))
            return *seconds;
    return 0;
}

} // namespace SBB
