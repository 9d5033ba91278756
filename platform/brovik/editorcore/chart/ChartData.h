#pragma once

#include "platform/brovik/editorcore/model/Fill.h"
#include "platform/brovik/editorcore/model/Stroke.h"

#include <QRectF>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace KX::Tovrin {

// A chart as both formats describe it, before it is laid out: its kind, data and looks.
struct ChartSeries {
    QString name;
    std::vector<double> values;
    std::optional<Fill> fill;
    std::optional<Stroke> line;
    std::map<int, Fill> pointFills; // points with a fill of their own
};

struct ChartData {
    enum class Kind { Bar, Line, Area, Pie, Doughnut };
    enum class Legend { None, Right, Left, Top, Bottom };

    Kind kind = Kind::Bar;
    bool horizontal = false; // bars grow to the right
    bool stacked = false;
    bool varyColors = false; // a single series gives each point its own colour
    double gapWidth = 1.5;   // between groups of bars, in bar widths
    double holeSize = 0.5;   // doughnuts: share of the radius
    double firstSliceAngle = 0;
    std::vector<ChartSeries> series;
    std::vector<QString> categories;
    QString title;
    Legend legend = Legend::None;
    std::vector<QColor> palette; // for series (or points) without a fill of their own, in turn
    QRectF plotArea; // where the file places the plot, as fractions of the chart; empty: automatic
};

} // namespace KX::Tovrin
