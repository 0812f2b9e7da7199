#include "tests/ScopedMount.h"

namespace {

const char* const kNoMounts = "Windows has no bind or tmpfs mounts";

} // namespace

ScopedMount::~ScopedMount() = default;

bool ScopedMount::ReadOnlyBind(const QString&, const QString&, std::string& reason) {
    reason = kNoMounts;
    return false;
}

bool ScopedMount::Tmpfs(const QString&, const char*, std::string& reason) {
    reason = kNoMounts;
    return false;
}
