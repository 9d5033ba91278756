#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

class EditorCoreGroup : public EditorCoreTest {
protected:
    static std::string emu(double pt) { return std::to_string(static_cast<long long>(pt * 12700)); }

    // A group at (x, y) of size w x h whose children live in a childW x childH space.
    static std::string group(double x, double y, double w, double h, double childW, double childH,
                             const std::string& children, const std::string& xfrmAttributes = {}) {
        return "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"10\" name=\"g\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
               "<p:grpSpPr><a:xfrm" +
               xfrmAttributes + "><a:off x=\"" + emu(x) + "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" + emu(w) +
               "\" cy=\"" + emu(h) + "\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"" + emu(childW) +
               "\" cy=\"" + emu(childH) + "\"/></a:xfrm></p:grpSpPr>" + children + "</p:grpSp>";
    }

    // A blue rectangle with a 1 pt red outline and optional black text, in child units.
    static std::string child(double x, double y, double w, double h, const std::string& text = {},
                             const std::string& geometry = "rect") {
        std::string body;
        if (!text.empty())
            body = "<p:txBody><a:bodyPr lIns=\"0\" tIns=\"0\" rIns=\"0\" bIns=\"0\" anchor=\"t\"/><a:p><a:r>"
                   "<a:rPr lang=\"en\" sz=\"1000\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>"
                   "</a:rPr><a:t>" +
                   text + "</a:t></a:r></a:p></p:txBody>";
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"11\" name=\"c\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>"
               "<a:xfrm><a:off x=\"" +
               emu(x) + "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" + emu(w) + "\" cy=\"" + emu(h) +
               "\"/></a:xfrm><a:prstGeom prst=\"" + geometry +
               "\"/><a:solidFill><a:srgbClr val=\"0000FF\"/></a:solidFill>"
               "<a:ln w=\"12700\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></a:ln></p:spPr>" +
               body + "</p:sp>";
    }
};

TEST_F(EditorCoreGroup, ScalingMovesAndSizesChildrenButKeepsLineWidths) {
    // Child space 10 x 10 shown at 400 x 400: a scale of 40, which must not widen the 1 pt outline.
    PptxRecipe deck;
    deck.slideShapes = {group(100, 50, 400, 400, 10, 10, child(0, 0, 5, 5) + child(5, 5, 5, 5))};
    const QImage image = loadAndRender(write("group.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(200, 150), QColor(0, 0, 255))) << "first child fills 100..300";
    EXPECT_TRUE(near(image.pixelColor(110, 60), QColor(0, 0, 255))) << "outline stays about 1 pt";
    EXPECT_GT(image.pixelColor(100, 150).red(), 100) << "outline on the edge";
    EXPECT_TRUE(near(image.pixelColor(400, 350), QColor(0, 0, 255))) << "second child fills 300..500";
    EXPECT_TRUE(near(image.pixelColor(350, 150), Qt::white)) << "nothing between the children";
    EXPECT_TRUE(near(image.pixelColor(550, 480), Qt::white));
}

TEST_F(EditorCoreGroup, TextInAScaledGroupKeepsItsFontSize) {
    PptxRecipe deck;
    deck.slideShapes = {group(0, 0, 600, 400, 60, 40, child(0, 0, 60, 40, "HHHH"))};
    const QImage image = loadAndRender(write("grouptext.pptx", pptxEntries(deck)));
    // 10 pt capitals are about 7 px tall; scaled with the group they would be 70.
    int inkRows = 0;
    for (int y = 0; y < 200; ++y) {
        bool ink = false;
        for (int x = 0; x < 200 && !ink; ++x)
            ink = image.pixelColor(x, y).red() < 60 && image.pixelColor(x, y).blue() < 60;
        inkRows += ink ? 1 : 0;
    }
    EXPECT_GT(inkRows, 4);
    EXPECT_LT(inkRows, 14);
}

TEST_F(EditorCoreGroup, NestedAndRotatedGroupsCompose) {
    // The outer group doubles, the inner one doubles again: a 25 x 25 child covers 100 x 100.
    PptxRecipe deck;
    const std::string inner = group(0, 0, 50, 50, 25, 25, child(0, 0, 25, 25));
    deck.slideShapes = {group(100, 100, 200, 200, 100, 100, inner) +
                        // A quarter-turned group of a wide child: 200 x 20 shown upright.
                        group(400, 200, 200, 40, 100, 20, child(0, 0, 100, 20), " rot=\"5400000\"")};
    const QImage image = loadAndRender(write("nested.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(190, 190), QColor(0, 0, 255)));
    EXPECT_TRUE(near(image.pixelColor(210, 210), Qt::white));
    EXPECT_TRUE(near(image.pixelColor(500, 130), QColor(0, 0, 255))) << "upright bar above the centre";
    EXPECT_TRUE(near(image.pixelColor(560, 220), Qt::white)) << "nothing left where the bar lay";
}

} // namespace
} // namespace KX::Tovrin::Test
