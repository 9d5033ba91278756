#include "platform/sbb/cms/SignedCMSMessage.h"

#include "platform/sbb/Decoding.h"
#include "platform/sbb/cms/CMSErrors.h"

#include <algorithm>
#include <climits>
#include <openssl/err.h>

namespace SBB {

namespace {

std::vector<unsigned char> readRange(Stream& stream, std::int64_t offset, std::int64_t count) {
    if (offset < 0 || count < 0)
        CMSError::raise(CMSError::BadContent, "Negative content offset or size");
    if (count > static_cast<std::int64_t>(INT_MAX))
        CMSError::raise(CMSError::BadContent, "The content is too large");
    stream.seek(offset, SeekOrigin::Begin);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = stream.read(bytes.data() + done, bytes.size() - done);
        if (n == 0)
            CMSError::raise(CMSError::BadContent, "The content stream ends before the given size");
        done += n;
    }
    return bytes;
}

OpenSSL::CMSPtr newEmptySignedData() {
    OpenSSL::CMSPtr cms(
        CMS_sign(nullptr, nullptr, nullptr, nullptr, CMS_PARTIAL | CMS_DETACHED | CMS_BINARY));
    if (!cms)
        OpenSSL::throwError("CMS_sign");
    return cms;
}

OpenSSL::CMSPtr decodeMessage(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> der = bytes;
    if (Decoding::looksLikePem(bytes)) {
        std::vector<Decoding::PemBlock> blocks;
        der.clear();
        if (Decoding::readPemBlocks(bytes, blocks))
            for (const auto& block : blocks)
                if (block.name == "CMS" || block.name == "PKCS7") {
                    der = block.data;
                    break;
                }
    }
    auto bio = OpenSSL::memoryBio(der);
    OpenSSL::CMSPtr cms(d2i_CMS_bio(bio.get(), nullptr));
    if (!cms) {
        const auto code = static_cast<std::uint32_t>(ERR_peek_last_error());
        throw SBException(SBException::Kind::Library, "EElCMSError",
                          "Invalid signed message: " + OpenSSL::takeErrorText("undecodable data"),
                          CMSError::NotSignedData, code);
    }
    if (OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_pkcs7_signed)
        CMSError::raise(CMSError::NotSignedData, "The message is not a signed message");
    return cms;
}

} // namespace

SignedCMSMessage::~SignedCMSMessage() {
    close();
}

void SignedCMSMessage::adopt(OpenSSL::CMSPtr cms, std::vector<unsigned char> content) {
    close();
    _cms = std::move(cms);
    _content = std::move(content);
    const auto* infos = CMS_get0_SignerInfos(_cms.get());
    const int count = infos ? sk_CMS_SignerInfo_num(infos) : 0;
    for (int i = 0; i < count; ++i)
        _signatures.push_back(
            std::unique_ptr<CMSSignature>(new CMSSignature(*this, sk_CMS_SignerInfo_value(infos, i))));
}

void SignedCMSMessage::createNew(Stream& content, std::int64_t offset, std::int64_t count) {
    auto bytes = readRange(content, offset, count);
    adopt(newEmptySignedData(), std::move(bytes));
}

void SignedCMSMessage::open(Stream& signature, Stream& content, std::int64_t offset, std::int64_t count) {
    auto cms = decodeMessage(signature.readToEnd());
    auto bytes = readRange(content, offset, count);
    if (bytes.empty()) {
        ASN1_OCTET_STRING** embedded = CMS_get0_content(cms.get());
        if (embedded && *embedded)
            bytes.assign((*embedded)->data, (*embedded)->data + (*embedded)->length);
    }
    adopt(std::move(cms), std::move(bytes));
}

void SignedCMSMessage::close() {
    _signatures.clear();
    _cms.reset();
    _removed.reset();
    _content.clear();
}

CMS_ContentInfo* SignedCMSMessage::requireOpen() const {
    if (!_cms)
        CMSError::raise(CMSError::NotOpen, "No message is open");
    return _cms.get();
}

bool SignedCMSMessage::detached() const {
    return CMS_is_detached(requireOpen()) == 1;
}

void SignedCMSMessage::setDetached(bool detached) {
    auto* cms = requireOpen();
    if (CMS_set_detached(cms, detached ? 1 : 0) != 1)
        OpenSSL::throwError("CMS_set_detached");
    if (!detached) {
        ASN1_OCTET_STRING** embedded = CMS_get0_content(cms);
        if (!embedded || !*embedded ||
            !ASN1_OCTET_STRING_set(*embedded, _content.data(), static_cast<int>(_content.size())))
            OpenSSL::throwError("CMS content");
    }
}

int SignedCMSMessage::addSignature() {
    requireOpen();
    _signatures.push_back(std::unique_ptr<CMSSignature>(new CMSSignature(*this, nullptr)));
    return signatureCount() - 1;
}

CMSSignature& SignedCMSMessage::signature(int index) {
    requireOpen();
    if (index < 0 || index >= signatureCount())
        CMSError::raise(CMSError::IndexOutOfBounds, "Signature index out of bounds");
    return *_signatures[static_cast<std::size_t>(index)];
}

void SignedCMSMessage::removeSignature(int index) {
    CMSSignature& removed = signature(index);
    if (CMS_SignerInfo* info = removed._signerInfo)
        discardSignerInfo(info);
    _signatures.erase(_signatures.begin() + index);
}

void SignedCMSMessage::discardSignerInfo(CMS_SignerInfo* info) noexcept {
    auto* infos = CMS_get0_SignerInfos(_cms.get());
    sk_CMS_SignerInfo_delete_ptr(infos, info);
    if (!_removed)
        _removed.reset(CMS_sign(nullptr, nullptr, nullptr, nullptr, CMS_PARTIAL | CMS_DETACHED | CMS_BINARY));
    // Only short of memory can this fail; the information then stays owned by the message, unused.
    if (!_removed || !sk_CMS_SignerInfo_push(CMS_get0_SignerInfos(_removed.get()), info))
        sk_CMS_SignerInfo_push(infos, info);
}

void SignedCMSMessage::orderSignerInfos() const {
    auto* infos = CMS_get0_SignerInfos(requireOpen());
    int position = 0;
    for (const auto& signature : _signatures)
        if (signature->_signerInfo)
            sk_CMS_SignerInfo_set(infos, position++, signature->_signerInfo);
}

void SignedCMSMessage::extractAllCertificates(MemoryCertStorage& storage) const {
    OpenSSL::X509StackPtr certificates(CMS_get1_certs(requireOpen()));
    const int count = certificates ? sk_X509_num(certificates.get()) : 0;
    for (int i = 0; i < count; ++i)
        storage.add(Certificate(OpenSSL::share(sk_X509_value(certificates.get(), i))));
}

void SignedCMSMessage::save(Stream& out) const {
    OpenSSL::BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || i2d_CMS_bio(bio.get(), requireOpen()) != 1)
        OpenSSL::throwError("i2d_CMS_bio");
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    if (length < 0)
        OpenSSL::throwError("BIO_get_mem_data");
    out.writeAll(std::vector<unsigned char>(data, data + length));
}

} // namespace SBB
