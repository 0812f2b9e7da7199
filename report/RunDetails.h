#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The directions a report gives a latency distribution for.
enum class LatencyDirection : unsigned char { Read = 0, Write = 1, Total = 2 };
inline constexpr int kLatencyDirectionCount = 3;

// "Read", "Write" or "Total".
const char* LatencyDirectionName(LatencyDirection direction);

// What a report says of one run beyond its eleven cells: its parameters, its latency distribution
// (percentile points, or SQLIO's histogram) and how steady its IOPS were. Everything is text as the
// report wrote it, so what is shown and exported is what the file says. Text is std::string in the
// details a reader of the store gets (RunDetails), and std::string_view into the report's text while a
// reader of the report hands them to the store (RunDetailsView): a report of a million runs is read
// without a string made for each of their texts.
template <class Text> struct BasicRunDetails {
    // One parameter as the report states it: "Duration", "900s".
    struct Parameter {
        Text name;
        Text value;
        bool operator==(const Parameter&) const = default;
    };
    // One point of the distribution: the percentile as a number ("0" for the minimum, "99.9", "100"
    // for the maximum) and the latency at it in ms per direction (LatencyDirection), as written. A
    // direction the report gives no value for (DiskSpd's "N/A", a direction the run did not do) has
    // none: never 0.
    struct Point {
        Text percentile;
        std::array<std::optional<Text>, kLatencyDirectionCount> ms;
        bool operator==(const Point&) const = default;
    };
    // One bucket of SQLIO's latency histogram (-LS): its label as SQLIO writes it ("0" to "23", "24+")
    // and the share of the I/Os in percent, as written.
    struct Bucket {
        Text label;
        Text percent;
        bool operator==(const Bucket&) const = default;
    };
    // How much the IOPS varied: the standard deviation and the mean it varied about, as written
    // (DiskSpd's IopsStdDev beside its I/O per s, fio's iops_stddev beside its iops_mean).
    struct Spread {
        LatencyDirection direction = LatencyDirection::Total;
        Text stdDev;
        Text mean;
        bool operator==(const Spread&) const = default;
    };

    std::vector<Parameter> parameters;
    std::vector<Point> percentiles; // in the report's order, lowest first
    LatencyDirection histogramDirection = LatencyDirection::Total;
    std::vector<Bucket> histogram;
    std::vector<Spread> iopsSpread;
    // The I/Os of each interval of the run (DiskSpd -D), summed over its threads, in order.
    std::vector<Text> iopsSamples;
    // A table of the report ended before its last line: the points (or buckets) before the cut are kept.
    bool cut = false;

    bool Empty() const {
        return parameters.empty() && percentiles.empty() && histogram.empty() && iopsSpread.empty() &&
               iopsSamples.empty() && !cut;
    }
    // Empties the details and keeps their room, for the next run's.
    void Clear() {
        parameters.clear();
        percentiles.clear();
        histogramDirection = LatencyDirection::Total;
        histogram.clear();
        iopsSpread.clear();
        iopsSamples.clear();
        cut = false;
    }
    bool operator==(const BasicRunDetails&) const = default;
};

using RunDetails = BasicRunDetails<std::string>;
using RunDetailsView = BasicRunDetails<std::string_view>;
using RunParameter = RunDetails::Parameter;
using PercentilePoint = RunDetails::Point;
using HistogramBucket = RunDetails::Bucket;
using IopsSpread = RunDetails::Spread;

// The view of details (valid while they are), and details of their own from a view.
RunDetailsView ViewOf(const RunDetails& details);
RunDetails OwnedCopy(const RunDetailsView& details);

// Names of the parameters, shared by every reader so that runs of any kind list them alike.
namespace RunParameterName {
inline constexpr const char* kTool = "Tool";
inline constexpr const char* kCommandLine = "Command line";
inline constexpr const char* kMachine = "Machine";
inline constexpr const char* kStartTime = "Start time";
inline constexpr const char* kParameterFile = "Parameter file";
inline constexpr const char* kTarget = "Target";
inline constexpr const char* kFileSize = "File size";
inline constexpr const char* kThreads = "Threads";
inline constexpr const char* kDuration = "Duration";
inline constexpr const char* kWarmUp = "Warm-up";
inline constexpr const char* kBlockSize = "Block size";
inline constexpr const char* kQueueDepth = "Queue depth";
inline constexpr const char* kWriteRatio = "Write ratio";
inline constexpr const char* kCaching = "Caching";
inline constexpr const char* kIopsInterval = "IOPS interval";
} // namespace RunParameterName

// The percentile of a DiskSpd percentile row label as a number: "min" gives "0", "25th" "25",
// "3-nines" "99.9", "4-nines" "99.99", "max" "100"; nothing for any other label.
std::optional<std::string> DiskSpdPercentile(std::string_view label);
