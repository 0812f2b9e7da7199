#pragma once

#include <functional>
#include <string>
#include <string_view>

// Turns the raw bytes of a report into 8-bit text: a UTF-8 byte order mark is skipped, and UTF-16
// (little- or big-endian, told apart by the byte order mark) is decoded to UTF-8, so that a report
// saved by PowerShell's redirection reads like any other. Without a byte order mark the bytes pass
// through unchanged. Feed it chunks of any size.
class ReportTextDecoder {
public:
    // Appends the decoded text of chunk to out.
    void Feed(std::string_view chunk, std::string& out);
    // The decoded text of chunk: chunk itself when its bytes pass through unchanged, else the text
    // decoded into scratch.
    std::string_view Decode(std::string_view chunk, std::string& scratch);
    // Flushes what a truncated file leaves (an odd byte, a lone surrogate) as replacement characters.
    void Finish(std::string& out);

private:
    enum class Mode { Detect, Bytes, Utf16LE, Utf16BE };
    void DecodeUnits(std::string& out);
    void AppendCodePoint(char32_t cp, std::string& out);

    Mode m_mode = Mode::Detect;
    std::string m_pending; // bytes not yet decoded (BOM detection, half a UTF-16 unit)
    char16_t m_highSurrogate = 0;
};

// Cuts text into lines: CR LF, LF and a lone CR each end a line, the terminator dropped. A line
// longer than maxLine bytes keeps its first maxLine bytes; the rest is dropped, so memory stays bounded.
class LineSplitter {
public:
    using LineHandler = std::function<void(std::string_view)>;
    explicit LineSplitter(LineHandler onLine, size_t maxLine = 16u << 20)
        : m_onLine(std::move(onLine)), m_maxLine(maxLine) {}

    void Feed(std::string_view text);
    // Delivers a last line that has no terminator.
    void Finish();

private:
    void Append(std::string_view part);
    // Delivers a line whose end is tail: joined to the part held from earlier chunks, if any.
    void Emit(std::string_view tail);

    LineHandler m_onLine;
    size_t m_maxLine;
    std::string m_line;
    bool m_afterCR = false;
    bool m_hasLine = false;
};

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
