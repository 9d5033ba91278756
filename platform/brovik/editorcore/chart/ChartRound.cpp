#include "platform/brovik/editorcore/chart/ChartParts.h"
#include "platform/brovik/editorcore/chart/ChartText.h"

#include <QTransform>
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

// How a pie is seen: its centre and radius, how much tilting it away squashes it, and how thick
// a 3-D pie stands.
struct PieView {
    QPointF centre;
    double r = 1, squash = 1, thickness = 0;
    QPointF at(QPointF c, double degrees, double radius) const {
        const double a = degrees * std::numbers::pi / 180;
        return QPointF(c.x() + std::cos(a) * radius,
                       centre.y() + (c.y() - centre.y() - std::sin(a) * radius) * squash);
    }
};

// Without outside labels the pie fills what the title and legend leave; slices pulled out stay
// inside, the pie shrinking to leave them room. A 3-D pie is tilted by its view and stands as thick
// as a fifth of its radius at full depth, seen from the side.
PieView pieView(const ChartData& chart, const QRectF& area, bool outside) {
    double furthest = 0;
    for (std::size_t i = 0; i < chart.series[0].values.size(); ++i)
        furthest = std::max(furthest, explosion(chart.series[0], i));
    PieView v;
    const double shrink = outside ? 0.8 : 1.0;
    double thick = 0;
    if (chart.depth) {
        const double tilt = chart.depth->rotX * std::numbers::pi / 180;
        v.squash = std::clamp(std::sin(tilt), 0.2, 1.0);
        thick = std::min(1.0, 0.2 * chart.depth->depthPercent / 100 * std::cos(tilt));
    }
    v.r = std::min(area.width() / 2, area.height() / (2 * v.squash + thick)) * shrink / (1 + furthest);
    v.r = std::max(1.0, v.r);
    v.thickness = thick * v.r;
    v.centre = area.center() - QPointF(0, v.thickness / 2);
    return v;
}

// The side of a 3-D slice that faces the viewer: the part of its rim in front of the centre.
void placePieWall(Layout& l, const PieView& v, QPointF c, double from, double sweep, const Fill& fill,
                  const Stroke& edge) {
    const double lo = std::min(from, from + sweep), hi = std::max(from, from + sweep);
    for (int k = -2; k <= 2; ++k) {
        const double s = std::max(lo, 180.0 + 360 * k), e = std::min(hi, 360.0 + 360 * k);
        if (e <= s)
            continue;
        QPolygonF wall;
        const int steps = std::max(2, int(std::ceil((e - s) / 5)));
        for (int i = 0; i <= steps; ++i)
            wall << v.at(c, s + (e - s) * i / steps, v.r);
        for (int i = steps; i >= 0; --i)
            wall << v.at(c, s + (e - s) * i / steps, v.r) + QPointF(0, v.thickness);
        QPainterPath path;
        path.addPolygon(wall);
        path.closeSubpath();
        Fill shaded = fill;
        if (fill.kind == Fill::Kind::Solid)
            shaded.color = fill.color.darker(130);
        l.add(pathShape(path, shaded, edge, true));
    }
}

// One ring of slices: a series' shares between inner and outer (shares of the radius); walls
// only, for a 3-D pie's first pass.
void placeSlices(Layout& l, const PieView& v, std::size_t s, double inner, double outer, bool walls,
                 bool outside) {
    const ChartData& chart = l.chart;
    const ChartSeries& series = chart.series[s];
    double total = 0;
    for (double value : series.values)
        total += std::isnan(value) ? 0 : std::max(0.0, value);
    Stroke edge = series.line.value_or(Stroke());
    if (!series.line) {
        edge.visible = true;
        edge.color = Qt::white;
        edge.width = 1;
    }
    const QTransform tilt = QTransform()
                                .translate(v.centre.x(), v.centre.y())
                                .scale(1, v.squash)
                                .translate(-v.centre.x(), -v.centre.y());
    const double r = v.r * outer;
    double angle = 90 - chart.firstSliceAngle;
    for (std::size_t i = 0; i < series.values.size() && total > 0; ++i) {
        const double value = series.values[i];
        const double share = std::isnan(value) ? 0 : std::max(0.0, value) / total;
        const double sweep = -360 * share, mid = angle + sweep / 2;
        const double rad = mid * std::numbers::pi / 180;
        const QPointF c = v.centre + QPointF(std::cos(rad), -std::sin(rad)) * (v.r * explosion(series, i));
        if (walls) {
            placePieWall(l, v, c, angle, sweep, l.pointFill(s, i), edge);
            angle += sweep;
            continue;
        }
        QPainterPath slice;
        slice.moveTo(c);
        slice.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), angle, sweep);
        slice.closeSubpath();
        if (inner > 0) {
            QPainterPath hole;
            hole.addEllipse(c, v.r * inner, v.r * inner);
            slice = slice.subtracted(hole);
        }
        l.add(pathShape(tilt.map(slice), l.pointFill(s, i), edge, true));
        if (series.labelsAt(i).any() && share > 0) {
            const double reach = outside ? outer * 1.12 : inner > 0 ? (inner + outer) / 2 : 0.65;
            const Align align = !outside ? Align::Center : std::cos(rad) >= 0 ? Align::Left : Align::Right;
            dataLabel(l, s, i, v.at(c, mid, v.r * reach), align, Anchor::Middle, share);
        }
        angle += sweep;
    }
}

// A pie shows its first series; a doughnut shows each series as a ring, the first innermost.
void placePie(Layout& l, const QRectF& area) {
    const ChartData& chart = l.chart;
    const ChartSeries& first = chart.series[0];
    const bool doughnut = chart.kind == ChartData::Kind::Doughnut;
    const double hole = doughnut ? std::clamp(chart.holeSize, 0.1, 0.9) : 0;
    const bool outside = first.labels.any() && first.labels.position == ChartDataLabels::Position::OutsideEnd;
    const PieView v = pieView(chart, area, outside);
    const std::size_t rings = doughnut ? chart.series.size() : 1;
    // Walls first, so the tops lie over them.
    if (v.thickness > 0)
        placeSlices(l, v, 0, 0, 1, true, outside);
    for (std::size_t s = 0; s < rings; ++s)
        placeSlices(l, v, s, hole + (1 - hole) * double(s) / double(rings),
                    hole + (1 - hole) * double(s + 1) / double(rings), false, outside);
}

// -- Radar charts -----------------------------------------------------------------------------

namespace {

// Where a radar puts value v on category i's spoke: from the top clockwise.
struct RadarView {
    QPointF centre;
    double r = 1;
    std::size_t spokes = 1;
    Scale scale;
    QPointF at(std::size_t i, double v) const {
        const double a = (90 - 360.0 * double(i) / double(spokes)) * std::numbers::pi / 180;
        const double t = (std::clamp(v, scale.lo, scale.hi) - scale.lo) / (scale.hi - scale.lo);
        return centre + QPointF(std::cos(a), -std::sin(a)) * (r * t);
    }
};

// The web: value rings, spokes, category names beyond the spokes' ends, values up the first spoke.
void placeRadarWeb(Layout& l, const RadarView& v) {
    const ChartData& chart = l.chart;
    const ChartTextStyle& cat = chart.categoryAxis.text;
    const ChartAxis& val = chart.valueAxis;
    const auto ticks = tickLabels(v.scale, val, chart.percentStacked);
    if (val.majorGridlines && val.majorGridlines->visible)
        for (const auto& [value, text] : ticks) {
            QPainterPath ring;
            ring.moveTo(v.at(0, value));
            for (std::size_t i = 1; i < v.spokes; ++i)
                ring.lineTo(v.at(i, value));
            ring.closeSubpath();
            l.add(pathShape(ring, Fill(), *val.majorGridlines, false));
        }
    const Stroke spoke =
        chart.categoryAxis.majorGridlines.value_or(chart.categoryAxis.line.value_or(Stroke()));
    for (std::size_t i = 0; i < v.spokes; ++i) {
        const QPointF end = v.at(i, v.scale.hi), dir = end - v.centre;
        if (spoke.visible)
            l.add(line(v.centre, end, spoke));
        if (!chart.categoryAxis.visible || i >= chart.categories.size())
            continue;
        const double w = chartTextWidth(chart.categories[i], cat) + cat.size * 0.4, h = cat.size * LineFactor;
        const QPointF p = end + dir / std::max(1.0, v.r) * (cat.size * 0.4);
        const double x = std::abs(dir.x()) < v.r * 0.1 ? p.x() - w / 2 : dir.x() > 0 ? p.x() : p.x() - w;
        const double y = std::abs(dir.y()) < v.r * 0.1 ? p.y() - h / 2 : dir.y() > 0 ? p.y() : p.y() - h;
        l.add(chartLabel(QRectF(x, y, w, h), chart.categories[i], cat, Align::Center));
    }
    if (val.visible)
        for (const auto& [value, text] : ticks) {
            const double w = chartTextWidth(text, val.text) + val.text.size;
            const QPointF p = v.at(0, value);
            l.add(chartLabel(
                QRectF(p.x() - w - val.text.size * 0.2, p.y() - val.text.size, w, val.text.size * 2), text,
                val.text, Align::Right));
        }
}

} // namespace

// Series as closed lines (or filled shapes) through their points on a web of spokes.
void placeRadar(Layout& l, const QRectF& area) {
    const ChartData& chart = l.chart;
    const ChartTextStyle& cat = chart.categoryAxis.text;
    double widest = 0;
    for (const QString& c : chart.categories)
        widest = std::max(widest, chartTextWidth(c, cat));
    const double labelRoom = chart.categoryAxis.visible ? cat.size * LineFactor + cat.size * 0.4 : 0;
    RadarView v;
    v.r = std::min(area.width() / 2 - std::min(widest, area.width() / 4) - cat.size * 0.4,
                   area.height() / 2 - labelRoom);
    if (v.r < 4)
        return;
    v.centre = area.center();
    v.spokes = std::max<std::size_t>(l.points, 1);
    v.scale = valueScale(l, false, v.r);
    placeRadarWeb(l, v);
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        QPolygonF points;
        for (std::size_t i = 0; i < v.spokes; ++i) {
            const double value = l.value(s, i);
            points << (std::isnan(value) ? v.centre : v.at(i, value));
        }
        QPainterPath shape;
        shape.addPolygon(points);
        shape.closeSubpath();
        if (chart.radarFilled) {
            l.add(pathShape(shape, l.seriesFill(s), chart.series[s].line.value_or(Stroke()), true));
            continue;
        }
        const Stroke stroke = lineStroke(l, s);
        if (stroke.visible)
            l.add(pathShape(shape, Fill(), stroke, false));
        const ChartMarker marker = lineMarker(chart.series[s], s);
        for (std::size_t i = 0; i < v.spokes; ++i)
            if (!std::isnan(l.value(s, i)))
                placeMarker(l, marker, points[int(i)], l.seriesFill(s), markerEdge(l.seriesFill(s)));
    }
}

} // namespace KX::Tovrin::ChartParts
