#pragma once

#include "report/ReportLoad.h"
#include "report/RunDetailsStore.h"
#include "table/ListBase.h"

#include <string>

// trelvane-csv's load of a report into an empty result table: the window's load (LoadReportRows),
// with memory that runs out in the sorts reported as OutOfMemory and the table left holding one error
// row that says so. openError receives the system's reason when the file cannot be opened, details the
// load's detail lines. With runDetails (empty), each run's details are kept there, and dropped with the
// rows when memory runs out.
ReportLoadStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError,
                                 ReportLoadDetails& details, RunDetailsStore* runDetails = nullptr);
