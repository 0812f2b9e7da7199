#include "export/ReportTable.h"

#include "report/ReportParser.h"

#include <new>

ReportLoadStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError) {
    try {
        return LoadReportRows(path, table, openError);
    } catch (const std::bad_alloc&) {
        table.DeleteAllItems();
        AddErrorRow(table, OutOfMemoryMessage(path));
        return ReportLoadStatus::OutOfMemory;
    }
}
