#include "report/ReportKind.h"

#include "report/RunStart.h"
#include "table/CharClass.h"

namespace {

using std::string_view;

string_view TrimBlanks(string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The text after position, past white space of any kind.
string_view AfterWhiteSpace(string_view text, size_t position) {
    while (position < text.size() && IsWhiteSpace(text[position]))
        ++position;
    return text.substr(position);
}

} // namespace

std::optional<ReportKind> DetectReportKind(string_view head, bool atEnd) {
    size_t start = 0;
    while (start < head.size()) {
        const size_t newline = head.find_first_of("\r\n", start);
        // A last line without its end may still grow into something that decides.
        if (newline == string_view::npos && !atEnd && head.size() < kReportKindWindow)
            return std::nullopt;
        const size_t stop = newline == string_view::npos ? head.size() : newline;
        const string_view line = head.substr(start, stop - start);
        if (RunStartOf(line) != RunStartLine::None)
            return ReportKind::Text;
        const string_view trimmed = TrimBlanks(line);
        if (trimmed.starts_with("<Results") || trimmed.starts_with("<?xml"))
            return ReportKind::DiskSpdXml;
        if (trimmed == "{") {
            const string_view next = AfterWhiteSpace(head, stop);
            if (next.starts_with("\"fio version\""))
                return ReportKind::FioJson;
            // The key may still be on its way.
            if (next.size() < 16 && !atEnd && head.size() < kReportKindWindow)
                return std::nullopt;
        }
        start = stop + 1;
    }
    if (atEnd || head.size() >= kReportKindWindow)
        return ReportKind::Text;
    return std::nullopt;
}
