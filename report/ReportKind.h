#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The kinds of report a file may hold. The text kinds (SQLIO and DiskSpd's text output, in any mix)
// are cut into runs line by line; a DiskSpd XML or fio JSON report is a document read as a whole.
enum class ReportKind { Text, DiskSpdXml, FioJson };

// How much decoded text the kind is looked for in. fio's --output-format=json,normal prints a line per
// job before its JSON, so the start of a document can lie far into a file.
constexpr std::size_t kReportKindWindow = std::size_t{1} << 20;

// The kind of a report from the start of its decoded text, or nothing while more text is needed. The
// first of these lines decides: one that begins a SQLIO or DiskSpd text run ("sqlio v", "Command
// Line:", "Input parameters:") makes it text; one that begins, after blanks, with "<Results" or
// "<?xml" makes it DiskSpd XML; one that is "{" alone with "fio version" as its first key makes it
// fio JSON. Text that holds none of them within the window, or by its end (atEnd), is text: it
// loads as the text readers read it, as any other file does.
std::optional<ReportKind> DetectReportKind(std::string_view head, bool atEnd);
