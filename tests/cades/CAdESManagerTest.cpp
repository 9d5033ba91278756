#include "CmsTestSupport.h"
#include "LoopbackTsa.h"
#include "TestFiles.h"
#include "core/Errors.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/FileStreams.h"
#include "platform/sbb/cms/SignedCMSMessage.h"
#include "signature/DigitalSignatureProviderFactory.h"
#include "signature/sbb/SBBCAdESSignatureManager.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <ctime>
#include <gtest/gtest.h>

using namespace KX;
using namespace KX::CryptographicEngine::DigitalSignature;
using namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider;
using CadesTest::pki;
using KX::Testing::messageOf;

namespace {

using Memory = ContainerBasedInOutStream<std::string>;
const std::string manifest = "META-INF\nE3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855\n";

CertificateSource source(const std::string& name) {
    return openFileForReading(FileSystem::Path(pki().path(name)));
}

// A storage with trusted roots and, optionally, intermediates.
std::unique_ptr<SBBCertificateStorage> storage(const std::string& trusted = "trust.pem",
                                               const std::string& intermediate = {}) {
    auto result = std::make_unique<SBBCertificateStorage>();
    if (!trusted.empty()) {
        EXPECT_EQ(result->load(CertificateType::Trusted, source(trusted), {}), LoadStatus::Loaded);
    }
    if (!intermediate.empty()) {
        EXPECT_EQ(result->load(CertificateType::Intermediate, source(intermediate), {}), LoadStatus::Loaded);
    }
    return result;
}

std::unique_ptr<SBBSigningKeyStore> keys(const std::string& name) {
    auto store = std::make_unique<SBBSigningKeyStore>();
    EXPECT_EQ(store->loadWithoutValidation(source(name + ".key"), {}, source(name + ".pem"), {}),
              LoadStatus::Loaded);
    return store;
}

const SignOptions bes{AdESForm::CAdES_BES, std::nullopt, std::nullopt};

std::string bytesOf(InOutStream& stream) {
    std::string bytes(static_cast<std::size_t>(stream.size()), '\0');
    stream.seek(0, std::ios_base::beg);
    stream.read(bytes.data(), bytes.size());
    return bytes;
}

// The saved signature of a manager over manifest.
std::string saved(SBBCAdESSignatureManager& manager) {
    auto signature = manager.detachedSignature();
    EXPECT_TRUE(signature && *signature);
    return bytesOf(**signature);
}

std::unique_ptr<SBBCAdESSignatureManager> managerOver(const std::string& signature,
                                                      const std::string& content = manifest) {
    Memory contentStream(content);
    Memory signatureStream(signature);
    return std::make_unique<SBBCAdESSignatureManager>(contentStream, signatureStream);
}

// A manager whose message holds one signature by each of the names, in order.
std::unique_ptr<SBBCAdESSignatureManager> signedBy(const std::vector<std::string>& names) {
    auto manager = managerOver("");
    for (const auto& name : names)
        manager->sign(*storage("trust.pem", "intermediate.pem"), *keys(name), bes);
    return manager;
}

std::vector<std::string> signerNames(SBBCAdESSignatureManager& manager) {
    std::vector<std::string> names;
    for (const auto& info : manager.signatures())
        names.push_back(info.signer.subject.commonName);
    return names;
}

} // namespace

TEST(CadesManager, NewManagerHasNoSignatureAndNoStream) {
    auto manager = managerOver("");
    EXPECT_FALSE(manager->isSigned());
    const auto signature = manager->detachedSignature();
    ASSERT_TRUE(signature.has_value());
    EXPECT_EQ(*signature, nullptr);
    EXPECT_FALSE(manager->signedDocument().has_value());
    EXPECT_TRUE(manager->signatures().empty());
}

TEST(CadesManager, SignsOneByteAndTheProviderMakesTheSameManager) {
    Memory content(std::string("x"));
    Memory signature;
    const auto provider = createDigitalSignatureProvider(DigitalSignatureProviderType::SecureBlackbox);
    const auto manager = provider->createCAdESSignatureManager(content, signature);
    ASSERT_NE(dynamic_cast<SBBCAdESSignatureManager*>(manager.get()), nullptr);
    manager->sign(*storage(), *keys("signer"), bes);
    EXPECT_TRUE(manager->isSigned());
    auto detached = manager->detachedSignature();
    EXPECT_EQ((*detached)->seek(0, std::ios_base::cur), 0);
    const auto der = bytesOf(**detached);
    EXPECT_TRUE(CadesTest::opensslVerifies(CadesTest::Bytes(der.begin(), der.end()), "x", {"root.pem"}));
}

TEST(CadesManager, ListsSignersWithTheirSigningTime) {
    const auto before = static_cast<std::int64_t>(std::time(nullptr));
    auto manager = signedBy({"signer"});
    const auto after = static_cast<std::int64_t>(std::time(nullptr));
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].index, SignatureIndex(0, SignatureKind::CAdES));
    EXPECT_EQ(infos[0].index.kind, SignatureKind::CAdES);
    EXPECT_EQ(infos[0].signer.subject.commonName, "Test Signer");
    EXPECT_EQ(infos[0].signer.subject.email, "signer@example.org");
    EXPECT_EQ(infos[0].signer.issuer.commonName, "Test Root CA");
    EXPECT_EQ(infos[0].signer.serialNumber, "01:02:A3");
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(infos[0].signingTime.time_since_epoch());
    EXPECT_GE(seconds.count(), before);
    EXPECT_LE(seconds.count(), after);
    EXPECT_EQ(infos[0].signingTime.time_since_epoch().count() % 10'000'000, 0);
    EXPECT_FALSE(infos[0].signatureLine.has_value());
}

TEST(CadesManager, AnExistingSignatureGetsAFurtherSignerWithItsIntermediate) {
    const auto first = saved(*signedBy({"signer"}));
    auto manager = managerOver(first);
    EXPECT_TRUE(manager->isSigned());
    manager->sign(*storage("trust.pem", "intermediate.pem"), *keys("signer-int"), bes);
    // The signer is the signing certificate, not the intermediate that issued it.
    EXPECT_EQ(signerNames(*manager), (std::vector<std::string>{"Test Signer", "Intermediate Signer"}));
    const std::vector<SignatureIndex> both{SignatureIndex(0), SignatureIndex(1)};
    EXPECT_EQ(manager->verifySignatures(both),
              (std::vector<SignatureValidity>{SignatureValidity::Valid, SignatureValidity::Valid}));
    // The intermediate travels in the message; the trust store supplies only the root.
    EXPECT_EQ(manager->validateCertificates(*storage(), both, CadesTest::pki().now()),
              (std::vector<CertificateValidationResult>{{}, {}}));
    const auto der = saved(*manager);
    EXPECT_TRUE(CadesTest::opensslVerifies(CadesTest::Bytes(der.begin(), der.end()), manifest, {"root.pem"}));
}

TEST(CadesManager, RemovesHighestPositionsFirst) {
    auto manager = signedBy({"signer", "two-cn", "signer-int"});
    const std::vector<SignatureIndex> indices{SignatureIndex(0), SignatureIndex(2)};
    manager->removeSignatures(indices);
    EXPECT_EQ(signerNames(*manager), (std::vector<std::string>{"Second"}));
    // What remains saves and opens again with the content.
    auto reopened = managerOver(saved(*manager));
    EXPECT_EQ(signerNames(*reopened), (std::vector<std::string>{"Second"}));
    EXPECT_EQ(reopened->verifySignature(SignatureIndex(0)), SignatureValidity::Valid);

    const std::vector<SignatureIndex> outside{SignatureIndex(5)};
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] {
                  manager->removeSignatures(outside);
              }).rfind("Signature removing error: SecureBlackbox library exception: EElCMSError", 0),
              0u);
}

TEST(CadesManager, VerificationMapsLibraryResults) {
    const auto der = saved(*signedBy({"signer"}));
    EXPECT_EQ(static_cast<int>(managerOver(der, manifest + "changed")->verifySignature(SignatureIndex(0))),
              1);
    auto manager = managerOver(der);
    EXPECT_EQ(manager->verifySignature(SignatureIndex(0)), SignatureValidity::Valid);
    EXPECT_THROW(manager->verifySignature(SignatureIndex(std::uint32_t{2147483648u})), BadNumCastError);
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] {
                  manager->verifySignature(SignatureIndex(1));
              }).rfind("Error verifying signature: SecureBlackbox library exception: EElCMSError", 0),
              0u);
}

TEST(CadesManager, CertificateChecksUseOnlyTheTrustStoresRoots) {
    auto manager = signedBy({"signer", "self-signed"});
    const SignatureIndex first(0);
    const SignatureIndex selfSigned(1);
    const auto now = CadesTest::pki().now();
    EXPECT_EQ(manager->validateCertificate(*storage(), first, now), CertificateValidationResult{});
    const CertificateValidationResult incomplete{CertificateValidity::ChainIncomplete,
                                                 ValidationReason::UnknownCA};
    EXPECT_EQ(manager->validateCertificate(*storage(""), first, now), incomplete);
    EXPECT_EQ(manager->validateCertificate(*storage("foreign-root.pem"), first, now), incomplete);
    const auto expired = manager->validateCertificate(*storage(), first, now + 400 * 86400);
    EXPECT_EQ(expired.validity, CertificateValidity::Invalid);
    EXPECT_TRUE(expired.reasons & ValidationReason::Expired);

    // A self-signed signer has no chain below a root, so no trusted root can complete it.
    EXPECT_TRUE(manager->signatures()[1].signer.subject.commonName.empty());
    EXPECT_EQ(manager->validateCertificate(*storage(), selfSigned, now), incomplete);

    Memory root(KX::Testing::TestPki::readFile(pki().path("root.pem")));
    Memory foreign(KX::Testing::TestPki::readFile(pki().path("foreign-root.pem")));
    Memory own(KX::Testing::TestPki::readFile(pki().path("self-signed.pem")));
    EXPECT_EQ(manager->checkPinnedCertificate(first, root), CertificateValidationResult{});
    EXPECT_EQ(manager->checkPinnedCertificate(first, foreign).validity,
              CertificateValidity::PinnedCertificateCheckFailed);
    EXPECT_NE(manager->checkPinnedCertificate(selfSigned, own).validity, CertificateValidity::Valid);
    EXPECT_NE(manager->checkPinnedCertificate(selfSigned, root).validity, CertificateValidity::Valid);
}

TEST(CadesManager, EveryPinnedCheckReadsTheWholeCertificate) {
    auto manager = signedBy({"signer", "signer", "signer"});
    const std::vector<SignatureIndex> all{SignatureIndex(0), SignatureIndex(1), SignatureIndex(2)};
    Memory root(KX::Testing::TestPki::readFile(pki().path("root.pem")));
    EXPECT_EQ(manager->checkPinnedCertificates(all, root),
              std::vector<CertificateValidationResult>(3, CertificateValidationResult{}));
}

TEST(CadesManager, ConstructionAndSigningFailures) {
    EXPECT_EQ(messageOf<SignatureRuntimeError>([] { managerOver("", ""); }),
              "Can't processed empty input stream.");
    EXPECT_EQ(messageOf<SignatureRuntimeError>([] { managerOver("not a signature"); }),
              "can't load the signature");

    auto manager = managerOver("");
    // Exactly the built-in key store: a derived one is another implementation.
    class OtherKeyStore : public SBBSigningKeyStore {};
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] { manager->sign(*storage(), OtherKeyStore(), bes); }),
              "Certificate loader cast issue.");
    SBBSigningKeyStore empty;
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] {
                  manager->sign(*storage(), empty, bes);
              }).rfind("Signing error: SecureBlackbox library exception: EElCMSError", 0),
              0u);

    auto timestamped = managerOver("");
    EXPECT_EQ(
        messageOf<SignatureRuntimeError>([&] {
            timestamped->sign(*storage(), *keys("signer"), SignOptions{AdESForm::CAdES_T, "", std::nullopt});
        }),
        "Signing with timestamp is failed. URL is empty.");
    EXPECT_TRUE(timestamped->isSigned());
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] {
                  timestamped->sign(*storage(), *keys("signer"), SignOptions{AdESForm::XAdES_BES, {}, {}});
              }),
              "Unsupported CAdES signature form.");
}

TEST(CadesManager, TimestampedFormAgainstTheLoopbackAuthority) {
    CadesTest::TestTsa tsa;
    std::atomic<bool> refuse{false};
    CadesTest::LoopbackHttpServer server([&](const std::string& request) {
        return CadesTest::LoopbackHttpServer::answer(
            200, "application/timestamp-reply", refuse ? CadesTest::TestTsa::refuse(2) : tsa.grant(request));
    });
    auto manager = managerOver("");
    manager->sign(*storage(), *keys("signer"), SignOptions{AdESForm::CAdES_T, server.url(), std::nullopt});
    EXPECT_EQ(server.requests(), 1);
    const auto der = saved(*manager);
    EXPECT_TRUE(CadesTest::opensslVerifies(CadesTest::Bytes(der.begin(), der.end()), manifest, {"root.pem"}));
    SBB::SignedCMSMessage message;
    SBB::MemoryStream signature(CadesTest::Bytes(der.begin(), der.end()));
    auto content = CadesTest::streamOf(manifest);
    message.open(signature, content, 0, static_cast<std::int64_t>(manifest.size()));
    EXPECT_EQ(message.signature(0).timestamps().size(), 1u);

    // A requested time-stamp that is not granted fails the signing instead of passing unnoticed.
    refuse = true;
    EXPECT_EQ(
        messageOf<SignatureRuntimeError>([&] {
            manager->sign(*storage(), *keys("signer"), SignOptions{AdESForm::CAdES_T, server.url(), {}});
        }),
        "Signing with timestamp is failed. the time-stamp server did not grant a time-stamp (status 2).");
    std::string closed;
    {
        CadesTest::LoopbackHttpServer gone([](const std::string&) { return std::string(); });
        closed = gone.url();
    }
    EXPECT_EQ(messageOf<SignatureRuntimeError>([&] {
                  manager->sign(*storage(), *keys("signer"), SignOptions{AdESForm::CAdES_T, closed, {}});
              }).rfind("Signing error: SecureBlackbox library exception: EElHTTPSClientError", 0),
              0u);
}
