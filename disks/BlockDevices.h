#pragma once

#include "disks/SysfsTree.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A block device the partition scan can name: a partition of a disk, or a whole disk (name == disk).
struct BlockDevice {
    std::string disk;
    std::string name;
    bool IsWholeDisk() const { return name == disk; }
};

// A disk of /sys/block with its partitions, ordered by partition number.
struct DiskEntry {
    std::string disk;
    std::vector<std::string> partitions;
};

// The devices listed at one moment by their node's path ("/dev/NAME"): every disk as a whole and every
// partition. Asked for a path, it answers only with what was listed, so nothing else in a path ever
// reaches the kernel's files.
class BlockDeviceIndex {
public:
    void Fill(const std::vector<DiskEntry>& disks);
    bool Filled() const { return m_filled; }
    const BlockDevice* Find(const std::string& path) const;

private:
    bool m_filled = false;
    std::map<std::string, BlockDevice> m_devices;
};

// A count of bytes read from a sysfs file: error is the errno of a failed read; without one, bytes is
// empty when the file does not hold a whole decimal number that fits.
struct ByteCount {
    int error = 0;
    std::optional<std::uint64_t> bytes;
};

// The block devices of the running kernel, or of a recorded tree, as sysfs shows them. Every call
// reads afresh, so that a device that comes or goes is seen as it is at that moment.
class BlockDevices {
public:
    explicit BlockDevices(SysfsTree sys) : m_sys(std::move(sys)) {}

    const SysfsTree& Tree() const { return m_sys; }

    // 0 when /sys/block can be listed, else the errno of listing it.
    int CheckReadable() const;
    // Every disk with its partitions, "nvme2n1" before "nvme10n1"; 0 or the errno of listing /sys/block.
    int List(std::vector<DiskEntry>& disks) const;
    // The devices a scan shows as partitions: those of every disk, or the whole disk when it has none
    // and holds a filesystem. RAM disks, zram, hidden devices and drives without a medium are not disks;
    // loop devices count only with a partition table, as a bare one is most often a mounted image file
    // (a snap package, say).
    std::vector<BlockDevice>
    ShownPartitions(const std::vector<DiskEntry>& disks,
                    const std::function<bool(const std::string& disk)>& holdsFilesystem) const;
    // Whether the device is still there.
    bool Exists(const BlockDevice& device) const;

    // Where a partition starts and how big a device is. sysfs counts both in 512-byte units, whatever
    // the disk's sector size.
    ByteCount Start(const BlockDevice& partition) const;
    ByteCount Size(const BlockDevice& device) const;
    // The device numbers (major:minor); false when sysfs does not give them.
    bool Numbers(const BlockDevice& device, unsigned& major, unsigned& minor) const;

private:
    std::string Folder(const BlockDevice& device) const;
    bool CountsAsDisk(const std::string& disk) const;
    std::vector<std::string> PartitionsOf(const std::string& disk) const;
    ByteCount ReadSectors(const std::string& file) const;

    SysfsTree m_sys;
};
