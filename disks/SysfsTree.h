#pragma once

#include <string>
#include <vector>

// Files of the kernel's sysfs and procfs below a root: "" for this machine, or a recorded tree
// (root/sys/..., root/proc/self/mountinfo) for tests. Reads return 0 or an errno value.
class SysfsTree {
public:
    explicit SysfsTree(std::string root = {}) : m_root(std::move(root)) {}

    // Path of a file below the root: Path("sys/block") is "<root>/sys/block".
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }
    // Reads a whole file, up to limit bytes; only regular files are read.
    int Read(const std::string& relative, std::string& content, std::size_t limit = 64 * 1024) const;
    // Names in a folder, sorted.
    int List(const std::string& relative, std::vector<std::string>& names) const;
    bool Exists(const std::string& relative) const;
    // The path with every link resolved, or "" when it does not exist.
    std::string Resolve(const std::string& relative) const;

private:
    std::string m_root;
};
