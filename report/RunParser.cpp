#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportParser.h"
#include "report/RunDetailsStore.h"
#include "report/SqlioDetails.h"

bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit, RunDetailsStore* runDetails) {
    if (block.substr(0, 7) != "sqlio v")
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
