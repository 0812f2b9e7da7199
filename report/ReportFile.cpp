#include "report/ReportFile.h"

#include "report/ReportText.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReportFile::~ReportFile() {
    Close();
}

bool ReportFile::Open(const std::string& path) {
    Close();
    m_error = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return false;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_file = ::fdopen(fd, "rb");
    if (m_file == nullptr) {
        m_error = errno;
        ::close(fd);
        return false;
    }
    return true;
}

bool ReportFile::ReadBlocks(const std::function<void(const std::string&)>& onBlock) {
    if (m_file == nullptr) {
        m_error = EBADF;
        return false;
    }
    BlockCutter cutter(onBlock);
    LineSplitter splitter([&cutter](std::string_view line) { cutter.Line(line); });
    ReportTextDecoder decoder;
    std::vector<char> buffer(1u << 20);
    std::string text;
    bool ok = true;
    for (;;) {
        const size_t got = std::fread(buffer.data(), 1, buffer.size(), m_file);
        splitter.Feed(decoder.Decode(std::string_view(buffer.data(), got), text));
        if (got < buffer.size()) {
            if (std::ferror(m_file)) {
                m_error = errno != 0 ? errno : EIO;
                ok = false;
            }
            break;
        }
    }
    text.clear();
    decoder.Finish(text);
    splitter.Feed(text);
    splitter.Finish();
    cutter.Finish();
    return ok;
}

void ReportFile::Close() {
    if (m_file != nullptr)
        std::fclose(m_file);
    m_file = nullptr;
}

std::string ReportFile::ErrorText() const {
    return std::generic_category().message(m_error);
}
