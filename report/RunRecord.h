#pragma once

#include "table/ListBase.h"

#include <optional>
#include <string>

// What a structured report (DiskSpd XML, fio JSON) says of one run, before it becomes the eleven
// cells of its row. The cells are formatted from it, so a later view can read the same run's numbers
// without parsing cells back; anything more a report holds of a run (its latency distribution, its
// parameters) joins this record, not the row.
struct RunRecord {
    std::string direction;   // "Read", "Write" or "Mixed 70/30"
    std::string type;        // "random", "sequential", or empty when the report does not say
    std::string size;        // "4KB", "512B", or a read and a write size "4KB,64KB"
    std::string outstanding; // I/Os in flight per thread (per job), as the report gives it
    double iosPerSec = 0;
    double mbPerSec = 0; // MiB, as DiskSpd counts a MB
    // In milliseconds; empty when the run measured no latency (DiskSpd without -L).
    std::optional<double> minLatencyMs, avgLatencyMs, maxLatencyMs;
};

// value with the given number of decimals, rounded half away from zero as printf("%.*f") rounds
// the nearest double, with a "." whatever the locale.
std::string FixedDecimals(double value, int decimals);

// Appends the row of a record: IO/Sec and MB/Sec with two decimals, latencies with three, as
// DiskSpd's text output writes them, so rows of every kind read and compare alike.
void AddRunRow(CListBase& table, const RunRecord& record);

// "Mixed R/W" as the DiskSpd text reader writes a mixed run, from its share of reads in percent.
std::string MixedDirection(int readPercent);
