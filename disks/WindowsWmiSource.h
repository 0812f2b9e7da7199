#pragma once

#include "disks/WmiSource.h"

#include <memory>

// WMI itself, through COM. Only built on Windows.
std::unique_ptr<WmiSource> CreateWindowsWmiSource();
