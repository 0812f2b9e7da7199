#include "export/ReportTable.h"

#include "report/ReportParser.h"

ReportTableStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError) {
    ReportFile file;
    if (!file.Open(path)) {
        openError = file.ErrorText();
        return ReportTableStatus::CannotOpen;
    }
    const bool allParsed = ReadReportRows(file, path, table);
    file.Close();
    table.SortColumn(kColOutstanding, true, true);
    table.SortColumn(kColNumber, true, true);
    return allParsed ? ReportTableStatus::AllParsed : ReportTableStatus::SomeFailed;
}
