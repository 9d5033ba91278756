#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace KX::Tovrin {

// A trend fitted through a series' points, as spreadsheet charts draw it.
struct ChartTrendline {
    enum class Type { Linear, Exponential, Logarithmic, Power, MovingAverage };
    Type type = Type::Linear;
    int period = 2;      // moving averages: points per average
    double forward = 0;  // how far past the last point it reaches, in x units
    double backward = 0; // and before the first
};

// Points along the trend of the (x, y) pairs (pairs without a finite value are left out), from the
// first x less backward to the last plus forward. Empty when the data cannot carry the trend
// (fewer than two points, or values the type cannot take such as logarithms of negatives).
std::vector<std::pair<double, double>> trendPoints(const ChartTrendline& trend,
                                                   const std::vector<std::pair<double, double>>& data);

} // namespace KX::Tovrin
