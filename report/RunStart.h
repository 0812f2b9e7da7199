#pragma once

#include <string_view>

// The lines that begin a run, in one place for every reader: the block reader cuts runs at them, the
// kind detector knows a text report by them and the dispatcher picks a run's reader by them.
inline constexpr std::string_view kSqlioRunStart = "sqlio v";
inline constexpr std::string_view kDiskSpdCommandLine = "Command Line:";
inline constexpr std::string_view kDiskSpdParameters = "Input parameters:";

enum class RunStartLine { None, Sqlio, DiskSpdCommandLine, DiskSpdParameters };

// The run a line would start, by its first bytes alone. A DiskSpd line starts a run only where the lines
// after it are DiskSpd's parameters: ReportBlockReader looks ahead for that (report/ReportBlocks.h).
constexpr RunStartLine RunStartOf(std::string_view line) {
    if (line.starts_with(kSqlioRunStart))
        return RunStartLine::Sqlio;
    if (line.starts_with(kDiskSpdCommandLine))
        return RunStartLine::DiskSpdCommandLine;
    if (line.starts_with(kDiskSpdParameters))
        return RunStartLine::DiskSpdParameters;
    return RunStartLine::None;
}
