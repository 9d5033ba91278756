#pragma once

#include "platform/sbb/office/OfficeSignatureHandler.h"
#include "platform/sbb/office/SignatureInfoV1.h"
#include "platform/sbb/office/XmlSupport.h"

namespace SBB {

// An Office Open XML signature: one _xmlsignatures part whose package object lists a reference
// per signed part (relationship parts through the Relationship Transform). Reads and validates.
class OfficeOpenXMLBaseSignatureHandler : public OfficeSignatureHandler {
public:
    OfficeOpenXMLBaseSignatureHandler() = default;
    // A signature part the document already carries.
    OfficeOpenXMLBaseSignatureHandler(std::string partName, Xml::DocPtr signature);

    const char* className() const override { return "TElOfficeOpenXMLBaseSignatureHandler"; }
    void sign(const MemoryCertStorage& certificates) override;
    int validate() override;
    std::int64_t signatureTime() const override;

    SignatureInfoV1& signatureInfoV1() { return _info; }
    const std::string& partName() const { return _partName; }

protected:
    xmlNode* signatureNode() const { return _signature ? xmlDocGetRootElement(_signature.get()) : nullptr; }
    // Parts in the package that the signature does not cover and nothing refers to.
    void collectUnsignedParts();

    std::string _partName;
    Xml::DocPtr _signature;
    SignatureInfoV1 _info;
};

// XPS documents: their signatures are read, never written.
class OfficeOpenXPSSignatureHandler : public OfficeOpenXMLBaseSignatureHandler {
public:
    using OfficeOpenXMLBaseSignatureHandler::OfficeOpenXMLBaseSignatureHandler;
    const char* className() const override { return "TElOfficeOpenXPSSignatureHandler"; }
};

} // namespace SBB
