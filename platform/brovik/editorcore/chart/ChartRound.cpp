#include "platform/brovik/editorcore/chart/ChartParts.h"
#include "platform/brovik/editorcore/chart/ChartText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace KX::Tovrin::ChartParts {

namespace {

// How far slice i is pulled out of the pie, as a share of the radius.
double explosion(const ChartSeries& series, std::size_t i) {
    auto it = series.explosions.find(int(i));
    if (it == series.explosions.end())
        it = series.explosions.find(-1);
    return it != series.explosions.end() ? it->second : 0;
}

} // namespace

void placePie(Layout& l, const QRectF& area) {
    const ChartData& chart = l.chart;
    const double hole = chart.kind == ChartData::Kind::Doughnut ? std::clamp(chart.holeSize, 0.1, 0.9) : 0;
    const bool outside = chart.series[0].labels.any() &&
                         chart.series[0].labels.position == ChartDataLabels::Position::OutsideEnd;
    // Without outside labels the pie fills what the title and legend leave.
    // Slices pulled out stay inside: the pie shrinks to leave them room.
    double furthest = 0;
    for (std::size_t i = 0; i < chart.series[0].values.size(); ++i)
        furthest = std::max(furthest, explosion(chart.series[0], i));
    const double r =
        std::max(1.0, std::min(area.width(), area.height()) / 2 * (outside ? 0.8 : 1.0)) / (1 + furthest);
    const QPointF centre = area.center();
    double total = 0;
    for (double v : chart.series[0].values)
        total += std::isnan(v) ? 0 : std::max(0.0, v);
    double angle = 90 - chart.firstSliceAngle;
    Stroke edge = chart.series[0].line.value_or(Stroke());
    if (!chart.series[0].line) {
        edge.visible = true;
        edge.color = Qt::white;
        edge.width = 1;
    }
    for (std::size_t i = 0; i < chart.series[0].values.size() && total > 0; ++i) {
        const double v = chart.series[0].values[i];
        const double share = std::isnan(v) ? 0 : std::max(0.0, v) / total;
        const double sweep = -360 * share;
        const double mid = (angle + sweep / 2) * std::numbers::pi / 180;
        const QPointF c =
            centre + QPointF(std::cos(mid), -std::sin(mid)) * (r * explosion(chart.series[0], i));
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
        if (chart.series[0].labelsAt(i).any() && share > 0) {
            const double at = outside ? 1.12 : hole > 0 ? (1 + hole) / 2 : 0.65;
            const QPointF p(c.x() + std::cos(mid) * r * at, c.y() - std::sin(mid) * r * at);
            const Align align = !outside ? Align::Center : std::cos(mid) >= 0 ? Align::Left : Align::Right;
            dataLabel(l, 0, i, p, align, Anchor::Middle, share);
        }
        angle += sweep;
    }
}

// -- Radar charts -----------------------------------------------------------------------------

// A web of spokes, one per category from the top clockwise, and value rings; series as closed
// lines (or filled shapes) through their points; category names beyond the spokes' ends.
void placeRadar(Layout& l, const QRectF& area) {
    const ChartData& chart = l.chart;
    const std::size_t n = std::max<std::size_t>(l.points, 1);
    const ChartTextStyle& cat = chart.categoryAxis.text;
    double widest = 0;
    for (const QString& c : chart.categories)
        widest = std::max(widest, chartTextWidth(c, cat));
    const double labelRoom = chart.categoryAxis.visible ? cat.size * LineFactor + cat.size * 0.4 : 0;
    const double r = std::min(area.width() / 2 - std::min(widest, area.width() / 4) - cat.size * 0.4,
                              area.height() / 2 - labelRoom);
    if (r < 4)
        return;
    const QPointF c = area.center();
    const Scale scale = valueScale(l, false, r);
    auto at = [&](std::size_t i, double v) {
        const double a = (90 - 360.0 * double(i) / double(n)) * std::numbers::pi / 180;
        const double t = (std::clamp(v, scale.lo, scale.hi) - scale.lo) / (scale.hi - scale.lo);
        return c + QPointF(std::cos(a), -std::sin(a)) * (r * t);
    };
    const ChartAxis& val = chart.valueAxis;
    const auto ticks = tickLabels(scale, val, chart.percentStacked);
    if (val.majorGridlines && val.majorGridlines->visible)
        for (const auto& [v, text] : ticks) {
            QPainterPath ring;
            ring.moveTo(at(0, v));
            for (std::size_t i = 1; i < n; ++i)
                ring.lineTo(at(i, v));
            ring.closeSubpath();
            l.add(pathShape(ring, Fill(), *val.majorGridlines, false));
        }
    const Stroke spoke =
        chart.categoryAxis.majorGridlines.value_or(chart.categoryAxis.line.value_or(Stroke()));
    for (std::size_t i = 0; i < n; ++i) {
        if (spoke.visible)
            l.add(line(c, at(i, scale.hi), spoke));
        if (!chart.categoryAxis.visible || i >= chart.categories.size())
            continue;
        const QPointF end = at(i, scale.hi), dir = end - c;
        const double w = chartTextWidth(chart.categories[i], cat) + cat.size * 0.4, h = cat.size * LineFactor;
        const QPointF p = end + dir / std::max(1.0, r) * (cat.size * 0.4);
        const double x = std::abs(dir.x()) < r * 0.1 ? p.x() - w / 2 : dir.x() > 0 ? p.x() : p.x() - w;
        const double y = std::abs(dir.y()) < r * 0.1 ? p.y() - h / 2 : dir.y() > 0 ? p.y() : p.y() - h;
        l.add(chartLabel(QRectF(x, y, w, h), chart.categories[i], cat, Align::Center));
    }
    if (val.visible)
        for (const auto& [v, text] : ticks) {
            const double w = chartTextWidth(text, val.text) + val.text.size;
            const QPointF p = at(0, v);
            l.add(chartLabel(
                QRectF(p.x() - w - val.text.size * 0.2, p.y() - val.text.size, w, val.text.size * 2), text,
                val.text, Align::Right));
        }
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        std::vector<QPointF> points;
        for (std::size_t i = 0; i < n; ++i) {
            const double v = l.value(s, i);
            points.push_back(std::isnan(v) ? c : at(i, v));
        }
        QPainterPath shape;
        QPolygonF polygon;
        for (const QPointF& p : points)
            polygon << p;
        shape.addPolygon(polygon);
        shape.closeSubpath();
        if (chart.radarFilled) {
            l.add(pathShape(shape, l.seriesFill(s), chart.series[s].line.value_or(Stroke()), true));
            continue;
        }
        const Stroke stroke = lineStroke(l, s);
        if (stroke.visible)
            l.add(pathShape(shape, Fill(), stroke, false));
        const ChartMarker marker = lineMarker(chart.series[s], s);
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isnan(l.value(s, i)))
                placeMarker(l, marker, points[i], l.seriesFill(s), markerEdge(l.seriesFill(s)));
    }
}

} // namespace KX::Tovrin::ChartParts
