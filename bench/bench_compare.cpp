// Comparing eight reports of 100,000 runs, as the "Compare Reports" window and trelvane-csv --compare do
// it: each report read with the main window's load and kept as its tests, the tests matched, the table
// of every measure filled and the summaries taken. Its time is given against the time of loading the
// same eight reports into tables (x_load), its heap at its peak against the heap of the eight tables'
// rows held at once (x_rows). Once with the generator's mix of tests (84 a report, each run many times),
// once with every run a test of its own, the most a comparison can be asked to hold.
#include "bench/HeapCount.h"
#include "bench/ReportGenerator.h"
#include "compare/CompareLabels.h"
#include "compare/ComparisonTable.h"
#include "platform/FileNames.h"
#include "report/ResultRow.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kReports = 8;
constexpr int kRuns = 100000;

// The generator's report with every run's outstanding I/Os made its own number, so no two runs match.
std::string WithDistinctTests(std::string text) {
    const std::string token = "per thread with ";
    std::string out;
    out.reserve(text.size() + text.size() / 100);
    size_t from = 0;
    int run = 0;
    for (size_t at; (at = text.find(token, from)) != std::string::npos;) {
        const size_t digits = at + token.size();
        const size_t end = text.find(' ', digits);
        out.append(text, from, digits - from);
        out += std::to_string(++run);
        from = end;
    }
    out.append(text, from, std::string::npos);
    return out;
}

const std::vector<std::string>& Paths(bool distinct) {
    static std::map<bool, std::vector<std::string>> paths;
    std::vector<std::string>& made = paths[distinct];
    for (int report = static_cast<int>(made.size()); report < kReports; ++report) {
        std::string text = GenerateReport(kRuns, static_cast<unsigned>(report + 1));
        if (distinct)
            text = WithDistinctTests(std::move(text));
        made.push_back(WriteTempFile("trelvane-bench-compare-" + std::string(distinct ? "distinct-" : "") +
                                         std::to_string(report) + ".txt",
                                     text));
    }
    return made;
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The reference: the eight reports loaded into tables one after the other, as the main window loads one.
// The median CPU time of a few rounds.
double LoadSeconds(const std::vector<std::string>& paths) {
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        const double start = CpuSeconds();
        for (const std::string& path : paths) {
            CListBase table;
            AddResultColumns(table);
            std::string error;
            ReportLoadDetails details;
            LoadReportRows(path, table, error, details);
            benchmark::DoNotOptimize(table.GetItemCount());
        }
        times.push_back(CpuSeconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The heap of the eight tables' rows, all held at once.
long long RowsHeap(const std::vector<std::string>& paths) {
    const long long before = LiveHeapBytes();
    std::vector<CListBase> tables(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        AddResultColumns(tables[i]);
        std::string error;
        ReportLoadDetails details;
        LoadReportRows(paths[i], tables[i], error, details);
    }
    return LiveHeapBytes() - before;
}

// The comparison end to end; the lines of its table.
int CompareReports(const std::vector<std::string>& paths) {
    std::vector<ComparedReport> reports;
    reports.reserve(paths.size());
    std::vector<const ReportTests*> tests;
    for (const std::string& path : paths) {
        reports.push_back(LoadComparedReport(path));
        tests.push_back(&reports.back().tests);
    }
    const Comparison comparison(std::move(tests));
    CListBase table;
    FillComparisonTable(table, comparison, CompareLabels(paths, kPathSeparators),
                        ShownTests(comparison, {}, CompareOrder::ByTest, 0), AllMeasures());
    for (int report = 1; report < comparison.ReportCount(); ++report)
        benchmark::DoNotOptimize(comparison.Summary(report));
    return table.GetItemCount();
}

void BM_CompareEightReports(benchmark::State& state) {
    const std::vector<std::string>& paths = Paths(state.range(0) != 0);
    const double load = LoadSeconds(paths);
    const long long rows = RowsHeap(paths);
    long long peak = 0;
    double total = 0.0;
    int lines = 0;
    for (auto _ : state) {
        const long long before = LiveHeapBytes();
        ResetPeakHeap();
        const double start = CpuSeconds();
        lines = CompareReports(paths);
        total += CpuSeconds() - start;
        peak = std::max(peak, PeakHeapBytes() - before);
    }
    state.counters["tests"] = lines;
    state.counters["load_ms"] = load * 1e3;
    state.counters["x_load"] = total / static_cast<double>(state.iterations()) / load;
    state.counters["rows_MB"] = static_cast<double>(rows) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["x_rows"] = static_cast<double>(peak) / static_cast<double>(rows);
}

} // namespace

BENCHMARK(BM_CompareEightReports)
    ->ArgName("distinct")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
