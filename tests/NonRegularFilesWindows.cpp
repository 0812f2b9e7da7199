#include "tests/NonRegularFiles.h"

bool MakeFifo(const QString&, std::string& why) {
    why = "Windows file systems hold no FIFOs";
    return false;
}

bool IsFifo(const QString&) {
    return false;
}

BoundSocket::~BoundSocket() = default;

bool BoundSocket::Bind(const std::string&, std::string& why) {
    why = "Windows file systems hold no Unix sockets";
    return false;
}

QStringList DevicePaths() {
    return {QStringLiteral("NUL")};
}

void FailIfStillWaitingAfter(unsigned) {}
