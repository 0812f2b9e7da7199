// Loading a report (read, decode, split, cut, parse, insert), as throughput and as a ratio to a plain
// line count of the same bytes read the same way; the same keeping each run's details as the window
// does, with the memory they take a run, and the details store alone; and sorting 100k rows by a numeric
// column.
#include "bench/LineCount.h"
#include "bench/ReportGenerator.h"
#include "report/ReportFile.h"
#include "report/ReportRows.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunParser.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// DiskSpd runs are several times longer than SQLIO runs: the SQLIO report to compare with is the
// one of the same size in bytes.
const std::string& DiskSpdReportOf(int runs) {
    static std::map<int, std::string> paths;
    auto found = paths.find(runs);
    if (found == paths.end())
        found = paths
                    .emplace(runs, WriteTempFile("trelvane-bench-diskspd-" + std::to_string(runs) + ".txt",
                                                 GenerateDiskSpdReport(runs)))
                    .first;
    return found->second;
}

// The runs of DiskSpdReportOf as a DiskSpd XML sweep and as one fio JSON document.
const std::string& DiskSpdXmlReportOf(int runs) {
    static std::map<int, std::string> paths;
    auto found = paths.find(runs);
    if (found == paths.end())
        found = paths
                    .emplace(runs, WriteTempFile("trelvane-bench-diskspd-" + std::to_string(runs) + ".xml",
                                                 GenerateDiskSpdXmlReport(runs)))
                    .first;
    return found->second;
}

const std::string& FioJsonReportOf(int jobs) {
    static std::map<int, std::string> paths;
    auto found = paths.find(jobs);
    if (found == paths.end())
        found = paths
                    .emplace(jobs, WriteTempFile("trelvane-bench-fio-" + std::to_string(jobs) + ".json",
                                                 GenerateFioJsonReport(jobs)))
                    .first;
    return found->second;
}

const std::string& ReportOf(int runs) {
    static std::map<int, std::string> paths;
    auto found = paths.find(runs);
    if (found == paths.end())
        found = paths
                    .emplace(runs, WriteTempFile("trelvane-bench-" + std::to_string(runs) + ".txt",
                                                 GenerateReport(runs)))
                    .first;
    return found->second;
}

// The same report with its lines ending in LF alone, as a report that passed through a Unix tool is,
// or in a lone CR, as an old Mac tool writes them.
const std::string& ReportWithLineEndOf(int runs, char lineEnd) {
    static std::map<std::pair<int, char>, std::string> paths;
    auto found = paths.find({runs, lineEnd});
    if (found == paths.end()) {
        std::string text = GenerateReport(runs);
        std::erase(text, '\r');
        std::replace(text.begin(), text.end(), '\n', lineEnd);
        // Built by appending: GCC 12 misreads a chain of + on a temporary as an overflow.
        std::string name = lineEnd == '\n' ? "trelvane-bench-lf-" : "trelvane-bench-cr-";
        name += std::to_string(runs);
        name += ".txt";
        found = paths.emplace(std::pair(runs, lineEnd), WriteTempFile(name, text)).first;
    }
    return found->second;
}

void BM_LineCount(benchmark::State& state) {
    const std::string& path = ReportOf(static_cast<int>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountLines(path, bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// Reads the report at path into a fresh table, as trelvane-csv does; with keepDetails, each run's
// details too, as the window does: details_bytes_per_run is the memory they then take a run.
void LoadInto(const std::string& path, benchmark::State& state, bool keepDetails = false) {
    size_t bytes = 0;
    CountLines(path, bytes);
    double detailBytes = 0;
    for (auto _ : state) {
        CListBase table;
        AddResultColumns(table);
        RunDetailsStore runDetails;
        ReportFile file;
        file.Open(path);
        file.ReadBlockViews([&](std::string_view block, RunCut cut) {
            ParseReadBlock(block, cut, table, {}, keepDetails ? &runDetails : nullptr);
        });
        benchmark::DoNotOptimize(table.GetItemCount());
        detailBytes = static_cast<double>(runDetails.Bytes()) / std::max(1, table.GetItemCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    if (keepDetails)
        state.counters["details_bytes_per_run"] = detailBytes;
}

void BM_LoadReport(benchmark::State& state) {
    LoadInto(ReportOf(static_cast<int>(state.range(0))), state);
}

void BM_LoadLfReport(benchmark::State& state) {
    LoadInto(ReportWithLineEndOf(static_cast<int>(state.range(0)), '\n'), state);
}

void BM_LoadCrReport(benchmark::State& state) {
    LoadInto(ReportWithLineEndOf(static_cast<int>(state.range(0)), '\r'), state);
}

// 16 MiB of nothing but line ends, LF or lone CR (range(0)): every line is empty, so what a line costs
// is all there is to measure.
void BM_LoadOnlyLineEnds(benchmark::State& state) {
    const char lineEnd = static_cast<char>(state.range(0));
    static std::map<char, std::string> paths;
    if (!paths.count(lineEnd))
        paths[lineEnd] =
            WriteTempFile(lineEnd == '\n' ? "trelvane-bench-only-lf.txt" : "trelvane-bench-only-cr.txt",
                          std::string(16u << 20, lineEnd));
    LoadInto(paths[lineEnd], state);
}

void BM_LoadDiskSpdReport(benchmark::State& state) {
    LoadInto(DiskSpdReportOf(static_cast<int>(state.range(0))), state);
}

// SQLIO runs with their -LS histograms and parameters; DiskSpd runs with full percentile tables (-L),
// IopsStdDev (-D) and a command line each.
void BM_LoadReportKeepingDetails(benchmark::State& state) {
    LoadInto(ReportOf(static_cast<int>(state.range(0))), state, true);
}

void BM_LoadDiskSpdReportKeepingDetails(benchmark::State& state) {
    LoadInto(DiskSpdReportOf(static_cast<int>(state.range(0))), state, true);
}

// range(0) runs' details kept in the store alone, each a SQLIO run's -LS histogram and parameter: the
// time a run should not grow with the runs before it (compare 100k with 1M).
void BM_KeepRunDetails(benchmark::State& state) {
    RunDetails details;
    details.parameters.push_back({"Threads", "2"});
    for (int i = 0; i < 25; ++i)
        details.histogram.push_back({i == 24 ? "24+" : std::to_string(i), std::to_string(i % 7)});
    for (auto _ : state) {
        RunDetailsStore store;
        for (int run = 0; run < state.range(0); ++run)
            store.Add(run, details);
        benchmark::DoNotOptimize(store.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The SQLIO report of as many bytes as the DiskSpd report of range(0) runs.
void BM_LoadReportSameBytesAsDiskSpd(benchmark::State& state) {
    size_t diskspdBytes = 0, sqlioBytes = 0;
    CountLines(DiskSpdReportOf(static_cast<int>(state.range(0))), diskspdBytes);
    CountLines(ReportOf(1000), sqlioBytes);
    LoadInto(ReportOf(static_cast<int>(1000 * diskspdBytes / sqlioBytes)), state);
}

// The whole load of the window and trelvane-csv (ReadReportRows: the kind, then its reader), so the
// three kinds of the same runs compare on the same road.
void LoadRowsInto(const std::string& path, benchmark::State& state) {
    size_t bytes = 0;
    CountLines(path, bytes);
    for (auto _ : state) {
        CListBase table;
        AddResultColumns(table);
        ReportFile file;
        file.Open(path);
        if (ReadReportRows(file, path, table) != ReportRowsResult::AllParsed ||
            table.GetItemCount() != state.range(0))
            state.SkipWithError("the generated report did not load whole");
        benchmark::DoNotOptimize(table.GetItemCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["runs"] = static_cast<double>(state.range(0));
}

void BM_LoadRowsDiskSpdText(benchmark::State& state) {
    LoadRowsInto(DiskSpdReportOf(static_cast<int>(state.range(0))), state);
}

void BM_LoadRowsDiskSpdXml(benchmark::State& state) {
    LoadRowsInto(DiskSpdXmlReportOf(static_cast<int>(state.range(0))), state);
}

void BM_LoadRowsFioJson(benchmark::State& state) {
    LoadRowsInto(FioJsonReportOf(static_cast<int>(state.range(0))), state);
}

void BM_SortNumericColumn(benchmark::State& state) {
    CListBase table;
    AddResultColumns(table);
    ReportFile file;
    file.Open(ReportOf(100000));
    file.ReadBlockViews([&](std::string_view block, RunCut cut) { ParseReadBlock(block, cut, table); });
    bool flip = false;
    for (auto _ : state) {
        // Alternate columns so that every iteration really reorders the rows.
        table.SortColumn(flip ? kColIOsPerSec : kColMaxLatency, true, true);
        flip = !flip;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * table.GetItemCount());
}

} // namespace

BENCHMARK(BM_LineCount)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReport)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLfReport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCrReport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOnlyLineEnds)->Arg('\n')->Arg('\r')->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDiskSpdReport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReportKeepingDetails)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDiskSpdReportKeepingDetails)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeepRunDetails)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReportSameBytesAsDiskSpd)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRowsDiskSpdText)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRowsDiskSpdXml)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRowsFioJson)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNumericColumn)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
