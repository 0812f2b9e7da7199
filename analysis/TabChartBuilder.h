#pragma once

#include "analysis/Filters.h"
#include "table/ChartModel.h"
#include "table/ListBase.h"

#include <optional>
#include <string>
#include <string_view>

// What a chart tab shows: its title (empty for the two tabs without a chart), its value column (-1
// there) and the filters read for this build.
struct TabChartPlan {
    std::string title;
    int valueColumn = -1;
    FilterSelection filters;
};

// Tabs 0 to 5 chart a measure of the result table; 6 ("Data") and 7 ("Disk Partitions") do not.
inline constexpr int kChartTabCount = 6;
inline constexpr int kDataTab = 6;
inline constexpr int kPartitionsTab = 7;
// The tab whose bars divide IO/sec by latency.
inline constexpr int kRatioTab = 2;

// The first layout field of the chart settings while a tab's chart is laid out.
inline constexpr int kTabChartLabelWidth = 232;

// Palette indexes of the fixed chart lines.
inline constexpr int kChartHeaderColour = 7;
inline constexpr int kChartNoResultsColour = 18;
inline constexpr int kChartDetailsAverageColour = 19;

// Title and value column of a tab, with the filters of this build.
TabChartPlan PlanTabChart(int index, FilterSelection filters);

// The scale maximum of a tab: the three latency tabs share the table's largest "Max_Latency", handed
// over as a single-precision float; every other tab, and a maximum that is 0 or does not fit a float,
// scales to the longest bar (-1).
double TabChartMaximum(int index, double maxLatency);

// The lines of a chart tab over the table: the "Averages" header and its five bars (all, Read, Write,
// sequential and random rows; always over every row), the "Details" header, one bar per row that passes
// the plan's filters in the table's current order, then the details mean and an empty footer, or
// "No Results" when no row passes. Each bar is as long as its exact value (a latency of 0.25 ms is a
// bar, and 1.11 is shorter than 1.25); labels show two decimals. No value drawn or printed is ever NaN or
// infinite. Does nothing for a tab without a chart. The means of the "Averages" section are those of
// CListBase::AvgColumn_d (value column, match column, match text, divisor), gathered in the same single pass
// over the rows as the bars.
void BuildTabChartLines(const CListBase& table, int index, const TabChartPlan& plan, ChartSink& chart);

// The run a bar of the "Details" section stands for: its label begins with the row's "#" cell and ". "
// (BuildTabChartLines), and "#" is the run's number. Nothing for any other line of a chart.
std::optional<int> RunOfDetailsBar(std::string_view label);
