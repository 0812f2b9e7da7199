#pragma once

#include "report/ReportFile.h"
#include "table/ListBase.h"

#include <cstddef>
#include <string>
#include <vector>

class RunDetailsStore;

// How much memory the rows of one report may take: perBytesRead times the file's size (or the bytes
// read, for a file that reports no size), plus fixed. A real run is a few hundred bytes of text and its
// row takes about as much, so only a file of tiny broken runs ("sqlio v" lines, each an error row of
// eleven cells) ever meets the limit. A file that reports no size is read to at most fixed bytes.
struct RowMemoryBudget {
    std::size_t perBytesRead = 4;
    std::size_t fixed = ReportFile::kUnsizedReadLimit;
};

enum class ReportRowsResult {
    AllParsed,   // every block became a row and the whole file was read
    SomeFailed,  // error rows: blocks that did not parse, a read error, or runs left out by the budget
    OutOfMemory, // memory ran out: the rows read are dropped, and the table holds one error row that says so
    Cancelled,   // the file's progress callback stopped the reading: the table holds the rows read before
};

// Reads every run of an opened report into the result table: one row per SQLIO run and per DiskSpd
// results section, per DiskSpd XML time span and per fio job (the kind told by the content), error rows
// included, and one more error row naming the reason when reading stops early. Once the rows would take
// more memory than the budget allows (asked before every row, so also inside a run of many sections),
// the remaining rows are only counted, and an error row says how many runs were left out; an XML or
// JSON document is held whole while it is read, within the same budget. The file is read as
// file.ReadBlockViews reads it, a file without a size to at most budget.fixed bytes. details, when
// given, receives the lines that say more than the rows (fio jobs left out). With runDetails (empty),
// each run's details join it under the row's number, and they count in the budget with the rows;
// memory that runs out leaves it empty.
ReportRowsResult ReadReportRows(ReportFile& file, const std::string& path, CListBase& table,
                                const RowMemoryBudget& budget = {},
                                std::vector<std::string>* details = nullptr,
                                RunDetailsStore* runDetails = nullptr);

// The error row text when memory runs out while loading path.
std::string OutOfMemoryMessage(const std::string& path);
