#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace SBB {

// A small HTTP/1.0 client for posting protocol messages (time-stamp requests). Only "http://"
// URLs are served: a secure transport is not part of this library. Failures to connect, send or
// receive, time-outs and answers that are not HTTP throw SBException ("EElHTTPSClientError").
class HTTPSClient {
public:
    struct Response {
        int status = 0;
        std::string contentType;
        std::vector<unsigned char> body;
    };

    // Seconds for the whole exchange.
    void setTimeout(int seconds) { _timeout = seconds; }
    // Longer answers are refused.
    void setMaxResponseSize(std::size_t bytes) { _maxResponseSize = bytes; }

    Response post(const std::string& url, const std::string& contentType,
                  const std::vector<unsigned char>& body);

private:
    int _timeout = 30;
    std::size_t _maxResponseSize = 4 * 1024 * 1024;
};

} // namespace SBB
