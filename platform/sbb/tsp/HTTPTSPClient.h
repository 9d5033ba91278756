#pragma once

#include "platform/sbb/http/HTTPSClient.h"
#include "platform/sbb/tsp/TSPClient.h"

#include <string>

namespace SBB {

// The time-stamp protocol over HTTP (RFC 3161, section 3.4): a DER TimeStampReq with a SHA-256
// imprint, a random nonce and a request for the server's certificate is posted to the URL; the
// answer must grant a token that stamps exactly that imprint and nonce.
class HTTPTSPClient : public TSPClient {
public:
    // The transport; must outlive every request.
    void setHTTPClient(HTTPSClient* client) { _http = client; }
    void setURL(std::string url) { _url = std::move(url); }
    const std::string& url() const { return _url; }

    int timestamp(const std::vector<unsigned char>& data, std::vector<unsigned char>& token) override;
    const char* failureText() const override { return _failure.c_str(); }

private:
    HTTPSClient* _http = nullptr;
    std::string _url;
    std::string _failure;
};

} // namespace SBB
