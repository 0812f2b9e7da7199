#pragma once

#include <cstdint>
#include <string>

// What libblkid finds on a device: a filesystem's type and label.
struct FilesystemFacts {
    std::string type;  // "ext4", "vfat", "ntfs"...
    std::string label; // as libblkid gives it: UTF-8 where the filesystem says how it is encoded
    bool hasLabel = false;
    bool isFilesystem = false; // false for swap, RAID members, encrypted containers and the like
};

// Probes a device node or an image file. False when it cannot be opened or holds no known superblock.
bool ProbeFilesystem(const std::string& path, FilesystemFacts& facts);

// The cluster size an NTFS boot sector gives (bytes per sector x sectors per cluster), read from the
// device itself; 0 when it cannot be read or holds no NTFS boot sector. For a volume whose mount point
// is covered by another mount, where statvfs would measure the filesystem on top.
std::uint32_t ReadNtfsClusterSize(const std::string& path);
