// The six chart tabs, driven through the real window and checked on the chart model.
#include "app/DialogTemplate.h"
#include "report/ResultRow.h"
#include "table/CellNumber.h"
#include "tests/filters_support.h"

#include <QPushButton>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

namespace {

using Texts = std::vector<std::string>;

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

SqlioRun MakeRun(const char* direction, const char* type, const char* size, const char* outstanding,
                 const char* ios, const char* mbs, const char* minLatency, const char* avgLatency,
                 const char* maxLatency) {
    SqlioRun run;
    run.direction = direction;
    run.type = type;
    run.size = size;
    run.outstanding = outstanding;
    run.ios = ios;
    run.mbs = mbs;
    run.minLatency = minLatency;
    run.avgLatency = avgLatency;
    run.maxLatency = maxLatency;
    return run;
}

// Four runs; row 3 is a random 8KB read with 4 outstanding IOs at 123.456 MB/sec, row 2 has no latency.
std::vector<SqlioRun> FourRuns() {
    return {MakeRun("reading", "random", "8KB", "4", "200.50", "1.25", "1", "4", "30"),
            MakeRun("writing", "sequential", "64KB", "8", "1000", "62.5", "0", "2", "45.5"),
            MakeRun("reading", "sequential", "64KB", "2", "3000.75", "187.55", "2", "0", "12"),
            MakeRun("reading", "random", "8KB", "4", "15806.72", "123.456", "3", "8", "99.99")};
}

// What each tab should show for FourRuns(), computed here independently of the program.
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

class ChartsTest : public AnalysisWindowTest {
protected:
    void SetUp() override {
        AnalysisWindowTest::SetUp();
        std::setlocale(LC_NUMERIC, "C"); // the expectations are printed with printf
    }
};

TEST_F(ChartsTest, EveryTabShowsItsTitleColumnScaleAndColours) {
    Load(FourRuns());
    const char* rowStart[4] = {"0. Read random 8KB 4O: ", "1. Write sequential 64KB 8O: ",
                               "2. Read sequential 64KB 2O: ", "3. Read random 8KB 4O: "};
    const std::vector<double> ios = kExpected[1].values;
    const double latencyDivisor = Mean({4, 2, 0, 8});
    for (int tab = 0; tab < 6; ++tab) {
        SCOPED_TRACE(tab);
        SelectTab(tab);
        const ExpectedTab& expected = kExpected[tab];
        const std::string title = expected.title;
        const std::vector<double>& v = expected.values;
        // Group means over the table's own column; the ratio tab divides mean IO/sec by mean latency.
        const std::vector<double>& source = tab == 2 ? ios : v;
        const double divisor = tab == 2 ? latencyDivisor : 1.0;
        const double all = Mean(source) / divisor;
        const double read = Mean({source[0], source[2], source[3]}) / divisor;
        const double write = source[1] / divisor;
        const double sequential = Mean({source[1], source[2]}) / divisor;
        const double random = Mean({source[0], source[3]}) / divisor;

        const std::vector<ChartLine>& lines = ChartLines();
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
        const double scale = tab >= 3 ? static_cast<double>(99.99f) : -1.0;
        EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), scale);
        EXPECT_EQ(m_dialog->m_chartSettings.m_labelWidth, 232);
    }
}

TEST_F(ChartsTest, WorkedLabelAndExactBars) {
    Load(FourRuns());
    SelectTab(0);
    EXPECT_EQ(ChartLines()[10].text, "3. Read random 8KB 4O: 123.46");
    EXPECT_EQ(ChartLines()[10].length, 123.456);
    SelectTab(5);
    EXPECT_EQ(ChartLines()[10].text, "3. Read random 8KB 4O: 99.99");
    EXPECT_EQ(ChartLines()[10].length, 99.99);
}

TEST_F(ChartsTest, RatioTabDividesRowsByTheirOwnLatencyAndAveragesByTheMeanLatency) {
    // Every latency 0: the averages divide by 0 and show 0; each row shows its IO/sec unchanged.
    Load({MakeRun("reading", "random", "8KB", "1", "250.5", "2", "0", "0", "0"),
          MakeRun("writing", "random", "8KB", "2", "99.99", "1", "0", "0.000", "0")});
    SelectTab(2);
    const std::vector<ChartLine>& lines = ChartLines();
    ASSERT_EQ(lines.size(), 11u);
    for (size_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(lines[i].text.substr(lines[i].text.rfind(": ")), ": 0.00") << lines[i].text;
        EXPECT_EQ(lines[i].length, 0);
    }
    EXPECT_EQ(lines[7].text, "0. Read random 8KB 1O: 250.50");
    EXPECT_EQ(lines[7].length, 250.5);
    EXPECT_EQ(lines[8].text, "1. Write random 8KB 2O: 99.99");
    EXPECT_EQ(lines[9].text, "Details Average: 175.25");
    // An all-zero latency scale falls back to the longest bar.
    SelectTab(4);
    EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), -1.0);
}

TEST_F(ChartsTest, NumbersTooLargeForTheirRatioNeverShowAsInfinity) {
    // A latency so small that the ratio overflows, and values whose sum overflows.
    const std::string tiny = "0." + std::string(330, '0') + "1";
    const std::string huge = std::string(308, '9');
    SqlioRun a = MakeRun("reading", "random", "8KB", "1", "1000", huge.c_str(), "0", tiny.c_str(), "1");
    SqlioRun b = MakeRun("reading", "random", "8KB", "1", "1000", huge.c_str(), "0", "1", "1");
    Load({a, b});
    for (int tab : {0, 2}) {
        SelectTab(tab);
        for (const ChartLine& line : ChartLines()) {
            EXPECT_EQ(line.text.find("inf"), std::string::npos) << line.text;
            EXPECT_EQ(line.text.find("nan"), std::string::npos) << line.text;
            EXPECT_GE(line.length, 0) << line.text;
        }
    }
    SelectTab(0);
    // Two equal huge values: their mean is that value although their sum does not fit a double.
    EXPECT_EQ(ChartLines()[9].text, "Details Average: " + Fixed2(std::stod(huge)));
}

TEST_F(ChartsTest, ErrorRowsShowTheirNumberAndCountAsZero) {
    SqlioRun broken;
    broken.broken = true;
    SqlioRun good = MakeRun("reading", "random", "8KB", "2", "300", "3.00", "1", "2", "3");
    Load({good, broken});
    ASSERT_EQ(m_dialog->m_listData->GetItemCount(), 2);
    for (int tab = 0; tab < 6; ++tab) {
        SelectTab(tab);
        EXPECT_EQ(DetailLabels()[1], "1.    0O: 0.00");
        EXPECT_EQ(ChartLines()[8].length, 0);
        EXPECT_EQ(ChartLines()[8].colour, tab);
    }
    SelectTab(0);
    EXPECT_EQ(ChartLines()[9].text, "Details Average: 1.50");
    EXPECT_EQ(ChartLines()[9].length, 1.5);

    // Any active filter excludes the error row.
    PickEntry(*m_dialog->m_comboDirection, QStringLiteral("Read"));
    EXPECT_EQ(DetailLabels(), (Texts{"0. Read random 8KB 2O: 3.00"}));
}

TEST_F(ChartsTest, NoRowPassesTheFilters) {
    Load({MakeRun("reading", "random", "8KB", "2", "300", "3.00", "1", "2", "3"),
          MakeRun("writing", "sequential", "8KB", "4", "300", "3.00", "1", "2", "3")});
    SelectTab(1);
    PickEntry(*m_dialog->m_comboDirection, QStringLiteral("Read"));
    PickEntry(*m_dialog->m_comboType, QStringLiteral("sequential"));
    const std::vector<ChartLine>& lines = ChartLines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1].text, "IO/sec: 300.00"); // the averages still cover every row
    EXPECT_EQ(lines[6].text, "Details ***Filtered***");
    EXPECT_EQ(lines[7].kind, ChartLine::Bar);
    EXPECT_EQ(lines[7].text, "No Results");
    EXPECT_EQ(lines[7].length, 0);
    EXPECT_EQ(lines[7].colour, 18);
}

TEST_F(ChartsTest, GroupsWithoutRowsAndEmptyTables) {
    // Before any load a chart tab shows an empty chart.
    SelectTab(1);
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    EXPECT_TRUE(m_dialog->m_chart->isVisibleTo(m_dialog.get()));

    Load({MakeRun("reading", "random", "8KB", "2", "300", "3.00", "1", "2", "3")});
    EXPECT_EQ(ChartLines()[3].text, "IO/sec, Write: 0.00");
    EXPECT_EQ(ChartLines()[3].length, 0);
    EXPECT_EQ(ChartLines()[4].text, "IO/sec, Sequential: 0.00");

    // "Data" and "Disk Partitions" empty the chart.
    SelectTab(6);
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), -1.0);

    // A report without runs: the chart tab stays empty.
    SelectTab(3);
    Open(WriteReport({}, "empty.txt"));
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
}

} // namespace

namespace {

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
