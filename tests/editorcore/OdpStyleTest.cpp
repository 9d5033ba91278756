#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class EditorCoreOdpStyle : public EditorCoreTest {
protected:
    // Horizontal and vertical extent of the pixels inside rect that are not white.
    static QRect ink(const QImage& image, const QRect& rect) {
        QRect bounds;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (!near(image.pixelColor(x, y), Qt::white, 60))
                    bounds = bounds.united(QRect(x, y, 1, 1));
        return bounds;
    }

    static std::string page(const std::string& shapes) {
        return "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">" + shapes + "</draw:page>";
    }

    static std::string rectangle(const std::string& style, double x) {
        return "<draw:custom-shape draw:style-name=\"" + style + "\" svg:x=\"" + std::to_string(x) +
               "pt\" svg:y=\"100pt\" svg:width=\"100pt\" svg:height=\"100pt\"><draw:enhanced-geometry "
               "draw:type=\"rectangle\"/></draw:custom-shape>";
    }
};

TEST_F(EditorCoreOdpStyle, ParentlessGraphicStylesInheritTheStandardStyle) {
    OdpRecipe deck;
    deck.stylesStyles =
        "<style:style style:name=\"standard\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#00ff00\"/></style:style>";
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
                         "draw:stroke=\"none\"/></style:style>";
    deck.pages = {page(rectangle("gr1", 100))};
    const QImage image = loadAndRender(write("standard.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(150, 150), QColor(0, 255, 0)));
}

TEST_F(EditorCoreOdpStyle, ShapesWithOnlyAPresentationStyleDrawWithTheStandardStyle) {
    OdpRecipe deck;
    deck.stylesStyles =
        "<style:style style:name=\"standard\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#00ff00\" draw:stroke=\"none\"/></style:style>";
    deck.masterStyles = "<style:style style:name=\"objects\" style:family=\"presentation\">"
                        "<style:graphic-properties draw:shadow=\"hidden\"/></style:style>";
    deck.masterShapes = "<draw:rect presentation:style-name=\"objects\" svg:x=\"100pt\" svg:y=\"100pt\" "
                        "svg:width=\"100pt\" svg:height=\"100pt\"><text:p/></draw:rect>";
    deck.pages = {page("")};
    const QImage image = loadAndRender(write("presentation-style.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(150, 150), QColor(0, 255, 0)));
}

TEST_F(EditorCoreOdpStyle, HatchesDrawTheirLinesOverTheirBackground) {
    OdpRecipe deck;
    deck.stylesStyles = "<draw:hatch draw:name=\"h\" draw:style=\"single\" draw:color=\"#ff0000\" "
                        "draw:distance=\"10pt\" draw:rotation=\"0\"/>";
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
                         "draw:fill=\"hatch\" draw:fill-hatch-name=\"h\" draw:fill-hatch-solid=\"true\" "
                         "draw:fill-color=\"#0000ff\" draw:stroke=\"none\"/></style:style>";
    deck.pages = {page(rectangle("gr1", 100))};
    const QImage image = loadAndRender(write("hatch.odp", odpEntries(deck)));
    // Horizontal red lines every 10 points over blue, centred on the shape.
    int red = 0, blue = 0;
    for (int y = 101; y < 199; ++y) {
        const QColor c = image.pixelColor(150, y);
        red += c.red() > 90; // hairlines, smoothed over two rows
        blue += near(c, Qt::blue, 30);
    }
    EXPECT_GE(red, 9);
    EXPECT_LE(red, 30);
    EXPECT_GT(blue, 60);
    EXPECT_GT(image.pixelColor(150, 150).red(), 90) << "a line runs through the centre";
}

TEST_F(EditorCoreOdpStyle, MasterPagesUseTheStylesOfTheirOwnPart) {
    // content.xml reuses the name "gr1" of a styles.xml automatic style for another style.
    OdpRecipe deck;
    deck.masterStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
                        "draw:fill=\"solid\" draw:fill-color=\"#0000ff\"/></style:style>";
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
                         "draw:fill=\"solid\" draw:fill-color=\"#ff0000\"/></style:style>";
    deck.masterShapes = rectangle("gr1", 100);
    deck.pages = {page(rectangle("gr1", 400))};
    const QImage image = loadAndRender(write("scopes.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(150, 150), QColor(0, 0, 255))) << "master shape";
    EXPECT_TRUE(near(image.pixelColor(450, 150), QColor(255, 0, 0))) << "page shape";
}

TEST_F(EditorCoreOdpStyle, ZeroOpacityInTheDefaultStyleLeavesTextVisible) {
    OdpRecipe deck;
    deck.stylesStyles =
        "<style:style style:name=\"standard\" style:family=\"graphic\"><style:text-properties "
        "loext:opacity=\"0%\" fo:font-size=\"40pt\"/></style:style>";
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\" "
                         "style:parent-style-name=\"standard\"/>"
                         "<style:style style:name=\"gr2\" style:family=\"graphic\" "
                         "style:parent-style-name=\"standard\"><style:text-properties loext:opacity=\"50%\"/>"
                         "</style:style>";
    auto frame = [](const std::string& style, int y) {
        return "<draw:frame draw:style-name=\"" + style + "\" svg:x=\"0pt\" svg:y=\"" + std::to_string(y) +
               "pt\" svg:width=\"700pt\" svg:height=\"100pt\"><draw:text-box><text:p>Visible "
               "text</text:p></draw:text-box></draw:frame>";
    };
    deck.pages = {page(frame("gr1", 0) + frame("gr2", 200))};
    const QImage image = loadAndRender(write("opacity.odp", odpEntries(deck)));
    EXPECT_FALSE(ink(image, QRect(0, 0, 700, 100)).isEmpty());
    int darkest = 255;
    for (int y = 200; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).red());
    EXPECT_GT(darkest, 90) << "half opacity stays half";
    EXPECT_LT(darkest, 180);
}

TEST_F(EditorCoreOdpStyle, FramesWrapUnlessTheyGrowWithTheirText) {
    // A style's no-wrap speaks of text flowing around a text frame, not of the frame's own text.
    OdpRecipe deck;
    deck.stylesStyles =
        "<style:style style:name=\"standard\" style:family=\"graphic\"><style:graphic-properties "
        "fo:wrap-option=\"no-wrap\"/><style:text-properties fo:font-size=\"20pt\"/></style:style>";
    deck.contentStyles = "<style:style style:name=\"gr1\" style:family=\"graphic\" "
                         "style:parent-style-name=\"standard\"/>"
                         "<style:style style:name=\"gr2\" style:family=\"graphic\" "
                         "style:parent-style-name=\"standard\"><style:graphic-properties "
                         "draw:auto-grow-width=\"true\"/></style:style>";
    auto frame = [](const std::string& style, int y) {
        return "<draw:frame draw:style-name=\"" + style + "\" svg:x=\"0pt\" svg:y=\"" + std::to_string(y) +
               "pt\" svg:width=\"200pt\" svg:height=\"150pt\"><draw:text-box><text:p>words words words words "
               "words words words words</text:p></draw:text-box></draw:frame>";
    };
    deck.pages = {page(frame("gr1", 0) + frame("gr2", 300))};
    const QImage image = loadAndRender(write("wrap.odp", odpEntries(deck)));
    const QRect wrapped = ink(image, QRect(0, 0, 720, 200));
    const QRect grown = ink(image, QRect(0, 300, 720, 200));
    EXPECT_LT(wrapped.right(), 205);
    EXPECT_GT(wrapped.height(), 40) << "several lines";
    EXPECT_GT(grown.right(), 300) << "one long line";
    EXPECT_LT(grown.height(), 30);
}

TEST_F(EditorCoreOdpStyle, OutlineLevelsTakeTheirOwnPresentationStyles) {
    OdpRecipe deck;
    deck.stylesStyles =
        "<style:style style:name=\"Default-outline1\" style:family=\"presentation\"><style:text-properties "
        "fo:font-size=\"40pt\" fo:color=\"#000000\"/></style:style>"
        "<style:style style:name=\"Default-outline2\" style:family=\"presentation\" "
        "style:parent-style-name=\"Default-outline1\"><style:text-properties fo:font-size=\"12pt\"/>"
        "</style:style>";
    // The shape's automatic style colours every level; level two keeps its own size.
    deck.contentStyles = "<style:style style:name=\"pr1\" style:family=\"presentation\" "
                         "style:parent-style-name=\"Default-outline1\"><style:text-properties "
                         "fo:color=\"#ff0000\"/></style:style>"
                         "<text:list-style style:name=\"L1\"><text:list-level-style-bullet text:level=\"1\" "
                         "text:bullet-char=\" \"/><text:list-level-style-bullet text:level=\"2\" "
                         "text:bullet-char=\" \"/></text:list-style>";
    deck.pages = {
        page("<draw:frame presentation:style-name=\"pr1\" presentation:class=\"outline\" "
             "svg:x=\"0pt\" "
             "svg:y=\"0pt\" svg:width=\"700pt\" svg:height=\"400pt\"><draw:text-box>"
             "<text:list text:style-name=\"L1\"><text:list-item><text:p>HHHH</text:p></text:list-item>"
             "<text:list-item><text:list><text:list-item><text:p>HHHH</text:p></text:list-item></text:list>"
             "</text:list-item></text:list></draw:text-box></draw:frame>")};
    const QImage image = loadAndRender(write("outline.odp", odpEntries(deck)));
    std::vector<int> heights; // ink height of each text line
    int start = -1;
    for (int y = 0; y < 400; ++y) {
        const bool any = !ink(image, QRect(0, y, 700, 1)).isEmpty();
        if (any && start < 0)
            start = y;
        if (!any && start >= 0) {
            heights.push_back(y - start);
            start = -1;
        }
    }
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_GT(heights[0], 20) << "level one at 40 pt";
    EXPECT_LT(heights[1], 12) << "level two at 12 pt";
    int reddest = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 300; ++x)
            if (image.pixelColor(x, y).red() > 150 && image.pixelColor(x, y).green() < 80)
                reddest = std::max(reddest, y);
    EXPECT_GT(reddest, 40) << "level two in the shape's colour";
}

} // namespace
} // namespace KX::Tovrin::Test
