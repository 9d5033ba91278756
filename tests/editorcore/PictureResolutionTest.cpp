#include "platform/brovik/editorcore/model/PictureResolution.h"

#include "EditorCoreFixture.h"

#include <QBuffer>

namespace KX::Tovrin::Test {
namespace {

// Left half red, right half blue, at the given resolution.
QImage halves(int width, int height, int dpi) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixelColor(x, y, Qt::red);
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(PictureResolution, ReadsPngAndJpegHeaders) {
    const auto png = recordedDotsPerInch(encoded(halves(8, 8, 200), "PNG"));
    ASSERT_TRUE(png);
    EXPECT_NEAR(png->width(), 200, 1);
    const auto jpeg = recordedDotsPerInch(encoded(halves(8, 8, 150), "JPEG"));
    ASSERT_TRUE(jpeg);
    EXPECT_NEAR(jpeg->height(), 150, 1);
    EXPECT_FALSE(recordedDotsPerInch(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16)));
    EXPECT_FALSE(recordedDotsPerInch(QByteArray("\xFF\xD8\xFF", 3)));
}

class EditorCoreResolution : public EditorCoreTest {};

TEST_F(EditorCoreResolution, OdpCropsAndTilesUseThePicturesOwnResolution) {
    OdpRecipe deck;
    deck.stylesStyles = "<draw:fill-image draw:name=\"tiles\" xlink:href=\"Pictures/tile.png\"/>";
    deck.contentStyles =
        "<style:style style:name=\"crop\" style:family=\"graphic\"><style:graphic-properties "
        "fo:clip=\"rect(0pt, 18.75pt, 0pt, 0pt)\" draw:stroke=\"none\"/></style:style>"
        "<style:style style:name=\"tiled\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"bitmap\" draw:fill-image-name=\"tiles\" style:repeat=\"repeat\" "
        "draw:fill-image-ref-point=\"top-left\" draw:stroke=\"none\"/></style:style>"
        "<style:style style:name=\"sized\" style:family=\"graphic\" style:parent-style-name=\"tiled\">"
        "<style:graphic-properties draw:fill-image-width=\"30pt\" draw:fill-image-height=\"30pt\"/>"
        "</style:style>"
        "<style:style style:name=\"centred\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"bitmap\" draw:fill-image-name=\"tiles\" draw:fill-image-width=\"30pt\" "
        "draw:stroke=\"none\"/></style:style>"
        "<style:style style:name=\"moved\" style:family=\"graphic\" style:parent-style-name=\"centred\">"
        "<style:graphic-properties draw:fill-image-ref-point=\"top-left\" "
        "draw:fill-image-ref-point-x=\"50%\"/></style:style>";
    deck.pages = {"<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
                  "<draw:frame draw:style-name=\"crop\" svg:x=\"100pt\" svg:y=\"100pt\" svg:width=\"100pt\" "
                  "svg:height=\"100pt\"><draw:image xlink:href=\"Pictures/p.png\"/></draw:frame>"
                  "<draw:rect draw:style-name=\"tiled\" svg:x=\"0pt\" svg:y=\"300pt\" svg:width=\"100pt\" "
                  "svg:height=\"100pt\"/><draw:rect draw:style-name=\"sized\" svg:x=\"0pt\" svg:y=\"420pt\" "
                  "svg:width=\"100pt\" svg:height=\"100pt\"/><draw:rect draw:style-name=\"centred\" "
                  "svg:x=\"200pt\" svg:y=\"300pt\" svg:width=\"100pt\" svg:height=\"100pt\"/><draw:rect "
                  "draw:style-name=\"moved\" svg:x=\"200pt\" svg:y=\"420pt\" svg:width=\"100pt\" "
                  "svg:height=\"100pt\"/></draw:page>"};
    ZipEntries entries = odpEntries(deck);
    // 100 pixels at 192 dpi are 37.5 points wide: the clip takes away the blue half.
    entries["Pictures/p.png"] = encoded(halves(100, 100, 192), "PNG");
    // 20 pixels at 192 dpi tile every 7.5 points.
    entries["Pictures/tile.png"] = encoded(halves(20, 20, 192), "PNG");
    const QImage image = loadAndRender(write("dpi.odp", entries));
    EXPECT_TRUE(near(image.pixelColor(110, 150), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(195, 150), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(1, 350), Qt::red, 40));
    EXPECT_TRUE(near(image.pixelColor(5, 350), Qt::blue, 40));
    EXPECT_TRUE(near(image.pixelColor(8, 350), Qt::red, 40));
    // A tile given a size takes it: 30 points, half red, half blue.
    EXPECT_TRUE(near(image.pixelColor(5, 450), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(22, 450), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(35, 450), Qt::red, 12));
    // With no reference point a tile sits centred in the shape: red from 235 to 250 points.
    EXPECT_TRUE(near(image.pixelColor(230, 350), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(240, 350), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(255, 350), Qt::blue, 12));
    // From the top-left corner, moved right by half a tile: red from 215 to 230.
    EXPECT_TRUE(near(image.pixelColor(205, 470), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(220, 470), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(235, 470), Qt::blue, 12));
}

TEST_F(EditorCoreResolution, PptxTilesStartWhereTheirAlignmentAndOffsetPutThem) {
    PptxRecipe deck;
    // 40 pixels at 96 dpi: 30 points, red then blue.
    deck.extraEntries["ppt/media/tile.png"] = encoded(halves(40, 40, 96), "PNG");
    deck.slideRelationships = "<Relationship Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                              "relationships/image\" Id=\"rIdT\" Target=\"../media/tile.png\"/>";
    const auto tiled = [](int x, const std::string& tile) {
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>"
               "<a:xfrm><a:off x=\"" +
               std::to_string(x * 12700) +
               "\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"1270000\"/></a:xfrm><a:prstGeom prst=\"rect\"/>"
               "<a:blipFill><a:blip r:embed=\"rIdT\"/>" +
               tile + "</a:blipFill></p:spPr></p:sp>";
    };
    deck.slideShapes = {tiled(0, "<a:tile algn=\"tl\"/>") + tiled(200, "<a:tile algn=\"ctr\"/>") +
                        tiled(400, "<a:tile tx=\"127000\" algn=\"tl\"/>")};
    const QImage image = loadAndRender(write("tiles.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(5, 50), Qt::red, 12)) << "from the corner";
    EXPECT_TRUE(near(image.pixelColor(20, 50), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(240, 50), Qt::red, 12)) << "a tile centred: red from 235";
    EXPECT_TRUE(near(image.pixelColor(230, 50), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(405, 50), Qt::blue, 12)) << "moved 10 points: red from 410";
    EXPECT_TRUE(near(image.pixelColor(415, 50), Qt::red, 12));
}

} // namespace
} // namespace KX::Tovrin::Test
