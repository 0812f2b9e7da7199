#pragma once

#include <functional>
#include <string>
#include <string_view>

// Cuts the decoded text of a report into test blocks exactly as LineSplitter feeding BlockCutter does
// (the same lines, run starts, CR LF after each line, and the same bounds on lines and blocks), but
// without handling each line on its own: a stretch of ordinary lines that already end in CR LF is the
// block's text as it stands, and one of lines that end in LF alone is copied with a CR before each LF. A
// block that lies whole in one chunk, in CR LF lines, is handed over in place; any other is copied together.
// Feed it chunks of any size; a block handed over is valid only during the call.
class ReportBlockReader {
public:
    using BlockHandler = std::function<void(std::string_view)>;
    explicit ReportBlockReader(BlockHandler onBlock, size_t maxLine = 16u << 20, size_t maxBlock = 16u << 20)
        : m_onBlock(std::move(onBlock)), m_maxLine(maxLine), m_maxBlock(maxBlock) {}

    void Feed(std::string_view text);
    // Delivers what is left: a last line without a terminator, and the last block.
    void Finish();

private:
    // One whole line, its terminator dropped, as BlockCutter::Line takes it; crlfFollows when the line
    // stands whole in the chunk followed by CR LF.
    void Line(std::string_view line, bool crlfFollows);
    // Adds bytes of the chunk to the block: in place when they follow the block's bytes there.
    void Append(const char* data, size_t size);
    // Adds the lines of the chunk from p to stop, each ending in LF alone, with CR LF after each.
    void AppendLfLines(const char* p, const char* stop);
    // Copies a block held in place, before its chunk goes.
    void KeepBlock();
    void DeliverBlock();
    size_t BlockSize() const { return m_inChunk ? m_view.size() : m_block.size(); }
    // Takes the line (or the start of a line) at p; returns where the next begins.
    const char* NextLine(const char* p, const char* end);

    BlockHandler m_onBlock;
    size_t m_maxLine;
    size_t m_maxBlock;
    std::string m_line; // the start of a line that a chunk's end cut
    bool m_hasLine = false;
    bool m_afterCR = false;
    std::string m_block;     // the block so far, when it is not held in place
    std::string_view m_view; // the block so far, in the chunk, when m_inChunk
    bool m_inChunk = false;
    bool m_started = false;
    bool m_awaitingParameters = false;
};
