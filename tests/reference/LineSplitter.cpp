#include "tests/reference/LineSplitter.h"

void LineSplitter::Emit() {
    m_onLine(m_line, m_shortened);
    m_line.clear();
    m_hasLine = false;
    m_shortened = false;
}

void LineSplitter::Feed(std::string_view text) {
    for (const char c : text) {
        const bool lfOfCrLf = m_afterCR && c == '\n';
        m_afterCR = false;
        if (lfOfCrLf)
            continue;
        if (c == '\r' || c == '\n') {
            Emit();
            m_afterCR = c == '\r';
            continue;
        }
        m_hasLine = true;
        if (m_line.size() < m_maxLine)
            m_line.push_back(c);
        else
            m_shortened = true;
    }
}

void LineSplitter::Finish() {
    if (m_hasLine)
        Emit();
    m_afterCR = false;
}
