#include "EditorCoreFixture.h"

namespace KX::Tovrin::Test {
namespace {

// The opening of a chart object's content, with the namespaces its parts use.
const std::string ChartDocumentStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
    "xmlns:chart=\"urn:oasis:names:tc:opendocument:xmlns:chart:1.0\" "
    "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
    "xmlns:chartooo=\"http://openoffice.org/2010/chart\">";

// A bar chart object with its own table: two categories, two series in red and blue, whose
// plot fills the whole chart.
QByteArray chartObject() {
    return QByteArray::fromStdString(
        ChartDocumentStart +
        "<office:automatic-styles>"
        "<style:style style:name=\"a\" style:family=\"chart\"><style:graphic-properties "
        "draw:fill-color=\"#ff0000\"/></style:style><style:style style:name=\"b\" style:family=\"chart\">"
        "<style:graphic-properties draw:fill-color=\"#0000ff\"/></style:style></office:automatic-styles>"
        "<office:body><office:chart><chart:chart svg:width=\"240pt\" svg:height=\"120pt\" "
        "chart:class=\"chart:bar\"><chart:plot-area><chartooo:coordinate-region svg:x=\"0pt\" svg:y=\"0pt\" "
        "svg:width=\"240pt\" svg:height=\"120pt\"/><chart:axis chart:dimension=\"x\"><chart:categories "
        "table:cell-range-address=\"local-table.$A$2:.$A$3\"/></chart:axis>"
        "<chart:series chart:style-name=\"a\" chart:values-cell-range-address=\"local-table.$B$2:.$B$3\" "
        "chart:label-cell-address=\"local-table.$B$1\"/>"
        "<chart:series chart:style-name=\"b\" chart:values-cell-range-address=\"local-table.$C$2:.$C$3\" "
        "chart:label-cell-address=\"local-table.$C$1\"/></chart:plot-area>"
        "<table:table "
        "table:name=\"local-table\"><table:table-header-rows><table:table-row><table:table-cell/>"
        "<table:table-cell><text:p>A</text:p></table:table-cell><table:table-cell><text:p>B</text:p>"
        "</table:table-cell></table:table-row></table:table-header-rows><table:table-rows><table:table-row>"
        "<table:table-cell><text:p>x</text:p></table:table-cell><table:table-cell office:value=\"10\"/>"
        "<table:table-cell office:value=\"5\"/></table:table-row><table:table-row><table:table-cell>"
        "<text:p>y</text:p></table:table-cell><table:table-cell office:value=\"5\"/><table:table-cell "
        "office:value=\"10\"/></table:table-row></table:table-rows></table:table></chart:chart></"
        "office:chart>"
        "</office:body></office:document-content>");
}

class EditorCoreOdpChart : public EditorCoreTest {};

TEST_F(EditorCoreOdpChart, ChartsWithoutAPictureAreDrawnFromTheirOwnTable) {
    OdpRecipe deck;
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame svg:x=\"0pt\" "
        "svg:y=\"0pt\" svg:width=\"240pt\" svg:height=\"120pt\"><draw:object xlink:href=\"./Object 1\"/>"
        "<draw:image xlink:href=\"./ObjectReplacements/Object 1\"/></draw:frame></draw:page>"};
    ZipEntries entries = odpEntries(deck);
    entries["Object 1/content.xml"] = chartObject();
    const QImage image = loadAndRender(write("chart.odp", entries));
    // Scale 0..12: a bar of 10 reaches 20 points below the top. Per category, bars of 40 points
    // after a gap of 20.
    EXPECT_TRUE(near(image.pixelColor(40, 110), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(40, 30), Qt::red, 12));
    EXPECT_TRUE(near(image.pixelColor(80, 110), Qt::blue, 12));
    EXPECT_FALSE(near(image.pixelColor(80, 40), Qt::blue, 60)) << "the blue bar of 5 stops half-way";
    EXPECT_TRUE(near(image.pixelColor(200, 30), Qt::blue, 12));
    EXPECT_TRUE(near(image.pixelColor(160, 80), Qt::red, 12));
    EXPECT_FALSE(near(image.pixelColor(160, 40), Qt::red, 60));
}

// A scatter object: one series of points at x 1 and 9, y 5 and 5, in blue, without a line.
QByteArray scatterObject() {
    return QByteArray::fromStdString(
        ChartDocumentStart +
        "<office:automatic-styles>"
        "<style:style style:name=\"a\" style:family=\"chart\"><style:graphic-properties draw:stroke=\"none\" "
        "draw:fill-color=\"#0000ff\"/></style:style></office:automatic-styles><office:body><office:chart>"
        "<chart:chart svg:width=\"240pt\" svg:height=\"120pt\" "
        "chart:class=\"chart:scatter\"><chart:plot-area>"
        "<chart:series chart:style-name=\"a\" chart:values-cell-range-address=\"local-table.$B$2:.$B$3\">"
        "<chart:domain table:cell-range-address=\"local-table.$A$2:.$A$3\"/></chart:series></chart:plot-area>"
        "<table:table table:name=\"local-table\"><table:table-rows><table:table-row><table:table-cell/>"
        "<table:table-cell/></table:table-row><table:table-row><table:table-cell office:value=\"1\"/>"
        "<table:table-cell office:value=\"5\"/></table:table-row><table:table-row><table:table-cell "
        "office:value=\"9\"/><table:table-cell office:value=\"5\"/></table:table-row></table:table-rows>"
        "</table:table></chart:chart></office:chart></office:body></office:document-content>");
}

TEST_F(EditorCoreOdpChart, ScatterPointsStandAtTheirDomainValues) {
    OdpRecipe deck;
    deck.pages = {
        "<draw:page draw:name=\"a\" draw:master-page-name=\"Default\"><draw:frame svg:x=\"0pt\" "
        "svg:y=\"0pt\" svg:width=\"240pt\" svg:height=\"120pt\"><draw:object xlink:href=\"./Object 1\"/>"
        "</draw:frame></draw:page>"};
    ZipEntries entries = odpEntries(deck);
    entries["Object 1/content.xml"] = scatterObject();
    const QImage image = loadAndRender(write("scatter.odp", entries));
    // The blue columns: two markers, far apart, and no line between them.
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (near(image.pixelColor(x, y), Qt::blue, 40)) {
                columns.push_back(x);
                break;
            }
    ASSERT_FALSE(columns.empty());
    EXPECT_LT(columns.size(), 30u) << "markers only";
    const int left = columns.front(), right = columns.back();
    EXPECT_GT(right - left, 120) << "x 1 and 9 on a scale from 0";
    EXPECT_LT(left, 60);
}

} // namespace
} // namespace KX::Tovrin::Test
