#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportBlocks.h"
#include "report/ReportParser.h"

const char* const kRunTooLongText = "Run longer than 16 MiB; only its first 16 MiB were read";
static_assert(ReportBlockReader::kBound == 16u << 20, "kRunTooLongText names the bound");

bool ParseRun(std::string_view block, CListBase& table) {
    if (block.substr(0, 7) == "sqlio v")
        return ParseTest(block, table);
    return ParseDiskSpdRun(block, table);
}

bool ParseReadBlock(std::string_view block, bool cut, CListBase& table) {
    if (!cut)
        return ParseRun(block, table);
    AddErrorRow(table, kRunTooLongText);
    return false;
}
