#include "export/ReportTable.h"

#include "report/ReportFile.h"
#include "report/ReportParser.h"

const char* const kReportLoadedText = "Report successfully loaded";
const char* const kReportLoadErrorText = "Error while loading report.  For details please see Raw Data list.";
const char* const kReportCannotOpenText = "Cannot open file for read access";

ReportTableStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError) {
    ReportFile file;
    if (!file.Open(path)) {
        openError = file.ErrorText();
        return ReportTableStatus::CannotOpen;
    }
    bool allParsed = true;
    const bool readOk = file.ReadBlocks([&](const std::string& block) {
        if (!ParseTest(block, table))
            allParsed = false;
    });
    if (!readOk) {
        AddErrorRow(table, "Error while reading " + path + ": " + file.ErrorText());
        allParsed = false;
    }
    file.Close();
    table.SortColumn(kColOutstanding, true, true);
    table.SortColumn(kColNumber, true, true);
    return allParsed ? ReportTableStatus::AllParsed : ReportTableStatus::SomeFailed;
}
