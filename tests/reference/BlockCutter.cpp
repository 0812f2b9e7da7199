#include "tests/reference/BlockCutter.h"

namespace {

bool StartsWith(std::string_view line, std::string_view text) {
    return line.substr(0, text.size()) == text;
}

bool IsParameterLine(std::string_view line) {
    size_t blanks = 0;
    while (blanks < line.size() && (line[blanks] == ' ' || line[blanks] == '\t'))
        ++blanks;
    return StartsWith(line.substr(blanks), "timespan:");
}

} // namespace

void BlockCutter::Take(std::string_view line, bool startsRun) {
    if (startsRun) {
        m_started = true;
        if (!m_block.empty())
            m_onBlock(m_block);
        m_block.clear();
    } else if (!m_started || m_block.size() > m_maxBlock) {
        return;
    }
    m_block.append(line);
    m_block.append("\r\n");
}

void BlockCutter::Settle(bool startsRun) {
    for (size_t i = 0; i < m_heldLines.size(); ++i)
        Take(m_heldLines[i], startsRun && i == 0);
    m_heldLines.clear();
    m_held = Held::Nothing;
    m_emptyLines = 0;
}

void BlockCutter::Line(std::string_view line) {
    if (m_held != Held::Nothing) {
        if (line.empty() && m_emptyLines < kEmptyLinesLookedPast) {
            m_heldLines.emplace_back();
            ++m_emptyLines;
            return;
        }
        if (m_held == Held::CommandLine && StartsWith(line, "Input parameters:")) {
            m_heldLines.emplace_back(line);
            m_held = Held::CommandLineAndParameters;
            m_emptyLines = 0;
            return;
        }
        Settle(m_held != Held::CommandLine && IsParameterLine(line));
    }
    if (StartsWith(line, "sqlio v")) {
        Take(line, true);
    } else if (StartsWith(line, "Command Line:") || StartsWith(line, "Input parameters:")) {
        m_held = line[0] == 'C' ? Held::CommandLine : Held::Parameters;
        m_heldLines.emplace_back(line);
    } else {
        Take(line, false);
    }
}

void BlockCutter::Finish() {
    Settle(false);
    if (!m_block.empty())
        m_onBlock(m_block);
    m_block.clear();
    m_started = false;
}
