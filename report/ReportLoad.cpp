#include "report/ReportLoad.h"

#include "report/ReportFile.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"

const char* const kReportLoadedText = "Report successfully loaded";
const char* const kReportLoadErrorText = "Error while loading report.  For details please see Raw Data list.";
const char* const kReportCannotOpenText = "Cannot open file for read access";
const char* const kReportCancelledText = "Loading cancelled";

const char* LoadStatusText(ReportLoadStatus status) {
    if (status == ReportLoadStatus::Cancelled)
        return kReportCancelledText;
    return status == ReportLoadStatus::AllParsed ? kReportLoadedText : kReportLoadErrorText;
}

namespace {

ReportLoadStatus StatusOfRows(ReportRowsResult result) {
    switch (result) {
    case ReportRowsResult::AllParsed:
        return ReportLoadStatus::AllParsed;
    case ReportRowsResult::SomeFailed:
        return ReportLoadStatus::SomeFailed;
    case ReportRowsResult::Cancelled:
        return ReportLoadStatus::Cancelled;
    case ReportRowsResult::OutOfMemory:
        break;
    }
    return ReportLoadStatus::OutOfMemory;
}

} // namespace

void AddReadDetails(const ReportFile& file, ReportLoadDetails& details) {
    if (!file.LeftUnread())
        return;
    const std::string bytes = std::to_string(file.BytesRead());
    if (file.Size() > 0)
        details.push_back("The file grew while it was read: only the " + bytes +
                          " bytes it held when it was opened were loaded.");
    else
        details.push_back("The file gives its size as 0 bytes, as the kernel's files do, but holds more: "
                          "only its first " +
                          bytes + " bytes were loaded.");
}

ReportLoadStatus LoadReportRows(const std::string& path, CListBase& table, std::string& openError,
                                ReportLoadDetails& details, const ReportLoadSteps& steps,
                                RunDetailsStore* runDetails) {
    ReportFile file;
    if (!file.Open(path)) {
        openError = file.ErrorText();
        return ReportLoadStatus::CannotOpen;
    }
    file.SetProgress(steps.progress);
    const ReportLoadStatus status = StatusOfRows(ReadReportRows(file, path, table, {}, &details, runDetails));
    if (status != ReportLoadStatus::OutOfMemory && status != ReportLoadStatus::Cancelled)
        AddReadDetails(file, details);
    file.Close();
    if (status == ReportLoadStatus::Cancelled) {
        table.DeleteAllItems();
        if (runDetails != nullptr)
            runDetails->Clear();
        return status;
    }
    if (steps.rowsRead)
        steps.rowsRead(status);
    // The list of outstanding I/Os follows this order, so it is filled between the two sorts.
    table.SortColumn(kColOutstanding, true, true);
    if (steps.sortedByOutstanding)
        steps.sortedByOutstanding();
    table.SortColumn(kColNumber, true, true);
    return status;
}
