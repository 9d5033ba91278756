#include "platform/brovik/editorcore/chart/ChartTrend.h"

#include <algorithm>
#include <cmath>

namespace KX::Tovrin {

namespace {
constexpr int Samples = 48; // curves are drawn through this many points

// Least squares a + b * u through (u, v).
std::optional<std::pair<double, double>> straightFit(const std::vector<std::pair<double, double>>& uv) {
    const double n = double(uv.size());
    double su = 0, sv = 0, suu = 0, suv = 0;
    for (const auto& [u, v] : uv) {
        su += u;
        sv += v;
        suu += u * u;
        suv += u * v;
    }
    const double d = n * suu - su * su;
    if (uv.size() < 2 || std::abs(d) < 1e-12 * std::max(1.0, suu * n))
        return std::nullopt;
    const double b = (n * suv - su * sv) / d;
    return std::make_pair((sv - b * su) / n, b);
}

std::vector<std::pair<double, double>> movingAverage(int period,
                                                     const std::vector<std::pair<double, double>>& data) {
    std::vector<std::pair<double, double>> out;
    const std::size_t p = std::size_t(std::clamp(period, 2, 255));
    for (std::size_t i = p - 1; i < data.size(); ++i) {
        double sum = 0;
        for (std::size_t k = i + 1 - p; k <= i; ++k)
            sum += data[k].second;
        out.emplace_back(data[i].first, sum / double(p));
    }
    return out;
}
} // namespace

std::vector<std::pair<double, double>> trendPoints(const ChartTrendline& trend,
                                                   const std::vector<std::pair<double, double>>& given) {
    using T = ChartTrendline::Type;
    std::vector<std::pair<double, double>> data;
    for (const auto& p : given)
        if (std::isfinite(p.first) && std::isfinite(p.second))
            data.push_back(p);
    if (data.size() < 2)
        return {};
    if (trend.type == T::MovingAverage)
        return movingAverage(trend.period, data);
    // Exponential, logarithmic and power trends are straight in logarithms of y, x or both.
    const bool logX = trend.type == T::Logarithmic || trend.type == T::Power;
    const bool logY = trend.type == T::Exponential || trend.type == T::Power;
    std::vector<std::pair<double, double>> uv;
    for (const auto& [x, y] : data) {
        if ((logX && x <= 0) || (logY && y <= 0))
            return {};
        uv.emplace_back(logX ? std::log(x) : x, logY ? std::log(y) : y);
    }
    const auto fit = straightFit(uv);
    if (!fit)
        return {};
    double lo = data.front().first, hi = lo;
    for (const auto& p : data) {
        lo = std::min(lo, p.first);
        hi = std::max(hi, p.first);
    }
    lo -= std::max(0.0, trend.backward);
    hi += std::max(0.0, trend.forward);
    if (logX)
        lo = std::max(lo, hi * 1e-6);
    std::vector<std::pair<double, double>> out;
    const int samples = trend.type == T::Linear ? 1 : Samples;
    for (int i = 0; i <= samples; ++i) {
        const double x = lo + (hi - lo) * i / samples;
        const double v = fit->first + fit->second * (logX ? std::log(x) : x);
        const double y = logY ? std::exp(std::min(v, 700.0)) : v;
        if (std::isfinite(y))
            out.emplace_back(x, y);
    }
    return out;
}

} // namespace KX::Tovrin
