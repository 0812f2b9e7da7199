#include "disks/VolumeFacts.h"

#include "disks/FilesystemProbe.h"
#include "disks/SafeText.h"

#include <cerrno>
#include <sys/statvfs.h>

int ReadVolumeStats(const std::string& mountPoint, VolumeStats& stats) {
    struct statvfs info {};
    if (::statvfs(mountPoint.c_str(), &info) != 0)
        return errno;
    stats.blockSize = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    return 0;
}

namespace {

constexpr std::size_t kMountInfoLimit = 16 * 1024 * 1024;

// The kernel's name of a filesystem as the scan expects it ("ntfs3" is NTFS).
std::string KernelFilesystemName(const std::string& fsType) {
    if (fsType == "ntfs3")
        return "ntfs";
    return EscapeControlBytes(fsType);
}

} // namespace

int VolumeFacts::ReadMounts(std::vector<MountEntry>& mounts) const {
    std::string text;
    if (const int error = m_devices.Tree().Read("proc/self/mountinfo", text, kMountInfoLimit))
        return error;
    mounts = ParseMountInfo(text);
    return 0;
}

std::optional<MountedVolume> VolumeFacts::Find(const std::vector<MountEntry>& mounts,
                                               const BlockDevice& device) const {
    MountedVolume volume;
    const MountEntry* mount = MountOf(mounts, device, volume.covered);
    if (mount == nullptr)
        return std::nullopt;
    volume.mountPoint = mount->mountPoint;
    FilesystemFacts facts;
    const bool probed = ProbeFilesystem(NodeOf(device), facts);
    volume.fileSystem = probed ? EscapeControlBytes(facts.type) : KernelFilesystemName(mount->fsType);
    if (probed && facts.hasLabel)
        volume.label = CleanDeviceText(facts.label);
    return volume;
}

bool VolumeFacts::HoldsFilesystem(const std::vector<MountEntry>& mounts, const std::string& disk) const {
    const BlockDevice device{disk, disk};
    bool covered = false;
    if (MountOf(mounts, device, covered) != nullptr)
        return true;
    FilesystemFacts facts;
    return ProbeFilesystem(NodeOf(device), facts) && facts.isFilesystem;
}

void VolumeFacts::Remember(const std::string& shownName, const MountedVolume& volume,
                           const BlockDevice& device) {
    m_shown[shownName] = volume.covered ? MountPath{std::nullopt, ReadNtfsClusterSize(NodeOf(device))}
                                        : MountPath{volume.mountPoint, 0};
}

std::optional<std::uint64_t> VolumeFacts::ClusterSize(const std::string& rootPath) const {
    const auto shown = m_shown.find(rootPath);
    if (shown != m_shown.end() && !shown->second.path)
        return shown->second.bootSectorCluster;
    VolumeStats stats;
    if (m_stats(shown != m_shown.end() ? *shown->second.path : rootPath, stats) != 0)
        return std::nullopt;
    return stats.blockSize;
}

const MountEntry* VolumeFacts::MountOf(const std::vector<MountEntry>& mounts, const BlockDevice& device,
                                       bool& covered) const {
    unsigned major = 0;
    unsigned minor = 0;
    // Without the device numbers only the source path can tell.
    if (!m_devices.Numbers(device, major, minor))
        major = minor = ~0u;
    return FindDeviceMount(mounts, major, minor, "/dev/" + device.name, covered);
}
