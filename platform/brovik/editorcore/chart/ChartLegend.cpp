#include "platform/brovik/editorcore/chart/ChartParts.h"
#include "platform/brovik/editorcore/chart/ChartText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace KX::Tovrin::ChartParts {

// -- Title and legend -------------------------------------------------------------------------

QRectF placeTitle(Layout& l, QRectF area, const QSizeF& size) {
    const ChartData& chart = l.chart;
    if (chart.title.trimmed().isEmpty())
        return area;
    const ChartTextStyle& style = chart.titleStyle;
    const double maxWidth = area.width() * 0.8; // automatic titles wrap before the edges
    const double width = std::min(maxWidth, chartTextWidth(chart.title, style) + style.size * 0.5);
    const double height = chartTextLines(chart.title, style, width) * style.size * LineFactor;
    QRectF r(area.center().x() - width / 2, area.top(), width, height);
    if (!chart.titleArea.isNull())
        r.moveTopLeft(QPointF(chart.titleArea.x() * size.width(), chart.titleArea.y() * size.height()));
    l.add(chartLabel(r, chart.title, style, Align::Center, Anchor::Top, true));
    area.setTop(std::max(area.top(), r.bottom() + style.size * 0.4));
    return area;
}

namespace {

struct LegendEntry {
    QString text;
    Fill fill;
    bool line = false; // a line series: its stroke and marker instead of a square
    Stroke stroke;
    ChartMarker marker;
};

// Categories of a chart with one colour per point, else the series.
std::vector<LegendEntry> legendEntries(const Layout& l) {
    std::vector<LegendEntry> entries;
    if (l.vary()) {
        for (std::size_t i = 0; i < l.points; ++i)
            entries.push_back({l.chart.categories[i], l.pointFill(0, i), false, Stroke(), ChartMarker()});
        return entries;
    }
    for (std::size_t i = 0; i < l.chart.series.size(); ++i) {
        const ChartSeries& s = l.chart.series[i];
        LegendEntry entry{s.name.isEmpty() ? QStringLiteral("Series %1").arg(i + 1) : s.name, l.seriesFill(i),
                          kindOf(l.chart, s) == ChartSeries::Kind::Line, Stroke(), ChartMarker()};
        if (entry.line) {
            entry.stroke = lineStroke(l, i);
            entry.marker = lineMarker(s, i);
        }
        entries.push_back(entry);
    }
    return entries;
}

// Where an entry's text starts, from the left of its key.
double legendTextOffset(const LegendEntry& entry, double fontSize) {
    return fontSize * 0.6 * (entry.line ? 1.9 : 1.4);
}

void legendEntry(Layout& l, const LegendEntry& entry, QPointF at, double width) {
    const ChartTextStyle& style = l.chart.legendStyle;
    const double fs = style.size, lineH = fs * LineFactor, mark = fs * 0.6;
    if (entry.line) {
        const double y = at.y() + lineH / 2;
        if (entry.stroke.visible)
            l.add(line(QPointF(at.x(), y), QPointF(at.x() + mark * 1.5, y), entry.stroke));
        placeMarker(l, entry.marker, QPointF(at.x() + mark * 0.75, y), entry.fill, markerEdge(entry.fill));
    } else {
        l.add(box(QRectF(at.x(), at.y() + (lineH - mark) / 2, mark, mark), entry.fill));
    }
    const double textX = at.x() + legendTextOffset(entry, fs);
    l.add(chartLabel(QRectF(textX, at.y(), std::max(1.0, width - (textX - at.x())), lineH), entry.text, style,
                     Align::Left));
}

// Entries in rows: all in one when they fit the width, else as many columns of the widest entry
// as fit.
std::vector<std::vector<std::size_t>> legendRows(const std::vector<double>& widths, double width,
                                                 double gap) {
    std::vector<std::vector<std::size_t>> rows(1);
    double total = -gap;
    for (double w : widths)
        total += w + gap;
    const double column = *std::max_element(widths.begin(), widths.end());
    const std::size_t perRow =
        total <= width
            ? widths.size()
            : std::clamp<std::size_t>(std::size_t((width + gap) / (column + gap)), 1, widths.size());
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (rows.back().size() == perRow)
            rows.emplace_back();
        rows.back().push_back(i);
    }
    return rows;
}

// What the legend shows and where the file put it.
struct LegendPlan {
    std::vector<LegendEntry> entries;
    std::vector<double> widths; // of each entry, key included
    bool manual = false;
    QPointF manualAt;
    QSizeF manualSize;
};

// Rows of entries, centred, wrapping at the chart's (or the file's box's) width.
QRectF placeLegendRows(Layout& l, const LegendPlan& plan, QRectF area) {
    const auto& widths = plan.widths;
    const double fs = l.chart.legendStyle.size, lineH = fs * LineFactor;
    const bool bottom = l.chart.legend == ChartData::Legend::Bottom;
    const double avail = plan.manual ? std::max(plan.manualSize.width(), widths.front()) : area.width();
    const auto rows = legendRows(widths, avail, fs);
    // In a box of the file's the rows share its height evenly.
    const double rowStep =
        plan.manual ? std::max(lineH, plan.manualSize.height() / double(rows.size())) : lineH;
    const double height = rowStep * double(rows.size());
    const QRectF room =
        plan.manual ? QRectF(plan.manualAt, plan.manualSize.expandedTo(QSizeF(0, height))) : area;
    double y = plan.manual ? room.center().y() - height / 2 + (rowStep - lineH) / 2
               : bottom    ? area.bottom() - height
                           : area.top();
    // Several rows line their entries up in columns as wide as the widest entry.
    const double column = rows.size() > 1 ? *std::max_element(widths.begin(), widths.end()) : 0;
    for (const auto& row : rows) {
        double total = 0;
        for (std::size_t i : row)
            total += (column > 0 ? column : widths[i]) + fs;
        if (column > 0)
            total = double(rows.front().size()) * (column + fs);
        double x = room.center().x() - (total - fs) / 2;
        for (std::size_t i : row) {
            const double w = column > 0 ? column : widths[i];
            legendEntry(l, plan.entries[i], QPointF(x, y), w);
            x += w + fs;
        }
        y += rowStep;
    }
    if (!plan.manual) {
        if (bottom)
            area.setBottom(area.bottom() - height - fs * 0.5);
        else
            area.setTop(area.top() + height + fs * 0.5);
    }
    return area;
}

// A column of entries is as wide as its widest key and text, so that it ends at the chart's
// margin as the authoring program places it.
QRectF placeLegendColumn(Layout& l, const LegendPlan& plan, QRectF area) {
    using Legend = ChartData::Legend;
    const Legend where = l.chart.legend;
    const ChartTextStyle& style = l.chart.legendStyle;
    const double fs = style.size, lineH = fs * LineFactor;
    double widest = 0;
    for (const auto& entry : plan.entries)
        widest = std::max(widest, legendTextOffset(entry, fs) + chartTextWidth(entry.text, style));
    const double lw = std::min(area.width() * 0.4, widest + fs * 0.2);
    const double x = plan.manual             ? plan.manualAt.x()
                     : where == Legend::Left ? area.left()
                                             : area.right() - lw;
    // Entries stand apart by the format's step, closer where the room is short; a box of the
    // file's shares its height among them.
    const double n = double(plan.entries.size());
    const double step =
        plan.manual ? std::max(lineH, plan.manualSize.height() / n)
                    : std::clamp(area.height() / n, lineH, fs * std::max(LineFactor, l.chart.legendStep));
    const double height = step * n;
    double y = (plan.manual                 ? plan.manualAt.y()
                : where == Legend::TopRight ? area.top()
                                            : area.center().y() - height / 2) +
               (step - lineH) / 2;
    for (const auto& entry : plan.entries) {
        legendEntry(l, entry, QPointF(x, y), lw);
        y += step;
    }
    if (plan.manual)
        return area;
    if (where == Legend::Left)
        area.setLeft(area.left() + lw + fs);
    else
        area.setRight(area.right() - lw - fs);
    return area;
}

} // namespace

QRectF placeLegend(Layout& l, QRectF area, const QSizeF& size) {
    using Legend = ChartData::Legend;
    const Legend where = l.chart.legend;
    if (where == Legend::None)
        return area;
    LegendPlan plan;
    plan.entries = legendEntries(l);
    if (plan.entries.empty())
        return area;
    const ChartTextStyle& style = l.chart.legendStyle;
    const double fs = style.size;
    for (const auto& entry : plan.entries)
        plan.widths.push_back(fs * 2 + chartTextWidth(entry.text, style));
    const QRectF& box = l.chart.legendArea;
    plan.manual = !box.isNull();
    plan.manualAt = QPointF(box.x() * size.width(), box.y() * size.height());
    plan.manualSize = QSizeF(box.width() * size.width(), box.height() * size.height());
    // A legend box the file made wide and low holds one row.
    double rowTotal = 0;
    for (double w : plan.widths)
        rowTotal += w + fs;
    const bool row = plan.manual && plan.manualSize.width() >= rowTotal - fs &&
                     plan.manualSize.width() > plan.manualSize.height() * 2;
    if (where == Legend::Top || where == Legend::Bottom || row)
        return placeLegendRows(l, plan, area);
    return placeLegendColumn(l, plan, area);
}

} // namespace KX::Tovrin::ChartParts
