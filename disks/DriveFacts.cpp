#include "disks/DriveFacts.h"

#include "disks/SafeText.h"

#include <cerrno>
#include <string_view>
#include <utility>

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A text file of the disk's folder: absent is no text, unreadable an error.
DriveText ReadText(const SysfsTree& sys, const std::string& disk, const char* file) {
    std::string text;
    const int error = sys.Read("sys/block/" + disk + file, text);
    if (error == ENOENT)
        return {};
    if (error != 0)
        return DriveText{std::nullopt, error};
    return DriveText{CleanDeviceText(text), 0};
}

DriveText SerialFile(const SysfsTree& sys, const std::string& disk) {
    return ReadText(sys, disk, "/serial");
}

DriveText DeviceSerialFile(const SysfsTree& sys, const std::string& disk) {
    return ReadText(sys, disk, "/device/serial");
}

// The unit serial number page of a SCSI or SATA disk: byte 1 is 0x80, bytes 2-3 the length. A page
// that cannot be read or is not that page simply has no serial: it is the last resort.
DriveText UnitSerialPage(const SysfsTree& sys, const std::string& disk) {
    std::string page;
    if (sys.Read("sys/block/" + disk + "/device/vpd_pg80", page) != 0 || page.size() < 4 ||
        static_cast<unsigned char>(page[1]) != 0x80)
        return {};
    const std::size_t length = (static_cast<std::size_t>(static_cast<unsigned char>(page[2])) << 8) |
                               static_cast<unsigned char>(page[3]);
    return DriveText{CleanDeviceText(std::string_view(page).substr(4, length)), 0};
}

// Where drivers put a serial number, in the order it is looked for: virtio disks have a file of their
// own, NVMe controllers and MMC cards one on the device, SCSI and SATA disks answer the VPD page.
using SerialSource = DriveText (*)(const SysfsTree& sys, const std::string& disk);
constexpr SerialSource kSerialSources[] = {SerialFile, DeviceSerialFile, UnitSerialPage};

} // namespace

DriveText DriveModel(const SysfsTree& sys, const std::string& disk) {
    return ReadText(sys, disk, "/device/model");
}

std::string DriveTransport(const SysfsTree& sys, const std::string& disk) {
    if (StartsWith(disk, "nvme"))
        return "nvme";
    if (StartsWith(disk, "mmcblk"))
        return "mmc";
    const std::string path = sys.Resolve("sys/block/" + disk);
    const std::pair<const char*, const char*> patterns[] = {
        {"/usb", "usb"},   {"/ata", "sata"},  {"/end_device-", "sas"}, {"/session", "iscsi"},
        {"/rport-", "fc"}, {"/host", "scsi"}, {"/virtio", "virtio"},
    };
    for (const auto& [pattern, transport] : patterns)
        if (path.find(pattern) != std::string::npos)
            return transport;
    return {};
}

DriveText DriveSerial(const SysfsTree& sys, const std::string& disk) {
    // Without a serial anywhere, the first read that failed is what is reported: an unreadable serial
    // is not the same as none.
    int firstError = 0;
    for (const SerialSource source : kSerialSources) {
        DriveText serial = source(sys, disk);
        if (serial.text && !serial.text->empty())
            return serial;
        if (firstError == 0)
            firstError = serial.error;
    }
    return DriveText{std::nullopt, firstError};
}
