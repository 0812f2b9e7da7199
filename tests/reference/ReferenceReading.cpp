#include "tests/reference/ReferenceReading.h"

#include "report/DiskSpdParser.h"
#include "report/ReportText.h"
#include "tests/reference/BlockCutter.h"
#include "tests/reference/LineSplitter.h"
#include "tests/reference/ScalarSqlioParser.h"

#include <fstream>
#include <iterator>

std::vector<std::string> CutLineByLine(std::string_view text, size_t maxLine, size_t maxBlock) {
    std::vector<std::string> blocks;
    BlockCutter cutter([&](const std::string& block) { blocks.push_back(block); }, maxBlock);
    LineSplitter splitter([&](std::string_view line) { cutter.Line(line); }, maxLine);
    splitter.Feed(text);
    splitter.Finish();
    cutter.Finish();
    return blocks;
}

bool ReadBlocksLineByLine(const std::string& path, std::vector<std::string>& blocks) {
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

bool ReferenceParseRun(const std::string& block, CListBase& table) {
    if (block.rfind("sqlio v", 0) == 0)
        return ScalarParseTest(block, table);
    return ParseDiskSpdRun(block, table);
}
