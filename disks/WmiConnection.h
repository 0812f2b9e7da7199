#pragma once

#include "disks/WmiSource.h"

#include <memory>
#include <string>

// The connection of one scan to ROOT\CIMV2: a locator and the services object it connected. Released
// at the end of the scan, services first, then the locator; nothing of it outlives the scan.
class WmiConnection {
public:
    // Creates the locator, connects it and sets the proxy security. On failure, message holds the
    // step's message with the status, and whatever was made so far has been released.
    bool Connect(WmiSource& source, std::string& message);
    WmiStatus Query(const WmiRequest& request, std::unique_ptr<WmiEnumeration>& result);
    void Release();

private:
    // Declared in this order so that the services object goes first.
    std::unique_ptr<WmiLocator> m_locator;
    std::unique_ptr<WmiServices> m_services;
};
