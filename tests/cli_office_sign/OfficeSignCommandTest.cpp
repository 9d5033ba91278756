// office-sign on the real binary: standard output, standard error and status, byte for byte.

#include "CliRunner.h"
#include "TestPki.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>

namespace fs = boost::filesystem;
using KX::Testing::CliResult;
using KX::Testing::TestPki;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path.string(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path.string(), std::ios::binary) << bytes;
}

const fs::path samples = fs::path(KX_SOURCE_DIR) / ".." / "shared" / "samples";

std::string aborted(const std::string& message) {
    return "ERROR: " + message + "\nThe command is aborted.\n";
}

// A private copy of office-sign whose trust store holds the test root; documents live beside it.
class OfficeSign : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(samples))
            GTEST_SKIP() << "../shared/samples is not present";
        dir = fs::temp_directory_path() / fs::unique_path("kx-office-sign-%%%%-%%%%");
        fs::create_directories(dir / "bin/Resources");
        fs::copy_file(OFFICE_SIGN_BINARY, dir / "bin/office-sign");
        fs::permissions(dir / "bin/office-sign", fs::owner_all);
        fs::copy_file(TestPki::instance().path("root.pem"), dir / "bin/Resources/CACertificatesStore.pem");
        fs::copy_file(samples / "unsigned/open-document.odt", dir / "doc.odt");
        fs::copy_file(samples / "signed/odf/open-document-resigned.odt", dir / "resigned.odt");
    }
    void TearDown() override {
        if (!dir.empty())
            fs::remove_all(dir);
    }

    CliResult run(const std::vector<std::string>& arguments) {
        KX::Testing::CliOptions options;
        options.workingDirectory = dir.string();
        return KX::Testing::runProgram((dir / "bin/office-sign").string(), arguments, options);
    }

    CliResult sign(const std::string& in, const std::string& out, const std::string& signer = "signer",
                   std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"sign", in, "--out=" + out,
                                           "--certificate=" + TestPki::instance().path(signer + ".pem"),
                                           "--private-key=" + TestPki::instance().path(signer + ".key")};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return run(arguments);
    }

    // The listing line of a signature by the test signer, whatever its time.
    static std::regex signerLine(int index, const std::string& verdict) {
        return std::regex(
            "#" + std::to_string(index) +
            " signer \"Test Signer\", organization \"Ordova Test\", issuer \"Test Root CA\", serial "
            "01:02:A3; signed \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ; " +
            verdict + "\n");
    }

    fs::path dir;
};

TEST_F(OfficeSign, SignsADocumentThatThenVerifiesAndTrusts) {
    const auto signedRun = sign("doc.odt", "signed.odt");
    EXPECT_EQ(signedRun.out, "INFO: The document 'doc.odt' is successfully signed into 'signed.odt'\n");
    EXPECT_EQ(signedRun.err, "");
    EXPECT_EQ(signedRun.status, 0);
    EXPECT_EQ(readFile(dir / "doc.odt"), readFile(samples / "unsigned/open-document.odt"));

    const auto verified = run({"verify", "signed.odt"});
    EXPECT_TRUE(std::regex_match(verified.out, signerLine(0, "Valid; trusted"))) << verified.out;
    EXPECT_EQ(verified.err, "");
    EXPECT_EQ(verified.status, 0);
    const auto listed = run({"list", "signed.odt"});
    EXPECT_TRUE(std::regex_match(listed.out, signerLine(0, "Valid"))) << listed.out;
    EXPECT_EQ(listed.status, 0);
}

TEST_F(OfficeSign, SignsInPlaceASecondTimeAndLeavesNoTemporaryFile) {
    ASSERT_EQ(sign("doc.odt", "doc.odt").status, 0);
    const auto again = sign("doc.odt", "doc.odt");
    EXPECT_EQ(again.out, "INFO: The document 'doc.odt' is successfully signed into 'doc.odt'\n");
    EXPECT_EQ(again.status, 0);
    const auto verified = run({"verify", "doc.odt"});
    const std::regex twoLines("(#[01] signer \"Test Signer\".*; Valid; trusted\n){2}");
    EXPECT_TRUE(std::regex_match(verified.out, twoLines)) << verified.out;
    EXPECT_EQ(verified.status, 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bin", "doc.odt", "resigned.odt"}));
}

TEST_F(OfficeSign, VerifyFailsForUntrustedUnsignedAndChangedDocuments) {
    const auto foreign = run({"verify", "resigned.odt"});
    EXPECT_EQ(
        foreign.out,
        "#0 signer \"good-user\", organization \"Nowina Solutions\", issuer \"good-ca\", serial 0A; signed "
        "2019-08-26T13:02:54Z; Valid; not trusted\n"
        "#1 signer \"good-user\", organization \"Nowina Solutions\", issuer \"good-ca\", serial 0A; signed "
        "2019-08-26T13:02:55Z; Valid; not trusted\n");
    EXPECT_EQ(foreign.err, "");
    EXPECT_EQ(foreign.status, 1);

    const auto unsignedRun = run({"verify", "doc.odt"});
    EXPECT_EQ(unsignedRun.out, "INFO: The document 'doc.odt' carries no signatures\n");
    EXPECT_EQ(unsignedRun.status, 1);
    EXPECT_EQ(run({"list", "doc.odt"}).status, 0);

    ASSERT_EQ(sign("doc.odt", "signed.odt").status, 0);
    // Half a package is no package.
    auto bytes = readFile(dir / "signed.odt");
    writeFile(dir / "truncated.odt", bytes.substr(0, bytes.size() / 2));
    const auto broken = run({"verify", "truncated.odt"});
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err.rfind(
                  "ERROR: Document openning error: SecureBlackbox library exception: EElOfficeError(", 0),
              0u)
        << broken.err;
    EXPECT_EQ(broken.status, 1);
}

TEST_F(OfficeSign, ListsAsJson) {
    const auto listed = run({"list", "resigned.odt", "--json"});
    EXPECT_EQ(
        listed.out,
        "{\"file\": \"resigned.odt\", \"signatures\": ["
        "{\"index\": 0, \"kind\": \"XAdES\", \"signer\": {\"commonName\": \"good-user\", \"organization\": "
        "\"Nowina Solutions\", \"issuer\": \"good-ca\", \"serial\": \"0A\"}, \"signingTime\": "
        "\"2019-08-26T13:02:54Z\", \"validity\": 0, \"validityName\": \"Valid\", \"trusted\": null, "
        "\"signatureLine\": null}, "
        "{\"index\": 1, \"kind\": \"XAdES\", \"signer\": {\"commonName\": \"good-user\", \"organization\": "
        "\"Nowina Solutions\", \"issuer\": \"good-ca\", \"serial\": \"0A\"}, \"signingTime\": "
        "\"2019-08-26T13:02:55Z\", \"validity\": 0, \"validityName\": \"Valid\", \"trusted\": null, "
        "\"signatureLine\": null}]}\n");
    EXPECT_EQ(listed.status, 0);
    const auto verified = run({"verify", "doc.odt", "--json"});
    EXPECT_EQ(verified.out, "{\"file\": \"doc.odt\", \"signatures\": []}\n");
    EXPECT_EQ(verified.status, 1);
}

TEST_F(OfficeSign, CredentialFailuresUseTheMessagesOfXpkAndWriteNothing) {
    writeFile(dir / "out.odt", "left alone");
    const auto untrusted = sign("doc.odt", "out.odt", "foreign-signer");
    EXPECT_EQ(untrusted.out, "");
    EXPECT_EQ(untrusted.err,
              aborted("the certificate '" + TestPki::instance().path("foreign-signer.pem") + "' is invalid"));
    EXPECT_EQ(untrusted.status, 1);
    const auto wrongKey =
        run({"sign", "doc.odt", "--out=out.odt", "--certificate=" + TestPki::instance().path("signer.pem"),
             "--private-key=" + TestPki::instance().path("other.key")});
    EXPECT_EQ(wrongKey.err,
              aborted("the private key '" + TestPki::instance().path("other.key") + "' is invalid"));
    EXPECT_EQ(wrongKey.status, 1);
    const auto directory = run({"sign", "doc.odt", "--out=out.odt", "--certificate=" + dir.string(),
                                "--private-key=" + TestPki::instance().path("signer.key")});
    EXPECT_EQ(directory.status, 1);
    EXPECT_NE(directory.err.find("certificate"), std::string::npos) << directory.err;
    EXPECT_EQ(readFile(dir / "out.odt"), "left alone");
}

TEST_F(OfficeSign, SignRefusesBadFormsAndMissingTimeStampServers) {
    const auto form = sign("doc.odt", "out.odt", "signer", {"--form=CAdES"});
    EXPECT_EQ(form.err, aborted("the signature form 'CAdES' is not one of XAdES, XAdES_BES, XAdES_T"));
    EXPECT_EQ(form.status, 1);
    const auto noUrl = sign("doc.odt", "out.odt", "signer", {"--form=XAdES_T"});
    EXPECT_EQ(noUrl.err, aborted("Signing with timestamp is failed. URL is empty."));
    EXPECT_EQ(noUrl.status, 1);
    EXPECT_FALSE(fs::exists(dir / "out.odt"));
}

TEST_F(OfficeSign, RemovesChosenOrAllSignatures) {
    const auto one = run({"remove", "resigned.odt", "--out=one.odt", "--index=1"});
    EXPECT_EQ(one.out, "INFO: 1 of 2 signatures removed from 'resigned.odt' into 'one.odt'\n");
    EXPECT_EQ(one.err, "");
    EXPECT_EQ(one.status, 0);
    const auto listed = run({"list", "one.odt"});
    EXPECT_EQ(listed.out,
              "#0 signer \"good-user\", organization \"Nowina Solutions\", issuer \"good-ca\", serial "
              "0A; signed 2019-08-26T13:02:54Z; Valid\n");

    const auto all = run({"remove", "resigned.odt", "--out=none.odt"});
    EXPECT_EQ(all.out, "INFO: 2 of 2 signatures removed from 'resigned.odt' into 'none.odt'\n");
    EXPECT_EQ(run({"list", "none.odt"}).out, "INFO: The document 'none.odt' carries no signatures\n");

    const auto missing = run({"remove", "resigned.odt", "--out=x.odt", "--index=2"});
    EXPECT_EQ(missing.err, aborted("the document 'resigned.odt' has no signature 2"));
    EXPECT_EQ(missing.status, 1);
    const auto notSigned = run({"remove", "doc.odt", "--out=x.odt"});
    EXPECT_EQ(notSigned.err, aborted("the document 'doc.odt' is not signed"));
    EXPECT_EQ(notSigned.status, 1);
    EXPECT_FALSE(fs::exists(dir / "x.odt"));
}

TEST_F(OfficeSign, CommandLineMistakesAndGlobalOptions) {
    const auto version = run({"--version"});
    EXPECT_EQ(version.out, "Ordova Office Document Signing Tool (2.6E)\n");
    EXPECT_EQ(version.status, 0);
    const auto help = run({"--help"});
    EXPECT_EQ(
        help.out.rfind("Ordova Office Document Signing Tool\n\nUsage:\n  office-sign list DOC [--json]\n", 0),
        0u)
        << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.status, 0);

    const auto unknown = run({"frobnicate", "doc.odt"});
    EXPECT_EQ(unknown.err, "ERROR: unknown command\n\n");
    EXPECT_EQ(unknown.out, help.out.substr(help.out.find("Usage:")));
    EXPECT_EQ(unknown.status, 1);
    const auto noOut = run({"sign", "doc.odt", "--certificate=c", "--private-key=k"});
    EXPECT_EQ(noOut.err, "ERROR: the option '--out' is required but missing\n\n");
    EXPECT_EQ(noOut.status, 1);
    const auto noDocument = run({"list"});
    EXPECT_EQ(noDocument.err, "ERROR: the document to work on is missing\n\n");
    const auto absent = run({"list", "absent.odt"});
    EXPECT_EQ(absent.err, aborted("the document file 'absent.odt' doesn't exist"));
    EXPECT_EQ(absent.status, 1);
    const auto notUtf8 = run({"list", std::string("\xff.odt")});
    EXPECT_EQ(notUtf8.err, "ERROR: the command-line argument 2 is not valid UTF-8\n");
    EXPECT_EQ(notUtf8.status, 1);
}

TEST_F(OfficeSign, OfficeOpenXMLDocumentsGetASignatureLine) {
    fs::copy_file(samples / "unsigned/hello-world-unsigned.pptx", dir / "deck.pptx");
    const auto signedRun = sign("deck.pptx", "deck.pptx", "signer", {"--signature-line-text=Approved"});
    EXPECT_EQ(signedRun.out, "INFO: The document 'deck.pptx' is successfully signed into 'deck.pptx'\n");
    EXPECT_EQ(signedRun.err, "");
    const auto verified = run({"verify", "deck.pptx"});
    const std::regex line(
        "#0 signer \"Test Signer\".*; Valid; trusted; signature line \"Approved\", type 1\n");
    EXPECT_TRUE(std::regex_match(verified.out, line)) << verified.out;
    EXPECT_EQ(verified.status, 0);
    const auto json = run({"list", "deck.pptx", "--json"});
    EXPECT_NE(json.out.find("\"signatureLine\": {\"text\": \"Approved\", \"type\": 1, \"comments\": \"\", "
                            "\"suggestedSigner\": \"\"}}]}\n"),
              std::string::npos)
        << json.out;

    const auto odf = sign("doc.odt", "doc.odt", "signer", {"--signature-line-text=Approved"});
    EXPECT_EQ(odf.out,
              "WARNING: OpenDocument signatures have no signature line; --signature-line-text is ignored\n"
              "INFO: The document 'doc.odt' is successfully signed into 'doc.odt'\n");
    EXPECT_EQ(odf.status, 0);
}

TEST_F(OfficeSign, ATrustStoreGivenOnTheCommandLineReplacesTheDefault) {
    ASSERT_EQ(sign("doc.odt", "signed.odt").status, 0);
    const auto foreignRoots =
        run({"verify", "signed.odt", "--trust-store=" + TestPki::instance().path("foreign-root.pem")});
    EXPECT_TRUE(std::regex_match(foreignRoots.out, signerLine(0, "Valid; not trusted"))) << foreignRoots.out;
    EXPECT_EQ(foreignRoots.status, 1);
    const auto missing = run({"verify", "signed.odt", "--trust-store=nowhere.pem"});
    EXPECT_EQ(missing.err, aborted("the trust store file 'nowhere.pem' doesn't exist"));
    fs::remove(dir / "bin/Resources/CACertificatesStore.pem");
    EXPECT_EQ(run({"verify", "signed.odt"}).err, aborted("Trust store was not found."));
}

} // namespace
