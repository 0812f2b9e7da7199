// libFuzzer target: arbitrary bytes through the whole reading path (decoding, line splitting, block
// cutting) and the SQLIO and DiskSpd readers, fed in two chunks split at a fuzzed point.
#include "report/ReportParser.h"
#include "report/ReportText.h"
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
    BlockCutter cutter([&](const std::string& block) { ParseRun(block, table); }, 4096);
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
    return 0;
}
