// libFuzzer target: arbitrary bytes, decoded as a report is, through the fio JSON reader. The rows must
// be numbered in order, the same text must give the same rows and the same count of jobs left out twice
// (the parse is in place), and a row is an error row exactly when the reader says not every job parsed.
// The runs' details, kept on the second reading, change no row and read back alike by number and in order.
#include "report/FioJsonReader.h"
#include "report/ReportText.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "table/ListCsv.h"
#include "tests/fuzz/FuzzChecks.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReportTextDecoder decoder;
    std::string text;
    decoder.Feed(std::string_view(reinterpret_cast<const char*>(data), size), text);
    decoder.Finish(text);

    std::string first = text, second = text;
    CListBase once, twice;
    // The second reading keeps the runs' details too, which must change none of the rows.
    RunDetailsStore runDetails;
    AddResultColumns(once);
    AddResultColumns(twice);
    FioJsonSummary summaryOnce, summaryTwice;
    const bool parsed = AddFioJsonRows(first, once, summaryOnce);
    if (AddFioJsonRows(second, twice, summaryTwice, &runDetails) != parsed ||
        ListCsvText(once) != ListCsvText(twice) || summaryOnce.trimOnlyJobs != summaryTwice.trimOnlyJobs)
        __builtin_trap();
    RequireNumberedRowsAndErrorRowsAsSaid(once, parsed);
    RequireDetailsOfRows(runDetails, twice);
    return 0;
}
