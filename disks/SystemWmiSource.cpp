#include "disks/SystemWmiSource.h"

#ifdef _WIN32
#include "disks/WindowsWmiSource.h"
#else
#include "disks/LinuxWmiSource.h"
#endif

std::unique_ptr<WmiSource> CreateSystemWmiSource() {
#ifdef _WIN32
    return CreateWindowsWmiSource();
#else
    return std::make_unique<LinuxWmiSource>();
#endif
}
