// The analysis rules on result tables built here, without a window: the filters and their lists, the
// chart of each tab, and the overall averages. The window's tests check only that it calls them.
#include "analysis/Filters.h"
#include "analysis/OverallAverages.h"
#include "analysis/TabChartBuilder.h"
#include "report/ResultRow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The cells of a result row from "Direction" to "Max_Latency"; none make an error row.
using RunCells = Texts;
const RunCells kErrorRow = {};

RunCells Make(const char* direction, const char* type, const char* outstanding) {
    return {direction, type, "8KB", outstanding, "100.00", "1.00", "0", "1", "10"};
}

CListBase Table(const std::vector<RunCells>& runs) {
    CListBase table;
    AddResultColumns(table);
    for (const RunCells& run : runs) {
        if (run.empty()) {
            AddErrorRow(table, "Token [MBs/sec:] not found in test: ");
            continue;
        }
        TestResultRow row(kResultColumnCount);
        std::copy(run.begin(), run.end(), row.begin() + kColDirection);
        AddResultRow(table, row);
    }
    return table;
}

// A table whose only filled column, besides "#", is `column`.
CListBase TableOfColumn(int column, const Texts& cells) {
    CListBase table;
    AddResultColumns(table);
    for (const std::string& cell : cells) {
        TestResultRow row(kResultColumnCount);
        row[static_cast<size_t>(column)] = cell;
        AddResultRow(table, row);
    }
    return table;
}

// A chart line with its text copied out of the model.
struct Line {
    ChartLine::Kind kind;
    std::string text;
    double length;
    int colour;
};

std::vector<Line> ChartOf(const CListBase& table, int tab, FilterSelection filters = {}) {
    ChartModel chart;
    BuildTabChartLines(table, tab, PlanTabChart(tab, std::move(filters)), chart);
    std::vector<Line> lines;
    for (const ChartLine& line : chart.Lines())
        lines.push_back({line.kind, std::string(line.text), line.length, line.colour});
    return lines;
}

// The per-row bar labels: the lines between the "Details" header and the details mean.
Texts DetailLabels(const std::vector<Line>& lines) {
    Texts labels;
    bool inDetails = false;
    for (const Line& line : lines) {
        if (line.kind == ChartLine::Header)
            inDetails = line.text.rfind("Details", 0) == 0;
        else if (inDetails && line.kind == ChartLine::Bar && line.text.rfind("Details Average", 0) != 0 &&
                 line.text != "No Results")
            labels.push_back(line.text);
    }
    return labels;
}

std::string Fixed2(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%0.2f", value);
    return text;
}

double Mean(const std::vector<double>& values) {
    double sum = 0.0;
    for (double value : values)
        sum += value;
    return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

// Four runs; row 3 is a random 8KB read with 4 outstanding IOs at 123.456 MB/sec, row 2 has no latency.
const std::vector<RunCells> kFourRuns = {
    {"Read", "random", "8KB", "4", "200.50", "1.25", "1", "4", "30"},
    {"Write", "sequential", "64KB", "8", "1000", "62.5", "0", "2", "45.5"},
    {"Read", "sequential", "64KB", "2", "3000.75", "187.55", "2", "0", "12"},
    {"Read", "random", "8KB", "4", "15806.72", "123.456", "3", "8", "99.99"}};
// Every latency 0.
const std::vector<RunCells> kNoLatency = {{"Read", "random", "8KB", "1", "250.5", "2", "0", "0", "0"},
                                          {"Write", "random", "8KB", "2", "99.99", "1", "0", "0.000", "0"}};
const std::vector<RunCells> kOneRead = {{"Read", "random", "8KB", "2", "300", "3.00", "1", "2", "3"}};
const std::vector<RunCells> kWithErrorRow = {kOneRead[0], kErrorRow};

TEST(ChartRulesTest, EveryTabShowsItsTitleColumnScaleAndColours) {
    // What each tab should show for kFourRuns, computed here independently of the program.
    struct ExpectedTab {
        const char* title;
        std::vector<double> values; // per row, in report order
    };
    const ExpectedTab kExpected[6] = {
        {"MB/sec", {1.25, 62.5, 187.55, 123.456}},
        {"IO/sec", {200.5, 1000, 3000.75, 15806.72}},
        {"IO/sec per Avg_Latency", {200.5 / 4, 1000.0 / 2, 3000.75, 15806.72 / 8}},
        {"Min_Latency", {1, 0, 2, 3}},
        {"Avg_Latency", {4, 2, 0, 8}},
        {"Max_Latency", {30, 45.5, 12, 99.99}},
    };
    const CListBase table = Table(kFourRuns);
    const char* rowStart[4] = {"0. Read random 8KB 4O: ", "1. Write sequential 64KB 8O: ",
                               "2. Read sequential 64KB 2O: ", "3. Read random 8KB 4O: "};
    const std::vector<double> ios = kExpected[1].values;
    const double latencyDivisor = Mean({4, 2, 0, 8});
    for (int tab = 0; tab < 6; ++tab) {
        SCOPED_TRACE(tab);
        const std::string title = kExpected[tab].title;
        const std::vector<double>& v = kExpected[tab].values;
        // Group means over the table's own column; the ratio tab divides mean IO/sec by mean latency.
        const std::vector<double>& source = tab == 2 ? ios : v;
        const double divisor = tab == 2 ? latencyDivisor : 1.0;
        const double all = Mean(source) / divisor;
        const double read = Mean({source[0], source[2], source[3]}) / divisor;
        const double write = source[1] / divisor;
        const double sequential = Mean({source[1], source[2]}) / divisor;
        const double random = Mean({source[0], source[3]}) / divisor;

        const std::vector<Line> lines = ChartOf(table, tab);
        ASSERT_EQ(lines.size(), 13u);
        const auto expectLine = [&](size_t index, ChartLine::Kind kind, const std::string& text,
                                    double length, int colour) {
            SCOPED_TRACE(index);
            EXPECT_EQ(lines[index].kind, kind);
            EXPECT_EQ(lines[index].text, text);
            EXPECT_NEAR(lines[index].length, length, 1e-9 * std::max(1.0, std::fabs(length)));
            EXPECT_EQ(lines[index].colour, colour);
        };
        expectLine(0, ChartLine::Header, "Averages", 0, 7);
        expectLine(1, ChartLine::Bar, title + ": " + Fixed2(all), all, tab);
        expectLine(2, ChartLine::Bar, title + ", Read: " + Fixed2(read), read, tab + 4);
        expectLine(3, ChartLine::Bar, title + ", Write: " + Fixed2(write), write, tab + 5);
        expectLine(4, ChartLine::Bar, title + ", Sequential: " + Fixed2(sequential), sequential, tab + 6);
        expectLine(5, ChartLine::Bar, title + ", Random: " + Fixed2(random), random, tab + 7);
        expectLine(6, ChartLine::Header, "Details", 0, 7);
        for (size_t row = 0; row < 4; ++row)
            expectLine(7 + row, ChartLine::Bar, rowStart[row] + Fixed2(v[row]), v[row], tab);
        expectLine(11, ChartLine::Bar, "Details Average: " + Fixed2(Mean(v)), Mean(v), 19);
        expectLine(12, ChartLine::Footer, "", 0, -1);

        // The three latency tabs share one scale: the largest Max_Latency as a float.
        EXPECT_EQ(TabChartMaximum(tab, 99.99), tab >= 3 ? static_cast<double>(99.99f) : -1.0);
    }
    // An all-zero latency scale falls back to the longest bar; a tab without a chart has no scale.
    EXPECT_EQ(TabChartMaximum(4, 0.0), -1.0);
    EXPECT_EQ(TabChartMaximum(6, 99.99), -1.0);
    // "Data" and "Disk Partitions" draw nothing.
    EXPECT_TRUE(ChartOf(table, 6).empty());
    EXPECT_TRUE(ChartOf(table, 7).empty());
}

TEST(ChartRulesTest, LabelsShowTwoDecimalsAndBarsTheExactValue) {
    struct Case {
        const std::vector<RunCells>* runs;
        int tab;
        size_t line;
        std::string text;
        double length;
        int colour;
    };
    std::vector<Case> cases = {
        {&kFourRuns, 0, 10, "3. Read random 8KB 4O: 123.46", 123.456, 0},
        {&kFourRuns, 5, 10, "3. Read random 8KB 4O: 99.99", 99.99, 5},
        // On the ratio tab a row without latency shows its IO/sec unchanged.
        {&kNoLatency, 2, 7, "0. Read random 8KB 1O: 250.50", 250.5, 2},
        {&kNoLatency, 2, 8, "1. Write random 8KB 2O: 99.99", 99.99, 2},
        {&kNoLatency, 2, 9, "Details Average: 175.25", (250.5 + 99.99) / 2, 19},
        // An error row's value is 0, and it counts in the details mean.
        {&kWithErrorRow, 0, 9, "Details Average: 1.50", 1.5, 19},
        // A group without rows has a mean of 0.
        {&kOneRead, 1, 3, "IO/sec, Write: 0.00", 0, 6},
        {&kOneRead, 1, 4, "IO/sec, Sequential: 0.00", 0, 7},
    };
    // The ratio tab's averages divide by the mean latency: with every latency 0 they show 0.
    const char* groups[] = {"", ", Read", ", Write", ", Sequential", ", Random"};
    for (size_t i = 0; i < 5; ++i)
        cases.push_back({&kNoLatency, 2, 1 + i, std::string("IO/sec per Avg_Latency") + groups[i] + ": 0.00",
                         0, i == 0 ? 2 : 5 + static_cast<int>(i)});
    // An error row's bar on every tab: its number, four blanks, no outstanding IOs, and 0.
    for (int tab = 0; tab < kChartTabCount; ++tab)
        cases.push_back({&kWithErrorRow, tab, 8, "1.    0O: 0.00", 0, tab});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<Line> lines = ChartOf(Table(*c.runs), c.tab);
        ASSERT_LT(c.line, lines.size());
        EXPECT_EQ(lines[c.line].kind, ChartLine::Bar);
        EXPECT_EQ(lines[c.line].text, c.text);
        EXPECT_EQ(lines[c.line].length, c.length);
        EXPECT_EQ(lines[c.line].colour, c.colour);
    }
}

TEST(ChartRulesTest, NumbersTooLargeForTheirRatioNeverShowAsInfinity) {
    // A latency so small that the ratio overflows, and values whose sum overflows.
    const std::string tiny = "0." + std::string(330, '0') + "1";
    const std::string huge = std::string(308, '9');
    const CListBase table = Table({{"Read", "random", "8KB", "1", "1000", huge, "0", tiny, "1"},
                                   {"Read", "random", "8KB", "1", "1000", huge, "0", "1", "1"}});
    for (int tab : {0, 2}) {
        for (const Line& line : ChartOf(table, tab)) {
            EXPECT_EQ(line.text.find("inf"), std::string::npos) << line.text;
            EXPECT_EQ(line.text.find("nan"), std::string::npos) << line.text;
            EXPECT_GE(line.length, 0) << line.text;
        }
    }
    // Two equal huge values: their mean is that value although their sum does not fit a double.
    EXPECT_EQ(ChartOf(table, 0)[9].text, "Details Average: " + Fixed2(std::stod(huge)));
}

TEST(ChartRulesTest, FiltersNarrowTheDetailsAndNeverTheAverages) {
    struct Case {
        std::vector<RunCells> runs;
        int tab;
        FilterSelection filters; // direction, type, outstanding
        Texts labels;
        const char* firstAverage;
    };
    const std::vector<RunCells> mixed = {Make("Read", "random", "1"),
                                         Make("Read", "Random", "1"),
                                         Make("Write", "random", "1"),
                                         Make("Read", "random", "2"),
                                         kErrorRow,
                                         Make("Write", "sequential", "2")};
    const Case cases[] = {
        // Every filter off: every row, the error row too.
        {mixed,
         0,
         {},
         {"0. Read random 8KB 1O: 1.00", "1. Read Random 8KB 1O: 1.00", "2. Write random 8KB 1O: 1.00",
          "3. Read random 8KB 2O: 1.00", "4.    0O: 0.00", "5. Write sequential 8KB 2O: 1.00"},
         "MB/sec: 1.00"},
        // Exact and case-sensitive; active filters combine.
        {mixed,
         0,
         {"", "random", ""},
         {"0. Read random 8KB 1O: 1.00", "2. Write random 8KB 1O: 1.00", "3. Read random 8KB 2O: 1.00"},
         "MB/sec: 1.00"},
        {mixed,
         0,
         {"Read", "random", ""},
         {"0. Read random 8KB 1O: 1.00", "3. Read random 8KB 2O: 1.00"},
         "MB/sec: 1.00"},
        {mixed, 0, {"Read", "random", "2"}, {"3. Read random 8KB 2O: 1.00"}, "MB/sec: 1.00"},
        {mixed, 0, {"Read", "Random", "2"}, {}, "MB/sec: 1.00"},
        {mixed, 0, {"Read", "Random", ""}, {"1. Read Random 8KB 1O: 1.00"}, "MB/sec: 1.00"},
        // Any active filter excludes the error row.
        {kWithErrorRow, 0, {"Read", "", ""}, {"0. Read random 8KB 2O: 3.00"}, "MB/sec: 3.00"},
        // No row passes: the averages still cover every row.
        {{{"Read", "random", "8KB", "2", "300", "3.00", "1", "2", "3"},
          {"Write", "sequential", "8KB", "4", "300", "3.00", "1", "2", "3"}},
         1,
         {"Read", "sequential", ""},
         {},
         "IO/sec: 300.00"},
        {kNoLatency,
         2,
         {},
         {"0. Read random 8KB 1O: 250.50", "1. Write random 8KB 2O: 99.99"},
         "IO/sec per Avg_Latency: 0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.filters.direction << '/' << c.filters.type << '/'
                                        << c.filters.outstanding << " on " << c.runs.size() << " rows");
        const std::vector<Line> lines = ChartOf(Table(c.runs), c.tab, c.filters);
        EXPECT_EQ(DetailLabels(lines), c.labels);
        ASSERT_EQ(lines.size(), 7 + c.labels.size() + (c.labels.empty() ? 1 : 2));
        EXPECT_EQ(lines[1].text, c.firstAverage);
        EXPECT_EQ(lines[6].text, c.filters.Any() ? "Details ***Filtered***" : "Details");
        if (c.labels.empty()) {
            EXPECT_EQ(lines[7].kind, ChartLine::Bar);
            EXPECT_EQ(lines[7].text, "No Results");
            EXPECT_EQ(lines[7].length, 0);
            EXPECT_EQ(lines[7].colour, 18);
        }
    }
}

TEST(FilterRulesTest, CellsMatchWholeUntrimmedAndCaseSensitive) {
    const CListBase table = Table(
        {Make("Read", "", " 8"), Make("Read", "", "8"), Make("Read", "", "\t 4"), Make("read", "", "")});
    struct Case {
        int row;
        FilterSelection selection;
        bool passes;
    };
    const Case cases[] = {
        {0, {"", "", "8"}, false}, // " 8" is not "8"
        {1, {"", "", "8"}, true},    {2, {"", "", "4"}, false},
        {0, {"Read", "", ""}, true}, {3, {"Read", "", ""}, false}, // "Read" and "read" are two values
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassesFilters(table, c.row, c.selection), c.passes)
            << c.row << ' ' << c.selection.direction << '/' << c.selection.outstanding;
}

TEST(FilterRulesTest, ListsHoldAllThenTheDistinctTrimmedValues) {
    struct Case {
        int column;
        Texts cells;
        bool sorted;
        Texts entries;
    };
    const Case cases[] = {
        // Sorted ignoring case, equal ones in order of appearance; "<All>" stays first although "1st"
        // orders ahead of "<" byte-wise. An error row's empty cell adds nothing.
        {kColType,
         {"random", "sequential", "", "Random", "random", "1st"},
         true,
         {"<All>", "1st", "random", "Random", "sequential"}},
        {kColDirection, {"Write", "Read", "", "Read", "Write", "Read"}, true, {"<All>", "Read", "Write"}},
        {kColDirection, {"Read", "read"}, true, {"<All>", "Read", "read"}},
        // Unsorted: order of first appearance.
        {kColOutstanding, {"8", "1", "", "16", "2", "8"}, false, {"<All>", "8", "1", "16", "2"}},
        // Leading white space is trimmed for the list; a blank cell adds nothing.
        {kColOutstanding, {" 8", "8", "\t 4", "   "}, false, {"<All>", "8", "4"}},
        {kColOutstanding, {}, false, {"<All>"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterListEntries(TableOfColumn(c.column, c.cells), c.column, c.sorted), c.entries)
            << c.column << ' ' << c.cells.size();
}

TEST(OverallAveragesTest, LabelsLengthsAndColours) {
    CListBase table = Table({{"Read", "random", "8KB", "4", "950.5", "7.4", "3", "3", "3"},
                             {"Write", "sequential", "8KB", "4", "10", "99.99", "10", "10", "10"},
                             kErrorRow});
    ChartModel chart;
    BuildOverallAverageLines(ComputeOverallAverages(table), chart);
    const std::vector<ChartLine>& lines = chart.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].kind, ChartLine::Header);
    EXPECT_EQ(lines[0].text, "Overall Averages");
    EXPECT_EQ(lines[0].colour, 7);
    struct Bar {
        const char* text;
        double length;
        int colour;
    };
    const Bar bars[] = {
        {"Sequential MB/sec 99.99", 99.99, 0},
        {"Randon IOs/sec 950.50 (1% graphed)", 950.5 * 0.01, 1}, // one hundredth of the full value
        {"Min_Latency 6.50", 6.5, 3},                            // the error row's empty cells do not count
        {"Avg_Latency 6.50", 6.5, 4},
        {"Max_Latency 6.50", 6.5, 5}, // the mean, not the largest value
    };
    for (size_t i = 0; i < std::size(bars); ++i) {
        EXPECT_EQ(lines[1 + i].text, bars[i].text);
        EXPECT_EQ(lines[1 + i].length, bars[i].length) << bars[i].text;
        EXPECT_EQ(lines[1 + i].colour, bars[i].colour) << bars[i].text;
    }
    EXPECT_EQ(table.MaxColumn_d(kColMaxLatency), 10.0);
}

// The chart builder against the list's own rules, on tables no report would produce.
TEST(ChartRulesTest, AveragesAreTheListsColumnMeans) {
    std::mt19937 random(7);
    const auto pick = [&random](std::initializer_list<const char*> pool) {
        return std::string(pool.begin()[random() % pool.size()]);
    };
    for (int round = 0; round < 200; ++round) {
        CListBase table;
        AddResultColumns(table);
        const int rows = static_cast<int>(random() % 12);
        for (int row = 0; row < rows; ++row) {
            ListRow cells(kResultColumnCount);
            cells[kColNumber] = std::to_string(row);
            cells[kColDirection] = pick({"Read", "Write", "read", ""});
            cells[kColType] = pick({"random", "sequential", "Random", " random", ""});
            for (int column = kColIOsPerSec; column <= kColMaxLatency; ++column)
                cells[static_cast<size_t>(column)] =
                    pick({"", "12.5", " 7", "abc", "0", "3.25ms", "-4", "0.001", "1e3", "99999.995"});
            table.InsertRow(cells);
        }
        for (int tab = 0; tab < kChartTabCount; ++tab) {
            SCOPED_TRACE(testing::Message() << "round " << round << " tab " << tab);
            const TabChartPlan plan = PlanTabChart(tab, {});
            ChartModel chart;
            BuildTabChartLines(table, tab, plan, chart);
            ASSERT_GE(chart.LineCount(), 8);

            std::string none;
            const double divisor = tab == kRatioTab ? table.AvgColumn_d(kColAvgLatency, -1, none, 1.0) : 1.0;
            std::string allText;
            const double all = table.AvgColumn_d(plan.valueColumn, -1, allText, divisor);
            EXPECT_EQ(chart.Lines()[1].text, plan.title + ": " + allText);
            EXPECT_DOUBLE_EQ(chart.Lines()[1].length, all);
            const std::pair<int, const char*> groups[] = {{kColDirection, "Read"},
                                                          {kColDirection, "Write"},
                                                          {kColType, "sequential"},
                                                          {kColType, "random"}};
            const char* names[] = {"Read", "Write", "Sequential", "Random"};
            for (size_t i = 0; i < 4; ++i) {
                std::string text = groups[i].second;
                const double mean = table.AvgColumn_d(plan.valueColumn, groups[i].first, text, divisor);
                EXPECT_EQ(chart.Lines()[2 + i].text, plan.title + ", " + names[i] + ": " + text);
                EXPECT_DOUBLE_EQ(chart.Lines()[2 + i].length, mean);
            }
        }
    }
}

} // namespace
