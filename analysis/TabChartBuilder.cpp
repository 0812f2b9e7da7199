#include "analysis/TabChartBuilder.h"

#include "report/ReportParser.h"
#include "table/CellNumber.h"
#include "table/FormatNumeric.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>
#include <vector>

namespace {

struct ChartTab {
    const char* title;
    int valueColumn;
    bool latencyScale;
};

const ChartTab kChartTabs[kChartTabCount] = {
    {"MB/sec", kColMBsPerSec, false},
    {"IO/sec", kColIOsPerSec, false},
    {"IO/sec per Avg_Latency", kColIOsPerSec, false},
    {"Min_Latency", kColMinLatency, true},
    {"Avg_Latency", kColAvgLatency, true},
    {"Max_Latency", kColMaxLatency, true},
};

// One group bar of the "Averages" section: the rows whose match cell equals the match text.
struct AverageGroup {
    int matchColumn;
    std::string_view matchText;
    const char* name;
};

const AverageGroup kAverageGroups[] = {
    {kColDirection, "Read", "Read"},
    {kColDirection, "Write", "Write"},
    {kColType, "sequential", "Sequential"},
    {kColType, "random", "Random"},
};

bool IsChartTab(int index) {
    return index >= 0 && index < kChartTabCount;
}

double FiniteOrZero(double value) {
    return std::isfinite(value) ? value : 0.0;
}

void AppendWhole(std::string& text, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

// The cells of one row; a cell the row lacks reads as empty.
class RowCells {
public:
    explicit RowCells(const ListRowView& cells) : m_cells(cells) {}
    std::string_view operator[](int column) const {
        return static_cast<size_t>(column) < m_cells.size() ? m_cells[static_cast<size_t>(column)]
                                                            : std::string_view();
    }

private:
    ListRowView m_cells;
};

// The means of the "Averages" section: all rows, then the groups of kAverageGroups.
struct AverageSums {
    CellMean all;
    CellMean groups[std::size(kAverageGroups)];
    CellMean latency; // "Avg_Latency" of all rows, the ratio tab's divisor

    void Add(const RowCells& cells, std::string_view valueCell, double value) {
        all.Add(valueCell, value);
        for (size_t i = 0; i < std::size(kAverageGroups); ++i)
            if (std::string_view(cells[kAverageGroups[i].matchColumn]) == kAverageGroups[i].matchText)
                groups[i].Add(valueCell, value);
    }
};

// A row's bar, held back until the "Averages" bars that come before it are known; its label lies in a
// text buffer shared by all of them.
struct PendingBar {
    size_t labelStart;
    size_t labelSize;
    double value;
};

// The mean of the details bars. When their sum overflows, the mean of the values each divided by
// their count stands in: it does not overflow.
double DetailsMean(const std::vector<PendingBar>& bars, double sum) {
    const auto count = static_cast<double>(bars.size());
    if (std::isfinite(sum))
        return sum / count;
    double mean = 0.0;
    for (const PendingBar& bar : bars)
        mean += bar.value / count;
    return FiniteOrZero(mean);
}

void AddAverageBars(const AverageSums& sums, int index, const TabChartPlan& plan, double divisor,
                    ChartSink& chart) {
    const double mean = sums.all.Mean(divisor);
    std::string label = plan.title + ": ";
    AppendFixed(label, mean, 2);
    chart.AddBarColor(label, TruncateToWhole(mean), index);
    for (size_t i = 0; i < std::size(kAverageGroups); ++i) {
        const double groupMean = sums.groups[i].Mean(divisor);
        label = plan.title + ", " + kAverageGroups[i].name + ": ";
        AppendFixed(label, groupMean, 2);
        chart.AddBarColor(label, TruncateToWhole(groupMean), index + 4 + static_cast<int>(i));
    }
}

void AppendRowBarLabel(std::string& label, const RowCells& cells, double value) {
    label += cells[kColNumber];
    label += ". ";
    label += cells[kColDirection];
    label += ' ';
    label += cells[kColType];
    label += ' ';
    label += cells[kColSize];
    label += ' ';
    AppendWhole(label, LeadingWholeNumber(cells[kColOutstanding]));
    label += "O: ";
    AppendFixed(label, value, 2);
}

} // namespace

TabChartPlan PlanTabChart(int index, FilterSelection filters) {
    TabChartPlan plan;
    if (IsChartTab(index)) {
        plan.title = kChartTabs[index].title;
        plan.valueColumn = kChartTabs[index].valueColumn;
    }
    plan.filters = std::move(filters);
    return plan;
}

double TabChartMaximum(int index, double maxLatency) {
    if (!IsChartTab(index) || !kChartTabs[index].latencyScale)
        return -1.0;
    const auto single = static_cast<float>(maxLatency);
    if (!std::isfinite(single) || !(single > 0.0f))
        return -1.0;
    return single;
}

void BuildTabChartLines(const CListBase& table, int index, const TabChartPlan& plan, ChartSink& chart) {
    if (!IsChartTab(index) || plan.valueColumn < 0)
        return;
    const bool ratio = index == kRatioTab;

    // One pass over the rows gathers the sums of the "Averages" section, which covers every row, and
    // the bars of the rows that pass the filters, which follow it.
    AverageSums sums;
    double detailsSum = 0.0;
    std::vector<PendingBar> bars;
    std::string labels;
    const int rows = table.GetItemCount();
    if (!plan.filters.Any()) {
        bars.reserve(static_cast<size_t>(rows));
        labels.reserve(static_cast<size_t>(rows) * 40);
    }
    for (int row = 0; row < rows; ++row) {
        const RowCells cells(table.Row(row));
        const std::string_view valueCell = cells[plan.valueColumn];
        double value = LeadingNumber(valueCell);
        sums.Add(cells, valueCell, value);
        double latency = 0.0;
        if (ratio) {
            const std::string_view latencyCell = cells[kColAvgLatency];
            latency = LeadingNumber(latencyCell);
            sums.latency.Add(latencyCell, latency);
        }
        if (!PassesFilters(table.Row(row), plan.filters))
            continue;
        // A row without latency shows its IO/sec unchanged.
        if (ratio && latency != 0.0)
            value /= latency;
        value = FiniteOrZero(value);
        detailsSum += value;
        const size_t start = labels.size();
        AppendRowBarLabel(labels, cells, value);
        bars.push_back(PendingBar{start, labels.size() - start, value});
    }

    const double divisor = ratio ? sums.latency.Mean(1.0) : 1.0;
    chart.Reserve(bars.size() + 10);
    chart.AddHeader("Averages", kChartHeaderColour);
    AddAverageBars(sums, index, plan, divisor, chart);
    chart.AddHeader(plan.filters.Any() ? "Details ***Filtered***" : "Details", kChartHeaderColour);
    const std::string_view labelText(labels);
    for (const PendingBar& bar : bars)
        chart.AddBarColor(labelText.substr(bar.labelStart, bar.labelSize), TruncateToWhole(bar.value), index);

    if (bars.empty()) {
        chart.AddBarColor("No Results", 0, kChartNoResultsColour);
        return;
    }
    const double mean = DetailsMean(bars, detailsSum);
    std::string label = "Details Average: ";
    AppendFixed(label, mean, 2);
    chart.AddBarColor(label, TruncateToWhole(mean), kChartDetailsAverageColour);
    chart.AddFooter({}, -1);
}
