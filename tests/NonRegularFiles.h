#pragma once

#include <QString>
#include <QStringList>
#include <string>

// Files that are not regular files, made for a test: a FIFO and a listening socket on Linux, and the
// system's devices. On Windows the makers say why they cannot, and the test skips with that reason.

bool MakeFifo(const QString& path, std::string& why);
bool IsFifo(const QString& path);

// A Unix socket bound at a path, closed when it goes.
class BoundSocket {
public:
    BoundSocket() = default;
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;
    ~BoundSocket();
    bool Bind(const std::string& path, std::string& why);

private:
    int m_fd = -1;
};

// Devices that open but are no report: one that never ends and one that is always empty on Linux
// (/dev/zero, /dev/null), the null device on Windows (NUL).
QStringList DevicePaths();

// A call that waits for ever ends the test program after seconds instead of stalling the run; 0
// takes the limit away. Where there are no alarms (Windows), CTest's time-out does it.
void FailIfStillWaitingAfter(unsigned seconds);
