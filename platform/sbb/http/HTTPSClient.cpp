#include "platform/sbb/http/HTTPSClient.h"

#include "platform/sbb/OpenSSLHandles.h"
#include "platform/sbb/SBException.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <openssl/err.h>

namespace SBB {

namespace {

constexpr std::uint32_t badUrl = 0x7101;
constexpr std::uint32_t connectFailed = 0x7102;
constexpr std::uint32_t transferFailed = 0x7103;
constexpr std::uint32_t timedOut = 0x7104;
constexpr std::uint32_t badResponse = 0x7105;
constexpr std::uint32_t tooLarge = 0x7106;

[[noreturn]] void fail(std::uint32_t code, const std::string& message) {
    const auto openssl = static_cast<std::uint32_t>(ERR_peek_last_error());
    ERR_clear_error();
    throw SBException(SBException::Kind::Library, "EElHTTPSClientError", message, code, openssl);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct Url {
    std::string authority; // as written, for the Host header
    std::string connectTo; // host:port
    std::string path;
};

Url parseUrl(const std::string& url) {
    const std::string scheme = "http://";
    if (lower(url.substr(0, scheme.size())) != scheme) {
        if (lower(url.substr(0, 8)) == "https://")
            fail(badUrl, "Secure connections are not supported: " + url);
        fail(badUrl, "Not an http URL: " + url);
    }
    const auto rest = url.substr(scheme.size());
    const auto end = rest.find_first_of("/?#");
    Url parsed;
    parsed.authority = rest.substr(0, end);
    if (parsed.authority.empty() || parsed.authority.find_first_of("@ \t\r\n") != std::string::npos)
        fail(badUrl, "Invalid host in URL: " + url);
    parsed.path = end == std::string::npos ? "/" : rest.substr(end);
    if (const auto fragment = parsed.path.find('#'); fragment != std::string::npos)
        parsed.path.erase(fragment);
    if (parsed.path.empty() || parsed.path[0] != '/')
        parsed.path.insert(0, "/");
    if (parsed.path.find_first_of(" \t\r\n") != std::string::npos)
        fail(badUrl, "Invalid path in URL: " + url);
    // A port is present when a colon follows the host (after the brackets of an IPv6 literal).
    const auto closing = parsed.authority.rfind(']');
    const auto colon = parsed.authority.rfind(':');
    const bool hasPort = colon != std::string::npos && (closing == std::string::npos || colon > closing);
    parsed.connectTo = hasPort ? parsed.authority : parsed.authority + ":80";
    return parsed;
}

// Waits until the socket is ready for the operation that asked to be retried.
void waitForRetry(BIO* bio, std::time_t deadline) {
    if (!BIO_should_retry(bio))
        fail(transferFailed, "Connection failure: " + OpenSSL::takeErrorText("the connection was closed"));
    const int ready = BIO_wait(bio, deadline, 100);
    if (ready == 0)
        fail(timedOut, "The server did not answer in time");
    if (ready < 0)
        fail(transferFailed, "Connection failure: " + OpenSSL::takeErrorText("waiting failed"));
}

std::vector<unsigned char> decodeChunked(const std::string& body) {
    std::vector<unsigned char> out;
    std::size_t position = 0;
    for (;;) {
        const auto lineEnd = body.find("\r\n", position);
        if (lineEnd == std::string::npos)
            fail(badResponse, "Truncated chunked answer");
        std::size_t size = 0;
        try {
            size = std::stoul(body.substr(position, lineEnd - position), nullptr, 16);
        } catch (const std::exception&) {
            fail(badResponse, "Invalid chunk size");
        }
        position = lineEnd + 2;
        if (size == 0)
            return out;
        if (body.size() - position < size + 2)
            fail(badResponse, "Truncated chunked answer");
        out.insert(out.end(), body.begin() + static_cast<std::ptrdiff_t>(position),
                   body.begin() + static_cast<std::ptrdiff_t>(position + size));
        position += size + 2;
    }
}

HTTPSClient::Response parseResponse(const std::string& raw) {
    const auto headerEnd = raw.find("\r\n\r\n");
    if (raw.compare(0, 7, "HTTP/1.") != 0 || headerEnd == std::string::npos || raw.size() < 12)
        fail(badResponse, "The answer is not an HTTP response");
    HTTPSClient::Response response;
    const auto statusText = raw.substr(9, 3);
    if (!std::all_of(statusText.begin(), statusText.end(), [](unsigned char c) { return std::isdigit(c); }))
        fail(badResponse, "The answer is not an HTTP response");
    response.status = std::stoi(statusText);

    bool chunked = false;
    std::string contentLength;
    std::size_t lineStart = raw.find("\r\n") + 2;
    while (lineStart < headerEnd + 2) {
        const auto lineEnd = raw.find("\r\n", lineStart);
        const auto line = raw.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 2;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const auto name = lower(line.substr(0, colon));
        auto value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t") + 1);
        if (name == "content-type")
            response.contentType = value;
        else if (name == "content-length")
            contentLength = value;
        else if (name == "transfer-encoding")
            chunked = lower(value).find("chunked") != std::string::npos;
    }

    const auto body = raw.substr(headerEnd + 4);
    if (chunked) {
        response.body = decodeChunked(body);
    } else if (!contentLength.empty()) {
        std::size_t length = 0;
        try {
            length = std::stoul(contentLength);
        } catch (const std::exception&) {
            fail(badResponse, "Invalid Content-Length");
        }
        if (body.size() < length)
            fail(badResponse, "The answer ended early");
        response.body.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(length));
    } else {
        response.body.assign(body.begin(), body.end());
    }
    return response;
}

} // namespace

HTTPSClient::Response HTTPSClient::post(const std::string& url, const std::string& contentType,
                                        const std::vector<unsigned char>& body) {
    const auto target = parseUrl(url);
    const std::time_t deadline = std::time(nullptr) + std::max(_timeout, 1);

    OpenSSL::BioPtr bio(BIO_new_connect(target.connectTo.c_str()));
    if (!bio)
        OpenSSL::throwError("BIO_new_connect");
    BIO_set_nbio(bio.get(), 1);
    // Not BIO_do_connect_retry: it keeps retrying a refused connection until the time is up.
    while (BIO_do_connect(bio.get()) <= 0) {
        if (!BIO_should_retry(bio.get()))
            fail(connectFailed, "Cannot connect to " + target.connectTo + ": " +
                                    OpenSSL::takeErrorText("connection refused"));
        const int ready = BIO_wait(bio.get(), deadline, 100);
        if (ready == 0)
            fail(timedOut, "Connecting to " + target.connectTo + " timed out");
        if (ready < 0)
            fail(connectFailed,
                 "Cannot connect to " + target.connectTo + ": " + OpenSSL::takeErrorText("waiting failed"));
    }

    std::string request = "POST " + target.path + " HTTP/1.0\r\nHost: " + target.authority +
                          "\r\nContent-Type: " + contentType +
                          "\r\nContent-Length: " + std::to_string(body.size()) +
                          "\r\nConnection: close\r\n\r\n";
    request.append(body.begin(), body.end());
    std::size_t sent = 0;
    while (sent < request.size()) {
        const int n = BIO_write(bio.get(), request.data() + sent, static_cast<int>(request.size() - sent));
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else
            waitForRetry(bio.get(), deadline);
    }

    std::string raw;
    char chunk[16384];
    for (;;) {
        const int n = BIO_read(bio.get(), chunk, sizeof chunk);
        if (n > 0) {
            raw.append(chunk, static_cast<std::size_t>(n));
            if (raw.size() > _maxResponseSize + 65536)
                fail(tooLarge, "The answer is too large");
            continue;
        }
        if (n == 0 && !BIO_should_retry(bio.get()))
            break;
        waitForRetry(bio.get(), deadline);
    }
    auto response = parseResponse(raw);
    if (response.body.size() > _maxResponseSize)
        fail(tooLarge, "The answer is too large");
    return response;
}

} // namespace SBB
