// The kernel's facts (BlockDevices, DriveFacts, VolumeFacts) mapped onto the WMI classes a partition
// scan asks for.
#include "disks/LinuxWmiSource.h"

#include "disks/DriveFacts.h"
#include "disks/PropertyObject.h"
#include "disks/SafeText.h"
#include "disks/WmiStatus.h"

#include <limits>

// What every connection of a source reads through. The volumes a scan showed are remembered here: the
// scan measures them through the source, not through its connection.
struct LinuxKernelFacts {
    LinuxKernelFacts(LinuxSourceRoots roots, VolumeStatsReader stats)
        : devices(SysfsTree(std::move(roots.sysRoot))),
          volumes(devices, std::move(roots.devRoot), std::move(stats)) {}

    BlockDevices devices;
    VolumeFacts volumes;
};

namespace {

// A fact that could not be read fails the property's read, so the scan leaves its cell empty rather
// than show something wrong; a fact the kernel does not have is null, as WMI gives it.
void SetText(PropertyObject& object, const std::string& property, const DriveText& fact) {
    if (fact.text)
        object.Text(property, *fact.text);
    else if (fact.error != 0)
        object.Failing(property, StatusFromErrno(fact.error));
    else
        object.Null(property);
}

void SetBytes(PropertyObject& object, const std::string& property, const ByteCount& count) {
    if (count.error != 0)
        object.Failing(property, StatusFromErrno(count.error));
    else if (!count.bytes)
        object.Failing(property, kWbemFailed);
    else
        object.Text(property, std::to_string(*count.bytes));
}

PropertyObject PartitionObject(const BlockDevices& devices, const BlockDevice& partition) {
    PropertyObject object;
    object.Text("DeviceID", "/dev/" + partition.name);
    // The kernel keeps no partition status; null reads as "OK", as on a healthy Windows volume.
    object.Null("Status").Null("ErrorDescription");
    if (partition.IsWholeDisk())
        object.Text("StartingOffset", "0");
    else
        SetBytes(object, "StartingOffset", devices.Start(partition));
    return object;
}

PropertyObject DriveObject(const SysfsTree& sys, const std::string& disk) {
    PropertyObject drive;
    drive.Text("DeviceID", "/dev/" + disk);
    SetText(drive, "Model", DriveModel(sys, disk));
    const std::string transport = DriveTransport(sys, disk);
    if (transport.empty())
        drive.Null("InterfaceType");
    else
        drive.Text("InterfaceType", transport);
    return drive;
}

PropertyObject MediumObject(const SysfsTree& sys, const std::string& driveId, const std::string& disk) {
    PropertyObject medium;
    medium.Text("Tag", driveId);
    SetText(medium, "SerialNumber", DriveSerial(sys, disk));
    return medium;
}

// Logical disks of a partition: the mounted filesystem on it, or none. The volume's size is that of
// the partition (or whole device) it fills, as lsblk and Windows give it: statvfs would leave out the
// filesystem's own overhead, and would measure whatever is mounted on top of a covered mount point.
WmiStatus LogicalDisksOf(LinuxKernelFacts& facts, const BlockDevice& device,
                         std::vector<EnumeratedObject>& found) {
    std::vector<MountEntry> mounts;
    if (const int error = facts.volumes.ReadMounts(mounts))
        return StatusFromErrno(error);
    const std::optional<MountedVolume> volume = facts.volumes.Find(mounts, device);
    if (!volume)
        return 0;
    const std::string shownName = EscapeControlBytes(volume->mountPoint);
    facts.volumes.Remember(shownName, *volume, device);
    PropertyObject logicalDisk;
    logicalDisk.Text("Name", shownName).Text("DeviceID", shownName).Text("FileSystem", volume->fileSystem);
    if (volume->label.empty())
        logicalDisk.Null("VolumeName");
    else
        logicalDisk.Text("VolumeName", volume->label);
    SetBytes(logicalDisk, "Size", facts.devices.Size(device));
    found.push_back(EnumeratedObject{0, std::move(logicalDisk)});
    return 0;
}

class LinuxServices : public WmiServices {
public:
    explicit LinuxServices(std::shared_ptr<LinuxKernelFacts> facts) : m_facts(std::move(facts)) {}

    WmiStatus SetProxyBlanket() override { return 0; }

    WmiStatus ExecQuery(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) override {
        if (request.kind == WmiRequest::Kind::AllPartitions)
            return AllPartitions(result);
        if (!m_index.Filled())
            ListPartitions();
        // The identifiers handed out are "/dev/NAME", the paths the index knows the devices by.
        const BlockDevice* device = m_index.Find(request.id);
        if (device == nullptr || !m_facts->devices.Exists(*device))
            return kWbemNotFound;
        const SysfsTree& sys = m_facts->devices.Tree();
        std::vector<EnumeratedObject> found;
        WmiStatus status = 0;
        switch (request.kind) {
        case WmiRequest::Kind::DrivesOfPartition:
            found.push_back(EnumeratedObject{0, DriveObject(sys, device->disk)});
            break;
        case WmiRequest::Kind::MediaOfDrive:
            if (!device->IsWholeDisk())
                return kWbemNotFound;
            found.push_back(EnumeratedObject{0, MediumObject(sys, request.id, device->disk)});
            break;
        case WmiRequest::Kind::LogicalDisksOfPartition:
            status = LogicalDisksOf(*m_facts, *device, found);
            break;
        case WmiRequest::Kind::AllPartitions:
            break;
        }
        if (!WmiFailed(status))
            result = std::make_unique<ListEnumeration>(std::move(found));
        return status;
    }

private:
    WmiStatus AllPartitions(std::unique_ptr<WmiEnumeration>& result) {
        std::vector<BlockDevice> partitions;
        const WmiStatus status = ListPartitions(partitions);
        if (WmiFailed(status))
            return status;
        const std::size_t count = partitions.size();
        result = std::make_unique<DeferredEnumeration>(
            count, [facts = m_facts, partitions = std::move(partitions)](std::size_t index) {
                return PartitionObject(facts->devices, partitions[index]);
            });
        return status;
    }

    // Lists the devices once for all the requests about them that follow, and gives those a scan shows
    // as partitions.
    WmiStatus ListPartitions(std::vector<BlockDevice>& shown) {
        std::vector<DiskEntry> disks;
        const int error = m_facts->devices.List(disks);
        m_index.Fill(disks);
        if (error != 0)
            return StatusFromErrno(error);
        std::vector<MountEntry> mounts;
        m_facts->volumes.ReadMounts(mounts); // without them, only libblkid can tell a whole-device filesystem
        shown = m_facts->devices.ShownPartitions(
            disks, [&](const std::string& disk) { return m_facts->volumes.HoldsFilesystem(mounts, disk); });
        return 0;
    }
    void ListPartitions() {
        std::vector<BlockDevice> unused;
        ListPartitions(unused);
    }

    std::shared_ptr<LinuxKernelFacts> m_facts;
    BlockDeviceIndex m_index;
};

class LinuxLocator : public WmiLocator {
public:
    explicit LinuxLocator(std::shared_ptr<LinuxKernelFacts> facts) : m_facts(std::move(facts)) {}

    WmiStatus ConnectServer(const std::string& nameSpace, std::unique_ptr<WmiServices>& services) override {
        if (nameSpace != "ROOT\\CIMV2")
            return kWbemInvalidNamespace;
        if (const int error = m_facts->devices.CheckReadable())
            return StatusFromErrno(error);
        services = std::make_unique<LinuxServices>(m_facts);
        return 0;
    }

private:
    std::shared_ptr<LinuxKernelFacts> m_facts;
};

} // namespace

LinuxWmiSource::LinuxWmiSource(LinuxSourceRoots roots, VolumeStatsReader stats)
    : m_facts(
          std::make_shared<LinuxKernelFacts>(std::move(roots), stats ? std::move(stats) : ReadVolumeStats)) {}

LinuxWmiSource::~LinuxWmiSource() = default;

WmiStatus LinuxWmiSource::CreateLocator(std::unique_ptr<WmiLocator>& locator) {
    locator = std::make_unique<LinuxLocator>(m_facts);
    return 0;
}

bool LinuxWmiSource::GetVolumeGeometry(const std::string& rootPath, DiskGeometry& geometry) {
    const std::optional<std::uint64_t> cluster = m_facts->volumes.ClusterSize(rootPath);
    if (!cluster || *cluster == 0 || *cluster > std::numeric_limits<std::uint32_t>::max())
        return false;
    const auto bytes = static_cast<std::uint32_t>(*cluster);
    geometry = bytes % 512 == 0 ? DiskGeometry{bytes / 512, 512} : DiskGeometry{1, bytes};
    return true;
}
