// The Linux partition source against recorded sysfs/procfs trees (tests/data/sysfs, written by its
// make-fixtures.sh), and against damaged copies of them: unreadable files, devices that vanish during
// the scan, odd bytes in device strings and escaped mount points.
#include "disks/LinuxWmiSource.h"
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"
#include "disks/WmiConnection.h"
#include "disks/WmiRequest.h"
#include "disks/WmiStatus.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kFixtures = TRELVANE_SOURCE_DIR "/tests/data/sysfs/";

// statvfs answers for the mount points of a recorded tree; every path asked is kept.
struct FakeVolumes {
    std::map<std::string, VolumeStats> volumes;
    std::vector<std::string> asked;

    VolumeStatsReader Reader() {
        return [this](const std::string& path, VolumeStats& stats) {
            asked.push_back(path);
            const auto found = volumes.find(path);
            if (found == volumes.end())
                return ENOENT;
            stats = found->second;
            return 0;
        };
    }
};

class Progress : public ScanProgress {
public:
    std::function<void(const std::string&)> onStep;
    void Display(int, const std::string& text) override {
        if (onStep)
            onStep(text);
    }
};

struct ScanResult {
    bool scanned = false;
    CListBase table;
};

void ScanWith(LinuxWmiSource& source, ScanResult& result, Progress* progress = nullptr) {
    AddPartitionColumns(result.table);
    Progress quiet;
    result.scanned = ScanPartitions(source, result.table, progress != nullptr ? *progress : quiet);
}

void ScanTree(const std::string& root, FakeVolumes& volumes, ScanResult& result,
              Progress* progress = nullptr) {
    LinuxWmiSource source(LinuxSourceRoots{root, root + "/dev"}, volumes.Reader());
    ScanWith(source, result, progress);
}

// A writable copy of a recorded tree, removed at the end of the test.
class TreeCopy {
public:
    explicit TreeCopy(const std::string& fixture) {
        m_root = fs::temp_directory_path() / ("trelvane-sysfs-" + std::to_string(::getpid()) + "-" + fixture);
        fs::remove_all(m_root);
        fs::copy(kFixtures + fixture, m_root, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    ~TreeCopy() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    std::string Root() const { return m_root.string(); }
    fs::path Path(const std::string& relative) const { return m_root / relative; }
    void Write(const std::string& relative, const std::string& bytes) const {
        std::ofstream(Path(relative), std::ios::binary | std::ios::trunc) << bytes;
    }
    // Replaces a file by a folder: reading it fails, for root as well.
    void MakeUnreadable(const std::string& relative) const {
        fs::remove(Path(relative));
        fs::create_directory(Path(relative));
    }

private:
    fs::path m_root;
};

const std::string kNvmeDisk = "sys/devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/nvme0n1";
const std::string kSataLun = "sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0";

TEST(RecordedTrees, NvmeDisk) {
    FakeVolumes volumes;
    volumes.volumes["/"] = {4096};
    volumes.volumes["/boot/efi"] = {512};
    ScanResult result;
    ScanTree(kFixtures + "nvme", volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 2);
    const PartitionRow efi = {"Samsung SSD 970 EVO Plus 1TB",
                              "S4EWNX0R123456P",
                              "nvme",
                              "/boot/efi (EFI)",
                              "vfat",
                              "0.5 GB",
                              "1024.0 KB",
                              "OK",
                              "/dev/nvme0n1p1"};
    const PartitionRow root = {"Samsung SSD 970 EVO Plus 1TB",
                               "S4EWNX0R123456P",
                               "nvme",
                               "/ (rootfs)",
                               "ext4",
                               "931.0 GB",
                               "525312.0 KB",
                               "OK",
                               "/dev/nvme0n1p2"};
    EXPECT_EQ(result.table.Row(0), efi);
    EXPECT_EQ(result.table.Row(1), root);
}

TEST(RecordedTrees, SataDiskWithNtfsAtSector63AndAPartitionBeyond2GiB) {
    FakeVolumes volumes;
    volumes.volumes["/mnt/win data"] = {65536};
    ScanResult result;
    ScanTree(kFixtures + "sata", volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 2);
    const PartitionRow ntfs = {"Samsung SSD 860", "S3Z9NB0K123456A", "sata", "/mnt/win data ", "ntfs (64 KB)",
                               "200.0 GB",        "31.5 KB",         "OK",   "/dev/sda1"};
    const PartitionRow unmounted = {
        "Samsung SSD 860", "S3Z9NB0K123456A", "sata", "", "", "", "209715200.0 KB", "", "/dev/sda2"};
    EXPECT_EQ(result.table.Row(0), ntfs);
    EXPECT_EQ(result.table.Row(1), unmounted);
}

TEST(RecordedTrees, VirtioDiskWithoutModel) {
    FakeVolumes volumes;
    volumes.volumes["/"] = {4096};
    ScanResult result;
    ScanTree(kFixtures + "virtio", volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 1);
    const PartitionRow row = {"",        "vd-0001",   "virtio", "/ ",       "xfs",
                              "50.0 GB", "1024.0 KB", "OK",     "/dev/vda1"};
    EXPECT_EQ(result.table.Row(0), row);
}

// A mount point covered by a later mount leads to the filesystem on top. A partition's row keeps its
// own volume's facts: the cluster size comes from the NTFS boot sector, never from that path; a volume
// reachable through another mount point is shown and measured there.
TEST(RecordedTrees, StackedMountsNeverLendTheirFactsToThePartitionBelow) {
    FakeVolumes volumes;
    volumes.volumes["/mnt/sql"] = {4096}; // the tmpfs on top
    volumes.volumes["/data"] = {4096};
    volumes.volumes["/data/log"] = {4096};
    volumes.volumes["/srv/log"] = {65536};
    ScanResult result;
    ScanTree(kFixtures + "stacked", volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 2);
    const PartitionRow covered = {"WDC WD80EFZZ", "WD-STACKED1", "sata", "/mnt/sql ", "ntfs (64 KB)",
                                  "2.0 GB",       "1024.0 KB",   "OK",   "/dev/sdc1"};
    const PartitionRow boundAgain = {"WDC WD80EFZZ", "WD-STACKED1",  "sata", "/srv/log ", "ntfs (64 KB)",
                                     "1.0 GB",       "2098176.0 KB", "OK",   "/dev/sdc2"};
    EXPECT_EQ(result.table.Row(0), covered);
    EXPECT_EQ(result.table.Row(1), boundAgain);
    EXPECT_EQ(volumes.asked, std::vector<std::string>{"/srv/log"});

    // Without a readable boot sector the cluster size is left out rather than taken from the cover.
    TreeCopy tree("stacked");
    tree.Write("dev/sdc1", std::string(4096, '\0'));
    ScanResult damaged;
    ScanTree(tree.Root(), volumes, damaged);
    ASSERT_EQ(damaged.table.GetItemCount(), 2);
    EXPECT_EQ(damaged.table.CellRef(0, kPartFilesystem), "ntfs");
}

// A filesystem on the whole device shows as one partition of the disk starting at 0. Blank disks,
// loop devices without a partition table, zram, RAM disks and empty drives give no row.
TEST(RecordedTrees, FilesystemOnTheWholeDevice) {
    FakeVolumes volumes;
    volumes.volumes["/data"] = {4096};
    volumes.volumes["/mnt/image"] = {4096};
    ScanResult result;
    ScanTree(kFixtures + "whole-device", volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 1);
    const PartitionRow row = {"",        "WHOLE-01", "virtio", "/data (WHOLEDISK)", "ext4",
                              "20.0 GB", "0.0 KB",   "OK",     "/dev/vdb"};
    EXPECT_EQ(result.table.Row(0), row);
}

TEST(DamagedTrees, UnreadableFilesGiveEmptyCellsNotWrongOnes) {
    TreeCopy tree("nvme");
    tree.MakeUnreadable(kNvmeDisk + "/nvme0n1p1/start");
    tree.MakeUnreadable(kNvmeDisk + "/nvme0n1p1/size");
    tree.MakeUnreadable(kNvmeDisk + "/../model");
    tree.MakeUnreadable(kNvmeDisk + "/../serial");
    tree.MakeUnreadable(kNvmeDisk + "/nvme0n1p2/dev"); // only the source path finds the mount now
    FakeVolumes volumes;
    volumes.volumes["/"] = {4096};
    ScanResult result;
    ScanTree(tree.Root(), volumes, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 2);
    EXPECT_EQ(result.table.CellRef(0, kPartOffset), "");
    EXPECT_EQ(result.table.CellRef(0, kPartModel), "");
    EXPECT_EQ(result.table.CellRef(0, kPartSerial), "");
    EXPECT_EQ(result.table.CellRef(0, kPartInterface), "nvme");
    // The EFI volume cannot be measured: no size rather than 0.
    EXPECT_EQ(result.table.CellRef(0, kPartDrive), "/boot/efi (EFI)");
    EXPECT_EQ(result.table.CellRef(0, kPartDiskSize), "");
    EXPECT_EQ(result.table.CellRef(1, kPartDrive), "/ (rootfs)");
    EXPECT_EQ(result.table.CellRef(1, kPartOffset), "525312.0 KB");
}

// The serial number comes from the first place that has one: the disk's own file, the device's, then
// the VPD page. Blank and unreadable files are passed over; with no serial anywhere the cell is empty.
TEST(DamagedTrees, SerialComesFromTheFirstPlaceThatHasOne) {
    TreeCopy tree("sata");
    const std::string disk = kSataLun + "/block/sda";
    const auto serialOf = [&tree]() {
        FakeVolumes volumes;
        ScanResult result;
        ScanTree(tree.Root(), volumes, result);
        return result.table.GetItemCount() > 0 ? std::string(result.table.CellRef(0, kPartSerial))
                                               : "(no row)";
    };
    EXPECT_EQ(serialOf(), "S3Z9NB0K123456A") << "the VPD page alone";
    tree.Write(kSataLun + "/serial", "FROM-DEVICE\n");
    EXPECT_EQ(serialOf(), "FROM-DEVICE");
    tree.Write(disk + "/serial", " \n");
    EXPECT_EQ(serialOf(), "FROM-DEVICE") << "a blank file is no serial";
    tree.Write(disk + "/serial", "FROM-DISK\n");
    EXPECT_EQ(serialOf(), "FROM-DISK");
    tree.MakeUnreadable(disk + "/serial");
    EXPECT_EQ(serialOf(), "FROM-DEVICE");
    tree.MakeUnreadable(kSataLun + "/serial");
    EXPECT_EQ(serialOf(), "S3Z9NB0K123456A");
    tree.MakeUnreadable(kSataLun + "/vpd_pg80");
    EXPECT_EQ(serialOf(), "");
}

TEST(DamagedTrees, MissingSysfsIsAConnectionErrorRow) {
    FakeVolumes volumes;
    ScanResult result;
    ScanTree(fs::temp_directory_path().string() + "/trelvane-no-such-tree", volumes, result);
    EXPECT_FALSE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 1);
    // ENOENT carried in a failure status, printed signed.
    EXPECT_EQ(result.table.CellRef(0, kPartDetails), "Could not connect. Error code = -1610612734");
}

TEST(DamagedTrees, DevicesThatVanishDuringTheScan) {
    TreeCopy tree("nvme");
    FakeVolumes volumes;
    volumes.volumes["/"] = {4096};
    volumes.volumes["/boot/efi"] = {4096};
    // The second partition goes while the first is scanned: it is listed but gives no row.
    {
        Progress progress;
        progress.onStep = [&](const std::string& step) {
            if (step == "Scanning /dev/nvme0n1p1")
                fs::remove_all(tree.Path(kNvmeDisk + "/nvme0n1p2"));
        };
        ScanResult result;
        ScanTree(tree.Root(), volumes, result, &progress);
        ASSERT_TRUE(result.scanned);
        ASSERT_EQ(result.table.GetItemCount(), 1);
        EXPECT_EQ(result.table.CellRef(0, kPartDetails), "/dev/nvme0n1p1");
    }
    // The whole disk goes while its first partition is scanned: no row, no crash.
    {
        Progress progress;
        progress.onStep = [&](const std::string& step) {
            if (step == "Scanning /dev/nvme0n1p1") {
                fs::remove(tree.Path("sys/block/nvme0n1"));
                fs::remove_all(tree.Path(kNvmeDisk));
            }
        };
        ScanResult result;
        ScanTree(tree.Root(), volumes, result, &progress);
        EXPECT_TRUE(result.scanned);
        EXPECT_EQ(result.table.GetItemCount(), 0);
    }
}

TEST(DamagedTrees, OddBytesAreShownEscapedAndNeverSplitACell) {
    TreeCopy tree("nvme");
    const char model[] = "  \x01Odd\tDisk\x1b[31m \xc3\xa9\xff\\ \n\0\0";
    tree.Write(kNvmeDisk + "/../model", std::string(model, sizeof model - 1));
    tree.Write(kNvmeDisk + "/../serial", "SER\r\nIAL\n");
    // A FAT label (boot sector and root folder entry) with a bell and a byte that is not UTF-8.
    std::string image;
    {
        std::ifstream in(tree.Path("dev/nvme0n1p1"), std::ios::binary);
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int labels = 0;
    for (std::size_t at = image.find("EFI        "); at != std::string::npos;
         at = image.find("EFI        ", at)) {
        image.replace(at, 11, "A\aB\xe9       ");
        ++labels;
    }
    ASSERT_GT(labels, 0);
    tree.Write("dev/nvme0n1p1", image);
    // Mount points with a blank, a line feed and a backslash, as the kernel escapes them, among lines
    // that are not mountinfo at all.
    tree.Write("proc/self/mountinfo",
               "garbage\n"
               "1 2 3\n"
               "9 9 x:y / /bad rw - ext4 /dev/x rw\n"
               "26 1 259:2 / /srv/sql\\040data\\012x\\134y rw - ext4 /dev/nvme0n1p2 rw\n"
               "27 26 259:1 / /boot/e\\040fi rw shared:2 - vfat /dev/nvme0n1p1 rw\n"
               "28 26 259:1 / /truncated rw shared:2 -\n");
    FakeVolumes volumes;
    volumes.volumes["/srv/sql data\nx\\y"] = {65536};
    volumes.volumes["/boot/e fi"] = {512};
    LinuxWmiSource source(LinuxSourceRoots{tree.Root(), tree.Root() + "/dev"}, volumes.Reader());
    ScanResult result;
    ScanWith(source, result);
    ASSERT_TRUE(result.scanned);
    ASSERT_EQ(result.table.GetItemCount(), 2);
    EXPECT_EQ(result.table.CellRef(0, kPartModel), "\\x01Odd\\x09Disk\\x1b[31m \xc3\xa9\xff\\x5c");
    EXPECT_EQ(result.table.CellRef(0, kPartSerial), "SER\\x0d\\x0aIAL");
    EXPECT_EQ(result.table.CellRef(0, kPartDrive), "/boot/e fi (A\\x07B\xe9)");
    EXPECT_EQ(result.table.CellRef(1, kPartDrive), "/srv/sql data\\x0ax\\x5cy (rootfs)");
    // The shown name measures the real path.
    DiskGeometry geometry;
    EXPECT_TRUE(source.GetVolumeGeometry("/srv/sql data\\x0ax\\x5cy", geometry));
    EXPECT_EQ(geometry.sectorsPerCluster * geometry.bytesPerSector, 65536u);
    EXPECT_EQ(volumes.asked, (std::vector<std::string>{"/srv/sql data\nx\\y"}));
}

// Identifiers come back into the source inside requests; nothing in them may reach outside sysfs.
TEST(DamagedTrees, QueriesForUnknownDevicesAndTextsFail) {
    FakeVolumes volumes;
    LinuxWmiSource source(LinuxSourceRoots{kFixtures + "nvme", kFixtures + "nvme/dev"}, volumes.Reader());
    WmiConnection connection;
    std::string message;
    ASSERT_TRUE(connection.Connect(source, message)) << message;
    std::unique_ptr<WmiEnumeration> result;
    for (const char* id : {"/dev/../../etc", "/dev/", "nvme0n1p1", "/dev/nvme0n1p9", "/dev/nvme0n1/p1"}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(connection.Query(WmiRequest::DrivesOfPartition(id), result), kWbemNotFound);
        EXPECT_EQ(connection.Query(WmiRequest::LogicalDisksOfPartition(id), result), kWbemNotFound);
        EXPECT_EQ(connection.Query(WmiRequest::MediaOfDrive(id), result), kWbemNotFound);
    }
    EXPECT_EQ(connection.Query(WmiRequest::MediaOfDrive("/dev/nvme0n1p1"), result), kWbemNotFound)
        << "not a disk";
    EXPECT_EQ(connection.Query(WmiRequest::DrivesOfPartition("/dev/nvme0n1p1"), result), 0);
}

} // namespace
