#include "CmsTestSupport.h"
#include "LoopbackTsa.h"
#include "TestFiles.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/cms/SignedCMSMessage.h"
#include "platform/sbb/tsp/HTTPTSPClient.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

using namespace CadesTest;

namespace {

const std::string content = "lib/a.txt\n0123\n";

class SbbTimestamp : public ::testing::Test {
protected:
    SbbTimestamp() {
        auto stream = streamOf(content);
        message.createNew(stream, 0, static_cast<std::int64_t>(content.size()));
        message.setDetached(true);
        message.signature(message.addSignature()).sign(signer("signer"), {});
        client.setHTTPClient(&http);
    }

    int stamp(const std::string& url) {
        client.setURL(url);
        return message.signature(0).addTimestamp(client);
    }

    SBB::SignedCMSMessage message;
    SBB::HTTPSClient http;
    SBB::HTTPTSPClient client;
    TestTsa tsa;
};

std::string pemOf(X509* certificate) {
    return KX::Testing::TestPki::certificatePem(certificate);
}

} // namespace

TEST_F(SbbTimestamp, GrantedTokenStampsTheSignatureValue) {
    LoopbackHttpServer server([&](const std::string& request) {
        return LoopbackHttpServer::answer(200, "application/timestamp-reply", tsa.grant(request));
    });
    ASSERT_EQ(stamp(server.url()), SBB::TSPResult::Ok) << client.failureText();
    EXPECT_EQ(server.requests(), 1);
    const auto head = server.lastRequestHead();
    EXPECT_EQ(head.rfind("POST /tsa HTTP/1.0\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("Content-Type: application/timestamp-query\r\n"), std::string::npos) << head;

    SBB::MemoryStream saved;
    message.save(saved);
    EXPECT_TRUE(opensslVerifies(saved.data(), content, {"root.pem"}));
    SBB::SignedCMSMessage reopened;
    SBB::MemoryStream signature(saved.data());
    auto stream = streamOf(content);
    reopened.open(signature, stream, 0, static_cast<std::int64_t>(content.size()));
    const auto tokens = reopened.signature(0).timestamps();
    ASSERT_EQ(tokens.size(), 1u);

    // OpenSSL's own time-stamp verifier: the token is the TSA's and stamps this signature value.
    KX::Testing::ScratchDirectory folder;
    writeBytes(folder / "token.der", tokens[0]);
    writeBytes(folder / "value.bin", reopened.signature(0).signatureValue());
    KX::Testing::writeFile(folder / "tsa-root.pem", pemOf(tsa.root()));
    KX::Testing::writeFile(folder / "tsa.pem", pemOf(tsa.certificate()));
    const auto verified = KX::Testing::runProgram(
        OPENSSL_PROGRAM, {"ts", "-verify", "-data", (folder / "value.bin").string(), "-in",
                          (folder / "token.der").string(), "-token_in", "-CAfile",
                          (folder / "tsa-root.pem").string(), "-untrusted", (folder / "tsa.pem").string()});
    EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
    EXPECT_NE(verified.out.find("Verification: OK"), std::string::npos) << verified.out;
}

TEST_F(SbbTimestamp, AnswersWithoutAUsableTokenAddNothing) {
    struct Case {
        std::function<std::string(const std::string&)> answer;
        int result;
        std::string failure;
    };
    const std::vector<Case> cases{
        {[](const std::string&) {
             return LoopbackHttpServer::answer(200, "application/timestamp-reply", TestTsa::refuse(2));
         },
         SBB::TSPResult::Rejected, "did not grant a time-stamp (status 2)"},
        {[](const std::string&) { return LoopbackHttpServer::answer(500, "text/plain", "broken"); },
         SBB::TSPResult::Rejected, "HTTP status 500"},
        {[](const std::string&) {
             return LoopbackHttpServer::answer(200, "application/timestamp-reply", "garbage");
         },
         SBB::TSPResult::Malformed, "not a time-stamp response"},
        {[&](const std::string&) {
             return LoopbackHttpServer::answer(200, "application/timestamp-reply",
                                               tsa.grant(TestTsa::otherRequest()));
         },
         SBB::TSPResult::Mismatch, "does not match the request"},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server(c.answer);
        EXPECT_EQ(stamp(server.url()), c.result) << c.failure;
        EXPECT_NE(std::string(client.failureText()).find(c.failure), std::string::npos)
            << client.failureText();
        EXPECT_TRUE(message.signature(0).timestamps().empty()) << c.failure;
    }
}

TEST_F(SbbTimestamp, TransportFailuresThrow) {
    std::string closedUrl;
    {
        LoopbackHttpServer gone([](const std::string&) { return std::string(); });
        closedUrl = gone.url();
    }
    EXPECT_THROW(stamp(closedUrl), SBB::SBException);
    EXPECT_THROW(stamp("https://127.0.0.1:1/tsa"), SBB::SBException);
    EXPECT_THROW(stamp("ftp://127.0.0.1/tsa"), SBB::SBException);
    {
        // A server that closes without answering.
        LoopbackHttpServer silent([](const std::string&) { return std::string(); });
        EXPECT_THROW(stamp(silent.url()), SBB::SBException);
    }
    SBB::HTTPTSPClient unconnected;
    EXPECT_THROW(message.signature(0).addTimestamp(unconnected), SBB::SBException);
    EXPECT_TRUE(message.signature(0).timestamps().empty());
}

TEST(SbbHttpClient, ChunkedAndLengthDelimitedAnswers) {
    LoopbackHttpServer chunked([](const std::string& body) {
        return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: x/y\r\n\r\n3\r\nabc\r\n" +
               fmt::format("{:x}", body.size()) + "\r\n" + body + "\r\n0\r\n\r\n";
    });
    SBB::HTTPSClient http;
    const auto answer = http.post(chunked.url("/echo?x=1"), "x/y", bytesOf("1234567890"));
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "x/y");
    EXPECT_EQ(answer.body, bytesOf("abc1234567890"));
    EXPECT_EQ(chunked.lastRequestHead().rfind("POST /echo?x=1 HTTP/1.0\r\n", 0), 0u);

    LoopbackHttpServer extra(
        [](const std::string&) { return "HTTP/1.0 404 No\r\nContent-Length: 2\r\n\r\nabcdef"; });
    const auto notFound = http.post(extra.url(), "x/y", {});
    EXPECT_EQ(notFound.status, 404);
    EXPECT_EQ(notFound.body, bytesOf("ab"));

    LoopbackHttpServer large(
        [](const std::string&) { return LoopbackHttpServer::answer(200, "x/y", std::string(5000, 'a')); });
    http.setMaxResponseSize(100);
    EXPECT_THROW(http.post(large.url(), "x/y", {}), SBB::SBException);
}
