// Office Open XML documents: signing in every form, signature lines, second signatures, removal and
// tampering.

#include "LoopbackTsa.h"
#include "XAdESTestSupport.h"
#include "ZipEntries.h"

#include <algorithm>
#include <boost/uuid/string_generator.hpp>

using namespace XadesTest;

namespace {

// Every Id="…", PartName="…" and Extension="…" of a part: what names its entries.
std::vector<std::string> namingAttributes(const std::string& text) {
    std::vector<std::string> found;
    for (const std::string name : {" Id=\"", " PartName=\"", " Extension=\""}) {
        for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
            const std::size_t end = text.find('"', at + name.size());
            if (end != std::string::npos)
                found.push_back(text.substr(at + 1, end + 1 - (at + 1)));
        }
    }
    return found;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The first "Value>" followed by four digits gets the year 2001 there.
void replaceFirstYear(std::string& text) {
    const std::string tag = "Value>";
    for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        const std::size_t digits = at + tag.size();
        if (digits + 4 <= text.size() && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits),
                                                     text.begin() + static_cast<std::ptrdiff_t>(digits + 4),
                                                     [](char c) { return c >= '0' && c <= '9'; })) {
            text.replace(digits, 4, "2001");
            return;
        }
    }
}

const char* const officeOpenXMLSamples[] = {
    "unsigned/hello-world-unsigned.docx", "unsigned/testWORD_3imgs.docx",
    "unsigned/hello-world-unsigned.xlsx", "unsigned/testEXCEL_charts.xlsx",
    "unsigned/hello-world-unsigned.pptx"};

int verdictOf(const std::string& document, int index = 0) {
    return verdict(managerOver(document)->verifySignature(SignatureIndex(index, SignatureKind::XAdES)));
}

SignatureLine aLine() {
    SignatureLine line;
    line.text = "Approved by Test Signer";
    line.comments = "for the record";
    line.type = 1;
    line.colorDepth = 32;
    line.horizontalResolution = 1920;
    line.verticalResolution = 1080;
    line.image = {1, 2, 3};
    line.validImage = {4, 5};
    line.invalidImage = {6};
    line.id = boost::uuids::string_generator()("{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}");
    line.suggestedSigner = "Test Signer";
    line.suggestedSigner2 = "Signing officer";
    line.suggestedSignerEmail = "signer@example.org";
    return line;
}

TEST(XAdESOfficeOpenXML, EverySampleSignsAndVerifiesInEachForm) {
    KX_REQUIRE_SAMPLES();
    CadesTest::TestTsa authority;
    CadesTest::LoopbackHttpServer tsa([&](const std::string& request) {
        return CadesTest::LoopbackHttpServer::answer(200, "application/timestamp-reply",
                                                     authority.grant(request));
    });
    for (const char* name : officeOpenXMLSamples)
        for (const auto form : {AdESForm::XAdES, AdESForm::XAdES_BES, AdESForm::XAdES_T}) {
            SCOPED_TRACE(std::string(name) + " form " + std::to_string(static_cast<int>(form)));
            auto manager = managerOver(sample(name));
            manager->sign(*storage("trust.pem", "intermediate.pem"), *keys(), options(form, tsa.url()));
            auto reopened = managerOver(bytesOf(**manager->signedDocument()));
            const auto infos = reopened->signatures();
            ASSERT_EQ(infos.size(), 1u);
            EXPECT_EQ(infos[0].signer.subject.commonName, "Test Signer");
            EXPECT_FALSE(infos[0].signatureLine.has_value());
            EXPECT_EQ(verdict(reopened->verifySignature(infos[0].index)), 0);
            EXPECT_EQ(reopened->validateCertificate(*storage(), infos[0].index, std::time(nullptr)),
                      (CertificateValidationResult{CertificateValidity::Valid, 0}));
        }
}

TEST(XAdESOfficeOpenXML, ASignatureLineGoesInAndComesBack) {
    KX_REQUIRE_SAMPLES();
    auto manager = managerOver(sample("unsigned/hello-world-unsigned.docx"));
    auto sign = options();
    sign.signatureLine = aLine();
    manager->sign(*storage(), *keys(), sign);
    const auto document = bytesOf(**manager->signedDocument());
    const auto part = readZip(document).data.at("_xmlsignatures/sig1.xml");
    EXPECT_NE(part.find("<SetupID>{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}</SetupID>"), std::string::npos);
    EXPECT_NE(part.find("<SignatureType>2</SignatureType>"), std::string::npos);
    const auto infos = managerOver(document)->signatures();
    ASSERT_EQ(infos.size(), 1u);
    ASSERT_TRUE(infos[0].signatureLine.has_value());
    const auto& line = *infos[0].signatureLine;
    const auto expected = aLine();
    EXPECT_EQ(line.id, expected.id);
    EXPECT_EQ(line.type, 1);
    EXPECT_EQ(line.text, expected.text);
    EXPECT_EQ(line.comments, expected.comments);
    EXPECT_EQ(line.colorDepth, 32);
    EXPECT_EQ(line.horizontalResolution, 1920);
    EXPECT_EQ(line.verticalResolution, 1080);
    EXPECT_EQ(line.image, expected.image);
    EXPECT_EQ(line.validImage, expected.validImage);
    EXPECT_EQ(line.invalidImage, expected.invalidImage);
    EXPECT_EQ(line.suggestedSigner, expected.suggestedSigner);
    EXPECT_EQ(line.suggestedSigner2, expected.suggestedSigner2);
    EXPECT_EQ(line.suggestedSignerEmail, expected.suggestedSignerEmail);
    EXPECT_EQ(verdictOf(document), 0);
}

TEST(XAdESOfficeOpenXML, SigningKeepsThePartsAndASecondSignatureKeepsTheFirst) {
    KX_REQUIRE_SAMPLES();
    for (const char* name : officeOpenXMLSamples) {
        SCOPED_TRACE(name);
        const auto original = readZip(sample(name));
        const auto once = signedCopy(sample(name));
        const auto signedParts = readZip(once);
        // Only the two parts that announce a signature change: the package's relationships and the
        // content types, each keeping what it had.
        for (const auto& part : original.order) {
            if (part != "_rels/.rels" && part != "[Content_Types].xml") {
                EXPECT_EQ(signedParts.data.at(part), original.data.at(part)) << part;
            }
        }
        for (const char* part : {"_rels/.rels", "[Content_Types].xml"}) {
            for (const std::string& attribute : namingAttributes(original.data.at(part)))
                EXPECT_NE(signedParts.data.at(part).find(attribute), std::string::npos)
                    << part << " " << attribute;
        }

        const auto twice = signedCopy(once, AdESForm::XAdES_BES, "signer-int");
        auto manager = managerOver(twice);
        const auto infos = manager->signatures();
        ASSERT_EQ(infos.size(), 2u);
        EXPECT_EQ(infos[1].signer.subject.commonName, "Intermediate Signer");
        for (const auto& info : infos)
            EXPECT_EQ(verdict(manager->verifySignature(info.index)), 0) << info.index.index;

        manager->removeSignatures(std::vector<SignatureIndex>{infos[0].index, infos[1].index});
        const auto removed = readZip(bytesOf(**manager->signedDocument()));
        EXPECT_FALSE(managerOver(bytesOf(**manager->signedDocument()))->isSigned());
        for (const auto& part : removed.order)
            EXPECT_EQ(part.rfind("_xmlsignatures/", 0), std::string::npos) << part;
    }
}

TEST(XAdESOfficeOpenXML, SigningAnOfficeSignedDocumentAgainLeavesOfficesSignatureValid) {
    KX_REQUIRE_SAMPLES();
    const auto twice = signedCopy(sample("signed/ooxml/ms-office-2010-signed.xlsx"));
    auto manager = managerOver(twice);
    ASSERT_EQ(manager->signatures().size(), 2u);
    EXPECT_EQ(verdict(manager->verifySignature(SignatureIndex(0, SignatureKind::XAdES))), 0);
    EXPECT_EQ(verdict(manager->verifySignature(SignatureIndex(1, SignatureKind::XAdES))), 0);
}

TEST(XAdESOfficeOpenXML, XPSSignaturesAreReadButNotWritten) {
    KX_REQUIRE_SAMPLES();
    // The same package announcing an XPS document sequence: the content types are not signed.
    auto entries = readZip(sample("signed/ooxml/hello-world-signed.docx"));
    auto& types = entries.data["[Content_Types].xml"];
    types.insert(types.rfind("</Types>"),
                 "<Override PartName=\"/FixedDocSeq.fdseq\" "
                 "ContentType=\"application/vnd.ms-package.xps-fixeddocumentsequence+xml\"/>");
    auto manager = managerOver(writeZip(entries));
    const auto infos = manager->signatures();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].signer.subject.commonName, "Bart Hanssens (Signature)");
    EXPECT_EQ(verdict(manager->verifySignature(infos[0].index)), 0);
    try {
        manager->sign(*storage(), *keys(), options());
        ADD_FAILURE() << "an XPS document was signed";
    } catch (const SignatureRuntimeError& e) {
        EXPECT_STREQ(e.what(), "Unsupported type of the document.");
    }
}

class XAdESOfficeOpenXMLTampering : public ::testing::TestWithParam<const char*> {
protected:
    std::string document() {
        const std::string name = GetParam();
        return name.find("unsigned/") == 0 ? signedCopy(sample(name)) : sample(name);
    }
};

TEST_P(XAdESOfficeOpenXMLTampering, ChangedAddedAndRemovedPartsEachHaveTheirVerdict) {
    KX_REQUIRE_SAMPLES();
    const auto signedDocument = document();
    ASSERT_EQ(verdictOf(signedDocument), 0);
    auto changed = readZip(signedDocument);
    changed.data["word/document.xml"][200] ^= 0x01;
    EXPECT_EQ(verdictOf(writeZip(changed)), 3);

    auto added = readZip(signedDocument);
    added.order.push_back("word/media/slipped-in.png");
    added.data["word/media/slipped-in.png"] = "not really a picture";
    EXPECT_EQ(verdictOf(writeZip(added)), 2);

    auto removed = readZip(signedDocument);
    removed.order.erase(std::find(removed.order.begin(), removed.order.end(), "word/styles.xml"));
    EXPECT_EQ(verdictOf(writeZip(removed)), 9);

    auto relationships = readZip(signedDocument);
    auto& rels = relationships.data["word/_rels/document.xml.rels"];
    replaceAll(rels, "Target=\"styles.xml\"", "Target=\"fontTable.xml\"");
    EXPECT_EQ(verdictOf(writeZip(relationships)), 5);

    auto unreadable = readZip(signedDocument);
    unreadable.data["word/_rels/document.xml.rels"] = "<not xml";
    EXPECT_EQ(verdictOf(writeZip(unreadable)), 4);
}

TEST_P(XAdESOfficeOpenXMLTampering, AnEditedSignatureTimeGivesValidity1) {
    KX_REQUIRE_SAMPLES();
    auto entries = readZip(document());
    for (auto& [name, content] : entries.data)
        if (name.rfind("_xmlsignatures/sig", 0) == 0)
            replaceFirstYear(content);
    EXPECT_EQ(verdictOf(writeZip(entries)), 1);
}

INSTANTIATE_TEST_SUITE_P(OursAndOffices, XAdESOfficeOpenXMLTampering,
                         ::testing::Values("unsigned/hello-world-unsigned.docx",
                                           "signed/ooxml/hello-world-signed.docx"));

} // namespace
