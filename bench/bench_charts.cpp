// A chart tab's rebuild and the refill of the three filter lists over 100k rows, each also as a ratio
// to one plain pass over the same cells (every cell the work reads, copied out once); and the heap the
// window takes for a report, per run.
#include "analysis/Filters.h"
#include "analysis/TabChartBuilder.h"
#include "app/TrelvaneDlg.h"
#include "bench/HeapCount.h"
#include "bench/ReportGenerator.h"
#include "report/ReportFile.h"
#include "report/ReportParser.h"
#include "report/ResultRow.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kRows = 100000;

const std::string& ReportPath() {
    static const std::string path = WriteTempFile("trelvane-bench-charts.txt", GenerateReport(kRows));
    return path;
}

void LoadInto(CListBase& table) {
    ReportFile file;
    file.Open(ReportPath());
    file.ReadBlockViews([&](std::string_view block, RunCut) { ParseTest(block, table); });
}

CListBase& Table() {
    static CListBase table = [] {
        CListBase loaded;
        AddResultColumns(loaded);
        LoadInto(loaded);
        return loaded;
    }();
    return table;
}

// The floor: every given cell of every row copied out through the list's reader, once.
size_t PlainPass(const CListBase& table, const std::vector<int>& columns) {
    std::string cell;
    size_t bytes = 0;
    const int rows = table.GetItemCount();
    for (int row = 0; row < rows; ++row)
        for (int column : columns) {
            table.GetItemTextEx_Fast(row, column, cell);
            bytes += cell.size();
        }
    return bytes;
}

// CPU time of this thread in seconds: on a busy machine it stays what the work costs, unlike wall time.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Median CPU time of one plain pass over the columns.
double PlainPassSeconds(const CListBase& table, const std::vector<int>& columns) {
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        const double start = CpuSeconds();
        benchmark::DoNotOptimize(PlainPass(table, columns));
        times.push_back(CpuSeconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The cells a chart build reads: "#", Direction, Type, Size, Outstanding IOs and the value column (the
// ratio tab also reads Avg_Latency).
std::vector<int> ChartCells(int tab) {
    std::vector<int> columns = {kColNumber, kColDirection,   kColType,
                                kColSize,   kColOutstanding, PlanTabChart(tab, {}).valueColumn};
    if (tab == kRatioTab)
        columns.push_back(kColAvgLatency);
    return columns;
}

void ReportRatio(benchmark::State& state, double total, double pass) {
    const double perIteration = total / static_cast<double>(state.iterations());
    state.counters["pass_ms"] = pass * 1e3;
    state.counters["x_pass"] = perIteration / pass;
}

// The chart lines of a tab built into a chart model, the rule without a window.
void BM_BuildTabChartLines(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    CListBase& table = Table();
    const double pass = PlainPassSeconds(table, ChartCells(tab));
    const TabChartPlan plan = PlanTabChart(tab, {});
    ChartModel chart;
    double total = 0.0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        chart.ClearKeepingRoom(); // as the window's rebuild does
        BuildTabChartLines(table, tab, plan, chart);
        total += CpuSeconds() - start;
        benchmark::DoNotOptimize(chart.LineCount());
    }
    ReportRatio(state, total, pass);
}

// The window's own rebuild: PrepareTabChart and BuildTabChart on the real chart, as ShowTab runs them.
void BM_WindowRebuild(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    CTrelvaneDlg dialog;
    dialog.OnInitDialog();
    dialog.ReloadReport(ReportPath());
    const double pass = PlainPassSeconds(*dialog.m_listData, ChartCells(tab));
    double total = 0.0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        const TabChartPlan plan = dialog.PrepareTabChart(tab);
        dialog.BuildTabChart(tab, plan);
        total += CpuSeconds() - start;
        benchmark::DoNotOptimize(dialog.m_chart->Model().LineCount());
    }
    ReportRatio(state, total, pass);
}

// The three filter lists refilled from the table, as a load ends (without its two sorts).
void BM_RefillFilterLists(benchmark::State& state) {
    CTrelvaneDlg dialog;
    dialog.OnInitDialog();
    dialog.ReloadReport(ReportPath());
    const double pass = PlainPassSeconds(*dialog.m_listData, {kColType, kColDirection, kColOutstanding});
    double total = 0.0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        dialog.FillFilterCombo(*dialog.m_comboType, kColType);
        dialog.FillFilterCombo(*dialog.m_comboDirection, kColDirection);
        dialog.FillFilterCombo(*dialog.m_comboOutstanding, kColOutstanding);
        total += CpuSeconds() - start;
        benchmark::DoNotOptimize(dialog.m_comboOutstanding->count());
    }
    ReportRatio(state, total, pass);
}

// A report opened in the window as a user opens one (its rows, the two sorts, the filter lists, the
// "MB/sec" tab's chart), from an empty window. heap_per_run is the most heap the window's data held at
// once, per run; heap_held_per_run what it holds once the report is shown.
void BM_WindowHoldsReport(benchmark::State& state) {
    CTrelvaneDlg dialog;
    dialog.OnInitDialog();
    dialog.m_tabCtrl->SetCurSel(0);
    const QString path = QString::fromStdString(ReportPath());
    long long peakAbove = 0;
    long long heldAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dialog.m_listData->DeleteAllItems(false);
        dialog.m_chart->Clear(true);
        dialog.m_runDetails.Clear();
        const long long before = LiveHeapBytes();
        ResetPeakHeap();
        state.ResumeTiming();
        dialog.OpenReport(path);
        peakAbove = std::max(peakAbove, PeakHeapBytes() - before);
        heldAbove = LiveHeapBytes() - before;
    }
    state.counters["rows"] = dialog.m_listData->GetItemCount();
    state.counters["heap_per_run"] = static_cast<double>(peakAbove) / kRows;
    state.counters["heap_held_per_run"] = static_cast<double>(heldAbove) / kRows;
}

} // namespace

BENCHMARK(BM_BuildTabChartLines)->Arg(0)->Arg(kRatioTab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRebuild)->Arg(0)->Arg(kRatioTab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefillFilterLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowHoldsReport)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The window benchmarks need a QApplication, on no screen unless one is asked for. The window reads
    // and writes its report list in the settings store: a folder of this run's own keeps the user's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
