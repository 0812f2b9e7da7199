#include "tests/reference/BlockCutter.h"

void BlockCutter::Line(std::string_view line) {
    bool startsRun = line.substr(0, 7) == "sqlio v";
    if (startsRun) {
        m_awaitingParameters = false;
    } else if (line.substr(0, 13) == "Command Line:") {
        startsRun = true;
        m_awaitingParameters = true;
    } else if (line.substr(0, 17) == "Input parameters:") {
        // DiskSpd prints its parameters after the command line; without one they open the run.
        startsRun = !m_awaitingParameters;
        m_awaitingParameters = false;
    }
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

void BlockCutter::Finish() {
    if (!m_block.empty())
        m_onBlock(m_block);
    m_block.clear();
    m_started = false;
    m_awaitingParameters = false;
}
