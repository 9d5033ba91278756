#pragma once

#include "platform/brovik/editorcore/chart/ChartData.h"
#include "platform/brovik/editorcore/model/SlideElement.h"

#include <QPainterPath>
#include <cmath>
#include <utility>
#include <vector>

// What the parts of a chart's layout share: the shapes they are drawn with, series colours and
// markers, data labels and value scales.
namespace KX::Tovrin::ChartParts {

using Align = Paragraph::Align;
using Anchor = TextBody::Anchor;
constexpr double LineFactor = 1.2; // line height per point of text

ShapeElement box(const QRectF& r, const Fill& fill, const Stroke& stroke = {});
ShapeElement pathShape(const QPainterPath& path, const Fill& fill, const Stroke& stroke, bool closed);
ShapeElement line(QPointF a, QPointF b, const Stroke& stroke);

// How a series is drawn: its own kind in a combined chart, else the chart's.
ChartSeries::Kind kindOf(const ChartData& chart, const ChartSeries& s);

// The value scale: from zero or the data's extremes (sums when stacked) to round steps, unless
// the axis fixes them.
struct Scale {
    double lo = 0, hi = 0, step = 1;
    int decimals() const { return std::max(0, int(std::ceil(-std::log10(step) - 1e-9))); }
};

// What every part of the layout shares.
struct Layout {
    const ChartData& chart;
    GroupElement& group;
    std::size_t points;

    // The palette's colour for index i; later rounds darken, as the authoring programs do.
    Fill colour(std::size_t i) const {
        if (chart.palette.empty())
            return Fill::solid(Qt::gray);
        QColor c = chart.palette[i % chart.palette.size()];
        if (i >= chart.palette.size())
            c = c.darker(100 + int(i / chart.palette.size()) * 30);
        return Fill::solid(c);
    }
    // One colour per point: a single series, or a doughnut's rings alike.
    bool vary() const {
        return chart.varyColors && (chart.series.size() == 1 || chart.kind == ChartData::Kind::Doughnut);
    }
    Fill seriesFill(std::size_t s) const {
        const ChartSeries& series = chart.series[s];
        if (kindOf(chart, series) == ChartSeries::Kind::Line && series.line && series.line->visible)
            return Fill::solid(series.line->color);
        return series.fill.value_or(colour(s));
    }
    Fill pointFill(std::size_t s, std::size_t i) const {
        const ChartSeries& series = chart.series[s];
        auto custom = series.pointFills.find(int(i));
        if (custom != series.pointFills.end())
            return custom->second;
        return vary() ? colour(i) : seriesFill(s);
    }
    void add(ShapeElement shape) { group.children.push_back(std::move(shape)); }
    double value(std::size_t s, std::size_t i) const {
        const auto& values = chart.series[s].values;
        if (i >= values.size() || std::isnan(values[i]))
            return std::nan("");
        if (!chart.percentStacked)
            return values[i];
        double total = 0;
        for (const ChartSeries& other : chart.series)
            if (i < other.values.size() && !std::isnan(other.values[i]))
                total += std::abs(other.values[i]);
        return total > 0 ? values[i] / total : 0;
    }
};

ChartMarker lineMarker(const ChartSeries& series, std::size_t s);
Stroke lineStroke(const Layout& l, std::size_t s);
Stroke markerEdge(const Fill& colour);
void placeMarker(Layout& l, const ChartMarker& m, QPointF p, const Fill& fill, const Stroke& stroke);

// Series s's label text for point i (share: of the whole, for percentages).
QString labelText(const Layout& l, std::size_t s, std::size_t i, double share);
// Point i's data label, its box aligned to at as align and anchor say.
void dataLabel(Layout& l, std::size_t s, std::size_t i, QPointF at, Align align, Anchor anchor,
               double share = 0);

// length: the room along the scale, which bounds how many divisions fit.
Scale valueScale(const Layout& l, bool secondary, double length);
Scale acrossScale(const Layout& l, double length);
Scale roundScale(double lo, double hi, const ChartAxis& axis, double length);
std::vector<std::pair<double, QString>> tickLabels(const Scale& s, const ChartAxis& axis, bool percent);

// Title and legend take their room from area and return what is left.
QRectF placeTitle(Layout& l, QRectF area, const QSizeF& size);
QRectF placeLegend(Layout& l, QRectF area, const QSizeF& size);

// Charts drawn around a centre: pies and doughnuts, radars.
void placePie(Layout& l, const QRectF& area);
void placeRadar(Layout& l, const QRectF& area);

} // namespace KX::Tovrin::ChartParts
