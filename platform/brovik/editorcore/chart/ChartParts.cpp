#include "platform/brovik/editorcore/chart/ChartParts.h"

#include "platform/brovik/editorcore/chart/ChartText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace KX::Tovrin::ChartParts {

ShapeElement box(const QRectF& r, const Fill& fill, const Stroke& stroke) {
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

ShapeElement line(QPointF a, QPointF b, const Stroke& stroke) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    return pathShape(path, Fill(), stroke, false);
}

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that divides the range into at most
// maxDivisions, as spreadsheet charts choose their automatic major unit.
double niceStep(double range, int maxDivisions) {
    if (range <= 0 || !std::isfinite(range))
        return 1;
    const double raw = range / std::max(1, maxDivisions);
    const double magnitude = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * magnitude * (1 + 1e-9))
            return m * magnitude;
    return 10 * magnitude;
}

} // namespace

ChartSeries::Kind kindOf(const ChartData& chart, const ChartSeries& s) {
    if (s.kind)
        return *s.kind;
    if (chart.kind == ChartData::Kind::Radar)
        return chart.radarFilled ? ChartSeries::Kind::Area : ChartSeries::Kind::Line;
    return chart.kind == ChartData::Kind::Line || chart.kind == ChartData::Kind::Scatter
               ? ChartSeries::Kind::Line
           : chart.kind == ChartData::Kind::Area ? ChartSeries::Kind::Area
                                                 : ChartSeries::Kind::Bar;
}

namespace {

// The marker a line series shows when the file leaves it to the program: the symbols in turn.
ChartMarker automaticMarker(std::size_t s) {
    using S = ChartMarker::Symbol;
    static const S symbols[] = {S::Diamond, S::Square, S::Triangle, S::Cross, S::Cross, S::Circle, S::Plus};
    ChartMarker m;
    m.symbol = symbols[s % std::size(symbols)];
    m.size = 7;
    return m;
}

} // namespace

ChartMarker lineMarker(const ChartSeries& series, std::size_t s) {
    return series.marker.value_or(automaticMarker(s));
}

Stroke lineStroke(const Layout& l, std::size_t s) {
    const ChartSeries& series = l.chart.series[s];
    Stroke stroke = series.line.value_or(Stroke());
    if (!series.line) {
        stroke.visible = true;
        stroke.color = l.seriesFill(s).color;
        stroke.width = 2.25;
    }
    stroke.join = Qt::RoundJoin;
    stroke.cap = Qt::RoundCap;
    return stroke;
}

Stroke markerEdge(const Fill& colour) {
    Stroke edge;
    edge.visible = true;
    edge.color = colour.color;
    edge.width = 0.75;
    return edge;
}

QString labelText(const Layout& l, std::size_t s, std::size_t i, double share) {
    const ChartSeries& series = l.chart.series[s];
    const ChartDataLabels& d = series.labelsAt(i);
    QStringList parts;
    if (d.seriesName)
        parts << series.name;
    if (d.category && i < l.chart.categories.size())
        parts << l.chart.categories[i];
    const double v = i < series.values.size() ? series.values[i] : std::nan("");
    if (std::isnan(v))
        return {};
    if (d.value)
        parts << formatChartNumber(v, d.numberFormat.isEmpty() ? series.numberFormat : d.numberFormat);
    if (d.percent)
        parts << formatChartNumber(share, QStringLiteral("0%"));
    return parts.join(QStringLiteral(", "));
}

void dataLabel(Layout& l, std::size_t s, std::size_t i, QPointF at, Align align, Anchor anchor,
               double share) {
    const ChartDataLabels& d = l.chart.series[s].labelsAt(i);
    const QString text = labelText(l, s, i, share);
    if (text.isEmpty())
        return;
    const QSizeF chartSize = l.group.childSpace.size();
    at += QPointF(d.offset.x() * chartSize.width(), d.offset.y() * chartSize.height());
    const double w = chartTextWidth(text, d.text) + d.text.size * 0.4;
    const double h = d.text.size * LineFactor;
    const double x = align == Align::Left ? at.x() : align == Align::Right ? at.x() - w : at.x() - w / 2;
    const double y = anchor == Anchor::Top ? at.y() : anchor == Anchor::Bottom ? at.y() - h : at.y() - h / 2;
    l.add(chartLabel(QRectF(x, y, w, h), text, d.text, Align::Center, Anchor::Middle));
}

// length: the room along the value direction, which bounds how many divisions fit.
Scale valueScale(const Layout& l, bool secondary, double length) {
    const ChartData& chart = l.chart;
    const ChartAxis& axis = secondary ? chart.secondaryAxis : chart.valueAxis;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (std::size_t i = 0; i < l.points; ++i) {
        // Stacks count from zero with their sums.
        double pos = 0, neg = 0;
        bool stack = false;
        for (std::size_t k = 0; k < chart.series.size(); ++k) {
            const ChartSeries& series = chart.series[k];
            const double v = series.secondary == secondary ? l.value(k, i) : std::nan("");
            if (std::isnan(v))
                continue;
            if (chart.stacked && kindOf(chart, series) != ChartSeries::Kind::Line) {
                (v >= 0 ? pos : neg) += v;
                stack = true;
            } else {
                hi = std::max(hi, v);
                lo = std::min(lo, v);
            }
        }
        if (stack) {
            hi = std::max(hi, pos);
            lo = std::min(lo, neg);
        }
    }
    if (!std::isfinite(lo))
        return Scale{0, 1, 1};
    return roundScale(lo, hi, axis, length);
}

// The scale across a scatter or bubble chart: its points' x values.
Scale acrossScale(const Layout& l, double length) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const ChartSeries& series : l.chart.series)
        for (double x : series.xValues)
            if (std::isfinite(x)) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return std::isfinite(lo) ? roundScale(lo, hi, l.chart.categoryAxis, length)
                             : roundScale(0, 1, l.chart.categoryAxis, length);
}

// Round steps over the data from lo to hi, as spreadsheet charts choose them unless the axis
// fixes them: a twentieth of the data's spread as room past either end, and from zero unless
// all the data lies within a sixth of its largest size (then from a round step below it).
Scale roundScale(double lo, double hi, const ChartAxis& axis, double length) {
    // Extremes a double cannot span keep the scale finite.
    lo = std::clamp(lo, -1e300, 1e300);
    hi = std::clamp(hi, -1e300, 1e300);
    const double spread = hi - lo, headroom = spread / 20;
    const bool positive = lo > 0, negative = hi < 0;
    const bool fromZero = spread <= 0 || (positive && lo < hi * 5 / 6) || (negative && hi > lo * 5 / 6);
    Scale s;
    s.lo = positive && fromZero ? 0 : lo;
    s.hi = negative && fromZero ? 0 : hi;
    if (axis.minimum)
        s.lo = *axis.minimum;
    if (axis.maximum)
        s.hi = *axis.maximum;
    if (s.hi <= s.lo)
        s.hi = s.lo + 1;
    const bool padHi = !axis.maximum && s.hi != 0, padLo = !axis.minimum && s.lo != 0;
    s.step = axis.majorUnit && (s.hi - s.lo) / *axis.majorUnit <= 200
                 ? *axis.majorUnit
                 : niceStep(s.hi - s.lo + headroom * (int(padHi) + int(padLo)),
                            std::clamp(int(length / (axis.text.size * 1.8)), 2, 10));
    if (padHi)
        s.hi = std::ceil((s.hi + headroom) / s.step - 1e-9) * s.step;
    if (padLo)
        s.lo = std::floor((s.lo - headroom) / s.step + 1e-9) * s.step;
    if (s.hi - s.lo <= 0)
        s.hi = s.lo + s.step;
    return s;
}

std::vector<std::pair<double, QString>> tickLabels(const Scale& s, const ChartAxis& axis, bool percent) {
    std::vector<std::pair<double, QString>> ticks;
    const QString format =
        percent && (axis.numberFormat.isEmpty() || axis.numberFormat == QLatin1String("General"))
            ? QStringLiteral("0%")
            : axis.numberFormat;
    for (int k = 0; k <= 200; ++k) {
        const double v = s.lo + s.step * k;
        if (v > s.hi + s.step * 1e-6)
            break;
        ticks.emplace_back(v, formatChartNumber(v, format, s.decimals()));
    }
    return ticks;
}

void placeMarker(Layout& l, const ChartMarker& m, QPointF p, const Fill& fill, const Stroke& stroke) {
    using S = ChartMarker::Symbol;
    const double r = m.size / 2;
    QPainterPath path;
    switch (m.symbol) {
    case S::None:
        return;
    case S::Circle:
        path.addEllipse(p, r, r);
        break;
    case S::Diamond:
        path.addPolygon(
            QPolygonF({p + QPointF(0, -r), p + QPointF(r, 0), p + QPointF(0, r), p + QPointF(-r, 0)}));
        path.closeSubpath();
        break;
    case S::Triangle:
        path.addPolygon(QPolygonF({p + QPointF(0, -r), p + QPointF(r, r), p + QPointF(-r, r)}));
        path.closeSubpath();
        break;
    case S::Dash:
        path.addRect(QRectF(p.x() - r, p.y() - r / 4, 2 * r, r / 2));
        break;
    case S::Cross:
    case S::Plus: {
        const double d = m.symbol == S::Cross ? r * 0.7 : 0;
        const double e = m.symbol == S::Cross ? r * 0.7 : r;
        QPainterPath cross;
        cross.moveTo(p + QPointF(-e, -d));
        cross.lineTo(p + QPointF(e, d));
        cross.moveTo(p + QPointF(d == 0 ? 0 : -e, d == 0 ? -r : e));
        cross.lineTo(p + QPointF(d == 0 ? 0 : e, d == 0 ? r : -e));
        if (m.symbol == S::Plus) {
            cross = QPainterPath();
            cross.moveTo(p + QPointF(-r, 0));
            cross.lineTo(p + QPointF(r, 0));
            cross.moveTo(p + QPointF(0, -r));
            cross.lineTo(p + QPointF(0, r));
        }
        Stroke s = m.line.value_or(stroke);
        s.visible = true;
        l.add(pathShape(cross, Fill(), s, false));
        return;
    }
    case S::Square:
        path.addRect(QRectF(p.x() - r, p.y() - r, 2 * r, 2 * r));
        break;
    }
    l.add(pathShape(path, m.fill.value_or(fill), m.line.value_or(stroke), true));
}

} // namespace KX::Tovrin::ChartParts
