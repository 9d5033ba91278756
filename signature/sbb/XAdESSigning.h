#pragma once

// The signing steps of the XAdES manager and the signature line they read back, apart from the
// manager's bookkeeping.

#include "platform/sbb/office/OfficeDocument.h"
#include "signature/SignOptions.h"

#include <optional>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

class SBBCertificateStorage;
class SBBSigningKeyStore;

// Adds one signature to the document. SignatureRuntimeError for the manager's own refusals;
// SBException for library failures. A signature that fails leaves no handler behind.
void signOfficeDocument(SBB::OfficeDocument& document, const SBBCertificateStorage& storage,
                        const SBBSigningKeyStore& keys, const SignOptions& options);

// The visible signature line of an Office Open XML signature, when it has one.
std::optional<SignatureLine> readSignatureLine(SBB::OfficeSignatureHandler& handler);

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
