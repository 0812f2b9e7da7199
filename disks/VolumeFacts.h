#pragma once

#include "disks/BlockDevices.h"
#include "disks/MountInfo.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The cluster size of a mounted filesystem, as statvfs gives it.
struct VolumeStats {
    std::uint64_t blockSize = 0; // the fundamental block (cluster) size in bytes
};
// Measures the filesystem mounted at a path; returns 0 or an errno value.
using VolumeStatsReader = std::function<int(const std::string& mountPoint, VolumeStats& stats)>;
int ReadVolumeStats(const std::string& mountPoint, VolumeStats& stats);

// A filesystem mounted from a block device.
struct MountedVolume {
    std::string mountPoint; // as the kernel gives it, escapes undone
    bool covered = false;   // a later mount sits on the mount point or above it: see IsCovered
    std::string fileSystem; // libblkid's type, else the kernel's; control bytes escaped
    std::string label;      // cleaned for a cell; "" when the filesystem has none
};

// The mounted filesystems of the devices: the mount table, what libblkid finds on a device, and the
// cluster sizes of the volumes a scan has shown.
class VolumeFacts {
public:
    // Device nodes (or images standing for them) are probed below devRoot.
    VolumeFacts(const BlockDevices& devices, std::string devRoot, VolumeStatsReader stats)
        : m_devices(devices), m_devRoot(std::move(devRoot)), m_stats(std::move(stats)) {}

    // The mount table of this moment; 0 or an errno value.
    int ReadMounts(std::vector<MountEntry>& mounts) const;
    // The filesystem mounted from the device; none when it is not mounted.
    std::optional<MountedVolume> Find(const std::vector<MountEntry>& mounts, const BlockDevice& device) const;
    // Whether a disk without partitions holds a filesystem on the whole device: mounted, or one libblkid
    // knows (swap, RAID members and encrypted containers are not filesystems).
    bool HoldsFilesystem(const std::vector<MountEntry>& mounts, const std::string& disk) const;

    // Remembers the volume shown under a name, for ClusterSize. A covered mount point leads to the
    // filesystem on top: such a volume is never measured through it; an NTFS volume's cluster size is
    // read from its boot sector instead, now.
    void Remember(const std::string& shownName, const MountedVolume& volume, const BlockDevice& device);
    // The cluster size in bytes of a volume shown under a name, or of a path that was never shown;
    // none when it cannot be had.
    std::optional<std::uint64_t> ClusterSize(const std::string& rootPath) const;

private:
    const MountEntry* MountOf(const std::vector<MountEntry>& mounts, const BlockDevice& device,
                              bool& covered) const;
    std::string NodeOf(const BlockDevice& device) const { return m_devRoot + "/" + device.name; }

    const BlockDevices& m_devices;
    std::string m_devRoot;
    VolumeStatsReader m_stats;
    // The path a shown name stands for (the name has its control bytes escaped); none for a covered
    // mount point, with the cluster size of its NTFS boot sector instead (0 when there is none).
    struct MountPath {
        std::optional<std::string> path;
        std::uint32_t bootSectorCluster = 0;
    };
    std::map<std::string, MountPath> m_shown;
};
