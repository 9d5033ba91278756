// Signatures we write, checked by another implementation: xmlsec1's command line verifies the
// signature value and every reference (package entries through its URL map).

#include "CliRunner.h"
#include "XAdESTestSupport.h"
#include "ZipEntries.h"

using namespace XadesTest;

namespace {

class XAdESIndependentCheck : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / fs::unique_path("kx-xades-%%%%-%%%%");
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // xmlsec1 --verify of one signature of an OpenDocument package, every entry mapped to a file.
    // xmlsec1 looks a reference up under its percent-decoded form: the map takes entry names.
    KX::Testing::CliResult xmlsecVerifyOpenDocument(const std::string& document, int signature) {
        const auto entries = readZip(document);
        std::vector<std::string> arguments{"--verify",
                                           "--trusted-pem",
                                           pki().path("root.pem"),
                                           "--id-attr:Id",
                                           "http://uri.etsi.org/01903/v1.3.2#:SignedProperties",
                                           "--node-xpath",
                                           "(//*[local-name()='Signature'])[" +
                                               std::to_string(signature + 1) + "]"};
        int count = 0;
        for (const auto& name : entries.order) {
            if (name.back() == '/')
                continue;
            const fs::path file = dir / ("entry" + std::to_string(count++));
            writeFile(file, entries.data.at(name));
            arguments.push_back("--url-map:" + name);
            arguments.push_back(file.string());
        }
        const fs::path signatures = dir / "documentsignatures.xml";
        writeFile(signatures, entries.data.at("META-INF/documentsignatures.xml"));
        arguments.push_back(signatures.string());
        return KX::Testing::runProgram(XMLSEC_PROGRAM, arguments);
    }

    fs::path dir;
};

TEST_F(XAdESIndependentCheck, OpenDocumentsWeSignVerifyWithXmlsec) {
    KX_REQUIRE_SAMPLES();
    for (const char* name : {"unsigned/open-document.odt", "unsigned/open-document.ods",
                             "unsigned/LibreOfficeWriter_odt_1.3.odt", "unsigned/images.odt"}) {
        SCOPED_TRACE(name);
        const auto result = xmlsecVerifyOpenDocument(signedCopy(sample(name)), 0);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find("OK"), std::string::npos) << result.err;
    }
}

} // namespace
