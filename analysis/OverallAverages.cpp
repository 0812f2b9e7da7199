#include "analysis/OverallAverages.h"

#include "report/ResultRow.h"
#include "table/FormatNumeric.h"

#include <string>

namespace {

double ColumnMean(CListBase& table, int column, int matchColumn, const char* matchText) {
    std::string text = matchText;
    return table.AvgColumn_d(column, matchColumn, text, 1.0);
}

void AddBar(ChartSink& chart, const char* name, double mean, double length, int colour,
            const char* suffix = "") {
    std::string label = name;
    AppendFixed(label, mean, 2);
    label += suffix;
    chart.AddBarColor(label, length, colour);
}

} // namespace

OverallAverages ComputeOverallAverages(CListBase& table) {
    OverallAverages averages;
    averages.randomIOs = ColumnMean(table, kColIOsPerSec, kColType, "random");
    averages.sequentialMBs = ColumnMean(table, kColMBsPerSec, kColType, "sequential");
    averages.minLatency = ColumnMean(table, kColMinLatency, -1, "");
    averages.avgLatency = ColumnMean(table, kColAvgLatency, -1, "");
    averages.maxLatency = ColumnMean(table, kColMaxLatency, -1, "");
    return averages;
}

void BuildOverallAverageLines(const OverallAverages& averages, ChartSink& chart) {
    chart.AddHeader("Overall Averages", kChartHeaderColour);
    AddBar(chart, "Sequential MB/sec ", averages.sequentialMBs, averages.sequentialMBs,
           kOverallSequentialColour);
    // The random IOs outgrow every other bar by far; the label keeps the full value.
    AddBar(chart, "Randon IOs/sec ", averages.randomIOs, averages.randomIOs * 0.01, kOverallRandomColour,
           " (1% graphed)");
    AddBar(chart, "Min_Latency ", averages.minLatency, averages.minLatency, kOverallMinLatencyColour);
    AddBar(chart, "Avg_Latency ", averages.avgLatency, averages.avgLatency, kOverallAvgLatencyColour);
    AddBar(chart, "Max_Latency ", averages.maxLatency, averages.maxLatency, kOverallMaxLatencyColour);
}
