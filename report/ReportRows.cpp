#include "report/ReportRows.h"

#include "report/ReportParser.h"
#include "report/RunParser.h"

const char* const kReportLoadedText = "Report successfully loaded";
const char* const kReportLoadErrorText = "Error while loading report.  For details please see Raw Data list.";
const char* const kReportCannotOpenText = "Cannot open file for read access";

bool ReadReportRows(ReportFile& file, const std::string& path, CListBase& table) {
    bool allParsed = true;
    const bool readOk = file.ReadBlocks([&](const std::string& block) {
        if (!ParseRun(block, table))
            allParsed = false;
    });
    if (!readOk) {
        // The rows read so far stay; this row says why the rest is missing.
        AddErrorRow(table, "Error while reading " + path + ": " + file.ErrorText());
        allParsed = false;
    }
    return allParsed;
}
