#pragma once

#include "report/ReportLoad.h"
#include "table/ListBase.h"

#include <string>

// trelvane-csv's load of a report into an empty result table: the window's load (LoadReportRows),
// with memory that runs out in the sorts reported as OutOfMemory and the table left holding one error
// row that says so. openError receives the system's reason when the file cannot be opened; details, when
// given, the load's detail lines.
ReportLoadStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError,
                                 ReportLoadDetails* details = nullptr);
