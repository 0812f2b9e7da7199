#include "disks/PartitionScan.h"

#include "disks/PartitionRow.h"
#include "disks/PartitionUnits.h"
#include "disks/WmiConnection.h"
#include "disks/WmiStatus.h"

#include <cstdio>

namespace {

std::string WithStatus(const char* format, WmiStatus status) {
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<int>(status));
    return text;
}

// Reads a property; false when the read failed (the value is then Other).
bool Read(WmiObject& object, const char* name, WmiValue& value) {
    value = WmiValue::MakeOther();
    if (!WmiFailed(object.Get(name, value)))
        return true;
    value = WmiValue::MakeOther();
    return false;
}

// The text of a property, or empty for null, other values and failed reads.
std::string TextOrEmpty(WmiObject& object, const char* name) {
    WmiValue value;
    return Read(object, name, value) && value.IsText() ? value.text : std::string();
}

// Calls visit for each object of an enumeration. An object returned with a failure status is passed
// on only when the loop uses such objects.
template <class Visit> void ForEachObject(WmiEnumeration& enumeration, bool skipUnusable, Visit visit) {
    for (;;) {
        std::unique_ptr<WmiObject> object;
        unsigned returned = 0;
        const WmiStatus status = enumeration.Next(object, returned);
        if (returned == 0)
            break;
        if (!object || (skipUnusable && WmiFailed(status)))
            continue;
        visit(*object);
    }
}

bool RunQuery(WmiConnection& connection, const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result) {
    return !WmiFailed(connection.Query(request, result)) && result;
}

// "Starting Offset": a text (null counts as empty text, which is 0) is converted; a value that cannot
// be read leaves the cell empty rather than claim an offset of 0.
std::string OffsetCell(WmiObject& partition) {
    WmiValue value;
    if (!Read(partition, "StartingOffset", value) || !(value.IsText() || value.IsNull()))
        return {};
    return FormatOffsetCell(ParseDecimal64(value.text));
}

// "Disk Size": null is a size of 0; a value that cannot be read leaves the cell empty.
std::string SizeCell(WmiObject& logicalDisk) {
    WmiValue value;
    if (!Read(logicalDisk, "Size", value) || !(value.IsText() || value.IsNull()))
        return {};
    return FormatSizeCell(ParseDecimal64(value.text));
}

// "Status" of the partition: its Status text; when Status is null, its ErrorDescription, or "OK" when
// that is null too. A value that cannot be read is not reported as "OK".
std::string StatusCell(WmiObject& partition) {
    WmiValue value;
    if (!Read(partition, "Status", value))
        return {};
    if (value.IsText())
        return value.text;
    if (!value.IsNull())
        return {};
    if (!Read(partition, "ErrorDescription", value))
        return {};
    if (value.IsText())
        return value.text;
    return value.IsNull() ? "OK" : "";
}

std::string FilesystemCell(WmiSource& source, const std::string& fileSystem, const std::string& rootPath) {
    DiskGeometry geometry;
    if (!IsNtfs(fileSystem) || !source.GetVolumeGeometry(rootPath, geometry))
        return fileSystem;
    return FormatNtfsCell(fileSystem, geometry.sectorsPerCluster * geometry.bytesPerSector);
}

class Scan {
public:
    Scan(WmiSource& source, CListBase& table, ScanProgress& progress)
        : m_source(source), m_table(table), m_progress(progress), m_row(kPartitionColumnCount) {}

    bool Run() {
        m_table.DeleteAllItems(false);
        std::string message;
        if (!m_connection.Connect(m_source, message)) {
            AppendPartitionErrorRow(m_table, message);
            return false;
        }
        // The first run only proves that the query works; the second one is walked.
        std::unique_ptr<WmiEnumeration> partitions;
        for (int run = 0; run < 2; ++run) {
            partitions.reset();
            const WmiStatus status = m_connection.Query(WmiRequest::AllPartitions(), partitions);
            if (WmiFailed(status)) {
                m_connection.Release();
                AppendPartitionErrorRow(
                    m_table, WithStatus("Query for operating system name failed. Error code = %d", status));
                return false;
            }
        }
        if (partitions)
            ForEachObject(*partitions, true, [this](WmiObject& partition) { ScanPartition(partition); });
        partitions.reset();
        m_connection.Release();
        return true;
    }

private:
    void ScanPartition(WmiObject& partition) {
        m_row[kPartOffset] = OffsetCell(partition);
        WmiValue id;
        // Without an identifier there is nothing to find the partition's drives by.
        if (!Read(partition, "DeviceID", id) || !id.IsText())
            return;
        m_partitionId = id.text;
        m_progress.Display(ScanProgress::kStep, "Scanning " + m_partitionId);
        std::unique_ptr<WmiEnumeration> drives;
        if (!RunQuery(m_connection, WmiRequest::DrivesOfPartition(m_partitionId), drives))
            return;
        ForEachObject(*drives, true, [&](WmiObject& drive) { ScanDrive(partition, drive); });
    }

    void ScanDrive(WmiObject& partition, WmiObject& drive) {
        m_row[kPartModel] = TextOrEmpty(drive, "Model");
        WmiValue id;
        if (!Read(drive, "DeviceID", id))
            return;
        // A drive without a text identifier keeps empty serial and interface cells rather than
        // borrowing the previous drive's.
        m_driveId = id.IsText() ? id.text : std::string();
        ReadMedia(drive, id.IsText());
        ReadLogicalDisks(partition);
        m_row[kPartDetails] = m_partitionId;
        m_table.InsertRow(kPartitionColumnCount, m_row.data(), false, -999999, true);
    }

    void ReadMedia(WmiObject& drive, bool haveDriveId) {
        std::unique_ptr<WmiEnumeration> media;
        const bool found = haveDriveId && RunQuery(m_connection, WmiRequest::MediaOfDrive(m_driveId), media);
        m_row[kPartSerial].clear();
        m_row[kPartInterface].clear();
        if (!found)
            return;
        ForEachObject(*media, true, [&](WmiObject& medium) {
            WmiValue value;
            if (Read(medium, "SerialNumber", value))
                m_row[kPartSerial] = value.IsText() ? value.text : std::string();
            if (Read(drive, "InterfaceType", value))
                m_row[kPartInterface] = value.IsText() ? value.text : std::string();
        });
    }

    void ReadLogicalDisks(WmiObject& partition) {
        std::unique_ptr<WmiEnumeration> disks;
        const bool found = RunQuery(m_connection, WmiRequest::LogicalDisksOfPartition(m_partitionId), disks);
        for (int cell : {kPartFilesystem, kPartDiskSize, kPartDrive, kPartStatus})
            m_row[cell].clear();
        if (!found)
            return;
        // When a partition has several logical disks, the last one wins.
        ForEachObject(*disks, false, [&](WmiObject& disk) {
            const std::string fileSystem = TextOrEmpty(disk, "FileSystem");
            const std::string name = TextOrEmpty(disk, "Name");
            m_row[kPartFilesystem] = FilesystemCell(m_source, fileSystem, name);
            const std::string label = TextOrEmpty(disk, "VolumeName");
            m_row[kPartDiskSize] = SizeCell(disk);
            m_row[kPartDrive] = name + " " + (label.empty() ? std::string() : "(" + label + ")");
            m_row[kPartStatus] = StatusCell(partition);
        });
    }

    WmiSource& m_source;
    CListBase& m_table;
    ScanProgress& m_progress;
    WmiConnection m_connection;
    PartitionRow m_row;
    std::string m_partitionId;
    std::string m_driveId;
};

} // namespace

bool ScanPartitions(WmiSource& source, CListBase& table, ScanProgress& progress) {
    return Scan(source, table, progress).Run();
}
