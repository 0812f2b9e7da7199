#pragma once

#include <string>

// A realistic SQLIO report of `runs` runs (CR LF line ends, histogram lines included), mixing read and
// write, random and sequential, block sizes and outstanding-I/O counts. The same seed gives the same text.
std::string GenerateReport(int runs, unsigned seed = 1);

// A realistic DiskSpd report of `runs` runs as DiskSpd 2.1 writes them with -L and -D (CR LF line ends,
// input parameters, CPU table, Total/Read/Write IO tables with four threads, percentile table), mixing
// read, write and mixed runs, random and sequential, block sizes and queue depths. Same seed, same text.
std::string GenerateDiskSpdReport(int runs, unsigned seed = 1);

// The runs of GenerateDiskSpdReport (same seed, same parameters and counts) as a sweep of DiskSpd XML
// documents appended to one file, one <Results> per run as -Rxml writes it with -L: system, profile,
// CPU table, the latency buckets from the 0th to the 100th percentile, four threads. -D's per-second
// samples, which the text output never prints, are left out.
std::string GenerateDiskSpdXmlReport(int runs, unsigned seed = 1);

// The runs of GenerateDiskSpdReport as the jobs of one fio 3.x JSON document (--output-format=json):
// per job its options, read, write and trim sections with completion-latency percentiles, the total
// latency, and the depth and latency distributions.
std::string GenerateFioJsonReport(int jobs, unsigned seed = 1);

// Writes text to a file under the system's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);
