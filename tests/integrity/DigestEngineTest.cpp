#include "TestFiles.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "integrity/DigestHex.h"
#include "integrity/OpenSSLCryptoProvider.h"

#include <gtest/gtest.h>
#include <vector>

using namespace KX;
using namespace KX::CryptographicEngine;
using KX::PluginAPI::digestToHex;
using KX::Testing::messageOf;

namespace {

std::string hexOf(HashAlgorithm algorithm, std::string_view data) {
    const auto context = createOpenSSLCryptoProvider()->createDigestContext(algorithm);
    return digestToHex(context->update(data.data(), data.size()).finish());
}

const std::string sha256OfNothing = "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
const std::string sha256OfAbc = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";

// Records what the engine feeds, to see how a stream is cut up.
class RecordingContext final : public DigestContext {
public:
    std::vector<std::size_t> updates;
    DigestContext& reset() override { return *this; }
    DigestContext& update(const void*, std::size_t count) override {
        updates.push_back(count);
        return *this;
    }
    using DigestContext::update;
    Digest finish() override { return {}; }
};

} // namespace

TEST(IntegrityDigestEngine, KnownAnswersAndSizes) {
    EXPECT_EQ(hexOf(HashAlgorithm::Sha1, "abc"), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(hexOf(HashAlgorithm::Md5, "abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(hexOf(HashAlgorithm::Sha256, "abc"), sha256OfAbc);
    EXPECT_EQ(hexOf(HashAlgorithm::Sha512, "abc").size(), 128u);
    EXPECT_EQ(hexOf(HashAlgorithm::Sha256, ""), sha256OfNothing);
}

TEST(IntegrityDigestEngine, StreamsAreFedToTheirEndInFixedChunks) {
    ContainerBasedInOutStream<std::string> empty;
    const auto context = createOpenSSLCryptoProvider()->createDigestContext(HashAlgorithm::Sha256);
    EXPECT_EQ(digestToHex(context->update(empty).finish()), sha256OfNothing);

    RecordingContext recorder;
    ContainerBasedInOutStream<std::string> exact(std::string(DigestContext::streamChunkSize, 'x'));
    recorder.update(exact);
    EXPECT_EQ(recorder.updates, std::vector<std::size_t>{DigestContext::streamChunkSize});

    recorder.updates.clear();
    ContainerBasedInOutStream<std::string> longer(std::string(2 * DigestContext::streamChunkSize + 5, 'x'));
    longer.seek(3, std::ios_base::beg);
    recorder.update(longer);
    EXPECT_EQ(recorder.updates,
              (std::vector<std::size_t>{DigestContext::streamChunkSize, DigestContext::streamChunkSize, 2}));
}

TEST(IntegrityDigestEngine, ResetContextGivesTheSameDigestAsAFreshOne) {
    const auto context = createOpenSSLCryptoProvider()->createDigestContext(HashAlgorithm::Sha256);
    context->update("first file", 10).finish();
    context->reset();
    EXPECT_EQ(digestToHex(context->update("abc", 3).finish()), sha256OfAbc);
    // Fed in pieces, the digest is the same.
    context->reset().update("a", 1).update("bc", 2);
    EXPECT_EQ(digestToHex(context->finish()), sha256OfAbc);
}

TEST(IntegrityDigestEngine, UnknownAndUnsupportedAlgorithms) {
    const auto provider = createOpenSSLCryptoProvider();
    EXPECT_EQ(messageOf<InternalSecurityError>(
                  [&] { provider->createDigestContext(static_cast<HashAlgorithm>(9)); }),
              "Unsupported hash algorithm");
    EXPECT_THROW(hashAlgorithmName(static_cast<HashAlgorithm>(255)), InternalSecurityError);
    EXPECT_STREQ(hashAlgorithmName(HashAlgorithm::Gost3411_2012_256), "GOST 34.11-2012 (256)");
    // Debian's libcrypto registers no GOST digest.
    EXPECT_EQ(messageOf<UnsupportedAlgorithmError>(
                  [&] { provider->createDigestContext(HashAlgorithm::GostR3411_94); }),
              "Unsupported hash algorithm");
}
