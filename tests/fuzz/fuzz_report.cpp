// libFuzzer target: arbitrary bytes through the whole reading path (decoding, line splitting, block
// cutting) and the SQLIO and DiskSpd readers, with each run's details, fed in two chunks split at a
// fuzzed point. Every run's details belong to one of its rows and read back alike by number and in order.
#include "report/ReportParser.h"
#include "report/ReportText.h"
#include "report/RunDetailsStore.h"
#include "report/RunParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t split = data[0] % size;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CListBase table;
    AddResultColumns(table);
    RunDetailsStore runDetails;
    BlockCutter cutter([&](const std::string& block) { ParseRun(block, table, {}, &runDetails); }, 4096);
    LineSplitter splitter([&](std::string_view line) { cutter.Line(line); }, 1024);
    ReportTextDecoder decoder;
    std::string scratch;
    const size_t first = split < bytes.size() ? split : bytes.size();
    splitter.Feed(decoder.Decode(bytes.substr(0, first), scratch));
    splitter.Feed(decoder.Decode(bytes.substr(first), scratch));
    scratch.clear();
    decoder.Finish(scratch);
    splitter.Feed(scratch);
    splitter.Finish();
    cutter.Finish();
    for (int row = 0; row < table.GetItemCount(); ++row)
        if (table.CellRef(row, kColNumber) != std::to_string(row))
            __builtin_trap();
    RunDetails found;
    runDetails.ForEach([&](int run, const RunDetails& details) {
        if (run < 0 || run >= table.GetItemCount() || !runDetails.Find(run, found) || found != details)
            __builtin_trap();
    });
    return 0;
}
