#include "tests/reference/ReferenceReading.h"

#include "report/DiskSpdParser.h"
#include "report/ReportParser.h"
#include "report/ReportText.h"
#include "tests/reference/BlockCutter.h"
#include "tests/reference/LineSplitter.h"
#include "tests/reference/ScalarSqlioParser.h"

#include <fstream>
#include <iterator>

std::vector<TestBlock> CutLineByLine(std::string_view text, size_t maxLine, size_t maxBlock) {
    std::vector<TestBlock> blocks;
    BlockCutter cutter([&](const std::string& block, bool cut) { blocks.push_back({block, cut}); }, maxBlock);
    LineSplitter splitter([&](std::string_view line, bool shortened) { cutter.Line(line, shortened); },
                          maxLine);
    splitter.Feed(text);
    splitter.Finish();
    cutter.Finish();
    return blocks;
}

bool ReadBlocksLineByLine(const std::string& path, std::vector<TestBlock>& blocks) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return false;
    ReportTextDecoder decoder;
    std::string text;
    decoder.Feed(bytes, text);
    decoder.Finish(text);
    blocks = CutLineByLine(text);
    return true;
}

bool ReferenceParseBlock(const TestBlock& block, CListBase& table) {
    if (block.cut) {
        ListRow cells(kResultColumnCount);
        cells[kColNumber] = std::to_string(table.GetItemCount());
        cells[kColDiagDetails] = "Run longer than 16 MiB; only its first 16 MiB were read";
        table.InsertRow(cells);
        return false;
    }
    if (block.text.rfind("sqlio v", 0) == 0)
        return ScalarParseTest(block.text, table);
    return ParseDiskSpdRun(block.text, table);
}
