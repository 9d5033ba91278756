#include "EditorCoreFixture.h"
#include "platform/brovik/editorcore/chart/ChartText.h"
#include "platform/brovik/editorcore/chart/ChartTrend.h"
#include "platform/brovik/editorcore/pptx/PptxImporter.h"

#include <QFile>
#include <QTransform>
#include <cmath>
#include <numbers>
#include <tuple>

namespace KX::Tovrin::Test {
namespace {

const std::string ChartNs = "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
                            "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";

// A series with the given values (empty strings leave the point out) and categories.
std::string series(const std::string& name, const std::vector<std::string>& values,
                   const std::vector<std::string>& categories, const std::string& extra = "") {
    std::string s = "<c:ser><c:idx val=\"0\"/><c:tx><c:strRef><c:strCache><c:pt idx=\"0\"><c:v>" + name +
                    "</c:v></c:pt></c:strCache></c:strRef></c:tx>" + extra + "<c:cat><c:strRef><c:strCache>";
    for (std::size_t i = 0; i < categories.size(); ++i)
        s += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + categories[i] + "</c:v></c:pt>";
    s += "</c:strCache></c:strRef></c:cat><c:val><c:numRef><c:numCache>";
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!values[i].empty())
            s += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + values[i] + "</c:v></c:pt>";
    return s + "</c:numCache></c:numRef></c:val></c:ser>";
}

std::string bars(const std::string& content, const std::string& axes = "1 2") {
    const auto space = axes.find(' ');
    return "<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/>" + content + "<c:axId val=\"" +
           axes.substr(0, space) + "\"/><c:axId val=\"" + axes.substr(space + 1) + "\"/></c:barChart>";
}

std::string axes(const std::string& catExtra = "", const std::string& valExtra = "") {
    return "<c:catAx><c:axId val=\"1\"/><c:axPos val=\"b\"/>" + catExtra +
           "<c:crossAx val=\"2\"/></c:catAx><c:valAx><c:axId val=\"2\"/><c:axPos val=\"l\"/>" + valExtra +
           "<c:crossAx val=\"1\"/></c:valAx>";
}

std::string txPr(const std::string& defRPr, const std::string& bodyPr = "<a:bodyPr/>",
                 const std::string& children = "") {
    return "<c:txPr>" + bodyPr + "<a:p><a:pPr><a:defRPr " + defRPr + ">" + children +
           "</a:defRPr></a:pPr></a:p></c:txPr>";
}

struct Label {
    QString text;
    TextRun run;
    ElementFrame frame;
};

class EditorCoreChart : public EditorCoreTest {
protected:
    // Imports a slide holding one 400 x 300 pt chart frame and returns the chart's shapes.
    GroupElement chart(const std::string& chartXml, const ZipEntries& extra = {}) {
        PptxRecipe deck;
        deck.extraEntries = extra;
        deck.extraEntries["ppt/charts/chart1.xml"] = QByteArray::fromStdString(
            "<?xml version=\"1.0\"?><c:chartSpace " + ChartNs + ">" + chartXml + "</c:chartSpace>");
        deck.slideRelationships = "<Relationship Id=\"rIdC1\" "
                                  "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                                  "relationships/chart\" Target=\"../charts/chart1.xml\"/>";
        deck.slideShapes = {
            "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"4\" name=\"c\"/>"
            "<p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr><p:xfrm><a:off x=\"0\" "
            "y=\"0\"/><a:ext cx=\"5080000\" cy=\"3810000\"/></p:xfrm><a:graphic><a:graphicData "
            "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart " +
            ChartNs + " r:id=\"rIdC1\"/></a:graphicData></a:graphic></p:graphicFrame>"};
        _path = write("chart.pptx", pptxEntries(deck));
        QFile file(_path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const auto doc = PptxImporter::import(ZipReader(file.readAll()));
        EXPECT_EQ(doc->slides.at(0).elements.size(), 1u);
        if (doc->slides.at(0).elements.empty())
            return {};
        return std::get<GroupElement>(doc->slides.at(0).elements.at(0));
    }

    static std::vector<Label> labels(const GroupElement& g) {
        std::vector<Label> out;
        for (const SlideElement& e : g.children)
            if (const auto* s = std::get_if<ShapeElement>(&e); s && s->text) {
                Label l{{}, s->text->paragraphs.front().endFormat, s->frame};
                QStringList lines;
                for (const Paragraph& p : s->text->paragraphs)
                    for (const TextRun& r : p.runs)
                        lines << r.text;
                l.text = lines.join(QLatin1Char('\n'));
                out.push_back(l);
            }
        return out;
    }
    static std::optional<Label> find(const GroupElement& g, const QString& text) {
        for (const Label& l : labels(g))
            if (l.text == text)
                return l;
        return std::nullopt;
    }
    static std::vector<QRectF> filled(const GroupElement& g, QColor colour) {
        std::vector<QRectF> boxes;
        for (const SlideElement& e : g.children)
            if (const auto* s = std::get_if<ShapeElement>(&e))
                if (s->fill.kind == Fill::Kind::Solid && s->fill.color == colour && !s->text)
                    boxes.push_back(s->frame.bounds);
        return boxes;
    }
    static std::vector<const ShapeElement*> stroked(const GroupElement& g, QColor colour) {
        std::vector<const ShapeElement*> out;
        for (const SlideElement& e : g.children)
            if (const auto* s = std::get_if<ShapeElement>(&e))
                if (s->stroke.visible && s->stroke.color == colour && s->fill.kind == Fill::Kind::None)
                    out.push_back(s);
        return out;
    }

    QString _path;
};

TEST_F(EditorCoreChart, TextTakesTheLooksTheFileGivesIt) {
    const std::string title =
        "<c:title><c:tx><c:rich><a:bodyPr/><a:p><a:pPr><a:defRPr sz=\"2400\" b=\"1\"/></a:pPr>"
        "<a:r><a:rPr><a:solidFill><a:srgbClr val=\"123456\"/></a:solidFill></a:rPr>"
        "<a:t>Growth</a:t></a:r></a:p></c:rich></c:tx></c:title>";
    const std::string legend =
        "<c:legend><c:legendPos val=\"b\"/>" + txPr("sz=\"1400\" i=\"1\"") + "</c:legend>";
    const GroupElement g =
        chart("<c:chart>" + title + "<c:plotArea>" + bars(series("Sales", {"1", "2"}, {"North", "South"})) +
              axes(txPr("sz=\"1600\""), txPr("sz=\"800\"")) + "</c:plotArea>" + legend + "</c:chart>" +
              txPr("sz=\"1100\""));
    const auto heading = find(g, "Growth");
    ASSERT_TRUE(heading);
    EXPECT_DOUBLE_EQ(heading->run.size, 24);
    EXPECT_TRUE(heading->run.bold);
    EXPECT_EQ(heading->run.color, QColor(0x12, 0x34, 0x56)) << "the run's own colour";
    const auto north = find(g, "North");
    ASSERT_TRUE(north);
    EXPECT_DOUBLE_EQ(north->run.size, 16) << "category labels";
    const auto tick = find(g, "0.5");
    ASSERT_TRUE(tick);
    EXPECT_DOUBLE_EQ(tick->run.size, 8) << "value labels, one decimal as their step needs";
    const auto key = find(g, "Sales");
    ASSERT_TRUE(key);
    EXPECT_DOUBLE_EQ(key->run.size, 14);
    EXPECT_TRUE(key->run.italic);
    EXPECT_GT(key->frame.bounds.top(), north->frame.bounds.top()) << "legend at the bottom";
}

TEST_F(EditorCoreChart, LegendRowsThatWrapLineUpInColumns) {
    std::string all;
    for (const char* name : {"North region sales total", "S", "East region", "W", "Centre"})
        all += series(name, {"1"}, {"A"});
    const GroupElement g = chart("<c:chart><c:plotArea>" + bars(all) + axes() +
                                 "</c:plotArea><c:legend><c:legendPos val=\"b\"/>" + txPr("sz=\"1200\"") +
                                 "</c:legend></c:chart>");
    const auto first = find(g, "North region sales total"), second = find(g, "S"),
               third = find(g, "East region");
    ASSERT_TRUE(first && second && third);
    EXPECT_DOUBLE_EQ(first->frame.bounds.top(), second->frame.bounds.top()) << "two to a row";
    EXPECT_GT(third->frame.bounds.top(), first->frame.bounds.top());
    EXPECT_DOUBLE_EQ(third->frame.bounds.left(), first->frame.bounds.left()) << "in the same column";
    EXPECT_LE(first->frame.bounds.left() + first->frame.bounds.width(), second->frame.bounds.left());
}

TEST_F(EditorCoreChart, TitlesFollowTheirAutomaticRules) {
    const std::string plot =
        "<c:plotArea>" + bars(series("Only", {"1", "2"}, {"A", "B"})) + axes() + "</c:plotArea>";
    // A title element without text names the only series, at the base size times 1.2, bold.
    GroupElement g = chart("<c:chart><c:title/>" + plot + "</c:chart>" + txPr("sz=\"1000\""));
    auto named = find(g, "Only");
    ASSERT_TRUE(named);
    EXPECT_DOUBLE_EQ(named->run.size, 12);
    EXPECT_TRUE(named->run.bold);
    g = chart("<c:chart><c:title/><c:autoTitleDeleted val=\"1\"/>" + plot + "</c:chart>");
    EXPECT_FALSE(find(g, "Only")) << "the author deleted it";
    g = chart(
        "<c:chart><c:title><c:tx><c:rich><a:bodyPr/><a:p><a:endParaRPr/></a:p></c:rich></c:tx></c:title>" +
        plot + "</c:chart>");
    EXPECT_FALSE(find(g, "Only")) << "rich text of its own, even empty, replaces the automatic title";
    // A long title wraps inside the chart rather than running past it.
    const std::string words =
        "A rather long chart title that cannot possibly fit on a single line of this chart";
    g = chart("<c:chart><c:title><c:tx><c:rich><a:bodyPr/><a:p><a:r><a:t>" + words +
              "</a:t></a:r></a:p></c:rich></c:tx></c:title>" + plot + "</c:chart>");
    const auto wrapped = find(g, QString::fromStdString(words));
    ASSERT_TRUE(wrapped);
    EXPECT_LE(wrapped->frame.bounds.width(), 400);
    EXPECT_GT(wrapped->frame.bounds.height(), wrapped->run.size * 2) << "room for two lines";
}

TEST_F(EditorCoreChart, DataLabelsShowValuesAtTheBarEnds) {
    const std::string labelled = "<c:dLbls><c:numFmt formatCode=\"0.0%\" sourceLinked=\"0\"/>" +
                                 txPr("sz=\"900\"") + "<c:showVal val=\"1\"/></c:dLbls>";
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(series("S", {"0.25", "-0.5"}, {"A", "B"}, labelled)) + axes() +
              "</c:plotArea></c:chart>");
    const auto bars = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(bars.size(), 2u);
    const auto up = find(g, "25.0%"), down = find(g, "-50.0%");
    ASSERT_TRUE(up);
    ASSERT_TRUE(down);
    EXPECT_DOUBLE_EQ(up->run.size, 9);
    EXPECT_NEAR(up->frame.bounds.bottom(), bars[0].top(), 0.5) << "above a positive bar";
    EXPECT_NEAR(down->frame.bounds.top(), bars[1].bottom(), 0.5) << "below a negative one";
    EXPECT_NEAR(up->frame.bounds.center().x(), bars[0].center().x(), 0.5);

    // Pie slices show shares and names; outside the pie when asked.
    const std::string named = "<c:dLbls><c:dLblPos val=\"outEnd\"/><c:showCatName val=\"1\"/>"
                              "<c:showPercent val=\"1\"/></c:dLbls>";
    const GroupElement pie =
        chart("<c:chart><c:plotArea><c:pieChart><c:varyColors val=\"1\"/>" +
              series("P", {"3", "1"}, {"Big", "Small"}, named) + "</c:pieChart></c:plotArea></c:chart>");
    const auto big = find(pie, "Big, 75%"), small = find(pie, "Small, 25%");
    ASSERT_TRUE(big);
    ASSERT_TRUE(small);
    EXPECT_GT(big->frame.bounds.center().x(), 200) << "the first slice starts at the top, clockwise";
    EXPECT_GT(big->frame.bounds.center().y(), 150);
    EXPECT_LT(small->frame.bounds.center().x(), 200) << "the last ends there";
    EXPECT_LT(small->frame.bounds.center().y(), 150);
}

TEST_F(EditorCoreChart, APieWithASideLegendUsesTheRoomItLeaves) {
    const GroupElement g = chart("<c:chart><c:plotArea><c:pieChart><c:varyColors val=\"1\"/>" +
                                 series("P", {"3", "2", "1"}, {"East", "South", "West"}) +
                                 "</c:pieChart></c:plotArea><c:legend><c:legendPos val=\"r\"/>" +
                                 txPr("sz=\"1400\"") + "</c:legend></c:chart>");
    // The chart is 400 x 300 pt with a margin of 3 % of its height on every side.
    const double right = 400 - 9;
    const auto longest = find(g, "South");
    ASSERT_TRUE(longest);
    ChartTextStyle style;
    style.family = longest->run.family;
    style.size = longest->run.size;
    const double textEnd = longest->frame.bounds.left() + chartTextWidth(longest->text, style);
    EXPECT_LE(textEnd, right + 1.5);
    EXPECT_GT(textEnd, right - style.size * 0.5) << "the widest entry ends at the margin, no slack";
    QRectF pie;
    for (const SlideElement& e : g.children)
        if (const auto* s = std::get_if<ShapeElement>(&e); s && !s->text && s->frame.bounds.height() > 30)
            pie = pie.united(s->frame.bounds);
    EXPECT_GT(pie.height(), (300 - 18) * 0.98) << "the pie fills the height";
    EXPECT_LT(pie.right(), longest->frame.bounds.left() - style.size) << "clear of the legend";
}

TEST_F(EditorCoreChart, PulledOutSlicesMoveAlongTheirMiddleAndThePieMakesRoom) {
    auto point = [](int i, const char* colour, const std::string& extra) {
        return "<c:dPt><c:idx val=\"" + std::to_string(i) + "\"/>" + extra +
               "<c:spPr><a:solidFill><a:srgbClr val=\"" + colour + "\"/></a:solidFill></c:spPr></c:dPt>";
    };
    const std::string points = point(0, "AA0000", "") + point(1, "0000AA", "<c:explosion val=\"25\"/>");
    const GroupElement g =
        chart("<c:chart><c:plotArea><c:pieChart><c:varyColors val=\"1\"/>" +
              series("P", {"3", "1"}, {"Big", "Small"}, points) + "</c:pieChart></c:plotArea></c:chart>");
    const auto big = filled(g, QColor(0xaa, 0, 0)), small = filled(g, QColor(0, 0, 0xaa));
    ASSERT_EQ(big.size(), 1u);
    ASSERT_EQ(small.size(), 1u);
    // The big slice covers three quarters from the top clockwise: its box is the whole pie's.
    const double r = big[0].width() / 2, pull = r * 0.25 / std::sqrt(2.0);
    EXPECT_NEAR(r, (300 - 18) / 2 / 1.25, 0.5) << "a fifth smaller to leave the slice room";
    EXPECT_NEAR(small[0].right(), big[0].center().x() - pull, 0.5) << "the last quarter moves up and left";
    EXPECT_NEAR(small[0].bottom(), big[0].center().y() - pull, 0.5);
}

TEST_F(EditorCoreChart, DoughnutsShowEachSeriesAsARing) {
    const GroupElement g =
        chart("<c:chart><c:plotArea><c:doughnutChart><c:varyColors val=\"1\"/>" +
              series("In", {"1", "1"}, {"A", "B"}) + series("Out", {"1", "3"}, {"A", "B"}) +
              "<c:holeSize val=\"50\"/></c:doughnutChart></c:plotArea></c:chart>");
    // Point colours follow the categories in every ring: the palette's first two.
    const auto first = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(first.size(), 2u) << "category A in both rings";
    const QRectF inner = first[0], outer = first[1];
    // Outside, A's quarter spans the radius each way; inside, its half reaches 3/4 of the radius.
    const double r = (300 - 18) / 2.0;
    EXPECT_NEAR(outer.width(), r, 0.5);
    EXPECT_NEAR(outer.height(), r, 0.5);
    EXPECT_NEAR(inner.height(), 2 * 0.75 * r, 0.5);
    EXPECT_NEAR(inner.width(), 0.75 * r, 0.5);
}

TEST_F(EditorCoreChart, ThreeDPiesLieTiltedOnTheirFrontWalls) {
    const std::string points = "<c:dPt><c:idx val=\"0\"/><c:spPr><a:solidFill><a:srgbClr val=\"AA0000\"/>"
                               "</a:solidFill></c:spPr></c:dPt>";
    const GroupElement g =
        chart("<c:chart><c:view3D><c:rotX val=\"30\"/></c:view3D><c:plotArea><c:pie3DChart><c:varyColors "
              "val=\"1\"/>" +
              series("P", {"1"}, {"All"}, points) + "</c:pie3DChart></c:plotArea></c:chart>");
    const auto top = filled(g, QColor(0xaa, 0, 0)), wall = filled(g, QColor(0xaa, 0, 0).darker(130));
    ASSERT_EQ(top.size(), 1u);
    ASSERT_EQ(wall.size(), 1u) << "the front half of the rim";
    EXPECT_NEAR(top[0].height(), top[0].width() / 2, 0.5) << "tilted 30 degrees away";
    EXPECT_NEAR(wall[0].width(), top[0].width(), 0.5);
    EXPECT_NEAR(wall[0].top(), top[0].center().y(), 0.5) << "from the widest line down";
    EXPECT_GT(wall[0].bottom(), top[0].bottom() + 5) << "standing below the top";
    EXPECT_LE(wall[0].bottom(), 300 - 9 + 0.5);
}

TEST_F(EditorCoreChart, AutomaticValueStepsAreOneTwoOrFiveAndUpToTenDivisions) {
    auto ticks = [&](const std::vector<std::string>& values) {
        const GroupElement g = chart("<c:chart><c:plotArea>" + bars(series("S", values, {"A", "B"})) +
                                     axes() + "</c:plotArea></c:chart>");
        QStringList found;
        for (const Label& l : labels(g))
            if (l.text != "A" && l.text != "B")
                found << l.text;
        return found;
    };
    // 85 and a twentieth of headroom: tens up to 90 rather than twenties up to 100.
    QStringList t = ticks({"52", "85"});
    EXPECT_TRUE(t.contains("10") && t.contains("90")) << t.join(' ').toStdString();
    EXPECT_FALSE(t.contains("100"));
    // 21.3: fives up to 25, never a step of 2.5.
    t = ticks({"14.2", "21.3"});
    EXPECT_TRUE(t.contains("5") && t.contains("25")) << t.join(' ').toStdString();
    EXPECT_FALSE(t.contains("2.5") || t.contains("22.5"));
    // Data within a sixth of its largest value: the scale starts a round step below it.
    t = ticks({"95", "100"});
    EXPECT_TRUE(t.contains("94") && t.contains("101")) << t.join(' ').toStdString();
    EXPECT_FALSE(t.contains("0") || t.contains("93"));
    t = ticks({"-95", "-100"});
    EXPECT_TRUE(t.contains("-94") && t.contains("-101")) << t.join(' ').toStdString();
    // Wider than that: from zero.
    t = ticks({"80", "100"});
    EXPECT_TRUE(t.contains("0")) << t.join(' ').toStdString();
}

TEST_F(EditorCoreChart, CombinedPlotsDrawBarsAndLinesOnTheirOwnAxes) {
    const std::string line =
        "<c:lineChart><c:grouping val=\"standard\"/>" +
        series(
            "L", {"100", "", "300", "200"}, {"A", "B", "C", "D"},
            "<c:spPr><a:ln w=\"25400\"><a:solidFill><a:srgbClr val=\"0000AA\"/></a:solidFill></a:ln></c:spPr>"
            "<c:marker><c:symbol val=\"square\"/><c:size val=\"6\"/></c:marker>") +
        "<c:marker val=\"1\"/><c:axId val=\"3\"/><c:axId val=\"4\"/></c:lineChart>";
    const std::string secondAxes =
        "<c:valAx><c:axId val=\"4\"/><c:axPos val=\"r\"/><c:crossAx val=\"3\"/></c:valAx>"
        "<c:catAx><c:axId val=\"3\"/><c:delete val=\"1\"/><c:crossAx val=\"4\"/></c:catAx>";
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(series("B", {"1", "2", "3", "1"}, {"A", "B", "C", "D"})) + line +
              axes() + secondAxes + "</c:plotArea></c:chart>");
    const auto columns = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(columns.size(), 4u);
    const auto lines = stroked(g, QColor(0, 0, 0xaa));
    ASSERT_EQ(lines.size(), 1u) << "the line, broken at the missing point";
    EXPECT_EQ(lines[0]->geometry.front().path.elementCount(), 2) << "no segment across the gap";
    for (const auto& [how, count] : {std::pair<std::string, int>{"span", 3}, {"zero", 4}}) {
        const GroupElement other = chart(
            "<c:chart><c:plotArea>" + bars(series("B", {"1", "2", "3", "1"}, {"A", "B", "C", "D"})) + line +
            axes() + secondAxes + "</c:plotArea><c:dispBlanksAs val=\"" + how + "\"/></c:chart>");
        const auto drawn = stroked(other, QColor(0, 0, 0xaa));
        ASSERT_EQ(drawn.size(), 1u) << how;
        EXPECT_EQ(drawn[0]->geometry.front().path.elementCount(), count) << how;
    }
    EXPECT_EQ(filled(g, QColor(0, 0, 0xaa)).size(), 3u) << "a marker per present point";
    EXPECT_TRUE(find(g, "300")) << "the secondary scale's labels";
    EXPECT_TRUE(find(g, "3.5")) << "and the primary's";

    // Bars lying down show the second scale along the top.
    const std::string lying = "<c:barChart><c:barDir val=\"bar\"/><c:grouping val=\"clustered\"/>" +
                              series("T", {"100", "300"}, {"A", "B"}) +
                              "<c:axId val=\"3\"/><c:axId val=\"4\"/></c:barChart>";
    const GroupElement h =
        chart("<c:chart><c:plotArea><c:barChart><c:barDir val=\"bar\"/>" +
              series("B", {"1", "2"}, {"A", "B"}) + "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:barChart>" +
              lying + axes() + secondAxes + "</c:plotArea></c:chart>");
    const auto top = find(h, "300"), bottom = find(h, "2");
    ASSERT_TRUE(top && bottom);
    double barsTop = 1e9;
    for (const SlideElement& e : h.children)
        if (const auto* shape = std::get_if<ShapeElement>(&e);
            shape && !shape->text && shape->frame.bounds.height() > 20)
            barsTop = std::min(barsTop, shape->frame.bounds.top());
    EXPECT_LE(top->frame.bounds.bottom(), barsTop + 0.5) << "above the plot";
    EXPECT_GT(bottom->frame.bounds.top(), barsTop + 100) << "the first scale below it";
}

TEST_F(EditorCoreChart, PointsKeepTheirOwnLabelsAndMarkers) {
    // Point 1's label is moved a tenth of the chart left and down; point 2's is deleted.
    const std::string labelled =
        "<c:dLbls><c:dLbl><c:idx val=\"1\"/><c:layout><c:manualLayout><c:x val=\"-0.1\"/><c:y val=\"0.1\"/>"
        "</c:manualLayout></c:layout><c:showVal val=\"1\"/></c:dLbl><c:dLbl><c:idx val=\"2\"/>"
        "<c:delete val=\"1\"/></c:dLbl><c:showVal val=\"1\"/></c:dLbls>";
    const std::string marked =
        "<c:marker><c:symbol val=\"circle\"/><c:size val=\"8\"/><c:spPr><a:solidFill>"
        "<a:srgbClr val=\"00AA00\"/></a:solidFill></c:spPr></c:marker><c:dPt><c:idx "
        "val=\"0\"/><c:marker><c:symbol val=\"none\"/></c:marker></c:dPt><c:dPt><c:idx "
        "val=\"3\"/><c:marker><c:size val=\"16\"/></c:marker></c:dPt>";
    const std::vector<std::string> names{"A", "B", "C", "D"};
    const GroupElement g = chart(
        "<c:chart><c:plotArea>" + bars(series("S", {"1.3", "2.7", "3.1", "4.6"}, names, labelled)) +
        "<c:lineChart><c:grouping val=\"standard\"/>" + series("L", {"1", "1", "1", "1"}, names, marked) +
        "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:lineChart>" + axes() + "</c:plotArea></c:chart>");
    const auto columns = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(columns.size(), 4u);
    const auto first = find(g, "1.3"), moved = find(g, "2.7"), last = find(g, "4.6");
    ASSERT_TRUE(first && moved && last);
    EXPECT_NEAR(moved->frame.bounds.center().x(), columns[1].center().x() - 40, 0.5)
        << "a tenth of 400 pt left";
    EXPECT_NEAR(moved->frame.bounds.bottom(), columns[1].top() + 30, 0.5) << "a tenth of 300 pt down";
    EXPECT_FALSE(find(g, "3.1")) << "deleted";
    const auto markers = filled(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(markers.size(), 3u) << "the first point shows none";
    EXPECT_NEAR(markers[0].width(), 8, 0.01);
    EXPECT_NEAR(markers[2].width(), 16, 0.01) << "a bigger circle in the series' colours";
    EXPECT_GT(markers[0].left(), columns[0].right());
}

TEST_F(EditorCoreChart, LineLabelsStandWhereTheFileSays) {
    auto labelled = [&](const char* where) {
        const std::string extra =
            "<c:marker><c:symbol val=\"square\"/><c:size val=\"6\"/><c:spPr><a:solidFill>"
            "<a:srgbClr val=\"00AA00\"/></a:solidFill></c:spPr></c:marker><c:dLbls>"
            "<c:dLblPos val=\"" +
            std::string(where) + "\"/><c:showVal val=\"1\"/></c:dLbls>";
        const GroupElement g = chart("<c:chart><c:plotArea><c:lineChart><c:grouping val=\"standard\"/>" +
                                     series("L", {"1.3", "2.7"}, {"A", "B"}, extra) +
                                     "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:lineChart>" + axes() +
                                     "</c:plotArea></c:chart>");
        const auto markers = filled(g, QColor(0, 0xaa, 0));
        const auto label = find(g, "1.3");
        EXPECT_EQ(markers.size(), 2u);
        EXPECT_TRUE(label) << where;
        return std::make_pair(markers.empty() ? QRectF() : markers[0],
                              label ? label->frame.bounds : QRectF());
    };
    auto [m, r] = labelled("t");
    EXPECT_LE(r.bottom(), m.top()) << "above";
    EXPECT_NEAR(r.center().x(), m.center().x(), 0.5);
    std::tie(m, r) = labelled("b");
    EXPECT_GE(r.top(), m.bottom()) << "below";
    std::tie(m, r) = labelled("l");
    EXPECT_LE(r.right(), m.left()) << "left";
    std::tie(m, r) = labelled("r");
    EXPECT_GE(r.left(), m.right()) << "right";
    EXPECT_NEAR(r.center().y(), m.center().y(), 0.5);
}

TEST_F(EditorCoreChart, ScatterPointsAndBubblesStandAtTheirOwnValuesAcross) {
    auto points = [](const char* tag, const std::vector<std::string>& values) {
        std::string s = std::string("<c:") + tag + "><c:numRef><c:numCache>";
        for (std::size_t i = 0; i < values.size(); ++i)
            s += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + values[i] + "</c:v></c:pt>";
        return s + "</c:numCache></c:numRef></c:" + tag + ">";
    };
    const std::string dots = "<c:ser><c:idx val=\"0\"/><c:spPr><a:ln><a:noFill/></a:ln></c:spPr><c:marker>"
                             "<c:symbol val=\"square\"/><c:size val=\"6\"/><c:spPr><a:solidFill><a:srgbClr "
                             "val=\"00AA00\"/></a:solidFill></c:spPr></c:marker>" +
                             points("xVal", {"1", "2", "4"}) + points("yVal", {"10", "20", "40"}) +
                             "</c:ser>";
    const std::string curve = "<c:ser><c:idx val=\"1\"/><c:spPr><a:ln w=\"12700\"><a:solidFill><a:srgbClr "
                              "val=\"0000AA\"/></a:solidFill>"
                              "</a:ln></c:spPr><c:marker><c:symbol val=\"none\"/></c:marker>" +
                              points("xVal", {"0", "1", "3", "4"}) + points("yVal", {"5", "30", "10", "25"}) +
                              "<c:smooth val=\"1\"/></c:ser>";
    const std::string valueAxes =
        "<c:valAx><c:axId val=\"1\"/><c:axPos val=\"b\"/><c:crossAx val=\"2\"/></c:valAx>"
        "<c:valAx><c:axId val=\"2\"/><c:axPos val=\"l\"/><c:crossAx val=\"1\"/></c:valAx>";
    const GroupElement g = chart("<c:chart><c:plotArea><c:scatterChart><c:scatterStyle val=\"lineMarker\"/>" +
                                 dots + curve + "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:scatterChart>" +
                                 valueAxes + "</c:plotArea></c:chart>");
    const auto markers = filled(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_TRUE(stroked(g, QColor(0, 0xaa, 0)).empty()) << "no line between the dots";
    const double step = markers[1].center().x() - markers[0].center().x();
    EXPECT_GT(step, 10);
    EXPECT_NEAR(markers[2].center().x() - markers[1].center().x(), 2 * step, 0.01) << "4 stands twice as far";
    EXPECT_NEAR(markers[0].center().y() - markers[1].center().y(),
                (markers[1].center().y() - markers[2].center().y()) / 2, 0.01);
    EXPECT_TRUE(find(g, "4")) << "values along the bottom";
    EXPECT_TRUE(find(g, "40"));
    const auto curves = stroked(g, QColor(0, 0, 0xaa));
    ASSERT_EQ(curves.size(), 1u);
    const QPainterPath& path = curves[0]->geometry.front().path;
    EXPECT_EQ(path.elementAt(1).type, QPainterPath::CurveToElement) << "smoothed";
    EXPECT_NEAR(curves[0]->frame.bounds.left(), markers[0].center().x() - step, 0.5) << "from 0 across";

    // Bubbles: sizes give areas, the largest a quarter of the plot's shorter side wide.
    const std::string bubbles =
        "<c:ser><c:idx val=\"0\"/><c:spPr><a:solidFill><a:srgbClr val=\"AA0000\"/></a:solidFill></c:spPr>" +
        points("xVal", {"1", "3"}) + points("yVal", {"2", "2"}) + points("bubbleSize", {"1", "4"}) +
        "</c:ser>";
    const GroupElement b = chart("<c:chart><c:plotArea><c:bubbleChart>" + bubbles +
                                 "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:bubbleChart>" + valueAxes +
                                 "</c:plotArea></c:chart>");
    const auto circles = filled(b, QColor(0xaa, 0, 0));
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_NEAR(circles[1].width(), 2 * circles[0].width(), 0.01) << "four times the area";
    EXPECT_NEAR(circles[0].center().y(), circles[1].center().y(), 0.01);
    EXPECT_GT(circles[1].center().x(), circles[0].center().x() + circles[1].width());
}

TEST_F(EditorCoreChart, AxisTitlesStandBeyondTheirTickLabels) {
    auto title = [](const char* text, const std::string& bodyPr = "<a:bodyPr/>") {
        return "<c:title><c:tx><c:rich>" + bodyPr + "<a:p><a:r><a:t>" + text +
               "</a:t></a:r></a:p></c:rich></c:tx></c:title>";
    };
    const std::string plot = bars(series("S", {"10", "20"}, {"North", "South"}));
    GroupElement g = chart("<c:chart><c:plotArea>" + plot + axes(title("Region"), title("Sales in dollars")) +
                           "</c:plotArea></c:chart>");
    const auto value = find(g, "Sales in dollars"), category = find(g, "Region");
    const auto tick = find(g, "20"), north = find(g, "North");
    ASSERT_TRUE(value && category && tick && north);
    // Tick labels stand right-aligned in their boxes.
    auto textLeft = [](const Label& l) {
        ChartTextStyle style;
        style.family = l.run.family;
        style.size = l.run.size;
        return l.frame.bounds.right() - chartTextWidth(l.text, style);
    };
    EXPECT_DOUBLE_EQ(value->frame.rotation, -90) << "upright beside the plot";
    EXPECT_TRUE(value->run.bold);
    const QRectF upright =
        QTransform()
            .translate(value->frame.bounds.center().x(), value->frame.bounds.center().y())
            .rotate(-90)
            .translate(-value->frame.bounds.center().x(), -value->frame.bounds.center().y())
            .mapRect(value->frame.bounds);
    EXPECT_LE(upright.right(), textLeft(*tick)) << "left of the value labels";
    EXPECT_GE(upright.left(), 8);
    EXPECT_DOUBLE_EQ(category->frame.rotation, 0);
    EXPECT_GE(category->frame.bounds.top(), north->frame.bounds.bottom() - 0.5) << "below the categories";
    EXPECT_LE(category->frame.bounds.bottom(), 300 - 8);
    const auto columns = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_NEAR(category->frame.bounds.center().x(), (columns[0].center().x() + columns[1].center().x()) / 2,
                0.5);
    // A title the file turns level takes its length beside the plot.
    g = chart("<c:chart><c:plotArea>" + plot + axes("", title("Sales", "<a:bodyPr rot=\"0\"/>")) +
              "</c:plotArea></c:chart>");
    const auto level = find(g, "Sales"), tick2 = find(g, "20");
    ASSERT_TRUE(level && tick2);
    EXPECT_DOUBLE_EQ(level->frame.rotation, 0);
    EXPECT_LE(level->frame.bounds.right(), textLeft(*tick2));
}

TEST_F(EditorCoreChart, RadarSeriesCloseAroundSpokesFromTheTop) {
    const std::string line =
        "<c:spPr><a:ln w=\"12700\"><a:solidFill><a:srgbClr val=\"0000AA\"/></a:solidFill></a:ln>"
        "</c:spPr>";
    const std::vector<std::string> names{"N", "E", "S", "W"};
    GroupElement g =
        chart("<c:chart><c:plotArea><c:radarChart><c:radarStyle val=\"standard\"/>" +
              series("R", {"4", "2", "4", "2"}, names, line) +
              "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:radarChart>" + axes() + "</c:plotArea></c:chart>");
    const auto shapes = stroked(g, QColor(0, 0, 0xaa));
    ASSERT_EQ(shapes.size(), 1u) << "one closed line, no markers in the standard style";
    const QRectF r = shapes[0]->frame.bounds;
    EXPECT_NEAR(r.height(), 2 * r.width(), 0.5) << "4 up and down, 2 left and right";
    EXPECT_TRUE(filled(g, QColor(0, 0, 0xaa)).empty());
    const auto north = find(g, "N"), east = find(g, "E"), south = find(g, "S");
    ASSERT_TRUE(north && east && south);
    EXPECT_LT(north->frame.bounds.bottom(), r.top()) << "the first spoke points up";
    EXPECT_GT(east->frame.bounds.left(), r.right()) << "the next to the right: clockwise";
    EXPECT_GT(south->frame.bounds.top(), r.bottom());
    // Filled radars fill their shapes.
    g = chart("<c:chart><c:plotArea><c:radarChart><c:radarStyle val=\"filled\"/>" +
              series("R", {"4", "2", "4", "2"}, names) +
              "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:radarChart>" + axes() + "</c:plotArea></c:chart>");
    EXPECT_EQ(filled(g, QColor(255, 0, 0)).size(), 1u);
}

TEST_F(EditorCoreChart, OddDataLeavesAChartStanding) {
    auto xy = [](const char* plot, const std::vector<std::string>& xs, const std::vector<std::string>& ys,
                 const std::string& extra = "") {
        auto points = [](const char* tag, const std::vector<std::string>& values) {
            std::string s = std::string("<c:") + tag + "><c:numRef><c:numCache>";
            for (std::size_t i = 0; i < values.size(); ++i)
                s += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + values[i] + "</c:v></c:pt>";
            return s + "</c:numCache></c:numRef></c:" + tag + ">";
        };
        return std::string("<c:chart><c:plotArea><c:") + plot + "><c:ser><c:idx val=\"0\"/>" +
               points("xVal", xs) + points("yVal", ys) + extra +
               "</c:ser><c:axId val=\"1\"/><c:axId val=\"2\"/></c:" + plot + ">" + axes() +
               "</c:plotArea></c:chart>";
    };
    const std::vector<std::string> charts{
        xy("scatterChart", {"x", "y"}, {"1.7e308", "-1.7e308"}),
        xy("scatterChart", {"3", "3"}, {"7", "7"}),
        xy("bubbleChart", {"1", "2"}, {"1", "2"},
           "<c:bubbleSize><c:numLit><c:pt idx=\"0\"><c:v>-4</c:v></c:pt>"
           "</c:numLit></c:bubbleSize>"),
        "<c:chart><c:plotArea><c:radarChart>" + series("R", {"5"}, {"Only"}) +
            "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:radarChart>" + axes() + "</c:plotArea></c:chart>",
        "<c:chart><c:plotArea>" + bars(series("S", {"", ""}, {"A", "B"})) +
            axes("",
                 "<c:scaling><c:min val=\"5\"/><c:max val=\"5\"/></c:scaling><c:majorUnit val=\"1e-9\"/>") +
            "</c:plotArea></c:chart>",
        "<c:chart><c:view3D><c:rotX val=\"90\"/><c:depthPercent val=\"2000\"/></c:view3D><c:plotArea>"
        "<c:bar3DChart><c:barDir val=\"col\"/>" +
            series("S", {"1"}, {"A"}) + "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:bar3DChart>" + axes() +
            "</c:plotArea></c:chart>"};
    for (const std::string& xml : charts) {
        const GroupElement g = chart(xml);
        for (const SlideElement& e : g.children)
            if (const auto* shape = std::get_if<ShapeElement>(&e)) {
                const QRectF& r = shape->frame.bounds;
                EXPECT_TRUE(std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) &&
                            std::isfinite(r.height()))
                    << xml;
            }
        EXPECT_LT(g.children.size(), 1000u) << xml;
    }
}

TEST_F(EditorCoreChart, ErrorBarsReachTheirAmountEitherSide) {
    auto errors = [&](const std::string& kind, const std::string& extra = "") {
        const std::string e = "<c:errBars><c:errDir val=\"y\"/>" + extra + "<c:errValType val=\"" + kind +
                              "\"/><c:val val=\"1\"/><c:spPr><a:ln><a:solidFill><a:srgbClr val=\"00AA00\"/>"
                              "</a:solidFill></a:ln></c:spPr></c:errBars>";
        return chart("<c:chart><c:plotArea>" + bars(series("S", {"2", "4"}, {"A", "B"}, e)) +
                     axes("", "<c:scaling><c:max val=\"6\"/></c:scaling>") + "</c:plotArea></c:chart>");
    };
    GroupElement g = errors("fixedVal");
    auto columns = filled(g, QColor(255, 0, 0));
    auto strokes = stroked(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(columns.size(), 2u);
    ASSERT_EQ(strokes.size(), 6u) << "a bar and two caps per point";
    // Value units: the 2 bar's top and bottom give the scale.
    const double unit = columns[0].height() / 2;
    const QRectF bar = strokes[0]->frame.bounds;
    EXPECT_NEAR(bar.center().x(), columns[0].center().x(), 0.5);
    EXPECT_NEAR(bar.top(), columns[0].top() - unit, 0.5) << "up to 3";
    EXPECT_NEAR(bar.bottom(), columns[0].top() + unit, 0.5) << "down to 1";
    EXPECT_NEAR(strokes[1]->frame.bounds.width(), 7, 0.01) << "a cap";
    // One per cent of 4 is tiny; plus only, without caps.
    g = errors("percentage", "<c:errBarType val=\"plus\"/><c:noEndCap val=\"1\"/>");
    columns = filled(g, QColor(255, 0, 0));
    strokes = stroked(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_NEAR(strokes[1]->frame.bounds.bottom(), columns[1].top(), 0.5) << "from the value up";
    EXPECT_NEAR(strokes[1]->frame.bounds.height(), 0.04 * columns[0].height() / 2, 0.05);
}

TEST_F(EditorCoreChart, TrendlinesRunThroughTheirSeries) {
    const std::string trend =
        "<c:trendline><c:spPr><a:ln w=\"12700\"><a:solidFill><a:srgbClr val=\"00AA00\"/>"
        "</a:solidFill></a:ln></c:spPr><c:trendlineType val=\"linear\"/></c:trendline>";
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(series("S", {"1", "2", "3"}, {"A", "B", "C"}, trend)) + axes() +
              "</c:plotArea></c:chart>");
    const auto columns = filled(g, QColor(255, 0, 0));
    const auto lines = stroked(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(columns.size(), 3u);
    ASSERT_EQ(lines.size(), 1u);
    const QRectF r = lines[0]->frame.bounds;
    EXPECT_NEAR(r.left(), columns[0].center().x(), 0.5) << "from the first category's middle";
    EXPECT_NEAR(r.right(), columns[2].center().x(), 0.5) << "to the last's";
    EXPECT_NEAR(r.top(), columns[2].top(), 0.5) << "through the tops of bars on a straight line";
    EXPECT_NEAR(r.bottom(), columns[0].top(), 0.5);
}

TEST_F(EditorCoreChart, CategoryLabelsTurnWhenTheyDoNotFit) {
    std::vector<std::string> values, names;
    for (int i = 0; i < 24; ++i) {
        values.push_back(std::to_string(i + 1));
        names.push_back("Category number " + std::to_string(i + 1));
    }
    GroupElement g = chart("<c:chart><c:plotArea>" + bars(series("S", values, names)) + axes() +
                           "</c:plotArea></c:chart>");
    auto first = find(g, "Category number 1");
    ASSERT_TRUE(first);
    EXPECT_DOUBLE_EQ(first->frame.rotation, -45);
    EXPECT_FALSE(find(g, "Category number 2")) << "every other label, so turned ones do not overlap";
    g = chart("<c:chart><c:plotArea>" + bars(series("S", values, names)) +
              axes(txPr("sz=\"600\"", "<a:bodyPr rot=\"-5400000\"/>")) + "</c:plotArea></c:chart>");
    first = find(g, "Category number 1");
    ASSERT_TRUE(first);
    EXPECT_DOUBLE_EQ(first->frame.rotation, -90) << "the file's own angle";
    EXPECT_TRUE(find(g, "Category number 2"));
    g = chart("<c:chart><c:plotArea>" + bars(series("S", {"1", "2"}, {"Short", "Two words"})) + axes() +
              "</c:plotArea></c:chart>");
    first = find(g, "Short");
    ASSERT_TRUE(first);
    EXPECT_DOUBLE_EQ(first->frame.rotation, 0) << "labels that fit stay level";
}

TEST_F(EditorCoreChart, BarsRunFromTheAxisOriginInTheFilesOrder) {
    const std::string three = series("S", {"1", "2", "3"}, {"First", "Second", "Third"});
    std::string plot = bars(three);
    plot.replace(plot.find("val=\"col\""), 9, "val=\"bar\"");
    GroupElement g = chart("<c:chart><c:plotArea>" + plot + axes() + "</c:plotArea></c:chart>");
    auto boxes = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_GT(boxes[0].top(), boxes[2].top()) << "horizontal bars: the first category at the bottom";
    EXPECT_LT(boxes[0].width(), boxes[2].width());
    const auto first = find(g, "First"), third = find(g, "Third");
    ASSERT_TRUE(first && third);
    EXPECT_GT(first->frame.bounds.top(), third->frame.bounds.top());
    // A reversed category axis starts at the far end; an explicit label skip thins the labels.
    g = chart("<c:chart><c:plotArea>" + bars(three) +
              axes("<c:scaling><c:orientation val=\"maxMin\"/></c:scaling><c:tickLblSkip val=\"2\"/>") +
              "</c:plotArea></c:chart>");
    boxes = filled(g, QColor(255, 0, 0));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_GT(boxes[0].left(), boxes[2].left());
    EXPECT_TRUE(find(g, "First"));
    EXPECT_FALSE(find(g, "Second"));
    EXPECT_TRUE(find(g, "Third"));
}

TEST_F(EditorCoreChart, ManualLayoutAndThemeOverridePlaceAndColourThePlot) {
    const std::string layout =
        "<c:layout><c:manualLayout><c:layoutTarget val=\"inner\"/><c:xMode val=\"edge\"/>"
        "<c:yMode val=\"edge\"/><c:x val=\"0.5\"/><c:y val=\"0.1\"/><c:w val=\"0.4\"/>"
        "<c:h val=\"0.5\"/></c:manualLayout></c:layout>";
    ZipEntries extra;
    extra["ppt/charts/_rels/chart1.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/themeOverride\" "
        "Target=\"../theme/themeOverride1.xml\"/></Relationships>";
    extra["ppt/theme/themeOverride1.xml"] =
        "<a:themeOverride xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:clrScheme "
        "name=\"o\"><a:accent1><a:srgbClr val=\"4F81BD\"/></a:accent1></a:clrScheme><a:fontScheme "
        "name=\"f\"><a:majorFont><a:latin typeface=\"Georgia\"/></a:majorFont><a:minorFont><a:latin "
        "typeface=\"Georgia\"/></a:minorFont></a:fontScheme></a:themeOverride>";
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + layout + bars(series("S", {"1", "2"}, {"A", "B"})) +
                  axes("", "<c:scaling><c:max val=\"4\"/></c:scaling>") + "</c:plotArea></c:chart>",
              extra);
    const auto columns = filled(g, QColor(0x4f, 0x81, 0xbd));
    ASSERT_EQ(columns.size(), 2u) << "the chart's own accent colour";
    EXPECT_GE(columns[0].left(), 200);
    EXPECT_LE(columns[1].right(), 360);
    EXPECT_NEAR(columns[1].bottom(), 180, 0.5) << "the plot ends at 60 % of the height";
    EXPECT_NEAR(columns[1].top(), 180 - 150 * 0.5, 0.5) << "2 of a fixed maximum of 4";
    const auto category = find(g, "A");
    ASSERT_TRUE(category);
    EXPECT_EQ(category->run.family, "Georgia") << "the chart's own theme fonts";
}

TEST_F(EditorCoreChart, SideLegendEntriesStandApartAndShareTheFilesBox) {
    std::string all;
    for (const char* name : {"One", "Two", "Three"})
        all += series(name, {"1"}, {"A"});
    const std::string plot = "<c:plotArea>" + bars(all) + axes() + "</c:plotArea>";
    auto top = [](const GroupElement& g, const char* name) {
        const auto l = find(g, name);
        return l ? l->frame.bounds.top() : -1000.0;
    };
    // An automatic side legend steps one and a half times its text size.
    GroupElement g = chart("<c:chart>" + plot + "<c:legend><c:legendPos val=\"r\"/>" + txPr("sz=\"1000\"") +
                           "</c:legend></c:chart>");
    EXPECT_NEAR(top(g, "Two") - top(g, "One"), 15, 0.01);
    EXPECT_NEAR(top(g, "Three") - top(g, "Two"), 15, 0.01);
    EXPECT_NEAR((top(g, "One") + top(g, "Three")) / 2 + 6, 150, 0.5) << "centred on the chart";
    // A box of the file's (half the chart's 300 pt height) is shared evenly.
    const std::string box = "<c:layout><c:manualLayout><c:xMode val=\"edge\"/><c:yMode val=\"edge\"/>"
                            "<c:x val=\"0.8\"/><c:y val=\"0.25\"/><c:w val=\"0.2\"/><c:h val=\"0.5\"/>"
                            "</c:manualLayout></c:layout>";
    g = chart("<c:chart>" + plot + "<c:legend><c:legendPos val=\"r\"/>" + box + txPr("sz=\"1000\"") +
              "</c:legend></c:chart>");
    EXPECT_NEAR(top(g, "Two") - top(g, "One"), 50, 0.01);
    EXPECT_NEAR(top(g, "One"), 75 + 25 - 6, 0.01) << "the middle of the first share";
    // A legend laid over the plot leaves it the whole width.
    auto plotRight = [&](const std::string& overlay) {
        const GroupElement c = chart("<c:chart>" + plot + "<c:legend><c:legendPos val=\"r\"/>" + overlay +
                                     "</c:legend></c:chart>");
        double right = 0;
        for (const QRectF& r : filled(c, QColor(255, 0, 0)))
            if (r.height() > 20) // a column, not a legend key
                right = std::max(right, r.right());
        return right;
    };
    EXPECT_GT(plotRight("<c:overlay val=\"1\"/>"), plotRight("<c:overlay val=\"0\"/>") + 10);
}

TEST_F(EditorCoreChart, ThreeDColumnsShowTheirTopsAndSidesBeforeTheWalls) {
    const std::string red = "<c:spPr><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></c:spPr>";
    const GroupElement g =
        chart("<c:chart><c:view3D><c:rotX val=\"15\"/><c:rotY val=\"20\"/><c:rAngAx val=\"1\"/></c:view3D>"
              "<c:plotArea><c:bar3DChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/>" +
              series("S", {"1", "2"}, {"A", "B"}, red) +
              "<c:gapDepth val=\"100\"/><c:axId val=\"1\"/><c:axId val=\"2\"/></c:bar3DChart>" +
              axes("", "<c:majorGridlines/>") + "</c:plotArea></c:chart>");
    const auto fronts = filled(g, QColor(255, 0, 0));
    const auto tops = filled(g, QColor(255, 0, 0).lighter(115));
    const auto sides = filled(g, QColor(255, 0, 0).darker(135));
    ASSERT_EQ(fronts.size(), 2u);
    ASSERT_EQ(tops.size(), 2u);
    ASSERT_EQ(sides.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(tops[i].bottom(), fronts[i].top(), 0.01) << "the top rests on the front";
        EXPECT_NEAR(sides[i].left(), fronts[i].right(), 0.01) << "the side follows it";
        EXPECT_GT(tops[i].height(), 0.5);
        // Looking from 20 degrees right and 15 down: the side is wider than the top is high.
        EXPECT_NEAR(sides[i].width() / tops[i].height(),
                    std::sin(20 * std::numbers::pi / 180) / std::sin(15 * std::numbers::pi / 180), 0.01);
    }
    // The gridlines run along the back wall, behind and above the columns' fronts.
    double backRight = 0;
    for (const ShapeElement* s : stroked(g, QColor(0x86, 0x86, 0x86)))
        backRight = std::max(backRight, s->frame.bounds.right());
    EXPECT_GT(backRight, sides[1].right()) << "the back wall reaches past the last column";
    EXPECT_LE(backRight, 400);

    // Bars lying down show the same faces, the longer bar reaching further right.
    const GroupElement lying = chart(
        "<c:chart><c:plotArea><c:bar3DChart><c:barDir val=\"bar\"/><c:grouping val=\"clustered\"/>" +
        series("S", {"1", "2"}, {"A", "B"}, red) + "<c:axId val=\"1\"/><c:axId val=\"2\"/></c:bar3DChart>" +
        axes("", "<c:majorGridlines/>") + "</c:plotArea></c:chart>");
    const auto bars = filled(lying, QColor(255, 0, 0)), ends = filled(lying, QColor(255, 0, 0).darker(135));
    ASSERT_EQ(bars.size(), 2u);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(filled(lying, QColor(255, 0, 0).lighter(115)).size(), 2u);
    EXPECT_NEAR(ends[1].left(), bars[1].right(), 0.01);
    EXPECT_NEAR(bars[1].width(), 2 * bars[0].width(), 0.5);
    EXPECT_LT(bars[1].top(), bars[0].top()) << "the first category at the bottom";
}

TEST_F(EditorCoreChart, ShapesTheAuthorDrewOnTheChartComeWithIt) {
    ZipEntries extra;
    extra["ppt/charts/_rels/chart1.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartUserShapes\" "
        "Target=\"../drawings/drawing1.xml\"/></Relationships>";
    extra["ppt/drawings/drawing1.xml"] =
        "<c:userShapes xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:cdr=\"http://schemas.openxmlformats.org/drawingml/2006/chartDrawing\"><cdr:relSizeAnchor>"
        "<cdr:from><cdr:x>0.5</cdr:x><cdr:y>0.5</cdr:y></cdr:from><cdr:to><cdr:x>1</cdr:x><cdr:y>1</cdr:y></"
        "cdr:to>"
        "<cdr:sp><cdr:nvSpPr><cdr:cNvPr id=\"2\" name=\"r\"/><cdr:cNvSpPr/></cdr:nvSpPr><cdr:spPr>"
        "<a:prstGeom prst=\"rect\"/><a:solidFill><a:srgbClr "
        "val=\"00AA00\"/></a:solidFill></cdr:spPr></cdr:sp>"
        "</cdr:relSizeAnchor><cdr:absSizeAnchor><cdr:from><cdr:x>127000</cdr:x><cdr:y>254000</cdr:y></"
        "cdr:from>"
        "<cdr:ext cx=\"127000\" cy=\"127000\"/><cdr:sp><cdr:nvSpPr><cdr:cNvPr id=\"3\" "
        "name=\"s\"/><cdr:cNvSpPr/>"
        "</cdr:nvSpPr><cdr:spPr><a:xfrm><a:off x=\"999999999\" y=\"0\"/><a:ext cx=\"1\" cy=\"1\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"/><a:solidFill><a:srgbClr "
        "val=\"00AA00\"/></a:solidFill></cdr:spPr></cdr:sp>"
        "</cdr:absSizeAnchor></c:userShapes>";
    const GroupElement g = chart("<c:chart><c:plotArea>" + bars(series("S", {"1", "2"}, {"A", "B"})) +
                                     axes("<c:majorTickMark val=\"none\"/>") + "</c:plotArea></c:chart>",
                                 extra);
    const auto drawn = filled(g, QColor(0, 0xaa, 0));
    ASSERT_EQ(drawn.size(), 2u) << "after the chart, in its coordinates";
    EXPECT_EQ(drawn[0], QRectF(200, 150, 200, 150)) << "relative anchors span shares of the chart";
    EXPECT_EQ(drawn[1], QRectF(10, 20, 10, 10))
        << "absolute ones are in EMU; the anchor outranks the transform";
    // Axes without line properties show a thin grey line; the value axis has outside ticks.
    const auto greys = stroked(g, QColor(0x86, 0x86, 0x86));
    std::size_t ticks = 0;
    for (const ShapeElement* s : greys)
        ticks += s->frame.bounds.width() > 3.9 && s->frame.bounds.width() < 4.1;
    EXPECT_EQ(greys.size(), 2 + ticks) << "two axis lines and value ticks only";
    EXPECT_GE(ticks, 5u);
}

TEST_F(EditorCoreChart, AChartDrawingThatNamesItsOwnChartIsNotFollowed) {
    ZipEntries extra;
    extra["ppt/charts/_rels/chart1.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartUserShapes\" "
        "Target=\"../drawings/drawing1.xml\"/></Relationships>";
    // A group whose frame shows the slide's chart, that is this very chart, again and again.
    extra["ppt/drawings/drawing1.xml"] = QByteArray::fromStdString(
        "<c:userShapes " + ChartNs +
        " xmlns:cdr=\"http://schemas.openxmlformats.org/drawingml/2006/chartDrawing\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><cdr:relSizeAnchor>"
        "<cdr:from><cdr:x>0</cdr:x><cdr:y>0</cdr:y></cdr:from><cdr:to><cdr:x>1</cdr:x><cdr:y>1</cdr:y></"
        "cdr:to>"
        "<cdr:grpSp><cdr:nvGrpSpPr><cdr:cNvPr id=\"2\" name=\"g\"/><cdr:cNvGrpSpPr/></cdr:nvGrpSpPr>"
        "<cdr:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"12700\" cy=\"12700\"/><a:chOff x=\"0\" "
        "y=\"0\"/><a:chExt cx=\"1270000\" "
        "cy=\"1270000\"/></a:xfrm></cdr:grpSpPr><cdr:graphicFrame><cdr:nvGraphicFramePr><cdr:cNvPr id=\"3\" "
        "name=\"c\"/>"
        "<cdr:cNvGraphicFramePr/></cdr:nvGraphicFramePr><cdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
        "cx=\"1270000\" "
        "cy=\"1270000\"/></cdr:xfrm><a:graphic><a:graphicData "
        "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart r:id=\"rIdC1\"/>"
        "</a:graphicData></a:graphic></cdr:graphicFrame></cdr:grpSp></cdr:relSizeAnchor></c:userShapes>");
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(series("S", {"1"}, {"A"})) + axes() + "</c:plotArea></c:chart>",
              extra);
    EXPECT_EQ(filled(g, QColor(255, 0, 0)).size(), 1u) << "the chart itself, once";
}

TEST_F(EditorCoreChart, DateCategoriesShowInTheirFormat) {
    auto dated = [](const char* format) {
        return std::string("<c:ser><c:idx val=\"0\"/><c:cat><c:numRef><c:numCache><c:formatCode>") + format +
               "</c:formatCode><c:pt idx=\"0\"><c:v>38538</c:v></c:pt><c:pt idx=\"1\"><c:v>38569</c:v></c:pt>"
               "</c:numCache></c:numRef></c:cat><c:val><c:numRef><c:numCache><c:pt "
               "idx=\"0\"><c:v>1</c:v></c:pt>"
               "<c:pt idx=\"1\"><c:v>2</c:v></c:pt></c:numCache></c:numRef></c:val></c:ser>";
    };
    GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(dated("mmm-yy")) + axes() + "</c:plotArea></c:chart>");
    EXPECT_TRUE(find(g, "Jul-05") && find(g, "Aug-05")) << "the cache's format";
    // The axis' own format, in a file counting days from 1904.
    g = chart("<c:date1904 val=\"1\"/><c:chart><c:plotArea>" + bars(dated("m/d/yyyy")) +
              axes("<c:numFmt formatCode=\"yyyy mmm\" sourceLinked=\"0\"/>") + "</c:plotArea></c:chart>");
    EXPECT_TRUE(find(g, "2009 Jul") && find(g, "2009 Aug"));
    g = chart("<c:chart><c:plotArea>" + bars(dated("General")) + axes() + "</c:plotArea></c:chart>");
    EXPECT_TRUE(find(g, "38538")) << "plain numbers stay as stored";
}

TEST(ChartTrend, FitsTheSpreadsheetTrendTypes) {
    using T = ChartTrendline::Type;
    ChartTrendline trend;
    // y = 1 + 2x, reaching one unit past the last point.
    trend.forward = 1;
    auto points = trendPoints(trend, {{1, 3}, {2, 5}, {3, 7}, {4, std::nan("")}});
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[0].first, 1);
    EXPECT_NEAR(points[0].second, 3, 1e-9);
    EXPECT_DOUBLE_EQ(points[1].first, 4);
    EXPECT_NEAR(points[1].second, 9, 1e-9);
    // y = 2 e^x through its own points.
    trend = {};
    trend.type = T::Exponential;
    points = trendPoints(trend, {{0, 2}, {1, 2 * std::exp(1.0)}, {2, 2 * std::exp(2.0)}});
    ASSERT_GT(points.size(), 10u);
    for (const auto& [x, y] : points)
        EXPECT_NEAR(y, 2 * std::exp(x), 1e-6 * y);
    trend.type = T::Logarithmic;
    EXPECT_TRUE(trendPoints(trend, {{-1, 1}, {2, 2}}).empty()) << "no logarithm of a negative x";
    trend.type = T::MovingAverage;
    trend.period = 2;
    points = trendPoints(trend, {{1, 2}, {2, 4}, {3, 8}});
    ASSERT_EQ(points.size(), 2u);
    EXPECT_DOUBLE_EQ(points[0].second, 3);
    EXPECT_DOUBLE_EQ(points[1].second, 6);
    EXPECT_TRUE(trendPoints({}, {{1, 1}}).empty()) << "one point carries no trend";
}

TEST(ChartNumberFormat, SpreadsheetCodesFormatValues) {
    EXPECT_EQ(formatChartNumber(0.1 + 0.2, "General"), "0.3");
    EXPECT_EQ(formatChartNumber(2.5, ""), "2.5");
    EXPECT_EQ(formatChartNumber(0.30000001, "General", 1), "0.3");
    EXPECT_EQ(formatChartNumber(1234.567, "#,##0"), "1,235");
    EXPECT_EQ(formatChartNumber(1234.567, "0.0"), "1234.6");
    EXPECT_EQ(formatChartNumber(0.256, "0%"), "26%");
    EXPECT_EQ(formatChartNumber(3, "\"$\"#,##0.00"), "$3.00");
    EXPECT_EQ(formatChartNumber(-3, "\\$0;(\\$0)"), "($3)") << "the negative section";
    EXPECT_EQ(formatChartNumber(-3, "$0"), "-$3");
    EXPECT_EQ(formatChartNumber(5, "0\" pts\""), "5 pts");
    // Dates and times count days from 1900, the leap day those programs count included.
    EXPECT_EQ(formatChartNumber(40000, "[$-409]mm/dd/yyyy"), "07/06/2009");
    EXPECT_EQ(formatChartNumber(40000, "mmm-yy"), "Jul-09");
    EXPECT_EQ(formatChartNumber(40000, "d mmmm yyyy"), "6 July 2009");
    EXPECT_EQ(formatChartNumber(59, "m/d"), "2/28");
    EXPECT_EQ(formatChartNumber(61, "m/d"), "3/1");
    EXPECT_EQ(formatChartNumber(40000.75, "h:mm AM/PM"), "6:00 PM") << "m after h: minutes";
    EXPECT_EQ(formatChartNumber(0.5 + 90.0 / 86400, "mm:ss"), "01:30");
    EXPECT_EQ(formatChartNumber(1.5, "0.0E+00"), "1.5") << "other sections stay General";
}

TEST_F(EditorCoreChart, RenderedLabelsAndBarsLandWhereLaidOut) {
    const std::string labelled =
        "<c:dLbls>" +
        txPr("sz=\"2000\" b=\"1\"", "<a:bodyPr/>", "<a:solidFill><a:srgbClr val=\"0000FF\"/></a:solidFill>") +
        "<c:showVal val=\"1\"/></c:dLbls>";
    const GroupElement g =
        chart("<c:chart><c:plotArea>" + bars(series("S", {"5", "9.5"}, {"A", "B"}, labelled)) + axes() +
              "</c:plotArea></c:chart>");
    const auto columns = filled(g, QColor(255, 0, 0));
    const auto ten = find(g, "9.5");
    ASSERT_EQ(columns.size(), 2u);
    ASSERT_TRUE(ten);
    const QImage image = loadAndRender(_path);
    EXPECT_TRUE(near(image.pixelColor(columns[1].center().toPoint()), QColor(255, 0, 0)));
    EXPECT_GT(pixelsDifferingFrom(image, ten->frame.bounds.toRect(), Qt::white), 20) << "the label's glyphs";
    int blue = 0;
    const QRect r = ten->frame.bounds.toRect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            blue += near(image.pixelColor(x, y), QColor(0, 0, 255), 60);
    EXPECT_GT(blue, 10) << "in the label's colour";
}

} // namespace
} // namespace KX::Tovrin::Test
