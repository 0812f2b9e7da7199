#pragma once

#include "table/ListBase.h"

#include <string>

// Reads the DiskSpd XML documents of a report (what -Rxml writes: a <Results> element with the
// <System>, the <Profile> and one <TimeSpan> of results per time span; a sweep appended to one file
// holds several) into the result table: one row per result <TimeSpan>, in order, with the cells the
// text output of the same run gives.
//
// - Direction, Type, Size, Outstanding IOs: from the first <Target> of the profile's time span of the
//   same place: <WriteRatio> 0 "Read", 100 "Write", else "Mixed R/W"; <Random> present "random", else
//   "sequential"; <BlockSize> in bytes as "4KB" or "512B"; <RequestCount> (the time span's own
//   <RequestCount> of the results when the target has none, as with -F and -O).
// - IO/Sec and MB/Sec: the sums of <IOCount> and <BytesCount> over every <Thread>'s <Target>s, over
//   <TestTimeSeconds>; MB/Sec in MiB.
// - Latencies, when the time span has its <Latency> (-L): Min and Max from the <TotalMilliseconds>
//   of the <Bucket>s of <Percentile> 0 and 100, Avg from <AverageTotalMilliseconds>; empty otherwise.
// A time span that lacks a part becomes an error row naming it; a document that is not well-formed or
// is cut off becomes one error row. text is the report's decoded text; it is parsed in place.
// True when every row parsed.
bool AddDiskSpdXmlRows(std::string& text, CListBase& table);
