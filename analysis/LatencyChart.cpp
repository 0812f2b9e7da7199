#include "analysis/LatencyChart.h"

#include "analysis/RunDetailsFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

RoundAxis RoundAxisAbove(double largest) {
    if (!(largest > 0.0) || !std::isfinite(largest))
        return RoundAxis();
    // The smallest round step that reaches largest in at most ten steps.
    const double magnitude = std::pow(10.0, std::floor(std::log10(largest / 10.0)));
    for (int power = 0; power < 3; ++power) {
        for (const double multiple : {1.0, 2.0, 2.5, 5.0}) {
            const double step = multiple * magnitude * std::pow(10.0, power);
            const double steps = std::ceil(largest / step - 1e-9);
            if (steps <= 10.0) {
                RoundAxis axis;
                axis.step = step;
                axis.max = std::max(1.0, steps) * step;
                // Enough decimals for the step: 2.5 x 10^-2 needs three.
                const double exponent = std::floor(std::log10(step) + 1e-9);
                axis.decimals = exponent >= 0 ? 0 : static_cast<int>(-exponent) + (multiple == 2.5 ? 1 : 0);
                return axis;
            }
        }
    }
    return RoundAxis{largest, largest, 0};
}

double NinesOf(double percentile) {
    if (percentile >= 100.0)
        return std::numeric_limits<double>::infinity();
    if (percentile <= 0.0)
        return 0.0;
    return -std::log10(1.0 - percentile / 100.0);
}

std::string NinesLabel(int decades) {
    if (decades <= 0)
        return "0%";
    if (decades == 1)
        return "90%";
    if (decades == 2)
        return "99%";
    return "99." + std::string(static_cast<size_t>(decades - 2), '9') + "%";
}

LatencyChart MakeLatencyChart(const RunDetails& details) {
    LatencyChart chart;
    double largest = 0.0;
    double furthest = 0.0;
    for (int d = 0; d < kLatencyDirectionCount; ++d) {
        LatencyLine line;
        line.direction = static_cast<LatencyDirection>(d);
        for (const PercentilePoint& point : details.percentiles) {
            const std::optional<std::string>& text = point.ms[static_cast<size_t>(d)];
            const std::optional<double> percentile = WrittenNumber(point.percentile);
            const std::optional<double> ms = text ? WrittenNumber(*text) : std::nullopt;
            if (!percentile || !ms || *percentile < 0.0)
                continue;
            const double nines = NinesOf(*percentile);
            if (std::isinf(nines))
                chart.hasMax = true;
            else
                furthest = std::max(furthest, nines);
            largest = std::max(largest, *ms);
            line.points.push_back(LatencyPoint{nines, *ms});
        }
        if (!line.points.empty())
            chart.lines.push_back(std::move(line));
    }
    if (!chart.lines.empty()) {
        chart.kind = LatencyChart::Kind::Percentiles;
        // 99.9 is 3.0000000000000004 decades as a double: a hair past a whole decade is that decade.
        chart.decades = std::max(1, static_cast<int>(std::ceil(furthest - 1e-9)));
        chart.valueAxis = RoundAxisAbove(largest);
        return chart;
    }
    if (details.histogram.empty())
        return chart;
    chart.kind = LatencyChart::Kind::Histogram;
    chart.histogramDirection = details.histogramDirection;
    for (const HistogramBucket& bucket : details.histogram) {
        chart.bucketLabels.push_back(bucket.label);
        const double percent = std::max(0.0, WrittenNumber(bucket.percent).value_or(0.0));
        chart.bucketPercents.push_back(percent);
        largest = std::max(largest, percent);
    }
    chart.valueAxis = RoundAxisAbove(largest);
    return chart;
}

double LatencyChartGeometry::X(const LatencyChart& chart, double nines) const {
    const double slots = std::max(1, chart.Slots());
    const double position = std::isinf(nines) ? chart.decades + 1.0 : std::clamp(nines, 0.0, slots);
    return left + position / slots * width;
}

double LatencyChartGeometry::Y(const LatencyChart& chart, double value) const {
    const double share = chart.valueAxis.max > 0 ? std::clamp(value / chart.valueAxis.max, 0.0, 1.0) : 0.0;
    return top + height - share * height;
}

double LatencyChartGeometry::BarLeft(int i, int n) const {
    const double slot = width / std::max(1, n);
    return left + i * slot + slot / 10.0;
}

double LatencyChartGeometry::BarWidth(int n) const {
    return width / std::max(1, n) * 0.8;
}
