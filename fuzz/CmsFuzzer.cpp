// CMS signatures: open a message over fixed detached content, list its signatures, validate each
// and check the signer's chain from the certificates the message carries.

#include "platform/sbb/MemoryCertStorage.h"
#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/cms/CMSSignature.h"
#include "platform/sbb/cms/SignedCMSMessage.h"

#include <cstdint>
#include <exception>
#include <string_view>

namespace {

// The seed signatures are made over exactly these bytes (scripts/fuzz-seeds).
constexpr std::string_view Content = "Signed content of the CMS fuzzing seeds.\n";

void inspect(SBB::SignedCMSMessage& message) {
    SBB::MemoryCertStorage carried;
    message.extractAllCertificates(carried);
    for (int i = 0; i < message.signatureCount(); ++i) {
        SBB::CMSSignature& signature = message.signature(i);
        signature.signingTime();
        signature.timestamps();
        signature.signatureValue();
        signature.validate();
        if (const auto signer = signature.findSigningCertificate()) {
            std::uint32_t reasons = 0;
            carried.buildChain(*signer).validate(reasons, 1700000000);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SBB::MemoryStream signature(std::vector<unsigned char>(data, data + size));
    SBB::MemoryStream content(std::vector<unsigned char>(Content.begin(), Content.end()));
    SBB::SignedCMSMessage message;
    try {
        message.open(signature, content, 0, static_cast<std::int64_t>(Content.size()));
        inspect(message);
    } catch (const std::exception&) {
        // SBException and the like: refusing the message is the expected outcome.
    }
    return 0;
}
