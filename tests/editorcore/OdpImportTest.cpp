#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class EditorCoreOdp : public EditorCoreTest {};

const std::string PageStyle =
    "<style:style style:name=\"dp1\" style:family=\"drawing-page\"><style:drawing-page-properties "
    "draw:fill=\"solid\" draw:fill-color=\"#0000ff\"/></style:style>";

TEST_F(EditorCoreOdp, PageSizeBackgroundsAndMasterInheritance) {
    OdpRecipe deck;
    deck.contentStyles = PageStyle;
    deck.masterStyles =
        "<style:style style:name=\"Mdp1\" style:family=\"drawing-page\"><style:drawing-page-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#00ff00\"/></style:style>";
    deck.masterDrawStyle = "Mdp1";
    deck.pages = {"<draw:page draw:name=\"a\" draw:master-page-name=\"Default\" draw:style-name=\"dp1\"/>",
                  "<draw:page draw:name=\"b\" draw:master-page-name=\"Default\"/>"};
    const QString path = write("bg.odp", odpEntries(deck));
    _core.load(path);
    EXPECT_EQ(_core.getSlidesCount(), 2);
    EXPECT_NEAR(_core.slideSize().width(), 720, 0.01);
    EXPECT_NEAR(_core.slideSize().height(), 540, 0.01);
    EXPECT_TRUE(near(loadAndRender(path, 0).pixelColor(5, 5), QColor(0, 0, 255)));
    EXPECT_TRUE(near(loadAndRender(path, 1).pixelColor(5, 5), QColor(0, 255, 0)));
}

TEST_F(EditorCoreOdp, ShapesTextAndEmptyPlaceholders) {
    OdpRecipe deck;
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
                         "draw:fill=\"solid\" "
                         "draw:fill-color=\"#ff0000\" draw:stroke=\"none\"/></style:style>"
                         "<style:style style:name=\"gr2\" style:family=\"graphic\"><style:graphic-properties "
                         "draw:fill=\"none\" "
                         "draw:stroke=\"none\"/></style:style>";
    deck.masterShapes =
        "<draw:frame presentation:class=\"title\" svg:x=\"0in\" svg:y=\"0in\" svg:width=\"10in\" "
        "svg:height=\"1in\"><draw:text-box><text:p>Master prompt</text:p></draw:text-box></draw:frame>";
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
        "<draw:custom-shape draw:style-name=\"gr1\" svg:x=\"100pt\" svg:y=\"100pt\" svg:width=\"200pt\" "
        "svg:height=\"100pt\"><draw:enhanced-geometry draw:type=\"rectangle\"/></draw:custom-shape>"
        "<draw:custom-shape draw:style-name=\"gr1\" svg:width=\"200pt\" svg:height=\"20pt\" "
        "draw:transform=\"rotate (1.5707963267949) translate (490pt 400pt)\"><draw:enhanced-geometry "
        "draw:type=\"rectangle\"/></draw:custom-shape>"
        "<draw:frame draw:style-name=\"gr2\" svg:x=\"100pt\" svg:y=\"300pt\" svg:width=\"400pt\" "
        "svg:height=\"60pt\">"
        "<draw:text-box><text:p>Hello <text:span>ODF</text:span> world</text:p></draw:text-box></draw:frame>"
        "<draw:frame presentation:class=\"outline\" presentation:placeholder=\"true\" svg:x=\"100pt\" "
        "svg:y=\"400pt\" "
        "svg:width=\"400pt\" svg:height=\"100pt\"><draw:text-box/></draw:frame>"
        "</draw:page>"};
    const QImage image = loadAndRender(write("shapes.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(200, 150), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(90, 150), Qt::white));
    // A rotation of a quarter turn counter-clockwise about the origin, then moved: upright bar
    // from y = 200 to 400 at x = 490..510.
    EXPECT_TRUE(near(image.pixelColor(500, 250), QColor(255, 0, 0)));
    EXPECT_TRUE(near(image.pixelColor(560, 395), Qt::white));
    EXPECT_GT(pixelsDifferingFrom(image, QRect(100, 300, 400, 60), Qt::white), 100);
    EXPECT_EQ(pixelsDifferingFrom(image, QRect(0, 0, 720, 72), Qt::white), 0)
        << "master prompts are not drawn";
}

TEST_F(EditorCoreOdp, GradientsAndPictures) {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    OdpRecipe deck;
    deck.stylesStyles = "<draw:gradient draw:name=\"g1\" draw:style=\"linear\" draw:start-color=\"#ff0000\" "
                        "draw:end-color=\"#0000ff\" draw:angle=\"900\" draw:border=\"0%\"/>";
    deck.contentStyles =
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"gradient\" draw:fill-gradient-name=\"g1\" draw:stroke=\"none\"/></style:style>";
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
        "<draw:rect draw:style-name=\"gr1\" svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"400pt\" "
        "svg:height=\"100pt\"/>"
        "<draw:frame svg:x=\"100pt\" svg:y=\"200pt\" svg:width=\"100pt\" svg:height=\"100pt\"><draw:image "
        "xlink:href=\"Pictures/p.png\"/></draw:frame></draw:page>"};
    ZipEntries entries = odpEntries(deck);
    entries["Pictures/p.png"] = pngBytes(picture);
    const QImage image = loadAndRender(write("fills.odp", entries));
    // An angle of 90 degrees runs the gradient from left to right.
    EXPECT_GT(image.pixelColor(3, 50).red(), 240);
    EXPECT_GT(image.pixelColor(396, 50).blue(), 240);
    EXPECT_TRUE(near(image.pixelColor(150, 250), QColor(255, 0, 255), 12));
}

TEST_F(EditorCoreOdp, RecognisedByContentNotByName) {
    OdpRecipe deck;
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"/>",
        "<draw:page draw:name=\"b\" draw:master-page-name=\"Default\" presentation:visibility=\"hidden\"/>"};
    _core.load(write("presentation.pptx", odpEntries(deck)));
    EXPECT_EQ(_core.getSlidesCount(), 1) << "the hidden page is left out";
}

} // namespace
} // namespace KX::Tovrin::Test

namespace KX::Tovrin::Test {
namespace {

TEST_F(EditorCoreOdp, TablesTakeColumnWidthsAndCellStyles) {
    OdpRecipe deck;
    deck.contentStyles =
        "<style:style style:name=\"co1\" style:family=\"table-column\"><style:table-column-properties "
        "style:column-width=\"100pt\"/></style:style>"
        "<style:style style:name=\"ro1\" style:family=\"table-row\"><style:table-row-properties "
        "style:row-height=\"50pt\"/></style:style>"
        "<style:style style:name=\"ce1\" style:family=\"table-cell\"><style:graphic-properties "
        "draw:fill=\"solid\" "
        "draw:fill-color=\"#00ff00\"/></style:style>"
        "<style:style style:name=\"ce2\" style:family=\"table-cell\"><style:graphic-properties "
        "draw:fill=\"solid\" "
        "draw:fill-color=\"#0000ff\"/></style:style>";
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame svg:x=\"100pt\" "
        "svg:y=\"100pt\" svg:width=\"200pt\" svg:height=\"100pt\"><table:table><table:table-column "
        "table:style-name=\"co1\" table:number-columns-repeated=\"2\"/><table:table-row "
        "table:style-name=\"ro1\" table:default-cell-style-name=\"ce1\"><table:table-cell><text:p>a</text:p>"
        "</table:table-cell><table:table-cell table:style-name=\"ce2\"><text:p>b</text:p></table:table-cell>"
        "</table:table-row><table:table-row table:style-name=\"ro1\"><table:table-cell "
        "table:number-columns-spanned=\"2\" table:style-name=\"ce2\"><text:p/></table:table-cell>"
        "<table:covered-table-cell/></table:table-row></table:table></draw:frame></draw:page>"};
    const QImage image = loadAndRender(write("table.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(180, 140), QColor(0, 255, 0))) << "row default cell style";
    EXPECT_TRUE(near(image.pixelColor(280, 140), QColor(0, 0, 255)));
    EXPECT_TRUE(near(image.pixelColor(200, 190), QColor(0, 0, 255))) << "merged cell spans both columns";
    EXPECT_TRUE(near(image.pixelColor(310, 140), Qt::white));
}

} // namespace
} // namespace KX::Tovrin::Test
