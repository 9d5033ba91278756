#pragma once

#include "platform/sbb/office/OfficeSignatureHandler.h"

#include <libxml/tree.h>

namespace SBB {

// An OpenDocument signature: one ds:Signature in META-INF/documentsignatures.xml (ODF 1.2 part 3)
// with a reference to every entry of the package but that file.
class OpenOfficeSignatureHandler : public OfficeSignatureHandler {
public:
    OpenOfficeSignatureHandler() = default;
    // A signature the document already carries.
    explicit OpenOfficeSignatureHandler(xmlNode* signature) : _signature(signature) {}

    const char* className() const override { return "TElOpenOfficeSignatureHandler"; }
    void sign(const MemoryCertStorage& certificates) override;
    int validate() override;
    std::int64_t signatureTime() const override;

    xmlNode* signatureNode() const { return _signature; }

private:
    xmlNode* buildTemplate(xmlNode* root, const Certificate& signer, const std::string& id);
    void collectUnsignedEntries(const std::vector<std::string>& covered);

    xmlNode* _signature = nullptr;
};

// Entries an OpenDocument signature need not cover; legacySignature: one made before ODF 1.2.
bool isExemptFromDocumentSignature(const std::string& name, bool legacySignature);

} // namespace SBB
