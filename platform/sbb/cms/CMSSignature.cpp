#include "platform/sbb/cms/CMSSignature.h"

#include "platform/sbb/cms/CMSErrors.h"
#include "platform/sbb/cms/SignedCMSMessage.h"
#include "platform/sbb/tsp/TSPClient.h"

#include <openssl/err.h>

namespace SBB {

namespace {

std::int64_t secondsSinceEpoch(const ASN1_TIME* time) {
    ASN1_TIME* epoch = ASN1_TIME_set(nullptr, 0);
    int days = 0;
    int seconds = 0;
    const bool ok = epoch && ASN1_TIME_diff(&days, &seconds, epoch, time) == 1;
    ASN1_TIME_free(epoch);
    if (!ok)
        OpenSSL::throwError("ASN1_TIME_diff");
    return static_cast<std::int64_t>(days) * 86400 + seconds;
}

bool containsCertificate(CMS_ContentInfo* cms, X509* certificate) {
    OpenSSL::X509StackPtr present(CMS_get1_certs(cms));
    ERR_clear_error(); // no certificate yet is not a failure
    const int count = present ? sk_X509_num(present.get()) : 0;
    for (int i = 0; i < count; ++i)
        if (X509_cmp(sk_X509_value(present.get(), i), certificate) == 0)
            return true;
    return false;
}

void addCertificateOnce(CMS_ContentInfo* cms, X509* certificate) {
    if (!containsCertificate(cms, certificate) && CMS_add1_cert(cms, certificate) != 1)
        OpenSSL::throwError("CMS_add1_cert");
}

std::vector<unsigned char> sha256(const std::vector<unsigned char>& data) {
    std::vector<unsigned char> digest(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1)
        OpenSSL::throwError("EVP_Digest");
    digest.resize(length);
    return digest;
}

} // namespace

CMS_SignerInfo* CMSSignature::requireSigned() const {
    if (!_signerInfo)
        CMSError::raise(CMSError::NotSigned, "The signature is not signed");
    return _signerInfo;
}

std::int64_t CMSSignature::signingTime() const {
    if (!_signerInfo)
        return _pendingSigningTime;
    const int position = CMS_signed_get_attr_by_NID(_signerInfo, NID_pkcs9_signingTime, -1);
    if (position < 0)
        return 0;
    const ASN1_TYPE* value = X509_ATTRIBUTE_get0_type(CMS_signed_get_attr(_signerInfo, position), 0);
    if (!value || (value->type != V_ASN1_UTCTIME && value->type != V_ASN1_GENERALIZEDTIME))
        return 0;
    return secondsSinceEpoch(value->value.utctime);
}

void CMSSignature::setSigningTime(std::int64_t seconds) {
    if (_signerInfo)
        CMSError::raise(CMSError::AlreadySigned, "The signature is signed already");
    _pendingSigningTime = seconds;
}

void CMSSignature::sign(const Certificate& certificate, const MemoryCertStorage& chain) {
    if (_signerInfo)
        CMSError::raise(CMSError::AlreadySigned, "The signature is signed already");
    if (!certificate.isLoaded() || !certificate.privateKeyExists())
        CMSError::raise(CMSError::NoPrivateKey, "The signing certificate has no private key");
    CMS_ContentInfo* cms = _message.requireOpen();

    CMS_SignerInfo* info = CMS_add1_signer(cms, certificate.native(), certificate.privateKey(), EVP_sha256(),
                                           CMS_BINARY | CMS_PARTIAL | CMS_NOCERTS | CMS_NOSMIMECAP);
    if (!info)
        OpenSSL::throwError("CMS_add1_signer");
    // Until it is signed the new signer information must not stay in the message.
    struct Rollback {
        SignedCMSMessage& message;
        CMS_SignerInfo* info;
        ~Rollback() {
            if (info)
                message.discardSignerInfo(info);
        }
    } rollback{_message, info};

    if (_pendingSigningTime != 0) {
        ASN1_TIME* time = ASN1_TIME_adj(nullptr, static_cast<time_t>(_pendingSigningTime), 0, 0);
        const bool added =
            time && CMS_signed_add1_attr_by_NID(info, NID_pkcs9_signingTime, time->type, time, -1) == 1;
        ASN1_TIME_free(time);
        if (!added)
            OpenSSL::throwError("signing time");
    }
    if (CMS_signed_add1_attr_by_NID(info, NID_pkcs9_contentType, V_ASN1_OBJECT,
                                    const_cast<ASN1_OBJECT*>(CMS_get0_eContentType(cms)), -1) != 1)
        OpenSSL::throwError("content type");
    const auto digest = sha256(_message._content);
    if (CMS_signed_add1_attr_by_NID(info, NID_pkcs9_messageDigest, V_ASN1_OCTET_STRING, digest.data(),
                                    static_cast<int>(digest.size())) != 1)
        OpenSSL::throwError("message digest");
    if (CMS_SignerInfo_sign(info) != 1)
        OpenSSL::throwError("CMS_SignerInfo_sign");

    addCertificateOnce(cms, certificate.native());
    for (const auto& member : chain.certificates())
        addCertificateOnce(cms, member.native());

    rollback.info = nullptr;
    _signerInfo = info;
    _message.orderSignerInfos();
}

int CMSSignature::validate() {
    if (!_signerInfo)
        return CMSValidity::Failure;
    const auto signer = findSigningCertificate();
    if (!signer)
        return CMSValidity::SignerNotFound;

    X509_ALGOR* digestAlgorithm = nullptr;
    CMS_SignerInfo_get0_algs(_signerInfo, nullptr, nullptr, &digestAlgorithm, nullptr);
    const ASN1_OBJECT* digestObject = nullptr;
    X509_ALGOR_get0(&digestObject, nullptr, nullptr, digestAlgorithm);
    const EVP_MD* md = EVP_get_digestbyobj(digestObject);
    if (!md)
        return CMSValidity::Failure;
    const auto& content = _message._content;

    if (CMS_signed_get_attr_count(_signerInfo) >= 0) {
        const auto* expected = static_cast<const ASN1_OCTET_STRING*>(CMS_signed_get0_data_by_OBJ(
            _signerInfo, OBJ_nid2obj(NID_pkcs9_messageDigest), -3, V_ASN1_OCTET_STRING));
        if (!expected)
            return CMSValidity::Invalid;
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (EVP_Digest(content.data(), content.size(), digest, &length, md, nullptr) != 1) {
            ERR_clear_error();
            return CMSValidity::Failure;
        }
        if (static_cast<unsigned int>(expected->length) != length ||
            CRYPTO_memcmp(expected->data, digest, length) != 0)
            return CMSValidity::Invalid;
        CMS_SignerInfo_set1_signer_cert(_signerInfo, signer->native());
        const int verified = CMS_SignerInfo_verify(_signerInfo);
        ERR_clear_error();
        return verified == 1 ? CMSValidity::Valid : CMSValidity::Invalid;
    }

    // Without signed attributes the signature is made over the content itself.
    const ASN1_OCTET_STRING* value = CMS_SignerInfo_get0_signature(_signerInfo);
    std::unique_ptr<EVP_MD_CTX, OpenSSL::Deleter<EVP_MD_CTX, EVP_MD_CTX_free>> context(EVP_MD_CTX_new());
    const bool verified =
        context &&
        EVP_DigestVerifyInit(context.get(), nullptr, md, nullptr, X509_get0_pubkey(signer->native())) == 1 &&
        EVP_DigestVerify(context.get(), value->data, static_cast<std::size_t>(value->length), content.data(),
                         content.size()) == 1;
    ERR_clear_error();
    return verified ? CMSValidity::Valid : CMSValidity::Invalid;
}

int CMSSignature::addTimestamp(TSPClient& client) {
    CMS_SignerInfo* info = requireSigned();
    std::vector<unsigned char> token;
    const int result = client.timestamp(signatureValue(), token);
    if (result != 0)
        return result;
    if (CMS_unsigned_add1_attr_by_NID(info, NID_id_smime_aa_timeStampToken, V_ASN1_SEQUENCE, token.data(),
                                      static_cast<int>(token.size())) != 1)
        OpenSSL::throwError("time-stamp attribute");
    return 0;
}

std::vector<std::vector<unsigned char>> CMSSignature::timestamps() const {
    CMS_SignerInfo* info = requireSigned();
    std::vector<std::vector<unsigned char>> tokens;
    for (int position = -1;
         (position = CMS_unsigned_get_attr_by_NID(info, NID_id_smime_aa_timeStampToken, position)) >= 0;) {
        X509_ATTRIBUTE* attribute = CMS_unsigned_get_attr(info, position);
        for (int i = 0; i < X509_ATTRIBUTE_count(attribute); ++i) {
            const ASN1_TYPE* value = X509_ATTRIBUTE_get0_type(attribute, i);
            if (value && value->type == V_ASN1_SEQUENCE)
                tokens.emplace_back(value->value.sequence->data,
                                    value->value.sequence->data + value->value.sequence->length);
        }
    }
    return tokens;
}

std::optional<Certificate> CMSSignature::findSigningCertificate() const {
    CMS_SignerInfo* info = requireSigned();
    OpenSSL::X509StackPtr certificates(CMS_get1_certs(_message.requireOpen()));
    ERR_clear_error();
    const int count = certificates ? sk_X509_num(certificates.get()) : 0;
    for (int i = 0; i < count; ++i) {
        X509* candidate = sk_X509_value(certificates.get(), i);
        if (CMS_SignerInfo_cert_cmp(info, candidate) == 0)
            return Certificate(OpenSSL::share(candidate));
    }
    return std::nullopt;
}

std::vector<unsigned char> CMSSignature::signatureValue() const {
    const ASN1_OCTET_STRING* value = CMS_SignerInfo_get0_signature(requireSigned());
    return std::vector<unsigned char>(value->data, value->data + value->length);
}

} // namespace SBB
