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

void BlockCutter::Take(std::string_view line, bool startsRun, bool shortened) {
    if (startsRun) {
        m_started = true;
        if (!m_block.empty())
            m_onBlock(m_block, m_cut);
        m_block.clear();
        m_cut = RunCut::None;
    } else if (!m_started) {
        return;
    } else if (m_block.size() > m_maxBlock) {
        if (m_cut == RunCut::None)
            m_cut = RunCut::Tail;
        return;
    }
    if (shortened)
        m_cut = RunCut::Line;
    m_block.append(line);
    m_block.append("\r\n");
}

void BlockCutter::Settle(bool startsRun) {
    for (size_t i = 0; i < m_heldLines.size(); ++i)
        Take(m_heldLines[i].first, startsRun && i == 0, m_heldLines[i].second);
    m_heldLines.clear();
    m_held = Held::Nothing;
    m_emptyLines = 0;
}

void BlockCutter::Line(std::string_view line, bool shortened) {
    if (m_held != Held::Nothing) {
        if (line.empty() && m_emptyLines < kEmptyLinesLookedPast) {
            m_heldLines.emplace_back(std::string(), shortened);
            ++m_emptyLines;
            return;
        }
        if (m_held == Held::CommandLine && StartsWith(line, "Input parameters:")) {
            m_heldLines.emplace_back(line, shortened);
            m_held = Held::CommandLineAndParameters;
            m_emptyLines = 0;
            return;
        }
        Settle(m_held != Held::CommandLine && IsParameterLine(line));
    }
    if (StartsWith(line, "sqlio v")) {
        Take(line, true, shortened);
    } else if (StartsWith(line, "Command Line:") || StartsWith(line, "Input parameters:")) {
        m_held = line[0] == 'C' ? Held::CommandLine : Held::Parameters;
        m_heldLines.emplace_back(line, shortened);
    } else {
        Take(line, false, shortened);
    }
}

void BlockCutter::Finish() {
    Settle(false);
    if (!m_block.empty())
        m_onBlock(m_block, m_cut);
    m_block.clear();
    m_cut = RunCut::None;
    m_started = false;
}
