#pragma once

#include "platform/brovik/editorcore/chart/ChartTrend.h"
#include "platform/brovik/editorcore/model/Fill.h"
#include "platform/brovik/editorcore/model/Stroke.h"

#include <QRectF>
#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace KX::Tovrin {

// How one kind of chart text looks (title, legend, tick labels, data labels).
struct ChartTextStyle {
    QString family = QStringLiteral("Calibri");
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    QColor color{0x59, 0x59, 0x59};
    std::optional<double> rotation; // degrees clockwise; unset: the layout decides
};

// Which parts of a point a data label shows, and how.
struct ChartDataLabels {
    enum class Position { Auto, Center, InsideEnd, InsideBase, OutsideEnd, Above, Below, Left, Right };
    bool value = false;
    bool percent = false;
    bool category = false;
    bool seriesName = false;
    Position position = Position::Auto;
    QString numberFormat; // empty: the values' own format
    ChartTextStyle text;
    QPointF offset; // moved from its automatic place by these shares of the chart's width and height
    bool any() const { return value || percent || category || seriesName; }
};

struct ChartMarker {
    enum class Symbol { None, Square, Diamond, Triangle, Circle, Cross, Plus, Dash };
    Symbol symbol = Symbol::None;
    double size = 5; // points
    std::optional<Fill> fill;
    std::optional<Stroke> line;
};

struct ChartSeriesTrend {
    ChartTrendline fit;
    std::optional<Stroke> line; // unset: the series' colour
};

// Error bars along the value axis, as spreadsheet charts size them.
struct ChartErrorBars {
    enum class Amount { Fixed, Percentage, StdDev, StdErr, Custom };
    Amount amount = Amount::Fixed;
    double value = 1; // the fixed amount, per cent, or number of standard deviations
    bool plus = true, minus = true;
    bool caps = true;
    std::vector<double> plusValues, minusValues; // custom amounts per point
    std::optional<Stroke> line;                  // unset: thin black
};

struct ChartSeries {
    enum class Kind { Bar, Line, Area };
    QString name;
    std::vector<double> values;  // NaN: no value, a gap
    std::vector<double> xValues; // scatter and bubble charts: where each point stands across
    std::vector<double> bubbleSizes;
    bool smooth = false; // lines: a smooth curve through the points
    std::optional<Fill> fill;
    std::optional<Stroke> line;
    std::map<int, Fill> pointFills;    // points with a fill of their own
    std::map<int, double> explosions;  // pie slices pulled out, by shares of the radius; -1: all
    std::optional<Kind> kind;          // set in a chart that mixes kinds; unset: the chart's own
    bool secondary = false;            // measured against the second value axis
    std::optional<ChartMarker> marker; // lines: unset gives the automatic marker
    ChartDataLabels labels;
    std::map<int, ChartDataLabels> pointLabels; // points whose label differs from the series'
    std::map<int, ChartMarker> pointMarkers;    // points whose marker differs
    std::vector<ChartSeriesTrend> trendlines;
    std::optional<ChartErrorBars> errorBars;
    QString numberFormat; // of the cached values
    const ChartDataLabels& labelsAt(std::size_t i) const {
        const auto it = pointLabels.find(int(i));
        return it != pointLabels.end() ? it->second : labels;
    }
};

struct ChartAxis {
    bool visible = true;
    ChartTextStyle text;
    enum class Ticks { None, Outside, Inside, Cross };
    std::optional<Stroke> line;           // the axis line itself
    Ticks tickMarks = Ticks::None;        // drawn with the axis line
    std::optional<Stroke> majorGridlines; // unset: none
    QString numberFormat;                 // tick labels; empty or "General": automatic
    std::optional<double> minimum, maximum, majorUnit;
    bool reversed = false; // categories run from the far end
    int labelSkip = 0;     // categories: show every n-th label; 0: the layout decides
    QString title;         // lines separated by U+2028; empty: none
    ChartTextStyle titleStyle;
};

// A 3-D column chart's view: drawn as boxes seen obliquely from above and to the right.
struct ChartDepth {
    double rotX = 15;          // degrees the view looks down
    double rotY = 20;          // degrees it looks from the right
    double depthPercent = 100; // a box's depth, per cent of its width
    double gapDepth = 1.5;     // room in front of and behind the boxes, in box depths
};

struct ChartData {
    enum class Kind { Bar, Line, Area, Pie, Doughnut, Scatter, Bubble, Radar };
    enum class Legend { None, Right, Left, Top, Bottom, TopRight };

    Kind kind = Kind::Bar;
    bool horizontal = false; // bars grow to the right
    bool stacked = false;
    bool percentStacked = false;
    bool varyColors = false; // a single series gives each point its own colour
    double gapWidth = 1.5;   // between groups of bars, in bar widths
    double overlap = 0;      // of neighbouring bars in a group, share of a bar width (negative: gap)
    double holeSize = 0.5;   // doughnuts: share of the radius
    double firstSliceAngle = 0;
    double bubbleScale = 1;    // the largest bubble's width, in quarters of the plot's shorter side
    bool bubbleWidths = false; // bubble sizes give widths rather than areas
    bool radarFilled = false;  // radar series as filled shapes rather than lines
    enum class Blanks { Gap, Zero, Span };
    Blanks blanks = Blanks::Gap; // how lines pass points without a value
    std::vector<ChartSeries> series;
    std::vector<QString> categories;
    QString title; // lines separated by U+2028
    ChartTextStyle titleStyle{QStringLiteral("Calibri"), 18, true, false, {0x59, 0x59, 0x59}, {}};
    Legend legend = Legend::None;
    ChartTextStyle legendStyle;
    double legendStep = 1.5; // side legends: from one entry to the next, per point of text
    ChartAxis categoryAxis;
    ChartAxis valueAxis;
    ChartAxis secondaryAxis;
    std::vector<QColor> palette; // for series (or points) without a fill of their own, in turn
    // Where the file places the plot, title and legend, as fractions of the chart; empty: automatic.
    QRectF plotArea;
    bool plotAreaIsInner = true; // plotArea is the plot itself, without its tick labels
    QRectF titleArea;            // only the position is used
    QRectF legendArea;
    bool titleOverlay = false; // the title and legend lie over the plot rather than beside it
    bool legendOverlay = false;
    std::optional<ChartDepth> depth; // 3-D columns; unset: flat
    std::optional<Fill> plotFill;
    std::optional<Stroke> plotBorder;
};

} // namespace KX::Tovrin
