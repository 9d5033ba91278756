#pragma once

#include "platform/sbb/office/OfficeOpenXMLBaseSignatureHandler.h"

namespace SBB {

// Signs Office Open XML documents the way Office does: a package object with a manifest of every
// part (relationship parts through the Relationship Transform) and the signature time, an Office
// object with SignatureInfoV1, and the XAdES qualifying properties.
class OfficeOpenXMLSignatureHandler : public OfficeOpenXMLBaseSignatureHandler {
public:
    using OfficeOpenXMLBaseSignatureHandler::OfficeOpenXMLBaseSignatureHandler;
    const char* className() const override { return "TElOfficeOpenXMLSignatureHandler"; }
    void sign(const MemoryCertStorage& certificates) override;

private:
    xmlNode* buildTemplate(xmlDoc* doc, const Certificate& signer);
    void writeManifest(xmlNode* object);
};

} // namespace SBB
