#include "platform/sbb/office/OpcPackage.h"

#include "platform/sbb/office/RelationshipTransform.h"
#include "platform/sbb/office/XmlSupport.h"

#include <algorithm>
#include <cctype>

namespace SBB::Opc {

std::string relationshipsPartOf(const std::string& source) {
    const auto slash = source.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : source.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    return folder + "_rels/" + name + ".rels";
}

bool isRelationshipsPart(const std::string& part) {
    const auto at = part.rfind("_rels/");
    return at != std::string::npos && (at == 0 || part[at - 1] == '/') && part.size() > 5 &&
           part.compare(part.size() - 5, 5, ".rels") == 0 && part.find('/', at + 6) == std::string::npos;
}

std::string sourceOfRelationshipsPart(const std::string& part) {
    if (!isRelationshipsPart(part))
        return part;
    const auto at = part.rfind("_rels/");
    return part.substr(0, at) + part.substr(at + 6, part.size() - at - 6 - 5);
}

std::string resolveTarget(const std::string& source, const std::string& target) {
    std::string path;
    if (!target.empty() && target.front() == '/') {
        path = target.substr(1);
    } else {
        const auto slash = source.rfind('/');
        path = (slash == std::string::npos ? "" : source.substr(0, slash + 1)) + target;
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const auto segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const auto& segment : segments)
        resolved += (resolved.empty() ? "" : "/") + segment;
    return Xml::unescapeUri(resolved);
}

std::vector<Relationship> readRelationships(const ZipArchive& archive, const std::string& source) {
    std::vector<Relationship> relationships;
    const auto bytes = archive.read(relationshipsPartOf(source));
    if (!bytes)
        return relationships;
    const auto doc = Xml::parse(*bytes);
    for (xmlNode* node : Xml::children(xmlDocGetRootElement(doc.get()), RelationshipsNs, "Relationship"))
        relationships.push_back({Xml::attribute(node, "Id"), Xml::attribute(node, "Type"),
                                 Xml::attribute(node, "Target"),
                                 Xml::attribute(node, "TargetMode") == "External"});
    return relationships;
}

std::string contentTypeOf(const ZipArchive& archive, const std::string& part) {
    const auto bytes = archive.read(ContentTypesPart);
    if (!bytes)
        return {};
    const auto doc = Xml::parse(*bytes);
    xmlNode* root = xmlDocGetRootElement(doc.get());
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    for (xmlNode* node : Xml::children(root, ContentTypesNs, "Override"))
        if (lower(Xml::attribute(node, "PartName")) == lower("/" + part))
            return Xml::attribute(node, "ContentType");
    const auto dot = part.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : lower(part.substr(dot + 1));
    for (xmlNode* node : Xml::children(root, ContentTypesNs, "Default"))
        if (lower(Xml::attribute(node, "Extension")) == extension)
            return Xml::attribute(node, "ContentType");
    return {};
}

std::string partNameOfUri(const std::string& uri) {
    std::string name = uri.substr(0, uri.find('?'));
    if (!name.empty() && name.front() == '/')
        name.erase(0, 1);
    return Xml::unescapeUri(name);
}

} // namespace SBB::Opc
