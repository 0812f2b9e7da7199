#include "report/ReportFile.h"

#include "report/ReportBlocks.h"
#include "report/ReportText.h"

#include <algorithm>
#include <vector>

ReportFile::~ReportFile() {
    Close();
}

bool ReportFile::Open(const std::string& path) {
    m_bytesRead = 0;
    m_leftUnread = false;
    m_cancelled = false;
    return m_file.Open(path);
}

bool ReportFile::ReadBlockViews(const std::function<void(std::string_view block, RunCut cut)>& onBlock,
                                unsigned long long unsizedLimit) {
    ReportBlockReader blocks(onBlock);
    const bool ok = ReadText([&](std::string_view text) { blocks.Feed(text); }, unsizedLimit);
    if (!m_cancelled)
        blocks.Finish();
    return ok;
}

bool ReportFile::ReadText(const std::function<void(std::string_view)>& onText,
                          unsigned long long unsizedLimit) {
    ReportTextDecoder decoder;
    // A piece is read twice (cut into blocks, then each block parsed): 64 KiB stays in the processor's
    // cache between the two, where a megabyte went out to memory and back.
    std::vector<char> buffer(1u << 16);
    std::string text;
    // Not to its end: a file that grows faster than it is read, or a kernel file, may have none. Whole
    // buffers are read even at the bound, as kernel files refuse reads of odd sizes; a read that passes
    // the bound is what tells that more was there.
    const unsigned long long limit = Size() > 0 ? Size() : unsizedLimit;
    bool ok = true;
    for (;;) {
        const std::ptrdiff_t got = m_file.Read(buffer.data(), buffer.size());
        if (got < 0)
            ok = m_bytesRead >= limit; // past the bound, nothing more was wanted
        if (got <= 0)
            break;
        const auto size = static_cast<unsigned long long>(got);
        const unsigned long long wanted = std::min(size, limit - m_bytesRead);
        m_leftUnread = wanted < size;
        m_bytesRead += wanted;
        onText(decoder.Decode(std::string_view(buffer.data(), static_cast<size_t>(wanted)), text));
        if (m_leftUnread)
            break;
        if (m_progress && !m_progress(m_bytesRead, Size())) {
            m_cancelled = true;
            return true;
        }
    }
    text.clear();
    decoder.Finish(text);
    if (!text.empty())
        onText(text);
    return ok;
}

void ReportFile::Close() {
    m_file.Close();
}
