#include "tests/NonRegularFiles.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

bool MakeFifo(const QString& path, std::string& why) {
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        return true;
    why = std::strerror(errno);
    return false;
}

bool IsFifo(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

BoundSocket::~BoundSocket() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BoundSocket::Bind(const std::string& path, std::string& why) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        why = "path too long for a Unix socket";
        return false;
    }
    path.copy(address.sun_path, path.size());
    m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return true;
    why = std::strerror(errno);
    return false;
}

QStringList DevicePaths() {
    return {QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")};
}

void FailIfStillWaitingAfter(unsigned seconds) {
    ::alarm(seconds);
}
