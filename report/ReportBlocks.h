#pragma once

#include <functional>
#include <string>
#include <string_view>

// Cuts the decoded text of a report into test blocks exactly as LineSplitter feeding BlockCutter does
// (the same lines, run starts, CR LF after each line, and the same bounds on lines and blocks), but
// without handling each line on its own: a stretch of ordinary lines that already end in CR LF is the
// block's text as it stands, so it is copied in one piece. Feed it chunks of any size.
class ReportBlockReader {
public:
    using BlockHandler = std::function<void(const std::string&)>;
    explicit ReportBlockReader(BlockHandler onBlock, size_t maxLine = 16u << 20, size_t maxBlock = 16u << 20)
        : m_onBlock(std::move(onBlock)), m_maxLine(maxLine), m_maxBlock(maxBlock) {}

    void Feed(std::string_view text);
    // Delivers what is left: a last line without a terminator, and the last block.
    void Finish();

private:
    // One whole line, its terminator dropped, as BlockCutter::Line takes it.
    void Line(std::string_view line);
    // Takes the line (or the start of a line) at p; returns where the next begins.
    const char* NextLine(const char* p, const char* end);

    BlockHandler m_onBlock;
    size_t m_maxLine;
    size_t m_maxBlock;
    std::string m_line; // the start of a line that a chunk's end cut
    bool m_hasLine = false;
    bool m_afterCR = false;
    std::string m_block;
    bool m_started = false;
    bool m_awaitingParameters = false;
};
