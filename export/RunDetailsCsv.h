#pragma once

#include "report/RunDetailsStore.h"
#include "table/ListBase.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The tables of trelvane-csv's --percentiles, --histogram and --details: what each run's report says
// beyond its row, one line per run and point (bucket, parameter), as CSV under the rules of the
// export (table/ListCsv.h): a header line, commas, CR LF, quotes and the formula apostrophe as there.
//
// - Percentiles: "#,Direction,Percentile,Read_ms,Write_ms,Total_ms": the percentile as a number ("0"
//   for the minimum, "99.9", "100" for the maximum), the latencies as written, empty where the report
//   has none;
// - Histogram: "#,Direction,Bucket_ms,Percent": SQLIO's buckets as it labels them ("0" ... "24+") and
//   their shares as written;
// - Details: "#,Name,Value": the parameters.
// "#" and "Direction" are the run's cells in the result table; runs are taken in the table's order, and
// a run without such details gives no line.
enum class RunDetailsTable { Percentiles, Histogram, Details };

// Hands the CSV text to write in chunks of about chunkBytes; false at the first chunk write refuses.
bool WriteRunDetailsCsv(RunDetailsTable kind, const CListBase& results, const RunDetailsStore& store,
                        const std::function<bool(std::string_view)>& write,
                        std::size_t chunkBytes = std::size_t{1} << 16);

// The whole CSV text.
std::string RunDetailsCsvText(RunDetailsTable kind, const CListBase& results, const RunDetailsStore& store);
