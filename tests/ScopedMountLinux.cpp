#include "tests/ScopedMount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

bool Refused(std::string& reason) {
    reason = std::strerror(errno);
    return false;
}

} // namespace

ScopedMount::~ScopedMount() {
    if (!m_target.empty())
        ::umount2(m_target.c_str(), MNT_DETACH);
}

bool ScopedMount::ReadOnlyBind(const QString& source, const QString& target, std::string& reason) {
    const std::string from = QFile::encodeName(source).toStdString();
    const std::string to = QFile::encodeName(target).toStdString();
    if (::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return Refused(reason);
    m_target = to;
    if (::mount("none", to.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        return Refused(reason);
    return true;
}

bool ScopedMount::Tmpfs(const QString& target, const char* options, std::string& reason) {
    const std::string to = QFile::encodeName(target).toStdString();
    if (::mount("tmpfs", to.c_str(), "tmpfs", 0, options) != 0)
        return Refused(reason);
    m_target = to;
    return true;
}
