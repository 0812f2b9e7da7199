// The partition scan's rules, run against the in-memory source: failure rows, the per-partition,
// per-drive and per-logical-disk rules, the status rule and the unit rules.
#include "disks/MemoryWmiSource.h"
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"
#include "disks/SystemErrorText.h"
#include "disks/WmiStatus.h"
#include "disks/WqlText.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

class RecordingProgress : public ScanProgress {
public:
    void Display(int type, const std::string& text) override {
        shown.push_back(std::to_string(type) + ":" + text);
    }
    std::vector<std::string> shown;
};

PropertyObject Partition(const std::string& id, const std::string& offset) {
    PropertyObject partition;
    partition.Text("DeviceID", id).Text("StartingOffset", offset).Null("Status").Null("ErrorDescription");
    return partition;
}

PropertyObject Drive(const std::string& model, const std::string& id, const std::string& interfaceType) {
    PropertyObject drive;
    drive.Text("Model", model).Text("DeviceID", id).Text("InterfaceType", interfaceType);
    return drive;
}

PropertyObject Medium(const std::string& serial) {
    PropertyObject medium;
    medium.Text("SerialNumber", serial);
    return medium;
}

PropertyObject LogicalDisk(const std::string& fileSystem, const std::string& name, const std::string& label,
                           const std::string& size) {
    PropertyObject disk;
    disk.Text("FileSystem", fileSystem).Text("Name", name).Text("VolumeName", label).Text("Size", size);
    return disk;
}

// A machine in memory: partitions, each with its drives, media and logical disks.
class Machine {
public:
    Machine() { source.Answer(WmiRequest::AllPartitions()); }

    // Adds a partition with one drive, that drive's media and the partition's logical disks.
    void Add(PropertyObject partition, const std::string& partitionId, PropertyObject drive,
             const std::string& driveId, std::vector<PropertyObject> media,
             std::vector<PropertyObject> logicalDisks) {
        source.Answer(WmiRequest::AllPartitions()).objects.push_back({0, std::move(partition)});
        source.Answer(WmiRequest::DrivesOfPartition(partitionId)).objects.push_back({0, std::move(drive)});
        MemoryAnswer& mediaAnswer = source.Answer(WmiRequest::MediaOfDrive(driveId));
        for (PropertyObject& medium : media)
            mediaAnswer.objects.push_back({0, std::move(medium)});
        MemoryAnswer& disksAnswer = source.Answer(WmiRequest::LogicalDisksOfPartition(partitionId));
        for (PropertyObject& disk : logicalDisks)
            disksAnswer.objects.push_back({0, std::move(disk)});
    }

    // The usual case: one NTFS volume with 4 KB clusters on a SATA disk.
    void AddSimple(const std::string& partitionId, const std::string& offset,
                   const std::string& root = "C:") {
        Add(Partition(partitionId, offset), partitionId, Drive("ST1000DM003", "\\\\.\\PHYSICALDRIVE0", "IDE"),
            "\\\\.\\PHYSICALDRIVE0", {Medium("Z1D5ABCD")},
            {LogicalDisk("NTFS", root, "System", "1000202039296")});
        source.SetGeometry(root, 8, 512);
    }

    bool Scan() {
        scanned = ScanPartitions(source, table, progress);
        return scanned;
    }
    PartitionRow Row(int index) const { return table.Row(index); }
    int Rows() const { return table.GetItemCount(); }

    MemoryWmiSource source;
    CListBase table;
    RecordingProgress progress;
    bool scanned = false;

    Machine(const Machine&) = delete;
};

class ScanTest : public ::testing::Test {
protected:
    void SetUp() override { AddPartitionColumns(machine.table); }

    // The only row of a scan must be an error row with this message.
    void ExpectErrorRowOnly(const std::string& message) {
        ASSERT_EQ(machine.Rows(), 1);
        for (int cell = 0; cell < kPartDetails; ++cell)
            EXPECT_EQ(machine.Row(0)[cell], "") << cell;
        EXPECT_EQ(machine.Row(0)[kPartDetails], message);
        EXPECT_EQ(machine.source.History().liveObjects, 0) << "the connection was not released";
    }

    Machine machine;
};

TEST_F(ScanTest, FullRowAndTheExactQueriesInOrder) {
    machine.AddSimple("Disk #0, Partition #1", "1048576");
    EXPECT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 1);
    const PartitionRow expected = {"ST1000DM003",          "Z1D5ABCD", "IDE",       "C: (System)",
                                   "NTFS (4096 bytes)",    "931.5 GB", "1024.0 KB", "OK",
                                   "Disk #0, Partition #1"};
    EXPECT_EQ(machine.Row(0), expected);
    // The requests as the Windows source writes them for WMI, byte for byte.
    std::vector<std::string> texts;
    for (const WmiRequest& request : machine.source.History().requests)
        texts.push_back(WqlText(request));
    const std::vector<std::string> queries = {
        "SELECT * FROM Win32_DiskPartition",
        "SELECT * FROM Win32_DiskPartition",
        "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='Disk #0, Partition #1'} WHERE "
        "ResultClass=Win32_DiskDrive",
        "ASSOCIATORS OF {Win32_DiskDrive.DeviceID='\\\\.\\PHYSICALDRIVE0'} WHERE "
        "ResultClass=Win32_PhysicalMedia",
        "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='Disk #0, Partition #1'} WHERE "
        "ResultClass=Win32_LogicalDisk",
    };
    EXPECT_EQ(texts, queries);
    EXPECT_EQ(machine.progress.shown, std::vector<std::string>{"0:Scanning Disk #0, Partition #1"});
    EXPECT_EQ(machine.source.History().liveObjects, 0);
}

TEST_F(ScanTest, EachConnectionFailureLeavesOneErrorRowWithTheSignedStatus) {
    struct Case {
        MemoryWmiSource::ConnectStep step;
        WmiStatus status;
        const char* message;
    };
    const Case cases[] = {
        {MemoryWmiSource::ConnectStep::CreateLocator, kClassNotRegistered,
         "Failed to create IWbemLocator object. Err code = -2147221164"},
        {MemoryWmiSource::ConnectStep::ConnectServer, kAccessDenied,
         "Could not connect. Error code = -2147024891"},
        {MemoryWmiSource::ConnectStep::SetProxyBlanket, kWbemAccessDenied,
         "Could not set proxy blanket. Error code = -2147217405"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Machine failing;
        AddPartitionColumns(failing.table);
        failing.AddSimple("Disk #0, Partition #0", "1048576");
        failing.table.InsertRow(PartitionRow(kPartitionColumnCount, "stale"));
        failing.source.FailConnect(c.step, c.status);
        EXPECT_FALSE(failing.Scan());
        ASSERT_EQ(failing.Rows(), 1);
        EXPECT_EQ(failing.Row(0)[kPartDetails], c.message);
        EXPECT_EQ(failing.Row(0)[kPartModel], "");
        EXPECT_TRUE(failing.source.History().requests.empty());
        EXPECT_EQ(failing.source.History().liveObjects, 0);
    }
}

TEST_F(ScanTest, FailingPartitionQueryGivesTheQueryMessage) {
    machine.AddSimple("Disk #0, Partition #0", "1048576");
    machine.source.Answer(WmiRequest::AllPartitions()).status = kWbemAccessDenied;
    EXPECT_FALSE(machine.Scan());
    ExpectErrorRowOnly("Query for operating system name failed. Error code = -2147217405");
}

// The first run succeeded and the walked run failed: reported, not shown as a machine without disks.
TEST_F(ScanTest, FailingSecondRunOfThePartitionQueryIsReportedToo) {
    machine.AddSimple("Disk #0, Partition #0", "1048576");
    machine.source.Answer(WmiRequest::AllPartitions()).statusPerRun = {0, kWbemFailed};
    EXPECT_FALSE(machine.Scan());
    ExpectErrorRowOnly("Query for operating system name failed. Error code = -2147217407");
}

TEST_F(ScanTest, NoPartitionsIsAnEmptyTableAndSuccess) {
    machine.table.InsertRow(PartitionRow(kPartitionColumnCount, "earlier"));
    EXPECT_TRUE(machine.Scan());
    EXPECT_EQ(machine.Rows(), 0);
}

TEST_F(ScanTest, WorkedUnitValues) {
    struct Case {
        const char* offset;
        const char* fileSystem;
        std::uint32_t sectors;
        std::uint32_t bytesPerSector;
        const char* size;
        const char* offsetCell;
        const char* fileSystemCell;
        const char* sizeCell;
    };
    const Case cases[] = {
        {"1048576", "NTFS", 8, 512, "1000202039296", "1024.0 KB", "NTFS (4096 bytes)", "931.5 GB"},
        {"32256", "NTFS", 16, 512, "1073741823", "31.5 KB", "NTFS (8192 bytes)", "1.0 GB"},
        {"214748364800", "NTFS", 32, 512, "1048575", "209715200.0 KB", "NTFS (16 KB)", "0.0 GB"},
        {"0", "NTFS", 128, 512, "1048576", "0.0 KB", "NTFS (64 KB)", "0.0 GB"},
        {"", "ntfs", 1, 4096, "1073741824", "0.0 KB", "ntfs (4096 bytes)", "1.0 GB"},
        {"18446744073709551615", "NTFS", 65536, 65536, "0", "18014398509481984.0 KB", "NTFS (0 bytes)",
         "0.0 GB"},
        {"1048576", "FAT32", 64, 512, "34359738368", "1024.0 KB", "FAT32", "32.0 GB"},
        {"1048576", "exFAT", 256, 512, "536870912", "1024.0 KB", "exFAT", "0.5 GB"},
        {"1048576", "", 8, 512, "", "1024.0 KB", "", "0.0 GB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.offset) + " " + c.fileSystem + " " + c.size);
        Machine one;
        AddPartitionColumns(one.table);
        one.Add(Partition("P", c.offset), "P", Drive("M", "D", "SCSI"), "D", {Medium("S")},
                {LogicalDisk(c.fileSystem, "E:", "", c.size)});
        one.source.SetGeometry("E:", c.sectors, c.bytesPerSector);
        ASSERT_TRUE(one.Scan());
        ASSERT_EQ(one.Rows(), 1);
        EXPECT_EQ(one.Row(0)[kPartOffset], c.offsetCell);
        EXPECT_EQ(one.Row(0)[kPartFilesystem], c.fileSystemCell);
        EXPECT_EQ(one.Row(0)[kPartDiskSize], c.sizeCell);
        EXPECT_EQ(one.Row(0)[kPartDrive], "E: ");
    }
}

TEST_F(ScanTest, NtfsWithoutGeometryKeepsTheBareNameAndNamesTheRootUnchanged) {
    machine.Add(Partition("P", "1048576"), "P", Drive("M", "D", "SCSI"), "D", {Medium("S")},
                {LogicalDisk("NTFS", "F:", "Data", "1073741824")});
    ASSERT_TRUE(machine.Scan());
    EXPECT_EQ(machine.Row(0)[kPartFilesystem], "NTFS");
    EXPECT_EQ(machine.source.History().geometryAsked, std::vector<std::string>{"F:"});
    EXPECT_EQ(machine.Row(0)[kPartDrive], "F: (Data)");
}

TEST_F(ScanTest, StatusRule) {
    struct Case {
        const char* name;
        std::function<void(PropertyObject&)> set;
        const char* cell;
    };
    const Case cases[] = {
        {"both null", [](PropertyObject&) {}, "OK"},
        {"description only", [](PropertyObject& p) { p.Text("ErrorDescription", "Media failure"); },
         "Media failure"},
        {"status wins",
         [](PropertyObject& p) {
             p.Text("Status", "Degraded");
             p.Text("ErrorDescription", "ignored");
         },
         "Degraded"},
        {"empty status text", [](PropertyObject& p) { p.Text("Status", ""); }, ""},
        {"unreadable status", [](PropertyObject& p) { p.Failing("Status", kWbemNotFound); }, ""},
        {"unreadable description", [](PropertyObject& p) { p.Failing("ErrorDescription", kWbemNotFound); },
         ""},
        {"status not text", [](PropertyObject& p) { p.Other("Status"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine one;
        AddPartitionColumns(one.table);
        PropertyObject partition = Partition("P", "1048576");
        c.set(partition);
        one.Add(partition, "P", Drive("M", "D", "SCSI"), "D", {Medium("S")},
                {LogicalDisk("FAT32", "G:", "", "0")});
        ASSERT_TRUE(one.Scan());
        ASSERT_EQ(one.Rows(), 1);
        EXPECT_EQ(one.Row(0)[kPartStatus], c.cell);
    }
}

TEST_F(ScanTest, PartitionWithoutLogicalDiskStillGivesItsRow) {
    machine.Add(Partition("Disk #0, Partition #0", "1048576"), "Disk #0, Partition #0",
                Drive("Samsung SSD 860", "D0", "IDE"), "D0", {Medium("S3Z")}, {});
    // A second partition whose logical-disk query fails shows the same way.
    machine.Add(Partition("Disk #0, Partition #1", "525336576"), "Disk #0, Partition #1",
                Drive("Samsung SSD 860", "D0", "IDE"), "D0", {}, {});
    machine.source.Answer(WmiRequest::LogicalDisksOfPartition("Disk #0, Partition #1")).status = kWbemFailed;
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 2);
    const PartitionRow first = {"Samsung SSD 860",      "S3Z", "IDE", "", "", "", "1024.0 KB", "",
                                "Disk #0, Partition #0"};
    EXPECT_EQ(machine.Row(0), first);
    EXPECT_EQ(machine.Row(1)[kPartOffset], "513024.0 KB");
    EXPECT_EQ(machine.Row(1)[kPartSerial], "S3Z");
    EXPECT_EQ(machine.Row(1)[kPartStatus], "");
}

TEST_F(ScanTest, PhysicalMediumRules) {
    // No medium: serial and interface empty, although the drive knows its interface.
    machine.Add(Partition("P0", "1048576"), "P0", Drive("M0", "D0", "SCSI"), "D0", {}, {});
    // Several media: the last wins; the interface is read from the drive.
    machine.Add(Partition("P1", "1048576"), "P1", Drive("M1", "D1", "USB"), "D1",
                {Medium("first"), Medium("last")}, {});
    // A failing medium query: empty, and the row is still there.
    machine.Add(Partition("P2", "1048576"), "P2", Drive("M2", "D2", "IDE"), "D2", {}, {});
    machine.source.Answer(WmiRequest::MediaOfDrive("D2")).status = kWbemAccessDenied;
    // A null serial empties the cell; a medium with a failure status is skipped.
    PropertyObject nullSerial;
    nullSerial.Null("SerialNumber");
    machine.Add(Partition("P3", "1048576"), "P3", Drive("M3", "D3", "IDE"), "D3",
                {Medium("kept"), nullSerial}, {});
    machine.source.Answer(WmiRequest::MediaOfDrive("D3"))
        .objects.push_back({kWbemFailed, Medium("unusable")});
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 4);
    EXPECT_EQ(machine.Row(0)[kPartSerial], "");
    EXPECT_EQ(machine.Row(0)[kPartInterface], "");
    EXPECT_EQ(machine.Row(1)[kPartSerial], "last");
    EXPECT_EQ(machine.Row(1)[kPartInterface], "USB");
    EXPECT_EQ(machine.Row(2)[kPartSerial], "");
    EXPECT_EQ(machine.Row(2)[kPartInterface], "");
    EXPECT_EQ(machine.Row(2)[kPartModel], "M2");
    EXPECT_EQ(machine.Row(3)[kPartSerial], "");
    EXPECT_EQ(machine.Row(3)[kPartInterface], "IDE");
}

TEST_F(ScanTest, SeveralLogicalDisksTheLastWins) {
    machine.Add(
        Partition("P", "1048576"), "P", Drive("M", "D", "SCSI"), "D", {Medium("S")},
        {LogicalDisk("NTFS", "H:", "Old", "1073741824"), LogicalDisk("FAT32", "I:", "", "2147483648")});
    machine.source.SetGeometry("H:", 8, 512);
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 1);
    EXPECT_EQ(machine.Row(0)[kPartDrive], "I: ");
    EXPECT_EQ(machine.Row(0)[kPartFilesystem], "FAT32");
    EXPECT_EQ(machine.Row(0)[kPartDiskSize], "2.0 GB");
}

TEST_F(ScanTest, LogicalDiskNullsAndUnreadableValues) {
    PropertyObject nulls;
    nulls.Null("FileSystem").Text("Name", "J:").Null("VolumeName").Null("Size");
    machine.Add(Partition("P0", "1048576"), "P0", Drive("M", "D", "SCSI"), "D", {Medium("S")}, {nulls});
    PropertyObject unreadable;
    unreadable.Text("FileSystem", "NTFS")
        .Text("Name", "K:")
        .Text("VolumeName", "")
        .Failing("Size", kWbemFailed);
    machine.Add(Partition("P1", "1048576"), "P1", Drive("M", "D", "SCSI"), "D", {Medium("S")}, {unreadable});
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 2);
    EXPECT_EQ(machine.Row(0)[kPartFilesystem], "");
    EXPECT_EQ(machine.Row(0)[kPartDrive], "J: ");
    EXPECT_EQ(machine.Row(0)[kPartDiskSize], "0.0 GB");
    // A size that cannot be read is not shown as 0.
    EXPECT_EQ(machine.Row(1)[kPartDiskSize], "");
    EXPECT_EQ(machine.Row(1)[kPartDrive], "K: ");
}

TEST_F(ScanTest, PartitionsThatCannotBeUsedAreSkipped) {
    machine.AddSimple("Good #0", "1048576");
    // Returned with a failure status.
    machine.source.Answer(WmiRequest::AllPartitions())
        .objects.push_back({kWbemFailed, Partition("Unusable", "0")});
    // DeviceID unreadable, or not text: no identifier to find drives by.
    PropertyObject noId = Partition("", "0");
    noId.Failing("DeviceID", kWbemNotFound);
    machine.source.Answer(WmiRequest::AllPartitions()).objects.push_back({0, noId});
    PropertyObject nullId = Partition("", "0");
    nullId.Null("DeviceID");
    machine.source.Answer(WmiRequest::AllPartitions()).objects.push_back({0, nullId});
    // Its drive query fails: no row, and the scan goes on.
    machine.AddSimple("Lost #1", "2048");
    machine.source.Answer(WmiRequest::DrivesOfPartition("Lost #1")).status = kWbemFailed;
    machine.AddSimple("Good #2", "65536", "L:");
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 2);
    EXPECT_EQ(machine.Row(0)[kPartDetails], "Good #0");
    EXPECT_EQ(machine.Row(1)[kPartDetails], "Good #2");
    EXPECT_EQ(machine.Row(1)[kPartOffset], "64.0 KB");
    const std::vector<std::string> expected = {"0:Scanning Good #0", "0:Scanning Lost #1",
                                               "0:Scanning Good #2"};
    EXPECT_EQ(machine.progress.shown, expected);
    // The partition without an identifier did not query under the previous partition's identifier.
    int drivesOfGood0 = 0;
    for (const WmiRequest& request : machine.source.History().requests)
        drivesOfGood0 += request == WmiRequest::DrivesOfPartition("Good #0");
    EXPECT_EQ(drivesOfGood0, 1);
}

TEST_F(ScanTest, OffsetThatCannotBeReadIsLeftEmptyAndNullIsZero) {
    PropertyObject unreadable = Partition("P0", "");
    unreadable.Failing("StartingOffset", kWbemFailed);
    machine.Add(unreadable, "P0", Drive("M", "D", "SCSI"), "D", {Medium("S")}, {});
    PropertyObject null = Partition("P1", "");
    null.Null("StartingOffset");
    machine.Add(null, "P1", Drive("M", "D", "SCSI"), "D", {Medium("S")}, {});
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 2);
    EXPECT_EQ(machine.Row(0)[kPartOffset], "");
    EXPECT_EQ(machine.Row(1)[kPartOffset], "0.0 KB");
}

TEST_F(ScanTest, DriveRules) {
    machine.Add(Partition("P", "1048576"), "P", Drive("Good", "D0", "SCSI"), "D0", {Medium("S0")}, {});
    MemoryAnswer& drives = machine.source.Answer(WmiRequest::DrivesOfPartition("P"));
    // Returned with a failure status: skipped.
    drives.objects.push_back({kWbemFailed, Drive("Unusable", "D1", "SCSI")});
    // Unreadable DeviceID: no row.
    PropertyObject noId = Drive("NoId", "", "SCSI");
    noId.Failing("DeviceID", kWbemNotFound);
    drives.objects.push_back({0, noId});
    // DeviceID not text: a row, but no serial borrowed from the drive before; null model empties the cell.
    PropertyObject nullId = Drive("", "", "SCSI");
    nullId.Null("DeviceID").Null("Model");
    drives.objects.push_back({0, nullId});
    ASSERT_TRUE(machine.Scan());
    ASSERT_EQ(machine.Rows(), 2);
    EXPECT_EQ(machine.Row(0)[kPartModel], "Good");
    EXPECT_EQ(machine.Row(0)[kPartSerial], "S0");
    EXPECT_EQ(machine.Row(1)[kPartModel], "");
    EXPECT_EQ(machine.Row(1)[kPartSerial], "");
    EXPECT_EQ(machine.Row(1)[kPartInterface], "");
    EXPECT_EQ(machine.Row(1)[kPartDetails], "P");
}

TEST(SystemErrorText, UnknownCodesAndCodesCarryingAnErrno) {
    EXPECT_EQ(GetSystemErrorText(kWbemNotFound), "Unknown Error -2147217406, 4098");
    EXPECT_EQ(GetSystemErrorText(-1), "Unknown Error -1, 65535");
    if (TRELVANE_WINDOWS_BUILD) {
        // The system's own texts (success, file not found, access denied), worded as this Windows
        // words them, on one line.
        for (const std::int32_t code : {0, 2, 5}) {
            const std::string text = GetSystemErrorText(code);
            EXPECT_FALSE(text.empty() || text.starts_with("Unknown Error")) << code << ": " << text;
            EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code;
        }
        return;
    }
    EXPECT_EQ(GetSystemErrorText(0), "Unknown Error 0, 0");
    EXPECT_EQ(GetSystemErrorText(StatusFromErrno(EACCES)), "Permission denied");
    EXPECT_EQ(GetSystemErrorText(StatusFromErrno(ENOENT)), "No such file or directory");
    EXPECT_EQ(GetSystemErrorText(StatusFromErrno(9999)), "Unknown Error -1610602737, 9999");
}

} // namespace
