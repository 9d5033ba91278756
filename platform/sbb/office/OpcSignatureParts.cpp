#include "platform/sbb/office/OpcSignatureParts.h"

#include "platform/sbb/office/OpcPackage.h"
#include "platform/sbb/office/RelationshipTransform.h"
#include "platform/sbb/office/XmlSupport.h"

namespace SBB::Opc {

namespace {

constexpr const char* OriginPart = "_xmlsignatures/origin.sigs";

Xml::DocPtr relationshipsDocument(const ZipArchive& archive, const std::string& relsPart) {
    if (const auto bytes = archive.read(relsPart))
        return Xml::parse(*bytes);
    Xml::DocPtr doc(xmlNewDoc(BAD_CAST "1.0"));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, BAD_CAST "Relationships", nullptr);
    xmlSetNs(root, xmlNewNs(root, BAD_CAST RelationshipsNs, nullptr));
    xmlDocSetRootElement(doc.get(), root);
    return doc;
}

std::string freeId(xmlNode* root, const std::string& prefix) {
    for (int n = 1;; ++n) {
        const auto id = prefix + std::to_string(n);
        bool taken = false;
        for (xmlNode* node : Xml::children(root, RelationshipsNs, "Relationship"))
            taken = taken || Xml::attribute(node, "Id") == id;
        if (!taken)
            return id;
    }
}

void addRelationship(ZipArchive& archive, const std::string& source, const char* type,
                     const std::string& target) {
    const auto relsPart = relationshipsPartOf(source);
    auto doc = relationshipsDocument(archive, relsPart);
    xmlNode* root = xmlDocGetRootElement(doc.get());
    xmlNode* node = xmlNewChild(root, root->ns, BAD_CAST "Relationship", nullptr);
    xmlNewProp(node, BAD_CAST "Id", BAD_CAST freeId(root, "rIdSig").c_str());
    xmlNewProp(node, BAD_CAST "Type", BAD_CAST type);
    xmlNewProp(node, BAD_CAST "Target", BAD_CAST target.c_str());
    archive.write(relsPart, Xml::serialize(doc.get()));
}

// Drops the relationships of source whose resolved target is part; true when some were there.
bool removeRelationshipsTo(ZipArchive& archive, const std::string& source, const std::string& part) {
    const auto relsPart = relationshipsPartOf(source);
    const auto bytes = archive.read(relsPart);
    if (!bytes)
        return false;
    auto doc = Xml::parse(*bytes);
    bool removed = false;
    for (xmlNode* node : Xml::children(xmlDocGetRootElement(doc.get()), RelationshipsNs, "Relationship"))
        if (Xml::attribute(node, "TargetMode") != "External" &&
            resolveTarget(source, Xml::attribute(node, "Target")) == part) {
            xmlUnlinkNode(node);
            xmlFreeNode(node);
            removed = true;
        }
    if (removed)
        archive.write(relsPart, Xml::serialize(doc.get()));
    return removed;
}

// Adds (or with an empty contentType removes) an Override or Default in [Content_Types].xml.
void setContentType(ZipArchive& archive, const char* element, const char* key, const std::string& value,
                    const std::string& contentType) {
    const auto bytes = archive.read(ContentTypesPart);
    if (!bytes)
        return;
    auto doc = Xml::parse(*bytes);
    xmlNode* root = xmlDocGetRootElement(doc.get());
    for (xmlNode* node : Xml::children(root, ContentTypesNs, element))
        if (Xml::attribute(node, key) == value) {
            if (!contentType.empty())
                return;
            xmlUnlinkNode(node);
            xmlFreeNode(node);
        }
    if (!contentType.empty()) {
        xmlNode* node = xmlNewChild(root, root->ns, BAD_CAST element, nullptr);
        xmlNewProp(node, BAD_CAST key, BAD_CAST value.c_str());
        xmlNewProp(node, BAD_CAST "ContentType", BAD_CAST contentType.c_str());
    }
    archive.write(ContentTypesPart, Xml::serialize(doc.get()));
}

std::string originOf(const ZipArchive& archive) {
    for (const auto& relationship : readRelationships(archive, ""))
        if (relationship.type == OriginRelationshipType && !relationship.external)
            return resolveTarget("", relationship.target);
    return {};
}

} // namespace

std::string prepareSignaturePart(ZipArchive& archive) {
    if (originOf(archive).empty()) {
        archive.write(OriginPart, {});
        addRelationship(archive, "", OriginRelationshipType, OriginPart);
        setContentType(archive, "Default", "Extension", "sigs", OriginContentType);
    }
    for (int n = 1;; ++n) {
        const auto part = "_xmlsignatures/sig" + std::to_string(n) + ".xml";
        if (!archive.contains(part))
            return part;
    }
}

void registerSignaturePart(ZipArchive& archive, const std::string& part) {
    const auto origin = originOf(archive);
    addRelationship(archive, origin, SignatureRelationshipType, "/" + part);
    setContentType(archive, "Override", "PartName", "/" + part, SignatureContentType);
}

void removeSignaturePart(ZipArchive& archive, const std::string& part) {
    archive.remove(part);
    setContentType(archive, "Override", "PartName", "/" + part, "");
    const auto origin = originOf(archive);
    if (origin.empty())
        return;
    removeRelationshipsTo(archive, origin, part);
    bool signaturesLeft = false;
    for (const auto& relationship : readRelationships(archive, origin))
        signaturesLeft = signaturesLeft || relationship.type == SignatureRelationshipType;
    if (signaturesLeft)
        return;
    archive.remove(origin);
    archive.remove(relationshipsPartOf(origin));
    removeRelationshipsTo(archive, "", origin);
}

} // namespace SBB::Opc
