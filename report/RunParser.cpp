#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportBlocks.h"
#include "report/ReportParser.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunStart.h"
#include "report/SqlioDetails.h"

const char* const kRunTooLongText = "Run longer than 16 MiB; only its first 16 MiB were read";
static_assert(ReportBlockReader::kBound == 16u << 20, "kRunTooLongText names the bound");

namespace {

bool IsSqlioRun(std::string_view block) {
    return RunStartOf(block) == RunStartLine::Sqlio;
}

} // namespace

bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit, RunDetailsStore* runDetails) {
    if (!IsSqlioRun(block))
        return ParseDiskSpdRun(block, table, admit, runDetails);
    if (admit && !admit())
        return true;
    const int number = table.GetItemCount();
    const bool parsed = ParseTest(block, table);
    // A run whose row failed keeps its details too: its histogram is still the report's. A SQLIO run
    // has no percentiles: a store that keeps only those is spared the reading.
    if (runDetails != nullptr && !runDetails->KeepsOnlyPercentiles()) {
        RunDetailsView& details = runDetails->Draft();
        ReadSqlioDetails(block, details);
        runDetails->Add(number, details);
    }
    return parsed;
}

bool ParseReadBlock(std::string_view block, RunCut cut, CListBase& table, const RowGate& admit,
                    RunDetailsStore* runDetails) {
    if (cut == RunCut::None)
        return ParseRun(block, table, admit, runDetails);
    if (admit && !admit())
        return true;
    const std::string_view lastValueOnNextLine = "Max_Latency(ms):\r\n";
    if (cut == RunCut::Tail && IsSqlioRun(block) && !block.ends_with(lastValueOnNextLine)) {
        // Parsed aside: when the first lines give no row, the token message would quote them all.
        CListBase aside;
        AddResultColumns(aside);
        if (ParseTest(block, aside)) {
            AddResultRow(table, aside.Row(0));
            return true;
        }
    }
    AddErrorRow(table, kRunTooLongText);
    return false;
}
