#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/odp/OdpImporter.h"
#include "platform/brovik/editorcore/render/TextPainter.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>

namespace KX::Tovrin::Test {
namespace {

// Where list labels and tabs put text: the model the importer builds and the pixels drawn from it.
class EditorCoreOdpTextLayout : public EditorCoreTest {
protected:
    std::shared_ptr<PresentationDocument> import(const OdpRecipe& deck) {
        QFile file(write("layout.odp", odpEntries(deck)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const ZipReader zip(file.readAll());
        return OdpImporter::import(zip);
    }

    // A frame without padding at the top left, so text starts at the slide's corner.
    static OdpRecipe deckWith(const std::string& styles, const std::string& content) {
        OdpRecipe deck;
        deck.contentStyles =
            "<style:style style:name=\"gr0\" style:family=\"graphic\"><style:graphic-properties "
            "draw:fill=\"none\" draw:stroke=\"none\" fo:padding=\"0cm\"/></style:style>" +
            styles;
        deck.pages = {"<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame "
                      "draw:style-name=\"gr0\" svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"500pt\" "
                      "svg:height=\"300pt\"><draw:text-box>" +
                      content + "</draw:text-box></draw:frame></draw:page>"};
        return deck;
    }

    static const std::vector<Paragraph>& paragraphsOf(const PresentationDocument& doc) {
        return std::get<ShapeElement>(doc.slides.at(0).elements.at(0)).text->paragraphs;
    }

    // The first band of rows [top, bottom] holding dark pixels within the columns [x0, x1).
    static std::pair<int, int> inkRows(const QImage& image, int x0, int x1) {
        int top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            bool ink = false;
            for (int x = x0; x < x1 && !ink; ++x)
                ink = qGray(image.pixel(x, y)) < 128;
            if (ink) {
                top = top < 0 ? y : top;
                bottom = y;
            } else if (top >= 0) {
                break;
            }
        }
        return {top, bottom};
    }

    // The first column from x0 on with dark pixels in the rows [y0, y1); -1 when none.
    static int firstInkColumn(const QImage& image, int x0, int y0, int y1) {
        for (int x = x0; x < image.width(); ++x)
            for (int y = y0; y < y1; ++y)
                if (qGray(image.pixel(x, y)) < 128)
                    return x;
        return -1;
    }
};

const std::string SymbolList =
    "<text:list-style style:name=\"L1\"><text:list-level-style-bullet text:level=\"1\" "
    "text:bullet-char=\"\u25CF\"><style:list-level-properties text:space-before=\"0cm\" "
    "text:min-label-width=\"60pt\"/><style:text-properties fo:font-family=\"OpenSymbol\" "
    "fo:font-size=\"45%\"/></text:list-level-style-bullet></text:list-style>"
    "<text:list-style style:name=\"L2\"><text:list-level-style-number text:level=\"1\" "
    "style:num-suffix=\")\" style:num-format=\"1\"><style:list-level-properties "
    "text:min-label-width=\"60pt\"/></text:list-level-style-number></text:list-style>";

const std::string BigText = "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties "
                            "fo:font-family=\"Liberation Sans\" fo:font-size=\"40pt\"/></style:style>";

std::string paragraphStyle(const std::string& name, const std::string& properties) {
    return "<style:style style:name=\"" + name +
           "\" style:family=\"paragraph\"><style:paragraph-properties " + properties + "/></style:style>";
}

std::string textStyle(const std::string& name, const std::string& properties) {
    return "<style:style style:name=\"" + name + "\" style:family=\"text\"><style:text-properties " +
           properties + "/></style:style>";
}

TEST_F(EditorCoreOdpTextLayout, ListLabelsSitCentredOnTheirLine) {
    const OdpRecipe deck = deckWith(
        SymbolList + BigText,
        "<text:list text:style-name=\"L1\"><text:list-item><text:p><text:span text:style-name=\"T1\">HHH"
        "</text:span></text:p></text:list-item></text:list><text:list text:style-name=\"L2\"><text:list-item>"
        "<text:p><text:span text:style-name=\"T1\">HHH</text:span></text:p></text:list-item></text:list>");
    const auto doc = import(deck);
    const auto& p = paragraphsOf(*doc);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].bullet.placement, Bullet::Placement::CentredGlyph) << "a symbol drawn by a stand-in font";
    EXPECT_EQ(p[1].bullet.placement, Bullet::Placement::CentredBox);

    // The small circle's middle sits at the middle of the line box, (ascent - descent) / 2 of
    // 40 pt Liberation Sans above the baseline (about 14 pt), not on the baseline.
    const QImage image = loadAndRender(write("labels.odp", odpEntries(deck)));
    const auto [bulletTop, bulletBottom] = inkRows(image, 0, 30);
    const auto [textTop, baseline] = inkRows(image, 62, 140);
    ASSERT_GE(bulletTop, 0);
    ASSERT_GE(textTop, 0);
    const double middle = (bulletTop + bulletBottom) / 2.0;
    EXPECT_NEAR(baseline - middle, 13.9, 3.0);
    EXPECT_LT(bulletBottom, baseline - 5) << "the label does not sit on the baseline";
}

TEST_F(EditorCoreOdpTextLayout, SingleSpacingIsTheFontsAscentPlusDescent) {
    // Carlito declares a line gap of 0.22 em on top of its 0.75 + 0.25 em; drawings of this format
    // step by ascent plus descent alone, with the first baseline one ascent down.
    if (!QFontDatabase().families().contains(QStringLiteral("Carlito")))
        GTEST_SKIP() << "Carlito is not installed";
    const std::string style = "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties "
                              "fo:font-family=\"Carlito\" fo:font-size=\"80pt\"/></style:style>";
    const std::string line = "<text:p><text:span text:style-name=\"T2\">H</text:span></text:p>";
    const OdpRecipe deck = deckWith(style, line + line);
    const QImage image = loadAndRender(write("gap.odp", odpEntries(deck)));
    const auto [firstTop, firstFoot] = inkRows(image, 0, 200);
    ASSERT_GE(firstTop, 0);
    const QImage below = image.copy(0, firstFoot + 1, 200, image.height() - firstFoot - 1);
    const auto [secondTop, secondFoot] = inkRows(below, 0, 200);
    ASSERT_GE(secondTop, 0);
    QFont font(QStringLiteral("Carlito"));
    font.setPixelSize(320); // the renderer lays text out at 4 units per point
    const QFontMetricsF metrics(font);
    ASSERT_GT(metrics.leading(), 40.0);
    EXPECT_NEAR(firstFoot + 1, metrics.ascent() / 4, 1.5);
    EXPECT_NEAR(secondFoot + 1, (metrics.ascent() + metrics.descent()) / 4, 1.5) << "foot to foot";
}

TEST_F(EditorCoreOdpTextLayout, FontIndependentLinesStepByTheirOwnSize) {
    // Measured on the authoring program: a line is 1.2 times its largest font size, the baseline
    // one size below the line's top, whatever the font declares (DejaVu Sans's descent is
    // 0.236 em).
    OdpRecipe deck = deckWith("<style:style style:name=\"FI\" style:family=\"paragraph\">"
                              "<style:paragraph-properties style:font-independent-line-spacing=\"true\"/>"
                              "</style:style>" +
                                  textStyle("S100", "fo:font-family=\"DejaVu Sans\" fo:font-size=\"100pt\"") +
                                  textStyle("S50", "fo:font-family=\"DejaVu Sans\" fo:font-size=\"50pt\""),
                              "");
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame "
        "draw:style-name=\"gr0\" draw:text-style-name=\"FI\" svg:x=\"0pt\" svg:y=\"0pt\" "
        "svg:width=\"500pt\" svg:height=\"300pt\"><draw:text-box>"
        "<text:p><text:span text:style-name=\"S100\">H</text:span></text:p>"
        "<text:p><text:span text:style-name=\"S50\">H</text:span></text:p>"
        "<text:p><text:span text:style-name=\"S100\">H</text:span></text:p>"
        "</draw:text-box></draw:frame><draw:frame draw:style-name=\"gr0\" draw:text-style-name=\"FI\" "
        "svg:x=\"300pt\" svg:y=\"0pt\" svg:width=\"200pt\" svg:height=\"300pt\"><draw:text-box>"
        "<text:p text:style-name=\"S100\"><text:span text:style-name=\"S100\">H<text:line-break/>"
        "</text:span><text:span text:style-name=\"S50\">H</text:span><text:span "
        "text:style-name=\"S100\"><text:line-break/>H</text:span></text:p>"
        "</draw:text-box></draw:frame></draw:page>"};
    const auto doc = import(deck);
    const auto& broken = std::get<ShapeElement>(doc->slides.at(0).elements.at(1)).text->paragraphs.at(0).runs;
    ASSERT_EQ(broken.size(), 5u);
    EXPECT_DOUBLE_EQ(broken[3].size, 50) << "a break is as high as the text it ends";

    const QImage image = loadAndRender(write("independent.odp", odpEntries(deck)));
    for (const int x : {0, 300}) {
        int from = 0;
        std::vector<int> feet;
        for (int line = 0; line < 3; ++line) {
            const auto [top, foot] = inkRows(image.copy(x, from, 100, image.height() - from), 0, 100);
            ASSERT_GE(top, 0) << "line " << line;
            feet.push_back(from + foot + 1);
            from += foot + 1;
        }
        EXPECT_NEAR(feet[0], 100, 1.5) << "one size down, not one ascent";
        EXPECT_NEAR(feet[1], 120 + 60 - 10, 1.5) << "the small line is 1.2 x 50 pt high";
        EXPECT_NEAR(feet[2], 180 + 120 - 20, 1.5);
    }
}

TEST_F(EditorCoreOdpTextLayout, ASpaceAfterALineBreakIndentsTheNewLine) {
    const auto doc = import(deckWith("", "<text:p>  one  two<text:line-break/> three</text:p>"));
    QString text;
    for (const TextRun& run : paragraphsOf(*doc).at(0).runs)
        text += run.text;
    EXPECT_EQ(text, QStringLiteral("one two\u2028 three")) << "leading and repeated spaces still collapse";
}

TEST_F(EditorCoreOdpTextLayout, TabStopsCountFromTheTextStart) {
    const std::string styles =
        BigText + "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:paragraph-properties "
                  "fo:margin-left=\"50pt\" fo:text-indent=\"0cm\"><style:tab-stops><style:tab-stop "
                  "style:position=\"200pt\"/><style:tab-stop style:position=\"100pt\"/></style:tab-stops>"
                  "</style:paragraph-properties></style:style>"
                  "<style:style style:name=\"P2\" style:family=\"paragraph\"><style:paragraph-properties "
                  "style:tab-stop-distance=\"2cm\"/></style:style>";
    const OdpRecipe deck =
        deckWith(styles, "<text:p text:style-name=\"P1\"><text:span text:style-name=\"T1\">"
                         "H<text:tab/><text:tab/>H</text:span></text:p>"
                         "<text:p text:style-name=\"P2\">no stops</text:p><text:p>plain</text:p>");
    const auto doc = import(deck);
    const auto& p = paragraphsOf(*doc);
    ASSERT_EQ(p.size(), 3u);
    ASSERT_EQ(p[0].tabStops.size(), 2u);
    EXPECT_DOUBLE_EQ(p[0].tabStops[0], 100) << "in order, whatever order the file gives";
    EXPECT_DOUBLE_EQ(p[0].tabStops[1], 200);
    EXPECT_TRUE(p[1].tabStops.empty());
    EXPECT_NEAR(p[1].tabDistance, 56.69, 0.01);
    EXPECT_NEAR(p[2].tabDistance, 35.43, 0.01) << "the authoring program's default of 1.25 cm";

    // The second tab reaches the stop 200 pt past the margin.
    const QImage image = loadAndRender(write("tabs.odp", odpEntries(deck)));
    EXPECT_NEAR(firstInkColumn(image, 80, 0, 45), 250, 4);
}

TEST_F(EditorCoreOdpTextLayout, AParagraphsOwnIndentsCountFromItsListLevel) {
    // Measured on the authoring program: the label at margin + indent + space before, the text
    // the minimum label width further on, and wrapped lines at margin + space before + width.
    const std::string styles =
        BigText +
        "<text:list-style style:name=\"L9\"><text:list-level-style-number text:level=\"1\" "
        "style:num-format=\"1\"><style:list-level-properties "
        "text:space-before=\"72pt\" text:min-label-width=\"36pt\"/></text:list-level-style-number>"
        "</text:list-style>" +
        paragraphStyle("P1", "fo:margin-left=\"100pt\" fo:text-indent=\"-20pt\"");
    const OdpRecipe deck =
        deckWith(styles, "<text:list text:style-name=\"L9\"><text:list-item>"
                         "<text:p text:style-name=\"P1\"><text:span text:style-name=\"T1\">"
                         "H</text:span></text:p></text:list-item></text:list>");
    const auto doc = import(deck);
    const auto& p = paragraphsOf(*doc).at(0);
    EXPECT_NEAR(p.marginLeft, 208, 0.01);
    EXPECT_NEAR(p.marginLeft + p.indent, 152, 0.01) << "where the label sits";
    EXPECT_NEAR(p.bullet.minWidth, 36, 0.01);
    const QImage image = loadAndRender(write("indents.odp", odpEntries(deck)));
    EXPECT_NEAR(firstInkColumn(image, 0, 0, 45), 152, 4) << "the label";
    EXPECT_NEAR(firstInkColumn(image, 180, 0, 45), 188 + 3, 4) << "the text, not at the 208 pt margin";
}

TEST_F(EditorCoreOdpTextLayout, TabStopsCountFromTheMarginOnEveryLine) {
    // Default stops every 1.25 cm (35.4 pt) from the margin; "H" at 40 pt is 29 pt wide.
    const std::string styles = BigText + paragraphStyle("IN", "fo:text-indent=\"50pt\"") +
                               paragraphStyle("HANG", "fo:margin-left=\"100pt\" fo:text-indent=\"-60pt\"") +
                               paragraphStyle("EDGE", "fo:text-indent=\"470pt\"");
    const auto line = [](const char* style, const char* text) {
        return "<text:p text:style-name=\"" + std::string(style) + "\"><text:span text:style-name=\"T1\">" +
               text + "</text:span></text:p>";
    };
    const QImage image = loadAndRender(
        write("tabmargin.odp",
              odpEntries(deckWith(styles, line("IN", "H<text:tab/>H") + line("HANG", "H<text:tab/>H") +
                                              line("EDGE", "H<text:tab/>H")))));
    const int row = 46; // each 40 pt line is about 46 pt high
    EXPECT_NEAR(firstInkColumn(image, 85, 0, row - 6), 106 + 3, 4)
        << "an indented first line reaches the third stop from the margin, not one from itself";
    EXPECT_NEAR(firstInkColumn(image, 75, row, 2 * row - 6), 100 + 3, 4)
        << "a line hanging before the margin meets a stop at the margin";
    // A tab whose stop lies past the frame's right edge starts the next line and carries the
    // text after it to the first stop there.
    EXPECT_NEAR(firstInkColumn(image, 0, 3 * row + 4, 4 * row - 6), 35 + 3, 4);

    // Both lines hold a tab: each line's stops still count from the margin.
    const QImage both = loadAndRender(
        write("tabboth.odp",
              odpEntries(deckWith(styles, line("IN", "H<text:tab/>H<text:line-break/>H<text:tab/>H")))));
    EXPECT_NEAR(firstInkColumn(both, 85, 0, row - 6), 106 + 3, 4);
    EXPECT_NEAR(firstInkColumn(both, 32, row + 4, 2 * row - 6), 35 + 3, 4) << "the second line's own stops";
}

TEST_F(EditorCoreOdpTextLayout, MovedTabsNeitherLoseTextNorAddLines) {
    // Each "H" fits a 60 pt box but its tab's stop, 72 pt on, does not: every tab starts a line
    // of its own (the tab alone there, as its stop lies past that line's end too).
    const auto body = [](int repeats, Paragraph::Align align) {
        TextBody b;
        b.insets = {};
        Paragraph p;
        p.align = align;
        TextRun run;
        run.family = QStringLiteral("Liberation Sans");
        run.size = 40;
        for (int i = 0; i < repeats; ++i)
            run.text += QStringLiteral("H\t");
        p.runs.push_back(run);
        b.paragraphs.push_back(p);
        return b;
    };
    const double pair = measureTextHeight(body(1, Paragraph::Align::Left), 60);
    EXPECT_NEAR(measureTextHeight(body(10, Paragraph::Align::Left), 60), 10 * pair, pair / 4);
    // Past the bound on layout passes the remaining tabs hang at their lines' ends, but every
    // "H" still gets a line.
    EXPECT_GT(measureTextHeight(body(100, Paragraph::Align::Left), 60),
              measureTextHeight(body(60, Paragraph::Align::Left), 60) + 39 * pair / 2);
    // A short right-aligned line ending in a tab keeps it: the tab is as far from the line's
    // start as on the left.
    EXPECT_NEAR(measureTextHeight(body(1, Paragraph::Align::Right), 200), pair / 2, pair / 8);
}

TEST_F(EditorCoreOdpTextLayout, FurtherParagraphsWithZeroIndentsFollowTheItemText) {
    const std::string styles =
        SymbolList + "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:paragraph-properties "
                     "fo:margin-left=\"0cm\" fo:text-indent=\"0cm\"/></style:style>";
    const auto doc =
        import(deckWith(styles, "<text:list text:style-name=\"L1\"><text:list-item>"
                                "<text:p text:style-name=\"P1\">item</text:p>"
                                "<text:p text:style-name=\"P1\">more</text:p></text:list-item></text:list>"));
    const auto& p = paragraphsOf(*doc);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_NEAR(p[0].marginLeft, 60, 0.01);
    EXPECT_NEAR(p[0].indent, -60, 0.01) << "the label hangs";
    EXPECT_NEAR(p[1].marginLeft + p[1].indent, 60, 0.01)
        << "the further paragraph starts under the item's text";
}

TEST_F(EditorCoreOdpTextLayout, CharacterBackgroundsHighlightTheirRunsOnly) {
    const std::string styles = BigText +
                               "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties "
                               "fo:font-size=\"40pt\" fo:background-color=\"#ffff00\"/></style:style>"
                               "<style:style style:name=\"T3\" style:family=\"text\"><style:text-properties "
                               "fo:font-size=\"40pt\" fo:background-color=\"transparent\"/></style:style>";
    const OdpRecipe deck =
        deckWith(styles, "<text:p><text:span text:style-name=\"T2\">marked</text:span>"
                         "<text:span text:style-name=\"T3\">plain words</text:span></text:p>");
    const auto doc = import(deck);
    const auto& runs = paragraphsOf(*doc).at(0).runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].highlight, QColor(255, 255, 0));
    EXPECT_FALSE(runs[1].highlight.isValid()) << "transparent is no highlight";

    const QImage image = loadAndRender(write("highlight.odp", odpEntries(deck)));
    EXPECT_TRUE(near(image.pixelColor(3, 4), QColor(255, 255, 0), 10)) << "behind the marked run";
    EXPECT_TRUE(near(image.pixelColor(400, 4), Qt::white)) << "not behind the plain one";
}

} // namespace
} // namespace KX::Tovrin::Test
