#include "export/ReportTable.h"

#include "report/ReportParser.h"

#include <new>

ReportTableStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError) {
    ReportFile file;
    if (!file.Open(path)) {
        openError = file.ErrorText();
        return ReportTableStatus::CannotOpen;
    }
    const ReportRowsResult result = ReadReportRows(file, path, table);
    file.Close();
    if (result == ReportRowsResult::OutOfMemory)
        return ReportTableStatus::OutOfMemory;
    try {
        table.SortColumn(kColOutstanding, true, true);
        table.SortColumn(kColNumber, true, true);
    } catch (const std::bad_alloc&) {
        table.DeleteAllItems();
        AddErrorRow(table, OutOfMemoryMessage(path));
        return ReportTableStatus::OutOfMemory;
    }
    return result == ReportRowsResult::AllParsed ? ReportTableStatus::AllParsed
                                                 : ReportTableStatus::SomeFailed;
}
