#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportBlocks.h"
#include "report/ReportParser.h"
#include "report/ResultRow.h"

const char* const kRunTooLongText = "Run longer than 16 MiB; only its first 16 MiB were read";
static_assert(ReportBlockReader::kBound == 16u << 20, "kRunTooLongText names the bound");

namespace {

bool IsSqlioRun(std::string_view block) {
    return block.substr(0, 7) == "sqlio v";
}

} // namespace

bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit) {
    if (IsSqlioRun(block))
        return (admit && !admit()) || ParseTest(block, table);
    return ParseDiskSpdRun(block, table, admit);
}

bool ParseReadBlock(std::string_view block, RunCut cut, CListBase& table, const RowGate& admit) {
    if (cut == RunCut::None)
        return ParseRun(block, table, admit);
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
