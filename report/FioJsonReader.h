#pragma once

#include "table/ListBase.h"

#include <string>

class RunDetailsStore;

// What a fio JSON report held beside its rows.
struct FioJsonSummary {
    int trimOnlyJobs = 0; // jobs that only trimmed: no row, as they have no read or write to chart
};

// Reads a fio JSON report (--output-format=json or json+, fio 2.x to 3.x) into the result table: one
// row per job of "jobs" (per host job of "client_stats" in client/server output, not the "All
// clients" sum).
//
// - Direction: the job's "rw" option (its "job options", else the "global options"): read and
//   randread "Read", write and randwrite "Write", rw, readwrite and randrw "Mixed R/W" with R from
//   "rwmixread" (or 100 less "rwmixwrite", else fio's 50). Without the option, from the I/O the job
//   did: only reads "Read", only writes "Write", both "Mixed R/W" with R the rounded share of reads.
// - Type: "random" for rand*, "sequential" for the others, empty when no option says.
// - Size: "bs" as "4KB", "1024KB" or "512B" (fio's 4k when not given); split sizes "4k,64k" give the
//   read and the write size, "4KB,64KB".
// - Outstanding IOs: "iodepth" (fio's 1 when not given); numjobs does not multiply it.
// - IO/Sec: read "iops" plus write "iops". MB/Sec: their "bw_bytes" in MiB, or "bw" (KiB/s) / 1024
//   where a fio wrote no bw_bytes.
// - Latencies in ms: the total latency ("lat_ns", "lat_us", "lat_ms"; fio 2.x's "lat" is in usec),
//   minimum and maximum over the directions that did I/O, mean weighted by their I/O counts
//   ("total_ios", else iops times runtime). Never the completion latency alone: without a total
//   latency the cells stay empty.
//
// Text before the JSON and after it is skipped. Of several JSON documents (--status-interval), the
// last complete one is the result; one cut off or broken after it adds an error row. A job whose
// "error" is not 0 becomes an error row naming the error and the job, and so does a job that lacks a
// part; trim-only jobs are left out and counted in summary. text is the report's decoded text; it is
// parsed in place. True when every row parsed.
//
// With runDetails, each job's row (error rows too) also keeps what the report says of its run, as
// written: fio's version and time, the host, the job's name and options (filename, numjobs, runtime,
// ramp_time, bs, iodepth, the write share of rw, direct and buffered), the latency percentiles of each
// direction ("mixed" as Total) in ms, moved from fio's ns or usec without rounding, its keys as
// numbers ("99.900000" is 99.9), with the minimum as 0 and the maximum as 100 (those of "lat_ns" where
// fio wrote them, lat_percentiles; else of "clat_ns", fio's default, and "Percentiles of" says which;
// the "0.00" keys fio fills its unused slots with are left out), and each direction's iops_stddev
// beside its iops_mean.
bool AddFioJsonRows(std::string& text, CListBase& table, FioJsonSummary& summary,
                    RunDetailsStore* runDetails = nullptr);

// The "Size" cell of a fio block size option: "4k" "4KB", "1m" "1024KB", "512" "512B", "4k,64k"
// "4KB,64KB". A size fio would not read stays as written.
std::string FioSizeCell(std::string_view option);
