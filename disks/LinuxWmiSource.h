#pragma once

#include "disks/VolumeFacts.h"
#include "disks/WmiSource.h"

#include <memory>
#include <string>

struct LinuxKernelFacts;

struct LinuxSourceRoots {
    std::string sysRoot;          // "" for this machine, or a folder holding a recorded sys/ and proc/
    std::string devRoot = "/dev"; // where device nodes (or images standing for them) are probed
};

// The partition facts of the running kernel, answering the requests of a partition scan: a disk of
// /sys/block is a Win32_DiskDrive (model, "/dev/NAME", transport as InterfaceType), its serial number
// the one Win32_PhysicalMedia, each partition a Win32_DiskPartition (start x 512 as StartingOffset)
// and the mounted filesystem on a partition its Win32_LogicalDisk (mount point as Name, libblkid's type
// and label, the partition's size as lsblk shows it). A disk without a partition table whose whole
// device holds a filesystem shows as one partition starting at 0. RAM disks, zram and loop devices
// without a partition table are not disks.
class LinuxWmiSource : public WmiSource {
public:
    explicit LinuxWmiSource(LinuxSourceRoots roots = {}, VolumeStatsReader stats = ReadVolumeStats);
    ~LinuxWmiSource() override;

    WmiStatus InitSecurity() override { return 0; }
    void ReleaseSecurity() override {}
    WmiStatus CreateLocator(std::unique_ptr<WmiLocator>& locator) override;
    bool GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) override;

private:
    std::shared_ptr<LinuxKernelFacts> m_facts;
};
