#pragma once

#include "analysis/TabChartBuilder.h"
#include "table/ChartModel.h"
#include "table/ListBase.h"

// The first layout field of the chart settings while the "Overall Averages" chart is laid out.
inline constexpr int kOverallAveragesLabelWidth = 224;

// Palette indexes of the "Overall Averages" bars (index 2 is left out); the header has kChartHeaderColour.
inline constexpr int kOverallSequentialColour = 0;
inline constexpr int kOverallRandomColour = 1;
inline constexpr int kOverallMinLatencyColour = 3;
inline constexpr int kOverallAvgLatencyColour = 4;
inline constexpr int kOverallMaxLatencyColour = 5;

// The five means of the chart, each by CListBase::AvgColumn_d with the divisor 1.
struct OverallAverages {
    double sequentialMBs = 0.0; // "MB/Sec" over the sequential rows
    double randomIOs = 0.0;     // "IO/Sec" over the random rows
    double minLatency = 0.0;    // "Min_Latency" over all rows
    double avgLatency = 0.0;    // "Avg_Latency" over all rows
    double maxLatency = 0.0;    // "Max_Latency" over all rows (its mean, not its largest value)
};

OverallAverages ComputeOverallAverages(CListBase& table);

// The "Overall Averages" header and its five bars. Bars are the exact means, but for the random IOs,
// drawn at one hundredth of theirs; labels show each full mean with two decimals.
void BuildOverallAverageLines(const OverallAverages& averages, ChartSink& chart);
