// libFuzzer target: arbitrary bytes, decoded as a report is, through the DiskSpd XML reader. The rows
// must be numbered in order, the same text must give the same rows twice (the parse is in place and
// must leave nothing behind), error rows come exactly with a false result, and the kind found in a first
// chunk must be the kind of the whole. The runs' details, kept on the second reading, change no row and
// read back alike by number and in order. Fed in pieces, as a file is read, the text gives the rows of
// the whole text, wherever the pieces end.
#include "report/DiskSpdXmlReader.h"
#include "report/ReportKind.h"
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

    const std::optional<ReportKind> whole = DetectReportKind(text, true);
    const std::optional<ReportKind> early =
        DetectReportKind(std::string_view(text).substr(0, text.size() / 2), false);
    if (!whole || (early && *early != *whole))
        __builtin_trap();

    std::string first = text, second = text;
    CListBase once, twice;
    // The second reading keeps the runs' details too, which must change none of the rows.
    RunDetailsStore runDetails;
    AddResultColumns(once);
    AddResultColumns(twice);
    const bool parsed = AddDiskSpdXmlRows(first, once);
    if (AddDiskSpdXmlRows(second, twice, &runDetails) != parsed || ListCsvText(once) != ListCsvText(twice))
        __builtin_trap();
    CListBase pieces;
    AddResultColumns(pieces);
    DiskSpdXmlStream stream(pieces);
    const size_t piece = 1 + size % 97;
    for (size_t at = 0; at < text.size(); at += piece)
        stream.Feed(std::string_view(text).substr(at, piece));
    if (stream.Finish() != parsed || ListCsvText(pieces) != ListCsvText(once))
        __builtin_trap();
    RequireNumberedRowsAndErrorRowsAsSaid(once, parsed);
    RequireDetailsOfRows(runDetails, twice);
    return 0;
}
