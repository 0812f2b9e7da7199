#include "report/ReportFile.h"

#include "report/ReportBlocks.h"
#include "report/ReportText.h"

#include <vector>

ReportFile::~ReportFile() {
    Close();
}

bool ReportFile::Open(const std::string& path) {
    m_bytesRead = 0;
    return m_file.Open(path);
}

bool ReportFile::ReadBlockViews(const std::function<void(std::string_view block, RunCut cut)>& onBlock) {
    ReportBlockReader blocks(onBlock);
    ReportTextDecoder decoder;
    // A piece is read twice (cut into blocks, then each block parsed): 64 KiB stays in the processor's
    // cache between the two, where a megabyte went out to memory and back.
    std::vector<char> buffer(1u << 16);
    std::string text;
    bool ok = true;
    for (;;) {
        const std::ptrdiff_t got = m_file.Read(buffer.data(), buffer.size());
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        m_bytesRead += static_cast<unsigned long long>(got);
        blocks.Feed(decoder.Decode(std::string_view(buffer.data(), static_cast<size_t>(got)), text));
    }
    text.clear();
    decoder.Finish(text);
    blocks.Feed(text);
    blocks.Finish();
    return ok;
}

void ReportFile::Close() {
    m_file.Close();
}
