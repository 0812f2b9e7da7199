// What a report says of each run beyond its row: kept by the readers, packed by the store, found by the
// run's number whatever the table's order, and written as the command line's CSV tables.
#include "export/RunDetailsCsv.h"
#include "report/ReportLoad.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DataPath(const std::string& name) {
    return TRELVANE_SOURCE_DIR "/tests/data/" + name;
}

// A report written to a file of the build folder, for a load as the window runs it.
std::string WriteReport(const std::string& name, const std::string& text) {
    const std::string path = TRELVANE_BINARY_DIR "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

struct Loaded {
    CListBase table;
    RunDetailsStore store;
    ReportLoadStatus status = ReportLoadStatus::CannotOpen;
};

std::unique_ptr<Loaded> Load(const std::string& path) {
    auto loaded = std::make_unique<Loaded>();
    AddResultColumns(loaded->table);
    std::string openError;
    ReportLoadDetails lines;
    loaded->status = LoadReportRows(path, loaded->table, openError, lines, {}, &loaded->store);
    return loaded;
}

RunDetails Find(const RunDetailsStore& store, int run) {
    RunDetails details;
    EXPECT_TRUE(store.Find(run, details)) << "run " << run;
    return details;
}

std::string Parameter(const RunDetails& details, const std::string& name) {
    std::string values;
    for (const RunParameter& parameter : details.parameters)
        if (parameter.name == name)
            values += (values.empty() ? "" : " | ") + parameter.value;
    return values;
}

const PercentilePoint* Point(const RunDetails& details, const std::string& percentile) {
    for (const PercentilePoint& point : details.percentiles)
        if (point.percentile == percentile)
            return &point;
    return nullptr;
}

std::optional<std::string> Ms(const RunDetails& details, const std::string& percentile, LatencyDirection d) {
    const PercentilePoint* point = Point(details, percentile);
    return point != nullptr ? point->ms[static_cast<size_t>(d)] : std::nullopt;
}

RunDetails Histogram(std::vector<std::pair<std::string, std::string>> buckets) {
    RunDetails details;
    details.histogramDirection = LatencyDirection::Write;
    for (auto& [label, percent] : buckets)
        details.histogram.push_back({label, percent});
    return details;
}

std::vector<std::pair<std::string, std::string>> SqlioBuckets(const std::vector<std::string>& shares) {
    std::vector<std::pair<std::string, std::string>> buckets;
    for (size_t i = 0; i < shares.size(); ++i)
        buckets.emplace_back(i < 24 ? std::to_string(i) : "24+", shares[i]);
    return buckets;
}

// Every shape the packing treats apart reads back as it went in.
TEST(RunDetailsStoreTest, EveryShapeOfDetailsReadsBackAsItWentIn) {
    std::vector<RunDetails> shapes;
    // SQLIO's labels and whole shares (half-bytes, and the escape for 15 and more), cut after 3 buckets.
    shapes.push_back(
        Histogram(SqlioBuckets({"78", "2", "0", "14", "15", "255", "0", "0", "0", "0", "0", "0", "0",
                                "0",  "0", "0", "0",  "0",  "0",   "0", "0", "0", "0", "0", "4"})));
    RunDetails cutShort = Histogram(SqlioBuckets({"9", "19", "10"}));
    cutShort.cut = true;
    shapes.push_back(cutShort);
    // Shares that are not small whole numbers as written stay text: a leading zero, decimals, 256.
    shapes.push_back(Histogram(SqlioBuckets({"07", "3.5", "256", ""})));
    // Labels of its own, and more buckets than a byte's count holds.
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 70; ++i)
        many.emplace_back(std::string("b").append(std::to_string(i)), std::to_string(i % 20));
    shapes.push_back(Histogram(many));
    // Percentiles with a direction missing, parameters, IOPS spread and samples.
    RunDetails full;
    full.parameters = {{"Command line", "diskspd -b4K -o3 x.dat"}, {"Target", "x.dat"}, {"Target", ""}};
    PercentilePoint point;
    point.percentile = "99.9";
    point.ms[static_cast<size_t>(LatencyDirection::Write)] = "37.418";
    point.ms[static_cast<size_t>(LatencyDirection::Total)] = "37.418";
    full.percentiles = {point, PercentilePoint{"100", {std::string("N"), std::nullopt, std::string("")}}};
    full.iopsSpread = {{LatencyDirection::Total, "135948.98", "2242082.85"}};
    full.iopsSamples = {"2304", "0", "2310"};
    shapes.push_back(full);
    RunDetails onlyCut;
    onlyCut.cut = true;
    shapes.push_back(onlyCut);

    RunDetailsStore store;
    // Run numbers far apart and next to each other: the step is written only when it is not one.
    const int runs[] = {0, 1, 7, 8, 1000, 100000};
    for (size_t i = 0; i < shapes.size(); ++i)
        ASSERT_TRUE(store.Add(runs[i], shapes[i]));
    ASSERT_EQ(store.Count(), shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i)
        EXPECT_EQ(Find(store, runs[i]), shapes[i]) << "shape " << i;
    RunDetails none;
    for (const int missing : {-1, 2, 6, 9, 999, 99999, 100001})
        EXPECT_FALSE(store.Find(missing, none)) << missing;

    std::vector<int> visited;
    store.ForEach([&](int run, const RunDetails& details) {
        EXPECT_EQ(details, shapes[visited.size()]);
        visited.push_back(run);
    });
    EXPECT_EQ(visited, std::vector<int>(std::begin(runs), std::end(runs)));
}

TEST(RunDetailsStoreTest, AStoreOfPercentilesKeepsTheirPointsAloneAndSparesSqlioItsReading) {
    const auto all = Load(DataPath("diskspd/vc-writeonly-2.2.0.txt"));
    CListBase table;
    AddResultColumns(table);
    RunDetailsStore points(RunDetailsStore::Keep::PercentilesOnly);
    std::string openError;
    ReportLoadDetails lines;
    LoadReportRows(DataPath("diskspd/vc-writeonly-2.2.0.txt"), table, openError, lines, {}, &points);
    RunDetails expected;
    expected.percentiles = Find(all->store, 0).percentiles;
    EXPECT_EQ(Find(points, 0), expected);
    points.Clear();
    EXPECT_TRUE(points.KeepsOnlyPercentiles()) << "a cleared store keeps what it kept";
    LoadReportRows(DataPath("sqlio/es-random-read-8KB-q8.txt"), table, openError, lines, {}, &points);
    EXPECT_TRUE(points.Empty());
}

TEST(RunDetailsStoreTest, RunsComeInOrderAndEmptyDetailsCostNothing) {
    RunDetailsStore store;
    EXPECT_TRUE(store.Add(5, RunDetails()));
    EXPECT_TRUE(store.Empty());
    EXPECT_EQ(store.Bytes(), 0u);
    RunDetails details = Histogram(SqlioBuckets({"1"}));
    ASSERT_TRUE(store.Add(5, details));
    EXPECT_FALSE(store.Add(5, details)) << "a run is kept once";
    EXPECT_FALSE(store.Add(4, details)) << "runs come in the order of their numbers";
    EXPECT_EQ(store.Count(), 1u);
    store.Clear();
    EXPECT_TRUE(store.Empty());
    EXPECT_TRUE(store.Add(0, details)) << "a cleared store starts again";
}

// Many runs over many pages: each is found from its index entry, and parameters the runs share are kept
// once, so a sweep of SQLIO runs costs a few bytes a run.
TEST(RunDetailsStoreTest, ManyRunsAreFoundAcrossPagesAndShareTheirParameters) {
    RunDetailsStore store;
    constexpr int kRuns = 20000;
    RunDetails details = Histogram(SqlioBuckets(std::vector<std::string>(25, "4")));
    details.parameters = {{"Tool", "sqlio v1.5.SG"}, {"Target", "E:\\testfile.dat"}, {"Duration", "60 secs"}};
    for (int run = 0; run < kRuns; ++run) {
        details.histogram[0].percent = std::to_string(run % 256);
        ASSERT_TRUE(store.Add(run * 2, details));
    }
    EXPECT_LT(store.Bytes() / kRuns, 24u) << "the parameters alone would take 45 bytes a run";
    // A record bigger than a page is kept too.
    RunDetails big;
    big.parameters = {{"Command line", std::string(100000, 'x')}};
    ASSERT_TRUE(store.Add(kRuns * 2, big));
    for (const int run : {0, 2, 62, 64, 66, 9998, 20000, kRuns * 2 - 2}) {
        const RunDetails found = Find(store, run);
        EXPECT_EQ(found.histogram[0].percent, std::to_string(run / 2 % 256)) << run;
        EXPECT_EQ(Parameter(found, "Duration"), "60 secs");
    }
    EXPECT_EQ(Find(store, kRuns * 2), big);
    RunDetails none;
    EXPECT_FALSE(store.Find(kRuns * 2 - 1, none));
}

TEST(DiskSpdPercentileTest, LabelsBecomeNumbers) {
    const std::pair<const char*, const char*> labels[] = {{"min", "0"},         {"25th", "25"},
                                                          {"99th", "99"},       {"3-nines", "99.9"},
                                                          {"4-nines", "99.99"}, {"9-nines", "99.9999999"},
                                                          {"max", "100"}};
    for (const auto& [label, number] : labels)
        EXPECT_EQ(DiskSpdPercentile(label), number) << label;
    for (const char* other : {"", "Min", "2-nines", "10-nines", "th", "123th", "total:"})
        EXPECT_EQ(DiskSpdPercentile(other), std::nullopt) << other;
}

// Values picked by hand from the real SQLIO outputs in tests/data/sqlio.
TEST(SqlioDetailsTest, RealRunsKeepTheirHistogramAndParameters) {
    const auto loaded = Load(DataPath("sqlio/es-random-read-8KB-q8.txt"));
    ASSERT_EQ(loaded->table.GetItemCount(), 1);
    const RunDetails details = Find(loaded->store, 0);
    ASSERT_EQ(details.histogram.size(), 25u);
    EXPECT_EQ(details.histogramDirection, LatencyDirection::Read);
    EXPECT_EQ(details.histogram[1], (HistogramBucket{"1", "19"}));
    EXPECT_EQ(details.histogram[7], (HistogramBucket{"7", "0"}));
    EXPECT_EQ(details.histogram[24], (HistogramBucket{"24+", "49"}));
    EXPECT_FALSE(details.cut);
    EXPECT_EQ(Parameter(details, "Tool"), "sqlio v1.5.SG");
    EXPECT_EQ(Parameter(details, "Parameter file"), "G:\\param.txt");
    EXPECT_EQ(Parameter(details, "Target"), "G:\\testfile.dat");
    EXPECT_EQ(Parameter(details, "Threads"), "64");
    EXPECT_EQ(Parameter(details, "Duration"), "15 secs");
    EXPECT_EQ(Parameter(details, "Block size"), "8KB");
    EXPECT_EQ(Parameter(details, "Queue depth"), "8");
    EXPECT_EQ(Parameter(details, "File size"), "50000 MB");
    EXPECT_TRUE(details.percentiles.empty());

    // The run without -o lacks "per thread with": its row is an error row, its histogram the report's.
    const auto failed = Load(DataPath("sqlio/es-random-write-4KB-q0.txt"));
    ASSERT_EQ(failed->table.GetItemCount(), 1);
    EXPECT_FALSE(failed->table.CellRef(0, kColDiagDetails).empty());
    const RunDetails kept = Find(failed->store, 0);
    EXPECT_EQ(kept.histogramDirection, LatencyDirection::Write);
    EXPECT_EQ(kept.histogram[1], (HistogramBucket{"1", "50"}));
    EXPECT_EQ(Parameter(kept, "Queue depth"), "");
}

TEST(SqlioDetailsTest, AHistogramCutOffKeepsItsBucketsAndSaysSo) {
    const std::string whole = ReadFile(DataPath("sqlio/es-sequential-write-64KB-q2.txt"));
    // Cut inside the shares, before "%:", and right after "histogram:".
    const std::string inShares = whole.substr(0, whole.find(" 2  2  2"));
    const std::string beforeShares = whole.substr(0, whole.find("%:"));
    const std::string afterHeading = whole.substr(0, whole.find("ms:"));
    const auto loaded =
        Load(WriteReport("cut-histograms.txt", inShares + "\n" + beforeShares + afterHeading + whole));
    ASSERT_EQ(loaded->table.GetItemCount(), 4);
    for (int run = 0; run < 4; ++run)
        EXPECT_TRUE(loaded->table.CellRef(run, kColDiagDetails).empty()) << "the rows are whole: " << run;

    const RunDetails cut = Find(loaded->store, 0);
    EXPECT_TRUE(cut.cut);
    ASSERT_EQ(cut.histogram.size(), 18u);
    EXPECT_EQ(cut.histogram[0], (HistogramBucket{"0", "28"}));
    EXPECT_EQ(cut.histogram[17], (HistogramBucket{"17", "3"}));
    for (const int run : {1, 2}) {
        EXPECT_TRUE(Find(loaded->store, run).cut) << run;
        EXPECT_TRUE(Find(loaded->store, run).histogram.empty()) << run;
    }
    const RunDetails complete = Find(loaded->store, 3);
    EXPECT_FALSE(complete.cut);
    EXPECT_EQ(complete.histogram.size(), 25u);
}

// Values picked by hand from the real DiskSpd outputs in tests/data/diskspd.
TEST(DiskSpdDetailsTest, RealRunsKeepEveryPercentileTheirParametersAndIopsSpread) {
    const auto writeOnly = Load(DataPath("diskspd/vc-writeonly-2.2.0.txt"));
    ASSERT_EQ(writeOnly->table.GetItemCount(), 1);
    const RunDetails details = Find(writeOnly->store, 0);
    ASSERT_EQ(details.percentiles.size(), 15u);
    EXPECT_EQ(details.percentiles.front().percentile, "0");
    EXPECT_EQ(details.percentiles.back().percentile, "100");
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Write), "37.418");
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Total), "37.418");
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Read), std::nullopt) << "N/A is no value, never 0";
    EXPECT_EQ(Ms(details, "99.99999", LatencyDirection::Total), "2247.379");
    EXPECT_EQ(Ms(details, "100", LatencyDirection::Total), "5543.894");
    EXPECT_FALSE(details.cut);
    EXPECT_EQ(details.iopsSpread,
              (std::vector<IopsSpread>{{LatencyDirection::Total, "135948.98", "2242082.85"}}));
    EXPECT_EQ(Parameter(details, "Command line").substr(0, 40),
              "C:\\VirtualClient\\content\\win-x64\\package");
    EXPECT_EQ(Parameter(details, "Machine"), "SCHIELC41ABD017");
    EXPECT_EQ(Parameter(details, "Start time"), "2026/05/22 07:21:47 UTC");
    EXPECT_EQ(Parameter(details, "Target"), "D:\\diskspd-test.dat");
    EXPECT_EQ(Parameter(details, "Threads"), "800");
    EXPECT_EQ(Parameter(details, "Duration"), "900s");
    EXPECT_EQ(Parameter(details, "Warm-up"), "15s");
    EXPECT_EQ(Parameter(details, "Block size"), "4KiB");
    EXPECT_EQ(Parameter(details, "Queue depth"), "3");
    EXPECT_EQ(Parameter(details, "Write ratio"), "100%");
    EXPECT_EQ(Parameter(details, "Caching"),
              "software cache disabled; hardware write cache disabled, writethrough on");
    EXPECT_EQ(Parameter(details, "IOPS interval"), "1000ms");

    const auto mix = Load(DataPath("diskspd/vc-readwrite-mix-70-30.txt"));
    const RunDetails mixed = Find(mix->store, 0);
    EXPECT_EQ(Ms(mixed, "99.99", LatencyDirection::Read), "4.753");
    EXPECT_EQ(Ms(mixed, "99.99", LatencyDirection::Write), "11.561");
    EXPECT_EQ(Ms(mixed, "99.99", LatencyDirection::Total), "10.489");
    EXPECT_EQ(Parameter(mixed, "Write ratio"), "30%");
    EXPECT_EQ(Parameter(mixed, "Command line"), "") << "2.0.21 printed none";
    EXPECT_EQ(mixed.iopsSpread.front().stdDev, "129.18");

    // Five targets: every path, and the points of the last table, the total over all of them.
    const auto five = Load(DataPath("diskspd/vc-write8k-five-targets-excerpt.txt"));
    const RunDetails targets = Find(five->store, 0);
    EXPECT_EQ(Parameter(targets, "Target"),
              "E:\\diskspd-test.dat | F:\\diskspd-test.dat | G:\\diskspd-test.dat | H:\\diskspd-test.dat | "
              "I:\\diskspd-test.dat");
    EXPECT_EQ(Parameter(targets, "Threads"), "115");
    EXPECT_EQ(Ms(targets, "0", LatencyDirection::Total), std::string(five->table.CellRef(0, kColMinLatency)));
    EXPECT_EQ(Ms(targets, "100", LatencyDirection::Total),
              std::string(five->table.CellRef(0, kColMaxLatency)));
}

TEST(DiskSpdDetailsTest, APercentileTableCutOffKeepsThePointsBeforeTheCut) {
    const std::string whole = ReadFile(DataPath("diskspd/vc-readwrite-mix-70-30.txt"));
    const std::string cut = whole.substr(0, whole.find("5-nines"));
    const auto loaded = Load(WriteReport("cut-percentiles.txt", cut));
    ASSERT_EQ(loaded->table.GetItemCount(), 1);
    EXPECT_NE(loaded->table.CellRef(0, kColDiagDetails).find("Token [max]"), std::string_view::npos);
    const RunDetails details = Find(loaded->store, 0);
    EXPECT_TRUE(details.cut);
    ASSERT_EQ(details.percentiles.size(), 9u);
    EXPECT_EQ(details.percentiles.back().percentile, "99.99");
    EXPECT_EQ(Ms(details, "99.99", LatencyDirection::Total), "10.489");
    EXPECT_EQ(Parameter(details, "Duration"), "30s") << "the parameters are whole";

    // A run made without -L has no table, which is not a cut.
    const auto noLatency = Load(DataPath("diskspd/hand-2.0-console-mb-crlf.txt"));
    ASSERT_EQ(noLatency->table.GetItemCount(), 2);
    EXPECT_TRUE(noLatency->table.CellRef(1, kColMaxLatency).empty());
    const RunDetails second = Find(noLatency->store, 1);
    EXPECT_TRUE(second.percentiles.empty());
    EXPECT_FALSE(second.cut);
}

// Values picked by hand from the XML of the real mixed run (with the -D intervals added) and its text.
TEST(DiskSpdXmlDetailsTest, TheXmlKeepsTheTextsPointsItsParametersAndItsIntervals) {
    const auto xml = Load(DataPath("diskspd/hand-2.0-xml-iops-samples.xml"));
    ASSERT_EQ(xml->table.GetItemCount(), 1);
    const RunDetails details = Find(xml->store, 0);
    ASSERT_EQ(details.percentiles.size(), 11u);
    EXPECT_EQ(Ms(details, "99.99", LatencyDirection::Read), "4.753");
    EXPECT_EQ(Ms(details, "99.99", LatencyDirection::Write), "11.561");
    EXPECT_EQ(Ms(details, "100", LatencyDirection::Total), "35.257");
    // Every point the XML gives is the text's point of the same percentile.
    const RunDetails text = Find(Load(DataPath("diskspd/vc-readwrite-mix-70-30.txt"))->store, 0);
    for (const PercentilePoint& point : details.percentiles) {
        ASSERT_NE(Point(text, point.percentile), nullptr) << point.percentile;
        EXPECT_EQ(*Point(text, point.percentile), point);
    }
    EXPECT_EQ(Parameter(details, "Tool"), "DiskSpd 2.0.21a");
    EXPECT_EQ(Parameter(details, "Machine"), "SQLHOST01");
    EXPECT_EQ(Parameter(details, "Duration"), Parameter(text, "Duration"));
    EXPECT_EQ(Parameter(details, "Block size"), Parameter(text, "Block size"));
    EXPECT_EQ(Parameter(details, "Write ratio"), "30%");
    EXPECT_EQ(Parameter(details, "IOPS interval"), "1000ms");
    EXPECT_EQ(Parameter(details, "Caching"), "DisableOSCache true; WriteThrough true");
    ASSERT_EQ(details.iopsSamples.size(), 30u);
    EXPECT_EQ(details.iopsSamples.front(), "1260");
    long long total = 0;
    for (const std::string& sample : details.iopsSamples)
        total += std::stoll(sample);
    EXPECT_EQ(total, 35686) << "the run's I/Os, interval by interval";
}

// Values picked by hand from real fio reports: fio's ns moved to ms without rounding.
TEST(FioJsonDetailsTest, PercentilesAreInMsPerDirectionAndFiosEmptySlotsAreNoPoints) {
    const auto fio = Load(DataPath("fio/benson-3.33-signal-rw.json"));
    ASSERT_EQ(fio->table.GetItemCount(), 1);
    const RunDetails details = Find(fio->store, 0);
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Read), "91.7504");
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Write), "26.345472");
    EXPECT_EQ(Ms(details, "50", LatencyDirection::Read), "6.258688");
    EXPECT_EQ(Ms(details, "0", LatencyDirection::Write), "0.0008") << "clat_ns min 800";
    EXPECT_EQ(Ms(details, "100", LatencyDirection::Read), "329.40403");
    EXPECT_EQ(Ms(details, "99.9", LatencyDirection::Total), std::nullopt) << "fio gives no Total";
    EXPECT_EQ(details.iopsSpread,
              (std::vector<IopsSpread>{{LatencyDirection::Read, "498.554373", "7656.791667"},
                                       {LatencyDirection::Write, "5576.072336", "39397.375000"}}));
    EXPECT_EQ(Parameter(details, "Percentiles of"), "clat_ns");
    EXPECT_EQ(Parameter(details, "Tool"), "fio-3.33");
    EXPECT_EQ(Parameter(details, "Start time"), "Sun May 21 14:23:33 2023");
    EXPECT_EQ(Parameter(details, "Job"), "sequential_read");
    EXPECT_EQ(Parameter(details, "Target"), "/home/benson/test/");
    EXPECT_EQ(Parameter(details, "Duration"), "5m");
    EXPECT_EQ(Parameter(details, "Queue depth"), "16");
    EXPECT_EQ(Parameter(details, "Write ratio"), "50%") << "rw=rw without rwmixread is fio's 50/50";
    EXPECT_EQ(Parameter(details, "Caching"), "direct=1");

    // fio 3.1 fills its unused percentile slots with "0.00": the last point before the maximum is 99.99.
    const RunDetails padded = Find(Load(DataPath("fio/fioplot-3.1-randread-no-bw-bytes.json"))->store, 0);
    ASSERT_GE(padded.percentiles.size(), 3u);
    EXPECT_EQ(padded.percentiles[padded.percentiles.size() - 2].percentile, "99.99");
    EXPECT_EQ(padded.percentiles.back().percentile, "100");
    EXPECT_EQ(std::count_if(padded.percentiles.begin(), padded.percentiles.end(),
                            [](const PercentilePoint& p) { return p.percentile == "0"; }),
              1);
}

// The details follow their run by its number, not by its row: after a sort, each row's maximum and
// command line are still its own (the row's Max_Latency is the maximum's Total, its queue depth the
// command line's -o).
TEST(RunDetailsTest, DetailsFollowTheirRunThroughSorts) {
    const auto loaded = Load(TRELVANE_SOURCE_DIR "/examples/diskspd_sweep_crlf.txt");
    CListBase& table = loaded->table;
    ASSERT_EQ(table.GetItemCount(), 10);
    for (const int column : {kColIOsPerSec, kColMaxLatency, kColDirection}) {
        table.SortColumnToggle(column);
        table.SortColumnToggle(column);
        for (int row = 0; row < table.GetItemCount(); ++row) {
            const RunDetails details =
                Find(loaded->store, std::stoi(std::string(table.CellRef(row, kColNumber))));
            EXPECT_EQ(Ms(details, "100", LatencyDirection::Total),
                      std::string(table.CellRef(row, kColMaxLatency)));
            const std::string queue = " -o" + std::string(table.CellRef(row, kColOutstanding)) + " ";
            EXPECT_NE(Parameter(details, "Command line").find(queue), std::string::npos) << row;
        }
    }
}

TEST(RunDetailsCsvTest, TablesFollowTheExportRulesAndLeaveNoValueEmpty) {
    const auto writeOnly = Load(DataPath("diskspd/vc-writeonly-2.2.0.txt"));
    const std::string percentiles =
        RunDetailsCsvText(RunDetailsTable::Percentiles, writeOnly->table, writeOnly->store);
    EXPECT_EQ(percentiles.substr(0, percentiles.find("0,Write,25,")),
              "#,Direction,Percentile,Read_ms,Write_ms,Total_ms\r\n0,Write,0,,0.013,0.013\r\n");
    EXPECT_NE(percentiles.find("\r\n0,Write,99.9,,37.418,37.418\r\n"), std::string::npos);
    EXPECT_NE(percentiles.find("\r\n0,Write,100,,5543.894,5543.894\r\n"), std::string::npos);
    EXPECT_EQ(std::count(percentiles.begin(), percentiles.end(), '\n'), 16);

    const std::string details =
        RunDetailsCsvText(RunDetailsTable::Details, writeOnly->table, writeOnly->store);
    EXPECT_EQ(details.substr(0, 14), "#,Name,Value\r\n");
    EXPECT_NE(
        details.find("\r\n0,Caching,\"software cache disabled; hardware write cache disabled, writethrough "
                     "on\"\r\n"),
        std::string::npos);
    EXPECT_EQ(RunDetailsCsvText(RunDetailsTable::Histogram, writeOnly->table, writeOnly->store),
              "#,Direction,Bucket_ms,Percent\r\n");

    // A value a spreadsheet would run as a formula gets the export's apostrophe.
    RunDetailsStore store;
    RunDetails hostile;
    hostile.parameters = {{"Target", "=HYPERLINK(\"x\")"}};
    ASSERT_TRUE(store.Add(0, hostile));
    EXPECT_EQ(RunDetailsCsvText(RunDetailsTable::Details, writeOnly->table, store),
              "#,Name,Value\r\n0,Target,\"'=HYPERLINK(\"\"x\"\")\"\r\n");

    const auto sqlio = Load(DataPath("sqlio/es-random-read-8KB-q8.txt"));
    const std::string histogram = RunDetailsCsvText(RunDetailsTable::Histogram, sqlio->table, sqlio->store);
    EXPECT_EQ(histogram.substr(0, 46), "#,Direction,Bucket_ms,Percent\r\n0,Read,0,9\r\n0,R");
    EXPECT_NE(histogram.find("\r\n0,Read,24+,49\r\n"), std::string::npos);
}

} // namespace
