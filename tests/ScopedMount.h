#pragma once

#include <QString>
#include <string>

// A mount made for one test and taken away after it: a read-only folder or a nearly full disk, real
// to the program under test. Linux only; elsewhere every mount is refused with the reason.
class ScopedMount {
public:
    ScopedMount() = default;
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    ~ScopedMount();
    // source bound read-only at target; false with the system's reason when the system refuses.
    bool ReadOnlyBind(const QString& source, const QString& target, std::string& reason);
    bool Tmpfs(const QString& target, const char* options, std::string& reason);

private:
    std::string m_target;
};
