// Changed documents no longer verify, and the verdict says what changed.

#include "DeflateBomb.h"
#include "XAdESTestSupport.h"
#include "ZipEntries.h"
#include "core/Errors.h"

#include <regex>

using namespace XadesTest;

namespace {

int verdictOf(const std::string& document, int index = 0) {
    auto manager = managerOver(document);
    return verdict(manager->verifySignature(SignatureIndex(index, SignatureKind::XAdES)));
}

// The OpenDocument samples of another suite and one we signed ourselves.
std::vector<std::string> openDocuments() {
    return {sample("signed/odf/libreoffice.ods"), signedCopy(sample("unsigned/open-document.odt"))};
}

TEST(XAdESTampering, OneChangedByteOfAContentEntryGivesValidity3) {
    KX_REQUIRE_SAMPLES();
    for (const auto& document : openDocuments()) {
        auto entries = readZip(document);
        entries.data["content.xml"][entries.data["content.xml"].size() / 2] ^= 0x01;
        EXPECT_EQ(verdictOf(writeZip(entries)), 3);
        EXPECT_EQ(verdictOf(writeZip(readZip(document))), 0) << "rewriting the archive alone changes nothing";
    }
}

TEST(XAdESTampering, AnAddedEntryGivesValidity2AndARemovedOneValidity9) {
    KX_REQUIRE_SAMPLES();
    for (const auto& document : openDocuments()) {
        auto added = readZip(document);
        added.order.push_back("Scripts/added.xml");
        added.data["Scripts/added.xml"] = "<added/>";
        EXPECT_EQ(verdictOf(writeZip(added)), 2);

        auto removed = readZip(document);
        removed.order.erase(std::find(removed.order.begin(), removed.order.end(), "styles.xml"));
        EXPECT_EQ(verdictOf(writeZip(removed)), 9);
    }
}

TEST(XAdESTampering, AnEditedSigningTimeGivesValidity1) {
    KX_REQUIRE_SAMPLES();
    for (const auto& document : openDocuments()) {
        auto entries = readZip(document);
        auto& signatures = entries.data["META-INF/documentsignatures.xml"];
        const std::regex time("(SigningTime>)(\\d{4})");
        ASSERT_TRUE(std::regex_search(signatures, time));
        signatures = std::regex_replace(signatures, time, "$012001", std::regex_constants::format_first_only);
        EXPECT_EQ(verdictOf(writeZip(entries)), 1);
    }
}

TEST(XAdESTampering, AnEditedSignatureValueGivesValidity1) {
    KX_REQUIRE_SAMPLES();
    auto entries = readZip(signedCopy(sample("unsigned/open-document.ods")));
    auto& signatures = entries.data["META-INF/documentsignatures.xml"];
    const auto at = signatures.find("SignatureValue>") + 20;
    signatures[at] = signatures[at] == 'A' ? 'B' : 'A';
    EXPECT_EQ(verdictOf(writeZip(entries)), 1);
}

TEST(XAdESTampering, AnEntryWhoseReferenceCannotBeComputedGivesValidity6) {
    KX_REQUIRE_SAMPLES();
    // LibreOffice canonicalises XML entries before digesting them: a content.xml that is no longer
    // XML cannot be canonicalised at all.
    auto entries = readZip(sample("signed/odf/libreoffice.ods"));
    entries.data["content.xml"] = "not XML <";
    EXPECT_EQ(verdictOf(writeZip(entries)), 6);
}

TEST(XAdESTampering, AnEntryThatInflatesBeyondReasonIsRefusedNotRead) {
    KX_REQUIRE_SAMPLES();
    const auto signedEntries = readZip(sample("signed/odf/libreoffice.ods"));
    std::map<std::string, std::string> entries;
    for (const char* name : {"mimetype", "META-INF/manifest.xml", "META-INF/documentsignatures.xml"})
        entries[name] = signedEntries.data.at(name);
    auto manager = managerOver(KX::Testing::zipWithBomb(entries, "content.xml", 600));
    try {
        manager->verifySignature(SignatureIndex(0, SignatureKind::XAdES));
        ADD_FAILURE() << "a 600 MiB entry was digested";
    } catch (const SignatureRuntimeError& e) {
        EXPECT_NE(std::string(e.what()).find("entry content.xml is too large"), std::string::npos)
            << e.what();
    }
}

} // namespace
