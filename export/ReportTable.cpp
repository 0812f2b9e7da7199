#include "export/ReportTable.h"

#include "report/ResultRow.h"

#include <new>

ReportLoadStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError,
                                 ReportLoadDetails& details) {
    try {
        return LoadReportRows(path, table, openError, details);
    } catch (const std::bad_alloc&) {
        table.DeleteAllItems();
        AddErrorRow(table, OutOfMemoryMessage(path));
        return ReportLoadStatus::OutOfMemory;
    }
}
