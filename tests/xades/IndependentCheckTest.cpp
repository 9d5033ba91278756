// Signatures we write, checked by another implementation: xmlsec1's command line verifies the
// signature value and every reference (package entries through its URL map).

#include "CliRunner.h"
#include "XAdESTestSupport.h"
#include "ZipEntries.h"

#include <algorithm>
#include <libxml/parser.h>
#include <libxml/uri.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <openssl/evp.h>

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

    // xmlsec1 --verify of an Office Open XML signature part: the signature value and the
    // references inside the signature (the package object's manifest is checked separately).
    KX::Testing::CliResult xmlsecVerifySignaturePart(const std::string& part) {
        const fs::path file = dir / "sig.xml";
        writeFile(file, part);
        return KX::Testing::runProgram(XMLSEC_PROGRAM,
                                       {"--verify", "--ignore-manifests", "--trusted-pem",
                                        pki().path("root.pem"), "--id-attr:Id",
                                        "http://uri.etsi.org/01903/v1.3.2#:SignedProperties", file.string()});
    }

    fs::path dir;
};

std::string attr(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, BAD_CAST name);
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string escapeAttribute(const std::string& value) {
    std::string out;
    for (const char c : value)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

// The Relationship Transform followed by canonical XML, written out from ECMA-376 part 2 (13.2.4.24)
// and C14N: the selected relationships sorted by Id, TargetMode made explicit, attributes in order.
std::string transformedRelationships(const std::string& part, const std::vector<std::string>& ids,
                                     const std::vector<std::string>& types) {
    xmlDoc* doc =
        xmlReadMemory(part.data(), static_cast<int>(part.size()), nullptr, nullptr, XML_PARSE_NONET);
    std::vector<std::array<std::string, 4>> kept;
    for (xmlNode* node = xmlDocGetRootElement(doc)->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const auto id = attr(node, "Id"), type = attr(node, "Type");
        if (std::find(ids.begin(), ids.end(), id) == ids.end() &&
            std::find(types.begin(), types.end(), type) == types.end())
            continue;
        const auto mode = attr(node, "TargetMode");
        kept.push_back({id, attr(node, "Target"), mode.empty() ? "Internal" : mode, type});
    }
    xmlFreeDoc(doc);
    std::sort(kept.begin(), kept.end());
    std::string out =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const auto& r : kept)
        out += "<Relationship Id=\"" + escapeAttribute(r[0]) + "\" Target=\"" + escapeAttribute(r[1]) +
               "\" TargetMode=\"" + escapeAttribute(r[2]) + "\" Type=\"" + escapeAttribute(r[3]) +
               "\"></Relationship>";
    return out + "</Relationships>";
}

std::string digestBase64(const std::string& data, const std::string& algorithm) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    const EVP_MD* md = algorithm == "http://www.w3.org/2000/09/xmldsig#sha1"    ? EVP_sha1()
                       : algorithm == "http://www.w3.org/2001/04/xmlenc#sha512" ? EVP_sha512()
                                                                                : EVP_sha256();
    EVP_Digest(data.data(), data.size(), digest, &size, md, nullptr);
    std::string out(4 * ((size + 2) / 3) + 1, '\0');
    out.resize(static_cast<std::size_t>(
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), digest, static_cast<int>(size))));
    return out;
}

// Every manifest reference of an Office Open XML signature against the package: the number that
// match, and a description of those that do not.
std::pair<int, std::string> checkManifest(const ZipEntries& package, const std::string& signaturePart) {
    xmlDoc* doc = xmlReadMemory(signaturePart.data(), static_cast<int>(signaturePart.size()), nullptr,
                                nullptr, XML_PARSE_NONET);
    xmlXPathContext* xpath = xmlXPathNewContext(doc);
    xmlXPathRegisterNs(xpath, BAD_CAST "ds", BAD_CAST "http://www.w3.org/2000/09/xmldsig#");
    xmlXPathObject* found = xmlXPathEvalExpression(BAD_CAST "//ds:Manifest/ds:Reference", xpath);
    int matching = 0;
    std::string problems;
    for (int i = 0; found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlNode* reference = found->nodesetval->nodeTab[i];
        const auto uri = attr(reference, "URI");
        char* unescaped = xmlURIUnescapeString(uri.substr(1, uri.find('?') - 1).c_str(), 0, nullptr);
        const std::string name = unescaped;
        xmlFree(unescaped);
        std::vector<std::string> ids, types;
        bool relationships = false;
        std::string expected, algorithm;
        for (xmlNode* child = reference->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE)
                continue;
            if (xmlStrEqual(child->name, BAD_CAST "DigestMethod"))
                algorithm = attr(child, "Algorithm");
            if (xmlStrEqual(child->name, BAD_CAST "DigestValue")) {
                xmlChar* text = xmlNodeGetContent(child);
                expected = reinterpret_cast<const char*>(text);
                xmlFree(text);
            }
            if (!xmlStrEqual(child->name, BAD_CAST "Transforms"))
                continue;
            for (xmlNode* transform = child->children; transform; transform = transform->next)
                for (xmlNode* selector = transform->children; selector; selector = selector->next) {
                    relationships = true;
                    if (selector->type != XML_ELEMENT_NODE)
                        continue;
                    if (xmlStrEqual(selector->name, BAD_CAST "RelationshipReference"))
                        ids.push_back(attr(selector, "SourceId"));
                    else
                        types.push_back(attr(selector, "SourceType"));
                }
        }
        const auto part = package.data.find(name);
        const auto actual =
            part == package.data.end()
                ? std::string("(missing)")
                : digestBase64(relationships ? transformedRelationships(part->second, ids, types)
                                             : part->second,
                               algorithm);
        if (actual == expected)
            ++matching;
        else
            problems += name + " ";
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(xpath);
    xmlFreeDoc(doc);
    return {matching, problems};
}

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

TEST_F(XAdESIndependentCheck, OfficeOpenXMLDocumentsWeSignVerifyWithXmlsecAndTheStandardsOwnDigests) {
    KX_REQUIRE_SAMPLES();
    for (const char* name : {"unsigned/hello-world-unsigned.docx", "unsigned/testWORD_3imgs.docx",
                             "unsigned/hello-world-unsigned.xlsx", "unsigned/testEXCEL_charts.xlsx",
                             "unsigned/hello-world-unsigned.pptx"}) {
        SCOPED_TRACE(name);
        const auto original = readZip(sample(name));
        const auto package = readZip(signedCopy(sample(name)));
        const auto& part = package.data.at("_xmlsignatures/sig1.xml");
        const auto result = xmlsecVerifySignaturePart(part);
        EXPECT_EQ(result.status, 0) << result.err;
        const auto [matching, problems] = checkManifest(package, part);
        EXPECT_EQ(problems, "");
        // Every part of the document is signed (the content types and the signature parts are not).
        EXPECT_EQ(matching, static_cast<int>(original.order.size()) - 1);
    }
}

TEST_F(XAdESIndependentCheck, TheManifestCheckOfTheseTestsAgreesWithOfficesOwnSignatures) {
    KX_REQUIRE_SAMPLES();
    for (const char* name :
         {"signed/ooxml/ms-office-2010-signed.pptx", "signed/ooxml/office2007prettyPrintedRels.docx"}) {
        SCOPED_TRACE(name);
        const auto package = readZip(sample(name));
        const auto [matching, problems] = checkManifest(package, package.data.at("_xmlsignatures/sig1.xml"));
        EXPECT_EQ(problems, "");
        EXPECT_GT(matching, 8);
    }
    // The pretty-printed document's parts are all intact by the standard's digests, yet its
    // signature value does not verify; xmlsec1 agrees with our verdict.
    const auto pretty = readZip(sample("signed/ooxml/office2007prettyPrintedRels.docx"));
    EXPECT_NE(xmlsecVerifySignaturePart(pretty.data.at("_xmlsignatures/sig1.xml")).status, 0);
    EXPECT_EQ(verdict(managerOver(sample("signed/ooxml/office2007prettyPrintedRels.docx"))
                          ->verifySignature(SignatureIndex(0, SignatureKind::XAdES))),
              1);
}

TEST_F(XAdESIndependentCheck, SignedDocumentsStillOpenInAnotherOfficeSuite) {
    KX_REQUIRE_SAMPLES();
    if (!fs::exists("/usr/bin/soffice"))
        GTEST_SKIP() << "no office suite installed";
    const auto convert = [&](const std::string& file) {
        KX::Testing::CliOptions options;
        options.environment = {"HOME=" + dir.string()};
        const auto result = KX::Testing::runProgram(
            "/usr/bin/soffice",
            {"--headless", "--norestore", "-env:UserInstallation=file://" + (dir / "profile").string(),
             "--convert-to", "pdf", "--outdir", (dir / "pdf").string(), (dir / file).string()},
            options);
        return result.status == 0 && fs::exists(dir / "pdf" / (fs::path(file).stem().string() + ".pdf"));
    };
    int checked = 0;
    // One of each family; presentations, because the suite's presentation program is the one the
    // project's machines install.
    for (const char* name : {"presentations/odp/open-document.odp", "unsigned/hello-world-unsigned.pptx"}) {
        SCOPED_TRACE(name);
        const std::string extension = fs::path(name).extension().string();
        writeFile(dir / ("plain" + extension), sample(name));
        // The suite may lack the application for this kind of document.
        if (!convert("plain" + extension))
            continue;
        writeFile(dir / ("signed" + extension), signedCopy(sample(name)));
        EXPECT_TRUE(convert("signed" + extension));
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "the installed office suite opens none of the samples";
}

} // namespace
