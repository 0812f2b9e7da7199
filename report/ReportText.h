#pragma once

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
