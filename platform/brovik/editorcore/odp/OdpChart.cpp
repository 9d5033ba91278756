#include "platform/brovik/editorcore/odp/OdpChart.h"

#include "platform/brovik/editorcore/chart/ChartLayout.h"
#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace KX::Tovrin {

namespace {
using namespace Odf;
constexpr int MaxRows = 2000;
constexpr int MaxColumns = 256;
constexpr int MaxSeries = 64;

// The chart's own table: cells by row and column, header rows included, as ranges count them.
using Grid = std::vector<std::vector<QString>>;

void readRows(const QDomElement& parent, Grid& grid) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.localName() != QLatin1String("table-row")) {
            if (e.localName().startsWith(QLatin1String("table-")) &&
                e.localName().endsWith(QLatin1String("rows")))
                readRows(e, grid); // header rows and row groups
            continue;
        }
        std::vector<QString> row;
        forEachChild(e, [&](const QDomElement& cell) {
            const QString value =
                attr(cell, Office, "value").isEmpty() ? cell.text() : attr(cell, Office, "value");
            const int repeat =
                std::clamp(attr(cell, Table, "number-columns-repeated").toInt(), 1, MaxColumns);
            for (int i = 0; i < repeat && int(row.size()) < MaxColumns; ++i)
                row.push_back(value);
        });
        const int repeat = std::clamp(attr(e, Table, "number-rows-repeated").toInt(), 1, MaxRows);
        for (int i = 0; i < repeat && int(grid.size()) < MaxRows; ++i)
            grid.push_back(row);
    }
}

int columnNumber(const QString& letters) {
    int n = 0;
    for (QChar c : letters)
        n = n * 26 + (c.toUpper().unicode() - 'A' + 1);
    return n - 1;
}

// The cells of a range such as "local-table.$B$2:.$B$5" (or one cell), in order.
std::vector<QString> cells(const Grid& grid, const QString& range) {
    static const QRegularExpression ref(QStringLiteral("\\.\\$?([A-Za-z]{1,3})\\$?([0-9]{1,6})"));
    std::vector<std::pair<int, int>> ends;
    for (auto it = ref.globalMatch(range); it.hasNext() && ends.size() < 2;) {
        const QRegularExpressionMatch m = it.next();
        ends.emplace_back(m.captured(2).toInt() - 1, columnNumber(m.captured(1)));
    }
    std::vector<QString> out;
    if (ends.empty())
        return out;
    const auto [r0, c0] = ends.front();
    const auto [r1, c1] = ends.back();
    for (int r = std::max(0, r0); r <= std::min(r1, MaxRows - 1); ++r)
        for (int c = std::max(0, c0); c <= std::min(c1, MaxColumns - 1); ++c)
            out.push_back(r < int(grid.size()) && c < int(grid[r].size()) ? grid[r][c] : QString());
    return out;
}

ChartData::Kind kindOf(const QString& cls, bool& known) {
    known = true;
    if (cls == QLatin1String("chart:bar"))
        return ChartData::Kind::Bar;
    if (cls == QLatin1String("chart:line"))
        return ChartData::Kind::Line;
    if (cls == QLatin1String("chart:area"))
        return ChartData::Kind::Area;
    if (cls == QLatin1String("chart:circle"))
        return ChartData::Kind::Pie;
    if (cls == QLatin1String("chart:ring"))
        return ChartData::Kind::Doughnut;
    if (cls == QLatin1String("chart:scatter"))
        return ChartData::Kind::Scatter;
    if (cls == QLatin1String("chart:radar") || cls == QLatin1String("chart:filled-radar"))
        return ChartData::Kind::Radar;
    known = false;
    return ChartData::Kind::Bar;
}

ChartData::Legend legendOf(const QDomElement& chart) {
    const QDomElement legend = firstChild(chart, QStringLiteral("legend"));
    if (legend.isNull())
        return ChartData::Legend::None;
    const QString pos = attr(legend, Chart, "legend-position");
    return pos == QLatin1String("start")    ? ChartData::Legend::Left
           : pos == QLatin1String("top")    ? ChartData::Legend::Top
           : pos == QLatin1String("bottom") ? ChartData::Legend::Bottom
                                            : ChartData::Legend::Right;
}

ChartSeries readSeries(const QDomElement& s, const Grid& grid, const QHash<QString, QDomElement>& styles) {
    ChartSeries series;
    const std::vector<QString> name = cells(grid, attr(s, Chart, "label-cell-address"));
    if (!name.empty())
        series.name = name.front();
    for (const QString& v : cells(grid, attr(s, Chart, "values-cell-range-address"))) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        series.values.push_back(ok && std::isfinite(d) ? d : 0);
    }
    const QDomElement props =
        firstChild(styles.value(attr(s, Chart, "style-name")), QStringLiteral("graphic-properties"));
    const QColor colour(attr(props, Draw, "fill-color"));
    if (colour.isValid())
        series.fill = Fill::solid(colour);
    // Lines of their own colour, or none.
    const QColor stroke(attr(props, Svg, "stroke-color"));
    if (attr(props, Draw, "stroke") == QLatin1String("none") || stroke.isValid()) {
        Stroke line;
        line.visible = attr(props, Draw, "stroke") != QLatin1String("none");
        line.color = stroke.isValid() ? stroke : colour;
        line.width = std::max(0.75, length(attr(props, Svg, "stroke-width")));
        series.line = line;
    }
    // A scatter series' x values come from its domain.
    const QDomElement domain = firstChild(s, QStringLiteral("domain"));
    if (!domain.isNull())
        for (const QString& v : cells(grid, attr(domain, Table, "cell-range-address"))) {
            bool ok = false;
            const double d = v.toDouble(&ok);
            series.xValues.push_back(ok && std::isfinite(d) ? d : std::nan(""));
        }
    const QString symbol =
        attr(firstChild(styles.value(attr(s, Chart, "style-name")), QStringLiteral("chart-properties")),
             Chart, "symbol-type");
    if (symbol == QLatin1String("none"))
        series.marker = ChartMarker{};
    return series;
}
// The office suite's own defaults for what this reader does not take from the styles:
// black text, a 13 pt plain title, legend entries a line apart, light grey value gridlines and
// axis lines.
void applyDefaultLooks(ChartData& data) {
    data.legendStep = 1.2;
    data.titleStyle.size = 13;
    data.titleStyle.bold = false;
    for (ChartTextStyle* text :
         {&data.titleStyle, &data.legendStyle, &data.categoryAxis.text, &data.valueAxis.text})
        text->color = Qt::black;
    Stroke light;
    light.visible = true;
    light.color = QColor(0xb3, 0xb3, 0xb3);
    light.width = 0.75;
    data.valueAxis.majorGridlines = light;
    data.valueAxis.line = light;
    data.categoryAxis.line = light;
}

} // namespace

std::optional<GroupElement> readOdfChart(const ZipReader& zip, const QString& objectLink,
                                         const ElementFrame& frame) {
    QString object = QDir::cleanPath(objectLink);
    if (object.startsWith(QLatin1String("./")))
        object = object.mid(2);
    if (object.isEmpty() || object.startsWith(QLatin1String("..")) || object.contains(QLatin1String("://")))
        return std::nullopt;
    QDomElement chart;
    QDomDocument doc;
    try {
        const QString part = object + QStringLiteral("/content.xml");
        if (!zip.contains(part))
            return std::nullopt;
        doc = parseXmlPart(zip.read(part), part);
        chart = childPath(doc.documentElement(),
                          {QStringLiteral("body"), QStringLiteral("chart"), QStringLiteral("chart")});
    } catch (...) {
        return std::nullopt; // a broken chart is left out like any unknown object
    }
    ChartData data;
    bool known = false;
    data.kind = kindOf(attr(chart, Chart, "class"), known);
    if (!known)
        return std::nullopt;
    QHash<QString, QDomElement> styles;
    forEachChild(firstChild(doc.documentElement(), QStringLiteral("automatic-styles")),
                 QStringLiteral("style"),
                 [&](const QDomElement& s) { styles.insert(attr(s, Style, "name"), s); });
    Grid grid;
    readRows(firstChild(chart, QStringLiteral("table")), grid);
    const QDomElement plot = firstChild(chart, QStringLiteral("plot-area"));
    const QDomElement plotProps =
        firstChild(styles.value(attr(plot, Chart, "style-name")), QStringLiteral("chart-properties"));
    data.horizontal = attr(plotProps, Chart, "vertical") == QLatin1String("true");
    data.stacked = attr(plotProps, Chart, "stacked") == QLatin1String("true") ||
                   attr(plotProps, Chart, "percentage") == QLatin1String("true");
    data.varyColors = data.kind == ChartData::Kind::Pie || data.kind == ChartData::Kind::Doughnut;
    data.radarFilled = attr(chart, Chart, "class") == QLatin1String("chart:filled-radar");
    data.gapWidth = 1.0;
    forEachChild(plot, QStringLiteral("axis"), [&](const QDomElement& axis) {
        const QDomElement categories = firstChild(axis, QStringLiteral("categories"));
        if (!categories.isNull() && data.categories.empty())
            for (const QString& c : cells(grid, attr(categories, Table, "cell-range-address")))
                data.categories.push_back(c);
    });
    forEachChild(plot, QStringLiteral("series"), [&](const QDomElement& s) {
        if (int(data.series.size()) < MaxSeries)
            data.series.push_back(readSeries(s, grid, styles));
    });
    // The inner plot rectangle the office suite saved, as a share of the chart's own size.
    const QDomElement region = firstChild(plot, QStringLiteral("coordinate-region"));
    const double cw = length(attr(chart, Svg, "width")), ch = length(attr(chart, Svg, "height"));
    if (!region.isNull() && cw > 0 && ch > 0)
        data.plotArea =
            QRectF(length(attr(region, Svg, "x")) / cw, length(attr(region, Svg, "y")) / ch,
                   length(attr(region, Svg, "width")) / cw, length(attr(region, Svg, "height")) / ch)
                .intersected(QRectF(0, 0, 1, 1));
    data.title = firstChild(chart, QStringLiteral("title")).text();
    data.legend = legendOf(chart);
    applyDefaultLooks(data);
    // The office suite's own default colours, for series that name none.
    for (const char* c : {"#004586", "#ff420e", "#ffd320", "#579d1c", "#7e0021", "#83caff", "#314004",
                          "#aecf00", "#4b1f6f", "#ff950e", "#c5000b", "#0084d1"})
        data.palette.push_back(QColor(c));
    return layoutChart(data, frame);
}

} // namespace KX::Tovrin
