#include "platform/SequentialFile.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SequentialFile::~SequentialFile() {
    Close();
}

bool SequentialFile::Open(const std::string& path) {
    Close();
    m_error = 0;
    m_size = 0;
    // Non-blocking, so that a FIFO without a writer cannot hold the open itself; a FIFO, socket or
    // device (which may never end) is refused before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0) {
        m_error = errno;
        // A socket cannot be opened at all ("No such device or address"): name what it is instead.
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            m_error = kNotRegularFile;
        return false;
    }
    if (::fstat(fd, &info) != 0)
        m_error = errno;
    else if (S_ISDIR(info.st_mode))
        m_error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        m_error = kNotRegularFile;
    else if (const int flags = ::fcntl(fd, F_GETFL);
             flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        m_error = errno;
    if (m_error != 0) {
        ::close(fd);
        return false;
    }
    m_size = info.st_size > 0 ? static_cast<unsigned long long>(info.st_size) : 0;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_handle = fd;
    return true;
}

std::ptrdiff_t SequentialFile::Read(char* buffer, std::size_t size) {
    if (!IsOpen()) {
        m_error = EBADF;
        return -1;
    }
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(m_handle), buffer, size);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            m_error = errno;
            return -1;
        }
    }
}

void SequentialFile::Close() {
    if (IsOpen())
        ::close(static_cast<int>(m_handle));
    m_handle = kNoHandle;
}

std::string SequentialFile::ErrorText(int error) {
    if (error == kNotRegularFile)
        return kNotRegularFileText;
    return std::generic_category().message(error);
}
