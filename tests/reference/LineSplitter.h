#pragma once

#include <functional>
#include <string>
#include <string_view>

// Cuts text into lines one byte at a time: CR LF, LF and a lone CR each end a line, the terminator
// dropped. A line longer than maxLine bytes keeps its first maxLine bytes and is handed over as
// shortened. The plain form of what the
// block reader does in stretches; the tests and the fuzzer hold the reader to it.
class LineSplitter {
public:
    using LineHandler = std::function<void(std::string_view line, bool shortened)>;
    explicit LineSplitter(LineHandler onLine, size_t maxLine = 16u << 20)
        : m_onLine(std::move(onLine)), m_maxLine(maxLine) {}

    void Feed(std::string_view text);
    // Delivers a last line that has no terminator.
    void Finish();

private:
    void Emit();

    LineHandler m_onLine;
    size_t m_maxLine;
    std::string m_line;
    bool m_hasLine = false; // bytes of a line have come since the last line end
    bool m_shortened = false;
    bool m_afterCR = false; // an LF next is the second half of a CR LF
};
