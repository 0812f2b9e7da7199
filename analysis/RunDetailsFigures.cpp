#include "analysis/RunDetailsFigures.h"

#include "table/FormatNumeric.h"

#include <charconv>
#include <cmath>

bool HasLatencyDistribution(const RunDetails& details) {
    return !details.percentiles.empty() || !details.histogram.empty();
}

std::vector<const PercentilePoint*> ShownPercentiles(const RunDetails& details, bool all) {
    std::vector<const PercentilePoint*> shown;
    if (all) {
        for (const PercentilePoint& point : details.percentiles)
            shown.push_back(&point);
        return shown;
    }
    // Compared as numbers: fio writes "99.900000" where DiskSpd writes "3-nines".
    for (const double wanted : {50.0, 90.0, 95.0, 99.0, 99.9, 99.99, 100.0}) {
        for (const PercentilePoint& point : details.percentiles) {
            const std::optional<double> percentile = WrittenNumber(point.percentile);
            if (percentile && std::fabs(*percentile - wanted) < 1e-9) {
                shown.push_back(&point);
                break;
            }
        }
    }
    return shown;
}

std::optional<double> TotalLatencyAt(const RunDetails& details, double percentile) {
    for (const PercentilePoint& point : details.percentiles) {
        const std::optional<double> at = WrittenNumber(point.percentile);
        if (!at || std::fabs(*at - percentile) > 1e-9)
            continue;
        const std::optional<std::string>& total = point.ms[static_cast<size_t>(LatencyDirection::Total)];
        if (total)
            return WrittenNumber(*total);
        const std::optional<std::string>& read = point.ms[static_cast<size_t>(LatencyDirection::Read)];
        const std::optional<std::string>& write = point.ms[static_cast<size_t>(LatencyDirection::Write)];
        if (read.has_value() != write.has_value())
            return WrittenNumber(read ? *read : *write);
        return std::nullopt;
    }
    return std::nullopt;
}

std::string PercentileLabel(std::string_view percentile) {
    const std::optional<double> value = WrittenNumber(percentile);
    if (value && *value == 100.0)
        return "max";
    if (value && *value == 0.0)
        return "min";
    return std::string(percentile);
}

std::optional<IopsVariation> IopsVariationOf(const RunDetails& details) {
    std::optional<IopsVariation> largest;
    const auto consider = [&largest](double share, std::string basis) {
        if (std::isfinite(share) && (!largest || share > largest->share))
            largest = IopsVariation{share, std::move(basis)};
    };
    for (const IopsSpread& spread : details.iopsSpread) {
        const std::optional<double> stdDev = WrittenNumber(spread.stdDev);
        const std::optional<double> mean = WrittenNumber(spread.mean);
        if (stdDev && mean && *mean > 0.0)
            consider(*stdDev / *mean, std::string(LatencyDirectionName(spread.direction)) +
                                          ": standard deviation " + spread.stdDev + " about a mean of " +
                                          spread.mean + " IO/sec");
    }
    // The interval samples: their population standard deviation over their mean.
    double sum = 0.0;
    std::vector<double> samples;
    for (const std::string& text : details.iopsSamples) {
        const std::optional<double> sample = WrittenNumber(text);
        if (!sample)
            return largest;
        samples.push_back(*sample);
        sum += *sample;
    }
    if (samples.size() >= 2 && sum > 0.0) {
        const double mean = sum / static_cast<double>(samples.size());
        double squares = 0.0;
        for (const double sample : samples)
            squares += (sample - mean) * (sample - mean);
        const double stdDev = std::sqrt(squares / static_cast<double>(samples.size()));
        consider(stdDev / mean, std::to_string(samples.size()) + " intervals: standard deviation " +
                                    FormatFixed(stdDev, 2) + " about a mean of " + FormatFixed(mean, 2) +
                                    " I/Os an interval");
    }
    return largest;
}

std::optional<double> WrittenNumber(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
