#pragma once

#include "disks/WmiSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The cluster size of a mounted filesystem, as statvfs gives it.
struct VolumeStats {
    std::uint64_t blockSize = 0; // the fundamental block (cluster) size in bytes
};
// Measures the filesystem mounted at a path; returns 0 or an errno value.
using VolumeStatsReader = std::function<int(const std::string& mountPoint, VolumeStats& stats)>;
int ReadVolumeStats(const std::string& mountPoint, VolumeStats& stats);

class LinuxBlockView;

struct LinuxSourceRoots {
    std::string sysRoot;          // "" for this machine, or a folder holding a recorded sys/ and proc/
    std::string devRoot = "/dev"; // where device nodes (or images standing for them) are probed
};

// The partition facts of the running kernel, answering the four WQL texts of a partition scan:
// a disk of /sys/block is a Win32_DiskDrive (model, "/dev/NAME", transport as InterfaceType), its
// serial number the one Win32_PhysicalMedia, each partition a Win32_DiskPartition (start x 512 as
// StartingOffset) and the mounted filesystem on a partition its Win32_LogicalDisk (mount point as
// Name, libblkid's type and label, the partition's size as lsblk shows it). A disk without a partition table
// whose whole device holds a filesystem shows as one partition starting at 0. RAM disks, zram and loop
// devices without a partition table are not disks.
class LinuxWmiSource : public WmiSource {
public:
    explicit LinuxWmiSource(LinuxSourceRoots roots = {}, VolumeStatsReader stats = ReadVolumeStats);
    ~LinuxWmiSource() override;

    WmiStatus InitSecurity() override { return 0; }
    void ReleaseSecurity() override {}
    WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) override;
    bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) override;

private:
    std::shared_ptr<LinuxBlockView> m_view;
};
