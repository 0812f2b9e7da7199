#include "report/ReportFile.h"

#include "report/ReportText.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens path for reading without ever waiting: a FIFO with no writer would block open() itself, and a
// device such as /dev/zero never ends, so only a regular file is kept. Returns the descriptor, in
// blocking mode again, or -1 with error set (kNotRegularFile for a FIFO, socket or device).
int OpenRegularFileForReading(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0) {
        error = errno;
        // A socket cannot be opened at all ("No such device or address"): name what it is instead.
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            error = ReportFile::kNotRegularFile;
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        error = ReportFile::kNotRegularFile;
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
            return fd;
        error = errno;
    }
    ::close(fd);
    return -1;
}

} // namespace

ReportFile::~ReportFile() {
    Close();
}

bool ReportFile::Open(const std::string& path) {
    Close();
    m_error = 0;
    m_bytesRead = 0;
    m_size = 0;
    const int fd = OpenRegularFileForReading(path, m_error);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        m_size = static_cast<unsigned long long>(info.st_size);
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
        m_bytesRead += got;
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
    if (m_error == kNotRegularFile)
        return "not a regular file";
    return std::generic_category().message(m_error);
}
