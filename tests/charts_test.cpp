// The six chart tabs and the "Overall Averages" chart in the real window: each tab, filter and load
// draws what the chart builders make of the window's table, with the tab's scale and layout. What the
// builders make of a table is tested on tables alone.
#include "analysis/OverallAverages.h"
#include "tests/filters_support.h"

#include <gtest/gtest.h>

namespace {

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

// Four runs; row 2 has no latency, row 3 the largest Max_Latency, 99.99.
std::vector<SqlioRun> FourRuns() {
    return {MakeRun("reading", "random", "8KB", "4", "200.50", "1.25", "1", "4", "30"),
            MakeRun("writing", "sequential", "64KB", "8", "1000", "62.5", "0", "2", "45.5"),
            MakeRun("reading", "sequential", "64KB", "2", "3000.75", "187.55", "2", "0", "12"),
            MakeRun("reading", "random", "8KB", "4", "15806.72", "123.456", "3", "8", "99.99")};
}

void ExpectSameLines(const ChartModel& shown, const ChartModel& built) {
    ASSERT_EQ(shown.LineCount(), built.LineCount());
    for (int line = 0; line < built.LineCount(); ++line) {
        SCOPED_TRACE(line);
        EXPECT_EQ(shown.Line(line).kind, built.Line(line).kind);
        EXPECT_EQ(shown.Line(line).text, built.Line(line).text);
        EXPECT_EQ(shown.Line(line).length, built.Line(line).length);
        EXPECT_EQ(shown.Line(line).colour, built.Line(line).colour);
    }
}

class ChartsTest : public AnalysisWindowTest {};

TEST_F(ChartsTest, EachTabDrawsItsChartOfTheTableWithTheUsersFilters) {
    Load(FourRuns());
    ChartModel averages;
    BuildOverallAverageLines(ComputeOverallAverages(*m_dialog->m_listData), averages);
    ExpectSameLines(m_dialog->m_chartAverages->Model(), averages);

    const auto expectTab = [this](int tab, const FilterSelection& filters, size_t bars) {
        SCOPED_TRACE(tab);
        ChartModel built;
        BuildTabChartLines(*m_dialog->m_listData, tab, PlanTabChart(tab, filters), built);
        ExpectSameLines(m_dialog->m_chart->Model(), built);
        EXPECT_EQ(DetailLabels().size(), bars);
        // The three latency tabs share one scale: the largest Max_Latency of the load, as a float.
        EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), tab >= 3 ? static_cast<double>(99.99f) : -1.0);
        EXPECT_EQ(m_dialog->m_chartSettings.m_labelWidth, 232);
    };
    for (int tab = 0; tab < kChartTabCount; ++tab) {
        SelectTab(tab);
        expectTab(tab, {}, 4);
    }
    // A filter change draws the tab shown again with the user's filters; a tab switch keeps them.
    PickEntry(*m_dialog->m_comboDirection, QStringLiteral("Read"));
    PickEntry(*m_dialog->m_comboOutstanding, QStringLiteral("4"));
    const FilterSelection filters{"Read", "", "4"};
    expectTab(kChartTabCount - 1, filters, 2);
    for (int tab = 0; tab < kChartTabCount - 1; ++tab) {
        SelectTab(tab);
        expectTab(tab, filters, 2);
    }
}

TEST_F(ChartsTest, EmptyTablesAndTabsWithoutAChart) {
    // Before any load a chart tab shows an empty chart.
    SelectTab(1);
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    EXPECT_TRUE(m_dialog->m_chart->isVisibleTo(m_dialog.get()));

    Load({MakeRun("reading", "random", "8KB", "2", "300", "3.00", "1", "2", "3")});
    EXPECT_EQ(ChartLines().size(), 10u);

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
