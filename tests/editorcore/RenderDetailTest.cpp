#include "EditorCoreFixture.h"

#include <QFontDatabase>
#include <QFontMetricsF>

namespace KX::Tovrin::Test {
namespace {

class EditorCoreRender : public EditorCoreTest {
protected:
    static std::string box(double x, double y, double w, double h, const std::string& bodyPr,
                           const std::string& paragraphs,
                           const std::string& geometry = "<a:prstGeom prst=\"rect\"/>") {
        auto emu = [](double pt) { return std::to_string(static_cast<long long>(pt * 12700)); };
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" "
               "name=\"t\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm><a:off x=\"" +
               emu(x) + "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" + emu(w) + "\" cy=\"" + emu(h) +
               "\"/></a:xfrm>" + geometry + "</p:spPr><p:txBody>" + bodyPr + "<a:lstStyle/>" + paragraphs +
               "</p:txBody></p:sp>";
    }

    // A 100 pt square shape without text at (x, y) points; properties follow its geometry in spPr.
    static std::string square(double x, double y, const std::string& properties) {
        auto emu = [](double pt) { return std::to_string(static_cast<long long>(pt * 12700)); };
        return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>"
               "<a:xfrm><a:off x=\"" +
               emu(x) + "\" y=\"" + emu(y) +
               "\"/><a:ext cx=\"1270000\" cy=\"1270000\"/></a:xfrm><a:prstGeom prst=\"rect\"/>" + properties +
               "</p:spPr></p:sp>";
    }

    static std::string para(const std::string& text, const std::string& pPr = {},
                            const std::string& size = "2000") {
        return "<a:p>" + pPr + "<a:r><a:rPr lang=\"en\" sz=\"" + size +
               "\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill></a:rPr><a:t>" + text +
               "</a:t></a:r></a:p>";
    }

    // Horizontal and vertical extent of the non-white pixels inside rect.
    static QRect inkBounds(const QImage& image, const QRect& rect) {
        QRect ink;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (!near(image.pixelColor(x, y), Qt::white, 60))
                    ink = ink.united(QRect(x, y, 1, 1));
        return ink;
    }
};

TEST_F(EditorCoreRender, AlignmentAndVerticalAnchorPlaceTheText) {
    PptxRecipe deck;
    deck.slideShapes = {
        box(0, 0, 360, 200, "<a:bodyPr anchor=\"t\"/>", para("Left")) +
        box(360, 0, 360, 200, "<a:bodyPr anchor=\"b\"/>", para("Right", "<a:pPr algn=\"r\"/>")) +
        box(0, 300, 720, 200, "<a:bodyPr anchor=\"ctr\"/>", para("Centre", "<a:pPr algn=\"ctr\"/>"))};
    const QImage image = loadAndRender(write("align.pptx", pptxEntries(deck)));
    const QRect left = inkBounds(image, QRect(0, 0, 360, 200));
    const QRect right = inkBounds(image, QRect(360, 0, 360, 200));
    const QRect centre = inkBounds(image, QRect(0, 300, 720, 200));
    ASSERT_FALSE(left.isEmpty());
    ASSERT_FALSE(right.isEmpty());
    ASSERT_FALSE(centre.isEmpty());
    EXPECT_LT(left.left(), 20);
    EXPECT_LT(left.bottom(), 50) << "top anchored";
    EXPECT_GT(right.right(), 690);
    EXPECT_GT(right.top(), 150) << "bottom anchored";
    EXPECT_NEAR(centre.center().x(), 360, 6);
    EXPECT_NEAR(centre.center().y(), 400, 8);
}

TEST_F(EditorCoreRender, AutofitShowsTheAuthorsScaleAndShrinksOnlySubstitutes) {
    // The authoring program stored the scale it fitted the text with (100 % when it stores none);
    // in the author's own font the text is shown at that scale even where our layout runs past the
    // box, while a substitute font for a family not installed here is shrunk to stay inside.
    std::string installed, substituted;
    for (int i = 0; i < 12; ++i) {
        installed += para("Line of text number " + std::to_string(i));
        substituted += "<a:p><a:r><a:rPr lang=\"en\" sz=\"2000\"><a:solidFill><a:srgbClr val=\"000000\"/>"
                       "</a:solidFill><a:latin typeface=\"KX Missing Family\"/></a:rPr><a:t>Line " +
                       std::to_string(i) + "</a:t></a:r></a:p>";
    }
    const std::string stored = "<a:bodyPr><a:normAutofit fontScale=\"90000\"/></a:bodyPr>";
    const std::string unscaled = "<a:bodyPr><a:normAutofit/></a:bodyPr>";
    PptxRecipe deck;
    deck.slideShapes = {box(0, 0, 300, 150, stored, installed) + box(360, 0, 300, 150, stored, substituted) +
                        box(0, 270, 300, 100, unscaled, installed) +
                        box(360, 270, 300, 100, "<a:bodyPr/>", substituted)};
    const QImage image = loadAndRender(write("storedfit.pptx", pptxEntries(deck)));
    EXPECT_GT(pixelsDifferingFrom(image, QRect(0, 160, 300, 100), Qt::white), 100)
        << "kept at the stored scale";
    EXPECT_EQ(pixelsDifferingFrom(image, QRect(360, 160, 300, 100), Qt::white), 0) << "substitute shrunk";
    EXPECT_GT(pixelsDifferingFrom(image, QRect(360, 0, 300, 150), Qt::white), 100) << "but still shown";
    EXPECT_GT(pixelsDifferingFrom(image, QRect(0, 380, 300, 150), Qt::white), 100)
        << "no stored scale: shown at full size";
    EXPECT_GT(pixelsDifferingFrom(image, QRect(360, 380, 300, 150), Qt::white), 100)
        << "without autofit text runs past its box";
}

TEST_F(EditorCoreRender, BulletsHangLeftOfTheirText) {
    PptxRecipe deck;
    deck.slideShapes = {
        box(0, 0, 400, 100, "<a:bodyPr lIns=\"0\"/>",
            para("Text", "<a:pPr marL=\"762000\" indent=\"-381000\"><a:buChar char=\"&#9632;\"/></a:pPr>"))};
    const QImage image = loadAndRender(write("bullet.pptx", pptxEntries(deck)));
    const QRect bullet = inkBounds(image, QRect(25, 0, 30, 100));
    const QRect text = inkBounds(image, QRect(55, 0, 300, 100));
    EXPECT_FALSE(bullet.isEmpty()) << "bullet at margin plus indent (30 pt)";
    EXPECT_FALSE(text.isEmpty());
    EXPECT_TRUE(inkBounds(image, QRect(0, 0, 28, 100)).isEmpty());
    EXPECT_GE(text.left(), 59) << "text from the margin (60 pt)";
}

TEST_F(EditorCoreRender, ArrowHeadsAndPictureClipping) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    PptxRecipe deck;
    deck.extraEntries["ppt/media/image1.png"] = pngBytes(picture);
    deck.slideRelationships =
        "<Relationship Id=\"rIdP\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"../media/image1.png\"/>";
    deck.slideShapes = {
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"3\" "
        "name=\"c\"/><p:cNvCxnSpPr/><p:nvPr/></p:nvCxnSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"5080000\" cy=\"0\"/></a:xfrm><a:prstGeom "
        "prst=\"line\"/><a:ln "
        "w=\"25400\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill><a:tailEnd type=\"triangle\" "
        "w=\"lg\" "
        "len=\"lg\"/></a:ln></p:spPr></p:cxnSp>"
        "<p:pic><p:nvPicPr><p:cNvPr id=\"4\" "
        "name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill><a:blip "
        "r:embed=\"rIdP\"/><a:stretch/></p:blipFill><p:spPr><a:xfrm><a:off x=\"1270000\" "
        "y=\"3810000\"/><a:ext "
        "cx=\"2540000\" cy=\"2540000\"/></a:xfrm><a:prstGeom prst=\"ellipse\"/></p:spPr></p:pic>"};
    const QImage image = loadAndRender(write("arrow.pptx", pptxEntries(deck)));
    // A 2 pt line from x = 100 to 500 at y = 100; the large head is 10 pt wide at its base.
    EXPECT_TRUE(near(image.pixelColor(300, 100), QColor(255, 0, 0), 40));
    EXPECT_TRUE(near(image.pixelColor(300, 104), Qt::white, 40)) << "the line itself is thin";
    EXPECT_TRUE(near(image.pixelColor(492, 102), QColor(255, 0, 0), 60)) << "the head is wide";
    EXPECT_TRUE(near(image.pixelColor(107, 103), Qt::white, 40)) << "no head at the start";
    // The picture is cut to its ellipse.
    EXPECT_TRUE(near(image.pixelColor(200, 400), QColor(0, 0, 255), 12));
    EXPECT_TRUE(near(image.pixelColor(104, 304), Qt::white, 12));
}

TEST_F(EditorCoreRender, SingleSpacingIsSixFifthsOfTheSizeWhateverTheFont) {
    // Liberation Serif declares 1.15 em per line, DejaVu Sans 1.16 em and OpenSymbol carries a
    // 0.15 em line gap on top; in a slide all of them step 1.2 em, with the baseline 1 em down.
    const auto run = [](const char* family) {
        return "<a:r><a:rPr lang=\"en\" sz=\"8000\"><a:solidFill><a:srgbClr val=\"000000\"/>"
               "</a:solidFill><a:latin typeface=\"" +
               std::string(family) + "\"/></a:rPr><a:t>H</a:t></a:r>";
    };
    const auto column = [&](int x, const char* family, const char* spacing) {
        const std::string body = "<a:bodyPr anchor=\"t\" tIns=\"0\" lIns=\"0\"/>";
        const std::string p = "<a:p><a:pPr>" + std::string(spacing) + "</a:pPr>" + run(family) + "<a:br/>" +
                              run(family) + "</a:p>";
        return box(x, 0, 100, 400, body, p);
    };
    PptxRecipe deck;
    deck.slideShapes = {column(0, "Liberation Serif", "") + column(150, "DejaVu Sans", "") +
                        column(300, "Liberation Serif", "<a:lnSpc><a:spcPct val=\"70000\"/></a:lnSpc>") +
                        column(450, "OpenSymbol", "")};
    const QImage image = loadAndRender(write("spacing.pptx", pptxEntries(deck)));
    // The rows just below each line's ink: the baselines.
    const auto baselines = [&](int x0) {
        std::vector<int> feet;
        bool inInk = false;
        for (int y = 0; y < 400; ++y) {
            const bool ink = !inkBounds(image, QRect(x0, y, 100, 1)).isEmpty();
            if (!ink && inInk)
                feet.push_back(y);
            inInk = ink;
        }
        return feet;
    };
    for (const int x : {0, 150}) {
        const std::vector<int> feet = baselines(x);
        ASSERT_EQ(feet.size(), 2u) << x;
        EXPECT_NEAR(feet[0], 80, 1.5) << x;
        EXPECT_NEAR(feet[1], 176, 1.5) << x;
    }
    // At 70 % the lines close up from above: the first baseline rises with them.
    const std::vector<int> closer = baselines(300);
    ASSERT_EQ(closer.size(), 2u);
    EXPECT_NEAR(closer[0], 51.2, 1.5);
    EXPECT_NEAR(closer[1], 118.4, 1.5);
    if (QFontDatabase().families().contains(QStringLiteral("OpenSymbol"))) {
        const std::vector<int> symbol = baselines(450);
        ASSERT_EQ(symbol.size(), 2u);
        EXPECT_NEAR(symbol[1] - symbol[0], 96, 1.5) << "the font's line gap does not count";
    }
}

TEST_F(EditorCoreRender, OutlinedTextWithoutFillIsDrawn) {
    PptxRecipe deck;
    deck.slideShapes = {
        box(0, 0, 720, 300, "<a:bodyPr anchor=\"t\"/>",
            "<a:p><a:r><a:rPr lang=\"en\" sz=\"12000\" b=\"1\"><a:ln w=\"38100\"><a:solidFill>"
            "<a:srgbClr val=\"FF0000\"/></a:solidFill></a:ln><a:noFill/></a:rPr><a:t>IIII</a:t>"
            "</a:r></a:p>")};
    const QImage image = loadAndRender(write("outline.pptx", pptxEntries(deck)));
    int red = 0;
    for (int y = 0; y < 300; y += 2)
        for (int x = 0; x < 720; x += 2)
            red += near(image.pixelColor(x, y), QColor(255, 0, 0), 60) ? 1 : 0;
    EXPECT_GT(red, 50) << "the outline shows";
}

TEST_F(EditorCoreRender, CentredTextStaysOnItsBoxWhenTheInsetsAreLargerThanTheBox) {
    // A zero-height line with inch-wide insets, as old converters wrote for footnote areas.
    PptxRecipe deck;
    deck.slideShapes = {box(0, 250, 720, 0,
                            "<a:bodyPr wrap=\"none\" tIns=\"914400\" bIns=\"914400\" anchor=\"ctr\"/>",
                            para("Centred"))};
    const QImage image = loadAndRender(write("insets.pptx", pptxEntries(deck)));
    const QRect ink = inkBounds(image, QRect(0, 0, 720, 540));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().y(), 250, 8);
}

TEST_F(EditorCoreRender, LinkedTextTakesTheThemesLinkColourAndAnUnderline) {
    const std::string linked =
        "<a:p><a:r><a:rPr lang=\"en\" sz=\"4000\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>"
        "<a:hlinkClick r:id=\"rIdLink\"/></a:rPr><a:t>MMMM</a:t></a:r></a:p>";
    const std::string keepsColour =
        "<a:p><a:r><a:rPr lang=\"en\" sz=\"4000\"><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>"
        "<a:hlinkClick r:id=\"rIdLink\"><a:extLst><a:ext uri=\"{A12FA001-AC4F-418D-AE19-62706E023703}\">"
        "<ahyp:hlinkClr xmlns:ahyp=\"http://schemas.microsoft.com/office/drawing/2018/hyperlinkcolor\" "
        "val=\"tx\"/></a:ext></a:extLst></a:hlinkClick></a:rPr><a:t>MMMM</a:t></a:r></a:p>";
    PptxRecipe deck;
    deck.slideRelationships = "<Relationship Id=\"rIdLink\" Type=\"http://schemas.openxmlformats.org/"
                              "officeDocument/2006/relationships/hyperlink\" Target=\"https://example.org/\" "
                              "TargetMode=\"External\"/>";
    deck.slideShapes = {box(0, 0, 720, 100, "<a:bodyPr anchor=\"t\"/>", linked) +
                        box(0, 200, 720, 100, "<a:bodyPr anchor=\"t\"/>", keepsColour)};
    const QImage image = loadAndRender(write("links.pptx", pptxEntries(deck)));
    auto count = [&](const QRect& rect, QColor colour) {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                n += near(image.pixelColor(x, y), colour, 40) ? 1 : 0;
        return n;
    };
    EXPECT_GT(count(QRect(0, 0, 720, 100), QColor(0, 0, 255)), 200) << "theme link colour";
    EXPECT_EQ(count(QRect(0, 0, 720, 100), Qt::black), 0);
    EXPECT_GT(count(QRect(0, 200, 720, 100), Qt::black), 200) << "the link asked for the text colour";
    // The underline: a run of ink below the letters' baseline wider than any letter.
    const QRect ink = inkBounds(image, QRect(0, 0, 720, 100));
    int widest = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        widest = std::max(widest, inkBounds(image, QRect(0, y, 720, 1)).width());
    const QRect letters = inkBounds(image, QRect(0, ink.top(), 720, ink.height() / 2));
    EXPECT_GE(widest, letters.width() - 4);
    EXPECT_GT(count(QRect(0, ink.bottom() - 3, 720, 4), QColor(0, 0, 255)), letters.width() / 2);
}

TEST_F(EditorCoreRender, GreyscaleAndDuotoneRecolourPicturesAndPictureFills) {
    QImage halves(8, 4, QImage::Format_RGB32);
    halves.fill(Qt::white);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            halves.setPixelColor(x, y, Qt::black);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    PptxRecipe deck;
    deck.extraEntries["ppt/media/halves.png"] = pngBytes(halves);
    deck.extraEntries["ppt/media/red.png"] = pngBytes(red);
    const std::string rel = "<Relationship Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                            "relationships/image\" ";
    deck.slideRelationships = rel + "Id=\"rIdH\" Target=\"../media/halves.png\"/>" + rel +
                              "Id=\"rIdR\" Target=\"../media/red.png\"/>";
    deck.slideShapes = {
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdR\"><a:grayscl/></a:blip><a:stretch><a:fillRect/></a:stretch></p:blipFill>"
        "<p:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"1270000\" "
        "cy=\"1270000\"/></a:xfrm></p:spPr></p:pic>"
        "<p:sp><p:nvSpPr><p:cNvPr id=\"4\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr><a:xfrm>"
        "<a:off x=\"2540000\" y=\"0\"/><a:ext cx=\"2540000\" cy=\"1270000\"/></a:xfrm><a:prstGeom "
        "prst=\"rect\"/><a:blipFill><a:blip r:embed=\"rIdH\"><a:duotone><a:srgbClr val=\"0000FF\"/>"
        "<a:srgbClr val=\"FFFF00\"/></a:duotone></a:blip><a:stretch><a:fillRect/></a:stretch></a:blipFill>"
        "</p:spPr></p:sp>"};
    const QImage image = loadAndRender(write("recolour.pptx", pptxEntries(deck)));
    const QColor grey = image.pixelColor(50, 50);
    EXPECT_TRUE(grey.red() == grey.green() && grey.green() == grey.blue() && grey.red() > 40 &&
                grey.red() < 120)
        << "red in grey: " << grey.name().toStdString();
    EXPECT_TRUE(near(image.pixelColor(230, 50), QColor(0, 0, 255), 12)) << "black becomes the first colour";
    EXPECT_TRUE(near(image.pixelColor(370, 50), QColor(255, 255, 0), 12)) << "white becomes the second";
}

TEST_F(EditorCoreRender, GlyphsFromAFallbackFontDoNotStretchTheLines) {
    // CJK glyphs come from a fallback font whose ascent is far taller than DejaVu Sans's.
    if (QFontDatabase().families(QFontDatabase::SimplifiedChinese).isEmpty())
        GTEST_SKIP() << "no font with Chinese glyphs is installed";
    auto twoLines = [](const std::string& text) {
        const std::string run =
            "<a:r><a:rPr lang=\"zh-CN\" sz=\"4000\"><a:solidFill><a:srgbClr val=\"000000\"/>"
            "</a:solidFill><a:latin typeface=\"DejaVu Sans\"/></a:rPr><a:t>" +
            text + "</a:t></a:r>";
        return "<a:p>" + run + "<a:br/>" + run + "</a:p>";
    };
    PptxRecipe deck;
    deck.slideShapes = {
        box(0, 0, 300, 500, "<a:bodyPr anchor=\"t\" tIns=\"0\"/>", twoLines("&#20013;&#25991;")) +
        box(360, 0, 300, 500, "<a:bodyPr anchor=\"t\" tIns=\"0\"/>", twoLines("HH"))};
    const QImage image = loadAndRender(write("fallback.pptx", pptxEntries(deck)));
    auto firstInkRows = [&](int left) {
        std::vector<int> tops;
        bool inInk = false;
        for (int y = 0; y < 500; ++y) {
            const bool ink = !inkBounds(image, QRect(left, y, 300, 1)).isEmpty();
            if (ink && !inInk)
                tops.push_back(y);
            inInk = ink;
        }
        return tops;
    };
    const std::vector<int> cjk = firstInkRows(0), latin = firstInkRows(360);
    ASSERT_EQ(cjk.size(), 2u);
    ASSERT_EQ(latin.size(), 2u);
    EXPECT_NEAR(cjk[1] - cjk[0], latin[1] - latin[0], 2) << "same line pitch";
    EXPECT_LT(std::abs(cjk[0] - latin[0]), 12) << "the first line does not drop";
}

TEST_F(EditorCoreRender, HairlinesKeepOneFullPixelOfInk) {
    // A quarter-point line at one pixel per point.
    PptxRecipe deck;
    deck.slideShapes = {
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"5\" name=\"l\"/><p:cNvCxnSpPr/><p:nvPr/></p:nvCxnSpPr>"
        "<p:spPr><a:xfrm><a:off x=\"0\" y=\"1270000\"/><a:ext cx=\"9144000\" cy=\"0\"/></a:xfrm>"
        "<a:prstGeom prst=\"line\"/><a:ln w=\"3175\"><a:solidFill><a:srgbClr val=\"000000\"/>"
        "</a:solidFill></a:ln></p:spPr></p:cxnSp>"};
    const QImage image = loadAndRender(write("hairline.pptx", pptxEntries(deck)));
    double ink = 0;
    for (int y = 90; y < 110; ++y)
        ink += (255 - qGray(image.pixel(360, y))) / 255.0;
    EXPECT_GT(ink, 0.8) << "one pixel's worth of black, not a quarter of one";
}

TEST_F(EditorCoreRender, OuterShadowsFallBesideTheirShapesAndBlur) {
    auto blueSquare = [](double x, const std::string& effects) {
        return square(x, 100, "<a:solidFill><a:srgbClr val=\"0000FF\"/></a:solidFill>" + effects);
    };
    // Rotated by 90 degrees: the shadow still falls to the right on the slide.
    const std::string sharp =
        "<a:effectLst><a:outerShdw dist=\"254000\" dir=\"0\"><a:srgbClr val=\"FF0000\"/>"
        "</a:outerShdw></a:effectLst>";
    const std::string soft = "<a:effectLst><a:outerShdw blurRad=\"508000\" dist=\"0\" dir=\"0\"><a:srgbClr "
                             "val=\"FF0000\"/></a:outerShdw></a:effectLst>";
    PptxRecipe deck;
    std::string rotated = blueSquare(100, sharp);
    rotated.replace(rotated.find("<a:xfrm>"), 8, "<a:xfrm rot=\"5400000\">");
    deck.slideShapes = {rotated + blueSquare(400, soft)};
    const QImage image = loadAndRender(write("shadows.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(150, 150), QColor(0, 0, 255))) << "the shape over its shadow";
    EXPECT_TRUE(near(image.pixelColor(205, 150), QColor(255, 0, 0), 12)) << "sharp shadow 20 pt to the right";
    EXPECT_TRUE(near(image.pixelColor(150, 205), Qt::white)) << "not below, though the shape is turned";
    const QColor fading = image.pixelColor(505, 150);
    EXPECT_GT(fading.red(), 240);
    EXPECT_LT(fading.green(), 230) << "a blurred shadow reaches past the edge";
    EXPECT_GT(fading.green(), 40) << "and fades there";
    EXPECT_TRUE(near(image.pixelColor(545, 150), Qt::white, 8)) << "gone a blur radius away";
}

TEST_F(EditorCoreRender, ShadowsAreCastByWhatTheElementPaints) {
    // Sharp blue shadows 20 pt below: of a half-transparent square, and of a picture whose right
    // half is transparent.
    const std::string shadow = "<a:effectLst><a:outerShdw dist=\"254000\" dir=\"5400000\"><a:srgbClr "
                               "val=\"0000FF\"/></a:outerShdw></a:effectLst>";
    QImage half(8, 8, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            half.setPixelColor(x, y, Qt::red);
    PptxRecipe deck;
    deck.extraEntries["ppt/media/half.png"] = pngBytes(half);
    deck.slideRelationships = "<Relationship Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                              "relationships/image\" Id=\"rIdH\" Target=\"../media/half.png\"/>";
    deck.slideShapes = {
        square(0, 0,
               "<a:solidFill><a:srgbClr val=\"FF0000\"><a:alpha val=\"50000\"/></a:srgbClr></a:solidFill>" +
                   shadow) +
        "<p:pic><p:nvPicPr><p:cNvPr id=\"3\" name=\"p\"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>"
        "<a:blip r:embed=\"rIdH\"/><a:stretch><a:fillRect/></a:stretch></p:blipFill><p:spPr><a:xfrm>"
        "<a:off x=\"2540000\" y=\"0\"/><a:ext cx=\"1270000\" cy=\"1270000\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"/></p:spPr></p:pic>"};
    // The picture's shadow needs an effect list of its own.
    deck.slideShapes[0].insert(deck.slideShapes[0].find("</p:spPr></p:pic>"), shadow);
    const QImage image = loadAndRender(write("cast.pptx", pptxEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(50, 110), QColor(128, 128, 255), 12)) << "a half-strength shadow";
    EXPECT_TRUE(near(image.pixelColor(225, 110), QColor(0, 0, 255), 12)) << "below the picture's opaque half";
    EXPECT_TRUE(near(image.pixelColor(275, 110), Qt::white, 12)) << "none below its transparent half";
}

TEST_F(EditorCoreRender, FillOverlaysBlendOntoTheShapesOwnFill) {
    const auto solid = [](const char* rgb) {
        return "<a:solidFill><a:srgbClr val=\"" + std::string(rgb) + "\"/></a:solidFill>";
    };
    const auto overlay = [&](const char* blend, const char* rgb) {
        return "<a:effectLst><a:fillOverlay blend=\"" + std::string(blend) + "\">" + solid(rgb) +
               "</a:fillOverlay></a:effectLst>";
    };
    PptxRecipe deck;
    deck.slideShapes = {square(0, 100, solid("808080") + overlay("mult", "00FF00")) +
                        square(200, 100, solid("808080") + overlay("screen", "0000FF")) +
                        square(400, 100, solid("FF0000") + overlay("over", "0000FF")) +
                        square(600, 100, "<a:noFill/>" + overlay("mult", "000000")) +
                        square(0, 250, solid("000000")) +
                        square(0, 250,
                               "<a:solidFill><a:srgbClr val=\"808080\"><a:alpha val=\"50000\"/></a:srgbClr>"
                               "</a:solidFill>" +
                                   overlay("mult", "00FF00"))};
    const QImage image = loadAndRender(write("overlay.pptx", pptxEntries(deck)));
    // The overlay meets the half-transparent grey alone, not the black beneath it, and the
    // two come out opaque.
    EXPECT_TRUE(near(image.pixelColor(50, 300), QColor(0, 191, 0), 6)) << "blended in a layer of its own";
    EXPECT_TRUE(near(image.pixelColor(50, 150), QColor(0, 128, 0), 6)) << "grey times green";
    EXPECT_TRUE(near(image.pixelColor(250, 150), QColor(128, 128, 255), 6)) << "grey screened with blue";
    EXPECT_TRUE(near(image.pixelColor(450, 150), QColor(0, 0, 255), 6)) << "laid over";
    EXPECT_TRUE(near(image.pixelColor(650, 150), Qt::white, 6)) << "nothing to blend onto without a fill";
    EXPECT_TRUE(near(image.pixelColor(50, 50), Qt::white, 6)) << "nothing outside the shape";
}

TEST_F(EditorCoreRender, PresetPatternsRepeatTheirBitmapInDevicePixels) {
    auto patterned = [](double x, const std::string& prst) {
        return square(x, 0,
                      "<a:pattFill prst=\"" + prst +
                          "\"><a:fgClr><a:srgbClr val=\"000000\"/></a:fgClr><a:bgClr><a:srgbClr "
                          "val=\"FFFFFF\"/></a:bgClr></a:pattFill>");
    };
    PptxRecipe deck;
    deck.slideShapes = {patterned(0, "lgCheck") + patterned(200, "pct25") + patterned(400, "KX unknown")};
    const QImage image = loadAndRender(write("patterns.pptx", pptxEntries(deck)));
    // Four-pixel squares from the device's origin, whatever the shape's size.
    EXPECT_TRUE(near(image.pixelColor(17, 17), Qt::black, 40));
    EXPECT_TRUE(near(image.pixelColor(21, 17), Qt::white, 40));
    EXPECT_TRUE(near(image.pixelColor(17, 21), Qt::white, 40));
    EXPECT_TRUE(near(image.pixelColor(21, 21), Qt::black, 40));
    int dark = 0;
    for (int y = 16; y < 80; ++y)
        for (int x = 216; x < 280; ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_EQ(dark, 64 * 64 / 4) << "a quarter of the pixels in the foreground";
    EXPECT_TRUE(near(image.pixelColor(450, 50), QColor(191, 191, 191), 6)) << "unknown names: a flat mix";
}

} // namespace
} // namespace KX::Tovrin::Test
