#include "analysis/TabChartBuilder.h"

#include "report/ResultRow.h"
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

// Calls shown(cells, value) for each row that passes the filters, in the table's order, with the value
// its bar shows; adds every row to the "Averages" sums when given them.
template <typename Shown>
void ForEachBar(const CListBase& table, const TabChartPlan& plan, bool ratio, AverageSums* sums,
                Shown shown) {
    const int rows = table.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        const ListRowView view = table.Row(row);
        const RowCells cells(view);
        const std::string_view valueCell = cells[plan.valueColumn];
        double value = LeadingNumber(valueCell);
        double latency = 0.0;
        if (sums != nullptr)
            sums->Add(cells, valueCell, value);
        if (ratio) {
            const std::string_view latencyCell = cells[kColAvgLatency];
            latency = LeadingNumber(latencyCell);
            if (sums != nullptr)
                sums->latency.Add(latencyCell, latency);
        }
        if (!PassesFilters(view, plan.filters))
            continue;
        // A row without latency shows its IO/sec unchanged.
        if (ratio && latency != 0.0)
            value /= latency;
        shown(cells, FiniteOrZero(value));
    }
}

// The mean of the details bars. When their sum overflows, the mean of the values each divided by
// their count stands in: it does not overflow. The values are read from the rows again for it, which
// only such extreme values make happen.
double DetailsMean(const CListBase& table, const TabChartPlan& plan, bool ratio, size_t count, double sum) {
    const auto bars = static_cast<double>(count);
    if (std::isfinite(sum))
        return sum / bars;
    double mean = 0.0;
    ForEachBar(table, plan, ratio, nullptr, [&](const RowCells&, double value) { mean += value / bars; });
    return FiniteOrZero(mean);
}

// Fills in the five "Averages" bars, added as placeholders from line `first` on.
void SetAverageBars(const AverageSums& sums, int index, const TabChartPlan& plan, double divisor, int first,
                    ChartSink& chart) {
    const double mean = sums.all.Mean(divisor);
    std::string label = plan.title + ": ";
    AppendFixed(label, mean, 2);
    chart.SetBarColor(first, label, mean, index);
    for (size_t i = 0; i < std::size(kAverageGroups); ++i) {
        const double groupMean = sums.groups[i].Mean(divisor);
        label = plan.title + ", " + kAverageGroups[i].name + ": ";
        AppendFixed(label, groupMean, 2);
        chart.SetBarColor(first + 1 + static_cast<int>(i), label, groupMean, index + 4 + static_cast<int>(i));
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
    const int rows = table.GetItemCount();
    if (!plan.filters.Any())
        chart.Reserve(static_cast<size_t>(chart.LineCount()) + static_cast<size_t>(rows) + 10);

    // One pass over the rows gathers the sums of the "Averages" section, which covers every row, and
    // adds the bars of the rows that pass the filters, which follow it. The "Averages" bars are added
    // first as placeholders and filled in at the end: no row's bar waits in memory of its own.
    chart.AddHeader("Averages", kChartHeaderColour);
    const int averagesLine = chart.LineCount();
    for (size_t i = 0; i <= std::size(kAverageGroups); ++i)
        chart.AddBarColor({}, 0, index);
    chart.AddHeader(plan.filters.Any() ? "Details ***Filtered***" : "Details", kChartHeaderColour);
    AverageSums sums;
    double detailsSum = 0.0;
    size_t bars = 0;
    std::string label;
    ForEachBar(table, plan, ratio, &sums, [&](const RowCells& cells, double value) {
        detailsSum += value;
        ++bars;
        label.clear();
        AppendRowBarLabel(label, cells, value);
        chart.AddBarColor(label, value, index);
    });

    const double divisor = ratio ? sums.latency.Mean(1.0) : 1.0;
    SetAverageBars(sums, index, plan, divisor, averagesLine, chart);
    if (bars == 0) {
        chart.AddBarColor("No Results", 0, kChartNoResultsColour);
        return;
    }
    const double mean = DetailsMean(table, plan, ratio, bars, detailsSum);
    label = "Details Average: ";
    AppendFixed(label, mean, 2);
    chart.AddBarColor(label, mean, kChartDetailsAverageColour);
    chart.AddFooter({}, -1);
}

std::optional<int> RunOfDetailsBar(std::string_view label) {
    int run = -1;
    const auto [end, error] = std::from_chars(label.data(), label.data() + label.size(), run);
    const std::string_view rest(end, static_cast<size_t>(label.data() + label.size() - end));
    if (error != std::errc() || end == label.data() || run < 0 || rest.substr(0, 2) != ". ")
        return std::nullopt;
    return run;
}
