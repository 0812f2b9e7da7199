#pragma once

#include <memory>

// Where partition facts come from: WMI on Windows, the kernel on Linux, memory in tests.
class WmiSource {
public:
    virtual ~WmiSource() = default;
};

// The source of this machine.
std::unique_ptr<WmiSource> CreateSystemWmiSource();
