#include "platform/brovik/editorcore/pptx/PptxChart.h"

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

struct Series {
    QString name;
    std::vector<double> values;
    std::optional<Fill> fill;
    std::optional<Stroke> line;
    std::map<int, Fill> pointFills;
};

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

ShapeElement label(const QRectF& box, const QString& text, double size, Paragraph::Align align,
                   const QColor& color, TextBody::Anchor anchor = TextBody::Anchor::Middle,
                   bool bold = false) {
    ShapeElement shape;
    shape.frame.bounds = box;
    TextBody body;
    body.insets = QMarginsF(0, 0, 0, 0);
    body.anchor = anchor;
    body.wrap = false;
    Paragraph p;
    p.align = align;
    TextRun run;
    run.text = text;
    run.size = size;
    run.bold = bold;
    run.color = color;
    run.family = QStringLiteral("Calibri");
    p.runs.push_back(run);
    p.endFormat = run;
    body.paragraphs.push_back(p);
    shape.text = body;
    return shape;
}

ShapeElement box(const QRectF& r, const Fill& fill, const Stroke& stroke = {}) {
    ShapeElement shape;
    shape.frame.bounds = r;
    GeometryPath p;
    p.path.addRect(QRectF(QPointF(0, 0), r.size()));
    shape.geometry.push_back(p);
    shape.fill = fill;
    shape.stroke = stroke;
    return shape;
}

ShapeElement pathShape(const QPainterPath& path, const Fill& fill, const Stroke& stroke, bool closed) {
    ShapeElement shape;
    const QRectF bounds = path.boundingRect();
    shape.frame.bounds = QRectF(bounds.topLeft(), bounds.size().expandedTo(QSizeF(0.01, 0.01)));
    GeometryPath p;
    p.path = path.translated(-bounds.topLeft());
    p.closed = closed;
    p.filled = closed;
    shape.geometry.push_back(p);
    shape.fill = fill;
    shape.stroke = stroke;
    return shape;
}

QString formatValue(double v, double step) {
    // Rounded to the scale's step so binary fractions do not show as long decimals.
    const double rounded = step > 0 ? std::round(v / step) * step : v;
    return QString::number(std::abs(rounded) < step * 1e-6 ? 0.0 : rounded, 'g', 6);
}

// A step of 1, 2 or 5 times a power of ten giving about five divisions.
double niceStep(double range) {
    if (range <= 0 || !std::isfinite(range))
        return 1;
    const double raw = range / 5;
    const double magnitude = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * magnitude)
            return m * magnitude;
    return 10 * magnitude;
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

    std::vector<Series> series;
    std::vector<QString> categories;
    forEachChild(plot, QStringLiteral("ser"), [&](const QDomElement& ser) {
        if (int(series.size()) >= MaxSeries)
            return;
        Series s;
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
    if (series.empty())
        return std::nullopt;
    std::size_t points = 0;
    for (const Series& s : series)
        points = std::max(points, s.values.size());
    categories.resize(points);
    for (std::size_t i = 0; i < points; ++i)
        if (categories[i].isEmpty())
            categories[i] = QString::number(i + 1);

    auto accent = [&](std::size_t i) {
        QColor c = schemeColor(QStringLiteral("accent%1").arg(i % 6 + 1), ctx);
        if (i >= 6) // later rounds of the palette darken, as the authoring programs do
            c = c.darker(100 + int(i / 6) * 30);
        return Fill::solid(c);
    };
    const bool pie = kind.startsWith(QLatin1String("pie")) || kind == QLatin1String("doughnutChart");
    const bool vary = attrBool(firstChild(plot, QStringLiteral("varyColors")), QStringLiteral("val"), pie) &&
                      series.size() == 1;

    GroupElement group;
    group.frame = frame;
    const double w = frame.bounds.width();
    const double h = frame.bounds.height();
    group.childSpace = QRectF(0, 0, w, h);
    if (w <= 1 || h <= 1)
        return std::nullopt;
    const QColor textColor(0x59, 0x59, 0x59);
    const double fontSize = std::clamp(std::min(w, h) / 25, 7.0, 14.0);

    QRectF area(w * 0.03, h * 0.03, w * 0.94, h * 0.94);
    // Title: explicit text, or the single series' name when the chart asks for an automatic one.
    const QDomElement title = firstChild(chart, QStringLiteral("title"));
    const bool titleDeleted =
        attrBool(firstChild(chart, QStringLiteral("autoTitleDeleted")), QStringLiteral("val"), false);
    QString titleText = richText(firstChild(title, QStringLiteral("tx")));
    if (titleText.isEmpty() && !title.isNull() && !titleDeleted && series.size() == 1)
        titleText = series.front().name;
    if (!titleText.isEmpty()) {
        const double th = fontSize * 2.2;
        group.children.push_back(label(QRectF(area.left(), area.top(), area.width(), th), titleText,
                                       fontSize * 1.4, Paragraph::Align::Center, textColor));
        area.setTop(area.top() + th);
    }
    // Legend on the right: categories of a single-colour-per-point chart, else the series.
    const QDomElement legend = firstChild(chart, QStringLiteral("legend"));
    if (!legend.isNull()) {
        std::vector<std::pair<QString, Fill>> entries;
        if (vary)
            for (std::size_t i = 0; i < points; ++i) {
                auto custom = series[0].pointFills.find(int(i));
                entries.emplace_back(categories[i],
                                     custom != series[0].pointFills.end() ? custom->second : accent(i));
            }
        else
            for (std::size_t i = 0; i < series.size(); ++i)
                entries.emplace_back(series[i].name.isEmpty() ? QStringLiteral("Series %1").arg(i + 1)
                                                              : series[i].name,
                                     series[i].fill.value_or(accent(i)));
        const double lw = std::min(area.width() * 0.3, fontSize * 10);
        const double lineH = fontSize * 1.6;
        double y = area.center().y() - lineH * double(entries.size()) / 2;
        for (const auto& [name, fill] : entries) {
            group.children.push_back(
                box(QRectF(area.right() - lw, y + lineH * 0.25, fontSize * 0.7, fontSize * 0.7), fill));
            group.children.push_back(label(QRectF(area.right() - lw + fontSize, y, lw - fontSize, lineH),
                                           name, fontSize, Paragraph::Align::Left, textColor));
            y += lineH;
        }
        area.setRight(area.right() - lw - fontSize);
    }

    if (pie) {
        const double hole = kind == QLatin1String("doughnutChart")
                                ? std::clamp(attrDouble(firstChild(plot, QStringLiteral("holeSize")),
                                                        QStringLiteral("val"), 50),
                                             10.0, 90.0) /
                                      100
                                : 0;
        const double r = std::max(1.0, std::min(area.width(), area.height()) / 2 * 0.95);
        const QPointF c = area.center();
        double total = 0;
        for (double v : series[0].values)
            total += std::max(0.0, v);
        double angle =
            90 - attrDouble(firstChild(plot, QStringLiteral("firstSliceAng")), QStringLiteral("val"), 0);
        Stroke edge;
        edge.visible = true;
        edge.color = Qt::white;
        edge.width = 1;
        for (std::size_t i = 0; i < series[0].values.size() && total > 0; ++i) {
            const double sweep = -360 * std::max(0.0, series[0].values[i]) / total;
            QPainterPath slice;
            const QRectF outer(c.x() - r, c.y() - r, 2 * r, 2 * r);
            slice.moveTo(c);
            slice.arcTo(outer, angle, sweep);
            slice.closeSubpath();
            if (hole > 0) {
                QPainterPath inner;
                inner.addEllipse(c, r * hole, r * hole);
                slice = slice.subtracted(inner);
            }
            auto custom = series[0].pointFills.find(int(i));
            const Fill fill = custom != series[0].pointFills.end() ? custom->second
                              : vary                               ? accent(i)
                                                                   : series[0].fill.value_or(accent(0));
            group.children.push_back(pathShape(slice, fill, edge, true));
            angle += sweep;
        }
        return group;
    }

    // Axes: categories along one side, values along the other, from zero or the data's extremes.
    const bool horizontal =
        attrBool(firstChild(plot, QStringLiteral("barDir")), QStringLiteral("val"), false) ||
        firstChild(plot, QStringLiteral("barDir")).attribute(QStringLiteral("val")) == QLatin1String("bar");
    const QString grouping = firstChild(plot, QStringLiteral("grouping")).attribute(QStringLiteral("val"));
    const bool stacked = grouping == QLatin1String("stacked") || grouping == QLatin1String("percentStacked");
    const bool bars = kind.startsWith(QLatin1String("bar"));
    double lo = 0, hi = 0;
    for (std::size_t i = 0; i < points; ++i) {
        double pos = 0, neg = 0;
        for (const Series& s : series) {
            const double v = i < s.values.size() ? s.values[i] : 0;
            if (stacked)
                (v >= 0 ? pos : neg) += v;
            else {
                hi = std::max(hi, v);
                lo = std::min(lo, v);
            }
        }
        hi = std::max(hi, pos);
        lo = std::min(lo, neg);
    }
    const double step = niceStep(hi - lo);
    hi = std::ceil(hi / step) * step;
    lo = std::floor(lo / step) * step;
    if (hi - lo <= 0)
        hi = lo + step;

    const double labelSpace = fontSize * 3.5;
    QRectF plotRect = area.adjusted(labelSpace, fontSize, -fontSize, -fontSize * 2);
    if (horizontal)
        plotRect = area.adjusted(labelSpace * 1.6, fontSize, -fontSize, -fontSize * 2);
    if (plotRect.width() < 4 || plotRect.height() < 4)
        return group;
    Stroke grid;
    grid.visible = true;
    grid.color = QColor(0xd9, 0xd9, 0xd9);
    grid.width = 0.75;
    auto valuePos = [&](double v) {
        const double t = (v - lo) / (hi - lo);
        return horizontal ? plotRect.left() + t * plotRect.width()
                          : plotRect.bottom() - t * plotRect.height();
    };
    for (double v = lo; v <= hi + step / 2; v += step) {
        QPainterPath line;
        const double p = valuePos(v);
        if (horizontal) {
            line.moveTo(p, plotRect.top());
            line.lineTo(p, plotRect.bottom());
            group.children.push_back(
                label(QRectF(p - labelSpace / 2, plotRect.bottom() + 2, labelSpace, fontSize * 1.5),
                      formatValue(v, step), fontSize, Paragraph::Align::Center, textColor));
        } else {
            line.moveTo(plotRect.left(), p);
            line.lineTo(plotRect.right(), p);
            group.children.push_back(label(QRectF(area.left(), p - fontSize, labelSpace - 4, fontSize * 2),
                                           formatValue(v, step), fontSize, Paragraph::Align::Right,
                                           textColor));
        }
        group.children.push_back(pathShape(line, Fill(), grid, false));
    }
    const double slot =
        (horizontal ? plotRect.height() : plotRect.width()) / double(std::max<std::size_t>(1, points));
    for (std::size_t i = 0; i < points; ++i) {
        if (horizontal)
            group.children.push_back(
                label(QRectF(area.left(), plotRect.top() + slot * double(i), labelSpace * 1.6 - 4, slot),
                      categories[i], fontSize, Paragraph::Align::Right, textColor));
        else
            group.children.push_back(
                label(QRectF(plotRect.left() + slot * double(i), plotRect.bottom() + 2, slot, fontSize * 1.5),
                      categories[i], fontSize, Paragraph::Align::Center, textColor, TextBody::Anchor::Top));
    }

    if (bars) {
        const double gap =
            std::clamp(attrDouble(firstChild(plot, QStringLiteral("gapWidth")), QStringLiteral("val"), 150),
                       0.0, 500.0) /
            100;
        const double groups = stacked ? 1 : double(series.size());
        const double barWidth = slot / (groups + gap);
        for (std::size_t i = 0; i < points; ++i) {
            double pos = 0, neg = 0;
            for (std::size_t s = 0; s < series.size(); ++s) {
                const double v = i < series[s].values.size() ? series[s].values[i] : 0;
                double from = 0, to = v;
                if (stacked) {
                    double& base = v >= 0 ? pos : neg;
                    from = base;
                    to = base + v;
                    base = to;
                }
                const double offset =
                    slot * double(i) + barWidth * gap / 2 + (stacked ? 0 : barWidth * double(s));
                auto custom = series[s].pointFills.find(int(i));
                const Fill fill = custom != series[s].pointFills.end() ? custom->second
                                  : vary                               ? accent(i)
                                                                       : series[s].fill.value_or(accent(s));
                QRectF r = horizontal ? QRectF(QPointF(valuePos(from), plotRect.top() + offset),
                                               QPointF(valuePos(to), plotRect.top() + offset + barWidth))
                                      : QRectF(QPointF(plotRect.left() + offset, valuePos(to)),
                                               QPointF(plotRect.left() + offset + barWidth, valuePos(from)));
                r = r.normalized();
                if (r.width() > 0 && r.height() > 0)
                    group.children.push_back(box(r, fill, series[s].line.value_or(Stroke())));
            }
        }
    } else {
        const bool area = kind == QLatin1String("areaChart");
        for (std::size_t s = 0; s < series.size(); ++s) {
            QPainterPath line;
            for (std::size_t i = 0; i < series[s].values.size(); ++i) {
                const QPointF p(plotRect.left() + slot * (double(i) + 0.5), valuePos(series[s].values[i]));
                if (i == 0)
                    line.moveTo(p);
                else
                    line.lineTo(p);
            }
            if (line.isEmpty())
                continue;
            Stroke stroke = series[s].line.value_or(Stroke());
            if (!series[s].line || !stroke.visible) {
                stroke.visible = true;
                stroke.color = series[s].fill.value_or(accent(s)).color;
                stroke.width = 2.25;
            }
            stroke.join = Qt::RoundJoin;
            stroke.cap = Qt::RoundCap;
            if (area) {
                line.lineTo(line.currentPosition().x(), valuePos(std::max(lo, 0.0)));
                line.lineTo(plotRect.left() + slot * 0.5, valuePos(std::max(lo, 0.0)));
                line.closeSubpath();
                group.children.push_back(pathShape(line, series[s].fill.value_or(accent(s)), Stroke(), true));
            } else {
                group.children.push_back(pathShape(line, Fill(), stroke, false));
            }
        }
    }
    return group;
}

} // namespace KX::Tovrin
