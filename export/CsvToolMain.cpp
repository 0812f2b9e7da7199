// trelvane-csv: the result table of a SQLIO report as CSV on standard output, for scripts. The bytes are
// those the window's Export writes into "Sqlio_Data.csv" after loading the same report.
#include "export/ReportTable.h"
#include "report/ReportParser.h"
#include "widgets/ListCsv.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitAllParsed = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitFailed = 2;

const char* const kUsage =
    "Usage: trelvane-csv REPORT\n"
    "       trelvane-csv --help\n"
    "\n"
    "Writes the result table of the SQLIO report REPORT to standard output as CSV, exactly as\n"
    "Trelvane's Export writes Sqlio_Data.csv. The status goes to standard error.\n"
    "\n"
    "Exit status: 0 every run parsed, 1 some runs became error rows,\n"
    "             2 the file cannot be opened, the output cannot be written or an argument is wrong.\n";

int Usage(std::FILE* to, int status) {
    std::fputs(kUsage, to);
    return status;
}

// Writes the table to standard output; false (with a message) when the output cannot be written.
bool WriteTable(const CListBase& table) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // CR LF stays CR LF
#endif
    const bool written = WriteListCsv(table, [](std::string_view chunk) {
        return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
    });
    if (written && std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "Cannot write standard output: %s\n", std::strerror(errno));
    return false;
}

int ExportReport(const std::string& path) {
    CListBase table;
    AddResultColumns(table);
    std::string openError;
    const ReportTableStatus status = LoadReportTable(path, table, openError);
    if (status == ReportTableStatus::CannotOpen) {
        std::fprintf(stderr, "%s: %s: %s\n", kReportCannotOpenText, path.c_str(), openError.c_str());
        return kExitFailed;
    }
    if (!WriteTable(table))
        return kExitFailed;
    const bool allParsed = status == ReportTableStatus::AllParsed;
    std::fprintf(stderr, "%s\n", allParsed ? kReportLoadedText : kReportLoadErrorText);
    return allParsed ? kExitAllParsed : kExitSomeFailed;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && (argument == "--help" || argument == "-h"))
            return Usage(stdout, kExitAllParsed);
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "trelvane-csv: unknown option %s\n", argument.c_str());
            return Usage(stderr, kExitFailed);
        }
        paths.push_back(argument);
    }
    if (paths.size() != 1)
        return Usage(stderr, kExitFailed);
    return ExportReport(paths.front());
}
