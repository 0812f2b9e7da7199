#include "export/ReportTable.h"

#include "report/ResultRow.h"

#include <new>

ReportLoadStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError,
                                 ReportLoadDetails& details, RunDetailsStore* runDetails) {
    try {
        return LoadReportRows(path, table, openError, details, {}, runDetails);
    } catch (const std::bad_alloc&) {
        table.DeleteAllItems();
        if (runDetails != nullptr)
            runDetails->Clear();
        AddErrorRow(table, OutOfMemoryMessage(path));
        return ReportLoadStatus::OutOfMemory;
    }
}
