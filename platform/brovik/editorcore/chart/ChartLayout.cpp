#include "platform/brovik/editorcore/chart/ChartLayout.h"

#include "platform/brovik/editorcore/chart/ChartParts.h"
#include "platform/brovik/editorcore/chart/ChartText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
using namespace ChartParts;

struct Axes {
    QRectF plot;
    Scale scale, secondary;
    bool hasSecondary = false;
    double slot = 0; // room per category
    bool horizontal = false;
    bool reversed = false;
    std::optional<Scale> across; // scatter charts: the value scale along the bottom
    QPointF depth;               // 3-D bars: from the front of the floor to its back; null when flat
    double boxDepth = 1;         // share of that depth a column takes, centred in it
    double valuePos(double v, bool second = false) const {
        const Scale& s = second ? secondary : scale;
        const double t = (std::clamp(v, s.lo, s.hi) - s.lo) / (s.hi - s.lo);
        return horizontal ? plot.left() + t * plot.width() : plot.bottom() - t * plot.height();
    }
    double acrossPos(double x) const {
        const Scale& s = *across;
        return plot.left() + (std::clamp(x, s.lo, s.hi) - s.lo) / (s.hi - s.lo) * plot.width();
    }
    // The j-th border between category slots, counted from the axis' start.
    double boundary(std::size_t j) const {
        return horizontal ? plot.bottom() - slot * double(j) : plot.left() + slot * double(j);
    }
    // Start of category i's slot along the category direction.
    double slotStart(std::size_t i, std::size_t points) const {
        const double k = reversed ? double(points - 1 - i) : double(i);
        return horizontal ? plot.bottom() - slot * (k + 1) : plot.left() + slot * k;
    }
};

// How category labels fit under their slots: as they are, wrapped, or turned (and thinned).
struct CategoryFit {
    double rotation = 0;
    bool wrap = false;
    std::size_t skip = 1;
    double height = 0;
};

CategoryFit fitCategories(const Layout& l, double slot) {
    const ChartTextStyle& style = l.chart.categoryAxis.text;
    CategoryFit fit;
    double widest = 0, widestWord = 0;
    int lines = 1;
    for (const QString& c : l.chart.categories) {
        widest = std::max(widest, chartTextWidth(c, style));
        for (const QString& word : c.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widestWord = std::max(widestWord, chartTextWidth(word, style));
        lines = std::max(lines, chartTextLines(c, style, slot * 0.95));
    }
    const double lineH = style.size * LineFactor;
    const double angle = style.rotation.value_or(0);
    if (!style.rotation && widest <= slot * 0.95) {
        fit.height = lineH;
    } else if (!style.rotation && widestWord <= slot * 0.95 && lines <= 5) {
        fit.wrap = true;
        fit.height = lineH * lines;
    } else if (std::abs(angle) < 1 && style.rotation) {
        fit.skip = std::size_t(std::ceil(widest / std::max(1.0, slot * 0.95)));
        fit.height = lineH;
    } else {
        fit.rotation = style.rotation ? angle : -45;
        const double a = std::abs(fit.rotation) * std::numbers::pi / 180;
        fit.skip = std::size_t(std::ceil(lineH / std::max(0.1, std::sin(a)) / std::max(1.0, slot)));
        fit.height = widest * std::sin(a) + lineH * std::cos(a);
    }
    if (l.chart.categoryAxis.labelSkip > 0)
        fit.skip = std::size_t(l.chart.categoryAxis.labelSkip);
    fit.skip = std::clamp<std::size_t>(fit.skip, 1, std::max<std::size_t>(1, l.points));
    return fit;
}

double tickLabelWidth(const Layout& l, const Scale& s, const ChartAxis& axis) {
    if (!axis.visible)
        return 0;
    double widest = 0;
    for (const auto& [v, text] : tickLabels(s, axis, l.chart.percentStacked))
        widest = std::max(widest, chartTextWidth(text, axis.text));
    return widest + axis.text.size * 0.6;
}

// -- 3-D columns ------------------------------------------------------------------------------

// A value's gridline behind 3-D bars: back across the side wall (the floor, for bars lying
// down), then along the back wall.
void placeWallLine(Layout& l, const Axes& axes, double p, const Stroke& stroke) {
    const QRectF& plot = axes.plot;
    const QPointF front = axes.horizontal ? QPointF(p, plot.bottom()) : QPointF(plot.left(), p);
    const QPointF end = axes.horizontal ? QPointF(p, plot.top()) : QPointF(plot.right(), p);
    l.add(line(front, front + axes.depth, stroke));
    l.add(line(front + axes.depth, end + axes.depth, stroke));
}

// The edges of the walls and floor that the gridlines leave out.
void placeWalls(Layout& l, const Axes& axes) {
    const ChartAxis& val = l.chart.valueAxis;
    const QRectF& plot = axes.plot;
    const QPointF d = axes.depth;
    const Stroke stroke = val.majorGridlines ? *val.majorGridlines : val.line.value_or(Stroke());
    if (!stroke.visible)
        return;
    // The back wall's outline, and the edges of the floor and the side wall reaching it.
    QPainterPath back;
    back.addRect(plot.translated(d));
    l.add(pathShape(back, Fill(), stroke, false));
    for (const QPointF corner : {plot.bottomLeft(), plot.bottomRight(), plot.topLeft()})
        l.add(line(corner, corner + d, stroke));
}

// How far a 3-D plot's floor reaches back and up, from the room a category takes: a column is as
// deep as the file's share of its width, with the file's gap in front and behind.
QPointF floorDepth(const ChartData& chart, double slotWidth) {
    if (!chart.depth)
        return {};
    const ChartDepth& v = *chart.depth;
    const double columnWidth = slotWidth / (1 + std::clamp(chart.gapWidth, 0.0, 5.0));
    const double deep = columnWidth * v.depthPercent / 100 * (1 + v.gapDepth);
    const double toRad = std::numbers::pi / 180;
    return QPointF(deep * std::abs(std::sin(v.rotY * toRad)), -deep * std::sin(v.rotX * toRad));
}

// A column seen from the front, above and the right: its front, its top lit, its side shaded.
void placeColumn(Layout& l, const Axes& axes, const QRectF& front, const Fill& fill, const Stroke& stroke) {
    l.add(box(front, fill, stroke));
    const QPointF d = axes.depth * axes.boxDepth;
    if (d.isNull())
        return;
    auto face = [&](QPointF a, QPointF b, int tone) {
        QPainterPath path;
        path.moveTo(a);
        path.lineTo(b);
        path.lineTo(b + d);
        path.lineTo(a + d);
        path.closeSubpath();
        Fill shaded = fill;
        if (fill.kind == Fill::Kind::Solid)
            shaded.color = tone > 0 ? fill.color.lighter(tone) : fill.color.darker(-tone);
        l.add(pathShape(path, shaded, stroke, true));
    };
    face(front.topLeft(), front.topRight(), 115);
    face(front.topRight(), front.bottomRight(), -135);
}

void placeValueLabels(Layout& l, const Axes& axes, bool second) {
    const ChartAxis& axis = second ? l.chart.secondaryAxis : l.chart.valueAxis;
    const Scale& s = second ? axes.secondary : axes.scale;
    const QRectF& plot = axes.plot;
    const double fs = axis.text.size, gap = fs * 0.4;
    for (const auto& [v, text] : tickLabels(s, axis, l.chart.percentStacked)) {
        const double p = axes.valuePos(v, second);
        if (!second && axis.majorGridlines && axis.majorGridlines->visible && !axes.depth.isNull())
            placeWallLine(l, axes, p, *axis.majorGridlines);
        else if (!second && axis.majorGridlines && axis.majorGridlines->visible)
            l.add(axes.horizontal
                      ? line(QPointF(p, plot.top()), QPointF(p, plot.bottom()), *axis.majorGridlines)
                      : line(QPointF(plot.left(), p), QPointF(plot.right(), p), *axis.majorGridlines));
        if (!axis.visible)
            continue;
        const double w = chartTextWidth(text, axis.text) + fs;
        // Bars lying down show their second scale along the top.
        if (axes.horizontal && second)
            l.add(chartLabel(QRectF(p - w / 2, plot.top() - gap - fs * LineFactor, w, fs * LineFactor), text,
                             axis.text, Align::Center));
        else if (axes.horizontal)
            l.add(chartLabel(QRectF(p - w / 2, plot.bottom() + gap, w, fs * LineFactor), text, axis.text,
                             Align::Center));
        else if (second)
            l.add(chartLabel(QRectF(plot.right() + gap, p - fs, w, fs * 2), text, axis.text, Align::Left));
        else
            l.add(
                chartLabel(QRectF(plot.left() - gap - w, p - fs, w, fs * 2), text, axis.text, Align::Right));
    }
}

void placeCategoryLabel(Layout& l, const Axes& axes, const CategoryFit& fit, std::size_t i) {
    const ChartTextStyle& style = l.chart.categoryAxis.text;
    const QString& text = l.chart.categories[i];
    const double fs = style.size, gap = fs * 0.4;
    const double start = axes.slotStart(i, l.points);
    const QRectF& plot = axes.plot;
    if (axes.horizontal) {
        const double w = std::min(chartTextWidth(text, style) + fs, plot.left());
        l.add(chartLabel(QRectF(plot.left() - gap - w, start, w, axes.slot), text, style, Align::Right,
                         Anchor::Middle, true));
        return;
    }
    if (fit.rotation == 0) {
        const double w = fit.wrap ? axes.slot * 0.95 : std::max(axes.slot, chartTextWidth(text, style) + fs);
        l.add(chartLabel(QRectF(start + axes.slot / 2 - w / 2, plot.bottom() + gap, w, fit.height), text,
                         style, Align::Center, Anchor::Top, fit.wrap));
        return;
    }
    // Turned text ends (or, turned the other way, starts) at its tick.
    const double length = chartTextWidth(text, style) + fs * 0.3, h = fs * LineFactor;
    const double a = fit.rotation * std::numbers::pi / 180;
    const QPointF dir(std::cos(a), std::sin(a));
    const double x = start + axes.slot / 2;
    const QPointF end(x, plot.bottom() + gap + h / 2);
    const QPointF centre = fit.rotation < 0 ? end - dir * (length / 2) : end + dir * (length / 2);
    l.add(chartLabel(QRectF(centre.x() - length / 2, centre.y() - h / 2, length, h), text, style,
                     fit.rotation < 0 ? Align::Right : Align::Left, Anchor::Middle, false, fit.rotation));
}

// How far tick marks reach out of and into the plot.
std::pair<double, double> tickReach(ChartAxis::Ticks ticks) {
    constexpr double Length = 4;
    switch (ticks) {
    case ChartAxis::Ticks::Outside:
        return {Length, 0};
    case ChartAxis::Ticks::Inside:
        return {0, Length};
    case ChartAxis::Ticks::Cross:
        return {Length, Length};
    default:
        return {0, 0};
    }
}

// Where the category axis has its ticks (with the ends) or gridlines (without): between the
// categories, or at a scatter chart's round values.
std::vector<double> categoryLines(const Layout& l, const Axes& axes, bool ends) {
    std::vector<double> at;
    if (axes.across) {
        for (const auto& [v, text] : tickLabels(*axes.across, l.chart.categoryAxis, false))
            if (ends || (v > axes.across->lo && v < axes.across->hi))
                at.push_back(axes.acrossPos(v));
        return at;
    }
    for (std::size_t i = ends ? 0 : 1; l.points > 0 && i <= (ends ? l.points : l.points - 1); ++i)
        at.push_back(axes.boundary(i));
    return at;
}

// A scatter chart's values along the bottom.
void placeAcrossLabels(Layout& l, const Axes& axes) {
    const ChartAxis& axis = l.chart.categoryAxis;
    const double fs = axis.text.size, gap = fs * 0.4;
    for (const auto& [v, text] : tickLabels(*axes.across, axis, false)) {
        const double w = chartTextWidth(text, axis.text) + fs, p = axes.acrossPos(v);
        l.add(chartLabel(QRectF(p - w / 2, axes.plot.bottom() + gap, w, fs * LineFactor), text, axis.text,
                         Align::Center));
    }
}

void placeTickMarks(Layout& l, const Axes& axes, double zero) {
    const QRectF& plot = axes.plot;
    const ChartAxis& cat = l.chart.categoryAxis;
    const ChartAxis& val = l.chart.valueAxis;
    if (val.line && val.line->visible && val.tickMarks != ChartAxis::Ticks::None) {
        const auto [out, in] = tickReach(val.tickMarks);
        for (const auto& [v, text] : tickLabels(axes.scale, val, l.chart.percentStacked)) {
            const double p = axes.valuePos(v);
            l.add(axes.horizontal
                      ? line(QPointF(p, plot.bottom() - in), QPointF(p, plot.bottom() + out), *val.line)
                      : line(QPointF(plot.left() - out, p), QPointF(plot.left() + in, p), *val.line));
        }
    }
    if (cat.line && cat.line->visible && cat.tickMarks != ChartAxis::Ticks::None) {
        const auto [out, in] = tickReach(cat.tickMarks);
        for (const double p : categoryLines(l, axes, true)) {
            l.add(axes.horizontal ? line(QPointF(zero - out, p), QPointF(zero + in, p), *cat.line)
                                  : line(QPointF(p, zero - in), QPointF(p, zero + out), *cat.line));
        }
    }
}

void placeAxisLines(Layout& l, const Axes& axes) {
    const QRectF& plot = axes.plot;
    const ChartAxis& cat = l.chart.categoryAxis;
    const ChartAxis& val = l.chart.valueAxis;
    if (cat.majorGridlines && cat.majorGridlines->visible)
        for (const double p : categoryLines(l, axes, false)) {
            l.add(axes.horizontal
                      ? line(QPointF(plot.left(), p), QPointF(plot.right(), p), *cat.majorGridlines)
                      : line(QPointF(p, plot.top()), QPointF(p, plot.bottom()), *cat.majorGridlines));
        }
    const double zero = axes.valuePos(std::clamp(0.0, axes.scale.lo, axes.scale.hi));
    if (cat.line && cat.line->visible)
        l.add(axes.horizontal ? line(QPointF(zero, plot.top()), QPointF(zero, plot.bottom()), *cat.line)
                              : line(QPointF(plot.left(), zero), QPointF(plot.right(), zero), *cat.line));
    if (val.line && val.line->visible)
        l.add(axes.horizontal ? line(plot.bottomLeft(), plot.bottomRight(), *val.line)
                              : line(plot.topLeft(), plot.bottomLeft(), *val.line));
    placeTickMarks(l, axes, zero);
}

// -- Bars, lines and areas --------------------------------------------------------------------

// Where a drawn point stands: along the category direction, and its value (a bar's end).
struct PointAnchor {
    std::size_t series, point;
    double along, value;
};

void placeBars(Layout& l, const Axes& axes, std::vector<PointAnchor>& anchors) {
    const ChartData& chart = l.chart;
    std::vector<std::size_t> bars;
    for (std::size_t s = 0; s < chart.series.size(); ++s)
        if (kindOf(chart, chart.series[s]) == ChartSeries::Kind::Bar)
            bars.push_back(s);
    if (bars.empty())
        return;
    const double n = chart.stacked ? 1 : double(bars.size());
    const double overlap = chart.stacked ? 1 : std::clamp(chart.overlap, -1.0, 1.0);
    const double barWidth = axes.slot / (n - (n - 1) * overlap + std::clamp(chart.gapWidth, 0.0, 5.0));
    const double groupWidth = barWidth * (n - (n - 1) * overlap);
    for (std::size_t i = 0; i < l.points; ++i) {
        double pos = 0, neg = 0;
        for (std::size_t k = 0; k < bars.size(); ++k) {
            const std::size_t s = bars[k];
            const double v = l.value(s, i);
            if (std::isnan(v))
                continue;
            double from = 0, to = v;
            if (chart.stacked) {
                double& base = v >= 0 ? pos : neg;
                from = base;
                to = base + v;
                base = to;
            }
            const double step =
                chart.stacked ? 0
                              : barWidth * (1 - overlap) * double(axes.horizontal ? bars.size() - 1 - k : k);
            const double offset = axes.slotStart(i, l.points) + (axes.slot - groupWidth) / 2 + step;
            const bool second = chart.series[s].secondary;
            QRectF r = axes.horizontal ? QRectF(QPointF(axes.valuePos(from, second), offset),
                                                QPointF(axes.valuePos(to, second), offset + barWidth))
                                       : QRectF(QPointF(offset, axes.valuePos(to, second)),
                                                QPointF(offset + barWidth, axes.valuePos(from, second)));
            r = r.normalized().translated(axes.depth * ((1 - axes.boxDepth) / 2));
            if (r.width() > 0 && r.height() > 0)
                placeColumn(l, axes, r, l.pointFill(s, i), chart.series[s].line.value_or(Stroke()));
            anchors.push_back({s, i, axes.horizontal ? r.center().y() : r.center().x(), to});
            // A label stands on a 3-D column's top.
            const QPointF top = axes.depth * axes.boxDepth;
            if (axes.horizontal)
                r.adjust(0, top.y() / 2, to >= from ? top.x() : 0, top.y() / 2);
            else
                r.adjust(top.x() / 2, to >= from ? top.y() : 0, top.x() / 2, 0);
            if (!chart.series[s].labelsAt(i).any())
                continue;
            using P = ChartDataLabels::Position;
            P where = chart.series[s].labelsAt(i).position;
            if (where == P::Auto)
                where = chart.stacked ? P::Center : P::OutsideEnd;
            const bool up = to >= from;
            if (axes.horizontal) {
                const double endX = up ? r.right() : r.left();
                const Align a = where == P::Center               ? Align::Center
                                : (where == P::OutsideEnd) == up ? Align::Left
                                                                 : Align::Right;
                dataLabel(l, s, i, QPointF(where == P::Center ? r.center().x() : endX, r.center().y()), a,
                          Anchor::Middle);
            } else {
                const double endY = up ? r.top() : r.bottom();
                const Anchor a = where == P::Center               ? Anchor::Middle
                                 : (where == P::OutsideEnd) == up ? Anchor::Bottom
                                                                  : Anchor::Top;
                dataLabel(l, s, i, QPointF(r.center().x(), where == P::Center ? r.center().y() : endY),
                          Align::Center, a);
            }
        }
    }
}

// One unbroken stretch of a line: straight from point to point, or a smooth curve through them
// whose tangent at each point runs parallel to its neighbours' chord.
void addLineRun(QPainterPath& path, const std::vector<QPointF>& run, bool smooth) {
    path.moveTo(run.front());
    for (std::size_t i = 1; i < run.size(); ++i) {
        if (!smooth || run.size() < 3) {
            path.lineTo(run[i]);
            continue;
        }
        const QPointF& before = run[i > 1 ? i - 2 : 0];
        const QPointF& after = run[std::min(i + 1, run.size() - 1)];
        path.cubicTo(run[i - 1] + (run[i] - before) / 6, run[i] - (after - run[i - 1]) / 6, run[i]);
    }
}

// A line point's label where the file puts it: right of the point unless it asks for above,
// below, left or on it; reach: from the point to the label's near edge.
void placePointLabel(Layout& l, std::size_t s, std::size_t i, QPointF p, double reach) {
    using P = ChartDataLabels::Position;
    switch (l.chart.series[s].labelsAt(i).position) {
    case P::Above:
        dataLabel(l, s, i, p - QPointF(0, reach), Align::Center, Anchor::Bottom);
        break;
    case P::Below:
        dataLabel(l, s, i, p + QPointF(0, reach), Align::Center, Anchor::Top);
        break;
    case P::Left:
        dataLabel(l, s, i, p - QPointF(reach, 0), Align::Right, Anchor::Middle);
        break;
    case P::Center:
        dataLabel(l, s, i, p, Align::Center, Anchor::Middle);
        break;
    default:
        dataLabel(l, s, i, p + QPointF(reach, 0), Align::Left, Anchor::Middle);
    }
}

// Points without a value (NaN) break the line.
void placeLine(Layout& l, std::size_t s, const std::vector<QPointF>& points) {
    const ChartSeries& series = l.chart.series[s];
    const Fill colour = l.seriesFill(s);
    const Stroke stroke = lineStroke(l, s);
    if (stroke.visible && points.size() > 1) {
        QPainterPath path;
        std::vector<QPointF> run;
        for (std::size_t i = 0; i <= points.size(); ++i) {
            const bool gap = i == points.size() || std::isnan(points[i].x()) || std::isnan(points[i].y());
            // Lines asked to span their gaps run on to the next point.
            if (gap && i < points.size() && l.chart.blanks == ChartData::Blanks::Span)
                continue;
            if (!gap) {
                run.push_back(points[i]);
                continue;
            }
            if (run.size() > 1)
                addLineRun(path, run, series.smooth);
            run.clear();
        }
        if (!path.isEmpty())
            l.add(pathShape(path, Fill(), stroke, false));
    }
    const ChartMarker marker = lineMarker(series, s);
    const Stroke edge = markerEdge(colour);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (std::isnan(points[i].x()) || std::isnan(points[i].y()))
            continue;
        const auto own = series.pointMarkers.find(int(i));
        const ChartMarker& m = own != series.pointMarkers.end() ? own->second : marker;
        placeMarker(l, m, points[i], colour, edge);
        if (series.labelsAt(i).any())
            placePointLabel(l, s, i, points[i], m.size / 2 + 2);
    }
}

void placeLines(Layout& l, const Axes& axes, std::vector<PointAnchor>& anchors) {
    const ChartData& chart = l.chart;
    std::vector<double> stackBase(l.points, 0);
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries& series = chart.series[s];
        const ChartSeries::Kind kind = kindOf(chart, series);
        if (kind == ChartSeries::Kind::Bar)
            continue;
        std::vector<QPointF> points;
        std::vector<QPointF> base;
        for (std::size_t i = 0; i < series.values.size() && i < l.points; ++i) {
            double v = l.value(s, i);
            const bool gap = std::isnan(v);
            if (gap && kind == ChartSeries::Kind::Line && chart.blanks != ChartData::Blanks::Zero) {
                points.emplace_back(std::nan(""), std::nan(""));
                base.push_back(points.back());
                continue;
            }
            if (gap)
                v = 0;
            const double from = chart.stacked && kind == ChartSeries::Kind::Area ? stackBase[i] : 0;
            if (chart.stacked && kind == ChartSeries::Kind::Area)
                stackBase[i] = v = from + v;
            const bool across = axes.across && i < series.xValues.size();
            if (across && !std::isfinite(series.xValues[i])) {
                points.emplace_back(std::nan(""), std::nan(""));
                base.push_back(points.back());
                continue;
            }
            const double c =
                across ? axes.acrossPos(series.xValues[i]) : axes.slotStart(i, l.points) + axes.slot / 2;
            const double p = axes.valuePos(v, series.secondary), b = axes.valuePos(from, series.secondary);
            if (!gap)
                anchors.push_back({s, i, c, v});
            points.push_back(axes.horizontal ? QPointF(p, c) : QPointF(c, p));
            base.push_back(axes.horizontal ? QPointF(b, c) : QPointF(c, b));
        }
        if (points.empty())
            continue;
        if (kind == ChartSeries::Kind::Line) {
            placeLine(l, s, points);
            continue;
        }
        QPainterPath area;
        area.moveTo(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            area.lineTo(points[i]);
        for (std::size_t i = base.size(); i-- > 0;)
            area.lineTo(base[i]);
        area.closeSubpath();
        l.add(pathShape(area, series.fill.value_or(l.colour(s)), series.line.value_or(Stroke()), true));
    }
}

// Circles at their points, the largest a quarter of the plot's shorter side wide (times the
// file's scale), the others by area or width. Sizes of zero or less show nothing.
void placeBubbles(Layout& l, const Axes& axes) {
    const ChartData& chart = l.chart;
    double largest = 0;
    for (const ChartSeries& series : chart.series)
        for (double size : series.bubbleSizes)
            if (std::isfinite(size))
                largest = std::max(largest, size);
    if (largest <= 0)
        return;
    const double full = std::min(axes.plot.width(), axes.plot.height()) / 8 * chart.bubbleScale;
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries& series = chart.series[s];
        for (std::size_t i = 0; i < series.values.size() && i < series.bubbleSizes.size(); ++i) {
            const double size = series.bubbleSizes[i], y = series.values[i];
            const double x = i < series.xValues.size() ? series.xValues[i] : double(i + 1);
            if (!(size > 0) || !std::isfinite(x) || !std::isfinite(y))
                continue;
            const double share = size / largest;
            const double r = full * (chart.bubbleWidths ? share : std::sqrt(share));
            const QPointF at(axes.acrossPos(x), axes.valuePos(y, series.secondary));
            QPainterPath circle;
            circle.addEllipse(at, r, r);
            l.add(pathShape(circle, l.pointFill(s, i), series.line.value_or(Stroke()), true));
            if (series.labelsAt(i).any())
                dataLabel(l, s, i, at, Align::Center, Anchor::Middle);
        }
    }
}

// -- Axis titles ------------------------------------------------------------------------------

const ChartAxis& leftAxis(const ChartData& chart) {
    return chart.horizontal ? chart.categoryAxis : chart.valueAxis;
}
const ChartAxis& bottomAxis(const ChartData& chart) {
    return chart.horizontal ? chart.valueAxis : chart.categoryAxis;
}

// An axis title's turn: the file's, else upright beside the plot and level below it.
double titleTurn(const ChartAxis& axis, bool beside) {
    return axis.titleStyle.rotation.value_or(beside ? -90 : 0);
}

// The room an axis title takes across its side of the plot: its lines, or its length when a
// title beside the plot stands level.
double axisTitleRoom(const ChartAxis& axis, bool beside) {
    if (axis.title.trimmed().isEmpty())
        return 0;
    const ChartTextStyle& style = axis.titleStyle;
    const bool upright = std::abs(std::sin(titleTurn(axis, beside) * std::numbers::pi / 180)) > 0.7;
    const double thickness = chartTextLines(axis.title, style, 1e9) * style.size * LineFactor;
    const double length = chartTextWidth(axis.title, style) + style.size * 0.5;
    return (beside == upright ? thickness : length) + style.size * 0.4;
}

// Tick labels' room left of and below the plot.
QSizeF labelRoom(const Layout& l, const Axes& axes, const CategoryFit& fit) {
    const ChartData& chart = l.chart;
    const double catSize = chart.categoryAxis.text.size;
    if (!axes.horizontal)
        return QSizeF(tickLabelWidth(l, axes.scale, chart.valueAxis),
                      chart.categoryAxis.visible ? fit.height + catSize * 0.6 : 0);
    double widest = 0;
    for (const QString& c : chart.categories)
        widest = std::max(widest, chartTextWidth(c, chart.categoryAxis.text));
    return QSizeF(chart.categoryAxis.visible ? std::min(widest + catSize, axes.plot.left()) : 0,
                  chart.valueAxis.visible ? chart.valueAxis.text.size * 1.6 : 0);
}

// The titles of the axes left of and below the plot, beyond their tick labels.
void placeAxisTitles(Layout& l, const Axes& axes, const CategoryFit& fit) {
    const QSizeF room = labelRoom(l, axes, fit);
    const QRectF& plot = axes.plot;
    for (const bool beside : {true, false}) {
        const ChartAxis& axis = beside ? leftAxis(l.chart) : bottomAxis(l.chart);
        if (axis.title.trimmed().isEmpty())
            continue;
        const ChartTextStyle& style = axis.titleStyle;
        const double turn = titleTurn(axis, beside);
        const double thickness = chartTextLines(axis.title, style, 1e9) * style.size * LineFactor;
        const double length = chartTextWidth(axis.title, style) + style.size * 0.5;
        const double across = axisTitleRoom(axis, beside) - style.size * 0.4;
        const QPointF centre =
            beside
                ? QPointF(plot.left() - room.width() - style.size * 0.2 - across / 2, plot.center().y())
                : QPointF(plot.center().x(), plot.bottom() + room.height() + style.size * 0.2 + across / 2);
        l.add(chartLabel(QRectF(centre.x() - length / 2, centre.y() - thickness / 2, length, thickness),
                         axis.title, style, Align::Center, Anchor::Middle, false, turn));
    }
}

// Trends fitted through series: x counts categories from 1, or is a scatter point's own.
void placeTrendlines(Layout& l, const Axes& axes) {
    const std::size_t n = std::max<std::size_t>(l.points, 1);
    const double first = axes.slotStart(0, n) + axes.slot / 2;
    const double step =
        n > 1 ? axes.slotStart(1, n) + axes.slot / 2 - first : (axes.horizontal ? -1 : 1) * axes.slot;
    for (std::size_t s = 0; s < l.chart.series.size(); ++s) {
        const ChartSeries& series = l.chart.series[s];
        std::vector<std::pair<double, double>> data;
        for (std::size_t i = 0; i < series.values.size(); ++i)
            data.emplace_back(axes.across && i < series.xValues.size() ? series.xValues[i] : double(i + 1),
                              series.values[i]);
        for (const ChartSeriesTrend& trend : series.trendlines) {
            QPainterPath path;
            for (const auto& [x, y] : trendPoints(trend.fit, data)) {
                const double along = axes.across ? axes.acrossPos(x) : first + (x - 1) * step;
                const double value = axes.valuePos(y, series.secondary);
                const QPointF p = axes.horizontal ? QPointF(value, along) : QPointF(along, value);
                if (path.elementCount() == 0)
                    path.moveTo(p);
                else
                    path.lineTo(p);
            }
            Stroke stroke = trend.line.value_or(Stroke());
            if (!trend.line) {
                stroke.visible = true;
                stroke.color = l.seriesFill(s).color;
                stroke.width = 1.5;
            }
            if (path.elementCount() > 1 && stroke.visible)
                l.add(pathShape(path, Fill(), stroke, false));
        }
    }
}

// How far a point's error bar reaches below and above its value (the centre it stands on may be
// the series' mean, for standard deviations).
struct ErrorReach {
    double centre, minus, plus;
};

ErrorReach errorReach(const ChartSeries& series, const ChartErrorBars& bars, std::size_t i, double v) {
    using A = ChartErrorBars::Amount;
    double n = 0, sum = 0, squares = 0;
    for (double y : series.values)
        if (std::isfinite(y)) {
            ++n;
            sum += y;
            squares += y * y;
        }
    const double mean = n > 0 ? sum / n : 0;
    ErrorReach r{v, bars.value, bars.value};
    switch (bars.amount) {
    case A::Fixed:
        break;
    case A::Percentage:
        r.minus = r.plus = std::abs(v) * bars.value / 100;
        break;
    case A::StdErr:
        r.minus = r.plus = n > 1 ? std::sqrt(squares / (n * (n - 1))) : 0;
        break;
    case A::StdDev:
        r.centre = mean;
        r.minus = r.plus =
            n > 1 ? bars.value * std::sqrt(std::max(0.0, squares - n * mean * mean) / (n - 1)) : 0;
        break;
    case A::Custom: {
        auto at = [&](const std::vector<double>& values) {
            return i < values.size() && std::isfinite(values[i]) ? values[i] : 0.0;
        };
        r.minus = at(bars.minusValues);
        r.plus = at(bars.plusValues);
        break;
    }
    }
    if (!bars.minus)
        r.minus = 0;
    if (!bars.plus)
        r.plus = 0;
    return r;
}

// Error bars across the value direction at each drawn point, with caps at their ends.
void placeErrorBars(Layout& l, const Axes& axes, const std::vector<PointAnchor>& anchors) {
    constexpr double Cap = 3.5; // half a cap's length
    for (const PointAnchor& a : anchors) {
        const ChartSeries& series = l.chart.series[a.series];
        if (!series.errorBars)
            continue;
        const ChartErrorBars& bars = *series.errorBars;
        Stroke stroke = bars.line.value_or(Stroke());
        if (!bars.line) {
            stroke.visible = true;
            stroke.color = Qt::black;
            stroke.width = 0.75;
        }
        if (!stroke.visible)
            continue;
        const ErrorReach r = errorReach(series, bars, a.point, a.value);
        auto at = [&](double v, double across) {
            const double p = axes.valuePos(v, series.secondary);
            return axes.horizontal ? QPointF(p, a.along + across) : QPointF(a.along + across, p);
        };
        const double lo = r.centre - r.minus, hi = r.centre + r.plus;
        if (hi > lo)
            l.add(line(at(lo, 0), at(hi, 0), stroke));
        for (const auto& [end, shown] : {std::pair{lo, r.minus > 0}, std::pair{hi, r.plus > 0}})
            if (bars.caps && shown)
                l.add(line(at(end, -Cap), at(end, Cap), stroke));
    }
}

// The plot rectangle: the file's own, or what title, legend and tick labels leave.
QRectF plotRect(const Layout& l, const QRectF& area, const Axes& axes, const QSizeF& size, CategoryFit& fit) {
    const ChartData& chart = l.chart;
    const double valueRoom = tickLabelWidth(l, axes.scale, chart.valueAxis);
    const double secondRoom = axes.hasSecondary ? tickLabelWidth(l, axes.secondary, chart.secondaryAxis) : 0;
    const double catSize = chart.categoryAxis.text.size;
    const bool manual = !chart.plotArea.isEmpty();
    QRectF outer = area;
    if (manual) {
        const QRectF& f = chart.plotArea;
        outer = QRectF(f.x() * size.width(), f.y() * size.height(), f.width() * size.width(),
                       f.height() * size.height())
                    .intersected(QRectF(QPointF(0, 0), size));
        if (chart.plotAreaIsInner) {
            fit = fitCategories(l, (axes.horizontal ? outer.height() : outer.width()) /
                                       double(std::max<std::size_t>(1, l.points)));
            return outer;
        }
    }
    QRectF plot = outer;
    plot.setLeft(plot.left() + axisTitleRoom(leftAxis(chart), true));
    plot.setBottom(plot.bottom() - axisTitleRoom(bottomAxis(chart), false));
    if (axes.horizontal) {
        double widest = 0;
        for (const QString& c : chart.categories)
            widest = std::max(widest, chartTextWidth(c, chart.categoryAxis.text));
        plot.setLeft(plot.left() +
                     (chart.categoryAxis.visible ? std::min(widest + catSize, outer.width() * 0.4) : 0));
        plot.setBottom(plot.bottom() - (chart.valueAxis.visible ? chart.valueAxis.text.size * 1.6 : 0));
        plot.setRight(plot.right() - catSize);
        const bool secondLabels = axes.hasSecondary && chart.secondaryAxis.visible;
        plot.setTop(plot.top() + (secondLabels ? chart.secondaryAxis.text.size * 1.6 : catSize * 0.5));
        return plot;
    }
    plot.setLeft(plot.left() + valueRoom);
    plot.setRight(plot.right() - (axes.hasSecondary ? secondRoom : catSize));
    plot.setTop(plot.top() + chart.valueAxis.text.size * 0.6);
    if (axes.across)
        fit.height = catSize * LineFactor;
    else
        fit = fitCategories(l, plot.width() / double(std::max<std::size_t>(1, l.points)));
    if (chart.categoryAxis.visible)
        plot.setBottom(plot.bottom() - std::min(fit.height + catSize * 0.6, outer.height() * 0.45));
    return plot;
}

void placePlotArea(Layout& l, const QRectF& area, const QSizeF& size) {
    const ChartData& chart = l.chart;
    Axes axes;
    axes.horizontal = chart.horizontal;
    axes.reversed = chart.categoryAxis.reversed;
    const double valueLength = chart.horizontal ? area.width() : area.height();
    axes.scale = valueScale(l, false, valueLength);
    axes.hasSecondary = std::any_of(chart.series.begin(), chart.series.end(),
                                    [](const ChartSeries& s) { return s.secondary; });
    if (axes.hasSecondary)
        axes.secondary = valueScale(l, true, valueLength);
    if (chart.kind == ChartData::Kind::Scatter || chart.kind == ChartData::Kind::Bubble)
        axes.across = acrossScale(l, area.width());
    CategoryFit fit;
    axes.plot = plotRect(l, area, axes, size, fit);
    if (axes.plot.width() < 4 || axes.plot.height() < 4)
        return;
    if (chart.depth) {
        // The front of the floor is what the walls behind it leave.
        const double n = double(std::max<std::size_t>(1, l.points));
        const QPointF unit = floorDepth(chart, 1);
        axes.depth = axes.horizontal ? unit * (axes.plot.height() / (n - unit.y()))
                                     : unit * (axes.plot.width() / (n + unit.x()));
        axes.depth.setX(std::min(axes.depth.x(), axes.plot.width() / 3));
        axes.depth.setY(std::max(axes.depth.y(), -axes.plot.height() / 3));
        axes.plot.adjust(0, -axes.depth.y(), -axes.depth.x(), 0);
        axes.boxDepth = 1 / (1 + chart.depth->gapDepth);
    }
    axes.slot = (axes.horizontal ? axes.plot.height() : axes.plot.width()) /
                double(std::max<std::size_t>(1, l.points));
    if (chart.plotFill || chart.plotBorder)
        l.add(box(axes.plot, chart.plotFill.value_or(Fill()), chart.plotBorder.value_or(Stroke())));
    placeValueLabels(l, axes, false);
    if (axes.hasSecondary)
        placeValueLabels(l, axes, true);
    if (!axes.depth.isNull())
        placeWalls(l, axes);
    placeAxisLines(l, axes);
    if (chart.categoryAxis.visible && axes.across)
        placeAcrossLabels(l, axes);
    else if (chart.categoryAxis.visible)
        for (std::size_t i = 0; i < l.points; i += fit.skip)
            placeCategoryLabel(l, axes, fit, i);
    placeAxisTitles(l, axes, fit);
    if (chart.kind == ChartData::Kind::Bubble) {
        placeBubbles(l, axes);
        return;
    }
    std::vector<PointAnchor> anchors;
    placeBars(l, axes, anchors);
    placeLines(l, axes, anchors);
    placeTrendlines(l, axes);
    placeErrorBars(l, axes, anchors);
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
    Layout l{named, group, points};

    const QSizeF size(w, h);
    const double margin = std::min(w, h) * 0.03;
    QRectF area(margin, margin, w - 2 * margin, h - 2 * margin);
    const QRectF titled = placeTitle(l, area, size);
    if (!chart.titleOverlay)
        area = titled;
    const QRectF legended = placeLegend(l, area, size);
    if (!chart.legendOverlay)
        area = legended;
    if (chart.kind == ChartData::Kind::Pie || chart.kind == ChartData::Kind::Doughnut)
        placePie(l, area);
    else if (chart.kind == ChartData::Kind::Radar)
        placeRadar(l, area);
    else
        placePlotArea(l, area, size);
    return group;
}

} // namespace KX::Tovrin
