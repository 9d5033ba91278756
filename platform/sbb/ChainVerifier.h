#pragma once

// The path verification shared by the certificate validator and the chains, on OpenSSL's
// X509_verify_cert, with every verification error turned into reason bits.

#include "platform/sbb/Certificate.h"

namespace SBB::ChainVerifier {

struct Settings {
    // Use the platform's default trust anchors besides the given ones.
    bool useSystemTrust = false;
    bool checkValidityPeriodForTrusted = true;
    // Keep going after the first problem so that every reason is reported.
    bool validateInvalidCertificates = true;
    // False checks the certificate against its issuer only.
    bool completeChainValidation = true;
    bool checkCRL = false;
    bool checkOCSP = false;
};

ValidationResult verify(const Certificate& target, const std::vector<Certificate>& trusted,
                        const std::vector<Certificate>& untrusted, std::int64_t moment,
                        const Settings& settings);

// The reason bit that stands for one OpenSSL verification error (X509_V_ERR_...).
std::uint32_t reasonForVerifyError(int error);

} // namespace SBB::ChainVerifier
