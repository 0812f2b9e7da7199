#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Cuts the decoded text of a report into test blocks, one per run. Lines end in CR LF, LF or a lone CR;
// in a block every line is followed by CR LF. A block starts at the line that begins its run:
// - a SQLIO run at a line that begins with "sqlio v";
// - a DiskSpd run at a line that begins with "Command Line:" or "Input parameters:", but only where the
//   text after it is DiskSpd's: DiskSpd prints "Input parameters:" after its command line, and its
//   parameters, from "timespan:" on, after that. So "Input parameters:" starts a run when the next line
//   that is not empty begins, after blanks, with "timespan:", and "Command Line:" starts one when the
//   next line that is not empty is such an "Input parameters:" line (which then belongs to its run). Up
//   to kEmptyLinesLookedPast empty lines are looked past at each step. Any other such line (a batch file
//   echoing its command, a note in a SQLIO report) is an ordinary line of the run it sits in.
// A block runs up to the line that starts the next run, or the end. Lines before the first run are
// ignored; a line that holds one of these texts anywhere but at its start is an ordinary line. A line
// keeps its first maxLine bytes, and a block that has grown past maxBlock bytes takes no further lines
// (a real run is a few kilobytes), so a huge file cannot exhaust memory; such a block is handed over
// with what the bounds took from it (RunCut).
//
// The tests hold it to a plain line-by-line form of these rules (tests/reference), which it beats by not
// handling each line on its own: a stretch of ordinary lines that already end in CR LF is the block's
// text as it stands, and one of lines that end in LF or CR alone is copied with CR LF in place of each. A
// block that lies whole in one chunk, in CR LF lines, is handed over in place; any other is copied together.
// Feed it chunks of any size; a block handed over is valid only during the call.

// What the bounds took from a block's run.
enum class RunCut {
    None,
    Tail, // the lines past maxBlock: the block is the run's first lines, each of them whole
    Line, // the end of a line longer than maxLine (and perhaps the tail too)
};

class ReportBlockReader {
public:
    static constexpr int kEmptyLinesLookedPast = 8;
    // The bound on lines and blocks the program reads with.
    static constexpr size_t kBound = 16u << 20;
    using BlockHandler = std::function<void(std::string_view block, RunCut cut)>;
    explicit ReportBlockReader(BlockHandler onBlock, size_t maxLine = kBound, size_t maxBlock = kBound)
        : m_onBlock(std::move(onBlock)), m_maxLine(maxLine), m_maxBlock(maxBlock) {}

    void Feed(std::string_view text);
    // Delivers what is left: a last line without a terminator, and the last block.
    void Finish();

private:
    // One line, its terminator dropped; crlfFollows when the line stands whole in the chunk followed by CR
    // LF, shortened when it lost its end to maxLine.
    void Line(std::string_view line, bool crlfFollows, bool shortened);
    // Adds the line to the block, or starts a new block with it.
    void Take(std::string_view line, bool startsRun, bool crlfFollows, bool shortened);
    // Takes the held lines, the first as the start of a run or not.
    void Settle(bool startsRun);
    // Adds bytes of the chunk to the block: in place when they follow the block's bytes there.
    void Append(const char* data, size_t size);
    // Adds the lines of the chunk from p to stop, each ending in lineEnd (LF or CR) alone, with CR LF
    // after each.
    void AppendLines(const char* p, const char* stop, char lineEnd);
    // Copies a block held in place, before its chunk goes.
    void KeepBlock();
    void DeliverBlock();
    size_t BlockSize() const { return m_inChunk ? m_view.size() : m_block.size(); }
    // Adds part to the line that a chunk's end cut, up to maxLine bytes.
    void AppendToLine(std::string_view part);
    // Takes the line (or the start of a line) at p; returns where the next begins.
    const char* NextLine(const char* p, const char* end);

    BlockHandler m_onBlock;
    size_t m_maxLine;
    size_t m_maxBlock;
    std::string m_line; // the start of a line that a chunk's end cut
    bool m_hasLine = false;
    bool m_lineShortened = false;
    bool m_afterCR = false;
    std::string m_block;     // the block so far, when it is not held in place
    std::string_view m_view; // the block so far, in the chunk, when m_inChunk
    bool m_inChunk = false;
    RunCut m_blockCut = RunCut::None;
    bool m_started = false;
    // A line that starts a DiskSpd run only if DiskSpd's text follows it, and the lines after it, held
    // until a later line tells.
    enum class Held { Nothing, CommandLine, Parameters, CommandLineAndParameters };
    Held m_held = Held::Nothing;
    std::vector<std::pair<std::string, bool>> m_heldLines; // each line, and whether it was shortened
    int m_emptyLines = 0;                                  // held since the last line that is not empty
};
