#include "tests/reference/ReferenceReading.h"

#include "report/DiskSpdParser.h"
#include "report/ReportText.h"
#include "report/ResultRow.h"
#include "tests/reference/BlockCutter.h"
#include "tests/reference/LineSplitter.h"
#include "tests/reference/ScalarSqlioParser.h"

#include <fstream>
#include <iterator>

std::vector<TestBlock> CutLineByLine(std::string_view text, size_t maxLine, size_t maxBlock) {
    std::vector<TestBlock> blocks;
    BlockCutter cutter(
        [&](const std::string& block, RunCut cut) {
            blocks.push_back({block, cut});
        },
        maxBlock);
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
    const bool sqlio = block.text.rfind("sqlio v", 0) == 0;
    if (block.cut == RunCut::None)
        return sqlio ? ScalarParseTest(block.text, table) : ParseDiskSpdRun(block.text, table);
    const std::string lastValueOnNextLine = "Max_Latency(ms):\r\n";
    const bool endsInThatToken =
        block.text.size() >= lastValueOnNextLine.size() &&
        block.text.substr(block.text.size() - lastValueOnNextLine.size()) == lastValueOnNextLine;
    ListRow cells(kResultColumnCount);
    if (block.cut == RunCut::Tail && sqlio && !endsInThatToken) {
        CListBase aside;
        AddResultColumns(aside);
        if (ScalarParseTest(block.text, aside))
            cells = aside.Row(0);
    }
    const bool parsed = !cells[kColDirection].empty();
    if (!parsed)
        cells[kColDiagDetails] = "Run longer than 16 MiB; only its first 16 MiB were read";
    AddResultRow(table, cells);
    return parsed;
}
