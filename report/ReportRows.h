#pragma once

#include "report/ReportFile.h"
#include "table/ListBase.h"

#include <cstddef>
#include <string>

// How much memory the rows of one report may take: perBytesRead times the file's size (or the bytes
// read, when a growing file passed it), plus fixed. A real run is a few hundred bytes of text and its row
// takes about as much, so only a file of tiny broken runs ("sqlio v" lines, each an error row of eleven
// cells) ever meets the limit.
struct RowMemoryBudget {
    std::size_t perBytesRead = 4;
    std::size_t fixed = std::size_t{64} << 20;
};

enum class ReportRowsResult {
    AllParsed,   // every block became a row and the whole file was read
    SomeFailed,  // error rows: blocks that did not parse, a read error, or runs left out by the budget
    OutOfMemory, // memory ran out: the table holds the rows read before and an error row that says so
    Cancelled,   // the file's progress callback stopped the reading: the table holds the rows read before
};

// Reads every run of an opened report into the result table: one row per SQLIO run and per DiskSpd
// results section, error rows included, and one more error row naming the reason when reading stops
// early. Once the rows would take more memory than the budget allows, the remaining runs are only
// counted, and an error row says how many were left out.
ReportRowsResult ReadReportRows(ReportFile& file, const std::string& path, CListBase& table,
                                const RowMemoryBudget& budget = {});

// The error row text when memory runs out while loading path.
std::string OutOfMemoryMessage(const std::string& path);
