#pragma once

#include "signature/AdESForm.h"
#include "signature/SignatureLine.h"

#include <optional>
#include <string>

namespace KX::CryptographicEngine::DigitalSignature {

struct SignOptions {
    AdESForm form = AdESForm::CAdES_BES;
    std::optional<std::string> timestampServerUrl;
    // Office documents only.
    std::optional<SignatureLine> signatureLine;
};

} // namespace KX::CryptographicEngine::DigitalSignature
