#include "SignFixture.h"

using namespace KX;
using namespace KX::Testing;

namespace {

class SignCommand : public SignTest {
protected:
    // The manifest the tool must have signed for the directory as it is now.
    std::string manifestOf(const fs::path& directory) {
        const auto package = makeFileSystemPackage(FileSystem::Path(directory));
        const auto manifest = PluginAPI::PackageDigest::create(
            *package, CryptographicEngine::HashAlgorithm::Sha256,
            makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(
                PluginAPI::isExcludedFromDigest));
        MemoryStream text;
        manifest.writeTo(text, '\n');
        return text.container();
    }

    std::shared_ptr<Package> openZip(const std::string& bytes) {
        _zipBytes = std::make_unique<MemoryStream>(bytes);
        return makeZippedPackage(*_zipBytes, ZipOpenMode::OpenOrCreate, false);
    }

private:
    std::unique_ptr<MemoryStream> _zipBytes;
};

} // namespace

TEST_F(SignCommand, SignsADirectoryThatOpenSSLVerifies) {
    makePlugin();
    const auto result = sign("plug");
    EXPECT_NE(result.out.find("    S/N: 01:02:A3\n"), std::string::npos);
    EXPECT_EQ(result.out, signerBlock() + signedLine("plug"));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    const auto digest = readFile(scratch / "plug/META-INF/.digest");
    // The stored manifest is exactly the signed content, and describes the directory as it is now.
    EXPECT_EQ(digest, manifestOf(scratch / "plug"));
    const auto verified = opensslVerify(readFile(scratch / "plug/META-INF/.signature"), digest);
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_NE(verified.err.find("Verification successful"), std::string::npos) << verified.err;
    EXPECT_NE(opensslVerify(readFile(scratch / "plug/META-INF/.signature"), digest + "x").status, 0);
    // The signed directory packs: its manifest check passes.
    const auto packed = xpk({"create", "--source=plug"});
    EXPECT_EQ(packed.status, 0) << packed.err;
}

TEST_F(SignCommand, SignatureIsOneDetachedSignerWithItsCertificateAndSigningTime) {
    makePlugin();
    ASSERT_EQ(sign("plug").status, 0);
    const auto printed = runProgram(OPENSSL_PROGRAM, {"cms", "-cmsout", "-print", "-inform", "DER", "-in",
                                                      (scratch / "plug/META-INF/.signature").string()});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const auto count = [&](const std::string& text) {
        std::size_t n = 0;
        for (auto at = printed.out.find(text); at != std::string::npos; at = printed.out.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("eContent: <ABSENT>"), 1u);
    EXPECT_EQ(count("d.issuerAndSerialNumber"), 1u);
    EXPECT_EQ(count("d.certificate:"), 1u);
    EXPECT_EQ(count("object: signingTime"), 1u);
    EXPECT_EQ(count("algorithm: sha256 (2.16.840.1.101.3.4.2.1)"), 2u); // digest algorithms, signer's digest
    EXPECT_EQ(count("unsignedAttrs:\n          <ABSENT>"), 1u);         // no time-stamp
}

TEST_F(SignCommand, SignsAPackageFileInPlace) {
    makePlugin();
    fs::create_directories(scratch / "out");
    ASSERT_EQ(xpk({"create", "--source=plug", "--package=out/plug"}).status, 0);
    const auto result = sign("out/plug.xpk");
    EXPECT_EQ(result.out, signerBlock() + signedLine("out/plug.xpk"));
    EXPECT_EQ(result.status, 0);
    const auto package = openZip(readFile(scratch / "out/plug.xpk"));
    const auto digest = readEntry(*package, "META-INF/.digest");
    EXPECT_EQ(digest, manifestOf(scratch / "plug"));
    EXPECT_EQ(opensslVerify(readEntry(*package, "META-INF/.signature"), digest).status, 0);
    EXPECT_EQ(readEntry(*package, "lib/deep/data.bin"), readFile(scratch / "plug/lib/deep/data.bin"));
    // META-INF/ is written again, not twice: 7 entries of the plug-in and the two files.
    EXPECT_EQ(listArchive(readFile(scratch / "out/plug.xpk")).size(), 9u);
    EXPECT_EQ(listing(scratch / "out"), std::vector<std::string>{"plug.xpk"});
}

TEST_F(SignCommand, SigningAgainReplacesBothFiles) {
    makePlugin();
    ASSERT_EQ(xpk({"create", "--source=plug"}).status, 0);
    for (const std::string package : {"plug", "plug.xpk"}) {
        ASSERT_EQ(sign(package).status, 0) << package;
        const auto again = sign(package, "two-cn");
        EXPECT_EQ(again.out,
                  certificateBlock(pkiFile("two-cn.pem"), "Second", "", "Ordova Test", "Test Root CA") +
                      signedLine(package))
            << package;
    }
    const auto manifest = manifestOf(scratch / "plug");
    EXPECT_EQ(manifest.find(".digest"), std::string::npos);
    EXPECT_EQ(manifest.find(".signature"), std::string::npos);
    EXPECT_EQ(readFile(scratch / "plug/META-INF/.digest"), manifest);
    const auto package = openZip(readFile(scratch / "plug.xpk"));
    EXPECT_EQ(readEntry(*package, "META-INF/.digest"), manifest);
    for (const auto& signature :
         {readFile(scratch / "plug/META-INF/.signature"), readEntry(*package, "META-INF/.signature")}) {
        EXPECT_EQ(opensslVerify(signature, manifest).status, 0);
        // Only the second signer is left.
        writeFile(scratch / "s.der", signature);
        const auto signers = runProgram(OPENSSL_PROGRAM, {"cms", "-cmsout", "-print", "-inform", "DER", "-in",
                                                          (scratch / "s.der").string()});
        EXPECT_NE(signers.out.find("subject: CN=First, O=Ordova Test, CN=Second"), std::string::npos);
        EXPECT_EQ(signers.out.find("CN=Test Signer"), std::string::npos);
    }
    EXPECT_EQ(listArchive(readFile(scratch / "plug.xpk")).size(), 9u);
}

TEST_F(SignCommand, DirectoryWithoutMetaInfIsSignedAndThenPacks) {
    writeFile(scratch / "bare/lib/a.txt", "a");
    const auto result = sign("bare");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_regular_file(scratch / "bare/META-INF/.digest"));
    EXPECT_TRUE(fs::is_regular_file(scratch / "bare/META-INF/.signature"));
    // The manifest already describes the metadata directory the signing created.
    const auto digest = readFile(scratch / "bare/META-INF/.digest");
    EXPECT_EQ(digest, manifestOf(scratch / "bare"));
    EXPECT_EQ(digest.rfind("META-INF\n", 0), 0u);
    EXPECT_EQ(opensslVerify(readFile(scratch / "bare/META-INF/.signature"), digest).status, 0);
    const auto packed = xpk({"create", "--source=bare"});
    EXPECT_EQ(packed.err, "");
    EXPECT_EQ(packed.status, 0);
}

TEST_F(SignCommand, PackageWithoutMetaInfEntryGetsOne) {
    writeFile(scratch / "bare.xpk", makeArchive({{"lib/", ""}, {"lib/a.txt", "a"}}));
    ASSERT_EQ(sign("bare.xpk").status, 0);
    const auto package = openZip(readFile(scratch / "bare.xpk"));
    EXPECT_TRUE(package->hasEntry("META-INF/"));
    const auto digest = readEntry(*package, "META-INF/.digest");
    EXPECT_EQ(digest.rfind("META-INF\n", 0), 0u);
    EXPECT_EQ(opensslVerify(readEntry(*package, "META-INF/.signature"), digest).status, 0);
}

TEST_F(SignCommand, OnlyTheFirstCertificateIsReadAndThePathStaysAsTyped) {
    makePlugin();
    const auto result = sign("./plug/", "signer", {"--certificate=does-not-exist.pem"});
    EXPECT_EQ(result.out, signerBlock() + signedLine("./plug/"));
    EXPECT_EQ(result.status, 0);
}

TEST_F(SignCommand, EncryptedKeysOpenWithTheirPassphrase) {
    makePlugin();
    for (const char* key : {"signer-pkcs8-enc.key", "signer-trad-enc.key"}) {
        const auto result =
            signXpk({"sign", "--package=plug", "--certificate=" + pkiFile("signer.pem"),
                     "--private-key=" + pkiFile(key), "--passphrase=" + std::string(TestPki::passphrase)});
        EXPECT_EQ(result.out, signerBlock() + signedLine("plug")) << key;
        EXPECT_EQ(result.status, 0) << key;
    }
}

TEST_F(SignCommand, ValidToShowsTheDayWithALeadingZero) {
    // A signer whose certificate ends on the 5th of a coming month, issued by the test root.
    BIO* in = BIO_new_file(pkiFile("root.pem").c_str(), "r");
    CertPtr root(PEM_read_bio_X509(in, nullptr, nullptr, nullptr));
    BIO_free(in);
    in = BIO_new_file(pkiFile("root.key").c_str(), "r");
    KeyPtr rootKey(PEM_read_bio_PrivateKey(in, nullptr, nullptr, nullptr));
    BIO_free(in);
    const auto now = static_cast<std::time_t>(TestPki::now());
    std::tm target{};
    gmtime_r(&now, &target);
    target.tm_mon += 2;
    target.tm_mday = 5;
    target.tm_hour = 7;
    target.tm_min = 8;
    target.tm_sec = 9;
    const std::int64_t end = timegm(&target);
    const auto key = TestPki::makeKey();
    const auto certificate = TestPki::makeCertificate(
        {{{"CN", "Fifth"}}, -86400, end - TestPki::now(), false, "digitalSignature", 0x05}, key.get(),
        root.get(), rootKey.get());
    writeFile(scratch / "fifth.pem", TestPki::certificatePem(certificate.get()));
    writeFile(scratch / "fifth.key", TestPki::keyPem(key.get()));
    makePlugin();

    const auto result =
        signXpk({"sign", "--package=plug", "--certificate=fifth.pem", "--private-key=fifth.key"});
    char expected[64];
    std::strftime(expected, sizeof expected, "    Valid to: %a %b 05 07:08:09 %Y\n", &target);
    EXPECT_NE(result.out.find(expected), std::string::npos) << result.out;
    EXPECT_EQ(result.out,
              certificateBlock((scratch / "fifth.pem").string(), "Fifth", "", "", "Test Root CA") +
                  signedLine("plug"));
    EXPECT_NE(result.out.find("    S/N: 05\n"), std::string::npos);
}
