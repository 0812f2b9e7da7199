#include "disks/FilesystemProbe.h"

#include <blkid/blkid.h>

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
