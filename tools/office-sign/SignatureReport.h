#pragma once

#include "signature/SignatureInfo.h"
#include "signature/SignatureValidity.h"

#include <optional>
#include <string>
#include <vector>

namespace KX::OfficeSign {

// One signature as the tool reports it.
struct SignatureReport {
    CryptographicEngine::DigitalSignature::SignatureInfo info;
    CryptographicEngine::DigitalSignature::SignatureValidity validity{};
    std::optional<bool> trusted; // known only when the chain was checked
};

// The names of the verdicts the XAdES manager gives.
std::string validityName(CryptographicEngine::DigitalSignature::SignatureValidity validity);
// "2026-12-09T14:03:00Z".
std::string utcText(CryptographicEngine::DigitalSignature::SigningTime time);

// One line per signature.
std::string textReport(const std::vector<SignatureReport>& reports);
// One JSON object for the document, ended by a line feed.
std::string jsonReport(const std::string& file, const std::vector<SignatureReport>& reports);

} // namespace KX::OfficeSign
