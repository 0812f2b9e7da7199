#include "compare/CurvePlot.h"

#include "table/CellNumber.h"
#include "table/FormatNumeric.h"

#include <algorithm>
#include <cmath>

double PlotAxis::Fraction(double value) const {
    if (log2) {
        if (!(value > 0.0) || !(low > 0.0) || !(high > low))
            return 0.0;
        return (std::log2(value) - std::log2(low)) / (std::log2(high) - std::log2(low));
    }
    return high > low ? (value - low) / (high - low) : 0.0;
}

std::string PlotAxis::TickText(double tick) const {
    double spacing = 1.0;
    if (ticks.size() >= 2)
        spacing = std::fabs(log2 ? std::min(ticks[0], ticks[1]) : ticks[1] - ticks[0]);
    int decimals = 0;
    if (spacing > 0.0 && spacing < 1.0)
        decimals = std::min(6, static_cast<int>(std::ceil(-std::log10(spacing) - 1e-9)));
    return FormatFixed(tick, decimals);
}

namespace {

// The round step at or above rough: 1, 2 or 5 times a power of ten.
double NiceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough * (1 - 1e-9))
            return factor * power;
    return 10.0 * power;
}

} // namespace

PlotAxis LinearAxis(double low, double high, int maxTicks) {
    PlotAxis axis;
    if (!std::isfinite(high - low) || high < low)
        low = high = 0.0;
    if (high == low)
        high = low == 0.0 ? 1.0 : low + std::fabs(low);
    const double step = NiceStep((high - low) / std::max(1, maxTicks - 1));
    axis.low = std::floor(low / step + 1e-9) * step;
    axis.high = std::ceil(high / step - 1e-9) * step;
    const auto count = static_cast<long long>(std::llround((axis.high - axis.low) / step));
    for (long long i = 0; i <= count; ++i)
        axis.ticks.push_back(axis.low + static_cast<double>(i) * step);
    return axis;
}

PlotAxis Log2Axis(double low, double high, int maxTicks) {
    PlotAxis axis;
    axis.log2 = true;
    if (!(low > 0.0) || !std::isfinite(high) || high < low)
        low = high = 1.0;
    int lowPower = static_cast<int>(std::floor(std::log2(low) + 1e-9));
    int highPower = static_cast<int>(std::ceil(std::log2(high) - 1e-9));
    // One depth alone sits in the middle of its axis, not on its edge.
    if (highPower == lowPower) {
        --lowPower;
        ++highPower;
    }
    lowPower = std::clamp(lowPower, -60, 60);
    highPower = std::clamp(highPower, lowPower + 1, 61);
    const int intervals = std::max(1, maxTicks - 1);
    const int every = std::max(1, (highPower - lowPower + intervals - 1) / intervals);
    highPower = lowPower + (highPower - lowPower + every - 1) / every * every;
    axis.low = std::ldexp(1.0, lowPower);
    axis.high = std::ldexp(1.0, highPower);
    for (int power = lowPower; power <= highPower; power += every)
        axis.ticks.push_back(std::ldexp(1.0, power));
    return axis;
}

std::vector<CurveSeries> BuildCurves(const Comparison& comparison, const std::vector<int>& tests,
                                     int measure) {
    std::vector<CurveSeries> series;
    const auto reports = static_cast<size_t>(comparison.ReportCount());
    for (const int test : tests) {
        const TestKey& key = comparison.Key(test);
        if (series.empty() || series.back().key.direction != key.direction ||
            series.back().key.type != key.type || series.back().key.size != key.size) {
            series.push_back(CurveSeries{key, std::vector<std::vector<CurvePoint>>(reports),
                                         std::vector<std::vector<CurvePoint>>(reports)});
        }
        CurveSeries& into = series.back();
        const double depth = LeadingNumber(key.outstanding);
        for (size_t report = 0; report < reports; ++report) {
            const int at = static_cast<int>(report);
            if (const std::optional<double> value = comparison.Mean(test, at, measure))
                into.measure[report].push_back(CurvePoint{depth, *value});
            const std::optional<double> latency = comparison.Mean(test, at, kMeasureAvgLatency);
            const std::optional<double> throughput = comparison.Mean(test, at, kMeasureIOs);
            if (latency && throughput)
                into.latency[report].push_back(CurvePoint{*latency, *throughput});
        }
    }
    return series;
}

namespace {

// The smallest and largest x or y over the curves; false when they hold no point.
template <class Pick>
bool Span(const std::vector<std::vector<CurvePoint>>& curves, Pick pick, double& low, double& high) {
    bool any = false;
    for (const std::vector<CurvePoint>& curve : curves) {
        for (const CurvePoint& point : curve) {
            const double value = pick(point);
            low = any ? std::min(low, value) : value;
            high = any ? std::max(high, value) : value;
            any = true;
        }
    }
    return any;
}

double X(const CurvePoint& point) {
    return point.x;
}
double Y(const CurvePoint& point) {
    return point.y;
}

// An axis from 0 (or below, for values under 0) to the largest value.
PlotAxis FromZero(const std::vector<std::vector<CurvePoint>>& curves, double (*pick)(const CurvePoint&),
                  int maxTicks) {
    double low = 0.0;
    double high = 0.0;
    Span(curves, pick, low, high);
    return LinearAxis(std::min(low, 0.0), std::max(high, 0.0), maxTicks);
}

} // namespace

PlotAxis OutstandingAxis(const CurveSeries& series, int maxTicks) {
    double low = 0.0;
    double high = 0.0;
    if (!Span(series.measure, X, low, high))
        return LinearAxis(0.0, 1.0, maxTicks);
    if (low > 0.0)
        return Log2Axis(low, high, maxTicks);
    return LinearAxis(low, high, maxTicks);
}

PlotAxis MeasureAxis(const CurveSeries& series, int maxTicks) {
    return FromZero(series.measure, Y, maxTicks);
}

PlotAxis LatencyAxis(const CurveSeries& series, int maxTicks) {
    return FromZero(series.latency, X, maxTicks);
}

PlotAxis ThroughputAxis(const CurveSeries& series, int maxTicks) {
    return FromZero(series.latency, Y, maxTicks);
}
