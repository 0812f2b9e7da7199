#include "report/RunParser.h"

#include "report/DiskSpdParser.h"
#include "report/ReportParser.h"

bool ParseRun(std::string_view block, CListBase& table, const RowGate& admit) {
    if (block.substr(0, 7) == "sqlio v")
        return (admit && !admit()) || ParseTest(block, table);
    return ParseDiskSpdRun(block, table, admit);
}
