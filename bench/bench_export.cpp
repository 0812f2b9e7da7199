// CSV export of 100k result rows through the list's real export action (CSV text, QSaveFile, commit),
// as a ratio to writing the same number of bytes with one plain write; the CSV text alone; and
// trelvane-csv's whole path (load, the two sorts, CSV text) beside a plain line count of the same bytes,
// with the heap it holds at its peak per run.
#include "bench/HeapCount.h"
#include "bench/LineCount.h"
#include "bench/ReportGenerator.h"
#include "export/ReportTable.h"
#include "report/ResultRow.h"
#include "table/ListCsv.h"
#include "widgets/ListCtrlEx.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 100000;

const std::string& ReportPath() {
    static const std::string path = WriteTempFile("trelvane-bench-export.txt", GenerateReport(kRuns));
    return path;
}

void Fill(CListBase& table) {
    AddResultColumns(table);
    std::string openError;
    ReportLoadDetails details;
    LoadReportTable(ReportPath(), table, openError, details);
}

// The floor: the same number of bytes in one write to a new file; with sync, also flushed to the disk
// as QSaveFile's commit does.
void PlainWrite(const std::string& path, const std::string& bytes, bool sync) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    if (sync)
        ::fdatasync(fd);
    ::close(fd);
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_ExportCsvFile(benchmark::State& state) {
    QTemporaryDir folder;
    CListCtrlEx list;
    Fill(list);
    list.m_exportFolder = QFile::encodeName(folder.path()).toStdString();
    list.m_exportFileName = "Sqlio_Data.csv";
    const std::string bytes = ListCsvText(list);
    const std::string plainPath =
        QFile::encodeName(folder.filePath(QStringLiteral("plain.csv"))).toStdString();
    double exportSeconds = 0.0, plainSeconds = 0.0, syncedSeconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!list.ProcessContextMenu(CListBase::kListExportCsv))
            state.SkipWithError(list.ExportError().c_str());
        exportSeconds += Seconds(start);

        state.PauseTiming();
        auto plainStart = std::chrono::steady_clock::now();
        PlainWrite(plainPath, bytes, false);
        plainSeconds += Seconds(plainStart);
        plainStart = std::chrono::steady_clock::now();
        PlainWrite(plainPath, bytes, true);
        syncedSeconds += Seconds(plainStart);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["rows"] = list.GetItemCount();
    state.counters["csv_MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["x_plain_write"] = exportSeconds / plainSeconds;
    state.counters["x_plain_write_synced"] = exportSeconds / syncedSeconds;
}

void BM_CsvTextOnly(benchmark::State& state) {
    CListBase table;
    Fill(table);
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        WriteListCsv(table, [&](std::string_view chunk) {
            bytes += chunk.size();
            benchmark::DoNotOptimize(chunk.data());
            return true;
        });
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_LineCount(benchmark::State& state) {
    size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountLines(ReportPath(), bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// What trelvane-csv does with a report: load it (the two sorts included) and write its CSV text, here
// to a byte count. heap_per_run is the most heap the table and its text held at once, per run.
void BM_CsvToolPath(benchmark::State& state) {
    size_t bytes = 0;
    CountLines(ReportPath(), bytes);
    long long peakAbove = 0;
    for (auto _ : state) {
        const long long before = LiveHeapBytes();
        ResetPeakHeap();
        CListBase table;
        Fill(table);
        size_t csvBytes = 0;
        WriteListCsv(table, [&](std::string_view chunk) {
            csvBytes += chunk.size();
            return true;
        });
        benchmark::DoNotOptimize(csvBytes);
        peakAbove = std::max(peakAbove, PeakHeapBytes() - before);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["heap_per_run"] = static_cast<double>(peakAbove) / kRuns;
}

} // namespace

BENCHMARK(BM_LineCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvToolPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsvFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CsvTextOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The list is a widget, so a QApplication must exist; nothing is shown.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
