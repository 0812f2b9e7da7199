#pragma once

#include "report/RunDetails.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the Run Details window reads off a run's details, apart from how it shows them.

// Whether the details hold a latency distribution at all: percentile points or histogram buckets. A
// run made without -L (DiskSpd) or -LS (SQLIO) has none.
bool HasLatencyDistribution(const RunDetails& details);

// The percentile points the table lists: 50, 90, 95, 99, 99.9, 99.99 and the maximum (100), those the
// run has, in that order; with all, every point in the report's order.
std::vector<const PercentilePoint*> ShownPercentiles(const RunDetails& details, bool all);

// The latency in ms at a percentile (compared as a number, so fio's "99.900000" is 99.9) of the Total
// direction; of a run that gives no Total but one direction alone, that direction's, which then is
// its total. Nothing when the run has no such point or its value is no number.
// A number written whole by the report ("129.18"); nothing for any other text, nor for one too large.
std::optional<double> WrittenNumber(std::string_view text);

std::optional<double> TotalLatencyAt(const RunDetails& details, double percentile);

// How a percentile reads in the table: "max" for 100, "min" for 0, else the number ("99.9").
std::string PercentileLabel(std::string_view percentile);

// How much the run's IOPS varied over its duration: the standard deviation over the mean, and the
// figures it came from as the report gave them ("Total: standard deviation 129.18 about a mean of
// 1189.03 IO/sec", "30 intervals: standard deviation 129.17 about a mean of 1189.53 I/Os an
// interval"). Of several (a spread per direction, and interval samples) the largest. Nothing when the
// report gives none, or only a mean of 0.
struct IopsVariation {
    double share = 0.0;
    std::string basis;
};
std::optional<IopsVariation> IopsVariationOf(const RunDetails& details);

// A run whose IOPS varied by more than this share of their mean is marked unsteady, as Microsoft's
// DiskSpd processing script warns on the same rule.
inline constexpr double kUnsteadyIopsShare = 0.10;
