#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <QFile>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreDamaged : public EditorCoreTest {
protected:
    // Loading must fail with a readable message and leave the core as it was.
    void expectLoadError(const QString& path, const std::string& fragment) {
        try {
            _core.load(path);
            FAIL() << "loaded " << path.toStdString();
        } catch (const DocumentLoadError& e) {
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
    }

    ZipEntries valid() {
        PptxRecipe deck;
        deck.slideShapes = {""};
        return pptxEntries(deck);
    }
};

TEST_F(EditorCoreDamaged, FilesThatAreNotPresentationsAreRefused) {
    expectLoadError(_dir.filePath("missing.pptx"), "cannot be opened");
    expectLoadError(writeRaw("empty.pptx", {}), "empty");
    expectLoadError(writeRaw("text.pptx", "just some text, not a zip archive at all"), "not a zip archive");
    expectLoadError(writeRaw("old.ppt", QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(512, '\0')),
                    "PowerPoint 97-2003");
    ZipEntries other;
    other["hello.txt"] = "hello";
    expectLoadError(write("other.zip", other), "neither a PowerPoint");
    EXPECT_FALSE(_core.isLoaded());
}

TEST_F(EditorCoreDamaged, BrokenPackagesGiveLoadErrors) {
    ZipEntries noPresentation = valid();
    noPresentation.erase("ppt/presentation.xml");
    expectLoadError(write("nopres.pptx", noPresentation), "presentation.xml");

    ZipEntries badXml = valid();
    badXml["ppt/slides/slide1.xml"] = "<p:sld xmlns:p=\"x\"><p:cSld>";
    expectLoadError(write("badxml.pptx", badXml), "slide1.xml");

    ZipEntries doctype = valid();
    doctype["ppt/presentation.xml"] = "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaa\">]><x>&a;</x>";
    expectLoadError(write("doctype.pptx", doctype), "document type");

    const QString good = write("good.pptx", valid());
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    expectLoadError(writeRaw("truncated.pptx", whole.left(whole.size() / 2)), "");

    ZipEntries odp = odpEntries({});
    odp.erase("content.xml");
    expectLoadError(write("nocontent.odp", odp), "content.xml");
}

TEST_F(EditorCoreDamaged, AFailedLoadKeepsThePreviousDocument) {
    const QString good = write("good.pptx", valid());
    _core.load(good);
    EXPECT_THROW(_core.load(writeRaw("bad.pptx", "garbage")), DocumentLoadError);
    EXPECT_TRUE(_core.isLoaded());
    EXPECT_EQ(_core.filePath(), good);
    EXPECT_EQ(_core.getSlidesCount(), 1);
}

TEST_F(EditorCoreDamaged, HostileValuesAreContained) {
    PptxRecipe deck;
    deck.widthEmu = -5;
    // Absurd sizes and broken references must neither crash nor allocate wildly.
    deck.slideShapes = {
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm "
        "rot=\"nan\"><a:off x=\"99999999999999999999\" y=\"-1e300\"/><a:ext cx=\"1e308\" cy=\"12\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"/><a:blipFill><a:blip r:embed=\"rIdNone\"/></a:blipFill></p:spPr></p:sp>"
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdBroken\"/></p:blipFill><p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
        "cx=\"100\" "
        "cy=\"100\"/></a:xfrm></p:spPr></p:pic>"};
    deck.slideRelationships =
        "<Relationship Id=\"rIdBroken\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../../../../etc/passwd\"/>";
    // Deeply nested groups stop at a depth limit instead of exhausting the stack.
    std::string nested;
    for (int i = 0; i < 200; ++i)
        nested += "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"9\" name=\"g\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
                  "<p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"100\" cy=\"100\"/><a:chOff x=\"0\" "
                  "y=\"0\"/>"
                  "<a:chExt cx=\"100\" cy=\"100\"/></a:xfrm></p:grpSpPr>";
    for (int i = 0; i < 200; ++i)
        nested += "</p:grpSp>";
    deck.slideShapes.push_back(nested);
    _core.load(write("hostile.pptx", pptxEntries(deck)));
    EXPECT_EQ(_core.getSlidesCount(), 2);
    EXPECT_NEAR(_core.slideSize().width(), 720, 0.01);
    EXPECT_FALSE(_core.renderSlide(0, QSize(320, 240)).isNull());
    EXPECT_FALSE(_core.renderSlide(1, QSize(320, 240)).isNull());
}

TEST_F(EditorCoreDamaged, ForgedPictureHeadersAreNotDecodedAtFullSize) {
    // A PNG header claiming 100000 x 100000 pixels and nothing behind it.
    QByteArray png = pngBytes(QImage(1, 1, QImage::Format_RGB32));
    png[16] = 0;
    png[17] = 1;
    png[18] = char(0x86);
    png[19] = char(0xA0);
    png[20] = 0;
    png[21] = 1;
    png[22] = char(0x86);
    png[23] = char(0xA0);
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.png"] = png;
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image1.png\"/>";
    deck.slideShapes = {
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdP\"/></p:blipFill><p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
        "cx=\"1270000\" cy=\"1270000\"/></a:xfrm></p:spPr></p:pic>"};
    const QImage image = loadAndRender(write("forged.pptx", pptxEntries(deck)));
    EXPECT_FALSE(image.isNull());
}

TEST_F(EditorCoreDamaged, ForgedCropsShowTheWholePicture) {
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(QColor(0, 160, 0));
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.png"] = pngBytes(green);
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image1.png\"/>";
    // A picture whose crop overflows any mapping, and a shape filled with one cropped absurdly far.
    deck.slideShapes = {
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdP\"/><a:srcRect l=\"0\" r=\"-1e308\" "
        "b=\"-1e308\"/></p:blipFill><p:spPr><a:xfrm>"
        "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"1270000\"/></a:xfrm></p:spPr></p:pic>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"4\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"2540000\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"1270000\"/></a:xfrm><a:prstGeom "
        "prst=\"rect\"/><a:blipFill><a:blip r:embed=\"rIdP\"/><a:srcRect t=\"-90000000000\"/>"
        "<a:stretch><a:fillRect/></a:stretch></a:blipFill></p:spPr></p:sp>"};
    const QImage image = loadAndRender(write("crops.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(50, 50), QColor(0, 160, 0), 12));
    EXPECT_TRUE(near(image.pixelColor(250, 50), QColor(0, 160, 0), 12));
}

} // namespace
} // namespace KX::Tovrin::Test

namespace KX::Tovrin::Test {
namespace {

class EditorCoreZip : public EditorCoreTest {};

TEST_F(EditorCoreZip, ReadsStopAtTheLimitWhateverTheArchiveClaims) {
    ZipEntries entries;
    entries["big.xml"] = QByteArray(4 << 20, 'x'); // compresses to a few kilobytes
    entries["small.xml"] = "<a/>";
    QFile file(write("limits.zip", entries));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const ZipReader zip(file.readAll());
    EXPECT_TRUE(zip.contains(QStringLiteral("big.xml")));
    EXPECT_FALSE(zip.contains(QStringLiteral("nothing.xml")));
    EXPECT_EQ(zip.read(QStringLiteral("small.xml")), QByteArray("<a/>"));
    EXPECT_EQ(zip.read(QStringLiteral("big.xml")).size(), 4 << 20);
    try {
        zip.read(QStringLiteral("big.xml"), 1 << 20);
        FAIL() << "read past the limit";
    } catch (const DocumentLoadError& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(zip.tryRead(QStringLiteral("big.xml"), 1 << 20).isEmpty());
    EXPECT_TRUE(zip.tryRead(QStringLiteral("nothing.xml")).isEmpty());
    EXPECT_THROW(zip.read(QStringLiteral("nothing.xml")), DocumentLoadError);
}

} // namespace
} // namespace KX::Tovrin::Test
