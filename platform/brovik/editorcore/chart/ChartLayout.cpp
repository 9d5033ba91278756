#include "platform/brovik/editorcore/chart/ChartLayout.h"

#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

namespace {
ShapeElement label(const QRectF& box, const QString& text, double size, Paragraph::Align align,
                   const QColor& color, TextBody::Anchor anchor = TextBody::Anchor::Middle) {
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

// A step of 1, 2, 2.5 or 5 times a power of ten giving five to ten divisions.
double niceStep(double range) {
    if (range <= 0 || !std::isfinite(range))
        return 1;
    const double raw = range / 7;
    const double magnitude = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * magnitude)
            return m * magnitude;
    return 10 * magnitude;
}

// What every part of the layout shares.
struct Layout {
    const ChartData& chart;
    GroupElement& group;
    double fontSize;
    std::size_t points;
    const QColor textColor{0x59, 0x59, 0x59};

    // The palette's colour for index i; later rounds darken, as the authoring programs do.
    Fill colour(std::size_t i) const {
        if (chart.palette.empty())
            return Fill::solid(Qt::gray);
        QColor c = chart.palette[i % chart.palette.size()];
        if (i >= chart.palette.size())
            c = c.darker(100 + int(i / chart.palette.size()) * 30);
        return Fill::solid(c);
    }
    bool vary() const { return chart.varyColors && chart.series.size() == 1; }
    Fill pointFill(std::size_t s, std::size_t i) const {
        const ChartSeries& series = chart.series[s];
        auto custom = series.pointFills.find(int(i));
        if (custom != series.pointFills.end())
            return custom->second;
        return vary() ? colour(i) : series.fill.value_or(colour(s));
    }
    void add(ShapeElement shape) { group.children.push_back(std::move(shape)); }
};

QRectF placeTitle(Layout& l, QRectF area) {
    if (l.chart.title.isEmpty())
        return area;
    const double th = l.fontSize * 2.2;
    l.add(label(QRectF(area.left(), area.top(), area.width(), th), l.chart.title, l.fontSize * 1.4,
                Paragraph::Align::Center, l.textColor));
    area.setTop(area.top() + th);
    return area;
}

// Categories of a chart with one colour per point, else the series.
std::vector<std::pair<QString, Fill>> legendEntries(const Layout& l) {
    std::vector<std::pair<QString, Fill>> entries;
    if (l.vary())
        for (std::size_t i = 0; i < l.points; ++i)
            entries.emplace_back(l.chart.categories[i], l.pointFill(0, i));
    else
        for (std::size_t i = 0; i < l.chart.series.size(); ++i)
            entries.emplace_back(l.chart.series[i].name.isEmpty() ? QStringLiteral("Series %1").arg(i + 1)
                                                                  : l.chart.series[i].name,
                                 l.chart.series[i].fill.value_or(l.colour(i)));
    return entries;
}

QRectF placeLegend(Layout& l, QRectF area) {
    using Legend = ChartData::Legend;
    const Legend where = l.chart.legend;
    if (where == Legend::None)
        return area;
    const auto entries = legendEntries(l);
    const double fs = l.fontSize, lineH = fs * 1.6, mark = fs * 0.7;
    if (where == Legend::Top || where == Legend::Bottom) {
        // One row, centred; entry widths estimated from their text.
        std::vector<double> widths;
        double total = 0;
        for (const auto& entry : entries) {
            widths.push_back(fs * (2.0 + 0.55 * double(entry.first.size())));
            total += widths.back();
        }
        double x = area.center().x() - std::min(total, area.width()) / 2;
        const double y = where == Legend::Bottom ? area.bottom() - lineH : area.top();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            l.add(box(QRectF(x, y + lineH * 0.25, mark, mark), entries[i].second));
            l.add(label(QRectF(x + fs, y, widths[i] - fs, lineH), entries[i].first, fs,
                        Paragraph::Align::Left, l.textColor));
            x += widths[i];
        }
        if (where == Legend::Bottom)
            area.setBottom(area.bottom() - lineH - fs * 0.3);
        else
            area.setTop(area.top() + lineH + fs * 0.3);
        return area;
    }
    const double lw = std::min(area.width() * 0.3, fs * 10);
    const double x = where == Legend::Left ? area.left() : area.right() - lw;
    double y = area.center().y() - lineH * double(entries.size()) / 2;
    for (const auto& [name, fill] : entries) {
        l.add(box(QRectF(x, y + lineH * 0.25, mark, mark), fill));
        l.add(label(QRectF(x + fs, y, lw - fs, lineH), name, fs, Paragraph::Align::Left, l.textColor));
        y += lineH;
    }
    if (where == Legend::Left)
        area.setLeft(area.left() + lw + fs);
    else
        area.setRight(area.right() - lw - fs);
    return area;
}

void placePie(Layout& l, const QRectF& area) {
    const ChartData& chart = l.chart;
    const double hole = chart.kind == ChartData::Kind::Doughnut ? std::clamp(chart.holeSize, 0.1, 0.9) : 0;
    const double r = std::max(1.0, std::min(area.width(), area.height()) / 2 * 0.95);
    const QPointF c = area.center();
    double total = 0;
    for (double v : chart.series[0].values)
        total += std::max(0.0, v);
    double angle = 90 - chart.firstSliceAngle;
    Stroke edge;
    edge.visible = true;
    edge.color = Qt::white;
    edge.width = 1;
    for (std::size_t i = 0; i < chart.series[0].values.size() && total > 0; ++i) {
        const double sweep = -360 * std::max(0.0, chart.series[0].values[i]) / total;
        QPainterPath slice;
        slice.moveTo(c);
        slice.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), angle, sweep);
        slice.closeSubpath();
        if (hole > 0) {
            QPainterPath inner;
            inner.addEllipse(c, r * hole, r * hole);
            slice = slice.subtracted(inner);
        }
        l.add(pathShape(slice, l.pointFill(0, i), edge, true));
        angle += sweep;
    }
}

// The value scale: from zero or the data's extremes (sums when stacked) to round steps.
struct Scale {
    double lo = 0, hi = 0, step = 1;
};

Scale valueScale(const Layout& l) {
    Scale s;
    for (std::size_t i = 0; i < l.points; ++i) {
        double pos = 0, neg = 0;
        for (const ChartSeries& series : l.chart.series) {
            const double v = i < series.values.size() ? series.values[i] : 0;
            if (l.chart.stacked) {
                (v >= 0 ? pos : neg) += v;
            } else {
                s.hi = std::max(s.hi, v);
                s.lo = std::min(s.lo, v);
            }
        }
        s.hi = std::max(s.hi, pos);
        s.lo = std::min(s.lo, neg);
    }
    // A twentieth of the range as headroom, so the largest value never touches the top.
    const double headroom = (s.hi - s.lo) / 20;
    s.step = niceStep(s.hi - s.lo + headroom * ((s.hi > 0) + (s.lo < 0)));
    s.hi = s.hi > 0 ? std::ceil((s.hi + headroom) / s.step) * s.step : 0;
    s.lo = s.lo < 0 ? std::floor((s.lo - headroom) / s.step) * s.step : 0;
    if (s.hi - s.lo <= 0)
        s.hi = s.lo + s.step;
    return s;
}

struct Axes {
    QRectF plot;
    Scale scale;
    double slot = 0; // room per category
    bool horizontal = false;
    double valuePos(double v) const {
        const double t = (v - scale.lo) / (scale.hi - scale.lo);
        return horizontal ? plot.left() + t * plot.width() : plot.bottom() - t * plot.height();
    }
};

void placeAxes(Layout& l, const Axes& axes) {
    const double fs = l.fontSize, labelSpace = fs * 3.5;
    const QRectF& plot = axes.plot;
    Stroke grid;
    grid.visible = true;
    grid.color = QColor(0xd9, 0xd9, 0xd9);
    grid.width = 0.75;
    const Scale& s = axes.scale;
    for (double v = s.lo; v <= s.hi + s.step / 2; v += s.step) {
        QPainterPath line;
        const double p = axes.valuePos(v);
        if (axes.horizontal) {
            line.moveTo(p, plot.top());
            line.lineTo(p, plot.bottom());
            l.add(label(QRectF(p - labelSpace / 2, plot.bottom() + 2, labelSpace, fs * 1.5),
                        formatValue(v, s.step), fs, Paragraph::Align::Center, l.textColor));
        } else {
            line.moveTo(plot.left(), p);
            line.lineTo(plot.right(), p);
            l.add(label(QRectF(plot.left() - labelSpace, p - fs, labelSpace - 4, fs * 2),
                        formatValue(v, s.step), fs, Paragraph::Align::Right, l.textColor));
        }
        l.add(pathShape(line, Fill(), grid, false));
    }
    for (std::size_t i = 0; i < l.points; ++i) {
        if (axes.horizontal)
            l.add(label(QRectF(plot.left() - labelSpace * 1.6, plot.top() + axes.slot * double(i),
                               labelSpace * 1.6 - 4, axes.slot),
                        l.chart.categories[i], fs, Paragraph::Align::Right, l.textColor));
        else
            l.add(label(QRectF(plot.left() + axes.slot * double(i), plot.bottom() + 2, axes.slot, fs * 1.5),
                        l.chart.categories[i], fs, Paragraph::Align::Center, l.textColor,
                        TextBody::Anchor::Top));
    }
}

void placeBars(Layout& l, const Axes& axes) {
    const ChartData& chart = l.chart;
    const double gap = std::clamp(chart.gapWidth, 0.0, 5.0);
    const double groups = chart.stacked ? 1 : double(chart.series.size());
    const double barWidth = axes.slot / (groups + gap);
    const QRectF& plot = axes.plot;
    for (std::size_t i = 0; i < l.points; ++i) {
        double pos = 0, neg = 0;
        for (std::size_t s = 0; s < chart.series.size(); ++s) {
            const double v = i < chart.series[s].values.size() ? chart.series[s].values[i] : 0;
            double from = 0, to = v;
            if (chart.stacked) {
                double& base = v >= 0 ? pos : neg;
                from = base;
                to = base + v;
                base = to;
            }
            const double offset =
                axes.slot * double(i) + barWidth * gap / 2 + (chart.stacked ? 0 : barWidth * double(s));
            QRectF r = axes.horizontal
                           ? QRectF(QPointF(axes.valuePos(from), plot.top() + offset),
                                    QPointF(axes.valuePos(to), plot.top() + offset + barWidth))
                           : QRectF(QPointF(plot.left() + offset, axes.valuePos(to)),
                                    QPointF(plot.left() + offset + barWidth, axes.valuePos(from)));
            r = r.normalized();
            if (r.width() > 0 && r.height() > 0)
                l.add(box(r, l.pointFill(s, i), chart.series[s].line.value_or(Stroke())));
        }
    }
}

void placeLines(Layout& l, const Axes& axes) {
    const ChartData& chart = l.chart;
    const bool area = chart.kind == ChartData::Kind::Area;
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries& series = chart.series[s];
        QPainterPath line;
        for (std::size_t i = 0; i < series.values.size(); ++i) {
            const QPointF p(axes.plot.left() + axes.slot * (double(i) + 0.5),
                            axes.valuePos(series.values[i]));
            if (i == 0)
                line.moveTo(p);
            else
                line.lineTo(p);
        }
        if (line.isEmpty())
            continue;
        if (area) {
            const double base = axes.valuePos(std::max(axes.scale.lo, 0.0));
            line.lineTo(line.currentPosition().x(), base);
            line.lineTo(axes.plot.left() + axes.slot * 0.5, base);
            line.closeSubpath();
            l.add(pathShape(line, series.fill.value_or(l.colour(s)), Stroke(), true));
            continue;
        }
        Stroke stroke = series.line.value_or(Stroke());
        if (!series.line || !stroke.visible) {
            stroke.visible = true;
            stroke.color = series.fill.value_or(l.colour(s)).color;
            stroke.width = 2.25;
        }
        stroke.join = Qt::RoundJoin;
        stroke.cap = Qt::RoundCap;
        l.add(pathShape(line, Fill(), stroke, false));
    }
}
} // namespace

std::optional<GroupElement> layoutChart(const ChartData& chart, const ElementFrame& frame) {
    if (chart.series.empty())
        return std::nullopt;
    GroupElement group;
    group.frame = frame;
    const double w = frame.bounds.width(), h = frame.bounds.height();
    if (w <= 1 || h <= 1)
        return std::nullopt;
    group.childSpace = QRectF(0, 0, w, h);
    std::size_t points = 0;
    for (const ChartSeries& s : chart.series)
        points = std::max(points, s.values.size());
    ChartData named = chart;
    named.categories.resize(points);
    for (std::size_t i = 0; i < points; ++i)
        if (named.categories[i].isEmpty())
            named.categories[i] = QString::number(i + 1);
    Layout l{named, group, std::clamp(std::min(w, h) / 25, 7.0, 14.0), points};

    QRectF area(w * 0.03, h * 0.03, w * 0.94, h * 0.94);
    area = placeLegend(l, placeTitle(l, area));
    if (chart.kind == ChartData::Kind::Pie || chart.kind == ChartData::Kind::Doughnut) {
        placePie(l, area);
        return group;
    }
    Axes axes;
    axes.horizontal = chart.horizontal;
    axes.scale = valueScale(l);
    const double fs = l.fontSize, labelSpace = fs * 3.5;
    axes.plot = area.adjusted(labelSpace * (axes.horizontal ? 1.6 : 1), fs, -fs, -fs * 2);
    if (!chart.plotArea.isEmpty()) {
        const QRectF& f = chart.plotArea;
        axes.plot =
            QRectF(f.x() * w, f.y() * h, f.width() * w, f.height() * h).intersected(QRectF(0, 0, w, h));
    }
    if (axes.plot.width() < 4 || axes.plot.height() < 4)
        return group;
    axes.slot =
        (axes.horizontal ? axes.plot.height() : axes.plot.width()) / double(std::max<std::size_t>(1, points));
    placeAxes(l, axes);
    if (chart.kind == ChartData::Kind::Bar)
        placeBars(l, axes);
    else
        placeLines(l, axes);
    return group;
}

} // namespace KX::Tovrin
