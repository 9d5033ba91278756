#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/odp/OdpImporter.h"
#include "platform/brovik/editorcore/pptx/PptxImporter.h"

#include <QDate>
#include <QFile>
#include <QLocale>

namespace KX::Tovrin::Test {
namespace {

// Imports straight into the model, to check what the renderer will be given.
class EditorCoreModel : public EditorCoreTest {
protected:
    std::shared_ptr<PresentationDocument> importPptx(const PptxRecipe& deck) {
        QFile file(write("model.pptx", pptxEntries(deck)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const ZipReader zip(file.readAll());
        EXPECT_TRUE(PptxImporter::recognizes(zip));
        EXPECT_FALSE(OdpImporter::recognizes(zip));
        return PptxImporter::import(zip);
    }

    std::shared_ptr<PresentationDocument> importOdp(const ZipEntries& entries) {
        QFile file(write("model.odp", entries));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const ZipReader zip(file.readAll());
        EXPECT_TRUE(OdpImporter::recognizes(zip));
        return OdpImporter::import(zip);
    }

    static const ShapeElement& shapeAt(const Slide& slide, std::size_t index) {
        return std::get<ShapeElement>(slide.elements.at(index));
    }
};

const std::string BodyPlaceholder = "<p:nvPr><p:ph type=\"body\" idx=\"1\"/></p:nvPr>";

std::string sp(const std::string& nvPr, const std::string& spPr, const std::string& txBody) {
    return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/>" + nvPr + "</p:nvSpPr><p:spPr>" +
           spPr + "</p:spPr>" + txBody + "</p:sp>";
}

const std::string Xfrm =
    "<a:xfrm><a:off x=\"127000\" y=\"127000\"/><a:ext cx=\"2540000\" cy=\"1270000\"/></a:xfrm>";

TEST_F(EditorCoreModel, TextStylesCascadeFromMasterToRun) {
    PptxRecipe deck;
    deck.layoutShapes =
        sp(BodyPlaceholder, Xfrm,
           "<p:txBody><a:bodyPr anchor=\"b\" lIns=\"0\"/><a:lstStyle><a:lvl1pPr><a:defRPr b=\"1\"/>"
           "</a:lvl1pPr></a:lstStyle><a:p/></p:txBody>");
    deck.slideShapes = {
        sp(BodyPlaceholder, "",
           "<p:txBody><a:bodyPr/><a:lstStyle/>"
           "<a:p><a:r><a:rPr lang=\"en\"/><a:t>Inherited</a:t></a:r></a:p>"
           "<a:p><a:r><a:rPr lang=\"en\" sz=\"1200\" b=\"0\" i=\"1\" u=\"sng\"><a:solidFill><a:schemeClr "
           "val=\"accent1\"><a:lumMod val=\"50000\"/></a:schemeClr></a:solidFill><a:latin "
           "typeface=\"Georgia\"/></a:rPr><a:t>Own</a:t></a:r><a:br/><a:r><a:t>after break</a:t></a:r>"
           "</a:p></p:txBody>")};
    const auto doc = importPptx(deck);
    const ShapeElement& shape = shapeAt(doc->slides.at(0), 0);
    ASSERT_TRUE(shape.text.has_value());
    const TextBody& body = *shape.text;
    EXPECT_EQ(body.anchor, TextBody::Anchor::Bottom) << "body properties from the layout";
    EXPECT_DOUBLE_EQ(body.insets.left(), 0);
    ASSERT_EQ(body.paragraphs.size(), 2u);
    const TextRun& inherited = body.paragraphs[0].runs.at(0);
    EXPECT_DOUBLE_EQ(inherited.size, 32) << "master body style";
    EXPECT_TRUE(inherited.bold) << "layout list style";
    EXPECT_EQ(inherited.family, QStringLiteral("DejaVu Sans")) << "theme minor font";
    EXPECT_EQ(body.paragraphs[0].bullet.text, QStringLiteral("\u2022"));
    EXPECT_DOUBLE_EQ(body.paragraphs[0].marginLeft, 27);
    EXPECT_DOUBLE_EQ(body.paragraphs[0].indent, -27);
    const auto& own = body.paragraphs[1].runs;
    ASSERT_EQ(own.size(), 3u);
    EXPECT_DOUBLE_EQ(own[0].size, 12);
    EXPECT_FALSE(own[0].bold);
    EXPECT_TRUE(own[0].italic);
    EXPECT_TRUE(own[0].underline);
    EXPECT_EQ(own[0].family, QStringLiteral("Georgia"));
    EXPECT_EQ(own[0].color.rgba(), QColor(128, 0, 0).rgba());
    EXPECT_EQ(own[1].text, QString(QChar(0x2028)));
    EXPECT_EQ(own[2].text, QStringLiteral("after break"));
}

TEST_F(EditorCoreModel, NumberingSymbolBulletsSpacingAndAutofit) {
    PptxRecipe deck;
    auto para = [](const std::string& pPr, const std::string& text) {
        return "<a:p>" + pPr + "<a:r><a:rPr lang=\"en\" sz=\"2000\"/><a:t>" + text + "</a:t></a:r></a:p>";
    };
    const std::string num = "<a:buFont typeface=\"+mj-lt\"/><a:buAutoNum type=\"romanUcPeriod\"/>";
    deck.slideShapes = {
        sp("<p:nvPr/>", Xfrm,
           "<p:txBody><a:bodyPr><a:normAutofit fontScale=\"62500\" lnSpcReduction=\"20000\"/></a:bodyPr>"
           "<a:lstStyle/>" +
               para("<a:pPr>" + num + "</a:pPr>", "one") + para("<a:pPr>" + num + "</a:pPr>", "two") +
               para("<a:pPr lvl=\"1\"><a:buAutoNum type=\"alphaLcParenR\"/></a:pPr>", "two a") +
               para("<a:pPr>" + num + "</a:pPr>", "three") + "<a:p><a:pPr>" + num + "</a:pPr></a:p>" +
               para("<a:pPr><a:buFont typeface=\"Wingdings\"/><a:buChar char=\"&#216;\"/>"
                    "<a:lnSpc><a:spcPct val=\"150000\"/></a:lnSpc><a:spcBef><a:spcPts val=\"600\"/>"
                    "</a:spcBef></a:pPr>",
                    "arrow") +
               para("<a:pPr><a:buNone/><a:lnSpc><a:spcPts val=\"3000\"/></a:lnSpc></a:pPr>", "plain") +
               "</p:txBody>")};
    const auto doc = importPptx(deck);
    const TextBody& body = *shapeAt(doc->slides.at(0), 0).text;
    EXPECT_DOUBLE_EQ(body.fontScale, 0.625);
    EXPECT_DOUBLE_EQ(body.spacingReduction, 0.2);
    EXPECT_TRUE(body.shrinkToFit);
    EXPECT_TRUE(body.fittedByAuthor);
    ASSERT_EQ(body.paragraphs.size(), 7u);
    EXPECT_EQ(body.paragraphs[0].bullet.text, QStringLiteral("I."));
    EXPECT_EQ(body.paragraphs[1].bullet.text, QStringLiteral("II."));
    EXPECT_EQ(body.paragraphs[2].bullet.text, QStringLiteral("a)"));
    EXPECT_EQ(body.paragraphs[3].bullet.text, QStringLiteral("III."));
    EXPECT_TRUE(body.paragraphs[4].bullet.text.isEmpty()) << "empty paragraphs show no number";
    EXPECT_EQ(body.paragraphs[5].bullet.text, QStringLiteral("\u27A2")) << "Wingdings arrow as Unicode";
    EXPECT_DOUBLE_EQ(body.paragraphs[5].lineSpacing, 1.5);
    EXPECT_DOUBLE_EQ(body.paragraphs[5].spaceBefore, 6);
    EXPECT_TRUE(body.paragraphs[6].bullet.text.isEmpty());
    EXPECT_DOUBLE_EQ(body.paragraphs[6].exactLineHeight, 30);
}

TEST_F(EditorCoreModel, StyleReferencesGiveDefaultFillLineAndFontColour) {
    PptxRecipe deck;
    deck.slideShapes = {
        "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>" + Xfrm +
        "<a:prstGeom prst=\"ellipse\"/></p:spPr><p:style><a:lnRef idx=\"2\"><a:schemeClr val=\"accent2\"/>"
        "</a:lnRef><a:fillRef idx=\"1\"><a:schemeClr val=\"accent1\"/></a:fillRef><a:effectRef idx=\"0\">"
        "<a:schemeClr val=\"accent1\"/></a:effectRef><a:fontRef idx=\"minor\"><a:schemeClr val=\"lt1\"/>"
        "</a:fontRef></p:style><p:txBody><a:bodyPr/><a:p><a:r><a:t>x</a:t></a:r></a:p></p:txBody></p:sp>"};
    const auto doc = importPptx(deck);
    const ShapeElement& shape = shapeAt(doc->slides.at(0), 0);
    EXPECT_EQ(shape.fill.kind, Fill::Kind::Solid);
    EXPECT_EQ(shape.fill.color, QColor(255, 0, 0));
    EXPECT_TRUE(shape.stroke.visible);
    EXPECT_EQ(shape.stroke.color, QColor(0, 255, 0));
    EXPECT_DOUBLE_EQ(shape.stroke.width, 2);
    EXPECT_EQ(shape.text->paragraphs.at(0).runs.at(0).color, QColor(255, 255, 255));
    EXPECT_LT(shape.textRect.width(), 200) << "the ellipse's text rectangle sits inside it";
}

TEST_F(EditorCoreModel, ConnectorsKeepLineEndsAndCustomGeometryIsRead) {
    PptxRecipe deck;
    deck.slideShapes = {
        "<p:cxnSp><p:nvCxnSpPr><p:cNvPr id=\"3\" name=\"c\"/><p:cNvCxnSpPr/><p:nvPr/></p:nvCxnSpPr><p:spPr>" +
        Xfrm +
        "<a:prstGeom prst=\"straightConnector1\"/><a:ln w=\"25400\"><a:solidFill><a:srgbClr "
        "val=\"0000FF\"/></a:solidFill>"
        "<a:prstDash val=\"dash\"/><a:tailEnd type=\"triangle\" w=\"lg\"/></a:ln></p:spPr></p:cxnSp>" +
        sp("<p:nvPr/>",
           Xfrm + "<a:custGeom><a:pathLst><a:path w=\"2\" h=\"2\"><a:moveTo><a:pt x=\"1\" "
                  "y=\"0\"/></a:moveTo><a:lnTo><a:pt "
                  "x=\"2\" y=\"2\"/></a:lnTo><a:lnTo><a:pt x=\"0\" "
                  "y=\"2\"/></a:lnTo><a:close/></a:path></a:pathLst>"
                  "</a:custGeom>",
           "")};
    const auto doc = importPptx(deck);
    const ShapeElement& line = shapeAt(doc->slides.at(0), 0);
    EXPECT_EQ(line.stroke.tail.kind, LineEnd::Kind::Triangle);
    EXPECT_DOUBLE_EQ(line.stroke.tail.widthFactor, 5);
    EXPECT_EQ(line.stroke.head.kind, LineEnd::Kind::None);
    EXPECT_EQ(line.stroke.style, Qt::DashLine);
    EXPECT_DOUBLE_EQ(line.stroke.width, 2);
    ASSERT_FALSE(line.geometry.empty());
    EXPECT_FALSE(line.geometry[0].closed);
    const ShapeElement& triangle = shapeAt(doc->slides.at(0), 1);
    ASSERT_EQ(triangle.geometry.size(), 1u);
    EXPECT_TRUE(triangle.geometry[0].path.contains(QPointF(100, 80)));
    EXPECT_FALSE(triangle.geometry[0].path.contains(QPointF(10, 10)));
}

TEST_F(EditorCoreModel, FieldsShowTheSlideNumberAndTheDayOfOpening) {
    PptxRecipe deck;
    const std::string field =
        "<p:txBody><a:bodyPr/><a:p><a:fld id=\"{1}\" type=\"slidenum\"><a:t>&lt;#&gt;</a:t></a:fld>"
        "</a:p><a:p><a:fld id=\"{2}\" type=\"datetime1\"><a:t>1/2/2003</a:t></a:fld></a:p>"
        "<a:p><a:fld id=\"{3}\" type=\"datetime4\"><a:t>January 2, 2003</a:t></a:fld></a:p></p:txBody>";
    deck.slideShapes = {sp("<p:nvPr/>", Xfrm, field), sp("<p:nvPr/>", Xfrm, field)};
    const QDate before = QDate::currentDate();
    const auto doc = importPptx(deck);
    const QDate after = QDate::currentDate();
    const auto& paragraphs = shapeAt(doc->slides.at(1), 0).text->paragraphs;
    EXPECT_EQ(paragraphs.at(0).runs.at(0).text, QStringLiteral("2"));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QString shortDate = paragraphs.at(1).runs.at(0).text;
    EXPECT_TRUE(shortDate == us.toString(before, QStringLiteral("M/d/yyyy")) ||
                shortDate == us.toString(after, QStringLiteral("M/d/yyyy")))
        << shortDate.toStdString();
    const QString longDate = paragraphs.at(2).runs.at(0).text;
    EXPECT_TRUE(longDate == us.toString(before, QStringLiteral("MMMM d, yyyy")) ||
                longDate == us.toString(after, QStringLiteral("MMMM d, yyyy")))
        << longDate.toStdString();
}

TEST_F(EditorCoreModel, OdpListsStylesAndMasterObjects) {
    OdpRecipe deck;
    deck.contentStyles =
        "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:paragraph-properties "
        "fo:text-align=\"center\"/>"
        "<style:text-properties fo:font-size=\"24pt\" fo:font-weight=\"bold\" "
        "fo:color=\"#123456\"/></style:style>"
        "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties fo:font-size=\"50%\" "
        "fo:font-style=\"italic\"/></style:style>"
        "<text:list-style style:name=\"L1\"><text:list-level-style-number text:level=\"1\" "
        "style:num-format=\"1\" "
        "style:num-suffix=\".\"><style:list-level-properties text:space-before=\"0.5in\" "
        "text:min-label-width=\"0.25in\"/>"
        "</text:list-level-style-number><text:list-level-style-bullet text:level=\"2\" "
        "text:bullet-char=\"-\"/>"
        "</text:list-style>"
        "<style:style style:name=\"dp1\" style:family=\"drawing-page\"><style:drawing-page-properties "
        "presentation:background-objects-visible=\"false\"/></style:style>";
    deck.masterShapes =
        "<draw:rect svg:x=\"0pt\" svg:y=\"0pt\" svg:width=\"10pt\" svg:height=\"10pt\"/>"
        "<draw:frame presentation:class=\"page-number\" svg:x=\"0pt\" svg:y=\"500pt\" svg:width=\"50pt\" "
        "svg:height=\"20pt\"><draw:text-box><text:p><text:page-number>9</text:page-number></text:p>"
        "</draw:text-box></draw:frame>";
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame svg:x=\"0pt\" "
        "svg:y=\"0pt\" "
        "svg:width=\"300pt\" svg:height=\"300pt\"><draw:text-box><text:p text:style-name=\"P1\">Big "
        "<text:span text:style-name=\"T1\">small</text:span><text:s text:c=\"2\"/>end</text:p>"
        "<text:list "
        "text:style-name=\"L1\"><text:list-item><text:p>first</text:p></text:list-item><text:list-item>"
        "<text:p>second</text:p><text:list><text:list-item><text:p>inner</text:p></text:list-item></"
        "text:list>"
        "</text:list-item></text:list></draw:text-box></draw:frame></draw:page>",
        "<draw:page draw:name=\"b\" draw:master-page-name=\"Default\" draw:style-name=\"dp1\"/>"};
    ZipEntries entries = odpEntries(deck);
    const auto doc = importOdp(entries);
    ASSERT_EQ(doc->slides.size(), 2u);
    const Slide& first = doc->slides[0];
    // Master rectangle, then the page's frame; the page number is off unless the page asks for it.
    ASSERT_EQ(first.elements.size(), 2u);
    const TextBody& body = *shapeAt(first, 1).text;
    ASSERT_EQ(body.paragraphs.size(), 4u);
    const Paragraph& styled = body.paragraphs[0];
    EXPECT_EQ(styled.align, Paragraph::Align::Center);
    ASSERT_EQ(styled.runs.size(), 4u);
    EXPECT_EQ(styled.runs[0].text, QStringLiteral("Big "));
    EXPECT_DOUBLE_EQ(styled.runs[0].size, 24);
    EXPECT_TRUE(styled.runs[0].bold);
    EXPECT_EQ(styled.runs[0].color, QColor(0x12, 0x34, 0x56));
    EXPECT_DOUBLE_EQ(styled.runs[1].size, 12) << "percentages apply to the inherited size";
    EXPECT_TRUE(styled.runs[1].italic);
    EXPECT_EQ(styled.runs[2].text, QStringLiteral("  "));
    EXPECT_EQ(body.paragraphs[1].bullet.text, QStringLiteral("1."));
    EXPECT_EQ(body.paragraphs[2].bullet.text, QStringLiteral("2."));
    EXPECT_EQ(body.paragraphs[3].bullet.text, QStringLiteral("-"));
    EXPECT_DOUBLE_EQ(body.paragraphs[1].marginLeft, 54);
    EXPECT_DOUBLE_EQ(body.paragraphs[1].indent, -18);
    EXPECT_TRUE(doc->slides[1].elements.empty()) << "master objects hidden by the page style";
}

TEST_F(EditorCoreModel, ChartsBecomeShapes) {
    auto chartPart = [](const std::string& plot, const std::string& legend = "") {
        return QByteArray::fromStdString(
            "<?xml version=\"1.0\"?><c:chartSpace "
            "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
            "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart><c:plotArea>" +
            plot + "</c:plotArea>" + legend + "</c:chart></c:chartSpace>");
    };
    const std::string series =
        "<c:ser><c:idx val=\"0\"/><c:cat><c:strRef><c:strCache><c:pt idx=\"0\"><c:v>A</c:v></c:pt>"
        "<c:pt idx=\"1\"><c:v>B</c:v></c:pt></c:strCache></c:strRef></c:cat><c:val><c:numRef>"
        "<c:numCache><c:pt idx=\"0\"><c:v>1</c:v></c:pt><c:pt idx=\"1\"><c:v>2</c:v></c:pt>"
        "</c:numCache></c:numRef></c:val></c:ser>";
    PptxRecipe deck;
    deck.extraEntries["ppt/charts/chart1.xml"] = chartPart(
        "<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/>" + series + "</c:barChart>");
    deck.extraEntries["ppt/charts/chart2.xml"] =
        chartPart("<c:pieChart><c:varyColors val=\"1\"/>" + series + "</c:pieChart>",
                  "<c:legend><c:legendPos val=\"b\"/></c:legend>");
    deck.slideRelationships =
        "<Relationship Id=\"rIdC1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart\" "
        "Target=\"../charts/chart1.xml\"/><Relationship Id=\"rIdC2\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart\" "
        "Target=\"../charts/chart2.xml\"/>";
    auto frame = [](const std::string& id) {
        return "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" "
               "name=\"c\"/><p:cNvGraphicFramePr/><p:nvPr/>"
               "</p:nvGraphicFramePr><p:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"5080000\" "
               "cy=\"3810000\"/></p:xfrm>"
               "<a:graphic><a:graphicData "
               "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart "
               "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" r:id=\"" +
               id + "\"/></a:graphicData></a:graphic></p:graphicFrame>";
    };
    deck.slideShapes = {frame("rIdC1") + frame("rIdC2") + frame("rIdMissing")};
    const auto doc = importPptx(deck);
    const Slide& slide = doc->slides.at(0);
    ASSERT_EQ(slide.elements.size(), 2u) << "a chart that cannot be found is skipped";
    auto filled = [](const GroupElement& g, QColor colour) {
        std::vector<QRectF> boxes;
        for (const SlideElement& e : g.children)
            if (const auto* s = std::get_if<ShapeElement>(&e))
                if (s->fill.kind == Fill::Kind::Solid && s->fill.color == colour)
                    boxes.push_back(s->frame.bounds);
        return boxes;
    };
    const auto& bars = std::get<GroupElement>(slide.elements[0]);
    const auto red = filled(bars, QColor(255, 0, 0));
    ASSERT_EQ(red.size(), 2u);
    EXPECT_NEAR(red[1].height() / red[0].height(), 2.0, 0.01);
    EXPECT_DOUBLE_EQ(red[0].bottom(), red[1].bottom()) << "bars stand on the same axis";
    const auto& pie = std::get<GroupElement>(slide.elements[1]);
    const auto redSlice = filled(pie, QColor(255, 0, 0));
    ASSERT_EQ(redSlice.size(), 2u) << "the legend mark, then the slice";
    EXPECT_EQ(filled(pie, QColor(0, 255, 0)).size(), 2u) << "one theme accent per slice";
    EXPECT_GT(redSlice[0].top(), redSlice[1].bottom()) << "the legend sits below the pie";
}

TEST_F(EditorCoreModel, SmartArtShowsItsCachedDrawing) {
    PptxRecipe deck;
    deck.extraEntries["ppt/diagrams/data1.xml"] =
        QByteArray("<dgm:dataModel xmlns:dgm=\"http://schemas.openxmlformats.org/drawingml/2006/diagram\" "
                   "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><dgm:ptLst/"
                   "><dgm:extLst><a:ext uri=\"x\">"
                   "<dsp:dataModelExt xmlns:dsp=\"http://schemas.microsoft.com/office/drawing/2008/diagram\" "
                   "relId=\"rIdD\"/>"
                   "</a:ext></dgm:extLst></dgm:dataModel>");
    deck.extraEntries["ppt/diagrams/drawing1.xml"] =
        QByteArray("<dsp:drawing xmlns:dsp=\"http://schemas.microsoft.com/office/drawing/2008/diagram\" "
                   "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/"
                   "main\"><dsp:spTree><dsp:nvGrpSpPr><dsp:cNvPr id=\"0\" "
                   "name=\"\"/><dsp:cNvGrpSpPr/></dsp:nvGrpSpPr><dsp:grpSpPr/><dsp:sp><dsp:nvSpPr><dsp:cNvPr "
                   "id=\"0\" name=\"\"/>"
                   "<dsp:cNvSpPr/></dsp:nvSpPr><dsp:spPr><a:xfrm><a:off x=\"127000\" y=\"0\"/><a:ext "
                   "cx=\"127000\" cy=\"127000\"/>"
                   "</a:xfrm><a:prstGeom prst=\"rect\"/><a:solidFill><a:schemeClr "
                   "val=\"accent1\"/></a:solidFill></dsp:spPr>"
                   "<dsp:txBody><a:bodyPr/><a:p><a:r><a:t>Step</a:t></a:r></a:p></dsp:txBody></dsp:sp></"
                   "dsp:spTree></dsp:drawing>");
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    deck.slideRelationships =
        "<Relationship Id=\"rIdM\" Type=\"" + rel + "diagramData\" Target=\"../diagrams/data1.xml\"/>" +
        "<Relationship Id=\"rIdD\" Type=\"http://schemas.microsoft.com/office/2007/relationships/"
        "diagramDrawing\" Target=\"../diagrams/drawing1.xml\"/>";
    deck.slideShapes = {
        "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"d\"/><p:cNvGraphicFramePr/><p:nvPr/>"
        "</p:nvGraphicFramePr><p:xfrm><a:off x=\"1270000\" y=\"1270000\"/><a:ext cx=\"2540000\" "
        "cy=\"2540000\"/></p:xfrm><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/diagram\"><dgm:relIds "
        "xmlns:dgm=\"http://schemas.openxmlformats.org/drawingml/2006/diagram\" r:dm=\"rIdM\" "
        "r:lo=\"x\" r:qs=\"x\" r:cs=\"x\"/></a:graphicData></a:graphic></p:graphicFrame>"};
    const auto doc = importPptx(deck);
    ASSERT_EQ(doc->slides.at(0).elements.size(), 1u);
    const auto& group = std::get<GroupElement>(doc->slides[0].elements[0]);
    EXPECT_EQ(group.frame.bounds, QRectF(100, 100, 200, 200));
    EXPECT_EQ(group.childSpace, QRectF(0, 0, 200, 200)) << "drawing coordinates start at the frame";
    ASSERT_EQ(group.children.size(), 1u);
    const auto& box = std::get<ShapeElement>(group.children[0]);
    EXPECT_EQ(box.frame.bounds, QRectF(10, 0, 10, 10));
    EXPECT_EQ(box.fill.color, QColor(255, 0, 0));
    EXPECT_EQ(box.text->paragraphs.at(0).runs.at(0).text, QStringLiteral("Step"));
}

} // namespace
} // namespace KX::Tovrin::Test
