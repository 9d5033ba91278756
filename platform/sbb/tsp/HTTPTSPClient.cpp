#include "platform/sbb/tsp/HTTPTSPClient.h"

#include "platform/sbb/SBException.h"
#include "platform/sbb/cms/CMSHandles.h"

#include <openssl/err.h>
#include <openssl/rand.h>

namespace SBB {

namespace {

using BignumPtr = std::unique_ptr<BIGNUM, OpenSSL::Deleter<BIGNUM, BN_free>>;
using IntegerPtr = std::unique_ptr<ASN1_INTEGER, OpenSSL::Deleter<ASN1_INTEGER, ASN1_INTEGER_free>>;
using ImprintPtr = std::unique_ptr<TS_MSG_IMPRINT, OpenSSL::Deleter<TS_MSG_IMPRINT, TS_MSG_IMPRINT_free>>;
using AlgorPtr = std::unique_ptr<X509_ALGOR, OpenSSL::Deleter<X509_ALGOR, X509_ALGOR_free>>;

OpenSSL::TSReqPtr makeRequest(const std::vector<unsigned char>& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &digestLength, EVP_sha256(), nullptr) != 1)
        OpenSSL::throwError("EVP_Digest");

    OpenSSL::TSReqPtr request(TS_REQ_new());
    ImprintPtr imprint(TS_MSG_IMPRINT_new());
    AlgorPtr algorithm(X509_ALGOR_new());
    if (!request || !imprint || !algorithm)
        OpenSSL::throwError("time-stamp request");
    X509_ALGOR_set_md(algorithm.get(), EVP_sha256());
    unsigned char nonceBytes[8];
    if (RAND_bytes(nonceBytes, sizeof nonceBytes) != 1)
        OpenSSL::throwError("RAND_bytes");
    nonceBytes[0] &= 0x7F; // a positive INTEGER of at most 64 bits
    BignumPtr nonceNumber(BN_bin2bn(nonceBytes, sizeof nonceBytes, nullptr));
    IntegerPtr nonce(nonceNumber ? BN_to_ASN1_INTEGER(nonceNumber.get(), nullptr) : nullptr);
    if (!nonce || TS_MSG_IMPRINT_set_algo(imprint.get(), algorithm.get()) != 1 ||
        TS_MSG_IMPRINT_set_msg(imprint.get(), digest, static_cast<int>(digestLength)) != 1 ||
        TS_REQ_set_version(request.get(), 1) != 1 ||
        TS_REQ_set_msg_imprint(request.get(), imprint.get()) != 1 ||
        TS_REQ_set_nonce(request.get(), nonce.get()) != 1 || TS_REQ_set_cert_req(request.get(), 1) != 1)
        OpenSSL::throwError("time-stamp request");
    return request;
}

} // namespace

int HTTPTSPClient::timestamp(const std::vector<unsigned char>& data, std::vector<unsigned char>& token) {
    _failure.clear();
    token.clear();
    if (!_http)
        throw SBException(SBException::Kind::Library, "EElTSPError", "No HTTP client is set", 0x7201);

    const auto request = makeRequest(data);
    const int requestLength = i2d_TS_REQ(request.get(), nullptr);
    std::vector<unsigned char> requestBytes(requestLength > 0 ? static_cast<std::size_t>(requestLength) : 0);
    unsigned char* out = requestBytes.data();
    if (requestLength <= 0 || i2d_TS_REQ(request.get(), &out) != requestLength)
        OpenSSL::throwError("i2d_TS_REQ");

    const auto answer = _http->post(_url, "application/timestamp-query", requestBytes);
    if (answer.status != 200) {
        _failure = "the time-stamp server answered with HTTP status " + std::to_string(answer.status);
        return TSPResult::Rejected;
    }

    const unsigned char* in = answer.body.data();
    OpenSSL::TSRespPtr response(d2i_TS_RESP(nullptr, &in, static_cast<long>(answer.body.size())));
    if (!response) {
        ERR_clear_error();
        _failure = "the time-stamp server's answer is not a time-stamp response";
        return TSPResult::Malformed;
    }
    const long status = ASN1_INTEGER_get(TS_STATUS_INFO_get0_status(TS_RESP_get_status_info(response.get())));
    if ((status != 0 && status != 1) || !TS_RESP_get_token(response.get())) {
        _failure = "the time-stamp server did not grant a time-stamp (status " + std::to_string(status) + ")";
        return TSPResult::Rejected;
    }
    // The token must stamp this request: version, imprint and nonce. The server's signature is
    // checked by whoever trusts the server, not here.
    OpenSSL::TSVerifyCtxPtr verify(TS_REQ_to_TS_VERIFY_CTX(request.get(), nullptr));
    if (!verify)
        OpenSSL::throwError("TS_REQ_to_TS_VERIFY_CTX");
    if (TS_RESP_verify_response(verify.get(), response.get()) != 1) {
        _failure =
            "the time-stamp does not match the request: " + OpenSSL::takeErrorText("verification failed");
        return TSPResult::Mismatch;
    }

    PKCS7* granted = TS_RESP_get_token(response.get());
    const int tokenLength = i2d_PKCS7(granted, nullptr);
    token.resize(tokenLength > 0 ? static_cast<std::size_t>(tokenLength) : 0);
    out = token.data();
    if (tokenLength <= 0 || i2d_PKCS7(granted, &out) != tokenLength)
        OpenSSL::throwError("i2d_PKCS7");
    return TSPResult::Ok;
}

} // namespace SBB
