#include "CmsTestSupport.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/cms/SignedCMSMessage.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace CadesTest;

namespace {

const std::string content = "META-INF\nE3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855\n";

// A new message over content with one signature by name, saved as DER.
Bytes signedMessage(const std::string& name, const SBB::MemoryCertStorage& chain = {},
                    std::int64_t signingTime = 1700000000) {
    SBB::SignedCMSMessage message;
    auto stream = streamOf(content);
    message.createNew(stream, 0, static_cast<std::int64_t>(content.size()));
    message.setDetached(true);
    auto& signature = message.signature(message.addSignature());
    signature.setSigningTime(signingTime);
    signature.sign(signer(name), chain);
    SBB::MemoryStream out;
    message.save(out);
    return out.data();
}

void openMessage(SBB::SignedCMSMessage& message, const Bytes& der, const std::string& data = content) {
    SBB::MemoryStream signature(der);
    auto stream = streamOf(data);
    message.open(signature, stream, 0, static_cast<std::int64_t>(data.size()));
}

// The common names of the signers, sorted: a saved message keeps its signers in the order DER gives
// a SET OF, not in the order they were added.
std::vector<std::string> signerNames(SBB::SignedCMSMessage& message) {
    std::vector<std::string> names;
    for (int i = 0; i < message.signatureCount(); ++i) {
        const auto certificate = message.signature(i).findSigningCertificate();
        char name[256] = "";
        X509_NAME_get_text_by_NID(X509_get_subject_name(certificate->native()), NID_commonName, name,
                                  sizeof name);
        names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

int certificateCount(const SBB::SignedCMSMessage& message) {
    SBB::MemoryCertStorage carried;
    message.extractAllCertificates(carried);
    return static_cast<int>(carried.count());
}

} // namespace

TEST(SbbCmsMessage, DetachedSignatureVerifiesWithOpenSSL) {
    const auto der = signedMessage("signer");
    EXPECT_TRUE(opensslVerifies(der, content, {"root.pem"}));
    EXPECT_FALSE(opensslVerifies(der, content + " ", {"root.pem"}));
    EXPECT_FALSE(opensslVerifies(der, content, {"foreign-root.pem"}));

    SBB::SignedCMSMessage message;
    openMessage(message, der);
    EXPECT_TRUE(message.detached());
    ASSERT_EQ(message.signatureCount(), 1);
    auto& signature = message.signature(0);
    EXPECT_EQ(signature.signingTime(), 1700000000);
    EXPECT_EQ(signature.validate(), SBB::CMSValidity::Valid);
    ASSERT_TRUE(signature.findSigningCertificate());
    EXPECT_TRUE(signature.findSigningCertificate()->sameAs(certificateOnly("signer")));
    EXPECT_EQ(certificateCount(message), 1);
}

TEST(SbbCmsMessage, SigningTimesAfter2049AreKept) {
    // RFC 5652 switches to GeneralizedTime from 2050 on.
    SBB::SignedCMSMessage message;
    openMessage(message, signedMessage("signer", {}, 2600000000));
    EXPECT_EQ(message.signature(0).signingTime(), 2600000000);
}

TEST(SbbCmsMessage, ChangedContentOrMissingSignerCertificateFailValidation) {
    SBB::SignedCMSMessage changed;
    openMessage(changed, signedMessage("signer"), content + "x");
    EXPECT_EQ(changed.signature(0).validate(), SBB::CMSValidity::Invalid);

    // A message made by OpenSSL without certificates: the signer cannot be found.
    BIO* data = BIO_new_mem_buf(content.data(), static_cast<int>(content.size()));
    const auto certificate = signer("signer");
    CMS_ContentInfo* bare = CMS_sign(certificate.native(), certificate.privateKey(), nullptr, data,
                                     CMS_DETACHED | CMS_BINARY | CMS_NOCERTS);
    unsigned char* out = nullptr;
    const int length = i2d_CMS_ContentInfo(bare, &out);
    const Bytes der(out, out + length);
    OPENSSL_free(out);
    CMS_ContentInfo_free(bare);
    BIO_free(data);
    SBB::SignedCMSMessage message;
    openMessage(message, der);
    EXPECT_EQ(message.signature(0).validate(), SBB::CMSValidity::SignerNotFound);
    EXPECT_FALSE(message.signature(0).findSigningCertificate());
}

TEST(SbbCmsMessage, FurtherSignersJoinAnOpenedMessageWithTheirChain) {
    SBB::SignedCMSMessage message;
    openMessage(message, signedMessage("signer"));
    SBB::MemoryCertStorage chain;
    chain.add(certificateOnly("intermediate"));
    chain.add(signer("signer")); // already carried: must not be added twice
    auto& second = message.signature(message.addSignature());
    second.sign(signer("signer-int"), chain);
    EXPECT_EQ(message.signatureCount(), 2);
    EXPECT_EQ(certificateCount(message), 3);
    // Without a signing time of our own the signature still gets one.
    EXPECT_GT(second.signingTime(), 0);

    SBB::MemoryStream saved;
    message.save(saved);
    EXPECT_TRUE(opensslVerifies(saved.data(), content, {"root.pem"}));
    SBB::SignedCMSMessage reopened;
    openMessage(reopened, saved.data());
    ASSERT_EQ(reopened.signatureCount(), 2);
    EXPECT_EQ(reopened.signature(0).validate(), SBB::CMSValidity::Valid);
    EXPECT_EQ(reopened.signature(1).validate(), SBB::CMSValidity::Valid);
    EXPECT_EQ(signerNames(reopened), (std::vector<std::string>{"Intermediate Signer", "Test Signer"}));
}

TEST(SbbCmsMessage, PendingSignaturesAreLeftOutAndSignedInPositionOrder) {
    SBB::SignedCMSMessage message;
    auto stream = streamOf(content);
    message.createNew(stream, 0, static_cast<std::int64_t>(content.size()));
    const int first = message.addSignature();
    const int second = message.addSignature();
    EXPECT_EQ(message.signature(first).validate(), SBB::CMSValidity::Failure);
    message.signature(second).sign(signer("two-cn"), {});
    message.signature(first).sign(signer("signer"), {});
    EXPECT_THROW(message.signature(first).sign(signer("signer"), {}), SBB::SBException);
    EXPECT_TRUE(message.signature(first).findSigningCertificate()->sameAs(certificateOnly("signer")));
    EXPECT_TRUE(message.signature(second).findSigningCertificate()->sameAs(certificateOnly("two-cn")));
    message.addSignature(); // never signed

    SBB::MemoryStream saved;
    message.save(saved);
    SBB::SignedCMSMessage reopened;
    openMessage(reopened, saved.data());
    EXPECT_EQ(signerNames(reopened), (std::vector<std::string>{"First", "Test Signer"}));
}

TEST(SbbCmsMessage, EmbeddedContentAndPemArmourAreRead) {
    BIO* data = BIO_new_mem_buf(content.data(), static_cast<int>(content.size()));
    const auto certificate = signer("signer");
    CMS_ContentInfo* attached =
        CMS_sign(certificate.native(), certificate.privateKey(), nullptr, data, CMS_BINARY);
    unsigned char* der = nullptr;
    const int derLength = i2d_CMS_ContentInfo(attached, &der);
    BIO* pem = BIO_new(BIO_s_mem());
    PEM_write_bio(pem, "CMS", "", der, derLength);
    OPENSSL_free(der);
    char* text = nullptr;
    const long length = BIO_get_mem_data(pem, &text);
    const Bytes armoured(text, text + length);
    BIO_free(pem);
    CMS_ContentInfo_free(attached);
    BIO_free(data);

    SBB::SignedCMSMessage message;
    openMessage(message, armoured, "");
    EXPECT_EQ(message.content(), bytesOf(content));
    EXPECT_FALSE(message.detached());
    EXPECT_EQ(message.signature(0).validate(), SBB::CMSValidity::Valid);
    message.setDetached(true);
    SBB::MemoryStream saved;
    message.save(saved);
    EXPECT_LT(saved.data().size(), armoured.size());
    EXPECT_TRUE(opensslVerifies(saved.data(), content, {"root.pem"}));
}

TEST(SbbCmsMessage, MisuseAndBadInputThrowLibraryExceptions) {
    SBB::SignedCMSMessage message;
    EXPECT_THROW(message.addSignature(), SBB::SBException);
    auto garbage = streamOf("not a message");
    auto stream = streamOf(content);
    try {
        message.open(garbage, stream, 0, 5);
        FAIL() << "garbage opened";
    } catch (const SBB::SBException& e) {
        EXPECT_EQ(e.name(), "EElCMSError");
        EXPECT_NE(std::string(e.what()).find("SecureBlackbox library exception: EElCMSError"),
                  std::string::npos);
    }
    EXPECT_THROW(message.createNew(stream, 0, 1000), SBB::SBException); // shorter than said
    message.createNew(stream, 0, 4);
    EXPECT_EQ(message.content(), bytesOf("META"));
    EXPECT_THROW(message.signature(0), SBB::SBException);
    EXPECT_THROW(message.signature(-1), SBB::SBException);
    EXPECT_THROW(message.signature(message.addSignature()).sign(certificateOnly("signer"), {}),
                 SBB::SBException);
    EXPECT_EQ(message.signatureCount(), 1); // the failed signature stays pending
}
