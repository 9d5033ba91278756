#include "platform/sbb/office/RelationshipTransform.h"

#include "platform/sbb/office/XmlSupport.h"

#include <algorithm>
#include <xmlsec/buffer.h>
#include <xmlsec/errors.h>
#include <xmlsec/list.h>
#include <xmlsec/transforms.h>

namespace SBB {

namespace {

struct Relationship {
    std::string id, type, target, mode;
};

RelationshipSelection*& selectionOf(xmlSecTransformPtr transform) {
    return *reinterpret_cast<RelationshipSelection**>(reinterpret_cast<xmlSecByte*>(transform) +
                                                      sizeof(xmlSecTransform));
}

int initialize(xmlSecTransformPtr transform) {
    selectionOf(transform) = new RelationshipSelection();
    return 0;
}

void finalize(xmlSecTransformPtr transform) {
    delete selectionOf(transform);
    selectionOf(transform) = nullptr;
}

int readNode(xmlSecTransformPtr transform, xmlNodePtr node, xmlSecTransformCtxPtr) {
    *selectionOf(transform) = readSelection(node);
    return 0;
}

// Collects the whole part, then hands on its transformed form.
int execute(xmlSecTransformPtr transform, int last, xmlSecTransformCtxPtr) {
    if (transform->status == xmlSecTransformStatusNone)
        transform->status = xmlSecTransformStatusWorking;
    if (transform->status != xmlSecTransformStatusWorking || !last)
        return 0;
    xmlSecBufferPtr in = &transform->inBuf;
    const xmlSecByte* data = xmlSecBufferGetData(in);
    std::vector<unsigned char> part(data, data + xmlSecBufferGetSize(in));
    std::vector<unsigned char> out;
    try {
        out = transformRelationships(part, *selectionOf(transform));
    } catch (const std::exception&) {
        return -1;
    }
    if (xmlSecBufferAppend(&transform->outBuf, out.data(), static_cast<xmlSecSize>(out.size())) < 0 ||
        xmlSecBufferRemoveHead(in, xmlSecBufferGetSize(in)) < 0)
        return -1;
    transform->status = xmlSecTransformStatusFinished;
    return 0;
}

xmlSecTransformKlass relationshipKlass = {
    sizeof(xmlSecTransformKlass),
    sizeof(xmlSecTransform) + sizeof(RelationshipSelection*),
    BAD_CAST "opc-relationship-transform",
    BAD_CAST RelationshipTransformUri,
    xmlSecTransformUsageDSigTransform,
    initialize,
    finalize,
    readNode,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    xmlSecTransformDefaultGetDataType,
    xmlSecTransformDefaultPushBin,
    xmlSecTransformDefaultPopBin,
    nullptr,
    nullptr,
    execute,
    nullptr,
    nullptr,
};

} // namespace

RelationshipSelection readSelection(xmlNode* transform) {
    RelationshipSelection selection;
    for (xmlNode* child = transform ? transform->children : nullptr; child; child = child->next) {
        if (Xml::hasLocalName(child, "RelationshipReference"))
            selection.ids.insert(Xml::attribute(child, "SourceId"));
        else if (Xml::hasLocalName(child, "RelationshipsGroupReference"))
            selection.types.insert(Xml::attribute(child, "SourceType"));
    }
    return selection;
}

std::vector<unsigned char> transformRelationships(const std::vector<unsigned char>& part,
                                                  const RelationshipSelection& selection) {
    const auto source = Xml::parse(part);
    std::vector<Relationship> kept;
    for (xmlNode* node = xmlDocGetRootElement(source.get())->children; node; node = node->next) {
        if (!Xml::is(node, RelationshipsNs, "Relationship"))
            continue;
        Relationship relationship{Xml::attribute(node, "Id"), Xml::attribute(node, "Type"),
                                  Xml::attribute(node, "Target"), Xml::attribute(node, "TargetMode")};
        if (relationship.mode.empty())
            relationship.mode = "Internal";
        if (selection.selects(relationship.id, relationship.type))
            kept.push_back(std::move(relationship));
    }
    std::sort(kept.begin(), kept.end(),
              [](const Relationship& a, const Relationship& b) { return a.id < b.id; });
    Xml::DocPtr result(xmlNewDoc(BAD_CAST "1.0"));
    xmlNode* root = xmlNewDocNode(result.get(), nullptr, BAD_CAST "Relationships", nullptr);
    xmlSetNs(root, xmlNewNs(root, BAD_CAST RelationshipsNs, nullptr));
    xmlDocSetRootElement(result.get(), root);
    for (const auto& relationship : kept) {
        xmlNode* node = xmlNewChild(root, nullptr, BAD_CAST "Relationship", nullptr);
        xmlNewProp(node, BAD_CAST "Id", BAD_CAST relationship.id.c_str());
        xmlNewProp(node, BAD_CAST "Target", BAD_CAST relationship.target.c_str());
        xmlNewProp(node, BAD_CAST "TargetMode", BAD_CAST relationship.mode.c_str());
        xmlNewProp(node, BAD_CAST "Type", BAD_CAST relationship.type.c_str());
    }
    return Xml::serialize(result.get());
}

void registerRelationshipTransform() {
    // xmlsec1 1.2.37 brings a transform for this algorithm that keeps the white space between the
    // relationships, so a pretty-printed relationship part digests differently from what the
    // standard (and Office) computes: ours takes its place.
    xmlSecPtrListPtr ids = xmlSecTransformIdsGet();
    for (xmlSecSize i = 0; i < xmlSecPtrListGetSize(ids); ++i) {
        auto id = static_cast<xmlSecTransformId>(xmlSecPtrListGetItem(ids, i));
        if (id && id->href && xmlStrEqual(id->href, BAD_CAST RelationshipTransformUri)) {
            xmlSecPtrListSet(ids, const_cast<void*>(static_cast<const void*>(&relationshipKlass)), i);
            return;
        }
    }
    xmlSecTransformIdsRegister(&relationshipKlass);
}

} // namespace SBB
