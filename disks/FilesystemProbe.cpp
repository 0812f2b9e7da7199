#include "disks/FilesystemProbe.h"

#include <blkid/blkid.h>
#include <cstring>
#include <fstream>

namespace {

bool Lookup(blkid_probe probe, const char* name, std::string& value) {
    const char* data = nullptr;
    size_t length = 0;
    if (blkid_probe_lookup_value(probe, name, &data, &length) != 0 || data == nullptr)
        return false;
    // The length counts the terminating NUL.
    value.assign(data, length > 0 && data[length - 1] == '\0' ? length - 1 : length);
    return true;
}

} // namespace

bool ProbeFilesystem(const std::string& path, FilesystemFacts& facts) {
    facts = FilesystemFacts{};
    blkid_probe probe = blkid_new_probe_from_filename(path.c_str());
    if (probe == nullptr)
        return false;
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_USAGE);
    blkid_probe_enable_partitions(probe, 0);
    const bool found = blkid_do_safeprobe(probe) == 0;
    if (found) {
        Lookup(probe, "TYPE", facts.type);
        facts.hasLabel = Lookup(probe, "LABEL", facts.label);
        std::string usage;
        facts.isFilesystem = Lookup(probe, "USAGE", usage) && usage == "filesystem";
    }
    blkid_free_probe(probe);
    return found && !facts.type.empty();
}

std::uint32_t ReadNtfsClusterSize(const std::string& path) {
    std::ifstream device(path, std::ios::binary);
    unsigned char sector[512];
    if (!device.read(reinterpret_cast<char*>(sector), sizeof sector) ||
        std::memcmp(sector + 3, "NTFS    ", 8) != 0)
        return 0;
    const std::uint32_t bytesPerSector = sector[11] | (sector[12] << 8);
    if (bytesPerSector < 256 || bytesPerSector > 4096 || (bytesPerSector & (bytesPerSector - 1)) != 0)
        return 0;
    // Up to 128 sectors as a count; beyond, the byte holds the negated power of two (0xF4 is 4096).
    const unsigned count = sector[13];
    if (count == 0 || (count <= 0x80 && (count & (count - 1)) != 0) || (count > 0x80 && 256 - count > 24))
        return 0;
    const std::uint32_t sectors = count <= 0x80 ? count : 1u << (256 - count);
    const std::uint64_t cluster = std::uint64_t{bytesPerSector} * sectors;
    return cluster <= (std::uint64_t{1} << 21) ? static_cast<std::uint32_t>(cluster) : 0; // 2 MiB at most
}
