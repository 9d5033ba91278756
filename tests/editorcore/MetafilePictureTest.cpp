#include "EditorCoreFixture.h"
#include "MetafileWriter.h"

namespace KX::Tovrin::Test {
namespace {

using Metafiles::Test::EmfWriter;
using Metafiles::Test::Fields;
using Metafiles::Test::SvmWriter;
using Metafiles::Test::WmfWriter;

const std::string Rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// Left half red, right half blue: 200 x 100 device units.
QByteArray halvesEmf() {
    EmfWriter emf(QRect(0, 0, 200, 100));
    emf.record(39, {1, 0, 0x0000ff, 0}); // brushes
    emf.record(39, {2, 0, 0xff0000, 0});
    emf.record(37, {qint32(0x80000008u)}); // no outline
    emf.record(37, {1});
    emf.record(43, {0, 0, 100, 100});
    emf.record(37, {2});
    emf.record(43, {100, 0, 200, 100});
    return emf.finish();
}

// All green, 100 x 100 units.
QByteArray greenWmf() {
    WmfWriter wmf(QRect(0, 0, 100, 100), 100);
    wmf.record(0x020C, {100, 100});
    wmf.record(0x02FC, Fields().u16(0).u32(0x00a000).u16(0));
    wmf.record(0x012D, {0});
    wmf.record(0x041B, {100, 100, 0, 0});
    return wmf.finish();
}

std::string pic(const std::string& rel, int xPt, int yPt, const std::string& crop) {
    return "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
           "<a:blip r:embed=\"" +
           rel + "\"/>" + crop +
           "<a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr><a:xfrm><a:off x=\"" +
           std::to_string(xPt * 12700) + "\" y=\"" + std::to_string(yPt * 12700) +
           "\"/><a:ext cx=\"2540000\" cy=\"1270000\"/></a:xfrm></p:spPr></p:pic>";
}

class EditorCoreMetafile : public EditorCoreTest {};

TEST_F(EditorCoreMetafile, EmfPicturesAreDrawnAndCropped) {
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.emf"] = halvesEmf();
    deck.slideRelationships =
        "<Relationship Id=\"rIdE\" Type=\"" + Rels + "image\" Target=\"../media/image1.emf\"/>";
    deck.slideShapes = {pic("rIdE", 0, 0, "") + pic("rIdE", 0, 200, "<a:srcRect l=\"50000\"/>")};
    const QImage image = loadAndRender(write("emf.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(50, 50), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(150, 50), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(20, 250), Qt::blue, 12)) << "the cropped copy shows the right half";
    EXPECT_TRUE(near(image.pixelColor(180, 250), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(220, 250), Qt::white));
}

TEST_F(EditorCoreMetafile, PptxPicturesShowTheirShapeFillWhereTheyAreTransparent) {
    QImage half(20, 20, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 10; ++x)
            half.setPixelColor(x, y, Qt::blue);
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.png"] = pngBytes(half);
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" Type=\"" + Rels + "image\" Target=\"../media/image1.png\"/>";
    std::string shape = pic("rIdP", 0, 0, "");
    shape.replace(shape.find("</a:xfrm>"), 9,
                  "</a:xfrm><a:solidFill><a:srgbClr val=\"FFFF00\"/></a:solidFill>");
    deck.slideShapes = {shape};
    const QImage image = loadAndRender(write("fill.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(50, 50), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(150, 50), Qt::yellow, 12));
    EXPECT_TRUE(near(image.pixelColor(250, 50), Qt::white));
}

TEST_F(EditorCoreMetafile, LegacyObjectsShowTheirMetafilePreviewFoundByShapeId) {
    PptxRecipe deck;
    deck.slideShapes = {
        "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"Object 1\"/><p:cNvGraphicFramePr/>"
        "<p:nvPr/></p:nvGraphicFramePr><p:xfrm><a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"1270000\" "
        "cy=\"1270000\"/></p:xfrm><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/presentationml/2006/ole\"><p:oleObj spid=\"_x0000_s1025\" "
        "name=\"Chart\" r:id=\"rIdO\" progId=\"MSGraph.Chart.8\"><p:embed/></p:oleObj></a:graphicData>"
        "</a:graphic></p:graphicFrame>"};
    deck.slideRelationships =
        "<Relationship Id=\"rIdV\" Type=\"" + Rels + "vmlDrawing\" Target=\"../drawings/vmlDrawing1.vml\"/>";
    // Older files name the shape only in its id, without o:spid.
    deck.extraEntries["ppt/drawings/vmlDrawing1.vml"] =
        "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\">"
        "<v:shape id=\"_x0000_s1025\" type=\"#_x0000_t75\" style='position:absolute;left:100pt;top:100pt;"
        "width:100pt;height:100pt'><v:imagedata o:relid=\"rId1\" o:title=\"\"/></v:shape></xml>";
    deck.extraEntries["ppt/drawings/_rels/vmlDrawing1.vml.rels"] = QByteArray(
        ("<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
         "Type=\"" +
         Rels + "image\" Target=\"../media/image2.wmf\"/></Relationships>")
            .c_str());
    deck.extraEntries["ppt/media/image2.wmf"] = greenWmf();
    const QImage image = loadAndRender(write("ole.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(150, 150), QColor(0, 160, 0), 12));
    EXPECT_TRUE(near(image.pixelColor(90, 150), Qt::white));
}

TEST_F(EditorCoreMetafile, OdpFramesShowMetafiles) {
    OdpRecipe deck;
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
        "<draw:frame svg:x=\"100pt\" svg:y=\"200pt\" svg:width=\"100pt\" svg:height=\"100pt\"><draw:image "
        "xlink:href=\"Pictures/p.wmf\"/></draw:frame></draw:page>"};
    ZipEntries entries = odpEntries(deck);
    entries["Pictures/p.wmf"] = greenWmf();
    const QImage image = loadAndRender(write("wmf.odp", entries));
    EXPECT_TRUE(near(image.pixelColor(150, 250), QColor(0, 160, 0), 12));
    EXPECT_TRUE(near(image.pixelColor(150, 310), Qt::white));
}

TEST_F(EditorCoreMetafile, OdpPreviewsInStarViewMetafilesShowOverTheFramesFillButObjectsHaveNone) {
    SvmWriter svm(QSize(2000, 2000)); // a black left half on a transparent ground
    svm.record(132, 1, Fields().u32(0).u8(0));
    svm.record(133, 1, Fields().u32(0).u8(1));
    svm.record(103, 1, Fields().ints({0, 0, 999, 1999}));
    OdpRecipe deck;
    deck.contentStyles =
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
        "draw:stroke=\"none\" draw:fill=\"solid\" draw:fill-color=\"#ffff00\"/></style:style>";
    deck.pages = {"<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
                  "<draw:frame draw:style-name=\"gr1\" svg:x=\"100pt\" svg:y=\"100pt\" svg:width=\"100pt\" "
                  "svg:height=\"100pt\"><draw:image xlink:href=\"Pictures/TablePreview1.svm\"/></draw:frame>"
                  // An embedded object shows its picture without the frame's fill or line.
                  "<draw:frame draw:style-name=\"gr1\" svg:x=\"300pt\" svg:y=\"100pt\" svg:width=\"100pt\" "
                  "svg:height=\"100pt\"><draw:object xlink:href=\"./Object 1\"/><draw:image "
                  "xlink:href=\"Pictures/TablePreview1.svm\"/></draw:frame>"
                  "</draw:page>"};
    ZipEntries entries = odpEntries(deck);
    entries["Pictures/TablePreview1.svm"] = svm.finish();
    const QImage image = loadAndRender(write("svm.odp", entries));
    EXPECT_TRUE(near(image.pixelColor(125, 150), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(175, 150), Qt::yellow)) << "the frame's fill shows through";
    EXPECT_TRUE(near(image.pixelColor(210, 150), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(325, 150), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(375, 150), Qt::white));
}

} // namespace
} // namespace KX::Tovrin::Test
