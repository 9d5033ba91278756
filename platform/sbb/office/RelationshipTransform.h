#pragma once

// The OPC Relationship Transform (ECMA-376 part 2, 13.2.4.24): it keeps the relationships a
// signature selects by Id or by type, sorted by Id, with TargetMode made explicit, so that a signed
// relationship part survives reformatting and unrelated additions. xmlsec1's own transform of that
// name keeps the white space between relationships; this one takes its place.

#include <libxml/tree.h>
#include <set>
#include <string>
#include <vector>

namespace SBB {

constexpr const char* RelationshipTransformUri =
    "http://schemas.openxmlformats.org/package/2006/RelationshipTransform";
constexpr const char* RelationshipsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* DigSigNs = "http://schemas.openxmlformats.org/package/2006/digital-signature";

struct RelationshipSelection {
    std::set<std::string> ids;
    std::set<std::string> types;
    bool selects(const std::string& id, const std::string& type) const {
        return ids.count(id) > 0 || types.count(type) > 0;
    }
};

// The selection a ds:Transform element of this algorithm names.
RelationshipSelection readSelection(xmlNode* transform);
// What the transform makes of a relationship part (before canonicalisation).
std::vector<unsigned char> transformRelationships(const std::vector<unsigned char>& part,
                                                  const RelationshipSelection& selection);

// Makes the transform known to xmlsec1; called once with its initialisation.
void registerRelationshipTransform();

} // namespace SBB
