#pragma once

#include "report/ReportFile.h"
#include "report/ReportRows.h"
#include "table/ListBase.h"

#include <functional>
#include <string>
#include <vector>

// The status texts of a load, shown by the window's status line and by trelvane-csv.
extern const char* const kReportLoadedText;
extern const char* const kReportLoadErrorText;
extern const char* const kReportCannotOpenText;
extern const char* const kReportCancelledText;

enum class ReportLoadStatus {
    AllParsed,   // every run became a row
    SomeFailed,  // some runs (or a read error) became error rows
    CannotOpen,  // the file could not be opened; the table is untouched
    OutOfMemory, // memory ran out while reading; the table holds only an error row that says so
    Cancelled,   // the steps' progress stopped the load; the table is empty
};

// The status text of a load that opened its file: the success text for AllParsed, the cancelled text
// for Cancelled, the error text otherwise.
const char* LoadStatusText(ReportLoadStatus status);

// Lines that tell more about a load than its status text, which stays one of the texts above: that a
// file was read only in part, or what a report held that became no row (fio jobs that only trim). Most
// loads have none. The window shows them as the status line's tooltip; trelvane-csv prints them on
// standard error after the status line.
using ReportLoadDetails = std::vector<std::string>;

// Adds the detail line that says why part of the file was not read, when it was not
// (ReportFile::LeftUnread).
void AddReadDetails(const ReportFile& file, ReportLoadDetails& details);

// What the caller does between the steps of a load; either may be left empty.
struct ReportLoadSteps {
    // The rows are in, in report order, before the sorts; status is never CannotOpen.
    std::function<void(ReportLoadStatus status)> rowsRead;
    // Between the two sorts, with the rows in order of outstanding I/Os.
    std::function<void()> sortedByOutstanding;
    // As the file is read: the bytes read so far and the file's size. Returning false cancels the load.
    std::function<bool(unsigned long long bytesRead, unsigned long long size)> progress;
};

// The load of one report into an empty result table, as the window and trelvane-csv both run it: open
// the file, read one row per test block (error rows included, and an error row when reading stops
// early), then sort by outstanding I/Os and by row number, which restores the report order (every row, error
// rows included, is numbered as it is added). A load cancelled by its progress step leaves the table
// empty and runs no other step. openError receives the system's reason when the file cannot be opened;
// nothing else happens then. details receives the load's detail lines. Memory that runs out while
// reading gives OutOfMemory (the table then holds only the error row that says so)
// after the sorts; in the sorts or the steps, std::bad_alloc leaves the function. With runDetails
// (empty), each run's details are kept there under its number (ReadReportRows); a cancelled load keeps none.
ReportLoadStatus LoadReportRows(const std::string& path, CListBase& table, std::string& openError,
                                ReportLoadDetails& details, const ReportLoadSteps& steps = {},
                                RunDetailsStore* runDetails = nullptr);
