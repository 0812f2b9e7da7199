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
    return std::generic_category().message(error);
}
