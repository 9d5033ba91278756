// Presentations built to exhaust the importer: every one either loads or fails with a load error,
// in bounded memory, and never takes the process down.

#include "DeflateBomb.h"
#include "EditorCoreFixture.h"

#include <sys/resource.h>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreHostile : public EditorCoreTest {
protected:
    // Loads the file; true when it loaded, false on a load error (anything else fails the test).
    bool loads(const QString& path) {
        try {
            _core.load(path);
            return true;
        } catch (const DocumentLoadError& e) {
            lastError = e.what();
            return false;
        }
    }

    std::string lastError;

    static ZipEntries deck(const std::string& shapes) {
        PptxRecipe recipe;
        recipe.slideShapes = {shapes};
        return pptxEntries(recipe);
    }

    static std::map<std::string, std::string> plain(const ZipEntries& entries) {
        std::map<std::string, std::string> out;
        for (const auto& [name, data] : entries)
            out[name] = data.toStdString();
        return out;
    }

    static long residentBytes() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss * 1024L;
    }
};

// An XML document whose entities expand to 10^9 copies of "lol", behind a prolog long enough
// to hide the document type from a look at the first few kilobytes.
QByteArray billionLaughs(const std::string& root) {
    std::string xml = "<?xml version=\"1.0\"?><!--" + std::string(8192, ' ') + "--><!DOCTYPE " + root +
                      " [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        xml += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            xml += "&l" + std::to_string(i - 1) + ";";
        xml += "\">";
    }
    return QByteArray::fromStdString(xml + "]><" + root + ">&l9;</" + root + ">");
}

QByteArray nested(const std::string& open, const std::string& close, int depth,
                  const std::string& prefix = {}, const std::string& suffix = {}) {
    std::string xml = prefix;
    xml.reserve(prefix.size() + (open.size() + close.size()) * std::size_t(depth) + suffix.size());
    for (int i = 0; i < depth; ++i)
        xml += open;
    for (int i = 0; i < depth; ++i)
        xml += close;
    return QByteArray::fromStdString(xml + suffix);
}

TEST_F(EditorCoreHostile, EntityExpansionInASlideThemeOrManifestEndsWithAnError) {
    ZipEntries slide = deck("");
    slide["ppt/slides/slide1.xml"] = billionLaughs("p:sld");
    EXPECT_FALSE(loads(write("laughs-slide.pptx", slide)));
    ZipEntries theme = deck("");
    theme["ppt/theme/theme1.xml"] = billionLaughs("a:theme");
    EXPECT_FALSE(loads(write("laughs-theme.pptx", theme)));
    // Without a mimetype entry the manifest is what tells an OpenDocument presentation.
    ZipEntries manifest = odpEntries({});
    manifest.erase("mimetype");
    manifest["META-INF/manifest.xml"] = billionLaughs("manifest:manifest");
    EXPECT_FALSE(loads(write("laughs-manifest.odp", manifest)));
    ZipEntries content = odpEntries({});
    content["content.xml"] = billionLaughs("office:document-content");
    EXPECT_FALSE(loads(write("laughs-content.odp", content)));
    EXPECT_NE(lastError.find("content.xml\" declares a document type"), std::string::npos) << lastError;
    EXPECT_LT(residentBytes(), 512L << 20);
}

TEST_F(EditorCoreHostile, DeepNestingEndsWithAnError) {
    // A hundred thousand nested elements inside a slide's shape tree, a theme and an ODP page.
    ZipEntries slide = deck(nested("<a:x>", "</a:x>", 100000).toStdString());
    EXPECT_FALSE(loads(write("deep-slide.pptx", slide)));
    EXPECT_NE(lastError.find("slide1.xml\" nests too deeply"), std::string::npos) << lastError;
    ZipEntries theme = deck("");
    theme["ppt/theme/theme1.xml"] = nested(
        "<a:x>", "</a:x>", 100000,
        "<?xml version=\"1.0\"?><a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">",
        "</a:theme>");
    EXPECT_FALSE(loads(write("deep-theme.pptx", theme)));
    EXPECT_NE(lastError.find("theme1.xml\" nests too deeply"), std::string::npos) << lastError;
    OdpRecipe page;
    page.pages = {"<draw:page draw:name=\"p\">" +
                  nested("<text:span>", "</text:span>", 100000).toStdString() + "</draw:page>"};
    EXPECT_FALSE(loads(write("deep-page.odp", odpEntries(page))));
    EXPECT_NE(lastError.find("content.xml\" nests too deeply"), std::string::npos) << lastError;
    EXPECT_LT(residentBytes(), 1024L << 20);
}

TEST_F(EditorCoreHostile, GroupsNestedTenThousandDeepFailCleanly) {
    const std::string group = "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"9\" name=\"g\"/><p:cNvGrpSpPr/><p:nvPr/>"
                              "</p:nvGrpSpPr><p:grpSpPr/>";
    const std::string box =
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>"
        "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"914400\" cy=\"914400\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"/></p:spPr></p:sp>";
    const QString pptx =
        write("groups.pptx", deck(nested(group, "</p:grpSp>", 10000, "", box).toStdString()));
    EXPECT_FALSE(loads(pptx));
    EXPECT_NE(lastError.find("nests too deeply"), std::string::npos) << lastError;
    OdpRecipe page;
    page.pages = {
        "<draw:page draw:name=\"p\">" + nested("<draw:g>", "</draw:g>", 10000).toStdString() +
        "<draw:rect svg:x=\"1in\" svg:y=\"1in\" svg:width=\"1in\" svg:height=\"1in\"/></draw:page>"};
    EXPECT_FALSE(loads(write("groups.odp", odpEntries(page))));
    EXPECT_NE(lastError.find("nests too deeply"), std::string::npos) << lastError;
    EXPECT_FALSE(_core.isLoaded());
}

TEST_F(EditorCoreHostile, APictureInflatingToAGibibyteIsSkippedInBoundedMemory) {
    PptxRecipe recipe;
    recipe.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image1.png\"/>";
    recipe.slideShapes = {
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdP\"/></p:blipFill><p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
        "cx=\"1270000\" cy=\"1270000\"/></a:xfrm></p:spPr></p:pic>"};
    const std::string bytes =
        KX::Testing::zipWithBomb(plain(pptxEntries(recipe)), "ppt/media/image1.png", 1024);
    const QString path = writeRaw("bomb.pptx", QByteArray::fromStdString(bytes));
    EXPECT_TRUE(loads(path));
    EXPECT_FALSE(_core.renderSlide(0, QSize(160, 120)).isNull());
    EXPECT_LT(residentBytes(), 768L << 20);
}

TEST_F(EditorCoreHostile, AZipClaimingTenMillionEntriesIsRefused) {
    const std::string bytes =
        KX::Testing::claimEntries(KX::Testing::zipWithBomb(plain(deck("")), "padding.bin", 1), 10'000'000);
    EXPECT_FALSE(loads(writeRaw("many.pptx", QByteArray::fromStdString(bytes))));
    EXPECT_FALSE(_core.isLoaded());
}

} // namespace
} // namespace KX::Tovrin::Test
