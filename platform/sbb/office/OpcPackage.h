#pragma once

// Part names, relationships and content types of Open Packaging Conventions packages (ECMA-376
// part 2). Part names here have no leading "/".

#include "platform/sbb/office/ZipArchive.h"

#include <string>
#include <vector>

namespace SBB::Opc {

constexpr const char* OriginRelationshipType =
    "http://schemas.openxmlformats.org/package/2006/relationships/digital-signature/origin";
constexpr const char* SignatureRelationshipType =
    "http://schemas.openxmlformats.org/package/2006/relationships/digital-signature/signature";
constexpr const char* ContentTypesPart = "[Content_Types].xml";
constexpr const char* ContentTypesNs = "http://schemas.openxmlformats.org/package/2006/content-types";

struct Relationship {
    std::string id;
    std::string type;
    std::string target;
    bool external = false;
};

// "" (the package) gives "_rels/.rels"; "word/document.xml" gives "word/_rels/document.xml.rels".
std::string relationshipsPartOf(const std::string& source);
bool isRelationshipsPart(const std::string& part);
// The part a relationship part belongs to ("" for the package); the name itself when it is none.
std::string sourceOfRelationshipsPart(const std::string& part);
// A relationship's target resolved against its source part.
std::string resolveTarget(const std::string& source, const std::string& target);
// The relationships of source; empty when it has none. Throws SBException for malformed XML.
std::vector<Relationship> readRelationships(const ZipArchive& archive, const std::string& source);
// From [Content_Types].xml: the override for the part, else the default of its extension.
std::string contentTypeOf(const ZipArchive& archive, const std::string& part);
// "/word/document.xml" and "word/document.xml?ContentType=..." both give "word/document.xml".
std::string partNameOfUri(const std::string& uri);

} // namespace SBB::Opc
