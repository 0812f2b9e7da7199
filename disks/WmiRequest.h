#pragma once

#include <compare>
#include <string>

// What a partition scan asks a source for: every partition, or the objects of one class that WMI
// associates with one partition or drive, named by the DeviceID the source gave for it. The request
// stays a value up to the source: only the Windows source writes it as WQL (WqlText), the others
// answer it as it is.
struct WmiRequest {
    enum class Kind {
        AllPartitions,           // every Win32_DiskPartition
        DrivesOfPartition,       // the Win32_DiskDrive holding the partition
        MediaOfDrive,            // the Win32_PhysicalMedia of the drive
        LogicalDisksOfPartition, // the Win32_LogicalDisk on the partition
    };
    Kind kind = Kind::AllPartitions;
    std::string id; // DeviceID of the partition or drive asked about; empty for AllPartitions

    static WmiRequest AllPartitions() { return {}; }
    static WmiRequest DrivesOfPartition(std::string partitionId) {
        return {Kind::DrivesOfPartition, std::move(partitionId)};
    }
    static WmiRequest MediaOfDrive(std::string driveId) { return {Kind::MediaOfDrive, std::move(driveId)}; }
    static WmiRequest LogicalDisksOfPartition(std::string partitionId) {
        return {Kind::LogicalDisksOfPartition, std::move(partitionId)};
    }

    friend auto operator<=>(const WmiRequest&, const WmiRequest&) = default;
};
