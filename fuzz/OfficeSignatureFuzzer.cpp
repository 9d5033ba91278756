// Signed office documents: open the package, read every signature it carries (OpenDocument's
// documentsignatures.xml, the Office Open XML _xmlsignatures parts), and validate each against the
// document, which canonicalises and digests whatever the signature names.

#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/office/OfficeDocument.h"

#include <cstdint>
#include <exception>

namespace {

void inspect(SBB::OfficeDocument& document) {
    for (int i = 0; i < document.signatureHandlerCount(); ++i) {
        SBB::OfficeSignatureHandler* handler = document.signatureHandler(i);
        if (handler == nullptr)
            continue;
        handler->validate();
        handler->signatureTime();
        handler->signedEntries();
        handler->certificates();
        handler->signerCertificate();
    }
    for (int i = 0; i < document.signatureLineCount(); ++i)
        document.signatureLine(i);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SBB::MemoryStream stream(std::vector<unsigned char>(data, data + size));
    SBB::OfficeDocument document;
    try {
        document.open(stream);
        inspect(document);
    } catch (const std::exception&) {
        // SBException and the like: refusing the document is the expected outcome.
    }
    return 0;
}
