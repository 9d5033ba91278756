#include "platform/brovik/editorcore/pptx/PptxChart.h"

#include "platform/brovik/editorcore/chart/ChartLayout.h"
#include "platform/brovik/editorcore/chart/ChartText.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"
#include "platform/brovik/editorcore/pptx/DrawingText.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"

#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <map>

namespace KX::Tovrin {

namespace {
constexpr int MaxPoints = 2000;
constexpr int MaxSeries = 64;
constexpr double EmuPerPoint = 12700.0;
// A text body rotation meaning "the program decides".
constexpr qint64 AutomaticRotation = -60000000;

QString val(const QDomElement& parent, const char* child) {
    return firstChild(parent, QString::fromLatin1(child)).attribute(QStringLiteral("val"));
}

bool flag(const QDomElement& parent, const char* child, bool fallback) {
    const QDomElement e = firstChild(parent, QString::fromLatin1(child));
    return e.isNull() ? fallback : attrBool(e, QStringLiteral("val"), true);
}

// The cache holding a reference's points (c:strCache, c:numCache, literals, the first level of
// multi-level categories).
QDomElement pointCache(const QDomElement& ref) {
    for (const char* holder : {"strRef", "numRef", "strLit", "numLit", "multiLvlStrRef"}) {
        const QDomElement h = firstChild(ref, QString::fromLatin1(holder));
        if (h.isNull())
            continue;
        if (h.localName() == QLatin1String("multiLvlStrRef"))
            return childPath(h, {QStringLiteral("multiLvlStrCache"), QStringLiteral("lvl")});
        const QDomElement cache = firstChild(h, QStringLiteral("strCache"), QStringLiteral("numCache"));
        return cache.isNull() ? h : cache;
    }
    return {};
}

std::map<int, QString> cachedPoints(const QDomElement& ref) {
    std::map<int, QString> points;
    forEachChild(pointCache(ref), QStringLiteral("pt"), [&](const QDomElement& pt) {
        const qint64 idx = attrInt(pt, QStringLiteral("idx"), -1);
        if (idx >= 0 && idx < MaxPoints)
            points[int(idx)] = firstChild(pt, QStringLiteral("v")).text();
    });
    return points;
}

// Paragraphs of a c:rich (or c:strRef) text, joined by line separators.
QString richText(const QDomElement& tx) {
    const QDomElement rich = firstChild(tx, QStringLiteral("rich"));
    if (rich.isNull()) {
        const auto points = cachedPoints(tx);
        return points.empty() ? firstChild(tx, QStringLiteral("v")).text() : points.begin()->second;
    }
    QStringList lines;
    forEachChild(rich, QStringLiteral("p"), [&](const QDomElement& p) {
        QString line;
        forEachChild(p, [&](const QDomElement& r) {
            if (r.localName() == QLatin1String("br"))
                line += QChar(0x2028);
            else if (r.localName() == QLatin1String("r") || r.localName() == QLatin1String("fld"))
                line += firstChild(r, QStringLiteral("t")).text();
        });
        lines << line;
    });
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    return lines.join(QChar(0x2028));
}

// Applies one run property element (a:defRPr, a:rPr) on top of style.
void applyRunProperties(ChartTextStyle& style, const QDomElement& rPr, const DrawingContext& ctx) {
    if (rPr.isNull())
        return;
    const double size = attrDouble(rPr, QStringLiteral("sz"), 0) / 100;
    if (size >= 1 && size <= 400)
        style.size = size;
    if (rPr.hasAttribute(QStringLiteral("b")))
        style.bold = attrBool(rPr, QStringLiteral("b"), false);
    if (rPr.hasAttribute(QStringLiteral("i")))
        style.italic = attrBool(rPr, QStringLiteral("i"), false);
    if (auto fill = readFill(rPr, ctx); fill && fill->kind == Fill::Kind::Solid)
        style.color = fill->color;
    const QString typeface = firstChild(rPr, QStringLiteral("latin")).attribute(QStringLiteral("typeface"));
    if (!typeface.isEmpty())
        style.family = resolveTypeface(typeface, ctx);
}

// A text properties element (c:txPr or c:rich) on top of base: its body rotation and the
// defaults of its first paragraph (and, for rich text, the first run's own properties).
ChartTextStyle readTextStyle(const QDomElement& text, ChartTextStyle base, const DrawingContext& ctx) {
    if (text.isNull())
        return base;
    const QDomElement bodyPr = firstChild(text, QStringLiteral("bodyPr"));
    const qint64 rot = attrInt(bodyPr, QStringLiteral("rot"), AutomaticRotation);
    if (rot != AutomaticRotation && std::abs(rot) <= 5400000)
        base.rotation = double(rot) / 60000;
    const QDomElement p = firstChild(text, QStringLiteral("p"));
    applyRunProperties(base, childPath(p, {QStringLiteral("pPr"), QStringLiteral("defRPr")}), ctx);
    applyRunProperties(base, childPath(p, {QStringLiteral("r"), QStringLiteral("rPr")}), ctx);
    return base;
}

std::optional<Stroke> readLine(const QDomElement& spPr, const DrawingContext& ctx) {
    const QDomElement ln = firstChild(spPr, QStringLiteral("ln"));
    if (ln.isNull())
        return std::nullopt;
    Stroke visible;
    visible.visible = true;
    return readStroke(ln, ctx, visible);
}

ChartDataLabels readDataLabels(const QDomElement& dLbls, ChartDataLabels base, const DrawingContext& ctx) {
    if (dLbls.isNull())
        return base;
    if (flag(dLbls, "delete", false))
        return ChartDataLabels{};
    base.value = flag(dLbls, "showVal", base.value);
    base.percent = flag(dLbls, "showPercent", base.percent);
    base.category = flag(dLbls, "showCatName", base.category);
    base.seriesName = flag(dLbls, "showSerName", base.seriesName);
    using P = ChartDataLabels::Position;
    static const std::map<QString, P> positions{{QStringLiteral("ctr"), P::Center},
                                                {QStringLiteral("inEnd"), P::InsideEnd},
                                                {QStringLiteral("inBase"), P::InsideBase},
                                                {QStringLiteral("outEnd"), P::OutsideEnd},
                                                {QStringLiteral("t"), P::Above},
                                                {QStringLiteral("b"), P::Below},
                                                {QStringLiteral("l"), P::Left},
                                                {QStringLiteral("r"), P::Right}};
    if (auto it = positions.find(val(dLbls, "dLblPos")); it != positions.end())
        base.position = it->second;
    const QString format =
        firstChild(dLbls, QStringLiteral("numFmt")).attribute(QStringLiteral("formatCode"));
    if (!format.isEmpty())
        base.numberFormat = format;
    base.text = readTextStyle(firstChild(dLbls, QStringLiteral("txPr")), base.text, ctx);
    return base;
}

// base: what a marker element leaves unsaid (a point's marker starts from its series').
std::optional<ChartMarker> readMarker(const QDomElement& marker, const DrawingContext& ctx,
                                      const std::optional<ChartMarker>& base = std::nullopt) {
    if (marker.isNull())
        return std::nullopt;
    using S = ChartMarker::Symbol;
    static const std::map<QString, S> symbols{
        {QStringLiteral("none"), S::None},       {QStringLiteral("square"), S::Square},
        {QStringLiteral("diamond"), S::Diamond}, {QStringLiteral("triangle"), S::Triangle},
        {QStringLiteral("circle"), S::Circle},   {QStringLiteral("x"), S::Cross},
        {QStringLiteral("star"), S::Cross},      {QStringLiteral("plus"), S::Plus},
        {QStringLiteral("dash"), S::Dash},       {QStringLiteral("dot"), S::Circle}};
    ChartMarker square;
    square.symbol = S::Square;
    ChartMarker m = base.value_or(square);
    const auto it = symbols.find(val(marker, "symbol"));
    if (it != symbols.end())
        m.symbol = it->second;
    m.size = std::clamp(attrDouble(firstChild(marker, QStringLiteral("size")), QStringLiteral("val"), m.size),
                        2.0, 72.0);
    const QDomElement spPr = firstChild(marker, QStringLiteral("spPr"));
    if (auto fill = readFill(spPr, ctx))
        m.fill = fill;
    if (auto line = readLine(spPr, ctx))
        m.line = line;
    return m;
}

// A scatter series' x values; points named by text stand at 1, 2, 3 ... as the authoring
// programs place them. Empty for other series.
std::vector<double> acrossValues(const QDomElement& xVal, std::size_t count) {
    if (xVal.isNull())
        return {};
    std::vector<double> xs(count, std::nan(""));
    bool numeric = true;
    for (const auto& [idx, v] : cachedPoints(xVal)) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        numeric = numeric && ok && std::isfinite(d);
        if (std::size_t(idx) < count)
            xs[std::size_t(idx)] = d;
    }
    if (!numeric || cachedPoints(xVal).empty())
        for (std::size_t i = 0; i < count; ++i)
            xs[i] = double(i + 1);
    return xs;
}

// Trends the author fitted through the series; polynomial ones are left out.
std::vector<ChartSeriesTrend> readTrendlines(const QDomElement& ser, const DrawingContext& ctx) {
    using T = ChartTrendline::Type;
    static const std::map<QString, T> types{{QStringLiteral("linear"), T::Linear},
                                            {QStringLiteral("exp"), T::Exponential},
                                            {QStringLiteral("log"), T::Logarithmic},
                                            {QStringLiteral("power"), T::Power},
                                            {QStringLiteral("movingAvg"), T::MovingAverage}};
    std::vector<ChartSeriesTrend> trends;
    forEachChild(ser, QStringLiteral("trendline"), [&](const QDomElement& t) {
        const auto type = types.find(val(t, "trendlineType"));
        if (type == types.end() || trends.size() >= 8)
            return;
        ChartSeriesTrend trend;
        trend.fit.type = type->second;
        trend.fit.period = int(std::clamp<qint64>(
            attrInt(firstChild(t, QStringLiteral("period")), QStringLiteral("val"), 2), 2, 255));
        trend.fit.forward = std::clamp(
            attrDouble(firstChild(t, QStringLiteral("forward")), QStringLiteral("val"), 0), 0.0, 1e9);
        trend.fit.backward = std::clamp(
            attrDouble(firstChild(t, QStringLiteral("backward")), QStringLiteral("val"), 0), 0.0, 1e9);
        trend.line = readLine(firstChild(t, QStringLiteral("spPr")), ctx);
        trends.push_back(trend);
    });
    return trends;
}

std::vector<double> numbers(const QDomElement& ref) {
    std::vector<double> out;
    for (const auto& [idx, v] : cachedPoints(ref)) {
        if (out.size() <= std::size_t(idx))
            out.resize(std::size_t(idx) + 1, std::nan(""));
        bool ok = false;
        const double d = v.toDouble(&ok);
        out[std::size_t(idx)] = ok && std::isfinite(d) ? d : std::nan("");
    }
    return out;
}

// Error bars along the value axis (a scatter chart's across the bottom are left out).
std::optional<ChartErrorBars> readErrorBars(const QDomElement& ser, const DrawingContext& ctx) {
    std::optional<ChartErrorBars> found;
    forEachChild(ser, QStringLiteral("errBars"), [&](const QDomElement& e) {
        if (found || val(e, "errDir") == QLatin1String("x"))
            return;
        using A = ChartErrorBars::Amount;
        static const std::map<QString, A> amounts{{QStringLiteral("fixedVal"), A::Fixed},
                                                  {QStringLiteral("percentage"), A::Percentage},
                                                  {QStringLiteral("stdDev"), A::StdDev},
                                                  {QStringLiteral("stdErr"), A::StdErr},
                                                  {QStringLiteral("cust"), A::Custom}};
        ChartErrorBars bars;
        const auto amount = amounts.find(val(e, "errValType"));
        bars.amount = amount != amounts.end() ? amount->second : A::Fixed;
        bars.value = std::clamp(attrDouble(firstChild(e, QStringLiteral("val")), QStringLiteral("val"), 1),
                                0.0, 1e300);
        const QString type = val(e, "errBarType");
        bars.plus = type != QLatin1String("minus");
        bars.minus = type != QLatin1String("plus");
        bars.caps = !flag(e, "noEndCap", false);
        bars.plusValues = numbers(firstChild(e, QStringLiteral("plus")));
        bars.minusValues = numbers(firstChild(e, QStringLiteral("minus")));
        bars.line = readLine(firstChild(e, QStringLiteral("spPr")), ctx);
        found = bars;
    });
    return found;
}

ChartSeries readSeries(const QDomElement& ser, const ChartDataLabels& plotLabels, const DrawingContext& ctx) {
    ChartSeries s;
    s.name = richText(firstChild(ser, QStringLiteral("tx")));
    const QDomElement valRef = firstChild(ser, QStringLiteral("val"), QStringLiteral("yVal"));
    const auto values = cachedPoints(valRef);
    s.numberFormat = firstChild(pointCache(valRef), QStringLiteral("formatCode")).text();
    int count = 0;
    for (const auto& [idx, v] : values)
        count = std::max(count, idx + 1);
    s.values.assign(std::size_t(count), std::nan(""));
    for (const auto& [idx, v] : values) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        s.values[std::size_t(idx)] = ok && std::isfinite(d) ? d : std::nan("");
    }
    const QDomElement spPr = firstChild(ser, QStringLiteral("spPr"));
    s.fill = readFill(spPr, ctx);
    s.line = readLine(spPr, ctx);
    s.xValues = acrossValues(firstChild(ser, QStringLiteral("xVal")), s.values.size());
    s.trendlines = readTrendlines(ser, ctx);
    s.errorBars = readErrorBars(ser, ctx);
    s.smooth = flag(ser, "smooth", false);
    for (const auto& [idx, v] : cachedPoints(firstChild(ser, QStringLiteral("bubbleSize")))) {
        if (s.bubbleSizes.size() <= std::size_t(idx))
            s.bubbleSizes.resize(std::size_t(idx) + 1, std::nan(""));
        bool ok = false;
        const double d = v.toDouble(&ok);
        s.bubbleSizes[std::size_t(idx)] = ok && std::isfinite(d) ? d : std::nan("");
    }
    s.marker = readMarker(firstChild(ser, QStringLiteral("marker")), ctx);
    if (const QDomElement e = firstChild(ser, QStringLiteral("explosion")); !e.isNull())
        s.explosions[-1] = std::clamp(attrDouble(e, QStringLiteral("val"), 0), 0.0, 400.0) / 100;
    auto index = [](const QDomElement& e) {
        return int(std::clamp<qint64>(
            attrInt(firstChild(e, QStringLiteral("idx")), QStringLiteral("val"), -1), -1, MaxPoints));
    };
    forEachChild(ser, QStringLiteral("dPt"), [&](const QDomElement& dPt) {
        const int i = index(dPt);
        if (auto f = readFill(firstChild(dPt, QStringLiteral("spPr")), ctx))
            s.pointFills[i] = *f;
        if (const QDomElement e = firstChild(dPt, QStringLiteral("explosion")); !e.isNull())
            s.explosions[i] = std::clamp(attrDouble(e, QStringLiteral("val"), 0), 0.0, 400.0) / 100;
        // A point's marker without a symbol of its own keeps the series' (or the automatic) one.
        const QDomElement marker = firstChild(dPt, QStringLiteral("marker"));
        if (s.marker || !firstChild(marker, QStringLiteral("symbol")).isNull())
            if (auto m = readMarker(marker, ctx, s.marker))
                s.pointMarkers[i] = *m;
    });
    const QDomElement dLbls = firstChild(ser, QStringLiteral("dLbls"));
    s.labels = readDataLabels(dLbls, plotLabels, ctx);
    forEachChild(dLbls, QStringLiteral("dLbl"), [&](const QDomElement& dLbl) {
        ChartDataLabels own = readDataLabels(dLbl, s.labels, ctx);
        // Offsets from the automatic place, as shares of the chart.
        const QDomElement m = childPath(dLbl, {QStringLiteral("layout"), QStringLiteral("manualLayout")});
        if (!m.isNull() && val(m, "xMode") != QLatin1String("edge") &&
            val(m, "yMode") != QLatin1String("edge"))
            own.offset =
                QPointF(std::clamp(attrDouble(firstChild(m, QStringLiteral("x")), QStringLiteral("val"), 0),
                                   -1.0, 1.0),
                        std::clamp(attrDouble(firstChild(m, QStringLiteral("y")), QStringLiteral("val"), 0),
                                   -1.0, 1.0));
        s.pointLabels[index(dLbl)] = own;
    });
    return s;
}

// Category names; numbers (dates among them) in the axis' own format, else their cache's.
std::vector<QString> readCategories(const QDomElement& ser, const QString& axisFormat, bool date1904) {
    std::vector<QString> categories;
    const QDomElement cat = firstChild(ser, QStringLiteral("cat"));
    const QDomElement cache = pointCache(cat);
    const bool numbers =
        cache.localName() == QLatin1String("numCache") || cache.localName() == QLatin1String("numLit");
    const QString format =
        axisFormat.isEmpty() ? firstChild(cache, QStringLiteral("formatCode")).text() : axisFormat;
    const bool plain = format.isEmpty() || format.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
    // Files counting days from 1904 are 1462 days behind the 1900 count.
    const bool dated = format.contains(QRegularExpression(QStringLiteral("[yYdD]|m{3,}")));
    for (const auto& [idx, v] : cachedPoints(cat)) {
        if (int(categories.size()) <= idx)
            categories.resize(std::size_t(idx + 1));
        bool ok = false;
        const double d = v.toDouble(&ok);
        categories[std::size_t(idx)] =
            numbers && !plain && ok ? formatChartNumber(d + (date1904 && dated ? 1462 : 0), format) : v;
    }
    return categories;
}

// The axis element of plotArea with the given id.
QDomElement axisById(const QDomElement& plotArea, const QString& id) {
    QDomElement found;
    forEachChild(plotArea, [&](const QDomElement& e) {
        if (found.isNull() && e.localName().endsWith(QLatin1String("Ax")) && val(e, "axId") == id)
            found = e;
    });
    return found;
}

ChartAxis readAxis(const QDomElement& ax, const ChartTextStyle& base, const DrawingContext& ctx) {
    ChartAxis axis;
    axis.text = base;
    if (ax.isNull())
        return axis;
    axis.visible = !flag(ax, "delete", false) && val(ax, "tickLblPos") != QLatin1String("none");
    axis.text = readTextStyle(firstChild(ax, QStringLiteral("txPr")), base, ctx);
    // An axis whose file says nothing of its line shows a thin grey one.
    Stroke standardLine;
    standardLine.visible = true;
    standardLine.color = QColor(0x86, 0x86, 0x86);
    axis.line = readLine(firstChild(ax, QStringLiteral("spPr")), ctx).value_or(standardLine);
    const QString ticks = val(ax, "majorTickMark");
    axis.tickMarks = ticks == QLatin1String("none")    ? ChartAxis::Ticks::None
                     : ticks == QLatin1String("in")    ? ChartAxis::Ticks::Inside
                     : ticks == QLatin1String("cross") ? ChartAxis::Ticks::Cross
                                                       : ChartAxis::Ticks::Outside;
    const QDomElement grid = firstChild(ax, QStringLiteral("majorGridlines"));
    if (!grid.isNull()) {
        Stroke standard;
        standard.visible = true;
        standard.color = QColor(0x86, 0x86, 0x86);
        standard.width = 0.75;
        axis.majorGridlines = readLine(firstChild(grid, QStringLiteral("spPr")), ctx).value_or(standard);
    }
    if (const QDomElement title = firstChild(ax, QStringLiteral("title")); !title.isNull()) {
        ChartTextStyle style = base;
        style.bold = true;
        style = readTextStyle(firstChild(title, QStringLiteral("txPr")), style, ctx);
        const QDomElement tx = firstChild(title, QStringLiteral("tx"));
        axis.titleStyle = readTextStyle(firstChild(tx, QStringLiteral("rich")), style, ctx);
        axis.title = richText(tx);
    }
    axis.numberFormat = firstChild(ax, QStringLiteral("numFmt")).attribute(QStringLiteral("formatCode"));
    const QDomElement scaling = firstChild(ax, QStringLiteral("scaling"));
    auto number = [](const QDomElement& e) -> std::optional<double> {
        bool ok = false;
        const double d = e.attribute(QStringLiteral("val")).toDouble(&ok);
        return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
    };
    axis.reversed = val(scaling, "orientation") == QLatin1String("maxMin");
    axis.labelSkip = int(std::clamp<qint64>(
        attrInt(firstChild(ax, QStringLiteral("tickLblSkip")), QStringLiteral("val"), 0), 0, MaxPoints));
    axis.minimum = number(firstChild(scaling, QStringLiteral("min")));
    axis.maximum = number(firstChild(scaling, QStringLiteral("max")));
    axis.majorUnit = number(firstChild(ax, QStringLiteral("majorUnit")));
    if (axis.majorUnit && *axis.majorUnit <= 0)
        axis.majorUnit.reset();
    return axis;
}

// A c:manualLayout as fractions of the chart; empty when absent or relative to the automatic place.
QRectF manualLayout(const QDomElement& layout, bool* inner = nullptr) {
    const QDomElement m = firstChild(layout, QStringLiteral("manualLayout"));
    if (m.isNull() || val(m, "xMode") != QLatin1String("edge") || val(m, "yMode") != QLatin1String("edge"))
        return {};
    if (inner)
        *inner = val(m, "layoutTarget") != QLatin1String("outer");
    auto number = [&](const char* name) {
        return std::clamp(attrDouble(firstChild(m, QString::fromLatin1(name)), QStringLiteral("val"), 0),
                          -1.0, 2.0);
    };
    const double x = number("x"), y = number("y");
    double w = number("w"), h = number("h");
    if (val(m, "wMode") == QLatin1String("edge"))
        w -= x;
    if (val(m, "hMode") == QLatin1String("edge"))
        h -= y;
    return QRectF(x, y, std::max(w, 0.0), std::max(h, 0.0));
}

bool isPlot(const QString& n) {
    static const char* const kinds[] = {
        "barChart",   "bar3DChart",    "lineChart",  "line3DChart",  "areaChart",   "area3DChart", "pieChart",
        "pie3DChart", "doughnutChart", "ofPieChart", "scatterChart", "bubbleChart", "radarChart"};
    return std::any_of(std::begin(kinds), std::end(kinds),
                       [&](const char* k) { return n == QLatin1String(k); });
}

ChartData::Kind kindOf(const QString& n) {
    if (n.startsWith(QLatin1String("line")))
        return ChartData::Kind::Line;
    if (n.startsWith(QLatin1String("area")))
        return ChartData::Kind::Area;
    if (n == QLatin1String("doughnutChart"))
        return ChartData::Kind::Doughnut;
    if (n == QLatin1String("scatterChart"))
        return ChartData::Kind::Scatter;
    if (n == QLatin1String("bubbleChart"))
        return ChartData::Kind::Bubble;
    if (n == QLatin1String("radarChart"))
        return ChartData::Kind::Radar;
    if (n.startsWith(QLatin1String("pie")) || n == QLatin1String("ofPieChart"))
        return ChartData::Kind::Pie;
    return ChartData::Kind::Bar;
}

std::optional<ChartSeries::Kind> seriesKind(ChartData::Kind k) {
    switch (k) {
    case ChartData::Kind::Line:
    case ChartData::Kind::Scatter:
        return ChartSeries::Kind::Line;
    case ChartData::Kind::Area:
        return ChartSeries::Kind::Area;
    case ChartData::Kind::Bar:
        return ChartSeries::Kind::Bar;
    default:
        return std::nullopt;
    }
}

void readPlotOptions(ChartData& data, const QDomElement& plot) {
    const bool pie = data.kind == ChartData::Kind::Pie || data.kind == ChartData::Kind::Doughnut;
    data.varyColors = flag(plot, "varyColors", pie);
    data.horizontal = val(plot, "barDir") == QLatin1String("bar");
    const QString grouping = val(plot, "grouping");
    data.stacked = grouping == QLatin1String("stacked") || grouping == QLatin1String("percentStacked");
    data.percentStacked = grouping == QLatin1String("percentStacked");
    data.holeSize = attrDouble(firstChild(plot, QStringLiteral("holeSize")), QStringLiteral("val"), 50) / 100;
    data.firstSliceAngle =
        attrDouble(firstChild(plot, QStringLiteral("firstSliceAng")), QStringLiteral("val"), 0);
    data.bubbleScale =
        std::clamp(attrDouble(firstChild(plot, QStringLiteral("bubbleScale")), QStringLiteral("val"), 100),
                   0.0, 300.0) /
        100;
    data.bubbleWidths = val(plot, "sizeRepresents") == QLatin1String("w");
    data.radarFilled = val(plot, "radarStyle") == QLatin1String("filled");
}

void readBarOptions(ChartData& data, const QDomElement& plot) {
    data.gapWidth = std::clamp(
        attrDouble(firstChild(plot, QStringLiteral("gapWidth")), QStringLiteral("val"), 150) / 100, 0.0, 5.0);
    // Stacked bars lie on each other whatever the file says.
    data.overlap =
        data.stacked
            ? 1.0
            : std::clamp(attrDouble(firstChild(plot, QStringLiteral("overlap")), QStringLiteral("val"), 0) /
                             100,
                         -1.0, 1.0);
}

// A 3-D column plot keeps its depth; other 3-D plots are drawn flat.
std::optional<ChartDepth> readDepth(const QDomElement& chart, const QDomElement& plot) {
    const bool pie = plot.localName() == QLatin1String("pie3DChart");
    if (plot.localName() != QLatin1String("bar3DChart") && !pie)
        return std::nullopt;
    const QDomElement view = firstChild(chart, QStringLiteral("view3D"));
    auto number = [](const QDomElement& parent, const char* name, double fallback, double lo, double hi) {
        return std::clamp(
            attrDouble(firstChild(parent, QString::fromLatin1(name)), QStringLiteral("val"), fallback), lo,
            hi);
    };
    ChartDepth depth;
    depth.rotX = number(view, "rotX", pie ? 30 : depth.rotX, 0, 90);
    depth.rotY = number(view, "rotY", depth.rotY, 0, 360);
    depth.depthPercent = number(view, "depthPercent", depth.depthPercent, 20, 2000);
    depth.gapDepth = number(plot, "gapDepth", 150, 0, 500) / 100;
    return depth;
}

// Every plot of the plot area (a combination chart has several): the first sets the chart's kind
// and primary axes, a later one on other axes is measured against the secondary value axis.
void readPlots(ChartData& data, const QDomElement& plotArea, const ChartTextStyle& base,
               const DrawingContext& ctx) {
    std::vector<QDomElement> plots;
    forEachChild(plotArea, [&](const QDomElement& e) {
        if (isPlot(e.localName()))
            plots.push_back(e);
    });
    if (plots.empty())
        return;
    data.kind = kindOf(plots.front().localName());
    readPlotOptions(data, plots.front());
    if (plots.size() == 1)
        data.depth = readDepth(plotArea.parentNode().toElement(), plots.front());
    auto axisIds = [](const QDomElement& plot) {
        QStringList ids;
        forEachChild(plot, QStringLiteral("axId"),
                     [&](const QDomElement& a) { ids << a.attribute(QStringLiteral("val")); });
        return ids;
    };
    const QStringList primary = axisIds(plots.front());
    // A category axis not linked to its source formats the categories its own way.
    const QDomElement numFmt = firstChild(axisById(plotArea, primary.value(0)), QStringLiteral("numFmt"));
    const QString categoryFormat = numFmt.attribute(QStringLiteral("sourceLinked")) == QLatin1String("0")
                                       ? numFmt.attribute(QStringLiteral("formatCode"))
                                       : QString();
    const bool date1904 = flag(plotArea.parentNode().parentNode().toElement(), "date1904", false);
    bool barsRead = false;
    for (const QDomElement& plot : plots) {
        const ChartData::Kind kind = kindOf(plot.localName());
        if (kind == ChartData::Kind::Bar && !barsRead) {
            readBarOptions(data, plot);
            barsRead = true;
        }
        const bool secondary = axisIds(plot) != primary;
        if (secondary && !primary.isEmpty() && axisIds(plot).size() > 1)
            data.secondaryAxis = readAxis(axisById(plotArea, axisIds(plot).at(1)), base, ctx);
        ChartDataLabels plotLabels;
        plotLabels.text = base;
        plotLabels = readDataLabels(firstChild(plot, QStringLiteral("dLbls")), plotLabels, ctx);
        const bool autoMarkers = flag(plot, "marker", true);
        forEachChild(plot, QStringLiteral("ser"), [&](const QDomElement& ser) {
            if (int(data.series.size()) >= MaxSeries)
                return;
            ChartSeries s = readSeries(ser, plotLabels, ctx);
            if (plots.size() > 1)
                s.kind = seriesKind(kind);
            s.secondary = secondary && kind != ChartData::Kind::Pie;
            // Radar lines show markers only in the marker style.
            const bool plainRadar =
                kind == ChartData::Kind::Radar && val(plot, "radarStyle") != QLatin1String("marker");
            if (!s.marker && (!autoMarkers || plainRadar || plot.localName() == QLatin1String("line3DChart")))
                s.marker = ChartMarker{};
            if (data.categories.empty())
                data.categories = readCategories(ser, categoryFormat, date1904);
            data.series.push_back(std::move(s));
        });
    }
    if (primary.size() > 1) {
        data.categoryAxis = readAxis(axisById(plotArea, primary.at(0)), base, ctx);
        data.valueAxis = readAxis(axisById(plotArea, primary.at(1)), base, ctx);
    }
}

void readTitle(ChartData& data, const QDomElement& chart, const ChartTextStyle& base, bool baseSized,
               const DrawingContext& ctx) {
    const QDomElement title = firstChild(chart, QStringLiteral("title"));
    ChartTextStyle style = base;
    style.bold = true;
    style.size = baseSized ? base.size * 1.2 : 18;
    style = readTextStyle(firstChild(title, QStringLiteral("txPr")), style, ctx);
    const QDomElement tx = firstChild(title, QStringLiteral("tx"));
    style = readTextStyle(firstChild(tx, QStringLiteral("rich")), style, ctx);
    data.titleStyle = style;
    data.titleArea = manualLayout(firstChild(title, QStringLiteral("layout")));
    data.titleOverlay = flag(title, "overlay", false);
    if (!tx.isNull()) {
        data.title = richText(tx);
        return;
    }
    // Without text of its own a title shows the name of the chart's only series.
    if (!title.isNull() && !flag(chart, "autoTitleDeleted", false) && data.series.size() == 1)
        data.title = data.series.front().name;
}

void readLegend(ChartData& data, const QDomElement& chart, const ChartTextStyle& base,
                const DrawingContext& ctx) {
    const QDomElement legend = firstChild(chart, QStringLiteral("legend"));
    if (legend.isNull())
        return;
    const QString pos = val(legend, "legendPos");
    data.legend = pos == QLatin1String("l")    ? ChartData::Legend::Left
                  : pos == QLatin1String("t")  ? ChartData::Legend::Top
                  : pos == QLatin1String("b")  ? ChartData::Legend::Bottom
                  : pos == QLatin1String("tr") ? ChartData::Legend::TopRight
                                               : ChartData::Legend::Right;
    data.legendStyle = readTextStyle(firstChild(legend, QStringLiteral("txPr")), base, ctx);
    data.legendArea = manualLayout(firstChild(legend, QStringLiteral("layout")));
    data.legendOverlay = flag(legend, "overlay", false);
}

// A chart part may carry its own colour and font schemes, which replace the theme's for its
// shapes and text.
std::optional<Theme> themeOverride(OoxmlPackage& package, const QString& part, const Theme* theme) {
    const QString override = package.targetOfType(part, QStringLiteral("themeOverride"));
    if (override.isEmpty() || !package.zip().contains(override) || !theme)
        return std::nullopt;
    Theme copy = *theme;
    try {
        const QDomElement root = package.xml(override).documentElement();
        const QDomElement fonts = firstChild(root, QStringLiteral("fontScheme"));
        auto typeface = [&](const char* which) {
            return childPath(fonts, {QString::fromLatin1(which), QStringLiteral("latin")})
                .attribute(QStringLiteral("typeface"));
        };
        if (const QString major = typeface("majorFont"); !major.isEmpty())
            copy.majorFont = major;
        if (const QString minor = typeface("minorFont"); !minor.isEmpty())
            copy.minorFont = minor;
        const QDomElement scheme = firstChild(root, QStringLiteral("clrScheme"));
        DrawingContext plain;
        plain.package = &package;
        plain.part = override;
        forEachChild(scheme, [&](const QDomElement& c) {
            if (auto color = readColor(c, plain))
                copy.colors[c.localName()] = *color;
        });
    } catch (...) {
        return std::nullopt;
    }
    return copy;
}

ChartTextStyle baseTextStyle(const QDomElement& chartSpace, const DrawingContext& ctx, bool& sized) {
    ChartTextStyle base;
    base.family = resolveTypeface(QStringLiteral("+mn-lt"), ctx);
    base.color = schemeColor(QStringLiteral("tx1"), ctx);
    const QDomElement txPr = firstChild(chartSpace, QStringLiteral("txPr"));
    sized = childPath(txPr, {QStringLiteral("p"), QStringLiteral("pPr"), QStringLiteral("defRPr")})
                .hasAttribute(QStringLiteral("sz"));
    base = readTextStyle(txPr, base, ctx);
    base.rotation.reset();
    return base;
}

ChartData readChartData(const QDomElement& chartSpace, const DrawingContext& ctx) {
    ChartData data;
    const QDomElement chart = firstChild(chartSpace, QStringLiteral("chart"));
    bool sized = false;
    const ChartTextStyle base = baseTextStyle(chartSpace, ctx, sized);
    const QDomElement plotArea = firstChild(chart, QStringLiteral("plotArea"));
    readPlots(data, plotArea, base, ctx);
    if (data.series.empty())
        return data;
    readTitle(data, chart, base, sized, ctx);
    // Without the element lines break at missing points; with it and no value they fall to zero.
    if (const QDomElement blanks = firstChild(chart, QStringLiteral("dispBlanksAs")); !blanks.isNull()) {
        const QString how = blanks.attribute(QStringLiteral("val"), QStringLiteral("zero"));
        data.blanks = how == QLatin1String("span")  ? ChartData::Blanks::Span
                      : how == QLatin1String("gap") ? ChartData::Blanks::Gap
                                                    : ChartData::Blanks::Zero;
    }
    readLegend(data, chart, base, ctx);
    data.plotArea = manualLayout(firstChild(plotArea, QStringLiteral("layout")), &data.plotAreaIsInner);
    const QDomElement plotSpPr = firstChild(plotArea, QStringLiteral("spPr"));
    data.plotFill = readFill(plotSpPr, ctx);
    data.plotBorder = readLine(plotSpPr, ctx);
    for (int i = 1; i <= 6; ++i)
        data.palette.push_back(schemeColor(QStringLiteral("accent%1").arg(i), ctx));
    return data;
}

// Where a chart drawing anchor puts its shape, in chart points.
QRectF anchorRect(const QDomElement& anchor, const QSizeF& size) {
    auto coordinate = [&](const char* corner, const char* axis) {
        return childPath(anchor, {QString::fromLatin1(corner), QString::fromLatin1(axis)}).text().toDouble();
    };
    if (anchor.localName() == QLatin1String("relSizeAnchor"))
        return QRectF(
            QPointF(coordinate("from", "x") * size.width(), coordinate("from", "y") * size.height()),
            QPointF(coordinate("to", "x") * size.width(), coordinate("to", "y") * size.height()));
    const QDomElement ext = firstChild(anchor, QStringLiteral("ext"));
    return QRectF(coordinate("from", "x") / EmuPerPoint, coordinate("from", "y") / EmuPerPoint,
                  attrDouble(ext, QStringLiteral("cx"), 0) / EmuPerPoint,
                  attrDouble(ext, QStringLiteral("cy"), 0) / EmuPerPoint);
}

// Gives a copied shape the anchor's place as its transform (EMU, chart coordinates).
void placeShape(QDomDocument& doc, QDomElement& shape, const QRectF& r) {
    const QString a = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
    const QString propsName =
        shape.localName() == QLatin1String("grpSp") ? QStringLiteral("grpSpPr") : QStringLiteral("spPr");
    QDomElement props = firstChild(shape, propsName);
    if (props.isNull())
        props = shape.appendChild(doc.createElementNS(shape.namespaceURI(), propsName)).toElement();
    QDomElement xfrm = firstChild(props, QStringLiteral("xfrm"));
    if (xfrm.isNull())
        xfrm = props.insertBefore(doc.createElementNS(a, QStringLiteral("a:xfrm")), props.firstChild())
                   .toElement();
    for (const char* name : {"off", "ext"}) {
        QDomElement e = firstChild(xfrm, QString::fromLatin1(name));
        if (e.isNull())
            e = xfrm.appendChild(doc.createElementNS(a, QStringLiteral("a:") + QLatin1String(name)))
                    .toElement();
        const bool off = name[0] == 'o';
        const QPointF v = off ? r.topLeft() : QPointF(r.width(), r.height());
        e.setAttribute(off ? QStringLiteral("x") : QStringLiteral("cx"),
                       QString::number(qint64(v.x() * EmuPerPoint)));
        e.setAttribute(off ? QStringLiteral("y") : QStringLiteral("cy"),
                       QString::number(qint64(v.y() * EmuPerPoint)));
    }
}

// Graphic frames inside a chart's drawing are dropped: a chart there could name this chart again.
void removeFrames(QDomElement& e) {
    for (QDomElement c = e.firstChildElement(); !c.isNull();) {
        QDomElement next = c.nextSiblingElement();
        if (c.localName() == QLatin1String("graphicFrame") ||
            c.localName() == QLatin1String("AlternateContent"))
            e.removeChild(c);
        else
            removeFrames(c);
        c = next;
    }
}

// The chart's own drawing (lines, notes the author put on the chart) as a shape tree of copies
// placed by their anchors. Pictures are left out: their references belong to the drawing part.
void readUserShapes(OoxmlPackage& package, const QString& chartPart, const QSizeF& size,
                    const ShapeTreeReader& readShapes, GroupElement& group) {
    const QString part = package.targetOfType(chartPart, QStringLiteral("chartUserShapes"));
    if (!readShapes || part.isEmpty() || !package.zip().contains(part))
        return;
    QDomDocument doc;
    QDomElement tree = doc.appendChild(doc.createElement(QStringLiteral("spTree"))).toElement();
    try {
        forEachChild(package.xml(part).documentElement(), [&](const QDomElement& anchor) {
            const QRectF r = anchorRect(anchor, size);
            if (!std::isfinite(r.width()) || !std::isfinite(r.height()) || r.width() > size.width() * 100 ||
                r.height() > size.height() * 100)
                return;
            forEachChild(anchor, [&](const QDomElement& shape) {
                const QString n = shape.localName();
                if (n != QLatin1String("sp") && n != QLatin1String("cxnSp") && n != QLatin1String("grpSp"))
                    return;
                QDomElement copy = doc.importNode(shape, true).toElement();
                removeFrames(copy);
                placeShape(doc, copy, r.normalized());
                tree.appendChild(copy);
            });
        });
    } catch (...) {
        return; // a broken drawing leaves the chart itself
    }
    readShapes(tree, group.children);
}

} // namespace

std::optional<GroupElement> readChart(const QDomElement& chartRef, const ElementFrame& frame,
                                      DrawingContext ctx, const ShapeTreeReader& readShapes) {
    const QString part =
        ctx.package->target(ctx.part, attrNS(chartRef, Ooxml::Relationships, QStringLiteral("id")));
    if (part.isEmpty() || !ctx.package->zip().contains(part))
        return std::nullopt;
    QDomElement chartSpace;
    try {
        chartSpace = ctx.package->xml(part).documentElement();
    } catch (...) {
        return std::nullopt; // a broken chart is skipped like any unknown element
    }
    ctx.part = part;
    const std::optional<Theme> theme = themeOverride(*ctx.package, part, ctx.theme);
    if (theme)
        ctx.theme = &*theme;
    auto group = layoutChart(readChartData(chartSpace, ctx), frame);
    if (group)
        readUserShapes(*ctx.package, part, frame.bounds.size(), readShapes, *group);
    return group;
}

} // namespace KX::Tovrin
