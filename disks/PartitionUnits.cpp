#include "disks/PartitionUnits.h"

#include "table/FormatNumeric.h"

#include <limits>

std::uint64_t ParseDecimal64(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (value > (kMax - digit) / 10)
            return kMax;
        value = value * 10 + digit;
    }
    return value;
}

std::string FormatOffsetCell(std::uint64_t bytes) {
    return FormatFixed(static_cast<double>(bytes) / 1024.0, 1) + " KB";
}

std::string FormatSizeCell(std::uint64_t bytes) {
    const std::uint64_t mebibytes = bytes >> 20;
    return FormatFixed(static_cast<double>(mebibytes) / 1024.0, 1) + " GB";
}

std::string FormatNtfsCell(const std::string& fileSystem, std::uint32_t clusterBytes) {
    if (clusterBytes <= 8192)
        return fileSystem + " (" + FormatFixed(static_cast<double>(clusterBytes), 0) + " bytes)";
    return fileSystem + " (" + FormatFixed(static_cast<double>(clusterBytes) / 1024.0, 0) + " KB)";
}

bool IsNtfs(const std::string& fileSystem) {
    if (fileSystem.size() != 4)
        return false;
    const char* upper = "NTFS";
    for (std::size_t i = 0; i < 4; ++i) {
        char c = fileSystem[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}
