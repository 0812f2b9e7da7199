#pragma once

#include "report/ReportBlocks.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Builds test blocks from lines, one line at a time, each line followed by CR LF: the plain form of the
// block reader's rules (report/ReportBlocks.h), which the tests and the fuzzer hold it to.
// - "sqlio v" at a line's start starts a SQLIO run.
// - "Input parameters:" at a line's start starts a DiskSpd run when the next line that is not empty
//   begins, after blanks, with "timespan:"; "Command Line:" does when the next line that is not empty is
//   such an "Input parameters:" line. Up to kEmptyLinesLookedPast empty lines are looked past at each
//   step; otherwise these lines are ordinary ones.
// - Lines before the first run are dropped; a block past maxBlock bytes takes no more lines. A block
//   that lost lines that way is handed over as cut at its tail (RunCut::Tail), one that holds a
//   shortened line as cut in a line (RunCut::Line).
class BlockCutter {
public:
    static constexpr int kEmptyLinesLookedPast = 8;
    using BlockHandler = std::function<void(const std::string& block, RunCut cut)>;
    explicit BlockCutter(BlockHandler onBlock, size_t maxBlock = 16u << 20)
        : m_onBlock(std::move(onBlock)), m_maxBlock(maxBlock) {}

    void Line(std::string_view line, bool shortened);
    void Finish();

private:
    enum class Held { Nothing, CommandLine, Parameters, CommandLineAndParameters };
    // Adds the line to the block, or starts a new block with it.
    void Take(std::string_view line, bool startsRun, bool shortened);
    // Takes the held lines, the first as the start of a run or not.
    void Settle(bool startsRun);

    BlockHandler m_onBlock;
    size_t m_maxBlock;
    std::string m_block;
    bool m_started = false;
    RunCut m_cut = RunCut::None;
    Held m_held = Held::Nothing;
    std::vector<std::pair<std::string, bool>> m_heldLines; // each line, and whether it was shortened
    int m_emptyLines = 0;                                  // held since the last line that is not empty
};
