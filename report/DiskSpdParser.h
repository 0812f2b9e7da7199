#pragma once

#include "report/RowGate.h"
#include "table/ListBase.h"

#include <string>
#include <string_view>

class RunDetailsStore;

// Reads one DiskSpd run (its text output, as ReportBlockReader cuts it: lines each ending in CR LF, from
// "Command Line:" or "Input parameters:" on) into the result table: one row per "Results for
// timespan N" section, in their order, with the same eleven cells a SQLIO run gives.
//
// - Direction, Type, Size, Outstanding IOs: from the first target ("path:") of timespan N of the
//   input parameters: "performing read test" gives "Read", "performing write test" "Write",
//   "performing mix test (read/write ratio: 70/30)" "Mixed 70/30"; "using random I/O" gives
//   "random", "using sequential I/O" and "using interlocked sequential I/O" "sequential" (any other
//   "using <kind> I/O (" line gives <kind> verbatim); "block size: 4096" and "block size: 4KiB" give
//   "4KB", a size that is not a whole number of KiB is written in bytes ("512B"); "number of
//   outstanding I/O operations: 32" and "... per thread: 32" give "32" (a run made with -F and -O
//   prints none per target but "request count: 32" in its results, which stands in).
// - IO/Sec, MB/Sec, Avg_Latency: the "I/O per s", "MB/s" (or "MiB/s") and "AvgLat" fields of the
//   "total:" line of the "Total IO" table, found by the column titles of the table's header, so
//   optional columns (-L, -D) and numbers wider than their column read the same.
// - Min_Latency, Max_Latency: the "min" and "max" rows, "Total (ms)" column, of the section's last
//   percentile table (with several targets DiskSpd prints one table per target first, then the total).
// Numbers are kept as written. A run without latencies (no "AvgLat" column) leaves the three latency
// cells empty. A section that lacks a part it needs (its parameters, "Total IO", the "total:" line, a
// column, the percentile table or its "min"/"max" row) becomes an error row "Token [<part>] not found
// in section <n> ("Results for timespan <N>") of test: <excerpt>"; a run without any results section
// gives one row "Token [Results for timespan] not found in test: <excerpt>". The excerpt is the run
// whole when it is short, else its first kilobyte of whole lines and how many bytes follow. Each row
// passes admit first. True when every row it added parsed.
//
// With runDetails, each row's run (error rows too) also keeps what its section says, as written: the
// command line, computer name and start time; the timespan's targets, duration, warm-up and IOPS
// interval, its first target's block size, outstanding I/Os, write ratio and cache lines; the
// section's thread count; every point of its last percentile table ("min" as 0, "3-nines" as 99.9,
// "N/A" as no value), cut when the table ends before its "max" row; and IopsStdDev (-D) beside the
// I/O per s of the "Total IO" total.
bool ParseDiskSpdRun(std::string_view block, CListBase& table, const RowGate& admit = {},
                     RunDetailsStore* runDetails = nullptr);

// The "Size" cell of a DiskSpd block size text: "4096", "4KiB" and "4K" give "4KB", "1.50KiB"
// gives "1536B". Text that is no size stays as it was.
std::string DiskSpdSizeCell(std::string_view text);
