#pragma once

#include "report/RunDetails.h"

#include <string_view>

// What a SQLIO run's block (as ReportBlockReader cuts it) says beyond its row, as SQLIO wrote it, into
// details (emptied first; its texts are views into the block):
// - parameters: "Tool" from the "sqlio v" line ("sqlio v1.5.SG"), "Parameter file" ("parameter file
//   used:"), one "Target" per "\tfile PATH with N threads" line (else the file of the direction line),
//   "Threads" and "Duration" from the direction line ("64 threads reading for 15 secs from file ..."
//   gives "64" and "15 secs"), "Block size" ("\tusing 8KB random IOs" gives "8KB"), "Queue depth"
//   ("per thread with 8 outstanding" gives "8"), "Caching" (the rest of "\tbuffering set to "), "File
//   size" ("using specified size: 50000 MB for file:" gives "50000 MB");
// - the latency histogram of -LS: the "ms:" line's labels paired with the "%:" line's shares, for the
//   run's direction. A "%:" line with fewer shares than labels, or a histogram whose lines are missing,
//   keeps the pairs there are and marks the details cut.
// The row's own cells stay ParseTest's, whose rules these readings never change.
void ReadSqlioDetails(std::string_view block, RunDetailsView& details);
