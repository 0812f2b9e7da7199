#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of /proc/self/mountinfo, with the kernel's octal escapes (\040 for a blank) undone.
struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root; // the directory of the filesystem that is mounted ("/" for all of it)
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// Parses the text of a mountinfo file; lines that do not have the mountinfo shape are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Undoes the kernel's \NNN octal escapes; a backslash not followed by three octal digits stays.
std::string UnescapeMountField(std::string_view field);

// True when a mount listed after mounts[index] sits on its mount point or on a folder above it. The
// kernel lists mounts in the order they were made, so the filesystem of that entry can no longer be
// reached through its path: statvfs of the path would measure the one on top.
bool IsCovered(const std::vector<MountEntry>& mounts, std::size_t index);

// The mount of a block device: of its mounts that are not covered, the first that mounts the whole
// filesystem, else the first. When every mount of the device is covered, the first of them, and covered
// is set. Matched by device number, or by source path for filesystems (btrfs) that report their own
// device numbers. Null when the device is not mounted.
const MountEntry* FindDeviceMount(const std::vector<MountEntry>& mounts, unsigned major, unsigned minor,
                                  const std::string& devicePath, bool& covered);
