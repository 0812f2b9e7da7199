#pragma once

#include "report/ResultRow.h"

#include <iterator>

// A measure a comparison shows of each test: the mean of a result-table cell over the test's runs, the
// quotient of two such means, or the mean of a latency percentile the runs' reports give (their Total,
// RunDetails).
struct CompareMeasure {
    const char* name;    // the comparison table's column titles, as the result table names the cell
    const char* title;   // what the window calls it, as the main window's chart tab does
    const char* unit;    // of a curve's axis
    bool higherIsBetter; // throughput gains when it grows, latency when it shrinks
    int column;          // the cell averaged; -1 for a quotient or a percentile
    int numerator;       // for a quotient, the measures divided (indexes into kCompareMeasures); else -1
    int denominator;
    double percentile; // for a percentile, which one (99, 99.9); else 0
};

// Every measure, in the order of the comparison table's column groups. One line each: a new measure is
// a new line here.
inline constexpr CompareMeasure kCompareMeasures[] = {
    {"IO/Sec", "IO/sec", "IO/sec", true, kColIOsPerSec, -1, -1, 0},
    {"MB/Sec", "MB/sec", "MB/sec", true, kColMBsPerSec, -1, -1, 0},
    // The main chart's rule for averages: mean IO/sec over mean latency.
    {"IO/Sec per Avg_Latency", "IO/sec per Avg_Latency", "IO/sec per ms", true, -1, 0, 4, 0},
    {"Min_Latency", "Min_Latency", "ms", false, kColMinLatency, -1, -1, 0},
    {"Avg_Latency", "Avg_Latency", "ms", false, kColAvgLatency, -1, -1, 0},
    {"Max_Latency", "Max_Latency", "ms", false, kColMaxLatency, -1, -1, 0},
    // The tail, where SQL Server waits: two arrays are compared on it too.
    {"p99_Latency", "p99 Latency (Total)", "ms", false, -1, -1, -1, 99.0},
    {"p99.9_Latency", "p99.9 Latency (Total)", "ms", false, -1, -1, -1, 99.9},
};
inline constexpr int kCompareMeasureCount = static_cast<int>(std::size(kCompareMeasures));

// Whether a measure is a latency percentile of the runs' details.
inline constexpr bool IsPercentileMeasure(const CompareMeasure& measure) {
    return measure.percentile > 0;
}

// The measures the summary line reads.
inline constexpr int kMeasureIOs = 0;
inline constexpr int kMeasureMBs = 1;
inline constexpr int kMeasureAvgLatency = 4;
