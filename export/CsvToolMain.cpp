// trelvane-csv: the result table of a report, the partition table of this machine, or the comparison
// of several reports, as CSV on standard output, for scripts. The bytes are those the window's Export
// writes into "Sqlio_Data.csv" after loading the same report, or into "Sqlio_Partitions.csv". What a
// report says of its runs beyond their rows (latency points, histograms, parameters) comes out as CSV
// tables of its own.
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"
#include "disks/SafeText.h"
#include "disks/SystemErrorText.h"
#include "disks/SystemWmiSource.h"
#include "export/CompareTool.h"
#include "export/ReportTable.h"
#include "export/RunDetailsCsv.h"
#include "platform/CommandLine.h"
#include "platform/StandardOutput.h"
#include "report/ReportKinds.h"
#include "report/ResultRow.h"
#include "table/ListCsv.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitAllParsed = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitFailed = 2;

const char* const kUsageStart =
    "Usage: trelvane-csv [--] REPORT\n"
    "       trelvane-csv --percentiles [--] REPORT\n"
    "       trelvane-csv --histogram [--] REPORT\n"
    "       trelvane-csv --details [--] REPORT\n"
    "       trelvane-csv --partitions\n"
    "       trelvane-csv --compare BASELINE REPORT...\n"
    "       trelvane-csv --help\n"
    "       trelvane-csv --version\n"
    "\n"
    "Writes the result table of the report REPORT to standard output as CSV, exactly as Trelvane's\n"
    "Export writes Sqlio_Data.csv; the kinds of report it reads are listed below. With --partitions,\n"
    "scans this machine's disk partitions and writes the partition table as Export writes\n"
    "Sqlio_Partitions.csv. With --compare, matches the runs of the reports by Direction, Type, Size and\n"
    "Outstanding IOs and writes one line per test: its runs in each report, then for IO/Sec, MB/Sec,\n"
    "IO/Sec per Avg_Latency, the three latencies and the p99 and p99.9 latency (Total) each report's\n"
    "mean and each later report's change in percent against BASELINE. The status goes to standard\n"
    "error, followed by any lines that tell more about it (a file read only in part, fio jobs left\n"
    "out).\n"
    "\n";
const char* const kUsageEnd =
    "\n"
    "What the report says of each run beyond its row, one line per run and point, under the same\n"
    "CSV rules (# and Direction are the run's cells in the result table):\n"
    "  --percentiles  #,Direction,Percentile,Read_ms,Write_ms,Total_ms: the latency percentiles, the\n"
    "                 percentile as a number (0 for the minimum, 99.9 for DiskSpd's 3-nines, 100 for\n"
    "                 the maximum), the values as written, empty where the report has none\n"
    "  --histogram    #,Direction,Bucket_ms,Percent: SQLIO's -LS histogram, the buckets as SQLIO\n"
    "                 labels them (0 ... 23, 24+), the shares as written\n"
    "  --details      #,Name,Value: the parameters (command line, targets, threads, duration...)\n"
    "\n"
    "Exit status: 0 every run parsed (every query of the scan answered),\n"
    "             1 some runs (or the scan) became error rows,\n"
    "             2 a file cannot be opened, memory runs out, the output cannot be written or an\n"
    "               argument is wrong.\n";

int Usage(std::FILE* to, int status) {
    std::fputs(kUsageStart, to);
    std::fputs(ReportKindsText().c_str(), to);
    std::fputs(kUsageEnd, to);
    return status;
}

// Writes the table to out (standard output); false (with a message) when it cannot be written.
bool WriteTable(const CListBase& table, std::FILE* out = stdout) {
    UseBinaryMode(out); // CR LF stays CR LF
    const bool written = WriteListCsv(table, [out](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), out) == chunk.size();
    });
    if (written && std::fflush(out) == 0)
        return true;
    std::fprintf(stderr, "Cannot write standard output: %s\n", std::strerror(errno));
    return false;
}

int ExportComparison(const std::vector<std::string>& paths) {
    CListBase table;
    const int status = BuildComparisonExport(paths, table, stderr);
    if (status == kExitFailed)
        return status;
    return WriteTable(table) ? status : kExitFailed;
}

// Writes a table of the runs' details to standard output; false (with a message) when it cannot be
// written.
bool WriteRunDetails(RunDetailsTable kind, const CListBase& table, const RunDetailsStore& runDetails) {
    UseBinaryMode(stdout);
    const bool written = WriteRunDetailsCsv(kind, table, runDetails, [](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
    });
    if (written && std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "Cannot write standard output: %s\n", std::strerror(errno));
    return false;
}

// Writes the result table of the report, or with detailsTable that table of its runs' details.
int ExportReport(const std::string& path, std::optional<RunDetailsTable> detailsTable) {
    CListBase table;
    AddResultColumns(table);
    std::string openError;
    ReportLoadDetails details;
    // Only the details tables keep the runs' details: the result table's memory stays what it was.
    RunDetailsStore runDetails;
    const ReportLoadStatus status =
        LoadReportTable(path, table, openError, details, detailsTable ? &runDetails : nullptr);
    if (status == ReportLoadStatus::CannotOpen) {
        // Echoed paths and arguments show control bytes as \xNN, as partition cells do, so a hostile
        // file name cannot move the cursor, clear the screen or retitle the user's terminal. Their
        // backslashes stay: a Windows path must read as one.
        std::fprintf(stderr, "%s: %s: %s\n", kReportCannotOpenText, EscapeForMessage(path).c_str(),
                     openError.c_str());
        return kExitFailed;
    }
    if (status == ReportLoadStatus::OutOfMemory) {
        std::fprintf(stderr, "Not enough memory to read %s\n", EscapeForMessage(path).c_str());
        return kExitFailed;
    }
    if (detailsTable ? !WriteRunDetails(*detailsTable, table, runDetails) : !WriteTable(table))
        return kExitFailed;
    std::fprintf(stderr, "%s\n", LoadStatusText(status));
    for (const std::string& line : details)
        std::fprintf(stderr, "%s\n", EscapeForMessage(line).c_str());
    return status == ReportLoadStatus::AllParsed ? kExitAllParsed : kExitSomeFailed;
}

// The scan's steps, shown on standard error.
class StderrProgress : public ScanProgress {
public:
    void Display(int type, const std::string& text) override {
        if (type == kHeading)
            std::fprintf(stderr, "%s\n", text.c_str());
    }
};

int ExportPartitions() {
    // Standard output carries the CSV alone: anything else the scan prints there (the WMI
    // connection's diagnostic line) goes to standard error.
    std::FILE* out = DivertStandardOutput();
    if (out == nullptr) {
        std::fprintf(stderr, "Cannot write standard output: %s\n", std::strerror(errno));
        return kExitFailed;
    }
    CListBase table;
    AddPartitionColumns(table);
    const std::unique_ptr<WmiSource> source = CreateSystemWmiSource();
    bool scanned = false;
    const WmiStatus security = source->InitSecurity();
    if (WmiFailed(security)) {
        AppendPartitionErrorRow(table, GetSystemErrorText(security));
    } else {
        StderrProgress progress;
        scanned = ScanPartitions(*source, table, progress);
    }
    source->ReleaseSecurity();
    std::fflush(stdout);

    const bool written = WriteTable(table, out);
    std::fclose(out);
    if (!written)
        return kExitFailed;
    if (!scanned && table.GetItemCount() > 0)
        std::fprintf(stderr, "%s\n", std::string(table.CellRef(0, kPartDetails)).c_str());
    return scanned ? kExitAllParsed : kExitSomeFailed;
}

} // namespace

int main(int argc, char* argv[]) try {
    std::vector<std::string> paths;
    bool partitions = false;
    bool compare = false;
    std::optional<RunDetailsTable> detailsTable;
    bool optionsEnded = false;
    const std::pair<std::string_view, RunDetailsTable> detailsOptions[] = {
        {"--percentiles", RunDetailsTable::Percentiles},
        {"--histogram", RunDetailsTable::Histogram},
        {"--details", RunDetailsTable::Details},
    };
    for (const std::string& argument : CommandLineArguments(argc, argv)) {
        if (!optionsEnded && (argument == "--help" || argument == "-h"))
            return Usage(stdout, kExitAllParsed);
        if (!optionsEnded && argument == "--version") {
            std::fputs("trelvane-csv " TRELVANE_VERSION "\n", stdout);
            return kExitAllParsed;
        }
        if (!optionsEnded && argument == "--partitions") {
            partitions = true;
            continue;
        }
        const auto option = std::find_if(std::begin(detailsOptions), std::end(detailsOptions),
                                         [&argument](const auto& entry) { return entry.first == argument; });
        if (!optionsEnded && option != std::end(detailsOptions)) {
            // One table of the runs' details at a time: a second is an argument that is wrong.
            if (detailsTable)
                return Usage(stderr, kExitFailed);
            detailsTable = option->second;
            continue;
        }
        if (!optionsEnded && argument == "--compare") {
            compare = true;
            continue;
        }
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "trelvane-csv: unknown option %s\n", EscapeForMessage(argument).c_str());
            return Usage(stderr, kExitFailed);
        }
        paths.push_back(argument);
    }
    if (partitions && paths.empty() && !compare && !detailsTable)
        return ExportPartitions();
    if (compare && !partitions && !detailsTable && !paths.empty())
        return ExportComparison(paths);
    if (partitions || compare || paths.size() != 1)
        return Usage(stderr, kExitFailed);
    return ExportReport(paths.front(), detailsTable);
} catch (const std::bad_alloc&) {
    // Whatever ran out of memory, the script that called us gets a message and a failure status
    // rather than an abort.
    std::fputs("trelvane-csv: not enough memory\n", stderr);
    return kExitFailed;
}
