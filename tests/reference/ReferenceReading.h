#pragma once

#include "report/ReportBlocks.h"
#include "table/ListBase.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The plain reading of a report that the program's fast path is held to: the decoded text split by
// LineSplitter and cut by BlockCutter one line at a time, each SQLIO run read by ScalarParseTest.

// A block as the tests compare them: its text, and what the bounds took from its run.
struct TestBlock {
    std::string text;
    RunCut cut = RunCut::None;
    friend bool operator==(const TestBlock&, const TestBlock&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TestBlock& block) {
        static const char* const kCuts[] = {"", "cut at its tail ", "cut in a line "};
        return out << kCuts[static_cast<int>(block.cut)] << '"' << block.text << '"';
    }
};

// The blocks of text, with the block reader's bounds.
std::vector<TestBlock> CutLineByLine(std::string_view text, size_t maxLine = 16u << 20,
                                     size_t maxBlock = 16u << 20);

// The blocks of the report file at path: its bytes read whole and decoded, then CutLineByLine. False when
// the file cannot be read.
bool ReadBlocksLineByLine(const std::string& path, std::vector<TestBlock>& blocks);

// One block into the table: a SQLIO run by ScalarParseTest, any other by the DiskSpd reader; a cut one as
// ParseReadBlock takes it. True when every row it added parsed.
bool ReferenceParseBlock(const TestBlock& block, CListBase& table);
