#include "EditorCoreFixture.h"

#include <QPainter>

namespace KX::Tovrin::Test {
namespace {

std::string emu(double points) {
    return std::to_string(static_cast<long long>(points * 12700));
}

std::string xfrm(double x, double y, double w, double h, const std::string& attrs = {}) {
    return "<a:xfrm" + attrs + "><a:off x=\"" + emu(x) + "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" + emu(w) +
           "\" cy=\"" + emu(h) + "\"/></a:xfrm>";
}

std::string shape(const std::string& spPr, const std::string& txBody = {},
                  const std::string& nvPr = "<p:nvPr/>") {
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/>" + nvPr + "</p:nvSpPr><p:spPr>" +
           spPr + "</p:spPr>" + txBody + "</p:sp>";
}

std::string rect(double x, double y, double w, double h, const std::string& fill,
                 const std::string& attrs = {}) {
    return shape(xfrm(x, y, w, h, attrs) + "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>" + fill +
                 "<a:ln><a:noFill/></a:ln>");
}

std::string solid(const std::string& hex) {
    return "<a:solidFill><a:srgbClr val=\"" + hex + "\"/></a:solidFill>";
}

std::string textBody(const std::string& text, const std::string& size = "2400") {
    return "<p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:r><a:rPr lang=\"en-US\" sz=\"" + size +
           "\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill></a:rPr><a:t>" + text +
           "</a:t></a:r></a:p></p:txBody>";
}

class EditorCorePptx : public EditorCoreTest {};

TEST_F(EditorCorePptx, SlideSizeAndCountComeFromThePresentation) {
    PptxRecipe deck;
    deck.widthEmu = 12192000;
    deck.heightEmu = 6858000;
    deck.slideShapes = {"", "", ""};
    _core.load(write("size.pptx", pptxEntries(deck)));
    EXPECT_TRUE(_core.isLoaded());
    EXPECT_EQ(_core.getSlidesCount(), 3);
    EXPECT_NEAR(_core.slideSize().width(), 960, 0.01);
    EXPECT_NEAR(_core.slideSize().height(), 540, 0.01);
    // Letterboxed on transparent: a square render of a wide slide leaves bands above and below.
    const QImage image = _core.renderSlide(0, QSize(200, 200));
    ASSERT_EQ(image.size(), QSize(200, 200));
    EXPECT_EQ(image.pixelColor(100, 5).alpha(), 0);
    EXPECT_TRUE(near(image.pixelColor(100, 100), Qt::white));
    EXPECT_TRUE(_core.renderSlide(3, QSize(100, 100)).isNull());
    EXPECT_TRUE(_core.renderSlide(-1, QSize(100, 100)).isNull());
    EXPECT_TRUE(_core.renderSlide(0, QSize(16000, 16000)).isNull())
        << "absurd sizes are refused, not allocated";
}

TEST_F(EditorCorePptx, HiddenSlidesAreLeftOutUnlessAllAreHidden) {
    PptxRecipe deck;
    deck.slideShapes = {"", "", ""};
    deck.slideAttributes = {"", "show=\"0\"", ""};
    deck.slideBackgrounds = {"", "", "<p:bg><p:bgPr>" + solid("0000FF") + "</p:bgPr></p:bg>"};
    const QString path = write("hidden.pptx", pptxEntries(deck));
    _core.load(path);
    EXPECT_EQ(_core.getSlidesCount(), 2);
    EXPECT_TRUE(near(loadAndRender(path, 1).pixelColor(10, 10), QColor(0, 0, 255)));
    deck.slideAttributes = {"show=\"0\"", "show=\"0\"", "show=\"0\""};
    _core.load(write("allhidden.pptx", pptxEntries(deck)));
    EXPECT_EQ(_core.getSlidesCount(), 3);
}

TEST_F(EditorCorePptx, BackgroundsInheritFromLayoutAndMaster) {
    PptxRecipe deck;
    deck.masterBackground = "<p:bg><p:bgPr>" + solid("00FF00") + "</p:bgPr></p:bg>";
    deck.slideShapes = {"", ""};
    deck.slideBackgrounds = {"", "<p:bg><p:bgPr>" + solid("0000FF") + "</p:bgPr></p:bg>"};
    const QString path = write("bg.pptx", pptxEntries(deck));
    EXPECT_TRUE(near(loadAndRender(path, 0).pixelColor(10, 10), QColor(0, 255, 0)));
    EXPECT_TRUE(near(loadAndRender(path, 1).pixelColor(10, 10), QColor(0, 0, 255)));

    deck.layoutBackground = "<p:bg><p:bgRef idx=\"1001\"><a:schemeClr val=\"accent1\"/></p:bgRef></p:bg>";
    const QString layered = write("bg2.pptx", pptxEntries(deck));
    EXPECT_TRUE(near(loadAndRender(layered, 0).pixelColor(10, 10), QColor(255, 0, 0)));
}

TEST_F(EditorCorePptx, FilledRectangleRotationAndFlipsLandWhereExpected) {
    PptxRecipe deck;
    deck.slideShapes = {rect(100, 100, 200, 100, solid("FF0000")) +
                        // 200 x 20 bar centred at (500, 300), turned upright by the rotation.
                        rect(400, 290, 200, 20, solid("0000FF"), " rot=\"5400000\"")};
    const QImage image = loadAndRender(write("shapes.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(200, 150), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(90, 150), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(500, 230), QColor(0, 0, 255))) << "rotated bar reaches up";
    EXPECT_TRUE(near(image.pixelColor(420, 300), Qt::white)) << "unrotated extent stays empty";
}

TEST_F(EditorCorePptx, ThemeColoursAndTheirModifiers) {
    PptxRecipe deck;
    auto scheme = [](const std::string& modifiers) {
        return "<a:solidFill><a:schemeClr val=\"accent1\">" + modifiers + "</a:schemeClr></a:solidFill>";
    };
    deck.slideShapes = {rect(0, 0, 100, 100, scheme("")) +
                        rect(100, 0, 100, 100, scheme("<a:lumMod val=\"50000\"/>")) +
                        rect(200, 0, 100, 100, scheme("<a:lumMod val=\"50000\"/><a:lumOff val=\"50000\"/>")) +
                        rect(300, 0, 100, 100, scheme("<a:alpha val=\"50000\"/>")) +
                        rect(400, 0, 100, 100, scheme("<a:shade val=\"0\"/>")) +
                        rect(500, 0, 100, 100, "<a:solidFill><a:schemeClr val=\"tx1\"/></a:solidFill>")};
    const QImage image = loadAndRender(write("theme.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(50, 50), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(150, 50), QColor(128, 0, 0)))
        << image.pixelColor(150, 50).name().toStdString();
    EXPECT_TRUE(near(image.pixelColor(250, 50), QColor(255, 128, 128)))
        << image.pixelColor(250, 50).name().toStdString();
    EXPECT_TRUE(near(image.pixelColor(350, 50), QColor(255, 128, 128), 8))
        << "half transparent red over white";
    EXPECT_TRUE(near(image.pixelColor(450, 50), QColor(0, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(550, 50), QColor(0, 0, 0)));
}

TEST_F(EditorCorePptx, LinearAndRadialGradients) {
    PptxRecipe deck;
    const std::string stops =
        "<a:gsLst><a:gs pos=\"0\"><a:srgbClr val=\"FF0000\"/></a:gs><a:gs pos=\"100000\">"
        "<a:srgbClr val=\"0000FF\"/></a:gs></a:gsLst>";
    deck.slideShapes = {
        rect(0, 0, 400, 100, "<a:gradFill>" + stops + "<a:lin ang=\"0\" scaled=\"0\"/></a:gradFill>") +
        rect(0, 200, 200, 200,
             "<a:gradFill>" + stops +
                 "<a:path path=\"circle\"><a:fillToRect l=\"50000\" t=\"50000\" "
                 "r=\"50000\" b=\"50000\"/></a:path></a:gradFill>")};
    const QImage image = loadAndRender(write("gradient.pptx", pptxEntries(deck)));
    const QColor left = image.pixelColor(3, 50);
    const QColor right = image.pixelColor(396, 50);
    const QColor middle = image.pixelColor(200, 50);
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(left.blue(), 15);
    EXPECT_GT(right.blue(), 240);
    EXPECT_LT(right.red(), 15);
    EXPECT_NEAR(middle.red(), 128, 12);
    EXPECT_GT(image.pixelColor(100, 300).red(), 240) << "radial centre has the first colour";
    EXPECT_GT(image.pixelColor(2, 202).blue(), 200) << "radial corner has the last colour";
}

TEST_F(EditorCorePptx, TextIsDrawnInsideItsBox) {
    PptxRecipe deck;
    deck.slideShapes = {
        shape(xfrm(100, 100, 300, 60) + "<a:prstGeom prst=\"rect\"/>", textBody("Hello world"))};
    const QImage image = loadAndRender(write("text.pptx", pptxEntries(deck)));
    EXPECT_GT(pixelsDifferingFrom(image, QRect(100, 100, 300, 60), Qt::white), 100);
    EXPECT_EQ(pixelsDifferingFrom(image, QRect(100, 200, 300, 100), Qt::white), 0);
}

TEST_F(EditorCorePptx, PlaceholdersInheritPositionFillAndSkipEmptyPrompts) {
    PptxRecipe deck;
    const std::string titlePh = "<p:nvPr><p:ph type=\"title\"/></p:nvPr>";
    const std::string bodyPh = "<p:nvPr><p:ph type=\"body\" idx=\"1\"/></p:nvPr>";
    deck.masterShapes =
        shape(xfrm(20, 20, 680, 80) + solid("00FF00"), textBody("Master title prompt"), titlePh);
    deck.layoutShapes = shape(xfrm(50, 300, 600, 100), textBody("Layout title prompt"), titlePh) +
                        shape(xfrm(50, 420, 600, 100), textBody("Click to add text"), bodyPh);
    // The slide's title has no position of its own; the body placeholder is left empty.
    deck.slideShapes = {
        shape("", textBody("Real title"), titlePh) +
        shape("", "<p:txBody><a:bodyPr/><a:lstStyle/><a:p><a:endParaRPr/></a:p></p:txBody>", bodyPh)};
    const QImage image = loadAndRender(write("placeholders.pptx", pptxEntries(deck)));
    // Position from the layout, fill from the master.
    EXPECT_TRUE(near(image.pixelColor(60, 305), QColor(0, 255, 0)));
    EXPECT_GT(pixelsDifferingFrom(image, QRect(50, 300, 600, 100), QColor(0, 255, 0)), 100);
    // Nothing at the master's own position, and no prompt text for the empty body.
    EXPECT_EQ(pixelsDifferingFrom(image, QRect(20, 20, 680, 80), Qt::white), 0);
    EXPECT_EQ(pixelsDifferingFrom(image, QRect(50, 420, 600, 100), Qt::white), 0);
}

TEST_F(EditorCorePptx, PicturesAreDrawnAndCropped) {
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            picture.setPixelColor(x, y, QColor(0, 128, 0));
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.png"] = pngBytes(picture);
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image1.png\"/>";
    auto pic = [](double x, const std::string& crop) {
        return "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" "
               "name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
               "<a:blip r:embed=\"rIdP\"/>" +
               crop + "<a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr>" + xfrm(x, 100, 200, 100) +
               "<a:prstGeom prst=\"rect\"/></p:spPr></p:pic>";
    };
    deck.slideShapes = {pic(0, "") + pic(300, "<a:srcRect r=\"50000\"/>")};
    const QImage image = loadAndRender(write("picture.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(20, 150), QColor(255, 0, 255), 12));
    EXPECT_TRUE(near(image.pixelColor(180, 150), QColor(0, 128, 0), 12));
    // Cropped to the left half: magenta across the whole frame.
    EXPECT_TRUE(near(image.pixelColor(320, 150), QColor(255, 0, 255), 12));
    EXPECT_TRUE(near(image.pixelColor(480, 150), QColor(255, 0, 255), 12));
}

TEST_F(EditorCorePptx, GroupsMapChildSpaceAndTablesFillCells) {
    PptxRecipe deck;
    const std::string group = "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"5\" "
                              "name=\"g\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr>"
                              "<a:xfrm><a:off x=\"" +
                              emu(100) + "\" y=\"" + emu(100) + "\"/><a:ext cx=\"" + emu(200) + "\" cy=\"" +
                              emu(200) + "\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"" + emu(100) +
                              "\" cy=\"" + emu(100) + "\"/></a:xfrm></p:grpSpPr>" +
                              rect(50, 50, 50, 50, solid("0000FF")) + "</p:grpSp>";
    const std::string table =
        "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"6\" name=\"t\"/><p:cNvGraphicFramePr/><p:nvPr/>"
        "</p:nvGraphicFramePr><p:xfrm><a:off x=\"" +
        emu(400) + "\" y=\"" + emu(100) + "\"/><a:ext cx=\"" + emu(200) + "\" cy=\"" + emu(100) +
        "\"/></p:xfrm><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/table\"><a:tbl><a:tblPr/"
        "><a:tblGrid><a:gridCol w=\"" +
        emu(100) + "\"/><a:gridCol w=\"" + emu(100) + "\"/></a:tblGrid><a:tr h=\"" + emu(100) +
        "\"><a:tc><a:txBody><a:bodyPr/><a:p><a:r><a:t>x</a:t></a:r></a:p></a:txBody><a:tcPr>" +
        solid("00FF00") + "</a:tcPr></a:tc><a:tc><a:txBody><a:bodyPr/><a:p/></a:txBody><a:tcPr>" +
        solid("FF00FF") + "</a:tcPr></a:tc></a:tr></a:tbl></a:graphicData></a:graphic></p:graphicFrame>";
    deck.slideShapes = {group + table};
    const QImage image = loadAndRender(write("group.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(250, 250), QColor(0, 0, 255))) << "child scaled by two into the group";
    EXPECT_TRUE(near(image.pixelColor(190, 190), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(480, 180), QColor(0, 255, 0)));
    EXPECT_TRUE(near(image.pixelColor(580, 180), QColor(255, 0, 255)));
}

TEST_F(EditorCorePptx, UnknownElementsAreSkippedAndUnknownPresetsDrawTheirBox) {
    PptxRecipe deck;
    deck.slideShapes = {
        "<p:futureThing><p:sp/></p:futureThing>" +
        shape(xfrm(100, 100, 100, 100) + "<a:prstGeom prst=\"noSuchShape\"/>" + solid("FF0000")) +
        shape(solid("00FF00")) /* no position anywhere: skipped */};
    const QImage image = loadAndRender(write("unknown.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(105, 105), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(5, 5), Qt::white));
}

TEST_F(EditorCorePptx, VectorRenderScalesIntoTheTarget) {
    PptxRecipe deck;
    deck.slideShapes = {rect(0, 0, 360, 540, solid("0000FF"))};
    _core.load(write("vector.pptx", pptxEntries(deck)));
    QImage image(500, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    _core.renderSlide(0, painter, QRectF(0, 0, 500, 300));
    painter.end();
    // 720 x 540 into 500 x 300: 400 x 300 from x = 50.
    EXPECT_TRUE(near(image.pixelColor(2, 150), Qt::black));
    EXPECT_TRUE(near(image.pixelColor(60, 150), QColor(0, 0, 255)));
    EXPECT_TRUE(near(image.pixelColor(300, 150), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(497, 150), Qt::black));
}

} // namespace
} // namespace KX::Tovrin::Test
