#include "platform/brovik/editorcore/pptx/PptxChart.h"

#include "platform/brovik/editorcore/chart/ChartLayout.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"

#include <cmath>
#include <map>
#include <numbers>

namespace KX::Tovrin {

namespace {
const char* const RelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr int MaxPoints = 2000;
constexpr int MaxSeries = 64;

// Values of a c:strCache or c:numCache by point index.
std::map<int, QString> cachedPoints(const QDomElement& ref) {
    std::map<int, QString> points;
    QDomElement cache;
    for (const char* holder : {"strRef", "numRef", "strLit", "numLit", "multiLvlStrRef"}) {
        const QDomElement h =
            ref.localName() == QLatin1String(holder) ? ref : firstChild(ref, QString::fromLatin1(holder));
        if (h.isNull())
            continue;
        cache = firstChild(h, QStringLiteral("strCache"), QStringLiteral("numCache"));
        if (cache.isNull())
            cache = h;
        if (h.localName() == QLatin1String("multiLvlStrRef"))
            cache = childPath(h, {QStringLiteral("multiLvlStrCache"), QStringLiteral("lvl")});
        break;
    }
    forEachChild(cache, QStringLiteral("pt"), [&](const QDomElement& pt) {
        const qint64 idx = attrInt(pt, QStringLiteral("idx"), -1);
        if (idx >= 0 && idx < MaxPoints)
            points[int(idx)] = firstChild(pt, QStringLiteral("v")).text();
    });
    return points;
}

QString richText(const QDomElement& e) {
    QStringList parts;
    std::function<void(const QDomElement&, int)> walk = [&](const QDomElement& n, int depth) {
        if (depth > 12)
            return;
        for (QDomElement c = n.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
            if (c.localName() == QLatin1String("t") || c.localName() == QLatin1String("v"))
                parts << c.text();
            else
                walk(c, depth + 1);
        }
    };
    walk(e, 0);
    return parts.join(QString());
}

} // namespace

std::optional<GroupElement> readChart(const QDomElement& chartRef, const ElementFrame& frame,
                                      DrawingContext ctx) {
    const QString part = ctx.package->target(ctx.part, attrNS(chartRef, RelNs, QStringLiteral("id")));
    if (part.isEmpty() || !ctx.package->zip().contains(part))
        return std::nullopt;
    QDomElement chart;
    try {
        chart = firstChild(ctx.package->xml(part).documentElement(), QStringLiteral("chart"));
    } catch (...) {
        return std::nullopt; // a broken chart is skipped like any unknown element
    }
    ctx.part = part;
    const QDomElement plotArea = firstChild(chart, QStringLiteral("plotArea"));
    QDomElement plot;
    QString kind;
    forEachChild(plotArea, [&](const QDomElement& e) {
        const QString n = e.localName();
        if (plot.isNull() && (n == QLatin1String("barChart") || n == QLatin1String("bar3DChart") ||
                              n == QLatin1String("lineChart") || n == QLatin1String("line3DChart") ||
                              n == QLatin1String("areaChart") || n == QLatin1String("pieChart") ||
                              n == QLatin1String("pie3DChart") || n == QLatin1String("doughnutChart"))) {
            plot = e;
            kind = n;
        }
    });
    if (plot.isNull())
        return std::nullopt;

    std::vector<ChartSeries> series;
    std::vector<QString> categories;
    forEachChild(plot, QStringLiteral("ser"), [&](const QDomElement& ser) {
        if (int(series.size()) >= MaxSeries)
            return;
        ChartSeries s;
        s.name = richText(firstChild(ser, QStringLiteral("tx")));
        const auto values = cachedPoints(firstChild(ser, QStringLiteral("val")));
        const auto cats = cachedPoints(firstChild(ser, QStringLiteral("cat")));
        int count = 0;
        for (const auto& [idx, v] : values)
            count = std::max(count, idx + 1);
        s.values.assign(std::size_t(count), 0);
        for (const auto& [idx, v] : values) {
            bool ok = false;
            const double d = v.toDouble(&ok);
            s.values[std::size_t(idx)] = ok && std::isfinite(d) ? d : 0;
        }
        if (categories.empty())
            for (const auto& [idx, v] : cats) {
                if (int(categories.size()) <= idx)
                    categories.resize(std::size_t(idx + 1));
                categories[std::size_t(idx)] = v;
            }
        const QDomElement spPr = firstChild(ser, QStringLiteral("spPr"));
        s.fill = readFill(spPr, ctx);
        const QDomElement ln = firstChild(spPr, QStringLiteral("ln"));
        if (!ln.isNull()) {
            Stroke visible;
            visible.visible = true;
            s.line = readStroke(ln, ctx, visible);
        }
        forEachChild(ser, QStringLiteral("dPt"), [&](const QDomElement& dPt) {
            if (auto f = readFill(firstChild(dPt, QStringLiteral("spPr")), ctx))
                s.pointFills[int(
                    attrInt(firstChild(dPt, QStringLiteral("idx")), QStringLiteral("val"), -1))] = *f;
        });
        series.push_back(std::move(s));
    });
    ChartData data;
    data.series = std::move(series);
    data.categories = std::move(categories);
    if (kind.startsWith(QLatin1String("line")))
        data.kind = ChartData::Kind::Line;
    else if (kind == QLatin1String("areaChart"))
        data.kind = ChartData::Kind::Area;
    else if (kind == QLatin1String("doughnutChart"))
        data.kind = ChartData::Kind::Doughnut;
    else if (kind.startsWith(QLatin1String("pie")))
        data.kind = ChartData::Kind::Pie;
    const bool pie = data.kind == ChartData::Kind::Pie || data.kind == ChartData::Kind::Doughnut;
    data.varyColors = attrBool(firstChild(plot, QStringLiteral("varyColors")), QStringLiteral("val"), pie);
    data.horizontal =
        firstChild(plot, QStringLiteral("barDir")).attribute(QStringLiteral("val")) == QLatin1String("bar");
    const QString grouping = firstChild(plot, QStringLiteral("grouping")).attribute(QStringLiteral("val"));
    data.stacked = grouping == QLatin1String("stacked") || grouping == QLatin1String("percentStacked");
    data.gapWidth =
        attrDouble(firstChild(plot, QStringLiteral("gapWidth")), QStringLiteral("val"), 150) / 100;
    data.holeSize = attrDouble(firstChild(plot, QStringLiteral("holeSize")), QStringLiteral("val"), 50) / 100;
    data.firstSliceAngle =
        attrDouble(firstChild(plot, QStringLiteral("firstSliceAng")), QStringLiteral("val"), 0);
    for (int i = 1; i <= 6; ++i)
        data.palette.push_back(schemeColor(QStringLiteral("accent%1").arg(i), ctx));

    // Title: explicit text, or the single series' name when the chart asks for an automatic one.
    const QDomElement title = firstChild(chart, QStringLiteral("title"));
    const bool titleDeleted =
        attrBool(firstChild(chart, QStringLiteral("autoTitleDeleted")), QStringLiteral("val"), false);
    data.title = richText(firstChild(title, QStringLiteral("tx")));
    if (data.title.isEmpty() && !title.isNull() && !titleDeleted && data.series.size() == 1)
        data.title = data.series.front().name;
    const QDomElement legend = firstChild(chart, QStringLiteral("legend"));
    if (!legend.isNull()) {
        const QString pos = firstChild(legend, QStringLiteral("legendPos")).attribute(QStringLiteral("val"));
        data.legend = pos == QLatin1String("l")   ? ChartData::Legend::Left
                      : pos == QLatin1String("t") ? ChartData::Legend::Top
                      : pos == QLatin1String("b") ? ChartData::Legend::Bottom
                                                  : ChartData::Legend::Right;
    }
    return layoutChart(data, frame);
}

} // namespace KX::Tovrin
