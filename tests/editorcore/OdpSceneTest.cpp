#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class EditorCoreOdpScene : public EditorCoreTest {
protected:
    static std::string scene(const std::string& objects, const std::string& transform = {}) {
        return "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">"
               "<dr3d:scene xmlns:dr3d=\"urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0\" "
               "draw:style-name=\"s\" "
               "svg:x=\"100pt\" svg:y=\"100pt\" svg:width=\"200pt\" svg:height=\"200pt\" "
               "dr3d:vrp=\"(0 0 16885)\" dr3d:projection=\"perspective\" dr3d:focal-length=\"10cm\" "
               "dr3d:ambient-color=\"#666666\"" +
               transform +
               "><dr3d:light dr3d:diffuse-color=\"#cccccc\" dr3d:direction=\"(0.57735 0.57735 0.57735)\" "
               "dr3d:enabled=\"true\"/>" +
               objects + "</dr3d:scene></draw:page>";
    }
    static std::string styles() {
        return "<style:style style:name=\"s\" style:family=\"graphic\"><style:graphic-properties "
               "draw:fill=\"solid\" "
               "draw:fill-color=\"#ff0000\" draw:stroke=\"none\"/></style:style>"
               "<style:style style:name=\"four\" style:family=\"graphic\" style:parent-style-name=\"s\">"
               "<style:graphic-properties xmlns:dr3d=\"urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0\" "
               "dr3d:horizontal-segments=\"4\"/></style:style>";
    }
    int reddish(const QImage& image, const QRect& rect) {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 60 && c.green() < 40 && c.blue() < 40 ? 1 : 0;
            }
        return n;
    }
};

TEST_F(EditorCoreOdpScene, CubesFillTheirSceneFrameShadedByTheLight) {
    OdpRecipe deck;
    deck.contentStyles = styles();
    deck.pages = {scene("<dr3d:cube draw:style-name=\"s\"/>")};
    const QImage image = loadAndRender(write("cube.odp", odpEntries(deck)));
    EXPECT_GT(reddish(image, QRect(100, 100, 200, 200)), 200 * 200 * 3 / 4)
        << "the projection fills the frame";
    EXPECT_EQ(reddish(image, QRect(0, 0, 90, 500)), 0) << "nothing outside it";
    const QColor centre = image.pixelColor(200, 200);
    EXPECT_LT(centre.red(), 250) << "the front face is shaded, not flat red";
}

TEST_F(EditorCoreOdpScene, TurnedOutlinesMakeSolidsWithTheirPointUp) {
    // A triangle from the axis at the top to a rim at the bottom, turned in four steps: a pyramid.
    OdpRecipe deck;
    deck.contentStyles = styles();
    deck.pages = {scene("<dr3d:rotate draw:style-name=\"four\" svg:viewBox=\"0 -5000 2500 10000\" "
                        "svg:d=\"m0 5000 2500 -10000h-2500z\"/>")};
    const QImage image = loadAndRender(write("pyramid.odp", odpEntries(deck)));
    EXPECT_GT(reddish(image, QRect(190, 105, 20, 20)), 0) << "the point at the top centre";
    EXPECT_EQ(reddish(image, QRect(100, 100, 40, 40)), 0) << "no rim at the top corners";
    EXPECT_GT(reddish(image, QRect(100, 270, 200, 30)), 2000) << "the wide base at the bottom";
    // The box around the solid is what fills the frame: its near corners stand wider than the
    // pyramid's own outline, so the pyramid keeps clear of the frame's sides.
    EXPECT_EQ(reddish(image, QRect(100, 150, 8, 150)), 0);
    EXPECT_EQ(reddish(image, QRect(292, 150, 8, 150)), 0);
}

TEST_F(EditorCoreOdpScene, ForgedScenesDrawNothingOrABoundedNumberOfFaces) {
    OdpRecipe deck;
    deck.contentStyles =
        styles() + "<style:style style:name=\"many\" style:family=\"graphic\" style:parent-style-name=\"s\">"
                   "<style:graphic-properties xmlns:dr3d=\"urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0\" "
                   "dr3d:horizontal-segments=\"2000000000\"/></style:style>";
    std::string zigzag = "m0 0";
    for (int i = 0; i < 1000; ++i)
        zigzag += i % 2 ? " 10 10" : " 10 -10";
    deck.pages = {scene("<dr3d:cube dr3d:min-edge=\"(nan 0 0)\" dr3d:max-edge=\"(1e39 1 1)\"/>",
                        " dr3d:transform=\"matrix (1 0 0 0 1 0 0 0 1 1e400cm 0cm 0cm)\""),
                  scene("<dr3d:rotate draw:style-name=\"many\" svg:d=\"" + zigzag + "\"/>")};
    const QString path = write("forged.odp", odpEntries(deck));
    EXPECT_NO_THROW(loadAndRender(path, 0));
    EXPECT_NO_THROW(loadAndRender(path, 1));
}

} // namespace
} // namespace KX::Tovrin::Test
