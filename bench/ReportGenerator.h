#pragma once

#include <string>

// A realistic SQLIO report of `runs` runs (CR LF line ends, histogram lines included), mixing read and
// write, random and sequential, block sizes and outstanding-I/O counts. The same seed gives the same text.
std::string GenerateReport(int runs, unsigned seed = 1);

// A realistic DiskSpd report of `runs` runs as DiskSpd 2.1 writes them with -L and -D (CR LF line ends,
// input parameters, CPU table, Total/Read/Write IO tables with four threads, percentile table), mixing
// read, write and mixed runs, random and sequential, block sizes and queue depths. Same seed, same text.
std::string GenerateDiskSpdReport(int runs, unsigned seed = 1);

// Writes text to a file under the system's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);
