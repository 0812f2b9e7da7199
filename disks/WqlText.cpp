#include "disks/WqlText.h"

std::string WqlText(const WmiRequest& request) {
    switch (request.kind) {
    case WmiRequest::Kind::AllPartitions:
        return "SELECT * FROM Win32_DiskPartition";
    case WmiRequest::Kind::DrivesOfPartition:
        return "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='" + request.id +
               "'} WHERE ResultClass=Win32_DiskDrive";
    case WmiRequest::Kind::MediaOfDrive:
        return "ASSOCIATORS OF {Win32_DiskDrive.DeviceID='" + request.id +
               "'} WHERE ResultClass=Win32_PhysicalMedia";
    case WmiRequest::Kind::LogicalDisksOfPartition:
        return "ASSOCIATORS OF {Win32_DiskPartition.DeviceID='" + request.id +
               "'} WHERE ResultClass=Win32_LogicalDisk";
    }
    return {}; // every kind has its text above
}
