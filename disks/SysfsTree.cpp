#include "disks/SysfsTree.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int SysfsTree::Read(const std::string& relative, std::string& content, std::size_t limit) const {
    content.clear();
    const int fd = ::open(Path(relative).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat info {};
    // Only regular files: a fifo or a device node in a damaged tree must not block the scan.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return error;
    }
    char buffer[4096];
    int error = 0;
    while (content.size() < limit) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (count == 0)
            break;
        content.append(buffer, std::min(static_cast<std::size_t>(count), limit - content.size()));
    }
    ::close(fd);
    if (error != 0)
        content.clear();
    return error;
}

int SysfsTree::List(const std::string& relative, std::vector<std::string>& names) const {
    names.clear();
    DIR* dir = ::opendir(Path(relative).c_str());
    if (dir == nullptr)
        return errno;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return 0;
}

bool SysfsTree::Exists(const std::string& relative) const {
    struct stat info {};
    return ::stat(Path(relative).c_str(), &info) == 0;
}

std::string SysfsTree::Resolve(const std::string& relative) const {
    char resolved[PATH_MAX];
    if (::realpath(Path(relative).c_str(), resolved) == nullptr)
        return {};
    return resolved;
}
