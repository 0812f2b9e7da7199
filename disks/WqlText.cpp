#include "disks/WqlText.h"

namespace {

struct Association {
    WqlRequest::Kind kind;
    const char* prefix;
    const char* suffix;
};

const Association kAssociations[] = {
    {WqlRequest::Kind::DrivesOfPartition, "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='",
     "'} WHERE ResultClass=Win32_DiskDrive"},
    {WqlRequest::Kind::MediaOfDrive, "ASSOCIATORS OF {Win32_DiskDrive.DeviceID='",
     "'} WHERE ResultClass=Win32_PhysicalMedia"},
    {WqlRequest::Kind::LogicalDisksOfPartition, "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='",
     "'} WHERE ResultClass=Win32_LogicalDisk"},
};

std::string Build(WqlRequest::Kind kind, const std::string& id) {
    for (const Association& association : kAssociations)
        if (association.kind == kind)
            return association.prefix + id + association.suffix;
    return {};
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::string AllPartitionsQuery() {
    return "SELECT * FROM Win32_DiskPartition";
}
std::string DrivesOfPartitionQuery(const std::string& partitionId) {
    return Build(WqlRequest::Kind::DrivesOfPartition, partitionId);
}
std::string MediaOfDriveQuery(const std::string& driveId) {
    return Build(WqlRequest::Kind::MediaOfDrive, driveId);
}
std::string LogicalDisksOfPartitionQuery(const std::string& partitionId) {
    return Build(WqlRequest::Kind::LogicalDisksOfPartition, partitionId);
}

WqlRequest ParseWqlRequest(const std::string& wql) {
    if (wql == AllPartitionsQuery())
        return {WqlRequest::Kind::AllPartitions, {}};
    for (const Association& association : kAssociations) {
        const std::string prefix = association.prefix;
        const std::string suffix = association.suffix;
        if (wql.size() >= prefix.size() + suffix.size() && wql.compare(0, prefix.size(), prefix) == 0 &&
            EndsWith(wql, suffix))
            return {association.kind, wql.substr(prefix.size(), wql.size() - prefix.size() - suffix.size())};
    }
    return {};
}
