#pragma once

#include "disks/WmiSource.h"

#include <memory>

// The source of this machine: WMI on Windows, the kernel's files elsewhere.
std::unique_ptr<WmiSource> CreateSystemWmiSource();
