#pragma once

#include "report/ReportRows.h"
#include "widgets/ListBase.h"

#include <string>

enum class ReportTableStatus {
    AllParsed,   // every run became a row
    SomeFailed,  // some runs (or a read error) became error rows
    CannotOpen,  // the file could not be opened; the table is untouched
    OutOfMemory, // memory ran out; the table holds an error row that says so
};

// Fills an empty result table from a report the way the window's load does: one row per test block
// (error rows included), an error row when reading stops early, then the two sorts of the load
// (by outstanding I/Os, then by row number), which leave the rows in report order. openError receives
// the system's reason when the file cannot be opened.
ReportTableStatus LoadReportTable(const std::string& path, CListBase& table, std::string& openError);
