#pragma once

#include "report/ReportFile.h"
#include "widgets/ListBase.h"

#include <string>

// The status texts of a load.
extern const char* const kReportLoadedText;
extern const char* const kReportLoadErrorText;
extern const char* const kReportCannotOpenText;

// Reads every run of an opened report into the result table: one row per SQLIO run and per DiskSpd
// results section, error rows included, and one more error row naming the system's reason when
// reading stops early. True when every run parsed and the whole file was read.
bool ReadReportRows(ReportFile& file, const std::string& path, CListBase& table);
