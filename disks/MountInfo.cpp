#include "disks/MountInfo.h"

#include <charconv>

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool ParseDeviceNumbers(std::string_view field, unsigned& major, unsigned& minor) {
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos)
        return false;
    const char* begin = field.data();
    const char* middle = begin + colon;
    const char* end = begin + field.size();
    const auto first = std::from_chars(begin, middle, major);
    const auto second = std::from_chars(middle + 1, end, minor);
    return first.ec == std::errc() && first.ptr == middle && second.ec == std::errc() && second.ptr == end &&
           colon > 0 && middle + 1 < end;
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

} // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                text += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        const std::vector<std::string_view> fields = SplitFields(text.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        // id parent major:minor root mount-point options [optional fields...] - type source options
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        MountEntry entry;
        if (fields.size() < 6 || separator + 2 >= fields.size() ||
            !ParseDeviceNumbers(fields[2], entry.major, entry.minor))
            continue;
        entry.root = UnescapeMountField(fields[3]);
        entry.mountPoint = UnescapeMountField(fields[4]);
        entry.fsType = UnescapeMountField(fields[separator + 1]);
        entry.source = UnescapeMountField(fields[separator + 2]);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

bool IsCovered(const std::vector<MountEntry>& mounts, std::size_t index) {
    const std::string& path = mounts[index].mountPoint;
    for (std::size_t later = index + 1; later < mounts.size(); ++later) {
        const std::string& above = mounts[later].mountPoint;
        if (path == above || above == "/" ||
            (path.size() > above.size() && path.compare(0, above.size(), above) == 0 &&
             path[above.size()] == '/'))
            return true;
    }
    return false;
}

const MountEntry* FindDeviceMount(const std::vector<MountEntry>& mounts, unsigned major, unsigned minor,
                                  const std::string& devicePath, bool& covered) {
    const MountEntry* firstReachable = nullptr;
    const MountEntry* firstCovered = nullptr;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const MountEntry& mount = mounts[i];
        const bool sameDevice = (mount.major == major && mount.minor == minor) || mount.source == devicePath;
        if (!sameDevice)
            continue;
        if (IsCovered(mounts, i)) {
            if (firstCovered == nullptr)
                firstCovered = &mount;
            continue;
        }
        if (mount.root == "/") {
            covered = false;
            return &mount;
        }
        if (firstReachable == nullptr)
            firstReachable = &mount;
    }
    covered = firstReachable == nullptr && firstCovered != nullptr;
    return firstReachable != nullptr ? firstReachable : firstCovered;
}
