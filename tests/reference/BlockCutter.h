#pragma once

#include <functional>
#include <string>
#include <string_view>

// Builds test blocks from lines, each line followed by CR LF. A block is one run and starts at the
// line that begins its run:
// - a SQLIO run at a line that begins with "sqlio v";
// - a DiskSpd run at a line that begins with "Command Line:", or at one that begins with
//   "Input parameters:" when no command line was captured: the first "Input parameters:" line of a
//   block that began at "Command Line:" belongs to that run, any other starts a run.
// A block runs up to the line that starts the next run, or the end. Lines before the first run are
// ignored; a line that holds one of these texts anywhere but at its start is an ordinary line. A block
// that grows past maxBlock bytes takes no further lines (a real run is a few kilobytes), so a huge
// file without run headers cannot exhaust memory.
class BlockCutter {
public:
    using BlockHandler = std::function<void(const std::string&)>;
    explicit BlockCutter(BlockHandler onBlock, size_t maxBlock = 16u << 20)
        : m_onBlock(std::move(onBlock)), m_maxBlock(maxBlock) {}

    void Line(std::string_view line);
    void Finish();

private:
    BlockHandler m_onBlock;
    size_t m_maxBlock;
    std::string m_block;
    bool m_started = false;
    bool m_awaitingParameters =
        false; // the block began at "Command Line:" and has no "Input parameters:" yet
};
