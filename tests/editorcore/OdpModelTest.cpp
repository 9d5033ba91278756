#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/odp/OdpImporter.h"

#include <QFile>

namespace KX::Tovrin::Test {
namespace {

// Imports small presentations straight into the model, to check what the renderer is given.
class EditorCoreOdpModel : public EditorCoreTest {
protected:
    std::shared_ptr<PresentationDocument> import(const OdpRecipe& deck) {
        QFile file(write("model.odp", odpEntries(deck)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const ZipReader zip(file.readAll());
        return OdpImporter::import(zip);
    }

    static std::string page(const std::string& shapes) {
        return "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\">" + shapes + "</draw:page>";
    }

    // A text frame at the top left with the given attributes and content.
    static std::string frame(const std::string& attributes, const std::string& content) {
        return "<draw:frame " + attributes +
               " svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"400pt\" svg:height=\"300pt\"><draw:text-box>" +
               content + "</draw:text-box></draw:frame>";
    }

    static const TextBody& textOf(const PresentationDocument& doc, std::size_t element = 0) {
        return *std::get<ShapeElement>(doc.slides.at(0).elements.at(element)).text;
    }
};

std::string textStyle(const std::string& name, const std::string& properties) {
    return "<style:style style:name=\"" + name + "\" style:family=\"text\"><style:text-properties " +
           properties + "/></style:style>";
}

TEST_F(EditorCoreOdpModel, ShapeTextStyleLendsParagraphPropertiesOnly) {
    OdpRecipe deck;
    deck.stylesStyles = "<style:style style:name=\"Default-subtitle\" style:family=\"presentation\">"
                        "<style:text-properties fo:font-size=\"32pt\"/></style:style>";
    deck.contentStyles =
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:text-properties "
        "fo:font-size=\"18pt\"/></style:style>"
        "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:paragraph-properties "
        "fo:text-align=\"center\"/><style:text-properties fo:font-size=\"64pt\"/>"
        "<loext:graphic-properties draw:fill=\"solid\" draw:fill-color=\"#ff0000\"/></style:style>" +
        textStyle("T1", "fo:font-size=\"48pt\"") + textStyle("T2", "fo:font-size=\"20pt\"");
    const std::string text = "<text:p><text:span text:style-name=\"T1\"/></text:p><text:p>x</text:p><text:p/>"
                             "<text:p><text:span text:style-name=\"T1\"/><text:span text:style-name=\"T2\">y"
                             "</text:span></text:p>";
    deck.pages = {page(frame("draw:style-name=\"gr1\" draw:text-style-name=\"P1\"", text) +
                       frame("presentation:style-name=\"Default-subtitle\" presentation:class=\"subtitle\" "
                             "draw:text-style-name=\"P1\"",
                             text))};
    const auto doc = import(deck);
    ASSERT_EQ(doc->slides.at(0).elements.size(), 2u);
    EXPECT_EQ(std::get<ShapeElement>(doc->slides[0].elements[0]).fill.kind, Fill::Kind::None)
        << "a text style does not fill the shape";
    const auto& drawing = textOf(*doc, 0).paragraphs;
    ASSERT_EQ(drawing.size(), 4u);
    EXPECT_EQ(drawing[1].align, Paragraph::Align::Center) << "paragraph properties come from the text style";
    EXPECT_DOUBLE_EQ(drawing[1].runs.at(0).size, 18) << "the characters from the graphic style";
    EXPECT_DOUBLE_EQ(drawing[2].endFormat.size, 18);
    EXPECT_DOUBLE_EQ(drawing[0].endFormat.size, 48) << "a paragraph without text takes its empty span's size";
    ASSERT_EQ(drawing[3].runs.size(), 1u) << "an empty span adds nothing to a line of text";
    EXPECT_DOUBLE_EQ(drawing[3].runs[0].size, 20);
    const auto& subtitle = textOf(*doc, 1).paragraphs;
    EXPECT_DOUBLE_EQ(subtitle.at(1).runs.at(0).size, 32)
        << "a presentation object follows its presentation style";
    EXPECT_DOUBLE_EQ(subtitle.at(0).endFormat.size, 48);
}

TEST_F(EditorCoreOdpModel, TextInsetsAreZeroUnlessAStyleGivesThem) {
    OdpRecipe deck;
    deck.contentStyles = "<style:style style:name=\"pad\" style:family=\"graphic\"><style:graphic-properties "
                         "fo:padding=\"0.5cm\" fo:padding-left=\"1cm\"/></style:style>";
    deck.pages = {
        page(frame("", "<text:p>a</text:p>") + frame("draw:style-name=\"pad\"", "<text:p>b</text:p>"))};
    const auto doc = import(deck);
    EXPECT_EQ(textOf(*doc, 0).insets, QMarginsF(0, 0, 0, 0)) << "nothing in the chain asks for any";
    const QMarginsF padded = textOf(*doc, 1).insets;
    EXPECT_NEAR(padded.left(), 28.35, 0.01) << "a side of its own beats the shorthand";
    EXPECT_NEAR(padded.top(), 14.17, 0.01);
    EXPECT_NEAR(padded.right(), 14.17, 0.01);
}

TEST_F(EditorCoreOdpModel, EmptyParagraphsAtTheEdgesOfTheText) {
    // An empty first paragraph stays at full single height; shrinking top-anchored text leaves
    // the empty paragraphs at its end out of the count.
    OdpRecipe deck;
    deck.contentStyles =
        "<style:style style:name=\"fit\" style:family=\"graphic\"><style:graphic-properties "
        "style:shrink-to-fit=\"true\"/></style:style>"
        "<style:style style:name=\"low\" style:family=\"graphic\"><style:graphic-properties "
        "style:shrink-to-fit=\"true\" draw:textarea-vertical-align=\"bottom\"/></style:style>"
        "<style:style style:name=\"P80\" style:family=\"paragraph\"><style:paragraph-properties "
        "fo:line-height=\"80%\"/></style:style>";
    const std::string text = "<text:p text:style-name=\"P80\"/><text:p text:style-name=\"P80\">x</text:p>"
                             "<text:p text:style-name=\"P80\"/><text:p> </text:p>";
    deck.pages = {page(frame("draw:style-name=\"fit\"", text) + frame("draw:style-name=\"low\"", text) +
                       frame("", text))};
    const auto doc = import(deck);
    const auto& fitted = textOf(*doc, 0).paragraphs;
    ASSERT_EQ(fitted.size(), 2u);
    EXPECT_DOUBLE_EQ(fitted[0].lineSpacing, 1) << "the empty first paragraph";
    EXPECT_DOUBLE_EQ(fitted[1].lineSpacing, 0.8);
    EXPECT_EQ(textOf(*doc, 1).paragraphs.size(), 4u) << "under bottom-anchored text they still lift it";
    EXPECT_EQ(textOf(*doc, 2).paragraphs.size(), 4u) << "text that does not shrink keeps them";
}

TEST_F(EditorCoreOdpModel, LetterCaseLinksAndCharacterColours) {
    OdpRecipe deck;
    deck.contentStyles = textStyle("Up", "fo:text-transform=\"uppercase\"") +
                         textStyle("Cap", "fo:text-transform=\"capitalize\"") +
                         textStyle("Small", "fo:font-variant=\"small-caps\"") +
                         textStyle("Red", "fo:color=\"#ff0000\"") +
                         textStyle("Auto", "style:use-window-font-color=\"true\"");
    deck.pages = {page(frame("", "<text:p><text:span text:style-name=\"Up\">odf straße</text:span></text:p>"
                                 "<text:p><text:span text:style-name=\"Cap\">two  words</text:span></text:p>"
                                 "<text:p><text:span text:style-name=\"Small\">small</text:span></text:p>"
                                 "<text:p><text:a xlink:href=\"https://x.org\">plain link</text:a></text:p>"
                                 "<text:p><text:span text:style-name=\"Red\"><text:a "
                                 "xlink:href=\"https://x.org\">red link</text:a></text:span></text:p>"
                                 "<text:p><text:span text:style-name=\"Auto\"><text:a "
                                 "xlink:href=\"https://x.org\">auto link</text:a></text:span></text:p>"))};
    const auto doc = import(deck);
    const auto& p = textOf(*doc).paragraphs;
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[0].runs.at(0).text, QStringLiteral("ODF STRASSE"));
    EXPECT_EQ(p[1].runs.at(0).text, QStringLiteral("Two Words"));
    EXPECT_EQ(p[2].runs.at(0).text, QStringLiteral("SMALL"));
    EXPECT_EQ(p[3].runs.at(0).color, QColor(0, 0, 0x80)) << "links without a colour of their own";
    EXPECT_EQ(p[4].runs.at(0).color, QColor(255, 0, 0)) << "a character colour beats the link colour";
    EXPECT_EQ(p[5].runs.at(0).color, QColor(0, 0, 0)) << "so does the automatic colour";
}

TEST_F(EditorCoreOdpModel, ListLabelsFontsSizesAndIndents) {
    OdpRecipe deck;
    deck.contentStyles =
        "<text:list-style style:name=\"L1\"><text:list-level-style-bullet text:level=\"1\" "
        "text:bullet-char=\"\u25CF\"><style:list-level-properties text:space-before=\"0.3cm\" "
        "text:min-label-width=\"0.9cm\"/><style:text-properties fo:font-family=\"StarSymbol\" "
        "fo:font-size=\"45%\"/></text:list-level-style-bullet></text:list-style>"
        "<text:list-style style:name=\"L2\"><text:list-level-style-number text:level=\"1\" "
        "style:num-suffix=\".\" style:num-format=\"1\"><style:list-level-properties "
        "text:min-label-width=\"1cm\"/><style:text-properties fo:font-size=\"100%\"/>"
        "</text:list-level-style-number></text:list-style>"
        "<text:list-style style:name=\"L3\"><text:list-level-style-bullet text:level=\"1\" "
        "text:bullet-char=\"-\" text:bullet-relative-size=\"60%\"/></text:list-style>";
    deck.pages = {page(frame("", "<text:list text:style-name=\"L1\"><text:list-item><text:p>first</text:p>"
                                 "<text:p>more of the item</text:p></text:list-item></text:list>"
                                 "<text:list text:style-name=\"L2\"><text:list-item><text:p>one</text:p>"
                                 "</text:list-item></text:list><text:list text:style-name=\"L3\">"
                                 "<text:list-item><text:p>dash</text:p></text:list-item></text:list>"))};
    const auto doc = import(deck);
    const auto& p = textOf(*doc).paragraphs;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_DOUBLE_EQ(p[3].bullet.sizeFactor, 0.6) << "size given on the level itself";
    EXPECT_EQ(p[0].bullet.family, QStringLiteral("DejaVu Sans"));
    EXPECT_LT(p[0].bullet.sizeFactor, 0.45) << "the stand-in's circle is drawn larger than the symbol font's";
    EXPECT_GT(p[0].bullet.sizeFactor, 0.25);
    EXPECT_LT(p[0].indent, 0) << "the label hangs";
    EXPECT_TRUE(p[1].bullet.text.isEmpty());
    EXPECT_NEAR(p[1].marginLeft + p[1].indent, p[0].marginLeft, 0.01)
        << "a further paragraph starts where the item's text does";
    EXPECT_EQ(p[2].bullet.text, QStringLiteral("1."));
    EXPECT_TRUE(p[2].bullet.family.isEmpty()) << "numbers without a font use the text's";
}

TEST_F(EditorCoreOdpModel, FontIndependentLineSpacingBelongsToTheTextObject) {
    // The shape's text style decides, else its graphic style; a paragraph's own style does not.
    OdpRecipe deck;
    const std::string independent = "<style:paragraph-properties style:font-independent-line-spacing=";
    deck.contentStyles =
        "<style:style style:name=\"On\" style:family=\"paragraph\">" + independent +
        "\"true\"/></style:style>"
        "<style:style style:name=\"Off\" style:family=\"paragraph\">" +
        independent +
        "\"false\"/></style:style>"
        "<style:style style:name=\"grOn\" style:family=\"graphic\">" +
        independent +
        "\"true\"/></style:style>"
        "<style:style style:name=\"P2\" style:family=\"paragraph\"><style:paragraph-properties "
        "fo:line-height=\"80%\"/></style:style>" +
        textStyle("Big", "fo:font-size=\"40pt\"");
    const std::string text =
        "<text:p text:style-name=\"P2\"><text:span text:style-name=\"Big\">a</text:span></text:p>";
    deck.pages = {page(frame("draw:text-style-name=\"On\"", text) +
                       frame("", "<text:p text:style-name=\"On\">b</text:p>") +
                       frame("draw:style-name=\"grOn\"", text) +
                       frame("draw:style-name=\"grOn\" draw:text-style-name=\"Off\"", text))};
    const auto doc = import(deck);
    ASSERT_EQ(doc->slides.at(0).elements.size(), 4u);
    EXPECT_TRUE(textOf(*doc, 0).sizeBasedLines);
    const Paragraph& p = textOf(*doc, 0).paragraphs.at(0);
    EXPECT_EQ(p.exactLineHeight, 0) << "each line measures its own largest size";
    EXPECT_DOUBLE_EQ(p.lineSpacing, 0.8);
    EXPECT_FALSE(textOf(*doc, 1).sizeBasedLines) << "a paragraph style alone does not switch it on";
    EXPECT_TRUE(textOf(*doc, 2).sizeBasedLines) << "from the graphic style";
    EXPECT_FALSE(textOf(*doc, 3).sizeBasedLines) << "the text style over the graphic style";
}

TEST_F(EditorCoreOdpModel, TableTemplatesStyleCellsByTheirPlace) {
    auto cellStyle = [](const std::string& name, const std::string& colour, const std::string& border) {
        return "<style:style style:name=\"" + name +
               "\" style:family=\"table-cell\"><style:graphic-properties draw:fill=\"solid\" "
               "draw:fill-color=\"" +
               colour + "\"/><style:paragraph-properties fo:border=\"" + border + "\"/></style:style>";
    };
    OdpRecipe deck;
    deck.stylesStyles =
        cellStyle("head", "#ff0000", "0.1cm solid #000000") + cellStyle("band", "#00ff00", "none") +
        cellStyle("body", "#0000ff", "none") +
        "<table:table-template table:name=\"look\"><table:first-row table:style-name=\"head\"/>"
        "<table:odd-rows table:style-name=\"band\"/><table:body table:style-name=\"body\"/>"
        "</table:table-template>";
    deck.contentStyles =
        "<style:style style:name=\"own\" style:family=\"table-cell\"><style:graphic-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#ffff00\"/></style:style>";
    std::string rows;
    for (int r = 0; r < 3; ++r)
        rows += "<table:table-row><table:table-cell><text:p>a</text:p></table:table-cell><table:table-cell" +
                std::string(r == 2 ? " table:style-name=\"own\"" : "") +
                "><text:p>b</text:p></table:table-cell></table:table-row>";
    deck.pages = {page("<draw:frame svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"200pt\" svg:height=\"90pt\">"
                       "<table:table table:template-name=\"look\" table:use-first-row-styles=\"true\" "
                       "table:use-banding-rows-styles=\"true\"><table:table-column "
                       "table:number-columns-repeated=\"2\"/>" +
                       rows + "</table:table></draw:frame>")};
    const auto doc = import(deck);
    const auto& table = std::get<TableElement>(doc->slides.at(0).elements.at(0));
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0][0].fill.color, QColor(255, 0, 0)) << "first row";
    EXPECT_TRUE(table.rows[0][0].top.visible) << "borders kept in the paragraph properties";
    EXPECT_NEAR(table.rows[0][0].top.width, 0.1 * 72 / 2.54, 0.01);
    EXPECT_EQ(table.rows[1][1].fill.color, QColor(0, 255, 0)) << "banded row";
    EXPECT_FALSE(table.rows[1][1].left.visible);
    EXPECT_EQ(table.rows[2][0].fill.color, QColor(0, 0, 255)) << "body";
    EXPECT_EQ(table.rows[2][1].fill.color, QColor(255, 255, 0)) << "the cell's own style wins";
}

TEST_F(EditorCoreOdpModel, ShadowsAreDrawnUnderTheirShapes) {
    OdpRecipe deck;
    deck.contentStyles =
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#ff0000\" draw:shadow=\"visible\" "
        "draw:shadow-offset-x=\"10pt\" draw:shadow-offset-y=\"5pt\" "
        "draw:shadow-color=\"#000000\" draw:shadow-opacity=\"50%\"/></style:style>"
        "<style:style style:name=\"gr2\" style:family=\"graphic\"><style:graphic-properties "
        "draw:fill=\"solid\" draw:fill-color=\"#0000ff\" draw:shadow=\"hidden\"/></style:style>";
    deck.pages = {
        page("<draw:rect draw:style-name=\"gr1\" svg:x=\"100pt\" svg:y=\"100pt\" svg:width=\"100pt\" "
             "svg:height=\"50pt\"><text:p>text</text:p></draw:rect>"
             "<draw:rect draw:style-name=\"gr2\" svg:x=\"300pt\" svg:y=\"100pt\" svg:width=\"100pt\" "
             "svg:height=\"50pt\"/>")};
    const auto doc = import(deck);
    const auto& elements = doc->slides.at(0).elements;
    ASSERT_EQ(elements.size(), 3u);
    const auto& shadow = std::get<ShapeElement>(elements[0]);
    EXPECT_EQ(shadow.frame.bounds, QRectF(110, 105, 100, 50));
    EXPECT_EQ(shadow.fill.color.rgb(), QColor(0, 0, 0).rgb());
    EXPECT_NEAR(shadow.fill.color.alphaF(), 0.5, 0.01);
    EXPECT_FALSE(shadow.text.has_value()) << "text casts no shadow";
    EXPECT_EQ(std::get<ShapeElement>(elements[1]).fill.color, QColor(255, 0, 0))
        << "the shape over its shadow";

    // And on screen: the shadow shows beside the shape, half dark over white.
    const QImage image = loadAndRender(write("shadow.odp", odpEntries(deck)));
    const QColor beside = image.pixelColor(205, 130);
    EXPECT_NEAR(beside.red(), 128, 20);
    EXPECT_TRUE(near(image.pixelColor(150, 125), QColor(255, 0, 0), 40));
    EXPECT_TRUE(near(image.pixelColor(405, 130), Qt::white)) << "hidden shadows are not drawn";
}

TEST_F(EditorCoreOdpModel, SeeThroughPicturesKeepTheirCrop) {
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            picture.setPixelColor(x, y, Qt::blue);
    OdpRecipe deck;
    // About the right half cropped away; the crop's left edge reaches a hair outside the
    // picture, as files write it.
    deck.contentStyles =
        "<style:style style:name=\"gr1\" style:family=\"graphic\"><style:graphic-properties "
        "draw:image-opacity=\"50%\" fo:clip=\"rect(0pt, 7.5pt, 0pt, -0.01pt)\"/></style:style>";
    const std::string image = "<draw:image xlink:href=\"Pictures/p.png\"/></draw:frame>";
    deck.pages = {page("<draw:frame draw:style-name=\"gr1\" svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"100pt\" "
                       "svg:height=\"100pt\">" +
                       image +
                       "<draw:frame svg:x=\"200pt\" svg:y=\"0pt\" svg:width=\"100pt\" svg:height=\"100pt\">" +
                       image)};
    ZipEntries entries = odpEntries(deck);
    entries["Pictures/p.png"] = pngBytes(picture);
    QFile file(write("seethrough.odp", entries));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto doc = OdpImporter::import(ZipReader(file.readAll()));
    const auto& elements = doc->slides.at(0).elements;
    ASSERT_EQ(elements.size(), 2u);
    const auto* seeThrough = std::get_if<ShapeElement>(&elements[0]);
    ASSERT_NE(seeThrough, nullptr) << "drawn as a shape filled with the picture";
    EXPECT_EQ(seeThrough->fill.kind, Fill::Kind::Picture);
    EXPECT_DOUBLE_EQ(seeThrough->fill.alpha, 0.5);
    EXPECT_NEAR(seeThrough->fill.sourceCrop.left(), 0, 1e-9);
    EXPECT_NEAR(seeThrough->fill.sourceCrop.width(), 0.5, 0.05);
    EXPECT_TRUE(std::holds_alternative<PictureElement>(elements[1])) << "opaque pictures stay pictures";

    const QImage shown = loadAndRender(write("seethrough2.odp", entries));
    EXPECT_TRUE(near(shown.pixelColor(80, 50), QColor(255, 128, 128), 12))
        << "half red over white, crop kept";
    EXPECT_TRUE(near(shown.pixelColor(280, 50), QColor(0, 0, 255), 12));
}

TEST_F(EditorCoreOdpModel, LineMarkersKeepTheirKindAndProportions) {
    OdpRecipe deck;
    deck.stylesStyles =
        "<draw:marker draw:name=\"Arrow\" svg:viewBox=\"0 0 20 30\" svg:d=\"M10 0l-10 30h20z\"/>"
        "<draw:marker draw:name=\"Circle\" svg:viewBox=\"0 0 1131 1131\" svg:d=\"M462 1118l-102-29-102-51"
        "c-50-30-89-70-120-120z\"/>"
        "<draw:marker draw:name=\"Square_20_45\" svg:viewBox=\"0 0 1131 1131\" "
        "svg:d=\"M0 564l564 567 567-567-567-564z\"/>"
        "<draw:marker draw:name=\"Line_20_Arrow\" svg:viewBox=\"0 0 1122 2243\" "
        "svg:d=\"M0 2108v17 17l12 42 30 34 38 21 43 4 29-8 30-21 25-26 13-34 343-1532 339 1520 13 42 "
        "13 22 28 34 39 20 42 4 42-12 34-30 21-42v-39-12l-4 4-440-1998-9-42-25-39-38-25-43-8-42 8-38 25-26 "
        "39-8 42z\"/>";
    auto line = [](const std::string& style, int y) {
        return "<draw:line draw:style-name=\"" + style + "\" svg:x1=\"0pt\" svg:y1=\"" + std::to_string(y) +
               "pt\" svg:x2=\"300pt\" svg:y2=\"" + std::to_string(y) + "pt\"/>";
    };
    auto style = [](const std::string& name, const std::string& start, const std::string& end) {
        return "<style:style style:name=\"" + name +
               "\" style:family=\"graphic\"><style:graphic-properties draw:stroke=\"solid\" "
               "svg:stroke-width=\"2pt\" draw:marker-start=\"" +
               start + "\" draw:marker-start-width=\"8pt\" draw:marker-end=\"" + end +
               "\" draw:marker-end-width=\"8pt\"/></style:style>";
    };
    deck.contentStyles = style("gr1", "Arrow", "Circle") + style("gr2", "Square_20_45", "Line_20_Arrow");
    deck.pages = {page(line("gr1", 100) + line("gr2", 200))};
    const auto doc = import(deck);
    const Stroke& first = std::get<ShapeElement>(doc->slides.at(0).elements.at(0)).stroke;
    const Stroke& second = std::get<ShapeElement>(doc->slides.at(0).elements.at(1)).stroke;
    EXPECT_EQ(first.head.kind, LineEnd::Kind::Triangle);
    EXPECT_DOUBLE_EQ(first.head.widthFactor, 4);
    EXPECT_DOUBLE_EQ(first.head.lengthFactor, 6) << "the arrow is half again as long as it is wide";
    EXPECT_EQ(first.tail.kind, LineEnd::Kind::Oval);
    EXPECT_DOUBLE_EQ(first.tail.lengthFactor, first.tail.widthFactor);
    EXPECT_EQ(second.head.kind, LineEnd::Kind::Diamond);
    EXPECT_EQ(second.tail.kind, LineEnd::Kind::Arrow);
}

TEST_F(EditorCoreOdpModel, ConnectorsWithoutAPathBendOrCurve) {
    auto connector = [](const std::string& type) {
        return "<draw:connector " + type +
               " svg:x1=\"0pt\" svg:y1=\"0pt\" svg:x2=\"200pt\" svg:y2=\"100pt\"/>";
    };
    OdpRecipe deck;
    deck.pages = {page(connector("") + connector("draw:type=\"curve\"") + connector("draw:type=\"line\"") +
                       "<draw:line svg:x1=\"0pt\" svg:y1=\"0pt\" svg:x2=\"200pt\" svg:y2=\"100pt\"/>")};
    const auto doc = import(deck);
    const auto& elements = doc->slides.at(0).elements;
    ASSERT_EQ(elements.size(), 4u);
    auto pathOf = [&](std::size_t i) { return std::get<ShapeElement>(elements[i]).geometry.at(0).path; };
    // Standard connectors leave along the longer distance, bend halfway and arrive the same way.
    const QPainterPath standard = pathOf(0);
    ASSERT_EQ(standard.elementCount(), 4);
    EXPECT_EQ(QPointF(standard.elementAt(1)), QPointF(100, 0));
    EXPECT_EQ(QPointF(standard.elementAt(2)), QPointF(100, 100));
    EXPECT_EQ(QPointF(standard.elementAt(3)), QPointF(200, 100));
    const QPainterPath curve = pathOf(1);
    EXPECT_TRUE(curve.elementAt(1).type == QPainterPath::CurveToElement);
    EXPECT_NEAR(curve.pointAtPercent(0.5).x(), 100, 0.5);
    EXPECT_LT(curve.pointAtPercent(0.25).y(), 25) << "the curve starts out level";
    for (std::size_t i : {2u, 3u})
        EXPECT_EQ(pathOf(i).elementCount(), 2) << "straight connectors and lines stay straight";
    EXPECT_EQ(std::get<ShapeElement>(elements[0]).frame.bounds, QRectF(0, 0, 200, 100));
}

} // namespace
} // namespace KX::Tovrin::Test
