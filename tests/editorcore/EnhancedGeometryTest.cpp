#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/geometry/EnhancedFormula.h"

#include <cmath>

namespace KX::Tovrin::Test {
namespace {

TEST(EnhancedFormula, EvaluatesOperatorsFunctionsModifiersAndEquations) {
    EnhancedFormulaContext c(QRectF(0, 0, 21600, 10800), {90, 400},
                             {{"f0", "$1 / 2"}, {"f1", "?f0 + 10"}, {"f2", "?f3"}, {"f3", "?f2 + 1"}});
    EXPECT_NEAR(c.evaluate(QStringLiteral("5000*sin($0*(pi/180))")), 5000, 1e-6);
    EXPECT_NEAR(c.evaluate(QStringLiteral("2 + 3 * 4 - -1")), 15, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("(2 + 3) * 4 / 2")), 10, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("?f1 * 2")), 420, 1e-9) << "equations use others";
    EXPECT_NEAR(c.evaluate(QStringLiteral("atan2(1, 1) * 180 / pi")), 45, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("min(width, height) + max(left, top)")), 10800, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("right - bottom")), 10800, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("if(?f0 - 300, 1, 2) + if(-1, 10, 20)")), 22, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("abs(-3) + sqrt(16) + sqrt(-4)")), 7, 1e-9);
    EXPECT_NEAR(c.evaluate(QStringLiteral("1.5e2")), 150, 1e-9);
    // Cycles, division by zero, unknown names and garbage stay finite.
    EXPECT_TRUE(std::isfinite(c.evaluate(QStringLiteral("?f2"))));
    EXPECT_EQ(c.evaluate(QStringLiteral("5 / 0")), 0);
    EXPECT_EQ(c.evaluate(QStringLiteral("nosuch + $7 + ?nothing")), 0);
    EXPECT_TRUE(std::isfinite(c.evaluate(QStringLiteral("((((1 + ) * # sin("))));
    EXPECT_EQ(c.parameter(QStringLiteral("$1")), 400);
    EXPECT_EQ(c.parameter(QStringLiteral("?f0")), 200);
    EXPECT_EQ(c.parameter(QStringLiteral("bottom")), 10800);
}

class EditorCoreEnhanced : public EditorCoreTest {
protected:
    // A red custom shape at (x, y) of 200 x 200 points with a 0..100 view box.
    static std::string shape(double x, double y, const std::string& path, const std::string& extra = {},
                             const std::string& children = {}) {
        return "<draw:custom-shape draw:style-name=\"gr1\" svg:x=\"" + std::to_string(x) + "pt\" svg:y=\"" +
               std::to_string(y) +
               "pt\" svg:width=\"200pt\" svg:height=\"200pt\"><draw:enhanced-geometry svg:viewBox=\"0 0 100 "
               "100\" "
               "draw:type=\"non-primitive\" draw:enhanced-path=\"" +
               path + "\" " + extra + ">" + children + "</draw:enhanced-geometry></draw:custom-shape>";
    }

    QImage render(const std::string& shapes, const std::string& moreStyles = {}) {
        OdpRecipe deck;
        deck.contentStyles =
            "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
            "draw:fill=\"solid\" draw:fill-color=\"#ff0000\" draw:stroke=\"none\"/></style:style>" +
            moreStyles;
        deck.pages = {"<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">" + shapes +
                      "</draw:page>"};
        return loadAndRender(write("enhanced.odp", odpEntries(deck)));
    }

    static bool red(const QImage& image, int x, int y) {
        return near(image.pixelColor(x, y), QColor(255, 0, 0));
    }
    static bool white(const QImage& image, int x, int y) { return near(image.pixelColor(x, y), Qt::white); }
};

TEST_F(EditorCoreEnhanced, PathsUseEquationsAndModifiers) {
    // The shape's right edge is an equation of the modifier: 2 * 25 of 100 is half the width.
    const QImage image = render(shape(0, 0, "M 0 0 L ?f0 0 ?f0 100 0 100 Z N", "draw:modifiers=\"25\"",
                                      "<draw:equation draw:name=\"f0\" draw:formula=\"$0 * 2\"/>"));
    EXPECT_TRUE(red(image, 50, 100));
    EXPECT_TRUE(red(image, 95, 100));
    EXPECT_TRUE(white(image, 105, 100));
}

TEST_F(EditorCoreEnhanced, EllipseArcsAndQuadrantsFollowTheirCommands) {
    const QImage image = render(
        // A full ellipse by angle: corners stay empty.
        shape(0, 0, "U 50 50 50 50 0 360 Z N") +
        // A rounded corner: bottom left drawn as a quadrant leaving horizontally.
        shape(250, 0, "M 0 0 L 100 0 100 100 50 100 X 0 50 Z N") +
        // The upper half of an ellipse from a bounding box, counter-clockwise from right to left.
        shape(500, 0, "B 0 0 100 100 100 50 0 50 Z N") +
        // Unfilled subpaths (F) are left out of the fill.
        shape(0, 300, "M 0 0 L 100 0 100 100 0 100 Z F N"));
    EXPECT_TRUE(red(image, 100, 100));
    EXPECT_TRUE(white(image, 8, 8));
    EXPECT_TRUE(white(image, 192, 192));
    EXPECT_TRUE(red(image, 100, 8));
    EXPECT_TRUE(red(image, 440, 190)) << "bottom right stays square";
    EXPECT_TRUE(white(image, 255, 195)) << "bottom left is rounded";
    EXPECT_TRUE(red(image, 275, 100));
    EXPECT_TRUE(red(image, 600, 50)) << "upper half";
    EXPECT_TRUE(white(image, 600, 150)) << "lower half stays empty";
    EXPECT_TRUE(white(image, 100, 400));
}

TEST_F(EditorCoreEnhanced, ClockwiseArcsGoTheOtherWay) {
    // From the right to the left end, clockwise on screen: the lower half.
    const QImage image =
        render(shape(0, 0, "V 0 0 100 100 100 50 0 50 Z N") +
               // Angle arc from 0 to 90 degrees: the upper right quarter, closed to the centre.
               shape(300, 0, "M 50 50 T 50 50 50 50 0 90 Z N"));
    EXPECT_TRUE(red(image, 100, 150));
    EXPECT_TRUE(white(image, 100, 50));
    EXPECT_TRUE(red(image, 440, 60)) << "upper right quarter";
    EXPECT_TRUE(white(image, 360, 60));
    EXPECT_TRUE(white(image, 440, 140));
}

TEST_F(EditorCoreEnhanced, ShapesWithTextFitTheirHeightToItUnlessTheirStyleSaysNo) {
    const std::string styles =
        "<style:style style:name=\"mid\" style:family=\"graphic\" style:parent-style-name=\"gr1\">"
        "<style:graphic-properties draw:textarea-vertical-align=\"middle\" fo:padding-top=\"0pt\" "
        "fo:padding-bottom=\"0pt\"/></style:style>"
        "<style:style style:name=\"fixed\" style:family=\"graphic\" style:parent-style-name=\"mid\">"
        "<style:graphic-properties draw:auto-grow-height=\"false\"/></style:style>"
        "<style:style style:name=\"low\" style:family=\"graphic\" style:parent-style-name=\"mid\">"
        "<style:graphic-properties draw:textarea-vertical-align=\"bottom\" fo:min-height=\"100pt\"/>"
        "</style:style>";
    const auto withText = [](const std::string& style, double x) {
        return "<draw:custom-shape draw:style-name=\"" + style + "\" svg:x=\"" + std::to_string(x) +
               "pt\" svg:y=\"0pt\" svg:width=\"200pt\" svg:height=\"300pt\"><text:p>a</text:p>"
               "<draw:enhanced-geometry svg:viewBox=\"0 0 100 100\" draw:enhanced-path=\"M 0 0 L 100 0 "
               "100 100 0 100 Z N\"/></draw:custom-shape>";
    };
    const QImage image = render(withText("mid", 0) + withText("fixed", 300) + withText("low", 550), styles);
    // One line of 18-point text: the first shape shrinks to it about its middle.
    EXPECT_TRUE(red(image, 20, 150));
    EXPECT_TRUE(white(image, 20, 120));
    EXPECT_TRUE(white(image, 20, 180));
    EXPECT_TRUE(red(image, 320, 20));
    EXPECT_TRUE(red(image, 320, 280));
    // Bottom-anchored text keeps the bottom edge, and the shape keeps its minimum height.
    EXPECT_TRUE(red(image, 570, 210));
    EXPECT_TRUE(red(image, 570, 295));
    EXPECT_TRUE(white(image, 570, 190));
}

} // namespace
} // namespace KX::Tovrin::Test
