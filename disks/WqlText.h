#pragma once

#include <string>

// The four WQL texts of a partition scan. Identifiers are inserted unchanged.
std::string AllPartitionsQuery();
std::string DrivesOfPartitionQuery(const std::string& partitionId);
std::string MediaOfDriveQuery(const std::string& driveId);
std::string LogicalDisksOfPartitionQuery(const std::string& partitionId);

// What a substitute source is asked: one of the four texts above, read back.
struct WqlRequest {
    enum class Kind { AllPartitions, DrivesOfPartition, MediaOfDrive, LogicalDisksOfPartition, Unknown };
    Kind kind = Kind::Unknown;
    std::string id;
};
WqlRequest ParseWqlRequest(const std::string& wql);
