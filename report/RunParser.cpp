#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportParser.h"

bool ParseRun(const std::string& block, CListBase& table) {
    if (block.compare(0, 7, "sqlio v") == 0)
        return ParseTest(block, table);
    return ParseDiskSpdRun(block, table);
}
