// Comparing reports without a window: matching runs into tests, their means, changes and summary, the
// order and filters of the tests, the comparison table's columns, the reports' names, and the geometry
// of the comparison's charts.
#include "compare/CompareLabels.h"
#include "compare/ComparisonTable.h"
#include "compare/CurvePlot.h"
#include "compare/GroupedBarGeometry.h"
#include "compare/ReportSet.h"
#include "report/ResultRow.h"
#include "table/ListCsv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

// A result row of a run: Direction, Type, Size, Outstanding IOs, then IO/Sec, MB/Sec, Min, Avg and Max
// latency. An error row has only its message.
struct Run {
    const char* direction;
    const char* type;
    const char* size;
    const char* outstanding;
    const char* values[5];
};

ReportTests TestsOf(std::initializer_list<Run> runs, int errorRows = 0) {
    CListBase table;
    AddResultColumns(table);
    for (const Run& run : runs) {
        ListRow cells = {table.GetItemCount_s_FAST(), run.direction, run.type, run.size, run.outstanding};
        for (const char* value : run.values)
            cells.push_back(value);
        cells.push_back("");
        table.InsertRow(cells);
    }
    for (int i = 0; i < errorRows; ++i)
        AddErrorRow(table, "Token [MBs/sec:] not found in test: sqlio v1.5.SG");
    ReportTests tests;
    tests.AddRows(table);
    return tests;
}

// The test of a comparison with the given key, or -1.
int FindTest(const Comparison& comparison, const TestKey& key) {
    for (int test = 0; test < comparison.TestCount(); ++test)
        if (comparison.Key(test) == key)
            return test;
    return -1;
}

constexpr int kMinLatency = 3;
constexpr int kRatio = 2;

TEST(CompareMatching, RunsMatchByTheirFourCellsExactlyAndRepeatedRunsAverageTheirNonEmptyCells) {
    const ReportTests baseline = TestsOf(
        {
            {"Read", "random", "8KB", "4", {"100", "0.78", "0", "10", "50"}},
            {"Read", "random", "8KB", "4", {"300", "2.34", "1", "30", "90"}},
            // A DiskSpd run without -L: no latencies, which are then missing, not 0.
            {"Read", "random", "8KB", "4", {"200", "1.56", "", "", ""}},
            {"read", "random", "8KB", "4", {"999", "9", "9", "9", "9"}},
            {"Read", "random", "8192B", "4", {"777", "7", "7", "7", "7"}},
        },
        2);
    EXPECT_EQ(baseline.TestCount(), 3);
    EXPECT_EQ(baseline.Runs(), 5);
    EXPECT_EQ(baseline.ErrorRows(), 2); // error rows are counted, and match nothing

    const ReportTests candidate = TestsOf({{"Read", "random", "8KB", "4", {"220", "1.72", "", "", ""}},
                                           {"Write", "random", "8KB", "4", {"50", "0.4", "1", "20", "60"}}});
    const Comparison comparison({&baseline, &candidate});
    ASSERT_EQ(comparison.TestCount(), 4);
    const int shared = FindTest(comparison, {"Read", "random", "8KB", "4"});
    ASSERT_GE(shared, 0);
    EXPECT_EQ(comparison.Runs(shared, 0), 3u);
    EXPECT_EQ(comparison.Runs(shared, 1), 1u);
    EXPECT_DOUBLE_EQ(*comparison.Mean(shared, 0, kMeasureIOs), 200.0);
    EXPECT_DOUBLE_EQ(*comparison.Mean(shared, 0, kMeasureAvgLatency), 20.0); // over the two runs that have it
    EXPECT_FALSE(comparison.Mean(shared, 1, kMeasureAvgLatency));            // no cell: no value, never 0
    EXPECT_NEAR(*comparison.Change(shared, 1, kMeasureIOs), 10.0, 1e-9);
    EXPECT_FALSE(comparison.Change(shared, 1, kMeasureAvgLatency));
    EXPECT_FALSE(comparison.Change(shared, 0, kMeasureIOs)); // the baseline has no change

    // A test only one report holds: the other's cells are empty.
    const int writes = FindTest(comparison, {"Write", "random", "8KB", "4"});
    EXPECT_EQ(comparison.Runs(writes, 0), 0u);
    EXPECT_FALSE(comparison.Mean(writes, 0, kMeasureIOs));
    EXPECT_FALSE(comparison.Change(writes, 1, kMeasureIOs));
    EXPECT_GE(FindTest(comparison, {"read", "random", "8KB", "4"}), 0);
    EXPECT_GE(FindTest(comparison, {"Read", "random", "8192B", "4"}), 0);
}

TEST(CompareMatching, TheLatencyRatioIsTheMeanIOsOverTheMeanLatencyAndAZeroBaselineHasNoChange) {
    const ReportTests baseline = TestsOf({{"Read", "random", "8KB", "1", {"100", "1", "0", "4", "9"}},
                                          {"Read", "random", "8KB", "1", {"300", "1", "0", "6", "9"}},
                                          {"Read", "random", "8KB", "2", {"500", "1", "0", "0", "9"}},
                                          {"Read", "random", "8KB", "8", {"500", "1", "", "", ""}}});
    const ReportTests candidate = TestsOf({{"Read", "random", "8KB", "1", {"300", "1", "2", "5", "9"}}});
    const Comparison comparison({&baseline, &candidate});
    // The mean IO/sec over the mean latency, not the mean of each run's quotient (which would be 37.5).
    EXPECT_DOUBLE_EQ(*comparison.Mean(0, 0, kRatio), 40.0);
    EXPECT_DOUBLE_EQ(*comparison.Mean(1, 0, kRatio), 500.0); // a latency of 0 leaves IO/sec unchanged
    EXPECT_DOUBLE_EQ(*comparison.Mean(2, 0, kRatio), 500.0); // and so does a missing one
    EXPECT_NEAR(*comparison.Change(0, 1, kRatio), 50.0, 1e-9);
    // A baseline of 0 has no change to be measured against.
    EXPECT_DOUBLE_EQ(*comparison.Mean(0, 0, kMinLatency), 0.0);
    EXPECT_FALSE(comparison.Change(0, 1, kMinLatency));
}

TEST(CompareText, MeansHaveTwoDecimalsAndChangesASignAndOne) {
    const struct {
        std::optional<double> value;
        const char* mean;
        const char* change;
    } cases[] = {
        {std::nullopt, "", ""}, {12.4449, "12.44", "+12.4"}, {-3.0, "-3.00", "-3.0"},
        {0.0, "0.00", "+0.0"},  {-0.04, "-0.04", "-0.0"},    {1234567.891, "1234567.89", "+1234567.9"},
        {0.05, "0.05", "+0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MeanText(c.value), c.mean);
        EXPECT_EQ(ChangeText(c.value), c.change);
        // A change is a plain number, never a cell a spreadsheet runs as a formula.
        EXPECT_FALSE(StartsFormula(ChangeText(c.value)));
    }
}

TEST(CompareOrdering, TestsGoByDirectionAndTypeAsTextThenSizeInBytesThenOutstandingAsANumber) {
    // Each key orders before the next.
    const TestKey ordered[] = {
        {"Mixed 70/30", "random", "8KB", "8"}, {"Read", "random", "512B", "1"},
        {"Read", "random", "4KB", "32"},       {"Read", "random", "8192B", "1"},
        {"Read", "random", "8KB", "1"},        {"Read", "random", "8KB", "2"},
        {"Read", "random", "8KB", "16"},       {"Read", "random", "64KB", "1"},
        {"Read", "random", "1MB", "1"},        {"Read", "random", "huge", "1"},
        {"Read", "Sequential", "4KB", "1"},    {"read", "random", "8KB", "1"},
        {"Write", "random", "4KB", "1"},
    };
    for (size_t i = 0; i + 1 < std::size(ordered); ++i) {
        const TestKey& a = ordered[i];
        const TestKey& b = ordered[i + 1];
        EXPECT_TRUE(TestOrder::Less(a, TestOrder::NumbersOf(a), b, TestOrder::NumbersOf(b)))
            << a.direction << ' ' << a.type << ' ' << a.size << ' ' << a.outstanding;
        EXPECT_FALSE(TestOrder::Less(b, TestOrder::NumbersOf(b), a, TestOrder::NumbersOf(a)));
    }

    const struct {
        const char* size;
        bool known;
        double bytes;
    } sizes[] = {{"8KB", true, 8192},  {"512B", true, 512},    {"4KiB", true, 4096},
                 {"64k", true, 65536}, {"1MB", true, 1048576}, {"2 GiB", true, 2147483648.0},
                 {"4096", true, 4096}, {"1.5KB", true, 1536},  {"8 kb ", true, 8192},
                 {"huge", false, 0},   {"8XB", false, 0},      {"", false, 0}};
    for (const auto& c : sizes) {
        double bytes = 0;
        EXPECT_EQ(SizeInBytes(c.size, bytes), c.known) << c.size;
        if (c.known) {
            EXPECT_DOUBLE_EQ(bytes, c.bytes) << c.size;
        }
    }
}

TEST(CompareOrdering, FiltersNarrowTheTestsAndTheLargestChangeComesFirstEitherWay) {
    const ReportTests baseline = TestsOf({{"Read", "random", "8KB", "1", {"100", "1", "0", "1", "1"}},
                                          {"Read", "random", "8KB", "2", {"100", "1", "0", "1", "1"}},
                                          {"Read", "random", "8KB", "4", {"100", "1", "0", "1", "1"}},
                                          {"Write", "random", "8KB", "1", {"100", "1", "0", "1", "1"}}});
    const ReportTests up = TestsOf({{"Read", "random", "8KB", "1", {"110", "1", "0", "1", "1"}},
                                    {"Read", "random", "8KB", "2", {"40", "1", "0", "1", "1"}}});
    const ReportTests down = TestsOf({{"Read", "random", "8KB", "1", {"120", "1", "0", "1", "1"}},
                                      {"Write", "random", "8KB", "1", {"70", "1", "0", "1", "1"}}});
    const Comparison comparison({&baseline, &up, &down});
    const auto outstanding = [&](const std::vector<int>& tests) {
        std::vector<std::string> keys;
        for (const int test : tests)
            keys.push_back(comparison.Key(test).direction + comparison.Key(test).outstanding);
        return keys;
    };
    EXPECT_EQ(outstanding(ShownTests(comparison, {}, CompareOrder::ByTest, kMeasureIOs)),
              (std::vector<std::string>{"Read1", "Read2", "Read4", "Write1"}));
    // -60 % beats -30 % and +20 %; a test without a change keeps its place at the end.
    EXPECT_EQ(outstanding(ShownTests(comparison, {}, CompareOrder::ByLargestChange, kMeasureIOs)),
              (std::vector<std::string>{"Read2", "Write1", "Read1", "Read4"}));
    CompareFilters filters;
    filters.values[static_cast<size_t>(TestKeyPart::Direction)] = "Read";
    filters.values[static_cast<size_t>(TestKeyPart::Outstanding)] = "2";
    EXPECT_EQ(outstanding(ShownTests(comparison, filters, CompareOrder::ByTest, kMeasureIOs)),
              (std::vector<std::string>{"Read2"}));
    EXPECT_EQ(KeyPartValues(comparison, TestKeyPart::Outstanding), (std::vector<std::string>{"1", "2", "4"}));
    EXPECT_EQ(KeyPartValues(comparison, TestKeyPart::Direction), (std::vector<std::string>{"Read", "Write"}));
}

TEST(CompareSummary, GeometricMeansOfTheRatiosAndTheMedianLatencyChangeOverTheMatchedTests) {
    const ReportTests baseline = TestsOf({{"Read", "random", "8KB", "1", {"100", "10", "0", "10", "1"}},
                                          {"Read", "random", "8KB", "2", {"100", "10", "0", "10", "1"}},
                                          {"Read", "random", "8KB", "4", {"100", "0", "0", "10", "1"}},
                                          {"Read", "random", "8KB", "8", {"100", "10", "0", "10", "1"}}});
    const ReportTests candidate = TestsOf({{"Read", "random", "8KB", "1", {"200", "40", "0", "5", "1"}},
                                           {"Read", "random", "8KB", "2", {"50", "10", "0", "12", "1"}},
                                           // MB/sec of 0 on the baseline: no ratio for it.
                                           {"Read", "random", "8KB", "4", {"100", "10", "0", "13", "1"}},
                                           {"Read", "random", "8KB", "64", {"1", "1", "0", "1", "1"}}});
    const Comparison comparison({&baseline, &candidate});
    const CandidateSummary summary = comparison.Summary(1);
    EXPECT_EQ(summary.matchedTests, 3);
    EXPECT_NEAR(*summary.ioRatio, 1.0, 1e-12);          // 2 x 0.5 x 1
    EXPECT_NEAR(*summary.mbRatio, 2.0, 1e-12);          // 4 x 1, the third left out
    EXPECT_NEAR(*summary.avgLatencyChange, 20.0, 1e-9); // of -50, +20, +30

    std::vector<double> even = {4, 1, 3, 2};
    EXPECT_DOUBLE_EQ(*Median(even), 2.5);
    std::vector<double> none;
    EXPECT_FALSE(Median(none));

    const ReportTests apart = TestsOf({{"Write", "random", "8KB", "1", {"1", "1", "1", "1", "1"}}});
    const CandidateSummary unmatched = Comparison({&baseline, &apart}).Summary(1);
    EXPECT_EQ(unmatched.matchedTests, 0);
    EXPECT_FALSE(unmatched.ioRatio);
    EXPECT_EQ(SummaryText("new.txt", summary),
              "new.txt: 3 tests matched, IO/sec x1.000, MB/sec x2.000 (geometric means), Avg_Latency +20.0 % "
              "(median)");
    EXPECT_EQ(
        SummaryText("apart.txt", unmatched),
        "apart.txt: 0 tests matched, IO/sec n/a, MB/sec n/a (geometric means), Avg_Latency n/a (median)");
}

TEST(CompareTable, ColumnsAreTheTestThenRunsThenPerMeasureEachValueAndTheCandidatesChanges) {
    const ReportTests a = TestsOf({{"Read", "random", "8KB", "4", {"100", "1", "0", "10", "20"}}});
    const ReportTests b = TestsOf({{"Read", "random", "8KB", "4", {"110", "2", "0", "9", "30"}},
                                   {"Read", "random", "8KB", "4", {"130", "2", "0", "11", "30"}}});
    const Comparison comparison({&a, &b});
    CListBase table;
    table.AddCol(ColSortText, "left over", 10, 0); // refilling replaces every column
    FillComparisonTable(table, comparison, {"old", "new"}, {0}, {kMeasureIOs, kMeasureAvgLatency});
    std::vector<std::string> titles;
    for (int column = 0; column < table.GetColumnCount(); ++column)
        titles.push_back(table.Column(column).title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Direction", "Type", "Size", "Outstanding IOs", "Runs [old]",
                                                "Runs [new]", "IO/Sec [old]", "IO/Sec [new]",
                                                "IO/Sec change % [new]", "Avg_Latency [old]",
                                                "Avg_Latency [new]", "Avg_Latency change % [new]"}));
    ASSERT_EQ(table.GetItemCount(), 1);
    EXPECT_EQ(ListRow(table.Row(0)), (ListRow{"Read", "random", "8KB", "4", "1", "2", "100.00", "120.00",
                                              "+20.0", "10.00", "10.00", "+0.0"}));
    EXPECT_EQ(AllMeasures().size(), static_cast<size_t>(kCompareMeasureCount));
}

// The tail compares too: p99 and p99.9 of the runs' Total latency, from their reports' percentiles,
// appended after the six measures of the cells. One real run as DiskSpd text and as its XML matches
// itself; a report without percentiles (SQLIO) has no value there, never 0.
TEST(CompareTail, PercentileMeasuresComeFromTheRunsDetailsAndFollowTheSixOthers) {
    const std::string data = TRELVANE_SOURCE_DIR "/tests/data/";
    const ComparedReport text = LoadComparedReport(data + "diskspd/vc-readwrite-mix-70-30.txt");
    const ComparedReport xml = LoadComparedReport(data + "diskspd/hand-2.0-xml-iops-samples.xml");
    const ComparedReport sqlio = LoadComparedReport(data + "sqlio/es-random-read-8KB-q8.txt");
    const Comparison comparison({&text.tests, &xml.tests, &sqlio.tests});
    const int p99 = kCompareMeasureCount - 2, p999 = kCompareMeasureCount - 1;
    EXPECT_STREQ(kCompareMeasures[p99].name, "p99_Latency");
    EXPECT_STREQ(kCompareMeasures[p999].name, "p99.9_Latency");
    const int run = FindTest(comparison, {"Mixed 70/30", "random", "4KB", "1"});
    ASSERT_GE(run, 0);
    EXPECT_DOUBLE_EQ(*comparison.Mean(run, 0, p99), 4.713);
    EXPECT_DOUBLE_EQ(*comparison.Mean(run, 1, p999), 7.432);
    EXPECT_DOUBLE_EQ(*comparison.Change(run, 1, p99), 0.0);
    const int read = FindTest(comparison, {"Read", "random", "8KB", "8"});
    ASSERT_GE(read, 0);
    EXPECT_FALSE(comparison.Mean(read, 2, p99));
    EXPECT_DOUBLE_EQ(*comparison.Mean(read, 2, kMeasureIOs), 22893.54);

    CListBase table;
    FillComparisonTable(table, comparison, {"text", "xml", "sqlio"}, {run}, AllMeasures());
    std::vector<std::string> titles;
    for (int column = table.GetColumnCount() - 5; column < table.GetColumnCount(); ++column)
        titles.push_back(table.Column(column).title);
    EXPECT_EQ(titles, (std::vector<std::string>{"p99.9_Latency [text]", "p99.9_Latency [xml]",
                                                "p99.9_Latency change % [xml]", "p99.9_Latency [sqlio]",
                                                "p99.9_Latency change % [sqlio]"}));
    EXPECT_EQ(table.Column(4 + 3 + 5 * 6 - 1).title, "Max_Latency change % [sqlio]")
        << "the six keep their places";
}

TEST(CompareNames, AFileNameTakesAsMuchOfItsFolderAsTellsItApart) {
    const struct {
        std::vector<std::string> paths;
        const char* separators;
        std::vector<std::string> labels;
    } cases[] = {
        {{"/r/old.txt", "/r/new.txt"}, "/", {"old.txt", "new.txt"}},
        {{"/a/before/run.txt", "/a/after/run.txt", "/a/after/x.txt"},
         "/",
         {"before/run.txt", "after/run.txt", "x.txt"}},
        {{"/x/san/run.txt", "/y/san/run.txt", "/z/nvme/run.txt"},
         "/",
         {"x/san/run.txt", "y/san/run.txt", "nvme/run.txt"}},
        {{"run.txt", "/data/run.txt"}, "/", {"run.txt", "data/run.txt"}},
        {{"/r/run.txt", "/r/run.txt"}, "/", {"/r/run.txt", "/r/run.txt (2)"}},
        {{"C:\\Reports\\SAN\\run.txt", "C:/Reports/NVMe/run.txt"}, "\\/", {"SAN\\run.txt", "NVMe/run.txt"}},
        {{"C:\\a\\run.txt", "D:\\a\\run.txt"}, "\\/", {"C:\\a\\run.txt", "D:\\a\\run.txt"}},
        // On Linux a backslash belongs to the name.
        {{"/r/a\\run.txt", "/r/b\\run.txt"}, "/", {"a\\run.txt", "b\\run.txt"}},
        {{}, "/", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareLabels(c.paths, c.separators), c.labels)
            << c.paths.size() << " paths from " << c.paths.front();
}

ComparedReport Opened(ReportTests tests) {
    ComparedReport report;
    report.status = ReportLoadStatus::AllParsed;
    report.tests = std::move(tests);
    return report;
}

TEST(CompareReportSet, HoldsEightReportsOnceEachAndABaselineThatOpens) {
    ReportSet set;
    const ReportSet::Added first = set.Add({"/r/1.txt", "/r/2.txt", "/r/1.txt", ""});
    EXPECT_EQ(first.entries, (std::vector<int>{0, 1}));
    EXPECT_EQ(first.duplicates, 1);
    const ReportSet::Added more = set.Add(
        {"/r/3.txt", "/r/4.txt", "/r/5.txt", "/r/6.txt", "/r/7.txt", "/r/8.txt", "/r/9.txt", "/r/10.txt"});
    EXPECT_EQ(more.entries.size(), 6u);
    EXPECT_EQ(more.overLimit, 2);
    EXPECT_EQ(set.Count(), ReportSet::kMaxReports);

    set.SetBaseline(3); // 4.txt first, the rest in their order
    set.Move(1, 7);     // 1.txt to the end
    set.Remove(6);      // 8.txt
    EXPECT_EQ(set.Labels(),
              (std::vector<std::string>{"4.txt", "2.txt", "3.txt", "5.txt", "6.txt", "7.txt", "1.txt"}));
    // Each report keeps its colour through the moves; a new one takes the colour freed.
    EXPECT_EQ(set.Colour(0), 3);
    EXPECT_EQ(set.Colour(6), 0);
    set.Add({"/r/11.txt"});
    EXPECT_EQ(set.Colour(7), 7);

    // Unread and unopened entries do not compare; the first that opened is the baseline.
    ComparedReport gone;
    gone.problem = "No such file or directory";
    set.SetReport(0, std::move(gone));
    set.SetReport(2, Opened(TestsOf({{"Read", "random", "8KB", "1", {"100", "1", "0", "1", "1"}}})));
    set.SetReport(4, Opened(TestsOf({{"Read", "random", "8KB", "1", {"150", "1", "0", "1", "1"}}})));
    EXPECT_EQ(set.Compared(), (std::vector<int>{2, 4}));
    const Comparison comparison = set.Compare();
    ASSERT_EQ(comparison.ReportCount(), 2);
    EXPECT_NEAR(*comparison.Change(0, 1, kMeasureIOs), 50.0, 1e-9);
}

TEST(CompareGeometry, RowsBelowTheLegendScrollByRowsAndBarsStayInTheirArea) {
    GroupedBarGeometry geometry;
    geometry.rows = RowView{800, 400, 40, 20};
    geometry.reports = 3;
    geometry.labelWidth = 100;
    geometry.valueWidth = 200;
    EXPECT_EQ(geometry.rows.VisibleRows(), 18);
    EXPECT_EQ(geometry.RowCount(10), 40);
    EXPECT_EQ(geometry.rows.MaxFirstRow(40), 22);
    EXPECT_EQ(geometry.rows.MaxFirstRow(5), 0);
    EXPECT_EQ(geometry.rows.LastDrawnRow(22, 40), 40);
    EXPECT_EQ(geometry.rows.LastDrawnRow(0, 40), 19); // a row cut at the bottom is drawn too
    EXPECT_EQ(geometry.rows.RowAt(39, 5, 40), -1);    // the legend
    EXPECT_EQ(geometry.rows.RowAt(40, 5, 40), 5);
    EXPECT_EQ(geometry.rows.RowAt(399, 30, 40), -1); // past the last row
    EXPECT_EQ(geometry.rows.RowTop(7, 5), 80);
    EXPECT_EQ(geometry.GroupOf(9), 2);
    EXPECT_EQ(geometry.BarOf(8), -1); // a group's caption
    EXPECT_EQ(geometry.BarOf(11), 2);
    EXPECT_EQ(geometry.BarAreaWidth(), 500);
    EXPECT_EQ(geometry.BarPixels(50, 100), 250);
    EXPECT_EQ(geometry.BarPixels(1e300, 1), 500);
    EXPECT_EQ(geometry.BarPixels(-5, 100), 0);
    EXPECT_EQ(geometry.BarPixels(std::nan(""), 100), 0);
    geometry.rows.width = 250; // narrower than the texts: no bar, never a negative one
    EXPECT_EQ(geometry.BarPixels(50, 100), 0);

    int height = 0;
    const std::vector<LegendPlace> places = LayOutLegend({100, 100, 100, 500}, 330, 20, 10, height);
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[2].x, 220);
    EXPECT_EQ(places[2].y, 0);
    EXPECT_EQ(places[3].x, 0); // wider than the width: a line of its own
    EXPECT_EQ(places[3].y, 20);
    EXPECT_EQ(height, 40);
}

TEST(CompareGeometry, AxesEndOnRoundNumbersAndQueueDepthsDoubleEvenly) {
    const PlotAxis linear = LinearAxis(0, 98234.8, 6);
    EXPECT_EQ(linear.low, 0);
    EXPECT_EQ(linear.high, 100000);
    EXPECT_EQ(linear.ticks.size(), 6u);
    EXPECT_EQ(linear.TickText(linear.ticks[1]), "20000");
    EXPECT_DOUBLE_EQ(linear.Fraction(50000), 0.5);
    const PlotAxis small = LinearAxis(0, 0.44, 5);
    EXPECT_NEAR(small.high, 0.6, 1e-12);
    EXPECT_EQ(small.TickText(small.ticks[1]), "0.2");
    const PlotAxis flat = LinearAxis(0, 0, 5); // every value 0: still an axis
    EXPECT_GT(flat.high, flat.low);

    const PlotAxis depths = Log2Axis(1, 32, 8);
    EXPECT_EQ(depths.ticks, (std::vector<double>{1, 2, 4, 8, 16, 32}));
    EXPECT_DOUBLE_EQ(depths.Fraction(4), 0.4);
    EXPECT_EQ(Log2Axis(3, 20, 8).ticks, (std::vector<double>{2, 4, 8, 16, 32}));
    EXPECT_EQ(Log2Axis(1, 1024, 4).ticks, (std::vector<double>{1, 16, 256, 4096}));
    EXPECT_EQ(Log2Axis(8, 8, 8).ticks, (std::vector<double>{4, 8, 16})); // one depth: in the middle

    // Curves: one series per Direction, Type and Size, points in the order of the queue depths.
    const ReportTests baseline = TestsOf({{"Read", "random", "8KB", "1", {"100", "1", "0", "1", "1"}},
                                          {"Read", "random", "8KB", "16", {"900", "1", "0", "9", "1"}},
                                          {"Read", "random", "8KB", "4", {"400", "1", "0", "", "1"}},
                                          {"Read", "random", "64KB", "1", {"50", "1", "0", "1", "1"}}});
    const Comparison comparison({&baseline});
    const std::vector<CurveSeries> series =
        BuildCurves(comparison, ShownTests(comparison, {}, CompareOrder::ByTest, kMeasureIOs), kMeasureIOs);
    ASSERT_EQ(series.size(), 2u);
    ASSERT_EQ(series[0].measure[0].size(), 3u);
    EXPECT_EQ(series[0].measure[0][1].x, 4);
    EXPECT_EQ(series[0].measure[0][2].y, 900);
    EXPECT_EQ(series[0].latency[0].size(), 2u); // the run without a latency gives no point there
    EXPECT_TRUE(OutstandingAxis(series[0], 8).log2);
    EXPECT_EQ(SeriesCaption(series[1].key), "Read random 64KB");
    EXPECT_EQ(TestCaption(series[1].key), "Read random 64KB, 1 outstanding");
}

} // namespace
