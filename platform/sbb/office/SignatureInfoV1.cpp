#include "platform/sbb/office/SignatureInfoV1.h"

#include "platform/sbb/office/XmlSupport.h"

#include <cstdlib>

namespace SBB {

namespace {

void add(xmlNode* parent, xmlNs* ns, const char* name, const std::string& value) {
    xmlNewTextChild(parent, ns, BAD_CAST name, BAD_CAST value.c_str());
}

std::string childText(xmlNode* parent, const char* name) {
    for (xmlNode* child = parent->children; child; child = child->next)
        if (Xml::is(child, OfficeDigSigNs, name))
            return Xml::text(child);
    return {};
}

int childNumber(xmlNode* parent, const char* name, int fallback) {
    const auto text = childText(parent, name);
    return text.empty() ? fallback : std::atoi(text.c_str());
}

std::vector<unsigned char> objectImage(xmlNode* signature, const char* id) {
    for (xmlNode* object : Xml::children(signature, Xml::DSigNs, "Object"))
        if (Xml::attribute(object, "Id") == id)
            return Xml::base64Decode(Xml::text(object));
    return {};
}

} // namespace

void writeSignatureInfoV1(xmlNode* parent, const SignatureInfoV1& info) {
    xmlNode* node = xmlNewChild(parent, nullptr, BAD_CAST "SignatureInfoV1", nullptr);
    xmlNs* ns = xmlNewNs(node, BAD_CAST OfficeDigSigNs, nullptr);
    xmlSetNs(node, ns);
    add(node, ns, "SetupID", info.setupID);
    add(node, ns, "SignatureText", info.signatureText);
    add(node, ns, "SignatureImage", Xml::base64Encode(info.signatureImage));
    add(node, ns, "SignatureComments", info.signatureComments);
    add(node, ns, "WindowsVersion", "10.0");
    add(node, ns, "OfficeVersion", "16.0");
    add(node, ns, "ApplicationVersion", "16.0");
    add(node, ns, "Monitors", "1");
    add(node, ns, "HorizontalResolution", std::to_string(info.horizontalResolution));
    add(node, ns, "VerticalResolution", std::to_string(info.verticalResolution));
    add(node, ns, "ColorDepth", std::to_string(info.colorDepth));
    add(node, ns, "SignatureProviderId", "{00000000-0000-0000-0000-000000000000}");
    add(node, ns, "SignatureProviderUrl", "");
    add(node, ns, "SignatureProviderDetails", "9");
    add(node, ns, "SignatureType", std::to_string(info.signatureType));
    add(node, ns, "DelegateSuggestedSigner", info.delegateSuggestedSigner);
    add(node, ns, "DelegateSuggestedSigner2", info.delegateSuggestedSigner2);
    add(node, ns, "DelegateSuggestedSignerEmail", info.delegateSuggestedSignerEmail);
    add(node, ns, "ManifestHashAlgorithm", "http://www.w3.org/2001/04/xmlenc#sha256");
}

SignatureInfoV1 readSignatureInfoV1(xmlNode* signature) {
    SignatureInfoV1 info;
    const auto found = Xml::descendantsByLocalName(signature, "SignatureInfoV1");
    xmlNode* node = nullptr;
    for (xmlNode* candidate : found)
        if (candidate->ns && xmlStrEqual(candidate->ns->href, BAD_CAST OfficeDigSigNs))
            node = node ? node : candidate;
    if (!node)
        return info;
    info.included = true;
    info.setupID = childText(node, "SetupID");
    info.signatureText = childText(node, "SignatureText");
    info.signatureImage = Xml::base64Decode(childText(node, "SignatureImage"));
    info.signatureComments = childText(node, "SignatureComments");
    info.horizontalResolution = childNumber(node, "HorizontalResolution", 0);
    info.verticalResolution = childNumber(node, "VerticalResolution", 0);
    info.colorDepth = childNumber(node, "ColorDepth", 0);
    info.signatureType = childNumber(node, "SignatureType", 1);
    info.delegateSuggestedSigner = childText(node, "DelegateSuggestedSigner");
    info.delegateSuggestedSigner2 = childText(node, "DelegateSuggestedSigner2");
    info.delegateSuggestedSignerEmail = childText(node, "DelegateSuggestedSignerEmail");
    info.validSignatureLnImage = objectImage(signature, "idValidSigLnImg");
    info.invalidSignatureLnImage = objectImage(signature, "idInvalidSigLnImg");
    return info;
}

} // namespace SBB
