#pragma once

#include "platform/sbb/Certificate.h"
#include "platform/sbb/MemoryCertStorage.h"

#include <cstdint>
#include <openssl/cms.h>
#include <optional>
#include <vector>

namespace SBB {

class SignedCMSMessage;
class TSPClient;

// Results of CMSSignature::validate.
namespace CMSValidity {
constexpr int Valid = 0;
constexpr int Invalid = 1;        // the signature value or the content digest does not match
constexpr int SignerNotFound = 2; // the message does not carry the signer's certificate
constexpr int Failure = 3;        // unsigned, undecodable or with an algorithm we cannot check
} // namespace CMSValidity

// One signer of a signed CMS message. A signature added to a message stays pending (it has no
// signer information yet) until it is signed. Belongs to its message and dies with it.
class CMSSignature {
public:
    CMSSignature(const CMSSignature&) = delete;
    CMSSignature& operator=(const CMSSignature&) = delete;

    bool isSigned() const { return _signerInfo != nullptr; }

    // Seconds since 1970-01-01 UTC; 0 when there is none. A pending signature reports the time it
    // will be signed with.
    std::int64_t signingTime() const;
    // Only for a pending signature; becomes the signing-time attribute.
    void setSigningTime(std::int64_t seconds);

    // Signs the message content with certificate's private key (SHA-256, signed attributes:
    // content type, message digest and the signing time when one was set). Every certificate of
    // chain joins the message's certificates, once. Throws SBException on failure.
    void sign(const Certificate& certificate, const MemoryCertStorage& chain);

    // Checks the content digest and the signature value against the signer's certificate in the
    // message: a CMSValidity value. Does not look at the certificate's trust.
    int validate();

    // Asks client for a time-stamp over the signature value and stores the token as the
    // signature-time-stamp attribute. Returns 0, or the client's non-zero result when the server
    // gave no usable token; transport failures throw SBException.
    int addTimestamp(TSPClient& client);
    // The DER time-stamp tokens (signature time-stamps) the signature carries.
    std::vector<std::vector<unsigned char>> timestamps() const;

    // The signer's certificate among the message's certificates.
    std::optional<Certificate> findSigningCertificate() const;
    // The raw signature value.
    std::vector<unsigned char> signatureValue() const;

private:
    friend class SignedCMSMessage;
    CMSSignature(SignedCMSMessage& message, CMS_SignerInfo* signerInfo)
        : _message(message), _signerInfo(signerInfo) {}

    CMS_SignerInfo* requireSigned() const;

    SignedCMSMessage& _message;
    CMS_SignerInfo* _signerInfo; // owned by the message's CMS structure
    std::int64_t _pendingSigningTime = 0;
};

} // namespace SBB
