#pragma once

#include "platform/sbb/MemoryCertStorage.h"
#include "platform/sbb/Stream.h"
#include "platform/sbb/cms/CMSHandles.h"
#include "platform/sbb/cms/CMSSignature.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace SBB {

// A CMS SignedData message over a content that is kept in memory beside it. Signatures are
// addressed by their position, from 0. Failures throw SBException.
class SignedCMSMessage {
public:
    SignedCMSMessage() = default;
    ~SignedCMSMessage();
    SignedCMSMessage(const SignedCMSMessage&) = delete;
    SignedCMSMessage& operator=(const SignedCMSMessage&) = delete;

    // A new message without signatures over count bytes of content from offset.
    void createNew(Stream& content, std::int64_t offset, std::int64_t count);
    // Reads a signed message (DER, or PEM with a "CMS" or "PKCS7" armour) from signature's
    // position to its end. The content is count bytes of content from offset; when count is 0 and
    // the message embeds its content, that is used instead.
    void open(Stream& signature, Stream& content, std::int64_t offset, std::int64_t count);
    // Forgets the message and its content; the object can be used again.
    void close();
    bool isOpen() const { return _cms != nullptr; }

    // A detached message does not carry its content when saved.
    bool detached() const;
    void setDetached(bool detached);

    // Appends a pending signature and returns its position.
    int addSignature();
    int signatureCount() const { return static_cast<int>(_signatures.size()); }
    // Throws SBException when index is out of range.
    CMSSignature& signature(int index);
    void removeSignature(int index);

    // Adds every certificate the message carries to storage.
    void extractAllCertificates(MemoryCertStorage& storage) const;
    // Writes the message as DER at out's position. Pending signatures are left out.
    void save(Stream& out) const;

    const std::vector<unsigned char>& content() const { return _content; }

private:
    friend class CMSSignature;

    CMS_ContentInfo* requireOpen() const;
    // Places the signed signatures' signer information in the message in position order.
    void orderSignerInfos() const;
    void adopt(OpenSSL::CMSPtr cms, std::vector<unsigned char> content);
    // Takes the signer information out of the message and keeps it until the message is closed.
    void discardSignerInfo(CMS_SignerInfo* info) noexcept;

    OpenSSL::CMSPtr _cms;
    // Signer information taken out of the message; freed with it (OpenSSL offers no other way).
    OpenSSL::CMSPtr _removed;
    std::vector<unsigned char> _content;
    std::vector<std::unique_ptr<CMSSignature>> _signatures;
};

} // namespace SBB
