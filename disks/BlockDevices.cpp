#include "disks/BlockDevices.h"

#include "disks/SafeText.h"
#include "table/CharClass.h"

#include <algorithm>
#include <limits>

namespace {

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

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A whole decimal number of up to 19 digits, blanks around it allowed; none otherwise.
std::optional<std::uint64_t> ParseWholeNumber(const std::string& text) {
    const std::string trimmed = CleanDeviceText(text);
    if (trimmed.empty() || trimmed.size() > 19 || !std::all_of(trimmed.begin(), trimmed.end(), IsDigit))
        return std::nullopt;
    return std::stoull(trimmed);
}

} // namespace

void BlockDeviceIndex::Fill(const std::vector<DiskEntry>& disks) {
    m_filled = true;
    m_devices.clear();
    for (const DiskEntry& entry : disks) {
        m_devices["/dev/" + entry.disk] = BlockDevice{entry.disk, entry.disk};
        for (const std::string& partition : entry.partitions)
            m_devices["/dev/" + partition] = BlockDevice{entry.disk, partition};
    }
}

const BlockDevice* BlockDeviceIndex::Find(const std::string& path) const {
    const auto found = m_devices.find(path);
    return found == m_devices.end() ? nullptr : &found->second;
}

int BlockDevices::CheckReadable() const {
    std::vector<std::string> names;
    return m_sys.List("sys/block", names);
}

int BlockDevices::List(std::vector<DiskEntry>& disks) const {
    disks.clear();
    std::vector<std::string> names;
    if (const int error = m_sys.List("sys/block", names))
        return error;
    std::sort(names.begin(), names.end(), NaturalLess);
    for (std::string& name : names) {
        std::vector<std::string> partitions = PartitionsOf(name);
        disks.push_back(DiskEntry{std::move(name), std::move(partitions)});
    }
    return 0;
}

std::vector<BlockDevice>
BlockDevices::ShownPartitions(const std::vector<DiskEntry>& disks,
                              const std::function<bool(const std::string& disk)>& holdsFilesystem) const {
    std::vector<BlockDevice> shown;
    for (const DiskEntry& entry : disks) {
        if (!CountsAsDisk(entry.disk))
            continue;
        for (const std::string& partition : entry.partitions)
            shown.push_back(BlockDevice{entry.disk, partition});
        if (entry.partitions.empty() && !StartsWith(entry.disk, "loop") && holdsFilesystem(entry.disk))
            shown.push_back(BlockDevice{entry.disk, entry.disk});
    }
    return shown;
}

bool BlockDevices::CountsAsDisk(const std::string& disk) const {
    if (StartsWith(disk, "ram") || StartsWith(disk, "zram"))
        return false;
    std::string text;
    if (m_sys.Read("sys/block/" + disk + "/hidden", text) == 0 && CleanDeviceText(text) == "1")
        return false;
    // An empty drive (no medium, a detached loop device) has size 0.
    const ByteCount size = Size(BlockDevice{disk, disk});
    return size.error != 0 || size.bytes != 0u;
}

bool BlockDevices::Exists(const BlockDevice& device) const {
    return m_sys.Exists(device.IsWholeDisk() ? Folder(device) : Folder(device) + "/partition");
}

std::string BlockDevices::Folder(const BlockDevice& device) const {
    return device.IsWholeDisk() ? "sys/block/" + device.disk : "sys/block/" + device.disk + "/" + device.name;
}

ByteCount BlockDevices::Start(const BlockDevice& partition) const {
    return ReadSectors(Folder(partition) + "/start");
}

ByteCount BlockDevices::Size(const BlockDevice& device) const {
    return ReadSectors(Folder(device) + "/size");
}

bool BlockDevices::Numbers(const BlockDevice& device, unsigned& major, unsigned& minor) const {
    std::string text;
    if (m_sys.Read(Folder(device) + "/dev", text) != 0)
        return false;
    text = CleanDeviceText(text);
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    const std::optional<std::uint64_t> first = ParseWholeNumber(text.substr(0, colon));
    const std::optional<std::uint64_t> second = ParseWholeNumber(text.substr(colon + 1));
    if (!first || !second || *first > 0xFFFFFFFFu || *second > 0xFFFFFFFFu)
        return false;
    major = static_cast<unsigned>(*first);
    minor = static_cast<unsigned>(*second);
    return true;
}

// The entries of a disk's folder that hold a "partition" file, by that number.
std::vector<std::string> BlockDevices::PartitionsOf(const std::string& disk) const {
    std::vector<std::string> entries;
    m_sys.List("sys/block/" + disk, entries);
    std::vector<std::pair<std::uint64_t, std::string>> numbered;
    for (const std::string& entry : entries) {
        std::string number;
        if (m_sys.Read("sys/block/" + disk + "/" + entry + "/partition", number) != 0)
            continue;
        numbered.emplace_back(ParseWholeNumber(number).value_or(std::numeric_limits<std::uint64_t>::max()),
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

ByteCount BlockDevices::ReadSectors(const std::string& file) const {
    std::string text;
    if (const int error = m_sys.Read(file, text))
        return ByteCount{error, std::nullopt};
    const std::optional<std::uint64_t> sectors = ParseWholeNumber(text);
    if (!sectors || *sectors > std::numeric_limits<std::uint64_t>::max() / 512)
        return {};
    return ByteCount{0, *sectors * 512};
}
