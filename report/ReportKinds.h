#pragma once

#include <string>

// The kinds of report the readers recognise, one line each, as the --help of both programs lists
// them. A reader of a new kind adds its line here, and one to the manual pages (packaging/*.1.in).
inline constexpr const char* kReportKinds[] = {
    "SQLIO text output (sqlio ... > report.txt)",
    "DiskSpd text output, versions 2.0 to 2.2 (diskspd ... > report.txt, the default -Rtext)",
    "DiskSpd XML output, versions 2.0 to 2.2 (diskspd -Rxml ... > report.xml)",
    "fio JSON output, fio 2.x and 3.x (fio --output-format=json or json+)",
};

// The list for a usage text: a heading, then each kind on a line of its own, indented.
inline std::string ReportKindsText() {
    std::string text = "Reports it reads, known by their content whatever the file is called:\n";
    for (const char* kind : kReportKinds)
        text.append("  ").append(kind).append("\n");
    return text;
}
