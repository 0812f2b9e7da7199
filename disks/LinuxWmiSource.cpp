#include "disks/LinuxWmiSource.h"

#include "disks/FilesystemProbe.h"
#include "disks/MountInfo.h"
#include "disks/PropertyObject.h"
#include "disks/SafeText.h"
#include "disks/SysfsTree.h"
#include "disks/WmiStatus.h"
#include "disks/WqlText.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <map>
#include <optional>
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

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A device name as it may appear below /dev and in sysfs: no folders, nothing that climbs.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// "/dev/NAME" to NAME; empty when the identifier is not of that shape.
std::string NameOfDeviceId(const std::string& id) {
    if (!StartsWith(id, "/dev/"))
        return {};
    const std::string name = id.substr(5);
    return IsPlainName(name) ? name : std::string();
}

std::optional<std::uint64_t> ParseWhole(const std::string& text) {
    const std::string trimmed = CleanDeviceText(text);
    if (trimmed.empty() || trimmed.size() > 19 ||
        !std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoull(trimmed);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Orders "nvme2n1" before "nvme10n1": runs of digits compare as numbers.
bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i + 1 < a.size() && a[i] == '0' && IsDigit(a[i + 1]))
                ++i;
            while (j + 1 < b.size() && b[j] == '0' && IsDigit(b[j + 1]))
                ++j;
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j;
            const int order = a.compare(i, endA - i, b, j, endB - j);
            if (order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

struct PartitionRef {
    std::string disk;
    std::string name; // the disk's own name for a filesystem on the whole device
};

EnumeratedObject Found(PropertyObject object) {
    return EnumeratedObject{0, std::move(object)};
}

} // namespace

// Reads the kernel's view of the block devices, afresh for every query, so that a device that comes
// or goes during a scan is seen as it is at that moment.
class LinuxBlockView {
public:
    LinuxBlockView(LinuxSourceRoots roots, VolumeStatsReader stats)
        : m_sys(std::move(roots.sysRoot)), m_devRoot(std::move(roots.devRoot)), m_stats(std::move(stats)) {}

    WmiStatus CheckReadable() const {
        std::vector<std::string> names;
        const int error = m_sys.List("sys/block", names);
        return error == 0 ? 0 : StatusFromErrno(error);
    }

    WmiStatus ListPartitions(std::vector<PartitionRef>& partitions) {
        partitions.clear();
        std::vector<std::string> disks;
        if (const int error = m_sys.List("sys/block", disks))
            return StatusFromErrno(error);
        std::sort(disks.begin(), disks.end(), NaturalLess);
        const std::vector<MountEntry> mounts = ReadMounts();
        for (const std::string& disk : disks) {
            if (!CountsAsDisk(disk))
                continue;
            const std::vector<std::string> names = PartitionsOf(disk);
            if (!names.empty()) {
                for (const std::string& name : names)
                    partitions.push_back(PartitionRef{disk, name});
            } else if (!StartsWith(disk, "loop") && HoldsFilesystem(disk, mounts)) {
                partitions.push_back(PartitionRef{disk, disk});
            }
        }
        return 0;
    }

    PropertyObject PartitionObject(const PartitionRef& partition) const {
        PropertyObject object;
        object.Text("DeviceID", "/dev/" + partition.name);
        // The kernel keeps no partition status; null reads as "OK", as on a healthy Windows volume.
        object.Null("Status").Null("ErrorDescription");
        if (partition.name == partition.disk) {
            object.Text("StartingOffset", "0");
            return object;
        }
        std::string text;
        if (const int error =
                m_sys.Read("sys/block/" + partition.disk + "/" + partition.name + "/start", text)) {
            object.Failing("StartingOffset", StatusFromErrno(error));
            return object;
        }
        const std::optional<std::uint64_t> sectors = ParseWhole(text);
        // sysfs counts partition starts in 512-byte units, whatever the disk's sector size.
        if (!sectors || *sectors > std::numeric_limits<std::uint64_t>::max() / 512)
            object.Failing("StartingOffset", kWbemFailed);
        else
            object.Text("StartingOffset", std::to_string(*sectors * 512));
        return object;
    }

    WmiStatus DrivesOf(const std::string& partitionId, std::vector<EnumeratedObject>& drives) const {
        const std::string disk = DiskOf(NameOfDeviceId(partitionId));
        if (disk.empty())
            return kWbemNotFound;
        PropertyObject drive;
        drive.Text("DeviceID", "/dev/" + disk);
        SetText(drive, "Model", "sys/block/" + disk + "/device/model");
        const std::string transport = Transport(disk);
        if (transport.empty())
            drive.Null("InterfaceType");
        else
            drive.Text("InterfaceType", transport);
        drives.push_back(Found(std::move(drive)));
        return 0;
    }

    WmiStatus MediaOf(const std::string& driveId, std::vector<EnumeratedObject>& media) const {
        const std::string disk = NameOfDeviceId(driveId);
        if (disk.empty() || !m_sys.Exists("sys/block/" + disk))
            return kWbemNotFound;
        PropertyObject medium;
        medium.Text("Tag", driveId);
        int firstError = 0;
        for (const char* file : {"/serial", "/device/serial"}) {
            std::string text;
            const int error = m_sys.Read("sys/block/" + disk + file, text);
            if (error == 0 && !CleanDeviceText(text).empty()) {
                medium.Text("SerialNumber", CleanDeviceText(text));
                media.push_back(Found(std::move(medium)));
                return 0;
            }
            if (error != 0 && error != ENOENT && firstError == 0)
                firstError = error;
        }
        const std::string fromVpd = SerialFromVpdPage(disk);
        if (!fromVpd.empty())
            medium.Text("SerialNumber", fromVpd);
        else if (firstError != 0)
            medium.Failing("SerialNumber", StatusFromErrno(firstError));
        else
            medium.Null("SerialNumber");
        media.push_back(Found(std::move(medium)));
        return 0;
    }

    WmiStatus LogicalDisksOf(const std::string& partitionId, std::vector<EnumeratedObject>& logicalDisks) {
        const std::string name = NameOfDeviceId(partitionId);
        const std::string disk = DiskOf(name);
        if (disk.empty())
            return kWbemNotFound;
        const std::string folder = name == disk ? "sys/block/" + disk : "sys/block/" + disk + "/" + name;
        std::string mountText;
        if (const int error = m_sys.Read("proc/self/mountinfo", mountText, kMountInfoLimit))
            return StatusFromErrno(error);
        const std::vector<MountEntry> mounts = ParseMountInfo(mountText);
        bool covered = false;
        const MountEntry* mount = FindMount(mounts, folder, name, covered);
        if (mount == nullptr)
            return 0;

        PropertyObject logicalDisk;
        const std::string shownName = EscapeControlBytes(mount->mountPoint);
        // A path covered by a later mount leads to the filesystem on top: nothing is measured there, and an
        // NTFS volume's cluster size is read from its boot sector instead.
        m_mountPaths[shownName] = covered
                                      ? MountPath{std::nullopt, ReadNtfsClusterSize(m_devRoot + "/" + name)}
                                      : MountPath{mount->mountPoint, 0};
        logicalDisk.Text("Name", shownName);
        logicalDisk.Text("DeviceID", shownName);
        FilesystemFacts facts;
        const bool probed = ProbeFilesystem(m_devRoot + "/" + name, facts);
        logicalDisk.Text("FileSystem",
                         probed ? EscapeControlBytes(facts.type) : KernelFilesystemName(mount->fsType));
        const std::string label = probed && facts.hasLabel ? CleanDeviceText(facts.label) : std::string();
        if (label.empty())
            logicalDisk.Null("VolumeName");
        else
            logicalDisk.Text("VolumeName", label);
        SetVolumeSize(logicalDisk, folder);
        logicalDisks.push_back(Found(std::move(logicalDisk)));
        return 0;
    }

    bool Geometry(const std::string& rootPath, DiskGeometry& geometry) const {
        const auto known = m_mountPaths.find(rootPath);
        VolumeStats stats;
        if (known != m_mountPaths.end() && !known->second.path)
            stats.blockSize = known->second.bootSectorCluster;
        else if (m_stats(known != m_mountPaths.end() ? *known->second.path : rootPath, stats) != 0)
            return false;
        if (stats.blockSize == 0 || stats.blockSize > std::numeric_limits<std::uint32_t>::max())
            return false;
        const auto cluster = static_cast<std::uint32_t>(stats.blockSize);
        geometry = cluster % 512 == 0 ? DiskGeometry{cluster / 512, 512} : DiskGeometry{1, cluster};
        return true;
    }

private:
    // Size of the volume, as lsblk and Windows give it: the partition (or the whole device) the
    // filesystem fills, in the 512-byte units sysfs counts in whatever the sector size. statvfs would
    // leave out the filesystem's own overhead (a 2 GiB ext4 volume would show 1.9 GB), and it measures
    // whatever is mounted on top of a covered mount point.
    void SetVolumeSize(PropertyObject& logicalDisk, const std::string& folder) const {
        std::string text;
        if (const int error = m_sys.Read(folder + "/size", text)) {
            logicalDisk.Failing("Size", StatusFromErrno(error));
            return;
        }
        const std::optional<std::uint64_t> sectors = ParseWhole(text);
        if (!sectors || *sectors > std::numeric_limits<std::uint64_t>::max() / 512)
            logicalDisk.Failing("Size", kWbemFailed);
        else
            logicalDisk.Text("Size", std::to_string(*sectors * 512));
    }

    std::vector<MountEntry> ReadMounts() const {
        std::string text;
        m_sys.Read("proc/self/mountinfo", text, kMountInfoLimit);
        return ParseMountInfo(text);
    }

    bool CountsAsDisk(const std::string& disk) const {
        if (StartsWith(disk, "ram") || StartsWith(disk, "zram"))
            return false;
        std::string text;
        if (m_sys.Read("sys/block/" + disk + "/hidden", text) == 0 && CleanDeviceText(text) == "1")
            return false;
        // An empty drive (no medium, a detached loop device) has size 0.
        if (m_sys.Read("sys/block/" + disk + "/size", text) == 0) {
            const std::optional<std::uint64_t> size = ParseWhole(text);
            if (size && *size == 0)
                return false;
        }
        return true;
    }

    std::vector<std::string> PartitionsOf(const std::string& disk) const {
        std::vector<std::string> entries;
        m_sys.List("sys/block/" + disk, entries);
        std::vector<std::pair<std::uint64_t, std::string>> numbered;
        for (const std::string& entry : entries) {
            std::string number;
            if (m_sys.Read("sys/block/" + disk + "/" + entry + "/partition", number) != 0)
                continue;
            numbered.emplace_back(ParseWhole(number).value_or(std::numeric_limits<std::uint64_t>::max()),
                                  entry);
        }
        std::sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : NaturalLess(a.second, b.second);
        });
        std::vector<std::string> names;
        for (auto& [number, name] : numbered)
            names.push_back(std::move(name));
        return names;
    }

    bool HoldsFilesystem(const std::string& disk, const std::vector<MountEntry>& mounts) const {
        bool covered = false;
        if (FindMount(mounts, "sys/block/" + disk, disk, covered) != nullptr)
            return true;
        FilesystemFacts facts;
        return ProbeFilesystem(m_devRoot + "/" + disk, facts) && facts.isFilesystem;
    }

    // The disk a partition belongs to, the disk itself for a whole device, "" when gone.
    std::string DiskOf(const std::string& name) const {
        if (name.empty())
            return {};
        if (m_sys.Exists("sys/block/" + name))
            return name;
        std::vector<std::string> disks;
        m_sys.List("sys/block", disks);
        for (const std::string& disk : disks)
            if (m_sys.Exists("sys/block/" + disk + "/" + name + "/partition"))
                return disk;
        return {};
    }

    const MountEntry* FindMount(const std::vector<MountEntry>& mounts, const std::string& folder,
                                const std::string& name, bool& covered) const {
        unsigned major = 0;
        unsigned minor = 0;
        std::string dev;
        if (m_sys.Read(folder + "/dev", dev) == 0 && ParseDev(CleanDeviceText(dev), major, minor))
            return FindDeviceMount(mounts, major, minor, "/dev/" + name, covered);
        // Without the device numbers only the source path can tell.
        return FindDeviceMount(mounts, ~0u, ~0u, "/dev/" + name, covered);
    }

    static bool ParseDev(const std::string& text, unsigned& major, unsigned& minor) {
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos)
            return false;
        const std::optional<std::uint64_t> first = ParseWhole(text.substr(0, colon));
        const std::optional<std::uint64_t> second = ParseWhole(text.substr(colon + 1));
        if (!first || !second || *first > 0xFFFFFFFFu || *second > 0xFFFFFFFFu)
            return false;
        major = static_cast<unsigned>(*first);
        minor = static_cast<unsigned>(*second);
        return true;
    }

    // Sets a text property from a sysfs file: absent is null, unreadable a failing read.
    void SetText(PropertyObject& object, const std::string& property, const std::string& file) const {
        std::string text;
        const int error = m_sys.Read(file, text);
        if (error == ENOENT)
            object.Null(property);
        else if (error != 0)
            object.Failing(property, StatusFromErrno(error));
        else
            object.Text(property, CleanDeviceText(text));
    }

    // The unit serial number page of a SCSI or SATA disk: byte 1 is 0x80, bytes 2-3 the length.
    std::string SerialFromVpdPage(const std::string& disk) const {
        std::string page;
        if (m_sys.Read("sys/block/" + disk + "/device/vpd_pg80", page) != 0 || page.size() < 4 ||
            static_cast<unsigned char>(page[1]) != 0x80)
            return {};
        const std::size_t length = (static_cast<std::size_t>(static_cast<unsigned char>(page[2])) << 8) |
                                   static_cast<unsigned char>(page[3]);
        return CleanDeviceText(std::string_view(page).substr(4, length));
    }

    // How the disk is attached, in the words lsblk uses for its TRAN column.
    std::string Transport(const std::string& disk) const {
        if (StartsWith(disk, "nvme"))
            return "nvme";
        if (StartsWith(disk, "mmcblk"))
            return "mmc";
        const std::string path = m_sys.Resolve("sys/block/" + disk);
        const std::pair<const char*, const char*> patterns[] = {
            {"/usb", "usb"},   {"/ata", "sata"},  {"/end_device-", "sas"}, {"/session", "iscsi"},
            {"/rport-", "fc"}, {"/host", "scsi"}, {"/virtio", "virtio"},
        };
        for (const auto& [pattern, transport] : patterns)
            if (path.find(pattern) != std::string::npos)
                return transport;
        return {};
    }

    // The kernel's name of a filesystem as the scan expects it ("ntfs3" is NTFS).
    static std::string KernelFilesystemName(const std::string& fsType) {
        if (fsType == "ntfs3")
            return "ntfs";
        return EscapeControlBytes(fsType);
    }

    SysfsTree m_sys;
    std::string m_devRoot;
    VolumeStatsReader m_stats;
    // Mount points handed out as Name (escaped for display) and the paths they stand for; none for a
    // mount point covered by another mount, with the cluster size of an NTFS boot sector instead (0 when
    // there is none).
    struct MountPath {
        std::optional<std::string> path;
        std::uint32_t bootSectorCluster = 0;
    };
    std::map<std::string, MountPath> m_mountPaths;
};

namespace {

class LinuxPartitionEnumeration : public WmiEnumeration {
public:
    LinuxPartitionEnumeration(std::shared_ptr<LinuxBlockView> view, std::vector<PartitionRef> partitions)
        : m_view(std::move(view)), m_partitions(std::move(partitions)) {}

    WmiStatus Next(std::unique_ptr<WmiObject>& object, unsigned& returned) override {
        object.reset();
        if (m_next >= m_partitions.size()) {
            returned = 0;
            return 1;
        }
        // Read when asked for, so that the facts are those of this moment.
        object = std::make_unique<PropertyObject>(m_view->PartitionObject(m_partitions[m_next++]));
        returned = 1;
        return 0;
    }

private:
    std::shared_ptr<LinuxBlockView> m_view;
    std::vector<PartitionRef> m_partitions;
    std::size_t m_next = 0;
};

class LinuxServices : public WmiServices {
public:
    explicit LinuxServices(std::shared_ptr<LinuxBlockView> view) : m_view(std::move(view)) {}

    WmiStatus SetProxyBlanket() override { return 0; }

    WmiStatus ExecQuery(const std::string& wql, std::unique_ptr<WmiEnumeration>& result) override {
        const WqlRequest request = ParseWqlRequest(wql);
        std::vector<EnumeratedObject> objects;
        WmiStatus status = 0;
        switch (request.kind) {
        case WqlRequest::Kind::AllPartitions: {
            std::vector<PartitionRef> partitions;
            status = m_view->ListPartitions(partitions);
            if (!WmiFailed(status))
                result = std::make_unique<LinuxPartitionEnumeration>(m_view, std::move(partitions));
            return status;
        }
        case WqlRequest::Kind::DrivesOfPartition:
            status = m_view->DrivesOf(request.id, objects);
            break;
        case WqlRequest::Kind::MediaOfDrive:
            status = m_view->MediaOf(request.id, objects);
            break;
        case WqlRequest::Kind::LogicalDisksOfPartition:
            status = m_view->LogicalDisksOf(request.id, objects);
            break;
        case WqlRequest::Kind::Unknown:
            return kWbemInvalidQuery;
        }
        if (!WmiFailed(status))
            result = std::make_unique<ListEnumeration>(std::move(objects));
        return status;
    }

private:
    std::shared_ptr<LinuxBlockView> m_view;
};

class LinuxLocator : public WmiLocator {
public:
    explicit LinuxLocator(std::shared_ptr<LinuxBlockView> view) : m_view(std::move(view)) {}

    WmiStatus ConnectServer(const std::string& nameSpace, std::unique_ptr<WmiServices>& services) override {
        if (nameSpace != "ROOT\\CIMV2")
            return kWbemInvalidNamespace;
        if (const WmiStatus status = m_view->CheckReadable(); WmiFailed(status))
            return status;
        services = std::make_unique<LinuxServices>(m_view);
        return 0;
    }

private:
    std::shared_ptr<LinuxBlockView> m_view;
};

} // namespace

LinuxWmiSource::LinuxWmiSource(LinuxSourceRoots roots, VolumeStatsReader stats)
    : m_view(std::make_shared<LinuxBlockView>(std::move(roots), stats ? std::move(stats) : ReadVolumeStats)) {
}

LinuxWmiSource::~LinuxWmiSource() = default;

WmiStatus LinuxWmiSource::CreateLocator(std::unique_ptr<WmiLocator>& locator) {
    locator = std::make_unique<LinuxLocator>(m_view);
    return 0;
}

bool LinuxWmiSource::GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) {
    return m_view->Geometry(rootPath, geometry);
}
