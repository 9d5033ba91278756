#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/pptx/VmlPreview.h"

namespace KX::Tovrin::Test {
namespace {

const std::string ImageRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

QByteArray solidPng(QColor colour) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    return pngBytes(image);
}

// VML as the authoring program writes it: not well-formed, with conditional comments.
const char* const Vml =
    "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\">"
    "<v:shape id=\"Other\" o:spid=\"_x0000_s1030\" style='position:absolute;left:1in;top:0;width:10pt;"
    "height:10pt'><v:imagedata o:relid=\"rId9\"/></v:shape>"
    "<v:shape id=\"Flash1\" o:spid=\"_x0000_s2053\" type=\"#_x0000_t201\"\n"
    " style='position:absolute;left:300pt;top:100pt;width:200pt;height:150pt' stroked=\"f\">\n"
    " <![if gte mso 9]><v:imagedata o:relid=\"rId1\" o:title=\"\"/>\n <![endif]></v:shape></xml>";

TEST(VmlPreview, FindsTheShapesPictureAndPosition) {
    const auto found = findVmlPreview(QByteArray(Vml), QStringLiteral("2053"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->relationshipId, QStringLiteral("rId1"));
    EXPECT_EQ(found->bounds, QRectF(300, 100, 200, 150));
    const auto other = findVmlPreview(QByteArray(Vml), QStringLiteral("_x0000_s1030"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->relationshipId, QStringLiteral("rId9"));
    EXPECT_EQ(other->bounds, QRectF(72, 0, 10, 10));
    EXPECT_FALSE(findVmlPreview(QByteArray(Vml), QStringLiteral("9999")));
    EXPECT_FALSE(findVmlPreview(QByteArray("<xml><v:shape o:spid=\"_x0000_s1\">"), QStringLiteral("1")));
}

class EditorCoreLegacy : public EditorCoreTest {};

TEST_F(EditorCoreLegacy, ActiveXControlsShowTheirVmlPreview) {
    PptxRecipe deck;
    deck.slideShapes = {""};
    deck.slideTreeSiblings =
        "<p:controls><p:control spid=\"2053\" name=\"Flash1\" r:id=\"rIdC\"/></p:controls>";
    deck.slideRelationships = "<Relationship Id=\"rIdV\" "
                              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                              "vmlDrawing\" Target=\"../drawings/vmlDrawing1.vml\"/>";
    deck.extraEntries["ppt/drawings/vmlDrawing1.vml"] = QByteArray(Vml);
    deck.extraEntries["ppt/drawings/_rels/vmlDrawing1.vml.rels"] =
        QByteArray(("<?xml version=\"1.0\"?><Relationships "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
                    "Id=\"rId1\" Type=\"" +
                    ImageRel + "\" Target=\"../media/preview.png\"/></Relationships>")
                       .c_str());
    deck.extraEntries["ppt/media/preview.png"] = solidPng(QColor(0, 160, 0));
    const QImage image = loadAndRender(write("activex.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(400, 175), QColor(0, 160, 0), 12));
    EXPECT_TRUE(near(image.pixelColor(290, 175), Qt::white));
}

TEST_F(EditorCoreLegacy, ThemePictureBackgroundUsesTheThemesRelationships) {
    PptxRecipe deck;
    deck.slideShapes = {""};
    deck.bgFillStyles =
        "<a:solidFill><a:schemeClr val=\"phClr\"/></a:solidFill>"
        "<a:blipFill><a:blip r:embed=\"rIdT\"/><a:stretch><a:fillRect/></a:stretch></a:blipFill>";
    deck.masterBackground = "<p:bg><p:bgRef idx=\"1002\"><a:schemeClr val=\"bg1\"/></p:bgRef></p:bg>";
    deck.extraEntries["ppt/theme/_rels/theme1.xml.rels"] =
        QByteArray(("<?xml version=\"1.0\"?><Relationships "
                    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
                    "Id=\"rIdT\" Type=\"" +
                    ImageRel + "\" Target=\"../media/bg.png\"/></Relationships>")
                       .c_str());
    deck.extraEntries["ppt/media/bg.png"] = solidPng(QColor(200, 0, 200));
    const QImage image = loadAndRender(write("themebg.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(360, 270), QColor(200, 0, 200), 12));
}

} // namespace
} // namespace KX::Tovrin::Test
