#include "disks/WmiSource.h"

std::unique_ptr<WmiSource> CreateSystemWmiSource() {
    return std::make_unique<WmiSource>();
}
