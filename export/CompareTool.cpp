#include "export/CompareTool.h"

#include "compare/CompareLabels.h"
#include "compare/ComparisonTable.h"
#include "disks/SafeText.h"
#include "platform/FileNames.h"

int BuildComparisonExport(const std::vector<std::string>& paths, CListBase& table, std::FILE* messages) {
    std::vector<ComparedReport> reports;
    reports.reserve(paths.size());
    bool failed = false;
    bool errorRows = false;
    for (const std::string& path : paths) {
        reports.push_back(LoadComparedReport(path));
        const ComparedReport& report = reports.back();
        if (report.status == ReportLoadStatus::CannotOpen) {
            std::fprintf(messages, "%s: %s: %s\n", kReportCannotOpenText, EscapeForMessage(path).c_str(),
                         report.problem.c_str());
            failed = true;
        } else if (report.status == ReportLoadStatus::OutOfMemory) {
            std::fprintf(messages, "Not enough memory to read %s\n", EscapeForMessage(path).c_str());
            failed = true;
        }
        errorRows = errorRows || report.status == ReportLoadStatus::SomeFailed;
    }
    if (failed)
        return 2;

    const std::vector<std::string> labels = CompareLabels(paths, kPathSeparators);
    std::vector<const ReportTests*> tests;
    for (size_t i = 0; i < reports.size(); ++i) {
        tests.push_back(&reports[i].tests);
        std::fprintf(messages, "%s: %s\n", EscapeForMessage(labels[i]).c_str(),
                     LoadStatusText(reports[i].status));
    }
    const Comparison comparison(std::move(tests));
    FillComparisonTable(table, comparison, labels, ShownTests(comparison, {}, CompareOrder::ByTest, 0),
                        AllMeasures());
    for (int report = 1; report < comparison.ReportCount(); ++report)
        std::fprintf(
            messages, "%s\n",
            EscapeForMessage(SummaryText(labels[static_cast<size_t>(report)], comparison.Summary(report)))
                .c_str());
    return errorRows ? 1 : 0;
}
