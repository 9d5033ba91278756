#pragma once

// A time-stamp authority on the loopback address, started by the test itself: an HTTP server on
// 127.0.0.1 (a port the system picks) that answers RFC 3161 requests with OpenSSL's responder.

#include "TestPki.h"

#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <openssl/rand.h>
#include <openssl/ts.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace CadesTest {

// Serves each connection with handler(request body) -> the whole raw HTTP answer.
class LoopbackHttpServer {
public:
    using Handler = std::function<std::string(const std::string&)>;

    explicit LoopbackHttpServer(Handler handler) : _handler(std::move(handler)) {
        _listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        if (_listener < 0 || ::bind(_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(_listener, 8) != 0 ||
            ::getsockname(_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("loopback server: cannot listen");
        _port = ntohs(address.sin_port);
        _thread = std::thread([this] { serve(); });
    }

    ~LoopbackHttpServer() {
        _stop = true;
        _thread.join();
        ::close(_listener);
    }

    std::string url(const std::string& path = "/tsa") const {
        return "http://127.0.0.1:" + std::to_string(_port) + path;
    }
    int requests() const { return _requests; }
    std::string lastRequestHead() const {
        std::lock_guard<std::mutex> lock(_mutex);
        return _lastHead;
    }

    static std::string answer(int status, const std::string& contentType, const std::string& body) {
        return "HTTP/1.0 " + std::to_string(status) + " Answer\r\nContent-Type: " + contentType +
               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    }

private:
    void serve() {
        while (!_stop) {
            pollfd ready{_listener, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0)
                continue;
            const int connection = ::accept(_listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            std::string received;
            char buffer[8192];
            std::size_t bodyStart = std::string::npos;
            std::size_t expected = 0;
            for (;;) {
                const auto n = ::recv(connection, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                received.append(buffer, static_cast<std::size_t>(n));
                if (bodyStart == std::string::npos &&
                    (bodyStart = received.find("\r\n\r\n")) != std::string::npos) {
                    bodyStart += 4;
                    const auto header = received.find("Content-Length: ");
                    expected = header == std::string::npos ? 0 : std::stoul(received.substr(header + 16));
                }
                if (bodyStart != std::string::npos && received.size() >= bodyStart + expected)
                    break;
            }
            {
                std::lock_guard<std::mutex> lock(_mutex);
                _lastHead = received.substr(0, bodyStart == std::string::npos ? received.size() : bodyStart);
            }
            ++_requests;
            const std::string reply =
                _handler(bodyStart == std::string::npos ? std::string() : received.substr(bodyStart));
            std::size_t sent = 0;
            while (sent < reply.size()) {
                const auto n = ::send(connection, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(connection);
        }
    }

    Handler _handler;
    int _listener = -1;
    unsigned short _port = 0;
    std::atomic<bool> _stop{false};
    std::atomic<int> _requests{0};
    mutable std::mutex _mutex;
    std::string _lastHead;
    std::thread _thread;
};

// A time-stamp authority: its own root and a time-stamping certificate under it.
class TestTsa {
public:
    TestTsa() {
        using KX::Testing::TestPki;
        _rootKey = TestPki::makeKey();
        _root =
            TestPki::makeCertificate({{{"CN", "Test TSA Root"}}, -86400, 3650 * 86400, true, "keyCertSign"},
                                     _rootKey.get(), nullptr, nullptr);
        _key = TestPki::makeKey();
        _certificate =
            TestPki::makeCertificate({{{"CN", "Test TSA"}}, -86400, 365 * 86400, false, "digitalSignature"},
                                     _key.get(), _root.get(), _rootKey.get());
        // The responder insists on a critical time-stamping usage; sign again after adding it.
        X509_EXTENSION* usage =
            X509V3_EXT_conf_nid(nullptr, nullptr, NID_ext_key_usage, "critical,timeStamping");
        if (!usage || !X509_add_ext(_certificate.get(), usage, -1) ||
            !X509_sign(_certificate.get(), _rootKey.get(), EVP_sha256()))
            throw std::runtime_error("TSA certificate");
        X509_EXTENSION_free(usage);
    }

    X509* root() const { return _root.get(); }
    X509* certificate() const { return _certificate.get(); }

    // The DER TimeStampResp that grants a token for the DER TimeStampReq.
    std::string grant(const std::string& request) const {
        TS_RESP_CTX* context = TS_RESP_CTX_new();
        ASN1_OBJECT* policy = OBJ_txt2obj("1.3.6.1.4.1.4146.2.3", 1);
        BIO* in = BIO_new_mem_buf(request.data(), static_cast<int>(request.size()));
        TS_RESP_CTX_set_signer_cert(context, _certificate.get());
        TS_RESP_CTX_set_signer_key(context, _key.get());
        TS_RESP_CTX_set_def_policy(context, policy);
        TS_RESP_CTX_add_md(context, EVP_sha256());
        TS_RESP_CTX_set_signer_digest(context, EVP_sha256());
        TS_RESP* response = TS_RESP_create_response(context, in);
        std::string der = encode(response);
        TS_RESP_free(response);
        BIO_free(in);
        ASN1_OBJECT_free(policy);
        TS_RESP_CTX_free(context);
        return der;
    }

    // A TimeStampResp with the given failure status and no token.
    static std::string refuse(int status) {
        TS_RESP* response = TS_RESP_new();
        TS_STATUS_INFO* info = TS_STATUS_INFO_new();
        TS_STATUS_INFO_set_status(info, status);
        TS_RESP_set_status_info(response, info);
        std::string der = encode(response);
        TS_STATUS_INFO_free(info);
        TS_RESP_free(response);
        return der;
    }

    // A request for other data, as a stale or foreign answer would have been made for.
    static std::string otherRequest() {
        unsigned char digest[32];
        RAND_bytes(digest, sizeof digest);
        TS_REQ* request = TS_REQ_new();
        TS_MSG_IMPRINT* imprint = TS_MSG_IMPRINT_new();
        X509_ALGOR* algorithm = X509_ALGOR_new();
        X509_ALGOR_set_md(algorithm, EVP_sha256());
        TS_MSG_IMPRINT_set_algo(imprint, algorithm);
        TS_MSG_IMPRINT_set_msg(imprint, digest, sizeof digest);
        TS_REQ_set_version(request, 1);
        TS_REQ_set_msg_imprint(request, imprint);
        unsigned char* out = nullptr;
        const int length = i2d_TS_REQ(request, &out);
        std::string der(reinterpret_cast<char*>(out), static_cast<std::size_t>(length));
        OPENSSL_free(out);
        X509_ALGOR_free(algorithm);
        TS_MSG_IMPRINT_free(imprint);
        TS_REQ_free(request);
        return der;
    }

private:
    static std::string encode(TS_RESP* response) {
        unsigned char* out = nullptr;
        const int length = response ? i2d_TS_RESP(response, &out) : -1;
        if (length <= 0)
            throw std::runtime_error("TS response");
        std::string der(reinterpret_cast<char*>(out), static_cast<std::size_t>(length));
        OPENSSL_free(out);
        return der;
    }

    KX::Testing::KeyPtr _rootKey;
    KX::Testing::CertPtr _root;
    KX::Testing::KeyPtr _key;
    KX::Testing::CertPtr _certificate;
};

} // namespace CadesTest
